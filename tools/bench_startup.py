#!/usr/bin/python3
"""Time from starting zorvik.exe to its first rendered frame on the screen; run by tools/bench-startup.sh.

    bench_startup.py <bench dir> <zorvik.exe> <zprobe.exe> [starts]

Beside it, for scale, the time a Wine console program (the test probe) takes to give its first
answer: the part of every start that is Wine's own. The screen is one solid colour and the pointer rests away from the window. A frame counts as shown
when, inside the window's client area, an image pixel has the screen's colour, a grid-line pixel the
grid's gray and a status-area pixel the window colour: the window's own first picture, which neither
the bare screen nor an unpainted window can show. The wineserver keeps running between starts, as it
does on a desktop where another Wine program is open.
"""
import os
import shutil
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))

from bench import Bench, poll, scratch_dir  # noqa: E402

SCREEN = (0xFF, 0x80, 0x00)
GRID_GRAY = (0x99, 0x99, 0x99)
REST = (1000, 780)


def find_client(bench, probe, exe):
    """The default window's client area (x, y, w, h) and its status colour, from one start."""
    folder = scratch_dir("zorvik-bench-")
    app = bench.launch(folder, exe)
    try:
        app.wait_window(probe)
        probe.ok("send", app.hwnd, 0, 0, 0)
        client = probe.window_info(app.hwnd)["client"]
        x, y, w, h = client
        status = poll(lambda: bench.grab((x + w - 2, y + h - 2, x + w - 1, y + h - 1)).getpixel((0, 0)),
                      timeout=10, what="the status area")
        assert app.close(probe) == 0
    finally:
        app.kill()
        shutil.rmtree(folder, ignore_errors=True)
    return client, status


def first_frame(client, status):
    """A function that is true once the client area shows the program's own first picture."""
    x, y, w, h = client
    box = (x, y, x + w, y + h)
    # Zoom 6 with the grid: view column 2 is inside a cell, column 6 the first grid line.
    checks = [((2, 2), SCREEN), ((6, 2), GRID_GRAY), ((w - 2, h - 2), status)]

    def shown(bench):
        picture = bench.grab(box)
        return all(picture.getpixel(at) == colour for at, colour in checks)
    return shown


def wine_baseline(bench, probe_exe):
    """Seconds from starting the probe, a console program, to its first answer: what any Wine
    program pays before its own code runs."""
    began = time.monotonic()
    proc = subprocess.Popen([bench.wine, probe_exe], env=bench.env, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                            stderr=subprocess.DEVNULL, text=True)
    proc.stdin.write("acp\n")
    proc.stdin.flush()
    proc.stdout.readline()
    elapsed = time.monotonic() - began
    proc.stdin.write("quit\n")
    proc.stdin.flush()
    proc.wait(timeout=30)
    return elapsed


def gone(probe):
    return probe.ask("find", "TApp_Zorvik", "K-VEX", 0).startswith("err")


def main():
    bench_dir, exe, probe_exe = (os.path.abspath(a) for a in sys.argv[1:4])
    starts = int(sys.argv[4]) if len(sys.argv) > 4 else 10
    bench = Bench(bench_dir, exe, probe_exe)
    bench.set_root_color(SCREEN)
    bench.move_pointer(*REST)
    probe = bench.start_probe()
    try:
        client, status = find_client(bench, probe, exe)
        poll(lambda: gone(probe), timeout=10, what="the window to be gone")
        shown = first_frame(client, status)
        assert not shown(bench), "the bare screen already looks like a frame"
        frames, exits, baseline = [], [], []
        for i in range(starts):
            folder = scratch_dir("zorvik-bench-")
            began = time.monotonic()
            proc = subprocess.Popen([bench.wine, exe], cwd=folder, env=bench.env, stdin=subprocess.DEVNULL,
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            poll(lambda: shown(bench), timeout=30, interval=0.005, what="the first frame")
            frames.append(time.monotonic() - began)
            hwnd = probe.ok("find", "TApp_Zorvik", "K-VEX", 5000)
            closing = time.monotonic()
            probe.ok("post", hwnd, 0x0010, 0, 0)  # WM_CLOSE
            code = proc.wait(timeout=30)
            exits.append(time.monotonic() - closing)
            assert code == 0, f"exit code {code}"
            poll(lambda: gone(probe), timeout=10, what="the window to be gone")
            poll(lambda: not shown(bench), timeout=10, what="the screen without the window")
            shutil.rmtree(folder, ignore_errors=True)
            baseline.append(wine_baseline(bench, probe_exe))
            print(f"start {i + 1:2}: first frame after {frames[-1] * 1000:6.0f} ms, "
                  f"closed {exits[-1] * 1000:5.0f} ms after WM_CLOSE; "
                  f"a Wine console program answers after {baseline[-1] * 1000:5.0f} ms", flush=True)
    finally:
        probe.close()

    def summary(name, values):
        ms = [v * 1000 for v in values]
        print(f"{name}: median {statistics.median(ms):.0f} ms, min {min(ms):.0f} ms, max {max(ms):.0f} ms "
              f"over {len(ms)} starts")
    summary("process start to first frame", frames)
    summary("WM_CLOSE to process exit", exits)
    summary("Wine alone (console program to first answer)", baseline)


if __name__ == "__main__":
    main()
