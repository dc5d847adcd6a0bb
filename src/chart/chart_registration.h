#pragma once
// Makes the chart engine's component classes known to the class registry, so that
// a form description can create them by name. Start-up calls it once, after the
// runtime's own registration; calling it again is harmless.

namespace tarvela {

void RegisterChartClasses();

}  // namespace tarvela
