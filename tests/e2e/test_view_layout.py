"""The layout follows the window's size: the image and status area are laid out anew on every
resize, and a window made lower than its smallest height (three text lines plus 50 pixels, or more
under a tall frame) is raised back to that."""
import pytest

from bench import poll
from screen_view import View
from view_oracle import Layout, screen_color, smallest_height

POINT = (700, 600)


@pytest.fixture
def view(launch, bench, probe, pattern):
    return View(bench, probe, launch())


def test_a_window_lower_than_the_minimum_is_raised_back_in_place(view, probe):
    lh = view.line_height()
    left, top, _, _ = view.rect()
    minimum = smallest_height(probe.window_info(view.app.hwnd), lh)
    # (requested outer size, resulting height). The width is not tried below 50: the system's own
    # smallest tracking width for a sizable window is larger, and it clamps first.
    for (w, h), height in [
        ((300, minimum - 1), minimum),
        ((260, 20), minimum),
        ((240, minimum), minimum),
        ((220, minimum + 1), minimum + 1),
        ((400, 300), 300),
    ]:
        probe.ok("setsize", view.app.hwnd, w, h)
        want = (left, top, left + w, top + height)
        poll(lambda: view.rect() == want, timeout=10, what=f"the window at {want}")


def test_dragging_the_top_edge_past_the_minimum_stops_there_with_the_bottom_edge_kept(view, bench, probe):
    left, top, right, bottom = view.rect()
    minimum = smallest_height(probe.window_info(view.app.hwnd), view.line_height())
    grip = ((left + right) // 2, top + 1)  # the sizing frame above the caption
    with view.left_button(grip) as state:
        assert state["movesize"] == int(view.app.hwnd, 16), "the press did not start the system's sizing"
        bench.move_pointer(grip[0], grip[1] + 200)
        # Wine's sizing loop stops the pointer one pixel short of the minimum.
        stops = [(left, bottom - height, right, bottom) for height in (minimum, minimum + 1)]
        poll(lambda: view.rect() in stops, timeout=10, what=f"the window at one of {stops}")
    assert view.rect() in stops


def test_the_view_is_laid_out_again_for_a_new_size(view, bench, probe, pattern):
    lh = view.line_height()
    color = screen_color(pattern)
    bench.move_pointer(*POINT)
    # Blocks of odd and even size (at zoom 6, 49 x 30, 36 x 22, 31 x 11 screen pixels) put the
    # capture point in the middle column and row, or left of and above the middle.
    for size in [(301, 250), (220, 200), (190, 138)]:
        probe.ok("setsize", view.app.hwnd, *size)
        poll(lambda: view.rect()[2:] == (view.rect()[0] + size[0], view.rect()[1] + size[1]), timeout=10,
             what=f"the window sized {size}")
        _, _, w, h = view.client()
        layout = Layout(w, h, lh, 6)
        assert view.clear_of(layout.block(POINT))
        view.wait_capture(layout, POINT, color)
