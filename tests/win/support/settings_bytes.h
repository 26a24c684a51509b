// zorvik.dat laid out byte by byte, independently of the program's own record.
#pragma once

#include <cstdint>
#include <vector>

struct StoredSettings {
    int32_t Left = 75;
    int32_t Top = 75;
    int32_t Width = 215;
    int32_t Height = 235;
    int8_t Zoom = 6;
    uint8_t ShowGrid = 1;
    int32_t GridStyle = 102;
    uint8_t ShowSubgrid = 1;
    uint8_t TopMost = 0;
};

// 24 bytes, little-endian: four int32, zoom at 16, grid at 17, style at 18 (unaligned), subgrid, topmost.
inline std::vector<unsigned char> FileBytes(const StoredSettings& s)
{
    std::vector<unsigned char> b;
    auto put32 = [&b](int32_t v) {
        const uint32_t u = static_cast<uint32_t>(v);
        for (int shift = 0; shift < 32; shift += 8) b.push_back(static_cast<unsigned char>(u >> shift));
    };
    put32(s.Left);
    put32(s.Top);
    put32(s.Width);
    put32(s.Height);
    b.push_back(static_cast<unsigned char>(s.Zoom));
    b.push_back(s.ShowGrid);
    put32(s.GridStyle);
    b.push_back(s.ShowSubgrid);
    b.push_back(s.TopMost);
    return b;
}
