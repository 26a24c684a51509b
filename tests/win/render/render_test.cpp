// The back buffer after real renders, compared pixel by pixel with a picture worked out here
// from the drawing rules on the layout numbers: enlargement, grid in each style, subgrid,
// crosshair, centre marker, and the status area that covers whatever reached below the image.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app_helpers.h"
#include "gdi_objects.h"
#include "system_at_hand.h"
#include "test_app.h"
#include "zorvik/commands/command_ids.h"
#include "zorvik/commands/commands.h"
#include "zorvik/shell/app_state.h"
#include "zorvik/view/status_text.h"
#include "zorvik/view/view.h"

namespace {

using Rgb = uint32_t;  // as a 32-bit DIB holds it: 0x00RRGGBB

constexpr Rgb FromColorref(uint32_t c)
{
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

enum class Mix { Copy, Not, Mask };
struct Pen {
    Rgb Colour;
    Mix Mode;
};
constexpr Pen kBlue = {FromColorref(0xFF0000), Mix::Copy};
constexpr Pen kInvert = {0, Mix::Not};

struct GridStyle {
    int Command;
    const char* Name;
    Pen Look;
};
const GridStyle kGray = {ID_GRID_GRAY, "gray", {FromColorref(0x999999), Mix::Copy}};
const GridStyle kInverted = {ID_GRID_INVERT, "inverted", kInvert};
const GridStyle kTranslucent = {ID_GRID_TRANSLUCENT, "translucent", {FromColorref(0xCCCCCC), Mix::Mask}};

struct ViewCase {
    int32_t Zoom;
    bool Grid;
    GridStyle Style;
    bool Subgrid;

    std::string Describe() const
    {
        const std::string zoom = "zoom " + std::to_string(Zoom);
        if (!Grid) return zoom + ", grid off";
        return zoom + ", " + Style.Name + (Subgrid ? ", subgrid" : "");
    }
};

// A different colour in every pixel, every bit varying, so that a pixel taken from the wrong
// place or mixed with the wrong pen shows.
Rgb PatternPixel(int32_t x, int32_t y)
{
    uint32_t h = static_cast<uint32_t>(x) * 0x9E3779B1u ^ static_cast<uint32_t>(y) * 0x85EBCA77u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    return h & 0xFFFFFF;
}

struct Image {
    int32_t Width, Height;
    std::vector<Rgb> Pixels;

    Image(int32_t w, int32_t h) : Width(w), Height(h), Pixels(static_cast<size_t>(w) * h, 0) {}
    Rgb& At(int32_t x, int32_t y) { return Pixels[static_cast<size_t>(y) * Width + x]; }
    Rgb At(int32_t x, int32_t y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }

    void Plot(int32_t x, int32_t y, const Pen& pen)
    {
        if (x < 0 || y < 0 || x >= Width || y >= Height) return;
        Rgb& p = At(x, y);
        p = pen.Mode == Mix::Copy ? pen.Colour : pen.Mode == Mix::Not ? ~p & 0xFFFFFF : p & pen.Colour;
    }

    // MoveTo (x1, y1), LineTo (x2, y2), axis-parallel: the end point is not drawn.
    void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, const Pen& pen)
    {
        const int32_t dx = (x2 > x1) - (x2 < x1), dy = (y2 > y1) - (y2 < y1);
        for (int32_t x = x1, y = y1; x != x2 || y != y2; x += dx, y += dy) Plot(x, y, pen);
    }
};

// The back buffer's image area after enlarging the pattern from (sx, sy) of a source of
// sourceWidth x sourceHeight pixels over black, then grid or crosshair, subgrid and marker.
Image ExpectedView(const LayoutNumbers& g, const ViewCase& c, int32_t sourceWidth, int32_t sourceHeight, int32_t sx,
                   int32_t sy)
{
    const int32_t z = c.Zoom;
    Image image(g.ClientWidth, g.ClientHeight);
    for (int32_t y = 0; y < g.ClientHeight && y < g.SourceHeight * z; ++y) {
        for (int32_t x = 0; x < g.ClientWidth && x < g.SourceWidth * z; ++x) {
            const int32_t px = sx + x / z, py = sy + y / z;
            if (px >= 0 && py >= 0 && px < sourceWidth && py < sourceHeight) image.At(x, y) = PatternPixel(px, py);
        }
    }
    if (!c.Grid) return image;

    const Pen pen = c.Style.Look;
    const int32_t bottom = g.StatusTop, right = g.ClientWidth, cx = g.CenterCellX, cy = g.CenterCellY;
    const int32_t gap = MarkerGapFor(z);
    if (z >= 3) {
        for (int32_t i = 1; i <= g.SourceWidth; ++i) image.Line(i * z, 0, i * z, bottom, pen);
        for (int32_t i = 1; i <= g.SourceHeight; ++i) image.Line(0, i * z, right, i * z, pen);
        if (c.Subgrid) {
            // Every fifth cell boundary, one of them the left and top edge of the centre cell.
            const int32_t s = g.CenterOffsetX % 5 * z, t = g.CenterOffsetY % 5 * z;
            for (int32_t j = 0; j <= g.SourceWidth / 5; ++j) image.Line(s + 5 * j * z, 0, s + 5 * j * z, bottom, kBlue);
            for (int32_t j = 0; j <= g.SourceHeight / 5; ++j) image.Line(0, t + 5 * j * z, right, t + 5 * j * z, kBlue);
        }
    } else {
        const Pen cross = c.Subgrid ? kBlue : pen;
        image.Line(cx, 0, cx, cy - gap - 1, cross);
        image.Line(cx, cy + z + gap + 1, cx, bottom, cross);
        image.Line(0, cy, cx - gap - 1, cy, cross);
        image.Line(cx + z + gap + 1, cy, right, cy, cross);
    }
    image.Line(cx - gap, cy - gap, cx + z, cy - gap, kInvert);
    image.Line(cx + z, cy - gap, cx + z, cy + z, kInvert);
    image.Line(cx + z, cy + z, cx - gap, cy + z, kInvert);
    image.Line(cx - gap, cy + z, cx - gap, cy - gap, kInvert);
    return image;
}

BITMAPINFO TopDown32(int32_t width, int32_t height)
{
    BITMAPINFO bi = {};
    bi.bmiHeader = {sizeof bi.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    return bi;
}

SIZE BitmapSize(HDC dc)
{
    BITMAP bm = {};
    GetObjectA(GetCurrentObject(dc, OBJ_BITMAP), sizeof bm, &bm);
    return {bm.bmWidth, bm.bmHeight};
}

// The pattern, in the whole bitmap of CaptureDC; returns that bitmap's size.
SIZE FillCaptureWithPattern()
{
    const SIZE size = BitmapSize(AppState.CaptureDC);
    std::vector<Rgb> bits(static_cast<size_t>(size.cx) * size.cy);
    for (int32_t y = 0; y < size.cy; ++y)
        for (int32_t x = 0; x < size.cx; ++x) bits[static_cast<size_t>(y) * size.cx + x] = PatternPixel(x, y);
    BITMAPINFO bi = TopDown32(size.cx, size.cy);
    SetDIBitsToDevice(AppState.CaptureDC, 0, 0, size.cx, size.cy, 0, 0, 0, size.cy, bits.data(), &bi, DIB_RGB_COLORS);
    return size;
}

Image ReadView()
{
    const SIZE size = BitmapSize(AppState.ViewDC);
    Image image(size.cx, size.cy);
    BITMAPINFO bi = TopDown32(size.cx, size.cy);
    HBITMAP bitmap = static_cast<HBITMAP>(GetCurrentObject(AppState.ViewDC, OBJ_BITMAP));
    EXPECT_EQ(GetDIBits(AppState.ViewDC, bitmap, 0, size.cy, image.Pixels.data(), &bi, DIB_RGB_COLORS), size.cy);
    for (Rgb& p : image.Pixels) p &= 0xFFFFFF;
    return image;
}

std::string Hex(Rgb c)
{
    char buf[16];
    snprintf(buf, sizeof buf, "%06x", c);
    return buf;
}

::testing::AssertionResult ImageAreaMatches(const Image& expected, const Image& actual, int32_t imageBottom)
{
    if (actual.Width != expected.Width || actual.Height != expected.Height)
        return ::testing::AssertionFailure() << "back buffer " << actual.Width << "x" << actual.Height;
    int wrong = 0;
    std::string first;
    for (int32_t y = 0; y < imageBottom; ++y)
        for (int32_t x = 0; x < expected.Width; ++x)
            if (expected.At(x, y) != actual.At(x, y) && ++wrong <= 8)
                first += " (" + std::to_string(x) + "," + std::to_string(y) + ") " + Hex(actual.At(x, y)) + " not " +
                         Hex(expected.At(x, y)) + ";";
    if (wrong == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << wrong << " wrong pixels:" << first;
}

// Where the widest status line of the last render ends, in the system's font.
int32_t StatusTextRight()
{
    const AppStateRecord& a = AppState;
    const PixelSample pixel = {static_cast<uint8_t>(a.PixelRed), static_cast<uint8_t>(a.PixelGreen),
                               static_cast<uint8_t>(a.PixelBlue), a.PixelRGB};
    const ScreenPoint capture = {a.CapturePoint.x, a.CapturePoint.y}, origin = {a.Origin.x, a.Origin.y};
    int32_t right = 0;
    for (const std::string& line : {StatusColourLine(pixel), StatusPositionLine(a.AppSettings.Zoom, capture),
                                     StatusMeasureLine(capture, origin)}) {
        SIZE size = {};
        GetTextExtentPoint32A(a.ViewDC, line.data(), static_cast<int>(line.size()), &size);
        right = std::max(right, 1 + static_cast<int32_t>(size.cx));
    }
    return right;
}

// The two rows above the first text line and the rightmost column, where no text reaches (at 96
// DPI; a larger font can fill the line), hold only the window colour: nothing of the image or the
// grid that reached below the image area.
::testing::AssertionResult StatusAreaCleared(const Image& actual, int32_t imageBottom)
{
    const Rgb window = FromColorref(GetSysColor(COLOR_WINDOW));
    std::vector<POINT> points;
    for (int32_t x = 0; x < actual.Width; ++x) points.insert(points.end(), {{x, imageBottom}, {x, imageBottom + 1}});
    if (StatusTextRight() < actual.Width - 1)
        for (int32_t y = imageBottom; y < actual.Height; ++y) points.push_back({actual.Width - 1, y});
    for (const POINT& p : points)
        if (actual.At(p.x, p.y) != window)
            return ::testing::AssertionFailure() << "status pixel (" << p.x << "," << p.y << ") is "
                                                 << Hex(actual.At(p.x, p.y)) << ", not " << Hex(window);
    return ::testing::AssertionSuccess();
}

void ExpectSample(Rgb pixel)
{
    EXPECT_EQ(AppState.PixelRed, pixel >> 16);
    EXPECT_EQ(AppState.PixelGreen, (pixel >> 8) & 0xFF);
    EXPECT_EQ(AppState.PixelBlue, pixel & 0xFF);
    EXPECT_EQ(AppState.PixelRGB, pixel);
}

// Through the commands the menu runs.
void ApplyViewCase(const ViewCase& c)
{
    SelectZoom(c.Zoom);
    ApplyGridCommand(c.Style.Command);
    if (IsMenuItemChecked(AppState.GridMenu, ID_GRID) != c.Grid) ApplyGridCommand(ID_GRID);
    if ((AppState.AppSettings.ShowSubgrid != 0) != c.Subgrid) ApplyGridCommand(ID_SUBGRID);
}

class RenderTest : public AppTest {
protected:
    // The smallest client area here is 199 x 187.
    void SetUp() override
    {
        AppTest::SetUp();
        REQUIRE_WINDOW_SIZE(199 + FrameSize().cx, 187 + FrameSize().cy);
    }

    void ResizeClient(int32_t width, int32_t height)
    {
        ::ResizeClient(width, height);
        PumpMessages();
        ASSERT_EQ(AppState.ClientRect.right, width);
        ASSERT_EQ(AppState.ClientRect.bottom, height);
    }

    // Pauses, then puts the pattern in place of the snapshot, as a virtual screen whose
    // top-left corner lies left of and above the primary monitor.
    void PauseOverPattern()
    {
        TogglePause();
        ASSERT_TRUE(IsPaused());
        snapshot_ = FillCaptureWithPattern();
        ASSERT_EQ(snapshot_.cx, RectWidth(AppState.SnapshotRect));
        AppState.SnapshotRect = {-320, -200, -320 + snapshot_.cx, -200 + snapshot_.cy};
    }

    // Proven by the native tests; here only the picture drawn on them is in question.
    LayoutNumbers CurrentLayout(int32_t zoom) const
    {
        return ComputeLayout(AppState.ClientRect.right, AppState.ClientRect.bottom, AppState.LineHeight, zoom);
    }

    // One paused render at the capture point, checked in full: image area, status area, sample.
    void CheckPausedRender(const ViewCase& c, POINT capture)
    {
        SCOPED_TRACE(c.Describe() + " at (" + std::to_string(capture.x) + "," + std::to_string(capture.y) + ")");
        ApplyViewCase(c);
        AppState.CapturePoint = capture;
        RefreshView();

        const LayoutNumbers g = CurrentLayout(c.Zoom);
        const RECT& snap = AppState.SnapshotRect;
        const Image actual = ReadView();
        EXPECT_TRUE(ImageAreaMatches(ExpectedView(g, c, snapshot_.cx, snapshot_.cy,
                                                  capture.x - g.CenterOffsetX - snap.left,
                                                  capture.y - g.CenterOffsetY - snap.top),
                                     actual, g.StatusTop));
        EXPECT_TRUE(StatusAreaCleared(actual, g.StatusTop));
        ExpectSample(PatternPixel(capture.x - snap.left, capture.y - snap.top));
    }

    // Every style x zoom x subgrid, and the grid off, each at another capture point.
    void CheckEveryCase(int32_t width, int32_t height)
    {
        ResizeClient(width, height);
        PauseOverPattern();
        const RECT snap = AppState.SnapshotRect;
        int k = 0;
        for (int32_t zoom : {1, 2, 3, 6, 20}) {
            std::vector<ViewCase> cases = {{zoom, false, kGray, true}};
            for (const GridStyle& style : {kGray, kInverted, kTranslucent})
                for (bool subgrid : {false, true}) cases.push_back({zoom, true, style, subgrid});
            for (const ViewCase& c : cases) {
                // Spread over the snapshot, the block always inside it.
                const POINT capture = {snap.left + 200 + (k * 131) % 800, snap.top + 150 + (k * 97) % 650};
                ++k;
                // The sample must be told apart from every pen colour.
                const Rgb pixel = PatternPixel(capture.x - snap.left, capture.y - snap.top);
                ASSERT_TRUE(pixel != 0x999999 && pixel != 0xCCCCCC && pixel != 0x0000FF && pixel != 0);
                CheckPausedRender(c, capture);
            }
        }
    }

    SIZE snapshot_ = {0, 0};
};

TEST_F(RenderTest, PausedViewFollowsTheDrawingRulesInTheDefaultSizedWindow)
{
    CheckEveryCase(199, 196);
}

TEST_F(RenderTest, PausedViewFollowsTheDrawingRulesInAnOddSizedWindow)
{
    CheckEveryCase(233, 187);
}

// Where the block reaches past the snapshot the view is black; the grid and marker still
// apply over it, and the sample is the corner pixel itself.
TEST_F(RenderTest, PausedViewIsBlackBeyondTheSnapshot)
{
    ResizeClient(199, 196);
    PauseOverPattern();
    const RECT snap = AppState.SnapshotRect;
    for (int32_t zoom : {1, 6})
        for (POINT corner : {POINT{snap.left, snap.top}, POINT{snap.right - 1, snap.bottom - 1}})
            CheckPausedRender({zoom, true, kInverted, true}, corner);
}

// While live the render enlarges the captured block from its origin. The capture itself reads
// the screen, so the block is filled here and the drawing steps run on it.
TEST_F(RenderTest, LiveDrawingStepsDrawTheCapturedBlock)
{
    ResizeClient(199, 196);
    for (const ViewCase& c : {ViewCase{6, true, kGray, true}, ViewCase{2, true, kTranslucent, false},
                              ViewCase{20, true, kInverted, false}}) {
        SCOPED_TRACE(c.Describe());
        ApplyViewCase(c);
        const LayoutNumbers g = CurrentLayout(c.Zoom);
        const SIZE block = FillCaptureWithPattern();
        ASSERT_EQ(block.cx, g.SourceWidth);
        ASSERT_EQ(block.cy, g.SourceHeight);
        DrawEnlargement(0, 0);
        DrawGridAndMarkers();
        DrawStatusArea();
        const Image actual = ReadView();
        EXPECT_TRUE(ImageAreaMatches(ExpectedView(g, c, block.cx, block.cy, 0, 0), actual, g.StatusTop));
        EXPECT_TRUE(StatusAreaCleared(actual, g.StatusTop));
        ExpectSample(PatternPixel(g.CenterOffsetX, g.CenterOffsetY));
    }
}

// Each render creates its pens and deletes the ones they replace: of all the pens seen
// selected after many renders, only the current one is still alive, and the process holds no
// more GDI objects than before.
TEST_F(RenderTest, RendersLeaveOnlyTheCurrentPenAlive)
{
    ResizeClient(199, 196);
    PauseOverPattern();
    RefreshView();
    std::string typesBefore, typesAfter;
    const long gdiBefore = LiveGdiObjects(&typesBefore);
    std::set<HGDIOBJ> seen;
    for (const ViewCase& c :
         {ViewCase{6, true, kGray, true}, ViewCase{1, true, kGray, false}, ViewCase{3, false, kGray, true}}) {
        ApplyViewCase(c);
        for (int i = 0; i < 100; ++i) {
            RefreshView();
            seen.insert(GetCurrentObject(AppState.ViewDC, OBJ_PEN));
        }
    }
    const HGDIOBJ current = GetCurrentObject(AppState.ViewDC, OBJ_PEN);
    EXPECT_EQ(GetObjectType(current), static_cast<DWORD>(OBJ_PEN));
    int alive = 0;
    for (HGDIOBJ pen : seen)
        if (pen != current && GetObjectType(pen) != 0) ++alive;
    EXPECT_EQ(alive, 0) << "of " << seen.size() << " pens seen";
    EXPECT_EQ(LiveGdiObjects(&typesAfter), gdiBefore) << "objects by type before" << typesBefore << ", after"
                                                       << typesAfter;
}

}  // namespace
