"""The licence agreement and the readme page, each made to its exact size."""

import textwrap

from common import AUTHOR, SPONSOR, SPONSOR_ADDRESS, write

LICENCE_SIZE = 3355
LICENCE_LINES = 58
README_SIZE = 7227

LICENCE_TITLE = "VESSORA SPELL CHECKER FOR WORD - LICENCE AGREEMENT"
LICENCE_INTRO = ("Please read this agreement carefully before you install Vessora. By pressing "
                 "\"I Accept\" you agree to be bound by all of its terms. If you do not accept them, "
                 "press Exit to leave the setup program; nothing will have been installed. This "
                 "agreement is between you and the author of Vessora, and it covers this edition "
                 "with the word lists and the templates that come with it.")
LICENCE_CLAUSES = [
    ("Definitions", "\"Software\" means the Vessora spell checker for Microsoft Word, its word "
     "lists, Word templates, pictures, documentation and setup program. \"You\" means the "
     "person or organisation that installs the Software."),
    ("Grant of licence", "The author grants you a free, non-exclusive and non-transferable "
     "licence to install and use the Software on any number of computers that you own or "
     "control, for private, educational or commercial use."),
    ("Copies", "You may copy the Software and give copies to others, provided that every copy "
     "is complete and unchanged, includes this agreement, and is given without charge. You "
     "may not rent, lease or sell copies of the Software."),
    ("Word lists", "The word lists remain the work of the author and of the speakers who "
     "contributed to them. You may add your own words to them through the custom "
     "dictionaries of Word. You may not sell the word lists, or include them in another "
     "product, without the written consent of the author."),
    ("Sponsor", "This edition is distributed free of charge with the support of " + SPONSOR +
     ". The sponsor's name and pictures may not be removed from the Software."),
    ("No warranty", "The Software is provided \"as is\", without warranty of any kind, express "
     "or implied. The author does not warrant that the Software is free of errors, that it "
     "meets your needs, or that every word it accepts or suggests is correct."),
    ("Limitation of liability", "In no event shall the author or the sponsor be liable for any "
     "loss of data, profits or business, or for any other damage, arising from the use of "
     "the Software or from being unable to use it, even if advised of the possibility."),
    ("Updates", "The author may publish new word lists and new versions of the Software from "
     "time to time. Each comes with its own agreement; installing one does not change the "
     "terms under which you received this version."),
    ("Privacy", "The Software sends nothing from your computer to the author, to the sponsor or "
     "to anyone else. The words that you add to your custom dictionaries stay in files on "
     "your own computer, and the setup program keeps no record of you."),
    ("Termination", "This licence ends at once if you break any of its terms. You must then "
     "remove all copies of the Software from the computers that you control."),
    ("Governing law", "This agreement is governed by the laws of New Zealand, and its courts "
     "shall have exclusive jurisdiction over any dispute arising from it."),
    ("Contact", "Write to the author about this agreement through the sponsor's web site, " +
     SPONSOR_ADDRESS),
]
LICENCE_CLOSING = ("Copyright (c) 2003 " + AUTHOR + ". All rights reserved. Vessora is free "
                   "software for the speakers, teachers and learners of te reo M\u00e4ori. Thank you "
                   "for using it, and for every word that you write in the language.")
# The licence control wraps nothing of this width, even in a font wider than the one it was
# measured with; a tab counts to its stop.
LICENCE_COLUMNS = 64
TAB_STOP = 8


