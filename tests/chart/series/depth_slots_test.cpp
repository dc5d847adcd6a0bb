#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "paint_test_support.h"
#include "series_fixtures.h"
#include "tarvela/chart/chart.h"
#include "tarvela/chart/series/line_series.h"

namespace tarvela {
namespace {

using test::NewLine;

// The series of the main form's chart in the order of its description.
std::vector<std::string> FormSeriesNames() {
  std::vector<std::string> names;
  for (int i = 1; i <= 7; ++i) names.push_back("Series" + std::to_string(i));
  names.push_back("Series20");
  for (int i = 8; i <= 19; ++i) names.push_back("Series" + std::to_string(i));
  names.push_back("Series21");
  names.push_back("Series22");
  return names;
}

// A chart that remembers the plot its titles leave, the rectangle the box is cut from.
class TitledChart : public TChart {
 public:
  explicit TitledChart(TComponent* owner) : TChart(owner) {}
  void PlaceTitlesAndLegend() override {
    TChart::PlaceTitlesAndLegend();
    afterTitles = PlotRect();
  }
  TRect afterTitles;
};

// 320 wide, so that the plot after the titles is 300 wide: the margins are
// MulDiv(3, 320, 100) = 10 on each side. The main form's 3D settings; no axes and no
// legend, so that only the box narrows the plot.
struct FormDepthRig {
  paint_test::Recorder record;  // first: the chart's buffer records into it to the end
  TComponent form{nullptr};
  TitledChart& chart = *new TitledChart(&form);
  std::vector<TLineSeries*> series;

