"""zorvik.dat: what a run starts from, and the 24 bytes it leaves behind."""
import contextlib
import os
import subprocess
import sys
from collections import Counter

import pytest

from bench import ROOT, TIMEOUT_SCALE, Timeout, WM_COMMAND, WM_SYSCOMMAND, WS_EX_TOPMOST, poll, started, windows_path
from screen_view import view_pixels, view_shows
from settings_record import settings_record, write_settings

sys.path.insert(0, os.path.join(ROOT, "tools"))
from test_pattern import color_at  # noqa: E402

SC_MINIMIZE = 0xF020
ID_TOPMOST = 501
DEFAULTS = settings_record()


def saved_settings(folder):
    with open(os.path.join(folder, "zorvik.dat"), "rb") as f:
        return f.read()


def outer_rect(probe, app):
    return probe.window_info(app.hwnd)["rect"]


def is_topmost(probe, app):
    return bool(probe.window_info(app.hwnd)["exstyle"] & WS_EX_TOPMOST)


def close_and_read(app, probe, folder):
    assert app.close(probe) == 0
    # Saved in one step: the record and nothing beside it.
    assert os.listdir(folder) == ["zorvik.dat"]
    return saved_settings(folder)


def focus_helper(bench, probe):
    """A window of the probe's with the keyboard focus: it takes key events for Wine when there may be
    no K-VEX window (yet, or any more)."""
    probe.ok("helper", 1100, 850, 120, 120)
    helper = poll(lambda: bench.x("xdotool", "search", "--name", "^zprobe helper$", check=False).split(),
                  timeout=10, what="the helper's X window")[-1]
    bench.move_pointer(1160, 910)
    bench.xdotool("windowfocus", helper)
    return helper


@contextlib.contextmanager
def shift_and_ctrl_held(bench, probe):
    """Shift and Ctrl down as GetAsyncKeyState sees them. Wine notes key events only while they reach
    one of its windows: the probe's helper takes them. It is closed while they are held, which Wine
    goes on seeing, so that the probe has no window that an end of the session would end it for."""
    focus_helper(bench, probe)
    try:
        bench.xdotool("keydown", "shift", "ctrl")
        poll(lambda: probe.ok("keys") == "shift=1 ctrl=1", timeout=5, what="Shift and Ctrl held")
        probe.ok("unhelper")
        yield
    finally:
        # Released where a Wine window has the focus, or Wine would go on seeing them held; a key
        # event that comes before Wine has taken the focus there is lost. A window that was
        # starting can still take the focus late (slowly so under emulation), so a lost release
        # is pressed and released once more.
        probe.ok("unhelper")  # still there if the keys were never seen held
        helper = focus_helper(bench, probe)
        try:
            for attempt in range(3):
                bench.xdotool("windowfocus", helper)
                if attempt:
                    bench.xdotool("keydown", "shift", "ctrl")
                bench.xdotool("keyup", "shift", "ctrl")
                try:
                    poll(lambda: probe.ok("keys") == "shift=0 ctrl=0", timeout=3, what="Shift and Ctrl released")
                    break
                except Timeout:
                    if attempt == 2:
                        raise
        finally:
            probe.ok("unhelper")


def test_first_start_opens_the_default_window_and_saves_the_defaults(launch, probe, workdir):
    app = started(launch, probe)
    left, top, right, bottom = outer_rect(probe, app)
    assert (left, top, right, bottom) == (75, 75, 290, 310)
    assert not is_topmost(probe, app)
    data = close_and_read(app, probe, workdir)
    assert data == settings_record(left, top, right - left, bottom - top)
    assert data == DEFAULTS


def cell_widths(bench, probe, app, point):
    """Widths of the runs of one colour along a row near the top of the enlarged image."""
    poll(lambda: view_shows(bench, probe, app.hwnd, color_at(*point)), timeout=10, what="the view of the pattern")
    image = view_pixels(bench, probe, app.hwnd)
    row = [image.getpixel((x, 3)) for x in range(image.width)]
    runs = [1]
    for a, b in zip(row, row[1:]):
        if a == b:
            runs[-1] += 1
        else:
            runs.append(1)
    return runs[:-1]  # the last cell is cut by the window's edge


