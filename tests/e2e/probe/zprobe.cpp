// zprobe: answers the end-to-end tests' questions about the Windows side, one command per line
// on stdin, one answer line per command on stdout ("ok ..." or "err ...").
//
//   acp                                  code page of the ANSI calls
//   find <class> <caption> <timeout_ms>  top-level window, waiting for it
//   findexe <class> <text> <timeout_ms> top-level window of a process whose image path contains text
//   info <hwnd>                          window and client rectangles, style, ex-style, pid, visible, iconic
//   post <hwnd> <msg> <wparam> <lparam>  PostMessageA
//   send <hwnd> <msg> <wparam> <lparam>  SendMessageTimeoutA, 5 s
//   foreground <hwnd>                    SetForegroundWindow
//   setsize <hwnd> <w> <h>               SetWindowPos to that outer size, keeping place and z-order
//   gui <hwnd>                           GetGUIThreadInfo of the window's thread: capture, move/size window, flags
//   move <hwnd> <x> <y>                  SetWindowPos to that place, keeping size and z-order
//   helper <x> <y> <w> <h>               shows a window of the probe's own and gives it the focus
//   unhelper                             closes that window again
//   keys                                 GetAsyncKeyState of Shift and Ctrl, 1 when held
//   lock <path>                          opens the file with no sharing and keeps it open
//   unlock                               closes it again
//   cursor                               GetCursorPos
//   text <hex>                           the bytes drawn with TextOutA in the default GUI font, window colours:
//                                        width, height and the pixels row by row as rrggbb
//   metrics                              virtual screen and primary monitor sizes
//   dpi                                  the system's DPI, as the screen DC gives it
//   logpixels <dpi>|-                    sets the system DPI of processes started later, or deletes it
//   awareness <hwnd>                     the window's DPI awareness: 0 unaware, 1 system, 2 per monitor
//   wine                                 the version of Wine it runs on ("err" on Windows)
//   clip                                 CF_TEXT bytes in hex, and the clipboard owner
//   clipseq                              GetClipboardSequenceNumber
//   setclip <hex>                        puts CF_TEXT on the clipboard, this process as owner
//   holdclip <ms>                        opens the clipboard, answers once it is open, closes it ms later
//   owned <hwnd>                         visible windows owned by hwnd: class, caption, static text (hex)
//   menus                                rectangles of all visible pop-up menu windows, top of the z-order first
//   version <path> <name>                VerQueryValueA of a StringFileInfo value, bytes in hex
//   keep                                 stay resident (the bench keeper)
//   quit
//
// The probe is per-monitor DPI aware, so that it sees physical pixels at any display scale: a
// runtime that honours awareness hands an unaware or system-aware process scaled coordinates.
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

std::string Hex(const unsigned char* p, size_t n)
{
    static const char digits[] = "0123456789abcdef";
    std::string s;
    for (size_t i = 0; i < n; ++i) {
        s += digits[p[i] >> 4];
        s += digits[p[i] & 15];
    }
    return s;
}

std::vector<unsigned char> Unhex(const std::string& s)
{
    std::vector<unsigned char> out;
    for (size_t i = 0; i + 1 < s.size(); i += 2) out.push_back(static_cast<unsigned char>(strtoul(s.substr(i, 2).c_str(), nullptr, 16)));
    return out;
}

HWND ParseHwnd(const char* s)
{
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(strtoull(s, nullptr, 0)));
}

void Reply(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    vprintf(fmt, args);
    va_end(args);
    printf("\n");
    fflush(stdout);
}

struct FindData {
    const char* cls;
    const char* caption;
    HWND found;
};

BOOL CALLBACK FindTopLevel(HWND w, LPARAM lp)
{
    auto* d = reinterpret_cast<FindData*>(lp);
    char cls[256] = {}, text[256] = {};
    GetClassNameA(w, cls, sizeof cls);
    GetWindowTextA(w, text, sizeof text);
    if (strcmp(cls, d->cls) == 0 && (strcmp(d->caption, "*") == 0 || strcmp(text, d->caption) == 0)) {
        d->found = w;
        return FALSE;
    }
    return TRUE;
}

