#!/usr/bin/python3
"""CPU use of the magnifier under Wine, beside Debian's xzoom as a reference; run by tools/bench-cpu.sh.

    bench_cpu.py <bench dir> <zorvik.exe> <zprobe.exe> [seconds]

For each window size (the default 215x235 and 800x600) and for each pointer script (resting, and
moving one pixel every 70 ms), it reads utime+stime from /proc/<pid>/stat of the Wine process of
zorvik.exe, of the wineserver and of the X server over the same interval, and prints them as a
percentage of one core. xzoom then shows the same screen area at the same zoom with the same
refresh, under the same display and pointer script, where xzoom is installed; otherwise the comparison
is left out, and the run says why (not installed, or no such package in the distribution).
"""
import os
import re
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from bench import Bench, poll, scratch_dir  # noqa: E402
from settings_record import settings_record  # noqa: E402
from test_pattern import color_at, make  # noqa: E402

TICKS = os.sysconf("SC_CLK_TCK")
ZOOM = 6
REST = (1000, 780)          # the pointer, away from both windows
REFRESH_MS = 70


def cpu_seconds(pid):
    """utime + stime of a process (all its threads), in seconds; None when it is gone."""
    try:
        with open(f"/proc/{pid}/stat") as f:
            fields = f.read().rsplit(")", 1)[1].split()
    except OSError:
        return None
    return (int(fields[11]) + int(fields[12])) / TICKS


def pids_by_prefix(prefix, name):
    """Processes started with this WINEPREFIX whose command line contains name."""
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/environ", "rb") as f:
                env = f.read().split(b"\0")
            with open(f"/proc/{entry}/cmdline", "rb") as f:
                cmd = f.read().replace(b"\0", b" ").decode("latin-1")
        except OSError:
            continue
        if f"WINEPREFIX={prefix}".encode() in env and name in cmd:
            found.append(int(entry))
    return found


def x_server_pid(bench):
    return int(bench.env.get("ZORVIK_XSERVER_PID") or bench.env["ZORVIK_XVFB_PID"])


def pointer_script(seconds):
    """xdotool arguments: one-pixel moves every 70 ms, back and forth along a row, for `seconds`."""
    steps = int(seconds * 1000 / REFRESH_MS)
    args = []
    x, dx = REST[0], 1
    for _ in range(steps):
        if not 900 <= x + dx <= 1100:
            dx = -dx
        x += dx
        args += ["mousemove", str(x), str(REST[1]), "sleep", "%.3f" % (REFRESH_MS / 1000)]
    return args


def measure(bench, processes, seconds, moving):
    """{name: % of one core} over `seconds` of resting or moving pointer."""
    bench.move_pointer(*REST)
    start = {name: cpu_seconds(pid) for name, pid in processes.items()}
    began = time.monotonic()
    if moving:
        subprocess.run(["xdotool"] + pointer_script(seconds), env=bench.env, check=True)
    else:
        time.sleep(seconds)
    elapsed = time.monotonic() - began
    end = {name: cpu_seconds(pid) for name, pid in processes.items()}
    return {name: 100.0 * (end[name] - start[name]) / elapsed for name in processes}, elapsed


def line_height(bench, probe, client):
    """Height of "0" in the default GUI font plus 2, as the program measures it; where the probe cannot
    draw text, a third of the status area, read off the screen (window-coloured rows at the bottom of
    the client area's right edge, which the status text does not reach)."""
    reply = probe.ask("text", b"0".hex())
    if reply.startswith("ok"):
        return int(reply.split()[2]) + 2
    x, y, w, h = client
    column = bench.grab((x + w - 2, y, x + w - 1, y + h))
    background = column.getpixel((0, h - 1))
    rows = 0
    while rows < h and column.getpixel((0, h - 1 - rows)) == background:
        rows += 1
    return rows // 3


