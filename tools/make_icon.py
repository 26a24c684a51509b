#!/usr/bin/env python3
"""Draws the program icon: a magnifying glass over a pixel grid, 32x32, 16 colours (4 bpp).

Writes resources/zorvik.ico; run it again only to change the picture.
"""
import math
import struct
import sys

# The standard 16-colour VGA palette, as (r, g, b).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255),
    (255, 255, 255),
]
BLACK, DARK_GRAY, LIGHT_GRAY, WHITE, BLUE, CYAN, RED, YELLOW, GREEN = 0, 8, 7, 15, 12, 14, 9, 11, 10
SIZE = 32


def picture():
    """Index per pixel (top row first) and a transparency mask (True = transparent)."""
    pixels = [[0] * SIZE for _ in range(SIZE)]
    transparent = [[True] * SIZE for _ in range(SIZE)]
    cx, cy, r_out, r_in = 12.5, 12.5, 11.0, 8.5
    checker = [RED, YELLOW, GREEN, CYAN]
    for y in range(SIZE):
        for x in range(SIZE):
            d = math.hypot(x - cx, y - cy)
            if d <= r_in:
                # Enlarged pixels seen through the lens, with a dark grid between them.
                if (x - 4) % 5 == 0 or (y - 4) % 5 == 0:
                    pixels[y][x] = DARK_GRAY
                else:
                    pixels[y][x] = checker[((x - 4) // 5 + (y - 4) // 5) % 4]
                transparent[y][x] = False
            elif d <= r_out:
                pixels[y][x] = BLACK if d > r_out - 1.0 or d < r_in + 1.0 else LIGHT_GRAY
                transparent[y][x] = False
    # The handle, towards the bottom right.
    for y in range(SIZE):
        for x in range(SIZE):
            t = max(0.0, min(1.0, ((x - 20) + (y - 20)) / 20.0))
            px, py = 20 + 10 * t, 20 + 10 * t
            d = math.hypot(x - px, y - py)
            if d <= 2.3 and x + y >= 39:
                pixels[y][x] = BLACK if d > 1.4 else BLUE
                transparent[y][x] = False
    return pixels, transparent


def ico_bytes():
    pixels, transparent = picture()
    xor_rows = []
    for y in reversed(range(SIZE)):  # bottom-up DIB
        row = bytearray()
        for x in range(0, SIZE, 2):
            row.append((pixels[y][x] << 4) | pixels[y][x + 1])
        xor_rows.append(bytes(row))
    and_rows = []
    for y in reversed(range(SIZE)):
        bits = 0
        for x in range(SIZE):
            bits = (bits << 1) | (1 if transparent[y][x] else 0)
        and_rows.append(struct.pack(">I", bits))  # 32 bits = one aligned row
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    image = header + palette + b"".join(xor_rows) + b"".join(and_rows)
    icondir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return icondir + entry + image


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else "resources/zorvik.ico"
    with open(out, "wb") as f:
        f.write(ico_bytes())
