#include "chart/chart_registration.h"

#include "chart/basic_functions.h"
#include "chart/chart.h"
#include "chart/line_series.h"
#include "runtime/class_registry.h"

namespace tarvela {

void RegisterChartClasses() {
  // The registry creates components only. TChartGradient, TChartWall and TChartTitle
  // are sub-objects a chart owns and creates itself; a description reaches them
  // through the chart's properties (Gradient, BackWall, Title), never by class name.
  // The same holds for a series' value lists, marks and pointer.
  ClassRegistry::Instance().Register<TChart>("TChart");
  ClassRegistry::Instance().Register<TLineSeries>("TLineSeries");
  ClassRegistry::Instance().Register<TAddZavFunction>("TAddZavFunction");
  ClassRegistry::Instance().Register<TSubtractZavFunction>("TSubtractZavFunction");
  ClassRegistry::Instance().Register<TMultiplyZavFunction>("TMultiplyZavFunction");
  ClassRegistry::Instance().Register<TDivideZavFunction>("TDivideZavFunction");
  ClassRegistry::Instance().Register<THighZavFunction>("THighZavFunction");
  ClassRegistry::Instance().Register<TLowZavFunction>("TLowZavFunction");
  ClassRegistry::Instance().Register<TAverageZavFunction>("TAverageZavFunction");
}

}  // namespace tarvela
