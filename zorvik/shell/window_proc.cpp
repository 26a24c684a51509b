#include "general/general.h"
#include "zorvik/commands/command_ids.h"
#include "zorvik/commands/commands.h"
#include "zorvik/settings/settings_file.h"
#include "zorvik/shell/app_state.h"
#include "zorvik/shell/shell.h"
#include "zorvik/view/view.h"

namespace {

// Zoom and arrow keys act on key-down, so auto-repeat repeats them.
struct ArrowKey {
    WPARAM Key;
    int32_t Dx, Dy;
};
const ArrowKey ArrowKeys[] = {
    {VK_LEFT, -1, 0},
    {VK_UP, 0, -1},
    {VK_RIGHT, 1, 0},
    {VK_DOWN, 0, 1},
};

// The copy keys act once, on release.
struct CopyKey {
    WPARAM Key;
    int32_t Command;
};
const CopyKey CopyKeys[] = {
    {'B', ID_COPY_BLUE},
    {'G', ID_COPY_GREEN},
    {'H', ID_COPY_HTML},
    {'R', ID_COPY_RED},
    {'T', ID_COPY_HEIGHT},
    {'W', ID_COPY_WIDTH},
};

constexpr WPARAM kSystemMoveCommand = SC_SIZE + 9;  // 0xF009: the system move loop follows the pointer

void ArrowStep(int32_t dx, int32_t dy)
{
    if (IsPaused()) {
        MoveCapturePoint(dx, dy);
        return;
    }
    // From the capture point of the last render; the render reads the cursor back.
    SetCursorPosPhysical(AppState.CapturePoint.x + dx, AppState.CapturePoint.y + dy);
    RefreshView();
}

void OnKeyDown(WPARAM key)
{
    if (key == VK_PRIOR) {
        StepZoom(1);
        return;
    }
    if (key == VK_NEXT) {
        StepZoom(-1);
        return;
    }
    for (const ArrowKey& a : ArrowKeys) {
        if (a.Key == key) {
            const int32_t step = IsKeyHeld(VK_SHIFT) ? 10 : 1;
            ArrowStep(a.Dx * step, a.Dy * step);
            return;
        }
    }
}

// An input method that is on takes the press of a character key and hands the window
// VK_PROCESSKEY with the key's scan code, while the release comes with the key's own code. The
// window has no input context, so no input method composes here; a press that still comes this
// way (a text service that ignores that) counts as the key's own.
WPARAM PressedKey(WPARAM key, LPARAM lParam)
{
    if (key != VK_PROCESSKEY) return key;
    return MapVirtualKeyA((lParam >> 16) & 0xFF, MAPVK_VSC_TO_VK);
}

// A release acts only for a press that reached this window as a press. A modal loop (the pop-up
// menu, the about box, the move loop) uses up the press of the key that ends it, Esc or a menu
// letter, and leaves its release to this window: acting on it would pause the view or replace
// the clipboard behind the user's back. A key released while Alt is held (WM_SYSKEYUP) is done
// with too. Auto-repeat presses (bit 30 set) arm nothing.
void NoteKeyPress(WPARAM key, LPARAM lParam)
{
    if (key < 256 && (lParam & (1 << 30)) == 0) AppState.PressedKeys[key] = true;
}

bool TakeKeyPress(WPARAM key)
{
    if (key >= 256 || !AppState.PressedKeys[key]) return false;
    AppState.PressedKeys[key] = false;
    return true;
}

void ForgetKeyPresses()
{
    for (bool& pressed : AppState.PressedKeys) pressed = false;
}

void OnKeyUp(WPARAM key)
{
    switch (key) {
    case VK_ESCAPE: TogglePause(); return;
    case VK_SPACE:
        AppState.Origin = AppState.CapturePoint;
        RefreshView();
        return;
    case VK_F1:
        if (IsKeyHeld(VK_SHIFT))
            OpenOnlineHelp();
        else
            ShowAbout();
        return;
    }
    for (const CopyKey& c : CopyKeys) {
        if (c.Key == key) {
            CopyValue(c.Command);
            return;
        }
    }
}

void RunCommand(int32_t id)
{
    if (id >= 1 && id <= 20) {
        SelectZoom(id);
    } else if ((id >= ID_GRID && id <= ID_GRID_TRANSLUCENT) || id == ID_SUBGRID) {
        ApplyGridCommand(id);
    } else if (id >= ID_COPY_RED && id <= ID_COPY_HEIGHT) {
        CopyValue(id);
    } else {
        switch (id) {
        case ID_PAUSE: TogglePause(); break;
        case ID_TOPMOST: ToggleTopMost(); break;
        case ID_EXIT: DestroyWindow(MainWindow); break;
        case ID_ABOUT: ShowAbout(); break;
        case ID_HELP_ONLINE: OpenOnlineHelp(); break;
        }
    }
}

void OnLeftButtonDown(HWND window)
{
    AppStateRecord& a = AppState;
    GetCursorPos(&a.PressPoint);
    ScreenToClient(MainWindow, &a.PressPoint);
    if (IsPaused() && !PtInRect(&a.StatusRect, a.PressPoint)) {
        a.PressCapturePoint = a.CapturePoint;
        SetCapture(MainWindow);
        a.Panning = true;  // after SetCapture, whose loss of an earlier capture ends panning
    } else {
        a.Panning = false;
        // Returns when the button is released.
        SendMessageA(window, WM_SYSCOMMAND, kSystemMoveCommand, 0);
    }
}

void ShowPopupMenu()
{
    // The cursor, not lParam: a menu asked for from the keyboard carries (-1, -1).
    POINT p;
    GetCursorPos(&p);
    TrackPopupMenu(AppState.MainMenu, 0, p.x, p.y, 0, MainWindow, nullptr);
}

void PaintView(HWND window)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    BitBlt(dc, 0, 0, AppState.ClientRect.right, AppState.ClientRect.bottom, AppState.ViewDC, 0, 0, SRCCOPY);
    EndPaint(window, &ps);
}

}  // namespace

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY:
        Teardown();
        PostQuitMessage(0);
        return 0;
    case WM_SIZE:
        // Nothing to lay out until InitWindowResources has measured the line height.
        if (AppState.LineHeight > 0) {
            UpdateLayout();
            RefreshView();
        }
        return 0;
    case WM_PAINT: PaintView(window); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_CONTEXTMENU: ShowPopupMenu(); return 0;
    case WM_KEYDOWN: {
        const WPARAM key = PressedKey(wParam, lParam);
        NoteKeyPress(key, lParam);
        OnKeyDown(key);
        return 0;
    }
    case WM_KEYUP:
        if (TakeKeyPress(wParam)) OnKeyUp(wParam);
        return 0;
    case WM_SYSKEYUP: TakeKeyPress(wParam); break;
    case WM_ENTERMENULOOP:
    case WM_ENTERSIZEMOVE:
    case WM_KILLFOCUS: ForgetKeyPresses(); break;
    case WM_ENDSESSION:
        // The system ends the process after this without WM_DESTROY: keep the day's settings.
        if (wParam) SaveSettings();
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == 0) RunCommand(LOWORD(wParam));
        return 0;
    case WM_TIMER:
        // Painting an unchanged back buffer 14 times a second costs a composed frame each time.
        if (RenderView()) InvalidateRect(MainWindow, nullptr, FALSE);
        return 0;
    case WM_MOUSEMOVE:
        if (AppState.Panning)
            MoveCapturePoint(0, 0);
        else
            SetCursor(LoadCursorA(nullptr, IDC_ARROW));
        return 0;
    case WM_LBUTTONDOWN: OnLeftButtonDown(window); return 0;
    case WM_LBUTTONUP:
        ReleaseCapture();
        AppState.Panning = false;
        return 0;
    case WM_CAPTURECHANGED:
        // Alt+Tab, a locked screen, a UAC prompt or another program took the mouse: no button-up
        // will come, and a later move without the button must not pan.
        AppState.Panning = false;
        return 0;
    case WM_GETMINMAXINFO:
        // The system's own sizing then stops at the minimum, instead of the layout answering each
        // smaller size with a resize, which flickers and moves a window dragged by its left or top.
        if (AppState.LineHeight > 0) RaiseMinimumTrackSize(reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize);
        return 0;
    case WM_MOUSEWHEEL: StepZoom(static_cast<int16_t>(HIWORD(wParam))); return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
