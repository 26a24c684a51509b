// Idle skip, panning and the paused capture point's bounds.
#include <gtest/gtest.h>

#include "zorvik/view/capture_math.h"

namespace {

TEST(IsIdleTick, SkipsOnlyAnUnmovedCursorWithinOneSecond)
{
    const struct {
        ScreenPoint cursor, capture;
        uint32_t last, now;
        bool skip;
    } rows[] = {
        {{10, 20}, {10, 20}, 5000, 5000, true},
        {{10, 20}, {10, 20}, 5000, 6000, true},   // exactly 1000 ms
        {{10, 20}, {10, 20}, 5000, 6001, false},
        {{10, 20}, {10, 20}, 5000, 4000, true},   // the difference counts by its size
        {{10, 20}, {10, 20}, 5000, 3999, false},
        {{11, 20}, {10, 20}, 5000, 5001, false},  // moved one pixel
        {{10, 19}, {10, 20}, 5000, 5001, false},
        {{10, 20}, {10, 20}, 0, 100, false},      // 0: the next render must draw
        {{10, 20}, {10, 20}, 0, 0, false},
        {{-5, -5}, {-5, -5}, 0xFFFFFF00u, 0x00000100u, true},  // GetTickCount wrapped: 512 ms
        {{0, 0}, {0, 0}, 0xFFFFFFFFu, 999u, true},             // 1000 ms across the wrap
        {{0, 0}, {0, 0}, 0xFFFFFFFFu, 1000u, false},
        {{0, 0}, {0, 0}, 0xFFFFFC00u, 0x00000010u, false},     // 1040 ms across the wrap
        {{0, 0}, {0, 0}, 1u, 0x80000001u, false},              // half the counter apart
    };
    for (const auto& r : rows)
        EXPECT_EQ(IsIdleTick(r.cursor, r.capture, r.last, r.now), r.skip) << std::hex << r.last << " " << r.now;
}

// Pointer moved by (dx, dy) client pixels from where the button went down.
TEST(PannedCapturePoint, ImageFollowsTheHandHalvesAwayFromZero)
{
    const struct {
        ScreenPoint pressCapture;
        int32_t dx, dy, zoom;
        ScreenPoint want;
    } rows[] = {
        {{500, 300}, -3, 0, 2, {502, 300}},  // -1.5 -> -2
        {{500, 300}, 3, 0, 2, {498, 300}},   // 1.5 -> 2
        {{500, 300}, 0, -1, 2, {500, 301}},  // -0.5 -> -1
        {{500, 300}, 6, 2, 6, {499, 300}},   // 1 and 0.33
        {{500, 300}, 3, -3, 6, {499, 301}},  // 0.5 and -0.5
        {{500, 300}, 0, -7, 1, {500, 307}},
        {{-1280, -15}, -4, 5, 3, {-1279, -17}},  // -1.33 -> -1, 1.67 -> 2
        {{0, 0}, 10, 9, 20, {-1, 0}},            // 0.5 -> 1, 0.45 -> 0
        {{0, 0}, 0, 0, 20, {0, 0}},
    };
    for (const auto& r : rows) {
        const ScreenPoint press = {40, 60};
        const ScreenPoint p = PannedCapturePoint(r.pressCapture, press, {press.x + r.dx, press.y + r.dy}, r.zoom);
        EXPECT_EQ(p.x, r.want.x) << r.dx << "," << r.dy << " zoom " << r.zoom;
        EXPECT_EQ(p.y, r.want.y) << r.dx << "," << r.dy << " zoom " << r.zoom;
    }
}

TEST(ClampToSnapshot, RightAndBottomExclusive)
{
    const ScreenRect virtualScreen = {-1280, -200, 1920, 1080};
    const ScreenRect onePixel = {10, 10, 11, 11};
    const struct {
        const ScreenRect& snapshot;
        ScreenPoint p, want;
    } rows[] = {
        {virtualScreen, {0, 0}, {0, 0}},
        {virtualScreen, {1919, 1079}, {1919, 1079}},
        {virtualScreen, {1920, 1080}, {1919, 1079}},
        {virtualScreen, {-1280, -200}, {-1280, -200}},
        {virtualScreen, {-1281, -201}, {-1280, -200}},
        {virtualScreen, {5000, -5000}, {1919, -200}},
        {onePixel, {-3, 500}, {10, 10}},
    };
    for (const auto& r : rows) {
        const ScreenPoint p = ClampToSnapshot(r.p, r.snapshot);
        EXPECT_EQ(p.x, r.want.x) << r.p.x << "," << r.p.y;
        EXPECT_EQ(p.y, r.want.y) << r.p.x << "," << r.p.y;
    }
}

}  // namespace
