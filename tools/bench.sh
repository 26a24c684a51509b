#!/usr/bin/env bash
# The Wine test bench: one virtual X display and one persistent wineserver with a private prefix.
#
#   bench.sh start <dir> <runtime> <zprobe.exe>        start it, write <dir>/bench.env
#   bench.sh start-multi <dir> <runtime> <zprobe.exe>  the same on two monitors, one left of the
#                                                      primary: Xorg with the dummy driver
#   bench.sh run <dir> <command...>                    run a command in it (.exe files through Wine)
#   bench.sh stop <dir>                                stop it; fails if any of its processes remain
#   bench.sh fonts <prefix>                            add the fonts Debian's Wine misses to a prefix
#
# runtime: i686 (32-bit Wine run by the kernel), i686-qemu (32-bit Wine under qemu-i386, for kernels
# without IA-32 support; see i386-emulation.sh) or x86_64 (64-bit Wine, for the 64-bit build).
#
# Where Xorg cannot run at all, start-multi still succeeds but marks the bench as skipped; run then
# prints why and exits 77 (ctest's SKIP_RETURN_CODE for those tests).
set -euo pipefail

cmd=${1:?usage: bench.sh start|start-multi|run|stop <dir> ...}
dir=$(realpath -m "${2:?bench directory}")
env_file=$dir/bench.env

log() { echo "bench: $*" >&2; }
here=$(dirname "$(realpath "$0")")

wait_for() {  # wait_for <seconds> <command...>: poll until the command succeeds
  local deadline=$((SECONDS + $1)); shift
  until "$@" >/dev/null 2>&1; do
    if [ $SECONDS -ge $deadline ]; then return 1; fi
    sleep 0.1
  done
}

