// Number formatting, rounding and clamping: the rows that catch off-by-one and sign mistakes.
#include <gtest/gtest.h>

#include <climits>

#include "general/numbers.h"

namespace {

struct Rect32 {
    int32_t left, top, right, bottom;
};

TEST(IntToDecimal, PlainDigitsWithoutPadding)
{
    const struct {
        int32_t value;
        const char* text;
    } rows[] = {
        {0, "0"}, {7, "7"}, {10, "10"}, {255, "255"}, {-1, "-1"}, {-17, "-17"},
        {2147483647, "2147483647"}, {INT32_MIN, "-2147483648"}, {1000000, "1000000"},
    };
    for (const auto& r : rows) EXPECT_EQ(IntToDecimal(r.value), r.text) << r.value;
}

TEST(IntToHex6, LowerCasePaddedToSixNeverCut)
{
    const struct {
        int32_t value;
        const char* text;
    } rows[] = {
        {0, "000000"}, {255, "0000ff"}, {0xFF8000, "ff8000"}, {0xFFFFFF, "ffffff"}, {0xABCDEF, "abcdef"},
        {0x10, "000010"}, {0x1000000, "1000000"}, {-1, "ffffffff"},
    };
    for (const auto& r : rows) EXPECT_EQ(IntToHex6(r.value), r.text) << r.value;
}

TEST(RoundHalfAway, HalvesGoAwayFromZero)
{
    const struct {
        long double x;
        int64_t rounded;
    } rows[] = {
        {0.5L, 1}, {1.5L, 2}, {2.5L, 3}, {-2.5L, -3}, {-0.5L, -1}, {-1.5L, -2}, {0.49L, 0}, {2.4L, 2},
        {-0.4L, 0}, {0.0L, 0}, {7.0L / 2, 4}, {-3.0L / 2, -2}, {-3.0L / 6, -1}, {3.0L / 6, 1}, {-2.0L / 6, 0},
    };
    for (const auto& r : rows) EXPECT_EQ(RoundHalfAway(r.x), r.rounded) << static_cast<double>(r.x);
}

TEST(CeilToInt, CeilingForEverySign)
{
    EXPECT_EQ(CeilToInt(2.0L), 2);
    EXPECT_EQ(CeilToInt(2.25L), 3);
    EXPECT_EQ(CeilToInt(-1.5L), -1);
    EXPECT_EQ(CeilToInt(-2.0L), -2);
    EXPECT_EQ(CeilToInt(-0.5L), 0);
    EXPECT_EQ(CeilToInt(100 * (1.0L / 3)), 34);
    EXPECT_EQ(CeilToInt(300 * (1.0L / 3)), 100);
}

TEST(CeilToInt, ScaledSizesEqualTheExactIntegerCeiling)
{
    // The layout's sizes: width x (1 / zoom) and back, for every width a window can have.
    for (int zoom : {1, 2, 3, 4, 6, 8, 10, 12, 16, 20}) {
        const long double factor = 1.0L / zoom;
        for (int64_t w = 0; w <= 4000; ++w) {
            ASSERT_EQ(CeilToInt(w * factor), (w + zoom - 1) / zoom) << w << "/" << zoom;
            ASSERT_EQ(CeilToInt(w * static_cast<long double>(zoom)), w * zoom);
        }
    }
}

TEST(Clamp, LowerBoundWins)
{
    EXPECT_EQ(Clamp(5, 0, 10), 5);
    EXPECT_EQ(Clamp(-3, 0, 10), 0);
    EXPECT_EQ(Clamp(12, 0, 10), 10);
    EXPECT_EQ(Clamp(7, 4, 4), 4);
    EXPECT_EQ(Clamp(3, 10, 5), 10);
    EXPECT_EQ(Clamp(12, 10, 5), 5);
    EXPECT_EQ(Clamp(INT32_MIN, INT32_MIN, INT32_MAX), INT32_MIN);
}

TEST(RectSize, SignedWithoutNormalising)
{
    EXPECT_EQ(RectWidth(Rect32{10, 20, 5, 30}), -5);
    EXPECT_EQ(RectHeight(Rect32{10, 20, 5, 30}), 10);
    EXPECT_EQ(RectWidth(Rect32{-800, 0, 1280, 960}), 2080);
    EXPECT_EQ(RectHeight(Rect32{0, -600, 0, 0}), 600);
}

}  // namespace
