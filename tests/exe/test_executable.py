"""The shipped zorvik.exe as a file: a static 32-bit GUI program with its icon, manifest and version."""
import os
import struct
import zlib
from xml.etree import ElementTree

import pefile
import pytest

EXE = os.environ.get("ZORVIK_EXE", "build/zorvik.exe")
HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))

@pytest.fixture(scope="module")
def pe():
    return pefile.PE(EXE)


def resources(pe, type_id):
    """{(name or id, language): bytes} of one resource type."""
    found = {}
    for rtype in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if rtype.id != type_id:
            continue
        for entry in rtype.directory.entries:
            name = str(entry.name) if entry.name is not None else entry.id
            for lang in entry.directory.entries:
                data = lang.data.struct
                found[(name, lang.id)] = pe.get_data(data.OffsetToData, data.Size)
    return found


def test_is_a_32_bit_gui_executable(pe):
    assert pe.FILE_HEADER.Machine == pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_I386"]
    assert pe.OPTIONAL_HEADER.Magic == 0x10B  # PE32, not PE32+
    assert pe.OPTIONAL_HEADER.Subsystem == pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_GUI"]


def section_names(pe):
    """Names longer than 8 bytes are "/offset" into the string table after the COFF symbols."""
    strings = pe.FILE_HEADER.PointerToSymbolTable + 18 * pe.FILE_HEADER.NumberOfSymbols
    names = []
    for section in pe.sections:
        name = section.Name.rstrip(b"\0")
        if name.startswith(b"/"):
            start = strings + int(name[1:])
            name = pe.__data__[start:pe.__data__.find(b"\0", start)]
        names.append(name.decode())
    return names


def test_debug_info_is_in_the_file_beside_it(pe):
    names = section_names(pe)
    assert ".text" in names and ".eh_frame" in names
    assert not [name for name in names if name.startswith(".debug") or name.startswith(".zdebug")], names
    assert pe.FILE_HEADER.NumberOfSymbols == 0
    link = next(s for s, name in zip(pe.sections, names) if name == ".gnu_debuglink").get_data()
    name_end = link.index(b"\0")
    assert link[:name_end] == b"zorvik.exe.debug"
    (crc,) = struct.unpack_from("<I", link, (name_end + 4) & ~3)  # after the name's padding to 4 bytes
    with open(EXE + ".debug", "rb") as debug:
        beside = zlib.crc32(debug.read())
    assert crc == beside, "zorvik.exe.debug beside it is not the one it was linked with"


def test_bytes_do_not_tell_when_or_where_it_was_built(pe):
    assert pe.FILE_HEADER.TimeDateStamp == 0
    assert pe.OPTIONAL_HEADER.CheckSum == pe.generate_checksum()
    data = bytes(pe.__data__)
    for folder in {ROOT, os.path.dirname(os.path.realpath(EXE))}:
        assert folder.encode() not in data and folder.replace("/", "\\").encode() not in data


# The systems it runs on, oldest first: it must load on Windows XP SP3.
WINDOWS = ["95", "NT4", "2000", "XP", "XP SP1", "XP SP2", "XP SP3", "Vista", "7", "8", "8.1", "10", "11"]
XP_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "shell32.dll", "msvcrt.dll"}


def reviewed_imports():
    """{"dll:function": oldest Windows} from imports.txt."""
    reviewed = {}
    with open(os.path.join(HERE, "imports.txt"), encoding="ascii") as listing:
        for line in listing:
            if line.strip() and not line.startswith("#"):
                name, oldest = line.split(None, 1)
                reviewed[name.lower()] = oldest.strip()
    return reviewed


def test_imports_only_reviewed_functions_that_windows_xp_sp3_has(pe):
    reviewed = reviewed_imports()
    too_new = {name: oldest for name, oldest in reviewed.items()
               if oldest not in WINDOWS or WINDOWS.index(oldest) > WINDOWS.index("XP SP3")}
    assert not too_new, f"imports.txt lists functions that Windows XP SP3 lacks: {too_new}"
    assert {name.split(":")[0] for name in reviewed} <= XP_DLLS
    imported = {f"{entry.dll.decode().lower()}:{imp.name.decode() if imp.name else '#%d' % imp.ordinal}"
                for entry in pe.DIRECTORY_ENTRY_IMPORT for imp in entry.imports}
    assert {"kernel32.dll", "user32.dll", "gdi32.dll", "shell32.dll"} <= {n.split(":")[0] for n in imported}
    unlisted = sorted(name for name in imported if name.lower() not in reviewed)
    assert not unlisted, f"imports not on tests/exe/imports.txt (check the oldest Windows that has each): {unlisted}"