// Several copies of one program run side by side: the path of each run's own copy tells them apart.
struct FindExeData {
    const char* cls;
    const char* text;
    HWND found;
};

BOOL CALLBACK FindByImage(HWND w, LPARAM lp)
{
    auto* d = reinterpret_cast<FindExeData*>(lp);
    char cls[256] = {};
    GetClassNameA(w, cls, sizeof cls);
    if (strcmp(cls, d->cls) != 0) return TRUE;
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process) return TRUE;
    char image[MAX_PATH * 2] = {};
    DWORD size = sizeof image;
    const BOOL named = QueryFullProcessImageNameA(process, 0, image, &size);
    CloseHandle(process);
    if (named && strstr(CharLowerA(image), d->text)) {
        d->found = w;
        return FALSE;
    }
    return TRUE;
}

struct OwnedData {
    HWND owner;
    std::string out;
};

BOOL CALLBACK CollectOwned(HWND w, LPARAM lp)
{
    auto* d = reinterpret_cast<OwnedData*>(lp);
    if (GetWindow(w, GW_OWNER) != d->owner || !IsWindowVisible(w)) return TRUE;
    char cls[256] = {}, caption[256] = {};
    GetClassNameA(w, cls, sizeof cls);
    GetWindowTextA(w, caption, sizeof caption);
    // A message box keeps its text in the static control with id 0xFFFF.
    char text[4096] = {};
    GetDlgItemTextA(w, 0xFFFF, text, sizeof text);
    char line[64];
    snprintf(line, sizeof line, " hwnd=0x%llx", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(w)));
    d->out += line;
    d->out += " class=" + Hex(reinterpret_cast<unsigned char*>(cls), strlen(cls));
    d->out += " caption=" + Hex(reinterpret_cast<unsigned char*>(caption), strlen(caption));
    d->out += " text=" + Hex(reinterpret_cast<unsigned char*>(text), strlen(text));
    return TRUE;
}

BOOL CALLBACK CollectMenuWindows(HWND w, LPARAM lp)
{
    char cls[64] = {};
    GetClassNameA(w, cls, sizeof cls);
    RECT r;
    if (strcmp(cls, "#32768") == 0 && IsWindowVisible(w) && GetWindowRect(w, &r)) {
        char item[64];
        snprintf(item, sizeof item, " %ld,%ld,%ld,%ld", r.left, r.top, r.right, r.bottom);
        *reinterpret_cast<std::string*>(lp) += item;
    }
    return TRUE;
}

void Clip()
{
    if (!OpenClipboard(nullptr)) {
        Reply("err open");
        return;
    }
    HWND owner = GetClipboardOwner();
    HANDLE data = GetClipboardData(CF_TEXT);
    std::string bytes;
    bool have = false;
    SIZE_T blockSize = 0;
    if (data) {
        const char* p = static_cast<const char*>(GlobalLock(data));
        if (p) {
            blockSize = GlobalSize(data);
            bytes = Hex(reinterpret_cast<const unsigned char*>(p), strlen(p));
            have = true;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    if (have)
        Reply("ok text=%s size=%lu owner=0x%llx", bytes.c_str(), static_cast<unsigned long>(blockSize),
              static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(owner)));
    else
        Reply("ok none owner=0x%llx", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(owner)));
}

// The clipboard owner gets messages sent by other programs (WM_DESTROYCLIPBOARD when they
// empty it): it lives on a thread of its own that pumps them, or their copy would wait for it.
struct ClipOwner {
    HWND window;
    HANDLE ready;
};