# Processes that belong to this bench: the X server by its pid, Wine processes by their WINEPREFIX.
# One grep over every environment: a loop with a few processes per entry of /proc takes seconds
# on a busy machine, and stop polls this.
bench_pids() {
  local prefix=$1 xserver_pid=${2:-} p
  {
    [ -n "$xserver_pid" ] && echo "/proc/$xserver_pid/environ"
    grep -lzxF "WINEPREFIX=$prefix" /proc/[0-9]*/environ 2>/dev/null
  } | while read -r p; do
    p=${p#/proc/}
    p=${p%/environ}
    [ "$p" = "$$" ] && continue
    if [ -d "/proc/$p" ] && ! grep -q '^State:.*Z' "/proc/$p/status" 2>/dev/null; then echo "$p"; fi
  done | sort -u || true
}

# Whether display n is held: its lock or socket in /tmp, or only its abstract socket, which is all
# that shows of an X server started in another mount namespace (one with a /tmp of its own).
display_taken() {
  [ -e /tmp/.X11-unix/X$1 ] || [ -e /tmp/.X$1-lock ] || grep -q "@/tmp/.X11-unix/X$1\$" /proc/net/unix 2>/dev/null
}

# Starts an X server on the first free display from 90 on; sets display and xserver_pid.
# Several benches may start at once (parallel builds): a display counts as ours only when its
# lock file names our server.
start_x_server() {  # start_x_server xvfb|xorg
  local n out
  display=""
  for n in $(seq 90 250); do
    display_taken $n && continue
    if [ "$1" = xvfb ]; then
      out=$dir/xvfb.log
      Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset >"$out" 2>&1 &
    else
      out=$dir/xorg.out
      Xorg ":$n" -config "$here/xorg-dummy.conf" -noreset -nolisten tcp -logfile "$dir/xorg.log" >"$out" 2>&1 &
    fi
    xserver_pid=$!
    # Ready, or gone (then there is no point in waiting the full time).
    wait_for 20 bash -c "! { [ -d /proc/$xserver_pid ] && ! grep -q '^State:.*Z' /proc/$xserver_pid/status; } \
      || { [ \"\$(tr -d ' ' < /tmp/.X$n-lock 2>/dev/null)\" = $xserver_pid ] && DISPLAY=:$n xdpyinfo; }" || true
    if [ "$(tr -d ' ' 2>/dev/null < /tmp/.X$n-lock)" = "$xserver_pid" ] && DISPLAY=:$n xdpyinfo >/dev/null 2>&1; then
      display=$n
      return 0
    fi
    kill "$xserver_pid" 2>/dev/null || true
    wait "$xserver_pid" 2>/dev/null || true
    # A server that ended by itself without another one holding the display fails the same way
    # on every display number; one whose server says it is already running is held elsewhere.
    display_taken $n || grep -q 'already running' "$out" || return 1
  done
  return 1
}

# The dummy driver's second output, 800x600 left of the 1280x960 primary: Wine then sees the
# virtual screen (-800, 0)-(1280, 960).
add_left_monitor() {
  xrandr --newmode 800x600_60 38.25 800 832 912 1024 600 603 607 624 -hsync +vsync &&
    xrandr --addmode DUMMY1 800x600_60 &&
    xrandr --output DUMMY1 --mode 800x600_60 --left-of DUMMY0 &&
    outputs=$(xrandr) &&  # not piped into grep -q, which may leave xrandr to die of SIGPIPE
    grep -q '^DUMMY1 connected 800x600+0+0' <<<"$outputs" &&
    grep -q '^DUMMY0 connected primary 1280x960+800+0' <<<"$outputs"
}

# The host agent of a bench being started (see host-agent below).
start_host_agent() {
  rm -rf "$dir/host"
  mkdir -p "$dir/host"
  "$0" host-agent "$dir" >"$dir/host-agent.log" 2>&1 </dev/null &
  echo "export ZORVIK_HOST_AGENT_PID=$!" >>"$env_file"
}

# Debian's Wine misses its own font folder, so Marlett, which draws the caption buttons and menu
# check marks, is missing and they show as letters; Windows keeps it in its Fonts folder.
add_marlett() {  # add_marlett <prefix>
  local marlett=/usr/share/wine/fonts/marlett.ttf fonts=$1/drive_c/windows/Fonts
  if [ -f "$marlett" ] && [ ! -f "$fonts/marlett.ttf" ]; then mkdir -p "$fonts" && cp "$marlett" "$fonts/"; fi
}

case $cmd in
start | start-multi)
  arch=${3:?arch}
  probe=${4:?zprobe.exe}
  mkdir -p "$dir"
  if [ -f "$env_file" ]; then "$0" stop "$dir" >/dev/null 2>&1 || true; fi

  if [ "$cmd" = start ]; then
    kind=xvfb
    start_x_server xvfb || { log "no display could be started"; cat "$dir/xvfb.log" >&2; exit 1; }
  else
    kind=xorg-multi
    if ! command -v Xorg >/dev/null || [ ! -e /usr/lib/xorg/modules/drivers/dummy_drv.so ]; then
      reason="Xorg or its dummy driver is not installed (xserver-xorg-core, xserver-xorg-video-dummy)"
    elif ! start_x_server xorg; then
      reason="Xorg with the dummy driver did not start (see $dir/xorg.log): $(grep -h '(EE)' "$dir/xorg.log" \
        2>/dev/null | grep -v -e 'warning, (EE)' -e 'dbus' | head -n 3 | tr -s '\n\t' ' ' || true)"
    else
      reason=""
    fi
    if [ -n "$reason" ]; then
      log "SKIP: $reason"
      printf 'export ZORVIK_BENCH_SKIP=%q\n' "$reason" >"$env_file"
      exit 0
    fi
    if ! DISPLAY=:$display add_left_monitor >"$dir/xrandr.log" 2>&1; then
      log "Xorg runs but the second monitor could not be set up"; cat "$dir/xrandr.log" >&2
      kill "$xserver_pid" 2>/dev/null || true
      exit 1
    fi
  fi
  export DISPLAY=":$display"

  # Wine for the runtime, as one program that the tests can start. Under emulation every Wine
  # program runs inside i386-emulation.sh, while the wineserver, X and the host commands stay native.
  loader=/usr/lib/wine/wine
  case $arch in
  i686) wine=$loader ;;
  i686-qemu)
    wine=$dir/wine
    printf '#!/bin/sh\nexec %q /usr/lib/wine/wine "$@"\n' "$here/i386-emulation.sh" >"$wine"
    chmod +x "$wine"
    ;;
  x86_64) loader=/usr/lib/wine/wine64 wine=$loader ;;
  *) log "unknown runtime $arch"; exit 2 ;;
  esac
  export WINELOADER=$loader
  # A 32-bit Windows for the 32-bit program: left to itself, Wine would make a 64-bit prefix
  # wherever 64-bit Wine is installed and run it there under WoW64.
  if [ "$loader" = /usr/lib/wine/wine ]; then export WINEARCH=win32; else export WINEARCH=win64; fi
  export WINEPREFIX=$dir/prefix-$WINEARCH
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="   # no Mono or Gecko installer dialogs
  export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
  cat >"$env_file" <<ENV
