// Layout numbers: the hand-worked windows, the invariants every zoom must keep, and the
// windows too small to hold an image.
#include <gtest/gtest.h>

#include <climits>

#include "zorvik/view/layout_calc.h"

namespace {

constexpr int32_t kZooms[] = {1, 2, 3, 4, 6, 8, 10, 12, 16, 20};

TEST(ComputeLayout, HandWorkedWindows)
{
    const struct {
        int32_t clientW, clientH, lineH, zoom;
        int32_t statusTop, srcW, srcH, scaledW, scaledH, offX, offY, cellX, cellY;
    } rows[] = {
        // 199 / 6 -> 34 columns, 151 / 6 -> 26 rows; the cell past its grid lines is 16 * 6 + 1.
        {199, 196, 15, 6, 151, 34, 26, 204, 156, 16, 12, 97, 73},
        // Same window at 20: 10 columns, 8 rows, (5 - 1) * 20 + 1.
        {199, 196, 15, 20, 151, 10, 8, 200, 160, 4, 3, 81, 61},
        // Zoom 1: the block is the image area itself, no marker offset.
        {199, 196, 15, 1, 151, 199, 151, 199, 151, 99, 75, 99, 75},
        // Zoom 2: 100 x 76, still no offset (crosshair zooms).
        {199, 196, 15, 2, 151, 100, 76, 200, 152, 49, 37, 98, 74},
        // Zoom 3, the first with grid lines: 67 x 51.
        {199, 196, 15, 3, 151, 67, 51, 201, 153, 33, 25, 100, 76},
        // Exact multiples leave nothing over: 198 / 6 = 33 columns, 16 on each side of the
        // capture point (34 above leaves 16 left and 17 right).
        {198, 180, 10, 6, 150, 33, 25, 198, 150, 16, 12, 97, 73},
        // Another line height moves only the status top.
        {120, 100, 20, 4, 40, 30, 10, 120, 40, 14, 4, 57, 17},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.clientW << "x" << r.clientH << " zoom " << r.zoom);
        const LayoutNumbers L = ComputeLayout(r.clientW, r.clientH, r.lineH, r.zoom);
        EXPECT_EQ(L.ClientWidth, r.clientW);
        EXPECT_EQ(L.ClientHeight, r.clientH);
        EXPECT_EQ(L.StatusTop, r.statusTop);
        EXPECT_EQ(L.SourceWidth, r.srcW);
        EXPECT_EQ(L.SourceHeight, r.srcH);
        EXPECT_EQ(L.ScaledWidth, r.scaledW);
        EXPECT_EQ(L.ScaledHeight, r.scaledH);
        EXPECT_EQ(L.Columns, r.srcW);
        EXPECT_EQ(L.Rows, r.srcH);
        EXPECT_EQ(L.CenterOffsetX, r.offX);
        EXPECT_EQ(L.CenterOffsetY, r.offY);
        EXPECT_EQ(L.CenterCellX, r.cellX);
        EXPECT_EQ(L.CenterCellY, r.cellY);
        EXPECT_EQ(L.BitmapWidth, r.clientW);
        EXPECT_EQ(L.BitmapHeight, r.clientH);
    }
}

// Every zoom over a spread of sizes: the block just covers the image area, the capture point
// is the middle (or left/upper middle) pixel, and the sample point lies inside its cell.
TEST(ComputeLayout, InvariantsAtEveryZoom)
{
    for (int32_t zoom : kZooms) {
        const int32_t e = zoom >= 3 ? 1 : 0;
        for (int32_t w = 1; w <= 260; w += 7) {
            for (int32_t h = 46; h <= 300; h += 11) {
                SCOPED_TRACE(testing::Message() << w << "x" << h << " zoom " << zoom);
                const LayoutNumbers L = ComputeLayout(w, h, 15, zoom);
                const int32_t imageH = h - 45;
                ASSERT_EQ(L.StatusTop, imageH);
                EXPECT_EQ(L.ScaledWidth, L.SourceWidth * zoom);
                EXPECT_EQ(L.ScaledHeight, L.SourceHeight * zoom);
                EXPECT_GE(L.ScaledWidth, w);
                EXPECT_GT(w, L.ScaledWidth - zoom);
                EXPECT_GE(L.ScaledHeight, imageH);
                EXPECT_GT(imageH, L.ScaledHeight - zoom);
                EXPECT_EQ(L.Columns, L.SourceWidth);
                EXPECT_EQ(L.Rows, L.SourceHeight);
                const int32_t sideX = L.SourceWidth - 1 - 2 * L.CenterOffsetX;
                const int32_t sideY = L.SourceHeight - 1 - 2 * L.CenterOffsetY;
                EXPECT_TRUE(sideX == 0 || sideX == 1) << sideX;
                EXPECT_TRUE(sideY == 0 || sideY == 1) << sideY;
                EXPECT_EQ(L.CenterCellX, L.CenterOffsetX * zoom + e);
                EXPECT_EQ(L.CenterCellY, L.CenterOffsetY * zoom + e);
                EXPECT_EQ(L.BitmapWidth, w);
                EXPECT_EQ(L.BitmapHeight, h);
            }
        }
    }
}

