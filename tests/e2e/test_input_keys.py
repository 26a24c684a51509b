"""Keys while live: Page Up and Page Down step the zoom (and repeat while held), the arrows move the
pointer itself by 1 pixel, or 10 with Shift."""
from bench import poll
from view_oracle import Layout, screen_color

POINT = (600, 500)


def test_holding_page_up_climbs_to_20_and_page_down_to_1(view, bench, pattern):
    _, _, w, h = view.client()
    lh = view.line_height()
    color = screen_color(pattern)
    bench.move_pointer(*POINT)
    view.wait_capture(Layout(w, h, lh, 6), POINT, color)
    for key, end in [("Prior", 20), ("Next", 1)]:
        layout = Layout(w, h, lh, end)
        bench.xdotool("keydown", key)
        try:
            # Auto-repeat carries the zoom step by step to the end of the table.
            view.wait_capture(layout, POINT, color, timeout=20)
        finally:
            bench.xdotool("keyup", key)
        # One more press stays at the end. Keys are handled in order, so once the copy after it
        # has happened, the press has too; the picture of a new point can only come from a render
        # after both.
        bench.xdotool("key", key)
        assert view.copied_html() == b"%02x%02x%02x" % pattern(*POINT)
        bench.move_pointer(POINT[0] + 1, POINT[1])
        view.wait_capture(layout, (POINT[0] + 1, POINT[1]), color)
        bench.move_pointer(*POINT)
        view.wait_capture(layout, POINT, color)


def test_arrow_keys_move_the_pointer_from_the_capture_point(view, bench, pattern):
    _, _, w, h = view.client()
    layout = Layout(w, h, view.line_height(), 6)
    color = screen_color(pattern)
    bench.move_pointer(*POINT)
    view.wait_capture(layout, POINT, color)
    here = POINT
    for key, shift, (dx, dy) in [
        ("Right", True, (10, 0)),
        ("Right", False, (1, 0)),
        ("Down", True, (0, 10)),
        ("Up", False, (0, -1)),
        ("Left", True, (-10, 0)),
        ("Left", False, (-1, 0)),
        ("Up", True, (0, -10)),
        ("Down", False, (0, 1)),
    ]:
        here = (here[0] + dx, here[1] + dy)
        view.keys(key, shift=shift,
                  until=lambda: poll(lambda: bench.pointer() == here, timeout=5, what=f"the pointer at {here}"))
        # The view follows the pointer it moved, so the next step starts from there.
        view.wait_capture(layout, here, color)
