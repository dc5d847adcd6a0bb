// Smooth lines on request: slanted lines and curved edges blended into what lies under
// them, while what is already sharp (horizontal and vertical one-pixel lines) and what
// must be exact (raster operations, the zoom band's not-xor) keeps its pixels.
#include <gtest/gtest.h>

#include <QImage>
#include <array>
#include <functional>
#include <set>

#include "tarvela/chart/chart.h"
#include "tarvela/widgets/chart_file.h"
#include "tarvela/widgets/chart_picture.h"
#include "tarvela/widgets/qt_surface.h"

namespace tarvela {
namespace {

// Shades strictly between the white page and the black pen in the area.
int Blends(const QImage& image, const QRect& area) {
  int blends = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      const int grey = qGray(image.pixel(x, y));
      blends += grey > 0 && grey < 255;
    }
  }
  return blends;
}

QImage Drawn(bool smooth, bool direct, const std::function<void(QtSurface&)>& draw) {
  QImage image(120, 100, QImage::Format_RGB32);
  image.fill(Qt::white);
  QtSurface surface(image);
  surface.SetDirectRaster(direct);
  surface.SetAntialiased(smooth);
  draw(surface);
  return image;
}

TEST(SmoothLines, SlantsAndCurvesBlendWhileStraightLinesAndRasterOperationsStayExact) {
  for (const bool direct : {true, false}) {
    SCOPED_TRACE(direct ? "direct" : "through the painter");
    const auto scene = [](QtSurface& s) {
      s.SetPen(SurfacePen{clBlack, 1, psSolid, pmCopy, false});
      s.Line(5, 5, 60, 30);  // slanted
      const std::array<TPoint, 4> path{{{5, 40}, {60, 40}, {60, 90}, {110, 75}}};
      s.Polyline(path);  // straight, straight, slanted
      s.SetBrush(SurfaceBrush{clBlack, bsSolid, std::nullopt});
      s.Pie(70, 5, 115, 50, 115, 27, 92, 5);  // a quarter of a disc
    };
    const QImage exact = Drawn(false, direct, scene);
    const QImage smooth = Drawn(true, direct, scene);
    EXPECT_EQ(Blends(exact, exact.rect()), 0) << "off, every pixel is the pen's or the page's";
    EXPECT_GT(Blends(smooth, QRect(5, 4, 56, 28)), 20) << "the slanted line's edges";
    EXPECT_GT(Blends(smooth, QRect(61, 74, 50, 17)), 20) << "the polyline's slanted end";
    EXPECT_GT(Blends(smooth, QRect(70, 5, 46, 46)), 20) << "the pie's rim";
    // The horizontal and the vertical run of the polyline, and a row and a column on
    // either side of each: the same pixels as drawn exactly.
    for (const QRect& straight : {QRect(4, 39, 56, 3), QRect(59, 41, 3, 18)})
      EXPECT_EQ(smooth.copy(straight), exact.copy(straight)) << straight.x() << ',' << straight.y();
    EXPECT_EQ(smooth.pixel(5, 40), qRgb(0, 0, 0));
    EXPECT_EQ(smooth.pixel(60, 89), qRgb(0, 0, 0));

    // The zoom band is drawn in not-xor and drawn again to take it away: over smooth
    // shapes, a frame and the frame again leave the picture as it was.
    QImage banded = smooth;
    {
      QtSurface surface(banded);
      surface.SetDirectRaster(direct);
      surface.SetAntialiased(true);
      surface.SetPen(SurfacePen{clBlack, 1, psSolid, pmNotXor, false});
      surface.SetBrushStyle(bsClear);
      surface.Rectangle(3, 3, 100, 70);
      EXPECT_NE(banded, smooth);
      surface.Rectangle(3, 3, 100, 70);
    }
    EXPECT_EQ(banded, smooth);
  }
}

constexpr const char* kSmoothChart = R"(object Chart1: TChart
  Width = 300
  Height = 200
  Antialiased = True
  View3D = False
  object Series1: TLineSeries
    SeriesColor = clBlack
    Points = (
      '0 0'
      '1 3'
      '2 1'
      '3 4'
      '4 2')
  end
end
)";

// A chart file asks for it; the picture differs from the exact one only by its blends,
// and the window, drawing through its bitmap, shows the same pixels as the PNG.
TEST(SmoothLines, AChartFileTurnsThemOnForThePictureAndTheWindowAlike) {
  TChartForm smoothForm(nullptr, kSmoothChart, "smooth");
  TChart& chart = smoothForm.Chart();
  ASSERT_TRUE(chart.Antialiased());
  const QImage smooth = RenderChartImage(chart);
  QImage window(chart.Width(), chart.Height(), QImage::Format_RGB32);
  for (int paint = 0; paint < 2; ++paint) {
    QtSurface surface(window);
    chart.PaintChart(surface, chart.ClientRect());
  }
  EXPECT_EQ(window, smooth);

  chart.SetAntialiased(false);
  const QImage exact = RenderChartImage(chart);
  std::set<QRgb> exactColours, smoothColours;
  for (int y = 0; y < exact.height(); ++y) {
    for (int x = 0; x < exact.width(); ++x) {
      exactColours.insert(exact.pixel(x, y));
      smoothColours.insert(smooth.pixel(x, y));
    }
  }
  EXPECT_GT(smoothColours.size(), exactColours.size() + 10);
}

}  // namespace
}  // namespace tarvela
