#!/usr/bin/env bash
# The self-test kit for a real Windows: builds what is missing and writes
# build/release/zorvik-selftest-<version>.zip with the six test programs, the zorvik.exe they
# belong to, planted.dll (the DLL search test's), system_facts.exe, selftest.cmd and README.txt
# (from tests/selftest/), then prints its SHA-256.
#
#   tools/selftest.sh                    from build/ into build/release/
#   tools/selftest.sh --pack BUILD DIR   from the build folder BUILD as it is into DIR, without building
#
# One commit gives one zip, byte for byte (tools/reproducible_zip.py), as it gives the same programs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [ "${1:-}" = --pack ]; then
  build=$(realpath "${2:?build folder}") out=$(realpath -m "${3:?output folder}")
else
  cd "$root"
  ./tools/install-deps.sh
  cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DZORVIK_TEST_ARCH="${ZORVIK_TEST_ARCH:-auto}" >/dev/null
  cmake --build build --target zorvik_exe win32-tests --parallel "$(nproc)" >/dev/null
  build=$root/build out=$root/build/release
fi

version=$(sed -n 's/^#define ZORVIK_FILEVERSION_TEXT "\(.*\)"$/\1/p' "$root/resources/version.h")
[ -n "$version" ] || { echo "selftest: no ZORVIK_FILEVERSION_TEXT in resources/version.h" >&2; exit 1; }
commit=$(git -C "$root" rev-parse HEAD)
if [ -n "$(git -C "$root" status --porcelain)" ]; then
  echo "selftest: the working tree has changes that are not committed; the kit says so" >&2
  commit+=" (with changes not committed)"
fi
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct)}
zip=$out/zorvik-selftest-$version.zip

mkdir -p "$out"
PYTHONPATH="$root/tools" /usr/bin/python3 - "$root" "$build" "$zip" "$version" "$commit" <<'PY'
import hashlib, os, re, sys

from reproducible_zip import notepad_text, write_zip

root, build, target, version, commit = sys.argv[1:]
tests = os.path.join(build, "win32-tests", "tests")
programs = [("zorvik.exe", os.path.join(build, "zorvik.exe")),
            ("planted.dll", os.path.join(tests, "win", "planted.dll")),
            ("system_facts.exe", os.path.join(tests, "selftest", "system_facts.exe"))]
programs += [(f"{group}_tests.exe", os.path.join(tests, "win", f"{group}_tests.exe"))
             for group in ("platform", "render", "settings", "soak", "startup", "window")]
contents = {}
for name, path in programs:
    with open(path, "rb") as f:
        contents[name] = f.read()
fields = {"VERSION": version, "COMMIT": commit, "SHA256": hashlib.sha256(contents["zorvik.exe"]).hexdigest()}


def filled(name):
    """English, so plain ASCII in any code page; CRLF, which cmd needs for its labels."""
    with open(os.path.join(root, "tests", "selftest", name), encoding="utf-8") as f:
        text = re.sub(r"@([A-Z0-9]+)@", lambda m: fields[m.group(1)], f.read())
    return notepad_text(text, "ascii")


write_zip(target, [("README.txt", filled("README.txt")), ("selftest.cmd", filled("selftest.cmd"))] +
          [(name, contents[name]) for name, _ in programs])
PY
echo "$(sha256sum "$zip" | cut -d' ' -f1)  $zip ($(stat -c %s "$zip") bytes)"
