"""The zip that users download and the online help's site, as tools/release.sh packs them from the
built zorvik.exe."""
import hashlib
import html
import itertools
import os
import pathlib
import re
import shutil
import subprocess
import time
import zipfile

import pytest

EXE = os.environ.get("ZORVIK_EXE", "build/zorvik.exe")
ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def source(path):
    with open(os.path.join(ROOT, path), encoding="utf-8") as f:
        return f.read()


VERSION = re.search(r'#define ZORVIK_FILEVERSION_TEXT "([^"]+)"', source("resources/version.h")).group(1)
PAGE = "program/orbwell/zorvik/help/index.html"


def pack(exe, folder, cwd=ROOT, umask=0o022, **env):
    """(the zip's bytes, {path in the site: bytes})"""
    environment = {k: v for k, v in os.environ.items() if k != "SOURCE_DATE_EPOCH"}
    environment.update(env)
    subprocess.run([os.path.join(ROOT, "tools", "release.sh"), "--pack", exe, folder], check=True,
                   cwd=cwd, env=environment,
                   preexec_fn=lambda: os.umask(umask), stdout=subprocess.DEVNULL)
    with open(os.path.join(folder, f"zorvik-{VERSION}.zip"), "rb") as f:
        archive = f.read()
    site = os.path.join(folder, "site")
    files = [os.path.join(path, name) for path, _, names in os.walk(site) for name in names]
    return archive, {os.path.relpath(file, site): pathlib.Path(file).read_bytes() for file in files}


@pytest.fixture(scope="module")
def packed(tmp_path_factory):
    """The zip packed twice; the second time from a copy of the exe under another name, path,
    mode and time, in another working folder, umask and time zone."""
    first = pack(EXE, str(tmp_path_factory.mktemp("release")))
    elsewhere = tmp_path_factory.mktemp("another") / "place"
    elsewhere.mkdir()
    copy = elsewhere / "copy.exe"
    shutil.copyfile(EXE, copy)
    os.chmod(copy, 0o700)
    second = pack(str(copy), str(elsewhere / "out"), cwd=elsewhere, umask=0o077, TZ="Asia/Tokyo")
    return first, second


@pytest.fixture(scope="module")
def entries(packed, tmp_path_factory):
    path = tmp_path_factory.mktemp("open") / "release.zip"
    path.write_bytes(packed[0][0])
    with zipfile.ZipFile(path) as archive:
        assert archive.testzip() is None
        return {info.filename: (info, archive.read(info)) for info in archive.infolist()}


@pytest.fixture(scope="module")
def page(packed):
    return packed[0][1][PAGE].decode("utf-8")


def table_rows(page, name):
    """The rows of one table of the help page, each a list of its cells' texts."""
    table = re.search(f'<table id="{name}">(.*?)</table>', page, re.S).group(1)
    text = lambda cell: " ".join(html.unescape(re.sub(r"<[^>]+>", "", cell)).split())  # noqa: E731
    return [[text(cell) for cell in re.findall(r"<t[hd][^>]*>(.*?)</t[hd]>", row, re.S)]
            for row in re.findall(r"<tr>(.*?)</tr>", table, re.S)][1:]


def test_zip_holds_the_program_as_built_its_readme_and_licence(entries):
    assert list(entries) == ["zorvik.exe", "readme.txt", "LICENSE.txt"]
    with open(EXE, "rb") as f:
        assert entries["zorvik.exe"][1] == f.read()


