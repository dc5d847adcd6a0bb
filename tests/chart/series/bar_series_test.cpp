// Bar series: sizes, places, stacks, shapes, marks, margins, hit test and settings,
// through a recording surface with exact coordinates.
//
// The plot is 500 x 250 pixels at (10, 20). Unless a test lays other ranges, X 0..10
// maps to pixels 10..510 (50 a unit) and Y 0..100 to 270..20 (2.5 a unit). Most bars
// are 20 pixels wide (CustomBarWidth), so a lone bar at X 2 spans pixels 100..120.
// In 3D the canvas projects P(x, y, z) = (x + z, y - z) and one slab is 0..5 deep.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "axis_test_rig.h"
#include "paint_test_support.h"
#include "tarvela/chart/chart_registration.h"
#include "tarvela/chart/series/bar_series.h"
#include "tarvela/runtime/exceptions.h"
#include "tarvela/runtime/form_reader.h"

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

// [SECTION] Size, place and stacks

TEST(BarSeriesLayout, TwoSeriesSideBySideOnA400PixelAxis) {
  BarRig bars({10, 20, 410, 270});
  TBarSeries* first = bars.Add({{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}});
  TBarSeries* second = bars.Add({{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}});
  bars.Lay(0, 10, 0, 100);
  int left = 0;
  int right = 0;
  first->HorizMargins(left, right);
  // N = 5 + 1 side margin, S = 400 div 6 = 66, Round(0.7 x 66) div 2 = 23, raised to 24;
  // each axis end has room for the whole group.
  EXPECT_EQ(first->BarSize(), 24);
  EXPECT_EQ(left, 48);
  EXPECT_EQ(right, 48);
  // X 2 is pixel 90: the first bar ends there, the second starts there.
  second->ComputeBarSize();
  EXPECT_EQ(first->CategoryPixel(1), 66);
  EXPECT_EQ(second->CategoryPixel(1), 90);
  second->SetOffsetPercent(-50);
  EXPECT_EQ(second->CategoryPixel(1), 78);
  // Without side margins (a group setting): N = 5, S = 80, 28; half the room.
  first->SetSideMargins(false);
  EXPECT_FALSE(second->SideMargins());
  first->HorizMargins(left, right);
  EXPECT_EQ(first->BarSize(), 28);
  EXPECT_EQ(left, 28);
  // A fixed width; one slot per unit of the range plus two (Round(400 / 12) = 33).
  first->SetCustomBarWidth(13);
  first->ComputeBarSize();
  EXPECT_EQ(first->BarSize(), 13);
  first->SetCustomBarWidth(0);
  first->SetAutoBarSize(true);
  first->ComputeBarSize();
  EXPECT_EQ(first->BarSize(), 12);  // Round(23.1) div 2 = 11 -> 12
}

TEST(BarSeriesLayout, ASwitchedOffSeriesAloneIsSizedAsAGroupOfOne) {
  BarRig bars;
  TBarSeries* series = bars.Add({{1, 1}, {2, 2}, {3, 3}});
  bars.Lay(0, 10, 0, 100);
  series->SetActive(false);
  series->ComputeBarSize();
  EXPECT_EQ(series->BarSize(), 88);  // N = 4, S = 125, Round(87.5) = 88
  series->ClearPoints();
  series->ComputeBarSize();
  EXPECT_EQ(series->BarSize(), 0);
}

TEST(BarSeriesLayout, StackedOnThePositiveValuesOfEarlierSeriesOnly) {
  BarRig bars;
  TBarSeries* first = bars.Add({{1, -20}, {2, 30}});
  TBarSeries* second = bars.Add({{1, 10}, {2, 10}});
  first->SetMultiBar(mbStacked);
  EXPECT_EQ(second->MultiBar(), mbStacked);
  bars.Lay(0, 10, 0, 100);
  // The negative bar hangs from 0; the bar above it stands on 0, not on -20.
  EXPECT_EQ(first->ValuePixel(0), 320);
  EXPECT_EQ(second->BaselinePos(0), 270);
  EXPECT_EQ(second->ValuePixel(0), 245);
  // At X 2 the second bar runs 30..40.
  EXPECT_EQ(second->BaselinePos(1), 195);
  EXPECT_EQ(second->ValuePixel(1), 170);
  EXPECT_DOUBLE_EQ(second->HighestY(), 40);
  EXPECT_DOUBLE_EQ(first->LowestY(), -20);
  // Stacked bars share one place: centred on X 2 (pixel 110).
  first->SetCustomBarWidth(20);
  first->ComputeBarSize();
  EXPECT_EQ(first->CategoryPixel(1), 100);
  // The value range keeps YOrigin in view while it is used.
  first->SetMultiBar(mbSide);
  first->SetYOrigin(50);
  EXPECT_DOUBLE_EQ(first->HighestY(), 50);
  first->SetUseYOrigin(false);
  EXPECT_DOUBLE_EQ(first->HighestY(), 30);
  EXPECT_EQ(first->BaselinePos(0), bars.rig.chart.LeftAxis().EndPixel());
}

