// One press of the compute button's work plus one report, for a few exponents; and one
// fixed-point iteration on a million intervals against what such an iteration must do.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <vector>

#include "app/report.h"
#include "app/solver.h"

namespace {

void BM_ComputeAndReport(benchmark::State& state) {
  const double sigma = static_cast<double>(state.range(0)) / 10.0;
  const tarvela::LocaleProvider locale = [] { return tarvela::LocaleSettings::Dot(); };
  tarvela::SolverState solver;
  for (auto _ : state) {
    solver.sigma = sigma;
    tarvela::ComputeLayers(solver);
    auto lines = tarvela::ReportLines(solver, locale);
    benchmark::DoNotOptimize(lines.data());
  }
}
BENCHMARK(BM_ComputeAndReport)->Arg(5)->Arg(10)->Arg(30)->Unit(benchmark::kMicrosecond);

void BM_ComputeOnly(benchmark::State& state) {
  tarvela::SolverState solver;
  for (auto _ : state) {
    solver.sigma = 1.0;
    tarvela::ComputeLayers(solver);
    benchmark::DoNotOptimize(solver.u.Layer(0));
  }
}
BENCHMARK(BM_ComputeOnly)->Unit(benchmark::kMicrosecond);

// The work one fixed-point iteration cannot do without, on n intervals: one power per
// node in the scheme's extended precision (exp(q ln p), rounded to a double), and one
// plain tridiagonal sweep in doubles with its coefficients given.
struct PicardLimit {
  explicit PicardLimit(int n)
      : values(n + 1), powers(n + 1), lower(n + 1, -1.0), diagonal(n + 1, 4.0), upper(n + 1, -1.0),
        right(n + 1, 1.0), c(n + 1), d(n + 1), x(n + 1) {
    for (int i = 0; i <= n; ++i) values[i] = 0.5 + 0.25 * std::sin(i * 1e-3);
  }
  void Run() {
    const long double q = 1.0L / 3;
    for (std::size_t i = 0; i < values.size(); ++i)
      powers[i] = static_cast<double>(std::exp(q * std::log(static_cast<long double>(values[i]))));
    const std::size_t n = values.size();
    c[0] = upper[0] / diagonal[0];
    d[0] = right[0] / diagonal[0];
    for (std::size_t i = 1; i < n; ++i) {
      const double m = diagonal[i] - lower[i] * c[i - 1];
      c[i] = upper[i] / m;
      d[i] = (right[i] + powers[i] * 1e-9 - lower[i] * d[i - 1]) / m;
    }
    x[n - 1] = d[n - 1];
    for (std::size_t i = n - 1; i-- > 0;) x[i] = d[i] - c[i] * x[i + 1];
    benchmark::DoNotOptimize(x.data());
  }
  std::vector<double> values, powers, lower, diagonal, upper, right, c, d, x;
};

double Seconds(const std::function<void()>& work) {
  double best = 1e300;
  for (int r = 0; r < 5; ++r) {
    const auto start = std::chrono::steady_clock::now();
    work();
    best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  return best;
}

// One fixed-point iteration at N intervals, and the limit above measured in the same run:
// the x_limit counter is the iteration's time over the limit's (target at most 1.5).
void BM_PicardIteration(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const double sigma = 1.0;
  PicardLimit limit(n);
  // Heat at every node, so that every node needs its power, as in the limit (a node
  // pair without heat takes none).
  const std::vector<double>& previous = limit.values;
  std::vector<double> row(n + 1), alpha(n + 1), beta(n + 1);
  const double h = 2 * (std::cbrt(2.0) + 1) / n;
  const auto iterate = [&] {
    std::copy(previous.begin(), previous.end(), row.begin());
    row[0] = row[n] = 0;
    benchmark::DoNotOptimize(tarvela::PicardIteration(sigma, 0.1 / n, h, previous.data(), row.data(), n,
                                                      alpha.data(), beta.data()));
  };
  const double limitSeconds = Seconds([&] { limit.Run(); });
  for (auto _ : state) iterate();
  const double iterationSeconds = Seconds(iterate);
  state.counters["limit_ms"] = limitSeconds * 1e3;
  state.counters["x_limit"] = iterationSeconds / limitSeconds;
}
BENCHMARK(BM_PicardIteration)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_PicardLimit(benchmark::State& state) {
  PicardLimit limit(static_cast<int>(state.range(0)));
  for (auto _ : state) limit.Run();
}
BENCHMARK(BM_PicardLimit)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
