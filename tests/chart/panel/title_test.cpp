#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "paint_test_support.h"
#include "tarvela/chart/chart.h"
#include "tarvela/chart/panel/chart_title.h"

namespace tarvela {
namespace {

using canvas_test::FieldOf;
using canvas_test::PointsOf;
using canvas_test::RectOf;
using paint_test::FormChart;

// Titles are in the default chart font, 8 points: through the recording surface a
// line is 13 pixels high and a character 6 wide.

TEST(ChartTitles, FormChartTitleTakesALineAndTheGapTheFootOnlyTheGap) {
  paint_test::Recorder record;
  std::unique_ptr<TChart> chart = FormChart();
  // No axes: the plot keeps the room they would take.
  chart->SetAxisVisible(false);
  // Flat, so that no 3D box narrows the plot after the titles.
  chart->SetView3D(false);
  const paint_test::Paint paint = record(*chart);
  // Before the titles the plot is (24, 23, 441, 314).
  EXPECT_EQ(chart->PlotRect(), (TRect{24, 23 + 13 + 5, 441, 314 - 5}));
  EXPECT_EQ(chart->Title().TitleRect(), (TRect{24, 23, 441, 36}));
  EXPECT_EQ(chart->Foot().TitleRect(), (TRect{24, 314, 441, 314}));
  // The empty line writes nothing visible: no text, no frame, no background.
  EXPECT_TRUE(paint.Of("TextOut").empty());
  EXPECT_EQ(paint.Of("Rectangle").size(), 1u);  // the flat back wall only

  // In 3D the box then takes its depth: round(417 x 0.005) = 2.
  chart->SetView3D(true);
  record(*chart);
  EXPECT_EQ(chart->BoxDepthX(), 2);
  EXPECT_EQ(chart->PlotRect(), (TRect{24, 43, 439, 309}));
}

TEST(ChartTitles, InvisibleTitlesTakeNoRoom) {
  paint_test::Recorder record;
  TChart chart(nullptr);
  // No axes: the plot keeps the room they would take.
  chart.SetAxisVisible(false);
  chart.SetView3D(false);
  chart.Title().SetVisible(false);
  chart.Foot().Text().SetLines({"foot"});
  chart.Foot().SetVisible(false);
  const paint_test::Paint paint = record(chart);
  EXPECT_EQ(chart.PlotRect(), (TRect{12, 10, 388, 240}));
  EXPECT_TRUE(paint.Of("TextOut").empty());
}

TEST(ChartTitles, FramedRightAlignedTitleHugsItsTextAtTheRight) {
  paint_test::Recorder record;
  TChart chart(nullptr);
  // No axes: the plot keeps the room they would take.
  chart.SetAxisVisible(false);
  chart.SetView3D(false);
  TChartTitle& title = chart.Title();
  title.Text().SetLines({"Hello"});
  title.SetAlignment(taRightJustify);
  title.Frame().SetVisible(true);
  const paint_test::Paint paint = record(chart);

  // Plot before titles (12, 10, 388, 240); the frame is 1 wide. The rectangle is the
  // text (30) plus one "W" (6) wide, at the right end.
  EXPECT_EQ(title.TitleRect(), (TRect{352, 10, 388, 25}));
  const auto frames = paint.Of("Rectangle");
  ASSERT_EQ(frames.size(), 2u);  // the title's frame, then the back wall
  EXPECT_EQ(RectOf(frames[0]), (TRect{352, 10, 388, 25}));
  EXPECT_EQ(FieldOf(frames[0], "pen"), "#000000/1/solid/copy");
  EXPECT_EQ(FieldOf(frames[0], "brush").substr(8), "clear");

  const auto texts = paint.Of("TextOut");
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0],
            "TextOut 354,11 \"Hello\" font=\"Arial\"/-11/regular/#0000FF/0 align=left|top bk=transparent");
  // Inset, one line, frame and gap: 10 + 1 + 13 + 1 + 5.
  EXPECT_EQ(chart.PlotRect().top, 30);

  title.SetAlignment(taLeftJustify);
  const auto left = record(chart);
  EXPECT_EQ(title.TitleRect(), (TRect{12, 10, 48, 25}));
  EXPECT_EQ(PointsOf(left.Of("TextOut").at(0)).at(0), (TPoint{16, 11}));

