#include "test_app.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "general/general.h"
#include "zorvik/shell/app_state.h"
#include "zorvik/shell/shell.h"

ScratchDirectory::ScratchDirectory()
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    char name[MAX_PATH];
    GetTempFileNameA(temp, "zvt", 0, name);  // reserves a unique name
    DeleteFileA(name);
    CreateDirectoryA(name, nullptr);
    path_ = name;
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(sizeof cwd, cwd);
    previous_ = cwd;
    SetCurrentDirectoryA(path_.c_str());
}

ScratchDirectory::~ScratchDirectory()
{
    SetCurrentDirectoryA(previous_.c_str());
    for (const std::string& f : Files()) {
        const std::string full = path_ + "\\" + f;
        SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(full.c_str());
    }
    SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(path_.c_str());
}

std::vector<std::string> ScratchDirectory::Files() const
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA((path_ + "\\*").c_str(), &data);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string n = data.cFileName;
        if (n != "." && n != "..") names.push_back(n);
    } while (FindNextFileA(h, &data));
    FindClose(h);
    std::sort(names.begin(), names.end());
    return names;
}

void ScratchDirectory::Write(const std::string& name, const std::vector<unsigned char>& bytes) const
{
    FILE* f = fopen((path_ + "\\" + name).c_str(), "wb");
    ASSERT_NE(f, nullptr);
    if (!bytes.empty()) fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

std::vector<unsigned char> ScratchDirectory::Read(const std::string& name) const
{
    std::vector<unsigned char> bytes;
    FILE* f = fopen((path_ + "\\" + name).c_str(), "rb");
    if (!f) return bytes;
    int c;
    while ((c = fgetc(f)) != EOF) bytes.push_back(static_cast<unsigned char>(c));
    fclose(f);
    return bytes;
}

bool ScratchDirectory::Exists(const std::string& name) const
{
    return GetFileAttributesA((path_ + "\\" + name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<unsigned char> SettingsBytes(const SettingsRecord& record)
{
    std::vector<unsigned char> bytes(kSettingsSize);
    EncodeSettings(record, bytes.data());
    return bytes;
}

SettingsRecord DefaultRecord()
{
    SettingsRecord s = {};
    ApplyDefaultSettings(s);
    return s;
}

DWORD ScaledTimeout(DWORD ms)
{
    static const DWORD scale = [] {
        char text[16];
        const DWORD n = GetEnvironmentVariableA("ZORVIK_TIMEOUT_SCALE", text, sizeof text);
        const int value = n > 0 && n < sizeof text ? atoi(text) : 1;
        return static_cast<DWORD>(value > 1 ? value : 1);
    }();
    return ms * scale;
}

bool PumpMessages()
{
    bool quit = false;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            quit = true;
            continue;
        }
        DispatchMessageA(&msg);
    }
    return quit;
}

bool StartTestApp()
{
    AppState = AppStateRecord{};
    MainWindow = nullptr;
    const bool started = StartUp(GetModuleHandleA(nullptr));
    PumpMessages();
    return started;
}

void StopTestApp()
{
    if (MainWindow && IsWindow(MainWindow)) DestroyWindow(MainWindow);
    PumpMessages();
    UnregisterClassA(MainWindowClassName, GetModuleHandleA(nullptr));
    MainWindow = nullptr;
}

void AppTest::SetUp()
{
    ASSERT_TRUE(StartTestApp());
}

void AppTest::TearDown()
{
    StopTestApp();
}

std::string Bytes(const std::string& s)
{
    std::string out;
    char buf[4];
    for (unsigned char c : s) {
        snprintf(buf, sizeof buf, "%02x ", c);
        out += buf;
    }
    return out;
}
