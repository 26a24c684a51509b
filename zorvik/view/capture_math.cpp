#include "zorvik/view/capture_math.h"

#include "general/numbers.h"

bool IsIdleTick(ScreenPoint cursor, ScreenPoint capturePoint, uint32_t lastRenderTick, uint32_t now)
{
    if (cursor.x != capturePoint.x || cursor.y != capturePoint.y) return false;
    if (lastRenderTick == 0) return false;
    int64_t elapsed = static_cast<int32_t>(now - lastRenderTick);
    if (elapsed < 0) elapsed = -elapsed;
    return elapsed <= 1000;
}

ScreenPoint PannedCapturePoint(ScreenPoint pressCapturePoint, ScreenPoint pressPoint, ScreenPoint pointer,
                               int32_t zoom)
{
    if (zoom < 1) zoom = 1;
    const long double dx = (static_cast<long double>(pointer.x) - pressPoint.x) / zoom;
    const long double dy = (static_cast<long double>(pointer.y) - pressPoint.y) / zoom;
    return {static_cast<int32_t>(pressCapturePoint.x - RoundHalfAway(dx)),
            static_cast<int32_t>(pressCapturePoint.y - RoundHalfAway(dy))};
}

ScreenPoint ClampToSnapshot(ScreenPoint p, const ScreenRect& snapshot)
{
    return {Clamp(p.x, snapshot.left, snapshot.right - 1), Clamp(p.y, snapshot.top, snapshot.bottom - 1)};
}
