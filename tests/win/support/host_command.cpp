#include "host_command.h"

#include <windows.h>

#include <cstdio>

#include "test_app.h"

std::string HostPath(const std::string& windowsPath)
{
    typedef char*(CDECL * UnixNameFn)(const WCHAR*);
    auto unixName = reinterpret_cast<UnixNameFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName) return "";
    char full[MAX_PATH];
    WCHAR wide[MAX_PATH];
    GetFullPathNameA(windowsPath.c_str(), MAX_PATH, full, nullptr);
    MultiByteToWideChar(CP_ACP, 0, full, -1, wide, MAX_PATH);
    char* name = unixName(wide);
    if (!name) return "";
    const std::string path = name;
    HeapFree(GetProcessHeap(), 0, name);
    return path;
}

bool RunOnHost(const std::string& shellCommand)
{
    // The bench's host agent runs the command outside Wine and any namespace Wine runs in (chattr
    // needs the host's own root); requests and answers are files in its folder, each renamed into
    // place so that neither side ever reads one half written.
    char agent[MAX_PATH];
    const DWORD length = GetEnvironmentVariableA("ZORVIK_HOST_AGENT", agent, sizeof agent);
    if (length == 0 || length >= sizeof agent) return false;
    std::string folder = std::string("Z:") + agent;
    for (char& c : folder)
        if (c == '/') c = '\\';

    static unsigned requests = 0;
    const std::string name = folder + "\\" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++requests);
    const std::string part = name + ".part", request = name + ".cmd", status = name + ".status";
    FILE* f = fopen(part.c_str(), "wb");
    if (!f) return false;
    const bool written = fputs((shellCommand + "\n").c_str(), f) >= 0;
    if (fclose(f) != 0 || !written || !MoveFileA(part.c_str(), request.c_str())) {
        DeleteFileA(part.c_str());
        return false;
    }
    if (!PumpUntil([&status] { return GetFileAttributesA(status.c_str()) != INVALID_FILE_ATTRIBUTES; }, 10000)) {
        DeleteFileA(request.c_str());  // a late chattr must not outlive the test that asked for it
        return false;
    }
    int code = -1;
    if (FILE* s = fopen(status.c_str(), "r")) {
        if (fscanf(s, "%d", &code) != 1) code = -1;
        fclose(s);
    }
    DeleteFileA(status.c_str());
    DeleteFileA((name + ".log").c_str());
    return code == 0;
}
