// MainWndProc on the real window: its results, the command routing and the keys.
#include <windows.h>
#include <imm.h>

#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "app_helpers.h"
#include "held_keys.h"
#include "system_at_hand.h"
#include "test_app.h"

namespace {

using WindowProc = AppTest;

// Everything a command could change.
std::string Observed()
{
    std::ostringstream o;
    const SettingsRecord& s = AppState.AppSettings;
    o << "zoom " << int(s.Zoom) << " style " << s.GridStyle << " grid " << int(s.ShowGrid) << " subgrid "
      << int(s.ShowSubgrid) << " marks";
    for (HMENU m : {AppState.MainMenu, AppState.ZoomMenu, AppState.GridMenu})
        for (UINT id : CheckedIds(m)) o << " " << id;
    o << " topmost " << IsTopMost() << " window " << IsWindow(MainWindow) << " clipboard "
      << GetClipboardSequenceNumber();
    return o.str();
}

POINT Cursor()
{
    POINT p = {};
    GetCursorPos(&p);
    return p;
}

bool Invalidated()
{
    return GetUpdateRect(MainWindow, nullptr, FALSE) != 0;
}

// What each handled message does where the default procedure would do something else or
// nothing; the wheel, the zoom and copy keys and the commands have tests of their own.
TEST_F(WindowProc, HandledMessagesDoTheirWorkAndTheRestGoToTheDefault)
{
    // Not erased: the back buffer covers the whole client area at the next paint.
    const COLORREF painted = RGB(0x12, 0x34, 0x56);
    const RECT client = ClientRect();
    HDC dc = GetDC(MainWindow);
    HBRUSH brush = CreateSolidBrush(painted);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    EXPECT_EQ(Send(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc)), 1);
    EXPECT_EQ(GetPixel(dc, 0, 0), painted);
    EXPECT_EQ(GetPixel(dc, client.right - 1, client.bottom - 1), painted);
    ReleaseDC(MainWindow, dc);

    // Every tick renders from the cursor, whatever the timer's id; an idle tick leaves the window
    // unpainted, and one uncovered then shows the back buffer at once.
    ASSERT_TRUE(SetCursorPos(500, 400));
    for (WPARAM id : {WPARAM{ID_CAPTURE_TIMER}, WPARAM{1}}) {
        SCOPED_TRACE(id);
        AppState.CapturePoint = {600, 300};
        ValidateRect(MainWindow, nullptr);
        EXPECT_EQ(Send(WM_TIMER, id), 0);
        EXPECT_EQ(AppState.CapturePoint.x, 500);
        EXPECT_EQ(AppState.CapturePoint.y, 400);
        EXPECT_TRUE(Invalidated());
        ValidateRect(MainWindow, nullptr);
        const DWORD rendered = AppState.LastRenderTick;
        Send(WM_TIMER, id);
        EXPECT_EQ(AppState.LastRenderTick, rendered);
        EXPECT_FALSE(Invalidated());
    }
    InvalidateRect(MainWindow, nullptr, FALSE);
    UpdateWindow(MainWindow);
    dc = GetDC(MainWindow);
    for (POINT p : {POINT{0, 0}, POINT{client.right - 1, client.bottom - 1}}) {
        EXPECT_NE(GetPixel(dc, p.x, p.y), painted);
        EXPECT_EQ(GetPixel(dc, p.x, p.y), GetPixel(AppState.ViewDC, p.x, p.y));
    }
    ReleaseDC(MainWindow, dc);

    // The class has no cursor: a move over the window sets the arrow.
    SetCursor(LoadCursorA(nullptr, IDC_CROSS));
    EXPECT_EQ(Send(WM_MOUSEMOVE), 0);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_ARROW));

    // Every release ends the mouse capture and any panning.
    SetCapture(MainWindow);
    AppState.Panning = true;
    EXPECT_EQ(Send(WM_LBUTTONUP), 0);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(AppState.Panning);

    // Keys and commands it does not know change nothing and are not passed on.
    const std::string before = Observed();
    for (WPARAM key : {WPARAM{'Q'}, WPARAM{VK_F5}}) {
        EXPECT_EQ(Send(WM_KEYDOWN, key), 0);
        EXPECT_EQ(Send(WM_KEYUP, key), 0);
    }
    EXPECT_EQ(Send(WM_COMMAND, 999), 0);
    EXPECT_EQ(Observed(), before);

    char text[16] = {};
    EXPECT_EQ(Send(WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text)), 5);
    EXPECT_STREQ(text, "K-VEX");
    POINT inside = {ClientRect().right / 2, ClientRect().bottom / 2};
    ClientToScreen(MainWindow, &inside);
    EXPECT_EQ(Send(WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y)), HTCLIENT);
    POINT caption = {0, -2};  // just above the client area
    ClientToScreen(MainWindow, &caption);
    EXPECT_EQ(Send(WM_NCHITTEST, 0, MAKELPARAM(inside.x, caption.y)), HTCAPTION);
}

