// Smooth lines against QCustomPlot's: this engine with its Antialiased setting on
// against QCustomPlot 2.1 with its antialiasing on (lines included), both drawing a
// random walk into an image, linked into bench_peers and timed as its rows are: a full
// repaint after a data change (the last point moves before every iteration, untimed),
// both back to back in an order that turns round every iteration.
//   this engine  PaintChart straight into a QImage (unbuffered), as its PNG export draws
//   QCustomPlot  rescaleAxes and toPainter into a QImage of the same size, every element
//                antialiased (QCP::aeAll)
// Rows (range(0)): 1,000,000 and 100,000 points, each at 465x337 and 1920x1080, with
// axes and a one-entry legend. Counters: this_ms, qcp_ms and ratio = this / qcp.
//
// Run: build/.../bench/bench_peers --benchmark_filter=Smooth --benchmark_repetitions=3
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <memory>
#include <random>
#include <vector>

#include <qcustomplot.h>

#include "qt_bench_main.h"
#include "tarvela/chart/chart.h"
#include "tarvela/chart/series/line_series.h"
#include "tarvela/widgets/qt_surface.h"

namespace tarvela {
namespace {

struct Walk {
  std::vector<double> x, y;
};

Walk RandomWalkOf(int points) {
  Walk walk;
  std::mt19937 random(12345);
  std::normal_distribution<double> step(0.0, 1.0);
  double y = 0;
  walk.x.reserve(static_cast<std::size_t>(points));
  walk.y.reserve(static_cast<std::size_t>(points));
  for (int i = 0; i < points; ++i) {
    walk.x.push_back(i);
    walk.y.push_back(y += step(random));
  }
  return walk;
}

std::unique_ptr<TChart> SmoothEngineChart(const Walk& walk, int width, int height) {
  auto chart = std::make_unique<TChart>(nullptr);
  chart->SetBounds(0, 0, width, height);
  chart->SetView3D(false);
  chart->SetAntialiased(true);
  chart->SetBuffered(false);
  chart->Legend().SetLegendStyle(lsSeries);
  auto* series = new TLineSeries(chart.get());
  series->SetParentChart(chart.get());
  series->SetSeriesColor(clRed);
  series->SetTitle("Series1");
  for (std::size_t i = 0; i < walk.x.size(); ++i) series->AddPointXY(walk.x[i], walk.y[i]);
  return chart;
}

std::unique_ptr<QCustomPlot> SmoothPeerChart(const Walk& walk, int width, int height) {
  auto plot = std::make_unique<QCustomPlot>();
  plot->resize(width, height);
  plot->setNotAntialiasedElements(QCP::aeNone);
  plot->setAntialiasedElements(QCP::aeAll);
  QCPGraph* graph = plot->addGraph();
  graph->setPen(QPen(Qt::red));
  graph->setName(QStringLiteral("Series1"));
  graph->setData(QVector<double>(walk.x.begin(), walk.x.end()), QVector<double>(walk.y.begin(), walk.y.end()), true);
  plot->legend->setVisible(true);
  plot->rescaleAxes();
  return plot;
}

void PaintEngine(TChart& chart, QImage& image) {
  QtSurface surface(image);
  chart.PaintChart(surface, chart.ClientRect());
}

void PaintSmoothPeer(QCustomPlot& plot, QImage& image) {
  plot.rescaleAxes();
  QCPPainter painter(&image);
  plot.toPainter(&painter, image.width(), image.height());
}

struct SmoothRow {
  int points;
  int width;
  int height;
};

const SmoothRow kSmoothRows[] = {
    {1000000, 465, 337}, {1000000, 1920, 1080}, {100000, 465, 337}, {100000, 1920, 1080}};

void BM_PeersSmooth(benchmark::State& state) {
  const SmoothRow& row = kSmoothRows[state.range(0)];
  const Walk walk = RandomWalkOf(row.points);
  const std::unique_ptr<TChart> chart = SmoothEngineChart(walk, row.width, row.height);
  const std::unique_ptr<QCustomPlot> peer = SmoothPeerChart(walk, row.width, row.height);
  QImage image(row.width, row.height, QImage::Format_RGB32), peerImage = image;
  image.fill(Qt::white);
  // The axis room settles after a paint.
  for (int i = 0; i < 2; ++i) PaintEngine(*chart, image);
  PaintSmoothPeer(*peer, peerImage);

  double thisSeconds = 0, peerSeconds = 0;
  double delta = 0.25;
  int iteration = 0;
  for (auto _ : state) {
    delta = -delta;
    TChartSeries& series = *chart->SeriesAt(0);
    const int last = series.PointCount() - 1;
    series.YValues().SetValueAt(last, series.YValueAt(last) + delta);
    series.Repaint();
    auto peerLast = peer->graph(0)->data()->end() - 1;
    peerLast->value += delta;
    const auto timeEngine = [&] {
      const Clock::time_point start = Clock::now();
      PaintEngine(*chart, image);
      thisSeconds += Seconds(start, Clock::now());
    };
    const auto timePeer = [&] {
      const Clock::time_point start = Clock::now();
      PaintSmoothPeer(*peer, peerImage);
      peerSeconds += Seconds(start, Clock::now());
    };
    if (iteration++ % 2 == 0) {
      timeEngine();
      timePeer();
    } else {
      timePeer();
      timeEngine();
    }
  }
  benchmark::DoNotOptimize(image.constBits());
  benchmark::DoNotOptimize(peerImage.constBits());
  const auto n = static_cast<double>(state.iterations());
  state.counters["this_ms"] = thisSeconds / n * 1e3;
  state.counters["qcp_ms"] = peerSeconds / n * 1e3;
  state.counters["ratio"] = thisSeconds / peerSeconds;
  static const char* const kNames[] = {"smooth walk 1M 465x337", "smooth walk 1M 1920x1080",
                                       "smooth walk 100k 465x337", "smooth walk 100k 1920x1080"};
  state.SetLabel(kNames[state.range(0)]);
}
BENCHMARK(BM_PeersSmooth)->ArgName("row")->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace
}  // namespace tarvela
