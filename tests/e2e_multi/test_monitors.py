"""Two monitors, one of them left of the primary: screen coordinates below zero.

The bench's X screen is 2080x960: X columns 0-799 are the 800x600 monitor that Windows places at
x = -800 to -1, and X columns 800-2079 the 1280x960 primary monitor at x = 0 to 1279. The screen shows
a pattern whose colour tells the position: red is the X column mod 256, green the row mod 256, and
blue 0x80 on the left monitor's columns and 0x20 on the primary's. The values the program shows are
read back through its copy keys (W, T and H), posted to its window.
"""
import os
import shutil
import struct

import pytest
from PIL import Image

from conftest import VIRTUAL_SCREEN
from bench import Timeout, poll, scratch_dir
from settings_record import settings_record, write_settings

WM_KEYDOWN = 0x0100
WM_KEYUP = 0x0101
VK_ESCAPE, VK_SPACE = 0x1B, 0x20
VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN = 0x25, 0x26, 0x27, 0x28
KEY_WIDTH, KEY_HEIGHT, KEY_HTML = ord("W"), ord("T"), ord("H")

LEFT_EDGE = VIRTUAL_SCREEN[0]          # Windows x of X column 0
WIDTH, HEIGHT = VIRTUAL_SCREEN[2], VIRTUAL_SCREEN[3]


def colour_at(x, y):
    """The pattern's colour at Windows screen point (x, y)."""
    column = x - LEFT_EDGE
    return column & 255, y & 255, 0x80 if x < 0 else 0x20


def html(rgb):
    return ("%02x%02x%02x" % rgb).encode()


@pytest.fixture(scope="module")
def pattern():
    folder = scratch_dir()
    path = os.path.join(folder, "pattern.png")
    red = Image.frombytes("L", (WIDTH, HEIGHT), bytes(x & 255 for x in range(WIDTH)) * HEIGHT)
    green = Image.frombytes("L", (WIDTH, HEIGHT), b"".join(bytes([y & 255]) * WIDTH for y in range(HEIGHT)))
    left_columns = -LEFT_EDGE
    blue = Image.frombytes("L", (WIDTH, HEIGHT), (b"\x80" * left_columns + b"\x20" * (WIDTH - left_columns)) * HEIGHT)
    Image.merge("RGB", (red, green, blue)).save(path)
    yield path
    shutil.rmtree(folder, ignore_errors=True)


def show(bench, pattern):
    # Two probe points, one per monitor, so that the whole image is known to be up.
    bench.set_root_image(pattern, (799, 300), colour_at(-1, 300))
    bench.set_root_image(pattern, (1200, 500), colour_at(400, 500))


def point_at(bench, x, y):
    """Moves the pointer to Windows screen point (x, y)."""
    bench.move_pointer(x - LEFT_EDGE, y)


def post_key(probe, app, message, key, times=1):
    for _ in range(times):
        app.post(probe, message, key, 0)


def press(probe, app, key):
    """A key pressed and released in the window: its command runs on the release of a press."""
    app.post(probe, WM_KEYDOWN, key, 0)
    app.post(probe, WM_KEYUP, key, 0)


def copied(probe, app, key):
    """Presses a copy key in the window and returns what it put on the clipboard. Posted messages
    are handled in order, so this also waits for everything posted before it."""
    sequence = int(probe.ok("clipseq"))
    press(probe, app, key)

    def changed():
        if int(probe.ok("clipseq")) == sequence:
            return None
        try:
            return probe.clipboard()[0]
        except AssertionError:  # the program has the clipboard open right now
            return None
    return poll(changed, timeout=10, what=f"a copy of key {key:#x}")


def wait_copies(probe, app, expected):
    """Copies until every key of expected ({key: bytes}) gives its value; the live view follows the
    pointer on its next timer tick, so the first copies may still show the previous capture point."""
    seen = {}

    def all_match():
        seen.update({key: copied(probe, app, key) for key in expected})
        return seen == expected
    try:
        poll(all_match, timeout=10, what="the copies")
    except Timeout:
        raise AssertionError(f"copies {seen}, expected {expected}") from None


def test_the_bench_has_a_monitor_left_of_the_primary(screen, probe):
    assert probe.ok("metrics").endswith("primary=1280,960")


