// This engine against QCustomPlot 2.1 (Debian's libqcustomplot-dev, Qt 6 build), in one
// process, with identical data, timed back to back in every iteration so that drift of
// the machine hits both alike. QCustomPlot is only a yardstick: nothing of it goes into
// the program.
//
// Every row is a full repaint after a data change: before each iteration (untimed) the
// last point's Y moves by a little in both charts, so neither can show a picture of
// older data. Each engine is timed two ways, each against the other's like:
//   into an image  this engine's paint straight into a QImage, as its PNG export draws
//                  (PaintChart, unbuffered), against QCustomPlot's toPainter into a QImage
//                  of the same size; both draw every pixel once, with no buffer between.
//   as a window    this engine's paint as its window asks for it (Paint: the whole chart
//                  into its bitmap, then the bitmap's copy onto the window's pixels),
//                  against QCustomPlot's window path: replot (its layers into its paint
//                  buffers) and its paint event (the background, then the buffers drawn
//                  onto the window's pixels), through QWidget::render into a QImage.
// QCustomPlot's times include rescaleAxes (this engine finds its axis range in the paint
// too); every element of it is aliased. The images are Format_RGB32.
//
// Rows (range(0)):
//   0..4  a 2D line of a random walk, axes and a one-entry legend (lsSeries): 1,000,000 points at
//         465x337 and 1920x1080, 100,000 at both sizes, 10,000 at 1920x1080
//   5, 6  the main form's chart after one graph press (11 series of 15 points with a
//         colour per point, 3D, gradient, axes, an 11-entry legend) at 465x337 and
//         1920x1080; QCustomPlot draws the same 11 lines with the same colours,
//         gradient background and legend
//   7     100,000 points in the engine's default 3D view at 465x337; ratio against
//         this engine's 2D case of the same data and size (QCustomPlot has no 3D)
//   8     1,000,000 points with a colour per point (ColorEachPoint) at 465x337; ratio
//         against this engine's one-colour case (QCustomPlot has no point colours)
//   9     the 2D line of rows 0..4 with 10,000 points at 465x337
//   10..  lines and areas of a random walk (areas: this engine's TAreaSeries, filled to
//         the bottom of its axis and outlined, against a QCPGraph with a channel fill to
//         a graph along the bottom of its axis), with X = 0, 1, 2, ... ("even") and with
//         random positive X steps, as measured times come ("uneven"), of 10,000, 100,000
//         and 1,000,000 points at 465x337 and 1920x1080 (the even lines are rows 0..4
//         and 9); the label names each
// Counters, rows 0..6 and 9..: this_ms and qcp_ms into an image, ratio = this / qcp;
// window_ms and qcp_window_ms as a window, window_ratio = window / qcp_window.
// Rows 7 and 8: this_ms and base_ms (the engine's own 2D one-colour case, timed in the
// same iteration), both into an image, ratio = this / base.
//
// Run: build/.../bench/bench_peers --benchmark_repetitions=3 (see bench/README.md).
#include <benchmark/benchmark.h>

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <functional>
#include <utility>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <qcustomplot.h>

#include "app/form1.h"
#include "engine_paint.h"
#include "qt_bench_main.h"
#include "tarvela/chart/chart.h"
#include "tarvela/chart/series/area_series.h"
#include "tarvela/chart/series/line_series.h"
#include "tarvela/widgets/application.h"
#include "tarvela/widgets/qt_convert.h"
#include "tarvela/widgets/qt_surface.h"