  title.SetAlignment(taCenter);
  title.SetAdjustFrame(false);
  const auto wide = record(chart);
  EXPECT_EQ(title.TitleRect(), (TRect{12, 10, 388, 25}));
  EXPECT_EQ(PointsOf(wide.Of("TextOut").at(0)).at(0), (TPoint{200 - 15, 11}));
}

TEST(ChartTitles, FootLinesRunUpwardWithTheLastLowest) {
  paint_test::Recorder record;
  TChart chart(nullptr);
  // No axes: the plot keeps the room they would take.
  chart.SetAxisVisible(false);
  chart.SetView3D(false);
  chart.Foot().Text().SetLines({"one", "three"});
  const paint_test::Paint paint = record(chart);
  const auto texts = paint.Of("TextOut");
  ASSERT_EQ(texts.size(), 2u);
  // Centred on x = 200; "three" on the bottom line (240 - 13), "one" above it.
  EXPECT_EQ(PointsOf(texts[0]).at(0), (TPoint{185, 227}));
  EXPECT_NE(texts[0].find("\"three\""), std::string::npos);
  EXPECT_EQ(PointsOf(texts[1]).at(0), (TPoint{191, 214}));
  EXPECT_EQ(chart.Foot().TitleRect(), (TRect{12, 214, 388, 240}));
  EXPECT_EQ(chart.PlotRect(), (TRect{12, 15, 388, 240 - 26 - 5}));
}

TEST(ChartTitles, SolidBrushColourBecomesTheTitleColourAndFillsIt) {
  paint_test::Recorder record;
  TChart chart(nullptr);
  chart.SetView3D(false);
  TChartTitle& title = chart.Title();
  title.Text().SetLines({"Hi"});
  title.Brush().SetColor(clYellow);
  int repaints = 0;
  chart.HostInvalidate = [&] { ++repaints; };
  const paint_test::Paint paint = record(chart);
  EXPECT_EQ(title.Color(), clYellow);
  EXPECT_EQ(repaints, 1);
  const auto fills = paint.Of("Rectangle");
  ASSERT_EQ(fills.size(), 2u);
  // Centred and adjusted to "Hi" plus a "W": (12 + 388) / 2 -/+ 18 / 2; no frame pen.
  EXPECT_EQ(RectOf(fills[0]), (TRect{191, 10, 209, 23}));
  EXPECT_EQ(FieldOf(fills[0], "brush"), "#FFFF00/solid");
  EXPECT_EQ(FieldOf(fills[0], "pen").substr(8), "1/clear/copy");

  // A colour of its own with a hatch: the hatch over the title colour.
  title.SetColor(clRed);
  title.Brush().SetStyle(bsCross);
  const std::string hatched = record(chart).Of("Rectangle").at(0);
  EXPECT_EQ(FieldOf(hatched, "brush"), "#FFFF00/cross");
  EXPECT_EQ(FieldOf(hatched, "bk"), "#FF0000");
}

TEST(ChartTitles, TitleHitCoversTitleRectWithoutItsRightAndBottomEdges) {
  paint_test::Recorder record;
  TChart chart(nullptr);
  chart.SetView3D(false);
  chart.Title().Text().SetLines({"Hello"});
  chart.Title().SetAlignment(taRightJustify);
  chart.Title().Frame().SetVisible(true);
  record(chart);
  ASSERT_EQ(chart.Title().TitleRect(), (TRect{352, 10, 388, 25}));
  EXPECT_TRUE(chart.TitleHit(chart.Title(), 352, 10));
  EXPECT_TRUE(chart.TitleHit(chart.Title(), 387, 24));
  EXPECT_FALSE(chart.TitleHit(chart.Title(), 388, 20));
  EXPECT_FALSE(chart.TitleHit(chart.Title(), 360, 25));
  EXPECT_FALSE(chart.TitleHit(chart.Title(), 351, 15));
  chart.Title().SetVisible(false);
  EXPECT_FALSE(chart.TitleHit(chart.Title(), 360, 15));
}

}  // namespace
}  // namespace tarvela
