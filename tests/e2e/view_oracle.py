"""The view as it should look, worked out here from the drawing rules alone: the layout numbers, the
enlarged image with grid, subgrid and centre marker, the status lines, and the position-coded screen
pattern it is checked against."""
import os
import sys

from bench import ROOT, poll

ID_GRID_GRAY, ID_GRID_INVERT, ID_GRID_TRANSLUCENT = 102, 103, 104
SCREEN = (0, 0, 1280, 1024)  # the bench's one monitor, also the whole virtual screen
BLACK = (0, 0, 0)
GRID_GRAY = (0x99, 0x99, 0x99)
SUBGRID_BLUE = (0, 0, 255)


class Layout:
    """The numbers the view derives from its client size, line height and zoom."""

    def __init__(self, width, height, line_height, zoom):
        self.width, self.height, self.line_height, self.zoom = width, height, line_height, zoom
        self.image_height = height - 3 * line_height
        self.source_width = -(-width // zoom)
        self.source_height = -(-self.image_height // zoom)
        self.offset_x = (self.source_width - 1) // 2
        self.offset_y = (self.source_height - 1) // 2
        self.gap = 1 if zoom < 3 else 2
        inside = 1 if zoom >= 3 else 0
        self.cell_x = self.offset_x * zoom + inside
        self.cell_y = self.offset_y * zoom + inside

    def block(self, capture):
        """The screen rectangle (l, t, r, b) that the view enlarges around a capture point."""
        left, top = capture[0] - self.offset_x, capture[1] - self.offset_y
        return left, top, left + self.source_width, top + self.source_height


def smallest_height(info, line_height):
    """The least outer height of a window with the frame of info (Probe.window_info): three text
    lines plus 50, or the frame, the lines and a cell of the largest zoom where the frame is tall."""
    frame = info["rect"][3] - info["rect"][1] - info["client"][3]
    return max(3 * line_height + 50, frame + 3 * line_height + 20)


def screen_color(source, area=SCREEN):
    """source(x, y) inside area, black outside it: what the view shows of a screen pixel."""
    def color(x, y):
        if area[0] <= x < area[2] and area[1] <= y < area[3]:
            return tuple(source(x, y))
        return BLACK
    return color


def _inverted(c):
    return tuple(255 - v for v in c)


def expected_image(layout, capture, color, grid=True, style=ID_GRID_GRAY, subgrid=True):
    """The image area (rows of RGB) for a capture point, a colour function of screen pixels and the
    grid settings: the enlargement, then grid or crosshair, subgrid and the centre marker."""
    z, w, h = layout.zoom, layout.width, layout.image_height
    left, top = capture[0] - layout.offset_x, capture[1] - layout.offset_y
    rows = []
    for y in range(h):
        sy = top + y // z
        columns = [color(left + sx, sy) for sx in range((w + z - 1) // z)]
        rows.append([columns[x // z] for x in range(w)])
    if not grid:
        return rows

    def pen(c):
        if style == ID_GRID_GRAY:
            return GRID_GRAY
        if style == ID_GRID_INVERT:
            return _inverted(c)
        return tuple(v & 0xCC for v in c)  # translucent: the pixel AND the pen's 0xCCCCCC

    def vertical(x, y0, y1, paint):
        if 0 <= x < w:
            for y in range(max(y0, 0), min(y1, h)):
                rows[y][x] = paint(rows[y][x])

    def horizontal(y, x0, x1, paint):
        if 0 <= y < h:
            for x in range(max(x0, 0), min(x1, w)):
                rows[y][x] = paint(rows[y][x])

    def blue(_):
        return SUBGRID_BLUE

    cx, cy, g = layout.cell_x, layout.cell_y, layout.gap
    columns_count, rows_count = layout.source_width, layout.source_height
    if z >= 3:
        for i in range(1, columns_count + 1):
            vertical(i * z, 0, h, pen)
        for i in range(1, rows_count + 1):
            horizontal(i * z, 0, w, pen)
        if subgrid:
            s, t = (layout.offset_x % 5) * z, (layout.offset_y % 5) * z
            for j in range(columns_count // 5 + 1):
                vertical(s + 5 * j * z, 0, h, blue)
            for j in range(rows_count // 5 + 1):
                horizontal(t + 5 * j * z, 0, w, blue)
    else:
        paint = blue if subgrid else pen
        vertical(cx, 0, cy - g - 1, paint)
        vertical(cx, cy + z + g + 1, h, paint)
        horizontal(cy, 0, cx - g - 1, paint)
        horizontal(cy, cx + z + g + 1, w, paint)
    # The centre marker: a square outline, each pixel inverted once.
    x0, y0, x1, y1 = cx - g, cy - g, cx + z, cy + z
    for x in range(x0, x1 + 1):
        for y in range(y0, y1 + 1):
            if (x in (x0, x1) or y in (y0, y1)) and 0 <= x < w and 0 <= y < h:
                rows[y][x] = _inverted(rows[y][x])
    return rows


def write_pattern_png(png_dir):
    """The position-coded pattern of tools/test_pattern.py as a screen-sized picture file (made once)."""
    if os.path.join(ROOT, "tools") not in sys.path:
        sys.path.insert(0, os.path.join(ROOT, "tools"))
    import test_pattern
    path = os.path.join(png_dir, "zorvik-pattern.png")
    if not os.path.exists(path):
        test_pattern.make(SCREEN[2], SCREEN[3]).save(path)
    return path


def show_pattern(bench, png_dir):
    """Puts the position-coded pattern on the root window; returns its colour function."""
    path = write_pattern_png(png_dir)
    import test_pattern
    # Two points, so that an older picture that agrees at one of them is not taken for this one.
    bench.set_root_image(path, (1, 1), test_pattern.color_at(1, 1))
    poll(lambda: bench.grab((1000, 900, 1001, 901)).getpixel((0, 0)) == test_pattern.color_at(1000, 900),
         timeout=10, what="the pattern")
    return test_pattern.color_at


def status_lines(rgb, zoom, capture, origin):
    """The three status lines, as the cp932 bytes the window draws."""
    return [
        b"#%02x%02x%02x R=%d G=%d B=%d" % (rgb + rgb),
        b"%d" % zoom + "倍 ".encode("cp932") + b"(X=%d Y=%d)" % capture,
        b"W=%d H=%d (%d,%d) " % ((abs(capture[0] - origin[0]) + 1, abs(capture[1] - origin[1]) + 1) + origin)
        + "[Spc=原点]".encode("cp932"),
    ]


def drawn_text(probe, text):
    """(width, height, rows of RGB) of text drawn in the default GUI font in the window colours."""
    w, h, hexes = probe.ok("text", text.hex()).split()
    w, h = int(w), int(h)
    pixels = [tuple(bytes.fromhex(hexes[i:i + 6])) for i in range(0, len(hexes), 6)]
    return w, h, [pixels[y * w:(y + 1) * w] for y in range(h)]


def expected_status(probe, layout, lines):
    """The status area: window colour, each line drawn at (1, 2 + k * LineHeight), cut at the edge."""
    _, _, blank = drawn_text(probe, b" ")
    background = blank[0][0]
    lh, w = layout.line_height, layout.width
    rows = [[background] * w for _ in range(3 * lh)]
    for k, line in enumerate(lines):
        tw, th, text = drawn_text(probe, line)
        for y in range(th):
            for x in range(tw):
                if 1 + x < w and 2 + k * lh + y < 3 * lh:
                    rows[2 + k * lh + y][1 + x] = text[y][x]
    return rows
