"""Drives the real zorvik.exe on the Wine bench: start it, find its window, give it real keys and
mouse moves through xdotool, read pixels from the X screen, read the clipboard, close it.

Everything waits on conditions with a deadline (poll), never on bare sleeps.
"""
import contextlib
import os
import shlex
import subprocess
import sys
import tempfile
import time

from PIL import ImageGrab

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))

WM_CLOSE = 0x0010
WM_COMMAND = 0x0111
WM_SYSCOMMAND = 0x0112
SC_CLOSE = 0xF060
WS_EX_TOPMOST = 0x00000008


class Timeout(AssertionError):
    pass


# Deadlines are for a native bench; under emulation (Wine under qemu-i386) the bench stretches them.
TIMEOUT_SCALE = max(1.0, float(os.environ.get("ZORVIK_TIMEOUT_SCALE", "1")))


def poll(condition, timeout=10.0, interval=0.02, what="condition"):
    """Calls condition() until it returns something truthy; returns that, or raises Timeout."""
    timeout *= TIMEOUT_SCALE
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise Timeout(f"timed out after {timeout} s waiting for {what() if callable(what) else what}")
        time.sleep(interval)


def read_bench_env(bench_dir):
    env = dict(os.environ)
    with open(os.path.join(bench_dir, "bench.env")) as f:
        for line in f:
            line = line.strip()
            if not line.startswith("export "):
                continue
            for item in shlex.split(line[len("export "):]):
                key, _, value = item.partition("=")
                env[key] = value
    return env


class Bench:
    """The running bench: its environment, the Wine loader, the display."""

    def __init__(self, bench_dir, exe, probe_exe):
        self.dir = bench_dir
        self.env = read_bench_env(bench_dir)
        self.wine = self.env["ZORVIK_WINE"]
        self.display = self.env["DISPLAY"]
        self.exe = exe
        self.probe_exe = probe_exe

    # X side -------------------------------------------------------------------------------

    def x(self, *args, check=True):
        """Runs an X client (xdotool, xsetroot, ...) on the bench display."""
        return subprocess.run(list(args), env=self.env, check=check, capture_output=True, text=True).stdout

    def xdotool(self, *args):
        return self.x("xdotool", *[str(a) for a in args])

    def move_pointer(self, x, y):
        self.xdotool("mousemove", x, y)
        poll(lambda: self.pointer() == (x, y), timeout=5, what=f"pointer at {(x, y)}")

    def pointer(self):
        out = self.xdotool("getmouselocation", "--shell")
        values = dict(line.split("=", 1) for line in out.split())
        return int(values["X"]), int(values["Y"])

    def grab(self, box=None):
        """RGB picture of the X screen, or of box = (left, top, right, bottom)."""
        return ImageGrab.grab(bbox=box, xdisplay=self.display)

    def set_root_color(self, rgb):
        self.x("xsetroot", "-solid", "#%02x%02x%02x" % tuple(rgb))
        poll(lambda: self.grab((0, 0, 1, 1)).getpixel((0, 0)) == tuple(rgb), timeout=5, what="root colour")

    def set_root_image(self, path, probe_point=(0, 0), expected=None):
        """Shows an image on the root window; waits until probe_point has the expected colour."""
        self.x("display", "-window", "root", path, check=False)  # exits 1 even when it worked
        if expected is not None:
            poll(lambda: self.grab((probe_point[0], probe_point[1], probe_point[0] + 1, probe_point[1] + 1))
                 .getpixel((0, 0)) == tuple(expected), timeout=10, what="root image")

    def bells(self):
        return Bells(self.display)

    def clipboard_x(self):
        """The clipboard as the X side sees it (UTF-8), or None."""
        result = subprocess.run(["xclip", "-o", "-selection", "clipboard"], env=self.env, capture_output=True,
                                timeout=5)
        return result.stdout.decode("utf-8") if result.returncode == 0 else None

    # Windows side ---------------------------------------------------------------------------

    def start_probe(self):
        return Probe(self)

    def launch(self, cwd, exe=None, debug=None):
        return Zorvik(self, cwd, exe or self.exe, debug)


