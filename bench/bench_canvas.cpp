// Painting the panel: the form's chart (465 x 337: 256-band gradient, 5-pixel bevel,
// 10-pixel ring, the title's room) drawn into its buffer and copied onto an image,
// against the plainest way to cover the same image: one QPainter::fillRect of a
// buffer of the same size plus the same copy. And a repaint of an unchanged chart,
// which must cost one copy, against a plain drawImage. Targets are the ratios, measured
// back to back in the same iteration so that drift of the machine hits both alike.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <chrono>
#include <cstdlib>
#include <memory>

#include "app/form1.h"
#include "qt_bench_main.h"
#include "tarvela/widgets/application.h"
#include "tarvela/widgets/qt_surface.h"

namespace {

using tarvela::Clock;
using tarvela::Seconds;

tarvela::TForm1* g_form = nullptr;

tarvela::TChart& Chart() { return *g_form->Chart1; }

// The baseline: a buffer of the chart's size filled in one call, then copied.
class PlainPaint {
 public:
  PlainPaint(int width, int height, QImage& target)
      : m_buffer(width, height, QImage::Format_RGB32), m_bufferPainter(&m_buffer), m_targetPainter(&target) {
    m_targetPainter.setCompositionMode(QPainter::CompositionMode_Source);
  }
  void Fill() { m_bufferPainter.fillRect(m_buffer.rect(), QColor(0, 128, 255)); }
  void Copy() { m_targetPainter.drawImage(0, 0, m_buffer); }

 private:
  QImage m_buffer;
  QPainter m_bufferPainter;
  QPainter m_targetPainter;
};

void BM_PanelPaint(benchmark::State& state) {
  tarvela::TChart& chart = Chart();
  QImage target(chart.Width(), chart.Height(), QImage::Format_RGB32);
  tarvela::QtSurface surface(target);
  for (auto _ : state) chart.PaintChart(surface, chart.ClientRect());
  benchmark::DoNotOptimize(target.constBits());
}
BENCHMARK(BM_PanelPaint)->Unit(benchmark::kMicrosecond);

void BM_PlainFillAndCopy(benchmark::State& state) {
  QImage target(465, 337, QImage::Format_RGB32);
  {
    PlainPaint plain(465, 337, target);
    for (auto _ : state) {
      plain.Fill();
      plain.Copy();
    }
  }
  benchmark::DoNotOptimize(target.constBits());
}
BENCHMARK(BM_PlainFillAndCopy)->Unit(benchmark::kMicrosecond);

// Both paints in every iteration; the counters give their mean times and the ratio.
void BM_PanelPaintRatio(benchmark::State& state) {
  tarvela::TChart& chart = Chart();
  QImage panelTarget(chart.Width(), chart.Height(), QImage::Format_RGB32);
  QImage plainTarget(chart.Width(), chart.Height(), QImage::Format_RGB32);
  double panelSeconds = 0, plainSeconds = 0;
  {
    tarvela::QtSurface surface(panelTarget);
    PlainPaint plain(chart.Width(), chart.Height(), plainTarget);
    for (auto _ : state) {
      const auto t0 = Clock::now();
      plain.Fill();
      plain.Copy();
      const auto t1 = Clock::now();
      chart.PaintChart(surface, chart.ClientRect());
      const auto t2 = Clock::now();
      plainSeconds += Seconds(t0, t1);
      panelSeconds += Seconds(t1, t2);
    }
  }
  const auto n = static_cast<double>(state.iterations());
  state.counters["plain_us"] = plainSeconds / n * 1e6;
  state.counters["panel_us"] = panelSeconds / n * 1e6;
  state.counters["ratio"] = panelSeconds / plainSeconds;
}
BENCHMARK(BM_PanelPaintRatio)->Unit(benchmark::kMicrosecond);

// A paint request while nothing changed: the buffer is copied and nothing drawn.
void BM_UnchangedRepaintRatio(benchmark::State& state) {
  tarvela::TChart& chart = Chart();
  QImage panelTarget(chart.Width(), chart.Height(), QImage::Format_RGB32);
  QImage plainTarget(chart.Width(), chart.Height(), QImage::Format_RGB32);
  double panelSeconds = 0, plainSeconds = 0;
  {
    tarvela::QtSurface surface(panelTarget);
    chart.Paint(surface);  // draws once; the canvas is clean from here on
    PlainPaint plain(chart.Width(), chart.Height(), plainTarget);
    plain.Fill();
    for (auto _ : state) {
      const auto t0 = Clock::now();
      plain.Copy();
      const auto t1 = Clock::now();
      chart.Paint(surface);
      const auto t2 = Clock::now();
      plainSeconds += Seconds(t0, t1);
      panelSeconds += Seconds(t1, t2);
    }
    if (chart.Canvas().Dirty()) state.SkipWithError("the chart was drawn again");
  }
  const auto n = static_cast<double>(state.iterations());
  state.counters["copy_us"] = plainSeconds / n * 1e6;
  state.counters["repaint_us"] = panelSeconds / n * 1e6;
  state.counters["ratio"] = panelSeconds / plainSeconds;
}
BENCHMARK(BM_UnchangedRepaintRatio)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  std::unique_ptr<tarvela::TForm1> form;
  return tarvela::RunQtBenchmarks(argc, argv, [&] {
    form = std::make_unique<tarvela::TForm1>(nullptr);
    g_form = form.get();
  });
}
