#include "tarvela/widgets/chart_picture.h"

#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <string>
#include <vector>

#include "tarvela/chart/axes/axis.h"
#include "tarvela/chart/chart.h"
#include "tarvela/chart/series/line_series.h"
#include "tarvela/widgets/chart_file.h"
#include "tarvela/widgets/qt_surface.h"
#include "widgets/picture_test_support.h"

namespace tarvela {
namespace {

using picture_test::Strings;
using picture_test::SvgOf;
using picture_test::SvgText;
using picture_test::SvgTexts;

TEST(ChartPicture, LargerRenderingPutsTheChartsSizeBackAndRedrawsItThere) {
  TChart chart(nullptr);
  chart.SetBounds(8, 48, 465, 337);
  chart.Gradient().SetVisible(true);
  int repaints = 0;
  chart.HostInvalidate = [&] { ++repaints; };

  const QImage large = RenderChartImage(chart, ChartImageSize{930, 674});
  EXPECT_EQ(large.size(), QSize(930, 674));
  EXPECT_EQ(chart.BoundsRect(), (TRect{8, 48, 473, 385}));
  // The buffer holds the large picture: the window must draw its own size again.
  EXPECT_TRUE(chart.Canvas().Dirty());
  EXPECT_GE(repaints, 2);

  const QImage own = RenderChartImage(chart);
  EXPECT_EQ(own.size(), QSize(465, 337));
  // Default gradient: white along the bottom, yellow along the top, inside the bevel.
  const QColor bottom = own.pixelColor(200, 335);
  const QColor top = own.pixelColor(200, 1);
  EXPECT_EQ(bottom.red() + bottom.green(), 510);
  EXPECT_GE(bottom.blue(), 250);
  EXPECT_EQ(top.red() + top.green(), 510);
  EXPECT_LE(top.blue(), 5);
}

// The export draws straight into its picture, the window into the chart's bitmap and
// then copies that: every example chart, in 3D and in 2D, in colour and monochrome, at
// one and two times the pixels, gives the same pixels both ways, as the chart's next
// paint after the window's.
TEST(ChartPicture, PngIsThePictureTheWindowPaintsThroughItsBitmap) {
  int compared = 0;
  for (const auto& entry : std::filesystem::directory_iterator(TARVELA_EXAMPLES_DIR)) {
    const std::string path = entry.path().string();
    if (entry.path().extension() != ".chart" || path.find("million") != std::string::npos) continue;
    for (const int variant : {0, 1, 2, 3}) {
      SCOPED_TRACE(path + " variant " + std::to_string(variant));
      TChartForm form(nullptr, ReadChartFileText(path), "chart");
      TChart& chart = form.Chart();
      if (variant == 1) chart.SetView3D(!chart.View3D());
      if (variant == 3) chart.SetMonochrome(true);
      const int scale = variant == 2 ? 2 : 1;
      QImage window(chart.Width() * scale, chart.Height() * scale, QImage::Format_RGB32);
      window.setDevicePixelRatio(scale);
      for (int paint = 0; paint < 2; ++paint) {
        window.fill(Qt::black);
        QtSurface surface(window);
        chart.PaintChart(surface, chart.ClientRect());
      }
      ASSERT_TRUE(chart.Buffered());
      const QImage png = RenderChartImage(chart, std::nullopt, scale);
      EXPECT_TRUE(chart.Buffered());
      ASSERT_EQ(png.size(), window.size());
      EXPECT_EQ(png, window);
      ++compared;
    }
  }
  EXPECT_GE(compared, 40);
}

// [SECTION] Text in the SVG document

TEST(ChartPicture, SvgHoldsTheTitleAndATurnedAxisTitleAsText) {
  TChart chart(nullptr);
  chart.SetBounds(0, 0, 400, 300);
  chart.Title().Text().Add("Heat front");
  chart.LeftAxis().Title().SetCaption("Height u");
  chart.BottomAxis().Title().SetCaption("Position x");
  auto* series = new TLineSeries(&chart);
  series->SetParentChart(&chart);
  for (int i = 0; i <= 10; ++i) series->AddPointXY(i, i * i);

  std::vector<std::string> drawn;
  const std::vector<SvgText> texts = SvgTexts(SvgOf(chart, &drawn));
  EXPECT_EQ(Strings(texts), drawn);
  const auto find = [&](const std::string& text) {
    return std::find_if(texts.begin(), texts.end(), [&](const SvgText& t) { return t.text == text; });
  };
  ASSERT_NE(find("Heat front"), texts.end());
  ASSERT_NE(find("Position x"), texts.end());
  const auto turned = find("Height u");
  ASSERT_NE(turned, texts.end());
  // Turned a quarter counter-clockwise: the group around it maps x onto -y.
  const bool quarterTurn = std::any_of(turned->transforms.begin(), turned->transforms.end(), [](const std::string& t) {
    return t.rfind("matrix(0,-1,1,0,", 0) == 0;
  });
  EXPECT_TRUE(quarterTurn);
}

}  // namespace
}  // namespace tarvela
