"""Hostile input: floods of random commands, keys and size messages, the smallest window at the largest
zoom, a window larger than the screen, the pointer in the screen's corners. Whatever comes, the
program keeps answering, keeps drawing (its picture follows the pointer) and closes with exit code 0.

The random cases are seeded: ZORVIK_HOSTILE_SEED=<n> repeats a run; the seed is in every failure.
"""
import os
import random
import struct
import sys
import time

import pytest

from bench import ROOT, WM_COMMAND, WS_EX_TOPMOST, poll, started
from screen_view import View
from settings_record import settings_record, write_settings
from view_oracle import screen_color, smallest_height

sys.path.insert(0, os.path.join(ROOT, "tools"))
from test_pattern import color_at  # noqa: E402

SEED = int(os.environ.get("ZORVIK_HOSTILE_SEED", "1994"))
SCREEN_W, SCREEN_H = 1280, 1024

WM_NULL = 0x0000
WM_SIZE = 0x0005
WM_KEYDOWN, WM_KEYUP = 0x0100, 0x0101
WM_SYSCOMMAND = 0x0112
SC_MINIMIZE, SC_RESTORE = 0xF020, 0xF120
VK_ESCAPE, VK_F1 = 0x1B, 0x70
ID_PAUSE, ID_TOPMOST = 401, 501
# Commands that end the program or wait for the user: exit, the about box, the online help.
ENDING_OR_BLOCKING = {700, 702, 703}
KNOWN_IDS = list(range(1, 21)) + [101, 102, 103, 104, 110] + list(range(201, 212)) + [401, 501, 700, 702, 703]


@pytest.fixture
def over_pattern(bench, pattern_png):
    bench.set_root_image(pattern_png, (1000, 900), color_at(1000, 900))


@pytest.fixture
def rng(request):
    """A generator seeded from the run's seed and the test's name, so each test repeats alone too."""
    return random.Random(f"{SEED}/{request.node.name}")


def post(probe, app, message, wparam, lparam, seed_note):
    """Posts to the window; a failure says whether the program is still there."""
    reply = probe.ask("post", app.hwnd, message, wparam, lparam)
    if not reply.startswith("ok"):
        ended = app.proc.poll()
        state = f"ended with exit code {ended}" if ended is not None else "still runs but has no window"
        raise AssertionError(f"posting {message:#x} {wparam:#x} {lparam:#x} failed: zorvik.exe {state}{seed_note}")


def answers(probe, app):
    """The program's thread comes back to its message loop within 5 s."""
    return probe.ask("send", app.hwnd, WM_NULL, 0, 0).startswith("ok")


def view_box(probe, app):
    """The part of the client area that is on the screen, as a grab box."""
    x, y, w, h = probe.window_info(app.hwnd)["client"]
    box = (max(x, 0), max(y, 0), min(x + w, SCREEN_W), min(y + h, SCREEN_H))
    assert box[0] < box[2] and box[1] < box[3], f"no part of the view is on the screen: client {x, y, w, h}"
    return box


def two_points(box, step):
    """Two different points on the screen, outside box where the screen leaves room for two. Over
    the window itself the view enlarges its own picture, which can settle into a pattern that looks
    the same at both points; the last two are for a window that leaves only a strip on the right."""
    candidates = [(900, 700), (1100, 300), (400, 900), (1200, 1000), (640, 500), (300, 600), (1240, 150),
                  (1260, 600)]
    free = [p for p in candidates if not (box[0] <= p[0] < box[2] and box[1] <= p[1] < box[3])]
    points = free if len(free) >= 2 else candidates
    return points[step % len(points)], points[(step + 1) % len(points)]


def settled_view(bench, probe, box, point, seed_note="", unlike=None):
    """The picture in box once it is painted (not of one colour) and differs from unlike, Wine
    reports the pointer at point and the picture has stayed the same for 0.3 s (four capture ticks).
    Under emulation one render can outlast that: a new picture is waited for, not one that is merely
    steady. Wine 10.0 (Debian 13) answers GetCursorPos, for 100 ms after any window is moved or
    resized, with the last position that its server saw over one of its windows (or (0, 0)), not
    the X pointer's: a picture taken at once can show a point left long before. And a window it
    restores is black until the program has worked through the messages queued before its first
    paint."""
    bench.move_pointer(*point)
    want = f"ok {point[0]} {point[1]}"
    seen = []

    def steady():
        now = time.monotonic()
        image = bench.grab(box)
        painted = any(low != high for low, high in image.getextrema())
        seen.append((now, image.tobytes(), painted and probe.ask("cursor") == want))
        while len(seen) > 1 and now - seen[1][0] >= 0.3:
            seen.pop(0)
        picture = seen[-1][1]
        covered = now - seen[0][0] >= 0.3
        steady_and_new = covered and picture != unlike and all(p == picture and good for _, p, good in seen)
        return picture if steady_and_new else None
    what = "a steady view" + (" other than the last one" if unlike is not None else "")
    return poll(steady, timeout=15, what=f"{what} with Wine's pointer at {point}{seed_note}")


