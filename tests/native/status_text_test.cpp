// The three status lines byte for byte (the Japanese pieces as their code page 932 bytes) and
// the colour sample they report.
#include <gtest/gtest.h>

#include <climits>

#include "zorvik/view/status_text.h"

namespace {

// "倍 " and ") [Spc=原点]"
#define TIMES_BYTES "\x94\x7b "
#define ORIGIN_TAIL ") [Spc=\x8c\xb4\x93\x5f]"

TEST(PixelFromColorref, SplitsBGRAndPacksInHtmlOrder)
{
    const struct {
        uint32_t colorref;
        int red, green, blue;
        uint32_t rgb;
    } rows[] = {
        {0x000080FF, 255, 128, 0, 0xFF8000},
        {0x00FF0000, 0, 0, 255, 0x0000FF},
        {0x000000FF, 255, 0, 0, 0xFF0000},
        {0x00123456, 0x56, 0x34, 0x12, 0x563412},
        {0x00000000, 0, 0, 0, 0},
        {0x00FFFFFF, 255, 255, 255, 0xFFFFFF},
        {0x01ABCDEF, 0xEF, 0xCD, 0xAB, 0xEFCDAB},  // bits above 23 play no part
        {kInvalidColor, 255, 255, 255, 0xFFFFFF},  // a failed GetPixel
    };
    for (const auto& r : rows) {
        const PixelSample p = PixelFromColorref(r.colorref);
        EXPECT_EQ(p.Red, r.red) << std::hex << r.colorref;
        EXPECT_EQ(p.Green, r.green) << std::hex << r.colorref;
        EXPECT_EQ(p.Blue, r.blue) << std::hex << r.colorref;
        EXPECT_EQ(p.RGB, r.rgb) << std::hex << r.colorref;
    }
}

TEST(StatusColourLine, HashHexThenDecimalComponents)
{
    const struct {
        PixelSample pixel;
        const char* text;
    } rows[] = {
        {{255, 128, 0, 0xFF8000}, "#ff8000 R=255 G=128 B=0"},
        {{0, 0, 255, 0x0000FF}, "#0000ff R=0 G=0 B=255"},
        {{7, 8, 9, 0x070809}, "#070809 R=7 G=8 B=9"},
        {{0, 0, 0, 0}, "#000000 R=0 G=0 B=0"},
        {{255, 255, 255, 0xFFFFFF}, "#ffffff R=255 G=255 B=255"},
    };
    for (const auto& r : rows) EXPECT_EQ(StatusColourLine(r.pixel), r.text);
}

TEST(StatusPositionLine, ZoomTimesThenCapturePoint)
{
    const struct {
        int zoom;
        ScreenPoint capture;
        const char* text;
    } rows[] = {
        {6, {1024, -15}, "6" TIMES_BYTES "(X=1024 Y=-15)"},
        {20, {-1280, 0}, "20" TIMES_BYTES "(X=-1280 Y=0)"},
        {1, {0, 0}, "1" TIMES_BYTES "(X=0 Y=0)"},
        {12, {-5, -2147483647}, "12" TIMES_BYTES "(X=-5 Y=-2147483647)"},
    };
    for (const auto& r : rows) EXPECT_EQ(StatusPositionLine(r.zoom, r.capture), r.text);
}

TEST(StatusMeasureLine, SpansBothEndsThenOriginAndSpaceHint)
{
    const struct {
        ScreenPoint capture, origin;
        const char* text;
    } rows[] = {
        {{1024, -15}, {1013, -15}, "W=12 H=1 (1013,-15" ORIGIN_TAIL},
        {{99, 49}, {0, 0}, "W=100 H=50 (0,0" ORIGIN_TAIL},
        {{90, 40}, {100, 50}, "W=11 H=11 (100,50" ORIGIN_TAIL},
        {{-1280, 5}, {10, 5}, "W=1291 H=1 (10,5" ORIGIN_TAIL},
        {{3, -3}, {-3, 3}, "W=7 H=7 (-3,3" ORIGIN_TAIL},
        {{7, 7}, {7, 7}, "W=1 H=1 (7,7" ORIGIN_TAIL},
    };
    for (const auto& r : rows) {
        const std::string line = StatusMeasureLine(r.capture, r.origin);
        EXPECT_EQ(line, r.text);
        ASSERT_GE(line.size(), 12u);
        EXPECT_EQ(line.substr(line.size() - 12), ORIGIN_TAIL);
    }
}

TEST(MeasuredSpan, SameFromEitherSideAndNeverOverflows)
{
    // Spans past INT32_MAX cannot be shown: they stop there, where 32-bit arithmetic would wrap
    // round to a small or negative number.
    const struct {
        int32_t a, b, span;
    } rows[] = {
        {0, 0, 1},
        {100, 0, 101},
        {-5, 0, 6},
        {-1, 1, 3},
        {-1280, 1919, 3200},
        {0, INT32_MAX - 1, INT32_MAX},
        {0, INT32_MAX, INT32_MAX},
        {-1, INT32_MAX, INT32_MAX},
        {INT32_MIN, 0, INT32_MAX},
        {INT32_MIN, INT32_MAX, INT32_MAX},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(MeasuredSpan(r.a, r.b), r.span) << r.a << " " << r.b;
        EXPECT_EQ(MeasuredSpan(r.b, r.a), r.span) << r.b << " " << r.a;
    }
}

}  // namespace
