// A 2D point series leaves out the pointers that a later identical pointer covers.
// Painted by Qt, its picture must be exactly the one of every pointer drawn in order,
// whatever the shapes, pens, brushes, colours, null points, zoom and clipping.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <limits>
#include <memory>
#include <random>
#include <span>
#include <string>
#include <unordered_set>
#include <vector>

#include "app/pixel_test_support.h"
#include "tarvela/chart/series/point_series.h"
#include "tarvela/platform/recording_surface.h"
#include "tarvela/widgets/qt_surface.h"

namespace tarvela {
namespace {

using EveryPointer = pixel_test::EveryPoint<TPointSeries>;
using pixel_test::Commands;
using pixel_test::Painted;

// Pixels in the colours of the series' points.
int PaletteCount(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const QRgb rgb = row[x] & 0xFFFFFFu;
      count += rgb == 0xFF0000u || rgb == 0x0000FFu || rgb == 0x008000u;
    }
  }
  return count;
}

// One random chart; the same seed makes the same chart with either series class.
std::unique_ptr<TChart> RandomChart(unsigned seed, bool everyPointer) {
  std::mt19937 random(seed);
  const auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  auto chart = std::make_unique<TChart>(nullptr);
  chart->SetBounds(0, 0, 100 + pick(180), 80 + pick(130));
  chart->SetView3D(false);
  chart->SetBuffered(false);
  chart->Legend().SetVisible(false);
  chart->SetClipPoints(pick(4) != 0);
  TPointSeries* series = everyPointer ? new EveryPointer(chart.get()) : new TPointSeries(chart.get());
  series->SetParentChart(chart.get());
  series->Marks().SetVisible(false);
  TSeriesPointer& pointer = series->Pointer();
  pointer.SetStyle(static_cast<TSeriesPointerStyle>(pick(9)));
  pointer.SetHorizSize(1 + pick(6));
  pointer.SetVertSize(1 + pick(6));
  pointer.Pen().SetWidth(1 + pick(3));
  pointer.Pen().SetVisible(pick(5) != 0);
  pointer.Pen().SetColor(pick(2) == 0 ? clBlack : clDefault);
  const TBrushStyle brushes[] = {bsSolid, bsClear, bsDiagCross};
  pointer.Brush().SetStyle(brushes[pick(3)]);
  // Something of the point's colour shows, whatever the shape.
  if (pointer.Brush().Style() != bsSolid) {
    pointer.Pen().SetVisible(true);
    pointer.Pen().SetColor(clDefault);
  }
  const TColor palette[] = {clRed, clBlue, clGreen};
  series->SetSeriesColor(palette[pick(3)]);
  // Few distinct values on each axis: many points share a pixel.
  // From fewer points than the plot has pixels to more.
  const int points = 300 + pick(2000);
  const int xLevels = 3 + pick(40);
  const int yLevels = 3 + pick(30);
  const bool manyColours = pick(3) == 0;
  for (int i = 0; i < points; ++i) {
    const TColor color = pick(40) == 0 ? clNone : manyColours ? palette[pick(3)] : clDefault;
    series->AddPointXY(pick(xLevels), pick(yLevels) * 0.5, "", color);
  }
  if (pick(2) == 0) {
    // Zoomed in: points beyond every edge.
    chart->BottomAxis().SetAutomatic(false);
    chart->BottomAxis().SetMaximum(xLevels * 0.7);
    chart->BottomAxis().SetMinimum(xLevels * 0.2);
    chart->LeftAxis().SetAutomatic(false);
    chart->LeftAxis().SetMaximum(yLevels * 0.3);
    chart->LeftAxis().SetMinimum(yLevels * 0.1);
  }
  chart->BottomAxis().SetInverted(pick(4) == 0);
  return chart;
}

TEST(PointPixels, LeftOutPointersChangeNoPixel) {
  std::size_t culledCommands = 0;
  std::size_t everyCommands = 0;
  for (unsigned seed = 1; seed <= 8; ++seed) {
    SCOPED_TRACE("chart " + std::to_string(seed));
    const pixel_test::Comparison compared = pixel_test::Compare(RandomChart, seed);
    culledCommands += compared.fastCommands;
    everyCommands += compared.everyCommands;
    EXPECT_EQ(compared.differing, 0);
    EXPECT_GT(PaletteCount(compared.reference), 0);  // some pointer shows at all
  }
  // The pointers under later ones were left out: many of them, on such crowded pixels.
  EXPECT_LT(culledCommands * 3, everyCommands * 2);
}

// Counts the rectangles drawn at once (Rectangles), and says whether any was.
class CountingSurface : public QtSurface {
 public:
  using QtSurface::QtSurface;
  std::size_t stamped = 0;

