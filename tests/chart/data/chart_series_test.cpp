#include "tarvela/chart/data/chart_series.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "series_fixtures.h"
#include "tarvela/chart/data/palette.h"
#include "tarvela/chart/messages.h"
#include "tarvela/runtime/exceptions.h"

namespace tarvela {
namespace {

using test::NewLine;
using test::RepaintCounter;
using test::XsOf;
using test::YsOf;

TEST(SeriesDefaults, BaseAndLineSeriesStartAsDescribed) {
  TChartSeries series(nullptr);
  EXPECT_TRUE(series.Active());
  EXPECT_FALSE(series.ColorEachPoint());
  EXPECT_EQ(series.ColorSource(), "");
  EXPECT_EQ(series.Cursor(), crDefault);
  EXPECT_EQ(series.HorizAxis(), aBottomAxis);
  EXPECT_EQ(series.VertAxis(), aLeftAxis);
  EXPECT_FALSE(series.Marks().Visible());
  EXPECT_EQ(series.Marks().ArrowLength(), 8);
  EXPECT_EQ(series.ParentChart(), nullptr);
  EXPECT_EQ(series.DataSource(), nullptr);
  EXPECT_EQ(series.PercentFormat(), "##0.## %");
  EXPECT_EQ(series.ValueFormat(), "#,##0.###");
  EXPECT_EQ(series.SeriesColor(), clDefault);
  EXPECT_TRUE(series.ShowInLegend());
  EXPECT_EQ(series.Title(), "");
  EXPECT_EQ(series.XLabelsSource(), "");
  EXPECT_EQ(series.XValues().Name(), "X");
  EXPECT_EQ(series.XValues().Order(), loAscending);
  EXPECT_EQ(series.YValues().Name(), "Y");
  EXPECT_EQ(series.YValues().Order(), loNone);
  ASSERT_EQ(series.ValueLists().Count(), 2);
  EXPECT_EQ(&series.ValueLists().ValueList(0), &series.XValues());
  EXPECT_EQ(&series.ValueLists().ValueList(1), &series.YValues());
  EXPECT_EQ(series.FollowFlags(), kAllFollowFlags);
  EXPECT_EQ(series.FirstDrawnIndex(), -1);
  EXPECT_EQ(series.LastDrawnIndex(), -1);
  EXPECT_TRUE(series.ClipToVisibleRange());
  EXPECT_FALSE(series.ReachPastEnd());
  EXPECT_EQ(series.DepthOrder(), -1);
  EXPECT_TRUE(series.AllowSinglePoint());
  EXPECT_EQ(series.FunctionObject(), nullptr);
  EXPECT_TRUE(series.YIsMandatory());
  EXPECT_EQ(series.NumSampleValues(), 26);

  TLineSeries line(nullptr);
  EXPECT_TRUE(line.ReachPastEnd());
  EXPECT_FALSE(line.AllowSinglePoint());
  EXPECT_TRUE(line.ConnectPoints());
  EXPECT_TRUE(line.SegmentsClickable());
  EXPECT_FALSE(line.Pointer().Visible());
  EXPECT_EQ(line.Pointer().Style(), psRectangle);
  EXPECT_TRUE(line.Pointer().InflateMargins());
  EXPECT_EQ(line.Pointer().HorizSize(), 4);
  EXPECT_EQ(line.Pointer().VertSize(), 4);
  EXPECT_FALSE(line.DrawArea());
  EXPECT_FALSE(line.Stairs());
  EXPECT_EQ(line.LineBrush(), bsSolid);
  EXPECT_EQ(line.LinePen().Color(), clBlack);
}

TEST(SeriesAdding, AnAddRunsItsStepsAndNotificationsInOrder) {
  TComponent form(nullptr);
  TChart chart(&form);
  std::vector<std::string> log;
  chart.HostInvalidate = [&] { log.push_back("repaint"); };
  TLineSeries* source = NewLine(form, &chart);
  TLineSeries* follower = NewLine(form, &chart);
  follower->SetDataSource(source);
  source->OnBeforeAdd = [&](TChartSeries* s) {
    log.push_back("before " + std::to_string(s->XValues().PendingValue()) + " " + std::to_string(s->PointCount()));
    return true;
  };
  source->OnAfterAdd = [&](TChartSeries*, int index) { log.push_back("after " + std::to_string(index)); };
  follower->OnAfterAdd = [&](TChartSeries*, int index) { log.push_back("linked " + std::to_string(index)); };
  log.clear();
  EXPECT_EQ(source->AddPointXY(5, 50), 0);
  EXPECT_EQ(log, (std::vector<std::string>{"before 5.000000 0", "after 0", "linked 0", "repaint", "repaint"}));

  source->SetActive(false);
  follower->SetActive(false);
  log.clear();
  source->AddPointXY(6, 60);
  EXPECT_EQ(log, (std::vector<std::string>{"before 6.000000 1", "after 1", "linked 1"}));
}

TEST(SeriesAdding, RefusedAddReturnsMinusOneAndStoresNothing) {
  TChartSeries series(nullptr);
  series.OnBeforeAdd = [](TChartSeries*) { return false; };
  bool afterRan = false;
  series.OnAfterAdd = [&](TChartSeries*, int) { afterRan = true; };
  EXPECT_EQ(series.AddPointXY(1, 2, "label", clRed), -1);
  EXPECT_EQ(series.PointCount(), 0);
  EXPECT_EQ(series.YValues().ValueCount(), 0);
  EXPECT_EQ(series.ColorEntryCount(), 0);
  EXPECT_EQ(series.LabelEntryCount(), 0);
  EXPECT_FALSE(afterRan);
}

TEST(SeriesAdding, AddPointTakesThePointCountForTheOtherCoordinate) {
  TChartSeries series(nullptr);
  series.AddPointXY(10, 1);
  EXPECT_EQ(series.AddPoint(7), 0);  // X = 1
  EXPECT_EQ(series.AddPointX(20), 2);
  EXPECT_EQ(series.AddNullPoint("gap"), 1);  // X = 3 sorts before 20
  EXPECT_EQ(XsOf(series), (std::vector<double>{1, 3, 10, 20}));
  EXPECT_EQ(YsOf(series), (std::vector<double>{7, 0, 1, 2}));
  EXPECT_TRUE(series.IsNullPoint(1));
  EXPECT_EQ(series.PointLabel(1), "gap");
  EXPECT_EQ(series.AddNullPointXY(30, 5), 4);
  EXPECT_TRUE(series.IsNullPoint(4));
  EXPECT_EQ(series.HighestX(), 30);
  EXPECT_EQ(series.LowestX(), 1);
  EXPECT_EQ(series.HighestY(), 7);
  EXPECT_EQ(series.LowestY(), 0);
}

TEST(SeriesColors, PointColourFollowsOwnColourSeriesColourPaletteAndNull) {
  TChartSeries series(nullptr);
  series.SetSeriesColor(clGreen);
  series.AddPointXY(0, 0, {}, 255);
  series.AddPointXY(1, 0);
  series.AddPointXY(2, 0, {}, clNone);
  series.AddPointXY(3, 0);
  EXPECT_EQ(series.PointColor(0), 255);
  EXPECT_EQ(series.PointColor(1), clGreen);
  EXPECT_EQ(series.PointColor(2), clNone);
  EXPECT_TRUE(series.IsNullPoint(2));
  EXPECT_FALSE(series.IsNullPoint(1));
  EXPECT_EQ(series.PointColor(3), clGreen);  // beyond the colour entries
  EXPECT_EQ(series.PointColor(99), clGreen);
  series.SetColorEachPoint(true);
  EXPECT_EQ(series.PointColor(0), 255);
  EXPECT_EQ(series.PointColor(1), PaletteColor(1));
  EXPECT_EQ(series.PointColor(1), clGreen);
  EXPECT_EQ(series.PointColor(3), clGreen);  // no entry: the series colour, not the palette
  series.SetPointColor(3, clDefault);
  EXPECT_EQ(series.PointColor(3), clGreen);
  series.SetSeriesColor(clBlack);
  EXPECT_EQ(series.PointColor(1), clGreen);
  EXPECT_EQ(series.PointColor(3), clBlack);
  EXPECT_EQ(series.LegendEntryColor(0), 255);
}

TEST(SeriesColors, SwitchingColorEachPointOffResetsEveryOwnColour) {
  TComponent form(nullptr);
  TChart chart(&form);
  TLineSeries* series = NewLine(form, &chart);
  series->SetColorEachPoint(true);
  series->AddPointXY(0, 0, {}, clRed);
  series->AddPointXY(1, 0, {}, clNone);
  RepaintCounter repaints(chart);
  series->SetColorEachPoint(false);
  EXPECT_EQ(series->PointColor(0), series->SeriesColor());
  EXPECT_FALSE(series->IsNullPoint(1));
  EXPECT_EQ(repaints.count, 3);  // the setting, then each reset colour
  EXPECT_THROW(series->SetPointColor(2, clRed), EListError);
}

// An unlabelled point with no colour of its own costs no entry; entries that do
// exist stay with their points when others are inserted before them.
TEST(SeriesColors, ColourAndLabelEntriesStayShortAndAligned) {
  TChartSeries series(nullptr);
  for (int i = 0; i < 5; ++i) series.AddPointXY(i * 10, i);
  EXPECT_EQ(series.ColorEntryCount(), 0);
  EXPECT_EQ(series.LabelEntryCount(), 0);
  series.AddPointXY(50, 5, "five", clRed);
  EXPECT_EQ(series.ColorEntryCount(), 6);
  EXPECT_EQ(series.LabelEntryCount(), 6);
  EXPECT_EQ(series.PointLabel(2), "");
  series.AddPointXY(60, 6);
  EXPECT_EQ(series.LabelEntryCount(), 6);
  EXPECT_EQ(series.AddPointXY(5, 0.5), 1);
  EXPECT_EQ(series.PointLabel(6), "five");
  EXPECT_EQ(series.PointColor(6), clRed);
  EXPECT_EQ(series.LabelEntryCount(), 7);
  series.DeletePoint(0);
  EXPECT_EQ(series.PointLabel(5), "five");
  series.DeletePoint(6);  // beyond the entries
  EXPECT_EQ(series.LabelEntryCount(), 6);
  EXPECT_EQ(series.PointCount(), 6);
}

TEST(SeriesDeleting, FailedDeleteChangesNothingAndNamesTheIndex) {
  TComponent form(nullptr);
  TChart chart(&form);
  TLineSeries* series = NewLine(form, &chart);
  for (int i = 0; i < 3; ++i) series->AddPointXY(i, i * 10, "p", clRed);
  RepaintCounter repaints(chart);
  for (int bad : {3, -1}) {
    try {
      series->DeletePoint(bad);
      ADD_FAILURE() << "no exception for " << bad;
    } catch (const EListError& e) {
      EXPECT_EQ(e.Message(), "List index out of bounds (" + std::to_string(bad) + ")");
    }
  }
  EXPECT_EQ(series->XValues().ValueCount(), 3);
  EXPECT_EQ(series->YValues().ValueCount(), 3);
  EXPECT_EQ(series->ColorEntryCount(), 3);
  EXPECT_EQ(series->LabelEntryCount(), 3);
  EXPECT_EQ(repaints.count, 0);
  series->DeletePoint(1);
  EXPECT_EQ(XsOf(*series), (std::vector<double>{0, 2}));
  EXPECT_EQ(YsOf(*series), (std::vector<double>{0, 20}));
  EXPECT_EQ(series->ColorEntryCount(), 2);
  EXPECT_EQ(repaints.count, 1);
}

TEST(SeriesDeleting, ClearPointsEmptiesEverythingThenNotifiesThenRepaints) {
  TComponent form(nullptr);
  TChart chart(&form);
  std::vector<std::string> log;
  chart.HostInvalidate = [&] { log.push_back("repaint"); };
  TLineSeries* series = NewLine(form, &chart);
  for (int i = 0; i < 100; ++i) series->AddPointXY(i, i, "x", clRed);
  series->OnClearValues = [&](TChartSeries* s) { log.push_back("cleared " + std::to_string(s->PointCount())); };
  log.clear();
  series->ClearPoints();
  EXPECT_EQ(log, (std::vector<std::string>{"cleared 0", "repaint"}));
  EXPECT_EQ(series->XValues().AllocatedBytes(), 0u);
  EXPECT_EQ(series->YValues().AllocatedBytes(), 0u);
  EXPECT_EQ(series->ColorEntryCount(), 0);
  EXPECT_EQ(series->LabelEntryCount(), 0);
}

TEST(SeriesSwap, SwapMovesValuesColoursAndLabelsEvenBeyondShortEntryLists) {
  TChartSeries series(nullptr);
  series.XValues().SetOrder(loNone);
  series.AddPointXY(0, 0, "zero", clRed);
  series.AddPointXY(1, 1);
  series.AddPointXY(2, 2);
  series.SwapPoints(0, 2);
  EXPECT_EQ(XsOf(series), (std::vector<double>{2, 1, 0}));
  EXPECT_EQ(series.PointLabel(2), "zero");
  EXPECT_EQ(series.PointLabel(0), "");
  EXPECT_EQ(series.PointColor(2), clRed);
  EXPECT_EQ(series.PointColor(0), series.SeriesColor());
  EXPECT_THROW(series.SwapPoints(0, 3), EListError);
  EXPECT_EQ(XsOf(series), (std::vector<double>{2, 1, 0}));
}

TEST(SeriesSamples, FillSampleValuesChecksTheCountAndRestoresRepainting) {
  TComponent form(nullptr);
  TChart chart(&form);
  TLineSeries* series = NewLine(form, &chart);
  series->AddPointXY(1, 1);
  try {
    series->FillSampleValues(0);
    ADD_FAILURE() << "no exception";
  } catch (const ChartException& e) {
    EXPECT_EQ(e.Message(), "FillSampleValues NumValues must be > 0");
  }
  EXPECT_EQ(series->PointCount(), 1);
  RepaintCounter repaints(chart);
  series->FillSampleValues(series->NumSampleValues());
  EXPECT_EQ(series->PointCount(), 26);
  EXPECT_EQ(series->ColorEntryCount(), 0);
  EXPECT_TRUE(chart.AutoRepaint());
  EXPECT_EQ(repaints.count, 2);  // the clearing and the end, none per point
}

// Reports a fixed visible span, as a chart with axes will.
class SpanChart : public TChart {
 public:
  using TChart::TChart;
  std::optional<TValueSpan> SeriesVisibleSpan(const TChartSeries&, bool horizontal) const override {
    askedHorizontal = horizontal;
    return span;
  }
  std::optional<TValueSpan> span;
  mutable bool askedHorizontal = false;
};

TEST(SeriesVisibleRange, WithoutAxesEveryPointIsVisible) {
  TComponent form(nullptr);
  TChart chart(&form);
  TLineSeries* series = NewLine(form, &chart);
  series->FindVisibleRange();
  EXPECT_EQ(series->FirstDrawnIndex(), -1);
  EXPECT_EQ(series->LastDrawnIndex(), -1);
  for (int i = 0; i < 5; ++i) series->AddPointXY(i, i);
  series->FindVisibleRange();
  EXPECT_EQ(series->FirstDrawnIndex(), 0);
  EXPECT_EQ(series->LastDrawnIndex(), 4);
  TChartSeries alone(nullptr);
  alone.AddPointXY(1, 1);
  alone.FindVisibleRange();
  EXPECT_EQ(alone.FirstDrawnIndex(), 0);
  EXPECT_EQ(alone.LastDrawnIndex(), 0);
}

TEST(SeriesVisibleRange, ClipsToTheSpanTheChartReports) {
  TComponent form(nullptr);
  SpanChart chart(&form);
  TChartSeries* plain = new TChartSeries(&form);
  plain->SetParentChart(&chart);
  TLineSeries* line = NewLine(form, &chart);
  for (int i = 0; i < 10; ++i) {
    plain->AddPointXY(i, 0);
    line->AddPointXY(i, 0);
  }
  auto range = [](TChartSeries* s) {
    s->FindVisibleRange();
    return std::make_pair(s->FirstDrawnIndex(), s->LastDrawnIndex());
  };
  chart.span = TValueSpan{20, 30};  // every point left of the plot
  EXPECT_EQ(range(plain), std::make_pair(-1, -1));
  EXPECT_TRUE(chart.askedHorizontal);
  plain->SetClipToVisibleRange(false);
  EXPECT_EQ(range(plain), std::make_pair(0, 9));
  plain->SetClipToVisibleRange(true);
  chart.span = TValueSpan{2.5, 6.5};
  EXPECT_EQ(range(plain), std::make_pair(3, 6));
  EXPECT_EQ(range(line), std::make_pair(3, 7));  // joined points keep the first one past the edge
  chart.span = TValueSpan{2, 6};
  EXPECT_EQ(range(plain), std::make_pair(2, 6));
  chart.span = TValueSpan{2.5, 9};
  EXPECT_EQ(range(plain), std::make_pair(3, 9));
  plain->XValues().SetOrder(loNone);
  EXPECT_EQ(range(plain), std::make_pair(0, 9));
}

// A series type with a third coordinate.
class ZSeries : public TChartSeries {
 public:
  using TChartSeries::TChartSeries;
  TChartValueList zValues{this, "Z"};
};

TEST(SeriesValueLists, ExtraListsTakeTheirPendingValueAndAreFoundByName) {
  ZSeries series(nullptr);
  ASSERT_EQ(series.ValueLists().Count(), 3);
  series.zValues.SetPendingValue(7);
  series.AddPointXY(2, 20);
  series.zValues.SetPendingValue(8);
  EXPECT_EQ(series.AddPointXY(1, 10), 0);
  EXPECT_EQ(series.zValues.ValueAt(0), 8);
  EXPECT_EQ(series.zValues.ValueAt(1), 7);
  EXPECT_EQ(&series.ValueListByName("z"), &series.zValues);
  EXPECT_EQ(&series.ValueListByName("X"), &series.YValues());  // only lists from index 2 on count
  EXPECT_EQ(&series.ValueListByName("W"), &series.YValues());
  series.DeletePoint(0);
  EXPECT_EQ(series.zValues.ValueCount(), 1);
  series.ClearPoints();
  EXPECT_EQ(series.zValues.ValueCount(), 0);
}

TEST(SeriesSettings, ASettingRepaintsOnlyWhenItChanges) {
  TComponent form(nullptr);
  TChart chart(&form);
  TLineSeries* series = NewLine(form, &chart);
  RepaintCounter repaints(chart);
  series->SetTitle("T");
  series->SetTitle("T");
  series->Marks().SetVisible(true);
  series->Marks().SetVisible(true);
  series->Pointer().SetStyle(psCircle);
  series->LinePen().SetWidth(2);
  series->XValues().SetDateTime(true);
  series->SetHorizAxis(aTopAxis);
  EXPECT_EQ(repaints.count, 6);
  series->SetActive(false);
  EXPECT_EQ(repaints.count, 7);
  series->AddPointXY(1, 1);  // an inactive series asks for nothing
  EXPECT_EQ(repaints.count, 7);
}

TEST(SeriesClicks, ADoubleClickFiresOnDblClickAndAHandledClickSaysSo) {
  TChartSeries series(nullptr);
  EXPECT_FALSE(series.ClickPoint(0, mbLeft, 0, 1, 2));
  std::vector<std::string> log;
  series.OnClick = [&](TChartSeries*, int index, TMouseButton, TShiftState, int x, int y) {
    log.push_back("click " + std::to_string(index) + " " + std::to_string(x) + "," + std::to_string(y));
  };
  EXPECT_TRUE(series.ClickPoint(3, mbLeft, 0, 1, 2));
  EXPECT_FALSE(series.ClickPoint(3, mbLeft, 1u << ssDouble, 1, 2));
  series.OnDblClick = [&](TChartSeries*, int, TMouseButton, TShiftState, int, int) { log.push_back("double"); };
  EXPECT_TRUE(series.ClickPoint(3, mbLeft, 1u << ssDouble, 1, 2));
  EXPECT_EQ(log, (std::vector<std::string>{"click 3 1,2", "double"}));
}

}  // namespace
}  // namespace tarvela
