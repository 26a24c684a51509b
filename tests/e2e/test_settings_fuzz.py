"""Any zorvik.dat, however odd: the program starts, shows its window, closes with exit code 0 and
leaves a sound record behind.

ZORVIK_FUZZ_COUNT sets how many files (150 by default), ZORVIK_FUZZ_SEED the random seed.
"""
import os
import random
import shutil
import struct
import subprocess
import threading

from bench import poll, scratch_dir, settle
from settings_record import RECORD, settings_record
from view_oracle import drawn_text

ZOOM_TABLE = (1, 2, 3, 4, 6, 8, 10, 12, 16, 20)
WORKERS = 3  # runs side by side; each worker starts its own copy of the exe, one run at a time

INT_EDGES = [0, 1, -1, 49, 50, 75, 215, 235, 1023, 1024, 1279, 1280, -1280, 32767, -32768, 65535, 65536,
             2 ** 30, -2 ** 30, 2 ** 31 - 1, -2 ** 31]
ZOOM_EDGES = [0, -1, -128, 127, 1, 2, 3, 4, 5, 6, 7, 8, 10, 12, 16, 20, 21]
STYLE_EDGES = [101, 102, 103, 104, 105, 110, 0, -1, 2 ** 31 - 1, -2 ** 31, 0x01000066, 0x66000000]
BYTE_EDGES = [0, 1, 2, 127, 128, 255]


def pick(rng, edges, low, high):
    return rng.choice(edges) if rng.random() < 0.6 else rng.randint(low, high)


def random_file(rng):
    """Mostly records built from edge values; some plain noise, some short files, some long ones."""
    kind = rng.random()
    if kind < 0.15:
        return bytes(rng.randrange(256) for _ in range(24))
    if kind < 0.2:
        return bytes(rng.randrange(256) for _ in range(rng.randrange(24)))
    geometry = [pick(rng, INT_EDGES, -3000, 3000) for _ in range(4)]
    data = settings_record(*geometry, pick(rng, ZOOM_EDGES, -128, 127), pick(rng, BYTE_EDGES, 0, 255),
                           pick(rng, STYLE_EDGES, -2 ** 31, 2 ** 31 - 1), pick(rng, BYTE_EDGES, 0, 255),
                           pick(rng, BYTE_EDGES, 0, 255))
    if kind < 0.25:
        data += bytes(rng.randrange(256) for _ in range(rng.randint(1, 16)))
    return data


def expected_after(data):
    """(where the window was stored, the last 8 bytes the close must write), from the file."""
    if len(data) < 24:
        return (75, 75), settings_record()[16:]
    left, top, width, height, zoom, grid, style, subgrid, topmost = struct.unpack(RECORD, data[:24])
    tail = settings_record(0, 0, 0, 0, zoom if zoom in ZOOM_TABLE else 6, grid, style if 102 <= style <= 104 else 102,
                           subgrid, 1 if topmost else 0)[16:]
    return (left, top), tail


def can_grab(left, top, info, screen):
    """Whether 32 x 8 pixels of the caption bar, inside the frame, of a window shaped as the one that
    info describes and placed at (left, top) lie on the screen."""
    (x0, y0, x1, _), (client_x, client_y, _, _) = info["rect"], info["client"]
    side = client_x - x0
    band = (left + side, top + side, left + x1 - x0 - side, top + client_y - y0)
    width = min(band[2], screen[2]) - max(band[0], screen[0])
    height = min(band[3], screen[3]) - max(band[1], screen[1])
    return width >= 32 and height >= 8


