"""zprobe.exe, a resident Wine console program that answers questions about windows, the clipboard
and text drawing, one line per command."""
import subprocess


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
