// The head of selftest-report.txt: the system the tests ran on, in the terms their expectations
// depend on. What a system may lack is looked up, so that this runs wherever the program runs.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

template <class Fn>
Fn Lookup(HMODULE module, const char* name)
{
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

HMODULE SystemLibrary(const char* name)
{
    char path[MAX_PATH];
    const UINT n = GetSystemDirectoryA(path, MAX_PATH);
    if (n == 0 || n + 1 + strlen(name) >= MAX_PATH) return nullptr;
    return LoadLibraryA((std::string(path) + "\\" + name).c_str());
}

std::string RegistryText(HKEY key, const char* value)
{
    char text[256] = {};
    DWORD size = sizeof text - 1, type = 0;
    if (RegQueryValueExA(key, value, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return "";
    return text;
}

const char* WindowsName(DWORD major, DWORD minor, DWORD build)
{
    if (major == 5 && minor == 1) return "Windows XP";
    if (major == 5 && minor == 2) return "Windows XP x64 or Server 2003";
    if (major == 6 && minor == 0) return "Windows Vista";
    if (major == 6 && minor == 1) return "Windows 7";
    if (major == 6 && minor == 2) return "Windows 8";
    if (major == 6 && minor == 3) return "Windows 8.1";
    if (major == 10 && minor == 0) return build >= 22000 ? "Windows 11" : "Windows 10";
    return "Windows";
}

// RtlGetVersion tells the truth whatever the manifest says; GetVersionEx does not since 8.1.
void PrintWindows()
{
    typedef LONG(WINAPI * RtlGetVersionFn)(OSVERSIONINFOEXW*);
    OSVERSIONINFOEXW v = {};
    v.dwOSVersionInfoSize = sizeof v;
    const auto getVersion = Lookup<RtlGetVersionFn>(GetModuleHandleA("ntdll.dll"), "RtlGetVersion");
    if (!getVersion || getVersion(&v) != 0) {
        printf("Windows: unknown (no RtlGetVersion)\n");
        return;
    }
    std::string number = std::to_string(v.dwMajorVersion) + "." + std::to_string(v.dwMinorVersion) + "." +
                         std::to_string(v.dwBuildNumber);
    std::string edition, release, servicePack;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", 0,
                      KEY_READ | KEY_WOW64_64KEY, &key) == ERROR_SUCCESS) {
        DWORD ubr = 0, size = sizeof ubr, type = 0;
        if (RegQueryValueExA(key, "UBR", nullptr, &type, reinterpret_cast<BYTE*>(&ubr), &size) == ERROR_SUCCESS &&
            type == REG_DWORD)
            number += "." + std::to_string(ubr);
        edition = RegistryText(key, "ProductName");  // "Windows 10" on Windows 11 too
        release = RegistryText(key, "DisplayVersion");
        if (release.empty()) release = RegistryText(key, "ReleaseId");
        RegCloseKey(key);
    }
    for (const WCHAR* c = v.szCSDVersion; *c; ++c) servicePack += *c < 128 ? static_cast<char>(*c) : '?';

    typedef BOOL(WINAPI * IsWow64ProcessFn)(HANDLE, BOOL*);
    BOOL wow64 = FALSE;
    if (const auto isWow64 = Lookup<IsWow64ProcessFn>(GetModuleHandleA("kernel32.dll"), "IsWow64Process"))
        isWow64(GetCurrentProcess(), &wow64);

    printf("Windows: %s, version %s", WindowsName(v.dwMajorVersion, v.dwMinorVersion, v.dwBuildNumber),
           number.c_str());
    if (!release.empty()) printf(" (%s)", release.c_str());
    if (!servicePack.empty()) printf(", %s", servicePack.c_str());
    printf(", %s", wow64 ? "64-bit" : "32-bit");
    if (!edition.empty()) printf("; edition: %s", edition.c_str());
    printf("\n");
    typedef const char*(CDECL * WineVersionFn)();
    if (const auto wine = Lookup<WineVersionFn>(GetModuleHandleA("ntdll.dll"), "wine_get_version"))
        printf("Wine: %s (the version above is the one it claims)\n", wine());
}

BOOL CALLBACK PrintMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM)
{
    typedef HRESULT(WINAPI * GetDpiForMonitorFn)(HMONITOR, int, UINT*, UINT*);
    static const auto getDpi = Lookup<GetDpiForMonitorFn>(SystemLibrary("shcore.dll"), "GetDpiForMonitor");
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(monitor, &info)) return TRUE;
    const RECT& r = info.rcMonitor;
    printf("  monitor (%ld, %ld)-(%ld, %ld), %ld x %ld", r.left, r.top, r.right, r.bottom, r.right - r.left,
           r.bottom - r.top);
    UINT x = 0, y = 0;
    if (getDpi && getDpi(monitor, 0, &x, &y) == S_OK) printf(", %u DPI", x);  // MDT_EFFECTIVE_DPI
    if (info.dwFlags & MONITORINFOF_PRIMARY) printf(", primary");
    const RECT& w = info.rcWork;
    if (!EqualRect(&w, &r)) printf(", work area (%ld, %ld)-(%ld, %ld)", w.left, w.top, w.right, w.bottom);
    printf("\n");
    return TRUE;
}

void PrintDisplay()
{
    typedef UINT(WINAPI * GetDpiForSystemFn)();
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    const int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    ReleaseDC(nullptr, screen);
    if (const auto getDpi = Lookup<GetDpiForSystemFn>(GetModuleHandleA("user32.dll"), "GetDpiForSystem"))
        dpi = static_cast<int>(getDpi());
    printf("System DPI: %d (%d %%), %d-bit colour\n", dpi, (dpi * 100 + 48) / 96, bits);
    printf("Monitors: %d\n", GetSystemMetrics(SM_CMONITORS));
    EnumDisplayMonitors(nullptr, nullptr, PrintMonitor, 0);

    typedef HRESULT(WINAPI * DwmIsCompositionEnabledFn)(BOOL*);
    BOOL composed = FALSE;
    const auto isComposed = Lookup<DwmIsCompositionEnabledFn>(SystemLibrary("dwmapi.dll"), "DwmIsCompositionEnabled");
    if (!isComposed)
        printf("Desktop composed: no (no desktop window manager before Windows Vista)\n");
    else if (isComposed(&composed) != S_OK)
        printf("Desktop composed: unknown (DwmIsCompositionEnabled failed)\n");
    else
        printf("Desktop composed: %s\n", composed ? "yes" : "no");

    printf("Window frame: caption %d, sizing border %d + padding %d, smallest captioned window %d x %d\n",
           GetSystemMetrics(SM_CYCAPTION), GetSystemMetrics(SM_CXSIZEFRAME), GetSystemMetrics(SM_CXPADDEDBORDER),
           GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK));
}

void PrintText()
{
    const UINT acp = GetACP();
    printf("ANSI code page: %u%s\n", acp,
           acp == 932 ? " (Japanese, as the program needs)"
                      : " (not Japanese: the program's menus and status lines show garbled here)");
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    char face[LF_FACESIZE] = {};
    GetTextFaceA(dc, sizeof face, face);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    DeleteDC(dc);
    printf("Default GUI font: %s, %ld pixels high\n", face, metrics.tmHeight);  // in the system's code page
}

}  // namespace

int main()
{
    PrintWindows();
    PrintDisplay();
    PrintText();
    return 0;
}