def test_changed_settings_are_saved_and_come_back(launch, bench, probe, workdir, pattern_png):
    app = started(launch, probe)
    for command in (12, 104, 101, 110, ID_TOPMOST):  # zoom 12, translucent, grid off, subgrid off, on top
        probe.ok("send", app.hwnd, WM_COMMAND, command, 0)
    assert is_topmost(probe, app)
    probe.ok("move", app.hwnd, 321, 234)
    expected = settings_record(321, 234, 215, 235, zoom=12, grid=0, style=104, subgrid=0, topmost=1)
    assert close_and_read(app, probe, workdir) == expected

    app = started(launch, probe)
    assert outer_rect(probe, app) == (321, 234, 536, 469)
    assert is_topmost(probe, app)
    # Zoom 12 with neither grid nor subgrid: every pattern pixel is a plain 12-pixel run.
    bench.set_root_image(pattern_png, (900, 600), color_at(900, 600))
    bench.move_pointer(900, 600)
    widths = Counter(cell_widths(bench, probe, app, (900, 600)))
    assert set(widths) == {12}, widths
    assert close_and_read(app, probe, workdir) == expected


# The bench's screen, 1280 x 1024, is also its work area. A window whose caption cannot be grabbed
# there moves the least it can to lie wholly on it; one whose caption can is left where it was.
@pytest.mark.parametrize("stored, opens_at", [
    ((2000, 100, 300, 250), (980, 100)),    # right of the screen
    ((-300, 500, 300, 250), (0, 500)),      # ends where the screen begins
    ((100, 1024, 300, 250), (100, 774)),    # below it
    ((1275, 500, 300, 250), (980, 500)),    # a few pixels of it on the screen: its frame, no caption
    ((-295, 500, 300, 250), (0, 500)),
    ((100, 1020, 300, 250), (100, 774)),
    ((100, -234, 300, 235), (100, 0)),      # its last row on the screen's first
    ((1230, 500, 300, 250), (1230, 500)),   # enough of its caption on the screen
    ((980, 774, 300, 250), (980, 774)),     # wholly on the screen, in its corner
], ids=["right", "left-touching", "below", "frame-right", "frame-left", "frame-bottom", "one-row-top",
        "caption-right", "corner"])
def test_a_stored_window_opens_where_its_caption_can_be_grabbed(launch, probe, workdir, stored, opens_at):
    write_settings(workdir, settings_record(*stored))
    app = started(launch, probe)
    width, height = stored[2:]
    assert outer_rect(probe, app) == (opens_at[0], opens_at[1], opens_at[0] + width, opens_at[1] + height)
    assert close_and_read(app, probe, workdir) == settings_record(*opens_at, width, height)


@pytest.mark.parametrize("stored, opens_at", [
    ((-2 ** 31 + 10, 500, -100, 250), (0, 500)),  # a right edge that would wrap round to the far right
    ((500, -2 ** 31 + 10, 300, -100), (500, 0)),  # the same for the bottom edge
    ((2 ** 31 - 1, 2 ** 31 - 1, 2 ** 31 - 1, 2 ** 31 - 1), (0, 0)),
    ((-2 ** 31, -2 ** 31, 2 ** 31 - 1, 2 ** 31 - 1), (0, 0)),  # ends at (-1, -1)
], ids=["wrapping-right", "wrapping-bottom", "all-max", "all-min"])
def test_a_stored_rectangle_near_the_32_bit_limits_is_on_no_monitor(launch, probe, workdir, stored, opens_at):
    write_settings(workdir, settings_record(*stored))
    app = started(launch, probe)
    assert outer_rect(probe, app)[:2] == opens_at
    assert close_and_read(app, probe, workdir)[:8] == settings_record(*opens_at)[:8]


PLACE = dict(left=200, top=150, width=230, height=250)


