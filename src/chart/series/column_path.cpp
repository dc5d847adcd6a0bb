// A solid one-pixel line leaves out only its end pixel, and the next segment starts
// there; so the segments of the points that share a pixel column light exactly the
// column's span from the lowest to the highest of them, plus what the segments into
// and out of the column light. The path through the column's first point, its two
// extremes in the order they come and its last point lights the same pixels: a
// column of a hundred points costs four vertices. The last column is kept whole, as
// nothing follows to light its end pixel.
//
// Only the pixel columns are mapped, a few points each (a run's end is found by
// galloping, then halving); the values in between are only compared.

#include "chart/series/column_path.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <span>

#include "chart/axes/axis.h"

namespace tarvela {

namespace {

// Pixels outside this range would overflow the 16-bit coordinates of the raster calls.
constexpr int kPixelLimit = 32766;

bool FitsPixelRange(int value) { return value >= -kPixelLimit && value <= kPixelLimit; }

}  // namespace

bool ColumnReducedPath(const TChartSeries& series, int first, int last, std::vector<TPoint>& path) {
  const TChartValueList& xList = series.XValues();
  const TChartValueList& yList = series.YValues();
  const std::span<const double> ys = yList.StoredValues();
  const TChartAxis* horizAxis = series.GetHorizAxis();
  const TChartAxis* vertAxis = series.GetVertAxis();
  // Read values equal the stored ones, and X order makes each column one run.
  if (horizAxis == nullptr || vertAxis == nullptr || first < 0 || last <= first || xList.Multiplier() != 1.0 ||
      yList.Multiplier() != 1.0 || !xList.KnownInOrder() || static_cast<std::size_t>(last) >= ys.size() ||
      static_cast<std::size_t>(last) >= xList.StoredValues().size()) {
    return false;
  }
  if (!horizAxis->MapsInOrder(series.XValueAt(first), series.XValueAt(last)) ||
      !FitsPixelRange(series.PointXPixel(first)) || !FitsPixelRange(series.PointXPixel(last))) {
    return false;
  }
  path.clear();
  const auto add = [&path](TPoint p) {
    if (path.empty() || path.back() != p) path.push_back(p);
  };
  double lowest = ys[static_cast<std::size_t>(first)];
  double highest = lowest;
  for (int i = first; i <= last;) {
    const int column = series.PointXPixel(i);
    // The run's last index: gallop, then halve.
    int inside = i;
    int outside = last + 1;
    for (long long step = 1;; step *= 2) {
      const long long probe = inside + step;
      if (probe > last) break;
      if (series.PointXPixel(static_cast<int>(probe)) != column) {
        outside = static_cast<int>(probe);
        break;
      }
      inside = static_cast<int>(probe);
    }
    while (outside - inside > 1) {
      const int middle = inside + (outside - inside) / 2;
      (series.PointXPixel(middle) == column ? inside : outside) = middle;
    }
    const int end = inside;
    // The extremes kept as values, not only as indexes: the loop reads each value once.
    std::size_t lowAt = static_cast<std::size_t>(i);
    std::size_t highAt = lowAt;
    double low = ys[lowAt];
    double high = low;
    bool finite = true;
    for (std::size_t j = lowAt; j <= static_cast<std::size_t>(end); ++j) {
      const double v = ys[j];
      finite &= std::isfinite(v);
      if (v < low) {
        low = v;
        lowAt = j;
      }
      if (v > high) {
        high = v;
        highAt = j;
      }
    }
    if (!finite) return false;
    lowest = std::min(lowest, low);
    highest = std::max(highest, high);
    if (end == last) {
      for (int j = i; j <= end; ++j) add({column, series.PointYPixel(j)});
    } else {
      add({column, series.PointYPixel(i)});
      add({column, series.PointYPixel(static_cast<int>(std::min(lowAt, highAt)))});
      add({column, series.PointYPixel(static_cast<int>(std::max(lowAt, highAt)))});
      add({column, series.PointYPixel(end)});
    }
    i = end + 1;
  }
  return vertAxis->MapsInOrder(lowest, highest) &&
         FitsPixelRange(vertAxis->ValueToPixel(lowest)) && FitsPixelRange(vertAxis->ValueToPixel(highest));
}

}  // namespace tarvela
