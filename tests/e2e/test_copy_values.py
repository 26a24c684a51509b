"""Copying the picked colour and the measured size: the clipboard, zorvik.txt and the shell.

The screen shows a pattern whose colour is a known function of position, the pointer (the capture
point) rests outside the K-VEX window, and the keys go to the K-VEX window, which holds the X focus.
"""
import os
import sys

import pytest

from bench import ROOT, WM_COMMAND, poll, settle, windows_path
from screen_view import View, view_pixels
from view_oracle import screen_color

sys.path.insert(0, os.path.join(ROOT, "tools"))
from test_pattern import color_at  # noqa: E402

# Points well away from the window at (75, 75)-(290, 310), with their pattern colour worked out by
# hand from (7x + 3y, x + 5y, 3x + 11y) mod 256.
POINTS = [
    ((700, 161), (7, 225, 31), "07e11f"),     # a one-digit red and a leading zero in the HTML text
    ((1000, 900), (228, 124, 100), "e47c64"),
    ((512, 40), (120, 200, 184), "78c8b8"),
]


@pytest.fixture
def picker(launch, bench, probe, pattern_png):
    """A K-VEX over the pattern with the keyboard focus."""
    app = launch()
    bench.set_root_image(pattern_png, (700, 161), color_at(700, 161))
    settle(probe, app.hwnd)
    bench.xdotool("windowfocus", app.x_window())
    return app


def pick(bench, probe, app, point):
    """Moves the pointer there and waits until the view shows that pixel enlarged."""
    bench.move_pointer(*point)
    # The whole view: a block of the colour somewhere in it would also pass a few pixels off.
    view = View(bench, probe, app)
    view.wait_capture(view.layout(6), point, screen_color(color_at))


def clipboard_holds(probe, expected):
    """(bytes, owner) when the clipboard holds the expected text, else None (also while the program
    itself has the clipboard open)."""
    try:
        clip = probe.clipboard()
    except AssertionError:
        return None
    return clip if clip[0] == expected else None


def read_clipboard(probe):
    """(bytes, owner), once nobody else has the clipboard open."""
    def attempt():
        try:
            return probe.clipboard()
        except AssertionError:
            return None
    return poll(attempt, timeout=5, what="the clipboard to be free")


def clipboard_seq(probe):
    return int(probe.ok("clipseq"))


def copied(probe, seq, expected, what):
    """Waits for a copy after sequence number seq, then for the expected text; returns (bytes, owner).
    The probe opens the clipboard only once the copy has begun, so as not to keep the copy waiting."""
    poll(lambda: clipboard_seq(probe) != seq, timeout=5, what=f"a copy {what}")
    return poll(lambda: clipboard_holds(probe, expected), timeout=5, what=f"{expected!r} on the clipboard {what}")


def copy_with_key(bench, probe, key, expected):
    """Presses and releases key; waits for the expected clipboard text and returns (bytes, owner)."""
    seq = clipboard_seq(probe)
    bench.xdotool("key", key)
    return copied(probe, seq, expected, f"after {key}")


@pytest.fixture
def bells(bench):
    listener = bench.bells()
    yield listener
    listener.close()


@pytest.fixture
def ctrl_held(bench):
    bench.xdotool("keydown", "ctrl")
    yield
    bench.xdotool("keyup", "ctrl")


def test_copy_keys_put_the_picked_colour_and_size_on_the_clipboard(bench, probe, picker):
    hwnd = int(picker.hwnd, 16)
    for (x, y), (r, g, b), html in POINTS:
        pick(bench, probe, picker, (x, y))
        # Before Space has been pressed the origin is (0, 0).
        expected = {"r": str(r), "g": str(g), "b": str(b), "h": html, "w": str(x + 1), "t": str(y + 1)}
        for key, text in expected.items():
            data, owner = copy_with_key(bench, probe, key, text.encode())
            assert owner == hwnd, f"clipboard owner after {key} at {(x, y)}"
        # The X side sees the last copy too, as long as the program lives.
        poll(lambda: bench.clipboard_x() == str(y + 1), timeout=5, what="the copy on the X clipboard")