  FormDepthRig() {
    chart.SetBounds(0, 0, 320, 250);
    chart.SetChart3DPercent(5);
    chart.SetView3DWalls(false);
    chart.SetAxisVisible(false);
    chart.Legend().SetVisible(false);
    for (const std::string& name : FormSeriesNames()) {
      series.push_back(NewLine(form, &chart));
      series.back()->SetName(name);
    }
  }
  TChartSeries& Named(const std::string& name) {
    return *dynamic_cast<TChartSeries*>(form.FindComponent(name));
  }
};

TEST(DepthSlots, FormSeriesRunFromTheFirstAtTheBackToTheLastAtTheFront) {
  FormDepthRig rig;
  rig.record(rig.chart);
  EXPECT_EQ(rig.chart.MaxDepthSlot(), 21);
  EXPECT_EQ(rig.Named("Series1").DepthSlot(), 21);
  EXPECT_EQ(rig.Named("Series20").DepthSlot(), 14);  // eighth in the list
  EXPECT_EQ(rig.Named("Series8").DepthSlot(), 13);
  EXPECT_EQ(rig.Named("Series22").DepthSlot(), 0);
  for (int i = 0; i < 22; ++i) {
    EXPECT_EQ(rig.series[static_cast<std::size_t>(i)]->DepthSlot(), 21 - i) << i;
    // Every slot its own z order: no series shares one.
    EXPECT_FALSE(rig.chart.SharesDepthSlot(*rig.series[static_cast<std::size_t>(i)])) << i;
  }
}

TEST(DepthSlots, FivePercentOfAThreeHundredPixelPlotIsTwoPixelsASlotFortyFourTheBox) {
  FormDepthRig rig;
  rig.record(rig.chart);
  ASSERT_EQ(rig.chart.afterTitles, (TRect{10, 15, 310, 235}));
  EXPECT_EQ(rig.chart.DepthOffsetX(), 2);  // Round(300 × 0.005) = Round(1.5)
  EXPECT_EQ(rig.chart.DepthOffsetY(), 2);
  EXPECT_EQ(rig.chart.BoxDepthX(), 44);
  EXPECT_EQ(rig.chart.BoxDepthY(), 44);
  EXPECT_EQ(rig.chart.PlotRect(), (TRect{10, 15 + 44, 310 - 44, 235}));

  // Two pixels a slab, the marks' arrows in its middle.
  TChartSeries& back = rig.Named("Series1");
  EXPECT_EQ(back.DepthFront(), 42);
  EXPECT_EQ(back.DepthBack(), 44);
  EXPECT_EQ(back.DepthMiddle(), 43);
  EXPECT_EQ(back.Marks().MarksDepth(), 43);
  TChartSeries& front = rig.Named("Series22");
  EXPECT_EQ(front.DepthFront(), 0);
  EXPECT_EQ(front.DepthBack(), 2);
  EXPECT_EQ(front.DepthMiddle(), 1);
}

TEST(DepthSlots, BackWallThicknessAndATurnedBoxMakeTheBoxDeeper) {
  FormDepthRig rig;
  // The back wall counts only while 3D walls are shown.
  rig.chart.BackWall().SetSize(3);
  rig.record(rig.chart);
  EXPECT_EQ(rig.chart.PlotRect(), (TRect{10, 59, 266, 235}));
  rig.chart.SetView3DWalls(true);
  rig.record(rig.chart);
  EXPECT_EQ(rig.chart.PlotRect(), (TRect{10, 15 + 3 + 44, 310 - 44 - 3, 235}));

  // Not orthogonal: twice the factor, Round(3) = 3 a slot; the plot is not cut.
  rig.chart.SetView3DWalls(false);
  rig.chart.View3DOptions().SetOrthogonal(false);
  rig.record(rig.chart);
  EXPECT_EQ(rig.chart.DepthOffsetX(), 3);
  EXPECT_EQ(rig.chart.BoxDepthX(), 66);
  EXPECT_EQ(rig.chart.PlotRect(), rig.chart.afterTitles);
}

TEST(DepthSlots, FlatChartPutsEverySeriesInSlotZeroWithoutDepth) {
  FormDepthRig rig;
  rig.record(rig.chart);  // a 3D paint first, so that the flat one must undo it
  rig.chart.SetView3D(false);
  rig.record(rig.chart);
  EXPECT_EQ(rig.chart.MaxDepthSlot(), 0);
  EXPECT_EQ(rig.chart.DepthOffsetX(), 0);
  EXPECT_EQ(rig.chart.BoxDepthX(), 0);
  EXPECT_EQ(rig.chart.BoxDepthY(), 0);
  EXPECT_EQ(rig.chart.PlotRect(), rig.chart.afterTitles);
  for (TLineSeries* series : rig.series) {
    EXPECT_EQ(series->DepthSlot(), 0);
    EXPECT_EQ(series->DepthFront(), 0);
    EXPECT_EQ(series->DepthBack(), 0);
  }
}

TEST(DepthSlots, FixedOrdersRaiseTheHighestSlotAndCountFromTheBack) {
  TComponent form(nullptr);
  TChart chart(nullptr);
  TLineSeries* a = NewLine(form, &chart);
  TLineSeries* b = NewLine(form, &chart);
  TLineSeries* off = NewLine(form, &chart);
  TLineSeries* c = NewLine(form, &chart);
  b->SetDepthOrder(5);
  off->SetActive(false);  // takes no slot
  chart.AssignDepthSlots();
  // From the back: a 0, b only raises the highest slot to 5, c takes 6.
  EXPECT_EQ(chart.MaxDepthSlot(), 6);
  EXPECT_EQ(a->DepthSlot(), 6);
  EXPECT_EQ(b->DepthSlot(), 1);
  EXPECT_EQ(c->DepthSlot(), 0);
  // The z order is the fixed order where there is one.
  EXPECT_EQ(a->ZOrder(), 6);
  EXPECT_EQ(b->ZOrder(), 5);
  EXPECT_EQ(c->ZOrder(), 0);

  // Without stacking every series is in one slot and the box is one slot deep.
  chart.SetStackInDepth(false);
  chart.AssignDepthSlots();
  EXPECT_EQ(chart.MaxDepthSlot(), 0);
  EXPECT_EQ(a->DepthSlot(), 0);
  EXPECT_EQ(b->DepthSlot(), 0);
  EXPECT_FALSE(chart.SharesDepthSlot(*a));
}

TEST(DepthSlots, NoActiveSeriesLeavesTheHighestSlotBelowZeroAndTheBoxOneSlotDeep) {
  paint_test::Recorder record;
  TitledChart chart(nullptr);
  chart.SetAxisVisible(false);
  record(chart);
  EXPECT_EQ(chart.MaxDepthSlot(), -1);
  // 376 × 0.015 = 5.64.
  EXPECT_EQ(chart.DepthOffsetX(), 6);
  EXPECT_EQ(chart.BoxDepthX(), 6);
}

TEST(DepthSlots, SeriesWithTheSameZOrderShareASlotDrawnByTheFirstActiveOne) {
  TComponent form(nullptr);
  TChart chart(nullptr);
  TLineSeries* first = NewLine(form, &chart);
  TLineSeries* second = NewLine(form, &chart);
  TLineSeries* sleeping = NewLine(form, &chart);
  TLineSeries* alone = NewLine(form, &chart);
  for (TLineSeries* s : {first, second, sleeping}) s->SetDepthOrder(2);
  sleeping->SetActive(false);
  chart.AssignDepthSlots();
  ASSERT_EQ(alone->ZOrder(), 0);  // 3 from the back, the highest slot

  EXPECT_FALSE(chart.SharesDepthSlot(*alone));
  EXPECT_TRUE(chart.SharesDepthSlot(*first));
  EXPECT_TRUE(chart.SharesDepthSlot(*second));
  EXPECT_TRUE(chart.FirstInDepthSlot(*first));
  EXPECT_FALSE(chart.FirstInDepthSlot(*second));
  EXPECT_FALSE(chart.FirstInDepthSlot(*sleeping));
  // An inactive series is no company: with first switched off, second is alone.
  first->SetActive(false);
  EXPECT_FALSE(chart.SharesDepthSlot(*second));
  EXPECT_TRUE(chart.FirstInDepthSlot(*second));

  // The z order compares fixed orders with computed slots: a series fixed at 0 lies
  // at the back yet shares with the automatic series at the front (slot 0).
  TComponent other(nullptr);
  TChart mixed(nullptr);
  TLineSeries* fixedZero = NewLine(other, &mixed);
  TLineSeries* automatic = NewLine(other, &mixed);
  fixedZero->SetDepthOrder(0);
  mixed.AssignDepthSlots();
  EXPECT_EQ(fixedZero->DepthSlot(), 1);
  EXPECT_EQ(automatic->DepthSlot(), 0);
  EXPECT_TRUE(mixed.SharesDepthSlot(*automatic));
  EXPECT_TRUE(mixed.FirstInDepthSlot(*fixedZero));
}

}  // namespace
}  // namespace tarvela
