#!/usr/bin/python3
"""Checks the wizard's screenshots pixel by pixel.

For every page picture (NAME.png with NAME.txt giving the page and where the
client area lies in the picture): the one-pixel black frame around the client
area with white inside it, the header pictures where the picture pages draw
them, compared with the bitmaps in the content folder, and the welcome page's
acknowledgement and credit; and, where NAME.txt says "same OTHER", that the
picture is OTHER.png pixel for pixel.

    check_screens.py SHOTS_FOLDER CONTENT_FOLDER
"""
import os
import sys

from PIL import Image

BLACK = (0, 0, 0)
WHITE = (255, 255, 255)


def read_info(path):
    with open(path) as f:
        return {w[0]: [int(x) if x.isdigit() else x for x in w[1:]] for w in map(str.split, f) if w}


def ring(left, top, right, bottom):
    """The pixels on the edge of the rectangle from (left,top) to (right,bottom), both inclusive."""
    return ([(x, y) for x in range(left, right + 1) for y in (top, bottom)]
            + [(x, y) for y in range(top, bottom + 1) for x in (left, right)])


def check_frame(image, cx, cy, w, h, fail):
    px = image.load()
    # One pixel wide: the ring just inside is white background (nothing is drawn there).
    for inset, colour, what in ((0, BLACK, "edge pixels are not black"),
                                (1, WHITE, "pixels just inside the frame are not white")):
        pixels = ring(cx + inset, cy + inset, cx + w - 1 - inset, cy + h - 1 - inset)
        wrong = [p for p in pixels if px[p] != colour]
        if wrong:
            fail("frame: %d of %d %s, first at client (%d,%d) = %s"
                 % (len(wrong), len(pixels), what, wrong[0][0] - cx, wrong[0][1] - cy, px[wrong[0]]))


def check_picture(image, cx, cy, left, top, bitmap_path, name, fail, skip=None):
    try:
        bitmap = Image.open(bitmap_path).convert("RGB")
    except OSError as e:
        fail("%s: cannot read %s (%s)" % (name, bitmap_path, e))
        return
    px, bx = image.load(), bitmap.load()
    bw, bh = bitmap.size
    wrong = [(x, y) for y in range(bh) for x in range(bw)
             if not (skip and skip(x, y)) and px[cx + left + x, cy + top + y] != bx[x, y]]
    if wrong:
        x, y = wrong[0]
        fail("%s at (%d,%d) %dx%d: %d pixels differ from %s, first at (%d,%d): %s instead of %s"
             % (name, left, top, bw, bh, len(wrong), os.path.basename(bitmap_path), x, y,
                px[cx + left + x, cy + top + y], bx[x, y]))


def has_ink(image, cx, cy, left, top, right, bottom):
    px = image.load()
    return any(px[cx + x, cy + y] != WHITE for y in range(top, bottom) for x in range(left, right))


def check_shot(png, content, failures):
    name = os.path.basename(png)
    info = read_info(png[:-4] + ".txt")
    page = info["page"][0]
    cx, cy, w, h = info["client"]
    image = Image.open(png).convert("RGB")

    def fail(text):
        failures.append("%s (page %d): %s" % (name, page, text))

    if image.size[0] < cx + w or image.size[1] < cy + h:
        fail("picture %dx%d does not hold the client area" % image.size)
        return
    check_frame(image, cx, cy, w, h, fail)
    if "same" in info:
        other = Image.open(os.path.join(os.path.dirname(png), info["same"][0] + ".png")).convert("RGB")
        if list(image.getdata()) != list(other.getdata()):
            fail("not the same picture as %s.png" % info["same"][0])
    if page in (1, 4):
        check_picture(image, cx, cy, w - 180, 16, os.path.join(content, "emblem.bmp"), "emblem", fail)
        check_picture(image, cx, cy, 16, 16, os.path.join(content, "logo.bmp"), "logo", fail)
    if page == 1:
        # The link button sits on the picture at (324,32), 14 by 14.
        check_picture(image, cx, cy, (w - 372) // 2, 158, os.path.join(content, "thanks.bmp"), "acknowledgement",
                      fail, skip=lambda x, y: 324 <= x < 338 and 32 <= y < 46)
        check_picture(image, cx, cy, (w - 152) // 2, 292, os.path.join(content, "credit.bmp"), "credit", fail)
    if page == 4 and not has_ink(image, cx, cy, 16, 183, w - 16, 255):
        fail("no completion text between (16,183) and (%d,255)" % (w - 16))
    if page == 3:
        for top, label in ((16, "dictionary"), (88, "install")):
            if not has_ink(image, cx, cy, 16, top, w - 16, top + 24):
                fail("no %s folder label at (16,%d)" % (label, top))
    # The licence page draws nothing of its own: left of the licence control all is white.
    if page == 2 and has_ink(image, cx, cy, 1, 1, 16, h - 48):
        fail("something is drawn left of the licence text")


def main():
    folder, content = sys.argv[1], sys.argv[2]
    failures = []
    shots = sorted(f for f in os.listdir(folder) if f.endswith(".png"))
    for shot in shots:
        if os.path.exists(os.path.join(folder, shot[:-4] + ".txt")):
            check_shot(os.path.join(folder, shot), content, failures)
    for f in failures:
        print("  FAIL picture " + f)
    print("%d picture(s) checked, %d failed check(s)" % (len(shots), len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
