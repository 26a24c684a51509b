"""The mouse while live: one wheel click is one zoom step, and a left drag anywhere in the window
moves the window."""
from bench import poll
from view_oracle import Layout, screen_color

POINT = (600, 500)


def test_each_wheel_click_over_the_window_is_one_zoom_step(view, bench, pattern):
    x, y, w, h = view.client()
    lh = view.line_height()
    color = screen_color(pattern)
    over_window = (x + w // 2, y + h // 2)
    # (button, clicks, zoom afterwards); 4 turns the wheel away from the user.
    steps = [(4, 1, 8), (5, 2, 4), (5, 3, 1), (5, 1, 1), (4, 2, 3)]
    for i, (button, clicks, zoom) in enumerate(steps):
        bench.move_pointer(*over_window)
        for _ in range(clicks):
            bench.xdotool("click", button)
        # Only away from the window does the picture show the pattern, and only a render after
        # the clicks can show it at a point not shown before.
        point = (POINT[0] + i, POINT[1])
        bench.move_pointer(*point)
        view.wait_capture(Layout(w, h, lh, zoom), point, color)


def test_a_left_drag_in_the_live_image_moves_the_window(view, bench):
    x, y, _, _ = view.client()
    rect = view.rect()
    grip = (x + 60, y + 40)  # in the image area
    with view.left_button(grip) as state:
        assert state["movesize"] == int(view.app.hwnd, 16), "the press started no window move"
        for dx, dy in [(40, 0), (40, 30), (-25, 55)]:
            bench.move_pointer(grip[0] + dx, grip[1] + dy)
            moved = (rect[0] + dx, rect[1] + dy, rect[2] + dx, rect[3] + dy)
            poll(lambda: view.rect() == moved, timeout=10, what=f"the window at {moved}")
    assert view.rect() == moved
