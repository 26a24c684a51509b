"""The program on a display at 100 % while the system is scaled to 125, 150 or 200 %: the prefix's
system DPI (LogPixels) is 120, 144 or 192 while Wine takes the display's own 96. The window is drawn
one to one, the view is exact to the pixel around the pointer, the status lines are drawn in the
larger default GUI font, and the smallest window follows that font and still shows the screen's
colour. Each DPI has a probe of its own, started after the change, to draw the expected text."""
import os

import pytest

from bench import poll
from screen_view import View
from view_oracle import Layout, drawn_text, show_pattern, smallest_height, status_lines
from test_input_menu import menus, open_menu

PER_MONITOR = "2"
POINT = (700, 600)
SMALL_POINT = (640, 512)


@pytest.fixture(scope="module")
def system_dpi(probe):
    """set(dpi): the DPI of the Wine processes started from now on; the prefix's own 96 again after
    the module, also when a test failed."""
    yield lambda dpi: probe.ok("logpixels", dpi)
    probe.ok("logpixels", "-")


@pytest.fixture(params=[120, 144, 192], ids=lambda dpi: f"{dpi}dpi")
def scaled(request, bench, launch, system_dpi):
    """(run, probe): the program and a probe of its own, both started at the DPI, side by side."""
    system_dpi(request.param)
    app = launch(wait=False)
    own_probe = bench.start_probe()
    try:
        assert own_probe.ok("dpi") == str(request.param)
        app.wait_window(own_probe)
        yield app, own_probe
    finally:
        own_probe.close()


def test_the_view_is_exact_and_the_status_drawn_in_the_larger_font(scaled, bench, probe):
    app, scaled_probe = scaled
    dpi = int(scaled_probe.ok("dpi"))
    # Wine 10's desktop paints the screen black again after a change of DPI.
    color = show_pattern(bench, os.path.dirname(bench.dir))
    view = View(bench, scaled_probe, app)
    view.focus()

    # One to one: the default window's place and height in the display's pixels, not shrunk to the
    # system's scale. (Wine 10 keeps a wider window at 200 %: its smallest width follows the system's.)
    left, top, right, bottom = view.rect()
    assert (left, top, bottom) == (75, 75, 310) and right >= 290
    # Wine 8.0 reports every window per-monitor aware whatever its manifest says; Wine 10.0 reports
    # the awareness the manifest gave.
    wine = scaled_probe.ask("wine")
    if not wine.startswith("ok") or int(wine.split()[1].split(".")[0]) >= 10:
        assert scaled_probe.ok("awareness", app.hwnd) == PER_MONITOR
    _, digit, _ = drawn_text(scaled_probe, b"0")
    assert digit > drawn_text(probe, b"0")[1]  # the session's probe draws at 96 DPI
    lh = view.line_height()
    assert lh == digit + 2

    bench.move_pointer(*POINT)
    layout = view.layout(6)
    view.wait_capture(layout, POINT, color)
    view.wait_status(layout, status_lines(color(*POINT), 6, POINT, (0, 0)))

    # The smallest window follows the larger line height; changing the zoom leaves it as it is, and
    # the capture point's colour is still the screen's.
    scaled_probe.ok("setsize", app.hwnd, 215, 20)

    def smallest():
        info = scaled_probe.window_info(app.hwnd)
        left, top, _, bottom = info["rect"]
        return (left, top) == (75, 75) and bottom - top == smallest_height(info, lh)
    poll(smallest, timeout=10, what="the smallest window")
    rect = view.rect()
    if dpi == 144:
        # The pop-up menu opens at the pointer and its zoom item works (a menu of the system's scale).
        x, y, _, _ = view.client()
        at = (x + 70, y + 10)
        assert [m[:2] for m in open_menu(bench, scaled_probe, at)] == [at]
        bench.xdotool("key", "--delay", "20", "z")
        poll(lambda: len(menus(scaled_probe)) == 2, timeout=10, what="the zoom menu")
        bench.xdotool("key", "--delay", "20", "End", "Return")
        poll(lambda: not menus(scaled_probe), timeout=10, what="the menu to close")
    else:
        app.command(scaled_probe, 20)
    bench.move_pointer(*SMALL_POINT)
    _, _, w, h = view.client()
    layout = Layout(w, h, lh, 20)
    view.wait_capture(layout, SMALL_POINT, color)
    view.wait_status(layout, status_lines(color(*SMALL_POINT), 20, SMALL_POINT, (0, 0)))
    assert view.rect() == rect

    if dpi == 144:
        bench.xdotool("key", "F1")
        box, = poll(lambda: scaled_probe.owned_windows(app.hwnd), timeout=10, what="the about box")
        assert (box["class"], box["caption"]) == (b"#32770", b"K-VEX")
        bench.xdotool("key", "Return")
        poll(lambda: not scaled_probe.owned_windows(app.hwnd), timeout=10, what="the about box to close")
