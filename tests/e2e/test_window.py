"""The window as the system sees it, and the ways it closes."""
import os

from harness import SC_CLOSE, WM_SYSCOMMAND, poll

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
