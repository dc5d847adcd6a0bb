// A 3D pie painted by Qt: each slice's face shows its own colour and the rim below
// the front slices is the darker side of their colour.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <numbers>

#include "tarvela/chart/chart.h"
#include "tarvela/chart/series/pie_series.h"
#include "tarvela/widgets/qt_surface.h"

namespace tarvela {
namespace {

QColor Rgb(TColor color) { return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF); }

TEST(PiePixels, ThreeDSlicesShowTheirColoursAndDarkSidesBelowTheFront) {
  TChart chart(nullptr);
  chart.SetBounds(0, 0, 400, 300);
  chart.SetBuffered(false);
  chart.SetChart3DPercent(30);
  chart.Legend().SetVisible(false);
  chart.Gradient().SetVisible(false);
  auto* pie = new TPieSeries(&chart);
  pie->SetParentChart(&chart);
  pie->Marks().SetVisible(false);
  const TColor colours[] = {clRed, clLime, clBlue, clYellow};
  for (TColor colour : colours) pie->AddPoint(1, {}, colour);

  QImage image(400, 300, QImage::Format_RGB32);
  image.fill(Qt::white);
  QtSurface surface(image);
  chart.PaintChart(surface, chart.ClientRect());

  const TZavCanvas3D& canvas = chart.Canvas();
  const int cx = pie->DiscCenterX();
  const int cy = pie->DiscCenterY();
  const double rx = pie->RadiusX();
  const double ry = pie->RadiusY();
  ASSERT_GT(rx, 20);
  ASSERT_GT(ry, 20);
  for (int k = 0; k < 4; ++k) {
    const double angle = std::numbers::pi / 4 + k * std::numbers::pi / 2;
    const TPoint at = canvas.ProjectPoint(cx + static_cast<int>(std::lround(0.5 * rx * std::cos(angle))),
                                          cy - static_cast<int>(std::lround(0.5 * ry * std::sin(angle))),
                                          pie->DepthFront());
    EXPECT_EQ(image.pixelColor(at.x, at.y), Rgb(colours[k])) << "slice " << k;
  }
  // Just below the front rim of the two lower slices: their side, darker than the face.
  for (int k : {2, 3}) {
    const double angle = std::numbers::pi / 4 + k * std::numbers::pi / 2;
    const int x = cx + static_cast<int>(std::lround(rx * std::cos(angle)));
    const int y = cy - static_cast<int>(std::lround(ry * std::sin(angle)));
    const TPoint front = canvas.ProjectPoint(x, y, pie->DepthFront());
    const TPoint back = canvas.ProjectPoint(x, y, pie->DepthBack());
    const TPoint side{(front.x + back.x) / 2, (front.y + back.y) / 2};
    const QColor face = Rgb(colours[k]);
    const QColor seen = image.pixelColor(side.x, side.y);
    EXPECT_NE(seen, face) << "slice " << k << " at " << side.x << "," << side.y;
    EXPECT_LE(seen.red(), face.red());
    EXPECT_LE(seen.green(), face.green());
    EXPECT_LE(seen.blue(), face.blue());
    EXPECT_LT(seen.red() + seen.green() + seen.blue(), face.red() + face.green() + face.blue());
    EXPECT_NE(seen, QColor(Qt::white));
    // The side, not the black outline of the slice.
    EXPECT_GT(seen.red() + seen.green() + seen.blue(), 0) << "slice " << k;
  }
}

}  // namespace
}  // namespace tarvela
