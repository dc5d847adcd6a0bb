// Fast line series: the polyline through every point whatever its colour, a point
// added without a repaint, the hit test, the pen that is the series colour, the legend
// symbol and a chart description that names the new series types.
//
// The plot is 500 x 250 pixels at (10, 20); X 0..10 maps to pixels 10..510 and Y
// 0..100 to 270..20.

#include "tarvela/chart/series/fast_line_series.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "axis_test_rig.h"
#include "paint_test_support.h"
#include "tarvela/chart/series/area_series.h"
#include "tarvela/chart/series/point_series.h"
#include "tarvela/runtime/form_reader.h"

namespace tarvela::test {
namespace {

struct FastRig {
  AxisRig rig;
  TFastLineSeries& series = *new TFastLineSeries(&rig.form);

  explicit FastRig(std::initializer_list<std::pair<double, double>> points) {
    rig.chart.SetView3D(false);
    series.SetParentChart(&rig.chart);
    series.SetSeriesColor(clRed);
    for (const auto& [x, y] : points) series.AddPointXY(x, y);
    AxisRig::Lay(rig.chart.BottomAxis(), 0, 10);
    AxisRig::Lay(rig.chart.LeftAxis(), 0, 100);
    series.FindVisibleRange();
  }
  void Draw() {
    rig.surface.Clear();
    series.DrawAllPoints();
  }
  std::vector<std::pair<TPoint, TPoint>> Segments() const { return SegmentsOf(rig.Of("LineTo")); }
};

using Segment = std::pair<TPoint, TPoint>;

}  // namespace

TEST(FastLineSeries, JoinsNullPointsAndSkipsPointsOnThePreviousPixel) {
  FastRig f({{0, 0}, {2, 40}, {2, 40}, {2.001, 40.001}, {4, 0}});
  f.series.SetPointColor(1, clNone);
  f.series.SetPointColor(3, clBlue);
  f.Draw();
  // Null and coloured points are joined in the pen's colour; the two points on the
  // pixel of point 1 add nothing.
  EXPECT_EQ(f.Segments(), (std::vector<Segment>{{{10, 270}, {110, 170}}, {{110, 170}, {210, 270}}}));
  for (const std::string& line : f.rig.Of("LineTo")) EXPECT_EQ(canvas_test::FieldOf(line, "pen").substr(0, 7), "#FF0000");
  EXPECT_TRUE(f.rig.Of("Polygon").empty());
  EXPECT_TRUE(f.rig.Of("Rectangle").empty());
}

TEST(FastLineSeries, ALineEnteringFromTheLeftStartsAtThePointBeforeIt) {
  FastRig f({{-2, 0}, {2, 40}, {4, 0}});
  ASSERT_EQ(f.series.FirstDrawnIndex(), 1);
  f.Draw();
  EXPECT_EQ(f.Segments(), (std::vector<Segment>{{{-90, 270}, {110, 170}}, {{110, 170}, {210, 270}}}));
}

TEST(FastLineSeries, PenAndSeriesColourAreOne) {
  FastRig f({});
  EXPECT_EQ(f.series.LinePen().Color(), clRed);
  f.series.SetSeriesColor(clBlue);
  EXPECT_EQ(f.series.LinePen().Color(), clBlue);
  f.series.LinePen().SetColor(clGreen);
  EXPECT_EQ(f.series.SeriesColor(), clGreen);
  TChartPen pen;
  pen.SetColor(clNavy);
  pen.SetWidth(2);
  f.series.SetLinePen(pen);
  EXPECT_EQ(f.series.SeriesColor(), clNavy);
  EXPECT_EQ(f.series.LinePen().Width(), 2);

  auto* copy = new TFastLineSeries(&f.rig.form);
  f.series.SetAutoRepaint(false);
  copy->Assign(f.series);
  EXPECT_FALSE(copy->AutoRepaint());
  EXPECT_EQ(copy->LinePen().Width(), 2);
  EXPECT_EQ(copy->LinePen().Color(), clNavy);

  // The legend shows the line across the middle of its box.
  f.rig.surface.Clear();
  f.series.DrawLegendSymbol(-1, {100, 50, 116, 59});
  const std::vector<std::string> lines = f.rig.Of("LineTo");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(SegmentsOf(lines).at(0), (Segment{{100, 54}, {116, 54}}));
  EXPECT_EQ(canvas_test::FieldOf(lines[0], "pen").substr(0, 7), "#000080");
}

TEST(FastLineSeries, HitTestFindsPointsThenSegments) {
  FastRig f({{0, 0}, {4, 40}, {10, 100}});
  EXPECT_EQ(f.series.HitTest(210, 170), 1);
  EXPECT_EQ(f.series.HitTest(110, 220), 0);   // on the first segment
  EXPECT_EQ(f.series.HitTest(360, 95), 1);    // on the second
  EXPECT_EQ(f.series.HitTest(110, 200), -1);  // off the line
  FastRig empty({});
  EXPECT_EQ(empty.series.HitTest(10, 270), -1);
}

// A chart painted once into its buffer; then points arrive one by one.
TEST(FastLineSeries, WithoutAutoRepaintANewPointDrawsOneSegmentOntoTheLastPaint) {
  RecordingSurface surface;  // first: the chart's buffer records into it to the end
  TComponent form(nullptr);
  TChart& chart = *new TChart(&form);
  chart.SetBounds(0, 0, 465, 337);
  chart.SetView3D(false);
  auto& series = *new TFastLineSeries(&form);
  series.SetParentChart(&chart);
  for (int i = 0; i < 5; ++i) series.AddPointXY(i, i * i);
  int bufferPaints = 0;
  chart.HostPaintBand = [&] { ++bufferPaints; };
  RepaintCounter repaints(chart);
  chart.PaintChart(surface, chart.ClientRect());

  series.SetAutoRepaint(false);
  surface.Clear();
  EXPECT_EQ(series.AddPointXY(5, 20), 5);
  const paint_test::Paint drawn = paint_test::Unprefixed(surface);
  ASSERT_EQ(drawn.Of("LineTo").size(), 1u);
  const TPoint from{series.PointXPixel(4), series.PointYPixel(4)};
  const TPoint to{series.PointXPixel(5), series.PointYPixel(5)};
  EXPECT_EQ(SegmentsOf(drawn.Of("LineTo")).at(0), (Segment{from, to}));
  EXPECT_EQ(repaints.count, 0);
  EXPECT_EQ(bufferPaints, 1);
  EXPECT_NE(chart.Canvas().CurrentBuffer(), nullptr);  // still the picture to show

  // With AutoRepaint the chart repaints and nothing is drawn before that.
  series.SetAutoRepaint(true);
  surface.Clear();
  series.AddPointXY(6, 30);
  EXPECT_TRUE(paint_test::Unprefixed(surface).Of("LineTo").empty());
  EXPECT_EQ(repaints.count, 1);
  EXPECT_EQ(bufferPaints, 1);

  // The buffer out of date: no picture to draw on, so the point asks for a repaint.
  series.SetAutoRepaint(false);
  surface.Clear();
  series.AddPointXY(7, 40);
  EXPECT_TRUE(paint_test::Unprefixed(surface).Of("LineTo").empty());
  EXPECT_EQ(repaints.count, 2);
}

TEST(ChartRegistration, DescriptionsCreateAreaPointAndFastLineSeriesWithTheirSettings) {
  RegisterChartClasses();
  std::unique_ptr<TComponent> root = ReadRootComponent(R"(object Chart1: TChart
  object Low: TAreaSeries
    MultiArea = maStacked
    AreaColor = clYellow
    AreaBrush = bsCross
    AreaLinesPen.Color = clBlue
    Stairs = True
  end
  object Dots: TPointSeries
    Pointer.Style = psCircle
  end
  object Fast: TFastLineSeries
    AutoRepaint = False
    LinePen.Color = clRed
  end
end)");
  auto* chart = dynamic_cast<TChart*>(root.get());
  ASSERT_NE(chart, nullptr);
  ASSERT_EQ(chart->SeriesTotal(), 3);
  auto* area = dynamic_cast<TAreaSeries*>(chart->SeriesAt(0));
  ASSERT_NE(area, nullptr);
  EXPECT_EQ(area->MultiArea(), maStacked);
  EXPECT_EQ(area->AreaColor(), clYellow);
  EXPECT_EQ(area->AreaBrush(), bsCross);
  EXPECT_EQ(area->AreaLinesPen().Color(), clBlue);
  EXPECT_TRUE(area->Stairs());
  auto* dots = dynamic_cast<TPointSeries*>(chart->SeriesAt(1));
  ASSERT_NE(dots, nullptr);
  EXPECT_EQ(dots->Pointer().Style(), psCircle);
  auto* fast = dynamic_cast<TFastLineSeries*>(chart->SeriesAt(2));
  ASSERT_NE(fast, nullptr);
  EXPECT_FALSE(fast->AutoRepaint());
  EXPECT_EQ(fast->SeriesColor(), clRed);
  for (const char* name : {"TAreaSeries", "TPointSeries", "TFastLineSeries"}) EXPECT_TRUE(IsChartClass(name)) << name;
}

}  // namespace tarvela::test
