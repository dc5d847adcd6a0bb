// A 2D area of more points than pixel columns is drawn from the points each pixel
// column needs. Painted by Qt, it must leave exactly the picture of the point-by-point
// drawing, over many random charts: even and uneven X steps, outlines on and off,
// hatched brushes, zoomed and inverted axes, values beyond the axis ends.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cmath>
#include <random>
#include <string>

#include "app/pixel_test_support.h"
#include "tarvela/chart/chart.h"
#include "tarvela/chart/series/area_series.h"
#include "tarvela/widgets/qt_surface.h"

namespace tarvela {
namespace {

using PointByPoint = pixel_test::EveryPoint<TAreaSeries>;
using pixel_test::DifferingPixels;

// Counts the polygons drawn, so that the test knows the columns were used at all.
class CountingSurface : public QtSurface {
 public:
  using QtSurface::QtSurface;
  int polygons = 0;

 protected:
  void DoPolygon(std::span<const TPoint> points) override {
    ++polygons;
    QtSurface::DoPolygon(points);
  }
};

struct Painting {
  QImage image;
  int polygons;
};

Painting Painted(TChart& chart, bool direct) {
  QImage image(chart.Width(), chart.Height(), QImage::Format_RGB32);
  image.fill(Qt::white);
  CountingSurface surface(image);
  surface.SetDirectRaster(direct);
  chart.PaintChart(surface, chart.ClientRect());
  return {image, surface.polygons};
}

// One random chart, the same for both kinds of series given the same seed.
void MakeChart(TChart& chart, TAreaSeries& series, unsigned seed) {
  std::mt19937 random(seed);
  const auto uniform = [&](int low, int high) { return std::uniform_int_distribution<>(low, high)(random); };
  chart.SetBounds(0, 0, uniform(120, 400), uniform(100, 300));
  chart.SetView3D(false);
  // Unbuffered: each paint draws the series again.
  chart.SetBuffered(false);
  series.SetParentChart(&chart);
  series.SetSeriesColor(uniform(0, 1) != 0 ? clRed : clTeal);
  const int points = uniform(300, 4000);
  const bool uneven = uniform(0, 1) != 0;
  const int shape = uniform(0, 2);
  double x = 0, y = 0, lowest = 0, highest = 0;
  std::normal_distribution<> step(0, 1);
  for (int i = 0; i < points; ++i) {
    x += uneven ? std::exponential_distribution<>(1.0)(random) + 1e-3 : 1.0;
    switch (shape) {
      case 0: y += step(random); break;                                            // a walk
      case 1: y = i % 53 == 0 ? 30.0 * uniform(-1, 2) : std::sin(i * 0.01); break;  // spikes
      default: y = (i / 400) % 3 + (uniform(0, 9) == 0 ? 0.5 : 0.0); break;         // flats
    }
    series.AddPointXY(x, y);
    lowest = i == 0 ? y : std::min(lowest, y);
    highest = i == 0 ? y : std::max(highest, y);
  }
  const int outline = uniform(0, 2);
  if (outline == 0) series.AreaLinesPen().SetVisible(false);
  if (outline == 1) series.AreaLinesPen().SetColor(clNavy);
  if (uniform(0, 3) == 0) series.SetAreaBrush(uniform(0, 1) != 0 ? bsDiagCross : bsHorizontal);
  if (uniform(0, 2) == 0) series.SetAreaColor(clYellow);
  if (uniform(0, 3) == 0) {
    // Zoomed: points beyond both ends of the plot, some below the axis' minimum.
    chart.BottomAxis().SetAutomatic(false);
    chart.BottomAxis().SetMaximum(x * 0.7);
    chart.BottomAxis().SetMinimum(x * 0.2);
    chart.LeftAxis().SetAutomatic(false);
    chart.LeftAxis().SetMaximum(highest);
    chart.LeftAxis().SetMinimum((lowest + highest) / 2 - 1);
  }
  if (uniform(0, 4) == 0) chart.BottomAxis().SetInverted(true);
  if (uniform(0, 4) == 0) chart.LeftAxis().SetInverted(true);
}

TEST(AreaColumnsPixels, ColumnsLeaveExactlyThePictureOfThePointByPointArea) {
  int columnQuads = 0, pointQuads = 0;
  for (unsigned seed = 1; seed <= 16; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    TChart fast(nullptr), reference(nullptr);
    auto* fastSeries = new TAreaSeries(&fast);
    auto* referenceSeries = new PointByPoint(&reference);
    MakeChart(fast, *fastSeries, seed);
    MakeChart(reference, *referenceSeries, seed);
    // Through Qt's own painter (hatched brushes always take it) and written directly.
    const bool direct = seed % 4 != 0;
    // The axes take their room from the paint before: both painted alike first.
    Painted(fast, direct);
    Painted(reference, direct);
    const Painting columns = Painted(fast, direct);
    const Painting points = Painted(reference, direct);
    ASSERT_EQ(DifferingPixels(columns.image, points.image), 0);
    // Far fewer quads, over all charts.
    columnQuads += columns.polygons;
    pointQuads += points.polygons;
    // The area is there at all: many pixels that the chart without it leaves otherwise.
    fastSeries->SetActive(false);
    EXPECT_GT(DifferingPixels(columns.image, Painted(fast, direct).image), 500);
  }
  EXPECT_LT(columnQuads * 2, pointQuads);
}

// Stacked areas stand on each other's points, so a column's points do not compare as
// their values: drawn point by point as ever.
TEST(AreaColumnsPixels, StackedAreasKeepThePictureOfThePointByPointAreas) {
  QImage pictures[2];
  int quads[2];
  for (int kind = 0; kind < 2; ++kind) {
    TChart chart(nullptr);
    chart.SetBounds(0, 0, 250, 200);
    chart.SetView3D(false);
    chart.SetBuffered(false);
    for (int s = 0; s < 2; ++s) {
      TAreaSeries* area = kind == 0 ? new TAreaSeries(&chart) : new PointByPoint(&chart);
      area->SetParentChart(&chart);
      area->SetSeriesColor(s == 0 ? clRed : clTeal);
      for (int i = 0; i < 1500; ++i) area->AddPointXY(i, 1 + ((i * (s + 3)) % 17));
    }
    static_cast<TAreaSeries*>(chart.SeriesAt(0))->SetMultiArea(maStacked);
    Painted(chart, true);
    const Painting painting = Painted(chart, true);
    pictures[kind] = painting.image;
    quads[kind] = painting.polygons;
  }
  EXPECT_EQ(DifferingPixels(pictures[0], pictures[1]), 0);
  EXPECT_EQ(quads[0], quads[1]);
}

}  // namespace
}  // namespace tarvela
