"""The version block as a Japanese Windows program reads it: through VerQueryValueA, in code page 932."""
import os

import pytest

from bench import windows_path

DESCRIPTION = "拡大鏡".encode("cp932")  # 8a 67 91 e5 8b be


@pytest.mark.parametrize("which", ["ZORVIK_SHIPPED_EXE", "ZORVIK_EXE"])
def test_version_block_reads_back_in_code_page_932(probe, which):
    exe = windows_path(os.environ.get(which) or os.environ["ZORVIK_EXE"])
    assert probe.ok("version", exe, "\\StringFileInfo\\041103a4\\FileDescription") == DESCRIPTION.hex()
    assert probe.ok("version", exe, "\\StringFileInfo\\041103a4\\FileVersion") == b"1.0.8.151".hex()
    assert probe.ok("version", exe, "\\") == "1.0.8.151"
    # Language 0x0411, code page 932 (0x03a4), as two little-endian words.
    assert probe.ok("version", exe, "\\VarFileInfo\\Translation") == "1104a403"
