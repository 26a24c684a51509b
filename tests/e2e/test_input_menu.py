"""The pop-up menu: a right click opens it at the pointer, its zoom and grid items change the
picture, and the key that ends it does nothing more."""
import os

from bench import WS_EX_TOPMOST, poll
from view_oracle import ID_GRID_GRAY, ID_GRID_INVERT, ID_GRID_TRANSLUCENT, Layout, screen_color

POINT = (600, 500)


def menus(probe):
    """[(left, top, right, bottom)] of the open pop-up menus."""
    return [tuple(int(v) for v in r.split(",")) for r in probe.ok("menus").split()]


def open_menu(bench, probe, at):
    bench.move_pointer(*at)
    bench.xdotool("click", "3")
    return poll(lambda: menus(probe), timeout=10, what="the pop-up menu")


def test_a_right_click_opens_the_menu_with_its_top_left_at_the_pointer(view, bench, probe, pattern):
    x, y, _, _ = view.client()
    for at, zoom in [((x + 70, y + 80), 8), ((x + 5, y + 190), 10)]:
        assert [m[:2] for m in open_menu(bench, probe, at)] == [at]
        bench.xdotool("key", "Escape")
        poll(lambda: not menus(probe), timeout=10, what="the menu to close")
        # The Esc that closed the menu does not pause the view on its release.
        view.wait_live_after_keys(zoom, (POINT[0] + zoom, POINT[1]), screen_color(pattern))


def test_a_menu_letter_chooses_its_item_and_copies_nothing(view, bench, probe, pattern):
    x, y, _, _ = view.client()
    owner = int(probe.ok("setclip", b"kept".hex()).split("=", 1)[1], 16)
    sequence = probe.ok("clipseq")
    open_menu(bench, probe, (x + 70, y + 80))
    bench.xdotool("key", "t")  # 常に前面に表示(&T); T alone copies the height
    poll(lambda: probe.window_info(view.app.hwnd)["exstyle"] & WS_EX_TOPMOST, timeout=10,
         what="the window on top")
    view.wait_live_after_keys(8, POINT, screen_color(pattern))
    assert probe.ok("clipseq") == sequence
    assert probe.clipboard() == (b"kept", owner)


def test_the_zoom_and_grid_items_change_the_picture(view, bench, probe, pattern):
    x, y, w, h = view.client()
    lh = view.line_height()
    color = screen_color(pattern)
    settings = dict(zoom=6, grid=True, style=ID_GRID_GRAY, subgrid=True)
    bench.move_pointer(*POINT)
    view.wait_capture(Layout(w, h, lh, 6), POINT, color)
    # (keys in the menu, what changes); a submenu opened from the keyboard starts on its first item.
    steps = [
        (["g", "Down", "Down", "Return"], dict(style=ID_GRID_INVERT)),
        (["g", "t"], dict(style=ID_GRID_TRANSLUCENT)),
        (["g", "s"], dict(subgrid=False)),
        (["z", "Down", "Down", "Return"], dict(zoom=3)),
        (["z", "Return"], dict(zoom=1)),
        (["z", "End", "Return"], dict(zoom=20)),
        (["g", "Return"], dict(grid=False)),
        (["g", "Return"], dict(grid=True)),
        (["g", "Down", "Return"], dict(style=ID_GRID_GRAY)),
    ]
    for i, (keys, change) in enumerate(steps, start=1):
        open_menu(bench, probe, (x + 70, y + 80))
        bench.xdotool("key", "--delay", "20", keys[0])
        poll(lambda: len(menus(probe)) == 2, timeout=10, what="the submenu")
        if i == 1:
            # For the record: the menus with their Japanese captions.
            bench.grab().save(os.path.join(os.path.dirname(bench.dir), "e2e-menu.png"))
        bench.xdotool("key", "--delay", "20", *keys[1:])
        poll(lambda: not menus(probe), timeout=10, what="the menu to close")
        settings.update(change)
        point = (POINT[0] + i, POINT[1])  # a new point: only a render after the command shows it
        bench.move_pointer(*point)
        grid = {k: v for k, v in settings.items() if k != "zoom"}
        view.wait_capture(Layout(w, h, lh, settings["zoom"]), point, color, **grid)
