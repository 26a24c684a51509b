"""The fixtures that every bench's end-to-end tests share: one resident probe, a scratch working
directory, and a launcher that starts zorvik.exe there and makes sure it is gone afterwards.
Each conftest imports them beside its own `bench` fixture."""
import os
import re
import shutil

import pytest

from bench import poll, scratch_dir


@pytest.fixture(scope="session")
def probe(bench):
    p = bench.start_probe()
    assert p.ok("acp") == "932"
    yield p
    p.close()


@pytest.fixture
def workdir():
    path = scratch_dir()
    yield path
    shutil.rmtree(path, ignore_errors=True)


@pytest.fixture
def launch(bench, probe, workdir):
    """launch(cwd=None) -> a started Zorvik whose window has appeared; exe and debug as Bench.launch."""
    runs = []

    def start(cwd=None, wait=True, exe=None, debug=None):
        app = bench.launch(cwd or workdir, exe, debug)
        runs.append(app)
        if wait:
            app.wait_window(probe)
        return app

    yield start
    for app in runs:
        app.kill()
    # No window of this test may linger into the next one.
    poll(lambda: probe.ask("find", "TApp_Zorvik", "K-VEX", 0).startswith("err"), timeout=10,
         what="the K-VEX window to be gone")


@pytest.hookimpl(hookwrapper=True)
def pytest_runtest_makereport(item, call):
    """A failed test leaves a picture of the screen beside the bench: what the view and its status
    line showed is often the whole story."""
    outcome = yield
    report = outcome.get_result()
    bench = item.funcargs.get("bench") if hasattr(item, "funcargs") else None
    if report.when not in ("setup", "call") or not report.failed or bench is None:
        return
    folder = os.path.join(os.path.dirname(bench.dir), "e2e-failures")
    os.makedirs(folder, exist_ok=True)
    path = os.path.join(folder, re.sub(r"[^A-Za-z0-9_.-]+", "_", item.nodeid) + ".png")
    try:
        bench.grab().save(path)
    except Exception as e:  # a dead display must not hide the failure itself
        path = f"none ({e})"
    report.sections.append(("screen", f"screen at the failure: {path}"))
