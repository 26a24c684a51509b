#!/usr/bin/env bash
# CPU use of the running magnifier under Wine (the exe, wineserver and the X server, each as % of one
# core) with the pointer resting and moving one pixel every 70 ms, at the default window size and at
# 800x600, against a floor (a window of its style that only reads the cursor) and xzoom showing the
# same area at the same zoom and refresh, alternating over rounds. On demand, never in ./test.
#
#   tools/bench-cpu.sh [build folder, default build] [seconds per figure, default 10] [rounds, default 3]
#                      [another zorvik.exe of the same runtime, measured beside it in every round]
set -euo pipefail
other=${4:+$(realpath "$4")}
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
seconds=${2:-10}
rounds=${3:-3}
./tools/bench-build.sh "$build" cpu_floor
# shellcheck disable=SC1091
source "$build/runtime.env"
floor=$ZORVIK_BENCH_BUILD/tests/benchmarks/cpu_floor.exe

bench=$build/bench-cpu
trap './tools/bench.sh stop "$bench" >/dev/null 2>&1 || true' EXIT
./tools/bench.sh start "$bench" "$ZORVIK_BENCH_ARCH" "$ZORVIK_BENCH_PROBE" 2>/dev/null
./tools/bench-machine.sh "$bench"
echo "build:   $(./tools/bench-build.sh "$build" --describe)"
/usr/bin/python3 tools/bench_cpu.py "$bench" "$ZORVIK_BENCH_EXE" "$ZORVIK_BENCH_PROBE" "$floor" "$seconds" "$rounds" ${other:+"$other"}
