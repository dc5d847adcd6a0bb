// This engine against QCustomPlot 2.1 (Debian's libqcustomplot-dev, Qt 6 build), in one
// process, with identical data, timed back to back in every iteration so that drift of
// the machine hits both alike. QCustomPlot is only a yardstick: nothing of it goes into
// the program.
//
// Every row is a full repaint after a data change: before each iteration (untimed) the
// last point's Y moves by a little in both charts, so neither can show a picture of
// older data. Timed for this engine: the chart's paint as the window asks for it
// (Paint onto a QtSurface over a QImage: the whole chart into its buffer, then the
// buffer's copy). Timed for QCustomPlot: rescaleAxes (this engine finds its axis range
// in the paint too), then toPainter into a QImage of the same size, every element
// aliased. Both images are Format_RGB32.
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
//
// Counters: this_ms, qcp_ms, and ratio = this / qcp for rows 0..6; copy_ms, a copy of a
// frame-sized image timed alone (the chart's buffer reaches the window so, and
// toPainter has no such step: a floor under this engine's frame); rows 7 and 8 give
// this_ms, base_ms (the engine's own 2D one-colour case, timed in the same iteration),
// ratio = this / base, and qcp_ms with qcp_ratio = this / qcp for reference.
//
// Run: build/.../bench/bench_peers --benchmark_repetitions=3 (see bench/README.md).
#include <benchmark/benchmark.h>

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <chrono>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <qcustomplot.h>

#include "app/form1.h"
#include "chart/chart.h"
#include "chart/series/line_series.h"
#include "platform/qt/application.h"
#include "platform/qt/qt_convert.h"
#include "platform/qt/qt_surface.h"
#include "qt_bench_main.h"

