#include <string>

#include "general/general.h"
#include "zorvik/shell/app_state.h"
#include "zorvik/view/status_text.h"
#include "zorvik/view/view.h"

void DrawStatusArea()
{
    AppStateRecord& a = AppState;
    // Also covers whatever of the enlargement and the grid reached below the image area.
    FillRect(a.ViewDC, &a.StatusRect, GetSysColorBrush(COLOR_WINDOW));

    // Read back from the composed image: the sample point lies inside the capture-point cell,
    // past its grid lines and inside the marker, so it is the screen pixel itself.
    const PixelSample pixel = PixelFromColorref(GetPixel(a.ViewDC, a.CenterCellX, a.CenterCellY));
    a.PixelRed = pixel.Red;
    a.PixelGreen = pixel.Green;
    a.PixelBlue = pixel.Blue;
    a.PixelRGB = pixel.RGB;

    const ScreenPoint capture = {a.CapturePoint.x, a.CapturePoint.y};
    const ScreenPoint origin = {a.Origin.x, a.Origin.y};
    const std::string lines[3] = {
        StatusColourLine(pixel),
        StatusPositionLine(a.AppSettings.Zoom, capture),
        StatusMeasureLine(capture, origin),
    };
    for (int k = 0; k < 3; ++k)
        TextOutA(a.ViewDC, 1, a.StatusRect.top + 2 + k * a.LineHeight, lines[k].data(),
                 static_cast<int>(lines[k].size()));
}