TEST(BarSeriesLayout, HundredPercentWithAllZerosLiesAtZero) {
  BarRig bars;
  TBarSeries* first = bars.Add({{1, 0}, {2, 30}});
  TBarSeries* second = bars.Add({{1, 0}, {2, 10}});
  second->SetMultiBar(mbStacked100);
  EXPECT_EQ(first->MultiBar(), mbStacked100);
  bars.Lay(0, 10, 0, 100);
  // No total at X 1: top and baseline both at 0 %, no division by zero.
  EXPECT_EQ(second->ValuePixel(0), 270);
  EXPECT_EQ(second->BaselinePos(0), 270);
  // 30 of 40 is 75 %, pixel 82.5 rounded to even; the second bar fills 75..100 %.
  EXPECT_EQ(first->ValuePixel(1), 82);
  EXPECT_EQ(second->BaselinePos(1), 82);
  EXPECT_EQ(second->ValuePixel(1), 20);
  EXPECT_DOUBLE_EQ(first->HighestY(), 100);
  EXPECT_DOUBLE_EQ(first->LowestY(), 0);
  // Drawn, the empty bar is a line of its fill colour at the zero pixel.
  bars.Draw(*first);
  ASSERT_EQ(bars.Of("LineTo").size(), 1u);
  EXPECT_EQ(Points(bars.Of("LineTo")[0]).at(1).y, 270);
}

// A stack of many bar series keeps its sums: they must be those the members add up
// one by one, and follow every change of a value, a multiplier or a member.
TEST(BarSeriesLayout, AStackOfManySeriesFollowsEveryChangeOfItsValues) {
  BarRig bars;
  std::vector<TBarSeries*> stack;
  for (int m = 0; m < 14; ++m) {
    stack.push_back(bars.Add({}));
    // Counts differ, so that a member is missing from some indexes.
    for (int i = 0; i < 3 + m % 4; ++i) stack.back()->AddPointXY(i, ((m * 7 + i * 3) % 11 - 3) * 0.1);
  }
  stack[0]->SetMultiBar(mbStacked);
  auto expectSums = [&](const char* when) {
    SCOPED_TRACE(when);
    for (std::size_t m = 0; m < stack.size(); ++m) {
      for (int i = 0; i < stack[m]->PointCount(); ++i) {
        long double below = 0, total = 0;
        for (std::size_t k = 0; k < stack.size(); ++k) {
          if (!stack[k]->Active() || i >= stack[k]->PointCount()) continue;
          const long double part = std::max(0.0, stack[k]->YValueAt(i));
          if (k < m) below += part;
          total += part;
        }
        if (!stack[m]->Active()) continue;
        ASSERT_EQ(stack[m]->StackOrigin(i), static_cast<double>(below)) << "member " << m << ", point " << i;
        ASSERT_EQ(stack[m]->StackTotal(i), static_cast<double>(total)) << "member " << m << ", point " << i;
      }
    }
  };
  expectSums("as built");
  stack[2]->YValues().SetValueAt(1, 5.5);  // no repaint asked for
  expectSums("after a value changed");
  stack[4]->YValues().SetMultiplier(3);
  expectSums("after a multiplier changed");
  stack[1]->SetActive(false);
  expectSums("with a member switched off");
  stack[3]->AddPointXY(9, 2);
  stack[5]->DeletePoint(0);
  expectSums("after points were added and deleted");
}

// [SECTION] Drawing

