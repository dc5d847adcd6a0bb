#include "chart/chart_registration.h"

#include "chart/chart.h"
#include "runtime/class_registry.h"

namespace tarvela {

void RegisterChartClasses() {
  // The registry creates components only. TChartGradient, TChartWall and TChartTitle
  // are sub-objects a chart owns and creates itself; a description reaches them
  // through the chart's properties (Gradient, BackWall, Title), never by class name.
  ClassRegistry::Instance().Register<TChart>("TChart");
}

}  // namespace tarvela
