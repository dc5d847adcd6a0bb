// Painting whole charts: the main form's chart after one and after ten graph presses,
// and a line of 100,000 points in 2D and in 3D. The baseline of each is the same
// drawing done with plain QPainter calls: the chart's paint is recorded once, and its
// primitives (lines, polylines, polygons, rectangles, fills, texts, in the recorded
// colours and coordinates) are drawn straight onto an image. Both are timed back to
// back in every iteration, so that drift of the machine hits them alike; the counters
// give the mean milliseconds and the ratio.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <QString>
#include <algorithm>
#include <chrono>
#include <functional>
#include <cstdlib>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "app/form1.h"
#include "qt_bench_main.h"
#include "tarvela/chart/chart.h"
#include "tarvela/chart/series/line_series.h"
#include "tarvela/platform/recording_surface.h"
#include "tarvela/widgets/application.h"
#include "tarvela/widgets/qt_surface.h"

namespace tarvela {
namespace {

// One recorded primitive, ready for QPainter.
struct Primitive {
  enum Kind { Line, Polyline, Polygon, Rect, Fill, Text } kind = Line;
  QPolygon points;
  QRect rect;
  QColor pen;
  QColor brush;
  bool brushClear = false;
  QString text;
};

QColor ColourAfter(const std::string& line, const std::string& key) {
  const std::size_t at = line.find(key + "=#");
  if (at == std::string::npos) return Qt::black;
  return QColor(QString::fromStdString(line.substr(at + key.size() + 1, 7)));
}

// The coordinate fields of a line: "x,y" pairs, or one "l,t,r,b" rectangle.
std::vector<std::vector<int>> NumberFields(const std::string& line) {
  std::vector<std::vector<int>> fields;
  std::istringstream words(line);
  std::string word;
  words >> word;  // the command
  while (words >> word) {
    if (word.empty() || (word[0] != '-' && (word[0] < '0' || word[0] > '9'))) break;
    std::vector<int> numbers;
    std::istringstream parts(word);
    for (std::string part; std::getline(parts, part, ',');) numbers.push_back(std::stoi(part));
    fields.push_back(numbers);
  }
  return fields;
}

// The primitives of one recorded paint, the bitmap prefix taken off.
std::vector<Primitive> Primitives(const std::vector<std::string>& log) {
  std::vector<Primitive> primitives;
  for (std::string line : log) {
    if (line.rfind("bitmap", 0) == 0) line = line.substr(line.find(": ") + 2);
    const std::string command = line.substr(0, line.find(' '));
    Primitive p;
    p.pen = ColourAfter(line, "pen");
    p.brush = ColourAfter(line, "brush");
    const std::size_t brush = line.find(" brush=");
    p.brushClear = brush == std::string::npos || line.substr(brush, line.find(' ', brush + 1) - brush).find("/clear") !=
                                                      std::string::npos;
    const auto fields = NumberFields(line);
    if (command == "LineTo" || command == "Polyline" || command == "Polygon") {
      p.kind = command == "Polygon" ? Primitive::Polygon : command == "Polyline" ? Primitive::Polyline : Primitive::Line;
      for (const auto& f : fields)
        if (f.size() == 2) p.points << QPoint(f[0], f[1]);
    } else if (command == "Rectangle" || command == "FillRect" || command == "PatternFill") {
      if (fields.empty() || fields[0].size() != 4) continue;
      p.kind = command == "Rectangle" ? Primitive::Rect : Primitive::Fill;
      p.rect = QRect(QPoint(fields[0][0], fields[0][1]), QPoint(fields[0][2] - 1, fields[0][3] - 1));
    } else if (command == "TextOut") {
      const std::size_t open = line.find('"');
      const std::size_t close = line.find("\" font=");
      if (fields.empty() || open == std::string::npos || close == std::string::npos) continue;
      p.kind = Primitive::Text;
      p.points << QPoint(fields[0][0], fields[0][1]);
      p.text = QString::fromStdString(line.substr(open + 1, close - open - 1));
      p.pen = ColourAfter(line.substr(close), "font=\"");
    } else {
      continue;
    }
    primitives.push_back(p);
  }
  return primitives;
}

// The plain drawing: the primitives into a buffer, then the buffer onto the target,
// as the chart paints into its buffer and copies it.
class PlainReplay {
 public:
  PlainReplay(std::vector<Primitive> primitives, int width, int height, QImage& target)
      : m_primitives(std::move(primitives)), m_buffer(width, height, QImage::Format_RGB32), m_target(target) {}

