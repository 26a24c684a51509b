#!/usr/bin/env bash
# The download for users: builds what is missing and writes build/release/zorvik-<version>.zip
# with zorvik.exe, readme.txt (Japanese, code page 932, CRLF; made from resources/readme.txt) and
# LICENSE.txt, then prints its SHA-256. Beside it, site/ holds the online help (help/index.html and
# what it shows) at the path the program opens, to copy to the web root of the help host.
#
#   tools/release.sh                  build/zorvik.exe into build/release/
#   tools/release.sh --pack EXE DIR   EXE as it is into DIR, without building
#
# ZORVIK_HELP_HOST=host[:port] builds for that help host; unset, for the build's default.
# One commit gives one zip and one site, byte for byte (tools/reproducible_zip.py).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [ "${1:-}" = --pack ]; then
  exe=$(realpath "${2:?zorvik.exe}") out=$(realpath -m "${3:?output folder}")
else
  cd "$root"
  ./tools/install-deps.sh
  # Unset, a host left in build/'s cache from an earlier release must not carry over.
  if [ -n "${ZORVIK_HELP_HOST+set}" ]; then host=(-DZORVIK_HELP_HOST="$ZORVIK_HELP_HOST"); else host=(-UZORVIK_HELP_HOST); fi
  cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DZORVIK_TEST_ARCH="${ZORVIK_TEST_ARCH:-auto}" "${host[@]}" >/dev/null
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
import hashlib, os, re, shutil, sys, time

from reproducible_zip import notepad_text, write_zip

root, exe, target, version, commit, system, gcc, binutils = sys.argv[1:]
when = time.gmtime(int(os.environ["SOURCE_DATE_EPOCH"]))
with open(exe, "rb") as f:
    program = f.read()
# The help host as the program itself names it: what the about box shows and the shell opens.
help_path = "/program/orbwell/zorvik/help/"
address = re.search(rb"http://([A-Za-z0-9.:-]+)" + help_path.encode() + rb"\0", program)
if not address:
    sys.exit(f"release: {exe} names no http://<host>{help_path}")
host = address.group(1).decode()
fields = {"VERSION": version, "DATE": time.strftime("%Y-%m-%d", when), "COMMIT": commit, "HELPHOST": host,
          "SHA256": hashlib.sha256(program).hexdigest(), "SYSTEM": system, "GCC": gcc, "BINUTILS": binutils}


def filled(text):
    return re.sub(r"@([A-Z0-9]+)@", lambda m: fields[m.group(1)], text)


def for_notepad(path, fill=False):
    """Code page 932 with CRLF, as Notepad reads it on every Windows from XP on."""
    with open(os.path.join(root, path), encoding="utf-8") as f:
        text = f.read()
    return notepad_text(filled(text) if fill else text, "cp932")


def write_site(site):
    """The page and the files it names, at the address's path, dated at the commit."""
    with open(os.path.join(root, "help/index.html"), encoding="utf-8") as f:
        page = filled(f.read())
    sources = {"window.png": "docs/window.png", "zorvik.ico": "resources/zorvik.ico"}
    used = set(re.findall(r'(?:src|href)="([^"#]+)"', page))
    if used != set(sources):
        sys.exit(f"release: help/index.html uses {sorted(used)}, the site is made of {sorted(sources)}")
    shutil.rmtree(site, ignore_errors=True)
    folder = os.path.join(site, help_path.strip("/"))
    os.makedirs(folder)
    with open(os.path.join(folder, "index.html"), "w", encoding="utf-8", newline="\n") as f:
        f.write(page)
    for name, source in sources.items():
        shutil.copyfile(os.path.join(root, source), os.path.join(folder, name))
    for path, _, files in os.walk(site):
        for name in files + [""]:
            os.utime(os.path.join(path, name), (int(os.environ["SOURCE_DATE_EPOCH"]),) * 2)


write_zip(target, [("zorvik.exe", program), ("readme.txt", for_notepad("resources/readme.txt", fill=True)),
                   ("LICENSE.txt", for_notepad("LICENSE"))])
write_site(os.path.join(os.path.dirname(target), "site"))
print(f"{fields['SHA256']}  zorvik.exe (named in readme.txt)")
print(f"http://{host}{help_path}  the online help, in {os.path.dirname(target)}/site/ for that host's web root")
if re.search(r"\.(example|test|invalid|localhost)(:|$)", host):
    print(f"release: built for the placeholder help host {host}, a name that never resolves: the help of this "
          "zorvik.exe leads nowhere. ZORVIK_HELP_HOST=<host> tools/release.sh builds for a real one.",
          file=sys.stderr)
PY
echo "$(sha256sum "$zip" | cut -d' ' -f1)  $zip ($(stat -c %s "$zip") bytes)"
