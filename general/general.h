// The platform-support unit: the main window handle, cursor access in physical coordinates,
// menu check marks and clipboard text.
#pragma once

#include <windows.h>

#include <string>

#include "general/numbers.h"

extern HWND MainWindow;

// A function that not every Windows has, or null.
template <class Fn>
Fn LookUpProc(HMODULE module, const char* name)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

typedef BOOL(WINAPI* SetPhysicalCursorPosFn)(int x, int y);
typedef BOOL(WINAPI* GetPhysicalCursorPosFn)(LPPOINT point);
typedef HRESULT(WINAPI* DwmIsCompositionEnabledFn)(BOOL* enabled);

// Looked up once in GeneralUnitInit; each may be null on its own (older systems).
extern HMODULE User32Module;
extern SetPhysicalCursorPosFn SetPhysicalCursorPosProc;
extern GetPhysicalCursorPosFn GetPhysicalCursorPosProc;
extern HMODULE DwmApiModule;  // Vista on; XP has no dwmapi.dll
extern DwmIsCompositionEnabledFn DwmIsCompositionEnabledProc;

void GeneralUnitInit();
void GeneralUnitDone();

// Only the system folder is searched for a DLL loaded by name from now on, where Windows lets a
// program choose; elsewhere at least not the current directory. The program's own folder may be
// a Downloads folder, where anyone can leave a DLL. First thing at start-up.
void RestrictDllSearch();

// A DLL of the system folder, by its full path: Vista and 7 without the update that brought
// SetDefaultDllDirectories still search the program's own folder first for a DLL that is not a
// known one, as dwmapi.dll is not.
HMODULE LoadSystemLibrary(const char* name);

// The window gets no input context: an input method then neither composes text over it nor takes
// the keys its commands use.
void DetachInputMethod(HWND window);

BOOL GetCursorPosPhysical(POINT* point);
bool SetCursorPosPhysical(int x, int y);

// The raster operation of a copy from the screen: with CAPTUREBLT, so that layered windows are in
// it, where the desktop is not composed; SRCCOPY alone where it is, since there layered windows
// are part of the screen anyway and CAPTUREBLT makes the mouse pointer blink at every copy. Asked
// at each copy: Vista and 7 can switch composition on and off while the program runs.
DWORD ScreenCopyRasterOp();

void InsertRadioItem(HMENU menu, const std::string& caption, UINT id, bool checked, int position);
void AppendRadioItem(HMENU menu, const std::string& caption, UINT id, bool checked);
bool IsMenuItemChecked(HMENU menu, UINT id);
void SetMenuItemChecked(HMENU menu, UINT id, bool checked);
void ToggleMenuItemCheck(HMENU menu, UINT id);

// False when the clipboard stayed held by another program, or the text could not be placed; an
// empty text leaves the clipboard as it is and counts as done.
bool SetClipboardText(const std::string& text);

// ShellExecuteA with the default verb; false when the shell reports a failure (32 or less).
bool OpenWithShell(const char* target);
// Balances the COM set-up of the first OpenWithShell; in GeneralUnitDone.
void EndShellCom();

// Held when the high-order byte of GetAsyncKeyState is not 0, sampled when the action runs.
bool IsKeyHeld(int virtualKey);
