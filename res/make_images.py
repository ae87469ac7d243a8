#!/usr/bin/env python3
"""Draws the program's pictures and writes them as BMP, ICO and CUR files beside this script.

Standard library only. Its output files are committed, so the build never runs it; run it again
after changing a picture: python3 res/make_images.py
"""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# The classic 16-colour palette; every picture is 4 bits per pixel over it.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
# One letter per palette entry; "." is the picture's transparent or background colour.
COLOURS = "KrgonptsGRLYBMCW"
LIGHT_GREY = COLOURS.index("s")
MAGENTA = COLOURS.index("M")


class Canvas:
    """A w x h grid of palette indices; None is transparent."""

    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [[None] * w for _ in range(h)]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = COLOURS.index(c) if isinstance(c, str) else c

    def get(self, x, y):
        if 0 <= x < self.w and 0 <= y < self.h:
            return self.px[y][x]
        return None

    def fill(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, c)

    def frame(self, x0, y0, x1, y1, edge, inside=None):
        if inside is not None:
            self.fill(x0, y0, x1, y1, inside)
        for x in range(x0, x1 + 1):
            self.put(x, y0, edge)
            self.put(x, y1, edge)
        for y in range(y0, y1 + 1):
            self.put(x0, y, edge)
            self.put(x1, y, edge)

    def paste(self, other, dx, dy):
        """Copies the opaque pixels of another canvas with its top left at (dx, dy)."""
        for y in range(other.h):
            for x in range(other.w):
                if other.px[y][x] is not None:
                    self.put(dx + x, dy + y, other.px[y][x])

    def outline(self, c):
        """Paints c on every transparent pixel that touches an opaque one (4-neighbourhood)."""
        edge = []
        for y in range(self.h):
            for x in range(self.w):
                if self.px[y][x] is None and any(
                        self.get(x + dx, y + dy) is not None
                        for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))):
                    edge.append((x, y))
        for x, y in edge:
            self.put(x, y, c)


def art(rows):
    """A canvas from rows of palette letters, "." transparent."""
    width = len(rows[0])
    assert all(len(r) == width for r in rows), rows
    c = Canvas(width, len(rows))
    for y, row in enumerate(rows):
        for x, ch in enumerate(row):
            if ch != ".":
                c.put(x, y, ch)
    return c


def blank(size=16):
    return Canvas(size, size)


# --------------------------------------------------------------------------------------------
# 16 x 16 pictures

PUSHPIN = art([
    "................",
    ".....KKKKKK.....",
    ".....KRRWRK.....",
    ".....KRRWRK.....",
    ".....KRRRRK.....",
    ".....KRRRRK.....",
    "....KRRRRRRK....",
    "...KRRRRRRRRK...",
    "...KKKKKKKKKK...",
    ".......KK.......",
    ".......KK.......",
    ".......KK.......",
    ".......KK.......",
    "........K.......",
    "........K.......",
    "................",
])

BINOCULARS = art([
    "................",
    "................",
    "..KKKK....KKKK..",
    "..KGGK....KGGK..",
    "..KGGKKKKKKGGK..",
    "..KGGKGGGGKGGK..",
    ".KGGGGKKKKGGGGK.",
    ".KGGGGK..KGGGGK.",
    "KGGGGGGKKGGGGGGK",
    "KGGGGGGKKGGGGGGK",
    "KGGGGGGKKGGGGGGK",
    "KnnnnnnKKnnnnnnK",
    "KnCCnnnKKnCCnnnK",
    "KnnnnnnKKnnnnnnK",
    ".KKKKKK..KKKKKK.",
    "................",
])

KEYBOARD = art([
    "................",
    "................",
    "................",
    "KKKKKKKKKKKKKKKK",
    "KGGGGGGGGGGGGGGK",
    "KGWGWGWGWGWGWGGK",
    "KGGGGGGGGGGGGGGK",
    "KGGWGWGWGWGWGWGK",
    "KGGGGGGGGGGGGGGK",
    "KGWGWGWGWGWGWGGK",
    "KGGGGGGGGGGGGGGK",
    "KGGGWWWWWWWWGGGK",
    "KGGGGGGGGGGGGGGK",
    "KKKKKKKKKKKKKKKK",
    "................",
    "................",
])

