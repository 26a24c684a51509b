// Command ids, the zoom table and the grid styles.
#pragma once

#include <cstdint>

enum CommandId : int {
    ID_GRID = 101,
    ID_GRID_GRAY = 102,
    ID_GRID_INVERT = 103,
    ID_GRID_TRANSLUCENT = 104,
    ID_SUBGRID = 110,
    ID_COPY_RED = 201,
    ID_COPY_GREEN = 202,
    ID_COPY_BLUE = 203,
    ID_COPY_HTML = 204,
    ID_COPY_WIDTH = 210,
    ID_COPY_HEIGHT = 211,
    ID_PAUSE = 401,
    ID_TOPMOST = 501,
    ID_EXIT = 700,
    ID_ABOUT = 702,
    ID_HELP_ONLINE = 703,
};

constexpr unsigned ID_CAPTURE_TIMER = 8345;
constexpr unsigned kCaptureIntervalMs = 70;

// A factor is also the command id of its zoom item, and its index the item's position.
constexpr int kZoomCount = 10;
constexpr int8_t ZoomTable[kZoomCount] = {1, 2, 3, 4, 6, 8, 10, 12, 16, 20};

// Index of a factor in ZoomTable, or -1.
int ZoomTableIndex(int zoom);

// The position a zoom step lands on: one up for direction > 0, else one down, kept inside the menu.
int ZoomStepTarget(int currentPosition, int direction, int count);

// Raster mix modes, as SetROP2 takes them.
constexpr int32_t kMixCopyPen = 13;  // R2_COPYPEN
constexpr int32_t kMixNot = 6;       // R2_NOT
constexpr int32_t kMixMaskPen = 9;   // R2_MASKPEN

struct GridStyleLook {
    uint32_t Color;  // COLORREF, 0x00BBGGRR
    int32_t MixMode;
};

// False for an id that is not one of the three styles.
bool GridStyleLookFor(int styleId, GridStyleLook* look);
