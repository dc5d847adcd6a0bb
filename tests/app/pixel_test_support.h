#pragma once
// What the pixel tests of the fast drawing paths share: a series that draws every point
// as the point-by-point drawing does, the picture Qt paints of a chart, the commands of
// a paint, and how two pictures differ.
#include <QImage>
#include <cstddef>
#include <cstring>
#include <memory>

#include "tarvela/chart/chart.h"
#include "tarvela/platform/recording_surface.h"
#include "tarvela/widgets/qt_surface.h"

namespace tarvela::pixel_test {

// The drawing a fast path stands in for: every point, in the order the series draws.
template <class Series>
class EveryPoint : public Series {
 public:
  using Series::Series;
  void DrawAllPoints() override {
    const int first = this->FirstDrawnIndex(), last = this->LastDrawnIndex();
    if (first < 0) return;
    for (int n = 0; n <= last - first; ++n) this->DrawPoint(this->PointsForward() ? first + n : last - n);
  }
};

// Unbuffered, as the PNG export draws; through the direct raster path unless not.
inline QImage Painted(TChart& chart, bool direct = true) {
  QImage image(chart.Width(), chart.Height(), QImage::Format_RGB32);
  image.fill(Qt::white);
  QtSurface surface(image);
  surface.SetDirectRaster(direct);
  chart.PaintChart(surface, chart.ClientRect());
  return image;
}

inline int DifferingPixels(const QImage& a, const QImage& b) {
  int count = 0;
  for (int y = 0; y < a.height(); ++y) {
    const auto* rowA = reinterpret_cast<const QRgb*>(a.constScanLine(y));
    const auto* rowB = reinterpret_cast<const QRgb*>(b.constScanLine(y));
    if (std::memcmp(rowA, rowB, static_cast<std::size_t>(a.width()) * sizeof(QRgb)) == 0) continue;
    for (int x = 0; x < a.width(); ++x) count += rowA[x] != rowB[x];
  }
  return count;
}

inline std::size_t Commands(TChart& chart) {
  RecordingSurface surface;
  surface.SetLineLimit(0);
  chart.PaintChart(surface, chart.ClientRect());
  return surface.CommandCount();
}

// One chart drawn by a fast path (make(seed, false)) and by every point (make(seed,
// true)): the pixels that differ, the commands of each paint and the reference
// picture. Each is painted alike first: the axes take their room from the paint before.
struct Comparison {
  int differing = 0;
  std::size_t fastCommands = 0;
  std::size_t everyCommands = 0;
  QImage reference;
};

template <class Make>
Comparison Compare(Make make, unsigned seed) {
  const std::unique_ptr<TChart> fast = make(seed, false);
  const std::unique_ptr<TChart> every = make(seed, true);
  Commands(*fast);
  Commands(*every);
  Comparison result;
  result.fastCommands = Commands(*fast);
  result.everyCommands = Commands(*every);
  const QImage picture = Painted(*fast);
  result.reference = Painted(*every);
  result.differing = picture.size() == result.reference.size() ? DifferingPixels(picture, result.reference)
                                                               : picture.width() * picture.height() + 1;
  return result;
}

}  // namespace tarvela::pixel_test
