// Points, bars and pies of this engine against their likes in QCustomPlot 2.1 (points:
// QCPGraph with lsNone and ssSquare at its default sampling; bars: QCPBars) and in Qt
// Charts (pies: QPieSeries), in the bench_peers process, timed back to back in every
// iteration as bench_peers.cpp times its lines: the order of the four calls turns round
// every iteration, and before each iteration (untimed) the last value moves by a little
// in every chart, so that no engine can show a picture of older data. Both peers are
// yardsticks only: nothing of them goes into the program.
//
//   into an image  this engine's PaintChart straight into a QImage, as its PNG export
//                  draws; QCustomPlot's toPainter, Qt Charts' scene rendered into a
//                  QImage of the same size
//   as a window    this engine's Paint (its bitmap, then the copy); QCustomPlot's replot
//                  and paint event, Qt Charts' view, each through QWidget::render
//
// Everything is aliased, with axes (none for pies) and a legend. Data: a random walk
// with X = 0, 1, 2, ... ("even") and the same walk on X steps drawn at random from an
// exponential distribution ("uneven", as measured times come); bars keep the walk
// above 1. Pies take the walk's absolute values + 1 ("even") or the uneven X steps.
//
// Counters: this_ms, peer_ms, ratio = this / peer (into an image); window_ms,
// peer_window_ms, window_ratio (as a window).
//
// Run: build/release/bench/bench_peers --benchmark_filter=Shapes --benchmark_repetitions=3
#include <benchmark/benchmark.h>

#include <QChart>
#include <QChartView>
#include <QCoreApplication>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>
#include <QPieSeries>
#include <QPieSlice>
#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <qcustomplot.h>

#include "engine_paint.h"
#include "qt_bench_main.h"
#include "tarvela/chart/chart.h"
#include "tarvela/chart/series/bar_series.h"
#include "tarvela/chart/series/pie_series.h"
#include "tarvela/chart/series/point_series.h"
#include "tarvela/widgets/qt_convert.h"
#include "tarvela/widgets/qt_surface.h"

