#pragma once
/// Makes the chart engine's component classes known to the class registry, so that
/// a form description can create them by name, and fills the catalogue of series types
/// (series_types.h). Start-up calls it once, after the runtime's own registration;
/// calling it again is harmless.
/// @file
#include <string_view>

namespace tarvela {

void RegisterChartClasses();

/// Whether RegisterChartClasses registers className (letter case ignored): the chart,
/// the series and the functions, and nothing of the windowing layer or the program.
bool IsChartClass(std::string_view className);

}  // namespace tarvela
