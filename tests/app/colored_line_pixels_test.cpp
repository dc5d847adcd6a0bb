// A 2D line in point colours (a colour per point, colour entries, null points) is handed
// to the surface at once, which on a raster image draws the segments from the last to
// the first, each pixel written once. Painted by Qt it must light exactly the pixels of
// the point-by-point drawing; every other output (the QPainter path, SVG, the recording
// surface) must get exactly what the point-by-point drawing gives it.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QSvgGenerator>
#include <cmath>
#include <functional>
#include <memory>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "app/pixel_test_support.h"
#include "tarvela/chart/chart.h"
#include "tarvela/chart/series/line_series.h"
#include "tarvela/platform/recording_surface.h"
#include "tarvela/widgets/qt_surface.h"

namespace tarvela {
namespace {

// The drawing of today: every point on its own.
using PointByPoint = pixel_test::EveryPoint<TLineSeries>;

// Counts the segments handed over at once, to show which drawing ran.
class CountingSurface : public QtSurface {
 public:
  using QtSurface::QtSurface;
  int batched = 0;

 protected:
  void DoLineSegments(std::span<const TPoint> points, std::span<const TColor> colors) override {
    batched += static_cast<int>(points.size()) - 1;
    QtSurface::DoLineSegments(points, colors);
  }
};

QImage Painted(TChart& chart, bool direct = true, int* batched = nullptr) {
  QImage image(chart.Width(), chart.Height(), QImage::Format_RGB32);
  image.fill(Qt::white);
  CountingSurface surface(image);
  surface.SetDirectRaster(direct);
  chart.PaintChart(surface, chart.ClientRect());
  if (batched != nullptr) *batched = surface.batched;
  return image;
}

QByteArray Svg(TChart& chart) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(QSize(chart.Width(), chart.Height()));
    QtSurface surface(generator);
    chart.PaintChart(surface, chart.ClientRect());
  }
  return buffer.data();
}

std::vector<std::string> Recorded(TChart& chart) {
  RecordingSurface surface;
  chart.PaintChart(surface, chart.ClientRect());
  return surface.Lines();
}

struct Case {
  std::string name;
  std::function<double(int, std::mt19937&)> y;
  int points;
  // Colours, null points and axes, once the points are in.
  std::function<void(TChart&, TLineSeries&)> setUp;
};

std::unique_ptr<TChart> ChartOf(const Case& c, bool pointByPoint) {
  auto chart = std::make_unique<TChart>(nullptr);
  chart->SetBounds(0, 0, 465, 337);
  chart->SetView3D(false);
  // Unbuffered: a buffer from the recorded paint would otherwise be copied as it is.
  chart->SetBuffered(false);
  TLineSeries* series = pointByPoint ? new PointByPoint(chart.get()) : new TLineSeries(chart.get());
  series->SetParentChart(chart.get());
  series->SetSeriesColor(clRed);
  std::mt19937 random(5);
  for (int i = 0; i < c.points; ++i) series->AddPointXY(i, c.y(i, random));
  c.setUp(*chart, *series);
  return chart;
}

double Walk(std::mt19937& r, double& at) { return at += std::normal_distribution<>(0, 1)(r); }

const TColor kColors[] = {clRed, clBlue, clGreen, clFuchsia, clNavy, clOlive};

// Colour entries: a few colours in runs, gaps of clNone, and null points.
void RunsAndGaps(TChart&, TLineSeries& series) {
  for (int i = 0; i < series.PointCount(); ++i) series.SetPointColor(i, kColors[(i / 37) % 6]);
  for (int i = 100; i < series.PointCount(); i += 997) {
    for (int k = 0; k < 1 + i % 3; ++k) series.SetPointColor(std::min(i + k, series.PointCount() - 1), clNone);
  }
}

