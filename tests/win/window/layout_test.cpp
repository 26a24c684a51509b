// UpdateLayout on the real window: the numbers, the minimum size, the re-entry guard and the bitmaps.
#include <windows.h>

#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include "app_helpers.h"
#include "system_at_hand.h"
#include "test_app.h"
#include "zorvik/view/view.h"

namespace {

// The window's numbers are the layout of its client size (ComputeLayout, proven natively).
void ExpectLayoutOfClient(int zoom)
{
    const RECT client = ClientRect();
    const LayoutNumbers want = ComputeLayout(client.right, client.bottom, AppState.LineHeight, zoom);
    ASSERT_GT(want.StatusTop, 0);

    const AppStateRecord& a = AppState;
    const RECT expectedClient = {0, 0, client.right, client.bottom};
    const RECT expectedStatus = {0, want.StatusTop, client.right, client.bottom};
    EXPECT_TRUE(EqualRect(&a.ClientRect, &expectedClient));
    EXPECT_TRUE(EqualRect(&a.StatusRect, &expectedStatus));
    EXPECT_EQ(a.SourceWidth, want.SourceWidth);
    EXPECT_EQ(a.SourceHeight, want.SourceHeight);
    EXPECT_EQ(a.ScaledWidth, want.ScaledWidth);
    EXPECT_EQ(a.ScaledHeight, want.ScaledHeight);
    EXPECT_EQ(a.Columns, want.Columns);
    EXPECT_EQ(a.Rows, want.Rows);
    EXPECT_EQ(a.CenterOffsetX, want.CenterOffsetX);
    EXPECT_EQ(a.CenterOffsetY, want.CenterOffsetY);
    EXPECT_EQ(a.CenterCellX, want.CenterCellX);
    EXPECT_EQ(a.CenterCellY, want.CenterCellY);

    const RECT outer = WindowRect();
    EXPECT_EQ(a.AppSettings.Left, outer.left);
    EXPECT_EQ(a.AppSettings.Top, outer.top);
    EXPECT_EQ(a.AppSettings.Width, outer.right - outer.left);
    EXPECT_EQ(a.AppSettings.Height, outer.bottom - outer.top);
}

using Layout = AppTest;

TEST_F(Layout, NumbersFollowTheClientSizeAtEveryZoom)
{
    REQUIRE_WINDOW_SIZE(333 + FrameSize().cx, 280 + FrameSize().cy);
    for (int zoom : {6, 1, 2, 3, 20, 4}) {
        SCOPED_TRACE(zoom);
        Command(zoom);
        ExpectLayoutOfClient(zoom);
    }
    ResizeClient(333, 280);
    ASSERT_EQ(ClientRect().right, 333);
    ExpectLayoutOfClient(4);
}

TEST_F(Layout, TheWorkedExampleWindow)
{
    REQUIRE_WINDOW_SIZE(199 + FrameSize().cx, 151 + 3 * AppState.LineHeight + FrameSize().cy);
    ResizeClient(199, 151 + 3 * AppState.LineHeight);  // an image area of 199 x 151
    ASSERT_EQ(ClientRect().right, 199);
    const AppStateRecord& a = AppState;
    EXPECT_EQ(a.StatusRect.top, 151);
    EXPECT_EQ(a.SourceWidth, 34);
    EXPECT_EQ(a.SourceHeight, 26);
    EXPECT_EQ(a.ScaledWidth, 204);
    EXPECT_EQ(a.ScaledHeight, 156);
    EXPECT_EQ(a.CenterOffsetX, 16);
    EXPECT_EQ(a.CenterOffsetY, 12);
    EXPECT_EQ(a.CenterCellX, 97);
    EXPECT_EQ(a.CenterCellY, 73);

    Command(20);
    EXPECT_EQ(a.SourceWidth, 10);
    EXPECT_EQ(a.CenterCellX, 81);
    Command(1);
    EXPECT_EQ(a.SourceWidth, 199);  // the block is the client width itself
    EXPECT_EQ(a.SourceHeight, 151);
    EXPECT_EQ(a.ScaledWidth, 199);
}

// WM_SIZE as the window procedure sees it, on entry and on return.
struct SizeMessage {
    bool LayingOutOnEntry, LayingOutOnReturn;
    int SourceHeightOnEntry, SourceHeightOnReturn;
};
std::vector<SizeMessage> SizeMessages;
std::vector<size_t> Open;

LRESULT CALLBACK OnEntry(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && m->hwnd == MainWindow && m->message == WM_SIZE) {
        Open.push_back(SizeMessages.size());
        SizeMessages.push_back({AppState.LayingOut, false, AppState.SourceHeight, 0});
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK OnReturn(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* m = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && m->hwnd == MainWindow && m->message == WM_SIZE && !Open.empty()) {
        SizeMessages[Open.back()].LayingOutOnReturn = AppState.LayingOut;
        SizeMessages[Open.back()].SourceHeightOnReturn = AppState.SourceHeight;
        Open.pop_back();
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(Layout, ATooSmallSizeStopsAtTheMinimumOrIsRaisedToItInPlaceWithoutNestedLayout)
{
    // The system's own sizing stops at the minimum that the window reports. A size that skips that
    // check (as SWP_NOSENDCHANGING does) is raised by the layout, which resizes once more.
    for (UINT skipsCheck : {0u, static_cast<UINT>(SWP_NOSENDCHANGING)}) {
        SCOPED_TRACE(skipsCheck);
        ResizeWindow(215, 235);
        MoveWindowTo(140, 120);
        const int before = AppState.SourceHeight;
        SizeMessages.clear();
        HHOOK entry = SetWindowsHookExA(WH_CALLWNDPROC, OnEntry, nullptr, GetCurrentThreadId());
        HHOOK leave = SetWindowsHookExA(WH_CALLWNDPROCRET, OnReturn, nullptr, GetCurrentThreadId());
        SetWindowPos(MainWindow, nullptr, 0, 0, 30, 40, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | skipsCheck);
        UnhookWindowsHookEx(entry);
        UnhookWindowsHookEx(leave);

        const RECT r = WindowRect();
        EXPECT_EQ(r.left, 140);
        EXPECT_EQ(r.top, 120);
        // Three lines plus 50, or more where the frame would leave less than a cell of the largest
        // zoom above the status area (Wine 10's frame of 34 at 100 % does).
        const int frame = (r.bottom - r.top) - ClientRect().bottom;
        EXPECT_EQ(r.bottom - r.top, std::max(3 * AppState.LineHeight + 50, frame + 3 * AppState.LineHeight + 20));
        EXPECT_GE(r.right - r.left, 50);  // the system may keep a wider minimum of its own
        ExpectLayoutOfClient(6);

        ASSERT_FALSE(SizeMessages.empty());
        EXPECT_FALSE(SizeMessages[0].LayingOutOnEntry);
        EXPECT_FALSE(SizeMessages[0].LayingOutOnReturn);
        EXPECT_NE(SizeMessages[0].SourceHeightOnReturn, before);
        if (!skipsCheck) {
            EXPECT_EQ(SizeMessages.size(), 1u) << "the layout had to resize";
            continue;
        }
        // Ours, then the one that the layout's own resize sends while it runs.
        ASSERT_EQ(SizeMessages.size(), 2u);
        EXPECT_TRUE(SizeMessages[1].LayingOutOnEntry);
        EXPECT_TRUE(SizeMessages[1].LayingOutOnReturn);
        EXPECT_EQ(SizeMessages[1].SourceHeightOnEntry, before);
        EXPECT_EQ(SizeMessages[1].SourceHeightOnReturn, before);  // the nested call did no work
    }
}

TEST_F(Layout, TheBackBufferIsRenewedOnSizeChangesTheCaptureBitmapAtEveryLiveLayout)
{
    REQUIRE_WINDOW_SIZE(250 + FrameSize().cx, 260 + FrameSize().cy);
    HBITMAP view = BitmapOf(AppState.ViewDC);
    HBITMAP capture = BitmapOf(AppState.CaptureDC);
    const RECT client = ClientRect();

    Command(8);
    EXPECT_EQ(BitmapOf(AppState.ViewDC), view);
    EXPECT_EQ(GetObjectType(capture), 0u);
    capture = BitmapOf(AppState.CaptureDC);
    EXPECT_EQ(Describe(capture).bmWidth, AppState.SourceWidth);
    EXPECT_EQ(Describe(capture).bmHeight, AppState.SourceHeight);

    ResizeClient(client.right + 30, client.bottom + 20);
    EXPECT_EQ(GetObjectType(view), 0u);
    EXPECT_EQ(GetObjectType(capture), 0u);
    EXPECT_EQ(Describe(BitmapOf(AppState.ViewDC)).bmWidth, client.right + 30);
    EXPECT_EQ(Describe(BitmapOf(AppState.ViewDC)).bmHeight, client.bottom + 20);

    Command(ID_PAUSE);  // the snapshot of the virtual screen survives zoom changes and resizes
    HBITMAP snapshot = BitmapOf(AppState.CaptureDC);
    EXPECT_EQ(Describe(snapshot).bmWidth, GetSystemMetrics(SM_CXVIRTUALSCREEN));
    Command(12);
    ResizeClient(250, 260);
    EXPECT_EQ(BitmapOf(AppState.CaptureDC), snapshot);
    EXPECT_EQ(AppState.SourceWidth, (250 + 11) / 12);
    Command(ID_PAUSE);
    EXPECT_EQ(GetObjectType(snapshot), 0u);
    EXPECT_EQ(Describe(BitmapOf(AppState.CaptureDC)).bmWidth, AppState.SourceWidth);
}

// The system's caption made taller for a while and put back afterwards, also when the test fails.
// The window takes the new frame at its outer size, as after a change of theme or, under
// per-monitor awareness, after a move to a display of another scale.
class TallerCaption {
public:
    explicit TallerCaption(int extra)
    {
        saved_.cbSize = sizeof saved_;
        SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof saved_, &saved_, 0);
        NONCLIENTMETRICSA taller = saved_;
        taller.iCaptionHeight += extra;
        SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, sizeof taller, &taller, 0);
        Reframe();
    }
    ~TallerCaption()
    {
        SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, sizeof saved_, &saved_, 0);
        Reframe();
    }
    TallerCaption(const TallerCaption&) = delete;
    TallerCaption& operator=(const TallerCaption&) = delete;