def test_header_names_windows_xp_and_keeps_relocations_aslr_and_nx(pe):
    header = pe.OPTIONAL_HEADER
    assert (header.MajorOperatingSystemVersion, header.MinorOperatingSystemVersion) == (5, 1)
    assert (header.MajorSubsystemVersion, header.MinorSubsystemVersion) == (5, 1)
    assert header.IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE and header.IMAGE_DLLCHARACTERISTICS_NX_COMPAT
    assert not pe.FILE_HEADER.IMAGE_FILE_RELOCS_STRIPPED and pe.DIRECTORY_ENTRY_BASERELOC


def test_physical_cursor_functions_are_looked_up_not_imported(pe):
    names = {imp.name for entry in pe.DIRECTORY_ENTRY_IMPORT for imp in entry.imports if imp.name}
    assert b"GetPhysicalCursorPos" not in names and b"SetPhysicalCursorPos" not in names
    assert b"LoadLibraryA" in names and b"GetProcAddress" in names
    assert b"GetPhysicalCursorPos\0" in bytes(pe.__data__) and b"SetPhysicalCursorPos\0" in bytes(pe.__data__)


def test_main_icon_is_one_32x32_image_with_16_colours(pe):
    groups = resources(pe, pefile.RESOURCE_TYPE["RT_GROUP_ICON"])
    assert [key[0] for key in groups] == ["MAINICON"]
    group = next(iter(groups.values()))
    reserved, kind, count = struct.unpack_from("<HHH", group)
    assert (reserved, kind, count) == (0, 1, 1)
    width, height, colours, _, planes, bits, size, icon_id = struct.unpack_from("<BBBBHHIH", group, 6)
    assert (width, height, colours, bits) == (32, 32, 16, 4)
    icons = resources(pe, pefile.RESOURCE_TYPE["RT_ICON"])
    image = next(data for (name, _), data in icons.items() if name == icon_id)
    header_size, w, h, _, bit_count = struct.unpack_from("<IiiHH", image)
    assert (header_size, w, h, bit_count) == (40, 32, 64, 4)  # height counts the mask too


def test_manifest_declares_per_monitor_dpi_awareness_and_dpi_aware_for_older_windows(pe):
    manifests = resources(pe, pefile.RESOURCE_TYPE["RT_MANIFEST"])
    assert [key[0] for key in manifests] == [1]
    root = ElementTree.fromstring(next(iter(manifests.values())))
    settings = root.findall("{urn:schemas-microsoft-com:asm.v3}application/"
                            "{urn:schemas-microsoft-com:asm.v3}windowsSettings/*")
    # Windows 10 reads dpiAwareness from 1607 on (PerMonitorV2 from 1703, PerMonitor before);
    # Vista to 8.1 and 10 before 1607 read only dpiAware, 8.1 on its "/PM" as per-monitor.
    assert {element.tag: element.text.strip() for element in settings} == {
        "{http://schemas.microsoft.com/SMI/2005/WindowsSettings}dpiAware": "true/PM",
        "{http://schemas.microsoft.com/SMI/2016/WindowsSettings}dpiAwareness": "PerMonitorV2, PerMonitor",
    }


def test_version_block_is_japanese_with_the_shared_version(pe):
    fixed = pe.VS_FIXEDFILEINFO[0]
    assert (fixed.FileVersionMS >> 16, fixed.FileVersionMS & 0xFFFF,
            fixed.FileVersionLS >> 16, fixed.FileVersionLS & 0xFFFF) == (1, 0, 8, 151)
    tables = {}
    translations = []
    for info in pe.FileInfo[0]:
        if info.Key == b"StringFileInfo":
            for table in info.StringTable:
                tables[table.LangID] = table.entries
        elif info.Key == b"VarFileInfo":
            for var in info.Var:
                translations.append(var.entry)
    assert list(tables) == [b"041103a4"]
    strings = tables[b"041103a4"]
    assert strings[b"FileVersion"] == b"1.0.8.151"
    assert strings[b"FileDescription"].decode("utf-8") == "拡大鏡"
    assert translations == [{b"Translation": "0x0411 0x03a4"}]
    # The version resource is fed by the header the about box reads too.
    header = open(os.path.join(ROOT, "resources", "version.h"), encoding="ascii").read()
    assert '#define ZORVIK_FILEVERSION_TEXT "1.0.8.151"' in header
    assert '#define ZORVIK_SHORT_VERSION_TEXT "1.0.8"' in header
    version_language = [lang for (name, lang) in resources(pe, pefile.RESOURCE_TYPE["RT_VERSION"])]
    assert version_language == [0x0411]


def test_ui_text_is_stored_as_code_page_932(pe):
    data = bytes(pe.__data__)
    # "6倍 " of the status line, "常に前面に表示" whose 表 ends in 0x5C, the origin reminder.
    assert b"\x94\x7b\x20\x00" in data
    assert "常に前面に表示(&T)".encode("cp932") in data
    assert ") [Spc=原点]".encode("cp932") in data
    assert "ズーム(&Z)".encode("utf-8") not in data
