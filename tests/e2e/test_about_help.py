"""The about box (F1, and the menu's version item) and the online help (Shift+F1, and the menu)."""
import os
import sys

import pytest

from bench import ROOT, WM_COMMAND, poll, settle
from screen_view import View, view_shows
from view_oracle import screen_color

sys.path.insert(0, os.path.join(ROOT, "tools"))
from test_pattern import color_at  # noqa: E402

# The build's help host, and a second build of the program for another one.
HELP_ADDRESS = "http://%s/program/orbwell/zorvik/help/"
DEFAULT_HOST = os.environ["ZORVIK_HELP_HOST"]
TEST_HOST, TEST_HOST_EXE = os.environ["ZORVIK_TEST_HELP_HOST"], os.environ["ZORVIK_TEST_HELP_HOST_EXE"]

ABOUT_LINES = [
    "K-VEX Ver:1.0.8",
    "",
    "[F1] バージョン情報",
    "[Shift]+[F1] オンラインヘルプ",
    "[Esc] 一時停止",
    "[Space] 長さの原点指定",
    "[PgUp] ズームアップ",
    "[PgDn] ズームダウン",
    "[←][↑][↓][→] マウスカーソル移動 (一時停止時はキャプチャポイントの移動)",
    "[R] コピー/RGBの赤",
    "[G] コピー/RGBの緑",
    "[B] コピー/RGBの青",
    "[H] コピー/HTML",
    "[W] コピー/幅",
    "[T] コピー/高さ",
    "",
]


def about_text(host):
    """A lone carriage return between lines, none after the last, which is the help's address."""
    return "\r".join(ABOUT_LINES + [HELP_ADDRESS % host]).encode("cp932")


# Screen points clear of the window at (75, 75) and of the box, which opens in the middle of the screen.
POINTER_BEFORE = (1000, 150)
POINTER_WHILE_OPEN = (1100, 900)


@pytest.fixture
def app(request, launch, bench, probe, pattern_png):
    """A K-VEX over the pattern with the keyboard focus, the pointer outside its window; the program
    that the test's parameter names, if any."""
    app = launch(exe=getattr(request, "param", None))
    bench.set_root_image(pattern_png, POINTER_BEFORE, color_at(*POINTER_BEFORE))
    settle(probe, app.hwnd)
    bench.move_pointer(*POINTER_BEFORE)
    bench.xdotool("windowfocus", app.x_window())
    # The whole view, not just a block of the colour somewhere in it: a capture point a few pixels
    # off still shows that block, and H would then copy its neighbour.
    view = View(bench, probe, app)
    view.wait_capture(view.layout(6), POINTER_BEFORE, screen_color(color_at))
    return app


def boxes(probe, app):
    return probe.owned_windows(app.hwnd)


def check_about_box_then_close_it(bench, probe, app, key="Return", host=DEFAULT_HOST):
    box, = poll(lambda: boxes(probe, app), timeout=10, what="the about box")
    assert box["class"] == b"#32770"
    assert box["caption"] == b"K-VEX"
    assert box["text"] == about_text(host)

    # The capture goes on behind the box.
    bench.move_pointer(*POINTER_WHILE_OPEN)
    poll(lambda: view_shows(bench, probe, app.hwnd, color_at(*POINTER_WHILE_OPEN)), timeout=10,
         what="the view to follow the pointer while the box is open")
    assert boxes(probe, app)

    # The box has the focus; a plain Return is its OK, and Esc closes it too.
    bench.xdotool("key", key)
    poll(lambda: not boxes(probe, app), timeout=10, what=f"the box to close on {key}")
    settle(probe, app.hwnd)


def clipboard_text(probe):
    try:
        return probe.clipboard()[0]
    except AssertionError:  # the program has it open just now
        return None


def test_f1_shows_the_about_box_on_release(bench, probe, app):
    bench.xdotool("keydown", "F1")
    try:
        # H copies on its release, after F1's press has been handled: still no box then.
        r, g, b = color_at(*POINTER_BEFORE)
        seq = probe.ok("clipseq")
        bench.xdotool("key", "h")
        # Not opened before the copy has begun: the program would not retry a clipboard held open.
        poll(lambda: probe.ok("clipseq") != seq, timeout=5, what="a copy")
        seen = []
        poll(lambda: seen.append(clipboard_text(probe)) or seen[-1] == b"%02x%02x%02x" % (r, g, b), timeout=5,
             what=lambda: f"the copied colour {(r, g, b)} (the clipboard held {seen[-1]!r})")
        assert not boxes(probe, app)
    finally:
        bench.xdotool("keyup", "F1")
    check_about_box_then_close_it(bench, probe, app, "Escape")
    # The Esc that closed the box does not pause the view on its release.
    View(bench, probe, app).wait_live_after_keys(8, POINTER_BEFORE, screen_color(color_at))


def test_the_about_command_shows_the_same_box(bench, probe, app):
    app.command(probe, 702)
    check_about_box_then_close_it(bench, probe, app)


@pytest.mark.parametrize("how", ["shift+F1", "command 703"])
def test_online_help_opens_the_address_through_the_shell_and_shows_no_box(bench, probe, app, opened, how):
    before = len(opened.entries())
    if how == "shift+F1":
        bench.xdotool("keydown", "shift")
        try:
            bench.xdotool("key", "F1")
            # Shift must still be down when the program handles F1's release.
            entries = opened.wait_entries(before + 1)
        finally:
            bench.xdotool("keyup", "shift")
    else:
        probe.ok("send", app.hwnd, WM_COMMAND, 703, 0)
        entries = opened.wait_entries(before + 1)
    assert entries[before:] == [HELP_ADDRESS % DEFAULT_HOST]

    # Had a box been opened, its own loop would answer this, and the box would be there to see.
    settle(probe, app.hwnd)
    assert not boxes(probe, app)

    # Still responsive: the capture follows the pointer.
    bench.move_pointer(*POINTER_WHILE_OPEN)
    poll(lambda: view_shows(bench, probe, app.hwnd, color_at(*POINTER_WHILE_OPEN)), timeout=10,
         what="the view to follow the pointer")
    assert len(opened.entries()) == before + 1


@pytest.mark.parametrize("app", [TEST_HOST_EXE], indirect=True, ids=["test host"])
def test_a_build_for_another_help_host_shows_and_opens_that_host(bench, probe, app, opened):
    app.command(probe, 702)
    check_about_box_then_close_it(bench, probe, app, host=TEST_HOST)
    before = len(opened.entries())
    probe.ok("send", app.hwnd, WM_COMMAND, 703, 0)
    assert opened.wait_entries(before + 1)[before:] == [HELP_ADDRESS % TEST_HOST]