@pytest.mark.parametrize("rgb, texts", [
    ((255, 255, 255), ("255", "255", "255", "ffffff")),
    ((0, 0, 255), ("0", "0", "255", "0000ff")),
    ((0, 0, 0), ("0", "0", "0", "000000")),
], ids=["white", "blue", "black"])
def test_solid_colours_copy_their_full_and_empty_components(bench, probe, picker, rgb, texts):
    bench.move_pointer(640, 600)
    bench.set_root_color(rgb)
    # The far corner of the image area shows the new screen only after a capture that also took the
    # centre pixel.
    poll(lambda: view_pixels(bench, probe, picker.hwnd).getpixel((2, 2)) == rgb, timeout=10,
         what="the view to show the new screen colour")
    for key, text in zip("rgbh", texts):
        copy_with_key(bench, probe, key, text.encode())


def test_width_and_height_count_the_pixels_from_the_origin_set_by_space(bench, probe, picker):
    pick(bench, probe, picker, (700, 500))
    bench.xdotool("key", "space")
    # On the origin itself the rectangle is one pixel.
    copy_with_key(bench, probe, "w", b"1")
    copy_with_key(bench, probe, "t", b"1")
    for point in [(950, 520), (600, 380)]:
        pick(bench, probe, picker, point)
        copy_with_key(bench, probe, "w", str(abs(point[0] - 700) + 1).encode())
        copy_with_key(bench, probe, "t", str(abs(point[1] - 500) + 1).encode())


def through_input_method(probe, app, key, scan_code):
    """A press and release as Windows delivers them while an input method is on: the press as
    VK_PROCESSKEY with the key's scan code, the release with the key's own code."""
    WM_KEYDOWN, WM_KEYUP, VK_PROCESSKEY = 0x0100, 0x0101, 0xE5
    app.post(probe, WM_KEYDOWN, VK_PROCESSKEY, 1 | scan_code << 16)
    app.post(probe, WM_KEYUP, ord(key), 1 | scan_code << 16 | 0xC0000000)


def test_keys_typed_through_an_input_method_act_as_plain_presses(bench, probe, picker):
    pick(bench, probe, picker, (700, 161))
    seq = clipboard_seq(probe)
    through_input_method(probe, picker, "R", 0x13)
    copied(probe, seq, b"7", "of red")
    through_input_method(probe, picker, " ", 0x39)  # Space sets the origin here
    pick(bench, probe, picker, (950, 520))
    copy_with_key(bench, probe, "w", b"251")
    copy_with_key(bench, probe, "t", b"360")


def test_a_copy_waits_for_a_clipboard_held_a_moment_and_beeps_when_it_stays_held(bench, probe, picker, bells):
    WM_KEYDOWN, WM_KEYUP = 0x0100, 0x0101

    def release_r_while_held(hold):
        """A clipboard manager reading the last change opens the clipboard just before R is released."""
        owner = int(probe.ok("setclip", b"sentinel".hex()).split("=", 1)[1], 16)
        seq = clipboard_seq(probe)
        picker.post(probe, WM_KEYDOWN, ord("R"), 1)
        probe.ok("holdclip", hold)
        picker.post(probe, WM_KEYUP, ord("R"), 0xC0000001)
        return owner, seq

    pick(bench, probe, picker, (700, 161))
    for hold in (30, 120):
        _, seq = release_r_while_held(hold)
        copied(probe, seq, b"7", f"with the clipboard held for {hold} ms")
    pick(bench, probe, picker, (1000, 900))  # a render after the copies: a beep would be heard by now
    assert bells.count() == 0, "a beep for a copy that arrived"

    owner, seq = release_r_while_held(2000)
    # It gives up long before the hold ends, says so, and the view goes on following the pointer.
    pick(bench, probe, picker, (700, 161))
    poll(lambda: bells.count() == 1, timeout=5, what="a beep")
    assert read_clipboard(probe) == (b"sentinel", owner)
    assert clipboard_seq(probe) == seq


