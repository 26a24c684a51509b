// All mutable state of the program: one instance, zero at start, touched only by the window's thread.
// Paused, always-on-top and grid-on are not here: they live in the check marks of their menu items.
#pragma once

#include <windows.h>

#include <cstdint>

#include "general/general.h"
#include "zorvik/commands/command_ids.h"
#include "zorvik/settings/settings_record.h"

struct AppStateRecord {
    // Persisted settings: exactly the content of zorvik.dat.
    SettingsRecord AppSettings;

    // Grid pen and colour sample.
    COLORREF GridColor;
    int32_t GridMixMode;
    uint8_t PixelRed;
    uint8_t PixelGreen;
    uint8_t PixelBlue;
    uint32_t PixelRGB;  // 0x00RRGGBB

    // The window's resources.
    HMENU MainMenu;
    HMENU ZoomMenu;
    HMENU GridMenu;
    HMENU CopyMenu;
    HDC CaptureDC;  // captured pixels: the block while live, the virtual screen while paused
    HDC ViewDC;     // back buffer
    HGDIOBJ OriginalCaptureBitmap;  // what each DC held when created, selected back by Teardown
    HGDIOBJ OriginalViewBitmap;
    int32_t LineHeight;

    // Layout.
    bool LayingOut;
    RECT ClientRect;
    int32_t CenterOffsetX;
    int32_t CenterOffsetY;
    int32_t SourceWidth;
    int32_t SourceHeight;
    int32_t ScaledWidth;
    int32_t ScaledHeight;
    RECT StatusRect;
    int32_t Columns;
    int32_t Rows;
    int32_t CenterCellX;
    int32_t CenterCellY;

    // Capture, measurement and mouse.
    bool Rendering;
    uint32_t LastRenderTick;
    POINT CapturePoint;
    POINT Origin;
    POINT PressPoint;
    POINT PressCapturePoint;
    bool Panning;
    RECT SnapshotRect;
    bool PressedKeys[256];  // by virtual-key code: pressed while this window had the keyboard

    // Start-up records.
    WNDCLASSA WndClass;
    MSG Msg;
    bool OnMonitor;
};

extern AppStateRecord AppState;

inline bool IsPaused()
{
    return IsMenuItemChecked(AppState.MainMenu, ID_PAUSE);
}
