#pragma once
// The main of the benchmark programs that draw: the application object first (fonts and
// images need it; no window is shown), then the program's own set-up, then the
// benchmarks.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <functional>

#include "platform/qt/application.h"

namespace tarvela {

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
