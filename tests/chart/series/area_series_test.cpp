// Area series: stacking, the shared depth slab, copying and the legend symbol,
// through a recording surface with exact coordinates.
//
// The plot is 500 x 250 pixels at (10, 20); X 0..10 maps to pixels 10..510 (50 a
// unit) and Y 0..100 to 270..20 (2.5 a unit).

#include "tarvela/chart/series/area_series.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "axis_test_rig.h"

namespace tarvela::test {
namespace {

struct AreaRig {
  AxisRig rig;

  AreaRig() { rig.chart.SetView3D(false); }

  TAreaSeries* Area(std::initializer_list<std::pair<double, double>> points, TColor color) {
    auto* series = new TAreaSeries(&rig.form);
    series->SetParentChart(&rig.chart);
    series->SetSeriesColor(color);
    for (const auto& [x, y] : points) series->AddPointXY(x, y);
    return series;
  }
  void Lay() {
    AxisRig::Lay(rig.chart.BottomAxis(), 0, 10);
    AxisRig::Lay(rig.chart.LeftAxis(), 0, 100);
  }
  // One drawing pass of series as the chart's paint runs it.
  void Draw(TChartSeries& series) {
    rig.surface.Clear();
    series.FindVisibleRange();
    series.DoBeforeDrawValues();
    series.DrawAllPoints();
  }
};

std::vector<TPoint> Points(const std::string& line) { return canvas_test::PointsOf(line); }

}  // namespace

TEST(AreaSeries, DefaultsAndCopyingKeepItAnArea) {
  TComponent form(nullptr);
  auto* area = new TAreaSeries(&form);
  EXPECT_TRUE(area->DrawArea());
  EXPECT_FALSE(area->ConnectPoints());
  EXPECT_FALSE(area->Pointer().Visible());
  EXPECT_EQ(area->MultiArea(), maNone);

  auto* source = new TAreaSeries(&form);
  source->SetMultiArea(maStacked100);
  source->Pointer().SetVisible(true);
  auto* copy = new TAreaSeries(&form);
  copy->Assign(*source);
  EXPECT_TRUE(copy->ConnectPoints());
  EXPECT_EQ(copy->MultiArea(), maStacked100);
  EXPECT_TRUE(copy->Pointer().Visible());

  // From a line: joined, still filled, the line's pointer not taken.
  auto* line = NewLine(form);
  line->Pointer().SetVisible(true);
  auto* fromLine = new TAreaSeries(&form);
  fromLine->Assign(*line);
  EXPECT_TRUE(fromLine->ConnectPoints());
  EXPECT_TRUE(fromLine->DrawArea());
  EXPECT_FALSE(fromLine->Pointer().Visible());
}

TEST(AreaSeries, SecondStackedAreaStandsOnTheFirstWhoseNegativeValuesAddNothing) {
  AreaRig a;
  TAreaSeries* lower = a.Area({{0, 10}, {5, -20}, {10, 30}}, clRed);
  TAreaSeries* upper = a.Area({{0, 20}, {5, 20}, {10, 20}}, clBlue);
  a.Lay();
  EXPECT_EQ(upper->BaselinePos(0), 270);  // unstacked: the bottom of the axis
  upper->SetMultiArea(maStacked);
  EXPECT_EQ(lower->MultiArea(), maStacked);  // one setting for all areas of the chart

  // The upper baseline is the lower line: 10, then 0 (not -20), then 30.
  EXPECT_EQ(upper->BaselinePos(0), lower->PointYPixel(0));
  EXPECT_EQ(upper->BaselinePos(0), 245);
  EXPECT_EQ(upper->PointYPixel(0), 195);    // 10 + 20
  EXPECT_EQ(lower->PointYPixel(1), 270);    // -20 held at the axis bottom
  EXPECT_EQ(upper->BaselinePos(1), 270);    // 0 + 0
  EXPECT_EQ(upper->PointYPixel(1), 220);    // 0 + 20
  EXPECT_EQ(upper->PointYPixel(2), 145);    // 30 + 20
  EXPECT_EQ(lower->BaselinePos(2), 270);    // the first stands on 0
  EXPECT_DOUBLE_EQ(upper->HighestY(), 50);
  EXPECT_DOUBLE_EQ(lower->HighestY(), 30);
  EXPECT_DOUBLE_EQ(upper->LowestY(), 20);

  // Each slice of the upper area is filled between the two lines.
  a.Draw(*upper);
  const std::vector<std::string> quads = a.rig.Of("Polygon");
  ASSERT_EQ(quads.size(), 2u);
  EXPECT_EQ(Points(quads[0]), (std::vector<TPoint>{{10, 245}, {10, 195}, {260, 220}, {260, 270}}));
  EXPECT_EQ(Points(quads[1]), (std::vector<TPoint>{{260, 270}, {260, 220}, {510, 145}, {510, 195}}));
  EXPECT_EQ(canvas_test::FieldOf(quads[0], "brush"), "#0000FF/solid");

  // An inactive area is no part of the stack.
  lower->SetActive(false);
  EXPECT_EQ(upper->BaselinePos(0), 270);
}

// A stack of many areas keeps its sums: they must be those the members add up one by
// one, and follow every change of a value or a member.
TEST(AreaSeries, AStackOfManyAreasFollowsEveryChangeOfItsValues) {
  AreaRig a;
  std::vector<TAreaSeries*> stack;
  for (int m = 0; m < 12; ++m) {
    stack.push_back(a.Area({}, clRed));
    for (int i = 0; i < 2 + m % 3; ++i) stack.back()->AddPointXY(i, ((m * 5 + i * 7) % 9 - 2) * 0.3);
  }
  stack[0]->SetMultiArea(maStacked100);
  a.Lay();
  auto expectSums = [&](const char* when) {
    SCOPED_TRACE(when);
    for (std::size_t m = 0; m < stack.size(); ++m) {
      if (!stack[m]->Active()) continue;
      for (int i = 0; i < stack[m]->PointCount(); ++i) {
        double below = 0, total = 0;
        for (std::size_t k = 0; k < stack.size(); ++k) {
          if (!stack[k]->Active() || i >= stack[k]->PointCount() || stack[k]->YValueAt(i) <= 0) continue;
          if (k < m) below += stack[k]->YValueAt(i);
          total += stack[k]->YValueAt(i);
        }
        ASSERT_EQ(stack[m]->StackOrigin(i), below) << "member " << m << ", point " << i;
        ASSERT_EQ(stack[m]->StackOrigin(i, true), total) << "member " << m << ", point " << i;
      }
    }
  };
  expectSums("as built");
  stack[1]->YValues().SetValueAt(0, 4.25);
  expectSums("after a value changed");
  stack[6]->SetActive(false);
  expectSums("with a member switched off");
  EXPECT_EQ(stack[9]->DepthSlotLeader(), stack[0]);
  stack[0]->SetActive(false);
  EXPECT_EQ(stack[9]->DepthSlotLeader(), stack[1]);
}

TEST(AreaSeries, StackedToOneHundredPercentFillsThePlotAndLiesFlatWithoutValues) {
  AreaRig a;
  TAreaSeries* lower = a.Area({{0, 40}, {10, 0}}, clRed);
  TAreaSeries* upper = a.Area({{0, 60}, {10, -5}}, clBlue);
  lower->SetMultiArea(maStacked100);
  EXPECT_EQ(upper->MultiArea(), maStacked100);
  a.Lay();
  EXPECT_EQ(lower->PointYPixel(0), 170);  // 40 %
  EXPECT_EQ(upper->BaselinePos(0), 170);
  EXPECT_EQ(upper->PointYPixel(0), 20);   // 100 %
  // Nothing positive at index 1: both lie on 0, not at some pixel row outside the plot.
  EXPECT_EQ(lower->PointYPixel(1), 270);
  EXPECT_EQ(upper->BaselinePos(1), 270);
  EXPECT_DOUBLE_EQ(upper->HighestY(), 100);
  EXPECT_DOUBLE_EQ(upper->LowestY(), 0);
}

TEST(AreaSeries, StackedAreasShareOneDepthSlabWhateverLiesBetweenThem) {
  AreaRig a;
  a.rig.chart.SetView3D(true);
  TLineSeries* back = a.rig.Line();
  TAreaSeries* first = a.Area({{0, 1}}, clRed);
  TLineSeries* between = a.rig.Line();
  TAreaSeries* second = a.Area({{0, 1}}, clBlue);

  a.rig.chart.AssignDepthSlots();
  EXPECT_EQ(a.rig.chart.MaxDepthSlot(), 3);  // unstacked, a slab each

  second->SetMultiArea(maStacked);
  a.rig.chart.AssignDepthSlots();
  EXPECT_EQ(a.rig.chart.MaxDepthSlot(), 2);
  EXPECT_EQ(back->DepthSlot(), 2);
  EXPECT_EQ(first->DepthSlot(), 1);
  EXPECT_EQ(second->DepthSlot(), 1);
  EXPECT_EQ(between->DepthSlot(), 0);
  EXPECT_TRUE(a.rig.chart.SharesDepthSlot(*second));
  EXPECT_TRUE(a.rig.chart.FirstInDepthSlot(*first));
  EXPECT_FALSE(a.rig.chart.FirstInDepthSlot(*second));

  // The first stacked area inactive: the second leads, in a slab of its own.
  first->SetActive(false);
  a.rig.chart.AssignDepthSlots();
  EXPECT_EQ(a.rig.chart.MaxDepthSlot(), 2);
  EXPECT_EQ(second->DepthSlot(), 0);
  EXPECT_EQ(between->DepthSlot(), 1);
}

TEST(AreaSeries, LegendSymbolIsTheBoxOrThePointerAndTheLineOnlyOnceJoined) {
  AreaRig a;
  TAreaSeries* area = a.Area({{0, 1}}, clRed);
  area->SetAreaColor(clGreen);
  area->SetAreaBrush(bsCross);
  area->AreaLinesPen().SetColor(clBlue);
  TZavCanvas3D& canvas = a.rig.chart.Canvas();
  const TRect box{100, 50, 116, 58};

  canvas.SetBrushColor(clRed);
  TColor back = clWhite;
  TBrushStyle style = bsSolid;
  area->PrepareLegendSymbol(-1, back, style);
  EXPECT_EQ(back, clGreen);  // the area colour, not the brush's
  EXPECT_EQ(style, bsCross);
  EXPECT_EQ(canvas.Pen().color, clBlue);

  // Pointer hidden: the filled box.
  a.rig.surface.Clear();
  area->DrawLegendSymbol(-1, box);
  ASSERT_EQ(a.rig.surface.Lines().size(), 1u);
  EXPECT_EQ(canvas_test::RectOf(a.rig.Of("Rectangle").at(0)), box);

  // Fresh, with a pointer: only the pointer, since its points are not joined.
  area->Pointer().SetVisible(true);
  a.rig.surface.Clear();
  area->DrawLegendSymbol(-1, box);
  EXPECT_TRUE(a.rig.Of("LineTo").empty());
  EXPECT_EQ(a.rig.Of("Rectangle").size(), 1u);

  // Copied from another area series: joined, so the line shows under the pointer.
  auto* copy = new TAreaSeries(&a.rig.form);
  copy->SetParentChart(&a.rig.chart);
  copy->Assign(*area);
  a.rig.surface.Clear();
  copy->DrawLegendSymbol(-1, box);
  const std::vector<std::string> lines = a.rig.Of("LineTo");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(SegmentsOf(lines).at(0), (std::pair<TPoint, TPoint>{{100, 54}, {116, 54}}));
  EXPECT_EQ(a.rig.Of("Rectangle").size(), 1u);
}

}  // namespace tarvela::test