export DISPLAY=$DISPLAY
export WINELOADER=$WINELOADER
export WINEPREFIX=$WINEPREFIX
export WINEARCH=$WINEARCH
export WINEDEBUG=$WINEDEBUG
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES"
export LANG=$LANG LC_ALL=$LC_ALL
export ZORVIK_WINE=$wine
export ZORVIK_XSERVER_PID=$xserver_pid
export ZORVIK_BENCH_KIND=$kind
export ZORVIK_RUNTIME=$arch
export ZORVIK_TIMEOUT_SCALE=$([ "$arch" = i686-qemu ] && echo 3 || echo 1)
export ZORVIK_HOST_AGENT=$dir/host
ENV
  start_host_agent

  /usr/lib/wine/wineserver64 -k >/dev/null 2>&1 || true
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    log "creating the Wine prefix (once per build folder)"
    "$wine" wineboot -i >"$dir/wineboot.log" 2>&1
    /usr/lib/wine/wineserver64 -w
  fi
  add_marlett "$WINEPREFIX"
  /usr/lib/wine/wineserver64 -p >/dev/null 2>&1
  # Without a window manager, Managed=N lets Wine draw the frame itself and avoids 2 s stalls. The
  # system DPI is the prefix's own 96, also after a run killed while a test had changed it.
  printf '%s\r\n' REGEDIT4 '' '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Managed"="N"' '' \
    '[HKEY_CURRENT_USER\Control Panel\Desktop]' '"LogPixels"=-' >"$dir/bench.reg"
  "$wine" reg import "Z:${dir//\//\\}\\bench.reg" >/dev/null 2>&1

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
  if [ -n "${ZORVIK_BENCH_SKIP:-}" ]; then echo "SKIP: $ZORVIK_BENCH_SKIP"; exit 77; fi
  # Under emulation the whole command runs inside it, so that every Wine program it starts is
  # emulated too, whichever way it starts it.
  emulation=()
  if [ "$ZORVIK_RUNTIME" = i686-qemu ]; then emulation=("$here/i386-emulation.sh"); fi
  if [[ "$1" == *.exe ]]; then exec "${emulation[@]}" "$ZORVIK_WINE" "$@"; fi
  exec "${emulation[@]}" "$@"
  ;;

host-agent)
  # Runs the shell commands that test programs leave as <n>.cmd files in the agent's folder and
  # leaves their exit status in <n>.status. It runs outside any namespace, so that chattr and
  # xdotool act on the real host also when Wine runs under emulation.
  agent=$dir/host
  # Waits on a FIFO that nobody writes: a pause without starting a sleep process 20 times a second.
  mkfifo "$dir/host-agent.fifo" 2>/dev/null || true
  exec 3<>"$dir/host-agent.fifo"
  while [ -d "$agent" ]; do
    for request in "$agent"/*.cmd; do
      [ -e "$request" ] || continue
      status=0
      sh "$request" >"${request%.cmd}.log" 2>&1 </dev/null || status=$?
      echo "$status" >"${request%.cmd}.part"
      rm -f "$request"
      mv "${request%.cmd}.part" "${request%.cmd}.status"
    done
    read -r -t 0.05 -u 3 _ || true
  done
  ;;

stop)
  [ -f "$env_file" ] || exit 0
  # Leftovers are told apart by the WINEPREFIX they were started with. Called from inside a bench's
  # environment, this script and its subshells would carry it too (unset does not change what
  # /proc shows), so it starts over without it.
  if [ -n "${WINEPREFIX:-}" ]; then exec env -u WINEPREFIX "$0" stop "$dir"; fi
  # shellcheck disable=SC1090
  source "$env_file"
  if [ -n "${ZORVIK_BENCH_SKIP:-}" ]; then rm -f "$env_file"; exit 0; fi
  if [ -n "${ZORVIK_HOST_AGENT_PID:-}" ]; then kill "$ZORVIK_HOST_AGENT_PID" 2>/dev/null || true; fi
  rm -rf "$dir/host" "$dir/host-agent.fifo"
  /usr/lib/wine/wineserver64 -k >/dev/null 2>&1 || true
  # (Benches started before there were two kinds named their server ZORVIK_XVFB_PID.)
  xserver_pid=${ZORVIK_XSERVER_PID:-${ZORVIK_XVFB_PID:-}}
  kill "$xserver_pid" 2>/dev/null || true
  # Our own children must not carry the prefix, or they would count as left behind.
  prefix=$WINEPREFIX
  unset WINEPREFIX
  left=""
  for _ in $(seq 1 100); do
    left=$(bench_pids "$prefix" "$xserver_pid" | tr '\n' ' ')
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
fonts) add_marlett "$dir" ;;
*)
  echo "usage: bench.sh start|start-multi|run|stop|host-agent|fonts <dir> ..." >&2; exit 2 ;;
esac