namespace tarvela {
namespace {

enum class Shape { Points, Bars, Pie };

struct ShapeRow {
  Shape shape;
  bool uneven;
  int points;
  int width;
  int height;
};

std::vector<ShapeRow> MakeRows() {
  std::vector<ShapeRow> rows;
  for (const Shape shape : {Shape::Points, Shape::Bars, Shape::Pie}) {
    const std::vector<int> counts =
        shape == Shape::Pie ? std::vector<int>{10, 100, 1000} : std::vector<int>{10000, 100000, 1000000};
    for (const int count : counts)
      for (const bool uneven : {false, true})
        for (const auto& [width, height] : {std::pair{465, 337}, std::pair{1920, 1080}})
          rows.push_back({shape, uneven, count, width, height});
  }
  return rows;
}

const std::vector<ShapeRow>& Rows() {
  static const std::vector<ShapeRow> rows = MakeRows();
  return rows;
}

struct Data {
  std::vector<double> x, y;
};

Data MakeData(const ShapeRow& row) {
  Data data;
  std::mt19937 random(12345);
  std::normal_distribution<double> step(0.0, 1.0);
  std::exponential_distribution<double> gap(1.0);
  const auto n = static_cast<std::size_t>(row.points);
  data.x.reserve(n);
  data.y.reserve(n);
  double x = 0;
  double y = row.shape == Shape::Bars ? 100 : 0;
  for (std::size_t i = 0; i < n; ++i) {
    const double dx = row.uneven ? gap(random) + 1e-9 : 1.0;
    y += step(random);
    if (row.shape == Shape::Bars) y = std::max(1.0, y);
    if (row.shape == Shape::Pie) {
      data.x.push_back(static_cast<double>(i));
      data.y.push_back(row.uneven ? dx : std::fabs(y) + 1);
    } else {
      data.x.push_back(x);
      data.y.push_back(y);
    }
    x += dx;
  }
  return data;
}

// ---- this engine ------------------------------------------------------------------

std::unique_ptr<TChart> EngineChart(const ShapeRow& row, const Data& data) {
  auto chart = std::make_unique<TChart>(nullptr);
  chart->SetBounds(0, 0, row.width, row.height);
  chart->SetView3D(false);
  TChartSeries* series = nullptr;
  switch (row.shape) {
    case Shape::Points:
      series = new TPointSeries(chart.get());
      break;
    case Shape::Bars:
      series = new TBarSeries(chart.get());
      break;
    case Shape::Pie:
      series = new TPieSeries(chart.get());
      break;
  }
  series->SetParentChart(chart.get());
  series->Marks().SetVisible(false);
  series->SetTitle("Series1");
  if (row.shape != Shape::Pie) {
    chart->Legend().SetLegendStyle(lsSeries);
    series->SetSeriesColor(clRed);
  }
  for (std::size_t i = 0; i < data.x.size(); ++i) series->AddPointXY(data.x[i], data.y[i]);
  return chart;
}

void NudgeEngine(TChart& chart, double delta) {
  TChartSeries& series = *chart.SeriesAt(0);
  const int last = series.PointCount() - 1;
  series.YValues().SetValueAt(last, series.YValueAt(last) + delta);
  series.Repaint();
}

using bench::EnginePaint;

// ---- the peers ----------------------------------------------------------------------

// A peer chart of one row, drawn into an image and as its window draws.
class Peer {
 public:
  virtual ~Peer() = default;
  virtual void Nudge(double delta) = 0;
  virtual void PaintImage(QImage& image) = 0;
  virtual void PaintWindow(QImage& window) = 0;
};

class CustomPlotPeer : public Peer {
 public:
  CustomPlotPeer(const ShapeRow& row, const Data& data) {
    m_plot.resize(row.width, row.height);
    m_plot.setAntialiasedElements(QCP::aeNone);
    m_plot.setNotAntialiasedElements(QCP::aeAll);
    m_plot.setNoAntialiasingOnDrag(true);
    const QVector<double> keys(data.x.begin(), data.x.end());
    const QVector<double> values(data.y.begin(), data.y.end());
    if (row.shape == Shape::Points) {
      m_graph = m_plot.addGraph();
      m_graph->setLineStyle(QCPGraph::lsNone);
      // The engine's default pointer: a 9-pixel square, black outline, filled.
      m_graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssSquare, QPen(Qt::black), QBrush(Qt::red), 9));
      m_graph->setName(QStringLiteral("Series1"));
      m_graph->setData(keys, values, true);
    } else {
      m_bars = new QCPBars(m_plot.xAxis, m_plot.yAxis);
      m_bars->setPen(QPen(Qt::black));
      m_bars->setBrush(QBrush(Qt::red));
      m_bars->setName(QStringLiteral("Series1"));
      // As wide as the engine's bars: 70 % of the mean room of a point.
      const double room = data.x.size() > 1 ? (data.x.back() - data.x.front()) / static_cast<double>(data.x.size() - 1) : 1;
      m_bars->setWidth(0.7 * room);
      m_bars->setData(keys, values, true);
    }
    m_plot.legend->setVisible(true);
    m_plot.rescaleAxes();
  }
  void Nudge(double delta) override {
    if (m_graph != nullptr) {
      (m_graph->data()->end() - 1)->value += delta;
    } else {
      (m_bars->data()->end() - 1)->value += delta;
    }
  }
  void PaintImage(QImage& image) override {
    m_plot.rescaleAxes();
    QCPPainter painter(&image);
    m_plot.toPainter(&painter, image.width(), image.height());
  }
  void PaintWindow(QImage& window) override {
    m_plot.rescaleAxes();
    m_plot.replot(QCustomPlot::rpQueuedRefresh);
    m_plot.render(&window, QPoint(), QRegion(), QWidget::DrawChildren);
  }

 private:
  QCustomPlot m_plot;
  QCPGraph* m_graph = nullptr;
  QCPBars* m_bars = nullptr;
};

class PieChartPeer : public Peer {
 public:
  PieChartPeer(const ShapeRow& row, const Data& data) {
    auto* series = new QPieSeries;
    for (std::size_t i = 0; i < data.y.size(); ++i) series->append(QString::number(static_cast<qulonglong>(i)), data.y[i]);
    m_chart = new QChart;
    m_chart->addSeries(series);
    m_chart->setAnimationOptions(QChart::NoAnimation);
    m_chart->legend()->setVisible(true);
    m_view.setChart(m_chart);
    m_view.setRenderHint(QPainter::Antialiasing, false);
    m_view.resize(row.width, row.height);
    m_slice = series->slices().back();
  }
  void Nudge(double delta) override { m_slice->setValue(m_slice->value() + delta); }
  // The chart's own scene: its layout as the view leaves it.
  void PaintImage(QImage& image) override {
    QCoreApplication::sendPostedEvents();
    QPainter painter(&image);
    const QRectF all(0, 0, image.width(), image.height());
    m_chart->scene()->render(&painter, all, all);
  }
  void PaintWindow(QImage& window) override {
    QCoreApplication::sendPostedEvents();
    // QWidget's render, which the view's own (scene to painter) hides.
    static_cast<QWidget&>(m_view).render(&window, QPoint(), QRegion(), QWidget::DrawChildren);
  }

