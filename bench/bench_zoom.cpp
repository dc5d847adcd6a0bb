// The rubber band of a zoom drag on the main form's chart after one graph press: one
// mouse move as the window sees it (the move, then the window's paint, which draws the
// band into the chart's buffer in not-xor, the band the buffer held taken off and the
// new one put on, and copies the buffer) against a plain copy of
// an image of the same size with QPainter. Both are timed back to back in every
// iteration, so that drift of the machine hits them alike; the counters give the mean
// microseconds and the ratio.
//
// BM_ZoomStep: a zoom or a pan step on a chart of 1,000,000 points of each 2D series type
// (line, area, point, bar) at 1920x1080, as the window sees it: the mouse's step, then
// the window's paint of the new view. Against it, in the same iteration, QCustomPlot's
// repaint of the same chart in the same view (its axes set to the engine's new range,
// then replot and its paint event, as bench_peers times its window), the yardstick of
// an interactive repaint; its series as bench_peers draws them (a QCPGraph; for the area
// with a channel fill to the bottom of the axis, for the points lsNone with ssSquare at
// its default sampling; QCPBars). Built only where QCustomPlot is (as bench_peers).
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <chrono>
#include <cstdlib>
#include <memory>

#include "app/form1.h"
#include "qt_bench_main.h"
#include "tarvela/chart/chart.h"
#ifdef TARVELA_BENCH_PEER
#include <qcustomplot.h>

#include <random>
#include <vector>

#include "tarvela/chart/series/area_series.h"
#include "tarvela/chart/series/bar_series.h"
#include "tarvela/chart/series/line_series.h"
#include "tarvela/chart/series/point_series.h"
#include "tarvela/widgets/qt_convert.h"
#endif
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

#ifdef TARVELA_BENCH_PEER

enum class SeriesKind { Line, Area, Point, Bar };

// A random walk with X = 0, 1, 2, ..., the data of bench_peers' rows.
void RandomWalk(int points, QVector<double>& x, QVector<double>& y) {
  std::mt19937 random(12345);
  std::normal_distribution<double> step(0.0, 1.0);
  double value = 0;
  x.resize(points);
  y.resize(points);
  for (int i = 0; i < points; ++i) {
    x[i] = i;
    y[i] = value += step(random);
  }
}

std::unique_ptr<TChart> EngineChart(SeriesKind kind, const QVector<double>& x, const QVector<double>& y, int width,
                                    int height) {
  auto chart = std::make_unique<TChart>(nullptr);
  chart->SetBounds(0, 0, width, height);
  chart->SetView3D(false);
  chart->Legend().SetLegendStyle(lsSeries);
  TChartSeries* series = nullptr;
  switch (kind) {
    case SeriesKind::Line: series = new TLineSeries(chart.get()); break;
    case SeriesKind::Area: series = new TAreaSeries(chart.get()); break;
    case SeriesKind::Point: series = new TPointSeries(chart.get()); break;
    case SeriesKind::Bar: series = new TBarSeries(chart.get()); break;
  }
  series->SetParentChart(chart.get());
  series->SetSeriesColor(clRed);
  series->SetTitle("Series1");
  for (int i = 0; i < x.size(); ++i) series->AddPointXY(x[i], y[i]);
  return chart;
}

std::unique_ptr<QCustomPlot> PeerChart(SeriesKind kind, const QVector<double>& x, const QVector<double>& y, int width,
                                       int height) {
  auto plot = std::make_unique<QCustomPlot>();
  plot->resize(width, height);
  plot->setAntialiasedElements(QCP::aeNone);
  plot->setNotAntialiasedElements(QCP::aeAll);
  plot->setNoAntialiasingOnDrag(true);
  const QColor red = ToQColor(clRed);
  if (kind == SeriesKind::Bar) {
    auto* bars = new QCPBars(plot->xAxis, plot->yAxis);
    bars->setPen(QPen(Qt::black));
    bars->setBrush(red);
    bars->setName("Series1");
    bars->setData(x, y, true);
  } else {
    QCPGraph* graph = plot->addGraph();
    graph->setPen(QPen(red));
    graph->setName("Series1");
    graph->setData(x, y, true);
    if (kind == SeriesKind::Point) {
      graph->setLineStyle(QCPGraph::lsNone);
      graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssSquare, Qt::black, red, 8));
    }
    if (kind == SeriesKind::Area) {
      graph->setBrush(QBrush(red));
      const double lowest = *std::min_element(y.begin(), y.end());
      QCPGraph* bottom = plot->addGraph();
      bottom->setPen(Qt::NoPen);
      bottom->removeFromLegend();
      bottom->setData(QVector<double>{x.front(), x.back()}, QVector<double>{lowest, lowest}, true);
      graph->setChannelFillGraph(bottom);
    }
  }
  plot->legend->setVisible(true);
  plot->rescaleAxes();
  return plot;
}