 protected:
  void DoRectangles(std::span<const TRect> rects) override {
    if (DoFastRectangles()) stamped += rects.size();
    QtSurface::DoRectangles(rects);
  }
};

struct Picture {
  QImage image;
  std::size_t stamped = 0;
};

// direct: the surface's direct raster path; buffered: as a window paints (the chart's
// bitmap, then the copy); scale: device pixels per chart pixel.
Picture PaintedBy(TChart& chart, bool direct, bool buffered, qreal scale = 1) {
  Picture picture{QImage(static_cast<int>(chart.Width() * scale), static_cast<int>(chart.Height() * scale),
                         QImage::Format_RGB32)};
  picture.image.setDevicePixelRatio(scale);
  picture.image.fill(Qt::white);
  CountingSurface surface(picture.image);
  surface.SetDirectRaster(direct);
  chart.SetBuffered(buffered);
  if (buffered) {
    chart.Invalidate();
    chart.Paint(surface);
  } else {
    chart.PaintChart(surface, chart.ClientRect());
  }
  picture.stamped = surface.stamped;
  return picture;
}

// A chart whose pointers are rectangles of one colour, the case drawn at once: pens,
// brushes and sizes of every kind (some that only the point-by-point drawing takes),
// X even or uneven, null points, zoomed so that pointers cross the plot's and the
// picture's edges, clipped or not.
std::unique_ptr<TChart> RectangleChart(unsigned seed, bool everyPointer, bool large) {
  std::mt19937 random(seed);
  const auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  auto chart = std::make_unique<TChart>(nullptr);
  if (large) {
    chart->SetBounds(0, 0, 1920, 1080);
  } else {
    chart->SetBounds(0, 0, 120 + pick(360), 90 + pick(260));
  }
  chart->SetView3D(false);
  chart->SetBuffered(false);
  chart->Legend().SetVisible(false);
  chart->SetClipPoints(pick(3) != 0);
  TPointSeries* series = everyPointer ? new EveryPointer(chart.get()) : new TPointSeries(chart.get());
  series->SetParentChart(chart.get());
  series->Marks().SetVisible(false);
  TSeriesPointer& pointer = series->Pointer();
  pointer.SetHorizSize(1 + pick(6));
  pointer.SetVertSize(1 + pick(6));
  pointer.Pen().SetWidth(pick(6) == 0 ? 2 : 1);
  pointer.Pen().SetVisible(pick(4) != 0);
  pointer.Pen().SetColor(pick(2) == 0 ? clBlack : clDefault);
  const TBrushStyle brushes[] = {bsSolid, bsSolid, bsClear, bsDiagCross};
  pointer.Brush().SetStyle(brushes[pick(4)]);
  // Something of the point's colour shows, whatever the brush.
  if (pointer.Brush().Style() != bsSolid) {
    pointer.Pen().SetVisible(true);
    pointer.Pen().SetColor(clDefault);
  }
  const TColor palette[] = {clRed, clBlue, clGreen};
  series->SetSeriesColor(palette[pick(3)]);
  const bool uneven = pick(2) == 0;
  const int points = large ? 6000 + pick(4000) : 300 + pick(3000);
  const int levels = 3 + pick(60);
  const bool zoomed = pick(2) == 0;
  double x = 0, y = 0;
  for (int i = 0; i < points; ++i) {
    x += uneven ? std::exponential_distribution<double>(1.0)(random) : 1.0;
    y = pick(3) == 0 ? y + std::normal_distribution<double>(0, 1)(random) : pick(levels) * 0.5;
    // Values that are no numbers, where the limits do not depend on them (X stays in
    // order, which the drawn range needs).
    const double odd[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                          -std::numeric_limits<double>::infinity()};
    const bool oddY = zoomed && pick(200) == 0;
    series->AddPointXY(x, oddY ? odd[pick(3)] : y, "", pick(50) == 0 ? clNone : clDefault);
  }
  if (zoomed) {
    // Zoomed in: points beyond every edge.
    chart->BottomAxis().SetAutomatic(false);
    chart->BottomAxis().SetMaximum(x * 0.7);
    chart->BottomAxis().SetMinimum(x * 0.2);
    chart->LeftAxis().SetAutomatic(false);
    chart->LeftAxis().SetMaximum(levels * 0.3);
    chart->LeftAxis().SetMinimum(levels * 0.1);
  }
  chart->BottomAxis().SetInverted(pick(4) == 0);
  chart->LeftAxis().SetInverted(pick(4) == 0);
  return chart;
}