 private:
  QChartView m_view;
  QChart* m_chart;
  QPieSlice* m_slice;
};

void TimeInTurn(int iteration, const std::vector<std::pair<std::function<void()>, double*>>& calls) {
  const std::size_t n = calls.size();
  for (std::size_t k = 0; k < n; ++k) {
    const auto& [call, seconds] = calls[(k + static_cast<std::size_t>(iteration)) % n];
    const Clock::time_point start = Clock::now();
    call();
    *seconds += Seconds(start, Clock::now());
  }
}

void BM_PeersShapes(benchmark::State& state) {
  const ShapeRow& row = Rows()[static_cast<std::size_t>(state.range(0))];
  const Data data = MakeData(row);
  std::unique_ptr<TChart> direct = EngineChart(row, data);
  std::unique_ptr<TChart> windowed = EngineChart(row, data);
  EnginePaint engine(*direct, false);
  EnginePaint engineWindow(*windowed, true);
  std::unique_ptr<Peer> peer, peerWindow;
  if (row.shape == Shape::Pie) {
    peer = std::make_unique<PieChartPeer>(row, data);
    peerWindow = std::make_unique<PieChartPeer>(row, data);
  } else {
    peer = std::make_unique<CustomPlotPeer>(row, data);
    peerWindow = std::make_unique<CustomPlotPeer>(row, data);
  }
  QImage peerImage(row.width, row.height, QImage::Format_RGB32), peerWindowImage = peerImage;
  peerImage.fill(Qt::white);
  peerWindowImage.fill(Qt::white);
  peerWindow->PaintWindow(peerWindowImage);  // the view takes its size
  peer->PaintWindow(peerImage);
  peer->PaintImage(peerImage);

  double thisSeconds = 0, windowSeconds = 0, peerSeconds = 0, peerWindowSeconds = 0;
  double delta = 0.25;
  int iteration = 0;
  const std::vector<std::pair<std::function<void()>, double*>> calls = {
      {[&] { engine.Paint(); }, &thisSeconds},
      {[&] { engineWindow.Paint(); }, &windowSeconds},
      {[&] { peer->PaintImage(peerImage); }, &peerSeconds},
      {[&] { peerWindow->PaintWindow(peerWindowImage); }, &peerWindowSeconds}};
  for (auto _ : state) {
    delta = -delta;
    NudgeEngine(*direct, delta);
    NudgeEngine(*windowed, delta);
    peer->Nudge(delta);
    peerWindow->Nudge(delta);
    TimeInTurn(iteration++, calls);
  }
  benchmark::DoNotOptimize(engine.image.constBits());
  benchmark::DoNotOptimize(engineWindow.image.constBits());
  benchmark::DoNotOptimize(peerImage.constBits());
  benchmark::DoNotOptimize(peerWindowImage.constBits());
  const auto n = static_cast<double>(state.iterations());
  state.counters["this_ms"] = thisSeconds / n * 1e3;
  state.counters["peer_ms"] = peerSeconds / n * 1e3;
  state.counters["ratio"] = thisSeconds / peerSeconds;
  state.counters["window_ms"] = windowSeconds / n * 1e3;
  state.counters["peer_window_ms"] = peerWindowSeconds / n * 1e3;
  state.counters["window_ratio"] = windowSeconds / peerWindowSeconds;
  static const char* const kShapes[] = {"points", "bars", "pie"};
  state.SetLabel(std::string(kShapes[static_cast<int>(row.shape)]) + (row.uneven ? " uneven " : " even ") +
                 std::to_string(row.points) + " " + std::to_string(row.width) + "x" + std::to_string(row.height));
}
BENCHMARK(BM_PeersShapes)
    ->ArgName("row")
    ->DenseRange(0, static_cast<int>(Rows().size()) - 1)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0);

}  // namespace
}  // namespace tarvela
