// Start-up order, the exit codes, the end of the message loop and what Teardown releases.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app_helpers.h"
#include "system_at_hand.h"
#include "test_app.h"

namespace {

bool IsProgramWindow(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return std::strcmp(name, "TApp_Zorvik") == 0;
}

// A K-VEX the user has open is no concern of these tests.
HWND ProgramWindowOfThisProcess()
{
    for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "TApp_Zorvik", nullptr)) != nullptr;) {
        DWORD process = 0;
        GetWindowThreadProcessId(w, &process);
        if (process == GetCurrentProcessId()) return w;
    }
    return nullptr;
}

class StartUpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppState = AppStateRecord{};
        MainWindow = nullptr;
    }
    void TearDown() override { StopTestApp(); }
    ScratchDirectory dir_;
};

TEST_F(StartUpTest, AClassThatCannotBeRegisteredEndsWithOneBeforeTheSettingsAreRead)
{
    SettingsRecord stored = DefaultRecord();
    stored.Zoom = 12;
    dir_.Write("zorvik.dat", SettingsBytes(stored));
    WNDCLASSA taken = {};
    taken.lpfnWndProc = DefWindowProcA;
    taken.hInstance = GetModuleHandleA(nullptr);
    taken.lpszClassName = "TApp_Zorvik";
    ASSERT_NE(RegisterClassA(&taken), 0);

    EXPECT_EQ(RunZorvik(GetModuleHandleA(nullptr)), 1);
    EXPECT_EQ(AppState.AppSettings.Zoom, 0);  // the file was not read
    EXPECT_EQ(AppState.AppSettings.Width, 0);
    EXPECT_EQ(MainWindow, nullptr);
    EXPECT_EQ(ProgramWindowOfThisProcess(), nullptr);
    EXPECT_EQ(dir_.Read("zorvik.dat"), SettingsBytes(stored));
}

LRESULT CALLBACK RefuseProgramWindow(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && IsProgramWindow(reinterpret_cast<HWND>(wParam))) return 1;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(StartUpTest, AWindowThatCannotBeCreatedEndsWithOneAndWritesNothing)
{
    HHOOK hook = SetWindowsHookExA(WH_CBT, RefuseProgramWindow, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    const int code = RunZorvik(GetModuleHandleA(nullptr));
    UnhookWindowsHookEx(hook);

    EXPECT_EQ(code, 1);
    EXPECT_EQ(MainWindow, nullptr);
    EXPECT_EQ(AppState.LineHeight, 0);
    EXPECT_EQ(AppState.MainMenu, nullptr);
    EXPECT_EQ(dir_.Files(), std::vector<std::string>{});
}

// The state each WM_SIZE of the program's window leaves behind while start-up has not set MainWindow.
struct AfterSize {
    int LineHeight, SourceWidth, ClientWidth;
    DWORD LastRenderTick;
    HMENU MainMenu;
};
std::vector<AfterSize> CreationSizes;

LRESULT CALLBACK RecordCreationSize(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* m = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && m->message == WM_SIZE && !MainWindow && IsProgramWindow(m->hwnd)) {
        const AppStateRecord& a = AppState;
        CreationSizes.push_back({a.LineHeight, a.SourceWidth, a.ClientRect.right, a.LastRenderTick, a.MainMenu});
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(StartUpTest, TheSizeMessagesOfCreationLayOutAndDrawNothing)
{
    CreationSizes.clear();
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROCRET, RecordCreationSize, nullptr, GetCurrentThreadId());
    ASSERT_TRUE(StartTestApp());
    UnhookWindowsHookEx(hook);

    ASSERT_FALSE(CreationSizes.empty());
    for (const AfterSize& s : CreationSizes) {
        EXPECT_EQ(s.LineHeight, 0);
        EXPECT_EQ(s.SourceWidth, 0);
        EXPECT_EQ(s.ClientWidth, 0);
        EXPECT_EQ(s.LastRenderTick, 0u);
        EXPECT_EQ(s.MainMenu, nullptr);
    }
    EXPECT_GT(AppState.SourceWidth, 0);
}

TEST_F(StartUpTest, TheFirstLayoutMakesTheBackBufferEvenWhenTheStoredSizeIsTheWindowsSize)
{
    REQUIRE_WINDOW_SIZE(215, 235);
    dir_.Write("zorvik.dat", SettingsBytes(DefaultRecord()));  // 215 x 235, what the window is created with
    ASSERT_TRUE(StartTestApp());
    const BITMAP b = Describe(BitmapOf(AppState.ViewDC));
    EXPECT_EQ(b.bmWidth, ClientRect().right);
    EXPECT_EQ(b.bmHeight, ClientRect().bottom);
    EXPECT_GT(b.bmBitsPixel, 1);
    EXPECT_EQ(AppState.AppSettings.Width, 215);
    EXPECT_EQ(AppState.AppSettings.Height, 235);
}

TEST_F(StartUpTest, AQuitFromElsewhereEndsTheLoopWithItsCodeAndStillSaves)
{
    REQUIRE_WINDOW_SIZE(215, 235);
    ASSERT_TRUE(StartTestApp());
    Command(3);
    PostQuitMessage(7);
    EXPECT_EQ(RunMessageLoop(), 7);
    EXPECT_FALSE(IsWindow(MainWindow));
    SettingsRecord expected = DefaultRecord();
    expected.Zoom = 3;
    EXPECT_EQ(dir_.Read("zorvik.dat"), SettingsBytes(expected));
}

TEST_F(StartUpTest, EveryWayOfClosingEndsTheLoopWithZeroAndSaves)
{
    REQUIRE_WINDOW_SIZE(215, 235);
    const struct {
        UINT Message;
        WPARAM WParam;
    } ways[] = {{WM_COMMAND, ID_EXIT}, {WM_CLOSE, 0}, {WM_SYSCOMMAND, SC_CLOSE}};
    for (const auto& w : ways) {
        SCOPED_TRACE(w.Message);
        DeleteFileA("zorvik.dat");
        ASSERT_TRUE(StartTestApp());
        Command(4);
        PostMessageA(MainWindow, w.Message, w.WParam, 0);
        EXPECT_EQ(RunMessageLoop(), 0);
        EXPECT_FALSE(IsWindow(MainWindow));
        SettingsRecord expected = DefaultRecord();
        expected.Zoom = 4;
        EXPECT_EQ(dir_.Read("zorvik.dat"), SettingsBytes(expected));
        StopTestApp();
    }
}

TEST_F(StartUpTest, TeardownReleasesTheDeviceContextsAndMenusAfterSaving)
{
    ASSERT_TRUE(StartTestApp());
    Command(ID_TOPMOST);  // saved from its check mark, so the menu must still exist then
    const AppStateRecord a = AppState;
    for (HMENU m : {a.MainMenu, a.ZoomMenu, a.GridMenu, a.CopyMenu}) ASSERT_TRUE(IsMenu(m));
    DestroyWindow(MainWindow);
    for (HMENU m : {a.MainMenu, a.ZoomMenu, a.GridMenu, a.CopyMenu}) EXPECT_FALSE(IsMenu(m));
    EXPECT_EQ(GetObjectType(a.ViewDC), 0u);
    EXPECT_EQ(GetObjectType(a.CaptureDC), 0u);
    const std::vector<unsigned char> saved = dir_.Read("zorvik.dat");
    ASSERT_EQ(saved.size(), 24u);
    EXPECT_EQ(saved[23], 1);

    MSG quit = {};  // the quit that WM_DESTROY posts
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 0u);
}

}  // namespace