class Bells:
    """Counts the X server's bells (XKB bell events) from now on: Wine rings one for MessageBeep."""

    def __init__(self, display):
        from ctypes import CDLL, POINTER, byref, c_int, c_long, c_uint, c_ulong, c_void_p, cast, util
        self._event, self._cast, self._ints = (c_long * 32)(), cast, POINTER(c_int)
        x = self._x = CDLL(util.find_library("X11"))
        x.XOpenDisplay.restype = c_void_p
        self._display = c_void_p(x.XOpenDisplay(display.encode()))
        major, minor, opcode, self._type, error = c_int(1), c_int(0), c_int(), c_int(), c_int()
        assert x.XkbQueryExtension(self._display, byref(opcode), byref(self._type), byref(error), byref(major),
                                   byref(minor)), f"no XKB on {display}"
        x.XkbSelectEvents.argtypes = [c_void_p, c_uint, c_ulong, c_ulong]
        use_core_keyboard, bell_notify = 0x100, 1 << 8
        x.XkbSelectEvents(self._display, use_core_keyboard, bell_notify, bell_notify)
        x.XSync(self._display, 0)
        self._count = 0

    def count(self):
        """The bells rung so far: all that the server had rung when this was called."""
        self._x.XSync(self._display, 0)
        while self._x.XPending(self._display):
            self._x.XNextEvent(self._display, self._event)
            self._count += self._cast(self._event, self._ints)[0] == self._type.value  # only bells are selected
        return self._count

    def close(self):
        self._x.XCloseDisplay(self._display)


class Probe:
    """One resident zprobe.exe answering one line per command."""

    def __init__(self, bench):
        self.proc = subprocess.Popen([bench.wine, bench.probe_exe], env=bench.env, stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True,
                                     encoding="latin-1")

    def ask(self, *words):
        line = " ".join(str(w) for w in words)
        self.proc.stdin.write(line + "\n")
        self.proc.stdin.flush()
        reply = self.proc.stdout.readline().strip()
        if not reply:
            raise AssertionError(f"zprobe gave no answer to {line!r}")
        return reply

    def ok(self, *words):
        reply = self.ask(*words)
        if not reply.startswith("ok"):
            raise AssertionError(f"zprobe {' '.join(map(str, words))}: {reply}")
        return reply[2:].strip()

    def close(self):
        try:
            self.ask("quit")
        except (AssertionError, BrokenPipeError, OSError):
            pass
        try:
            self.proc.wait(timeout=5)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()

    # Convenience wrappers ----------------------------------------------------------------

    def window_info(self, hwnd):
        """{'rect': (l, t, r, b), 'client': (x, y, w, h), 'style': int, 'exstyle': int, 'pid': int, ...}"""
        reply = self.ask("info", hwnd)
        if not reply.startswith("ok"):
            return None
        fields = dict(item.split("=", 1) for item in reply[3:].split())
        return {
            "rect": tuple(int(v) for v in fields["rect"].split(",")),
            "client": tuple(int(v) for v in fields["client"].split(",")),
            "style": int(fields["style"], 16),
            "exstyle": int(fields["exstyle"], 16),
            "pid": int(fields["pid"]),
            "visible": fields["visible"] == "1",
            "iconic": fields["iconic"] == "1",
        }

    def clipboard(self):
        """(bytes or None, owner hwnd as int)"""
        reply = self.ok("clip")
        fields = dict(item.split("=", 1) for item in reply.split() if "=" in item)
        text = bytes.fromhex(fields["text"]) if "text" in fields else None
        return text, int(fields["owner"], 16)

    def owned_windows(self, hwnd):
        """[(class, caption bytes, text bytes)] of visible windows owned by hwnd."""
        reply = self.ok("owned", hwnd)
        result = []
        current = None
        for item in reply.split():
            key, _, value = item.partition("=")
            if key == "hwnd":
                current = {"hwnd": int(value, 16)}
                result.append(current)
            else:
                current[key] = bytes.fromhex(value)
        return result