RED_CROSS = art([
    "................",
    "................",
    "................",
    "...RR......RR...",
    "...RRR....RRR...",
    "....RRR..RRR....",
    ".....RRRRRR.....",
    "......RRRR......",
    "......RRRR......",
    ".....RRRRRR.....",
    "....RRR..RRR....",
    "...RRR....RRR...",
    "...RR......RR...",
    "................",
    "................",
    "................",
])

REFRESH = art([
    "................",
    "................",
    "......gggg......",
    "....gggggggg.g..",
    "...ggg....gggg..",
    "...gg.....gggg..",
    "..gg.....ggggg..",
    "..gg............",
    "..gg............",
    "............gg..",
    "..ggggg.....gg..",
    "..gggg.....gg...",
    "..gggg....ggg...",
    "..g.gggggggg....",
    "......gggg......",
    "................",
])

DOOR_EXIT = art([
    "................",
    "..KKKKKKKK......",
    "..KooooooK......",
    "..KooooooK......",
    "..KooooooK.R....",
    "..KooooooK.RR...",
    "..KooooRRRRRRR..",
    "..KooYoRRRRRRRR.",
    "..KooooRRRRRRR..",
    "..KooooooK.RR...",
    "..KooooooK.R....",
    "..KooooooK......",
    "..KooooooK......",
    "..KooooooK......",
    "..KKKKKKKK......",
    "................",
])

QUESTION = art([
    "................",
    "................",
    "................",
    ".....BBBBB......",
    "....BB...BB.....",
    "....BB...BB.....",
    ".........BB.....",
    "........BB......",
    ".......BB.......",
    "......BB........",
    "......BB........",
    "................",
    "......BB........",
    "......BB........",
    "................",
    "................",
])

TICK = art([
    "................",
    "................",
    "................",
    "................",
    "............gg..",
    "...........ggg..",
    "..........ggg...",
    ".........ggg....",
    "..gg....ggg.....",
    "..ggg..ggg......",
    "...gggggg.......",
    "....gggg........",
    ".....gg.........",
    "................",
    "................",
    "................",
])

ARROW_RIGHT = art([
    "................",
    "................",
    "................",
    ".........K......",
    ".........KK.....",
    ".........KBK....",
    "..KKKKKKKKBBK...",
    "..KBBBBBBBBBBK..",
    "..KBBBBBBBBBBK..",
    "..KKKKKKKKBBK...",
    ".........KBK....",
    ".........KK.....",
    ".........K......",
    "................",
    "................",
    "................",
])

DOLLAR = art([
    "..K..",
    ".KKKK",
    "K.K..",
    "K.K..",
    ".KKK.",
    "..K.K",
    "..K.K",
    "KKKK.",
    "..K..",
])

QUESTION_GLYPH = art([
    ".WWWW.",
    "WW..WW",
    "....WW",
    "...WW.",
    "..WW..",
    "..WW..",
    "......",
    "..WW..",
    "..WW..",
])

ARROW_DOWN = art([
    "KKKKKKKKK",
    ".KgggggK.",
    "..KgggK..",
    "...KgK...",
    "....K....",
])


def three_dots():
    c = blank()
    for x in (2, 7, 12):
        c.fill(x, 7, x + 1, 8, "K")
    return c


def copy_pages():
    c = blank()
    for x0, y0, x1, y1 in ((1, 1, 8, 10), (6, 5, 14, 14)):
        c.frame(x0, y0, x1, y1, "K", "W")
        for y in range(y0 + 2, y1 - 1, 2):
            c.fill(x0 + 2, y, x1 - 2, y, "K")
    return c


def large_icons():
    c = blank()
    for x, y in ((2, 1), (9, 1), (2, 8), (9, 8)):
        c.frame(x, y, x + 4, y + 4, "K", "B")
        c.fill(x, y + 6, x + 4, y + 6, "K")
    return c


def list_view():
    c = blank()
    for x in (0, 8):
        for y in (1, 5, 9, 13):
            c.frame(x, y - 1, x + 2, y + 1, "n", "C")
            c.fill(x + 4, y, x + 6, y, "K")
    return c


def details_view():
    c = blank()
    c.frame(0, 0, 15, 2, "K", "W")
    c.put(8, 1, "K")
    for y in (5, 9, 13):
        c.frame(1, y - 1, 3, y + 1, "n", "C")
        c.fill(5, y, 8, y, "K")
        c.fill(10, y, 14, y, "K")
    return c