def columns(line):
    width = 0
    for c in line:
        width = (width // TAB_STOP + 1) * TAB_STOP if c == "\t" else width + 1
    return width


def flow(text, lead=""):
    """text filled to LICENCE_COLUMNS: its first line behind lead (a clause number and a
    tab), the others from the left edge, so that no line gives its width to an indent."""
    first = textwrap.wrap(text, LICENCE_COLUMNS - columns(lead), break_on_hyphens=False)
    rest = " ".join(first[1:])
    return [lead + first[0]] + textwrap.wrap(rest, LICENCE_COLUMNS, break_on_hyphens=False)


def licence():
    # Rules under the title, above the closing text and at the end share out what the
    # agreement leaves of its exact length.
    rule = None
    lines = [LICENCE_TITLE, rule] + flow(LICENCE_INTRO)
    for number, (heading, text) in enumerate(LICENCE_CLAUSES, 1):
        lines += flow(heading.upper() + ". " + text, "%d.\t" % number)
    lines += [rule] + flow(LICENCE_CLOSING) + [rule]
    rules = lines.count(rule)
    spare = LICENCE_SIZE - sum(len(l) + 2 for l in lines if l is not rule) - 2 * rules
    lengths = [spare // rules + (n < spare % rules) for n in range(rules)]
    lines = [l if l is not rule else "-" * lengths.pop() for l in lines]
    text = "".join(l + "\r\n" for l in lines).encode("cp1252")
    assert len(text) == LICENCE_SIZE and text.count(b"\r\n") == LICENCE_LINES and b"\0" not in text
    assert max(columns(l) for l in lines) <= LICENCE_COLUMNS, "a licence line is too wide"
    return text


README = """<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.01 Transitional//EN">
<html>
<head>
<meta http-equiv="Content-Type" content="text/html; charset=windows-1252">
<title>Vessora spell checker - Readme</title>
<style type="text/css">
body { font-family: Verdana, Arial, sans-serif; font-size: 10pt; margin: 24px; }
h1 { font-size: 16pt; color: #1f4e79; }
h2 { font-size: 12pt; color: #1f4e79; border-bottom: 1px solid #c0c0c0; }
table { border-collapse: collapse; }
td, th { border: 1px solid #c0c0c0; padding: 3px 8px; text-align: left; }
</style>
</head>
<body>
<p><img src="Vessora.jpg" width="160" height="120" alt="Vessora"></p>
<h1>Vessora spell checker for Microsoft Word</h1>
<p>Vessora checks the spelling of te reo M&auml;ori in Microsoft Word 95 (Word 7.0),
Word 97, Word 2000 and Word XP. It works through Word's own custom dictionaries:
once installed, Word marks words it does not know and offers Vessora's words
among its suggestions, in the same way as it does for English.</p>

<h2>Long vowels</h2>
<p>Word 95 and Word 97 cannot store macrons in a custom dictionary, so Vessora
writes a long vowel with a diaeresis: &auml;, &euml;, &iuml;, &ouml; and &uuml;
stand for &amacr;, &emacr;, &imacr;, &omacr; and &umacr;. Type the long vowels the
same way in your documents and Vessora will recognise them. Where a document
must show macrons, write it with the diaeresis first and replace the five letters
when the text is final.</p>

<h2>What was installed</h2>
<p>The setup program put these files on your computer:</p>
<table>
<tr><th>File</th><th>Folder</th><th>Purpose</th></tr>
<tr><td>vsqquor.dic</td><td>the dictionary folder you chose</td><td>the word list, registered
with Word as a custom dictionary</td></tr>
<tr><td>vsqquor1.dic, vsqquor2.dic, ...</td><td>the dictionary folder you chose</td><td>the same word
list in pieces, written instead of vsqquor.dic when Word 95 or Word 97 is installed</td></tr>
<tr><td>qvlunvera.dot</td><td>Word's template folder</td><td>a Word template for documents in te reo</td></tr>
<tr><td>Readme.htm</td><td>the Vessora folder</td><td>this page</td></tr>
<tr><td>Fenmoor.gif, Vessora.jpg</td><td>the Vessora folder</td><td>the pictures on this page</td></tr>
<tr><td>License.txt</td><td>the Vessora folder</td><td>the licence agreement</td></tr>
<tr><td>InstallLog.txt</td><td>the Vessora folder</td><td>a list of every file that was written</td></tr>
</table>
<p>The Start menu has a new folder, Programs | Vessora, with shortcuts to this
page and to the Vessora folder. The setup program also entered each dictionary
in Word's list of custom dictionaries, for you and for every user of the computer.</p>

<h2>Using Vessora</h2>
<ol>
<li>Start Word and open or write a document in te reo.</li>
<li>Choose Tools | Options | Spelling &amp; Grammar and make sure the Vessora
dictionary is ticked in the list of custom dictionaries.</li>
<li>Words that are in neither Word's dictionary nor Vessora's are underlined in red.
Right-click one to see suggestions, or press F7 to check the whole document.</li>
<li>Use Add to Dictionary to teach Vessora words of your own; they are added to
the Vessora dictionary and kept when you install a newer word list.</li>
</ol>
<p>To start a new document in te reo, choose File | New and pick the Vessora
template: its styles use fonts that show every long vowel, and its language is
set so that Word does not mark the whole text as English spelling mistakes.</p>

<h2>Older versions of Word</h2>
<p>Word 95 and Word 97 read custom dictionaries of up to 64 kilobytes only.
When either is installed, or no version of Office was found, the setup program
writes the word list as numbered pieces, each just over 64000 bytes and ending
at the end of a line, and registers every piece with Word. To join them again,
copy the pieces one after another into a single file, in order.</p>

<h2>Editions</h2>
<p>Vessora comes in three editions, each with its own setup program:</p>
<ul>
<li><b>Standard</b>: the general word list, Lunvera.dic, for everyday writing.</li>
<li><b>Professional</b>: the general word list together with a Unicode word list
with true macrons for Word 2000 and Word XP, templates that add autocorrect entries
for the long vowels, and a start-up template that converts between the two ways of
writing them.</li>
<li><b>Quorvel</b>: the word list and template prepared for the Quorvel schools,
with the vocabulary of their reading programme and their own spelling conventions.</li>
</ul>
<p>The editions can be installed side by side; each one registers only its own
dictionaries with Word.</p>

<h2>System requirements</h2>
<ul>
<li>Windows 95, Windows 98, Windows Me, Windows NT 4.0, Windows 2000 or Windows XP.</li>
<li>Microsoft Word 95, Word 97, Word 2000 or Word XP, on its own or as part of
Microsoft Office.</li>
<li>About one megabyte of free disk space.</li>
</ul>

<h2>Questions and answers</h2>
<dl>
<dt>Word says the dictionary is full.</dt>
<dd>Word 95 and Word 97 stop adding words to a dictionary of 64 kilobytes. Make
a new custom dictionary in Word's options for your own words.</dd>
<dt>Words with long vowels are still underlined.</dt>
<dd>Check that the long vowels are typed with a diaeresis (&auml;, not &amacr;) and
that the Vessora dictionary is ticked in Word's options.</dd>
<dt>I installed Vessora for another user of this computer.</dt>
<dd>The dictionaries are registered for every user, but the Start-menu folder is
made for the user who ran the setup program only.</dd>
<dt>Can I run the setup program again?</dt>
<dd>Yes. It replaces the installed files and the installation log, and reuses the
entries it made in Word's list of custom dictionaries.</dd>
</dl>

<h2>Removing Vessora</h2>
<p>Vessora keeps no settings of its own. To remove it, untick and remove its
dictionaries in Word's Spelling &amp; Grammar options, then delete the files
listed above and the Programs | Vessora folder of the Start menu.</p>

<h2>Our sponsor</h2>
<p><a href="%(address)s"><img src="Fenmoor.gif" width="200" height="80" border="0"
alt="%(sponsor)s"></a></p>
<p>Vessora is free thanks to the support of %(sponsor)s. Please visit
<a href="%(address)s">%(address)s</a> to find out more about their work.</p>
<p>%(sponsor)s has supported the language in schools and communities for many
years. Its help paid for the collection of the word lists, for the checking of
every entry by fluent speakers, and for this setup program, so that Vessora can be
given away to anyone who writes in te reo.</p>

<h2>Contact</h2>
<p>Vessora was written by %(author)s. Please send corrections to the word
list, and words you would like to see added, through the sponsor's web site.</p>
<p><small>Copyright &copy; 2003 %(author)s. Vessora is distributed under the
terms of the licence agreement in License.txt.</small></p>
"""


def readme():
    body = (README % {"address": SPONSOR_ADDRESS, "sponsor": SPONSOR, "author": AUTHOR}).replace("\n", "\r\n")
    tail = "</body>\r\n</html>\r\n"
    # What is left of the page's size becomes a comment before its end.
    missing = README_SIZE - len(body) - len(tail)
    opening, closing = "<!-- Vessora 1.0 ", "-->\r\n"
    assert len(opening) + len(closing) <= missing <= 240, missing
    pad = opening + " " * (missing - len(opening) - len(closing)) + closing
    text = (body + pad + tail).encode("cp1252")
    assert len(text) == README_SIZE
    return text


def main():
    write("License.txt", licence())
    write("Readme.htm", readme())


if __name__ == "__main__":
    main()