// range(0): the series kind; range(1): 0 a zoom step, 1 a pan step.
//   zoom  a left-button drag over the middle four fifths of the plot, which zooms to it,
//         and on the next iteration the drag back toward the upper left, which undoes
//         it: every step shows most of the million points;
//   pan   a right-button drag that moves 12 pixels to the right and down, then back.
void BM_ZoomStep(benchmark::State& state) {
  const auto kind = static_cast<SeriesKind>(state.range(0));
  const bool pan = state.range(1) == 1;
  constexpr int kPoints = 1000000, kWidth = 1920, kHeight = 1080;
  QVector<double> x, y;
  RandomWalk(kPoints, x, y);
  std::unique_ptr<TChart> chart = EngineChart(kind, x, y, kWidth, kHeight);
  std::unique_ptr<QCustomPlot> peer = PeerChart(kind, x, y, kWidth, kHeight);
  QImage window(kWidth, kHeight, QImage::Format_RGB32), peerWindow = window;
  const auto paint = [&] {
    QtSurface surface(window);
    chart->Paint(surface);
  };
  for (int i = 0; i < 2; ++i) {  // the axis room settles after a paint
    chart->Invalidate();
    paint();
  }
  const auto peerPaint = [&] {
    // The engine's view, then the repaint as its window shows a change.
    peer->xAxis->setRange(chart->BottomAxis().Minimum(), chart->BottomAxis().Maximum());
    peer->yAxis->setRange(chart->LeftAxis().Minimum(), chart->LeftAxis().Maximum());
    peer->replot(QCustomPlot::rpQueuedRefresh);
    peer->render(&peerWindow, QPoint(), QRegion(), QWidget::DrawChildren);
  };
  const TRect plot = chart->PlotRect();
  const int dx = plot.Width() / 10, dy = plot.Height() / 10;
  const int middleX = (plot.left + plot.right) / 2, middleY = (plot.top + plot.bottom) / 2;
  if (pan) chart->MouseDown(mbRight, 0, middleX, middleY);
  double thisSeconds = 0, peerSeconds = 0;
  int step = 0;
  for (auto _ : state) {
    const bool forth = step % 2 == 0;
    const auto engineStep = [&] {
      if (pan) {
        chart->MouseMove(0, middleX + (forth ? 12 : 0), middleY + (forth ? 12 : 0));
      } else if (forth) {
        chart->MouseDown(mbLeft, 0, plot.left + dx, plot.top + dy);
        chart->MouseMove(0, plot.right - dx, plot.bottom - dy);
        chart->MouseUp(mbLeft, 0, plot.right - dx, plot.bottom - dy);
      } else {
        chart->MouseDown(mbLeft, 0, plot.right - dx, plot.bottom - dy);
        chart->MouseMove(0, plot.left + dx, plot.top + dy);
        chart->MouseUp(mbLeft, 0, plot.left + dx, plot.top + dy);
      }
      paint();
    };
    // The peer draws the view the engine's step reached, so it goes second.
    const auto t0 = Clock::now();
    engineStep();
    const auto t1 = Clock::now();
    peerPaint();
    const auto t2 = Clock::now();
    thisSeconds += Seconds(t0, t1);
    peerSeconds += Seconds(t1, t2);
    ++step;
  }
  if (pan) chart->MouseUp(mbRight, 0, middleX, middleY);
  benchmark::DoNotOptimize(window.constBits());
  benchmark::DoNotOptimize(peerWindow.constBits());
  const auto n = static_cast<double>(state.iterations());
  state.counters["this_ms"] = thisSeconds / n * 1e3;
  state.counters["qcp_ms"] = peerSeconds / n * 1e3;
  state.counters["ratio"] = thisSeconds / peerSeconds;
  static const char* const kKinds[] = {"line", "area", "point", "bar"};
  state.SetLabel(std::string(kKinds[state.range(0)]) + (pan ? " pan" : " zoom") + " 1M 1920x1080");
}
BENCHMARK(BM_ZoomStep)
    ->ArgNames({"series", "pan"})
    ->ArgsProduct({{0, 1, 2, 3}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0);

#endif  // TARVELA_BENCH_PEER

}  // namespace
}  // namespace tarvela

int main(int argc, char** argv) { return tarvela::RunQtBenchmarks(argc, argv); }