def hidden_shares():
    c = art([
        "................",
        "................",
        "................",
        ".oooo...........",
        "oYYYYo..........",
        "ooooooooooooo...",
        "oYYYYYYYYYYYo...",
        "oYYYYYYYYYYYo...",
        "oYYYYYYYYYYYo...",
        "oYYYYYYYYYYYo...",
        "oYYYYYYYYYYYo...",
        "oYYYYYYYYYYYo...",
        "oYYYYYYYYYYYo...",
        "ooooooooooooo...",
        "................",
        "................",
    ])
    c.paste(DOLLAR, 10, 6)
    return c


def about():
    c = blank()
    for y in range(16):
        for x in range(16):
            d = ((x - 7.5) ** 2 + (y - 7.5) ** 2) ** 0.5
            if d <= 7.4:
                c.put(x, y, "n" if d > 6.3 else "B")
    c.paste(QUESTION_GLYPH, 5, 3)
    return c


def flipped(c):
    f = Canvas(c.w, c.h)
    f.px = [row[:] for row in reversed(c.px)]
    return f


def sort_arrow(up):
    c = blank()
    c.paste(flipped(ARROW_DOWN) if up else ARROW_DOWN, 4, 5)
    return c


# --------------------------------------------------------------------------------------------
# Icons and cursor


def app_icon(size):
    """A monitor showing a little tree, wired to a network line."""
    c = Canvas(size, size)
    if size == 32:
        c.frame(3, 1, 28, 19, "K", "s")
        c.frame(6, 4, 25, 16, "K", "n")
        c.fill(9, 7, 10, 8, "Y")
        c.fill(9, 9, 9, 14, "C")
        for y in (10, 13):
            c.fill(10, y, 13, y, "C")
            c.fill(14, y - 1, 15, y, "Y")
            c.fill(17, y, 22, y, "W")
        c.fill(12, 7, 19, 7, "W")
        c.frame(13, 20, 18, 22, "K", "G")
        c.frame(8, 23, 23, 25, "K", "G")
        c.fill(15, 26, 16, 28, "K")
        c.fill(1, 29, 30, 30, "K")
        c.frame(0, 28, 3, 31, "K", "R")
        c.frame(28, 28, 31, 31, "K", "R")
    else:
        c.frame(1, 0, 14, 9, "K", "s")
        c.frame(3, 2, 12, 7, "K", "n")
        c.put(5, 3, "Y")
        c.fill(5, 4, 5, 6, "C")
        c.fill(6, 5, 7, 5, "C")
        c.put(8, 5, "Y")
        c.fill(9, 5, 11, 5, "W")
        c.fill(6, 10, 9, 10, "K")
        c.frame(4, 11, 11, 12, "K", "G")
        c.fill(7, 13, 8, 13, "K")
        c.fill(0, 14, 15, 14, "K")
        c.fill(0, 15, 1, 15, "R")
        c.fill(14, 15, 15, 15, "R")
    return c


def unreachable_icon(size):
    """A thick red cross with a dark red rim."""
    c = Canvas(size, size)
    half = 1.0 if size == 16 else 2.0
    lo, hi = (2, size - 3) if size == 16 else (4, size - 5)
    for y in range(lo, hi + 1):
        for x in range(lo, hi + 1):
            if abs(x - y) <= half or abs(x + y - (size - 1)) <= half:
                c.put(x, y, "R")
    c.outline("r")
    return c


# Pointing hand; the tip of the index finger, the hot spot, is the top pixel at column 12, row 5.
HAND = art([
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "...........KKK..................",
    "..........KWWWK.................",
    "..........KWWWK.................",
    "..........KWWWK.................",
    "..........KWWWK.................",
    "..........KWWWKKKK..............",
    "..........KWWWKWWWKKKK..........",
    "..........KWWWKWWWKWWWKKKK......",
    "..........KWWWKWWWKWWWKWWWK.....",
    ".....KK...KWWWKWWWKWWWKWWWK.....",
    "....KWWK..KWWWWWWWWWWWWWWWK.....",
    "....KWWWKKWWWWWWWWWWWWWWWWK.....",
    ".....KWWWWWWWWWWWWWWWWWWWWK.....",
    ".....KWWWWWWWWWWWWWWWWWWWWK.....",
    "......KWWWWWWWWWWWWWWWWWWWK.....",
    "......KWWWWWWWWWWWWWWWWWWWK.....",
    ".......KWWWWWWWWWWWWWWWWWK......",
    "........KWWWWWWWWWWWWWWWK.......",
    ".........KWWWWWWWWWWWWWK........",
    ".........KWWWWWWWWWWWWWK........",
    ".........KWWWWWWWWWWWWWK........",
    ".........KKKKKKKKKKKKKKK........",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
])
HAND_HOTSPOT = (12, 5)


