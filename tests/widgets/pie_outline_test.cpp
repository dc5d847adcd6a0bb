// A pie in a one-pixel pen has its outline, and a solid fill, written straight into the
// image. Drawn in order, under every clip, across the image's edges, thin or whole, flat
// or tiny, hatched or hollow, it must light exactly the pixels QPainter's own pie lights.
#include <gtest/gtest.h>

#include <QImage>
#include <random>

#include "tarvela/widgets/qt_surface.h"

namespace tarvela {
namespace {

struct Pie {
  TRect rect;
  TPoint start, end;
  TColor fill, outline;
  TBrushStyle brush;
  TPenStyle pen;
};

Pie RandomPie(std::mt19937& random, int width, int height) {
  const auto pick = [&random](int low, int high) {
    return low + static_cast<int>(random() % static_cast<unsigned>(high - low + 1));
  };
  Pie pie;
  // Mostly inside, some across the edges or far out; some tiny, some flat.
  const int w = random() % 6 == 0 ? pick(0, 4) : pick(5, width + 40);
  const int h = random() % 7 == 0 ? pick(0, 4) : pick(5, height + 40);
  const int left = pick(-w / 2 - 10, width - w / 2 + 10);
  const int top = pick(-h / 2 - 10, height - h / 2 + 10);
  pie.rect = {left, top, left + w, top + h};
  if (random() % 15 == 0) std::swap(pie.rect.left, pie.rect.right);
  const int cx = left + w / 2, cy = top + h / 2;
  const auto rim = [&] {
    // A point on a ray from the centre, near or far: the angle is what counts.
    const double angle = (random() % 36000) / 36000.0 * 6.283185307179586;
    const double reach = pick(1, 3 * std::max(w, h) + 2);
    return TPoint{cx + static_cast<int>(std::lround(reach * std::cos(angle))),
                  cy - static_cast<int>(std::lround(reach * std::sin(angle)))};
  };
  pie.start = rim();
  switch (random() % 6) {
    case 0: pie.end = pie.start; break;                                    // the whole disc
    case 1: pie.end = {pie.start.x + pick(-2, 2), pie.start.y + pick(-2, 2)}; break;  // a sliver
    case 2: pie.end = {cx, cy}; break;
    default: pie.end = rim(); break;
  }
  pie.fill = static_cast<TColor>(random() & 0xFFFFFF);
  pie.outline = random() % 4 == 0 ? clBlack : static_cast<TColor>(random() & 0xFFFFFF);
  const TBrushStyle brushes[] = {bsSolid, bsSolid, bsSolid, bsClear, bsBDiagonal};
  pie.brush = brushes[random() % 5];
  pie.pen = random() % 6 == 0 ? psClear : psSolid;
  return pie;
}

void Draw(QImage& image, bool direct, const std::vector<Pie>& pies, int clip) {
  QtSurface surface(image);
  surface.SetDirectRaster(direct);
  if (clip == 1) surface.SelectClipRect({12, 9, image.width() - 15, image.height() - 6});
  if (clip == 2) {
    const std::vector<TPoint> clipShape = {{image.width() / 2, 0}, {image.width(), image.height()},
                                           {0, image.height() / 2}};
    surface.SelectClipPolygon(clipShape);
  }
  for (const Pie& pie : pies) {
    SurfacePen pen = surface.Pen();
    pen.color = pie.outline;
    pen.style = pie.pen;
    surface.SetPen(pen);
    surface.SetBrush(SurfaceBrush{pie.fill, pie.brush, std::nullopt});
    surface.Pie(pie.rect.left, pie.rect.top, pie.rect.right, pie.rect.bottom, pie.start.x, pie.start.y, pie.end.x,
                pie.end.y);
  }
}

TEST(PieOutline, RandomPiesLightWhatQPainterLights) {
  std::mt19937 random(4417);
  for (int trial = 0; trial < 300; ++trial) {
    const int width = 120 + static_cast<int>(random() % 200), height = 90 + static_cast<int>(random() % 150);
    std::vector<Pie> pies;
    for (int i = 0; i < 25; ++i) pies.push_back(RandomPie(random, width, height));
    const int clip = static_cast<int>(random() % 3);
    SCOPED_TRACE(testing::Message() << "trial " << trial << " clip " << clip);
    QImage direct(width, height, QImage::Format_RGB32), painter(width, height, QImage::Format_RGB32);
    direct.fill(Qt::white);
    painter.fill(Qt::white);
    Draw(direct, true, pies, clip);
    Draw(painter, false, pies, clip);
    ASSERT_EQ(direct, painter);
  }
}

}  // namespace
}  // namespace tarvela
