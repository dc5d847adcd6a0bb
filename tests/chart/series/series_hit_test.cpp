// The hit test of line series and its geometry helpers.
//
// The plot is 500 x 250 pixels at (10, 20); X 0..10 maps to pixels 10..510 and Y
// 0..100 to 270..20.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "axis_test_rig.h"
#include "tarvela/chart/series/line_series.h"

namespace tarvela::test {
namespace {

struct HitRig {
  AxisRig rig;
  TLineSeries* series = rig.Line();

  explicit HitRig(std::initializer_list<std::pair<double, double>> points, bool view3D = false) {
    rig.chart.SetView3D(view3D);
    for (const auto& [x, y] : points) series->AddPointXY(x, y);
    AxisRig::Lay(rig.chart.BottomAxis(), 0, 10);
    AxisRig::Lay(rig.chart.LeftAxis(), 0, 100);
    series->FindVisibleRange();
  }
};

}  // namespace

TEST(PointNearSegment, HoldsWithinOnePixelOfTheLineInsideItsSpans) {
  // Horizontal, vertical and a slope of one in two.
  EXPECT_TRUE(PointNearSegment({5, 0}, {0, 0}, {10, 0}));
  EXPECT_FALSE(PointNearSegment({5, 1}, {0, 0}, {10, 0}));
  EXPECT_FALSE(PointNearSegment({11, 0}, {0, 0}, {10, 0}));
  EXPECT_TRUE(PointNearSegment({11, 0}, {0, 0}, {10, 0}, 1));
  EXPECT_TRUE(PointNearSegment({3, 10}, {3, 0}, {3, 10}));
  EXPECT_FALSE(PointNearSegment({3, 11}, {3, 0}, {3, 10}));
  EXPECT_FALSE(PointNearSegment({4, 5}, {3, 0}, {3, 10}));
  EXPECT_TRUE(PointNearSegment({4, 2}, {0, 0}, {10, 5}));
  EXPECT_FALSE(PointNearSegment({4, 3}, {0, 0}, {10, 5}));
  EXPECT_TRUE(PointNearSegment({4, 2}, {10, 5}, {0, 0}));
}

TEST(PolygonContains, CountsCrossingsWithHalfOpenEdges) {
  const std::array<TPoint, 4> square = {TPoint{0, 0}, TPoint{10, 0}, TPoint{10, 10}, TPoint{0, 10}};
  EXPECT_TRUE(PolygonContains(square, {5, 5}));
  // Top and left edges belong to the square, bottom and right do not.
  EXPECT_TRUE(PolygonContains(square, {0, 5}));
  EXPECT_TRUE(PolygonContains(square, {5, 0}));
  EXPECT_FALSE(PolygonContains(square, {10, 5}));
  EXPECT_FALSE(PolygonContains(square, {5, 10}));
  EXPECT_FALSE(PolygonContains(square, {-1, 5}));
  // Even-odd on a self-crossing bow tie: inside its left wedge, outside the opening
  // between the wedges.
  const std::array<TPoint, 4> bowTie = {TPoint{0, 0}, TPoint{10, 10}, TPoint{10, 0}, TPoint{0, 10}};
  EXPECT_TRUE(PolygonContains(bowTie, {2, 5}));
  EXPECT_FALSE(PolygonContains(bowTie, {5, 1}));
}

TEST(SeriesHitTest, FindsPointsAndTheSegmentThatStartsAtAPoint) {
  HitRig hit({{0, 0}, {5, 50}, {10, 100}});
  EXPECT_EQ(hit.series->HitTest(260, 145), 1);
  // On the line from (10, 270) to (260, 145), two pixels along.
  EXPECT_EQ(hit.series->HitTest(12, 269), 0);
  EXPECT_EQ(hit.series->HitTest(262, 144), 1);
  EXPECT_EQ(hit.series->HitTest(12, 270), -1);

  hit.series->SetSegmentsClickable(false);
  EXPECT_EQ(hit.series->HitTest(12, 269), -1);
  EXPECT_EQ(hit.series->HitTest(510, 20), 2);
}

TEST(SeriesHitTest, PointerHitIsStrictlyInsideAndCallsOnClickPointer) {
  HitRig hit({{0, 0}, {5, 50}, {10, 100}});
  hit.series->Pointer().SetVisible(true);
  std::vector<int> clicks;
  hit.series->OnClickPointer = [&](TChartSeries*, int index, int x, int y) { clicks = {index, x, y}; };
  EXPECT_EQ(hit.series->HitTest(263, 147), 1);
  EXPECT_EQ(clicks, (std::vector<int>{1, 263, 147}));
  clicks.clear();
  EXPECT_EQ(hit.series->HitTest(264, 145), -1);
  EXPECT_TRUE(clicks.empty());
}

TEST(SeriesHitTest, StairsAreHitAlongThePathTheyAreDrawn) {
  HitRig hit({{0, 0}, {10, 100}});
  hit.series->SetStairs(true);
  EXPECT_EQ(hit.series->HitTest(300, 270), 0);
  EXPECT_EQ(hit.series->HitTest(510, 150), 0);
  EXPECT_EQ(hit.series->HitTest(10, 150), -1);

  hit.series->SetInvertedStairs(true);
  EXPECT_EQ(hit.series->HitTest(10, 150), 0);
  EXPECT_EQ(hit.series->HitTest(300, 20), 0);
  EXPECT_EQ(hit.series->HitTest(300, 270), -1);
}

TEST(SeriesHitTest, ThreeDimensionalRibbonIsHitAtTheSeriesFrontDepth) {
  HitRig hit({{0, 0}, {10, 0}}, true);
  TLineSeries* front = hit.rig.Line();
  hit.rig.chart.AssignDepthSlots();
  hit.rig.Project3D(10);
  hit.rig.chart.SetSeriesDepths();
  ASSERT_EQ(hit.series->DepthFront(), 5);
  ASSERT_EQ(front->DepthFront(), 0);
  // The back series' ribbon runs from (10, 270) to (510, 270) and 5 pixels up-right,
  // seen 5 pixels further up-right on the screen.
  EXPECT_EQ(hit.series->HitTest(205, 263), 0);
  EXPECT_EQ(hit.series->HitTest(200, 268), -1);
  EXPECT_EQ(hit.series->HitTest(205, 266), -1);
}

TEST(SeriesHitTest, AreaIsHitBetweenTheLineAndTheBaseline) {
  HitRig hit({{0, 50}, {10, 50}});
  EXPECT_EQ(hit.series->HitTest(200, 200), -1);
  hit.series->SetDrawArea(true);
  EXPECT_EQ(hit.series->HitTest(200, 200), 0);
  EXPECT_EQ(hit.series->HitTest(200, 100), -1);
}

TEST(SeriesHitTest, SeriesWithoutDrawnPointsHitsNothing) {
  TComponent form(nullptr);
  TLineSeries* alone = NewLine(form);
  EXPECT_EQ(alone->HitTest(0, 0), -1);
  HitRig hit({});
  EXPECT_EQ(hit.series->HitTest(10, 270), -1);
}

}  // namespace tarvela::test

