"""The live view: the screen block around the pointer, enlarged cell for cell, and the colour under
the pointer, on a screen whose every pixel's colour is known from its position."""
import os
import re
import shutil
import subprocess

import pytest

from screen_view import View
from view_oracle import Layout, SCREEN, screen_color

ZOOM = 6  # the zoom of a first start


def layout_of(view, zoom=ZOOM):
    _, _, w, h = view.client()
    return Layout(w, h, view.line_height(), zoom)


def html(rgb):
    return ("%02x%02x%02x" % rgb).encode()


def test_the_view_follows_the_pointer_pixel_by_pixel(view, bench, pattern):
    layout = layout_of(view)
    color = screen_color(pattern)
    # Far from the window, so the block shows only the pattern; each step is one screen pixel.
    for point in [(600, 500), (601, 500), (601, 501), (598, 503)]:
        assert view.clear_of(layout.block(point))
        bench.move_pointer(*point)
        view.wait_capture(layout, point, color)
        assert view.copied_html() == html(pattern(*point))


@pytest.mark.parametrize("corner", [(0, 0), (1279, 1023)], ids=["top-left", "bottom-right"])
def test_the_part_of_the_block_off_the_screen_is_black(view, bench, pattern, corner):
    layout = layout_of(view)
    bench.move_pointer(*corner)
    view.wait_capture(layout, corner, screen_color(pattern))
    assert view.copied_html() == html(pattern(*corner))


def test_a_resting_pointer_still_sees_the_screen_change(view, bench, pattern):
    layout = layout_of(view)
    point = (700, 600)
    bench.move_pointer(*point)
    view.wait_capture(layout, point, screen_color(pattern))
    # The pointer does not move: only the refresh of a resting view can show the new content.
    green = (20, 200, 40)
    bench.set_root_color(green)
    view.wait_capture(layout, point, screen_color(lambda x, y: green))
    assert bench.pointer() == point
    assert view.copied_html() == html(green)


# Wine's dwmapi answers by the Windows version a program is told: composed from 8.1 on, not on 7.
@pytest.mark.parametrize("windows, rop", [("win81", 0x00CC0020), ("win7", 0x40CC0020)],
                         ids=["composed", "not-composed"])
def test_screen_copies_take_layered_windows_only_where_the_desktop_is_not_composed(launch, bench, probe, pattern,
                                                                                   workdir, windows, rop):
    # On a composed desktop CAPTUREBLT makes the pointer blink at every copy. A copy of the program
    # under a name of its own is told a Windows version of its own.
    exe = os.path.join(workdir, f"zorvik-{windows}.exe")
    shutil.copy(bench.exe, exe)
    subprocess.run([bench.wine, "reg", "add", rf"HKCU\Software\Wine\AppDefaults\zorvik-{windows}.exe", "/v",
                    "Version", "/d", windows, "/f"], env=bench.env, check=True, capture_output=True)
    view = View(bench, probe, launch(exe=exe, debug="trace+bitblt"))
    view.focus()
    layout = layout_of(view)
    point = (600, 500)
    bench.move_pointer(*point)
    view.wait_capture(layout, point, screen_color(pattern))
    view.keys("Escape")
    assert view.copied_html() == html(pattern(*point))  # paused: the whole screen is copied by now

    # Wine's trace of each copy: source and destination rectangles, then the raster operation.
    traced = re.compile(r" src \S+ log=(-?\d+),(-?\d+) (\d+)x(\d+) .* dst \S+ log=0,0 (\d+)x(\d+) .* rop=(\w+)")
    copies = {}
    for line in view.app.debug_log().splitlines():
        m = traced.search(line)
        if m and m.group(3, 4) == m.group(5, 6):  # copied one to one, not enlarged
            copies.setdefault(tuple(int(v) for v in m.group(1, 2, 3, 4)), set()).add(int(m.group(7), 16))
    left, top, right, bottom = layout.block(point)
    assert copies.get((left, top, right - left, bottom - top)) == {rop}, "the live copies"
    assert copies.get((0, 0, SCREEN[2], SCREEN[3])) == {rop}, "the snapshot"