TEST_F(WindowProc, ACommandWithANotificationCodeDoesNothing)
{
    for (int code : {1, 0x8000, 0xFFFF}) {
        for (int id : std::initializer_list<int>{12, 20, ID_GRID, ID_GRID_INVERT, ID_SUBGRID, ID_COPY_RED, ID_PAUSE,
                                                 ID_TOPMOST, ID_EXIT}) {
            const std::string before = Observed();
            EXPECT_EQ(Command(id, code), 0);
            EXPECT_EQ(Observed(), before) << "id " << id << ", code " << code;
        }
    }
}

TEST_F(WindowProc, ZoomKeysActOnPressOnlyAndClimbToTheEnds)
{
    Send(WM_KEYUP, VK_PRIOR);
    EXPECT_EQ(AppState.AppSettings.Zoom, 6);
    // Auto-repeat of a held key: one step per key-down, then the end of the table holds.
    const struct {
        WPARAM Key;
        int Expected;
    } steps[] = {{VK_PRIOR, 8},  {VK_PRIOR, 10}, {VK_PRIOR, 12}, {VK_PRIOR, 16}, {VK_PRIOR, 20}, {VK_PRIOR, 20},
                 {VK_NEXT, 16},  {VK_NEXT, 12},  {VK_NEXT, 10},  {VK_NEXT, 8},   {VK_NEXT, 6},   {VK_NEXT, 4},
                 {VK_NEXT, 3},   {VK_NEXT, 2},   {VK_NEXT, 1},   {VK_NEXT, 1}};
    for (const auto& s : steps) {
        Send(WM_KEYDOWN, s.Key);
        EXPECT_EQ(AppState.AppSettings.Zoom, s.Expected);
        EXPECT_EQ(CheckedIds(AppState.ZoomMenu), std::vector<UINT>{static_cast<UINT>(s.Expected)});
    }
    Send(WM_KEYUP, VK_PRIOR);
    EXPECT_EQ(AppState.AppSettings.Zoom, 1);
}

TEST_F(WindowProc, AZoomOutsideTheTableMarksNothingAndStepsFromTheFirstPosition)
{
    const struct {
        int Zoom;
        WPARAM Key;
        int Expected;
    } cases[] = {{5, VK_PRIOR, 2}, {7, VK_NEXT, 1}, {19, VK_PRIOR, 2}, {13, VK_NEXT, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Zoom);
        Command(c.Zoom);  // every id from 1 to 20 reaches the zoom
        EXPECT_EQ(AppState.AppSettings.Zoom, c.Zoom);
        EXPECT_EQ(CheckedIds(AppState.ZoomMenu), std::vector<UINT>{});
        EXPECT_EQ(AppState.SourceWidth, (ClientRect().right + c.Zoom - 1) / c.Zoom);
        Send(WM_KEYDOWN, c.Key);
        EXPECT_EQ(AppState.AppSettings.Zoom, c.Expected);
    }
}

TEST_F(WindowProc, EveryWheelMessageStepsOnceWhateverItsDelta)
{
    for (short delta : {120, 1, 240, 32767, -120, -1, -360, -32768, 0}) {
        Command(6);
        Send(WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, static_cast<WORD>(delta)));
        EXPECT_EQ(AppState.AppSettings.Zoom, delta > 0 ? 8 : 4) << "delta " << delta;
    }
}

