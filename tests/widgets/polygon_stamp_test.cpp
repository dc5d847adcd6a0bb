// Small polygons drawn straight into an image are laid out once per shape and stamped
// wherever the shape recurs. Each shape drawn at many places, under every clip, must
// light exactly the pixels QPainter lights.
#include <gtest/gtest.h>

#include <QImage>
#include <random>
#include <vector>

#include "tarvela/widgets/qt_surface.h"

namespace tarvela {
namespace {

struct Shape {
  std::vector<TPoint> points;  // relative to the first, which is (0, 0)
};

Shape RandomShape(std::mt19937& random) {
  Shape shape;
  const int count = 3 + static_cast<int>(random() % 2);
  const int reach = 1 + static_cast<int>(random() % 40);
  shape.points.push_back({0, 0});
  for (int i = 1; i < count; ++i) {
    const int dx = static_cast<int>(random() % (2 * reach + 1)) - reach;
    const int dy = static_cast<int>(random() % (2 * reach + 1)) - reach;
    shape.points.push_back(random() % 9 == 0 ? shape.points.back() : TPoint{dx, dy});
  }
  if (random() % 5 == 0) {
    // A ribbon: a segment moved along the depth direction.
    const int h = static_cast<int>(random() % 21) - 10, d = 1 + static_cast<int>(random() % 12);
    shape.points = {{0, 0}, {0, h}, {d, h - d}, {d, -d}};
  }
  return shape;
}

void Draw(QImage& image, bool direct, const std::vector<Shape>& shapes, const std::vector<TPoint>& places, int clip,
          int fillOrPen) {
  QtSurface surface(image);
  surface.SetDirectRaster(direct);
  if (clip == 1) surface.SelectClipRect({12, 9, image.width() - 15, image.height() - 6});
  if (clip == 2) {
    const std::vector<TPoint> clipShape = {{image.width() / 2, 0}, {image.width(), image.height()},
                                           {0, image.height() / 2}};
    surface.SelectClipPolygon(clipShape);
  }
  SurfacePen pen = surface.Pen();
  pen.color = clNavy;
  pen.style = fillOrPen == 1 ? psClear : psSolid;
  surface.SetPen(pen);
  surface.SetBrush(SurfaceBrush{clYellow, fillOrPen == 2 ? bsClear : bsSolid, std::nullopt});
  for (std::size_t p = 0; p < places.size(); ++p) {
    // The shapes take turns, so that one surface keeps the stamps of all of them.
    const Shape& shape = shapes[p % shapes.size()];
    std::vector<TPoint> moved(shape.points.size());
    // Colours change from place to place, the shape does not.
    surface.SetBrushColor(p % 2 == 0 ? clYellow : clAqua);
    surface.SetPenColor(p % 3 == 0 ? clNavy : clRed);
    for (std::size_t i = 0; i < moved.size(); ++i) {
      moved[i] = {shape.points[i].x + places[p].x, shape.points[i].y + places[p].y};
    }
    surface.Polygon(moved);
  }
}

TEST(PolygonStamp, EachShapeAtManyPlacesLightsWhatQPainterLights) {
  std::mt19937 random(7031);
  for (int trial = 0; trial < 600; ++trial) {
    std::vector<Shape> shapes;
    for (int i = 0; i < 4; ++i) shapes.push_back(RandomShape(random));
    const int clip = static_cast<int>(random() % 3), fillOrPen = static_cast<int>(random() % 3);
    std::vector<TPoint> places;
    for (int i = 0; i < 60; ++i) {
      // Mostly well inside, some across the edges and the clip.
      places.push_back({static_cast<int>(random() % 340) - 20, static_cast<int>(random() % 240) - 20});
    }
    SCOPED_TRACE(testing::Message() << "trial " << trial << " clip " << clip << " fillOrPen " << fillOrPen);
    QImage direct(300, 200, QImage::Format_RGB32), painter(300, 200, QImage::Format_RGB32);
    direct.fill(Qt::white);
    painter.fill(Qt::white);
    Draw(direct, true, shapes, places, clip, fillOrPen);
    Draw(painter, false, shapes, places, clip, fillOrPen);
    ASSERT_EQ(direct, painter);
  }
}

}  // namespace
}  // namespace tarvela
