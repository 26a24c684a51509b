#!/usr/bin/env bash
# The download for users: builds what is missing and writes build/release/zorvik-<version>.zip
# with zorvik.exe, readme.txt (Japanese, code page 932, CRLF; made from resources/readme.txt) and
# LICENSE.txt, then prints its SHA-256.
#
#   tools/release.sh                  build/zorvik.exe into build/release/
#   tools/release.sh --pack EXE DIR   EXE as it is into DIR, without building
#
# One commit gives one zip, byte for byte (tools/reproducible_zip.py).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [ "${1:-}" = --pack ]; then
  exe=$(realpath "${2:?zorvik.exe}") out=$(realpath -m "${3:?output folder}")
else
  cd "$root"
  ./tools/install-deps.sh
  cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DZORVIK_TEST_ARCH="${ZORVIK_TEST_ARCH:-auto}" >/dev/null
  cmake --build build --target zorvik_exe --parallel "$(nproc)" >/dev/null
  exe=$root/build/zorvik.exe out=$root/build/release
fi

version=$(sed -n 's/^#define ZORVIK_FILEVERSION_TEXT "\(.*\)"$/\1/p' "$root/resources/version.h")
[ -n "$version" ] || { echo "release: no ZORVIK_FILEVERSION_TEXT in resources/version.h" >&2; exit 1; }
commit=$(git -C "$root" rev-parse HEAD)
if [ -n "$(git -C "$root" status --porcelain)" ]; then
  echo "release: the working tree has changes that are not committed; readme.txt says so" >&2
  commit+="（未コミットの変更あり）"
fi
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct)}
# What the readme tells a user who wants to build the same bytes.
system=$(. /etc/os-release && echo "$PRETTY_NAME")
gcc=$(dpkg-query -W -f='${Package} ${Version}' g++-mingw-w64-i686-win32)
binutils=$(dpkg-query -W -f='${Package} ${Version}' binutils-mingw-w64-i686)
zip=$out/zorvik-$version.zip

mkdir -p "$out"
PYTHONPATH="$root/tools" /usr/bin/python3 - "$root" "$exe" "$zip" "$version" "$commit" "$system" "$gcc" "$binutils" <<'PY'
import hashlib, os, re, sys, time

from reproducible_zip import notepad_text, write_zip

root, exe, target, version, commit, system, gcc, binutils = sys.argv[1:]
when = time.gmtime(int(os.environ["SOURCE_DATE_EPOCH"]))
with open(exe, "rb") as f:
    program = f.read()
fields = {"VERSION": version, "DATE": time.strftime("%Y-%m-%d", when), "COMMIT": commit,
          "SHA256": hashlib.sha256(program).hexdigest(), "SYSTEM": system, "GCC": gcc, "BINUTILS": binutils}


def for_notepad(path, fill=False):
    """Code page 932 with CRLF, as Notepad reads it on every Windows from XP on."""
    with open(os.path.join(root, path), encoding="utf-8") as f:
        text = f.read()
    if fill:
        text = re.sub(r"@([A-Z0-9]+)@", lambda m: fields[m.group(1)], text)
    return notepad_text(text, "cp932")


write_zip(target, [("zorvik.exe", program), ("readme.txt", for_notepad("resources/readme.txt", fill=True)),
                   ("LICENSE.txt", for_notepad("LICENSE"))])
print(f"{fields['SHA256']}  zorvik.exe (named in readme.txt)")
PY
echo "$(sha256sum "$zip" | cut -d' ' -f1)  $zip ($(stat -c %s "$zip") bytes)"
