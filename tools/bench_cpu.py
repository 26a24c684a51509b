#!/usr/bin/python3
"""CPU use of the magnifier under Wine, held against a floor and Debian's xzoom measured in the same
run; run by tools/bench-cpu.sh.

    bench_cpu.py <bench dir> <zorvik.exe> <zprobe.exe> <cpu_floor.exe> [seconds] [rounds] [other zorvik.exe]

The floor (cpu_floor.exe) is a window of the magnifier's style whose 70 ms timer reads the cursor
and draws nothing: the least this design can cost. Each round starts, in turn, the floor, the
magnifier at the default size (215x235) and at 800x600 (stored in zorvik.dat), zoom 6, and xzoom
showing the same area as each at the same zoom and refresh where xzoom is installed; each is
measured with the pointer resting and then moving one pixel every 70 ms. CPU time is read from the
scheduler (the first field of /proc/PID/task/*/schedstat, in nanoseconds; /proc/PID/stat's 10 ms
ticks are too coarse at 0.3 % of a core) for the program's own process, the wineserver and the X
server. The summary gives each figure's median over the rounds and its ratio to the floor's in the
same round (median of the rounds' ratios), since one machine drifts from minute to minute. Another
build of the magnifier, given last, is measured beside it in every round (before and after a change).
"""
import os
import re
import shutil
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from bench import Bench, Zorvik, poll, scratch_dir  # noqa: E402
from screen_view import View  # noqa: E402
from settings_record import settings_record  # noqa: E402
from test_pattern import color_at, make  # noqa: E402

ZOOM = 6
REST = (1000, 780)          # the pointer, away from every window
REFRESH_MS = 70
SETTLE_S = 2                # start-up and its first renders are not part of a figure
WM_CLOSE = 0x0010


def cpu_seconds(pid):
    """CPU time of a process, all its threads, from the scheduler; None when it is gone."""
    try:
        tids = os.listdir(f"/proc/{pid}/task")
    except OSError:
        return None
    total = 0
    for tid in tids:
        try:
            with open(f"/proc/{pid}/task/{tid}/schedstat") as f:
                total += int(f.read().split()[0])
        except OSError:
            pass  # a thread that ended in between
    return total / 1e9


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


def wine_processes(bench, proc, image):
    """The program's own Wine process, the wineserver and the X server."""
    pids = pids_by_prefix(bench.env["WINEPREFIX"], image)
    assert pids == [proc.pid], f"expected one Wine process of {image}, found {pids}"
    return {image: proc.pid, "wineserver": pids_by_prefix(bench.env["WINEPREFIX"], "wineserver")[0],
            "X server": x_server_pid(bench)}


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


class Run:
    """One program measured in every round: its figures by pointer script, a list per round."""

    def __init__(self, program, label):
        self.program, self.label = program, label
        self.figures = {False: [], True: []}


def measure_both(bench, processes, seconds, run):
    time.sleep(SETTLE_S)
    for moving in (False, True):
        figures, elapsed = measure(bench, processes, seconds, moving)
        run.figures[moving].append(figures)
        report(run.program, run.label, moving, figures, elapsed)


def run_floor(bench, probe, floor_exe, seconds, run):
    folder = scratch_dir("zorvik-bench-")
    bench.move_pointer(*REST)
    app = Zorvik(bench, folder, floor_exe)
    try:
        reply = poll(lambda: (lambda r: r if r.startswith("ok") else None)(
            probe.ask("find", "ZorvikCpuFloor", "*", 200)), timeout=20, what="the floor's window")
        app.hwnd = reply[3:]
        measure_both(bench, wine_processes(bench, app.proc, "cpu_floor.exe"), seconds, run)
        app.post(probe, WM_CLOSE)
        app.wait_exit()
    finally:
        app.kill()
        shutil.rmtree(folder, ignore_errors=True)


def run_zorvik(bench, probe, exe, size, seconds, run):
    """Measures the magnifier; returns its Layout, whose block xzoom is given."""
    folder = scratch_dir("zorvik-bench-")
    if size is not None:
        with open(os.path.join(folder, "zorvik.dat"), "wb") as f:
            f.write(settings_record(75, 75, size[0], size[1], ZOOM))
    bench.move_pointer(*REST)
    app = bench.launch(folder, exe)
    try:
        app.wait_window(probe)
        probe.ok("send", app.hwnd, 0, 0, 0)
        rect = probe.window_info(app.hwnd)["rect"]
        run.label = f"{rect[2] - rect[0]}x{rect[3] - rect[1]}"
        measure_both(bench, wine_processes(bench, app.proc, os.path.basename(exe)), seconds, run)
        layout = View(bench, probe, app).layout(ZOOM)
    finally:
        app.close(probe)
        app.kill()
        shutil.rmtree(folder, ignore_errors=True)
    return layout


