// The points a pixel column's path needs, against a plain reading of the rule: per
// column its first point, the first of its lowest and the first of its highest values
// in index order, its last point; the last column whole. Runs of every length meet the
// scan's lanes and its tail, and values repeat so that ties decide.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "axis_test_rig.h"
#include "tarvela/chart/series/column_path.h"

namespace tarvela::test {
namespace {

std::vector<int> ExpectedIndexes(const TChartSeries& series, int first, int last) {
  std::vector<int> indexes;
  const auto add = [&](int i) {
    if (indexes.empty() || indexes.back() != i) indexes.push_back(i);
  };
  for (int start = first; start <= last;) {
    int end = start;
    while (end < last && series.PointXPixel(end + 1) == series.PointXPixel(start)) ++end;
    int low = start, high = start;
    for (int j = start; j <= end; ++j) {
      if (series.YValueAt(j) < series.YValueAt(low)) low = j;
      if (series.YValueAt(j) > series.YValueAt(high)) high = j;
    }
    if (end == last) {
      for (int j = start; j <= end; ++j) add(j);
    } else {
      for (const int j : {start, std::min(low, high), std::max(low, high), end}) add(j);
    }
    start = end + 1;
  }
  return indexes;
}

TEST(ColumnPath, IndexesAreEachColumnsEntryExtremesAndExit) {
  std::mt19937 random(3);
  for (int round = 0; round < 30; ++round) {
    SCOPED_TRACE(round);
    AxisRig rig;
    TLineSeries& series = *rig.Line();
    // Columns of 1 to 40 points: X steps of a few hundredths of a pixel to a pixel.
    double x = 0;
    const int levels = 2 + round % 7;  // few values: many ties
    for (int i = 0; i < 3000; ++i) {
      x += std::uniform_real_distribution<>(0.0005, 0.02)(random);
      series.AddPointXY(x, std::uniform_int_distribution<>(0, levels)(random));
    }
    AxisRig::Lay(rig.chart.BottomAxis(), 0, x);
    AxisRig::Lay(rig.chart.LeftAxis(), -1, levels + 1);
    const int first = round, last = series.PointCount() - 1 - round;
    std::vector<int> indexes;
    ASSERT_TRUE(ColumnReducedIndexes(series, first, last, indexes));
    EXPECT_EQ(indexes, ExpectedIndexes(series, first, last));
    EXPECT_LT(indexes.size(), 2000u);  // the columns did reduce

    // A value that is not finite anywhere makes the path unusable.
    const double bad = round % 3 == 0 ? std::numeric_limits<double>::quiet_NaN()
                                      : (round % 3 == 1 ? 1 : -1) * std::numeric_limits<double>::infinity();
    const int at = std::uniform_int_distribution<>(first, last)(random);
    series.YValues().SetValueAt(at, bad);
    EXPECT_FALSE(ColumnReducedIndexes(series, first, last, indexes));
  }
}

}  // namespace
}  // namespace tarvela::test
