#include "general/general.h"
#include "zorvik/commands/command_ids.h"
#include "zorvik/commands/commands.h"
#include "zorvik/commands/menu_texts.h"
#include "zorvik/shell/app_state.h"
#include "zorvik/shell/shell.h"
#include "zorvik/view/view.h"

namespace {

template <size_t N>
void AppendEntries(HMENU menu, const MenuEntry (&entries)[N])
{
    for (const MenuEntry& e : entries) {
        switch (e.Kind) {
        case MenuEntryKind::String: AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(e.Id), e.Caption); break;
        case MenuEntryKind::Radio: AppendRadioItem(menu, e.Caption, static_cast<UINT>(e.Id), false); break;
        case MenuEntryKind::Separator: AppendMenuA(menu, MF_SEPARATOR, 0, nullptr); break;
        }
    }
}

HMENU AppendSubmenu(HMENU parent, const char* caption)
{
    HMENU menu = CreatePopupMenu();
    AppendMenuA(parent, MF_POPUP, reinterpret_cast<UINT_PTR>(menu), caption);
    return menu;
}

void BuildMenus()
{
    AppStateRecord& a = AppState;
    a.MainMenu = CreatePopupMenu();
    a.ZoomMenu = AppendSubmenu(a.MainMenu, ZoomMenuCaption);
    AppendEntries(a.ZoomMenu, ZoomMenuEntries);
    a.GridMenu = AppendSubmenu(a.MainMenu, GridMenuCaption);
    AppendEntries(a.GridMenu, GridMenuEntries);
    a.CopyMenu = AppendSubmenu(a.MainMenu, CopyMenuCaption);
    AppendEntries(a.CopyMenu, CopyMenuEntries);
    AppendEntries(a.MainMenu, MainMenuTailEntries);
}

}  // namespace

void InitWindowResources(HWND window)
{
    AppStateRecord& a = AppState;
    BuildMenus();

    HDC windowDC = GetDC(window);
    a.CaptureDC = CreateCompatibleDC(windowDC);
    a.ViewDC = CreateCompatibleDC(windowDC);
    ReleaseDC(window, windowDC);
    a.OriginalCaptureBitmap = GetCurrentObject(a.CaptureDC, OBJ_BITMAP);
    a.OriginalViewBitmap = GetCurrentObject(a.ViewDC, OBJ_BITMAP);

    SelectObject(a.ViewDC, GetStockObject(DEFAULT_GUI_FONT));
    SIZE extent = {0, 0};
    GetTextExtentPoint32A(a.ViewDC, "0", 1, &extent);
    a.LineHeight = extent.cy + 2;
    SetTextColor(a.ViewDC, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(a.ViewDC, GetSysColor(COLOR_WINDOW));

    // The first layout: Width was zeroed, so it counts as a size change and creates the bitmaps.
    SelectZoom(a.AppSettings.Zoom);
    SetMenuItemChecked(a.GridMenu, ID_GRID, a.AppSettings.ShowGrid != 0);
    SetMenuItemChecked(a.GridMenu, ID_SUBGRID, a.AppSettings.ShowSubgrid != 0);
    ApplyGridCommand(a.AppSettings.GridStyle);
    if (a.AppSettings.TopMost != 0) MainWndProc(MainWindow, WM_COMMAND, ID_TOPMOST, 0);
    SetCaptureTimer(true);
}

void SelectZoom(int32_t commandId)
{
    AppState.AppSettings.Zoom = static_cast<int8_t>(commandId & 0xFF);
    HMENU menu = AppState.ZoomMenu;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        const UINT id = GetMenuItemID(menu, i);
        SetMenuItemChecked(menu, id, id == static_cast<UINT>(commandId));
    }
    UpdateLayout();
    RefreshView();
}

void StepZoom(int32_t direction)
{
    HMENU menu = AppState.ZoomMenu;
    const int count = GetMenuItemCount(menu);
    // The marks, not AppSettings.Zoom, say where we are; no mark counts as position 0.
    int current = 0;
    for (int i = 0; i < count; ++i) {
        if (IsMenuItemChecked(menu, GetMenuItemID(menu, i))) {
            current = i;
            break;
        }
    }
    SelectZoom(static_cast<int32_t>(GetMenuItemID(menu, ZoomStepTarget(current, direction, count))));
}

void ApplyGridCommand(int32_t commandId)
{
    AppStateRecord& a = AppState;
    HMENU menu = a.GridMenu;
    ToggleMenuItemCheck(menu, static_cast<UINT>(commandId));
    if (commandId == ID_GRID) {
        a.AppSettings.ShowGrid = IsMenuItemChecked(menu, ID_GRID) ? 1 : 0;
    } else if (commandId == ID_SUBGRID) {
        a.AppSettings.ShowSubgrid = IsMenuItemChecked(menu, ID_SUBGRID) ? 1 : 0;
    } else {
        // The styles behave as radio items: this overrides the toggle above.
        a.AppSettings.GridStyle = commandId;
        SetMenuItemChecked(menu, ID_GRID_GRAY, commandId == ID_GRID_GRAY);
        SetMenuItemChecked(menu, ID_GRID_INVERT, commandId == ID_GRID_INVERT);
        SetMenuItemChecked(menu, ID_GRID_TRANSLUCENT, commandId == ID_GRID_TRANSLUCENT);
        GridStyleLook look;
        if (GridStyleLookFor(commandId, &look)) {
            a.GridColor = look.Color;
            a.GridMixMode = look.MixMode;
        }
    }
    RefreshView();
}

void ToggleTopMost()
{
    ToggleMenuItemCheck(AppState.MainMenu, ID_TOPMOST);
    const HWND after = IsMenuItemChecked(AppState.MainMenu, ID_TOPMOST) ? HWND_TOPMOST : HWND_NOTOPMOST;
    SetWindowPos(MainWindow, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}
