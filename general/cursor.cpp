#include "general/general.h"

HWND MainWindow = nullptr;
HMODULE User32Module = nullptr;
SetPhysicalCursorPosFn SetPhysicalCursorPosProc = nullptr;
GetPhysicalCursorPosFn GetPhysicalCursorPosProc = nullptr;
HMODULE DwmApiModule = nullptr;
DwmIsCompositionEnabledFn DwmIsCompositionEnabledProc = nullptr;

void GeneralUnitInit()
{
    // Not imported statically: systems before Vista lack both functions.
    User32Module = LoadLibraryA("user32.dll");
    if (User32Module) {
        SetPhysicalCursorPosProc = LookUpProc<SetPhysicalCursorPosFn>(User32Module, "SetPhysicalCursorPos");
        GetPhysicalCursorPosProc = LookUpProc<GetPhysicalCursorPosFn>(User32Module, "GetPhysicalCursorPos");
    } else {
        SetPhysicalCursorPosProc = nullptr;
        GetPhysicalCursorPosProc = nullptr;
    }
    DwmApiModule = LoadSystemLibrary("dwmapi.dll");
    DwmIsCompositionEnabledProc =
        DwmApiModule ? LookUpProc<DwmIsCompositionEnabledFn>(DwmApiModule, "DwmIsCompositionEnabled") : nullptr;
}

void GeneralUnitDone()
{
    // user32 stays loaded through the import table, so the pointers stay valid.
    if (User32Module) FreeLibrary(User32Module);
    if (DwmApiModule) FreeLibrary(DwmApiModule);
    EndShellCom();
}

BOOL GetCursorPosPhysical(POINT* point)
{
    if (GetPhysicalCursorPosProc) return GetPhysicalCursorPosProc(point);
    return GetCursorPos(point);
}

bool SetCursorPosPhysical(int x, int y)
{
    BOOL r;
    if (SetPhysicalCursorPosProc)
        r = SetPhysicalCursorPosProc(x, y);
    else
        r = SetCursorPos(x, y);
    return r != 0;
}

DWORD ScreenCopyRasterOp()
{
    BOOL composed = FALSE;
    if (DwmIsCompositionEnabledProc && SUCCEEDED(DwmIsCompositionEnabledProc(&composed)) && composed) return SRCCOPY;
    return SRCCOPY | CAPTUREBLT;
}
