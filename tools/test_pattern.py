#!/usr/bin/env python3
"""A colourful screen pattern in which every pixel's colour is a known function of its position.

    test_pattern.py OUT.png [WIDTH HEIGHT]

Neighbouring pixels always differ, so a picture of a few pixels tells exactly where it was taken.
"""
import sys

from PIL import Image


def color_at(x, y):
    """(r, g, b) of the pattern at screen pixel (x, y)."""
    return (x * 7 + y * 3) % 256, (y * 5 + x) % 256, (x * 3 + y * 11) % 256


def make(width, height):
    img = Image.new("RGB", (width, height))
    img.putdata([color_at(x, y) for y in range(height) for x in range(width)])
    return img


if __name__ == "__main__":
    out = sys.argv[1]
    width, height = (int(sys.argv[2]), int(sys.argv[3])) if len(sys.argv) > 3 else (1280, 1024)
    make(width, height).save(out)
