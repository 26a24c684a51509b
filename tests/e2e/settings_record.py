"""zorvik.dat as the program stores it, packed here on its own terms: 24 bytes, little-endian, the
grid style unaligned at offset 18."""
import os
import struct

# Left, Top, Width, Height, Zoom, ShowGrid, GridStyle, ShowSubgrid, TopMost.
RECORD = "<iiiibBiBB"


def settings_record(left=75, top=75, width=215, height=235, zoom=6, grid=1, style=102, subgrid=1, topmost=0):
    return struct.pack(RECORD, left, top, width, height, zoom, grid, style, subgrid, topmost)


def write_settings(folder, data):
    with open(os.path.join(folder, "zorvik.dat"), "wb") as f:
        f.write(data)
