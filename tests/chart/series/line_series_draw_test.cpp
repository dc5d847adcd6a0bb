// Drawing of a line series through a recording surface, with exact coordinates.
//
// The plot is 500 x 250 pixels at (10, 20). Unless a test zooms, X 0..10 maps to
// pixels 10..510 (50 a unit) and Y 0..100 to 270..20 (2.5 a unit). In 3D the canvas
// projects P(x, y, z) = (x + z, y - z); one series with Chart3DPercent 10 has the slab
// 0..5.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "axis_test_rig.h"
#include "tarvela/chart/series/line_series.h"

namespace tarvela::test {
namespace {

struct LineRig {
  AxisRig rig;
  TLineSeries* series = rig.Line();

  explicit LineRig(bool view3D) {
    rig.chart.SetView3D(view3D);
    series->SetSeriesColor(clRed);
    Lay(0, 10);
  }

  void Lay(double xMin, double xMax) {
    AxisRig::Lay(rig.chart.BottomAxis(), xMin, xMax);
    AxisRig::Lay(rig.chart.LeftAxis(), 0, 100);
  }

  // The depth slab of the series and the oblique projection, as a 3D paint sets them.
  void Use3D() {
    rig.chart.AssignDepthSlots();
    rig.Project3D(10);
    rig.chart.SetSeriesDepths();
  }

  void Add(std::initializer_list<std::pair<double, double>> points) {
    for (const auto& [x, y] : points) series->AddPointXY(x, y);
  }

  // One drawing pass as the chart's paint runs it.
  void Draw() {
    rig.surface.Clear();
    series->FindVisibleRange();
    series->DoBeforeDrawValues();
    series->DrawAllPoints();
  }

