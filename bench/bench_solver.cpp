// One press of the compute button's work plus one report, for a few exponents.
#include <benchmark/benchmark.h>

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
    benchmark::DoNotOptimize(solver.u.data());
  }
}
BENCHMARK(BM_ComputeOnly)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
