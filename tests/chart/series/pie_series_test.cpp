// Pie series: the chart's circled mode, the circle, slice angles, the other slice,
// explode, rotation, 2D drawing and the hit test, through a recording surface with
// exact coordinates.
//
// The plot is 500 x 250 pixels at (10, 20); with the marks hidden the circle is the
// plot: centre (260, 145), radii 250 and 125.

#include "tarvela/chart/series/pie_series.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "axis_test_rig.h"
#include "tarvela/chart/data/palette.h"
#include "tarvela/runtime/exceptions.h"

namespace tarvela::test {
namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

struct PieRig {
  AxisRig rig;

  PieRig() { rig.chart.SetView3D(false); }

  TPieSeries* Pie(std::initializer_list<double> values) {
    auto* pie = new TPieSeries(&rig.form);
    pie->SetParentChart(&rig.chart);
    pie->Marks().SetVisible(false);
    for (double value : values) pie->AddPoint(value);
    return pie;
  }
  // One drawing pass of the pie as the chart's paint runs it.
  std::vector<std::string> Draw(TPieSeries& pie) {
    rig.surface.Clear();
    pie.PrepareOtherSlice();
    pie.FindVisibleRange();
    pie.DoBeforeDrawValues();
    pie.DrawAllPoints();
    return rig.Of("Pie");
  }
};

// "Pie l,t,r,b start=x,y end=x,y ..." up to the pen.
std::string Geometry(const std::string& line) { return line.substr(0, line.find(" pen=")); }

}  // namespace

TEST(PieSeries, Defaults) {
  TComponent form(nullptr);
  auto* pie = new TPieSeries(&form);
  EXPECT_TRUE(pie->Dark3D());
  EXPECT_EQ(pie->ExplodeBiggest(), 0);
  EXPECT_EQ(pie->OtherSlice().Style(), poNone);
  EXPECT_EQ(pie->OtherSlice().Text(), "Other");
  EXPECT_TRUE(pie->Marks().Visible());
  EXPECT_EQ(pie->Marks().ArrowLength(), 8);
  EXPECT_TRUE(pie->ColorEachPoint());
  EXPECT_FALSE(pie->ClipToVisibleRange());
  EXPECT_EQ(pie->PieValues().Name(), "Pie");
  EXPECT_EQ(pie->XValues().Name(), "");
  EXPECT_FALSE(pie->UsesAxes());
}

TEST(PieSeries, JoiningTheChartSwitchesOffAxesWallsZoomAndLeavingSwitchesThemBack) {
  AxisRig rig;
  TChart& chart = rig.chart;
  auto* line = rig.Line();
  auto* pie = new TPieSeries(&rig.form);
  pie->SetParentChart(&chart);
  EXPECT_FALSE(chart.AxisVisible());
  EXPECT_FALSE(chart.View3DWalls());
  EXPECT_FALSE(chart.ClipPoints());
  EXPECT_FALSE(chart.AllowZoom());
  EXPECT_EQ(chart.AllowPanning(), pmNone);
  EXPECT_FALSE(chart.Frame().Visible());
  EXPECT_EQ(chart.BackWall().Brush().Style(), bsClear);
  EXPECT_EQ(chart.View3DOptions().Elevation(), 315);
  EXPECT_EQ(chart.View3DOptions().Rotation(), 360);

  pie->SetParentChart(nullptr);
  EXPECT_TRUE(chart.AxisVisible());
  EXPECT_TRUE(chart.View3DWalls());
  EXPECT_TRUE(chart.ClipPoints());
  EXPECT_TRUE(chart.AllowZoom());
  EXPECT_EQ(chart.AllowPanning(), pmBoth);
  EXPECT_TRUE(chart.Frame().Visible());
  EXPECT_EQ(chart.BackWall().Brush().Style(), bsSolid);
  EXPECT_EQ(chart.SeriesTotal(), 1);
  EXPECT_EQ(chart.SeriesAt(0), line);
}