def run_xzoom(bench, layout, seconds, run):
    # The same block around the resting pointer that the magnifier captures.
    left, top, right, bottom = layout.block(REST)
    proc = subprocess.Popen(["xzoom", "-mag", str(ZOOM), "-source", f"{right - left}x{bottom - top}+{left}+{top}",
                             "-delay", str(REFRESH_MS)], env=bench.env, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    try:
        poll(lambda: bench.x("xdotool", "search", "--name", "xzoom", check=False).strip(), timeout=10,
             what="the xzoom window")
        measure_both(bench, {"xzoom": proc.pid, "X server": x_server_pid(bench)}, seconds, run)
    finally:
        proc.terminate()
        proc.wait(timeout=10)


def report(program, label, moving, figures, elapsed):
    pointer = "moving" if moving else "resting"
    parts = "  ".join(f"{name} {value:5.2f} %" for name, value in figures.items())
    print(f"{program:17} {label:24} pointer {pointer:8} {elapsed:5.1f} s: {parts}   sum {sum(figures.values()):5.2f} %",
          flush=True)


def summary(runs, floor):
    """Medians over the rounds; ratios to the floor of the same round."""
    rounds = len(floor.figures[False])
    print(f"\nmedians of {rounds} rounds, % of one core; x floor: the median of each round's ratio to the floor")
    print(f"{'program':17} {'window':24} {'pointer':8} {'own':>7} {'x floor':>8}   {'with server':>11} {'x floor':>8}")
    for run in runs:
        for moving in (False, True):
            rows = run.figures[moving]
            own = [next(iter(r.values())) for r in rows]
            total = [sum(r.values()) for r in rows]
            base = floor.figures[moving]
            own_ratio = [o / next(iter(b.values())) for o, b in zip(own, base)]
            total_ratio = [t / sum(b.values()) for t, b in zip(total, base)]
            pointer = "moving" if moving else "resting"
            print(f"{run.program:17} {run.label:24} {pointer:8} {statistics.median(own):6.2f}% "
                  f"{statistics.median(own_ratio):7.2f}x   {statistics.median(total):10.2f}% "
                  f"{statistics.median(total_ratio):7.2f}x")
    print("with server: with the wineserver and the X server (xzoom: the X server)")


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
    bench_dir, exe, probe_exe, floor_exe = (os.path.abspath(a) for a in sys.argv[1:5])
    seconds = float(sys.argv[5]) if len(sys.argv) > 5 else 10.0
    rounds = int(sys.argv[6]) if len(sys.argv) > 6 else 3
    other = os.path.abspath(sys.argv[7]) if len(sys.argv) > 7 else None
    bench = Bench(bench_dir, exe, probe_exe)
    folder = scratch_dir("zorvik-bench-")
    pattern = os.path.join(folder, "pattern.png")
    make(1280, 1024).save(pattern)
    bench.set_root_image(pattern, (1000, 900), color_at(1000, 900))
    probe = bench.start_probe()
    xzoom_missing = xzoom_missing_reason()
    if xzoom_missing:
        print(f"no comparison with xzoom in this run: {xzoom_missing}", flush=True)
    try:
        idle = {"wineserver": pids_by_prefix(bench.env["WINEPREFIX"], "wineserver")[0],
                "X server": x_server_pid(bench)}
        figures, elapsed = measure(bench, idle, seconds, False)
        report("(nothing)", "bench alone", False, figures, elapsed)
        floor = Run("floor", "215x235")
        builds = [(exe, "zorvik.exe")] + ([(other, os.path.basename(other))] if other else [])
        sizes = [(None, [Run(name, "") for _, name in builds], Run("xzoom", "")),
                 ((800, 600), [Run(name, "") for _, name in builds], Run("xzoom", ""))]
        for _ in range(rounds):
            run_floor(bench, probe, floor_exe, seconds, floor)
            for size, magnifiers, xzoom in sizes:
                for (path, _), run in zip(builds, magnifiers):
                    layout = run_zorvik(bench, probe, path, size, seconds, run)
                if not xzoom_missing:
                    xzoom.label = f"{layout.source_width * ZOOM}x{layout.source_height * ZOOM} ({run.label})"
                    run_xzoom(bench, layout, seconds, xzoom)
        runs = [floor] + [r for _, m, x in sizes for r in m + ([] if xzoom_missing else [x])]
        summary(runs, floor)
    finally:
        probe.close()
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()
