#include <gtest/gtest.h>

#include "paint_test_support.h"
#include "series_fixtures.h"
#include "tarvela/chart/chart.h"
#include "tarvela/chart/series/line_series.h"

namespace tarvela {
namespace {

using test::NewLine;
using test::RepaintCounter;

TEST(Paging, PageCountFollowsTheMostPointsOnTheFirstSeriesHorizontalAxes) {
  TComponent form(nullptr);
  TChart chart(nullptr);
  chart.SetMaxPointsPerPage(10);
  EXPECT_EQ(chart.PageCount(), 1);  // no series

  TLineSeries* bottom = NewLine(form, &chart);
  for (int i = 0; i < 25; ++i) bottom->AddPointXY(i, i);
  EXPECT_EQ(chart.PageCount(), 3);
  // The top axis counts too, the larger page count wins; an inactive series counts
  // on neither.
  TLineSeries* top = NewLine(form, &chart);
  top->SetHorizAxis(aTopAxis);
  for (int i = 0; i < 31; ++i) top->AddPointXY(i, i);
  EXPECT_EQ(chart.PageCount(), 4);
  top->SetActive(false);
  EXPECT_EQ(chart.PageCount(), 3);
  // Exactly full pages: no extra one.
  bottom->DeletePoint(24);
  bottom->DeletePoint(23);
  bottom->DeletePoint(22);
  bottom->DeletePoint(21);
  bottom->DeletePoint(20);
  EXPECT_EQ(chart.PageCount(), 2);
  bottom->ClearPoints();
  EXPECT_EQ(chart.PageCount(), 1);
}

TEST(Paging, PageChangesRepaintAndAPaintDrawsOnlyThePointsOfThePage) {
  paint_test::Recorder record;
  TComponent form(nullptr);
  TChart chart(nullptr);
  chart.SetView3D(false);
  TLineSeries* series = NewLine(form, &chart);
  for (int i = 0; i < 25; ++i) series->AddPointXY(i, i * 2);
  series->SetReachPastEnd(false);
  chart.SetMaxPointsPerPage(10);

  RepaintCounter repaints(chart);
  chart.SetPage(2);
  EXPECT_EQ(repaints.count, 1);
  chart.SetPage(2);
  chart.SetPage(9);  // held at page 3
  EXPECT_EQ(repaints.count, 2);
  chart.SetPage(2);

  record(chart);
  EXPECT_EQ(chart.BottomAxis().ScaleMinimum(), 10);
  EXPECT_EQ(chart.BottomAxis().ScaleMaximum(), 19);
  // The value axis still spans every point.
  EXPECT_EQ(chart.LeftAxis().ScaleMaximum(), 48);
  EXPECT_EQ(series->FirstDrawnIndex(), 10);
  EXPECT_EQ(series->LastDrawnIndex(), 19);
}

TEST(ChartCopy, CopiesTheAxesPagingAndSwitchesThenThePanel) {
  TComponent form(nullptr);
  TChart source(nullptr);
  TLineSeries* series = NewLine(form, &source);
  for (int i = 0; i < 30; ++i) series->AddPointXY(i, i);
  source.SetAxisVisible(false);
  source.SetClipPoints(false);
  source.SetView3DWalls(false);
  source.SetScaleLastPage(false);
  source.SetMaxPointsPerPage(10);
  source.SetPage(3);
  source.BottomAxis().SetInverted(true);
  source.DepthAxis().SetVisible(true);
  source.SetChart3DPercent(40);

  // The target has no series, so its page count is 1: the page is copied as it is.
  TChart target(nullptr);
  target.Assign(source);
  EXPECT_FALSE(target.AxisVisible());
  EXPECT_FALSE(target.ClipPoints());
  EXPECT_FALSE(target.View3DWalls());
  EXPECT_FALSE(target.ScaleLastPage());
  EXPECT_EQ(target.MaxPointsPerPage(), 10);
  EXPECT_EQ(target.Page(), 3);
  EXPECT_TRUE(target.BottomAxis().Inverted());
  EXPECT_TRUE(target.DepthAxis().Visible());
  EXPECT_EQ(target.Chart3DPercent(), 40);
  EXPECT_EQ(target.SeriesTotal(), 0);  // series are not settings
}

}  // namespace
}  // namespace tarvela
