// Number patterns: FormatLabel with any pattern and value, on a value axis and on a
// date-time axis (the program's own date-time patterns, and the locale's short
// patterns when the axis has none), in both locales; and the three pattern
// languages directly. A pattern may be refused ("Format string too long") and
// nothing else may go wrong.

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "fuzz_input.h"
#include "tarvela/chart/chart.h"
#include "tarvela/chart/chart_registration.h"
#include "tarvela/chart/series/line_series.h"
#include "tarvela/platform/recording_surface.h"
#include "tarvela/runtime/exceptions.h"
#include "tarvela/runtime/number_pattern.h"

using namespace tarvela;

namespace {

bool g_comma = false;

struct Charts {
  std::unique_ptr<TChart> chart;
  TLineSeries* series = nullptr;
};

// A chart whose bottom axis shows dates: DateTimeScale is cached by the paint, so
// the chart is painted once here.
Charts& TheChart() {
  static Charts charts = [] {
    RegisterChartClasses();
    Charts made;
    made.chart = std::make_unique<TChart>(nullptr);
    made.chart->SetBounds(0, 0, 300, 200);
    made.chart->SetLocaleProvider([] { return g_comma ? LocaleSettings::Comma() : LocaleSettings::Dot(); });
    made.series = new TLineSeries(made.chart.get());
    made.series->SetParentChart(made.chart.get());
    made.series->XValues().SetDateTime(true);
    made.series->AddPointXY(45000, 1);
    made.series->AddPointXY(45100, 2);
    RecordingSurface surface;
    made.chart->PaintChart(surface, made.chart->ClientRect());
    return made;
  }();
  return charts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  const std::uint8_t which = input.Take<std::uint8_t>();
  const double value = input.Take<double>();
  const std::string pattern(input.Rest());
  g_comma = (which & 1) != 0;
  const LocaleSettings locale = g_comma ? LocaleSettings::Comma() : LocaleSettings::Dot();
  Charts& charts = TheChart();
  TChartAxis& axis = (which & 2) != 0 ? charts.chart->BottomAxis() : charts.chart->LeftAxis();
  try {
    switch ((which >> 2) % 5) {
      case 0:
        axis.SetAxisValuesFormat(pattern);
        axis.FormatLabel(value);
        break;
      case 1:
        axis.SetDateTimeFormat(pattern);
        axis.FormatLabel(value);
        break;
      case 2: FormatFloat(pattern, value, locale); break;
      case 3: FormatDateTime(pattern, value, locale); break;
      case 4: FormatLocaleDateTime(pattern, value); break;
    }
  } catch (const EConvertError&) {
    // A pattern that is too long is refused; that is the one failure allowed.
  }
  return 0;
}
