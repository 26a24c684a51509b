// Every size the render uses, from the client size, the line height and the zoom.
#pragma once

#include <cstdint>

struct LayoutNumbers {
    int32_t ClientWidth;   // as the window reports it (0 when minimised)
    int32_t ClientHeight;
    int32_t StatusTop;     // client height - 3 x line height: the bottom of the image area
    int32_t SourceWidth;   // captured block, screen pixels
    int32_t SourceHeight;
    int32_t ScaledWidth;   // SourceWidth x zoom
    int32_t ScaledHeight;
    int32_t Columns;
    int32_t Rows;
    int32_t CenterOffsetX; // column of the capture point inside the block
    int32_t CenterOffsetY;
    int32_t CenterCellX;   // where the colour is sampled and the marker is anchored
    int32_t CenterCellY;
    int32_t BitmapWidth;   // back buffer: the client size, never below 1 x 1
    int32_t BitmapHeight;
};

// 1 below zoom 3 (crosshair), 2 from zoom 3 on (grid lines).
int32_t MarkerGapFor(int32_t zoom);

// An empty or negative image area (a minimised window, a frame taller than the minimum height)
// counts as one pixel, so no bitmap is ever 0 pixels wide or high.
LayoutNumbers ComputeLayout(int32_t clientWidth, int32_t clientHeight, int32_t lineHeight, int32_t zoom);

struct OuterSize {
    int32_t Width;
    int32_t Height;
};

// Outer width at least 50, outer height at least 3 x line height + 50; and at least the frame
// (outer size less client size) plus a client area whose image holds a whole cell of the largest
// zoom, so the colour is sampled from the screen's pixel at every zoom and a zoom change never
// resizes the window.
OuterSize EnforceMinimumSize(OuterSize size, OuterSize frame, int32_t lineHeight);