TEST(PointPixels, RectanglesDrawnAtOnceChangeNoPixel) {
  std::size_t stamped = 0;
  for (unsigned seed = 1; seed <= 18; ++seed) {
    const bool large = seed == 9;
    SCOPED_TRACE("chart " + std::to_string(seed));
    std::unique_ptr<TChart> fast = RectangleChart(seed, false, large);
    std::unique_ptr<TChart> every = RectangleChart(seed, true, large);
    PaintedBy(*fast, true, false);
    PaintedBy(*every, true, false);
    const Picture reference = PaintedBy(*every, true, false);
    const Picture picture = PaintedBy(*fast, true, false);
    ASSERT_EQ(picture.image.size(), reference.image.size());
    EXPECT_EQ(pixel_test::DifferingPixels(picture.image, reference.image), 0);
    EXPECT_GT(PaletteCount(reference.image), 0);
    EXPECT_EQ(reference.stamped, 0u);
    stamped += picture.stamped;
    // Through the painter alone, or as a window.
    if (seed % 3 == 0) {
      EXPECT_EQ(PaintedBy(*fast, false, false).image, reference.image);
    } else if (seed % 3 == 1) {
      EXPECT_EQ(PaintedBy(*fast, true, true).image, PaintedBy(*every, true, true).image);
    }
  }
  // Most charts drew their rectangles at once.
  EXPECT_GT(stamped, 1000u);
}

// Where the raster is not written directly (a denser device, smoothed shapes) the
// shown pointers are drawn one by one, the same pixels as every pointer in order.
TEST(PointPixels, DenseAndSmoothPicturesDrawPointerByPointer) {
  for (unsigned seed = 41; seed <= 44; ++seed) {
    SCOPED_TRACE("chart " + std::to_string(seed));
    std::unique_ptr<TChart> fast = RectangleChart(seed, false, false);
    std::unique_ptr<TChart> every = RectangleChart(seed, true, false);
    const bool smooth = seed % 2 == 0;
    fast->SetAntialiased(smooth);
    every->SetAntialiased(smooth);
    const qreal scale = smooth ? 1 : 2;
    PaintedBy(*fast, true, false, scale);
    PaintedBy(*every, true, false, scale);
    const Picture picture = PaintedBy(*fast, true, false, scale);
    EXPECT_EQ(picture.stamped, 0u);
    EXPECT_EQ(picture.image, PaintedBy(*every, true, false, scale).image);
  }
}

// Smoothed, a shape drawn again blends its edge once more over the first: every pointer
// of any shape is drawn then, so the picture is every pointer's.
TEST(PointPixels, SmoothedPointersAreEveryPointer) {
  for (unsigned seed = 61; seed <= 64; ++seed) {
    SCOPED_TRACE("chart " + std::to_string(seed));
    std::unique_ptr<TChart> fast = RandomChart(seed, false);
    std::unique_ptr<TChart> every = RandomChart(seed, true);
    static_cast<TPointSeries*>(fast->SeriesAt(0))->Pointer().SetStyle(psCircle);
    static_cast<TPointSeries*>(every->SeriesAt(0))->Pointer().SetStyle(psCircle);
    fast->SetAntialiased(true);
    every->SetAntialiased(true);
    PaintedBy(*fast, true, false);
    PaintedBy(*every, true, false);
    EXPECT_EQ(PaintedBy(*fast, true, false).image, PaintedBy(*every, true, false).image);
  }
}

// A recording keeps the shapes, not pixels: it gets every shown pointer as a call of
// its own, which is every pointer's drawing without those a later identical one
// repeats.
TEST(PointPixels, RecordingKeepsEachShownPointer) {
  for (unsigned seed = 45; seed <= 52; ++seed) {
    SCOPED_TRACE("chart " + std::to_string(seed));
    std::unique_ptr<TChart> fast = RectangleChart(seed, false, false);
    std::unique_ptr<TChart> every = RectangleChart(seed, true, false);
    // Unclipped: a pointer off the plot is repeated or shown as on it.
    fast->SetClipPoints(false);
    every->SetClipPoints(false);
    Commands(*fast);
    Commands(*every);
    RecordingSurface fastSurface, everySurface;
    fast->PaintChart(fastSurface, fast->ClientRect());
    every->PaintChart(everySurface, every->ClientRect());
    const std::vector<std::string>& everyLines = everySurface.Lines();
    // From the end back: a rectangle already met is repeated later.
    std::vector<std::string> expected;
    std::unordered_set<std::string> later;
    for (std::size_t i = everyLines.size(); i-- > 0;) {
      if (everyLines[i].starts_with("Rectangle ") && !later.insert(everyLines[i]).second) continue;
      expected.push_back(everyLines[i]);
    }
    std::reverse(expected.begin(), expected.end());
    EXPECT_LT(expected.size(), everyLines.size());
    EXPECT_EQ(fastSurface.Lines(), expected);
  }
}

}  // namespace
}  // namespace tarvela