def source_area(client_w, client_h, lh):
    image_h = client_h - 3 * lh
    return -(-client_w // ZOOM), -(-image_h // ZOOM)


def run_zorvik(bench, probe, size, seconds, results):
    folder = scratch_dir("zorvik-bench-")
    if size is not None:
        with open(os.path.join(folder, "zorvik.dat"), "wb") as f:
            f.write(settings_record(75, 75, size[0], size[1], ZOOM))
    bench.move_pointer(*REST)
    app = bench.launch(folder)
    try:
        app.wait_window(probe)
        probe.ok("send", app.hwnd, 0, 0, 0)
        info = probe.window_info(app.hwnd)
        rect, client = info["rect"], info["client"]
        outer = (rect[2] - rect[0], rect[3] - rect[1])
        pids = pids_by_prefix(bench.env["WINEPREFIX"], "zorvik.exe")
        assert pids == [app.proc.pid], f"expected one Wine process of zorvik.exe, found {pids}"
        processes = {
            "zorvik.exe": app.proc.pid,
            "wineserver": pids_by_prefix(bench.env["WINEPREFIX"], "wineserver")[0],
            "X server": x_server_pid(bench),
        }
        time.sleep(2)  # start-up and its first renders are not part of the figure
        label = f"{outer[0]}x{outer[1]}"
        for moving in (False, True):
            figures, elapsed = measure(bench, processes, seconds, moving)
            results.append(("zorvik.exe", label, moving, figures, elapsed))
            report(results[-1])
        area = source_area(client[2], client[3], line_height(bench, probe, client))
    finally:
        app.close(probe)
        app.kill()
        shutil.rmtree(folder, ignore_errors=True)
    return label, area


def run_xzoom(bench, label, area, seconds, results):
    # The same block around the resting pointer that the magnifier captures.
    left = REST[0] - (area[0] - 1) // 2
    top = REST[1] - (area[1] - 1) // 2
    proc = subprocess.Popen(["xzoom", "-mag", str(ZOOM), "-source", f"{area[0]}x{area[1]}+{left}+{top}",
                             "-delay", str(REFRESH_MS)], env=bench.env, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    try:
        poll(lambda: bench.x("xdotool", "search", "--name", "xzoom", check=False).strip(), timeout=10,
             what="the xzoom window")
        processes = {"xzoom": proc.pid, "X server": x_server_pid(bench)}
        time.sleep(2)
        for moving in (False, True):
            figures, elapsed = measure(bench, processes, seconds, moving)
            results.append(("xzoom", f"{area[0] * ZOOM}x{area[1] * ZOOM} ({label})", moving, figures, elapsed))
            report(results[-1])
    finally:
        proc.terminate()
        proc.wait(timeout=10)


def report(result):
    program, label, moving, figures, elapsed = result
    pointer = "moving" if moving else "resting"
    parts = "  ".join(f"{name} {value:5.2f} %" for name, value in figures.items())
    print(f"{program:10} {label:24} pointer {pointer:8} {elapsed:5.1f} s: {parts}   sum {sum(figures.values()):5.2f} %",
          flush=True)


def xzoom_missing_reason():
    """Why xzoom cannot run here, or None when it can."""
    if shutil.which("xzoom"):
        return None
    try:
        policy = subprocess.run(["apt-cache", "policy", "xzoom"], capture_output=True, text=True).stdout
    except OSError:
        policy = ""
    if re.search(r"Candidate: [^(]", policy):
        return "xzoom is not installed, though the distribution has it (tools/install-deps.sh installs it)"
    system = "this system"
    try:
        with open("/etc/os-release") as release:
            system = re.search(r'^PRETTY_NAME="?([^"\n]*)', release.read(), re.M).group(1)
    except (OSError, AttributeError):
        pass
    return f"{system} has no xzoom package"


def main():
    bench_dir, exe, probe_exe = (os.path.abspath(a) for a in sys.argv[1:4])
    seconds = float(sys.argv[4]) if len(sys.argv) > 4 else 20.0
    bench = Bench(bench_dir, exe, probe_exe)
    folder = scratch_dir("zorvik-bench-")
    pattern = os.path.join(folder, "pattern.png")
    make(1280, 1024).save(pattern)
    bench.set_root_image(pattern, (1000, 900), color_at(1000, 900))
    probe = bench.start_probe()
    results = []
    xzoom_missing = xzoom_missing_reason()
    if xzoom_missing:
        print(f"no comparison with xzoom in this run: {xzoom_missing}", flush=True)
    try:
        idle = {"wineserver": pids_by_prefix(bench.env["WINEPREFIX"], "wineserver")[0],
                "X server": x_server_pid(bench)}
        figures, elapsed = measure(bench, idle, seconds, False)
        results.append(("(nothing)", "bench alone", False, figures, elapsed))
        report(results[-1])
        for size in (None, (800, 600)):
            label, area = run_zorvik(bench, probe, size, seconds, results)
            if not xzoom_missing:
                run_xzoom(bench, label, area, seconds, results)
    finally:
        probe.close()
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()
