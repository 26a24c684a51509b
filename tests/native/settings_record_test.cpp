// The 24-byte settings record against hand-written files, the defaults, and the repair of
// values that a damaged or foreign file can carry.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstring>

#include "zorvik/settings/settings_record.h"

namespace {

using Bytes = std::array<unsigned char, kSettingsSize>;

Bytes Encoded(const SettingsRecord& s)
{
    Bytes b{};
    EncodeSettings(s, b.data());
    return b;
}

// Unary plus copies each field: a packed member must not be bound to a reference.
void ExpectSameFields(const SettingsRecord& a, const SettingsRecord& b)
{
    EXPECT_EQ(+a.Left, +b.Left);
    EXPECT_EQ(+a.Top, +b.Top);
    EXPECT_EQ(+a.Width, +b.Width);
    EXPECT_EQ(+a.Height, +b.Height);
    EXPECT_EQ(+a.Zoom, +b.Zoom);
    EXPECT_EQ(+a.ShowGrid, +b.ShowGrid);
    EXPECT_EQ(+a.GridStyle, +b.GridStyle);
    EXPECT_EQ(+a.ShowSubgrid, +b.ShowSubgrid);
    EXPECT_EQ(+a.TopMost, +b.TopMost);
}

const Bytes kDefaultFile = {0x4b, 0, 0, 0, 0x4b, 0, 0, 0, 0xd7, 0, 0, 0, 0xeb, 0, 0, 0,
                            0x06, 0x01, 0x66, 0, 0, 0, 0x01, 0x00};

TEST(SettingsRecord, FilesByteForByte)
{
    const struct {
        SettingsRecord record;
        Bytes file;
    } rows[] = {
        {{75, 75, 215, 235, 6, 1, 102, 1, 0}, kDefaultFile},
        // Negative position, booleans stored as 2 kept as they are.
        {{-1, -1280, 300, 400, 20, 0, 104, 2, 2},
         {0xff, 0xff, 0xff, 0xff, 0x00, 0xfb, 0xff, 0xff, 0x2c, 0x01, 0, 0, 0x90, 0x01, 0, 0,
          0x14, 0x00, 0x68, 0, 0, 0, 0x02, 0x02}},
        // Extremes; a style with every byte different shows the unaligned field's byte order.
        {{INT32_MIN, INT32_MAX, 0, -5, -1, 1, 0x01020304, 0, 1},
         {0, 0, 0, 0x80, 0xff, 0xff, 0xff, 0x7f, 0, 0, 0, 0, 0xfb, 0xff, 0xff, 0xff,
          0xff, 0x01, 0x04, 0x03, 0x02, 0x01, 0x00, 0x01}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "Left " << r.record.Left);
        EXPECT_EQ(Encoded(r.record), r.file);
        ExpectSameFields(DecodeSettings(r.file.data()), r.record);
    }
}

TEST(SettingsRecord, DecodeThenEncodeKeepsEveryByte)
{
    Bytes file;
    for (size_t i = 0; i < file.size(); ++i) file[i] = static_cast<unsigned char>(0xA0 + i * 3);
    EXPECT_EQ(Encoded(DecodeSettings(file.data())), file);
}

TEST(ApplyDefaultSettings, OverwritesAllButTopMost)
{
    Bytes junk;
    junk.fill(0xAB);
    SettingsRecord s = DecodeSettings(junk.data());
    ApplyDefaultSettings(s);
    Bytes want = kDefaultFile;
    want[23] = 0xAB;
    EXPECT_EQ(Encoded(s), want);
}

TEST(RepairLoadedSettings, ReplacesOnlyZoomAndStyleOutsideTheirSets)
{
    const struct {
        int8_t zoom;
        int32_t style;
        int8_t wantZoom;
        int32_t wantStyle;
        bool changed;
    } rows[] = {
        {1, 102, 1, 102, false},   {2, 103, 2, 103, false},   {3, 104, 3, 104, false},
        {4, 102, 4, 102, false},   {6, 102, 6, 102, false},   {8, 102, 8, 102, false},
        {10, 102, 10, 102, false}, {12, 102, 12, 102, false}, {16, 102, 16, 102, false},
        {20, 104, 20, 104, false},
        {0, 102, 6, 102, true},    {5, 103, 6, 103, true},    {7, 104, 6, 104, true},
        {-6, 102, 6, 102, true},   {21, 102, 6, 102, true},   {127, 102, 6, 102, true},
        {-128, 102, 6, 102, true},
        {20, 0, 20, 102, true},    {20, 101, 20, 102, true},  {20, 105, 20, 102, true},
        {20, 110, 20, 102, true},  {20, -102, 20, 102, true}, {20, 0x01000066, 20, 102, true},
        {0, 0, 6, 102, true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "zoom " << int(r.zoom) << " style " << r.style);
        // Width 0 and booleans of 2 are odd too, but not ours to change.
        const SettingsRecord loaded = {-1280, -15, 0, -3, r.zoom, 2, r.style, 2, 2};
        SettingsRecord s = loaded;
        EXPECT_EQ(RepairLoadedSettings(s), r.changed);
        SettingsRecord want = loaded;
        want.Zoom = r.wantZoom;
        want.GridStyle = r.wantStyle;
        ExpectSameFields(s, want);
    }
}

TEST(StoredWindowRect, RightAndBottomSaturate)
{
    const struct {
        int32_t left, top, width, height;
        StoredRect want;
    } rows[] = {
        {75, 75, 215, 235, {75, 75, 290, 310}},
        {-1280, -100, 1280, 1024, {-1280, -100, 0, 924}},
        {10, 10, -30, 0, {10, 10, -20, 10}},
        {INT32_MAX - 10, 0, 100, 50, {INT32_MAX - 10, 0, INT32_MAX, 50}},
        {2000000000, 2000000000, 2000000000, 2000000000, {2000000000, 2000000000, INT32_MAX, INT32_MAX}},
        {INT32_MIN + 5, INT32_MIN + 5, -100, -6, {INT32_MIN + 5, INT32_MIN + 5, INT32_MIN, INT32_MIN}},
    };
    for (const auto& r : rows) {
        SettingsRecord s = {r.left, r.top, r.width, r.height, 6, 1, 102, 1, 0};
        const StoredRect got = StoredWindowRect(s);
        EXPECT_EQ(got.left, r.want.left) << r.left;
        EXPECT_EQ(got.top, r.want.top) << r.left;
        EXPECT_EQ(got.right, r.want.right) << r.left;
        EXPECT_EQ(got.bottom, r.want.bottom) << r.left;
    }
}

}  // namespace
