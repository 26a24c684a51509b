#include "zorvik/settings/settings_record.h"

#include <cstdint>
#include <cstring>

#include "zorvik/commands/command_ids.h"

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__
#error "zorvik.dat is little-endian; the record is copied as it stands"
#endif

void ApplyDefaultSettings(SettingsRecord& s)
{
    s.Left = 75;
    s.Top = 75;
    s.Width = 215;
    s.Height = 235;
    s.Zoom = 6;
    s.ShowGrid = 1;
    s.GridStyle = ID_GRID_GRAY;
    s.ShowSubgrid = 1;
}

bool RepairLoadedSettings(SettingsRecord& s)
{
    bool changed = false;
    if (ZoomTableIndex(s.Zoom) < 0) {
        s.Zoom = 6;
        changed = true;
    }
    if (s.GridStyle < ID_GRID_GRAY || s.GridStyle > ID_GRID_TRANSLUCENT) {
        s.GridStyle = ID_GRID_GRAY;
        changed = true;
    }
    return changed;
}

// The record is the file's layout on every little-endian machine the program runs on.
void EncodeSettings(const SettingsRecord& s, unsigned char out[kSettingsSize])
{
    std::memcpy(out, &s, kSettingsSize);
}

SettingsRecord DecodeSettings(const unsigned char in[kSettingsSize])
{
    SettingsRecord s;
    std::memcpy(&s, in, kSettingsSize);
    return s;
}

namespace {
int32_t Saturate(int64_t v)
{
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(v);
}
}  // namespace

StoredRect StoredWindowRect(const SettingsRecord& s)
{
    return {s.Left, s.Top, Saturate(static_cast<int64_t>(s.Left) + s.Width),
            Saturate(static_cast<int64_t>(s.Top) + s.Height)};
}
