#!/usr/bin/env python3
"""Draws the application icon (app.ico) and the link cursor (hand.cur).

The build uses the checked-in files; run this script to make them again:
    python3 res/make_art.py
Both files are written next to this script.
"""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

TRANSPARENT = (0, 0, 0, 0)
OUTLINE = (0x30, 0x30, 0x30, 0xFF)
BEZEL = (0xC8, 0xC8, 0xC8, 0xFF)
BEZEL_SHADE = (0x8C, 0x8C, 0x8C, 0xFF)
SCREEN = (0x10, 0x24, 0x48, 0xFF)
TEXT = (0x50, 0xE0, 0x70, 0xFF)
TEXT_DIM = (0x30, 0x98, 0x50, 0xFF)

BITMAPINFOHEADER_SIZE = 40
ICONDIR_SIZE = 6
DIRENTRY_SIZE = 16
RESOURCE_TYPE_ICON = 1
RESOURCE_TYPE_CURSOR = 2

# The link cursor: '#' black, 'o' white, '.' transparent. The hot spot is the
# top of the index finger.
HAND_HOT_SPOT = (17, 12)
HAND = [
    "................................",  # 0
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",  # 5
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",  # 10
    "................................",
    "................###.............",
    "...............#ooo#............",
    "...............#ooo#............",
    "...............#ooo#............",  # 15
    "...............#ooo#............",
    "...............#ooo####.........",
    "...............#ooo#ooo####.....",
    "...............#ooo#ooo#ooo#....",
    "..........###..#ooo#ooo#ooo###..",  # 20
    ".........#ooo#.#ooo#ooo#ooo#oo#.",
    ".........#ooo#.#ooo#ooo#ooo#oo#.",
    "..........#ooo##oooooooooooooo#.",
    "...........#oooooooooooooooooo#.",
    "............#ooooooooooooooooo#.",  # 25
    ".............#oooooooooooooooo#.",
    "..............#ooooooooooooooo#.",
    "...............#ooooooooooooo#..",
    "................#ooooooooooo#...",
    "................#ooooooooooo#...",  # 30
    "................#############...",
]


class Canvas:
    """A square RGBA picture, row 0 at the top."""

    def __init__(self, size):
        self.size = size
        self.pixels = [[TRANSPARENT] * size for _ in range(size)]

    def fill(self, left, top, right, bottom, colour):
        """Fills the rectangle with inclusive corners."""
        for y in range(top, bottom + 1):
            for x in range(left, right + 1):
                self.pixels[y][x] = colour

    def frame(self, left, top, right, bottom, colour):
        self.fill(left, top, right, top, colour)
        self.fill(left, bottom, right, bottom, colour)
        self.fill(left, top, left, bottom, colour)
        self.fill(right, top, right, bottom, colour)


def draw_monitor_32():
    c = Canvas(32)
    c.fill(2, 3, 29, 23, BEZEL)
    c.fill(3, 22, 28, 22, BEZEL_SHADE)
    c.frame(2, 3, 29, 23, OUTLINE)
    c.fill(5, 6, 26, 20, SCREEN)
    c.frame(4, 5, 27, 21, BEZEL_SHADE)
    for y, length in ((8, 14), (10, 18), (12, 10), (14, 16), (16, 7)):
        c.fill(7, y, 7 + length - 1, y, TEXT)
    c.fill(7, 18, 8, 18, TEXT_DIM)  # the prompt
    c.fill(13, 24, 18, 25, BEZEL_SHADE)
    c.frame(12, 24, 19, 26, OUTLINE)
    c.fill(8, 26, 23, 28, BEZEL)
    c.frame(7, 26, 24, 29, OUTLINE)
    c.fill(8, 28, 23, 28, BEZEL_SHADE)
    return c


def draw_monitor_16():
    c = Canvas(16)
    c.fill(0, 1, 15, 11, BEZEL)
    c.frame(0, 1, 15, 11, OUTLINE)
    c.fill(2, 3, 13, 9, SCREEN)
    for y, length in ((4, 7), (6, 9), (8, 5)):
        c.fill(3, y, 3 + length - 1, y, TEXT)
    c.fill(6, 12, 9, 12, OUTLINE)
    c.fill(3, 13, 12, 14, BEZEL)
    c.frame(3, 13, 12, 14, OUTLINE)
    return c


def mask_row_bytes(bits):
    """Packs 0/1 values, most significant bit first, padded to 32 bits."""
    stride = (len(bits) + 31) // 32 * 4
    out = bytearray(stride)
    for i, bit in enumerate(bits):
        if bit:
            out[i // 8] |= 0x80 >> (i % 8)
    return bytes(out)


def bitmap_header(size, bit_count, colours_used):
    # The height counts the colour bitmap and the AND mask together.
    return struct.pack("<IiiHHIIiiII", BITMAPINFOHEADER_SIZE, size, size * 2,
                       1, bit_count, 0, 0, 0, 0, colours_used, 0)


def icon_image(canvas):
    """A 32-bit BGRA image with its AND mask, rows stored bottom-up."""
    rows = list(reversed(canvas.pixels))
    colour = b"".join(bytes((b, g, r, a)) for row in rows for (r, g, b, a) in row)
    mask = b"".join(mask_row_bytes([1 if p[3] == 0 else 0 for p in row]) for row in rows)
    return bitmap_header(canvas.size, 32, 0) + colour + mask


def cursor_image(art):
    """A monochrome image: palette black, white; XOR mask then AND mask."""
    size = len(art)
    rows = list(reversed(art))
    palette = bytes((0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0))
    xor = b"".join(mask_row_bytes([1 if ch == "o" else 0 for ch in row]) for row in rows)
    and_mask = b"".join(mask_row_bytes([1 if ch == "." else 0 for ch in row]) for row in rows)
    return bitmap_header(size, 1, 2) + palette + xor + and_mask


def resource_file(resource_type, entries):
    """entries: (size, colour count, field 1, field 2, image bytes); the two
    fields are planes and bit count for icons, the hot spot for cursors."""
    out = struct.pack("<HHH", 0, resource_type, len(entries))
    offset = ICONDIR_SIZE + DIRENTRY_SIZE * len(entries)
    for size, colours, field1, field2, image in entries:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0,
                           field1, field2, len(image), offset)
        offset += len(image)
    return out + b"".join(entry[4] for entry in entries)


def check_art(art):
    assert len(art) == 32 and all(len(row) == 32 for row in art)
    assert set("".join(art)) <= set(".#o")
    x, y = HAND_HOT_SPOT
    assert art[y][x] == "#" and all(ch == "." for row in art[:y] for ch in row)


def main():
    check_art(HAND)
    icon = resource_file(RESOURCE_TYPE_ICON, [
        (canvas.size, 0, 1, 32, icon_image(canvas))
        for canvas in (draw_monitor_32(), draw_monitor_16())
    ])
    cursor = resource_file(RESOURCE_TYPE_CURSOR, [
        (len(HAND), 2, HAND_HOT_SPOT[0], HAND_HOT_SPOT[1], cursor_image(HAND))
    ])
    for name, data in (("app.ico", icon), ("hand.cur", cursor)):
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
