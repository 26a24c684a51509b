// zrecord: stands in for the programs the shell would start (an editor for .txt, a browser for
// http), so that nothing visible opens on the bench. Registered as
//
//   "zrecord.exe" "<log file>" "%1"
//
// it appends one line to the log, the arguments after the log file separated by tabs, and exits.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    if (__argc < 2) return 2;
    // Appended in one write, so that two runs close together cannot interleave their lines.
    char line[8192] = {};
    for (int i = 2; i < __argc; ++i) {
        if (i > 2) strncat(line, "\t", sizeof line - strlen(line) - 1);
        strncat(line, __argv[i], sizeof line - strlen(line) - 1);
    }
    strncat(line, "\n", sizeof line - strlen(line) - 1);
    HANDLE log = CreateFileA(__argv[1], FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(log, line, static_cast<DWORD>(strlen(line)), &written, nullptr);
    CloseHandle(log);
    return 0;
}
