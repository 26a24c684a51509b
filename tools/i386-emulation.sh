#!/usr/bin/env bash
# Runs a command in which every 32-bit x86 Linux program, and every one that it starts in turn, is
# run by qemu-i386: 32-bit Wine on a kernel without IA-32 support.
#
#   tools/i386-emulation.sh <command...>
#   tools/i386-emulation.sh --check      exit 0 when 32-bit Wine starts this way
#
# The handler is registered in the binfmt_misc of a private user and mount namespace (kernel 6.7 or
# later), so nothing changes outside it. Called again from inside, it runs the command as it is.
# QEMU_I386 names the emulator (default: qemu-i386 on the PATH; it must be qemu 10 or later, as
# older ones ignore MAP_FIXED_NOREPLACE and Wine then cannot map its shared user data).
set -euo pipefail

entry=/proc/sys/fs/binfmt_misc/zorvik-i386
if [ "${1:-}" = --check ]; then
  exec "$0" /usr/lib/wine/wine --version >/dev/null 2>&1
fi
if [ -e "$entry" ]; then exec "$@"; fi
if [ "${1:-}" != --inside ]; then
  exec unshare --user --map-root-user --mount --propagation private "$0" --inside "$@"
fi
shift

qemu=${QEMU_I386:-$(command -v qemu-i386 || true)}
[ -x "$qemu" ] || { echo "i386-emulation: qemu-i386 not found (Debian: qemu-user from bookworm-backports)" >&2; exit 127; }
mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
# ELF, 32-bit, little-endian, executable or shared object, machine 3 (i386). F: the emulator is
# opened now, so that it is found from any mount or root the programs see later.
magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
printf ':zorvik-i386:M::%s:%s:%s:F\n' "$magic" "$mask" "$qemu" >/proc/sys/fs/binfmt_misc/register
exec "$@"