TEST(PieSeries, DeactivatingOrDestroyingThePieRestoresTheChartUnlessAnotherPieRemains) {
  AxisRig rig;
  TChart& chart = rig.chart;
  auto* first = new TPieSeries(&rig.form);
  first->SetParentChart(&chart);
  first->SetActive(false);
  EXPECT_TRUE(chart.AxisVisible());
  first->SetActive(true);
  EXPECT_FALSE(chart.AxisVisible());

  auto* second = new TPieSeries(&rig.form);
  second->SetParentChart(&chart);
  delete first;
  EXPECT_FALSE(chart.AxisVisible()) << "the second pie still holds the chart circled";
  EXPECT_FALSE(chart.AllowZoom());
  delete second;
  EXPECT_TRUE(chart.AxisVisible());
  EXPECT_TRUE(chart.AllowZoom());
}

TEST(PieSeries, CircleIsThePlotWithOddSizesMadeEvenAndCustomRadii) {
  PieRig p;
  p.rig.SetPlot({10, 20, 511, 271});
  TPieSeries* pie = p.Pie({1, 2});
  pie->CalcCircleGeometry();
  EXPECT_EQ(pie->CircleRect(), (TRect{10, 20, 510, 270}));
  EXPECT_EQ(pie->DiscCenterX(), 260);
  EXPECT_EQ(pie->DiscCenterY(), 145);
  EXPECT_EQ(pie->RadiusX(), 250);
  EXPECT_EQ(pie->RadiusY(), 125);

  pie->SetCustomXRadius(40);
  pie->SetCustomYRadius(30);
  pie->CalcCircleGeometry();
  EXPECT_EQ(pie->CircleRect(), (TRect{220, 115, 300, 175}));
}

TEST(PieSeries, CustomRadiiAndCircledAreSharedByThePiesOfTheChart) {
  PieRig p;
  TPieSeries* a = p.Pie({1});
  TPieSeries* b = p.Pie({1});
  a->SetCustomXRadius(40);
  a->SetCircled(true);
  EXPECT_EQ(b->CustomXRadius(), 40);
  EXPECT_TRUE(b->Circled());
}

TEST(PieSeries, CircledCorrectsForThePhysicalAspectOfTheScreen) {
  PieRig p;
  TPieSeries* pie = p.Pie({1});
  pie->SetCircled(true);
  // Square pixels without a provider: the circle is as wide as it is high.
  pie->CalcCircleGeometry();
  EXPECT_EQ(pie->RadiusX(), 125);
  EXPECT_EQ(pie->RadiusY(), 125);
  // Pixels twice as high as wide: 250 pixels across look as long as 125 down.
  TCircledSeries::SetScreenMetricsProvider([] { return TScreenMetrics{1000, 1000, 200, 400}; });
  pie->CalcCircleGeometry();
  TCircledSeries::SetScreenMetricsProvider({});
  EXPECT_EQ(pie->RadiusX(), 250);
  EXPECT_EQ(pie->RadiusY(), 125);
}

TEST(PieSeries, AllZeroValuesGiveTheFirstSliceTheFullTurn) {
  PieRig p;
  TPieSeries* pie = p.Pie({0, 0, 0});
  const std::vector<std::string> pies = p.Draw(*pie);
  ASSERT_EQ(pie->Angles().size(), 3u);
  EXPECT_DOUBLE_EQ(pie->Angles()[0].start, 0);
  EXPECT_DOUBLE_EQ(pie->Angles()[0].end, kTwoPi);
  EXPECT_DOUBLE_EQ(pie->Angles()[2].start, kTwoPi);
  EXPECT_DOUBLE_EQ(pie->Angles()[2].end, kTwoPi);
  ASSERT_EQ(pies.size(), 1u);
  EXPECT_EQ(Geometry(pies[0]), "Pie 10,20,510,270 start=510,145 end=510,145");
}

