// Grid, subgrid, crosshair and centre marker, checked as line lists and as the pixels that
// MoveToEx/LineTo would touch (end point excluded).
#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

#include "zorvik/view/grid_geometry.h"

// At global scope so that std::vector's comparison and gtest's printer find them.
static bool operator==(const LineSegment& a, const LineSegment& b)
{
    return a.x1 == b.x1 && a.y1 == b.y1 && a.x2 == b.x2 && a.y2 == b.y2;
}

static std::ostream& operator<<(std::ostream& os, const LineSegment& s)
{
    return os << "(" << s.x1 << "," << s.y1 << ")-(" << s.x2 << "," << s.y2 << ")";
}

namespace {

using Pixels = std::map<std::pair<int32_t, int32_t>, int>;

// Our lines are all horizontal or vertical.
void Draw(Pixels& px, int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    const int32_t dx = (x2 > x1) - (x2 < x1);
    const int32_t dy = (y2 > y1) - (y2 < y1);
    ASSERT_TRUE(dx == 0 || dy == 0);
    for (int32_t x = x1, y = y1; x != x2 || y != y2; x += dx, y += dy) ++px[{x, y}];
}

Pixels DrawPath(const std::array<ScreenPoint, 5>& path)
{
    Pixels px;
    for (size_t i = 1; i < path.size(); ++i) Draw(px, path[i - 1].x, path[i - 1].y, path[i].x, path[i].y);
    return px;
}

const LayoutNumbers kExample = ComputeLayout(199, 196, 15, 6);

TEST(GridLines, WorkedExample)
{
    std::vector<LineSegment> want;
    for (int32_t x = 6; x <= 204; x += 6) want.push_back({x, 0, x, 151});
    for (int32_t y = 6; y <= 156; y += 6) want.push_back({0, y, 199, y});
    EXPECT_EQ(GridLines(kExample, 6), want);
}

TEST(SubgridLines, EveryFifthBoundaryFromTheCaptureCell)
{
    const struct {
        int32_t clientW, clientH, zoom;
        std::vector<int32_t> xs, ys;
    } rows[] = {
        // Offsets 16 and 12: s = 1 * 6, t = 2 * 6.
        {199, 196, 6, {6, 36, 66, 96, 126, 156, 186}, {12, 42, 72, 102, 132, 162}},
        // 35 columns, offset 17: s = 2 * 6, one more line than 34 columns.
        {205, 196, 6, {12, 42, 72, 102, 132, 162, 192, 222}, {12, 42, 72, 102, 132, 162}},
        // Offsets 4 and 3 at zoom 20.
        {199, 196, 20, {80, 180, 280}, {60, 160}},
        // 67 x 51 at zoom 3, offsets 33 and 25: s = 3 * 3, t = 0.
        {199, 196, 3,
         {9, 24, 39, 54, 69, 84, 99, 114, 129, 144, 159, 174, 189, 204},
         {0, 15, 30, 45, 60, 75, 90, 105, 120, 135, 150}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.clientW << " zoom " << r.zoom);
        const LayoutNumbers L = ComputeLayout(r.clientW, r.clientH, 15, r.zoom);
        std::vector<LineSegment> want;
        for (int32_t x : r.xs) want.push_back({x, 0, x, L.StatusTop});
        for (int32_t y : r.ys) want.push_back({0, y, r.clientW, y});
        EXPECT_EQ(SubgridLines(L, r.zoom), want);
    }
}

TEST(CenterMarkerPath, ClosedSquareOnePixelOutsideTheCell)
{
    const struct {
        int32_t clientW, zoom, left, top, right, bottom;
    } rows[] = {
        {199, 6, 95, 71, 103, 79},   // cell 96..101 x 72..77, lines at 96 and 102
        {199, 20, 79, 59, 101, 81},  // cell 80..99 x 60..79
        {199, 3, 98, 74, 103, 79},   // cell 99..101 x 75..77
        {199, 1, 98, 74, 100, 76},   // 3 x 3 around the capture pixel (99, 75)
        {199, 2, 97, 73, 100, 76},   // cell 98..99 x 74..75
        {198, 6, 95, 71, 103, 79},   // 33 columns: same offset as 34
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.clientW << " zoom " << r.zoom);
        const auto path = CenterMarkerPath(ComputeLayout(r.clientW, 196, 15, r.zoom), r.zoom);
        const ScreenPoint want[5] = {
            {r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}, {r.left, r.top}};
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(path[i].x, want[i].x) << i;
            EXPECT_EQ(path[i].y, want[i].y) << i;
        }
    }
}

