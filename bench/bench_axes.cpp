// The layout of the form's chart after compute and graph (22 series, the left and
// bottom axes shown): depth slots, axis scales, the box depth, the room of both axes
// with their labels measured, the series depths and margins. Against the baseline of
// measuring, in the labels' font with the same canvas, every text the two axes format
// in a paint (the labels drawn and the limits measured for the label step). The
// layout is meant to cost about a handful of text measurements per axis, not more.
// Both are timed back to back in every iteration, so that drift of the machine hits
// both alike; the counters give the means and the ratio.
#include <benchmark/benchmark.h>

#include <QImage>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/form1.h"
#include "tarvela/widgets/application.h"
#include "tarvela/widgets/qt_surface.h"
#include "tarvela/runtime/rounding.h"
#include "qt_bench_main.h"

namespace {

using Clock = std::chrono::steady_clock;

tarvela::TForm1* g_form = nullptr;

double Seconds(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double>(to - from).count();
}

// The form's chart measuring on an image of its size between paints, as during one.
class LayoutRig {
 public:
  LayoutRig() : m_image(Chart().Width(), Chart().Height(), QImage::Format_RGB32), m_surface(m_image) {
    tarvela::TChart& chart = Chart();
    // A real paint first: the axes then hold the pixel spans of the last paint, which
    // the label room is measured with, as in the program.
    chart.PaintChart(m_surface, chart.ClientRect());
    chart.OnGetAxisLabel = [this](tarvela::TCustomChartAxis*, tarvela::TChartSeries*, int, std::string& text) {
      if (std::find(m_labels.begin(), m_labels.end(), text) == m_labels.end()) m_labels.push_back(text);
    };
    chart.PaintChart(m_surface, chart.ClientRect());
    chart.OnGetAxisLabel = nullptr;

    chart.Canvas().AttachSurface(&m_surface);
    // The plot as the paint starts it, then narrowed by the titles.
    const tarvela::TRect paint = chart.PaintRect();
    const int w = paint.Width();
    const int h = paint.Height();
    const int border = chart.BorderWidth();
    chart.SetPlotRect({paint.left + border + tarvela::MulDiv(chart.MarginLeft(), w, 100),
                       paint.top + border + tarvela::MulDiv(chart.MarginTop(), h, 100),
                       paint.right - border - tarvela::MulDiv(chart.MarginRight(), w, 100),
                       paint.bottom - border - tarvela::MulDiv(chart.MarginBottom(), h, 100)});
    chart.NormalizePlotRect();
    chart.PlaceTitlesAndLegend();
    m_afterTitles = chart.PlotRect();
    Layout();
    m_laidOut = chart.PlotRect();
  }
  ~LayoutRig() { Chart().Canvas().AttachSurface(nullptr); }
  LayoutRig(const LayoutRig&) = delete;
  LayoutRig& operator=(const LayoutRig&) = delete;

  static tarvela::TChart& Chart() { return *g_form->Chart1; }

  // Steps 4 to 7 of a paint, from the plot the titles leave.
  void Layout() {
    tarvela::TChart& chart = Chart();
    chart.SetPlotRect(m_afterTitles);
    chart.NormalizePlotRect();
    chart.AssignDepthSlots();
    chart.LayoutAxes();
    chart.SetSeriesDepths();
    chart.FitSeriesMargins();
  }

  // Every label text of both axes in the labels' font, and the line height that the
  // labels along the bottom axis take.
  int MeasureLabels() {
    tarvela::TChart& chart = Chart();
    chart.ApplyChartFont(chart.LeftAxis().LabelsFont());
    int total = chart.Canvas().LineHeight();
    for (const std::string& text : m_labels) total += chart.Canvas().MeasureTextWidth(text);
    return total;
  }

  std::size_t LabelCount() const { return m_labels.size(); }
  bool SameLayout() const { return Chart().PlotRect() == m_laidOut; }

 private:
  QImage m_image;
  tarvela::QtSurface m_surface;
  std::vector<std::string> m_labels;
  tarvela::TRect m_afterTitles;
  tarvela::TRect m_laidOut;
};

void BM_FormChartLayout(benchmark::State& state) {
  LayoutRig rig;
  for (auto _ : state) rig.Layout();
  if (!rig.SameLayout()) state.SkipWithError("the layout changed between runs");
}
BENCHMARK(BM_FormChartLayout)->Unit(benchmark::kMicrosecond);

void BM_MeasureLabelTexts(benchmark::State& state) {
  LayoutRig rig;
  for (auto _ : state) benchmark::DoNotOptimize(rig.MeasureLabels());
  state.counters["labels"] = static_cast<double>(rig.LabelCount());
}
BENCHMARK(BM_MeasureLabelTexts)->Unit(benchmark::kMicrosecond);

void BM_LayoutAgainstLabelMeasuringRatio(benchmark::State& state) {
  LayoutRig rig;
  double layoutSeconds = 0, measureSeconds = 0;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    benchmark::DoNotOptimize(rig.MeasureLabels());
    const auto t1 = Clock::now();
    rig.Layout();
    const auto t2 = Clock::now();
    measureSeconds += Seconds(t0, t1);
    layoutSeconds += Seconds(t1, t2);
  }
  if (!rig.SameLayout()) state.SkipWithError("the layout changed between runs");
  const auto n = static_cast<double>(state.iterations());
  state.counters["labels"] = static_cast<double>(rig.LabelCount());
  state.counters["measure_us"] = measureSeconds / n * 1e6;
  state.counters["layout_us"] = layoutSeconds / n * 1e6;
  state.counters["ratio"] = layoutSeconds / measureSeconds;
}
BENCHMARK(BM_LayoutAgainstLabelMeasuringRatio)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  std::unique_ptr<tarvela::TForm1> form;
  return tarvela::RunQtBenchmarks(argc, argv, [&] {
    form = std::make_unique<tarvela::TForm1>(nullptr);
    g_form = form.get();
    // Compute and graph, as the command line does with --sigma 1 --second 0.
    form->Edit1->SetText("1");
    form->Edit2->SetText("0");
    form->Button1Click(nullptr);
    form->BitBtn1Click(nullptr);
  });
}