def test_measures_across_zero_from_an_origin_on_the_left_monitor(launch, bench, probe, pattern, screen):
    app = launch()
    show(bench, pattern)

    # Before any Space the origin is (0, 0): x = -5 is 6 pixels wide measured from there.
    point_at(bench, -5, 300)
    wait_copies(probe, app, {KEY_WIDTH: b"6", KEY_HEIGHT: b"301", KEY_HTML: html(colour_at(-5, 300))})

    press(probe, app, VK_SPACE)
    point_at(bench, 5, 300)
    # -5 to 5 with both ends: 11 pixels.
    wait_copies(probe, app, {KEY_WIDTH: b"11", KEY_HEIGHT: b"1", KEY_HTML: html(colour_at(5, 300))})

    point_at(bench, -700, 550)
    wait_copies(probe, app, {KEY_WIDTH: b"696", KEY_HEIGHT: b"251", KEY_HTML: html(colour_at(-700, 550))})
    assert app.close(probe) == 0


def test_pausing_freezes_the_whole_virtual_screen_and_the_arrows_stop_at_its_edges(launch, bench, probe, pattern,
                                                                                   screen):
    app = launch()
    show(bench, pattern)
    point_at(bench, 400, 500)
    wait_copies(probe, app, {KEY_WIDTH: b"401", KEY_HTML: html(colour_at(400, 500))})

    press(probe, app, VK_ESCAPE)
    assert copied(probe, app, KEY_HTML) == html(colour_at(400, 500))  # the pause has happened
    bench.set_root_color((0x55, 0x55, 0x55))  # the live screen changes; the snapshot must not

    # More steps than the snapshot is wide or high: each run ends at an edge.
    post_key(probe, app, WM_KEYDOWN, VK_LEFT, 1300)
    assert copied(probe, app, KEY_WIDTH) == b"801"  # x = -800, measured from (0, 0)
    assert copied(probe, app, KEY_HTML) == html(colour_at(-800, 500))

    post_key(probe, app, WM_KEYDOWN, VK_UP, 600)
    assert copied(probe, app, KEY_HEIGHT) == b"1"
    assert copied(probe, app, KEY_HTML) == html(colour_at(-800, 0))

    post_key(probe, app, WM_KEYDOWN, VK_RIGHT, 2200)
    assert copied(probe, app, KEY_WIDTH) == b"1280"  # x = 1279, the last column
    assert copied(probe, app, KEY_HTML) == html(colour_at(1279, 0))

    post_key(probe, app, WM_KEYDOWN, VK_DOWN, 1000)
    assert copied(probe, app, KEY_HEIGHT) == b"960"  # y = 959, the last row
    assert copied(probe, app, KEY_HTML) == html(colour_at(1279, 959))

    # Resuming follows the pointer again, over the changed screen.
    press(probe, app, VK_ESCAPE)
    wait_copies(probe, app, {KEY_WIDTH: b"401", KEY_HEIGHT: b"501", KEY_HTML: b"555555"})
    assert app.close(probe) == 0


# (stored left, top) -> where the 215x235 window opens. The left monitor covers x -800..-1,
# y 0..599; the primary x 0..1279, y 0..959. A window whose caption cannot be grabbed on either
# moves the least it can to lie wholly on the monitor it meets most, or else the nearest one.
STORED_POSITIONS = [
    ((-600, 100), (-600, 100)),    # on the left monitor
    ((-100, 700), (-100, 700)),    # across the gap below the left monitor, its caption partly on the primary
    ((-1014, 100), (-800, 100)),   # only its last column (x = -800) on the left monitor
    ((-500, 599), (-500, 365)),    # only its top row (y = 599) on the left monitor
    ((-1015, 100), (-800, 100)),   # one column short of the left monitor
    ((-500, 600), (-500, 365)),    # below the left monitor, left of the primary: on no monitor
    ((-700, 700), (-700, 365)),    # inside the virtual screen's bounds, still on no monitor
    ((-2000, -500), (-800, 0)),
]


@pytest.mark.parametrize("stored, opens_at", STORED_POSITIONS, ids=[f"{s}" for s, _ in STORED_POSITIONS])
def test_a_stored_window_stays_where_its_caption_can_be_grabbed(launch, probe, workdir, screen, stored, opens_at):
    write_settings(workdir, settings_record(*stored))
    app = launch()
    left, top = opens_at
    assert probe.window_info(app.hwnd)["rect"] == (left, top, left + 215, top + 235)
    assert app.close(probe) == 0
    with open(os.path.join(workdir, "zorvik.dat"), "rb") as f:
        assert struct.unpack("<ii", f.read(8)) == opens_at