// A minimised window reports a 0 x 0 client; a tall frame can leave no image area. Neither may
// give an empty block or bitmap.
TEST(ComputeLayout, NoImageAreaStillGivesOnePixel)
{
    const struct {
        int32_t clientW, clientH, lineH, zoom;
        int32_t statusTop, srcW, srcH, bmpW, bmpH;
    } rows[] = {
        {0, 0, 15, 6, -45, 1, 1, 1, 1},
        {0, 0, 15, 1, -45, 1, 1, 1, 1},
        {0, 0, 15, 20, -45, 1, 1, 1, 1},
        {199, 45, 15, 6, 0, 34, 1, 199, 45},
        {199, 30, 15, 6, -15, 34, 1, 199, 30},
        {0, 196, 15, 3, 151, 1, 51, 1, 196},
        {-8, -8, 15, 2, -53, 1, 1, 1, 1},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.clientW << "x" << r.clientH << " zoom " << r.zoom);
        const LayoutNumbers L = ComputeLayout(r.clientW, r.clientH, r.lineH, r.zoom);
        EXPECT_EQ(L.StatusTop, r.statusTop);
        EXPECT_EQ(L.SourceWidth, r.srcW);
        EXPECT_EQ(L.SourceHeight, r.srcH);
        EXPECT_EQ(L.ScaledWidth, r.srcW * r.zoom);
        EXPECT_EQ(L.ScaledHeight, r.srcH * r.zoom);
        EXPECT_EQ(L.BitmapWidth, r.bmpW);
        EXPECT_EQ(L.BitmapHeight, r.bmpH);
        EXPECT_GE(L.CenterOffsetX, 0);
        EXPECT_GE(L.CenterOffsetY, 0);
    }
}

TEST(MarkerGapFor, OneForCrosshairZoomsTwoForGridZooms)
{
    for (int32_t zoom : kZooms) EXPECT_EQ(MarkerGapFor(zoom), zoom < 3 ? 1 : 2) << zoom;
}

TEST(EnforceMinimumSize, RaisesToFiftyThreeLinesPlusFiftyAndTheFramePlusAWholeCell)
{
    const struct {
        int32_t w, h, frameW, frameH, lineH, wantW, wantH;
    } rows[] = {
        // Wine 8's frame at 100 %: 8 wide, 27 high; three lines plus 50 is the larger.
        {215, 235, 8, 27, 15, 215, 235},
        {50, 95, 8, 27, 15, 50, 95},
        {49, 94, 8, 27, 15, 50, 95},
        {49, 300, 8, 27, 15, 50, 300},
        {300, 94, 8, 27, 15, 300, 95},
        {0, 0, 8, 27, 15, 50, 95},
        {-20, -20, 8, 27, 15, 50, 95},
        {100, 56, 8, 27, 2, 100, 56},
        {100, 55, 0, 0, 2, 100, 56},
        {INT32_MIN, INT32_MIN, 8, 27, 15, 50, 95},
        // Wine 10's frame at 100 % is 34 high: 34 + 45 + 20 above 45 + 50.
        {215, 20, 8, 34, 15, 215, 99},
        // Wine 8 at 200 %: 47 + 84 + 20 above 84 + 50.
        {215, 100, 10, 47, 28, 215, 151},
        {215, 151, 10, 47, 28, 215, 151},
        // Windows 10 at 200 %: caption and frames about 78 high and 32 wide.
        {40, 20, 32, 78, 28, 52, 182},
        // A frame height of exactly 30 makes both rules meet.
        {300, 10, 8, 30, 15, 300, 95},
    };
    for (const auto& r : rows) {
        const OuterSize s = EnforceMinimumSize({r.w, r.h}, {r.frameW, r.frameH}, r.lineH);
        EXPECT_EQ(s.Width, r.wantW) << r.w << "x" << r.h << " frame " << r.frameW << "x" << r.frameH;
        EXPECT_EQ(s.Height, r.wantH) << r.w << "x" << r.h << " frame " << r.frameW << "x" << r.frameH;
    }
}

// The smallest window, whatever its frame and font: the whole capture-point cell lies inside the
// image area at every zoom, so the colour is never sampled from the status area.
TEST(EnforceMinimumSize, TheSmallestWindowHoldsTheCapturePointCellAtEveryZoom)
{
    for (int32_t lineH = 2; lineH <= 40; lineH += 3) {
        for (int32_t frameH = 0; frameH <= 140; frameH += 7) {
            const int32_t frameW = frameH / 2;
            const OuterSize s = EnforceMinimumSize({0, 0}, {frameW, frameH}, lineH);
            for (int32_t zoom : kZooms) {
                SCOPED_TRACE(testing::Message() << "line " << lineH << " frame " << frameW << "x" << frameH
                                                << " zoom " << zoom);
                const LayoutNumbers L = ComputeLayout(s.Width - frameW, s.Height - frameH, lineH, zoom);
                EXPECT_LE((L.CenterOffsetX + 1) * zoom, L.ClientWidth);
                EXPECT_LE((L.CenterOffsetY + 1) * zoom, L.StatusTop);
            }
        }
    }
}

}  // namespace
