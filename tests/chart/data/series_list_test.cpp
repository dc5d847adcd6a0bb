#include "tarvela/chart/data/series_list.h"

#include <gtest/gtest.h>

#include <memory>

#include "series_fixtures.h"
#include "tarvela/chart/data/palette.h"
#include "tarvela/chart/series/bar_series.h"
#include "tarvela/runtime/exceptions.h"

namespace tarvela {
namespace {

using test::NewLine;
using test::RepaintCounter;

TEST(SeriesListJoining, SeriesJoinInOrderAndMoveBetweenCharts) {
  TComponent form(nullptr);
  TChart first(&form);
  TChart second(&form);
  EXPECT_EQ(first.SeriesTotal(), 0);
  TLineSeries* a = NewLine(form, &first);
  TLineSeries* b = NewLine(form, &first);
  TLineSeries* c = NewLine(form, &first);
  ASSERT_EQ(first.SeriesTotal(), 3);
  EXPECT_EQ(first.SeriesAt(0), a);
  EXPECT_EQ(first.SeriesAt(2), c);
  EXPECT_EQ(c->ParentChart(), &first);
  EXPECT_EQ(c->ParentComponent(), &first);
  EXPECT_THROW(first.SeriesAt(3), EListError);

  b->SetParentChart(&second);
  EXPECT_EQ(first.SeriesTotal(), 2);
  EXPECT_EQ(first.SeriesAt(1), c);
  EXPECT_EQ(second.SeriesAt(0), b);
  EXPECT_EQ(b->ParentChart(), &second);
  second.AttachSeries(b);  // already there: nothing
  EXPECT_EQ(second.SeriesTotal(), 1);
  first.AttachSeries(b);  // a direct attach takes it out of the other chart
  EXPECT_EQ(second.SeriesTotal(), 0);
  EXPECT_EQ(first.SeriesAt(2), b);
  first.DetachSeries(b);
  EXPECT_EQ(b->ParentChart(), nullptr);
  first.DetachSeries(b);  // not there: nothing
  EXPECT_EQ(first.SeriesTotal(), 2);
}

TEST(SeriesListJoining, CountsActiveSeriesAndTheirLargestPointCount) {
  TComponent form(nullptr);
  TChart chart(&form);
  TLineSeries* a = NewLine(form, &chart);
  TLineSeries* b = NewLine(form, &chart);
  for (int i = 0; i < 3; ++i) a->AddPointXY(i, i);
  for (int i = 0; i < 5; ++i) b->AddPointXY(i, i);
  EXPECT_EQ(chart.ActiveSeriesTotal(), 2);
  EXPECT_EQ(chart.LargestPointCount(), 5);
  b->SetActive(false);
  EXPECT_EQ(chart.ActiveSeriesTotal(), 1);
  EXPECT_EQ(chart.LargestPointCount(), 3);
  a->SetActive(false);
  EXPECT_EQ(chart.LargestPointCount(), 0);
}

TEST(SeriesListColours, ASeriesWithoutColourGetsTheFirstFreePaletteColour) {
  TComponent form(nullptr);
  TChart chart(&form);
  TLineSeries* red = NewLine(form, &chart);
  EXPECT_EQ(red->SeriesColor(), clRed);
  TLineSeries* green = NewLine(form, &chart);
  EXPECT_EQ(green->SeriesColor(), clGreen);
  EXPECT_EQ(NewLine(form, &chart)->SeriesColor(), clYellow);

  TChart yellowBack(&form);
  NewLine(form, &yellowBack)->SetSeriesColor(clRed);
  NewLine(form, &yellowBack)->SetSeriesColor(clGreen);
  yellowBack.SetBackColor(clYellow);
  EXPECT_EQ(NewLine(form, &yellowBack)->SeriesColor(), clBlue);
  EXPECT_FALSE(yellowBack.ColorIsFree(clYellow, true));
  EXPECT_TRUE(yellowBack.ColorIsFree(clYellow, false));
  yellowBack.SetColor(clWhite);
  EXPECT_EQ(yellowBack.FreeSeriesColor(true), clGray);

  auto* coloured = new TLineSeries(&form);
  coloured->SetSeriesColor(clNavy);
  coloured->SetParentChart(&chart);
  EXPECT_EQ(coloured->SeriesColor(), clNavy);
}

TEST(SeriesListColours, WithAllSixteenColoursInUseTheFreeColourIsRed) {
  TComponent form(nullptr);
  TChart chart(&form);
  for (TColor color : DefaultPalette) {
    auto* series = new TLineSeries(&form);
    series->SetSeriesColor(color);
    series->SetParentChart(&chart);
  }
  EXPECT_EQ(chart.FreeSeriesColor(false), clRed);
  EXPECT_EQ(NewLine(form, &chart)->SeriesColor(), clRed);
  EXPECT_EQ(PaletteColor(16), clRed);
  EXPECT_EQ(PaletteColor(15), clBlack);
}

TEST(SeriesListLegend, LegendSeriesSkipHiddenOnesAndTitlesFallBackToNameThenNumber) {
  TComponent form(nullptr);
  TChart chart(&form);
  TLineSeries* titled = NewLine(form, &chart);
  titled->SetTitle("Layer");
  titled->SetName("Series1");
  TLineSeries* inactive = NewLine(form, &chart);
  inactive->SetActive(false);
  TLineSeries* named = NewLine(form, &chart);
  named->SetName("Series3");
  TLineSeries* unlisted = NewLine(form, &chart);
  unlisted->SetShowInLegend(false);
  NewLine(form, &chart);
  TLineSeries* anonymous = NewLine(form, &chart);
  EXPECT_EQ(chart.LegendSeriesAt(0), titled);
  EXPECT_EQ(chart.LegendSeriesAt(1), named);
  EXPECT_EQ(chart.LegendSeriesAt(3), anonymous);
  EXPECT_EQ(chart.LegendSeriesAt(4), nullptr);
  EXPECT_EQ(chart.LegendSeriesAt(-1), nullptr);
  EXPECT_EQ(chart.LegendSeriesTitle(0), "Layer");
  EXPECT_EQ(chart.LegendSeriesTitle(1), "Series3");
  EXPECT_EQ(chart.LegendSeriesTitle(3), "Series 3");
  EXPECT_EQ(chart.LegendSeriesTitle(4), "");
}

TEST(SeriesListAxes, FirstSeriesOfAnAxisPrefersActiveOnes) {
  TComponent form(nullptr);
  TChart chart(&form);
  EXPECT_EQ(chart.FirstSeriesOfAxis(&chart.BottomAxis()), nullptr);
  TLineSeries* idle = NewLine(form, &chart);
  idle->SetActive(false);
  TLineSeries* top = NewLine(form, &chart);
  top->SetHorizAxis(aTopAxis);
  TLineSeries* both = NewLine(form, &chart);
  both->SetHorizAxis(aBothHorizAxis);
  both->SetVertAxis(aRightAxis);
  EXPECT_EQ(chart.FirstSeriesOfAxis(&chart.BottomAxis()), both);
  EXPECT_EQ(chart.FirstSeriesOfAxis(&chart.TopAxis()), top);
  EXPECT_EQ(chart.FirstSeriesOfAxis(&chart.LeftAxis()), top);
  EXPECT_EQ(chart.FirstSeriesOfAxis(&chart.RightAxis()), both);
  both->SetActive(false);
  EXPECT_EQ(chart.FirstSeriesOfAxis(&chart.BottomAxis()), idle);  // no active one: the first at all
}

TEST(SeriesListLifetime, AChartDestroyedFirstLeavesItsSeriesWithoutAChart) {
  TComponent form(nullptr);
  auto chart = std::make_unique<TChart>(&form);
  TLineSeries* series = NewLine(form, chart.get());
  series->AddPointXY(1, 1);
  delete chart.release();  // it leaves the form on the way
  EXPECT_EQ(series->ParentChart(), nullptr);
  series->AddPointXY(2, 2);  // repaints nothing, touches nothing
  series->SetTitle("still here");
  EXPECT_EQ(series->PointCount(), 2);
}

TEST(SeriesListLifetime, ADestroyedSeriesLeavesTheListAndDestroyAllSeriesDestroysThem) {
  TComponent form(nullptr);
  TChart chart(&form);
  TLineSeries* a = NewLine(form, &chart);
  TLineSeries* b = NewLine(form, &chart);
  NewLine(form, &chart);
  RepaintCounter repaints(chart);
  delete a;
  EXPECT_EQ(chart.SeriesTotal(), 2);
  EXPECT_EQ(chart.SeriesAt(0), b);
  EXPECT_EQ(repaints.count, 1);
  int owned = form.ComponentCount();
  chart.DestroyAllSeries();
  EXPECT_EQ(chart.SeriesTotal(), 0);
  EXPECT_EQ(form.ComponentCount(), owned - 2);
}

TEST(SeriesListLifetime, ASeriesThatOnlyChangesOwnerStaysInTheChart) {
  TComponent form(nullptr);
  TComponent other(nullptr);
  TChart chart(&form);
  TLineSeries* series = NewLine(form, &chart);
  other.InsertComponent(series);
  EXPECT_EQ(chart.SeriesTotal(), 1);
  EXPECT_EQ(series->ParentChart(), &chart);
}

template <class S>
S* NewSeries(TComponent& owner, TCustomAxisPanel* chart) {
  auto* series = new S(&owner);
  if (chart != nullptr) series->SetParentChart(chart);
  return series;
}

// What the bars of one class and the series of one slab know of each other is worked
// out once for the whole list; every change of the list, of a series' activity or of
// its depth order shows at once.
TEST(SeriesListArrangement, GroupsAndSlabsFollowEveryChangeOfTheList) {
  TComponent form(nullptr);
  TChart chart(&form);
  auto* a = NewSeries<TBarSeries>(form, &chart);
  auto* h = NewSeries<THorizBarSeries>(form, &chart);
  auto* b = NewSeries<TBarSeries>(form, &chart);
  auto* c = NewSeries<TBarSeries>(form, &chart);
  TLineSeries* line = NewLine(form, &chart);
  EXPECT_EQ(a->NumBars(), 3);
  EXPECT_EQ(c->SidePlace(), 3);
  EXPECT_EQ(h->NumBars(), 1);
  EXPECT_EQ(h->SidePlace(), 1);

  b->SetActive(false);
  EXPECT_EQ(a->NumBars(), 2);
  EXPECT_EQ(c->SidePlace(), 2);
  EXPECT_EQ(b->SidePlace(), 3);  // no member: after the whole group
  c->SetParentChart(nullptr);
  EXPECT_EQ(a->NumBars(), 1);
  EXPECT_EQ(c->NumBars(), 0);
  auto* d = NewSeries<TBarSeries>(form, &chart);
  EXPECT_EQ(d->SidePlace(), 2);
  b->SetActive(true);
  EXPECT_EQ(d->SidePlace(), 3);

  // In 3D the bars of the group share the slab of the first; the others take their own.
  chart.SetView3D(true);
  chart.AssignDepthSlots();
  EXPECT_EQ(d->DepthSlot(), a->DepthSlot());
  EXPECT_TRUE(chart.SharesDepthSlot(*a));
  EXPECT_TRUE(chart.FirstInDepthSlot(*a));
  EXPECT_FALSE(chart.FirstInDepthSlot(*d));
  EXPECT_FALSE(chart.SharesDepthSlot(*line));
  EXPECT_TRUE(chart.FirstInDepthSlot(*line));
  line->SetDepthOrder(a->ZOrder());
  EXPECT_TRUE(chart.SharesDepthSlot(*line));
  EXPECT_FALSE(chart.FirstInDepthSlot(*line));
  a->SetActive(false);
  EXPECT_TRUE(chart.FirstInDepthSlot(*b));
  EXPECT_FALSE(chart.FirstInDepthSlot(*a));
}

}  // namespace
}  // namespace tarvela
