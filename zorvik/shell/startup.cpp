#include "general/general.h"
#include "resources/version.h"
#include "zorvik/commands/command_ids.h"
#include "zorvik/commands/commands.h"
#include "zorvik/settings/settings_file.h"
#include "zorvik/shell/app_state.h"
#include "zorvik/shell/placement.h"
#include "zorvik/shell/shell.h"

const char* const MainWindowClassName = "TApp_Zorvik";

namespace {

bool RegisterMainWindowClass(HINSTANCE instance)
{
    WNDCLASSA& wc = AppState.WndClass;
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_OWNDC;
    wc.lpfnWndProc = MainWndProc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, "MAINICON");
    wc.hCursor = nullptr;  // MainWndProc sets the arrow itself
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszMenuName = nullptr;
    wc.lpszClassName = MainWindowClassName;
    return RegisterClassA(&wc) != 0;
}

StoredRect ToStoredRect(const RECT& r)
{
    return {r.left, r.top, r.right, r.bottom};
}

// The stored window at the size it is created with: the system keeps a sizable window within its
// tracking sizes, so a stored width beyond the desktop's does not reach as far as stored.
SettingsRecord AsCreated(const SettingsRecord& s)
{
    SettingsRecord window = s;
    window.Width = Clamp(s.Width, GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CXMAXTRACK));
    window.Height = Clamp(s.Height, GetSystemMetrics(SM_CYMINTRACK), GetSystemMetrics(SM_CYMAXTRACK));
    return window;
}

// A window stored on a monitor that is gone, or reaching onto the remaining ones by little more
// than its frame, would open where nobody can take hold of it: it moves, the least it can, into
// the work area of the monitor nearest to it, or to (0, 0) if there is none.
void KeepStoredWindowOnAMonitor()
{
    SettingsRecord& s = AppState.AppSettings;
    AppState.OnMonitor = false;
    EnumDisplayMonitors(nullptr, nullptr, MonitorHitProc, reinterpret_cast<LPARAM>(&AppState.OnMonitor));
    if (AppState.OnMonitor) return;
    SettingsRecord created = AsCreated(s);
    const StoredRect stored = StoredWindowRect(created);
    const RECT window = {stored.left, stored.top, stored.right, stored.bottom};
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(MonitorFromRect(&window, MONITOR_DEFAULTTONEAREST), &info)) {
        MoveIntoWorkArea(created, ToStoredRect(info.rcWork));
        s.Left = created.Left;
        s.Top = created.Top;
    } else {
        s.Left = 0;
        s.Top = 0;
    }
}

}  // namespace

// The caption bar counts on a monitor's work area only: a taskbar over it hides it as well.
BOOL CALLBACK MonitorHitProc(HMONITOR monitor, HDC, LPRECT, LPARAM data)
{
    const int padding = GetSystemMetrics(SM_CXPADDEDBORDER);  // Vista on; 0 before
    const FrameSize frame = {GetSystemMetrics(SM_CXSIZEFRAME) + padding, GetSystemMetrics(SM_CYSIZEFRAME) + padding,
                             GetSystemMetrics(SM_CYCAPTION)};
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(monitor, &info) &&
        CanGrabCaption(AsCreated(AppState.AppSettings), frame, ToStoredRect(info.rcWork))) {
        *reinterpret_cast<bool*>(data) = true;
        return FALSE;
    }
    return TRUE;
}

void SetCaptureTimer(bool on)
{
    if (on)
        SetTimer(MainWindow, ID_CAPTURE_TIMER, kCaptureIntervalMs, nullptr);
    else
        KillTimer(MainWindow, ID_CAPTURE_TIMER);
}

bool StartUp(HINSTANCE instance)
{
    if (!RegisterMainWindowClass(instance)) return false;

    SettingsRecord& s = AppState.AppSettings;
    if (LoadSettings())
        KeepStoredWindowOnAMonitor();
    else
        ApplyDefaultSettings(s);

    MainWindow = CreateWindowExA(0, MainWindowClassName, ZORVIK_TITLE, kMainWindowStyle, s.Left, s.Top, s.Width,
                                 s.Height, nullptr, nullptr, instance, nullptr);
    if (!MainWindow) return false;
    DetachInputMethod(MainWindow);

    // The first layout then always sees a size change and creates the off-screen bitmaps.
    s.Width = 0;
    InitWindowResources(MainWindow);
    return true;
}

int RunMessageLoop()
{
    // No TranslateMessage: every key command is read from WM_KEYDOWN or WM_KEYUP.
    while (GetMessageA(&AppState.Msg, nullptr, 0, 0) > 0) DispatchMessageA(&AppState.Msg);

    // A WM_QUIT from elsewhere still gets the window destroyed, so the settings are saved.
    DestroyWindow(MainWindow);
    return static_cast<int>(AppState.Msg.wParam);
}

int RunZorvik(HINSTANCE instance)
{
    if (!StartUp(instance)) return 1;
    return RunMessageLoop();
}

void Teardown()
{
    AppStateRecord& a = AppState;
    SetCaptureTimer(false);
    SaveSettings();
    // A DC deleted with the program's bitmap or pen in it does not delete them: each DC gets its own
    // back first (a new DC's pen is the stock black one).
    DeleteObject(SelectObject(a.ViewDC, GetStockObject(BLACK_PEN)));
    DeleteObject(SelectObject(a.ViewDC, a.OriginalViewBitmap));
    DeleteObject(SelectObject(a.CaptureDC, a.OriginalCaptureBitmap));
    DeleteDC(a.ViewDC);
    DeleteDC(a.CaptureDC);
    // Submenus before the menu that holds them.
    DestroyMenu(a.ZoomMenu);
    DestroyMenu(a.GridMenu);
    DestroyMenu(a.CopyMenu);
    DestroyMenu(a.MainMenu);
}
