// The rubber band of a zoom drag on the main form's chart after one graph press: one
// mouse move as the window sees it (the move, then the window's paint, which draws the
// band into the chart's buffer in not-xor, the band the buffer held taken off and the
// new one put on, and copies the buffer) against a plain copy of
// an image of the same size with QPainter. Both are timed back to back in every
// iteration, so that drift of the machine hits them alike; the counters give the mean
// microseconds and the ratio.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <chrono>
#include <cstdlib>
#include <memory>

#include "app/form1.h"
#include "qt_bench_main.h"
#include "tarvela/chart/chart.h"
#include "tarvela/widgets/application.h"
#include "tarvela/widgets/qt_surface.h"

namespace tarvela {
namespace {

std::unique_ptr<TForm1> GraphedForm() {
  auto form = std::make_unique<TForm1>(nullptr, [] { return LocaleSettings::Dot(); });
  form->Edit1->SetText("1");
  form->Edit2->SetText("0");
  form->Button1->Click();
  form->BitBtn1->Click();
  return form;
}

// range(0): 0 the band alone over a clean buffer, 1 with a paint during the drag, so
// that every move also takes the buffer's band off; 2 no drag at all, the window's
// paint copying the buffer only (what the window path costs before any band).
void BM_ZoomBandMove(benchmark::State& state) {
  auto form = GraphedForm();
  TChart& chart = *form->Chart1;
  QImage window(chart.Width(), chart.Height(), QImage::Format_RGB32);
  QImage plainWindow(chart.Width(), chart.Height(), QImage::Format_RGB32);
  QImage plainBuffer(chart.Width(), chart.Height(), QImage::Format_RGB32);
  plainBuffer.fill(Qt::white);
  {
    QtSurface surface(window);
    chart.Paint(surface);
  }
  const TRect plot = chart.PlotRect();
  const int x0 = plot.left + 20, y0 = plot.top + 20;
  if (state.range(0) != 2) chart.MouseDown(mbLeft, 0, x0, y0);
  chart.MouseMove(0, plot.right - 40, plot.bottom - 40);
  if (state.range(0) == 1) {
    chart.Invalidate();
    QtSurface surface(window);
    chart.Paint(surface);
  }
  double moveSeconds = 0, copySeconds = 0;
  int step = 0;
  for (auto _ : state) {
    // A hand moves the band's far corner a pixel or two at a time.
    const int x1 = plot.right - 30 - step % 20, y1 = plot.bottom - 30 - step % 15;
    ++step;
    const auto t0 = Clock::now();
    {
      QPainter painter(&plainWindow);
      painter.setCompositionMode(QPainter::CompositionMode_Source);
      painter.drawImage(0, 0, plainBuffer);
    }
    const auto t1 = Clock::now();
    chart.MouseMove(0, x1, y1);
    {
      QtSurface surface(window);
      chart.Paint(surface);
    }
    const auto t2 = Clock::now();
    copySeconds += Seconds(t0, t1);
    moveSeconds += Seconds(t1, t2);
  }
  chart.MouseUp(mbLeft, 0, x0, y0);
  benchmark::DoNotOptimize(window.constBits());
  benchmark::DoNotOptimize(plainWindow.constBits());
  const auto n = static_cast<double>(state.iterations());
  state.counters["move_us"] = moveSeconds / n * 1e6;
  state.counters["copy_us"] = copySeconds / n * 1e6;
  state.counters["ratio"] = moveSeconds / copySeconds;
}
BENCHMARK(BM_ZoomBandMove)->ArgName("buffer_band")->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tarvela

int main(int argc, char** argv) { return tarvela::RunQtBenchmarks(argc, argv); }