TEST(BarSeriesDraw, RectangleFromValueToBaselineAndALineAtTheBaseline) {
  BarRig bars;
  TBarSeries* series = bars.Add({{2, 40}, {4, 0}, {6, -20}});
  series->AddPointXY(8, 50, "", clNone);
  series->SetCustomBarWidth(20);
  bars.Lay(0, 10, 0, 100);
  bars.Draw(*series);
  // The bar at the baseline is a line of the brush colour (its outline is empty); the
  // null point draws nothing.
  EXPECT_EQ(bars.Commands(), (std::vector<std::string>{"Rectangle", "LineTo", "Rectangle"}));
  const std::vector<std::string> rects = bars.Of("Rectangle");
  EXPECT_EQ(Rect(rects[0]), (TRect{100, 170, 120, 270}));
  EXPECT_EQ(canvas_test::FieldOf(rects[0], "brush"), "#FF0000/solid");
  EXPECT_EQ(canvas_test::FieldOf(rects[0], "pen"), "#000000/1/solid/copy");
  EXPECT_EQ(Points(bars.Of("LineTo")[0]), (std::vector<TPoint>{{200, 270}, {220, 270}}));
  EXPECT_EQ(canvas_test::FieldOf(bars.Of("LineTo")[0], "pen"), "#FF0000/1/solid/copy");
  EXPECT_EQ(Rect(rects[1]), (TRect{300, 270, 320, 320}));
  // A bar thinner than its outline is drawn as the outline in the fill's colour.
  series->BarPen().SetWidth(30);
  bars.Draw(*series);
  const std::string thin = bars.Of("Rectangle").at(0);
  EXPECT_EQ(canvas_test::FieldOf(thin, "brush").substr(8), "clear");
  EXPECT_EQ(canvas_test::FieldOf(thin, "pen").substr(0, 7), "#FF0000");
}

TEST(BarSeriesDraw, EachShapeFlatIn2D) {
  BarRig bars;
  TBarSeries* series = bars.Add({{2, 40}});
  series->SetCustomBarWidth(20);
  bars.Lay(0, 10, 0, 100);
  const auto draw = [&](TBarStyle style) {
    series->SetBarStyle(style);
    bars.Draw(*series);
  };
  draw(bsPyramid);
  EXPECT_EQ(Points(bars.Of("Polygon").at(0)), (std::vector<TPoint>{{100, 270}, {110, 170}, {120, 270}}));
  draw(bsInvPyramid);
  EXPECT_EQ(Points(bars.Of("Polygon").at(0)), (std::vector<TPoint>{{100, 170}, {110, 270}, {120, 170}}));
  draw(bsCilinder);
  EXPECT_EQ(bars.Commands(), (std::vector<std::string>{"Rectangle"}));
  draw(bsEllipse);
  EXPECT_EQ(Rect(bars.Of("Ellipse").at(0)), (TRect{100, 170, 120, 270}));
  // A filled arrow from the baseline up, its head as wide as the bar and half as long.
  draw(bsArrow);
  const std::vector<TPoint> arrow = Points(bars.Of("Polygon").at(0));
  ASSERT_EQ(arrow.size(), 7u);
  EXPECT_EQ((std::vector<TPoint>(arrow.begin() + 3, arrow.begin() + 6)),
            (std::vector<TPoint>{{100, 180}, {110, 170}, {120, 180}}));
  // One gradient band per pixel row, then the outline with a clear brush.
  draw(bsRectGradient);
  EXPECT_EQ(bars.Commands().size(), 101u);
  EXPECT_EQ(bars.Commands().back(), "Rectangle");
  EXPECT_EQ(canvas_test::FieldOf(bars.Of("Rectangle")[0], "brush").substr(8), "clear");
  // OnGetBarStyle decides each point's shape.
  series->OnGetBarStyle = [](TChartSeries*, int, TBarStyle& style) { style = bsEllipse; };
  draw(bsRectangle);
  EXPECT_EQ(bars.Commands(), (std::vector<std::string>{"Ellipse"}));
}

