"""Zips whose bytes depend on their contents alone: entries in the order given, each dated at
SOURCE_DATE_EPOCH (the commit's time), with the attributes of a file that Windows wrote and no
extra fields (no owner, no access or change times). CMake's zip writer (cmake -E tar, CPack)
stores each file's owner and its access and change times, so Python's zipfile writes them."""
import os
import time
import zipfile


def notepad_text(text, encoding):
    """Text with CRLF line ends in the given code page, as Notepad reads it on every Windows."""
    return text.replace("\n", "\r\n").encode(encoding)


def write_zip(target, entries):
    """Writes [(name, bytes), ...] to target, replacing it only once it is whole."""
    when = time.gmtime(int(os.environ["SOURCE_DATE_EPOCH"]))
    partial = target + ".part"
    with zipfile.ZipFile(partial, "w") as archive:
        for name, data in entries:
            entry = zipfile.ZipInfo(name, date_time=when[:6])
            entry.create_system = 0      # made on FAT: no Unix mode or owner
            entry.external_attr = 0x20   # FILE_ATTRIBUTE_ARCHIVE, as on a file Windows wrote
            entry.compress_type = zipfile.ZIP_DEFLATED
            archive.writestr(entry, data, compresslevel=9)
    os.replace(partial, target)