TEST(PieSeries, SlicesRunCounterClockwiseFromTheRight) {
  PieRig p;
  TPieSeries* pie = p.Pie({1, 1, 2});
  const std::vector<std::string> pies = p.Draw(*pie);
  ASSERT_EQ(pies.size(), 3u);
  EXPECT_EQ(Geometry(pies[0]), "Pie 10,20,510,270 start=510,145 end=260,20");
  EXPECT_EQ(Geometry(pies[1]), "Pie 10,20,510,270 start=260,20 end=10,145");
  EXPECT_EQ(Geometry(pies[2]), "Pie 10,20,510,270 start=10,145 end=510,145");
}

TEST(PieSeries, TwoDSliceOnOnePixelIsSkippedUnlessWideOrAlone) {
  PieRig p;
  TPieSeries* pie = p.Pie({1000000, 1, 1000000});
  const std::vector<std::string> pies = p.Draw(*pie);
  ASSERT_EQ(pies.size(), 2u);
  EXPECT_EQ(Geometry(pies[0]), "Pie 10,20,510,270 start=510,145 end=10,145");
  EXPECT_EQ(Geometry(pies[1]), "Pie 10,20,510,270 start=10,145 end=510,145");

  TPieSeries* alone = p.Pie({5});
  pie->SetActive(false);
  const std::vector<std::string> full = p.Draw(*alone);
  ASSERT_EQ(full.size(), 1u);
  EXPECT_EQ(Geometry(full[0]), "Pie 10,20,510,270 start=510,145 end=510,145");
}

// Of many thin slices, the ones that leave their start pixel are drawn, each from the
// end of the last one drawn: the slices worked out from every slice's rim point.
TEST(PieSeries, ManyThinSlicesDrawExactlyThoseThatLeaveTheirPixel) {
  PieRig p;
  TPieSeries* pie = p.Pie({});
  std::mt19937 random(5);
  for (int i = 0; i < 20000; ++i) pie->AddPoint(1 + static_cast<double>(random() % 1000) * (i % 97 == 0 ? 50 : 1));
  pie->SetRotationAngle(37);
  const std::vector<std::string> pies = p.Draw(*pie);
  std::vector<std::string> expected;
  TPoint start = pie->SlicePoint(0, pie->RadiusX(), pie->RadiusY());
  for (const TPieSeries::SliceAngles& slice : pie->Angles()) {
    const TPoint end = pie->SlicePoint(slice.end, pie->RadiusX(), pie->RadiusY());
    if (end.x == start.x && end.y == start.y && slice.end - slice.start <= 1) continue;
    expected.push_back("Pie 10,20,510,270 start=" + std::to_string(start.x) + "," + std::to_string(start.y) +
                       " end=" + std::to_string(end.x) + "," + std::to_string(end.y));
    start = end;
  }
  ASSERT_EQ(pies.size(), expected.size());
  EXPECT_GT(expected.size(), 300u);
  EXPECT_LT(expected.size(), 5000u);
  for (std::size_t i = 0; i < pies.size(); ++i) EXPECT_EQ(Geometry(pies[i]), expected[i]) << i;
}