DWORD WINAPI ClipOwnerThread(void* param)
{
    auto* owner = static_cast<ClipOwner*>(param);
    owner->window = CreateWindowA("STATIC", "zprobe", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    SetEvent(owner->ready);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}

HWND ClipOwnerWindow()
{
    static ClipOwner owner = {nullptr, nullptr};
    if (!owner.ready) {
        owner.ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        CloseHandle(CreateThread(nullptr, 0, ClipOwnerThread, &owner, 0, nullptr));
        WaitForSingleObject(owner.ready, INFINITE);
    }
    return owner.window;
}

void SetClip(const std::string& hex)
{
    std::vector<unsigned char> bytes = Unhex(hex);
    if (!OpenClipboard(ClipOwnerWindow())) {
        Reply("err open");
        return;
    }
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes.size() + 1);
    char* p = static_cast<char*>(GlobalLock(block));
    memcpy(p, bytes.data(), bytes.size());
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
    Reply("ok owner=0x%llx", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(ClipOwnerWindow())));
}

void Version(const char* path, const char* name)
{
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &handle);
    if (!size) {
        Reply("err size");
        return;
    }
    std::vector<char> block(size);
    if (!GetFileVersionInfoA(path, 0, size, block.data())) {
        Reply("err info");
        return;
    }
    void* value = nullptr;
    UINT len = 0;
    if (strcmp(name, "\\") == 0) {
        if (!VerQueryValueA(block.data(), "\\", &value, &len)) {
            Reply("err query");
            return;
        }
        auto* f = static_cast<VS_FIXEDFILEINFO*>(value);
        Reply("ok %lu.%lu.%lu.%lu", HIWORD(f->dwFileVersionMS), LOWORD(f->dwFileVersionMS), HIWORD(f->dwFileVersionLS),
              LOWORD(f->dwFileVersionLS));
        return;
    }
    if (!VerQueryValueA(block.data(), name, &value, &len)) {
        Reply("err query");
        return;
    }
    if (strncmp(name, "\\VarFileInfo", 12) == 0) {
        Reply("ok %s", Hex(static_cast<unsigned char*>(value), len).c_str());
        return;
    }
    const char* s = static_cast<const char*>(value);
    Reply("ok %s", Hex(reinterpret_cast<const unsigned char*>(s), strlen(s)).c_str());
}

// A clipboard manager's read: the clipboard open for a while right after a change. Opened and closed
// on a thread of its own, which owns it while it is open.
DWORD WINAPI HoldClipboard(void* param)
{
    auto* hold = static_cast<std::pair<DWORD, HANDLE>*>(param);
    const DWORD ms = hold->first;
    HWND window = CreateWindowA("STATIC", "zprobe hold", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    const bool opened = OpenClipboard(window) != 0;
    Reply(opened ? "ok" : "err open");
    SetEvent(hold->second);  // the caller's hold is gone after this
    if (opened) {
        Sleep(ms);
        CloseClipboard();
    }
    DestroyWindow(window);
    return 0;
}

void HoldClip(DWORD ms)
{
    std::pair<DWORD, HANDLE> hold(ms, CreateEventA(nullptr, TRUE, FALSE, nullptr));
    CloseHandle(CreateThread(nullptr, 0, HoldClipboard, &hold, 0, nullptr));
    WaitForSingleObject(hold.second, INFINITE);
    CloseHandle(hold.second);
}

// Key events from xdotool change GetAsyncKeyState only while they reach a window of a Wine process
// that pumps messages: before any K-VEX window exists, this one takes them.
struct Helper {
    int x, y, width, height;
    HANDLE ready;
    HANDLE thread;
    HWND window;
};
Helper TheHelper = {};

LRESULT CALLBACK HelperProc(HWND w, UINT message, WPARAM wp, LPARAM lp)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(w, message, wp, lp);
}

DWORD WINAPI HelperThread(void*)
{
    Helper& h = TheHelper;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = HelperProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = "ZprobeHelper";
    RegisterClassA(&wc);
    h.window = CreateWindowExA(WS_EX_TOPMOST, "ZprobeHelper", "zprobe helper", WS_POPUP | WS_VISIBLE, h.x, h.y,
                               h.width, h.height, nullptr, nullptr, wc.hInstance, nullptr);
    SetEvent(h.ready);
    if (!h.window) return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}