def test_same_bytes_whoever_packs_it_wherever_and_whenever(packed, entries):
    assert packed[0] == packed[1]
    # Two packings in the same second would hide a date taken from the clock, or a file's owner
    # or times kept in extra fields: every entry carries the commit's time and nothing else.
    committed = int(subprocess.run(["git", "-C", ROOT, "log", "-1", "--format=%ct"], check=True,
                                   capture_output=True, text=True).stdout)
    date = time.gmtime(committed)[:6]
    for info, _ in entries.values():
        assert info.date_time == date[:5] + (date[5] // 2 * 2,), info.filename
        assert (info.extra, info.create_system, info.external_attr) == (b"", 0, 0x20), info.filename


def test_texts_are_code_page_932_with_crlf_line_ends(entries):
    for name in ("readme.txt", "LICENSE.txt"):
        data = entries[name][1]
        data.decode("cp932")  # strict: raises on any byte sequence Notepad would show wrongly
        assert not re.search(rb"\r(?!\n)|(?<!\r)\n", data), f"{name}: a line end other than CRLF"
        assert data.endswith(b"\r\n"), name
    with pytest.raises(UnicodeDecodeError):
        entries["readme.txt"][1].decode("utf-8")  # converted, not shipped as the UTF-8 source
    # Notepad wraps nothing unless asked: 80 columns at most, a double-byte character taking two.
    wide = [line for line in entries["readme.txt"][1].split(b"\r\n") if len(line) > 80]
    assert not wide, f"readme.txt lines wider than 80 columns: {[line.decode('cp932') for line in wide]}"
    assert entries["LICENSE.txt"][1].decode("cp932") == source("LICENSE").replace("\n", "\r\n")


def test_readme_and_help_page_name_this_program_and_every_key_of_the_about_box(entries, page):
    readme = entries["readme.txt"][1].decode("cp932")
    for text in (readme, page):
        assert not re.search(r"@[A-Z0-9]+@", text), "a field left unfilled"
        assert VERSION in text
    with open(EXE, "rb") as f:
        assert hashlib.sha256(f.read()).hexdigest() in readme
    # Each line of the box: its key and the words of what the key does.
    lines = re.findall(r'^\s*"((?:\[[^\]]+\]\+?)+) ([^" (]+)', source("zorvik/commands/about_text.cpp"), re.M)
    keys = [key for key, _ in lines]
    assert "[F1]" in keys and "[Shift]+[F1]" in keys
    missing = [key for key in keys if key not in readme]
    assert not missing, f"keys of the about box that readme.txt does not name: {missing}"
    rows = table_rows(page, "key-table")
    missing = [line for line in lines if not any(row[0] == line[0] and line[1] in row[1] for row in rows)]
    assert not missing, f"lines of the about box that the help page's key table lacks: {missing}"


def menu_table(name):
    """The entries of one table in menu_texts.cpp, as source text."""
    return re.search(name + r"\[\d+\] = \{(.*?)\n\};", source("zorvik/commands/menu_texts.cpp"), re.S).group(1)


def test_readme_readme_md_and_help_page_name_every_command_of_the_menu_and_zoom(entries, page):
    # The submenus, the grid styles and the main menu's commands, without their (&X): the words a
    # user looks for. The copy commands are named by their keys, checked above.
    captions = re.findall(r'MenuCaption = "([^"]+)"', source("zorvik/commands/menu_texts.cpp"))
    for table in ("GridMenuEntries", "MainMenuTailEntries"):
        captions += re.findall(r'"([^"]+)"', menu_table(table))
    captions = sorted({re.sub(r"\(&\w\)$", "", caption) for caption in captions})
    assert "サブグリッド" in captions and "オンラインヘルプ" in captions and "終了" in captions
    readme = entries["readme.txt"][1].decode("cp932").split("\r\n")
    first = next(i for i, line in enumerate(readme) if line.startswith("  右クリック "))
    more = itertools.takewhile(lambda line: line.startswith(" " * 18), readme[first + 1:])
    right_click = {"readme.txt": "".join(line.strip() for line in [readme[first], *more]),
                   "README.md": next(row for row in source("README.md").splitlines() if row.startswith("| right click"))}
    for name, entry in right_click.items():
        missing = [caption for caption in captions if caption not in entry]
        assert not missing, f"menu commands that the right click of {name} leaves out: {missing}"
    factors = re.findall(r"Radio, (\d+),", menu_table("ZoomMenuEntries"))
    assert "、".join(factors) + " 倍" in "\n".join(readme), "readme.txt: not the zoom menu's factors"
    assert ", ".join(factors) + "×" in source("README.md"), "README.md: not the zoom menu's factors"

    # The page has a row for every item, as the menu shows it ("›" into a submenu), in its order.
    shown = lambda caption: caption.replace("&", "").strip()  # noqa: E731
    submenu = {name: shown(caption) for name, caption in re.findall(r'(\w+)MenuCaption = "([^"]+)"',
                                                                    source("zorvik/commands/menu_texts.cpp"))}
    items = [submenu["Zoom"]]
    for name in ("Grid", "Copy"):
        items += [f"{submenu[name]} › {shown(c)}" for c in re.findall(r'"([^"]+)"', menu_table(name + "MenuEntries"))]
    items += [shown(c) for c in re.findall(r'"([^"]+)"', menu_table("MainMenuTailEntries"))]
    rows = table_rows(page, "menu-table")
    assert [row[0] for row in rows] == items
    zooms = [shown(c) for c in re.findall(r'"([^"]+)"', menu_table("ZoomMenuEntries"))]
    assert re.findall(r"\d+倍", rows[0][1]) == zooms, "the page's zoom row: not the zoom menu's items"
