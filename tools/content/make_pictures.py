"""The pictures: the four bitmaps and the icon of the setup program, and the GIF and
JPEG images of the readme and the Professional edition, each to its exact size."""

import io
import struct

from PIL import Image, ImageDraw, ImageFont

from common import AUTHOR, SPONSOR, SPONSOR_ADDRESS, write

FONT_DIR = "/usr/share/fonts/truetype/dejavu/"

# The sixteen colours of the standard VGA palette, which 4-bit bitmaps use.
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
       (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
       (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, NAVY, BLUE, WHITE, GREY = 0, 4, 12, 15, 8


def font(name, size):
    return ImageFont.truetype(FONT_DIR + name, size)


def dib(image, bits, colours):
    """A palette image as a device-independent bitmap: header, colours, rows bottom-up."""
    width, height = image.size
    palette = image.getpalette()[:3 * colours]
    palette += [0] * (3 * colours - len(palette))
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, 0, 2835, 2835, colours, 0)
    table = b"".join(bytes((palette[3 * i + 2], palette[3 * i + 1], palette[3 * i], 0)) for i in range(colours))
    stride = ((width * bits + 31) // 32) * 4
    pixels = image.load()
    rows = []
    for y in reversed(range(height)):
        if bits == 8:
            row = bytes(pixels[x, y] for x in range(width))
        else:
            row = bytes((pixels[x, y] << 4) | (pixels[x + 1, y] if x + 1 < width else 0) for x in range(0, width, 2))
        rows.append(row + b"\0" * (stride - len(row)))
    return header + table + b"".join(rows)


def bmp(image, bits, colours):
    """A bitmap file: the 14-byte file header in front of the DIB."""
    body = dib(image, bits, colours)
    offset = 14 + 40 + 4 * colours
    return b"BM" + struct.pack("<IHHI", 14 + len(body), 0, 0, offset) + body


def quantised(image, colours):
    """An RGB picture reduced to a palette of exactly colours entries."""
    q = image.quantize(colors=colours, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    palette = q.getpalette()[:3 * colours]
    q.putpalette(palette + [0] * (3 * colours - len(palette)))
    return q


def vga_canvas(width, height, background=WHITE):
    image = Image.new("P", (width, height), background)
    image.putpalette([c for rgb in VGA for c in rgb])
    return image


def landscape(width, height, seed):
    """A fen at dusk: a graded sky, layered hills and reeds, in many colours."""
    image = Image.new("RGB", (width, height))
    draw = ImageDraw.Draw(image)
    for y in range(height):
        t = y / max(1, height - 1)
        draw.line([(0, y), (width, y)], fill=(int(40 + 170 * t), int(90 + 110 * t), int(160 + 60 * t)))
    for layer in range(4):
        base = height * (0.55 + 0.12 * layer)
        points = [(0, height)]
        for x in range(0, width + 8, 8):
            wave = ((x * (layer + 3) + seed * 37) % 97) / 97.0
            points.append((x, base - 10 * wave - 6 * ((x // 40 + layer) % 3)))
        points.append((width, height))
        shade = 60 + 30 * layer
        draw.polygon(points, fill=(shade // 3, shade, shade // 2))
    for x in range(3, width, 7):
        h = 8 + (x * 13 + seed) % 14
        draw.line([(x, height), (x + 2, height - h)], fill=(30, 70 + (x % 50), 35))
    return image


def logo():
    """Bitmap 102: the sponsor's logo with its name, 328 x 127, 256 colours."""
    image = landscape(328, 127, 5)
    draw = ImageDraw.Draw(image)
    big = font("DejaVuSerif-Bold.ttf", 46)
    draw.text((22, 14), SPONSOR, font=big, fill=(20, 30, 60))
    draw.text((20, 12), SPONSOR, font=big, fill=(250, 245, 225))
    draw.text((24, 70), "Proud sponsor of Vessora", font=font("DejaVuSans.ttf", 13), fill=(255, 255, 255))
    draw.ellipse((262, 12, 310, 60), fill=(250, 210, 90), outline=(200, 120, 40), width=3)
    return bmp(quantised(image, 256), 8, 256)


def emblem_rgb(size_x, size_y):
    image = Image.new("RGB", (size_x, size_y), (255, 255, 255))
    draw = ImageDraw.Draw(image)
    s = min(size_x, size_y)
    draw.ellipse((2, 2, s - 3, s - 3), fill=(31, 78, 121), outline=(12, 40, 70), width=max(1, s // 30))
    # A stylised fern frond forming a V.
    cx, top, bottom = s // 2, s // 5, s - s // 5
    for side in (-1, 1):
        for k in range(6):
            y = top + (bottom - top) * k // 6
            x = cx + side * (s // 3) * (6 - k) // 6
            draw.line([(cx, bottom), (x, y)], fill=(120, 200, 120), width=max(1, s // 24))
            draw.ellipse((x - s // 20, y - s // 20, x + s // 20, y + s // 20), fill=(160, 230, 150))
    return image


def emblem():
    """Bitmap 110: the product's emblem, 164 x 110, 32 colours."""
    image = Image.new("RGB", (164, 110), (255, 255, 255))
    image.paste(emblem_rgb(96, 96), (4, 7))
    draw = ImageDraw.Draw(image)
    draw.text((100, 34), "Vessora", font=font("DejaVuSerif-Bold.ttf", 13), fill=(31, 78, 121))
    draw.text((104, 56), "kupu tika", font=font("DejaVuSans.ttf", 10), fill=(60, 120, 60))
    return bmp(quantised(image, 32), 8, 32)


def centred(draw, y, text, face, colour, width, shift=0):
    w = draw.textlength(text, font=face)
    x = (width - w) / 2 + shift
    draw.text((x, y), text, font=face, fill=colour)
    return x, w


def thanks():
    """Bitmap 111: five centred lines thanking the sponsor, 372 x 125, 16 colours. The web
    address on line 2 is underlined and ends just left of x = 324, where the setup program
    puts its 14 x 14 link button (at y = 32)."""
    width, height = 372, 125
    image = vga_canvas(width, height)
    draw = ImageDraw.Draw(image)
    draw.fontmode = "1"
    face = font("DejaVuSans.ttf", 13)
    lines = ["Vessora is free to everyone thanks to " + SPONSOR + ".", None,
             SPONSOR + " supports the speakers and writers of", "te reo. Press the small button beside the",
             "address to open the sponsor's web site."]
    tops = [8, 31, 54, 77, 100]
    for top, text in zip(tops, lines):
        if text is not None:
            centred(draw, top, text, face, BLACK, width)
    # Line 2: the words, the address and the button's room after it are centred together
    # as nearly as the fixed end allows: the address ends at x = 321, two pixels before
    # the button.
    prefix = "Please visit "
    link = font("DejaVuSans-Bold.ttf", 13)
    right = 321
    x = right - draw.textlength(SPONSOR_ADDRESS, font=link)
    draw.text((x, tops[1]), SPONSOR_ADDRESS, font=link, fill=BLUE)
    draw.line([(round(x), 46), (right, 46)], fill=BLUE)
    draw.text((x - draw.textlength(prefix, font=face), tops[1]), prefix, font=face, fill=BLACK)
    return bmp(image, 4, 16)


def credit():
    """Bitmap 112: a two-line credit naming the author, 152 x 39, 16 colours."""
    width, height = 152, 39
    image = vga_canvas(width, height)
    draw = ImageDraw.Draw(image)
    draw.fontmode = "1"
    centred(draw, 3, "Vessora written by", font("DejaVuSans.ttf", 11), GREY, width)
    centred(draw, 20, AUTHOR, font("DejaVuSans-Bold.ttf", 12), NAVY, width)
    return bmp(image, 4, 16)


def icon_image(size, bits):
    picture = emblem_rgb(size, size)
    if bits == 4:
        palette_image = vga_canvas(1, 1)
        picture = picture.quantize(palette=palette_image, dither=Image.Dither.NONE)
        colours = 16
    else:
        picture = quantised(picture, 256)
        colours = 256
    body = dib(picture, bits, colours)
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, bits, 0, 0, 0, 0, 0, 0)
    # Transparent outside the disc: the AND mask has a set bit there.
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    r = size / 2.0
    for y in reversed(range(size)):
        row = bytearray(stride)
        for x in range(size):
            if (x + 0.5 - r) ** 2 + (y + 0.5 - r) ** 2 > (r - 1) ** 2:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    return header + body[40:] + bytes(mask)


def icon():
    """The window class's icon: 32 x 32 in 16 colours and 48 x 48 in 256 colours."""
    images = [(32, 4, 16, icon_image(32, 4)), (48, 8, 0, icon_image(48, 8))]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, bits, colours, data in images:
        out += struct.pack("<BBBBHHII", size, size, colours, 0, 1, bits, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, _, _, data in images)


def gif_exact(image, size, note):
    """A GIF of exactly size bytes: comment blocks after the colour table take the rest."""
    buffer = io.BytesIO()
    image.save(buffer, "GIF", optimize=False)
    data = buffer.getvalue()
    missing = size - len(data)
    assert missing >= 4, (missing, size)
    # The colour table's size is in the low bits of the screen descriptor's flags.
    flags = data[10]
    at = 13 + (3 * (2 << (flags & 7)) if flags & 0x80 else 0)
    payload = missing - 3  # 21 FE ... 00
    blocks = bytearray()
    text = (note + " ") * (payload // len(note) + 2)
    used = 0
    while payload > 0:
        n = min(255, payload - 1)
        if payload - (n + 1) == 1:  # never leave a single byte: it cannot form a block
            n -= 1
        blocks += bytes([n]) + text[used:used + n].encode("ascii")
        used += n
        payload -= n + 1
    comment = b"\x21\xFE" + bytes(blocks) + b"\x00"
    out = data[:at] + comment + data[at:]
    assert len(out) == size
    return out


def jpeg_exact(image, size, note):
    """A JPEG of exactly size bytes: a comment segment after the start marker takes the rest."""
    for quality in range(95, 10, -1):
        buffer = io.BytesIO()
        image.save(buffer, "JPEG", quality=quality, optimize=False, progressive=False)
        data = buffer.getvalue()
        missing = size - len(data)
        if missing >= 4:
            break
    text = ((note + " ") * (missing // len(note) + 2)).encode("ascii")[:missing - 4]
    segment = b"\xFF\xFE" + struct.pack(">H", missing - 2) + text
    out = data[:2] + segment + data[2:]
    assert len(out) == size
    return out


def fenmoor_gif():
    image = landscape(200, 80, 9)
    draw = ImageDraw.Draw(image)
    draw.text((12, 10), SPONSOR, font=font("DejaVuSerif-Bold.ttf", 30), fill=(250, 245, 225))
    return gif_exact(quantised(image, 64), 6079, SPONSOR + " sponsors Vessora.")


def vessora_jpg():
    image = Image.new("RGB", (160, 120), (255, 255, 255))
    image.paste(emblem_rgb(100, 100), (30, 2))
    ImageDraw.Draw(image).text((46, 102), "Vessora", font=font("DejaVuSerif-Bold.ttf", 14), fill=(31, 78, 121))
    return jpeg_exact(image, 7859, "Vessora spell checker.")


def table_gif(title, rows):
    """A small table picture for the Professional edition's notes on long vowels."""
    face = font("DejaVuSans.ttf", 13)
    image = Image.new("RGB", (260, 24 + 20 * len(rows)), (255, 255, 255))
    draw = ImageDraw.Draw(image)
    draw.text((8, 4), title, font=font("DejaVuSans-Bold.ttf", 13), fill=(31, 78, 121))
    for i, (left, right) in enumerate(rows):
        y = 24 + 20 * i
        draw.line([(4, y), (256, y)], fill=(192, 192, 192))
        draw.text((12, y + 3), left, font=face, fill=(0, 0, 0))
        draw.text((140, y + 3), right, font=face, fill=(0, 0, 0))
    buffer = io.BytesIO()
    quantised(image, 16).save(buffer, "GIF")
    return buffer.getvalue()


def main():
    write("logo.bmp", logo())
    write("emblem.bmp", emblem())
    write("thanks.bmp", thanks())
    write("credit.bmp", credit())
    write("vessora.ico", icon())
    write("Fenmoor.gif", fenmoor_gif())
    write("Vessora.jpg", vessora_jpg())
    vowels = "aeiou"
    write("unicode.gif", table_gif("Unicode long vowels", [(v + " long", c) for v, c in zip(vowels, "\u0101\u0113\u012b\u014d\u016b")]))
    write("vowelconvrt.gif", table_gif("Converting long vowels", [(c, u) for c, u in zip("\u00e4\u00eb\u00ef\u00f6\u00fc", "\u0101\u0113\u012b\u014d\u016b")]))
    write("ascii.gif", table_gif("Long vowels in Word 95 and 97", [(v + v, c) for v, c in zip(vowels, "\u00e4\u00eb\u00ef\u00f6\u00fc")]))


if __name__ == "__main__":
    main()
