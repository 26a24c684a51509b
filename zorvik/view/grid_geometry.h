// The lines of grid, subgrid, crosshair and centre marker, in back-buffer pixels.
// Each segment is drawn MoveToEx(x1, y1) then LineTo(x2, y2), so (x2, y2) itself is not drawn.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "zorvik/view/layout_calc.h"
#include "zorvik/view/status_text.h"

struct LineSegment {
    int32_t x1, y1, x2, y2;
};

// Zoom 3 and more: a vertical line at i x zoom for i = 1..Columns, a horizontal one for i = 1..Rows.
std::vector<LineSegment> GridLines(const LayoutNumbers& L, int32_t zoom);

// Every fifth cell boundary, counted from the capture-point cell, in both directions.
std::vector<LineSegment> SubgridLines(const LayoutNumbers& L, int32_t zoom);

// Zoom 1 and 2: four segments along the capture-point cell, stopping one pixel short of the marker.
std::array<LineSegment, 4> CrosshairSegments(const LayoutNumbers& L, int32_t zoom);

// A closed square outline: MoveToEx to the first point, LineTo through the other four,
// so every pixel of it is touched exactly once.
std::array<ScreenPoint, 5> CenterMarkerPath(const LayoutNumbers& L, int32_t zoom);
