// The off-screen bitmaps: never more than one alive per device context, always in screen colours.
#include <windows.h>

#include <gtest/gtest.h>

#include "zorvik/view/view.h"

namespace {

class ScreenBitmap : public ::testing::Test {
protected:
    void SetUp() override { dc_ = CreateCompatibleDC(nullptr); }
    void TearDown() override
    {
        HGDIOBJ last = GetCurrentObject(dc_, OBJ_BITMAP);
        DeleteDC(dc_);
        DeleteObject(last);
    }

    HBITMAP Current() const { return static_cast<HBITMAP>(GetCurrentObject(dc_, OBJ_BITMAP)); }

    static BITMAP Describe(HBITMAP bitmap)
    {
        BITMAP b = {};
        EXPECT_EQ(GetObjectA(bitmap, sizeof b, &b), static_cast<int>(sizeof b));
        return b;
    }

    HDC dc_ = nullptr;
};

TEST_F(ScreenBitmap, TheNewBitmapHasTheSizeAndTheScreensColourDepth)
{
    HDC screen = GetDC(nullptr);
    const int screenBits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    ReleaseDC(nullptr, screen);
    ASSERT_GT(screenBits, 1);

    ReplaceScreenBitmap(dc_, 37, 21);
    const BITMAP b = Describe(Current());
    EXPECT_EQ(b.bmWidth, 37);
    EXPECT_EQ(b.bmHeight, 21);
    EXPECT_EQ(b.bmBitsPixel * b.bmPlanes, screenBits);  // not the 1-bit format of a fresh memory DC
}

TEST_F(ScreenBitmap, TwoCallsLeaveOnlyTheSecondBitmapAlive)
{
    ReplaceScreenBitmap(dc_, 10, 20);
    HBITMAP first = Current();
    ReplaceScreenBitmap(dc_, 30, 40);
    HBITMAP second = Current();

    ASSERT_NE(first, second);
    EXPECT_EQ(GetObjectType(first), 0u);
    EXPECT_EQ(GetObjectType(second), static_cast<DWORD>(OBJ_BITMAP));
    EXPECT_EQ(Describe(second).bmWidth, 30);
    EXPECT_EQ(Describe(second).bmHeight, 40);
}

TEST_F(ScreenBitmap, AFailedCreationLeavesTheDeviceContextAsItWas)
{
    ReplaceScreenBitmap(dc_, 12, 34);
    HBITMAP kept = Current();
    SetPixel(dc_, 3, 4, RGB(10, 200, 30));

    const struct {
        int Width, Height;
    } impossible[] = {{0x7fffffff, 0x7fffffff}, {0x10000000, 0x10000000}, {1, 0x7fffffff}};
    for (const auto& size : impossible) {
        SCOPED_TRACE(size.Width);
        ReplaceScreenBitmap(dc_, size.Width, size.Height);
        EXPECT_EQ(Current(), kept);
        EXPECT_EQ(GetObjectType(kept), static_cast<DWORD>(OBJ_BITMAP));
        EXPECT_EQ(GetPixel(dc_, 3, 4), RGB(10, 200, 30));
    }
}

}  // namespace
