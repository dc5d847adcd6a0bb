// Extreme data painted through both surfaces: values that are not finite or close to
// the largest double, series with no point, one point, all points at one X or null,
// ten million points, a legend of ten thousand series, a pie of a hundred thousand
// slices, and descriptions of thousands of series: a chain of data sources, bars of one
// group, pies. Each reading and paint must end, within the suite's command bound.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QXmlStreamReader>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "extreme_support.h"
#include "tarvela/chart/series/area_series.h"
#include "tarvela/chart/series/bar_series.h"
#include "tarvela/chart/series/line_series.h"
#include "tarvela/chart/series/pie_series.h"
#include "tarvela/widgets/chart_picture.h"

namespace tarvela::extreme {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

const std::vector<std::string> kSeriesClasses = {"TLineSeries",  "TBarSeries",      "THorizBarSeries", "TAreaSeries",
                                                 "TPointSeries", "TFastLineSeries", "TPieSeries"};

// One series of className in a chart, 2D or 3D, its marks shown.
std::unique_ptr<TChart> OneSeriesChart(const std::string& className, bool view3D) {
  return ChartOf("object C: TChart\n  View3D = " + std::string(view3D ? "True" : "False") +
                 "\n  Legend.Visible = True\n  object S: " + className + "\n    Marks.Visible = True\n  end\nend");
}

// Runs fill on a fresh chart of every series type, in 2D and in 3D, and paints it.
template <class Fill>
void ForEveryType(const std::string& what, Fill fill) {
  for (const std::string& className : kSeriesClasses) {
    for (const bool view3D : {false, true}) {
      std::unique_ptr<TChart> chart = OneSeriesChart(className, view3D);
      ASSERT_NE(chart, nullptr);
      fill(*chart->SeriesAt(0));
      ExpectBoundedPaint(*chart, what + " in a " + className + (view3D ? " (3D)" : " (2D)"));
    }
  }
}

TEST(ExtremeData, ValuesThatAreNotFiniteOrNearTheLargestDoublePaintInEverySeriesType) {
  const std::vector<double> extremes = {kNaN, kInf, -kInf, 1.7e308, -1.7e308};
  ForEveryType("values beyond the finite", [&](TChartSeries& series) {
    double x = 0;
    for (const double value : extremes) {
      series.AddPointXY(x++, value);
      series.AddPointXY(value, x++);
    }
    series.AddPointXY(x, 1);
  });
  ForEveryType("only the largest finite values", [&](TChartSeries& series) {
    series.AddPointXY(-1.7e308, -1.7e308);
    series.AddPointXY(0, 1.7e308);
    series.AddPointXY(1.7e308, 0);
  });
}

TEST(ExtremeData, EmptyOnePointAllAtOneXAndAllNullSeriesPaintInEverySeriesType) {
  ForEveryType("no point", [](TChartSeries&) {});
  ForEveryType("one point", [](TChartSeries& series) { series.AddPointXY(3, 4); });
  ForEveryType("all X equal", [](TChartSeries& series) {
    for (int i = 0; i < 1000; ++i) series.AddPointXY(7, i % 13);
  });
  ForEveryType("all points null", [](TChartSeries& series) {
    for (int i = 0; i < 1000; ++i) series.AddPointXY(i, i % 13, {}, clNone);
  });
}

// Ten million points: more than a plot has pixels by two orders. The three ways a
// series draws many points - ribbons of a 3D line, a pointer a point, the column path
// of a 2D fast line - each draw about as many commands as there are pixels to light,
// not as there are points.
TEST(ExtremeData, TenMillionPointsPaintWithinTheBound) {
  constexpr int kPoints = 10000000;
  struct Case {
    const char* className;
    bool view3D;
  };
  for (const Case c : {Case{"TLineSeries", true}, Case{"TPointSeries", false}, Case{"TFastLineSeries", false}}) {
    std::unique_ptr<TChart> chart = OneSeriesChart(c.className, c.view3D);
    ASSERT_NE(chart, nullptr);
    TChartSeries& series = *chart->SeriesAt(0);
    series.Marks().SetVisible(false);
    // A zigzag between -1000 and 1000 that visits every pixel row of every column.
    for (int i = 0; i < kPoints; ++i) series.AddPointXY(i, static_cast<double>((i * 7919LL) % 2001 - 1000));
    ExpectBoundedPaint(*chart, std::string(c.className) + " of ten million points", 1);
  }
}

// The legend lists the rows that fit; the other series are still drawn.
TEST(ExtremeData, LegendOfTenThousandSeriesPaints) {
  std::unique_ptr<TChart> chart = ChartOf("object C: TChart\n  View3D = False\nend");
  for (int i = 0; i < 10000; ++i) {
    auto* series = new TLineSeries(chart.get());
    series->SetParentChart(chart.get());
    series->AddPointXY(0, i);
    series->AddPointXY(1, -i);
  }
  ExpectBoundedPaint(*chart, "ten thousand series", 1);
}

TEST(ExtremeData, PieOfAHundredThousandSlicesPaints) {
  for (const bool view3D : {false, true}) {
    std::unique_ptr<TChart> chart = OneSeriesChart("TPieSeries", view3D);
    TChartSeries& pie = *chart->SeriesAt(0);
    for (int i = 0; i < 100000; ++i) pie.AddPointXY(i, 1 + i % 10, "slice " + std::to_string(i));
    ExpectBoundedPaint(*chart, view3D ? "100,000 slices in 3D" : "100,000 slices in 2D", 1);
  }
}

// Twenty thousand points on two pixel rows of each column, marks shown, a chart of
// each class: at most a few commands a pixel column rather than one a point.
void ExpectAFewCommandsAColumn(std::initializer_list<const char*> classNames, bool view3D) {
  constexpr int kPoints = 20000;
  constexpr std::size_t kBound = 40 * kWidth;
  for (const char* className : classNames) {
    std::unique_ptr<TChart> chart = OneSeriesChart(className, view3D);
    ASSERT_NE(chart, nullptr);
    TChartSeries& series = *chart->SeriesAt(0);
    const bool horizontal = std::string(className) == "THorizBarSeries";
    for (int i = 0; i < kPoints; ++i) {
      if (horizontal) {
        series.AddPointXY(100 + i % 2, i);
      } else {
        series.AddPointXY(i, 100 + i % 2);
      }
    }
    const Painted painted = PaintBoth(*chart, 2);
    SCOPED_TRACE(className);
    EXPECT_LE(painted.commands, kBound);
    EXPECT_GT(painted.commands, 0u);
    EXPECT_TRUE(painted.qtImageDrawn);
  }
}

// Bars of no width, pointers and marks are drawn where they show (the pie: its rim and
// the legend rows that fit).
TEST(ExtremeData, TwentyThousandPointsWithMarksDrawAFewCommandsAColumn) {
  ExpectAFewCommandsAColumn({"TBarSeries", "THorizBarSeries", "TPointSeries", "TPieSeries"}, false);
}

// In 3D, of bars, ribbons and an area's fronts, those that a later one draws again are
// left out, so a pixel column still costs a few boxes or ribbons.
TEST(ExtremeData, TwentyThousandPointsIn3DDrawAFewShapesAColumn) {
  ExpectAFewCommandsAColumn({"TBarSeries", "THorizBarSeries", "TLineSeries", "TAreaSeries"}, true);
}

// The document of a random walk of 200,000 pointers holds the pointers that show: a
// few megabytes rather than 200,000 shapes, read by an XML reader to its end.
TEST(ExtremeData, SvgOfManyPointsHoldsThePointersThatShow) {
  std::unique_ptr<TChart> chart = OneSeriesChart("TPointSeries", false);
  ASSERT_NE(chart, nullptr);
  TChartSeries& series = *chart->SeriesAt(0);
  series.Marks().SetVisible(false);
  std::mt19937_64 random(7);
  double y = 0;
  for (int i = 0; i < 200000; ++i) {
    series.AddPointXY(i, y);
    y += static_cast<double>(random() >> 11) * 0x1.0p-52 - 1.0;
  }
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  ASSERT_TRUE(WriteChartSvg(*chart, buffer, std::nullopt));
  EXPECT_LE(buffer.size(), 4 * 1024 * 1024);
  QXmlStreamReader reader(buffer.data());
  int rectangles = 0;
  while (!reader.atEnd()) {
    reader.readNext();
    if (reader.isStartElement() && (reader.name() == QLatin1String("rect") || reader.name() == QLatin1String("path")))
      ++rectangles;
  }
  EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
  EXPECT_GT(rectangles, 100);
}

// Each series of the chain but the first takes the one before it as its source.
std::string ChainDescription(int length) {
  std::ostringstream text;
  text << "object C: TChart\n  View3D = False\n";
  for (int i = 1; i <= length; ++i) {
    text << "  object S" << i << ": TLineSeries\n";
    if (i > 1) text << "    DataSource = S" << i - 1 << "\n";
    text << "  end\n";
  }
  text << "end\n";
  return text.str();
}

// Read link by link, every series reloads once from the one before it when loaded; a
// change of the first then runs down to the last.
TEST(ExtremeData, AChainOfTenThousandDataSourcesReadsAndPaints) {
  constexpr int kLength = 10000;
  std::unique_ptr<TChart> chart = ChartOf(ChainDescription(kLength));
  ASSERT_NE(chart, nullptr);
  ASSERT_EQ(chart->SeriesTotal(), kLength);
  TChartSeries& first = *chart->SeriesAt(0);
  for (const double y : {2.0, 7.0, 5.0}) first.AddPointY(y);
  TChartSeries& last = *chart->SeriesAt(kLength - 1);
  ASSERT_EQ(last.PointCount(), 3);
  EXPECT_EQ(last.YValueAt(1), 7);
  first.YValues().SetMultiplier(2);
  EXPECT_EQ(last.YValueAt(1), 14);
  ExpectBoundedPaint(*chart, "a chain of 10,000 data sources", 1);
}

// count series of className read from a description, two points each; each series
// sets setting when it is not empty, as a file written by a program would.
std::unique_ptr<TChart> ManySeriesChart(const std::string& className, int count, bool view3D,
                                        const std::string& setting = "") {
  std::ostringstream text;
  text << "object C: TChart\n  View3D = " << (view3D ? "True" : "False") << "\n";
  for (int i = 1; i <= count; ++i) {
    text << "  object S" << i << ": " << className << "\n";
    if (!setting.empty()) text << "    " << setting << "\n";
    text << "  end\n";
  }
  text << "end\n";
  std::unique_ptr<TChart> chart = ChartOf(text.str());
  if (chart == nullptr) return nullptr;
  for (int i = 0; i < chart->SeriesTotal(); ++i) {
    chart->SeriesAt(i)->AddPointXY(1, 1 + i % 7);
    chart->SeriesAt(i)->AddPointXY(2, 3);
  }
  return chart;
}

// The bars of one class stand side by side as one group: each knows its place and the
// group's size, and in 3D they share the slab of the first.
TEST(ExtremeData, TenThousandBarSeriesOfOneGroupReadAndPaint) {
  constexpr int kCount = 10000;
  for (const auto& [className, view3D] : {std::pair{"TBarSeries", false}, std::pair{"THorizBarSeries", true}}) {
    std::unique_ptr<TChart> chart = ManySeriesChart(className, kCount, view3D);
    ASSERT_NE(chart, nullptr);
    ExpectBoundedPaint(*chart, std::string("10,000 ") + className + (view3D ? " (3D)" : " (2D)"), 1);
    auto& last = SeriesOf<TCustomBarSeries>(*chart, kCount - 1);
    EXPECT_EQ(last.NumBars(), kCount);
    EXPECT_EQ(last.SidePlace(), kCount);
    EXPECT_EQ(last.DepthSlot(), chart->SeriesAt(0)->DepthSlot());
    EXPECT_EQ(chart->MaxDepthSlot(), 0);
  }
}

// Every series of the file stacks itself: each bar and area stands on the sum of all
// before it, and they share one slab.
TEST(ExtremeData, TenThousandStackedBarAndAreaSeriesReadAndPaint) {
  constexpr int kCount = 10000;
  std::unique_ptr<TChart> bars = ManySeriesChart("TBarSeries", kCount, false, "MultiBar = mbStacked");
  ASSERT_NE(bars, nullptr);
  ExpectBoundedPaint(*bars, "10,000 stacked bars", 1);
  // Point 1 of each is 3: the last stands on all the others.
  EXPECT_EQ(SeriesOf<TCustomBarSeries>(*bars, kCount - 1).StackOrigin(1), 3.0 * (kCount - 1));
  std::unique_ptr<TChart> areas = ManySeriesChart("TAreaSeries", kCount, true, "MultiArea = maStacked100");
  ASSERT_NE(areas, nullptr);
  ExpectBoundedPaint(*areas, "10,000 stacked areas in 3D", 1);
  EXPECT_EQ(SeriesOf<TAreaSeries>(*areas, kCount - 1).StackOrigin(1, true), 3.0 * kCount);
  EXPECT_EQ(areas->MaxDepthSlot(), 0);
}

// Without a group every pie takes a slab of its own in 3D.
TEST(ExtremeData, TenThousandPieSeriesReadAndPaint) {
  constexpr int kCount = 10000;
  for (const bool view3D : {false, true}) {
    std::unique_ptr<TChart> chart = ManySeriesChart("TPieSeries", kCount, view3D);
    ASSERT_NE(chart, nullptr);
    ExpectBoundedPaint(*chart, std::string("10,000 pies") + (view3D ? " (3D)" : " (2D)"), 1);
    EXPECT_EQ(chart->MaxDepthSlot(), view3D ? kCount - 1 : 0);
  }
}

}  // namespace
}  // namespace tarvela::extreme
