// The least a window of this design costs at rest, for tools/bench-cpu.sh to hold the magnifier
// against: the magnifier's class style, frame, size and 70 ms timer, and on each tick the cursor
// read as the magnifier reads it; nothing is captured or drawn.
#include <windows.h>

#include "general/general.h"
#include "zorvik/commands/command_ids.h"
#include "zorvik/shell/shell.h"

namespace {

LRESULT CALLBACK FloorWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER: {
        POINT p;
        GetCursorPosPhysical(&p);
        return 0;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(window, &ps);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    GeneralUnitInit();
    WNDCLASSA wc = {};
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_OWNDC;
    wc.lpfnWndProc = FloorWndProc;
    wc.hInstance = instance;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = "ZorvikCpuFloor";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, wc.lpszClassName, "K-VEX floor", kMainWindowStyle, 75, 75, 215, 235, nullptr,
                                  nullptr, instance, nullptr);
    SetTimer(window, ID_CAPTURE_TIMER, kCaptureIntervalMs, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    GeneralUnitDone();
    return 0;
}