class Zorvik:
    """One run of the program in its own current directory."""

    def __init__(self, bench, cwd, exe, debug=None):
        """debug: Wine debug channels (WINEDEBUG), whose output goes to debug.log in cwd."""
        self.bench = bench
        self.cwd = cwd
        env, stderr = bench.env, subprocess.DEVNULL
        if debug:
            env = dict(env, WINEDEBUG=debug)
            stderr = open(os.path.join(cwd, "debug.log"), "wb")
        self.proc = subprocess.Popen([bench.wine, exe], cwd=cwd, env=env, stdin=subprocess.DEVNULL,
                                     stdout=subprocess.DEVNULL, stderr=stderr)
        if debug:
            stderr.close()
        self.hwnd = None

    def debug_log(self):
        with open(os.path.join(self.cwd, "debug.log"), encoding="latin-1") as f:
            return f.read()

    def wait_window(self, probe, timeout=20):
        """Finds the window of this run (class TApp_Zorvik, caption K-VEX) once it is shown: it can
        be found while it is still being created, which takes a while under emulation."""
        def found():
            if self.proc.poll() is not None:
                raise AssertionError(f"zorvik.exe ended with {self.proc.returncode} before its window appeared")
            reply = probe.ask("find", "TApp_Zorvik", "K-VEX", 200)
            if not reply.startswith("ok"):
                return None
            info = probe.window_info(reply[3:])
            return reply[3:] if info and info["visible"] else None
        self.hwnd = poll(found, timeout=timeout, what="the K-VEX window")
        return self.hwnd

    def x_window(self):
        """The X window id of the K-VEX window."""
        out = poll(lambda: self.bench.x("xdotool", "search", "--onlyvisible", "--name", "^K-VEX$",
                                        check=False).split(),
                   timeout=10, what="the X window of K-VEX")
        return out[-1]

    def post(self, probe, message, wparam=0, lparam=0):
        probe.ok("post", self.hwnd, message, wparam, lparam)

    def command(self, probe, command_id):
        self.post(probe, WM_COMMAND, command_id, 0)

    def close(self, probe, timeout=20):
        """Closes the window the normal way (WM_CLOSE) and returns the exit code."""
        self.post(probe, WM_CLOSE)
        return self.wait_exit(timeout)

    def wait_exit(self, timeout=20):
        try:
            return self.proc.wait(timeout=timeout * TIMEOUT_SCALE)
        except subprocess.TimeoutExpired:
            raise Timeout(f"zorvik.exe did not end within {timeout} s")

    def kill(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()


def scratch_dir(prefix="zorvik-e2e-"):
    return tempfile.mkdtemp(prefix=prefix)


# Shared by the settings, copy and about tests --------------------------------------------------

def windows_path(path):
    """The path under Wine's Z: drive, which maps the Linux root."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def settle(probe, hwnd):
    """Returns once the window's thread has come back to its message loop (start-up done, and the
    message being handled when this was called is finished)."""
    probe.ok("send", hwnd, 0, 0, 0)  # WM_NULL


def view_pixels(bench, probe, hwnd):
    """The client area of hwnd as it is on the screen now."""
    x, y, w, h = probe.window_info(hwnd)["client"]
    return bench.grab((x, y, x + w, y + h))


def view_shows(bench, probe, hwnd, rgb, at_least=9):
    """True when the client area holds a block of the given colour (the enlarged pixel at the capture
    point, on a screen pattern where that colour occurs only once nearby)."""
    return list(view_pixels(bench, probe, hwnd).getdata()).count(tuple(rgb)) >= at_least


class ShellRecorder:
    """Points the bench prefix's handlers for .txt files and http addresses at zrecord.exe, which logs
    each file or address the shell hands it and exits: nothing visible starts, and a test can read
    what was opened. Undone by uninstall()."""

    KEYS = (r"HKEY_CLASSES_ROOT\.txt", r"HKEY_CLASSES_ROOT\http\shell\open\command")

    def __init__(self, bench, log_dir):
        self.bench = bench
        self.log = os.path.join(log_dir, "opened.log")
        self.recorder = os.path.join(os.path.dirname(bench.probe_exe), "zrecord.exe")
        self.previous = {}

    def _reg(self, *args):
        return subprocess.run([self.bench.wine, "reg", *args], env=self.bench.env, capture_output=True, timeout=60)

    def _default_value(self, key):
        out = self._reg("query", key, "/ve")
        if out.returncode != 0:
            return None
        for line in out.stdout.decode("latin-1").splitlines():
            if "REG_SZ" in line:
                return line.split("REG_SZ", 1)[1].strip()
        return None

    def _import(self, text):
        path = os.path.join(os.path.dirname(self.log), "classes.reg")
        with open(path, "w", encoding="latin-1", newline="\r\n") as f:
            f.write("REGEDIT4\n\n" + text)
        result = self._reg("import", windows_path(path))
        assert result.returncode == 0, result.stderr

    @staticmethod
    def _quoted(value):
        return '"' + value.replace("\\", "\\\\").replace('"', '\\"') + '"'

    def install(self):
        for key in self.KEYS:
            value = self._default_value(key)
            # A run that died before uninstall() leaves our own command behind; never keep that.
            ours = value and ("zrecord" in value or value == "zorvik.record")
            self.previous[key] = None if ours else value
        command = '"%s" "%s" "%%1"' % (windows_path(self.recorder), windows_path(self.log))
        self._import("[HKEY_CLASSES_ROOT\\.txt]\n@=\"zorvik.record\"\n\n"
                     "[HKEY_CLASSES_ROOT\\zorvik.record\\shell\\open\\command]\n@=%s\n\n"
                     "[HKEY_CLASSES_ROOT\\http\\shell\\open\\command]\n@=%s\n" % (self._quoted(command),
                                                                              self._quoted(command)))
        return self

    def uninstall(self):
        txt, http = (self.previous.get(key) for key in self.KEYS)
        text = "[-HKEY_CLASSES_ROOT\\zorvik.record]\n\n"
        text += ("[HKEY_CLASSES_ROOT\\.txt]\n@=%s\n\n" % self._quoted(txt)) if txt else "[-HKEY_CLASSES_ROOT\\.txt]\n\n"
        http = http or '"C:\\windows\\system32\\winebrowser.exe" "%1"'
        text += "[HKEY_CLASSES_ROOT\\http\\shell\\open\\command]\n@=%s\n" % self._quoted(http)
        self._import(text)

    def entries(self):
        """What the shell has opened so far, one entry per start of the recorder."""
        try:
            with open(self.log, encoding="latin-1") as f:
                return [line.rstrip("\n") for line in f]
        except FileNotFoundError:
            return []

    def wait_entries(self, count, timeout=10):
        return poll(lambda: self.entries() if len(self.entries()) >= count else None, timeout=timeout,
                    what=f"{count} program start(s) through the shell")


# The view as it should look: the view, input and layout tests -------------------------------------

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

    def picture(self):
        x, y, w, h = self.client()
        return self.bench.grab((x, y, x + w, y + h))

    def line_height(self):
        """From the picture: the status area is the bottom three text lines, and its first two rows
        are all window colour (the text starts two pixels lower). In the image only a single grid
        line can make a row of one colour. The image lies above it: a picture of one colour from
        the top is a window not painted yet, which Wine 10 shows for a moment after it is mapped."""
        def measure():
            img = self.picture()
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
            last[:] = self.mismatches(self.picture(), rows, top)
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