def run_one(bench, probe, exe, token, folder, data, screen, min_height):
    """Starts, checks and closes one run; returns a list of what went wrong."""
    with open(os.path.join(folder, "zorvik.dat"), "wb") as f:
        f.write(data)
    proc = subprocess.Popen([bench.wine, exe], cwd=folder, env=bench.env, stdin=subprocess.DEVNULL,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        reply = probe.ask("findexe", "TApp_Zorvik", token, 20000)
        if not reply.startswith("ok"):
            return [f"no window (process {'ended with %s' % proc.poll() if proc.poll() is not None else 'alive'})"]
        hwnd = reply[3:]
        settle(probe, hwnd)
        info = probe.window_info(hwnd)
        rect = info["rect"]
        problems = []
        stored, tail = expected_after(data)
        # Where it was stored if its caption can be grabbed there, else somewhere it can.
        if len(data) < 24 or can_grab(*stored, info, screen):
            if rect[:2] != stored:
                problems.append(f"opened at {rect[:2]}, expected {stored}")
        elif not can_grab(*rect[:2], info, screen):
            problems.append(f"opened at {rect[:2]}, its caption out of reach")
        probe.ok("post", hwnd, 0x0010, 0, 0)  # WM_CLOSE
        code = proc.wait(timeout=20)
        if code != 0:
            return problems + [f"exit code {code}"]
        left_behind = sorted(set(os.listdir(folder)) - {"zorvik.dat"})
        if left_behind:
            problems.append(f"left behind {left_behind}")
        saved = open(os.path.join(folder, "zorvik.dat"), "rb").read()
        if len(saved) != 24:
            return problems + [f"saved {len(saved)} bytes"]
        left, top, width, height = struct.unpack("<iiii", saved[:16])
        if (left, top, left + width, top + height) != rect:
            problems.append(f"saved geometry {(left, top, width, height)}, window was {rect}")
        # The system's own minimum width is larger than the program's 50.
        if height < min_height:
            problems.append(f"saved a window lower than its minimum height {min_height}: {width} x {height}")
        if saved[16:] != tail:
            problems.append(f"saved settings {saved[16:].hex()}, expected {tail.hex()}")
        return problems
    finally:
        if proc.poll() is None:
            proc.kill()
            proc.wait()


def test_random_settings_files_never_stop_the_program(bench, probe):
    count = int(os.environ.get("ZORVIK_FUZZ_COUNT", "150"))
    rng = random.Random(int(os.environ.get("ZORVIK_FUZZ_SEED", "24")))
    files = [random_file(rng) for _ in range(count)]
    metrics = dict(item.split("=") for item in probe.ok("metrics").split())
    width, height = (int(v) for v in metrics["primary"].split(","))
    screen = (0, 0, width, height)
    # Three status lines of "0" in the default GUI font plus 2, and 50 for the image and the frame.
    min_height = 3 * (drawn_text(probe, b"0")[1] + 2) + 50

    root = scratch_dir("zorvik-fuzz-")
    failures = []
    lock = threading.Lock()

    def worker(k):
        own_probe = bench.start_probe()
        try:
            home = os.path.join(root, f"w{k}")
            os.mkdir(home)
            exe = os.path.join(home, "zorvik.exe")
            shutil.copy(bench.exe, exe)
            token = f"{os.path.basename(root)}\\w{k}\\".lower()
            for i in range(k, count, WORKERS):
                folder = os.path.join(home, str(i))
                os.mkdir(folder)
                try:
                    problems = run_one(bench, own_probe, exe, token, folder, files[i], screen, min_height)
                except Exception as error:  # noqa: BLE001 - one broken run must not hide the others
                    problems = [f"{type(error).__name__}: {error}"]
                if problems:
                    with lock:
                        failures.append(f"file {i} ({files[i].hex()}): {'; '.join(problems)}")
        finally:
            own_probe.close()

    threads = [threading.Thread(target=worker, args=(k,)) for k in range(WORKERS)]
    try:
        for t in threads:
            t.start()
        for t in threads:
            t.join()
    finally:
        poll(lambda: probe.ask("find", "TApp_Zorvik", "K-VEX", 0).startswith("err"), timeout=10,
             what="every K-VEX window to be gone")
        shutil.rmtree(root, ignore_errors=True)
    assert not failures, f"{len(failures)} of {count} files:\n" + "\n".join(sorted(failures)[:20])