    static void Reframe()
    {
        SetWindowPos(MainWindow, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

private:
    NONCLIENTMETRICSA saved_ = {};
};

int OuterHeight()
{
    const RECT r = WindowRect();
    return r.bottom - r.top;
}

void ExpectBackBufferIsTheClientArea()
{
    const BITMAP b = Describe(BitmapOf(AppState.ViewDC));
    EXPECT_EQ(b.bmWidth, ClientRect().right);
    EXPECT_EQ(b.bmHeight, ClientRect().bottom);
}

// A thinner frame at the same outer size gives a taller client area; painted from a back buffer
// of the old size, its bottom rows (the last status line) would show whatever lay beyond it.
TEST_F(Layout, TheBackBufferFollowsTheClientAreaWhenOnlyTheFrameChanges)
{
    SKIP_UNLESS_DESKTOP_MAY_CHANGE("the caption height");
    const int height = OuterHeight();
    const int client = ClientRect().bottom;
    {
        const TallerCaption taller(20);
        ASSERT_EQ(OuterHeight(), height);
        ASSERT_EQ(ClientRect().bottom, client - 20);
        ExpectBackBufferIsTheClientArea();
        const RECT outer = WindowRect();
        ResizeWindow(outer.right - outer.left, height + 10);
        ExpectBackBufferIsTheClientArea();
    }
    ASSERT_EQ(OuterHeight(), height + 10);
    ASSERT_EQ(ClientRect().bottom, client + 10);
    ExpectBackBufferIsTheClientArea();
    ExpectLayoutOfClient(6);
}

// With caption and frames 50 pixels high or more (Windows 10 from 125 % on), three lines plus 50
// would leave no image area, and the colour would be sampled from the status area. The smallest
// window keeps the whole capture-point cell of every zoom inside the image, and changing the zoom
// does not resize it.
TEST_F(Layout, TheSmallestWindowUnderATallCaptionKeepsTheCapturePointCellInTheImage)
{
    SKIP_UNLESS_DESKTOP_MAY_CHANGE("the caption height");
    const TallerCaption taller(60);
    ResizeWindow(300, 20);
    const RECT outer = WindowRect();
    const int frame = OuterHeight() - ClientRect().bottom;
    ASSERT_GE(frame, 50);
    EXPECT_EQ(OuterHeight(), frame + 3 * AppState.LineHeight + 20);
    for (int zoom : {1, 2, 3, 4, 6, 8, 10, 12, 16, 20}) {
        SCOPED_TRACE(zoom);
        Command(zoom);
        const RECT now = WindowRect();
        EXPECT_TRUE(EqualRect(&now, &outer));
        ExpectLayoutOfClient(zoom);
        const AppStateRecord& a = AppState;
        EXPECT_LE((a.CenterOffsetX + 1) * zoom, a.ClientRect.right);
        EXPECT_LE((a.CenterOffsetY + 1) * zoom, a.StatusRect.top);
    }
}

// The status font and line height are measured once, at the system's scale: the window keeps its
// outer size and place on a display of another scale (the suggested rectangle is not taken), as
// the system's default handling does, rather than squeeze the image under text of the old size.
// A patch of one colour on the screen, in a window of its own, shown until the object goes.
class ColourPatch {
public:
    ColourPatch(COLORREF colour, RECT where) : brush_(CreateSolidBrush(colour))
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = brush_;
        wc.lpszClassName = kClass;
        RegisterClassA(&wc);
        window_ = CreateWindowExA(WS_EX_TOPMOST | WS_EX_NOACTIVATE, kClass, "", WS_POPUP | WS_VISIBLE, where.left,
                                  where.top, where.right - where.left, where.bottom - where.top, nullptr, nullptr,
                                  wc.hInstance, nullptr);
        UpdateWindow(window_);
    }
    ~ColourPatch()
    {
        DestroyWindow(window_);
        UnregisterClassA(kClass, GetModuleHandleA(nullptr));
        DeleteObject(brush_);
    }
    ColourPatch(const ColourPatch&) = delete;
    ColourPatch& operator=(const ColourPatch&) = delete;

private:
    static constexpr const char* kClass = "ZorvikTestPatch";
    HBRUSH brush_;
    HWND window_ = nullptr;
};

COLORREF ScreenPixel(POINT p)
{
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return c;
}

// Under a caption taller than the whole window the client area is 0 x 0, so the frame reads only
// as tall as the window, and one resize by that reading still leaves no image area.
TEST_F(Layout, ACaptionTallerThanTheWindowStillLeavesTheCapturePointCellInTheImage)
{
    SKIP_UNLESS_DESKTOP_MAY_CHANGE("the caption height");
    ResizeWindow(300, 20);
    const TallerCaption taller(OuterHeight() + 40);
    const int frame = OuterHeight() - ClientRect().bottom;
    EXPECT_EQ(OuterHeight(), frame + 3 * AppState.LineHeight + 20);
    ExpectLayoutOfClient(6);

    // The colour reported is the screen's at the capture point, not the status area's.
    const COLORREF colour = RGB(0x12, 0x9A, 0x56);
    const POINT centre = {720, 520};
    const ColourPatch patch(colour, {centre.x - 20, centre.y - 20, centre.x + 20, centre.y + 20});
    ASSERT_TRUE(PumpUntil([&] { return ScreenPixel(centre) == colour; }));
    ASSERT_TRUE(SetCursorPos(centre.x, centre.y));
    RefreshView();
    EXPECT_EQ(AppState.PixelRGB, 0x129A56u);
}

TEST_F(Layout, AMoveToADisplayOfAnotherScaleKeepsTheOuterSizeAndPlace)
{
    constexpr UINT kDpiChanged = 0x02E0;  // WM_DPICHANGED, Windows 8.1 and later
    const RECT before = WindowRect();
    RECT suggested = {before.left + 40, before.top + 30, before.left + 40 + 2 * (before.right - before.left),
                      before.top + 30 + 2 * (before.bottom - before.top)};
    SendMessageA(MainWindow, kDpiChanged, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    PumpMessages();
    const RECT after = WindowRect();
    EXPECT_TRUE(EqualRect(&after, &before));
    ExpectLayoutOfClient(6);
}

void Minimise()
{
    ShowWindow(MainWindow, SW_MINIMIZE);
    ASSERT_TRUE(PumpUntil([] { return IsIconic(MainWindow) != 0; }));
}

TEST_F(Layout, MinimisingKeepsTheGeometryAndTheLayoutRestoringLaysOutAgain)
{
    const AppStateRecord before = AppState;
    Minimise();
    Send(WM_SIZE, SIZE_MINIMIZED);
    Send(WM_TIMER, ID_CAPTURE_TIMER);

    const AppStateRecord& a = AppState;
    EXPECT_EQ(a.AppSettings.Left, before.AppSettings.Left);
    EXPECT_EQ(a.AppSettings.Top, before.AppSettings.Top);
    EXPECT_EQ(a.AppSettings.Width, before.AppSettings.Width);
    EXPECT_EQ(a.AppSettings.Height, before.AppSettings.Height);
    EXPECT_TRUE(EqualRect(&a.ClientRect, &before.ClientRect));
    EXPECT_EQ(a.SourceWidth, before.SourceWidth);
    EXPECT_EQ(BitmapOf(a.ViewDC), BitmapOf(before.ViewDC));

    ShowWindow(MainWindow, SW_RESTORE);
    ASSERT_TRUE(PumpUntil([] { return IsIconic(MainWindow) == 0; }));
    EXPECT_EQ(a.AppSettings.Width, before.AppSettings.Width);
    EXPECT_EQ(a.AppSettings.Height, before.AppSettings.Height);
    ExpectLayoutOfClient(6);
}

TEST_F(Layout, AFirstLayoutWhileMinimisedMakesRealBitmapsOfAtLeastOnePixel)
{
    Minimise();
    HBITMAP view = BitmapOf(AppState.ViewDC);
    AppState.AppSettings.Width = 0;  // as start-up leaves it
    UpdateLayout();
    EXPECT_NE(BitmapOf(AppState.ViewDC), view);
    for (HDC dc : {AppState.ViewDC, AppState.CaptureDC}) {
        const BITMAP b = Describe(BitmapOf(dc));
        EXPECT_GE(b.bmWidth, 1);
        EXPECT_GE(b.bmHeight, 1);
        EXPECT_GT(b.bmBitsPixel, 1);  // not the monochrome stand-in a zero size yields
    }
}

}  // namespace
