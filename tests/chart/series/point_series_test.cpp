// Point series: pointers only, the hit test without segments, copying.
//
// The plot is 500 x 250 pixels at (10, 20); X 0..10 maps to pixels 10..510 and Y
// 0..100 to 270..20.

#include "tarvela/chart/series/point_series.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "axis_test_rig.h"

namespace tarvela::test {
namespace {

struct PointRig {
  AxisRig rig;
  TPointSeries& series = *new TPointSeries(&rig.form);

  PointRig() {
    rig.chart.SetView3D(false);
    series.SetParentChart(&rig.chart);
    series.SetSeriesColor(clRed);
    for (const auto& [x, y] : {std::pair{0.0, 0.0}, {4.0, 40.0}, {10.0, 100.0}}) series.AddPointXY(x, y);
    AxisRig::Lay(rig.chart.BottomAxis(), 0, 10);
    AxisRig::Lay(rig.chart.LeftAxis(), 0, 100);
    series.FindVisibleRange();
  }
  void Draw() {
    rig.surface.Clear();
    series.DoBeforeDrawValues();
    series.DrawAllPoints();
  }
};

}  // namespace

TEST(PointSeries, DrawsEveryPointerAndNoLine) {
  PointRig p;
  EXPECT_TRUE(p.series.Pointer().Visible());
  EXPECT_FALSE(p.series.ConnectPoints());
  EXPECT_EQ(p.series.Marks().ArrowLength(), 0);
  p.Draw();
  EXPECT_TRUE(p.rig.Of("LineTo").empty());
  EXPECT_TRUE(p.rig.Of("Polygon").empty());
  const std::vector<std::string> pointers = p.rig.Of("Rectangle");
  ASSERT_EQ(pointers.size(), 3u);
  // In the order of the points, each after its successor has been reached.
  EXPECT_EQ(canvas_test::RectOf(pointers[0]), (TRect{6, 266, 15, 275}));
  EXPECT_EQ(canvas_test::RectOf(pointers[1]), (TRect{206, 166, 215, 175}));
  EXPECT_EQ(canvas_test::RectOf(pointers[2]), (TRect{506, 16, 515, 25}));
  EXPECT_EQ(canvas_test::FieldOf(pointers[1], "brush"), "#FF0000/solid");

  // Each point in a colour of its own: the pointer's brush gives way to it.
  p.series.Pointer().Brush().SetColor(clBlue);
  p.series.SetColorEachPoint(true);
  EXPECT_EQ(p.series.Pointer().Brush().Color(), clDefault);
}

TEST(PointSeries, HitTestFindsPointersNeverTheSpaceBetween) {
  PointRig p;
  EXPECT_EQ(p.series.HitTest(208, 172), 1);  // inside the pointer of (4, 40)
  EXPECT_EQ(p.series.HitTest(110, 220), -1);  // on the way from point 0 to point 1
  p.series.Pointer().SetVisible(false);
  EXPECT_EQ(p.series.HitTest(210, 170), 1);  // the exact pixel still counts
  EXPECT_EQ(p.series.HitTest(208, 172), -1);
}

TEST(PointSeries, CopyingKeepsItAPointSeries) {
  TComponent form(nullptr);
  auto* line = NewLine(form);
  line->Pointer().SetVisible(false);
  auto* points = new TPointSeries(&form);
  points->Assign(*line);
  EXPECT_TRUE(points->Pointer().Visible());
  EXPECT_FALSE(points->ConnectPoints());
  EXPECT_FALSE(points->DrawArea());
  EXPECT_FALSE(points->SegmentsClickable());
}

}  // namespace tarvela::test

namespace tarvela::test {

// More points than the plot has pixels: ten million points would be minutes of
// pointers drawn over each other. Each pixel a point lands on gets one pointer (the
// last one there, which covers the others of its colour exactly).
TEST(PointSeries, MorePointsThanPixelsDrawOnePointerAPixel) {
  AxisRig rig(TRect{10, 20, 30, 30});  // 20 x 10 pixels: 23 x 13 with the frame around
  rig.chart.SetView3D(false);
  auto& series = *new TPointSeries(&rig.form);
  series.SetParentChart(&rig.chart);
  AxisRig::Lay(rig.chart.BottomAxis(), 0, 10);
  AxisRig::Lay(rig.chart.LeftAxis(), 0, 100);
  const auto draw = [&] {
    series.FindVisibleRange();
    series.DoBeforeDrawValues();
    series.DrawAllPoints();
  };
  // Far more points than pixels, in one colour: one pointer a pixel, at the last point there.
  for (int i = 0; i < 1000; ++i) series.AddPointXY(i / 100, (i * 37) % 101);
  draw();
  std::set<std::pair<int, int>> fewPixels;
  for (int i = 0; i < series.PointCount(); ++i) fewPixels.insert({series.PointXPixel(i), series.PointYPixel(i)});
  EXPECT_EQ(rig.Of("Rectangle").size(), fewPixels.size());
  EXPECT_LT(fewPixels.size(), 1000u);
  // Beyond the points every picture draws exactly, still one pointer a pixel.
  const int count = static_cast<int>(PointPixelFilter::kExactPoints) + 1;
  // In ascending X, as a sorted series adds them at its end.
  for (int i = 1000; i < count; ++i) series.AddPointXY(9 + double(i) / count, (i * 37) % 101);
  rig.surface.Clear();
  draw();

  std::set<std::pair<int, int>> pixels;
  for (int i = 0; i < series.PointCount(); ++i) pixels.insert({series.PointXPixel(i), series.PointYPixel(i)});
  std::set<std::pair<int, int>> drawn;
  const std::vector<std::string> pointers = rig.Of("Rectangle");
  for (const std::string& pointer : pointers) {
    const TRect r = canvas_test::RectOf(pointer);
    drawn.insert({r.left + 4, r.top + 4});
  }
  EXPECT_EQ(drawn, pixels);
  EXPECT_LE(pointers.size(), pixels.size() + 1);
  EXPECT_LT(pixels.size(), 150u);
}

}  // namespace tarvela::test
