// LineSegments on a raster image draws the segments from the last to the first, each
// pixel written once; the picture must be that of SetPenColor and Line a segment, in
// order, under every clip, with far-out points and missing colours; and the pen must
// end where and as the last segment drawn leaves it.
#include <gtest/gtest.h>

#include <QImage>
#include <random>
#include <vector>

#include "tarvela/platform/recording_surface.h"
#include "tarvela/widgets/qt_surface.h"

namespace tarvela {
namespace {

struct Scene {
  std::vector<TPoint> points;
  std::vector<TColor> colors;
  int clip = 0;  // 0 none, 1 a rectangle, 2 a polygon
};

Scene RandomScene(std::mt19937& random, QSize size) {
  Scene scene;
  const int count = 2 + static_cast<int>(random() % 400);
  const TColor palette[] = {clRed, clBlue, clGreen, clNone, clNavy, clYellow, clBlack};
  TPoint at{static_cast<int>(random() % size.width()), static_cast<int>(random() % size.height())};
  for (int i = 0; i < count; ++i) {
    switch (random() % 8) {
      case 0: at = {static_cast<int>(random() % 200000) - 100000, static_cast<int>(random() % 3000) - 1500}; break;
      case 1: at.x += static_cast<int>(random() % 3) - 1; break;  // the next column or the same
      case 2: break;                                              // the same pixel
      default: at.y += static_cast<int>(random() % 31) - 15;      // a vertical step
    }
    if (random() % 40 == 0) at = {static_cast<int>(random() % size.width()), static_cast<int>(random() % size.height())};
    scene.points.push_back(at);
    scene.colors.push_back(palette[random() % 7]);
  }
  scene.clip = static_cast<int>(random() % 3);
  return scene;
}

void Clip(Surface& surface, const Scene& scene, QSize size) {
  if (scene.clip == 1) surface.SelectClipRect({5, 7, size.width() - 9, size.height() - 4});
  if (scene.clip == 2) {
    const std::vector<TPoint> star = {{size.width() / 2, 0}, {size.width(), size.height()}, {0, size.height() / 3},
                                      {size.width(), size.height() / 3}, {0, size.height()}};
    surface.SelectClipPolygon(star);
  }
}

TEST(LineSegments, DrawTheSegmentsPixelsInOrderUnderEveryClip) {
  std::mt19937 random(20261207);
  for (int trial = 0; trial < 400; ++trial) {
    const QSize size(20 + static_cast<int>(random() % 300), 10 + static_cast<int>(random() % 200));
    const Scene scene = RandomScene(random, size);
    SCOPED_TRACE(testing::Message() << "trial " << trial << " points " << scene.points.size() << " clip "
                                    << scene.clip);
    QImage batch(size, QImage::Format_RGB32), reference(size, QImage::Format_RGB32);
    batch.fill(Qt::white);
    reference.fill(Qt::white);
    TPoint batchPos, referencePos;
    TColor batchPen = clNone, referencePen = clNone;
    {
      QtSurface surface(batch);
      Clip(surface, scene, size);
      ASSERT_TRUE(surface.FastLineSegments());
      surface.MoveTo(-3, -4);
      surface.LineSegments(scene.points, scene.colors);
      batchPos = surface.PenPos();
      batchPen = surface.Pen().color;
    }
    {
      QtSurface surface(reference);
      Clip(surface, scene, size);
      surface.MoveTo(-3, -4);
      for (std::size_t i = 1; i < scene.points.size(); ++i) {
        if (scene.colors[i] == clNone) continue;
        surface.SetPenColor(scene.colors[i]);
        surface.Line(scene.points[i - 1].x, scene.points[i - 1].y, scene.points[i].x, scene.points[i].y);
      }
      referencePos = surface.PenPos();
      referencePen = surface.Pen().color;
    }
    ASSERT_EQ(batch, reference);
    EXPECT_EQ(batchPos, referencePos);
    EXPECT_EQ(batchPen, referencePen);
  }
}

TEST(LineSegments, OnlyTheRasterDirectPathClaimsSpeedAndOthersDrawSegmentBySegment) {
  QImage image(40, 30, QImage::Format_RGB32);
  {
    QtSurface surface(image);
    EXPECT_TRUE(surface.FastLineSegments());
    surface.SetPenStyle(psDot);
    EXPECT_FALSE(surface.FastLineSegments());
    surface.SetPenStyle(psSolid);
    surface.SetPenWidth(2);
    EXPECT_FALSE(surface.FastLineSegments());
    surface.SetPenWidth(1);
    surface.SetPenMode(pmXor);
    EXPECT_FALSE(surface.FastLineSegments());
    surface.SetPenMode(pmCopy);
    surface.SetDirectRaster(false);
    EXPECT_FALSE(surface.FastLineSegments());
  }
  RecordingSurface recording;
  EXPECT_FALSE(recording.FastLineSegments());
  const std::vector<TPoint> points = {{1, 1}, {5, 1}, {5, 9}, {2, 2}};
  const std::vector<TColor> colors = {clNone, clRed, clNone, clBlue};
  recording.LineSegments(points, colors);
  RecordingSurface lines;
  lines.SetPenColor(clRed);
  lines.Line(1, 1, 5, 1);
  lines.SetPenColor(clBlue);
  lines.Line(5, 9, 2, 2);
  EXPECT_EQ(recording.Lines(), lines.Lines());
  EXPECT_EQ(recording.PenPos(), (TPoint{2, 2}));
}

}  // namespace
}  // namespace tarvela
