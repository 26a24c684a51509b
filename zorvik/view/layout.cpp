#include "general/general.h"
#include "zorvik/shell/app_state.h"
#include "zorvik/view/view.h"

namespace {

constexpr int kMaxMinimumSizePasses = 8;

OuterSize FrameOf(const RECT& window, const RECT& client)
{
    return {RectWidth(window) - RectWidth(client), RectHeight(window) - RectHeight(client)};
}

}  // namespace

void RaiseMinimumTrackSize(POINT& minimum)
{
    RECT w;
    RECT c;
    GetWindowRect(MainWindow, &w);
    GetClientRect(MainWindow, &c);
    // The system's own minimum stays where it is larger: room for the caption's buttons.
    const OuterSize size = EnforceMinimumSize({minimum.x, minimum.y}, FrameOf(w, c), AppState.LineHeight);
    minimum = {size.Width, size.Height};
}

LayoutNumbers CurrentLayout()
{
    const AppStateRecord& a = AppState;
    LayoutNumbers L{};
    L.ClientWidth = a.ClientRect.right;
    L.ClientHeight = a.ClientRect.bottom;
    L.StatusTop = a.StatusRect.top;
    L.SourceWidth = a.SourceWidth;
    L.SourceHeight = a.SourceHeight;
    L.ScaledWidth = a.ScaledWidth;
    L.ScaledHeight = a.ScaledHeight;
    L.Columns = a.Columns;
    L.Rows = a.Rows;
    L.CenterOffsetX = a.CenterOffsetX;
    L.CenterOffsetY = a.CenterOffsetY;
    L.CenterCellX = a.CenterCellX;
    L.CenterCellY = a.CenterCellY;
    return L;
}

void UpdateLayout()
{
    if (AppState.LayingOut) return;
    SettingsRecord& s = AppState.AppSettings;
    // A minimised window reports the icon's rectangle and an empty client area: keep the
    // restored geometry and the bitmaps, and lay out again on restore. The very first layout
    // still runs, so that the back buffer exists.
    const bool minimised = IsIconic(MainWindow) != 0;
    if (minimised && s.Width != 0) return;
    AppState.LayingOut = true;
    const bool firstLayout = s.Width == 0;  // as start-up leaves it

    RECT w;
    RECT c;
    GetWindowRect(MainWindow, &w);
    if (!minimised) {
        // The frame follows the theme and, per monitor, the display's scale, so it is read from the
        // window. A client area is never smaller than 0 x 0, though: under a frame larger than the
        // window the frame reads too small, and only after the resize it asks for can it be read
        // whole. So measure again after every resize, a few times at most, each at least one
        // status area plus a cell larger.
        for (int pass = 0;; ++pass) {
            GetClientRect(MainWindow, &c);
            const OuterSize size =
                EnforceMinimumSize({RectWidth(w), RectHeight(w)}, FrameOf(w, c), AppState.LineHeight);
            s.Left = w.left;
            s.Top = w.top;
            s.Width = size.Width;
            s.Height = size.Height;
            if ((RectWidth(w) == s.Width && RectHeight(w) == s.Height) || pass == kMaxMinimumSizePasses) break;
            // The WM_SIZE this sends finds LayingOut set and draws once with the old layout.
            SetWindowPos(MainWindow, nullptr, 0, 0, s.Width, s.Height, SWP_NOMOVE | SWP_NOZORDER);
            GetWindowRect(MainWindow, &w);
        }
    }

    GetClientRect(MainWindow, &c);
    const LayoutNumbers L = ComputeLayout(RectWidth(c), RectHeight(c), AppState.LineHeight, s.Zoom);
    // The back buffer is the client area's size, whatever changed it: the outer size, or the frame
    // at the same outer size (a new theme, a display of another scale).
    const bool clientResized =
        L.ClientWidth != AppState.ClientRect.right || L.ClientHeight != AppState.ClientRect.bottom;
    AppState.ClientRect = {0, 0, L.ClientWidth, L.ClientHeight};
    AppState.StatusRect = {0, L.StatusTop, L.ClientWidth, L.ClientHeight};
    AppState.SourceWidth = L.SourceWidth;
    AppState.SourceHeight = L.SourceHeight;
    AppState.ScaledWidth = L.ScaledWidth;
    AppState.ScaledHeight = L.ScaledHeight;
    AppState.Columns = L.Columns;
    AppState.Rows = L.Rows;
    AppState.CenterOffsetX = L.CenterOffsetX;
    AppState.CenterOffsetY = L.CenterOffsetY;
    AppState.CenterCellX = L.CenterCellX;
    AppState.CenterCellY = L.CenterCellY;

    // While paused CaptureDC holds the snapshot, which must survive zoom changes and resizes.
    if (!IsPaused()) ReplaceScreenBitmap(AppState.CaptureDC, L.SourceWidth, L.SourceHeight);
    if (firstLayout || clientResized) ReplaceScreenBitmap(AppState.ViewDC, L.BitmapWidth, L.BitmapHeight);
    AppState.LayingOut = false;
}
