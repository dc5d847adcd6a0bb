#pragma once
// What the benchmark programs that draw share: their main (the application object
// first, since fonts and images need it, no window shown; then the program's own set-up;
// then the benchmarks), and the timing of two drawings back to back in one iteration.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <functional>

#include "tarvela/widgets/application.h"

namespace tarvela {

using Clock = std::chrono::steady_clock;

inline double Seconds(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double>(to - from).count();
}

// The mean milliseconds of the chart and of the plain drawing it is measured against,
// and their ratio.
inline void SetChartAgainstPlain(benchmark::State& state, double chartSeconds, double plainSeconds) {
  const auto n = static_cast<double>(state.iterations());
  state.counters["chart_ms"] = chartSeconds / n * 1e3;
  state.counters["plain_ms"] = plainSeconds / n * 1e3;
  state.counters["ratio"] = chartSeconds / plainSeconds;
}

inline int RunQtBenchmarks(int argc, char** argv, const std::function<void()>& setUp = {}) {
  if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr)
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
  TApplication app(argc, argv);
  if (setUp) setUp();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

}  // namespace tarvela
