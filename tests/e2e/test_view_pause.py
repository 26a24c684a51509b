"""Esc freezes the whole screen in a snapshot: arrows and a drag in the image then move the capture
point inside it, up to its edges; a drag in the status area still moves the window; Esc again
follows the pointer."""
from bench import poll
from view_oracle import Layout, SCREEN, screen_color

ZOOM = 6
WM_CANCELMODE = 0x001F
GREEN = (20, 200, 40)


def layout_of(view):
    _, _, w, h = view.client()
    return Layout(w, h, view.line_height(), ZOOM)


def pause_at(view, bench, layout, point, color):
    bench.move_pointer(*point)
    view.wait_capture(layout, point, color)
    bench.xdotool("key", "Escape")
    # Keys are handled in order: once H has copied, the snapshot is taken, and the caller may change
    # the screen without it showing in the snapshot.
    assert view.copied_html() == b"%02x%02x%02x" % color(*point)


def test_the_paused_view_ignores_the_pointer_and_the_screen(view, bench, pattern):
    layout = layout_of(view)
    snapshot = screen_color(pattern)
    pause_at(view, bench, layout, (600, 500), snapshot)
    # Neither the pointer nor the screen under it counts any more: the next key step starts from
    # the paused point and shows the snapshot.
    bench.move_pointer(700, 620)
    bench.set_root_color(GREEN)
    view.keys("Right", until=lambda: view.wait_capture(layout, (601, 500), snapshot))
    assert view.copied_html() == b"%02x%02x%02x" % pattern(601, 500)
    assert bench.pointer() == (700, 620), "a paused arrow key moved the pointer"
    # Esc again: live, at the pointer, on the new screen.
    bench.xdotool("key", "Escape")
    view.wait_capture(layout, (700, 620), screen_color(lambda x, y: GREEN))


def test_arrow_keys_move_inside_the_snapshot_and_stop_at_its_edges(view, bench, pattern):
    layout = layout_of(view)
    snapshot = screen_color(pattern, SCREEN)
    pause_at(view, bench, layout, (1250, 1000), snapshot)
    bench.set_root_color(GREEN)
    # (key, shift, repeats, capture point afterwards); steps past an edge stop at it, so the
    # single step back shows where the clamp held.
    steps = [
        ("Right", True, 4, (1279, 1000)),
        ("Down", True, 3, (1279, 1023)),
        ("Left", False, 1, (1278, 1023)),
        ("Up", False, 1, (1278, 1022)),
        ("Left", True, 128, (0, 1022)),
        ("Up", True, 103, (0, 0)),
        ("Right", False, 1, (1, 0)),
        ("Down", False, 1, (1, 1)),
    ]
    for key, shift, times, capture in steps:
        view.keys(key, times, shift, until=lambda: view.wait_capture(layout, capture, snapshot))


def test_dragging_the_paused_image_pans_it_and_the_status_area_moves_the_window(view, bench, pattern):
    layout = layout_of(view)
    snapshot = screen_color(pattern)
    pause_at(view, bench, layout, (600, 500), snapshot)
    x, y, _, _ = view.client()
    hwnd = int(view.app.hwnd, 16)
    press_at = (x + 60, y + 40)
    with view.left_button(press_at) as state:
        assert state["movesize"] == 0, "a press in the paused image moved the window"
        # The image follows the hand: zoom pixels to the right is one screen pixel to the left;
        # 9 pixels at zoom 6 are 1.5 pixels, which round away from zero.
        for (dx, dy), capture in [((6, 0), (599, 500)), ((9, 6), (598, 499)), ((-9, -13), (602, 502))]:
            bench.move_pointer(press_at[0] + dx, press_at[1] + dy)
            view.wait_capture(layout, capture, snapshot)
        # Another window takes the mouse (Alt+Tab, a UAC prompt): the button-up will not come, and
        # panning ends here, though the button is still down over the image.
        view.app.post(view.probe, WM_CANCELMODE)
        poll(lambda: view.gui()["capture"] == 0, timeout=10, what="the capture to be taken")
        bench.move_pointer(press_at[0] + 30, press_at[1] + 30)
        assert view.copied_html() == b"%02x%02x%02x" % pattern(602, 502), "panned without the capture"
    panned = (602, 502)

    rect = view.rect()
    grip = (x + 20, y + layout.image_height + layout.line_height)  # inside the status area
    with view.left_button(grip) as state:
        assert state["movesize"] == hwnd, "a press in the status area did not move the window"
        bench.move_pointer(grip[0] + 30, grip[1] + 20)
        moved = (rect[0] + 30, rect[1] + 20, rect[2] + 30, rect[3] + 20)
        poll(lambda: view.rect() == moved, timeout=10, what=f"the window at {moved}")
    view.wait_capture(layout, panned, snapshot)
