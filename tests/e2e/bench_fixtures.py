"""The fixtures that every bench's end-to-end tests share: one resident probe, a scratch working
directory, and a launcher that starts zorvik.exe there and makes sure it is gone afterwards.
Each conftest imports them beside its own `bench` fixture."""
import shutil

import pytest

from harness import poll, scratch_dir


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
    """launch(cwd=None) -> a started Zorvik whose window has appeared."""
    runs = []

    def start(cwd=None, wait=True):
        app = bench.launch(cwd or workdir)
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
