"""The online help as a browser meets it: Debian's Chromium, headless, opens the page that
tools/release.sh publishes, served over HTTP on this machine at the path the program opens. And the
build option that names the help host refuses what is not a host."""
import functools
import http.server
import os
import re
import subprocess
import tempfile
import threading

import pytest
from PIL import Image

from test_release import EXE, PAGE, ROOT, pack

BUILD = os.environ.get("ZORVIK_BUILD", os.path.join(ROOT, "build"))
CHROMIUM = ["chromium", "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
            "--disable-background-networking", "--disable-component-update", "--disable-sync"]


class Recorder(http.server.SimpleHTTPRequestHandler):
    def log_request(self, code="-", size="-"):
        self.server.requests.append((self.path, int(code)))

    def log_message(self, *args):
        pass


@pytest.fixture(scope="module")
def served(tmp_path_factory):
    """(the page's address on 127.0.0.1, every (path, status) the server answered so far)"""
    folder = tmp_path_factory.mktemp("release")
    pack(EXE, str(folder))
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0),
                                             functools.partial(Recorder, directory=str(folder / "site")))
    server.requests = []
    threading.Thread(target=server.serve_forever, daemon=True).start()
    yield f"http://127.0.0.1:{server.server_port}/{os.path.dirname(PAGE)}/", server.requests
    server.shutdown()
    server.server_close()


def chromium(tmp_path, *args):
    profile = tempfile.mkdtemp(dir=tmp_path)
    return subprocess.run(CHROMIUM + [f"--user-data-dir={profile}", *args], capture_output=True, text=True,
                          timeout=120, check=True).stdout


@pytest.mark.parametrize("name, width, height", [("desktop", 1280, 1600), ("phone", 390, 1800)])
def test_the_page_and_all_it_uses_arrive_in_chromium(served, tmp_path, name, width, height):
    url, requests = served
    shot = os.path.join(BUILD, f"help-{name}.png")
    if os.path.exists(shot):
        os.remove(shot)
    before = len(requests)
    chromium(tmp_path, f"--window-size={width},{height}", f"--screenshot={shot}", url)
    made = requests[before:]
    # 304: the icon asked for once more as the tab's, answered from the cache of the first.
    assert made and all(status in (200, 304) for _, status in made), made
    folder = "/" + os.path.dirname(PAGE)
    assert {f"{folder}/", f"{folder}/window.png", f"{folder}/zorvik.ico"} <= {path for path, _ in made}
    assert Image.open(shot).size == (width, height)


def test_chromium_reads_the_page_as_japanese(served, tmp_path):
    dom = chromium(tmp_path, "--dump-dom", served[0])
    assert re.search(r'<html lang="ja">', dom), dom[:200]
    # Decoded as UTF-8, whatever the server said of it.
    assert "<title>K-VEX（拡大鏡）のヘルプ</title>" in dom, dom[:300]


@pytest.mark.parametrize("host", ["", "help.example.org/zorvik", "http://help.example.org", "user@help.example.org",
                                  "help..example.org", "-help.example.org", "help.example.org:0",
                                  "help.example.org:65536", "help example.org", "[::1]:8080"])
def test_a_help_host_that_is_not_a_host_name_stops_the_configure(tmp_path, host):
    result = subprocess.run(["cmake", "-S", ROOT, "-B", str(tmp_path), f"-DZORVIK_HELP_HOST={host}",
                             "-DZORVIK_BUILD_TESTS=OFF"], capture_output=True, text=True, timeout=300)
    assert result.returncode != 0
    assert f'ZORVIK_HELP_HOST="{host}" is not a plain host name' in " ".join(result.stderr.split())
