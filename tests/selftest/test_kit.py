"""The self-test kit for a real Windows, as tools/selftest.sh packs it: the same bytes however it
is packed, and, unpacked into a fresh folder, a run of selftest.cmd through Wine's cmd on the
bench that ends with every test program passed, on the Windows that Wine claims to be."""
import os
import re
import shutil
import subprocess
import time
import zipfile

import pytest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BUILD = os.environ.get("ZORVIK_BUILD", os.path.join(ROOT, "build"))
GROUPS = ("platform", "render", "settings", "soak", "startup", "window")
PROGRAMS = ["zorvik.exe", "planted.dll", "system_facts.exe"] + [f"{group}_tests.exe" for group in GROUPS]
with open(os.path.join(ROOT, "resources", "version.h"), encoding="utf-8") as f:
    VERSION = re.search(r'#define ZORVIK_FILEVERSION_TEXT "([^"]+)"', f.read()).group(1)


def built(name):
    if name == "zorvik.exe":
        return os.path.join(BUILD, name)
    folder = "selftest" if name == "system_facts.exe" else "win"
    return os.path.join(BUILD, "win32-tests", "tests", folder, name)


def pack(folder, cwd=ROOT, umask=0o022, **env):
    environment = {k: v for k, v in os.environ.items() if k != "SOURCE_DATE_EPOCH"}
    environment.update(env)
    subprocess.run([os.path.join(ROOT, "tools", "selftest.sh"), "--pack", BUILD, str(folder)], check=True, cwd=cwd,
                   env=environment, preexec_fn=lambda: os.umask(umask), stdout=subprocess.DEVNULL)
    with open(os.path.join(folder, f"zorvik-selftest-{VERSION}.zip"), "rb") as f:
        return f.read()


@pytest.fixture(scope="module")
def kit(tmp_path_factory):
    """Packed twice, the second time from another working folder, umask and time zone."""
    first = pack(tmp_path_factory.mktemp("kit"))
    elsewhere = tmp_path_factory.mktemp("another")
    second = pack(elsewhere / "out", cwd=elsewhere, umask=0o077, TZ="Asia/Tokyo")
    path = tmp_path_factory.mktemp("open") / "kit.zip"
    path.write_bytes(first)
    return first, second, path


def test_kit_holds_the_built_programs_and_its_texts_the_same_however_packed(kit):
    first, second, path = kit
    assert first == second
    committed = int(subprocess.run(["git", "-C", ROOT, "log", "-1", "--format=%ct"], check=True,
                                   capture_output=True, text=True).stdout)
    date = time.gmtime(committed)[:6]
    with zipfile.ZipFile(path) as archive:
        assert archive.testzip() is None
        assert archive.namelist() == ["README.txt", "selftest.cmd"] + PROGRAMS
        for info in archive.infolist():
            assert info.date_time == date[:5] + (date[5] // 2 * 2,), info.filename
            assert (info.extra, info.create_system, info.external_attr) == (b"", 0, 0x20), info.filename
        for name in PROGRAMS:
            with open(built(name), "rb") as f:
                assert archive.read(name) == f.read(), name
        for name in ("README.txt", "selftest.cmd"):
            text = archive.read(name).decode("ascii")
            assert not re.search(r"\r(?!\n)|(?<!\r)\n", text), f"{name}: a line end other than CRLF"
            assert not re.search(r"@[A-Z0-9]+@", text), f"{name}: a field left unfilled"
            assert VERSION in text, name


def claimed_windows():
    """major.minor.build as the prefix's registry has it, which Wine writes for the version it claims."""
    with open(os.path.join(os.environ["WINEPREFIX"], "system.reg"), encoding="utf-8", errors="replace") as f:
        registry = f.read()
    key = re.search(r"^\[Software\\\\Microsoft\\\\Windows NT\\\\CurrentVersion\][^\n]*\n(.*?)\n\n", registry,
                    re.M | re.S).group(1)
    value = dict(re.findall(r'^"([^"]+)"=(.*)$', key, re.M))
    major = int(value["CurrentMajorVersionNumber"].split(":")[1], 16)
    minor = int(value["CurrentMinorVersionNumber"].split(":")[1], 16)
    return major, minor, int(value["CurrentBuildNumber"].strip('"'))


@pytest.fixture(scope="module")
def run(kit, tmp_path_factory):
    if os.environ.get("ZORVIK_RUNTIME") == "x86_64":
        pytest.skip("the kit's programs are 32-bit, and ZORVIK_TEST_ARCH=x86_64 runs 64-bit Wine")
    folder = tmp_path_factory.mktemp("unpacked")
    with zipfile.ZipFile(kit[2]) as archive:
        archive.extractall(folder)
    before = sorted(os.listdir(folder))
    script = "Z:" + str(folder / "selftest.cmd").replace("/", "\\")
    timeout = 300 * int(os.environ.get("ZORVIK_TIMEOUT_SCALE", "1"))
    done = subprocess.run([os.environ["ZORVIK_WINE"], "cmd", "/c", script], cwd=tmp_path_factory.mktemp("elsewhere"),
                          capture_output=True, timeout=timeout)
    # Kept in the build folder, to be read as a Windows user would send it.
    shutil.copyfile(folder / "selftest-report.txt", os.path.join(BUILD, "selftest-report.txt"))
    with open(folder / "selftest-report.txt", "rb") as f:
        report = f.read().decode("cp932", errors="replace")
    after = sorted(os.listdir(folder))
    shutil.rmtree(folder)
    return done.returncode, report, before, after


def test_selftest_reports_every_program_passed_on_the_windows_wine_claims(run):
    code, report, before, after = run
    lines = report.rstrip("\r\n").split("\r\n")
    last = re.fullmatch(r"(\d+) passed, (\d+) failed, (\d+) skipped", lines[-1])
    assert last, f"last line: {lines[-1]!r}"
    passed, failed, skipped = map(int, last.groups())
    assert (failed, code) == (0, 0)
    # Each program counted its own tests, and the last line adds them up.
    for group in GROUPS:
        assert f"\r\n==== {group}_tests.exe ====\r\n" in report, group
    counts = re.findall(r"^Tests: (\d+) passed, (\d+) failed, (\d+) skipped\r$", report, re.M)
    assert len(counts) == len(GROUPS)
    assert [sum(int(c[i]) for c in counts) for i in range(3)] == [passed, failed, skipped]
    assert passed > 0

    major, minor, build = claimed_windows()
    assert f", version {major}.{minor}.{build}" in report
    assert "\r\nSystem DPI: 96 (100 %)" in report
    assert "\r\nANSI code page: 932 " in report
    # Wine composes the desktop from the version it claims on: Windows 8 and later.
    assert f"\r\nDesktop composed: {'yes' if (major, minor) >= (6, 2) else 'no'}\r\n" in report

    # By default only the tests that change the desktop skip, each saying so; on the bench every
    # other expectation holds.
    # (GoogleTest 1.16 of Debian 13 puts an empty line after the reason.)
    reasons = re.findall(r": Skipped\r\n(.*)\r\n(?:\r\n)?\[  SKIPPED \] \S+ \(\d+ ms\)\r\n", report)
    assert len(reasons) == skipped > 0
    assert all(reason.endswith("which the whole desktop shares: runs only with selftest.cmd /all")
               for reason in reasons), reasons
    assert after == sorted(before + ["selftest-report.txt"])
