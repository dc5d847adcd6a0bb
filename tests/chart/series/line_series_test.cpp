#include "tarvela/chart/series/line_series.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "series_fixtures.h"
#include "tarvela/chart/chart_registration.h"
#include "tarvela/runtime/class_registry.h"
#include "tarvela/runtime/exceptions.h"
#include "tarvela/runtime/form_reader.h"

namespace tarvela {
namespace {

// The settings every series of the main form carries, as its description writes them.
std::string SeriesText(const std::string& name, const std::string& color) {
  return "  object " + name + R"(: TLineSeries
    Marks.ArrowLength = 8
    Marks.Visible = False
    SeriesColor = )" +
         color + R"(
    Pointer.InflateMargins = True
    Pointer.Style = psRectangle
    Pointer.Visible = False
    XValues.DateTime = False
    XValues.Name = 'X'
    XValues.Multiplier = 1.000000000000000000
    XValues.Order = loAscending
    YValues.DateTime = False
    YValues.Name = 'Y'
    YValues.Multiplier = 1.000000000000000000
    YValues.Order = loNone
  end
)";
}

std::unique_ptr<TComponent> ReadChart(const std::string& series) {
  RegisterChartClasses();
  return ReadRootComponent("object Chart1: TChart\n" + series + "end\n");
}

TEST(LineSeriesDescription, ASeriesNestedInAChartJoinsItWithTheDescribedSettings) {
  std::unique_ptr<TComponent> root = ReadChart(SeriesText("Series1", "clRed"));
  auto* chart = dynamic_cast<TChart*>(root.get());
  ASSERT_NE(chart, nullptr);
  ASSERT_EQ(chart->SeriesTotal(), 1);
  auto* series = dynamic_cast<TLineSeries*>(chart->SeriesAt(0));
  ASSERT_NE(series, nullptr);
  EXPECT_EQ(series->Name(), "Series1");
  EXPECT_EQ(series->ParentChart(), chart);
  EXPECT_EQ(series->Owner(), chart);
  EXPECT_FALSE(series->Loading());
  EXPECT_EQ(series->Marks().ArrowLength(), 8);
  EXPECT_FALSE(series->Marks().Visible());
  EXPECT_EQ(series->SeriesColor(), clRed);
  EXPECT_TRUE(series->Pointer().InflateMargins());
  EXPECT_EQ(series->Pointer().Style(), psRectangle);
  EXPECT_FALSE(series->Pointer().Visible());
  EXPECT_FALSE(series->XValues().DateTime());
  EXPECT_EQ(series->XValues().Name(), "X");
  EXPECT_EQ(series->XValues().Multiplier(), 1.0);
  EXPECT_EQ(series->XValues().Order(), loAscending);
  EXPECT_EQ(series->YValues().Name(), "Y");
  EXPECT_EQ(series->YValues().Order(), loNone);
  EXPECT_EQ(series->PointCount(), 0);
  EXPECT_EQ(GetPropertyPath(*series, "YValues.Order").AsIdentifier(), "loNone");
  EXPECT_EQ(GetPropertyPath(*series, "Pointer.Style").AsIdentifier(), "psRectangle");
}

