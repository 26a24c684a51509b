// The zoom table, zoom stepping and the grid styles' pen colour and mix mode.
#include <gtest/gtest.h>

#include "zorvik/commands/command_ids.h"

namespace {

TEST(ZoomTableIndex, PositionOfEachFactorElseMinusOne)
{
    const int factors[kZoomCount] = {1, 2, 3, 4, 6, 8, 10, 12, 16, 20};
    for (int i = 0; i < kZoomCount; ++i) EXPECT_EQ(ZoomTableIndex(factors[i]), i) << factors[i];
    for (int zoom : {0, -1, 5, 7, 9, 11, 13, 14, 15, 17, 18, 19, 21, 40, 256 + 6})
        EXPECT_EQ(ZoomTableIndex(zoom), -1) << zoom;
}

TEST(ZoomStepTarget, OneStepKeptInsideTheMenu)
{
    const struct {
        int position, direction, want;
    } rows[] = {
        {4, 1, 5},   {4, -1, 3},   {4, 120, 5},  {4, -120, 3},  // wheel deltas
        {4, 0, 3},                                               // 0 counts as down
        {9, 1, 9},   {9, -1, 8},   {0, -1, 0},   {0, 1, 1},     // ends; 0 is also "no mark"
        {8, 1, 9},   {1, -1, 0},
    };
    for (const auto& r : rows)
        EXPECT_EQ(ZoomStepTarget(r.position, r.direction, kZoomCount), r.want) << r.position << " " << r.direction;
}

TEST(GridStyleLookFor, ColourAndMixModePerStyle)
{
    const struct {
        int style;
        bool known;
        uint32_t color;
        int32_t mix;
    } rows[] = {
        {102, true, 0x999999, 13},
        {103, true, 0x000000, 6},
        {104, true, 0xCCCCCC, 9},
        {0, false, 0, 0},   {101, false, 0, 0}, {105, false, 0, 0},
        {110, false, 0, 0}, {-102, false, 0, 0},
    };
    for (const auto& r : rows) {
        GridStyleLook look = {0x123456, 77};
        EXPECT_EQ(GridStyleLookFor(r.style, &look), r.known) << r.style;
        EXPECT_EQ(look.Color, r.known ? r.color : 0x123456u) << r.style;
        EXPECT_EQ(look.MixMode, r.known ? r.mix : 77) << r.style;
    }
}

}  // namespace