namespace tarvela::test {
namespace {

// The hit test as a scan of every point, as it reads: the pointer, the pixel, the
// segment, the area slice; the first match in index order.
int ScannedHit(const TCustomSeries& series, int x, int y) {
  TPoint previous{0, 0};
  for (int i = series.FirstDrawnIndex(); i >= 0 && i <= series.LastDrawnIndex(); ++i) {
    const TPoint p{series.PointXPixel(i), series.PointYPixel(i)};
    if (series.Pointer().Visible() && series.PointerHit(i, p.x, p.y, x, y)) return i;
    if (p.x == x && p.y == y) return i;
    if (i > series.FirstDrawnIndex()) {
      if (PointNearSegment({x, y}, p, previous)) return i - 1;
      const std::array<TPoint, 4> slice = {previous, p, TPoint{p.x, series.BaselinePos(i)},
                                           TPoint{previous.x, series.BaselinePos(i - 1)}};
      if (series.DrawArea() && PolygonContains(slice, {x, y})) return i - 1;
    }
    previous = p;
  }
  return -1;
}

}  // namespace

// Of many points, only those near the column are tested: the same point as the scan of
// all of them, at every pixel of a band of columns, for lines, areas and pointers on
// normal and inverted axes.
TEST(LineSeriesHitTest, ManyPointsFindWhatTheScanOfAllFinds) {
  for (int round = 0; round < 4; ++round) {
    SCOPED_TRACE(round);
    AxisRig rig;
    rig.chart.SetView3D(false);
    TLineSeries& series = *rig.Line();
    series.SetDrawArea(round % 2 == 1);
    series.Pointer().SetVisible(round == 2);
    double x = 0;
    for (int i = 0; i < 800; ++i) {
      x += (i * 7919 % 13) * 0.002;  // uneven steps, some of them 0
      series.AddPointXY(x, 50 + 40 * std::sin(i * 0.05 * (round + 1)));
    }
    rig.chart.BottomAxis().SetInverted(round >= 2);
    AxisRig::Lay(rig.chart.BottomAxis(), x * 0.1, x * 0.9);
    AxisRig::Lay(rig.chart.LeftAxis(), 0, 100);
    series.FindVisibleRange();
    int hits = 0;
    for (int px = 200; px < 210; ++px) {
      for (int py = 20; py < 270; py += 6) {
        const int expected = ScannedHit(series, px, py);
        ASSERT_EQ(series.HitTest(px, py), expected) << px << ", " << py;
        hits += expected >= 0;
      }
    }
    EXPECT_GT(hits, 10);
  }
}

}  // namespace tarvela::test
