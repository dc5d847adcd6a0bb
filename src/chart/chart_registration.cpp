#include "tarvela/chart/chart_registration.h"

#include <vector>

#include "tarvela/chart/chart.h"
#include "tarvela/chart/data/basic_functions.h"
#include "tarvela/chart/series/area_series.h"
#include "tarvela/chart/series/bar_series.h"
#include "tarvela/chart/series/fast_line_series.h"
#include "tarvela/chart/series/line_series.h"
#include "tarvela/chart/series/pie_series.h"
#include "tarvela/chart/series/point_series.h"
#include "tarvela/chart/series_types.h"
#include "tarvela/runtime/class_registry.h"
#include "tarvela/runtime/identifiers.h"

namespace tarvela {

namespace {

struct ChartClass {
  const char* name;
  ClassRegistry::Factory factory;
};

template <class T>
ChartClass Entry(const char* name) {
  return {name, [](TComponent* owner) -> TComponent* { return new T(owner); }};
}

// The registry creates components only. TChartGradient, TChartWall and TChartTitle
// are sub-objects a chart owns and creates itself; a description reaches them
// through the chart's properties (Gradient, BackWall, Title), never by class name.
// The same holds for a series' value lists, marks and pointer.
const std::vector<ChartClass>& ChartClasses() {
  static const std::vector<ChartClass> classes = {
      Entry<TChart>("TChart"),
      Entry<TLineSeries>("TLineSeries"),
      Entry<TBarSeries>("TBarSeries"),
      Entry<THorizBarSeries>("THorizBarSeries"),
      Entry<TAreaSeries>("TAreaSeries"),
      Entry<TPointSeries>("TPointSeries"),
      Entry<TFastLineSeries>("TFastLineSeries"),
      Entry<TPieSeries>("TPieSeries"),
      Entry<TAddZavFunction>("TAddZavFunction"),
      Entry<TSubtractZavFunction>("TSubtractZavFunction"),
      Entry<TMultiplyZavFunction>("TMultiplyZavFunction"),
      Entry<TDivideZavFunction>("TDivideZavFunction"),
      Entry<THighZavFunction>("THighZavFunction"),
      Entry<TLowZavFunction>("TLowZavFunction"),
      Entry<TAverageZavFunction>("TAverageZavFunction"),
  };
  return classes;
}

}  // namespace

void RegisterChartClasses() {
  for (const ChartClass& entry : ChartClasses()) ClassRegistry::Instance().Register(entry.name, entry.factory);
  RegisterCatalogue();
}

bool IsChartClass(std::string_view className) {
  for (const ChartClass& entry : ChartClasses())
    if (SameIdent(entry.name, className)) return true;
  return false;
}

}  // namespace tarvela
