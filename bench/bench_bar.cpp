// Painting a bar series of 100,000 points in 2D on the main form's 465 x 337 chart,
// against the least any drawing of those bars must do: one QPainter::fillRect per bar
// on the same rectangles (taken from the series after a paint), into a buffer that is
// then copied to the target, as the chart paints into its buffer and copies it. Both
// are timed back to back in every iteration, so that drift of the machine hits them
// alike; the counters give the mean milliseconds and the ratio (target: under 3).
#include <benchmark/benchmark.h>

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <random>
#include <vector>

#include "qt_bench_main.h"
#include "tarvela/chart/chart.h"
#include "tarvela/chart/series/bar_series.h"
#include "tarvela/widgets/application.h"
#include "tarvela/widgets/qt_surface.h"

namespace tarvela {
namespace {

constexpr int kBars = 100'000;

// The rectangle each bar covers, right and bottom edges excluded as the chart draws it.
std::vector<QRect> BarRectangles(const TBarSeries& series) {
  std::vector<QRect> rects;
  rects.reserve(static_cast<std::size_t>(series.PointCount()));
  for (int i = 0; i < series.PointCount(); ++i) {
    const int left = series.PointXPixel(i);
    const int value = series.PointYPixel(i);
    const int base = series.BaselinePos(i);
    rects.emplace_back(left, std::min(value, base), series.BarSize(), std::abs(base - value));
  }
  return rects;
}

// Bars 2 pixels wide (the automatic width of 100,000 points on 465 pixels is 0, a
// line per bar), Y a random walk kept positive; the same walk for every run.
void BM_BarSeries100k(benchmark::State& state) {
  TChart chart(nullptr);
  chart.SetBounds(0, 0, 465, 337);
  chart.SetView3D(false);
  auto* series = new TBarSeries(&chart);
  series->SetParentChart(&chart);
  series->Marks().SetVisible(false);
  series->SetCustomBarWidth(2);
  std::mt19937 random(12345);
  std::normal_distribution<double> step(0.0, 1.0);
  double y = 100;
  for (int i = 0; i < kBars; ++i) {
    y = std::max(1.0, y + step(random));
    series->AddPointXY(i, y);
  }

  QImage chartTarget(chart.Width(), chart.Height(), QImage::Format_RGB32);
  QImage plainTarget(chart.Width(), chart.Height(), QImage::Format_RGB32);
  QImage plainBuffer(chart.Width(), chart.Height(), QImage::Format_RGB32);
  double chartSeconds = 0;
  double plainSeconds = 0;
  {
    QtSurface surface(chartTarget);
    // One paint settles the layout the rectangles are read from.
    chart.PaintChart(surface, chart.ClientRect());
    const std::vector<QRect> rects = BarRectangles(*series);
    const QColor colour(Qt::red);
    for (auto _ : state) {
      const auto t0 = Clock::now();
      {
        QPainter painter(&plainBuffer);
        painter.fillRect(plainBuffer.rect(), Qt::white);
        for (const QRect& rect : rects) painter.fillRect(rect, colour);
      }
      {
        QPainter copy(&plainTarget);
        copy.drawImage(0, 0, plainBuffer);
      }
      const auto t1 = Clock::now();
      chart.PaintChart(surface, chart.ClientRect());
      const auto t2 = Clock::now();
      plainSeconds += Seconds(t0, t1);
      chartSeconds += Seconds(t1, t2);
    }
  }
  benchmark::DoNotOptimize(chartTarget.constBits());
  benchmark::DoNotOptimize(plainTarget.constBits());
  SetChartAgainstPlain(state, chartSeconds, plainSeconds);
}
BENCHMARK(BM_BarSeries100k)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarvela

int main(int argc, char** argv) { return tarvela::RunQtBenchmarks(argc, argv); }
