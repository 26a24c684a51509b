#include "general/general.h"
#include "zorvik/shell/app_state.h"
#include "zorvik/view/grid_geometry.h"
#include "zorvik/view/view.h"

namespace {

constexpr COLORREF kSubgridColor = 0xFF0000;  // pure blue

// Selecting the new pen deletes the one it replaces, so at most one created pen is ever alive.
void InstallPen(COLORREF color)
{
    HPEN pen = CreatePen(PS_SOLID, 1, color);
    HGDIOBJ old = SelectObject(AppState.ViewDC, pen);
    DeleteObject(old);
}

template <class Segments>
void DrawSegments(const Segments& segments)
{
    HDC dc = AppState.ViewDC;
    for (const LineSegment& s : segments) {
        MoveToEx(dc, s.x1, s.y1, nullptr);
        LineTo(dc, s.x2, s.y2);
    }
}

}  // namespace

void DrawEnlargement(int32_t sourceX, int32_t sourceY)
{
    StretchBlt(AppState.ViewDC, 0, 0, AppState.ScaledWidth, AppState.ScaledHeight, AppState.CaptureDC, sourceX,
               sourceY, AppState.SourceWidth, AppState.SourceHeight, SRCCOPY);
}

void DrawGridAndMarkers()
{
    HDC dc = AppState.ViewDC;
    const int32_t zoom = AppState.AppSettings.Zoom;
    const LayoutNumbers L = CurrentLayout();

    InstallPen(AppState.GridColor);
    if (!IsMenuItemChecked(AppState.GridMenu, ID_GRID)) return;
    SetROP2(dc, AppState.GridMixMode);

    const bool subgrid = AppState.AppSettings.ShowSubgrid != 0;
    if (zoom >= 3) {
        DrawSegments(GridLines(L, zoom));
        if (subgrid) {
            InstallPen(kSubgridColor);
            SetROP2(dc, R2_COPYPEN);
            DrawSegments(SubgridLines(L, zoom));
        }
    } else {
        if (subgrid) {
            InstallPen(kSubgridColor);
            SetROP2(dc, R2_COPYPEN);
        }
        DrawSegments(CrosshairSegments(L, zoom));
    }

    // The next render sets the grid's mode first, so R2_NOT may stay selected.
    SetROP2(dc, R2_NOT);
    const auto path = CenterMarkerPath(L, zoom);
    MoveToEx(dc, path[0].x, path[0].y, nullptr);
    for (size_t i = 1; i < path.size(); ++i) LineTo(dc, path[i].x, path[i].y);
}
