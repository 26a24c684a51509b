#include "general/general.h"
#include "zorvik/shell/app_state.h"
#include "zorvik/shell/shell.h"
#include "zorvik/view/capture_math.h"
#include "zorvik/view/view.h"

namespace {

ScreenPoint ToScreenPoint(POINT p)
{
    return {p.x, p.y};
}

void EnlargeFromSnapshot()
{
    AppStateRecord& a = AppState;
    FillRect(a.ViewDC, &a.ClientRect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    DrawEnlargement(a.CapturePoint.x - a.CenterOffsetX - a.SnapshotRect.left,
                    a.CapturePoint.y - a.CenterOffsetY - a.SnapshotRect.top);
}

}  // namespace

void CaptureLiveBlock()
{
    AppStateRecord& a = AppState;
    // Whatever of the block lies off the screen stays black.
    RECT block = {0, 0, a.SourceWidth, a.SourceHeight};
    FillRect(a.CaptureDC, &block, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    HDC screen = GetDC(nullptr);
    BitBlt(a.CaptureDC, 0, 0, a.SourceWidth, a.SourceHeight, screen, a.CapturePoint.x - a.CenterOffsetX,
           a.CapturePoint.y - a.CenterOffsetY, ScreenCopyRasterOp());
    DrawEnlargement(0, 0);
    ReleaseDC(nullptr, screen);
}

bool RenderView()
{
    AppStateRecord& a = AppState;
    // Modal loops and synchronous messages can call back in while a render is running.
    if (a.Rendering) return false;
    a.Rendering = true;

    const bool paused = IsPaused();
    POINT p = {0, 0};
    if (!paused) GetCursorPosPhysical(&p);
    const DWORD now = GetTickCount();
    if (IsIdleTick(ToScreenPoint(p), ToScreenPoint(a.CapturePoint), a.LastRenderTick, now)) {
        a.Rendering = false;
        return false;
    }

    if (!paused) {
        a.CapturePoint = p;
        CaptureLiveBlock();
    } else {
        EnlargeFromSnapshot();
    }
    DrawGridAndMarkers();
    DrawStatusArea();

    a.LastRenderTick = now;
    a.Rendering = false;
    return true;
}

void RefreshView()
{
    if (AppState.LineHeight <= 0) return;
    AppState.LastRenderTick = 0;
    RenderView();
    InvalidateRect(MainWindow, nullptr, FALSE);
}

void TogglePause()
{
    AppStateRecord& a = AppState;
    ToggleMenuItemCheck(a.MainMenu, ID_PAUSE);
    const bool paused = IsPaused();
    SetCaptureTimer(!paused);
    if (!paused) {
        UpdateLayout();
        RefreshView();
        return;
    }

    const int x = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    a.SnapshotRect = {x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN), y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    const int32_t width = RectWidth(a.SnapshotRect);
    const int32_t height = RectHeight(a.SnapshotRect);
    ReplaceScreenBitmap(a.CaptureDC, width, height);
    HDC screen = GetDC(nullptr);
    BitBlt(a.CaptureDC, 0, 0, width, height, screen, a.SnapshotRect.left, a.SnapshotRect.top, ScreenCopyRasterOp());
    ReleaseDC(nullptr, screen);
    RefreshView();
}

void MoveCapturePoint(int32_t dx, int32_t dy)
{
    AppStateRecord& a = AppState;
    ScreenPoint n;
    if (a.Panning) {
        POINT q;
        GetCursorPosPhysical(&q);
        ScreenToClient(MainWindow, &q);
        n = PannedCapturePoint(ToScreenPoint(a.PressCapturePoint), ToScreenPoint(a.PressPoint), ToScreenPoint(q),
                               a.AppSettings.Zoom);
    } else {
        n = {a.CapturePoint.x + dx, a.CapturePoint.y + dy};
    }
    const ScreenRect snapshot = {a.SnapshotRect.left, a.SnapshotRect.top, a.SnapshotRect.right, a.SnapshotRect.bottom};
    const ScreenPoint c = ClampToSnapshot(n, snapshot);
    a.CapturePoint = {c.x, c.y};
    RefreshView();
}
