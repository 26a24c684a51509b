#!/usr/bin/env bash
# Measures how long one render takes, on a private bench (virtual display and wineserver), and
# prints the tables as Markdown, with the machine they were measured on.
#
#   tools/bench-render.sh [build folder]     default: build
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

./tools/bench-build.sh "$build" render_bench
# shellcheck disable=SC1090,SC1091
source "$build/runtime.env"
program=$ZORVIK_BENCH_BUILD/tests/benchmarks/render_bench.exe
[ -f "$program" ] || { echo "bench-render: $program was not built" >&2; exit 1; }

bench=$build/render-bench
trap './tools/bench.sh stop '"$bench"' >/dev/null 2>&1 || true' EXIT
./tools/bench.sh start "$bench" "$ZORVIK_BENCH_ARCH" "$ZORVIK_BENCH_PROBE"
if [ "$ZORVIK_BENCH_ARCH" = i686 ]; then wine=/usr/lib/wine/wine; else wine=/usr/lib/wine/wine64; fi

echo "Measured $(date -u '+%Y-%m-%d %H:%M UTC'), $(./tools/bench-build.sh "$build" --describe) under $("$wine" --version)"
echo "Machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)"
echo "Load average before: $(cut -d ' ' -f 1-3 /proc/loadavg)"
echo
./tools/bench.sh run "$bench" "$program"
echo
echo "Load average after: $(cut -d ' ' -f 1-3 /proc/loadavg)"
