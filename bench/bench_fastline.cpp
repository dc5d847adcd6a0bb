// Painting a fast line of many points (a random walk in X order) into a 465 x 337
// chart, against the limit measured in the same run: the same chart frame (panel,
// axes, labels) painted with an empty series and the axes fixed to the same range,
// then the points reduced to the lowest and highest of each pixel column and drawn
// with one QPainter::drawPolyline. Both are timed back to back in every iteration.
//
// Counters: chart_ms and limit_ms (whole pictures), ratio = chart / limit; frame_ms
// (the frame alone) and line_ratio, the line's own share (chart - frame) / (limit -
// frame); differing_pixels between the chart's picture and the same line drawn
// segment by segment with LineTo (0 = identical); bytes_per_point of the series.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>
#include <random>
#include <vector>

#include "qt_bench_main.h"
#include "tarvela/chart/chart.h"
#include "tarvela/chart/series/fast_line_series.h"
#include "tarvela/widgets/application.h"
#include "tarvela/widgets/qt_surface.h"

namespace tarvela {
namespace {

// The line drawn segment by segment, for the pixel comparison.
class SegmentBySegment : public TFastLineSeries {
 public:
  using TFastLineSeries::TFastLineSeries;
  void DrawAllPoints() override {
    ParentChart()->Canvas().ApplyChartPen(LinePen());
    ParentChart()->Canvas().SetBrushStyle(bsClear);
    for (int i = FirstDrawnIndex(); i >= 0 && i <= LastDrawnIndex(); ++i) DrawPoint(i);
  }
};

struct Walk {
  std::vector<double> x, y;
};

const Walk& RandomWalk(int points) {
  static std::vector<std::unique_ptr<Walk>> walks;
  for (const auto& walk : walks)
    if (static_cast<int>(walk->x.size()) == points) return *walk;
  auto walk = std::make_unique<Walk>();
  std::mt19937 random(12345);
  std::normal_distribution<double> step(0.0, 1.0);
  double y = 0;
  for (int i = 0; i < points; ++i) {
    walk->x.push_back(i);
    walk->y.push_back(y += step(random));
  }
  walks.push_back(std::move(walk));
  return *walks.back();
}

std::unique_ptr<TChart> Chart(bool view3D, TFastLineSeries* (*make)(TComponent*), const Walk* walk) {
  auto chart = std::make_unique<TChart>(nullptr);
  chart->SetBounds(0, 0, 465, 337);
  chart->SetView3D(view3D);
  TFastLineSeries* series = make(chart.get());
  series->SetParentChart(chart.get());
  series->SetSeriesColor(clRed);
  if (walk != nullptr) {
    for (std::size_t i = 0; i < walk->x.size(); ++i) series->AddPointXY(walk->x[i], walk->y[i]);
  }
  return chart;
}

TFastLineSeries* MakeFast(TComponent* owner) { return new TFastLineSeries(owner); }
TFastLineSeries* MakeSegments(TComponent* owner) { return new SegmentBySegment(owner); }

void Settle(TChart& chart, QImage& image) {
  QtSurface surface(image);
  for (int i = 0; i < 4; ++i) chart.PaintChart(surface, chart.ClientRect());
}

void Fix(TChartAxis& axis, const TChartAxis& like) {
  axis.SetAutomatic(false);
  axis.SetMinimum(like.ScaleMinimum());
  axis.SetMaximum(like.ScaleMaximum());
}

void BM_FastLine(benchmark::State& state) {
  const int points = static_cast<int>(state.range(0));
  const bool view3D = state.range(1) != 0;
  const Walk& walk = RandomWalk(points);
  std::unique_ptr<TChart> chart = Chart(view3D, MakeFast, &walk);
  QImage chartImage(chart->Width(), chart->Height(), QImage::Format_RGB32);
  Settle(*chart, chartImage);
  auto& series = static_cast<TFastLineSeries&>(*chart->SeriesAt(0));

  // The frame of the limit: the same axes, no points.
  std::unique_ptr<TChart> frame = Chart(view3D, MakeFast, nullptr);
  Fix(frame->BottomAxis(), chart->BottomAxis());
  Fix(frame->LeftAxis(), chart->LeftAxis());
  QImage limitImage(chart->Width(), chart->Height(), QImage::Format_RGB32);
  Settle(*frame, limitImage);
  const TChartAxis& h = chart->BottomAxis();
  const TChartAxis& v = chart->LeftAxis();
  const double xScale = (h.EndPixel() - h.StartPixel()) / (h.ScaleMaximum() - h.ScaleMinimum());
  const double yScale = (v.EndPixel() - v.StartPixel()) / (v.ScaleMaximum() - v.ScaleMinimum());
  const int left = h.StartPixel();
  const int bottom = v.EndPixel();

  // The pixel comparison, once: the chart's picture against the segments'.
  if (!view3D) {
    std::unique_ptr<TChart> reference = Chart(false, MakeSegments, &walk);
    QImage referenceImage(chart->Width(), chart->Height(), QImage::Format_RGB32);
    Settle(*reference, referenceImage);
    long differing = 0;
    for (int y = 0; y < chartImage.height(); ++y)
      for (int x = 0; x < chartImage.width(); ++x) differing += chartImage.pixel(x, y) != referenceImage.pixel(x, y);
    state.counters["differing_pixels"] = static_cast<double>(differing);
  }

  std::vector<double> low(static_cast<std::size_t>(chart->Width()) + 2), high(low.size());
  QPolygon polyline;
  double chartSeconds = 0, limitSeconds = 0, frameSeconds = 0;
  {
    QtSurface chartSurface(chartImage);
    QtSurface limitSurface(limitImage);
    for (auto _ : state) {
      const auto t0 = Clock::now();
      frame->PaintChart(limitSurface, frame->ClientRect());
      const auto t1 = Clock::now();
      {
        // The lowest and highest value of each column, only those mapped to rows, then
        // one polyline. X >= the axis minimum, so adding a half and cutting rounds.
        std::fill(low.begin(), low.end(), std::numeric_limits<double>::infinity());
        std::fill(high.begin(), high.end(), -std::numeric_limits<double>::infinity());
        const double xMin = h.ScaleMinimum();
        const auto lastSlot = static_cast<int>(low.size()) - 1;
        for (int i = 0; i < points; ++i) {
          const auto at = static_cast<std::size_t>(i);
          const int column = std::min(static_cast<int>((walk.x[at] - xMin) * xScale + 0.5), lastSlot);
          const double value = walk.y[at];
          low[static_cast<std::size_t>(column)] = std::min(low[static_cast<std::size_t>(column)], value);
          high[static_cast<std::size_t>(column)] = std::max(high[static_cast<std::size_t>(column)], value);
        }
        polyline.clear();
        for (int c = 0; c <= lastSlot; ++c) {
          const auto at = static_cast<std::size_t>(c);
          if (low[at] > high[at]) continue;
          polyline << QPoint(left + c, bottom - static_cast<int>(std::lround((low[at] - v.ScaleMinimum()) * -yScale)))
                   << QPoint(left + c, bottom - static_cast<int>(std::lround((high[at] - v.ScaleMinimum()) * -yScale)));
        }
        QPainter painter(&limitImage);
        painter.setPen(QColor(255, 0, 0));
        painter.drawPolyline(polyline);
      }
      const auto t2 = Clock::now();
      chart->PaintChart(chartSurface, chart->ClientRect());
      const auto t3 = Clock::now();
      frameSeconds += Seconds(t0, t1);
      limitSeconds += Seconds(t0, t2);
      chartSeconds += Seconds(t2, t3);
    }
  }
  benchmark::DoNotOptimize(chartImage.constBits());
  benchmark::DoNotOptimize(limitImage.constBits());
  const auto n = static_cast<double>(state.iterations());
  state.counters["chart_ms"] = chartSeconds / n * 1e3;
  state.counters["limit_ms"] = limitSeconds / n * 1e3;
  state.counters["frame_ms"] = frameSeconds / n * 1e3;
  state.counters["ratio"] = chartSeconds / limitSeconds;
  state.counters["line_ratio"] = (chartSeconds - frameSeconds) / (limitSeconds - frameSeconds);
  state.counters["bytes_per_point"] = static_cast<double>(series.AllocatedBytes()) / points;
}
BENCHMARK(BM_FastLine)
    ->ArgNames({"points", "view3d"})
    ->Args({1000000, 0})
    ->Args({10000000, 0})
    ->Args({1000000, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarvela

int main(int argc, char** argv) { return tarvela::RunQtBenchmarks(argc, argv); }
