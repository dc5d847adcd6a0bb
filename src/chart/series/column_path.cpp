// A solid one-pixel line leaves out only its end pixel, and the next segment starts
// there; so the segments of the points that share a pixel column light exactly the
// column's span from the lowest to the highest of them, plus what the segments into
// and out of the column light. The path through the column's first point, its two
// extremes in the order they come and its last point lights the same pixels: a
// column of a hundred points costs four vertices. The last column is kept whole, as
// nothing follows to light its end pixel.
//
// Only the pixel columns are mapped, a few points each (a run's end is found from a
// guess, by galloping, then halving); the values in between are only compared.

#include "tarvela/chart/series/column_path.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <span>

#include "tarvela/chart/axes/axis.h"

namespace tarvela {

namespace {

// Pixels outside this range would overflow the 16-bit coordinates of the raster calls.
constexpr int kPixelLimit = 32766;

bool FitsPixelRange(int value) { return value >= -kPixelLimit && value <= kPixelLimit; }

// Read values equal the stored ones, X order makes each column one run, and the ends
// map in order within the pixel range.
bool ColumnPathApplies(const TChartSeries& series, int first, int last) {
  const TChartValueList& xList = series.XValues();
  const TChartValueList& yList = series.YValues();
  const TChartAxis* horizAxis = series.GetHorizAxis();
  const TChartAxis* vertAxis = series.GetVertAxis();
  if (horizAxis == nullptr || vertAxis == nullptr || first < 0 || last <= first || xList.Multiplier() != 1.0 ||
      yList.Multiplier() != 1.0 || !xList.KnownInOrder() || static_cast<std::size_t>(last) >= yList.StoredValues().size() ||
      static_cast<std::size_t>(last) >= xList.StoredValues().size()) {
    return false;
  }
  return horizAxis->MapsInOrder(series.XValueAt(first), series.XValueAt(last)) &&
         FitsPixelRange(series.PointXPixel(first)) && FitsPixelRange(series.PointXPixel(last));
}

// The last index of the run of points from i that lie in pixel column column. The run
// is guessed as long as the one before (hint points), and the guess checked; from there
// a gallop finds a point on the other side of the run's end, and halving the end, so
// that a run costs the logarithm of how far the guess was off. Each probe reads an X
// value far from the last one read: probing near the guess keeps those few.
int ColumnRunEnd(const TChartSeries& series, int i, int last, int column, int hint) {
  int inside = i;
  int outside = last + 1;
  const int guess = static_cast<int>(std::min<long long>(static_cast<long long>(i) + std::max(hint, 1) - 1, last));
  if (guess > i && series.PointXPixel(guess) != column) {
    outside = guess;
    for (long long step = 1;; step *= 2) {
      const long long probe = outside - step;
      if (probe <= inside) break;
      if (series.PointXPixel(static_cast<int>(probe)) == column) {
        inside = static_cast<int>(probe);
        break;
      }
      outside = static_cast<int>(probe);
    }
  } else {
    inside = guess;
    for (long long step = 1;; step *= 2) {
      const long long probe = inside + step;
      if (probe >= outside) break;
      if (series.PointXPixel(static_cast<int>(probe)) != column) {
        outside = static_cast<int>(probe);
        break;
      }
      inside = static_cast<int>(probe);
    }
  }
  while (outside - inside > 1) {
    const int middle = inside + (outside - inside) / 2;
    (series.PointXPixel(middle) == column ? inside : outside) = middle;
  }
  return inside;
}

// The lowest and highest of values[from..to], each at its first index, and whether all
// are finite. One chain of compares would wait on each compare before the next; four
// lanes over interleaved values run four chains at once (and the compiler may keep them
// in one vector register). Then the first index of each extreme is looked for in the
// run, which the first pass has just brought into the cache.
struct Extremes {
  double low, high;
  std::size_t lowAt, highAt;
  bool finite;
};

Extremes ScanExtremes(std::span<const double> values, std::size_t from, std::size_t to) {
  constexpr std::size_t kLanes = 4;
  std::array<double, kLanes> low, high;
  low.fill(values[from]);
  high.fill(values[from]);
  // v - v is 0 for a finite value and NaN for any other, so these stay 0 only while all
  // values are finite (in adds the lanes can make at once, unlike a test per value).
  std::array<double, kLanes> bad{};
  std::size_t j = from;
  for (; j + kLanes <= to + 1; j += kLanes) {
    for (std::size_t k = 0; k < kLanes; ++k) {
      const double v = values[j + k];
      low[k] = v < low[k] ? v : low[k];
      high[k] = v > high[k] ? v : high[k];
      bad[k] += v - v;
    }
  }
  for (; j <= to; ++j) {
    const double v = values[j];
    low[0] = v < low[0] ? v : low[0];
    high[0] = v > high[0] ? v : high[0];
    bad[0] += v - v;
  }
  Extremes result{low[0], high[0], to + 1, to + 1, bad[0] == 0};
  for (std::size_t k = 1; k < kLanes; ++k) {
    result.low = std::min(result.low, low[k]);
    result.high = std::max(result.high, high[k]);
    result.finite = result.finite && bad[k] == 0;
  }
  if (!result.finite) return result;
  for (std::size_t i = from; i <= to && (result.lowAt > to || result.highAt > to); ++i) {
    if (result.lowAt > to && values[i] == result.low) result.lowAt = i;
    if (result.highAt > to && values[i] == result.high) result.highAt = i;
  }
  return result;
}

}  // namespace

bool ColumnReducedIndexes(const TChartSeries& series, int first, int last, std::vector<int>& indexes) {
  const std::span<const double> ys = series.YValues().StoredValues();
  const std::span<const double> xs = series.XValues().StoredValues();
  const TChartAxis* vertAxis = series.GetVertAxis();
  if (!ColumnPathApplies(series, first, last)) return false;
  indexes.clear();
  const auto add = [&indexes](std::size_t i) {
    if (indexes.empty() || indexes.back() != static_cast<int>(i)) indexes.push_back(static_cast<int>(i));
  };
  double lowest = ys[static_cast<std::size_t>(first)];
  double highest = lowest;
  int runLength = 1;
  for (int i = first; i <= last;) {
    const int column = series.PointXPixel(i);
    const int end = ColumnRunEnd(series, i, last, column, runLength);
    runLength = end - i + 1;
    // The next column's guess reads this X value: fetched while this run is scanned.
    if (static_cast<std::size_t>(end) + static_cast<std::size_t>(runLength) < xs.size()) {
      __builtin_prefetch(&xs[static_cast<std::size_t>(end) + static_cast<std::size_t>(runLength)]);
    }
    const Extremes run = ScanExtremes(ys, static_cast<std::size_t>(i), static_cast<std::size_t>(end));
    if (!run.finite) return false;
    lowest = std::min(lowest, run.low);
    highest = std::max(highest, run.high);
    if (end == last) {
      for (int j = i; j <= end; ++j) add(static_cast<std::size_t>(j));
    } else {
      add(static_cast<std::size_t>(i));
      add(std::min(run.lowAt, run.highAt));
      add(std::max(run.lowAt, run.highAt));
      add(static_cast<std::size_t>(end));
    }
    i = end + 1;
  }
  return vertAxis->MapsInOrder(lowest, highest) &&
         FitsPixelRange(vertAxis->ValueToPixel(lowest)) && FitsPixelRange(vertAxis->ValueToPixel(highest));
}

bool ColumnReducedPath(const TChartSeries& series, int first, int last, std::vector<TPoint>& path) {
  thread_local std::vector<int> indexes;
  if (!ColumnReducedIndexes(series, first, last, indexes)) return false;
  path.clear();
  for (const int i : indexes) {
    const TPoint p{series.PointXPixel(i), series.PointYPixel(i)};
    if (path.empty() || path.back() != p) path.push_back(p);
  }
  return true;
}

// [SECTION] Lines in point colours
//
// Drawn in order, a pixel takes the colour of the last segment that lights it. Within a
// pixel column the segments are vertical runs, and a chain of them without a null point
// lights every pixel from its lowest to its highest point, but perhaps its own last
// point's, which the segment ending there leaves out. Read backwards from a column's
// last point, the chain read so far is such a chain: once its last point's pixel is lit
// by one of its segments, a segment starting at a value between the chain's lowest and
// highest (value order being pixel order) lights nothing they do not light again later,
// and is left out without mapping its point. The segments between columns, and those
// that leave the chain's range, are kept. Only values are compared for the points left
// out: a column of many points costs about as many mappings as it has new extremes.

bool ColumnReducedColoredPath(const TChartSeries& series, int first, int last, std::vector<TPoint>& path,
                              std::vector<TColor>& colors) {
  const std::span<const double> ys = series.YValues().StoredValues();
  const TChartAxis* vertAxis = series.GetVertAxis();
  if (!ColumnPathApplies(series, first, last)) return false;
  // Every value finite and the extremes mapped in order within the pixel range: then
  // every point fits it, and comparing values compares pixels.
  double lowest = ys[static_cast<std::size_t>(first)];
  double highest = lowest;
  bool finite = true;
  for (std::size_t j = static_cast<std::size_t>(first); j <= static_cast<std::size_t>(last); ++j) {
    const double v = ys[j];
    finite &= std::isfinite(v);
    lowest = std::min(lowest, v);
    highest = std::max(highest, v);
  }
  if (!finite || !vertAxis->MapsInOrder(lowest, highest) || !FitsPixelRange(vertAxis->ValueToPixel(lowest)) ||
      !FitsPixelRange(vertAxis->ValueToPixel(highest))) {
    return false;
  }

  // The pixel columns, as runs of indexes.
  struct Run {
    int start;
    int end;
    int column;
  };
  std::vector<Run> runs;
  for (int i = first; i <= last;) {
    const int column = series.PointXPixel(i);
    const int inside = ColumnRunEnd(series, i, last, column, runs.empty() ? 1 : runs.back().end - runs.back().start + 1);
    runs.push_back({i, inside, column});
    i = inside + 1;
  }

  // Built backwards: each vertex with the colour of the segment arriving at it.
  path.clear();
  colors.clear();
  int tail = -1;  // the point path.back() stands for
  const auto keep = [&](int k, TPoint from, TPoint to, TColor color) {
    if (tail == k) {
      colors.back() = color;
    } else {
      path.push_back(to);
      colors.push_back(color);
    }
    path.push_back(from);
    colors.push_back(clNone);
    tail = k - 1;
  };
  for (std::size_t r = runs.size(); r-- > 0;) {
    const Run& run = runs[r];
    bool chain = false;
    bool endLit = false;
    int endPixel = 0;
    double low = 0, high = 0;
    int known = -1;  // the point whose pixel knownPixel is
    int knownPixel = 0;
    TColor color = series.PointColor(run.end);
    for (int k = run.end; k > run.start; --k) {
      const TColor before = series.PointColor(k - 1);
      const TColor arriving = color;
      color = before;
      if (arriving == clNone || before == clNone) {
        chain = false;
        continue;
      }
      const double from = ys[static_cast<std::size_t>(k - 1)];
      if (chain && endLit && low <= from && from <= high) continue;
      const int toPixel = known == k ? knownPixel : series.PointYPixel(k);
      const int fromPixel = series.PointYPixel(k - 1);
      known = k - 1;
      knownPixel = fromPixel;
      if (!chain) {
        chain = true;
        endLit = false;
        endPixel = toPixel;
        low = high = ys[static_cast<std::size_t>(k)];
      }
      low = std::min(low, from);
      high = std::max(high, from);
      if (fromPixel == toPixel) continue;
      if (fromPixel < toPixel ? fromPixel <= endPixel && endPixel < toPixel : toPixel < endPixel && endPixel <= fromPixel) {
        endLit = true;
      }
      keep(k, {run.column, fromPixel}, {run.column, toPixel}, arriving);
    }
    // The segment arriving from the column before.
    const Run* previous = r > 0 ? &runs[r - 1] : nullptr;
    if (previous != nullptr && color != clNone && series.PointColor(previous->end) != clNone) {
      keep(run.start, {previous->column, series.PointYPixel(previous->end)},
           {run.column, known == run.start ? knownPixel : series.PointYPixel(run.start)}, color);
    }
  }
  std::reverse(path.begin(), path.end());
  std::reverse(colors.begin(), colors.end());
  return true;
}

}  // namespace tarvela
