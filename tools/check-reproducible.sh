#!/usr/bin/env bash
# Builds zorvik.exe a second time, from a copy of this checkout in another folder with the tests
# off, and compares it with EXE byte for byte. Prints both SHA-256 hashes and the time taken.
# Usage: tools/check-reproducible.sh EXE WORK_DIR [BUILD_TYPE [HELP_HOST]]
# WORK_DIR is emptied first; it is left behind for a look at the second build.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
exe=$1 work=$2 build_type=${3:-Release} help_host=${4:+-DZORVIK_HELP_HOST=$4}
start=$SECONDS

rm -rf "$work"
mkdir -p "$work/src"
# The files as they are in the checkout now, new ones too, without what git ignores (the builds).
git -C "$src" ls-files -z --cached --others --exclude-standard |
  tar -C "$src" --null --files-from=- --ignore-failed-read -cf - 2>/dev/null | tar -C "$work/src" -xf -

cmake -S "$work/src" -B "$work/src/build" -DCMAKE_BUILD_TYPE="$build_type" -DZORVIK_BUILD_TESTS=OFF $help_host \
  >"$work/build.log" 2>&1 &&
  cmake --build "$work/src/build" --target zorvik_exe --parallel 2 >>"$work/build.log" 2>&1 ||
  { tail -n 30 "$work/build.log" >&2; echo "reproducible: the second build failed" >&2; exit 1; }

first=$(sha256sum <"$exe" | cut -d' ' -f1)
second=$(sha256sum <"$work/src/build/zorvik.exe" | cut -d' ' -f1)
echo "$first  $exe"
echo "$second  $work/src/build/zorvik.exe"
echo "reproducible: second build in $((SECONDS - start)) s"
if [ "$first" != "$second" ]; then
  echo "reproducible: the two builds differ in $(cmp -l "$exe" "$work/src/build/zorvik.exe" | wc -l) bytes" >&2
  exit 1
fi