// R2_NOT inverts twice where a pixel is drawn twice, so each outline pixel must be hit once.
TEST(CenterMarkerPath, TouchesEveryOutlinePixelExactlyOnce)
{
    for (int32_t zoom : {1, 2, 3, 4, 6, 8, 10, 12, 16, 20}) {
        for (int32_t w : {1, 2, 33, 34, 199}) {
            SCOPED_TRACE(testing::Message() << w << " zoom " << zoom);
            const LayoutNumbers L = ComputeLayout(w, 196, 15, zoom);
            const auto path = CenterMarkerPath(L, zoom);
            const Pixels px = DrawPath(path);
            // The cell of the capture point, its grid lines (zoom 3+) included, plus one pixel.
            const int32_t x0 = L.CenterOffsetX * zoom - 1, x1 = (L.CenterOffsetX + 1) * zoom + (zoom >= 3);
            const int32_t y0 = L.CenterOffsetY * zoom - 1, y1 = (L.CenterOffsetY + 1) * zoom + (zoom >= 3);
            Pixels want;
            for (int32_t x = x0; x <= x1; ++x) want[{x, y0}] = want[{x, y1}] = 1;
            for (int32_t y = y0; y <= y1; ++y) want[{x0, y}] = want[{x1, y}] = 1;
            EXPECT_EQ(px, want);
        }
    }
}

// Zoom 1 and 2: the crosshair runs along the cell's left column and top row and leaves one
// untouched pixel between itself and the marker on each side.
TEST(CrosshairSegments, StopOnePixelShortOfTheMarker)
{
    const struct {
        int32_t zoom;
        LineSegment up, down, left, right;
    } rows[] = {
        {1, {99, 0, 99, 73}, {99, 78, 99, 151}, {0, 75, 97, 75}, {102, 75, 199, 75}},
        {2, {98, 0, 98, 72}, {98, 78, 98, 151}, {0, 74, 96, 74}, {102, 74, 199, 74}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "zoom " << r.zoom);
        const LayoutNumbers L = ComputeLayout(199, 196, 15, r.zoom);
        const auto segs = CrosshairSegments(L, r.zoom);
        EXPECT_EQ(segs[0], r.up);
        EXPECT_EQ(segs[1], r.down);
        EXPECT_EQ(segs[2], r.left);
        EXPECT_EQ(segs[3], r.right);

        Pixels cross;
        for (const LineSegment& s : segs) Draw(cross, s.x1, s.y1, s.x2, s.y2);
        const Pixels marker = DrawPath(CenterMarkerPath(L, r.zoom));
        const auto [x0, y0] = marker.begin()->first;
        const auto [x1, y1] = marker.rbegin()->first;
        const int32_t cx = L.CenterCellX, cy = L.CenterCellY;
        for (const auto& [p, n] : cross) EXPECT_EQ(marker.count(p), 0u) << p.first << "," << p.second;
        EXPECT_EQ(cross.count({cx, y0 - 1}), 0u);
        EXPECT_EQ(cross.count({cx, y0 - 2}), 1u);
        EXPECT_EQ(cross.count({cx, y1 + 1}), 0u);
        EXPECT_EQ(cross.count({cx, y1 + 2}), 1u);
        EXPECT_EQ(cross.count({x0 - 1, cy}), 0u);
        EXPECT_EQ(cross.count({x0 - 2, cy}), 1u);
        EXPECT_EQ(cross.count({x1 + 1, cy}), 0u);
        EXPECT_EQ(cross.count({x1 + 2, cy}), 1u);
    }
}

}  // namespace