void ShowHelper(int x, int y, int width, int height)
{
    Helper& h = TheHelper;
    if (h.thread) {
        Reply("err helper already shown");
        return;
    }
    h = {x, y, width, height, CreateEventA(nullptr, TRUE, FALSE, nullptr), nullptr, nullptr};
    h.thread = CreateThread(nullptr, 0, HelperThread, nullptr, 0, nullptr);
    WaitForSingleObject(h.ready, INFINITE);
    CloseHandle(h.ready);
    if (!h.window) {
        WaitForSingleObject(h.thread, INFINITE);
        CloseHandle(h.thread);
        h.thread = nullptr;
        Reply("err helper");
        return;
    }
    SetForegroundWindow(h.window);
    Reply("ok 0x%llx", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(h.window)));
}

void CloseHelper()
{
    Helper& h = TheHelper;
    if (!h.thread) {
        Reply("ok");
        return;
    }
    PostMessageA(h.window, WM_CLOSE, 0, 0);
    WaitForSingleObject(h.thread, INFINITE);
    CloseHandle(h.thread);
    h.thread = nullptr;
    h.window = nullptr;
    Reply("ok");
}

HANDLE LockedFile = INVALID_HANDLE_VALUE;

// Draws the text the way a status line of the window's colours would look, into a memory DC.
void Text(const std::string& hex)
{
    const std::vector<unsigned char> bytes = Unhex(hex);
    const char* text = reinterpret_cast<const char*>(bytes.data());
    const int length = static_cast<int>(bytes.size());
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, text, length, &size);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, size.cx > 0 ? size.cx : 1, size.cy > 0 ? size.cy : 1);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    TextOutA(dc, 0, 0, text, length);
    SelectObject(dc, oldBitmap);
    // Top-down 32-bit rows: blue, green, red, unused.
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<unsigned char> bgrx(static_cast<size_t>(size.cx) * (size.cy > 0 ? size.cy : 0) * 4);
    if (!bgrx.empty()) GetDIBits(dc, bitmap, 0, static_cast<UINT>(size.cy), bgrx.data(), &info, DIB_RGB_COLORS);
    std::string pixels;
    pixels.reserve(bgrx.size() / 4 * 6);
    for (size_t i = 0; i < bgrx.size(); i += 4) {
        const unsigned char rgb[3] = {bgrx[i + 2], bgrx[i + 1], bgrx[i]};
        pixels += Hex(rgb, 3);
    }
    SelectObject(dc, oldFont);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    Reply("ok %ld %ld %s", size.cx, size.cy, pixels.c_str());
}

// Enumerates the top-level windows until the callback has found one or the time is up.
template <class Data>
HWND WaitForWindow(WNDENUMPROC callback, Data* data, HWND* found, int timeoutMs)
{
    const DWORD deadline = GetTickCount() + static_cast<DWORD>(timeoutMs);
    for (;;) {
        EnumWindows(callback, reinterpret_cast<LPARAM>(data));
        if (*found || static_cast<int>(GetTickCount() - deadline) >= 0) return *found;
        Sleep(20);
    }
}

void ReplyFound(HWND found)
{
    if (found)
        Reply("ok 0x%llx", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(found)));
    else
        Reply("err none");
}

// Looked up: not every Windows or Wine has it.
template <class Function>
Function Lookup(const char* module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(module), name)));
}

void BecomePerMonitorAware()
{
    const auto setContext = Lookup<BOOL(WINAPI*)(HANDLE)>("user32.dll", "SetProcessDpiAwarenessContext");
    const HANDLE perMonitorV2 = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-4));
    if (setContext && setContext(perMonitorV2)) return;
    const auto setAware = Lookup<BOOL(WINAPI*)()>("user32.dll", "SetProcessDPIAware");
    if (setAware) setAware();
}