  std::vector<std::string> Of(const std::string& command) const { return rig.Of(command); }
};

std::vector<TPoint> Points(const std::string& line) { return canvas_test::PointsOf(line); }
std::string Brush(const std::string& line) { return canvas_test::FieldOf(line, "brush"); }

}  // namespace

TEST(LineSeriesDraw, OneDrawnPointShowsOnlyItsPointerWhenVisible) {
  LineRig line(false);
  line.Add({{5, 50}});
  line.Draw();
  EXPECT_TRUE(line.rig.surface.Lines().empty());

  line.series->Pointer().SetVisible(true);
  line.Draw();
  ASSERT_EQ(line.rig.surface.Lines().size(), 1u);
  EXPECT_EQ(canvas_test::RectOf(line.Of("Rectangle").at(0)), (TRect{256, 141, 265, 150}));
  EXPECT_EQ(Brush(line.Of("Rectangle").at(0)), "#FF0000/solid");
}

TEST(LineSeriesDraw, TwoDimensionalLineJoinsPointsInTheirColourWithPointersOnTop) {
  LineRig line(false);
  line.Add({{0, 0}, {5, 50}, {10, 100}});
  line.series->Pointer().SetVisible(true);
  line.Draw();
  std::vector<std::string> commands;
  for (const std::string& l : line.rig.surface.Lines()) commands.push_back(canvas_test::CommandOf(l));
  // Each point draws its arriving segment, then the previous point's pointer; the last
  // point also its own.
  EXPECT_EQ(commands, (std::vector<std::string>{"LineTo", "Rectangle", "LineTo", "Rectangle", "Rectangle"}));
  EXPECT_EQ(SegmentsOf(line.Of("LineTo")),
            (std::vector<std::pair<TPoint, TPoint>>{{{10, 270}, {260, 145}}, {{260, 145}, {510, 20}}}));
  EXPECT_EQ(canvas_test::FieldOf(line.Of("LineTo").at(0), "pen"), "#FF0000/1/solid/copy");
}

TEST(LineSeriesDraw, NullPointBreaksTheLineAndHasNoPointer) {
  LineRig line(false);
  line.Add({{0, 0}, {2, 20}});
  line.series->AddNullPointXY(4, 40);
  line.Add({{6, 60}, {8, 80}});
  line.series->Pointer().SetVisible(true);
  line.Draw();
  EXPECT_EQ(SegmentsOf(line.Of("LineTo")),
            (std::vector<std::pair<TPoint, TPoint>>{{{10, 270}, {110, 220}}, {{310, 120}, {410, 70}}}));
  std::vector<TRect> pointers;
  for (const std::string& l : line.Of("Rectangle")) pointers.push_back(canvas_test::RectOf(l));
  EXPECT_EQ(pointers, (std::vector<TRect>{{6, 266, 15, 275}, {106, 216, 115, 225}, {306, 116, 315, 125},
                                          {406, 66, 415, 75}}));
}

TEST(LineSeriesDraw, ZoomedLineEntersAtThePlotsLeftEdge) {
  // X 2.5..7.5 over the 500 pixels: 100 a unit. Y = 20 X; the point left of the plot
  // is (2, 40), the first drawn (4, 80) at pixel (160, 70).
  LineRig line(false);
  line.Add({{0, 0}, {2, 40}, {4, 80}, {6, 120}, {8, 160}});
  line.Lay(2.5, 7.5);
  line.Draw();
  ASSERT_EQ(line.series->FirstDrawnIndex(), 2);
  // Interpolated at X 2.5: Y 50, pixel 145.
  EXPECT_EQ(SegmentsOf(line.Of("LineTo")).at(0), (std::pair<TPoint, TPoint>{{10, 145}, {160, 70}}));

  // Stairs keep the previous point's height (Y 40, pixel 170) up to the edge.
  line.series->SetStairs(true);
  line.Draw();
  EXPECT_EQ(SegmentsOf(line.Of("LineTo")).at(0), (std::pair<TPoint, TPoint>{{10, 170}, {160, 170}}));
  EXPECT_EQ(SegmentsOf(line.Of("LineTo")).at(1), (std::pair<TPoint, TPoint>{{160, 170}, {160, 70}}));

  // No pointer for the point outside the plot.
  line.series->SetStairs(false);
  line.series->Pointer().SetVisible(true);
  line.Draw();
  EXPECT_EQ(canvas_test::RectOf(line.Of("Rectangle").at(0)), (TRect{156, 66, 165, 75}));
}

TEST(LineSeriesDraw, InvertedHorizontalAxisEntersAtThePlotsRightEdge) {
  LineRig line(false);
  line.Add({{0, 0}, {2, 40}, {4, 80}, {6, 120}});
  line.rig.chart.BottomAxis().SetInverted(true);
  line.Lay(2.5, 7.5);
  line.Draw();
  // X 4 lies at 510 - 150; the edge at X 2.5 is the right pixel, Y 50.
  EXPECT_EQ(SegmentsOf(line.Of("LineTo")).at(0), (std::pair<TPoint, TPoint>{{510, 145}, {360, 70}}));
}

TEST(LineSeriesDraw, ConsecutivePointsAtOnePixelDrawNoSegmentButBothPointers) {
  LineRig line(false);
  line.Add({{0, 0}, {0, 0}});
  line.series->Pointer().SetVisible(true);
  line.Draw();
  EXPECT_TRUE(line.Of("LineTo").empty());
  ASSERT_EQ(line.Of("Rectangle").size(), 2u);
  EXPECT_EQ(canvas_test::RectOf(line.Of("Rectangle").at(1)), (TRect{6, 266, 15, 275}));
}

TEST(LineSeriesDraw, PointOutsideThePixelRangeIsSkippedAndTheLineGoesOn) {
  LineRig line(false);
  line.Add({{0, 0}, {5, 1e6}, {10, 100}});
  line.Draw();
  EXPECT_EQ(SegmentsOf(line.Of("LineTo")), (std::vector<std::pair<TPoint, TPoint>>{{{10, 270}, {510, 20}}}));
}

TEST(LineSeriesDraw, StairsGoAcrossThenUpAndInvertedStairsUpThenAcrossIn2D) {
  LineRig line(false);
  line.Add({{0, 0}, {10, 100}});
  line.series->SetStairs(true);
  line.Draw();
  EXPECT_EQ(SegmentsOf(line.Of("LineTo")),
            (std::vector<std::pair<TPoint, TPoint>>{{{10, 270}, {510, 270}}, {{510, 270}, {510, 20}}}));

  line.series->SetInvertedStairs(true);
  line.Draw();
  EXPECT_EQ(SegmentsOf(line.Of("LineTo")),
            (std::vector<std::pair<TPoint, TPoint>>{{{10, 270}, {10, 20}}, {{10, 20}, {510, 20}}}));
}

TEST(LineSeriesDraw, DenseTwoDimensionalLineIsOnePathOfEachColumnsEntryExtremesAndExit) {
  // X 0..1000 over the 500 pixels: half a pixel a unit, so X 0..0.8 share column 10.
  LineRig line(false);
  line.Lay(0, 1000);
  line.Add({{0, 0}, {0.2, 40}, {0.4, 20}, {0.6, 60}, {0.8, 30}, {2, 50}, {4, 10}, {4.2, 90}, {4.4, 50}});
  line.Draw();
  ASSERT_EQ(line.Of("Polyline").size(), 1u);
  EXPECT_TRUE(line.Of("LineTo").empty());
  // Column 10: first (Y 0, also the lowest), highest (60), last (30); column 11 its one
  // point; the last column every point, as nothing after it lights its end pixel.
  EXPECT_EQ(Points(line.Of("Polyline").at(0)),
            (std::vector<TPoint>{{10, 270}, {10, 120}, {10, 195}, {11, 145}, {12, 245}, {12, 45}, {12, 145}}));
  EXPECT_EQ(canvas_test::FieldOf(line.Of("Polyline").at(0), "pen"), "#FF0000/1/solid/copy");

  // The extremes keep their order: highest before lowest here.
  line.series->ClearPoints();
  line.Add({{0, 50}, {0.2, 90}, {0.4, 10}, {0.6, 40}, {2, 50}, {4, 10}});
  line.Draw();
  ASSERT_EQ(line.Of("Polyline").size(), 1u);
  EXPECT_EQ(Points(line.Of("Polyline").at(0)),
            (std::vector<TPoint>{{10, 145}, {10, 45}, {10, 245}, {10, 170}, {11, 145}, {12, 245}}));

  // What the pixels would depend on the cutting of the line into segments (a dashed
  // pen), or no column holding two points, keeps the point-by-point drawing.
  line.series->LinePen().SetStyle(psDash);
  line.Draw();
  EXPECT_TRUE(line.Of("Polyline").empty());
  EXPECT_EQ(line.Of("LineTo").size(), 5u);
  line.series->LinePen().SetStyle(psSolid);
  line.Lay(0, 10);
  line.Draw();
  EXPECT_TRUE(line.Of("Polyline").empty());
}

TEST(LineSeriesDraw, DenseLineOutOfXOrderOrBeyondThePixelRangeIsDrawnPointByPoint) {
  LineRig line(false);
  line.Lay(0, 1000);
  line.series->XValues().SetOrder(loNone);
  line.Add({{0.4, 0}, {0.2, 40}, {0, 20}, {2, 50}});
  line.Draw();
  EXPECT_TRUE(line.Of("Polyline").empty());
  EXPECT_EQ(line.Of("LineTo").size(), 3u);

  line.series->ClearPoints();
  line.series->XValues().SetOrder(loAscending);
  line.Add({{0, 0}, {0.2, 1e6}, {0.4, 20}, {2, 50}});
  line.Draw();
  EXPECT_TRUE(line.Of("Polyline").empty());
  // The point far out is skipped: the line goes from the first to the third point.
  EXPECT_EQ(SegmentsOf(line.Of("LineTo")),
            (std::vector<std::pair<TPoint, TPoint>>{{{10, 270}, {10, 220}}, {{10, 220}, {11, 145}}}));
}

TEST(LineSeriesDraw, ThreeDimensionalLineIsARibbonThroughTheSeriesSlab) {
  LineRig line(true);
  line.Use3D();
  ASSERT_EQ(line.series->DepthBack(), 5);
  line.Add({{0, 0}, {10, 100}});
  line.Draw();
  ASSERT_EQ(line.Of("Polygon").size(), 1u);
  EXPECT_EQ(Points(line.Of("Polygon").at(0)), (std::vector<TPoint>{{510, 20}, {10, 270}, {15, 265}, {515, 15}}));
  EXPECT_EQ(Brush(line.Of("Polygon").at(0)), "#FF0000/solid");
  EXPECT_TRUE(line.Of("LineTo").empty());

  // A clear line brush draws no line at all in 3D.
  line.series->SetLineBrush(bsClear);
  line.Draw();
  EXPECT_TRUE(line.rig.surface.Lines().empty());
}

TEST(LineSeriesDraw, RibbonClimbingSteeperThanTheDepthIsDarkened) {
  LineRig line(true);
  line.Use3D();
  // Up 250 pixels over 50: steeper than the depth direction (slope 1); then down.
  line.Add({{0, 0}, {1, 100}, {2, 0}});
  line.Draw();
  ASSERT_EQ(line.Of("Polygon").size(), 2u);
  EXPECT_EQ(Brush(line.Of("Polygon").at(0)), "#BF0000/solid");
  EXPECT_EQ(Brush(line.Of("Polygon").at(1)), "#FF0000/solid");

  line.series->SetDark3D(false);
  line.Draw();
  EXPECT_EQ(Brush(line.Of("Polygon").at(0)), "#FF0000/solid");
}

TEST(LineSeriesDraw, StairsIn3DAreAFloorAndADarkenedRiserInEitherOrder) {
  LineRig line(true);
  line.Use3D();
  line.Add({{0, 0}, {10, 100}});
  line.series->SetStairs(true);
  line.Draw();
  ASSERT_EQ(line.Of("Polygon").size(), 2u);
  EXPECT_EQ(Points(line.Of("Polygon").at(0)), (std::vector<TPoint>{{10, 270}, {510, 270}, {515, 265}, {15, 265}}));
  EXPECT_EQ(Brush(line.Of("Polygon").at(0)), "#FF0000/solid");
  EXPECT_EQ(Points(line.Of("Polygon").at(1)), (std::vector<TPoint>{{510, 20}, {515, 15}, {515, 265}, {510, 270}}));
  EXPECT_EQ(Brush(line.Of("Polygon").at(1)), "#BF0000/solid");

  line.series->SetInvertedStairs(true);
  line.Draw();
  ASSERT_EQ(line.Of("Polygon").size(), 2u);
  EXPECT_EQ(Points(line.Of("Polygon").at(0)), (std::vector<TPoint>{{10, 270}, {15, 265}, {15, 15}, {10, 20}}));
  EXPECT_EQ(Brush(line.Of("Polygon").at(0)), "#BF0000/solid");
  EXPECT_EQ(Points(line.Of("Polygon").at(1)), (std::vector<TPoint>{{510, 20}, {10, 20}, {15, 15}, {515, 15}}));
  EXPECT_EQ(Brush(line.Of("Polygon").at(1)), "#FF0000/solid");
}

TEST(LineSeriesDraw, LineHeightAddsAFrontFaceAndClosesTheLastEnd) {
  LineRig line(true);
  line.Use3D();
  line.Add({{0, 0}, {10, 100}});
  line.series->SetLineHeight(3);
  line.Draw();
  const std::vector<std::string> polygons = line.Of("Polygon");
  ASSERT_EQ(polygons.size(), 3u);
  EXPECT_EQ(Points(polygons.at(0)), (std::vector<TPoint>{{510, 20}, {10, 270}, {10, 273}, {510, 23}}));
  EXPECT_EQ(Points(polygons.at(1)), (std::vector<TPoint>{{510, 20}, {515, 15}, {515, 18}, {510, 23}}));
  EXPECT_EQ(Points(polygons.at(2)), (std::vector<TPoint>{{510, 20}, {10, 270}, {15, 265}, {515, 15}}));
}

TEST(LineSeriesDraw, AreaFillsDownToTheBaselineAsSlopeOrStep) {
  LineRig line(false);
  line.Add({{0, 40}, {10, 60}});
  line.series->SetDrawArea(true);
  line.Draw();
  ASSERT_EQ(line.Of("Polygon").size(), 1u);
  EXPECT_EQ(Points(line.Of("Polygon").at(0)), (std::vector<TPoint>{{10, 270}, {10, 170}, {510, 120}, {510, 270}}));
  EXPECT_EQ(Brush(line.Of("Polygon").at(0)), "#FF0000/solid");
  EXPECT_TRUE(line.Of("LineTo").empty());

  // A step at the previous height, one pixel wider so that steps leave no gap.
  line.series->SetStairs(true);
  line.Draw();
  EXPECT_EQ(Points(line.Of("Polygon").at(0)), (std::vector<TPoint>{{10, 270}, {511, 270}, {511, 170}, {10, 170}}));
  line.series->SetInvertedStairs(true);
  line.Draw();
  EXPECT_EQ(Points(line.Of("Polygon").at(0)), (std::vector<TPoint>{{10, 270}, {511, 270}, {511, 120}, {10, 120}}));
}

TEST(LineSeriesDraw, StaleDrawingMemoryOfAnEarlierPassIsNeverJoined) {
  LineRig line(false);
  line.Add({{0, 0}, {5, 50}, {10, 100}});
  line.Draw();
  // A pass that starts past the first drawn index (as a shared depth slab does)
  // draws nothing back to where the last pass ended.
  line.rig.surface.Clear();
  line.series->DoBeforeDrawValues();
  line.series->DrawPoint(1);
  EXPECT_TRUE(line.Of("LineTo").empty());
}

TEST(LineSeriesMargins, PointerStairsAndLineHeightWidenTheAxisEnds) {
  LineRig line(false);
  int left = -1, right = -1, top = -1, bottom = -1;
  line.series->HorizMargins(left, right);
  line.series->VertMargins(top, bottom);
  EXPECT_EQ((std::vector<int>{left, right, top, bottom}), (std::vector<int>{0, 0, 0, 0}));

  line.series->Pointer().SetVisible(true);
  line.series->HorizMargins(left, right);
  line.series->VertMargins(top, bottom);
  EXPECT_EQ((std::vector<int>{left, right, top, bottom}), (std::vector<int>{5, 5, 5, 5}));

  line.series->Pointer().SetInflateMargins(false);
  line.series->SetStairs(true);
  line.series->LinePen().SetWidth(3);
  line.series->HorizMargins(left, right);
  line.series->VertMargins(top, bottom);
  EXPECT_EQ((std::vector<int>{left, right, top, bottom}), (std::vector<int>{3, 3, 3, 4}));

  line.series->SetLineHeight(10);
  line.series->VertMargins(top, bottom);
  EXPECT_EQ(bottom, 10);
}

TEST(LineSeriesMargins, VisiblePointerKeepsFivePixelsAtEveryAxisEnd) {
  LineRig line(false);
  line.Add({{0, 0}, {10, 100}});
  line.series->Pointer().SetVisible(true);
  TChart& chart = line.rig.chart;
  chart.BottomAxis().SetAutomatic(true);
  chart.LeftAxis().SetAutomatic(true);
  AxisRig::Refresh(chart.BottomAxis());
  AxisRig::Refresh(chart.LeftAxis());
  chart.FitSeriesMargins();
  EXPECT_EQ(line.series->PointXPixel(0), 15);
  EXPECT_EQ(line.series->PointXPixel(1), 505);
  EXPECT_EQ(line.series->PointYPixel(0), 265);
  EXPECT_EQ(line.series->PointYPixel(1), 25);
}

TEST(LineSeriesLegend, VisiblePointerGivesALineAndAPointerShrunkToAThird) {
  LineRig line(false);
  line.series->Pointer().SetVisible(true);
  line.series->Pointer().SetHorizSize(6);
  line.series->Pointer().SetVertSize(6);
  line.rig.surface.Clear();
  line.series->DrawLegendSymbol(-1, {0, 0, 30, 12});
  EXPECT_EQ(SegmentsOf(line.Of("LineTo")), (std::vector<std::pair<TPoint, TPoint>>{{{0, 6}, {30, 6}}}));
  EXPECT_EQ(canvas_test::FieldOf(line.Of("LineTo").at(0), "pen"), "#FF0000/1/solid/copy");
  // Half sizes 6 (a third of 30 is 10) and 4 (a third of 12) around (15, 6).
  EXPECT_EQ(canvas_test::RectOf(line.Of("Rectangle").at(0)), (TRect{9, 2, 22, 11}));

  // Without the line pen the pointer may take half the box (+1): 6 and 6 then 7.
  line.series->LinePen().SetVisible(false);
  line.rig.surface.Clear();
  line.series->DrawLegendSymbol(-1, {0, 0, 30, 12});
  EXPECT_EQ(canvas_test::RectOf(line.Of("Rectangle").at(0)), (TRect{9, 0, 22, 13}));
}

TEST(LineSeriesLegend, HiddenPointerGivesALineIn2DAndAFilledBoxIn3D) {
  LineRig line(false);
  line.rig.surface.Clear();
  line.series->DrawLegendSymbol(-1, {0, 0, 30, 12});
  EXPECT_EQ(SegmentsOf(line.Of("LineTo")), (std::vector<std::pair<TPoint, TPoint>>{{{0, 6}, {30, 6}}}));
  EXPECT_TRUE(line.Of("Rectangle").empty());

  line.rig.chart.SetView3D(true);
  line.series->SetLineBrush(bsCross);
  line.rig.surface.Clear();
  line.series->DrawLegendSymbol(-1, {0, 0, 30, 12});
  ASSERT_EQ(line.Of("Rectangle").size(), 1u);
  EXPECT_EQ(canvas_test::RectOf(line.Of("Rectangle").at(0)), (TRect{0, 0, 30, 12}));
  EXPECT_EQ(Brush(line.Of("Rectangle").at(0)), "#FF0000/cross");
  // In 3D the pen keeps the line pen's own colour.
  EXPECT_EQ(canvas_test::FieldOf(line.Of("Rectangle").at(0), "pen"), "#000000/1/solid/copy");

  TColor back = clWhite;
  TBrushStyle style = bsSolid;
  line.series->PrepareLegendSymbol(-1, back, style);
  EXPECT_EQ(style, bsCross);
  EXPECT_EQ(back, clWhite);
}

}  // namespace tarvela::test
