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

// The save as first designed: it needs the right to write zorvik.dat and nothing else. With no
// sharing the open fails, before CREATE_ALWAYS truncates, on a file held open elsewhere.
bool WritePlainly(const unsigned char* bytes, const char* path)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes, kSettingsSize, &written, nullptr) && written == kSettingsSize;
    CloseHandle(file);
    return ok;
}

// Rights or locks that the rename needs and a plain write may not: on the directory, or on the
// target, where the plain write's own open then fails the same way and leaves it alone.
bool RenameRefused(DWORD error)
{
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
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
    unsigned char bytes[kSettingsSize];
    EncodeSettings(record, bytes);
    // Write beside the target and rename over it, so a failed write never leaves it short.
    char temp[MAX_PATH];
    HANDLE file = INVALID_HANDLE_VALUE;
    if (GetTempFileNameA(".", "zvk", 0, temp)) {
        file = CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) DeleteFileA(temp);
    }
    // A directory that takes no new file may still hold a zorvik.dat that can be written.
    if (file == INVALID_HANDLE_VALUE) return WritePlainly(bytes, path);
    DWORD written = 0;
    const bool whole = WriteFile(file, bytes, kSettingsSize, &written, nullptr) && written == kSettingsSize;
    FlushFileBuffers(file);  // only a wish for the disk: the bytes are written either way
    CloseHandle(file);
    if (whole && MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    const DWORD error = GetLastError();
    DeleteFileA(temp);
    // Not where the disk refused the bytes: a plain write would truncate the target and fail alike.
    return whole && RenameRefused(error) && WritePlainly(bytes, path);
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
