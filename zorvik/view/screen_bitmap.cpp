#include "zorvik/view/view.h"

void ReplaceScreenBitmap(HDC dc, int32_t width, int32_t height)
{
    // Compatible with the screen, not with dc: a fresh memory DC holds a 1x1 monochrome
    // bitmap, and a bitmap compatible with that would be monochrome too.
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    // A failed creation selects nothing and returns null, so dc keeps its bitmap.
    HGDIOBJ old = SelectObject(dc, bitmap);
    DeleteObject(old);
}