TEST_F(WindowProc, GridStylesBehaveAsRadioItemsAndSetThePen)
{
    const struct {
        int Style;
        COLORREF Color;
        int Mix;
    } cases[] = {
        {ID_GRID_INVERT, 0x000000, R2_NOT},      {ID_GRID_INVERT, 0x000000, R2_NOT},  // chosen again: stays
        {ID_GRID_TRANSLUCENT, 0xCCCCCC, R2_MASKPEN}, {ID_GRID_GRAY, 0x999999, R2_COPYPEN},
        {ID_GRID_GRAY, 0x999999, R2_COPYPEN},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Style);
        Command(c.Style);
        EXPECT_EQ(CheckedIds(AppState.GridMenu), (std::vector<UINT>{ID_GRID, UINT(c.Style), ID_SUBGRID}));
        EXPECT_EQ(AppState.AppSettings.GridStyle, c.Style);
        EXPECT_EQ(AppState.GridColor, c.Color);
        EXPECT_EQ(AppState.GridMixMode, c.Mix);
    }
}

TEST_F(WindowProc, GridAndSubgridTogglesKeepTheStyleAndAreMirroredInTheSettings)
{
    const struct {
        int Command;
        std::vector<UINT> Marks;
        int ShowGrid, ShowSubgrid, Style;
    } steps[] = {
        {ID_GRID_INVERT, {ID_GRID, ID_GRID_INVERT, ID_SUBGRID}, 1, 1, ID_GRID_INVERT},
        {ID_GRID, {ID_GRID_INVERT, ID_SUBGRID}, 0, 1, ID_GRID_INVERT},  // grid off keeps style and subgrid
        {ID_GRID_TRANSLUCENT, {ID_GRID_TRANSLUCENT, ID_SUBGRID}, 0, 1, ID_GRID_TRANSLUCENT},  // no grid on
        {ID_SUBGRID, {ID_GRID_TRANSLUCENT}, 0, 0, ID_GRID_TRANSLUCENT},
        {ID_GRID, {ID_GRID, ID_GRID_TRANSLUCENT}, 1, 0, ID_GRID_TRANSLUCENT},
        {ID_SUBGRID, {ID_GRID, ID_GRID_TRANSLUCENT, ID_SUBGRID}, 1, 1, ID_GRID_TRANSLUCENT},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.Command);
        Command(s.Command);
        EXPECT_EQ(CheckedIds(AppState.GridMenu), s.Marks);
        EXPECT_EQ(AppState.AppSettings.ShowGrid, s.ShowGrid);
        EXPECT_EQ(AppState.AppSettings.ShowSubgrid, s.ShowSubgrid);
        EXPECT_EQ(AppState.AppSettings.GridStyle, s.Style);
    }
}

TEST_F(WindowProc, AlwaysOnTopFollowsItsMark)
{
    for (bool on : {true, false, true}) {
        Command(ID_TOPMOST);
        EXPECT_EQ(Checked(AppState.MainMenu, ID_TOPMOST), on);
        EXPECT_EQ(IsTopMost(), on);
    }
}

