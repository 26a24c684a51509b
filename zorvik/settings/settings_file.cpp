#include "zorvik/settings/settings_file.h"

#include <windows.h>

#include "zorvik/commands/command_ids.h"
#include "zorvik/shell/app_state.h"

const char* const SettingsFileName = "zorvik.dat";

namespace {

bool ShiftAndCtrlHeld()
{
    return IsKeyHeld(VK_SHIFT) && IsKeyHeld(VK_CONTROL);
}

// GetWindowRect of a minimised window is the icon's; the restored rectangle is what the user
// expects back. rcNormalPosition is in work-area coordinates.
void TakeRestoredGeometry(SettingsRecord& s)
{
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(MainWindow, &placement)) return;
    RECT r = placement.rcNormalPosition;
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(MonitorFromRect(&r, MONITOR_DEFAULTTOPRIMARY), &info))
        OffsetRect(&r, info.rcWork.left - info.rcMonitor.left, info.rcWork.top - info.rcMonitor.top);
    s.Left = r.left;
    s.Top = r.top;
    s.Width = RectWidth(r);
    s.Height = RectHeight(r);
}

}  // namespace

bool LoadSettings()
{
    if (ShiftAndCtrlHeld()) return false;
    HANDLE file = CreateFileA(SettingsFileName, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    // Straight into the record: a short read leaves the rest as it was, and the defaults that
    // follow a failed load overwrite every byte it could have reached.
    SettingsRecord& s = AppState.AppSettings;
    DWORD read = 0;
    const BOOL ok = ReadFile(file, &s, kSettingsSize, &read, nullptr);
    CloseHandle(file);
    if (!ok || read != kSettingsSize) return false;
    RepairLoadedSettings(s);
    return true;
}

bool WriteSettingsFile(const SettingsRecord& record, const char* path)
{
    // Write beside the target and rename over it, so a failed write never leaves it short.
    char temp[MAX_PATH];
    if (!GetTempFileNameA(".", "zvk", 0, temp)) return false;
    HANDLE file = CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DeleteFileA(temp);
        return false;
    }
    unsigned char bytes[kSettingsSize];
    EncodeSettings(record, bytes);
    DWORD written = 0;
    bool ok = WriteFile(file, bytes, kSettingsSize, &written, nullptr) && written == kSettingsSize;
    FlushFileBuffers(file);  // only a wish for the disk: the bytes are written either way
    CloseHandle(file);
    if (ok) ok = MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (!ok) DeleteFileA(temp);
    return ok;
}

void SaveSettings()
{
    if (ShiftAndCtrlHeld()) return;
    const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS);
    SettingsRecord& s = AppState.AppSettings;
    if (IsIconic(MainWindow)) {
        TakeRestoredGeometry(s);
    } else {
        RECT r;
        if (GetWindowRect(MainWindow, &r)) {
            s.Left = r.left;
            s.Top = r.top;
        }
    }
    s.TopMost = IsMenuItemChecked(AppState.MainMenu, ID_TOPMOST) ? 1 : 0;
    WriteSettingsFile(s, SettingsFileName);
    SetErrorMode(previousMode);
}
