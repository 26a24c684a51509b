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
    char temp[MAX_PATH];
    char done[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    if (!GetTempFileNameA(temp, "zvh", 0, done)) return false;
    DeleteFileA(done);
    const std::string hostDone = HostPath(done);
    if (hostDone.empty()) return false;

    // Wine starts a host program without a handle to wait on: the command leaves its exit status
    // in a file, renamed into place so that it is never seen half written.
    std::string line = "sh -c \"" + shellCommand + "; echo $? > '" + hostDone + ".part'; mv '" + hostDone +
                       ".part' '" + hostDone + "'\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA("Z:\\bin\\sh", &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    if (pi.hProcess) CloseHandle(pi.hProcess);
    if (pi.hThread) CloseHandle(pi.hThread);
    if (!PumpUntil([&done] { return GetFileAttributesA(done) != INVALID_FILE_ATTRIBUTES; }, 10000)) return false;
    int status = -1;
    if (FILE* f = fopen(done, "r")) {
        if (fscanf(f, "%d", &status) != 1) status = -1;
        fclose(f);
    }
    DeleteFileA(done);
    return status == 0;
}
