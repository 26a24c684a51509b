"""Drives the real zorvik.exe on the Wine bench: start it, find its window, give it real keys and
mouse moves through xdotool, read pixels from the X screen, read the clipboard, close it.

Everything waits on conditions with a deadline (poll), never on bare sleeps.
"""
import os
import shlex
import subprocess
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


def poll(condition, timeout=10.0, interval=0.02, what="condition"):
    """Calls condition() until it returns something truthy; returns that, or raises Timeout."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise Timeout(f"timed out after {timeout} s waiting for {what}")
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

    def clipboard_x(self):
        """The clipboard as the X side sees it (UTF-8), or None."""
        result = subprocess.run(["xclip", "-o", "-selection", "clipboard"], env=self.env, capture_output=True,
                                timeout=5)
        return result.stdout.decode("utf-8") if result.returncode == 0 else None

    # Windows side ---------------------------------------------------------------------------

    def start_probe(self):
        return Probe(self)

    def launch(self, cwd, exe=None):
        return Zorvik(self, cwd, exe or self.exe)


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

    def __init__(self, bench, cwd, exe):
        self.bench = bench
        self.cwd = cwd
        self.proc = subprocess.Popen([bench.wine, exe], cwd=cwd, env=bench.env, stdin=subprocess.DEVNULL,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.hwnd = None

    def wait_window(self, probe, timeout=20):
        """Finds the window of this run (class TApp_Zorvik, caption K-VEX)."""
        def found():
            if self.proc.poll() is not None:
                raise AssertionError(f"zorvik.exe ended with {self.proc.returncode} before its window appeared")
            reply = probe.ask("find", "TApp_Zorvik", "K-VEX", 200)
            return reply[3:] if reply.startswith("ok") else None
        self.hwnd = poll(found, timeout=timeout, what="the K-VEX window")
        return self.hwnd

    def x_window(self):
        """The X window id of the K-VEX window."""
        out = poll(lambda: self.bench.x("xdotool", "search", "--name", "^K-VEX$", check=False).split(),
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
            return self.proc.wait(timeout=timeout)
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
