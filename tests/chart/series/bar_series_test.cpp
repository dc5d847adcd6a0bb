// Bar series: sizes, places, stacks, shapes, marks, margins, hit test and settings,
// through a recording surface with exact coordinates.
//
// The plot is 500 x 250 pixels at (10, 20). Unless a test lays other ranges, X 0..10
// maps to pixels 10..510 (50 a unit) and Y 0..100 to 270..20 (2.5 a unit). Most bars
// are 20 pixels wide (CustomBarWidth), so a lone bar at X 2 spans pixels 100..120.
// In 3D the canvas projects P(x, y, z) = (x + z, y - z) and one slab is 0..5 deep.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "axis_test_rig.h"
#include "paint_test_support.h"
#include "chart/chart_registration.h"
#include "chart/series/bar_series.h"
#include "runtime/exceptions.h"
#include "runtime/form_reader.h"

namespace tarvela::test {
namespace {

struct BarRig {
  AxisRig rig;

  explicit BarRig(const TRect& plot = {10, 20, 510, 270}) : rig(plot) { rig.chart.SetView3D(false); }

  template <class S = TBarSeries>
  S* Add(std::initializer_list<std::pair<double, double>> points, TColor color = clRed) {
    auto* series = new S(&rig.form);
    series->SetParentChart(&rig.chart);
    series->SetSeriesColor(color);
    for (const auto& [x, y] : points) series->AddPointXY(x, y);
    return series;
  }

  void Lay(double xMin, double xMax, double yMin, double yMax) {
    AxisRig::Lay(rig.chart.BottomAxis(), xMin, xMax);
    AxisRig::Lay(rig.chart.LeftAxis(), yMin, yMax);
  }

  void Use3D() {
    rig.chart.SetView3D(true);
    rig.chart.AssignDepthSlots();
    rig.Project3D(10);
    rig.chart.SetSeriesDepths();
  }

  // One drawing pass of a series as the chart's paint runs it.
  void Draw(TChartSeries& series) {
    rig.surface.Clear();
    series.FindVisibleRange();
    series.DoBeforeDrawValues();
    series.DrawAllPoints();
  }

