// A 3D pie painted by Qt: each slice's face shows its own colour and the rim below
// the front slices is the darker side of their colour. Pies of many thin slices, flat
// or 3D, exploded, rotated, patterned, large or small, written straight into the image
// are exactly the pictures QPainter paints of them.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <memory>
#include <numbers>
#include <random>

#include "app/pixel_test_support.h"
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

// Every fourth chart 3D, every sixth full-screen.
std::unique_ptr<TChart> RandomPieChart(std::mt19937& random, int trial) {
  const auto pick = [&random](int low, int high) {
    return low + static_cast<int>(random() % static_cast<unsigned>(high - low + 1));
  };
  auto chart = std::make_unique<TChart>(nullptr);
  if (trial % 6 == 5) {
    chart->SetBounds(0, 0, 1920, 1080);
  } else {
    chart->SetBounds(0, 0, 465, 337);
  }
  chart->SetBuffered(false);
  chart->SetView3D(trial % 4 == 1);
  chart->SetChart3DPercent(pick(5, 60));
  chart->Legend().SetVisible(pick(0, 1) == 0);
  auto* pie = new TPieSeries(chart.get());
  pie->SetParentChart(chart.get());
  pie->Marks().SetVisible(false);
  if (pick(0, 3) == 0) pie->SetRotationAngle(pick(0, 359));
  if (pick(0, 4) == 0) pie->SetUsePatterns(true);
  if (pick(0, 5) == 0) pie->PiePen().SetVisible(false);
  if (pick(0, 3) == 0) pie->SetExplodeBiggest(pick(5, 40));
  // From a few wide slices to a thousand, most of them thinner than a pixel.
  const int count = trial % 3 == 0 ? pick(1, 12) : pick(50, 1000);
  for (int i = 0; i < count; ++i) {
    const double value = pick(0, 4) == 0 ? pick(0, 1000) * 20.0 : pick(1, 1000) / 100.0;
    pie->AddPoint(value, "", static_cast<TColor>(random() & 0xFFFFFF));
    if (pick(0, 40) == 0) pie->ExplodedSlices().SetValue(i, pick(1, 30));
  }
  return chart;
}

using pixel_test::Painted;

TEST(PiePixels, RandomPiesWrittenDirectlyAreQPaintersPictures) {
  std::mt19937 random(2207);
  for (int trial = 0; trial < 18; ++trial) {
    std::unique_ptr<TChart> chart = RandomPieChart(random, trial);
    SCOPED_TRACE(testing::Message() << "trial " << trial << " " << chart->Width() << "x" << chart->Height()
                                    << (chart->View3D() ? " 3D" : " 2D") << " slices "
                                    << chart->SeriesAt(0)->PointCount());
    ASSERT_EQ(Painted(*chart, true), Painted(*chart, false));
  }
}

}  // namespace
}  // namespace tarvela