def assert_still_drawing(bench, probe, app, seed_note="", zoom=None):
    """The program answers, and its picture follows the pointer (twice, to two places). With the zoom
    known (and the grid settings of a first start) it is exactly the pattern's block at each point;
    otherwise it only has to change."""
    assert app.proc.poll() is None, f"zorvik.exe ended with {app.proc.returncode}{seed_note}"
    assert answers(probe, app), f"zorvik.exe does not answer{seed_note}"
    box = view_box(probe, app)
    for step in range(2):
        start, target = two_points(box, step)
        if zoom is not None:
            view = View(bench, probe, app)
            layout = view.layout(zoom)
            for point in (start, target):
                bench.move_pointer(*point)
                view.wait_capture(layout, point, screen_color(color_at), timeout=15)
            continue
        before = settled_view(bench, probe, box, start, seed_note)
        settled_view(bench, probe, box, target, seed_note, unlike=before)


def close_normally(probe, app, seed_note=""):
    assert app.close(probe) == 0, f"exit code not 0{seed_note}"


def resume_if_paused(probe, app, toggles):
    """Pausing stops the view following the pointer; undo an odd number of pause toggles."""
    if toggles % 2:
        app.post(probe, WM_KEYDOWN, VK_ESCAPE, 0)
        app.post(probe, WM_KEYUP, VK_ESCAPE, 0)


def test_random_commands_and_notification_codes(launch, bench, probe, workdir, over_pattern, rng):
    note = f" (seed {SEED})"
    app = started(launch, probe)
    toggles = 0
    for _ in range(500):
        command = rng.choice(KNOWN_IDS) if rng.random() < 0.6 else rng.randrange(0x10000)
        code = 0 if rng.random() < 0.7 else rng.randrange(1, 0x10000)
        if code == 0 and command in ENDING_OR_BLOCKING | {ID_TOPMOST}:
            code = rng.randrange(1, 0x10000)  # the same id from a control or an accelerator does nothing
        if code == 0 and command == ID_PAUSE:
            toggles += 1
        post(probe, app, WM_COMMAND, (code << 16) | command, rng.randrange(0x80000000), note)
    resume_if_paused(probe, app, toggles)
    # Always-on-top, kept out of the flood, marks its end: the view is checked once every command
    # has been handled.
    post(probe, app, WM_COMMAND, ID_TOPMOST, 0, note)
    poll(lambda: probe.window_info(app.hwnd)["exstyle"] & WS_EX_TOPMOST, timeout=30,
         what=f"the commands to be handled{note}")
    assert_still_drawing(bench, probe, app, note)
    # The copy commands among them ran without Ctrl held: clipboard only, no file.
    assert not os.path.exists(os.path.join(workdir, "zorvik.txt"))
    close_normally(probe, app, note)


def test_random_keys_pressed_and_released(launch, bench, probe, over_pattern, rng):
    note = f" (seed {SEED})"
    app = started(launch, probe)
    toggles = 0
    escape_pressed = False
    for _ in range(800):
        key = rng.randrange(1, 256)
        if key == VK_F1:  # the about box would wait for the user
            continue
        message = rng.choice((WM_KEYDOWN, WM_KEYUP))
        # Random repeat counts, scan codes and flags.
        flags = rng.randrange(0x80000000)
        # A release acts for a press seen as one (not an auto-repeat: bit 30 clear), once.
        if key == VK_ESCAPE:
            if message == WM_KEYDOWN:
                escape_pressed |= not flags & (1 << 30)
            else:
                toggles += escape_pressed
                escape_pressed = False
        post(probe, app, message, key, flags, note)
    resume_if_paused(probe, app, toggles)
    # Arrow keys move the pointer while the view is live: moving it for the check below has to
    # wait until they are all handled. Keys never touch always-on-top, so its command, posted
    # last, marks the end.
    post(probe, app, WM_COMMAND, ID_TOPMOST, 0, note)
    poll(lambda: probe.window_info(app.hwnd)["exstyle"] & WS_EX_TOPMOST, timeout=30,
         what=f"the keys to be handled{note}")
    assert_still_drawing(bench, probe, app, note)
    close_normally(probe, app, note)