TEST(LineSeriesDescription, TwentyTwoSeriesKeepTheOrderOfTheDescription) {
  const std::vector<std::pair<std::string, std::string>> kSeries = {
      {"Series1", "clRed"},     {"Series2", "clGreen"},   {"Series3", "clYellow"}, {"Series4", "clBlue"},
      {"Series5", "clWhite"},   {"Series6", "clGray"},    {"Series7", "clFuchsia"}, {"Series20", "clRed"},
      {"Series8", "clTeal"},    {"Series9", "clNavy"},    {"Series10", "clMaroon"}, {"Series11", "clLime"},
      {"Series12", "clOlive"},  {"Series13", "clPurple"}, {"Series14", "clSilver"}, {"Series15", "clAqua"},
      {"Series16", "clBlack"},  {"Series17", "clRed"},    {"Series18", "clRed"},    {"Series19", "clRed"},
      {"Series21", "clRed"},    {"Series22", "clGreen"}};
  std::string text;
  for (const auto& [name, color] : kSeries) text += SeriesText(name, color);
  std::unique_ptr<TComponent> root = ReadChart(text);
  auto* chart = dynamic_cast<TChart*>(root.get());
  ASSERT_EQ(chart->SeriesTotal(), 22);
  for (int i = 0; i < 22; ++i) {
    TChartSeries* series = chart->SeriesAt(i);
    EXPECT_EQ(series->Name(), kSeries[static_cast<std::size_t>(i)].first);
    TColor expected = clNone;
    ASSERT_TRUE(ColorFromIdent(kSeries[static_cast<std::size_t>(i)].second, expected));
    EXPECT_EQ(series->SeriesColor(), expected) << series->Name();
  }
  EXPECT_EQ(chart->SeriesAt(7)->Name(), "Series20");
  EXPECT_EQ(chart->SeriesAt(10)->Name(), "Series10");
  EXPECT_EQ(chart->ActiveSeriesTotal(), 22);
  EXPECT_TRUE(ClassRegistry::Instance().IsRegistered("TLineSeries"));
}

TEST(LinePointer, ASizeBelowOneFailsAndKeepsTheOldSize) {
  TLineSeries series(nullptr);
  series.Pointer().SetHorizSize(6);
  for (int bad : {0, -3}) {
    try {
      series.Pointer().SetHorizSize(bad);
      ADD_FAILURE() << "no exception";
    } catch (const ChartException& e) {
      EXPECT_EQ(e.Message(), "Pointer size must be greater than zero");
    }
    EXPECT_THROW(series.Pointer().SetVertSize(bad), ChartException);
  }
  EXPECT_EQ(series.Pointer().HorizSize(), 6);
  EXPECT_EQ(series.Pointer().VertSize(), 4);
  series.Pointer().SetVertSize(1);
  EXPECT_EQ(series.Pointer().VertSize(), 1);
}

TEST(LineSeriesCopy, CopyingKeepsALineAndShowsThePointerOnlyFromAnotherLine) {
  TLineSeries source(nullptr);
  source.SetDrawArea(true);
  source.SetConnectPoints(false);
  source.SetStairs(true);
  source.SetLineHeight(3);
  source.LinePen().SetWidth(2);
  source.Pointer().SetVisible(true);
  source.Pointer().SetStyle(psDiamond);
  source.SetTitle("Layer");
  source.SetSeriesColor(clTeal);
  source.YValues().SetMultiplier(2);
  source.Marks().SetVisible(true);
  source.AddPointXY(1, 1);

  TLineSeries copy(nullptr);
  copy.Assign(source);
  EXPECT_FALSE(copy.DrawArea());
  EXPECT_TRUE(copy.ConnectPoints());
  EXPECT_TRUE(copy.Stairs());
  EXPECT_EQ(copy.LineHeight(), 3);
  EXPECT_EQ(copy.LinePen().Width(), 2);
  EXPECT_TRUE(copy.Pointer().Visible());
  EXPECT_EQ(copy.Pointer().Style(), psDiamond);
  EXPECT_EQ(copy.Title(), "Layer");
  EXPECT_EQ(copy.SeriesColor(), clTeal);
  EXPECT_EQ(copy.YValues().Multiplier(), 2);
  EXPECT_EQ(copy.YValues().Name(), "Y");
  EXPECT_TRUE(copy.Marks().Visible());
  EXPECT_EQ(copy.PointCount(), 0);

  TCustomSeries other(nullptr);
  other.Pointer().SetVisible(true);
  other.Pointer().SetStyle(psStar);
  TLineSeries fromOther(nullptr);
  fromOther.Assign(other);
  EXPECT_EQ(fromOther.Pointer().Style(), psStar);
  EXPECT_FALSE(fromOther.Pointer().Visible());
}

}  // namespace
}  // namespace tarvela