namespace tarvela {
namespace {

struct Line {
  std::vector<double> x, y;
  TColor color = clRed;
  std::vector<TColor> pointColors;  // empty: none given
  std::string title;
};

std::vector<Line> RandomWalk(int points) {
  Line line;
  std::mt19937 random(12345);
  std::normal_distribution<double> step(0.0, 1.0);
  double y = 0;
  line.x.reserve(static_cast<std::size_t>(points));
  line.y.reserve(static_cast<std::size_t>(points));
  for (int i = 0; i < points; ++i) {
    line.x.push_back(i);
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
                                    bool colorEachPoint) {
  auto chart = std::make_unique<TChart>(nullptr);
  chart->SetBounds(0, 0, width, height);
  chart->SetView3D(view3D);
  // One entry, the series' title, as QCustomPlot's legend shows (with one series the
  // automatic style would list the points' values).
  chart->Legend().SetLegendStyle(lsSeries);
  for (const Line& line : lines) {
    auto* series = new TLineSeries(chart.get());
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

std::unique_ptr<QCustomPlot> PeerChart(const std::vector<Line>& lines, int width, int height, bool gradient) {
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

// ---- the rows -----------------------------------------------------------------------

enum class Kind { Walk, Form, View3D, ColorEach };

struct Row {
  Kind kind;
  int points;
  int width;
  int height;
};

const Row kRows[] = {
    {Kind::Walk, 1000000, 465, 337},   {Kind::Walk, 1000000, 1920, 1080}, {Kind::Walk, 100000, 465, 337},
    {Kind::Walk, 100000, 1920, 1080},  {Kind::Walk, 10000, 1920, 1080},   {Kind::Form, 15, 465, 337},
    {Kind::Form, 15, 1920, 1080},      {Kind::View3D, 100000, 465, 337},  {Kind::ColorEach, 1000000, 465, 337},
};

// One chart of this engine as the window paints it.
struct EnginePaint {
  TChart* chart;
  QImage window;
  explicit EnginePaint(TChart& c) : chart(&c), window(c.Width(), c.Height(), QImage::Format_RGB32) {
    window.fill(Qt::white);
    for (int i = 0; i < 2; ++i) Paint();  // the axis room settles after a paint
  }
  void Paint() {
    QtSurface surface(window);
    chart->Paint(surface);
  }
};

void BM_Peers(benchmark::State& state) {
  const Row& row = kRows[state.range(0)];
  std::vector<Line> lines;
  FormChart form;
  std::unique_ptr<TChart> owned, ownedBase;
  TChart* chart = nullptr;
  TChart* base = nullptr;  // the engine's 2D one-colour case of rows 7 and 8
  if (row.kind == Kind::Form) {
    form = GraphedForm();
    lines = form.lines;
    chart = form.form->Chart1;
    chart->SetBounds(chart->Left(), chart->Top(), row.width, row.height);
  } else {
    lines = RandomWalk(row.points);
    owned = EngineChart(lines, row.width, row.height, row.kind == Kind::View3D, row.kind == Kind::ColorEach);
    chart = owned.get();
    if (row.kind == Kind::View3D || row.kind == Kind::ColorEach) {
      ownedBase = EngineChart(lines, row.width, row.height, false, false);
      base = ownedBase.get();
    }
  }
  std::unique_ptr<QCustomPlot> peer = PeerChart(lines, row.width, row.height, row.kind == Kind::Form);
  QImage peerImage(row.width, row.height, QImage::Format_RGB32);
  PaintPeer(*peer, peerImage);
  EnginePaint engine(*chart);
  std::unique_ptr<EnginePaint> engineBase;
  if (base != nullptr) engineBase = std::make_unique<EnginePaint>(*base);

  // The copy of a frame-sized image, as the chart copies its buffer onto the window:
  // work of this engine's frame that QCustomPlot's toPainter does not do.
  QImage copySource(row.width, row.height, QImage::Format_RGB32), copyTarget(row.width, row.height,
                                                                              QImage::Format_RGB32);
  copySource.fill(Qt::white);
  copyTarget.fill(Qt::white);
  double thisSeconds = 0, peerSeconds = 0, baseSeconds = 0, copySeconds = 0;
  double delta = 0.25;
  int iteration = 0;
  for (auto _ : state) {
    delta = -delta;
    NudgeEngine(*chart, delta);
    if (base != nullptr) NudgeEngine(*base, delta);
    NudgePeer(*peer, delta);
    // Alternate who goes first, so that neither always meets a warm or a cold cache.
    const bool peerFirst = (iteration++ & 1) != 0;
    Clock::time_point t0, t1, t2, t3;
    if (peerFirst) {
      t0 = Clock::now();
      PaintPeer(*peer, peerImage);
      t1 = Clock::now();
      engine.Paint();
      t2 = Clock::now();
      peerSeconds += Seconds(t0, t1);
      thisSeconds += Seconds(t1, t2);
    } else {
      t0 = Clock::now();
      engine.Paint();
      t1 = Clock::now();
      PaintPeer(*peer, peerImage);
      t2 = Clock::now();
      thisSeconds += Seconds(t0, t1);
      peerSeconds += Seconds(t1, t2);
    }
    {
      t2 = Clock::now();
      QPainter painter(&copyTarget);
      painter.drawImage(0, 0, copySource);
      painter.end();
      copySeconds += Seconds(t2, Clock::now());
    }
    if (engineBase) {
      t2 = Clock::now();
      engineBase->Paint();
      t3 = Clock::now();
      baseSeconds += Seconds(t2, t3);
    }
  }
  benchmark::DoNotOptimize(engine.window.constBits());
  benchmark::DoNotOptimize(peerImage.constBits());
  const auto n = static_cast<double>(state.iterations());
  state.counters["this_ms"] = thisSeconds / n * 1e3;
  state.counters["qcp_ms"] = peerSeconds / n * 1e3;
  state.counters["copy_ms"] = copySeconds / n * 1e3;
  if (engineBase) {
    state.counters["base_ms"] = baseSeconds / n * 1e3;
    state.counters["ratio"] = thisSeconds / baseSeconds;
    state.counters["qcp_ratio"] = thisSeconds / peerSeconds;
  } else {
    state.counters["ratio"] = thisSeconds / peerSeconds;
  }
  static const char* const kNames[] = {"walk 1M 465x337",     "walk 1M 1920x1080",   "walk 100k 465x337",
                                       "walk 100k 1920x1080", "walk 10k 1920x1080",  "form 11x15 465x337",
                                       "form 11x15 1920x1080", "3D 100k / 2D 100k",  "colour 1M / one colour"};
  state.SetLabel(kNames[state.range(0)]);
}
BENCHMARK(BM_Peers)->ArgName("row")->DenseRange(0, 8)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace
}  // namespace tarvela

int main(int argc, char** argv) { return tarvela::RunQtBenchmarks(argc, argv); }
