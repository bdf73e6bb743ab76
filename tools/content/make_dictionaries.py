"""The custom dictionaries: word lists of Maori-like entries, one per line, CR LF after
each. Long vowels are written with the five umlaut letters of code page 1252 in the
ANSI dictionaries and with macrons in the Unicode one."""

from common import Lcg, write

CONSONANTS = ["h", "k", "m", "n", "p", "r", "t", "w", "ng", "wh"]
VOWELS = ["a", "e", "i", "o", "u"]
LONG = {"a": "\u00e4", "e": "\u00eb", "i": "\u00ef", "o": "\u00f6", "u": "\u00fc"}
MACRON = {"a": "\u0101", "e": "\u0113", "i": "\u012b", "o": "\u014d", "u": "\u016b"}


def syllable(rng, room, long_vowels):
    """One syllable of at most room letters: a vowel, optionally after a consonant."""
    vowel = rng.choice(VOWELS)
    if rng.below(6) == 0:
        vowel = long_vowels[vowel]
    if room >= 2 and rng.below(5) != 0:
        consonant = rng.choice(CONSONANTS)
        if len(consonant) + 1 <= room:
            return consonant + vowel
        return rng.choice(CONSONANTS[:8]) + vowel
    return vowel


def word(rng, length, long_vowels):
    """A word of exactly length letters."""
    text = ""
    while len(text) < length:
        text += syllable(rng, length - len(text), long_vowels)
    return text


def entry(rng, length, long_vowels, phrase_share):
    """An entry of exactly length characters; most longer ones are phrases."""
    if length < 5 or rng.below(100) >= phrase_share:
        return word(rng, length, long_vowels)
    words = []
    left = length
    while left > 0:
        if left <= 7 or (len(words) >= 1 and rng.below(3) == 0 and left <= 10):
            take = left
        else:
            take = 2 + rng.below(min(8, left - 4))
        words.append(word(rng, take, long_vowels))
        left -= take + 1
        if left == 1:  # a one-letter word would follow the blank: lengthen this one
            words[-1] += rng.choice(VOWELS)
            left = 0
        if left < 0:
            break
    return " ".join(words)[:length]


def word_list(seed, count, total_chars, long_vowels, phrase_share=85, shortest=2, longest=16):
    """count distinct entries whose lengths add up to total_chars exactly."""
    rng = Lcg(seed)
    lengths = [shortest + rng.below(longest - shortest + 1) for _ in range(count)]
    # Move the sum to the target a character at a time, keeping every length in range.
    i = 0
    while sum(lengths) != total_chars:
        k = rng.below(count)
        if sum(lengths) < total_chars and lengths[k] < longest:
            lengths[k] += 1
        elif sum(lengths) > total_chars and lengths[k] > shortest:
            lengths[k] -= 1
        i += 1
    seen = set()
    entries = []
    for length in lengths:
        while True:
            text = entry(rng, length, long_vowels, phrase_share)
            if len(text) == length and not text.endswith(" ") and text not in seen:
                break
        seen.add(text)
        entries.append(text)
    entries.sort()
    return entries


def ansi(entries):
    return b"".join(e.encode("cp1252") + b"\r\n" for e in entries)


def main():
    # The Quorvel dictionary: 2,185 entries, 34,722 bytes with their CR LF.
    quor = word_list(3, 2185, 34722 - 2 * 2185, LONG)
    write("vsqquor.dic", ansi(quor))
    # The main dictionary of the other editions: large enough for Word 97's pieces.
    lunvera = word_list(7, 10400, 150000, LONG, phrase_share=70)
    write("Lunvera.dic", ansi(lunvera))
    # The Unicode dictionary: macron vowels, UTF-16 with its byte-order mark.
    uni = word_list(11, 1400, 14000, MACRON, phrase_share=60)
    write("vsquni.dic", "\ufeff".encode("utf-16-le") + "".join(e + "\r\n" for e in uni).encode("utf-16-le"))


if __name__ == "__main__":
    main()
