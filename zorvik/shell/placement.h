// Where a window stored in zorvik.dat opens: where it was, as long as the user can grab it there.
#pragma once

#include <cstdint>

#include "zorvik/settings/settings_record.h"

// Of the caption bar, this much must lie on one monitor's work area for the user to take hold of
// the window with the mouse. Windows 10 and 11 count an invisible resize border of about 7 pixels
// in the window rectangle, so a window that meets a monitor only by its frame is out of reach.
constexpr int32_t kGrabWidth = 32;
constexpr int32_t kGrabHeight = 8;

struct FrameSize {
    int32_t Side;     // sizing frame, left and right, invisible part included
    int32_t Top;      // sizing frame above the caption bar
    int32_t Caption;  // caption bar
};

// Whether kGrabWidth x kGrabHeight of the stored window's caption bar, inside its frame, lie on
// the work area.
bool CanGrabCaption(const SettingsRecord& s, const FrameSize& frame, const StoredRect& workArea);

// The least move that puts a window of the stored size into the work area; one larger than the
// work area keeps its top-left corner on the work area's.
void MoveIntoWorkArea(SettingsRecord& s, const StoredRect& workArea);
