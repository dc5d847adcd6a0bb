// A 2D line of more points than pixel columns is drawn as one path through what each
// column needs. Painted by Qt, it must light exactly the pixels of the point-by-point
// drawing, whatever the data, zoom and axis direction.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <functional>
#include <random>
#include <string>

#include "app/pixel_test_support.h"
#include "tarvela/chart/chart.h"
#include "tarvela/chart/series/line_series.h"
#include "tarvela/platform/recording_surface.h"

namespace tarvela {
namespace {

using pixel_test::DifferingPixels;
using pixel_test::Painted;

bool DrawsOnePath(TChart& chart) {
  RecordingSurface surface;
  chart.PaintChart(surface, chart.ClientRect());
  for (const std::string& line : surface.Lines()) {
    // The panel's bevel is drawn with polylines too, in other colours.
    if (line.rfind("Polyline", 0) == 0 && line.find("pen=#FF0000") != std::string::npos) return true;
  }
  return false;
}

struct Case {
  std::string name;
  std::function<double(int, std::mt19937&)> y;
  int points;
  std::function<void(TChart&)> setUp;
};

TEST(DenseLinePixels, OnePathLightsExactlyThePixelsOfThePointByPointLine) {
  const Case cases[] = {
      {"random walk", [walk = 0.0](int, std::mt19937& r) mutable { return walk += std::normal_distribution<>(0, 1)(r); },
       20000, [](TChart&) {}},
      {"spikes", [](int i, std::mt19937& r) { return i % 97 == 0 ? 50.0 * (r() % 3) : std::sin(i * 0.01); }, 20000,
       [](TChart&) {}},
      {"zoomed in, entering at the left edge", [](int i, std::mt19937&) { return std::sin(i * 0.003) * 10; }, 30000,
       [](TChart& chart) {
         chart.BottomAxis().SetAutomatic(false);
         chart.BottomAxis().SetMaximum(25000.5);
         chart.BottomAxis().SetMinimum(4999.3);
       }},
      {"inverted axes", [](int i, std::mt19937& r) { return (i % 7) * 0.5 + (r() % 100) * 0.01; }, 5000,
       [](TChart& chart) {
         chart.BottomAxis().SetInverted(true);
         chart.LeftAxis().SetInverted(true);
       }},
      {"few columns", [](int i, std::mt19937&) { return (i * 37) % 101; }, 400,
       [](TChart& chart) { chart.SetBounds(0, 0, 80, 337); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TChart chart(nullptr);
    chart.SetBounds(0, 0, 465, 337);
    chart.SetView3D(false);
    // Unbuffered: a buffer from the recorded paint would otherwise be copied as it is.
    chart.SetBuffered(false);
    auto* series = new TLineSeries(&chart);
    series->SetParentChart(&chart);
    series->SetSeriesColor(clRed);
    std::mt19937 random(7);
    for (int i = 0; i < c.points; ++i) series->AddPointXY(i, c.y(i, random));
    c.setUp(chart);

    ASSERT_TRUE(DrawsOnePath(chart));
    const QImage onePath = Painted(chart);
    // A colour entry of its own colour: the same line, drawn point by point.
    series->SetPointColor(0, series->SeriesColor());
    ASSERT_FALSE(DrawsOnePath(chart));
    const QImage pointByPoint = Painted(chart);

    EXPECT_EQ(DifferingPixels(onePath, pointByPoint), 0);
    // The line is there at all: the series colour lights many pixels.
    int lit = 0;
    const QRgb colour = qRgb(255, 0, 0);
    for (int y = 0; y < onePath.height(); ++y) {
      for (int x = 0; x < onePath.width(); ++x) lit += onePath.pixel(x, y) == colour;
    }
    EXPECT_GT(lit, 50);
  }
}

}  // namespace
}  // namespace tarvela
