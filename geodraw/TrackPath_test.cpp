#include "TrackPath.h"

#include <math.h>

#include <gtest/gtest.h>

using namespace geodraw;

namespace {

// A 200 x 100 window; points given by their screen positions.
struct Fixture {
    MapView view{200, 100};
    Fixture() { view.CenterOn(LonLatToWorld(120.15, 30.28), 15); }
    std::vector<WorldPoint> Points(std::initializer_list<ScreenPoint> screen) const {
        std::vector<WorldPoint> points;
        for (ScreenPoint s : screen) points.push_back(view.ToWorld(s));
        return points;
    }
    PolylineRuns Runs(const std::vector<WorldPoint>& points, double margin = 8) const {
        PolylineRuns runs;
        AppendTrackRuns(points.data(), points.size(), view, margin, &runs);
        return runs;
    }
};

using Pixels = std::vector<std::pair<long, long>>;

std::vector<Pixels> Split(const PolylineRuns& runs) {
    std::vector<std::vector<std::pair<long, long>>> out;
    size_t i = 0;
    for (DWORD n : runs.counts) {
        out.emplace_back();
        for (DWORD k = 0; k < n; ++k, ++i) out.back().emplace_back(runs.points[i].x, runs.points[i].y);
    }
    EXPECT_EQ(i, runs.points.size());
    return out;
}

}  // namespace

TEST(TrackPath, InsideTheWindowEveryPointItsPixel) {
    Fixture f;
    auto runs = Split(f.Runs(f.Points({{10.2, 10.7}, {50.5, 20.1}, {120.9, 80.3}, {190.0, 5.5}})));
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0], (Pixels{{10, 10}, {50, 20}, {120, 80}, {190, 5}}));
}

TEST(TrackPath, PointsInTheSamePixelAddNothing) {
    Fixture f;
    std::vector<WorldPoint> points;
    for (int i = 0; i < 1000; ++i) points.push_back(f.view.ToWorld(ScreenPoint{40.1 + i * 0.0008, 30.2}));
    points.push_back(f.view.ToWorld(ScreenPoint{90.5, 60.5}));
    auto runs = Split(f.Runs(points));
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0], (Pixels{{40, 30}, {90, 60}}));
}

TEST(TrackPath, OnePixelStillDraws) {
    Fixture f;
    EXPECT_EQ(Split(f.Runs(f.Points({{30.5, 40.5}}))), (std::vector<Pixels>{{{30, 40}, {31, 40}}}));
    EXPECT_EQ(Split(f.Runs(f.Points({{30.5, 40.5}, {30.7, 40.2}}))), (std::vector<Pixels>{{{30, 40}, {31, 40}}}));
    EXPECT_TRUE(f.Runs(f.Points({{-300, 40}})).points.empty());   // one point outside: nothing
    EXPECT_TRUE(f.Runs({}).points.empty());
}

TEST(TrackPath, OutsideLeftOutCrossingsCutAtTheMargin) {
    Fixture f;
    // In, far out to the right (a billion pixels), back in: two polylines,
    // each cut where it crosses x = 200 + 8.
    auto runs = Split(f.Runs(f.Points({{100.5, 50.5}, {1e9, 50.5}, {1e9, 60.5}, {150.5, 60.5}})));
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0], (Pixels{{100, 50}, {208, 50}}));
    EXPECT_EQ(runs[1], (Pixels{{208, 60}, {150, 60}}));
    // Entirely outside, though the segment passes near a corner: nothing.
    EXPECT_TRUE(f.Runs(f.Points({{-50, -20}, {-20, -50}})).points.empty());
    // Both ends outside, the middle through the window: one cut segment.
    auto through = Split(f.Runs(f.Points({{-1000, 50.5}, {1000, 50.5}})));
    EXPECT_EQ(through, (std::vector<Pixels>{{{-8, 50}, {208, 50}}}));
}

TEST(TrackPath, BoundsCoverThePixelsAndThePen) {
    Fixture f;
    PolylineRuns runs = f.Runs(f.Points({{10.5, 20.5}, {30.5, 25.5}}));
    RECT r = runs.Bounds(3);
    EXPECT_EQ(r.left, 7);
    EXPECT_EQ(r.top, 17);
    EXPECT_EQ(r.right, 34);
    EXPECT_EQ(r.bottom, 29);
    RECT none = PolylineRuns().Bounds(3);
    EXPECT_TRUE(IsRectEmpty(&none));
}
