// The capture cycle, the drawing of one frame and the layout it is drawn with.
#pragma once

#include <windows.h>

#include <cstdint>

#include "zorvik/view/layout_calc.h"

// Whether it drew: a resting pointer's ticks draw about once a second.
bool RenderView();
void RefreshView();
void TogglePause();
void MoveCapturePoint(int32_t dx, int32_t dy);

void UpdateLayout();
// Raises the system's smallest tracking size to the window's minimum, for WM_GETMINMAXINFO.
void RaiseMinimumTrackSize(POINT& minimum);
// The layout of AppState as the pure drawing code takes it.
LayoutNumbers CurrentLayout();

// Gives dc a new bitmap compatible with the screen and deletes the one it replaces.
void ReplaceScreenBitmap(HDC dc, int32_t width, int32_t height);

// The live block around CapturePoint from the screen into CaptureDC, enlarged into ViewDC.
void CaptureLiveBlock();
void DrawEnlargement(int32_t sourceX, int32_t sourceY);
void DrawGridAndMarkers();
void DrawStatusArea();
