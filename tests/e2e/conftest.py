"""Fixtures of the end-to-end tests: the bench that ctest started, one resident probe, and a
launcher that starts zorvik.exe in a fresh directory and makes sure it is gone afterwards."""
import os
import shutil
import sys

import pytest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from bench_fixtures import launch, probe, pytest_runtest_makereport, workdir  # noqa: E402,F401
from bench import Bench, scratch_dir  # noqa: E402
from screen_view import View  # noqa: E402
from shell_recorder import ShellRecorder  # noqa: E402
from view_oracle import show_pattern, write_pattern_png  # noqa: E402


@pytest.fixture(scope="session")
def bench():
    bench_dir = os.environ.get("ZORVIK_BENCH_DIR")
    if not bench_dir or not os.path.exists(os.path.join(bench_dir, "bench.env")):
        pytest.fail("no running bench: run these tests through ctest (./test)")
    return Bench(bench_dir, os.environ["ZORVIK_EXE"], os.environ["ZORVIK_PROBE"])


@pytest.fixture
def pattern(bench):
    """The test pattern on the whole screen; its picture file lives beside the bench."""
    return show_pattern(bench, os.path.dirname(bench.dir))


@pytest.fixture
def view(launch, bench, probe, pattern):
    """A started program over the pattern, with the keyboard focus."""
    v = View(bench, probe, launch())
    v.focus()
    return v


@pytest.fixture(scope="session")
def pattern_png(bench):
    """A picture file of the position-coded pattern, for bench.set_root_image."""
    return write_pattern_png(os.path.dirname(bench.dir))


@pytest.fixture(scope="session")
def opened(bench):
    """What the shell opens (.txt files, web addresses), logged instead of started."""
    folder = scratch_dir()
    recorder = ShellRecorder(bench, folder).install()
    yield recorder
    recorder.uninstall()
    shutil.rmtree(folder, ignore_errors=True)
