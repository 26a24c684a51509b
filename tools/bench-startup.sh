#!/usr/bin/env bash
# Time from starting the magnifier under Wine to its first rendered frame on the screen (median, min,
# max over several starts), and from WM_CLOSE to the end of the process. On demand, never in ./test.
#
#   tools/bench-startup.sh [build folder, default build] [starts, default 10]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
starts=${2:-10}
./tools/bench-build.sh "$build"
# shellcheck disable=SC1091
source "$build/runtime.env"

bench=$build/bench-startup
trap './tools/bench.sh stop "$bench" >/dev/null 2>&1 || true' EXIT
./tools/bench.sh start "$bench" "$ZORVIK_BENCH_ARCH" "$ZORVIK_BENCH_PROBE" 2>/dev/null
./tools/bench-machine.sh "$bench"
echo "build:   $(./tools/bench-build.sh "$build" --describe)"
/usr/bin/python3 tools/bench_startup.py "$bench" "$ZORVIK_BENCH_EXE" "$ZORVIK_BENCH_PROBE" "$starts"