TEST(PieSeries, OtherSliceGroupsPointsBelowTenPercentAndTheLegendListsTheRest) {
  PieRig p;
  TPieSeries* pie = p.Pie({50, 30, 5, 10, 5});
  pie->OtherSlice().SetStyle(poBelowPercent);
  pie->OtherSlice().SetValue(10);
  pie->PrepareOtherSlice();
  ASSERT_EQ(pie->PointCount(), 6);
  EXPECT_EQ(XsOf(*pie), (std::vector<double>{0, 1, -1, 3, -1, TPieSeries::kOtherSliceX}));
  EXPECT_EQ(pie->YValueAt(5), 10);
  EXPECT_EQ(pie->PointLabel(5), "Other");
  EXPECT_EQ(pie->LegendItemCount(), 4);
  EXPECT_EQ(pie->LegendToPointIndex(0), 0);
  EXPECT_EQ(pie->LegendToPointIndex(1), 1);
  EXPECT_EQ(pie->LegendToPointIndex(2), 3);
  EXPECT_EQ(pie->LegendToPointIndex(3), 5);
  EXPECT_EQ(pie->LegendToPointIndex(7), 7);
  EXPECT_EQ(pie->PointXPixel(5), 0);

  // The grouped points count once, through the other slice: 50 of 100 is half a turn.
  const std::vector<std::string> pies = p.Draw(*pie);
  EXPECT_DOUBLE_EQ(pie->Angles()[0].end, kTwoPi / 2);
  EXPECT_DOUBLE_EQ(pie->Angles()[2].start, pie->Angles()[2].end);
  EXPECT_DOUBLE_EQ(pie->Angles()[5].end, kTwoPi);
  EXPECT_EQ(pies.size(), 4u);
  // The marks' shares count them once too.
  pie->Marks().SetStyle(smsPercent);
  EXPECT_EQ(pie->MarkText(0), "50 %");
  EXPECT_EQ(pie->MarkText(5), "10 %");
}

TEST(PieSeries, OtherSliceBelowValueIsNotAccumulatedOverRepeatedPaints) {
  PieRig p;
  TPieSeries* pie = p.Pie({50, 3, 4, 40});
  pie->OtherSlice().SetStyle(poBelowValue);
  pie->OtherSlice().SetValue(5);
  for (int paint = 0; paint < 3; ++paint) {
    pie->PrepareOtherSlice();
    ASSERT_EQ(pie->PointCount(), 5);
    EXPECT_EQ(pie->YValueAt(4), 7);
    EXPECT_EQ(pie->LegendItemCount(), 3);
  }
  pie->OtherSlice().SetStyle(poNone);
  pie->PrepareOtherSlice();
  EXPECT_EQ(XsOf(*pie), (std::vector<double>{0, 1, 2, 3}));
}

TEST(PieSeries, ExplodeBiggestPullsTheLargestSliceOutAndShrinksThePie) {
  PieRig p;
  TPieSeries* pie = p.Pie({10, 30, 20});
  pie->SetExplodeBiggest(20);
  EXPECT_EQ(pie->ExplodedSlices().Value(1), 20);
  EXPECT_EQ(pie->ExplodedSlices().Value(0), 0);
  const std::vector<std::string> pies = p.Draw(*pie);
  EXPECT_TRUE(pie->AnyExploded());
  // First offsets (-43, 12) with radii 250, 125 shrink the circle by 21 and 6 a side.
  EXPECT_EQ(pie->CircleRect(), (TRect{31, 26, 489, 264}));
  int dx = 0, dy = 0;
  pie->ExplodedOffset(1, dx, dy);
  EXPECT_EQ(dx, -40);
  EXPECT_EQ(dy, 12);
  ASSERT_EQ(pies.size(), 3u);
  EXPECT_EQ(pies[1].substr(0, pies[1].find(" start")), "Pie -9,14,449,252");
  EXPECT_EQ(pies[0].substr(0, pies[0].find(" start")), "Pie 31,26,489,264");
}

TEST(PieSeries, ExplodedThreeDSlicesAreDrawnFromTheTopDown) {
  PieRig p;
  p.rig.chart.SetView3D(true);
  TPieSeries* pie = p.Pie({1, 1, 1, 1});
  pie->ExplodedSlices().SetValue(0, 10);
  p.Draw(*pie);
  EXPECT_EQ(pie->DrawingOrder(), (std::vector<int>{0, 1, 2, 3}));
  pie->SetRotationAngle(90);
  p.Draw(*pie);
  EXPECT_EQ(pie->DrawingOrder(), (std::vector<int>{0, 3, 1, 2}));
  p.rig.chart.SetView3D(false);
  EXPECT_EQ(pie->DrawingOrder(), (std::vector<int>{0, 1, 2, 3}));
}

