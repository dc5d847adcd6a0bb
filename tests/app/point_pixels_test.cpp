// A 2D point series leaves out the pointers that a later identical pointer covers.
// Painted by Qt, its picture must be exactly the one of every pointer drawn in order,
// whatever the shapes, pens, brushes, colours, null points, zoom and clipping.
#include <gtest/gtest.h>

#include <QImage>
#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "tarvela/chart/chart.h"
#include "tarvela/chart/series/point_series.h"
#include "tarvela/platform/recording_surface.h"
#include "tarvela/widgets/qt_surface.h"

namespace tarvela {
namespace {

// The drawing the culled one stands in for: every point in order.
class EveryPointer : public TPointSeries {
 public:
  using TPointSeries::TPointSeries;
  void DrawAllPoints() override {
    for (int i = FirstDrawnIndex(); i >= 0 && i <= LastDrawnIndex(); ++i) DrawPoint(i);
  }
};

QImage Painted(TChart& chart) {
  QImage image(chart.Width(), chart.Height(), QImage::Format_RGB32);
  image.fill(Qt::white);
  QtSurface surface(image);
  chart.PaintChart(surface, chart.ClientRect());
  return image;
}

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

// Rows that differ between two pictures of one size.
int DifferingRows(const QImage& a, const QImage& b) {
  int rows = 0;
  for (int y = 0; y < a.height(); ++y)
    rows += std::memcmp(a.constScanLine(y), b.constScanLine(y), static_cast<std::size_t>(a.bytesPerLine())) != 0;
  return rows;
}

std::size_t Commands(TChart& chart) {
  RecordingSurface surface;
  surface.SetLineLimit(0);
  chart.PaintChart(surface, chart.ClientRect());
  return surface.CommandCount();
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
    std::unique_ptr<TChart> culled = RandomChart(seed, false);
    std::unique_ptr<TChart> every = RandomChart(seed, true);
    // The axes take their room from the paint before: both charts painted alike first.
    Commands(*culled);
    Commands(*every);
    culledCommands += Commands(*culled);
    everyCommands += Commands(*every);
    Painted(*culled);
    Painted(*every);
    const QImage fast = Painted(*culled);
    const QImage reference = Painted(*every);
    ASSERT_EQ(fast.size(), reference.size());
    EXPECT_EQ(DifferingRows(fast, reference), 0);
    EXPECT_GT(PaletteCount(reference), 0);  // some pointer shows at all
  }
  // The pointers under later ones were left out: many of them, on such crowded pixels.
  EXPECT_LT(culledCommands * 3, everyCommands * 2);
}

}  // namespace
}  // namespace tarvela
