#include "zorvik/shell/placement.h"

#include <algorithm>

namespace {

// The part of [low, high) that [from, to) covers; 64 bits, since stored values may be anything.
int64_t Overlap(int64_t low, int64_t high, int64_t from, int64_t to)
{
    return std::min(high, to) - std::max(low, from);
}

// A stored size below 0 counts as 0, as for the window itself.
int32_t MovedInto(int32_t position, int32_t size, int32_t low, int32_t high)
{
    const int64_t last = static_cast<int64_t>(high) - std::max(size, 0);
    return static_cast<int32_t>(std::max<int64_t>(low, std::min<int64_t>(position, last)));
}

}  // namespace

bool CanGrabCaption(const SettingsRecord& s, const FrameSize& frame, const StoredRect& workArea)
{
    const int64_t left = static_cast<int64_t>(s.Left) + frame.Side;
    const int64_t right = static_cast<int64_t>(s.Left) + s.Width - frame.Side;
    const int64_t top = static_cast<int64_t>(s.Top) + frame.Top;
    return Overlap(workArea.left, workArea.right, left, right) >= kGrabWidth &&
           Overlap(workArea.top, workArea.bottom, top, top + frame.Caption) >= kGrabHeight;
}

void MoveIntoWorkArea(SettingsRecord& s, const StoredRect& workArea)
{
    s.Left = MovedInto(s.Left, s.Width, workArea.left, workArea.right);
    s.Top = MovedInto(s.Top, s.Height, workArea.top, workArea.bottom);
}
