#include "general/general.h"

#include <cstring>

void SetClipboardText(const std::string& text)
{
    if (text.empty()) return;
    if (!OpenClipboard(MainWindow)) return;
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, text.size() + 1);
    if (block) {
        char* p = static_cast<char*>(GlobalLock(block));
        if (p) {
            // Stops at an embedded zero; the rest of the zeroed block stays zero.
            lstrcpyA(p, text.c_str());
            GlobalUnlock(block);
            if (!SetClipboardData(CF_TEXT, block)) GlobalFree(block);
        } else {
            GlobalFree(block);
        }
    }
    CloseClipboard();
}
