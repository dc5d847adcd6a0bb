// A 2D fast line of more points than pixel columns is drawn as one path through what
// each column needs. Painted by Qt, it must light exactly the pixels of the line drawn
// segment by segment with LineTo, whatever the data, zoom and axis direction.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <functional>
#include <memory>
#include <random>
#include <string>

#include "app/pixel_test_support.h"
#include "tarvela/chart/chart.h"
#include "tarvela/chart/series/fast_line_series.h"
#include "tarvela/platform/recording_surface.h"

namespace tarvela {
namespace {

// The drawing the path stands in for: the pen, then every point.
class SegmentBySegment : public TFastLineSeries {
 public:
  using TFastLineSeries::TFastLineSeries;
  void DrawAllPoints() override {
    ParentChart()->Canvas().ApplyChartPen(LinePen());
    ParentChart()->Canvas().SetBrushStyle(bsClear);
    for (int i = FirstDrawnIndex(); i >= 0 && i <= LastDrawnIndex(); ++i) DrawPoint(i);
  }
};

using pixel_test::Painted;

// The commands of one paint in the line's red.
int RedCommands(TChart& chart, const std::string& command) {
  RecordingSurface surface;
  chart.PaintChart(surface, chart.ClientRect());
  int count = 0;
  for (const std::string& line : surface.Lines())
    count += line.rfind(command + " ", 0) == 0 && line.find("pen=#FF0000") != std::string::npos;
  return count;
}

struct Case {
  std::string name;
  std::function<double(int, std::mt19937&)> y;
  int points;
  std::function<void(TChart&)> setUp;
};

std::unique_ptr<TChart> ChartOf(const Case& c, bool segmentBySegment) {
  auto chart = std::make_unique<TChart>(nullptr);
  chart->SetBounds(0, 0, 465, 337);
  chart->SetView3D(false);
  // Unbuffered: a buffer from the recorded paint would otherwise be copied as it is.
  chart->SetBuffered(false);
  TFastLineSeries* series =
      segmentBySegment ? new SegmentBySegment(chart.get()) : new TFastLineSeries(chart.get());
  series->SetParentChart(chart.get());
  series->SetSeriesColor(clRed);
  std::mt19937 random(11);
  for (int i = 0; i < c.points; ++i) series->AddPointXY(i, c.y(i, random));
  // A null point: joined like any other.
  series->SetPointColor(c.points / 2, clNone);
  c.setUp(*chart);
  return chart;
}

TEST(FastLinePixels, OnePathLightsExactlyThePixelsOfTheSegments) {
  const Case cases[] = {
      {"random walk", [walk = 0.0](int, std::mt19937& r) mutable { return walk += std::normal_distribution<>(0, 1)(r); },
       200000, [](TChart&) {}},
      {"spikes and flats", [](int i, std::mt19937& r) { return i % 89 == 0 ? 40.0 * (r() % 3) : (i / 500) % 2; },
       30000, [](TChart&) {}},
      {"zoomed in, entering at the left edge", [](int i, std::mt19937&) { return std::sin(i * 0.002) * 10; }, 40000,
       [](TChart& chart) {
         chart.BottomAxis().SetAutomatic(false);
         chart.BottomAxis().SetMaximum(30000.5);
         chart.BottomAxis().SetMinimum(6000.3);
       }},
      {"inverted axes", [](int i, std::mt19937& r) { return (i % 5) * 0.5 + (r() % 100) * 0.01; }, 8000,
       [](TChart& chart) {
         chart.BottomAxis().SetInverted(true);
         chart.LeftAxis().SetInverted(true);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // Each chart from a fresh copy: a walk keeps its state in its function.
    std::unique_ptr<TChart> fast = ChartOf(Case(c), false);
    std::unique_ptr<TChart> reference = ChartOf(Case(c), true);
    // The axes take their room from the paint before: both charts painted alike first.
    for (int i = 0; i < 3; ++i) {
      Painted(*fast);
      Painted(*reference);
    }
    ASSERT_EQ(RedCommands(*fast, "Polyline"), 1);
    ASSERT_EQ(RedCommands(*reference, "Polyline"), 0);
    ASSERT_GT(RedCommands(*reference, "LineTo"), 100);
    const QImage onePath = Painted(*fast);
    const QImage segments = Painted(*reference);
    int differing = 0;
    int lit = 0;
    for (int y = 0; y < onePath.height(); ++y) {
      for (int x = 0; x < onePath.width(); ++x) {
        differing += onePath.pixel(x, y) != segments.pixel(x, y);
        lit += onePath.pixel(x, y) == qRgb(255, 0, 0);
      }
    }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(lit, 100);  // the line is there at all
  }
}

}  // namespace
}  // namespace tarvela
