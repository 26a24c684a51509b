"""The three status lines under the image: the picked colour, zoom and position, and the size
measured from the origin that Space sets. Expected lines are drawn by the probe in the same font
and colours, so the comparison is pixel for pixel."""
from view_oracle import Layout, drawn_text, status_lines


def test_the_line_height_is_that_of_a_digit_plus_two(view, probe):
    _, digit_height, _ = drawn_text(probe, b"0")
    assert view.line_height() == digit_height + 2


def test_the_status_lines_follow_the_pointer_the_origin_and_the_zoom(view, bench, probe, pattern):
    _, _, w, h = view.client()
    layout = Layout(w, h, view.line_height(), 6)
    # (action, capture point, origin, zoom) after the action
    steps = [
        (lambda: bench.move_pointer(600, 500), (600, 500), (0, 0), 6),
        (lambda: bench.xdotool("key", "space"), (600, 500), (600, 500), 6),
        (lambda: bench.move_pointer(590, 505), (590, 505), (600, 500), 6),
        (lambda: bench.move_pointer(612, 497), (612, 497), (600, 500), 6),
        (lambda: bench.xdotool("key", "Prior"), (612, 497), (600, 500), 8),
        (lambda: bench.xdotool("key", "Prior"), (612, 497), (600, 500), 10),
        (lambda: bench.xdotool("key", "space"), (612, 497), (612, 497), 10),
    ]
    for action, capture, origin, zoom in steps:
        action()
        view.wait_status(layout, status_lines(pattern(*capture), zoom, capture, origin))
