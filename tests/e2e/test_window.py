"""The window as the system sees it, the ways it closes, and what it loads."""
import copy
import os
import shutil

from bench import SC_CLOSE, WM_SYSCOMMAND, poll, settle
from zprobe import Probe

# What the window keeps of WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX.
REQUESTED_STYLE = 0x90CE0000
WS_MAXIMIZEBOX = 0x00010000


def test_first_start_opens_the_default_window(launch, probe):
    app = launch()
    info = probe.window_info(app.hwnd)
    assert info["style"] & REQUESTED_STYLE == REQUESTED_STYLE
    assert not info["style"] & WS_MAXIMIZEBOX
    assert info["rect"] == (75, 75, 290, 310)
    assert app.close(probe) == 0


def test_closing_from_the_system_menu_ends_with_exit_code_0(launch, probe, workdir):
    app = launch()
    app.post(probe, WM_SYSCOMMAND, SC_CLOSE, 0)
    assert app.wait_exit() == 0
    # Every way out runs the same teardown, which writes the settings.
    poll(lambda: os.path.exists(os.path.join(workdir, "zorvik.dat")), timeout=5, what="zorvik.dat")
    assert os.path.getsize(os.path.join(workdir, "zorvik.dat")) == 24


def test_a_dll_left_in_the_programs_folder_is_not_loaded(bench, probe, workdir):
    """Wine's user32 loads uxtheme.dll by name into every program that shows a window; told to prefer
    a DLL of that name to its own, it takes one from the program's folder, as Windows takes any DLL
    that is not a system one, unless the program has kept its folder out of the search."""
    folder = os.path.join(workdir, "Downloads")
    os.mkdir(folder)
    runtime = os.path.dirname(os.path.dirname(os.path.dirname(bench.probe_exe)))
    shutil.copy(os.path.join(runtime, "win", "planted.dll"), os.path.join(folder, "uxtheme.dll"))
    loaded = os.path.join(folder, "uxtheme.dll.loaded")
    planted = copy.copy(bench)
    planted.env = dict(bench.env, WINEDLLOVERRIDES=bench.env.get("WINEDLLOVERRIDES", "") + ";uxtheme=n,b")
    planted.probe_exe = shutil.copy(bench.probe_exe, folder)

    # A program that leaves the search as it is takes the DLL once it shows a window.
    other = Probe(planted)
    try:
        other.ok("helper", 0, 0, 20, 20)
        poll(lambda: os.path.exists(loaded), timeout=10, what="the planted DLL in a program without the step")
    finally:
        other.close()
    os.remove(loaded)

    app = planted.launch(workdir, exe=shutil.copy(bench.exe, folder))
    try:
        app.wait_window(probe)
        settle(probe, app.hwnd)
        assert not os.path.exists(loaded)
        assert app.close(probe) == 0
    finally:
        app.kill()
