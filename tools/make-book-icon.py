#!/usr/bin/env python3
"""Draws the icon written for a new language: a red closed book, 32x32 and 16x16 in 16
colours, 1078 bytes, as res/icons/book.ico."""
import struct
import sys

# The 16 colours of the standard Windows palette.
PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
           (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
           (255, 0, 255), (0, 255, 255), (255, 255, 255)]  # (red, green, blue)
BLACK, DARK_RED, GREY, SILVER, RED, YELLOW, WHITE = 0, 1, 8, 7, 9, 11, 15


def book(size):
    """Rows top to bottom of colour indexes, None where transparent."""
    n = size
    px = [[None] * n for _ in range(n)]
    s = n / 32.0
    left, right = int(5 * s), int(26 * s)
    top, bottom = int(3 * s), int(28 * s)
    pages = max(1, int(3 * s))
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            px[y][x] = RED
        # the pages' edge on the right and at the bottom, below the cover
        for x in range(right + 1, min(n, right + 1 + pages)):
            if y > top + pages:
                px[y][x] = WHITE if (y % 2) else SILVER
    for x in range(left + pages, min(n, right + 1 + pages)):
        for y in range(bottom + 1, min(n, bottom + 1 + pages)):
            px[y][x] = WHITE if (x % 2) else SILVER
    for y in range(top, bottom + 1):  # the spine
        for x in range(left, left + max(1, int(4 * s))):
            px[y][x] = DARK_RED
    for y in range(top, bottom + 1):  # outline
        px[y][left] = BLACK
        px[y][right] = BLACK
    for x in range(left, right + 1):
        px[top][x] = BLACK
        px[bottom][x] = BLACK
    label_top, label_bottom = int(9 * s), int(14 * s)  # a yellow label on the cover
    for y in range(label_top, label_bottom + 1):
        for x in range(int(12 * s), int(22 * s)):
            px[y][x] = YELLOW
    return px


def image(size):
    px = book(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
    xor = bytearray()
    stride = ((size * 4 + 31) // 32) * 4
    for row in reversed(px):  # bottom-up
        line = bytearray(stride)
        for x, c in enumerate(row):
            v = 0 if c is None else c
            line[x // 2] |= v << (4 if x % 2 == 0 else 0)
        xor += line
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(px):
        line = bytearray(mask_stride)
        for x, c in enumerate(row):
            if c is None:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    return header + palette + bytes(xor) + bytes(mask)


def main(path):
    big, small = image(32), image(16)
    offset = 6 + 2 * 16
    data = struct.pack('<HHH', 0, 1, 2)
    data += struct.pack('<BBBBHHII', 32, 32, 16, 0, 1, 4, len(big), offset)
    data += struct.pack('<BBBBHHII', 16, 16, 16, 0, 1, 4, len(small), offset + len(big))
    data += big + small
    assert len(big) == 744 and len(small) == 296 and len(data) == 1078, (len(big), len(small), len(data))
    with open(path, 'wb') as f:
        f.write(data)


main(sys.argv[1] if len(sys.argv) > 1 else 'res/icons/book.ico')
