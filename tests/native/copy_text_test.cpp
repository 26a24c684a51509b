// What each copy command puts on the clipboard: bare decimal or six hex digits, nothing else.
#include <gtest/gtest.h>

#include "zorvik/commands/copy_text.h"

namespace {

constexpr PixelSample kWhite = {255, 255, 255, 0xFFFFFF};
constexpr PixelSample kBlue = {0, 0, 255, 0x0000FF};
constexpr PixelSample kBlack = {0, 0, 0, 0};
constexpr PixelSample kDimRed = {7, 0, 0, 0x070000};
constexpr PixelSample kOrange = {255, 128, 0, 0xFF8000};

TEST(CopyText, ColourCommands)
{
    const struct {
        int id;
        PixelSample pixel;
        const char* text;
    } rows[] = {
        {201, kWhite, "255"},  {202, kWhite, "255"}, {203, kWhite, "255"}, {204, kWhite, "ffffff"},
        {201, kBlue, "0"},     {203, kBlue, "255"},  {204, kBlue, "0000ff"},
        {204, kBlack, "000000"},
        {201, kDimRed, "7"},   {204, kDimRed, "070000"},
        {201, kOrange, "255"}, {202, kOrange, "128"}, {203, kOrange, "0"}, {204, kOrange, "ff8000"},
    };
    for (const auto& r : rows) EXPECT_EQ(CopyText(r.id, r.pixel, {0, 0}, {0, 0}), r.text) << r.id;
}

TEST(CopyText, WidthAndHeightCountBothEnds)
{
    const struct {
        ScreenPoint capture, origin;
        const char* width;
        const char* height;
    } rows[] = {
        {{50, 60}, {50, 60}, "1", "1"},
        {{100, 40}, {0, 0}, "101", "41"},
        {{-5, 0}, {0, 0}, "6", "1"},
        {{90, 40}, {100, 50}, "11", "11"},
        {{-1280, -15}, {1013, 20}, "2294", "36"},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(CopyText(210, kOrange, r.capture, r.origin), r.width);
        EXPECT_EQ(CopyText(211, kOrange, r.capture, r.origin), r.height);
    }
}

TEST(CopyText, OtherIdsGiveNothing)
{
    for (int id : {0, -1, 1, 101, 200, 205, 209, 212, 401, 702})
        EXPECT_EQ(CopyText(id, kOrange, {100, 40}, {0, 0}), "") << id;
}

}  // namespace
