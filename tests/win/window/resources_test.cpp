// The window and what it owns once start-up has run with the default settings.
#include <windows.h>

#include <gtest/gtest.h>

#include "app_helpers.h"
#include "test_app.h"

namespace {

using WindowResources = AppTest;

TEST_F(WindowResources, TheBackBufferHasTheGuiFontTheWindowColoursAndItsLineHeight)
{
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SIZE zero = {};
    ASSERT_TRUE(GetTextExtentPoint32A(dc, "0", 1, &zero));
    DeleteDC(dc);
    EXPECT_GT(zero.cy, 0);
    EXPECT_EQ(AppState.LineHeight, zero.cy + 2);

    HDC view = AppState.ViewDC;
    ASSERT_EQ(GetObjectType(view), static_cast<DWORD>(OBJ_MEMDC));
    ASSERT_EQ(GetObjectType(AppState.CaptureDC), static_cast<DWORD>(OBJ_MEMDC));
    EXPECT_EQ(GetCurrentObject(view, OBJ_FONT), GetStockObject(DEFAULT_GUI_FONT));
    EXPECT_EQ(GetTextColor(view), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(GetBkColor(view), GetSysColor(COLOR_WINDOW));
}

TEST_F(WindowResources, TheDefaultSettingsAreMarked)
{
    EXPECT_EQ(CheckedIds(AppState.ZoomMenu), std::vector<UINT>{6});
    EXPECT_EQ(CheckedIds(AppState.GridMenu), (std::vector<UINT>{ID_GRID, ID_GRID_GRAY, ID_SUBGRID}));
    EXPECT_EQ(CheckedIds(AppState.MainMenu), std::vector<UINT>{});  // neither paused nor on top
    EXPECT_EQ(CheckedIds(AppState.CopyMenu), std::vector<UINT>{});
    EXPECT_EQ(AppState.GridColor, 0x999999u);
    EXPECT_EQ(AppState.GridMixMode, R2_COPYPEN);
    EXPECT_FALSE(IsTopMost());
}

TEST_F(WindowResources, TheCaptureTimerDeliversTicks)
{
    MSG tick = {};
    EXPECT_TRUE(PumpUntil([&tick] {
        return PeekMessageA(&tick, MainWindow, WM_TIMER, WM_TIMER, PM_REMOVE) && tick.wParam == ID_CAPTURE_TIMER;
    }));
    EXPECT_TRUE(KillTimer(MainWindow, ID_CAPTURE_TIMER));
}

TEST_F(WindowResources, TheWindowHasItsClassCaptionAndStyle)
{
    char text[64] = {};
    GetClassNameA(MainWindow, text, sizeof text);
    EXPECT_STREQ(text, "TApp_Zorvik");
    GetWindowTextA(MainWindow, text, sizeof text);
    EXPECT_STREQ(text, "K-VEX");
    const DWORD style = static_cast<DWORD>(GetWindowLongA(MainWindow, GWL_STYLE));
    EXPECT_EQ(style & 0x90CE0000u, 0x90CE0000u);  // pop-up, visible, caption, system menu, frame, minimize box
    EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_CHILD), 0u);
    EXPECT_EQ(GetClassLongA(MainWindow, GCL_STYLE), CS_VREDRAW | CS_HREDRAW | CS_OWNDC);
}

}  // namespace
