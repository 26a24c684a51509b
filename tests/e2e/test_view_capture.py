"""The live view: the screen block around the pointer, enlarged cell for cell, and the colour under
the pointer, on a screen whose every pixel's colour is known from its position."""
import pytest

from harness import Layout, screen_color

ZOOM = 6  # the zoom of a first start


def layout_of(view, zoom=ZOOM):
    _, _, w, h = view.client()
    return Layout(w, h, view.line_height(), zoom)


def html(rgb):
    return ("%02x%02x%02x" % rgb).encode()


def test_the_view_follows_the_pointer_pixel_by_pixel(view, bench, pattern):
    layout = layout_of(view)
    color = screen_color(pattern)
    # Far from the window, so the block shows only the pattern; each step is one screen pixel.
    for point in [(600, 500), (601, 500), (601, 501), (598, 503)]:
        assert view.clear_of(layout.block(point))
        bench.move_pointer(*point)
        view.wait_capture(layout, point, color)
        assert view.copied_html() == html(pattern(*point))


@pytest.mark.parametrize("corner", [(0, 0), (1279, 1023)], ids=["top-left", "bottom-right"])
def test_the_part_of_the_block_off_the_screen_is_black(view, bench, pattern, corner):
    layout = layout_of(view)
    bench.move_pointer(*corner)
    view.wait_capture(layout, corner, screen_color(pattern))
    assert view.copied_html() == html(pattern(*corner))


def test_a_resting_pointer_still_sees_the_screen_change(view, bench, pattern):
    layout = layout_of(view)
    point = (700, 600)
    bench.move_pointer(*point)
    view.wait_capture(layout, point, screen_color(pattern))
    # The pointer does not move: only the refresh of a resting view can show the new content.
    green = (20, 200, 40)
    bench.set_root_color(green)
    view.wait_capture(layout, point, screen_color(lambda x, y: green))
    assert bench.pointer() == point
    assert view.copied_html() == html(green)
