// Start-up, the window procedure and shutdown.
#pragma once

#include <windows.h>

extern const char* const MainWindowClassName;
constexpr DWORD kMainWindowStyle = 0x90CE0000;  // pop-up, visible, caption, system menu, sizing frame, minimize box

// The program from class registration to the end of the message loop; returns the exit code:
// 0 after a normal close, 1 when the class cannot be registered or the window cannot be created.
int RunZorvik(HINSTANCE instance);

// The steps of RunZorvik: class, settings, window and its resources (false when the class or the
// window cannot be made), then the message loop until WM_QUIT (returns its wParam).
bool StartUp(HINSTANCE instance);
int RunMessageLoop();

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void SetCaptureTimer(bool on);
BOOL CALLBACK MonitorHitProc(HMONITOR monitor, HDC monitorDC, LPRECT monitorRect, LPARAM data);
void Teardown();
