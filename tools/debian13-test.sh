#!/usr/bin/env bash
# Runs ./test, then ./run (no display: its screenshot), as a new developer on Debian 13 would: in a
# fresh Debian 13 (trixie) root made with mmdebstrap from Debian's own packages, on a fresh clone of
# this checkout's HEAD, with that release's compiler, Wine and (where needed) qemu-user. Cleans up
# its mounts and processes.
#
#   tools/debian13-test.sh [--reuse] [ctest arguments...]
#
# The root is build/debian13/root; it is made anew on every run unless --reuse keeps the one that
# is there (its installed packages then save the download; the clone is always new). Needs root.
# ZORVIK_TEST_ARCH is passed on. Exits non-zero when either command failed inside.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
work=$src/build/debian13
root=$work/root
reuse=0
if [ "${1:-}" = --reuse ]; then reuse=1; shift; fi
[ "$(id -u)" -eq 0 ] || { echo "debian13-test: needs root (mmdebstrap, namespaces, mounts)" >&2; exit 2; }
command -v mmdebstrap >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -q mmdebstrap

# Every process inside lives in a PID namespace of its own, so that all of them end with ./test,
# and every mount in a mount namespace of its own, gone with it. The root is entered with
# pivot_root, not chroot: a chroot would refuse the user namespace that tools/i386-emulation.sh
# makes where 32-bit Wine runs under qemu-i386. The trap covers a run stopped from outside, whose
# namespace's first process may outlive it.
cleanup() {
  local p pids=""
  for p in /proc/[0-9]*; do
    case $(readlink "$p/root" 2>/dev/null) in "$root" | "$root"/*) pids+=" ${p#/proc/}" ;; esac
  done
  if [ -n "$pids" ]; then kill -9 $pids 2>/dev/null || true; fi
}
trap cleanup EXIT

if [ "$reuse" = 0 ] || [ ! -x "$root/usr/bin/apt-get" ]; then
  rm -rf "$work"
  mkdir -p "$work"
  echo "debian13-test: making a Debian 13 root in $root"
  mmdebstrap --variant=apt --include=ca-certificates,sudo,mount trixie "$root" http://deb.debian.org/debian \
    >"$work/mmdebstrap.log" 2>&1 || { tail -n 20 "$work/mmdebstrap.log" >&2; exit 1; }
fi

rm -rf "$root/work/zorvik"
mkdir -p "$root/work"
git clone -q "$src" "$root/work/zorvik"
echo "debian13-test: ./test in $(cat "$root/etc/debian_version") on $(git -C "$src" rev-parse --short HEAD)"
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
# npm fetches over TLS, which the host may take through a proxy that only its own certificate
# authorities trust: Node.js inside takes them too.
cp /etc/ssl/certs/ca-certificates.crt "$root/work/host-ca.crt" 2>/dev/null || true
cat >"$root/work/inside.sh" <<'INSIDE'
if [ -f /work/host-ca.crt ]; then export NODE_EXTRA_CA_CERTS=/work/host-ca.crt; fi
cd /work/zorvik
./test "$@"; test=$?
echo "debian13-test: ./test exited with $test"
./run; run=$?
echo "debian13-test: ./run exited with $run"
[ "$test" -eq 0 ] && [ "$run" -eq 0 ]
INSIDE
status=0
unshare --mount --pid --fork --propagation private /bin/bash -euc '
  root=$1; shift
  mount --bind "$root" "$root"
  mount -t proc proc "$root/proc"
  mount --rbind /sys "$root/sys"
  mount --rbind /dev "$root/dev"
  mount -t tmpfs tmpfs "$root/dev/shm"
  mount -t tmpfs tmpfs "$root/tmp"
  mkdir -p "$root/.old-root"
  cd "$root"
  pivot_root . .old-root
  umount -l /.old-root
  rmdir /.old-root
  exec /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root TERM=dumb LANG=C.UTF-8 \
    ${ZORVIK_TEST_ARCH:+ZORVIK_TEST_ARCH=$ZORVIK_TEST_ARCH} /bin/bash /work/inside.sh "$@"
' debian13-test "$root" "$@" || status=$?
if [ -f "$root/work/zorvik/build/screenshot.png" ]; then cp "$root/work/zorvik/build/screenshot.png" "$work/"; fi
exit "$status"
