#!/usr/bin/env bash
# The machine a benchmark ran on, for the record beside its figures.
#   tools/bench-machine.sh [bench folder]
set -euo pipefail
echo "date:    $(date -u '+%Y-%m-%d %H:%M UTC')"
echo "cpu:     $(nproc) x $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
echo "load:    $(cut -d' ' -f1-3 /proc/loadavg) (1, 5, 15 min)"
echo "wine:    $(/usr/lib/wine/wine64 --version 2>/dev/null || echo unknown)"
echo "kernel:  $(uname -r)"
if [ -n "${1:-}" ] && [ -f "$1/bench.env" ]; then
  # shellcheck disable=SC1091
  source "$1/bench.env"
  echo "display: ${ZORVIK_BENCH_KIND:-xvfb} $DISPLAY, $(DISPLAY=$DISPLAY xdpyinfo | awk '/dimensions:/ {print $2}'), Wine ${WINELOADER##*/}"
fi