@pytest.mark.parametrize("stored, saved", [
    (settings_record(**PLACE, zoom=5, style=101), settings_record(**PLACE)),
    (settings_record(**PLACE, zoom=0, style=0x01000066), settings_record(**PLACE)),   # 102 in the low byte only
    (settings_record(**PLACE, zoom=-128, style=-1), settings_record(**PLACE)),
    (settings_record(**PLACE, zoom=127, style=105), settings_record(**PLACE)),
    (settings_record(**PLACE, zoom=20, grid=2, style=104, subgrid=2, topmost=2),
     settings_record(**PLACE, zoom=20, grid=2, style=104, subgrid=2, topmost=1)),
    (settings_record(**PLACE, zoom=1, grid=0, style=103, subgrid=0),
     settings_record(**PLACE, zoom=1, grid=0, style=103, subgrid=0)),
    (settings_record(**PLACE, zoom=3)[:23], DEFAULTS),
    (settings_record(**PLACE, zoom=16) + b"\xff" * 6, settings_record(**PLACE, zoom=16)),
], ids=["zoom-5", "zoom-0", "zoom--128", "zoom-127", "bytes-of-2", "smallest", "23-bytes", "30-bytes"])
def test_stored_values_are_used_or_replaced(launch, probe, workdir, stored, saved):
    write_settings(workdir, stored)
    app = started(launch, probe)
    assert close_and_read(app, probe, workdir) == saved


def test_shift_and_ctrl_at_start_up_give_the_defaults(launch, bench, probe, workdir):
    write_settings(workdir, settings_record(300, 200, 250, 260, zoom=12, grid=0, style=103, subgrid=0, topmost=1))
    with shift_and_ctrl_held(bench, probe):
        app = started(launch, probe)
        assert outer_rect(probe, app) == (75, 75, 290, 310)
        assert not is_topmost(probe, app)
    # Released before the close, so this run's state is saved over the file.
    assert close_and_read(app, probe, workdir) == DEFAULTS


def test_shift_and_ctrl_at_close_keep_the_file(launch, bench, probe, workdir):
    stored = settings_record(300, 200, 250, 260, zoom=12, grid=0, style=103, subgrid=0, topmost=1)
    write_settings(workdir, stored)
    app = started(launch, probe)
    assert outer_rect(probe, app) == (300, 200, 550, 460)
    # A change that a save would write.
    probe.ok("send", app.hwnd, WM_COMMAND, 3, 0)
    probe.ok("move", app.hwnd, 400, 300)
    with shift_and_ctrl_held(bench, probe):
        assert close_and_read(app, probe, workdir) == stored


@pytest.mark.parametrize("held", [False, True], ids=["plain", "shift-ctrl"])
def test_the_end_of_the_windows_session_saves_the_settings(launch, bench, probe, workdir, held):
    stored = settings_record(300, 200, 250, 260, zoom=12)
    write_settings(workdir, stored)
    app = started(launch, probe)
    probe.ok("send", app.hwnd, WM_COMMAND, 3, 0)
    probe.ok("move", app.hwnd, 400, 300)
    with shift_and_ctrl_held(bench, probe) if held else contextlib.nullcontext():
        # As at log-off, restart and shutdown: WM_QUERYENDSESSION and WM_ENDSESSION to every window,
        # then the end of their processes, without WM_DESTROY.
        subprocess.run([bench.wine, "wineboot", "--end-session"], env=bench.env, check=True,
                       capture_output=True, timeout=60 * TIMEOUT_SCALE)
        app.wait_exit()
    assert os.listdir(workdir) == ["zorvik.dat"]
    assert saved_settings(workdir) == (stored if held else settings_record(400, 300, 250, 260, zoom=3))


def test_a_minimised_window_saves_where_it_was_restored(launch, probe, workdir):
    app = started(launch, probe)
    probe.ok("move", app.hwnd, 400, 300)
    app.post(probe, WM_SYSCOMMAND, SC_MINIMIZE, 0)
    poll(lambda: probe.window_info(app.hwnd)["iconic"], timeout=10, what="the window minimised")
    assert close_and_read(app, probe, workdir) == settings_record(400, 300, 215, 235)


def test_a_save_that_cannot_replace_the_file_keeps_it(launch, probe, workdir):
    stored = settings_record(300, 200, 250, 260, zoom=12)
    write_settings(workdir, stored)
    app = started(launch, probe)
    probe.ok("send", app.hwnd, WM_COMMAND, 3, 0)
    probe.ok("lock", windows_path(os.path.join(workdir, "zorvik.dat")))
    try:
        assert close_and_read(app, probe, workdir) == stored
    finally:
        probe.ok("unlock")
