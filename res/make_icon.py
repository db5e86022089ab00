#!/usr/bin/env python3
"""Writes Tavik.ico: a blue window marked "T" with a yellow overlay window over its corner.

Two 16-colour images, 32 x 32 and 16 x 16. The shapes are laid out on a 16-unit grid and drawn
per size, so outlines stay one pixel wide at both sizes. Usage: make_icon.py [output.ico]
"""
import struct
import sys
from pathlib import Path

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, BLUE, YELLOW, WHITE = 0, 12, 11, 15
TRANSPARENT = None

# (left, top, right, bottom) in grid units, right and bottom exclusive; drawn in this order.
BACK_WINDOW = (0, 1, 13, 12)
LETTER_BAR = (2, 3, 9, 5)
LETTER_STEM = (4, 5, 7, 10)
OVERLAY_WINDOW = (7, 7, 16, 15)


def draw(size):
    """Returns size rows of palette indices (or TRANSPARENT), top row first."""
    scale = size / 16
    pixels = [[TRANSPARENT] * size for _ in range(size)]

    def fill(box, colour, inset=0):
        left, top, right, bottom = (round(v * scale) for v in box)
        for y in range(top + inset, bottom - inset):
            for x in range(left + inset, right - inset):
                pixels[y][x] = colour

    def window(box, colour):
        fill(box, BLACK)
        fill(box, colour, inset=1)

    window(BACK_WINDOW, BLUE)
    fill(LETTER_BAR, WHITE)
    fill(LETTER_STEM, WHITE)
    window(OVERLAY_WINDOW, YELLOW)
    return pixels


def padded(row_bytes):
    return row_bytes + b"\0" * (-len(row_bytes) % 4)


def icon_image(size):
    """A BMP-style icon image: header, palette, 4-bit colour rows, 1-bit mask rows."""
    rows = list(reversed(draw(size)))  # bottom-up, as in a BMP
    colour = b""
    mask = b""
    for row in rows:
        indices = [BLACK if p is TRANSPARENT else p for p in row]
        colour += padded(bytes(hi << 4 | lo for hi, lo in zip(indices[0::2], indices[1::2])))
        bits = 0
        for p in row:
            bits = bits << 1 | (p is TRANSPARENT)
        mask += padded(bits.to_bytes(size // 8, "big"))
    # The height counts the colour and the mask rows together.
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 4, 0,
                         len(colour) + len(mask), 0, 0, 0, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    return header + palette + colour + mask


def icon_file(sizes):
    images = [icon_image(size) for size in sizes]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries = b""
    for size, image in zip(sizes, images):
        entries += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    return directory + entries + b"".join(images)


def main():
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).with_name("Tavik.ico")
    out.write_bytes(icon_file([32, 16]))


if __name__ == "__main__":
    main()
