#!/usr/bin/env bash
# Runs the built magnifier under Wine. With $DISPLAY: on that display until it is closed.
# Without: on a private virtual display over a test pattern for about 5 s, with the pointer
# moving over the pattern, then a screenshot to build/screenshot.png, the window's rectangle
# (left top right bottom, for tools/window_picture.py) to build/screenshot-window.txt and a
# normal close.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck disable=SC1091
source build/runtime.env
case $ZORVIK_RUNTIME_ARCH in
i686) echo "run: $ZORVIK_RUNTIME_EXE (32-bit) with 32-bit Wine, natively" >&2 ;;
i686-qemu) echo "run: $ZORVIK_RUNTIME_EXE (32-bit) with 32-bit Wine under qemu-i386 emulation" >&2 ;;
*) echo "run: $ZORVIK_RUNTIME_EXE, the 64-bit twin, with 64-bit Wine (ZORVIK_TEST_ARCH=$ZORVIK_RUNTIME_ARCH)" >&2 ;;
esac
mkdir -p build/run   # zorvik.dat, the settings, lives in the current directory

if [ -n "${DISPLAY:-}" ]; then
  wine=(/usr/lib/wine/wine)
  case $ZORVIK_RUNTIME_ARCH in
  i686-qemu) wine=("$PWD/tools/i386-emulation.sh" /usr/lib/wine/wine) ;;
  x86_64) wine=(/usr/lib/wine/wine64) ;;
  esac
  if [ "$ZORVIK_RUNTIME_ARCH" = x86_64 ]; then export WINEARCH=win64; else export WINEARCH=win32; fi
  export WINEPREFIX=${WINEPREFIX:-$PWD/build/run-prefix-$WINEARCH}
  export WINELOADER=${wine[-1]} WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
  export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
  tools/bench.sh fonts "$WINEPREFIX"  # the caption buttons' Marlett
  # Wine hands a Japanese input method the keys through XIM before the program sees a press: for
  # this program alone, every key arrives as a plain press and release.
  "${wine[@]}" reg add 'HKCU\Software\Wine\AppDefaults\zorvik.exe\X11 Driver' /v UseXIM /d N /f \
    >/dev/null 2>&1 || true
  cd build/run
  exec "${wine[@]}" "$ZORVIK_RUNTIME_EXE"
fi

bench=build/run-bench
rm -f build/screenshot-window.txt  # only ever beside the screenshot it was taken with
trap './tools/bench.sh stop '"$bench"' >/dev/null 2>&1 || true' EXIT
./tools/bench.sh start "$bench" "$ZORVIK_RUNTIME_ARCH" "$ZORVIK_PROBE"
# shellcheck disable=SC1091
source "$bench/bench.env"
/usr/bin/python3 tools/test_pattern.py "$bench/pattern.png"
display -window root "$bench/pattern.png" || true  # exits 1 even when it has set the root

(cd build/run && exec "$ZORVIK_WINE" "$ZORVIK_RUNTIME_EXE") &
app=$!
probe() { printf '%s\n' "$@" quit | "$ZORVIK_WINE" "$ZORVIK_PROBE" 2>/dev/null; }
window=$(probe "find TApp_Zorvik K-VEX 20000" | sed -n 1p)  # head would leave the probe to SIGPIPE
case $window in ok*) window=${window#ok } ;; *) echo "run: the window did not appear" >&2; exit 1 ;; esac

# About 5 s over the pattern: the view follows the pointer on every 70 ms tick.
for i in $(seq 0 49); do
  xdotool mousemove $((500 + i * 4)) $((420 + i * 2))
  sleep 0.1
done
import -window root build/screenshot.png
# Its rectangle (for tools/window_picture.py), then WM_CLOSE, the normal way out with the settings
# saved: one probe for both, since each start of it is slow.
replies=$(probe "info $window" "post $window 0x10 0 0")
rect=$(sed -n 's/^ok rect=\([-0-9]*\),\([-0-9]*\),\([-0-9]*\),\([-0-9]*\) .*/\1 \2 \3 \4/p' <<<"$replies")
if [ -n "$rect" ]; then echo "$rect" >build/screenshot-window.txt; else echo "run: no window rectangle" >&2; fi
wait "$app" && status=0 || status=$?
echo "run: screenshot in build/screenshot.png, exit code $status"
exit "$status"