TEST(ColoredLinePixels, PointColoursLightExactlyThePixelsOfThePointByPointLine) {
  const Case cases[] = {
      {"random walk, a colour per point", [at = 0.0](int, std::mt19937& r) mutable { return Walk(r, at); }, 100000,
       [](TChart&, TLineSeries& s) { s.SetColorEachPoint(true); }},
      {"random walk, colour runs with clNone gaps", [at = 0.0](int, std::mt19937& r) mutable { return Walk(r, at); },
       60000, RunsAndGaps},
      {"spikes", [](int i, std::mt19937& r) { return i % 97 == 0 ? 50.0 * (r() % 3) : std::sin(i * 0.01); }, 30000,
       [](TChart&, TLineSeries& s) { s.SetColorEachPoint(true); }},
      {"null points added as such",
       [](int i, std::mt19937& r) { return i % 50 < 3 ? 0.0 : std::cos(i * 0.004) * 5 + (r() % 10) * 0.1; }, 20000,
       [](TChart&, TLineSeries& s) {
         for (int i = 0; i < s.PointCount(); i += 50) s.SetPointColor(i, clNone);
         s.AddNullPointXY(20000, 0);
         s.AddPointXY(20001, 3, "", clBlue);
         s.AddPointXY(20002, -2, "", clLime);
       }},
      {"zoomed in, entering at the left edge", [](int i, std::mt19937&) { return std::sin(i * 0.003) * 10; }, 30000,
       [](TChart& chart, TLineSeries& s) {
         s.SetColorEachPoint(true);
         chart.BottomAxis().SetAutomatic(false);
         chart.BottomAxis().SetMaximum(25000.5);
         chart.BottomAxis().SetMinimum(4999.3);
         chart.LeftAxis().SetAutomatic(false);
         chart.LeftAxis().SetMaximum(7.2);
         chart.LeftAxis().SetMinimum(-6.1);
       }},
      {"inverted axes", [](int i, std::mt19937& r) { return (i % 7) * 0.5 + (r() % 100) * 0.01; }, 5000,
       [](TChart& chart, TLineSeries& s) {
         RunsAndGaps(chart, s);
         chart.BottomAxis().SetInverted(true);
         chart.LeftAxis().SetInverted(true);
       }},
      {"many points a column, swinging across the chain's range",
       [](int i, std::mt19937& r) { return (i % 13) * ((i / 13) % 2 == 0 ? 1.0 : -1.0) + (r() % 7) * 0.3; }, 20000,
       [](TChart& chart, TLineSeries& s) {
         chart.SetBounds(0, 0, 90, 337);
         s.SetColorEachPoint(true);
       }},
      {"null points inside columns", [at = 0.0](int, std::mt19937& r) mutable { return Walk(r, at); }, 50000,
       [](TChart&, TLineSeries& s) {
         s.SetColorEachPoint(true);
         for (int i = 3; i < s.PointCount(); i += 7) s.SetPointColor(i, clNone);
       }},
      {"sparse: fewer points than columns", [](int i, std::mt19937& r) { return (i * 37) % 101 + (r() % 3); }, 150,
       [](TChart&, TLineSeries& s) { s.SetColorEachPoint(true); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<TChart> fast = ChartOf(Case(c), false);
    std::unique_ptr<TChart> reference = ChartOf(Case(c), true);
    // The axes take their room from the paint before: both painted alike first.
    for (int i = 0; i < 2; ++i) {
      Painted(*fast);
      Painted(*reference);
    }
    int batched = 0, referenceBatched = 0;
    const QImage batch = Painted(*fast, true, &batched);
    const QImage points = Painted(*reference, true, &referenceBatched);
    EXPECT_GT(batched, 10);  // the fast drawing ran
    EXPECT_EQ(referenceBatched, 0);
    int differing = 0;
    int coloured = 0;
    for (int y = 0; y < batch.height(); ++y) {
      for (int x = 0; x < batch.width(); ++x) {
        differing += batch.pixel(x, y) != points.pixel(x, y);
        const QRgb p = batch.pixel(x, y);
        coloured += qRed(p) != qGreen(p) || qGreen(p) != qBlue(p);
      }
    }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(coloured, 300);  // the line is there at all
    // The outputs that do not draw into image memory get the point-by-point drawing.
    EXPECT_EQ(Painted(*fast, false), Painted(*reference, false));
    EXPECT_EQ(Recorded(*fast), Recorded(*reference));
    EXPECT_EQ(Svg(*fast), Svg(*reference));
  }
}

TEST(ColoredLinePixels, RandomChartsLightExactlyThePixelsOfThePointByPointLine) {
  std::mt19937 random(424242);
  for (int trial = 0; trial < 150; ++trial) {
    const int width = 40 + static_cast<int>(random() % 260);
    const int points = 20 + static_cast<int>(random() % 4000);
    const int shape = static_cast<int>(random() % 4);
    const int nullEvery = 2 + static_cast<int>(random() % 40);
    const int runLength = 1 + static_cast<int>(random() % 9);
    const bool inverted = random() % 3 == 0;
    const unsigned seed = random();
    SCOPED_TRACE(testing::Message() << "trial " << trial << " width " << width << " points " << points << " shape "
                                    << shape << " nulls every " << nullEvery << " runs " << runLength);
    const Case c{"random",
                 [shape, at = 0.0](int i, std::mt19937& r) mutable {
                   switch (shape) {
                     case 0: return at += std::normal_distribution<>(0, 1)(r);
                     case 1: return static_cast<double>(r() % 50);
                     case 2: return (i % 17) * ((i / 17) % 2 == 0 ? 1.0 : -0.5);
                     default: return std::floor(std::sin(i * 0.01) * 8) + (r() % 2);
                   }
                 },
                 points,
                 [&](TChart& chart, TLineSeries& s) {
                   chart.SetBounds(0, 0, width, 120 + static_cast<int>(seed % 200));
                   std::mt19937 colours(seed);
                   for (int i = 0; i < s.PointCount(); ++i) {
                     s.SetPointColor(i, colours() % static_cast<unsigned>(nullEvery) == 0 ? clNone
                                                                                      : kColors[(i / runLength) % 6]);
                   }
                   chart.BottomAxis().SetInverted(inverted);
                   chart.LeftAxis().SetInverted(inverted && seed % 2 == 0);
                 }};
    std::unique_ptr<TChart> fast = ChartOf(Case(c), false);
    std::unique_ptr<TChart> reference = ChartOf(Case(c), true);
    Painted(*fast);
    Painted(*reference);
    int batched = 0;
    const QImage batch = Painted(*fast, true, &batched);
    const QImage pointByPoint = Painted(*reference);
    ASSERT_EQ(batch, pointByPoint);
    EXPECT_GT(batched, 0);
  }
}

}  // namespace
}  // namespace tarvela
