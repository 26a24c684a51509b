"""Fixtures of the tests on two monitors (the Xorg bench that ctest started with start-multi): the
same bench and fixtures as the one-monitor end-to-end tests, plus the map from Windows to X coordinates."""
import os
import sys

import pytest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), "e2e"))

from bench_fixtures import launch, probe, pytest_runtest_makereport, workdir  # noqa: E402,F401
from bench import Bench, read_bench_env  # noqa: E402

# The layout that tools/bench.sh start-multi sets up: an 800x600 monitor left of the 1280x960 primary.
VIRTUAL_SCREEN = (-800, 0, 2080, 960)


@pytest.fixture(scope="session")
def bench():
    bench_dir = os.environ.get("ZORVIK_BENCH_DIR")
    if not bench_dir or not os.path.exists(os.path.join(bench_dir, "bench.env")):
        pytest.fail("no running bench: run these tests through ctest (./test)")
    skip = read_bench_env(bench_dir).get("ZORVIK_BENCH_SKIP")
    if skip:
        pytest.skip(skip)
    return Bench(bench_dir, os.environ["ZORVIK_EXE"], os.environ["ZORVIK_PROBE"])


@pytest.fixture(scope="session")
def screen(probe):
    """The virtual screen as Windows sees it; X puts its top-left corner at X's (0, 0)."""
    reply = probe.ok("metrics")
    fields = dict(item.split("=", 1) for item in reply.split())
    virtual = tuple(int(v) for v in fields["virtual"].split(","))
    assert virtual == VIRTUAL_SCREEN, f"the bench does not have the two monitors: {reply}"
    return virtual