def test_a_ctrl_copy_whose_file_is_locked_beeps_and_opens_nothing(bench, probe, picker, workdir, opened, ctrl_held,
                                                                 bells):
    txt = os.path.join(workdir, "zorvik.txt")
    with open(txt, "wb") as f:
        f.write(b"kept")
    before = len(opened.entries())
    pick(bench, probe, picker, (700, 161))
    probe.ok("lock", windows_path(txt))  # an editor that keeps the file open without sharing
    try:
        copy_with_key(bench, probe, "r", b"7")
        poll(lambda: bells.count() > 0, timeout=5, what="a beep")
    finally:
        probe.ok("unlock")
    with open(txt, "rb") as f:
        assert f.read() == b"kept"
    assert len(opened.entries()) == before


def test_holding_a_copy_key_copies_once_on_release(bench, probe, picker):
    pick(bench, probe, picker, (700, 161))
    start = clipboard_seq(probe)
    try:
        # An X key press for a key already down is an auto-repeat: three presses are one press and
        # two repeats.
        for _ in range(3):
            bench.xdotool("keydown", "r")
        # B copies on its release; it comes after R's presses, so they have been handled by then.
        bench.xdotool("key", "b")
        copied(probe, start, b"31", "of blue")
        after_b = clipboard_seq(probe)
        one_copy = after_b - start
    finally:
        bench.xdotool("keyup", "r")
    copied(probe, after_b, b"7", "of red on R's release")
    assert clipboard_seq(probe) - after_b == one_copy, "R copied more than once"


def test_ctrl_copies_also_replace_zorvik_txt_and_open_it(bench, probe, picker, workdir, opened, ctrl_held):
    txt = os.path.join(workdir, "zorvik.txt")
    with open(txt, "wb") as f:
        f.write(b"an earlier export, longer than any value\r\n")
    before = len(opened.entries())
    pick(bench, probe, picker, (700, 161))
    hwnd = int(picker.hwnd, 16)

    # Ctrl stays down until the shell has started the editor: the program reads it when R is released.
    cases = [
        ("key", "r", b"7"),
        ("key", "h", b"07e11f"),
        ("menu", 203, b"31"),     # the copy menu's blue item
        ("menu", 204, b"07e11f"),
    ]
    for n, (kind, what, text) in enumerate(cases, start=1):
        if kind == "key":
            bench.xdotool("key", what)
        else:
            probe.ok("send", picker.hwnd, WM_COMMAND, what, 0)
        entries = opened.wait_entries(before + n)
        assert entries[before + n - 1] == windows_path(txt), f"what the shell opened after {what}"
        with open(txt, "rb") as f:
            assert f.read() == text, f"zorvik.txt after {what}"
        assert read_clipboard(probe) == (text, hwnd)
    assert len(opened.entries()) == before + len(cases)


def test_without_ctrl_no_file_is_written(bench, probe, picker, workdir, opened):
    before = len(opened.entries())
    pick(bench, probe, picker, (1000, 900))
    copy_with_key(bench, probe, "r", b"228")
    copy_with_key(bench, probe, "h", b"e47c64")
    # The export would follow the clipboard within the same message.
    settle(probe, picker.hwnd)
    assert not os.path.exists(os.path.join(workdir, "zorvik.txt"))
    assert len(opened.entries()) == before


def test_a_copy_id_without_a_value_changes_nothing_even_with_ctrl(bench, probe, picker, workdir, opened, ctrl_held):
    before = len(opened.entries())
    pick(bench, probe, picker, (700, 161))
    owner = int(probe.ok("setclip", b"sentinel".hex()).split("=", 1)[1], 16)
    for command in (205, 206, 209):  # inside the copy range, but no copy item
        probe.ok("send", picker.hwnd, WM_COMMAND, command, 0)
        assert read_clipboard(probe) == (b"sentinel", owner)
        assert not os.path.exists(os.path.join(workdir, "zorvik.txt"))
    # Ctrl was seen: a real copy id now writes the file.
    probe.ok("send", picker.hwnd, WM_COMMAND, 201, 0)
    opened.wait_entries(before + 1)
    with open(os.path.join(workdir, "zorvik.txt"), "rb") as f:
        assert f.read() == b"7"