void Awareness(HWND window)
{
    const auto getContext = Lookup<HANDLE(WINAPI*)(HWND)>("user32.dll", "GetWindowDpiAwarenessContext");
    const auto getAwareness = Lookup<int(WINAPI*)(HANDLE)>("user32.dll", "GetAwarenessFromDpiAwarenessContext");
    if (!getContext || !getAwareness) {
        Reply("err unsupported");
        return;
    }
    const HANDLE context = getContext(window);
    if (!context) {
        Reply("err gone");
        return;
    }
    Reply("ok %d", getAwareness(context));
}

// LogPixels of the current user, which each process reads when it starts; "-" leaves the default.
void LogPixels(const char* value)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        Reply("err open");
        return;
    }
    LONG result;
    if (strcmp(value, "-") == 0) {
        result = RegDeleteValueA(key, "LogPixels");
        if (result == ERROR_FILE_NOT_FOUND) result = ERROR_SUCCESS;
    } else {
        const DWORD dpi = strtoul(value, nullptr, 10);
        result = RegSetValueExA(key, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
    }
    RegCloseKey(key);
    Reply(result == ERROR_SUCCESS ? "ok" : "err %ld", result);
}

void WineVersion()
{
    const auto version = Lookup<const char*(CDECL*)()>("ntdll.dll", "wine_get_version");
    if (version)
        Reply("ok %s", version());
    else
        Reply("err not wine");
}

}  // namespace

