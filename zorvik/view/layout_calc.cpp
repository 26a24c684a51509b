#include "zorvik/view/layout_calc.h"

#include <algorithm>

#include "zorvik/commands/command_ids.h"

namespace {

int32_t CeilDiv(int64_t n, int64_t d)
{
    return static_cast<int32_t>((n + d - 1) / d);
}

// Halves away from zero, for n >= 0: (n + 1) div 2.
int32_t HalfRoundedUp(int32_t n)
{
    return static_cast<int32_t>((static_cast<int64_t>(n) + 1) / 2);
}

}  // namespace

int32_t MarkerGapFor(int32_t zoom)
{
    return zoom < 3 ? 1 : 2;
}

LayoutNumbers ComputeLayout(int32_t clientWidth, int32_t clientHeight, int32_t lineHeight, int32_t zoom)
{
    if (zoom < 1) zoom = 1;
    LayoutNumbers L{};
    L.ClientWidth = clientWidth;
    L.ClientHeight = clientHeight;
    L.StatusTop = static_cast<int32_t>(static_cast<int64_t>(clientHeight) - 3 * static_cast<int64_t>(lineHeight));

    const int32_t imageWidth = clientWidth > 0 ? clientWidth : 1;
    const int32_t imageHeight = L.StatusTop > 0 ? L.StatusTop : 1;

    L.SourceWidth = CeilDiv(imageWidth, zoom);
    L.SourceHeight = CeilDiv(imageHeight, zoom);
    L.ScaledWidth = L.SourceWidth * zoom;
    L.ScaledHeight = L.SourceHeight * zoom;
    L.Columns = L.ScaledWidth / zoom;
    L.Rows = L.ScaledHeight / zoom;
    L.CenterOffsetX = HalfRoundedUp(L.SourceWidth) - 1;
    L.CenterOffsetY = HalfRoundedUp(L.SourceHeight) - 1;
    const int32_t e = MarkerGapFor(zoom) == 2 ? 1 : 0;
    L.CenterCellX = (HalfRoundedUp(L.Columns) - 1) * zoom + e;
    L.CenterCellY = (HalfRoundedUp(L.Rows) - 1) * zoom + e;
    L.BitmapWidth = clientWidth > 0 ? clientWidth : 1;
    L.BitmapHeight = clientHeight > 0 ? clientHeight : 1;
    return L;
}

OuterSize EnforceMinimumSize(OuterSize size, OuterSize frame, int32_t lineHeight)
{
    const int32_t cell = ZoomTable[kZoomCount - 1];
    const int32_t h = 3 * lineHeight;
    const int32_t height = std::max(h + 50, frame.Height + h + cell);
    const int32_t width = std::max(50, frame.Width + cell);
    if (size.Height < height) size.Height = height;
    if (size.Width < width) size.Width = width;
    return size;
}
