// The settings record: in memory exactly the 24 bytes of zorvik.dat (packed, little-endian).
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
struct SettingsRecord {
    int32_t Left;
    int32_t Top;
    int32_t Width;
    int32_t Height;
    int8_t Zoom;
    uint8_t ShowGrid;      // boolean byte: any non-zero value reads as true and is kept as stored
    int32_t GridStyle;     // unaligned, at offset 18
    uint8_t ShowSubgrid;
    uint8_t TopMost;
};
#pragma pack(pop)

constexpr std::size_t kSettingsSize = 24;
static_assert(sizeof(SettingsRecord) == kSettingsSize, "zorvik.dat holds exactly 24 bytes");
static_assert(offsetof(SettingsRecord, Zoom) == 16, "record layout");
static_assert(offsetof(SettingsRecord, ShowGrid) == 17, "record layout");
static_assert(offsetof(SettingsRecord, GridStyle) == 18, "record layout");
static_assert(offsetof(SettingsRecord, ShowSubgrid) == 22, "record layout");
static_assert(offsetof(SettingsRecord, TopMost) == 23, "record layout");

// Writes the start-up defaults field by field; TopMost is left as it is (zero on that path).
void ApplyDefaultSettings(SettingsRecord& s);

// A zoom outside the zoom table or a grid style outside 102..104 would divide by zero or draw
// with mix mode 0; such values are replaced by their defaults. Returns whether anything changed.
bool RepairLoadedSettings(SettingsRecord& s);

void EncodeSettings(const SettingsRecord& s, unsigned char out[kSettingsSize]);
SettingsRecord DecodeSettings(const unsigned char in[kSettingsSize]);

struct StoredRect {
    int32_t left, top, right, bottom;
};

// (Left, Top)-(Left + Width, Top + Height), saturated to 32 bits so that no stored value overflows.
StoredRect StoredWindowRect(const SettingsRecord& s);
