"""The Word templates: Word 97 documents (with the template flag set) in OLE compound
files of exact sizes. Each holds a WordDocument stream with its File Information
Block, 8-bit text, one character and one paragraph property page, and a 1Table
stream with the style sheet, font table, property bin tables, piece table and
document properties; plus CompObj and the two summary information streams."""

import struct

from common import AUTHOR, SPONSOR, write

SECTOR = 512
MINI = 64
MINI_CUTOFF = 4096
FREE, END, FATSECT, NOSTREAM = 0xFFFFFFFF, 0xFFFFFFFE, 0xFFFFFFFD, 0xFFFFFFFF
WORD_CLSID = bytes.fromhex("0609020000000000c000000000000046")


def pad(data, unit):
    return data + b"\0" * (-len(data) % unit)


# ----------------------------------------------------------------------------- Word 97

def fib(ccp_text, cb_mac, pages, table):
    """The File Information Block of a Word 97 template (nFib 193)."""
    base = struct.pack("<HHHHHHHIBBHHII",
                       0xA5EC, 0x00C1, 0, 0x1409, 0,
                       0x0001 | 0x0200 | 0x1000,  # fDot, fWhichTblStm (1Table), fExtChar
                       0x00BF, 0, 0, 0, 0, 0, 0, 0)
    rgw = [0] * 14
    rgw[13] = 0x1409  # lidFE
    lw = [0] * 22
    lw[0] = cb_mac
    lw[3] = ccp_text
    chp_page, pap_page = pages
    lw[13], lw[14], lw[15] = chp_page, chp_page, 1  # first CHPX page, and how many
    lw[16], lw[17], lw[18] = pap_page, pap_page, 1  # the same for PAPX
    fclcb = [(0, 0)] * 93
    for index, (fc, lcb) in table.items():
        fclcb[index] = (fc, lcb)
    out = base + struct.pack("<H", 14) + struct.pack("<14H", *rgw)
    out += struct.pack("<H", 22) + struct.pack("<22I", *lw)
    out += struct.pack("<H", 93) + b"".join(struct.pack("<II", fc, lcb) for fc, lcb in fclcb)
    out += struct.pack("<H", 0)
    assert len(out) == 900
    return out


def chpx_fkp(fc_first, fc_last):
    """One character-property page: a single run with the default properties."""
    page = bytearray(SECTOR)
    struct.pack_into("<II", page, 0, fc_first, fc_last)
    page[8] = 0  # no CHPX: default character properties
    page[511] = 1
    return bytes(page)


def papx_fkp(paragraph_limits):
    """One paragraph-property page: a run per paragraph, each with style 0 (Normal)."""
    page = bytearray(SECTOR)
    count = len(paragraph_limits) - 1
    struct.pack_into("<%dI" % len(paragraph_limits), page, 0, *paragraph_limits)
    # Every run points at the same PapxInFkp near the end: cb 0, cb' 1, istd 0.
    papx_at = 500
    page[papx_at:papx_at + 4] = b"\x00\x01\x00\x00"
    bx = 4 * len(paragraph_limits)
    for i in range(count):
        page[bx + 13 * i] = papx_at // 2
    assert bx + 13 * count <= papx_at
    page[511] = count
    return bytes(page)


def stylesheet():
    """A style sheet with the one style every document has: Normal."""
    name = "Normal"
    xstz = struct.pack("<H", len(name)) + name.encode("utf-16-le") + b"\0\0"
    # StdfBase: sti 0; stk paragraph (1), istdBase none (0xFFF); cupx 2, istdNext 0; bchUpe; grfstd.
    stdf = struct.pack("<HHHHH", 0x0000, 0x1 | (0xFFF << 4), 2 | (0 << 4), 0, 0)
    upx_papx = struct.pack("<HH", 2, 0)  # cbUpx 2: istd 0, no sprms
    upx_chpx = struct.pack("<H", 0)
    body = stdf + xstz
    body = pad(body, 2) + upx_papx + upx_chpx
    std = struct.pack("<H", len(body)) + body
    # Stshif: cstd 1, cbSTDBaseInFile 10, fStdStylenamesWritten, stiMax 0x5B, istdMaxFixed 15,
    # nVerBuiltInNames 0, three standard fonts (font 0).
    stshi = struct.pack("<HHHHHHHHH", 1, 10, 1, 0x5B, 15, 0, 0, 0, 0)
    return struct.pack("<H", len(stshi)) + stshi + std


def font_table():
    """One font, Times New Roman, in the SttbfFfn form."""
    name = "Times New Roman"
    ffn = struct.pack("<BHBB", 0x16, 400, 0, 0)  # prq variable, TrueType, roman; weight; charset; alt
    ffn += bytes(10) + bytes(24)  # panose, font signature
    ffn += name.encode("utf-16-le") + b"\0\0"
    entry = bytes([len(ffn)]) + ffn
    return struct.pack("<HH", 1, 0) + entry


