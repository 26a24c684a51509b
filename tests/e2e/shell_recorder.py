"""The bench prefix's shell, recorded: what the program opens (.txt files, web addresses) is logged
instead of started."""
import os
import subprocess

from bench import poll, windows_path


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