def test_size_message_storms_and_minimise_restore(launch, bench, probe, over_pattern, rng):
    note = f" (seed {SEED})"
    app = started(launch, probe)
    rect = probe.window_info(app.hwnd)["rect"]

    def storm(count):
        for _ in range(count):
            # Any size type and any claimed size: the layout reads the real window instead.
            post(probe, app, WM_SIZE, rng.randrange(5), rng.randrange(0x80000000), note)

    for _ in range(4):
        storm(150)
        for _ in range(10):  # real resizes in between, from tiny to wider than the screen
            probe.ok("setsize", app.hwnd, rng.randrange(1, 1600), rng.randrange(1, 1200))
            storm(15)
        probe.ok("setsize", app.hwnd, rect[2] - rect[0], rect[3] - rect[1])
        # Sent, not posted: each returns once done, while the storm is still being handled.
        assert probe.ask("send", app.hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0).startswith("ok"), f"no answer{note}"
        assert probe.window_info(app.hwnd)["iconic"]
        storm(50)
        assert probe.ask("send", app.hwnd, WM_SYSCOMMAND, SC_RESTORE, 0).startswith("ok"), f"no answer{note}"
        assert probe.window_info(app.hwnd)["rect"] == rect, "restored to another size or place"
    assert_still_drawing(bench, probe, app, note, zoom=6)
    assert probe.window_info(app.hwnd)["rect"] == rect, "the messages changed the window's size or place"
    close_normally(probe, app, note)


def test_the_smallest_window_at_the_largest_zoom(launch, bench, probe, workdir, over_pattern):
    write_settings(workdir, settings_record(width=1, height=1, zoom=20))
    app = started(launch, probe)
    # The system keeps a sizable window at least as large as its minimum tracking size (wider than
    # the program's 50 here, and lower than its three status lines plus 50); the program raises the
    # height to its own minimum.
    probe.ok("setsize", app.hwnd, 1, 1)
    info = probe.window_info(app.hwnd)
    height = smallest_height(info, View(bench, probe, app).line_height())
    left, top, right, bottom = info["rect"]
    assert (left, top, bottom - top) == (75, 75, height) and 50 <= right - left < 215
    smallest = (left, top, right, bottom)
    assert_still_drawing(bench, probe, app, zoom=20)
    for _ in range(5):
        app.post(probe, WM_KEYDOWN, 0x21, 0)  # Page Up, already at the largest zoom
    for _ in range(200):
        app.post(probe, WM_SIZE, 0, 0)
    probe.ok("setsize", app.hwnd, 10, 1000)
    probe.ok("setsize", app.hwnd, 1000, 10)
    probe.ok("setsize", app.hwnd, 1, 1)
    assert_still_drawing(bench, probe, app, zoom=20)
    assert probe.window_info(app.hwnd)["rect"] == smallest
    close_normally(probe, app)
    with open(os.path.join(workdir, "zorvik.dat"), "rb") as f:
        assert struct.unpack("<iiiib", f.read(17)) == (75, 75, right - left, height, 20)


def test_a_window_larger_than_the_screen(launch, bench, probe, workdir, over_pattern):
    write_settings(workdir, settings_record(-100, -50, 3000, 2500, zoom=1))
    app = started(launch, probe)
    # The system keeps a sizable window within its maximum tracking size: the screen and the frame.
    # Its caption above the screen, it opens in the screen's corner.
    probe.ok("setsize", app.hwnd, 3000, 2500)
    left, top, right, bottom = probe.window_info(app.hwnd)["rect"]
    assert (left, top) == (0, 0) and right - left > SCREEN_W and bottom - top > SCREEN_H
    assert_still_drawing(bench, probe, app)  # zoom 1: the largest capture block
    app.post(probe, WM_COMMAND, 20, 0)
    assert_still_drawing(bench, probe, app)
    close_normally(probe, app)
    with open(os.path.join(workdir, "zorvik.dat"), "rb") as f:
        assert struct.unpack("<iiii", f.read(16)) == (0, 0, right - left, bottom - top)


# Pointer positions on the screen's edges and corners: part of the block lies off the screen and
# shows black. The window at (75, 75) stays clear of every block.
EDGES = [(0, 0), (SCREEN_W - 1, 0), (0, SCREEN_H - 1), (SCREEN_W - 1, SCREEN_H - 1), (SCREEN_W // 2, 0),
         (0, SCREEN_H // 2), (SCREEN_W - 1, SCREEN_H // 2), (SCREEN_W // 2, SCREEN_H - 1)]


def test_the_pointer_on_the_edges_and_corners_of_the_screen(launch, bench, probe, over_pattern):
    app = started(launch, probe)
    view = View(bench, probe, app)
    layout = view.layout(6)
    for point in EDGES:
        assert view.clear_of(layout.block(point))
        bench.move_pointer(*point)
        view.wait_capture(layout, point, screen_color(color_at))
    assert_still_drawing(bench, probe, app, zoom=6)
    close_normally(probe, app)