std::string ClipboardText()
{
    std::string text;
    if (!OpenClipboard(nullptr)) return "(clipboard busy)";
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        text = static_cast<const char*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

TEST_F(WindowProc, ReleaseKeysActOnReleaseOnly)
{
    SKIP_UNLESS_DESKTOP_MAY_CHANGE("the clipboard");
    AppState.PixelRed = 173;
    AppState.PixelGreen = 7;
    AppState.PixelBlue = 0;
    AppState.PixelRGB = 0xAD0700;
    AppState.CapturePoint = {100, 40};
    const struct {
        WPARAM Key;
        const char* Text;
    } copies[] = {{'R', "173"}, {'G', "7"}, {'B', "0"}, {'H', "ad0700"}, {'W', "101"}, {'T', "41"}};
    for (const auto& c : copies) {
        SCOPED_TRACE(c.Text);
        const DWORD sequence = GetClipboardSequenceNumber();
        Send(WM_KEYDOWN, c.Key);
        EXPECT_EQ(GetClipboardSequenceNumber(), sequence);
        Send(WM_KEYUP, c.Key);
        EXPECT_EQ(ClipboardText(), c.Text);
    }
    EXPECT_FALSE(dir_.Exists("zorvik.txt"));  // Ctrl was not held

    for (bool paused : {true, false}) {
        Send(WM_KEYDOWN, VK_ESCAPE);
        EXPECT_EQ(Checked(AppState.MainMenu, ID_PAUSE), !paused);
        Send(WM_KEYUP, VK_ESCAPE);
        EXPECT_EQ(Checked(AppState.MainMenu, ID_PAUSE), paused);
    }

    AppState.CapturePoint = {321, -45};
    Send(WM_KEYDOWN, VK_SPACE);
    EXPECT_EQ(AppState.Origin.x, 0);
    Send(WM_KEYUP, VK_SPACE);  // before the redraw reads the cursor again
    EXPECT_EQ(AppState.Origin.x, 321);
    EXPECT_EQ(AppState.Origin.y, -45);
}

TEST_F(WindowProc, AReleaseActsOncePerPressThatReachedTheWindow)
{
    constexpr LPARAM kRepeat = 1 << 30;  // the key was down before: auto-repeat
    const auto paused = [] { return Checked(AppState.MainMenu, ID_PAUSE); };
    Send(WM_KEYUP, VK_ESCAPE);  // pressed elsewhere
    Send(WM_KEYDOWN, VK_ESCAPE, kRepeat);  // held on into the window
    Send(WM_KEYUP, VK_ESCAPE);
    // A modal loop or a box that takes the keyboard uses up the press it ends on; a release with
    // Alt held ends the press too.
    for (UINT taken : {WM_ENTERMENULOOP, WM_ENTERSIZEMOVE, WM_KILLFOCUS, WM_SYSKEYUP}) {
        Send(WM_KEYDOWN, VK_ESCAPE);
        Send(taken, taken == WM_SYSKEYUP ? VK_ESCAPE : 0);
        Send(WM_KEYUP, VK_ESCAPE);
    }
    EXPECT_FALSE(paused());
    Send(WM_KEYDOWN, VK_ESCAPE);
    Send(WM_KEYDOWN, VK_ESCAPE, kRepeat);
    Send(WM_KEYUP, VK_ESCAPE);
    EXPECT_TRUE(paused());
    Send(WM_KEYUP, VK_ESCAPE);
    EXPECT_TRUE(paused());
}

// An input method would compose over the view and take the letters and Space for itself.
TEST_F(WindowProc, TheWindowHasNoInputContext)
{
    EXPECT_EQ(ImmGetContext(MainWindow), nullptr);
}

struct ArrowKey {
    WPARAM Key;
    int Dx, Dy;
};
const ArrowKey Arrows[] = {{VK_LEFT, -1, 0}, {VK_UP, 0, -1}, {VK_RIGHT, 1, 0}, {VK_DOWN, 0, 1}};

// The step starts from the capture point of the last render, which the test puts away from the cursor.
void ExpectLiveArrowSteps(int step)
{
    for (const ArrowKey& a : Arrows) {
        SCOPED_TRACE(a.Key);
        ASSERT_TRUE(SetCursorPos(500, 400));
        AppState.CapturePoint = {600, 300};
        Send(WM_KEYDOWN, a.Key);
        EXPECT_EQ(Cursor().x, 600 + a.Dx * step);
        EXPECT_EQ(Cursor().y, 300 + a.Dy * step);
        EXPECT_EQ(AppState.CapturePoint.x, Cursor().x);  // the redraw read the cursor back
        EXPECT_EQ(AppState.CapturePoint.y, Cursor().y);
    }
}

TEST_F(WindowProc, LiveArrowKeysMoveTheCursorByOneOrTenWithShift)
{
    SKIP_UNLESS_DESKTOP_MAY_CHANGE("the keys held down (Shift, through SendInput)");
    ExpectLiveArrowSteps(1);
    HeldKeys shift({VK_SHIFT});
    ASSERT_TRUE(shift.AllHeld());
    ExpectLiveArrowSteps(10);
}

TEST_F(WindowProc, PausedArrowKeysMoveTheCapturePointAndLeaveTheCursor)
{
    ASSERT_TRUE(SetCursorPos(500, 400));
    Command(ID_PAUSE);
    for (const ArrowKey& a : Arrows) {
        SCOPED_TRACE(a.Key);
        AppState.CapturePoint = {600, 300};
        Send(WM_KEYDOWN, a.Key);
        EXPECT_EQ(AppState.CapturePoint.x, 600 + a.Dx);
        EXPECT_EQ(AppState.CapturePoint.y, 300 + a.Dy);
        EXPECT_EQ(Cursor().x, 500);
        EXPECT_EQ(Cursor().y, 400);
    }
}

}  // namespace