int main()
{
    BecomePerMonitorAware();
    char line[8192];
    while (fgets(line, sizeof line, stdin)) {
        char cmd[64] = {}, a[4096] = {}, b[4096] = {}, c[256] = {}, d[256] = {};
        const int n = sscanf(line, "%63s %4095s %4095s %255s %255s", cmd, a, b, c, d);
        if (n <= 0) continue;
        const std::string command = cmd;
        if (command == "keep") {
            // Resident: keeps the Wine desktop process alive until the bench stops.
            GetDesktopWindow();
            Sleep(INFINITE);
        } else if (command == "quit") {
            Reply("ok");
            break;
        } else if (command == "acp") {
            Reply("ok %u", GetACP());
        } else if (command == "find") {
            FindData data = {a, b, nullptr};
            ReplyFound(WaitForWindow(FindTopLevel, &data, &data.found, atoi(c)));
        } else if (command == "findexe") {
            FindExeData data = {a, CharLowerA(b), nullptr};
            ReplyFound(WaitForWindow(FindByImage, &data, &data.found, atoi(c)));
        } else if (command == "info") {
            HWND w = ParseHwnd(a);
            RECT r, cr;
            if (!GetWindowRect(w, &r)) {
                Reply("err gone");
                continue;
            }
            GetClientRect(w, &cr);
            POINT origin = {0, 0};
            ClientToScreen(w, &origin);
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            Reply("ok rect=%ld,%ld,%ld,%ld client=%ld,%ld,%ld,%ld style=0x%08lx exstyle=0x%08lx pid=%lu visible=%d iconic=%d",
                  r.left, r.top, r.right, r.bottom, origin.x, origin.y, cr.right, cr.bottom,
                  static_cast<unsigned long>(GetWindowLongA(w, GWL_STYLE)),
                  static_cast<unsigned long>(GetWindowLongA(w, GWL_EXSTYLE)), static_cast<unsigned long>(pid),
                  IsWindowVisible(w) ? 1 : 0, IsIconic(w) ? 1 : 0);
        } else if (command == "post" || command == "send") {
            HWND w = ParseHwnd(a);
            const UINT msg = static_cast<UINT>(strtoul(b, nullptr, 0));
            const WPARAM wp = static_cast<WPARAM>(strtoull(c, nullptr, 0));
            const LPARAM lp = static_cast<LPARAM>(strtoll(d, nullptr, 0));
            if (command == "post") {
                Reply(PostMessageA(w, msg, wp, lp) ? "ok" : "err post");
            } else {
                DWORD_PTR result = 0;
                if (SendMessageTimeoutA(w, msg, wp, lp, SMTO_NORMAL, 5000, &result))
                    Reply("ok %lld", static_cast<long long>(result));
                else
                    Reply("err timeout");
            }
        } else if (command == "foreground") {
            Reply(SetForegroundWindow(ParseHwnd(a)) ? "ok" : "err foreground");
        } else if (command == "gui") {
            GUITHREADINFO gui = {};
            gui.cbSize = sizeof gui;
            if (!GetGUIThreadInfo(GetWindowThreadProcessId(ParseHwnd(a), nullptr), &gui)) {
                Reply("err gui");
                continue;
            }
            Reply("ok capture=0x%llx movesize=0x%llx flags=0x%lx",
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(gui.hwndCapture)),
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(gui.hwndMoveSize)),
                  static_cast<unsigned long>(gui.flags));
        } else if (command == "setsize") {
            const BOOL done = SetWindowPos(ParseHwnd(a), nullptr, 0, 0, atoi(b), atoi(c), SWP_NOMOVE | SWP_NOZORDER);
            Reply(done ? "ok" : "err setsize");
        } else if (command == "move") {
            const BOOL done = SetWindowPos(ParseHwnd(a), nullptr, atoi(b), atoi(c), 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            Reply(done ? "ok" : "err move");
        } else if (command == "helper") {
            ShowHelper(atoi(a), atoi(b), atoi(c), atoi(d));
        } else if (command == "unhelper") {
            CloseHelper();
        } else if (command == "keys") {
            Reply("ok shift=%d ctrl=%d", (GetAsyncKeyState(VK_SHIFT) & 0x8000) ? 1 : 0,
                  (GetAsyncKeyState(VK_CONTROL) & 0x8000) ? 1 : 0);
        } else if (command == "lock") {
            if (LockedFile != INVALID_HANDLE_VALUE) CloseHandle(LockedFile);
            LockedFile = CreateFileA(a, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            Reply(LockedFile != INVALID_HANDLE_VALUE ? "ok" : "err lock %lu", static_cast<unsigned long>(GetLastError()));
        } else if (command == "unlock") {
            if (LockedFile != INVALID_HANDLE_VALUE) CloseHandle(LockedFile);
            LockedFile = INVALID_HANDLE_VALUE;
            Reply("ok");
        } else if (command == "cursor") {
            POINT p;
            GetCursorPos(&p);
            Reply("ok %ld %ld", p.x, p.y);
        } else if (command == "text") {
            Text(a);
        } else if (command == "metrics") {
            Reply("ok virtual=%d,%d,%d,%d primary=%d,%d", GetSystemMetrics(SM_XVIRTUALSCREEN),
                  GetSystemMetrics(SM_YVIRTUALSCREEN), GetSystemMetrics(SM_CXVIRTUALSCREEN),
                  GetSystemMetrics(SM_CYVIRTUALSCREEN), GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        } else if (command == "dpi") {
            HDC screen = GetDC(nullptr);
            Reply("ok %d", GetDeviceCaps(screen, LOGPIXELSY));
            ReleaseDC(nullptr, screen);
        } else if (command == "logpixels") {
            LogPixels(a);
        } else if (command == "awareness") {
            Awareness(ParseHwnd(a));
        } else if (command == "wine") {
            WineVersion();
        } else if (command == "clip") {
            Clip();
        } else if (command == "clipseq") {
            Reply("ok %lu", static_cast<unsigned long>(GetClipboardSequenceNumber()));
        } else if (command == "setclip") {
            SetClip(a);
        } else if (command == "holdclip") {
            HoldClip(strtoul(a, nullptr, 10));
        } else if (command == "owned") {
            OwnedData data = {ParseHwnd(a), std::string()};
            EnumWindows(CollectOwned, reinterpret_cast<LPARAM>(&data));
            Reply("ok%s", data.out.c_str());
        } else if (command == "menus") {
            std::string rects;
            EnumWindows(CollectMenuWindows, reinterpret_cast<LPARAM>(&rects));
            Reply("ok%s", rects.c_str());
        } else if (command == "version") {
            Version(a, b);
        } else {
            Reply("err unknown");
        }
    }
    return 0;
}