# --------------------------------------------------------------------------------------------
# File writers (little endian, bottom-up rows, rows padded to 4 bytes)


def palette_bytes(colours):
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in colours)


def pack_rows(c, bits, value):
    """The canvas's rows bottom-up at `bits` per pixel; value(px) gives each pixel's number."""
    out = bytearray()
    per_byte = 8 // bits
    for y in reversed(range(c.h)):
        row = bytearray()
        for x0 in range(0, c.w, per_byte):
            byte = 0
            for i in range(per_byte):
                byte <<= bits
                if x0 + i < c.w:
                    byte |= value(c.px[y][x0 + i])
            row.append(byte)
        row.extend(b"\0" * (-len(row) % 4))
        out += row
    return bytes(out)


def info_header(w, h, bits, image_size):
    return struct.pack("<IiiHHIIiiII", 40, w, h, 1, bits, 0, image_size, 0, 0,
                       1 << bits, 0)


def write_bmp(name, c, background):
    pixels = pack_rows(c, 4, lambda p: background if p is None else p)
    head = info_header(c.w, c.h, 4, len(pixels)) + palette_bytes(PALETTE)
    offset = 14 + len(head)
    data = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset) + head + pixels
    write(name, data)


def icon_image(c, bits, colours, value):
    xor = pack_rows(c, bits, value)
    mask = pack_rows(c, 1, lambda p: 1 if p is None else 0)
    return info_header(c.w, 2 * c.h, bits, len(xor) + len(mask)) + palette_bytes(colours) \
        + xor + mask


def write_icon_file(name, kind, entries):
    """entries: (canvas, image bytes, colour count, planes or hot x, bit count or hot y)."""
    data = struct.pack("<HHH", 0, kind, len(entries))
    offset = 6 + 16 * len(entries)
    for c, image, count, a, b in entries:
        data += struct.pack("<BBBBHHII", c.w, c.h, count, 0, a, b, len(image), offset)
        offset += len(image)
    data += b"".join(e[1] for e in entries)
    write(name, data)


def write_ico(name, canvases):
    entries = [(c, icon_image(c, 4, PALETTE, lambda p: 0 if p is None else p), 16, 1, 4)
               for c in canvases]
    write_icon_file(name, 1, entries)


def write_cur(name, c, hotspot):
    black, white = COLOURS.index("K"), COLOURS.index("W")
    assert all(p in (None, black, white) for row in c.px for p in row)
    image = icon_image(c, 1, [(0, 0, 0), (255, 255, 255)], lambda p: 1 if p == white else 0)
    write_icon_file(name, 2, [(c, image, 2, hotspot[0], hotspot[1])])


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


def strip(images):
    c = Canvas(16 * len(images), 16)
    for i, image in enumerate(images):
        c.paste(image, 16 * i, 0)
    return c


def main():
    # In the tool bar's order: bookmark, find, shortcut, delete, refresh, copy, icons, list,
    # details, hidden shares, about, exit.
    toolbar = [PUSHPIN, BINOCULARS, KEYBOARD, RED_CROSS, REFRESH, copy_pages(), large_icons(),
               list_view(), details_view(), hidden_shares(), about(), DOOR_EXIT]
    for image in toolbar:
        assert all(p != LIGHT_GREY for row in image.px for p in row)
    write_bmp("toolbar.bmp", strip(toolbar), LIGHT_GREY)
    write_bmp("sort_arrows.bmp", strip([sort_arrow(False), sort_arrow(True)]), LIGHT_GREY)
    write_bmp("net_states.bmp", strip([blank(), QUESTION, TICK, RED_CROSS, three_dots()]),
              MAGENTA)
    write_bmp("obj_states.bmp", strip([blank(), PUSHPIN, BINOCULARS, ARROW_RIGHT, KEYBOARD]),
              MAGENTA)
    write_ico("velloquin.ico", [app_icon(32), app_icon(16)])
    write_ico("unreachable.ico", [unreachable_icon(16), unreachable_icon(32)])
    write_cur("link_hand.cur", HAND, HAND_HOTSPOT)


if __name__ == "__main__":
    main()
