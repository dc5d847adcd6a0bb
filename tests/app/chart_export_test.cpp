#include "app/chart_export.h"

#include <gtest/gtest.h>

#include "chart/chart.h"

namespace tarvela {
namespace {

TEST(ChartExport, LargerRenderingPutsTheChartsSizeBackAndRedrawsItThere) {
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

}  // namespace
}  // namespace tarvela
