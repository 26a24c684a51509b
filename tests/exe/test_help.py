"""The build option that names the online help's host refuses what is not a host."""
import os
import subprocess

import pytest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


@pytest.mark.parametrize("host", ["", "help.example.org/zorvik", "http://help.example.org", "user@help.example.org",
                                  "help..example.org", "-help.example.org", "help.example.org:0",
                                  "help.example.org:65536", "help example.org", "[::1]:8080"])
def test_a_help_host_that_is_not_a_host_name_stops_the_configure(tmp_path, host):
    result = subprocess.run(["cmake", "-S", ROOT, "-B", str(tmp_path), f"-DZORVIK_HELP_HOST={host}",
                             "-DZORVIK_BUILD_TESTS=OFF"], capture_output=True, text=True, timeout=300)
    assert result.returncode != 0
    assert f'ZORVIK_HELP_HOST="{host}" is not a plain host name' in " ".join(result.stderr.split())
