"""The Wine bench and the program on it: the bench's environment, X clients on its display (pointer,
screen grabs, root window), runs of zorvik.exe, and waiting on conditions with a deadline (poll),
never on bare sleeps."""
import os
import shlex
import subprocess
import tempfile
import time

from PIL import ImageGrab

from bells import Bells
from zprobe import Probe

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



def windows_path(path):
    """The path under Wine's Z: drive, which maps the Linux root."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def settle(probe, hwnd):
    """Returns once the window's thread has come back to its message loop (start-up done, and the
    message being handled when this was called is finished)."""
    probe.ok("send", hwnd, 0, 0, 0)  # WM_NULL



def started(launch, probe, cwd=None):
    """A run whose start-up (and so its first layout, which may resize the window) is done."""
    app = launch(cwd)
    settle(probe, app.hwnd)
    return app
