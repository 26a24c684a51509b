#include "zorvik/commands/command_ids.h"

#include "general/numbers.h"

int ZoomTableIndex(int zoom)
{
    for (int i = 0; i < kZoomCount; ++i)
        if (ZoomTable[i] == zoom) return i;
    return -1;
}

int ZoomStepTarget(int currentPosition, int direction, int count)
{
    const int step = direction > 0 ? 1 : -1;
    return Clamp(currentPosition + step, 0, count - 1);
}

bool GridStyleLookFor(int styleId, GridStyleLook* look)
{
    switch (styleId) {
    case ID_GRID_GRAY: *look = {0x999999, kMixCopyPen}; return true;
    case ID_GRID_INVERT: *look = {0x000000, kMixNot}; return true;
    case ID_GRID_TRANSLUCENT: *look = {0xCCCCCC, kMixMaskPen}; return true;
    default: return false;
    }
}
