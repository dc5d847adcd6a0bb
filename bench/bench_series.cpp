// The data side of series: appending points in X order against plain vectors,
// inserting out of order, refreshing the statistics, and the memory a point costs.
// Targets are ratios against the baseline measured in the same run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <numeric>
#include <random>
#include <vector>

#include "tarvela/chart/chart.h"
#include "tarvela/chart/series/line_series.h"

namespace {

using tarvela::TColor;

constexpr int kAppendPoints = 1'000'000;

// What a point carries: an X in order, a Y and a colour of its own.
double YOf(int i) { return static_cast<double>(i % 977) * 0.5; }
TColor ColorOf(int i) { return static_cast<TColor>(i & 0xFFFF); }

// The same values pushed into three plain vectors, no reserve, as a series grows.
struct PlainPoints {
  std::vector<double> x, y;
  std::vector<TColor> colors;
  void Fill(int count) {
    for (int i = 0; i < count; ++i) {
      x.push_back(i);
      y.push_back(YOf(i));
      colors.push_back(ColorOf(i));
    }
  }
  std::size_t Bytes() const {
    return x.capacity() * sizeof(double) + y.capacity() * sizeof(double) + colors.capacity() * sizeof(TColor);
  }
};

void FillSeries(tarvela::TLineSeries& series, int count) {
  for (int i = 0; i < count; ++i) series.AddPointXY(i, YOf(i), "", ColorOf(i));
}

void BM_AppendPlainVectors(benchmark::State& state) {
  std::size_t bytes = 0;
  for (auto _ : state) {
    PlainPoints points;
    points.Fill(kAppendPoints);
    benchmark::DoNotOptimize(points.x.data());
    bytes = points.Bytes();
  }
  state.counters["bytes_per_point"] = static_cast<double>(bytes) / kAppendPoints;
  state.SetItemsProcessed(state.iterations() * kAppendPoints);
}
BENCHMARK(BM_AppendPlainVectors)->Unit(benchmark::kMillisecond);

void BM_AppendLineSeries(benchmark::State& state) {
  std::size_t bytes = 0;
  for (auto _ : state) {
    tarvela::TLineSeries series(nullptr);
    FillSeries(series, kAppendPoints);
    benchmark::DoNotOptimize(&series);
    bytes = series.AllocatedBytes();
  }
  state.counters["bytes_per_point"] = static_cast<double>(bytes) / kAppendPoints;
  state.SetItemsProcessed(state.iterations() * kAppendPoints);
}
BENCHMARK(BM_AppendLineSeries)->Unit(benchmark::kMillisecond);

// With a chart, so every add also asks it to repaint (nothing hosts it).
void BM_AppendLineSeriesInChart(benchmark::State& state) {
  for (auto _ : state) {
    tarvela::TComponent form(nullptr);
    tarvela::TChart chart(&form);
    auto* series = new tarvela::TLineSeries(&form);
    series->SetParentChart(&chart);
    FillSeries(*series, kAppendPoints);
    benchmark::DoNotOptimize(series);
  }
  state.SetItemsProcessed(state.iterations() * kAppendPoints);
}
BENCHMARK(BM_AppendLineSeriesInChart)->Unit(benchmark::kMillisecond);

// Both fills timed back to back in every iteration, so that drift of the machine
// hits both alike; the counters give the mean times and their ratio.
void BM_AppendRatio(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  double plainSeconds = 0, seriesSeconds = 0;
  for (auto _ : state) {
    auto t0 = Clock::now();
    {
      PlainPoints points;
      points.Fill(kAppendPoints);
      benchmark::DoNotOptimize(points.x.data());
    }
    auto t1 = Clock::now();
    {
      tarvela::TLineSeries series(nullptr);
      FillSeries(series, kAppendPoints);
      benchmark::DoNotOptimize(&series);
    }
    auto t2 = Clock::now();
    plainSeconds += std::chrono::duration<double>(t1 - t0).count();
    seriesSeconds += std::chrono::duration<double>(t2 - t1).count();
  }
  const auto n = static_cast<double>(state.iterations());
  state.counters["plain_ms"] = plainSeconds / n * 1e3;
  state.counters["series_ms"] = seriesSeconds / n * 1e3;
  state.counters["ratio"] = seriesSeconds / plainSeconds;
}
BENCHMARK(BM_AppendRatio)->Unit(benchmark::kMillisecond);

// 100,000 points whose X come in random order: each is placed by a search and
// moves the values after it.
void BM_OutOfOrderInserts(benchmark::State& state) {
  constexpr int kInserts = 100'000;
  std::vector<double> xs(kInserts);
  std::iota(xs.begin(), xs.end(), 0.0);
  std::shuffle(xs.begin(), xs.end(), std::mt19937(42));
  for (auto _ : state) {
    tarvela::TLineSeries series(nullptr);
    for (int i = 0; i < kInserts; ++i) series.AddPointXY(xs[static_cast<std::size_t>(i)], i, "", ColorOf(i));
    benchmark::DoNotOptimize(&series);
  }
  state.SetItemsProcessed(state.iterations() * kInserts);
}
BENCHMARK(BM_OutOfOrderInserts)->Unit(benchmark::kMillisecond);

// The same inserts into plain vectors, each placed by a binary search.
void BM_OutOfOrderInsertsPlainVectors(benchmark::State& state) {
  constexpr int kInserts = 100'000;
  std::vector<double> xs(kInserts);
  std::iota(xs.begin(), xs.end(), 0.0);
  std::shuffle(xs.begin(), xs.end(), std::mt19937(42));
  for (auto _ : state) {
    PlainPoints points;
    for (int i = 0; i < kInserts; ++i) {
      double x = xs[static_cast<std::size_t>(i)];
      auto at = std::upper_bound(points.x.begin(), points.x.end(), x) - points.x.begin();
      points.x.insert(points.x.begin() + at, x);
      points.y.insert(points.y.begin() + at, i);
      points.colors.insert(points.colors.begin() + at, ColorOf(i));
    }
    benchmark::DoNotOptimize(points.x.data());
  }
  state.SetItemsProcessed(state.iterations() * kInserts);
}
BENCHMARK(BM_OutOfOrderInsertsPlainVectors)->Unit(benchmark::kMillisecond);

// One recomputation of the four statistics over 1,000,000 values; Arg 1 with the
// Multiplier 1 shortcut, Arg 0 with Multiplier 2.
void BM_StatisticsRefresh(benchmark::State& state) {
  tarvela::TLineSeries series(nullptr);
  FillSeries(series, kAppendPoints);
  tarvela::TChartValueList& y = series.YValues();
  if (state.range(0) == 0) y.SetMultiplier(2);
  const double first = y.ValueAt(0) / y.Multiplier();
  for (auto _ : state) {
    y.SetValueAt(0, first);  // marks the statistics dirty
    benchmark::DoNotOptimize(y.MaximumValue());
  }
  state.SetItemsProcessed(state.iterations() * kAppendPoints);
}
BENCHMARK(BM_StatisticsRefresh)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
