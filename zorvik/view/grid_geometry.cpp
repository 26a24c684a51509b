#include "zorvik/view/grid_geometry.h"

std::vector<LineSegment> GridLines(const LayoutNumbers& L, int32_t zoom)
{
    std::vector<LineSegment> lines;
    lines.reserve(static_cast<size_t>(L.Columns) + static_cast<size_t>(L.Rows));
    for (int32_t i = 1; i <= L.Columns; ++i) lines.push_back({i * zoom, 0, i * zoom, L.StatusTop});
    for (int32_t i = 1; i <= L.Rows; ++i) lines.push_back({0, i * zoom, L.ClientWidth, i * zoom});
    return lines;
}

std::vector<LineSegment> SubgridLines(const LayoutNumbers& L, int32_t zoom)
{
    // (round(Columns / 2) - 1) mod 5, sign kept, in 64 bits: the capture-point column mod 5.
    const int64_t s = ((static_cast<int64_t>(L.Columns) + 1) / 2 - 1) % 5 * zoom;
    const int64_t t = ((static_cast<int64_t>(L.Rows) + 1) / 2 - 1) % 5 * zoom;
    std::vector<LineSegment> lines;
    lines.reserve(static_cast<size_t>(L.Columns / 5 + L.Rows / 5 + 2));
    for (int32_t j = 0; j <= L.Columns / 5; ++j) {
        const int32_t x = static_cast<int32_t>(s + 5LL * j * zoom);
        lines.push_back({x, 0, x, L.StatusTop});
    }
    for (int32_t j = 0; j <= L.Rows / 5; ++j) {
        const int32_t y = static_cast<int32_t>(t + 5LL * j * zoom);
        lines.push_back({0, y, L.ClientWidth, y});
    }
    return lines;
}

std::array<LineSegment, 4> CrosshairSegments(const LayoutNumbers& L, int32_t zoom)
{
    const int32_t g = MarkerGapFor(zoom);
    const int32_t cx = L.CenterCellX;
    const int32_t cy = L.CenterCellY;
    return {{
        {cx, 0, cx, cy - g - 1},
        {cx, cy + zoom + g + 1, cx, L.StatusTop},
        {0, cy, cx - g - 1, cy},
        {cx + zoom + g + 1, cy, L.ClientWidth, cy},
    }};
}

std::array<ScreenPoint, 5> CenterMarkerPath(const LayoutNumbers& L, int32_t zoom)
{
    const int32_t g = MarkerGapFor(zoom);
    const int32_t cx = L.CenterCellX;
    const int32_t cy = L.CenterCellY;
    return {{
        {cx - g, cy - g},
        {cx + zoom, cy - g},
        {cx + zoom, cy + zoom},
        {cx - g, cy + zoom},
        {cx - g, cy - g},
    }};
}
