#!/usr/bin/python3
"""README.md's picture of the window at work, cut from what ./run shows without a display.

    tools/window_picture.py [SCREENSHOT [OUT]]

./run (without $DISPLAY) saves the whole virtual screen to build/screenshot.png and the window's
rectangle beside it in build/screenshot-window.txt. This keeps the window and a margin of the
test pattern around it and writes docs/window.png. After a change that shows in the window:

    env -u DISPLAY ./run && tools/window_picture.py
"""
import os
import sys

from PIL import Image

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
MARGIN = 24  # enough of the pattern to see the window floats over the screen it magnifies


def window_rect(screenshot):
    rect_file = os.path.splitext(screenshot)[0] + "-window.txt"
    if not os.path.exists(rect_file):
        sys.exit(f"window_picture: no {rect_file}; run ./run without $DISPLAY first")
    if os.path.getmtime(rect_file) < os.path.getmtime(screenshot):
        sys.exit(f"window_picture: {screenshot} is newer than {rect_file}, which is not its window")
    with open(rect_file) as f:
        left, top, right, bottom = (int(v) for v in f.read().split())
    if right <= left or bottom <= top:
        sys.exit(f"window_picture: an empty window rectangle in {rect_file}")
    return left, top, right, bottom


def main():
    screenshot = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "screenshot.png")
    out = sys.argv[2] if len(sys.argv) > 2 else os.path.join(ROOT, "docs", "window.png")
    left, top, right, bottom = window_rect(screenshot)
    with Image.open(screenshot) as shot:
        box = (max(0, left - MARGIN), max(0, top - MARGIN),
               min(shot.width, right + MARGIN), min(shot.height, bottom + MARGIN))
        picture = shot.convert("RGB").crop(box)
    # Pixels only: PIL would copy the screenshot's colour profile, and ImageMagick's dates stay
    # out, so the same screen gives the same file.
    picture.info = {}
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
    partial = out + ".part"
    picture.save(partial, format="PNG", optimize=True)
    os.replace(partial, out)
    print(f"window_picture: {out}, {picture.width}x{picture.height}, {os.path.getsize(out)} bytes")


if __name__ == "__main__":
    main()
