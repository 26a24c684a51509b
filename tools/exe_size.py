#!/usr/bin/python3
"""What zorvik.exe weighs and where its bytes come from.

    tools/exe_size.py [EXE [MAP]]      # default: build/zorvik.exe, build/win32/zorvik.map

Prints the file size, the size of each section in the file, and, from the linker's map, the bytes
each library (and each of its biggest members) put into the sections that are loaded, .bss aside.
The map is written by every link of zorvik.exe; it counts before alignment to the 512-byte file
blocks, so its total is a little under the file's.
"""
import collections
import os
import re
import signal
import sys

import pefile


def section_names(pe):
    strings = pe.FILE_HEADER.PointerToSymbolTable + 18 * pe.FILE_HEADER.NumberOfSymbols
    for section in pe.sections:
        name = section.Name.rstrip(b"\0")
        if name.startswith(b"/"):
            start = strings + int(name[1:])
            name = pe.__data__[start:pe.__data__.find(b"\0", start)]
        yield name.decode(), section


def contributions(map_path):
    """{(file, output section): bytes} for the input sections the map places in loaded sections."""
    text = open(map_path, encoding="utf-8", errors="replace").read()
    lines = text[text.index("Linker script and memory map"):].splitlines()
    found = collections.Counter()
    output = None
    pending = None  # an input section name too long to share its line with address and size
    for line in lines:
        head = re.match(r"^(\S+)", line)
        if head:
            output = head.group(1)
            pending = None
            continue
        whole = re.match(r"^ (\.\S+)\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*)$", line)
        rest = re.match(r"^\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*)$", line)
        if re.match(r"^ (\.\S+)\s*$", line):
            pending = line.strip()
            continue
        if whole:
            _, address, size, source = whole.groups()
        elif rest and pending:
            address, size, source = rest.groups()
        else:
            pending = None
            continue
        pending = None
        loaded = output and not output.startswith((".debug", ".zdebug", "/DISCARD/", ".bss"))
        if loaded and int(address, 16) and int(size, 16):
            found[(source, output)] += int(size, 16)
    return found


def library(source):
    """libstdc++.a(string-inst.o) -> (libstdc++.a, string-inst.o); crt2.o -> (crt2.o, '')."""
    if source == "dll stuff":
        return "base relocations", ""
    match = re.match(r"^(.*?)\((.*)\)$", source)
    if match:
        return os.path.basename(match.group(1)), match.group(2)
    return os.path.basename(source), ""


def main():
    signal.signal(signal.SIGPIPE, signal.SIG_DFL)  # quiet under | head
    exe = sys.argv[1] if len(sys.argv) > 1 else "build/zorvik.exe"
    map_path = sys.argv[2] if len(sys.argv) > 2 else "build/win32/zorvik.map"
    pe = pefile.PE(exe, fast_load=True)
    print(f"{exe}: {os.path.getsize(exe)} bytes")
    print()
    print("| section | bytes in the file |")
    print("|---|---|")
    for name, section in section_names(pe):
        print(f"| {name} | {section.SizeOfRawData} |")
    if not os.path.exists(map_path):
        return
    found = contributions(map_path)
    by_library = collections.Counter()
    by_member = collections.Counter()
    for (source, output), size in found.items():
        lib, member = library(source)
        by_library[lib] += size
        if member:
            by_member[f"{lib}({member})"] += size
    total = sum(by_library.values())
    print()
    print(f"From the map ({map_path}): {total} bytes in loaded sections")
    print()
    print("| from | bytes | share |")
    print("|---|---|---|")
    for lib, size in by_library.most_common(12):
        print(f"| {lib} | {size} | {100 * size / total:.0f} % |")
    print()
    print("| biggest members | bytes |")
    print("|---|---|")
    for member, size in by_member.most_common(12):
        print(f"| {member} | {size} |")


if __name__ == "__main__":
    main()
