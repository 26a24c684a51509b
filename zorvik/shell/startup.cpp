#include "general/general.h"
#include "resources/version.h"
#include "zorvik/commands/command_ids.h"
#include "zorvik/commands/commands.h"
#include "zorvik/settings/settings_file.h"
#include "zorvik/shell/app_state.h"
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

// A window stored on a monitor that is gone would open where nobody can see it.
void KeepStoredWindowOnAMonitor()
{
    AppState.OnMonitor = false;
    EnumDisplayMonitors(nullptr, nullptr, MonitorHitProc, reinterpret_cast<LPARAM>(&AppState.OnMonitor));
    if (!AppState.OnMonitor) {
        AppState.AppSettings.Left = 0;
        AppState.AppSettings.Top = 0;
    }
}

}  // namespace

BOOL CALLBACK MonitorHitProc(HMONITOR, HDC, LPRECT monitorRect, LPARAM data)
{
    const StoredRect s = StoredWindowRect(AppState.AppSettings);
    const RECT window = {s.left, s.top, s.right, s.bottom};
    RECT overlap;
    if (IntersectRect(&overlap, monitorRect, &window)) {
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
    DeleteDC(a.ViewDC);
    DeleteDC(a.CaptureDC);
    // Submenus before the menu that holds them.
    DestroyMenu(a.ZoomMenu);
    DestroyMenu(a.GridMenu);
    DestroyMenu(a.CopyMenu);
    DestroyMenu(a.MainMenu);
}
