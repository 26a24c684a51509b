#include "system_at_hand.h"

#include <windows.h>

#include <cstring>

bool OnTheBench()
{
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

bool DesktopMayChange()
{
    char value[16] = {};
    const DWORD n = GetEnvironmentVariableA("ZORVIK_DESKTOP", value, sizeof value);
    if (n > 0 && n < sizeof value) {
        if (strcmp(value, "change") == 0) return true;
        if (strcmp(value, "keep") == 0) return false;
    }
    return OnTheBench();
}

std::string TooSmallForTheSystem(int outerWidth, int outerHeight)
{
    const std::string size = std::to_string(outerWidth) + " x " + std::to_string(outerHeight);
    const int minWidth = GetSystemMetrics(SM_CXMINTRACK), minHeight = GetSystemMetrics(SM_CYMINTRACK);
    if (outerWidth < minWidth || outerHeight < minHeight)
        return "sizes the window to " + size + ", and this system keeps a captioned window at least " +
               std::to_string(minWidth) + " x " + std::to_string(minHeight) + " (SM_CXMINTRACK, SM_CYMINTRACK)";
    // Above 200 % the program's own smallest window (caption, frame, three status lines and a cell
    // of the largest zoom) can be taller than the sizes these tests were written for.
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    if (dpi > 192)
        return "sizes the window to " + size + ", sizes chosen for displays of 200 % at most; this system's DPI is " +
               std::to_string(dpi);
    return "";
}