TEST(BarSeriesDraw, EachShapeAsASolidIn3D) {
  BarRig bars;
  TBarSeries* series = bars.Add({{2, 40}});
  series->SetCustomBarWidth(20);
  bars.Lay(0, 10, 0, 100);
  bars.Use3D();
  const auto draw = [&](TBarStyle style) {
    series->SetBarStyle(style);
    bars.Draw(*series);
    return bars.Of("Polygon");
  };
  // Front, right side darkened by 128, top by 64.
  std::vector<std::string> faces = draw(bsRectangle);
  ASSERT_EQ(faces.size(), 3u);
  EXPECT_EQ(Points(faces[0]), (std::vector<TPoint>{{100, 170}, {120, 170}, {120, 270}, {100, 270}}));
  EXPECT_EQ(Points(faces[1]), (std::vector<TPoint>{{120, 170}, {125, 165}, {125, 265}, {120, 270}}));
  EXPECT_EQ(canvas_test::FieldOf(faces[1], "brush"), "#7F0000/solid");
  EXPECT_EQ(canvas_test::FieldOf(faces[2], "brush"), "#BF0000/solid");
  // The pyramids' apex in the middle of the slab.
  EXPECT_EQ(Points(draw(bsPyramid).at(0)), (std::vector<TPoint>{{100, 270}, {112, 168}, {120, 270}}));
  EXPECT_EQ(Points(draw(bsInvPyramid).at(0)), (std::vector<TPoint>{{100, 170}, {112, 268}, {120, 170}}));
  EXPECT_FALSE(draw(bsCilinder).empty());
  EXPECT_TRUE(bars.Of("Rectangle").empty());
  // Seen straight on, the platform's ellipse in the box projected at the middle depth.
  draw(bsEllipse);
  EXPECT_EQ(Rect(bars.Of("Ellipse").at(0)), (TRect{102, 168, 122, 268}));
  EXPECT_EQ(Points(draw(bsArrow).at(0)).at(4), (TPoint{112, 168}));
  // The box, then 99 gradient rows inside the front face's one-pixel outline.
  EXPECT_EQ(draw(bsRectGradient).size(), 3u);
  EXPECT_EQ(bars.Commands().size(), 3u + 99u);
}

TEST(BarSeriesDraw, StackedSeriesOfOneSlabAreDrawnPointByPointFromTheBaseUp) {
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
  // The front faces in the order drawn, by series, with their left edge.
  const auto frontFaces = [&] {
    std::vector<std::pair<char, int>> order;
    for (const std::string& line : record(chart).Of("Polygon")) {
      const std::string brush = canvas_test::FieldOf(line, "brush");
      if (brush == "#FF0000/solid") order.emplace_back('L', Points(line).at(0).x);
      if (brush == "#0000FF/solid") order.emplace_back('U', Points(line).at(0).x);
    }
    return order;
  };
  const std::vector<std::pair<char, int>> upright = frontFaces();
  ASSERT_EQ(upright.size(), 4u);
  EXPECT_EQ(chart.SeriesAt(0)->DepthSlot(), chart.SeriesAt(1)->DepthSlot());
  EXPECT_EQ((std::string{upright[0].first, upright[1].first, upright[2].first, upright[3].first}), "LULU");
  EXPECT_LT(upright[0].second, upright[2].second);
  // Hanging from an inverted value axis, the upper bars come first.
  chart.LeftAxis().SetInverted(true);
  const std::vector<std::pair<char, int>> hanging = frontFaces();
  EXPECT_EQ((std::string{hanging[0].first, hanging[1].first}), "UL");
  // On an inverted category axis the points run from the last, which lies on the left.
  chart.LeftAxis().SetInverted(false);
  chart.BottomAxis().SetInverted(true);
  const std::vector<std::pair<char, int>> mirrored = frontFaces();
  EXPECT_EQ(mirrored[0].second, chart.SeriesAt(0)->PointXPixel(1));
  EXPECT_LT(mirrored[0].second, mirrored[2].second);
}

// [SECTION] Marks, horizontal bars, hit test

TEST(BarSeriesMarks, AboveAPositiveBarBelowANegativeOneWithRoomOnTheValueAxis) {
  BarRig bars;
  TBarSeries* series = bars.Add({{2, 40}, {6, -20}});
  series->SetCustomBarWidth(20);
  series->Marks().SetStyle(smsValue);
  bars.Lay(0, 10, -100, 100);  // Y 0 at 145, 40 at 95, -20 at 170
  bars.Draw(*series);
  series->DrawAllMarks();
  const TSeriesMarkPosition* up = series->Marks().PositionList().Position(0);
  const TSeriesMarkPosition* down = series->Marks().PositionList().Position(1);
  ASSERT_TRUE(up != nullptr && down != nullptr);
  // Centred on the bar, ArrowLength 20 beyond its end.
  EXPECT_EQ(up->ArrowStart, (TPoint{110, 95}));
  EXPECT_EQ(up->ArrowEnd, (TPoint{110, 75}));
  EXPECT_EQ(up->TopLeft.y + up->BoxHeight - 1, 75);
  EXPECT_EQ(up->TopLeft.x + up->BoxWidth / 2, 110);
  EXPECT_EQ(down->ArrowStart, (TPoint{310, 170}));
  EXPECT_EQ(down->TopLeft.y, 191);
  // Room for a 13-pixel line, ArrowLength, the frame twice and one more pixel, at the
  // end where the bars point; swapped on an inverted axis.
  int top = 0;
  int bottom = 0;
  series->VertMargins(top, bottom);
  EXPECT_EQ(top, 36);
  EXPECT_EQ(bottom, 36);
  series->DeletePoint(1);
  bars.rig.chart.LeftAxis().SetInverted(true);
  series->VertMargins(top, bottom);
  EXPECT_EQ(top, 0);
  EXPECT_EQ(bottom, 36);
}

