#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "paint_test_support.h"
#include "series_fixtures.h"
#include "tarvela/chart/canvas/text_lines.h"
#include "tarvela/chart/chart.h"
#include "tarvela/chart/legend/legend.h"
#include "tarvela/runtime/exceptions.h"
#include "tarvela/runtime/form_reader.h"

namespace tarvela {
namespace {

// A series of the base class: its legend texts are the base rules, nothing drawn.
TChartSeries* NewSeries(TComponent& form, TCustomChart& chart, const std::string& name = {}) {
  auto* series = new TChartSeries(&form);
  if (!name.empty()) series->SetName(name);
  series->SetParentChart(&chart);
  return series;
}

template <class Fn>
std::string MessageOf(Fn&& fn) {
  try {
    fn();
  } catch (const LegendException& e) {
    return e.what();
  }
  return "no LegendException";
}

TEST(LegendSettings, OutOfRangeValuesFailWithTheirMessageAndKeepTheOldValue) {
  TChart chart(nullptr);
  TChartLegend& legend = chart.Legend();
  EXPECT_EQ(legend.TopPos(), 10);
  EXPECT_EQ(legend.ColorWidth(), 12);
  legend.SetTopPos(40);
  EXPECT_EQ(MessageOf([&] { legend.SetTopPos(101); }), "Top Legend Position must be between 0 and 100 %");
  EXPECT_EQ(MessageOf([&] { legend.SetTopPos(-1); }), "Top Legend Position must be between 0 and 100 %");
  EXPECT_EQ(legend.TopPos(), 40);
  legend.SetTopPos(100);
  legend.SetTopPos(0);
  EXPECT_EQ(legend.TopPos(), 0);

  legend.SetColorWidth(30);
  EXPECT_EQ(MessageOf([&] { legend.SetColorWidth(101); }), "Legend Color Width must be between 0 and 100 %");
  EXPECT_EQ(MessageOf([&] { legend.SetColorWidth(-1); }), "Legend Color Width must be between 0 and 100 %");
  EXPECT_EQ(legend.ColorWidth(), 30);

  legend.SetFirstValue(3);
  EXPECT_EQ(MessageOf([&] { legend.SetFirstValue(-1); }), "First Legend Value must be > 0");
  EXPECT_EQ(legend.FirstValue(), 3);
  // The message says "> 0", yet 0 is accepted.
  legend.SetFirstValue(0);
  EXPECT_EQ(legend.FirstValue(), 0);
}

TEST(LegendSettings, OnlyChangesRepaintAndARejectedValueDoesNot) {
  TChart chart(nullptr);
  test::RepaintCounter repaints(chart);
  TChartLegend& legend = chart.Legend();
  legend.SetTopPos(10);
  legend.SetAlignment(laRight);
  legend.Frame().SetVisible(true);
  EXPECT_THROW(legend.SetFirstValue(-2), LegendException);
  EXPECT_EQ(repaints.count, 0);
  legend.SetTopPos(20);
  legend.SetInverted(true);
  legend.Brush().SetColor(clRed);
  legend.DividingLines().SetVisible(true);
  legend.Font().SetSize(9);
  EXPECT_EQ(repaints.count, 5);
}

TEST(LegendSettings, ADescriptionSetsTheLegendThroughTheChart) {
  RegisterChartClasses();
  std::unique_ptr<TComponent> root = ReadRootComponent(R"(object Chart1: TChart
  Legend.Alignment = laTop
  Legend.ColorWidth = 25
  Legend.Frame.Visible = False
  Legend.LegendStyle = lsLastValues
  Legend.TextStyle = ltsRightPercent
  Legend.Visible = False
end
)");
  auto* chart = dynamic_cast<TChart*>(root.get());
  ASSERT_NE(chart, nullptr);
  EXPECT_EQ(chart->Legend().Alignment(), laTop);
  EXPECT_EQ(chart->Legend().ColorWidth(), 25);
  EXPECT_FALSE(chart->Legend().Frame().Visible());
  EXPECT_EQ(chart->Legend().LegendStyle(), lsLastValues);
  EXPECT_EQ(chart->Legend().TextStyle(), ltsRightPercent);
  EXPECT_FALSE(chart->Legend().Visible());
}

TEST(LegendSettings, CopyingLeavesDividingLinesAndShadowAlone) {
  TChart source(nullptr);
  TChart target(nullptr);
  source.Legend().SetAlignment(laBottom);
  source.Legend().SetInverted(true);
  source.Legend().SetMaxNumRows(3);
  source.Legend().SetColor(clYellow);
  source.Legend().Frame().SetWidth(2);
  source.Legend().Font().SetSize(12);
  source.Legend().SetShadowSize(7);
  source.Legend().SetShadowColor(clRed);
  source.Legend().DividingLines().SetVisible(true);
  target.SetLegend(source.Legend());
  EXPECT_EQ(target.Legend().Alignment(), laBottom);
  EXPECT_TRUE(target.Legend().Inverted());
  EXPECT_EQ(target.Legend().MaxNumRows(), 3);
  EXPECT_EQ(target.Legend().Color(), clYellow);
  EXPECT_EQ(target.Legend().Frame().Width(), 2);
  EXPECT_EQ(target.Legend().Font().Size(), 12);
  EXPECT_EQ(target.Legend().ShadowSize(), 3);
  EXPECT_EQ(target.Legend().ShadowColor(), clBlack);
  EXPECT_FALSE(target.Legend().DividingLines().Visible());
}

TEST(LegendItems, AutoStyleListsThePointsOfOneSeriesAndTheSeriesOfTwo) {
  TComponent form(nullptr);
  TChart chart(nullptr);
  TChartLegend& legend = chart.Legend();
  TChartSeries* first = NewSeries(form, chart, "First");
  for (int i = 0; i < 5; ++i) first->AddPointXY(i, i * 10, std::string("p") + std::to_string(i));
  legend.ResolveStyle();
  EXPECT_EQ(legend.ResolvedStyle(), lsValues);
  EXPECT_EQ(legend.ItemCount(), 5);
  legend.SetTextStyle(ltsPlain);
  EXPECT_EQ(chart.LegendText(2), "p2");

  TChartSeries* second = NewSeries(form, chart);
  legend.ResolveStyle();
  EXPECT_EQ(legend.ResolvedStyle(), lsSeries);
  EXPECT_EQ(legend.ItemCount(), 2);
  EXPECT_EQ(chart.LegendText(0), "First");
  // No title and no name: "Series " and the legend position.
  EXPECT_EQ(chart.LegendText(1), "Series 1");
  second->SetTitle("Second");
  EXPECT_EQ(chart.LegendText(1), "Second");

  // An inactive series neither counts for the style nor is listed.
  second->SetActive(false);
  legend.ResolveStyle();
  EXPECT_EQ(legend.ResolvedStyle(), lsValues);
  // Setting the style resolves it at once.
  legend.SetLegendStyle(lsSeries);
  EXPECT_EQ(legend.ResolvedStyle(), lsSeries);
  EXPECT_EQ(legend.ItemCount(), 1);
}

TEST(LegendItems, CountLeavesOutHiddenSeriesAndFirstValueButNeverGoesBelowZero) {
  TComponent form(nullptr);
  TChart chart(nullptr);
  TChartLegend& legend = chart.Legend();
  for (int i = 0; i < 4; ++i) NewSeries(form, chart);
  chart.SeriesAt(1)->SetShowInLegend(false);
  legend.SetLegendStyle(lsSeries);
  EXPECT_EQ(legend.ItemCount(), 3);
  legend.SetFirstValue(2);
  EXPECT_EQ(legend.ItemCount(), 1);
  legend.SetFirstValue(9);
  EXPECT_EQ(legend.ItemCount(), 0);

  // Points of the first active series, none when that one is kept out of the legend.
  legend.SetFirstValue(1);
  legend.SetLegendStyle(lsValues);
  chart.SeriesAt(0)->AddPointXY(0, 1);
  chart.SeriesAt(0)->AddPointXY(1, 2);
  chart.SeriesAt(0)->AddPointXY(2, 3);
  EXPECT_EQ(legend.ItemCount(), 2);
  chart.SeriesAt(0)->SetShowInLegend(false);
  EXPECT_EQ(legend.ItemCount(), 0);
}

TEST(LegendItems, TextStylesJoinValueOrPercentAndLabelWithOneBlank) {
  TComponent form(nullptr);
  TChart chart(nullptr);
  TChartSeries* series = NewSeries(form, chart);
  series->AddPointXY(2.5, 1234.5, "a");
  series->AddPointXY(3, -3703.5, "b");
  series->AddPointXY(4, 0);  // no label
  EXPECT_EQ(series->LegendValueText(0, ltsPlain), "a");
  EXPECT_EQ(series->LegendValueText(0, ltsLeftValue), "1,234.5 a");
  EXPECT_EQ(series->LegendValueText(0, ltsRightValue), "a 1,234.5");
  // 1234.5 of |1234.5| + |-3703.5| = 4938 is 25 %; the "%" of the pattern is text.
  EXPECT_EQ(series->LegendValueText(0, ltsLeftPercent), "25 % a");
  EXPECT_EQ(series->LegendValueText(1, ltsRightPercent), "b -75 %");
  EXPECT_EQ(series->LegendValueText(2, ltsLeftValue), "0 ");
  // The X value as the bottom axis writes it; the label is not shown.
  EXPECT_EQ(series->LegendValueText(0, ltsXValue), "2.5");
  series->SetValueFormat("0.0");
  series->SetPercentFormat("0 'pct'");
  EXPECT_EQ(series->LegendValueText(0, ltsRightValue), "a 1234.5");
  EXPECT_EQ(series->LegendValueText(0, ltsRightPercent), "a 25 pct");

  // The chart's locale writes the numbers.
  chart.SetLocaleProvider([] { return LocaleSettings::Comma(); });
  EXPECT_EQ(series->LegendValueText(0, ltsLeftValue), "1234,5 a");
}

TEST(LegendItems, PercentOfAnAllZeroSeriesIsAHundred) {
  TComponent form(nullptr);
  TChart chart(nullptr);
  TChartSeries* series = NewSeries(form, chart);
  series->AddPointXY(0, 0, "none");
  series->AddPointXY(1, 0, "nil");
  EXPECT_EQ(series->LegendValueText(1, ltsRightPercent), "nil 100 %");
  EXPECT_EQ(series->LegendValueText(0, ltsLeftPercent), "100 % none");
}

TEST(LegendItems, XValueWithoutAChartUsesTheValueFormat) {
  TComponent form(nullptr);
  auto* series = new TChartSeries(&form);
  series->AddPointXY(1234.25, 1, "x");
  EXPECT_EQ(series->LegendValueText(0, ltsXValue), "1,234.25");
}

TEST(LegendItems, ALineBreakInAnItemIsShownAsABlank) {
  TComponent form(nullptr);
  TChart chart(nullptr);
  TChartSeries* series = NewSeries(form, chart);
  series->AddPointXY(0, 7, std::string("two") + LineBreakChar + "lines");
  chart.Legend().SetTextStyle(ltsRightValue);
  chart.Legend().SetLegendStyle(lsValues);
  EXPECT_EQ(chart.LegendText(0), "two lines 7");
  EXPECT_EQ(chart.Legend().ValueText(series, -1), "");
}

TEST(LegendItems, LastValuesShowTheLastPointOfEachListedSeries) {
  TComponent form(nullptr);
  TChart chart(nullptr);
  TChartSeries* hidden = NewSeries(form, chart);
  hidden->SetShowInLegend(false);
  hidden->AddPointXY(0, 99, "hidden");
  TChartSeries* first = NewSeries(form, chart);
  first->AddPointXY(0, 1, "one");
  first->AddPointXY(1, 2, "two");
  NewSeries(form, chart);  // no points
  chart.Legend().SetLegendStyle(lsLastValues);
  chart.Legend().SetTextStyle(ltsPlain);
  EXPECT_EQ(chart.Legend().ItemCount(), 2);
  EXPECT_EQ(chart.LegendText(0), "two");
  EXPECT_EQ(chart.LegendText(1), "");
}

TEST(LegendItems, OnGetLegendTextMayReplaceTheText) {
  TComponent form(nullptr);
  TChart chart(nullptr);
  NewSeries(form, chart, "A");
  NewSeries(form, chart, "B");
  chart.Legend().ResolveStyle();
  TLegendStyle seenStyle = lsAuto;
  chart.OnGetLegendText = [&](TCustomChart* sender, TLegendStyle style, int index, std::string& text) {
    EXPECT_EQ(sender, &chart);
    seenStyle = style;
    text += "#" + std::to_string(index);
  };
  EXPECT_EQ(chart.LegendText(1), "B#1");
  EXPECT_EQ(seenStyle, lsSeries);
}

TEST(LegendItems, ItemsThatFitCountWholeItemsUpToThePlotEdgeLessTheFrame) {
  paint_test::Recorder record;
  TComponent form(nullptr);
  TChart chart(nullptr);
  chart.SetView3D(false);
  chart.SetAxisVisible(false);
  chart.Title().SetVisible(false);
  chart.Foot().SetVisible(false);
  chart.Legend().SetVisible(false);
  for (int i = 0; i < 30; ++i) NewSeries(form, chart);
  record(chart);
  ASSERT_EQ(chart.PlotRect(), (TRect{12, 10, 388, 240}));
  TChartLegend& legend = chart.Legend();
  legend.ResolveStyle();
  // (230 + 10 - 25 - 2) div 13 = 16.
  EXPECT_EQ(legend.ItemsThatFit(25, 13), 16);
  EXPECT_EQ(legend.ItemsThatFit(240, 13), 0);
  EXPECT_EQ(legend.ItemsThatFit(25, 0), 0);
  legend.Frame().SetWidth(4);  // (230 + 10 - 25 - 8) div 13 = 15
  EXPECT_EQ(legend.ItemsThatFit(25, 13), 15);
  // Never more than the items.
  legend.SetFirstValue(20);
  EXPECT_EQ(legend.ItemsThatFit(25, 13), 10);
  legend.SetFirstValue(0);
  legend.Frame().SetWidth(1);
  legend.SetAlignment(laTop);
  // (376 - 2 - 8) div 50 = 7.
  EXPECT_EQ(legend.ItemsThatFit(8, 50), 7);
  EXPECT_EQ(legend.ItemsThatFit(388, 50), 0);
}

}  // namespace
}  // namespace tarvela
