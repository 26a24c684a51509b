#!/usr/bin/env bash
# The Wine test bench: one virtual X display and one persistent wineserver with a private prefix.
#
#   bench.sh start <dir> <i686|x86_64> <zprobe.exe>   start it, write <dir>/bench.env
#   bench.sh run <dir> <command...>                   run a command in it (.exe files through Wine)
#   bench.sh stop <dir>                               stop it; fails if any of its processes remain
set -euo pipefail

cmd=${1:?usage: bench.sh start|run|stop <dir> ...}
dir=$(realpath -m "${2:?bench directory}")
env_file=$dir/bench.env

log() { echo "bench: $*" >&2; }

wait_for() {  # wait_for <seconds> <command...>: poll until the command succeeds
  local deadline=$((SECONDS + $1)); shift
  until "$@" >/dev/null 2>&1; do
    if [ $SECONDS -ge $deadline ]; then return 1; fi
    sleep 0.1
  done
}

# Processes that belong to this bench: Xvfb by its pid, Wine processes by their WINEPREFIX.
bench_pids() {
  local prefix=$1 xvfb_pid=${2:-} p
  for p in /proc/[0-9]*; do
    p=${p#/proc/}
    [ "$p" = "$$" ] && continue
    if [ -n "$xvfb_pid" ] && [ "$p" = "$xvfb_pid" ] && [ -d /proc/$p ] \
      && ! grep -q '^State:.*Z' /proc/$p/status 2>/dev/null; then
      echo "$p"; continue
    fi
    if { tr '\0' '\n' < /proc/$p/environ; } 2>/dev/null | grep -qx "WINEPREFIX=$prefix"; then
      grep -q '^State:.*Z' /proc/$p/status 2>/dev/null || echo "$p"
    fi
  done
}

case $cmd in
start)
  arch=${3:?arch}
  probe=${4:?zprobe.exe}
  mkdir -p "$dir"
  if [ -f "$env_file" ]; then "$0" stop "$dir" >/dev/null 2>&1 || true; fi

  # Several benches may start at once (parallel builds): a display counts as ours only when
  # its lock file names our Xvfb.
  display=""
  for n in $(seq 90 250); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset >"$dir/xvfb.log" 2>&1 &
    xvfb_pid=$!
    if wait_for 20 bash -c "[ \"\$(tr -d ' ' < /tmp/.X$n-lock 2>/dev/null)\" = $xvfb_pid ] && DISPLAY=:$n xdpyinfo"; then
      display=$n
      break
    fi
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  done
  [ -n "$display" ] || { log "no display could be started"; cat "$dir/xvfb.log" >&2; exit 1; }
  export DISPLAY=":$display"

  if [ "$arch" = i686 ]; then wine=/usr/lib/wine/wine; else wine=/usr/lib/wine/wine64; fi
  export WINELOADER=$wine
  export WINEPREFIX=$dir/prefix-$arch
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="   # no Mono or Gecko installer dialogs
  export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
  cat >"$env_file" <<ENV
export DISPLAY=$DISPLAY
export WINELOADER=$WINELOADER
export WINEPREFIX=$WINEPREFIX
export WINEDEBUG=$WINEDEBUG
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES"
export LANG=$LANG LC_ALL=$LC_ALL
export ZORVIK_WINE=$wine
export ZORVIK_XVFB_PID=$xvfb_pid
ENV

  /usr/lib/wine/wineserver64 -k >/dev/null 2>&1 || true
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    log "creating the Wine prefix (once per build folder)"
    "$wine" wineboot -i >"$dir/wineboot.log" 2>&1
    /usr/lib/wine/wineserver64 -w
  fi
  /usr/lib/wine/wineserver64 -p >/dev/null 2>&1
  # Without a window manager, Managed=N lets Wine draw the frame itself and avoids 2 s stalls.
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1

  # A resident Windows process keeps Wine's desktop process alive for the whole run, so it
  # does not repaint the root window black whenever a test program starts.
  echo keep | "$wine" "$probe" >"$dir/keeper.log" 2>&1 &
  wait_for 30 pgrep -f 'explorer.exe /desktop' || { log "Wine desktop did not start"; exit 1; }
  log "display :$display, prefix $WINEPREFIX, $arch"
  ;;

run)
  shift 2
  # shellcheck disable=SC1090
  source "$env_file"
  if [[ "$1" == *.exe ]]; then exec "$ZORVIK_WINE" "$@"; fi
  exec "$@"
  ;;

stop)
  [ -f "$env_file" ] || exit 0
  # shellcheck disable=SC1090
  source "$env_file"
  /usr/lib/wine/wineserver64 -k >/dev/null 2>&1 || true
  kill "$ZORVIK_XVFB_PID" 2>/dev/null || true
  # Our own children must not carry the prefix, or they would count as left behind.
  prefix=$WINEPREFIX
  unset WINEPREFIX
  left=""
  for _ in $(seq 1 100); do
    left=$(bench_pids "$prefix" "$ZORVIK_XVFB_PID" | tr '\n' ' ')
    [ -z "$left" ] && break
    sleep 0.1
  done
  rm -f "$env_file"
  if [ -n "$left" ]; then
    log "processes left behind: $left"
    for p in $left; do ps -o pid=,args= -p "$p" >&2 || true; done
    kill -9 $left 2>/dev/null || true
    exit 1
  fi
  ;;
*)
  echo "usage: bench.sh start|run|stop <dir> ..." >&2; exit 2 ;;
esac