namespace tarvela {
namespace {

struct Line {
  std::vector<double> x, y;
  TColor color = clRed;
  std::vector<TColor> pointColors;  // empty: none given
  std::string title;
};

// With uneven, X steps are random and positive (exponential, mean 1), as the times of
// measurements come; else X = 0, 1, 2, ...
std::vector<Line> RandomWalk(int points, bool uneven = false) {
  Line line;
  std::mt19937 random(12345);
  std::normal_distribution<double> step(0.0, 1.0);
  std::mt19937 xRandom(54321);
  std::exponential_distribution<double> xStep(1.0);
  double y = 0, x = 0;
  line.x.reserve(static_cast<std::size_t>(points));
  line.y.reserve(static_cast<std::size_t>(points));
  for (int i = 0; i < points; ++i) {
    line.x.push_back(uneven ? x += xStep(xRandom) : i);
    line.y.push_back(y += step(random));
  }
  line.title = "Series1";
  return {line};
}

// The main form after one press of each button: its chart, and the lines it holds.
struct FormChart {
  std::unique_ptr<TForm1> form;
  std::vector<Line> lines;
};

FormChart GraphedForm() {
  FormChart result;
  result.form = std::make_unique<TForm1>(nullptr, [] { return LocaleSettings::Dot(); });
  result.form->Edit1->SetText("1");
  result.form->Edit2->SetText("0");
  result.form->Button1->Click();
  result.form->BitBtn1->Click();
  TChart& chart = *result.form->Chart1;
  for (int s = 0; s < chart.SeriesTotal(); ++s) {
    const TChartSeries& series = *chart.SeriesAt(s);
    Line line;
    for (int i = 0; i < series.PointCount(); ++i) {
      line.x.push_back(series.XValueAt(i));
      line.y.push_back(series.YValueAt(i));
      line.pointColors.push_back(series.PointColor(i));
    }
    line.color = series.PointCount() > 0 ? series.PointColor(0) : series.SeriesColor();
    line.title = series.Title().empty() ? series.Name() : series.Title();
    result.lines.push_back(std::move(line));
  }
  return result;
}

// ---- this engine ------------------------------------------------------------------

std::unique_ptr<TChart> EngineChart(const std::vector<Line>& lines, int width, int height, bool view3D,
                                    bool colorEachPoint, bool area = false) {
  auto chart = std::make_unique<TChart>(nullptr);
  chart->SetBounds(0, 0, width, height);
  chart->SetView3D(view3D);
  // One entry, the series' title, as QCustomPlot's legend shows (with one series the
  // automatic style would list the points' values).
  chart->Legend().SetLegendStyle(lsSeries);
  for (const Line& line : lines) {
    TCustomSeries* series = area ? static_cast<TCustomSeries*>(new TAreaSeries(chart.get()))
                                 : static_cast<TCustomSeries*>(new TLineSeries(chart.get()));
    series->SetParentChart(chart.get());
    series->SetSeriesColor(line.color);
    series->SetTitle(line.title);
    for (std::size_t i = 0; i < line.x.size(); ++i) series->AddPointXY(line.x[i], line.y[i]);
    series->SetColorEachPoint(colorEachPoint);
  }
  return chart;
}

// Moves the last point of the first series by delta in the engine's chart, then asks
// for the repaint (a changed value repaints nothing by itself).
void NudgeEngine(TChart& chart, double delta) {
  TChartSeries& series = *chart.SeriesAt(0);
  const int last = series.PointCount() - 1;
  series.YValues().SetValueAt(last, series.YValueAt(last) + delta);
  series.Repaint();
}

// ---- QCustomPlot --------------------------------------------------------------------

// An area: the graph filled down to the bottom of its axis, which rescaleAxes puts at the
// lowest value, by a channel fill to a graph of two points there (no pen, no legend entry).
std::unique_ptr<QCustomPlot> PeerChart(const std::vector<Line>& lines, int width, int height, bool gradient,
                                       bool area = false) {
  auto plot = std::make_unique<QCustomPlot>();
  plot->resize(width, height);
  plot->setAntialiasedElements(QCP::aeNone);
  plot->setNotAntialiasedElements(QCP::aeAll);
  plot->setNoAntialiasingOnDrag(true);
  if (gradient) {
    QLinearGradient fill(0, 0, 0, height);
    fill.setColorAt(0, Qt::blue);
    fill.setColorAt(1, Qt::cyan);
    plot->setBackground(QBrush(fill));
  }
  for (const Line& line : lines) {
    QCPGraph* graph = plot->addGraph();
    graph->setPen(QPen(ToQColor(line.color)));
    graph->setName(QString::fromStdString(line.title));
    graph->setData(QVector<double>(line.x.begin(), line.x.end()), QVector<double>(line.y.begin(), line.y.end()),
                   true);
    if (area) {
      graph->setBrush(QBrush(ToQColor(line.color)));
      const double lowest = *std::min_element(line.y.begin(), line.y.end());
      QCPGraph* bottom = plot->addGraph();
      bottom->setPen(Qt::NoPen);
      bottom->removeFromLegend();
      bottom->setData(QVector<double>{line.x.front(), line.x.back()}, QVector<double>{lowest, lowest}, true);
      graph->setChannelFillGraph(bottom);
    }
  }
  plot->legend->setVisible(true);
  plot->rescaleAxes();
  return plot;
}

void NudgePeer(QCustomPlot& plot, double delta) {
  QSharedPointer<QCPGraphDataContainer> data = plot.graph(0)->data();
  auto last = data->end() - 1;
  last->value += delta;
}

void PaintPeer(QCustomPlot& plot, QImage& image) {
  plot.rescaleAxes();
  QCPPainter painter(&image);
  plot.toPainter(&painter, image.width(), image.height());
}

// As its window shows a change: the layers into the paint buffers, then the paint event.
void PaintPeerWindow(QCustomPlot& plot, QImage& window) {
  plot.rescaleAxes();
  plot.replot(QCustomPlot::rpQueuedRefresh);
  plot.render(&window, QPoint(), QRegion(), QWidget::DrawChildren);
}

// ---- the rows -----------------------------------------------------------------------

enum class Kind { Walk, Form, View3D, ColorEach, Area };

struct Row {
  Kind kind;
  int points;
  int width;
  int height;
  bool uneven = false;
};

std::vector<Row> MakeRows() {
  std::vector<Row> rows = {
      {Kind::Walk, 1000000, 465, 337},  {Kind::Walk, 1000000, 1920, 1080}, {Kind::Walk, 100000, 465, 337},
      {Kind::Walk, 100000, 1920, 1080}, {Kind::Walk, 10000, 1920, 1080},   {Kind::Form, 15, 465, 337},
      {Kind::Form, 15, 1920, 1080},     {Kind::View3D, 100000, 465, 337},  {Kind::ColorEach, 1000000, 465, 337},
      {Kind::Walk, 10000, 465, 337},
  };
  for (const Kind kind : {Kind::Walk, Kind::Area}) {
    for (const bool uneven : {false, true}) {
      if (kind == Kind::Walk && !uneven) continue;
      for (const int points : {10000, 100000, 1000000}) {
        rows.push_back({kind, points, 465, 337, uneven});
        rows.push_back({kind, points, 1920, 1080, uneven});
      }
    }
  }
  return rows;
}

const std::vector<Row>& Rows() {
  static const std::vector<Row> rows = MakeRows();
  return rows;
}

std::string RowName(const Row& row) {
  const std::string size = std::to_string(row.width) + "x" + std::to_string(row.height);
  const std::string points = row.points >= 1000000 ? std::to_string(row.points / 1000000) + "M"
                                                   : std::to_string(row.points / 1000) + "k";
  switch (row.kind) {
    case Kind::Form: return "form 11x15 " + size;
    case Kind::View3D: return "3D " + points + " / 2D " + points;
    case Kind::ColorEach: return "colour " + points + " / one colour";
    case Kind::Walk:
    case Kind::Area: break;
  }
  return std::string(row.kind == Kind::Area ? "area " : "line ") + (row.uneven ? "uneven " : "even ") + points +
         " " + size;
}

using bench::EnginePaint;

// The chart of a row, made once for each way it is drawn.
struct RowCharts {
  FormChart form;
  std::unique_ptr<TChart> owned;
  TChart* chart = nullptr;
};

RowCharts MakeRowChart(const Row& row, const std::vector<Line>& lines, bool view3D, bool colorEachPoint) {
  RowCharts made;
  if (row.kind == Kind::Form) {
    made.form = GraphedForm();
    made.chart = made.form.form->Chart1;
    made.chart->SetBounds(made.chart->Left(), made.chart->Top(), row.width, row.height);
  } else {
    made.owned = EngineChart(lines, row.width, row.height, view3D, colorEachPoint, row.kind == Kind::Area);
    made.chart = made.owned.get();
  }
  return made;
}

// Times each of the calls back to back, in an order that turns round every iteration,
// so that neither always meets a warm or a cold cache; adds each one's seconds.
void TimeInTurn(int iteration, const std::vector<std::pair<std::function<void()>, double*>>& calls) {
  const std::size_t n = calls.size();
  for (std::size_t k = 0; k < n; ++k) {
    const auto& [call, seconds] = calls[(k + static_cast<std::size_t>(iteration)) % n];
    const Clock::time_point start = Clock::now();
    call();
    *seconds += Seconds(start, Clock::now());
  }
}

void BM_Peers(benchmark::State& state) {
  const Row& row = Rows()[static_cast<std::size_t>(state.range(0))];
  const bool againstItself = row.kind == Kind::View3D || row.kind == Kind::ColorEach;
  std::vector<Line> lines = row.kind == Kind::Form ? GraphedForm().lines : RandomWalk(row.points, row.uneven);
  RowCharts direct = MakeRowChart(row, lines, row.kind == Kind::View3D, row.kind == Kind::ColorEach);
  EnginePaint engine(*direct.chart, false);
  // Rows 7 and 8: the engine's 2D one-colour chart of the same data; the other rows:
  // the chart again, painted as the window paints it.
  RowCharts other = MakeRowChart(row, lines, false, false);
  EnginePaint otherPaint(*other.chart, !againstItself);

  std::unique_ptr<QCustomPlot> peer, peerWindow;
  QImage peerImage(row.width, row.height, QImage::Format_RGB32), peerWindowImage = peerImage;
  if (!againstItself) {
    const bool area = row.kind == Kind::Area;
    peer = PeerChart(lines, row.width, row.height, row.kind == Kind::Form, area);
    peerWindow = PeerChart(lines, row.width, row.height, row.kind == Kind::Form, area);
    PaintPeer(*peer, peerImage);
    PaintPeerWindow(*peerWindow, peerWindowImage);
  }

  double thisSeconds = 0, peerSeconds = 0, otherSeconds = 0, peerWindowSeconds = 0;
  double delta = 0.25;
  int iteration = 0;
  std::vector<std::pair<std::function<void()>, double*>> calls = {{[&] { engine.Paint(); }, &thisSeconds},
                                                                  {[&] { otherPaint.Paint(); }, &otherSeconds}};
  if (!againstItself) {
    calls.push_back({[&] { PaintPeer(*peer, peerImage); }, &peerSeconds});
    calls.push_back({[&] { PaintPeerWindow(*peerWindow, peerWindowImage); }, &peerWindowSeconds});
  }
  for (auto _ : state) {
    delta = -delta;
    NudgeEngine(*direct.chart, delta);
    NudgeEngine(*other.chart, delta);
    if (!againstItself) {
      NudgePeer(*peer, delta);
      NudgePeer(*peerWindow, delta);
    }
    TimeInTurn(iteration++, calls);
  }
  benchmark::DoNotOptimize(engine.image.constBits());
  benchmark::DoNotOptimize(otherPaint.image.constBits());
  benchmark::DoNotOptimize(peerImage.constBits());
  benchmark::DoNotOptimize(peerWindowImage.constBits());
  const auto n = static_cast<double>(state.iterations());
  state.counters["this_ms"] = thisSeconds / n * 1e3;
  if (againstItself) {
    state.counters["base_ms"] = otherSeconds / n * 1e3;
    state.counters["ratio"] = thisSeconds / otherSeconds;
  } else {
    state.counters["qcp_ms"] = peerSeconds / n * 1e3;
    state.counters["ratio"] = thisSeconds / peerSeconds;
    state.counters["window_ms"] = otherSeconds / n * 1e3;
    state.counters["qcp_window_ms"] = peerWindowSeconds / n * 1e3;
    state.counters["window_ratio"] = otherSeconds / peerWindowSeconds;
  }
  state.SetLabel(RowName(row));
}
BENCHMARK(BM_Peers)
    ->ArgName("row")
    ->DenseRange(0, static_cast<int>(Rows().size()) - 1)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0);

}  // namespace
}  // namespace tarvela

int main(int argc, char** argv) { return tarvela::RunQtBenchmarks(argc, argv); }