TEST(PieSeries, RotationTurnsEveryAngleAndIsStoredModulo360) {
  PieRig p;
  TPieSeries* pie = p.Pie({1, 1, 2});
  pie->SetRotationAngle(450);
  EXPECT_EQ(pie->RotationAngle(), 90);
  const std::vector<std::string> pies = p.Draw(*pie);
  ASSERT_EQ(pies.size(), 3u);
  EXPECT_EQ(Geometry(pies[0]), "Pie 10,20,510,270 start=260,20 end=10,145");
  EXPECT_DOUBLE_EQ(pie->AngleOfPoint(260, 20), 0);
  EXPECT_NEAR(pie->AngleOfPoint(510, 145), 3 * kTwoPi / 4, 1e-12);
}

TEST(PieSeries, NegativeRotationIsRefusedWithItsMessageAndKeepsTheOldValue) {
  TComponent form(nullptr);
  auto* pie = new TPieSeries(&form);
  pie->SetRotationAngle(30);
  try {
    pie->SetRotationAngle(-1);
    FAIL() << "no exception";
  } catch (const PieException& e) {
    EXPECT_STREQ(e.what(), "Rotation Angle must be between 0 and 359 degrees");
  }
  EXPECT_EQ(pie->RotationAngle(), 30);
}

TEST(PieSeries, HitTestFindsTheSliceByAngleAndRadius) {
  PieRig p;
  TPieSeries* pie = p.Pie({1, 1, 1, 1});
  p.Draw(*pie);
  EXPECT_EQ(pie->HitTest(360, 135), 0);
  EXPECT_EQ(pie->HitTest(160, 135), 1);
  EXPECT_EQ(pie->HitTest(160, 155), 2);
  EXPECT_EQ(pie->HitTest(360, 155), 3);
  EXPECT_EQ(pie->HitTest(600, 145), -1);
  EXPECT_EQ(pie->HitTest(260, 300), -1);
}

TEST(PieSeries, ExchangingPointsMovesTheirExplodeAndClearingDropsIt) {
  PieRig p;
  TPieSeries* pie = p.Pie({1, 2, 3});
  pie->ExplodedSlices().SetValue(0, 15);
  pie->SwapPoints(0, 2);
  EXPECT_EQ(pie->ExplodedSlices().Value(2), 15);
  EXPECT_EQ(pie->ExplodedSlices().Value(0), 0);
  pie->ClearPoints();
  EXPECT_EQ(pie->ExplodedSlices().Count(), 0);
}

TEST(PieSeries, EverySliceHasAColourOfItsOwn) {
  PieRig p;
  TPieSeries* pie = p.Pie({1, 2});
  pie->AddPoint(3, {}, clTeal);
  pie->AddPoint(4);
  EXPECT_EQ(pie->PointColor(0), PaletteColor(0));
  EXPECT_EQ(pie->PointColor(1), PaletteColor(1));
  EXPECT_EQ(pie->PointColor(2), clTeal);
  EXPECT_EQ(pie->PointColor(3), PaletteColor(3));
}

TEST(PieSeries, CopyingTakesThePieAndCircledSettings) {
  TComponent form(nullptr);
  auto* source = new TPieSeries(&form);
  source->SetDark3D(false);
  source->SetUsePatterns(true);
  source->SetExplodeBiggest(12);
  source->OtherSlice().SetStyle(poBelowValue);
  source->SetRotationAngle(45);
  source->SetCustomYRadius(9);
  auto* copy = new TPieSeries(&form);
  copy->SetColorEachPoint(false);
  copy->Assign(*source);
  EXPECT_FALSE(copy->Dark3D());
  EXPECT_TRUE(copy->UsePatterns());
  EXPECT_EQ(copy->ExplodeBiggest(), 12);
  EXPECT_EQ(copy->OtherSlice().Style(), poBelowValue);
  EXPECT_EQ(copy->RotationAngle(), 45);
  EXPECT_EQ(copy->CustomYRadius(), 9);
  EXPECT_TRUE(copy->ColorEachPoint());
}

}  // namespace tarvela::test