  void Draw() {
    {
      QPainter painter(&m_buffer);
      for (const Primitive& p : m_primitives) {
        painter.setPen(p.pen);
        if (p.brushClear) {
          painter.setBrush(Qt::NoBrush);
        } else {
          painter.setBrush(p.brush);
        }
        switch (p.kind) {
          case Primitive::Line:
            if (p.points.size() == 2) painter.drawLine(p.points[0], p.points[1]);
            break;
          case Primitive::Polyline: painter.drawPolyline(p.points); break;
          case Primitive::Polygon: painter.drawPolygon(p.points, Qt::OddEvenFill); break;
          case Primitive::Rect: painter.drawRect(p.rect); break;
          case Primitive::Fill: painter.fillRect(p.rect, p.brush); break;
          case Primitive::Text: painter.drawText(p.points[0], p.text); break;
        }
      }
    }
    QPainter copy(&m_target);
    copy.drawImage(0, 0, m_buffer);
  }
  std::size_t Count() const { return m_primitives.size(); }

 private:
  std::vector<Primitive> m_primitives;
  QImage m_buffer;
  QImage& m_target;
};

std::vector<std::string> RecordedPaint(tarvela::TCustomZavPanel& chart) {
  // A fresh recording canvas would reuse the Qt bitmap of an earlier paint; a recorder
  // of its own for the count keeps the buffer of the timed paints untouched.
  tarvela::RecordingSurface surface;
  const bool buffered = chart.Buffered();
  chart.SetBuffered(false);
  chart.PaintChart(surface, chart.ClientRect());
  chart.SetBuffered(buffered);
  return surface.Lines();
}

// Times the chart's paint and the plain replay of its primitives back to back; adjust
// may change the primitives first.
void PaintAgainstReplay(benchmark::State& state, tarvela::TCustomZavPanel& chart,
                        const std::function<void(std::vector<Primitive>&)>& adjust = {}) {
  QImage chartTarget(chart.Width(), chart.Height(), QImage::Format_RGB32);
  QImage plainTarget(chart.Width(), chart.Height(), QImage::Format_RGB32);
  std::vector<Primitive> primitives = Primitives(RecordedPaint(chart));
  if (adjust) adjust(primitives);
  PlainReplay plain(std::move(primitives), chart.Width(), chart.Height(), plainTarget);
  double chartSeconds = 0, plainSeconds = 0;
  {
    tarvela::QtSurface surface(chartTarget);
    for (auto _ : state) {
      const auto t0 = Clock::now();
      plain.Draw();
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
  state.counters["primitives"] = static_cast<double>(plain.Count());
}

std::unique_ptr<tarvela::TForm1> GraphedForm(int presses) {
  auto form = std::make_unique<tarvela::TForm1>(nullptr, [] { return tarvela::LocaleSettings::Dot(); });
  form->Edit1->SetText("1");
  form->Edit2->SetText("0");
  form->Button1->Click();
  for (int i = 0; i < presses; ++i) form->BitBtn1->Click();
  return form;
}

void BM_MainChartPaint(benchmark::State& state) {
  auto form = GraphedForm(static_cast<int>(state.range(0)));
  PaintAgainstReplay(state, *form->Chart1);
}
BENCHMARK(BM_MainChartPaint)->ArgName("presses")->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

// 100,000 points in X order, Y a random walk; the same walk for every run. In 2D the
// chart draws the line as one path of what each pixel column needs; the plain drawing
// is one QPainter polyline through all 100,000 points instead.
void BM_LineSeries100k(benchmark::State& state) {
  tarvela::TChart chart(nullptr);
  chart.SetBounds(0, 0, 465, 337);
  chart.SetView3D(state.range(0) != 0);
  auto* series = new tarvela::TLineSeries(&chart);
  series->SetParentChart(&chart);
  std::mt19937 random(12345);
  std::normal_distribution<double> step(0.0, 1.0);
  double y = 0;
  for (int i = 0; i < 100000; ++i) {
    y += step(random);
    series->AddPointXY(i, y);
  }
  const bool view3D = chart.View3D();
  PaintAgainstReplay(state, chart, [&](std::vector<Primitive>& primitives) {
    if (view3D) return;
    auto line = std::max_element(primitives.begin(), primitives.end(), [](const Primitive& a, const Primitive& b) {
      return a.points.size() < b.points.size();
    });
    if (line == primitives.end() || line->kind != Primitive::Polyline) return;
    QPolygon all(series->PointCount());
    for (int i = 0; i < series->PointCount(); ++i) all.setPoint(i, series->PointXPixel(i), series->PointYPixel(i));
    line->points = all;
  });
}
BENCHMARK(BM_LineSeries100k)->ArgName("view3d")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarvela

int main(int argc, char** argv) { return tarvela::RunQtBenchmarks(argc, argv); }
