// Decisions of the capture cycle that need no screen: the idle skip and the paused capture point.
#pragma once

#include <cstdint>

#include "zorvik/view/status_text.h"

struct ScreenRect {
    int32_t left, top, right, bottom;  // right and bottom exclusive
};

// A resting cursor renders at most about once a second. The tick difference is taken as a
// signed 32-bit value, so the wrap of GetTickCount after 49.7 days does no harm.
bool IsIdleTick(ScreenPoint cursor, ScreenPoint capturePoint, uint32_t lastRenderTick, uint32_t now);

// Panning: the image follows the hand, one screen pixel per zoom pixels of pointer movement,
// halves rounded away from zero.
ScreenPoint PannedCapturePoint(ScreenPoint pressCapturePoint, ScreenPoint pressPoint, ScreenPoint pointer,
                               int32_t zoom);

// Inside the snapshot, right and bottom exclusive.
ScreenPoint ClampToSnapshot(ScreenPoint p, const ScreenRect& snapshot);