TEST(BarSeriesHorizontal, ValuesAlongTheBottomAxisPlacesUpTheLeftAndMarksBeyondTheEnds) {
  BarRig bars;
  auto* series = bars.Add<THorizBarSeries>({{4, 2}, {-2, 6}});
  EXPECT_EQ(&series->MandatoryList(), &series->XValues());
  EXPECT_EQ(series->XValues().Name(), "Bar");
  EXPECT_DOUBLE_EQ(series->LowestX(), -2);
  AxisRig::Refresh(bars.rig.chart.BottomAxis());
  AxisRig::Refresh(bars.rig.chart.LeftAxis());
  EXPECT_DOUBLE_EQ(bars.rig.chart.BottomAxis().Maximum(), 4);
  EXPECT_DOUBLE_EQ(bars.rig.chart.LeftAxis().Maximum(), 6);
  // The category room is on the vertical axis: N = 3, 250 div 3 = 83, Round(58.1) = 58.
  int top = 0;
  int bottom = 0;
  series->VertMargins(top, bottom);
  EXPECT_EQ(series->BarSize(), 58);
  EXPECT_EQ(top, 58);

  series->SetCustomBarWidth(20);
  series->Marks().SetStyle(smsValue);
  bars.Lay(-10, 10, 0, 10);  // X 0 at 260, 25 pixels a unit; Y 2 at 220, 6 at 120
  bars.Draw(*series);
  const std::vector<std::string> rects = bars.Of("Rectangle");
  ASSERT_EQ(rects.size(), 2u);
  EXPECT_EQ(Rect(rects[0]), (TRect{260, 210, 360, 230}));
  EXPECT_EQ(Rect(rects[1]), (TRect{210, 110, 260, 130}));
  series->DrawAllMarks();
  const TSeriesMarkPosition* right = series->Marks().PositionList().Position(0);
  const TSeriesMarkPosition* left = series->Marks().PositionList().Position(1);
  ASSERT_TRUE(right != nullptr && left != nullptr);
  EXPECT_EQ(right->ArrowStart, (TPoint{360, 220}));
  EXPECT_EQ(right->ArrowEnd, (TPoint{380, 220}));
  EXPECT_EQ(right->TopLeft.x, 380);
  EXPECT_EQ(left->TopLeft.x + left->BoxWidth, 190);
  // The widest mark text ("-2", 6 pixels a character) at both ends of the value axis.
  int leftRoom = 0;
  int rightRoom = 0;
  series->HorizMargins(leftRoom, rightRoom);
  EXPECT_EQ(leftRoom, 2 * 6 + 20 + 2 + 1);
  EXPECT_EQ(rightRoom, leftRoom);

  series->SetBarStyle(bsPyramid);
  bars.Draw(*series);
  EXPECT_EQ(Points(bars.Of("Polygon").at(0)), (std::vector<TPoint>{{260, 210}, {360, 220}, {260, 230}}));
  EXPECT_EQ(series->HitTest(355, 220), 0);
  EXPECT_EQ(series->HitTest(355, 212), -1);
  series->SetBarStyle(bsRectangle);
  EXPECT_EQ(series->HitTest(360, 230), 0);
  EXPECT_EQ(series->HitTest(361, 220), -1);
}

TEST(BarSeriesHitTest, BarsAreFoundByTheirShapeEdgesIncluded) {
  BarRig bars;
  TBarSeries* series = bars.Add({{2, 40}, {6, 80}});
  series->SetCustomBarWidth(20);
  bars.Lay(0, 10, 0, 100);
  bars.Draw(*series);
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
  EXPECT_EQ(series->HitTest(102, 262), -1);
  series->SetBarStyle(bsEllipse);
  EXPECT_EQ(series->HitTest(110, 175), 0);
  EXPECT_EQ(series->HitTest(101, 175), -1);
  // The series' BarStyle decides, not a point's own shape.
  series->SetBarStyle(bsRectangle);
  series->OnGetBarStyle = [](TChartSeries*, int, TBarStyle& style) { style = bsPyramid; };
  EXPECT_EQ(series->HitTest(101, 180), 0);
}

