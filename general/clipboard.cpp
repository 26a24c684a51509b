#include "general/general.h"

#include <cstring>

namespace {

// Clipboard managers, Windows' own clipboard history and Remote Desktop's clipboard bridge open
// the clipboard right after every change, so a copy soon after another one can find it held for a
// moment. Waiting a quarter of a second outlasts such a reader; the window does not refresh while
// it waits, and it waits only while the clipboard is held.
constexpr DWORD kClipboardWaitMs = 250;
constexpr DWORD kClipboardRetryMs = 10;

bool OpenClipboardWaiting()
{
    const DWORD start = GetTickCount();
    while (!OpenClipboard(MainWindow)) {
        if (GetTickCount() - start >= kClipboardWaitMs) return false;
        Sleep(kClipboardRetryMs);
    }
    return true;
}

}  // namespace

bool SetClipboardText(const std::string& text)
{
    if (text.empty()) return true;
    if (!OpenClipboardWaiting()) return false;
    EmptyClipboard();
    bool placed = false;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, text.size() + 1);
    if (block) {
        char* p = static_cast<char*>(GlobalLock(block));
        if (p) {
            // Stops at an embedded zero; the rest of the zeroed block stays zero.
            lstrcpyA(p, text.c_str());
            GlobalUnlock(block);
            placed = SetClipboardData(CF_TEXT, block) != nullptr;
            if (!placed) GlobalFree(block);
        } else {
            GlobalFree(block);
        }
    }
    CloseClipboard();
    return placed;
}
