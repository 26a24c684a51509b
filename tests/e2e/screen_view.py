"""The K-VEX window of a run as the X screen shows it: its picture, its keys and mouse, and waiting
for the picture that the view oracle expects."""
import contextlib

from bench import Timeout, poll
from view_oracle import Layout, expected_image, expected_status


def view_pixels(bench, probe, hwnd):
    """The client area of hwnd as it is on the screen now."""
    x, y, w, h = probe.window_info(hwnd)["client"]
    return bench.grab((x, y, x + w, y + h))


def view_shows(bench, probe, hwnd, rgb, at_least=9):
    """True when the client area holds a block of the given colour (the enlarged pixel at the capture
    point, on a screen pattern where that colour occurs only once nearby)."""
    return list(view_pixels(bench, probe, hwnd).getdata()).count(tuple(rgb)) >= at_least


class View:
    """The K-VEX window of one run as seen on the X screen."""

    def __init__(self, bench, probe, app):
        self.bench, self.probe, self.app = bench, probe, app

    def client(self):
        return self.probe.window_info(self.app.hwnd)["client"]

    def rect(self):
        return self.probe.window_info(self.app.hwnd)["rect"]

    def clear_of(self, block):
        """True when a screen rectangle lies wholly outside the window."""
        l, t, r, b = self.rect()
        return block[2] <= l or block[0] >= r or block[3] <= t or block[1] >= b

    def line_height(self):
        """From the picture: the status area is the bottom three text lines, and its first two rows
        are all window colour (the text starts two pixels lower). In the image only a single grid
        line can make a row of one colour. The image lies above it: a picture of one colour from
        the top is a window not painted yet, which Wine 10 shows for a moment after it is mapped."""
        def measure():
            img = view_pixels(self.bench, self.probe, self.app.hwnd)
            w, h = img.size
            rows = [set(img.crop((0, y, w, y + 1)).getdata()) for y in range(h)]
            for y in range(h - 1):
                if len(rows[y]) == 1 and rows[y] == rows[y + 1]:
                    return (h - y) // 3 if y > 0 and (h - y) % 3 == 0 else None
            return None
        return poll(measure, timeout=10, what="the status area")

    def layout(self, zoom):
        """The Layout of the window's present client size at a zoom."""
        _, _, w, h = self.client()
        return Layout(w, h, self.line_height(), zoom)

    def focus(self):
        """Keys from xdotool reach the window from now on, wherever the pointer goes."""
        self.bench.xdotool("windowfocus", self.app.x_window())
        self.probe.ok("foreground", self.app.hwnd)

    def gui(self):
        """The window thread's mouse capture and move/size loop: {'capture': hwnd, 'movesize': hwnd}."""
        fields = dict(item.split("=", 1) for item in self.probe.ok("gui", self.app.hwnd).split())
        return {"capture": int(fields["capture"], 16), "movesize": int(fields["movesize"], 16)}

    @contextlib.contextmanager
    def left_button(self, point):
        """Holds the left button down from a screen point; yields the gui() state once the window has
        taken the mouse, and always lets go. The press reads the pointer when it is handled, so
        moving on before that would start the drag from the wrong place."""
        self.bench.move_pointer(*point)
        self.bench.xdotool("mousedown", "1")
        hwnd = int(self.app.hwnd, 16)

        def taken():
            state = self.gui()
            return state if state["capture"] == hwnd else None
        try:
            yield poll(taken, timeout=10, what="the window to capture the mouse")
        finally:
            self.bench.xdotool("mouseup", "1")
        poll(lambda: self.gui()["capture"] == 0, timeout=10, what="the mouse capture to end")

    def keys(self, key, times=1, shift=False, until=None):
        """Presses key (times over); with shift, Shift is held until the condition until() has been
        waited for, since the program samples Shift when it handles the key, not when it was typed."""
        if shift:
            self.bench.xdotool("keydown", "shift")
        try:
            self.bench.xdotool("key", "--delay", "5", *([key] * times))
            if until:
                until()
        finally:
            if shift:
                self.bench.xdotool("keyup", "shift")

    def wait_live_after_keys(self, zoom, point, color):
        """Page Up, then the view of point at the zoom that leads to. The keys typed before were
        handled by then, in their order, and a paused view would not follow the pointer there."""
        self.keys("Prior")
        self.bench.move_pointer(*point)
        self.wait_capture(self.layout(zoom), point, color)

    def mismatches(self, img, rows, top=0, limit=5):
        found = []
        w = len(rows[0])
        got = list(img.crop((0, top, w, top + len(rows))).getdata())
        for i, want in enumerate(p for row in rows for p in row):
            if got[i] != want:
                found.append(((i % w, top + i // w), got[i], want))
                if len(found) >= limit:
                    break
        return found

    def wait_image(self, rows, top=0, timeout=10, what="the expected picture"):
        """Polls until the client area from row top on shows rows exactly; reports the first
        differences if not."""
        last = []

        def matches():
            last[:] = self.mismatches(view_pixels(self.bench, self.probe, self.app.hwnd), rows, top)
            return not last
        try:
            poll(matches, timeout=timeout, what=what)
        except Timeout as e:
            raise Timeout(f"{e}; first differences ((x, y), shown, expected): {last}") from None

    def wait_capture(self, layout, capture, color, timeout=10, **grid):
        self.wait_image(expected_image(layout, capture, color, **grid), timeout=timeout,
                        what=f"the view of {capture} at zoom {layout.zoom}")

    def wait_status(self, layout, lines, timeout=10):
        self.wait_image(expected_status(self.probe, layout, lines), top=layout.image_height, timeout=timeout,
                        what=f"the status lines {lines}")

    def copied_html(self):
        """Presses H and returns the CF_TEXT it copies (the colour at the capture point)."""
        # The sequence number tells a new copy from an old one, whatever the clipboard held.
        before = int(self.probe.ok("clipseq"))
        self.bench.xdotool("key", "h")

        def copied():
            if int(self.probe.ok("clipseq")) == before:
                return None
            try:
                return self.probe.clipboard()[0]
            except AssertionError:  # the program has the clipboard open
                return None
        return poll(copied, timeout=5, what="the copied colour")