// [SECTION] Settings

TEST(BarSeriesSettings, ChecksKeepTheOldValueAndGroupSettingsReachTheClass) {
  BarRig bars;
  TBarSeries* series = bars.Add({});
  TBarSeries* other = bars.Add({});
  auto* horizontal = bars.Add<THorizBarSeries>({});
  EXPECT_TRUE(series->Marks().Visible());
  EXPECT_EQ(series->Marks().ArrowLength(), 20);
  EXPECT_EQ(series->YValues().Name(), "Bar");
  EXPECT_EQ(series->YValues().Order(), loNone);
  EXPECT_EQ(BarMessage([&] { series->SetBarWidthPercent(0); }), "Bar Width Percent must be between 1 and 100");
  EXPECT_EQ(BarMessage([&] { series->SetBarWidthPercent(101); }), "Bar Width Percent must be between 1 and 100");
  EXPECT_EQ(series->BarWidthPercent(), 70);
  EXPECT_EQ(BarMessage([&] { series->SetOffsetPercent(-101); }),
            "Bar Offset Percent must be between -100% and 100%");
  EXPECT_EQ(BarMessage([&] { series->SetOffsetPercent(101); }), "Bar Offset Percent must be between -100% and 100%");
  series->SetOffsetPercent(-100);
  EXPECT_EQ(series->OffsetPercent(), -100);
  EXPECT_EQ(BarMessage([&] { horizontal->FillSampleValues(0); }), "FillSampleValues NumValues must be > 0");
  horizontal->FillSampleValues(4);
  EXPECT_EQ(horizontal->YValueAt(3), 3);
  // MultiBar and SideMargins go to every series of the class, switched off or not.
  other->SetActive(false);
  series->SetMultiBar(mbStacked);
  series->SetSideMargins(false);
  EXPECT_EQ(other->MultiBar(), mbStacked);
  EXPECT_FALSE(other->SideMargins());
  EXPECT_EQ(horizontal->MultiBar(), mbSide);
  EXPECT_TRUE(horizontal->SideMargins());
  // Copying takes the bar settings too.
  series->SetBarStyle(bsArrow);
  series->SetYOrigin(3);
  series->BarPen().SetWidth(3);
  other->Assign(*series);
  EXPECT_EQ(other->BarStyle(), bsArrow);
  EXPECT_EQ(other->OffsetPercent(), -100);
  EXPECT_DOUBLE_EQ(other->YOrigin(), 3);
  EXPECT_EQ(other->BarPen().Width(), 3);
}

TEST(BarSeriesSettings, DescriptionsCreateAndSetBothClasses) {
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
    AutoMarkPosition = False
  end
  object Series2: THorizBarSeries
    SideMargins = False
  end
end
)");
  auto* bar = dynamic_cast<TBarSeries*>(chart->FindComponent("Series1"));
  auto* horizontal = dynamic_cast<THorizBarSeries*>(chart->FindComponent("Series2"));
  ASSERT_TRUE(bar != nullptr && horizontal != nullptr);
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
  EXPECT_FALSE(bar->AutoMarkPosition());
  EXPECT_FALSE(horizontal->SideMargins());
  // Only the vertical bars publish a fixed width.
  EXPECT_THROW(ReadRootComponent("object Chart1: TChart\n  object S: THorizBarSeries\n    CustomBarWidth = 1\n  end\nend\n"),
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
  series->BarBrush().SetColor(clYellow);
  series->PrepareLegendSymbol(-1, back, style);
  EXPECT_EQ(back, clYellow);
  bars.rig.surface.Clear();
  series->PaintLegendSymbol(-1, {0, 0, 10, 8});
  ASSERT_EQ(bars.Of("Rectangle").size(), 1u);
  EXPECT_EQ(canvas_test::FieldOf(bars.Of("Rectangle")[0], "brush"), "#FF0000/cross");
  EXPECT_EQ(canvas_test::FieldOf(bars.Of("Rectangle")[0], "pen").substr(0, 7), "#008000");
}

}  // namespace tarvela::test
