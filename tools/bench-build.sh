#!/usr/bin/env bash
# Brings the build that the benchmarks measure up to date: the fastest real runtime of this
# machine, as build/runtime.env names it. That is the 32-bit program where the kernel runs 32-bit
# Wine natively, else its 64-bit twin under 64-bit Wine (built here on first use): CPU and render
# times under emulation would mean nothing.
#
#   tools/bench-build.sh <build folder> [extra target...]   build zorvik, zprobe and the targets
#   tools/bench-build.sh <build folder> --describe          say which build and runtime that is
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?build folder}
shift

if [ ! -f "$build/runtime.env" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
# shellcheck disable=SC1090,SC1091
source "$build/runtime.env"

if [ "${1:-}" = --describe ]; then
  if [ "$ZORVIK_BENCH_ARCH" = i686 ]; then
    echo "the 32-bit zorvik.exe under 32-bit Wine, natively"
  else
    echo "the 64-bit twin of zorvik.exe under 64-bit Wine (this kernel runs 32-bit Wine only emulated)"
  fi
  exit 0
fi

for sub in "$ZORVIK_BENCH_BUILD" "$ZORVIK_BENCH_TESTS_BUILD"; do
  if [ ! -f "$sub/CMakeCache.txt" ]; then
    cmake --build "$build" --target "${sub##*/}" --parallel 2 >/dev/null
  fi
done
# Only what the measurement needs, so that a broken test elsewhere does not stop it: the program
# and the extra targets from the program's build, zprobe from that of the test programs.
# The program first: its build brings the makefiles up to date, so that a new extra target is known.
cmake --build "$ZORVIK_BENCH_BUILD" --target zorvik --parallel 2 >/dev/null
if [ $# -gt 0 ]; then cmake --build "$ZORVIK_BENCH_BUILD" --target "$@" --parallel 2 >/dev/null; fi
cmake --build "$ZORVIK_BENCH_TESTS_BUILD" --target zprobe --parallel 2 >/dev/null
