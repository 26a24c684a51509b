// Reading the started program back through the platform, and driving its window procedure.
#pragma once

#include <windows.h>

#include <vector>

#include "zorvik/shell/app_state.h"
#include "zorvik/shell/shell.h"

// The window procedure called directly, as the system would dispatch the message.
inline LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return MainWndProc(MainWindow, message, wParam, lParam);
}

inline LRESULT Command(int id, int notification = 0)
{
    return Send(WM_COMMAND, MAKEWPARAM(id, notification));
}

// Ids of the checked items of a menu, in menu order.
inline std::vector<UINT> CheckedIds(HMENU menu)
{
    std::vector<UINT> ids;
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
        if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED) ids.push_back(GetMenuItemID(menu, i));
    return ids;
}

inline bool Checked(HMENU menu, UINT id)
{
    const UINT state = GetMenuState(menu, id, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & MF_CHECKED) != 0;
}

inline bool IsTopMost()
{
    return (GetWindowLongA(MainWindow, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

inline RECT WindowRect()
{
    RECT r = {};
    GetWindowRect(MainWindow, &r);
    return r;
}

inline RECT ClientRect()
{
    RECT r = {};
    GetClientRect(MainWindow, &r);
    return r;
}

// What the caption and frame add to the client area now.
inline SIZE FrameSize()
{
    const RECT outer = WindowRect(), client = ClientRect();
    return {outer.right - outer.left - client.right, outer.bottom - outer.top - client.bottom};
}

inline HBITMAP BitmapOf(HDC dc)
{
    return static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP));
}

inline BITMAP Describe(HBITMAP bitmap)
{
    BITMAP b = {};
    GetObjectA(bitmap, sizeof b, &b);
    return b;
}

// Resizes the window, top-left corner kept; the WM_SIZE it sends runs inside.
inline void ResizeWindow(int width, int height)
{
    SetWindowPos(MainWindow, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Resizes the window to a client size, with its present frame and caption.
inline void ResizeClient(int width, int height)
{
    const SIZE frame = FrameSize();
    ResizeWindow(width + frame.cx, height + frame.cy);
}

inline void MoveWindowTo(int left, int top)
{
    SetWindowPos(MainWindow, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