  std::vector<std::string> Of(const std::string& command) const { return rig.Of(command); }
  std::vector<std::string> Commands() const {
    std::vector<std::string> commands;
    for (const std::string& line : rig.surface.Lines()) commands.push_back(canvas_test::CommandOf(line));
    return commands;
  }
};

std::vector<TPoint> Points(const std::string& line) { return canvas_test::PointsOf(line); }
TRect Rect(const std::string& line) { return canvas_test::RectOf(line); }

template <class F>
std::string BarMessage(F&& action) {
  try {
    action();
  } catch (const BarException& e) {
    return e.what();
  }
  return "no BarException";
}

}  // namespace

// [SECTION] Size and place

TEST(BarSeriesSize, TwoSeriesSideBySideOnA400PixelAxis) {
  BarRig bars({10, 20, 410, 270});
  TBarSeries* first = bars.Add({{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}});
  TBarSeries* second = bars.Add({{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}});
  bars.Lay(0, 10, 0, 100);
  first->ComputeBarSize();
  // N = 5 + 1 side margin, S = 400 div 6 = 66, Round(0.7 x 66) div 2 = 23, raised to 24.
  EXPECT_EQ(first->BarSize(), 24);
  EXPECT_EQ(first->NumBars(), 2);
  EXPECT_EQ(first->SidePlace(), 1);
  EXPECT_EQ(second->SidePlace(), 2);
  // X 2 is pixel 90: the first bar ends there, the second starts there.
  second->ComputeBarSize();
  EXPECT_EQ(first->CategoryPixel(1), 66);
  EXPECT_EQ(second->CategoryPixel(1), 90);
  // Each end of the axis has room for the whole group; half of it without side margins.
  int left = 0;
  int right = 0;
  first->HorizMargins(left, right);
  EXPECT_EQ(left, 48);
  EXPECT_EQ(right, 48);
  first->SetSideMargins(false);
  EXPECT_FALSE(second->SideMargins());
  first->HorizMargins(left, right);
  // N = 5 now: S = 80, Round(56) div 2 = 28.
  EXPECT_EQ(first->BarSize(), 28);
  EXPECT_EQ(left, 28);
}

TEST(BarSeriesSize, CustomWidthAutoSizePagingAndNoMembers) {
  BarRig bars;
  TBarSeries* series = bars.Add({{1, 1}, {2, 2}, {3, 3}});
  bars.Lay(0, 10, 0, 100);
  series->SetCustomBarWidth(13);
  series->ComputeBarSize();
  EXPECT_EQ(series->BarSize(), 13);
  series->SetCustomBarWidth(0);

  // One slot per unit of the range plus two: Round(500 / 12) = 42, Round(29.4) = 29 -> 30.
  series->SetAutoBarSize(true);
  series->ComputeBarSize();
  EXPECT_EQ(series->BarSize(), 30);
  series->SetAutoBarSize(false);

  // Paging counts the page's points: N = 9 + 1, S = 50, 35 -> 36.
  bars.rig.chart.SetMaxPointsPerPage(9);
  series->ComputeBarSize();
  EXPECT_EQ(series->BarSize(), 36);
  bars.rig.chart.SetMaxPointsPerPage(0);

  // Switched off it is no member of its own group; it still gets a size of one.
  series->SetActive(false);
  series->ComputeBarSize();
  EXPECT_EQ(series->BarSize(), 88);  // N = 4, S = 125, Round(87.5) = 88
  series->ClearPoints();
  series->ComputeBarSize();
  EXPECT_EQ(series->BarSize(), 0);
}

TEST(BarSeriesSize, OffsetAndGroupingMovesTheBar) {
  BarRig bars;
  TBarSeries* series = bars.Add({{2, 40}});
  bars.Lay(0, 10, 0, 100);
  series->SetCustomBarWidth(20);
  series->ComputeBarSize();
  EXPECT_EQ(series->CategoryPixel(0), 100);
  series->SetOffsetPercent(-50);
  EXPECT_EQ(series->CategoryPixel(0), 90);
  series->SetOffsetPercent(0);
  series->SetMultiBar(mbNone);
  EXPECT_EQ(series->CategoryPixel(0), 100);

  // Horizontal bars of one group go upward in list order.
  auto* lower = bars.Add<THorizBarSeries>({{40, 2}});
  auto* upper = bars.Add<THorizBarSeries>({{30, 2}});
  lower->SetCustomBarWidth(20);
  upper->SetCustomBarWidth(20);
  lower->ComputeBarSize();
  upper->ComputeBarSize();
  // Y 2 is pixel 265.
  EXPECT_EQ(lower->CategoryPixel(0), 265);
  EXPECT_EQ(upper->CategoryPixel(0), 245);
  EXPECT_EQ(series->NumBars(), 1);  // a vertical series is no member of their group
}

// [SECTION] Stacks

TEST(BarSeriesStack, StackedOnThePositiveValuesOfEarlierSeriesOnly) {
  BarRig bars;
  TBarSeries* first = bars.Add({{1, -20}, {2, 30}});
  TBarSeries* second = bars.Add({{1, 10}, {2, 10}});
  first->SetMultiBar(mbStacked);
  EXPECT_EQ(second->MultiBar(), mbStacked);
  bars.Lay(0, 10, 0, 100);

  // The negative bar hangs from 0; the bar above it stands on 0, not on -20.
  EXPECT_EQ(first->BaselinePos(0), 270);
  EXPECT_EQ(first->ValuePixel(0), 320);
  EXPECT_EQ(second->BaselinePos(0), 270);
  EXPECT_EQ(second->ValuePixel(0), 245);
  // At X 2 the second bar runs 30..40.
  EXPECT_EQ(second->BaselinePos(1), 195);
  EXPECT_EQ(second->ValuePixel(1), 170);
  EXPECT_DOUBLE_EQ(second->HighestY(), 40);
  EXPECT_DOUBLE_EQ(first->LowestY(), -20);
  // Stacked bars share one place and one width.
  first->SetCustomBarWidth(20);
  first->ComputeBarSize();
  EXPECT_EQ(first->CategoryPixel(1), 100);
}

TEST(BarSeriesStack, HundredPercentWithAllZerosLiesAtZero) {
  BarRig bars;
  TBarSeries* first = bars.Add({{1, 0}, {2, 30}});
  TBarSeries* second = bars.Add({{1, 0}, {2, 10}});
  second->SetMultiBar(mbStacked100);
  EXPECT_EQ(first->MultiBar(), mbStacked100);
  bars.Lay(0, 10, 0, 100);
  // No total at X 1: top and baseline both at 0 %, no division by zero.
  EXPECT_EQ(first->ValuePixel(0), 270);
  EXPECT_EQ(first->BaselinePos(0), 270);
  EXPECT_EQ(second->ValuePixel(0), 270);
  EXPECT_EQ(second->BaselinePos(0), 270);
  // 30 of 40 is 75 %, pixel 82.5 rounded to even; the second bar fills 75..100 %.
  EXPECT_EQ(first->ValuePixel(1), 82);
  EXPECT_EQ(second->BaselinePos(1), 82);
  EXPECT_EQ(second->ValuePixel(1), 20);
  EXPECT_DOUBLE_EQ(first->HighestY(), 100);
  EXPECT_DOUBLE_EQ(first->LowestY(), 0);

  // Drawn, the empty bar is the line of its fill colour at the zero pixel.
  bars.Draw(*first);
  const std::vector<std::string> lines = bars.Of("LineTo");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(Points(lines[0]).at(0).y, 270);
  EXPECT_EQ(Points(lines[0]).at(1).y, 270);
}

TEST(BarSeriesStack, ValueRangeKeepsTheOriginInView) {
  BarRig bars;
  TBarSeries* series = bars.Add({{1, 20}, {2, 30}});
  EXPECT_DOUBLE_EQ(series->LowestY(), 0);
  series->SetYOrigin(50);
  EXPECT_DOUBLE_EQ(series->HighestY(), 50);
  EXPECT_DOUBLE_EQ(series->LowestY(), 20);
  series->SetUseYOrigin(false);
  EXPECT_DOUBLE_EQ(series->HighestY(), 30);
  bars.Lay(0, 10, 0, 100);
  // Without the origin the bars stand on the axis' lower end.
  EXPECT_EQ(series->BaselinePos(0), bars.rig.chart.LeftAxis().EndPixel());
}

// [SECTION] Drawing in 2D

TEST(BarSeriesDraw2D, RectangleFromValueToBaselineInItsColour) {
  BarRig bars;
  TBarSeries* series = bars.Add({{2, 40}, {4, 0}, {6, -20}});
  series->SetCustomBarWidth(20);
  bars.Lay(0, 10, 0, 100);
  bars.Draw(*series);
  // The bar at the baseline is a line of the brush colour (its outline is empty).
  EXPECT_EQ(bars.Commands(), (std::vector<std::string>{"Rectangle", "LineTo", "Rectangle"}));
  const std::vector<std::string> rects = bars.Of("Rectangle");
  ASSERT_EQ(rects.size(), 2u);
  EXPECT_EQ(Rect(rects[0]), (TRect{100, 170, 120, 270}));
  EXPECT_EQ(canvas_test::FieldOf(rects[0], "brush"), "#FF0000/solid");
  EXPECT_EQ(canvas_test::FieldOf(rects[0], "pen"), "#000000/1/solid/copy");
  const std::vector<std::string> lines = bars.Of("LineTo");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(Points(lines[0]), (std::vector<TPoint>{{200, 270}, {220, 270}}));
  EXPECT_EQ(canvas_test::FieldOf(lines[0], "pen"), "#FF0000/1/solid/copy");
  // The bar below the baseline, from the baseline down.
  EXPECT_EQ(Rect(rects[1]), (TRect{300, 270, 320, 320}));
  // A bar thinner than its outline is drawn as the outline in the fill's colour.
  series->BarPen().SetWidth(30);
  bars.Draw(*series);
  const std::string thin = bars.Of("Rectangle").at(0);
  EXPECT_EQ(canvas_test::FieldOf(thin, "brush").substr(8), "clear");
  EXPECT_EQ(canvas_test::FieldOf(thin, "pen").substr(0, 7), "#FF0000");
}

TEST(BarSeriesDraw2D, NullPointsAreNotDrawnAndPointColoursAre) {
  BarRig bars;
  TBarSeries* series = bars.Add({{2, 40}});
  series->AddPointXY(4, 50, "", clNone);
  series->AddPointXY(6, 60, "", clBlue);
  series->SetCustomBarWidth(20);
  bars.Lay(0, 10, 0, 100);
  bars.Draw(*series);
  const std::vector<std::string> rects = bars.Of("Rectangle");
  ASSERT_EQ(rects.size(), 2u);
  EXPECT_EQ(canvas_test::FieldOf(rects[1], "brush"), "#0000FF/solid");
}

TEST(BarSeriesDraw2D, EachShapeAsItsFlatPrimitive) {
  BarRig bars;
  TBarSeries* series = bars.Add({{2, 40}});
  series->SetCustomBarWidth(20);
  bars.Lay(0, 10, 0, 100);

  series->SetBarStyle(bsPyramid);
  bars.Draw(*series);
  ASSERT_EQ(bars.Of("Polygon").size(), 1u);
  EXPECT_EQ(Points(bars.Of("Polygon")[0]), (std::vector<TPoint>{{100, 270}, {110, 170}, {120, 270}}));

  series->SetBarStyle(bsInvPyramid);
  bars.Draw(*series);
  EXPECT_EQ(Points(bars.Of("Polygon").at(0)), (std::vector<TPoint>{{100, 170}, {110, 270}, {120, 170}}));

  series->SetBarStyle(bsCilinder);
  bars.Draw(*series);
  EXPECT_EQ(bars.Commands(), (std::vector<std::string>{"Rectangle"}));

  series->SetBarStyle(bsEllipse);
  bars.Draw(*series);
  ASSERT_EQ(bars.Of("Ellipse").size(), 1u);
  EXPECT_EQ(Rect(bars.Of("Ellipse")[0]), (TRect{100, 170, 120, 270}));

  // A filled arrow from the baseline up, its head as wide as the bar.
  series->SetBarStyle(bsArrow);
  bars.Draw(*series);
  ASSERT_EQ(bars.Of("Polygon").size(), 1u);
  const std::vector<TPoint> arrow = Points(bars.Of("Polygon")[0]);
  ASSERT_EQ(arrow.size(), 7u);
  EXPECT_EQ(arrow[4], (TPoint{110, 170}));
  EXPECT_EQ(arrow[3], (TPoint{100, 180}));
  EXPECT_EQ(arrow[5], (TPoint{120, 180}));

  // A gradient from white at the top, then the outline with a clear brush.
  series->SetBarStyle(bsRectGradient);
  bars.Draw(*series);
  const std::vector<std::string> commands = bars.Commands();
  ASSERT_FALSE(commands.empty());
  EXPECT_EQ(commands.back(), "Rectangle");
  EXPECT_EQ(canvas_test::FieldOf(bars.Of("Rectangle")[0], "brush").substr(8), "clear");
  EXPECT_EQ(static_cast<int>(commands.size()) - 1, 100);  // one band per pixel row
  series->BarPen().SetVisible(false);
  bars.Draw(*series);
  EXPECT_TRUE(bars.Of("Rectangle").empty());
}

TEST(BarSeriesDraw2D, OnGetBarStyleChoosesTheShapeOfEachPoint) {
  BarRig bars;
  TBarSeries* series = bars.Add({{2, 40}, {4, 40}});
  series->SetCustomBarWidth(20);
  series->OnGetBarStyle = [](TChartSeries*, int index, TBarStyle& style) {
    if (index == 1) style = bsEllipse;
  };
  bars.Lay(0, 10, 0, 100);
  bars.Draw(*series);
  EXPECT_EQ(bars.Commands(), (std::vector<std::string>{"Rectangle", "Ellipse"}));
}

TEST(BarSeriesDraw2D, HorizontalBarsRunFromTheBaselineAlongX) {
  BarRig bars;
  auto* series = bars.Add<THorizBarSeries>({{4, 2}, {-2, 6}});
  series->SetCustomBarWidth(20);
  bars.Lay(-10, 10, 0, 10);  // X: 25 pixels a unit, 0 at 260; Y 2 at 220, 6 at 120
  bars.Draw(*series);
  const std::vector<std::string> rects = bars.Of("Rectangle");
  ASSERT_EQ(rects.size(), 2u);
  EXPECT_EQ(Rect(rects[0]), (TRect{260, 210, 360, 230}));
  EXPECT_EQ(Rect(rects[1]), (TRect{210, 110, 260, 130}));

  series->SetBarStyle(bsPyramid);
  bars.Draw(*series);
  EXPECT_EQ(Points(bars.Of("Polygon").at(0)), (std::vector<TPoint>{{260, 210}, {360, 220}, {260, 230}}));
  series->SetBarStyle(bsArrow);
  bars.Draw(*series);
  const std::vector<TPoint> arrow = Points(bars.Of("Polygon").at(0));
  ASSERT_EQ(arrow.size(), 7u);
  EXPECT_EQ(arrow[4], (TPoint{360, 220}));
}

// [SECTION] Drawing in 3D

TEST(BarSeriesDraw3D, BoxWithDarkenedSideAndTop) {
  BarRig bars;
  TBarSeries* series = bars.Add({{2, 40}});
  series->SetCustomBarWidth(20);
  bars.Lay(0, 10, 0, 100);
  bars.Use3D();
  bars.Draw(*series);
  const std::vector<std::string> faces = bars.Of("Polygon");
  ASSERT_EQ(faces.size(), 3u);
  EXPECT_EQ(Points(faces[0]), (std::vector<TPoint>{{100, 170}, {120, 170}, {120, 270}, {100, 270}}));
  EXPECT_EQ(canvas_test::FieldOf(faces[0], "brush"), "#FF0000/solid");
  EXPECT_EQ(Points(faces[1]), (std::vector<TPoint>{{120, 170}, {125, 165}, {125, 265}, {120, 270}}));
  EXPECT_EQ(canvas_test::FieldOf(faces[1], "brush"), "#7F0000/solid");
  EXPECT_EQ(canvas_test::FieldOf(faces[2], "brush"), "#BF0000/solid");
  series->SetDark3D(false);
  bars.Draw(*series);
  EXPECT_EQ(canvas_test::FieldOf(bars.Of("Polygon").at(1), "brush"), "#FF0000/solid");
}

TEST(BarSeriesDraw3D, EachShapeThroughItsSolid) {
  BarRig bars;
  TBarSeries* series = bars.Add({{2, 40}});
  series->SetCustomBarWidth(20);
  bars.Lay(0, 10, 0, 100);
  bars.Use3D();

  // The pyramid's apex at the middle of the slab, over the bar's top.
  series->SetBarStyle(bsPyramid);
  bars.Draw(*series);
  ASSERT_FALSE(bars.Of("Polygon").empty());
  EXPECT_EQ(Points(bars.Of("Polygon")[0]), (std::vector<TPoint>{{100, 270}, {112, 168}, {120, 270}}));

  series->SetBarStyle(bsInvPyramid);
  bars.Draw(*series);
  ASSERT_FALSE(bars.Of("Polygon").empty());
  EXPECT_EQ(Points(bars.Of("Polygon")[0]), (std::vector<TPoint>{{100, 170}, {112, 268}, {120, 170}}));

  series->SetBarStyle(bsCilinder);
  bars.Draw(*series);
  EXPECT_FALSE(bars.Of("Polygon").empty());
  EXPECT_TRUE(bars.Of("Rectangle").empty());

  // The flat ellipse at the middle depth; seen straight on, the platform's ellipse in
  // the projected box.
  series->SetBarStyle(bsEllipse);
  bars.Draw(*series);
  ASSERT_EQ(bars.Of("Ellipse").size(), 1u);
  EXPECT_EQ(Rect(bars.Of("Ellipse")[0]), (TRect{102, 168, 122, 268}));

  series->SetBarStyle(bsArrow);
  bars.Draw(*series);
  ASSERT_EQ(bars.Of("Polygon").size(), 1u);
  EXPECT_EQ(Points(bars.Of("Polygon")[0]).at(4), (TPoint{112, 168}));

  // The box, then the gradient inside the outline of its front face.
  series->SetBarStyle(bsRectGradient);
  bars.Draw(*series);
  const std::vector<std::string> commands = bars.Commands();
  ASSERT_GE(commands.size(), 4u);
  EXPECT_EQ((std::vector<std::string>(commands.begin(), commands.begin() + 3)),
            (std::vector<std::string>{"Polygon", "Polygon", "Polygon"}));
  EXPECT_EQ(commands.size(), 3u + 99u);  // 99 rows inside a one-pixel outline
}

TEST(BarSeriesDraw3D, GroupedSeriesShareOneDepthSlot) {
  BarRig bars;
  TBarSeries* first = bars.Add({{2, 40}});
  TBarSeries* second = bars.Add({{2, 40}});
  auto* horizontal = bars.Add<THorizBarSeries>({{40, 2}});
  bars.rig.chart.SetView3D(true);
  bars.rig.chart.AssignDepthSlots();
  EXPECT_EQ(first->DepthSlot(), second->DepthSlot());
  EXPECT_NE(first->DepthSlot(), horizontal->DepthSlot());
  EXPECT_EQ(bars.rig.chart.MaxDepthSlot(), 1);

  first->SetMultiBar(mbNone);
  bars.rig.chart.AssignDepthSlots();
  EXPECT_NE(first->DepthSlot(), second->DepthSlot());
  EXPECT_EQ(bars.rig.chart.MaxDepthSlot(), 2);
}

TEST(BarSeriesDraw3D, DrawingOrderFollowsInvertedAxes) {
  BarRig bars;
  TBarSeries* series = bars.Add({{2, 40}, {4, 40}});
  series->SetCustomBarWidth(20);
  bars.Lay(0, 10, 0, 100);
  EXPECT_TRUE(series->PointsForward());
  bars.rig.chart.BottomAxis().SetInverted(true);
  bars.Lay(0, 10, 0, 100);
  EXPECT_FALSE(series->PointsForward());
  bars.Draw(*series);
  // X 4 (pixel 310 from the right) first.
  EXPECT_EQ(Rect(bars.Of("Rectangle").at(0)).left, 300);

  EXPECT_TRUE(series->SeriesForward(0));
  bars.rig.chart.LeftAxis().SetInverted(true);
  EXPECT_TRUE(series->SeriesForward(0));
  series->SetMultiBar(mbStacked);
  EXPECT_FALSE(series->SeriesForward(0));
}

TEST(BarSeriesDraw3D, StackedSeriesOfOneSlabAreDrawnPointByPointFromTheBaseUp) {
  RegisterChartClasses();
  std::unique_ptr<TComponent> root = ReadRootComponent(R"(object Chart1: TChart
  Width = 400
  Height = 300
  Legend.Visible = False
  object Lower: TBarSeries
    SeriesColor = clRed
    MultiBar = mbStacked
    Marks.Visible = False
  end
  object Upper: TBarSeries
    SeriesColor = clBlue
    MultiBar = mbStacked
    Marks.Visible = False
  end
end
)");
  auto& chart = dynamic_cast<TChart&>(*root);
  chart.SeriesAt(0)->AddPointXY(1, 10);
  chart.SeriesAt(0)->AddPointXY(2, 20);
  chart.SeriesAt(1)->AddPointXY(1, 5);
  chart.SeriesAt(1)->AddPointXY(2, 5);
  chart.Canvas().SetBuffered(false);
  paint_test::Recorder record;
  // The front faces in the order drawn, as the series colours of their fills.
  const auto frontFaces = [&] {
    std::string order;
    for (const std::string& line : record(chart).Of("Polygon")) {
      const std::string brush = canvas_test::FieldOf(line, "brush");
      if (brush == "#FF0000/solid") order += 'L';
      if (brush == "#0000FF/solid") order += 'U';
    }
    return order;
  };
  EXPECT_EQ(frontFaces(), "LULU");
  // Hanging from an inverted axis, the upper bars come first.
  chart.LeftAxis().SetInverted(true);
  EXPECT_EQ(frontFaces(), "ULUL");
  // On an inverted category axis the points run from the last, which now lies on the
  // left: the drawing still goes left to right on the screen.
  chart.LeftAxis().SetInverted(false);
  chart.BottomAxis().SetInverted(true);
  EXPECT_EQ(frontFaces(), "LULU");
  std::vector<int> lefts;
  for (const std::string& line : record(chart).Of("Polygon"))
    if (canvas_test::FieldOf(line, "brush") == "#FF0000/solid") lefts.push_back(Points(line).at(0).x);
  ASSERT_EQ(lefts.size(), 2u);
  EXPECT_LT(lefts[0], lefts[1]);
  EXPECT_EQ(chart.SeriesAt(0)->PointXPixel(1), lefts[0]);
  EXPECT_FALSE(chart.SeriesAt(0)->PointsForward());
  EXPECT_EQ(chart.SeriesAt(0)->DepthSlot(), chart.SeriesAt(1)->DepthSlot());
}

// [SECTION] Marks and margins

TEST(BarSeriesMarks, AboveAPositiveBarAndBelowANegativeOne) {
  BarRig bars;
  TBarSeries* series = bars.Add({{2, 40}, {6, -20}});
  series->SetCustomBarWidth(20);
  series->Marks().SetStyle(smsValue);
  bars.Lay(0, 10, -100, 100);  // Y 0 at 145, 40 at 95, -20 at 170
  bars.Draw(*series);
  series->DrawAllMarks();
  const TSeriesMarkPosition* up = series->Marks().PositionList().Position(0);
  const TSeriesMarkPosition* down = series->Marks().PositionList().Position(1);
  ASSERT_NE(up, nullptr);
  ASSERT_NE(down, nullptr);
  // Centred over the bar; ArrowLength 20 between the bar's end and the box.
  EXPECT_EQ(up->ArrowStart, (TPoint{110, 95}));
  EXPECT_EQ(up->ArrowEnd, (TPoint{110, 75}));
  EXPECT_EQ(up->TopLeft.y + up->BoxHeight - 1, 75);
  EXPECT_EQ(up->TopLeft.x + up->BoxWidth / 2, 110);
  EXPECT_EQ(down->ArrowStart, (TPoint{310, 170}));
  EXPECT_EQ(down->TopLeft.y, 191);
  EXPECT_EQ(down->ArrowEnd, (TPoint{310, 170 + 20 + down->BoxHeight}));
}

TEST(BarSeriesMarks, HorizontalBarsMarkRightOrLeftOfTheirEnd) {
  BarRig bars;
  auto* series = bars.Add<THorizBarSeries>({{4, 2}, {-2, 6}});
  series->SetCustomBarWidth(20);
  series->Marks().SetStyle(smsValue);
  bars.Lay(-10, 10, 0, 10);
  bars.Draw(*series);
  series->DrawAllMarks();
  const TSeriesMarkPosition* right = series->Marks().PositionList().Position(0);
  const TSeriesMarkPosition* left = series->Marks().PositionList().Position(1);
  ASSERT_NE(right, nullptr);
  ASSERT_NE(left, nullptr);
  EXPECT_EQ(right->ArrowStart, (TPoint{360, 220}));
  EXPECT_EQ(right->ArrowEnd, (TPoint{380, 220}));
  EXPECT_EQ(right->TopLeft.x, 380);
  EXPECT_EQ(left->ArrowStart, (TPoint{210, 120}));
  EXPECT_EQ(left->TopLeft.x + left->BoxWidth, 190);
}

TEST(BarSeriesMarks, ValueAxisLeavesRoomForTheMarksAtTheBarsEnds) {
  BarRig bars;
  TBarSeries* series = bars.Add({{2, 40}});
  bars.Lay(0, 10, 0, 100);
  int top = 0;
  int bottom = 0;
  series->VertMargins(top, bottom);
  // A 13-pixel line, ArrowLength 20, the frame's pixel twice, and one more.
  EXPECT_EQ(top, 13 + 20 + 2 + 1);
  EXPECT_EQ(bottom, 0);
  series->AddPointXY(4, -5);
  series->VertMargins(top, bottom);
  EXPECT_EQ(bottom, 36);
  bars.rig.chart.LeftAxis().SetInverted(true);
  series->DeletePoint(1);
  series->VertMargins(top, bottom);
  EXPECT_EQ(top, 0);
  EXPECT_EQ(bottom, 36);
  series->Marks().SetVisible(false);
  series->VertMargins(top, bottom);
  EXPECT_EQ(bottom, 0);
}

TEST(BarSeriesAxes, HorizontalBarsTakeTheirValuesAlongTheBottomAxis) {
  BarRig bars;
  auto* series = bars.Add<THorizBarSeries>({{40, 1}, {-10, 2}, {25, 3}});
  EXPECT_EQ(&series->MandatoryList(), &series->XValues());
  EXPECT_EQ(series->XValues().Name(), "Bar");
  EXPECT_EQ(series->XValues().Order(), loNone);
  EXPECT_DOUBLE_EQ(series->HighestX(), 40);
  EXPECT_DOUBLE_EQ(series->LowestX(), -10);
  EXPECT_DOUBLE_EQ(series->LowestY(), 1);
  EXPECT_DOUBLE_EQ(series->HighestY(), 3);
  // The automatic axes: values along the bottom, places up the left.
  AxisRig::Refresh(bars.rig.chart.BottomAxis());
  AxisRig::Refresh(bars.rig.chart.LeftAxis());
  EXPECT_DOUBLE_EQ(bars.rig.chart.BottomAxis().Minimum(), -10);
  EXPECT_DOUBLE_EQ(bars.rig.chart.BottomAxis().Maximum(), 40);
  EXPECT_DOUBLE_EQ(bars.rig.chart.LeftAxis().Minimum(), 1);
  EXPECT_DOUBLE_EQ(bars.rig.chart.LeftAxis().Maximum(), 3);
  // The category room goes to the vertical axis: N = 4, 250 div 4 = 62, Round(43.4) -> 44.
  int top = 0;
  int bottom = 0;
  series->VertMargins(top, bottom);
  EXPECT_EQ(series->BarSize(), 44);
  EXPECT_EQ(top, 44);
  EXPECT_EQ(bottom, 44);
  // The widest mark text along the value axis, both ends as the bars point both ways.
  int left = 0;
  int right = 0;
  series->Marks().SetStyle(smsValue);
  series->HorizMargins(left, right);
  EXPECT_EQ(left, right);
  EXPECT_EQ(left, 3 * 6 + 20 + 2 + 1);  // "-10" at 6 pixels a character
}

// [SECTION] Hit test

TEST(BarSeriesHitTest, BarsAreFoundByTheirShape) {
  BarRig bars;
  TBarSeries* series = bars.Add({{2, 40}, {6, 80}});
  series->SetCustomBarWidth(20);
  bars.Lay(0, 10, 0, 100);
  bars.Draw(*series);
  // Both edges of a rectangle count.
  EXPECT_EQ(series->HitTest(100, 170), 0);
  EXPECT_EQ(series->HitTest(120, 270), 0);
  EXPECT_EQ(series->HitTest(121, 200), -1);
  EXPECT_EQ(series->HitTest(110, 169), -1);
  EXPECT_EQ(series->HitTest(310, 100), 1);

  series->SetBarStyle(bsPyramid);
  EXPECT_EQ(series->HitTest(110, 175), 0);
  EXPECT_EQ(series->HitTest(101, 180), -1);
  series->SetBarStyle(bsInvPyramid);
  EXPECT_EQ(series->HitTest(101, 180), 0);
  EXPECT_EQ(series->HitTest(110, 175), 0);
  EXPECT_EQ(series->HitTest(102, 262), -1);
  series->SetBarStyle(bsEllipse);
  EXPECT_EQ(series->HitTest(110, 175), 0);
  EXPECT_EQ(series->HitTest(101, 175), -1);

  // The point's own shape is not asked.
  series->SetBarStyle(bsRectangle);
  series->OnGetBarStyle = [](TChartSeries*, int, TBarStyle& style) { style = bsPyramid; };
  EXPECT_EQ(series->HitTest(101, 180), 0);
}

TEST(BarSeriesHitTest, HorizontalBarsWithTheAxesExchanged) {
  BarRig bars;
  auto* series = bars.Add<THorizBarSeries>({{4, 2}});
  series->SetCustomBarWidth(20);
  bars.Lay(-10, 10, 0, 10);
  bars.Draw(*series);
  EXPECT_EQ(series->HitTest(260, 210), 0);
  EXPECT_EQ(series->HitTest(360, 230), 0);
  EXPECT_EQ(series->HitTest(361, 220), -1);
  EXPECT_EQ(series->HitTest(300, 209), -1);
  series->SetBarStyle(bsPyramid);  // apex at (360, 220)
  EXPECT_EQ(series->HitTest(355, 220), 0);
  EXPECT_EQ(series->HitTest(355, 212), -1);
}

// [SECTION] Settings

TEST(BarSeriesSettings, DefaultsOfANewSeries) {
  TComponent form(nullptr);
  auto* series = new TBarSeries(&form);
  EXPECT_TRUE(series->Marks().Visible());
  EXPECT_EQ(series->Marks().ArrowLength(), 20);
  EXPECT_EQ(series->YValues().Name(), "Bar");
  EXPECT_EQ(series->YValues().Order(), loNone);
  EXPECT_EQ(series->XValues().Order(), loAscending);
  EXPECT_EQ(series->BarWidthPercent(), 70);
  EXPECT_EQ(series->MultiBar(), mbSide);
  EXPECT_EQ(series->BarStyle(), bsRectangle);
  EXPECT_TRUE(series->UseYOrigin());
  EXPECT_TRUE(series->SideMargins());
  EXPECT_TRUE(series->AutoMarkPosition());
  EXPECT_EQ(series->BarBrush().Color(), clDefault);
}

TEST(BarSeriesSettings, RangeChecksKeepTheOldValue) {
  TComponent form(nullptr);
  auto* series = new TBarSeries(&form);
  auto* horizontal = new THorizBarSeries(&form);
  EXPECT_EQ(BarMessage([&] { series->SetBarWidthPercent(0); }), "Bar Width Percent must be between 1 and 100");
  EXPECT_EQ(BarMessage([&] { series->SetBarWidthPercent(101); }), "Bar Width Percent must be between 1 and 100");
  EXPECT_EQ(series->BarWidthPercent(), 70);
  series->SetBarWidthPercent(100);
  EXPECT_EQ(series->BarWidthPercent(), 100);
  EXPECT_EQ(BarMessage([&] { series->SetOffsetPercent(-101); }),
            "Bar Offset Percent must be between -100% and 100%");
  EXPECT_EQ(BarMessage([&] { series->SetOffsetPercent(101); }), "Bar Offset Percent must be between -100% and 100%");
  series->SetOffsetPercent(-100);
  EXPECT_EQ(series->OffsetPercent(), -100);
  EXPECT_EQ(BarMessage([&] { horizontal->FillSampleValues(0); }), "FillSampleValues NumValues must be > 0");
  horizontal->FillSampleValues(4);
  EXPECT_EQ(horizontal->PointCount(), 4);
  EXPECT_EQ(horizontal->YValueAt(3), 3);
}

TEST(BarSeriesSettings, GroupSettingsReachEverySeriesOfTheClass) {
  BarRig bars;
  TBarSeries* first = bars.Add({});
  TBarSeries* second = bars.Add({});
  auto* horizontal = bars.Add<THorizBarSeries>({});
  second->SetActive(false);
  test::RepaintCounter repaints(bars.rig.chart);
  first->SetMultiBar(mbStacked);
  EXPECT_EQ(second->MultiBar(), mbStacked);
  EXPECT_EQ(horizontal->MultiBar(), mbSide);
  EXPECT_GT(repaints.count, 0);
  first->SetSideMargins(false);
  EXPECT_FALSE(second->SideMargins());
  EXPECT_TRUE(horizontal->SideMargins());
  EXPECT_FALSE(first->SameClass(*horizontal));
  EXPECT_TRUE(first->SameClass(*second));
}

TEST(BarSeriesSettings, AssignCopiesTheBarSettings) {
  TComponent form(nullptr);
  auto* source = new TBarSeries(&form);
  auto* target = new TBarSeries(&form);
  source->SetBarStyle(bsArrow);
  source->SetBarWidthPercent(40);
  source->SetOffsetPercent(10);
  source->SetYOrigin(3);
  source->SetUseYOrigin(false);
  source->SetCustomBarWidth(7);
  source->SetAutoMarkPosition(false);
  source->BarPen().SetWidth(3);
  source->BarBrush().SetStyle(bsCross);
  source->SetTitle("copied");
  target->Assign(*source);
  EXPECT_EQ(target->BarStyle(), bsArrow);
  EXPECT_EQ(target->BarWidthPercent(), 40);
  EXPECT_EQ(target->OffsetPercent(), 10);
  EXPECT_DOUBLE_EQ(target->YOrigin(), 3);
  EXPECT_FALSE(target->UseYOrigin());
  EXPECT_EQ(target->CustomBarWidth(), 7);
  EXPECT_FALSE(target->AutoMarkPosition());
  EXPECT_EQ(target->BarPen().Width(), 3);
  EXPECT_EQ(target->BarBrush().Style(), bsCross);
  EXPECT_EQ(target->Title(), "copied");
}

TEST(BarSeriesSettings, DescriptionCreatesAndSetsBothClasses) {
  RegisterChartClasses();
  std::unique_ptr<TComponent> chart = ReadRootComponent(R"(object Chart1: TChart
  object Series1: TBarSeries
    BarStyle = bsPyramid
    BarWidthPercent = 50
    MultiBar = mbStacked100
    OffsetPercent = -20
    UseYOrigin = False
    YOrigin = 2.5
    CustomBarWidth = 12
    BarPen.Width = 2
    BarBrush.Style = bsDiagCross
    Dark3D = False
    AutoBarSize = True
  end
  object Series2: THorizBarSeries
    SideMargins = False
    BarStyle = bsRectGradient
  end
end
)");
  auto* bar = dynamic_cast<TBarSeries*>(chart->FindComponent("Series1"));
  auto* horizontal = dynamic_cast<THorizBarSeries*>(chart->FindComponent("Series2"));
  ASSERT_NE(bar, nullptr);
  ASSERT_NE(horizontal, nullptr);
  EXPECT_EQ(bar->BarStyle(), bsPyramid);
  EXPECT_EQ(bar->BarWidthPercent(), 50);
  EXPECT_EQ(bar->MultiBar(), mbStacked100);
  EXPECT_EQ(bar->OffsetPercent(), -20);
  EXPECT_FALSE(bar->UseYOrigin());
  EXPECT_DOUBLE_EQ(bar->YOrigin(), 2.5);
  EXPECT_EQ(bar->CustomBarWidth(), 12);
  EXPECT_EQ(bar->BarPen().Width(), 2);
  EXPECT_EQ(bar->BarBrush().Style(), bsDiagCross);
  EXPECT_FALSE(bar->Dark3D());
  EXPECT_TRUE(bar->AutoBarSize());
  EXPECT_FALSE(horizontal->SideMargins());
  EXPECT_EQ(horizontal->BarStyle(), bsRectGradient);
  // Only the vertical bars publish a fixed width.
  EXPECT_THROW(ReadRootComponent(R"(object Chart1: TChart
  object Series1: THorizBarSeries
    CustomBarWidth = 12
  end
end
)"),
               Exception);
}

TEST(BarSeriesSettings, LegendSymbolInTheBarsPenAndFill) {
  BarRig bars;
  TBarSeries* series = bars.Add({{2, 40}});
  series->BarPen().SetColor(clGreen);
  series->BarBrush().SetStyle(bsCross);
  TColor back = clWhite;
  TBrushStyle style = bsSolid;
  series->PrepareLegendSymbol(-1, back, style);
  EXPECT_EQ(style, bsCross);
  EXPECT_EQ(back, bars.rig.chart.Color());
  EXPECT_EQ(bars.rig.chart.Canvas().Pen().color, clGreen);
  series->BarBrush().SetColor(clYellow);
  series->PrepareLegendSymbol(-1, back, style);
  EXPECT_EQ(back, clYellow);

  bars.rig.surface.Clear();
  series->PaintLegendSymbol(-1, {0, 0, 10, 8});
  const std::vector<std::string> rects = bars.Of("Rectangle");
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_EQ(canvas_test::FieldOf(rects[0], "brush"), "#FF0000/cross");
  EXPECT_EQ(canvas_test::FieldOf(rects[0], "pen").substr(0, 7), "#008000");
}

}  // namespace tarvela::test