def word_document(text, title):
    """The WordDocument and 1Table streams of a template holding text."""
    raw = text.encode("cp1252")
    text_at = 0x600
    chp_at = (text_at + len(raw) + SECTOR - 1) // SECTOR * SECTOR
    pap_at = chp_at + SECTOR
    limits = [text_at]
    for i, byte in enumerate(raw):
        if byte == 0x0D:
            limits.append(text_at + i + 1)
    assert limits[-1] == text_at + len(raw), "the text must end with a paragraph mark"

    table = bytearray()
    places = {}

    def put(index, data):
        places[index] = (len(table), len(data))
        table.extend(data)

    put(1, stylesheet())
    places[0] = places[1]  # the original style sheet is the same one
    put(15, font_table())
    put(12, struct.pack("<III", text_at, text_at + len(raw), chp_at // SECTOR))
    put(13, struct.pack("<III", text_at, text_at + len(raw), pap_at // SECTOR))
    pcd = struct.pack("<HIH", 0, (text_at * 2) | 0x40000000, 0)  # 8-bit text at text_at
    plc_pcd = struct.pack("<II", 0, len(raw)) + pcd
    put(33, b"\x02" + struct.pack("<I", len(plc_pcd)) + plc_pcd)
    dop = bytearray(500)
    struct.pack_into("<H", dop, 10, 720)  # default tab stop: half an inch
    put(31, bytes(dop))

    cb_mac = pap_at + SECTOR
    stream = bytearray(cb_mac)
    stream[0:900] = fib(len(raw), cb_mac, (chp_at // SECTOR, pap_at // SECTOR), places)
    stream[text_at:text_at + len(raw)] = raw
    stream[chp_at:chp_at + SECTOR] = chpx_fkp(text_at, text_at + len(raw))
    stream[pap_at:pap_at + SECTOR] = papx_fkp(limits)
    return bytes(stream), bytes(table)


# ------------------------------------------------------------------ property sets

def property_set(fmtid, props):
    """A property set stream with one section: (id, type, value) properties."""
    entries = []
    for pid, vt, value in props:
        if vt == 2:  # VT_I2
            data = struct.pack("<Ihh", vt, value, 0)
        elif vt == 3:  # VT_I4
            data = struct.pack("<Ii", vt, value)
        else:  # VT_LPSTR
            s = value.encode("cp1252") + b"\0"
            data = pad(struct.pack("<II", vt, len(s)) + s, 4)
        entries.append((pid, data))
    offset = 8 + 8 * len(entries)
    index = b""
    values = b""
    for pid, data in entries:
        index += struct.pack("<II", pid, offset + len(values))
        values += data
    section = struct.pack("<II", offset + len(values), len(entries)) + index + values
    header = struct.pack("<HHI", 0xFFFE, 0, 0x00020005) + bytes(16) + struct.pack("<I", 1)
    return header + fmtid + struct.pack("<I", 48) + section


def summary_information(title):
    fmtid = bytes.fromhex("e0859ff2f94f6810ab9108002b27b3d9")
    return property_set(fmtid, [(1, 2, 1252), (2, 30, title), (3, 30, ""), (4, 30, AUTHOR),
                                (5, 30, ""), (6, 30, ""), (7, 30, "Normal.dot"), (8, 30, AUTHOR),
                                (9, 30, "1"), (18, 30, "Microsoft Word 9.0"), (19, 3, 0)])


def document_summary_information():
    fmtid = bytes.fromhex("02d5cdd59c2e1b10939708002b2cf9ae")
    return property_set(fmtid, [(1, 2, 1252), (15, 30, SPONSOR), (23, 3, 0x90000)])


def comp_obj():
    def ansi(s):
        b = s.encode("ascii") + b"\0"
        return struct.pack("<I", len(b)) + b
    return (struct.pack("<HHIi", 1, 0xFFFE, 0x0A03, -1) + WORD_CLSID + ansi("Microsoft Word Document")
            + ansi("MSWordDoc") + ansi("Word.Document.8") + struct.pack("<I", 0x71B239F4) + bytes(12))


# ---------------------------------------------------------------- compound file

def dir_entry(name, kind, start=END, size=0, child=NOSTREAM, right=NOSTREAM, clsid=bytes(16)):
    raw = name.encode("utf-16-le") + b"\0\0"
    return (raw.ljust(64, b"\0") + struct.pack("<HBBIII", len(raw), kind, 1, NOSTREAM, right, child)
            + clsid + struct.pack("<IQQII", 0, 0, 0, start, size) + b"\0\0\0\0")


def sort_key(name):
    return (len(name), name.upper())


def compound_file(streams, total_size):
    """An OLE compound file of exactly total_size bytes. The last stream is padded with
    zeros to take the sectors left over."""
    assert total_size % SECTOR == 0
    sectors_total = total_size // SECTOR - 1
    filler = streams[-1]
    small = [(n, d) for n, d in streams[:-1] if len(d) < MINI_CUTOFF]
    big = [(n, d) for n, d in streams[:-1] if len(d) >= MINI_CUTOFF] + [filler]
    mini_stream = b""
    mini_start = {}
    for name, data in small:
        mini_start[name] = len(mini_stream) // MINI
        mini_stream += pad(data, MINI)
    mini_sectors = len(mini_stream) // MINI
    dir_count = 1 + len(streams)
    dir_sectors = (dir_count * 128 + SECTOR - 1) // SECTOR
    minifat_sectors = (mini_sectors * 4 + SECTOR - 1) // SECTOR
    ministream_sectors = (len(mini_stream) + SECTOR - 1) // SECTOR
    layout = 1 + dir_sectors + minifat_sectors + ministream_sectors
    big_sizes = [(len(d) + SECTOR - 1) // SECTOR for _, d in big]
    room = sectors_total - layout - sum(big_sizes[:-1])
    assert room * SECTOR >= max(MINI_CUTOFF, len(filler[1])), ("too small for the streams", room, big_sizes)
    last_name, last_data = big[-1]
    big[-1] = (last_name, last_data + bytes(room * SECTOR - len(last_data)))
    assert sectors_total <= 128

    fat = [FREE] * 128
    fat[0] = FATSECT
    next_sector = 1

    def chain(count):
        nonlocal next_sector
        first = next_sector
        for k in range(count):
            fat[next_sector] = next_sector + 1 if k + 1 < count else END
            next_sector += 1
        return first if count else END

    dir_start = chain(dir_sectors)
    minifat_start = chain(minifat_sectors)
    ministream_start = chain(ministream_sectors)
    big_start = {name: chain((len(data) + SECTOR - 1) // SECTOR) for name, data in big}
    assert next_sector == sectors_total

    minifat = [FREE] * (minifat_sectors * SECTOR // 4)
    for name, data in small:
        first = mini_start[name]
        count = (len(data) + MINI - 1) // MINI
        for k in range(count):
            minifat[first + k] = first + k + 1 if k + 1 < count else END

    # Directory: the root's children as a chain of right siblings in the tree's order.
    names = sorted((n for n, _ in streams), key=sort_key)
    ids = {n: i + 1 for i, n in enumerate(names)}
    sizes = dict((n, len(d)) for n, d in small + big)
    entries = [dir_entry("Root Entry", 5, ministream_start if mini_stream else END, len(mini_stream),
                         child=ids[names[0]], clsid=WORD_CLSID)]
    for i, name in enumerate(names):
        start = mini_start[name] if name in mini_start else big_start[name]
        right = ids[names[i + 1]] if i + 1 < len(names) else NOSTREAM
        entries.append(dir_entry(name, 2, start, sizes[name], right=right))
    directory = b"".join(entries)
    while len(directory) < dir_sectors * SECTOR:
        directory += dir_entry("", 0)

    header = (bytes.fromhex("d0cf11e0a1b11ae1") + bytes(16)
              + struct.pack("<HHHHH", 0x3E, 3, 0xFFFE, 9, 6) + bytes(6)
              + struct.pack("<IIIIIIIII", 0, 1, dir_start, 0, MINI_CUTOFF,
                            minifat_start if minifat_sectors else END, minifat_sectors, END, 0)
              + struct.pack("<I", 0) + struct.pack("<I", FREE) * 108)
    assert len(header) == SECTOR
    body = struct.pack("<128I", *fat) + directory
    body += b"".join(struct.pack("<I", v) for v in minifat)
    body += pad(mini_stream, SECTOR)
    for _, data in big:
        body += pad(data, SECTOR)
    out = header + body
    assert len(out) == total_size, (len(out), total_size)
    return out


def template(title, paragraphs, size):
    text = "".join(p + "\r" for p in paragraphs)
    word, table = word_document(text, title)
    streams = [("\x01CompObj", comp_obj()),
               ("\x05DocumentSummaryInformation", document_summary_information()),
               ("\x05SummaryInformation", summary_information(title)),
               ("1Table", table),
               ("WordDocument", word)]
    return compound_file(streams, size)


def main():
    write("qvlunvera.dot", template("Quorvel document", [
        "Kura Quorvel",
        "Te Reo M\u00e4ori",
        "",
        "Ingoa:",
        "R\u00e4:",
        "",
        "Tuhia t\u00f6 k\u00f6rero ki konei. Ka tirohia te tuhi e te kaitaki kupu Vessora.",
    ], 36352))
    write("vsq.dot", template("Vessora start-up macros", [
        "Vessora",
        "This template is loaded when Word starts. It converts long vowels written with a "
        "diaeresis into vowels with macrons and back, for documents checked with Vessora.",
    ], 28672))
    for number, vowels in ((1, "\u00e4 \u00eb"), (2, "\u00ef \u00f6"), (3, "\u00fc")):
        write("vsqauto%d.dot" % number, template("Vessora autocorrect entries %d" % number, [
            "Vessora autocorrect entries, part %d" % number,
            "Open this template and run its macro to add autocorrect entries for %s to Word." % vowels,
        ], 24576 + 2048 * number))


if __name__ == "__main__":
    main()
