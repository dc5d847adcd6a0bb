#include "tarvela/chart/panel/walls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "paint_test_support.h"
#include "tarvela/chart/chart.h"

namespace tarvela {
namespace {

using canvas_test::FieldOf;
using canvas_test::PointsOf;
using canvas_test::RectOf;
using paint_test::FormChart;

// The default chart, 400 x 250 with default margins, titles without lines (each
// takes the 5-pixel gap), 3D with walls, orthogonal at zoom 100 so that
// P(x, y, z) = (x + z, y - z). Before the box: PlotRect (12, 15, 388, 235), 376 wide,
// so the box is round(376 x 0.015) = 6 deep and the front face (12, 21, 382, 235).

std::vector<TPoint> Corners(std::initializer_list<TPoint> points) { return points; }

TEST(ChartWalls, FlatChartFramesThePlotWithTheBackWallEdgesIncluded) {
  paint_test::Recorder record;
  TChart chart(nullptr);
  // No axes: the plot keeps the room they would take.
  chart.SetAxisVisible(false);
  chart.SetView3D(false);
  const paint_test::Paint paint = record(chart);
  EXPECT_TRUE(paint.Of("Polygon").empty());
  const auto rectangles = paint.Of("Rectangle");
  ASSERT_EQ(rectangles.size(), 1u);
  EXPECT_EQ(RectOf(rectangles[0]), (TRect{12, 15, 389, 236}));
  EXPECT_EQ(FieldOf(rectangles[0], "pen"), "#000000/1/solid/copy");
  // A clear back wall without a colour outlines only.
  EXPECT_EQ(FieldOf(rectangles[0], "brush").substr(8), "clear");
}

TEST(ChartWalls, BackColorFillsTheBackWallOnlyWhenSetAtRunTime) {
  paint_test::Recorder record;
  TWinControl form(nullptr);
  TChart chart(nullptr);
  chart.SetParent(&form);
  chart.SetView3D(false);

  chart.SetLoading(true);
  chart.SetBackColor(clYellow);
  chart.SetLoading(false);
  EXPECT_EQ(FieldOf(record(chart).Of("Rectangle").at(0), "brush"), "#FFFF00/clear");

  chart.SetBackColor(clYellow);
  EXPECT_EQ(FieldOf(record(chart).Of("Rectangle").at(0), "brush"), "#FFFF00/solid");
}

TEST(ChartWalls, ThreeDWallsAreFlatPlanesAroundTheBox) {
  paint_test::Recorder record;
  TChart chart(nullptr);
  // No axes: the plot keeps the room they would take.
  chart.SetAxisVisible(false);
  const paint_test::Paint paint = record(chart);
  EXPECT_EQ(chart.BoxDepthX(), 6);
  EXPECT_EQ(chart.PlotRect(), (TRect{12, 21, 382, 235}));
  // The axes span the front face after the layout.
  EXPECT_EQ(chart.BottomAxis().StartPixel(), 12);
  EXPECT_EQ(chart.BottomAxis().EndPixel(), 382);
  EXPECT_EQ(chart.LeftAxis().StartPixel(), 21);
  EXPECT_EQ(chart.LeftAxis().EndPixel(), 235);
  EXPECT_TRUE(paint.Of("Rectangle").empty());
  const auto walls = paint.Of("Polygon");
  ASSERT_EQ(walls.size(), 3u);
  // Back: the plot one pixel in from the left and up, at the box depth.
  EXPECT_EQ(PointsOf(walls[0]), Corners({{19, 14}, {388, 14}, {388, 229}, {19, 229}}));
  EXPECT_EQ(FieldOf(walls[0], "brush").substr(8), "clear");
  // Left: a plane along x = L from the front to one pixel past the back.
  EXPECT_EQ(PointsOf(walls[1]), Corners({{12, 21}, {19, 14}, {19, 228}, {12, 235}}));
  EXPECT_EQ(FieldOf(walls[1], "brush"), "#FFFF80/solid");
  // Bottom: a plane along y = B.
  EXPECT_EQ(PointsOf(walls[2]), Corners({{12, 235}, {382, 235}, {388, 229}, {18, 229}}));
  EXPECT_EQ(FieldOf(walls[2], "brush"), "#FFFFFF/solid");
}

TEST(ChartWalls, WallsWithASizeAreBoxesShadedUnlessDark3DIsOff) {
  paint_test::Recorder record;
  TChart chart(nullptr);
  // No axes: the plot keeps the room they would take.
  chart.SetAxisVisible(false);
  chart.LeftWall().SetSize(4);
  chart.BottomWall().SetSize(3);
  chart.BackWall().SetSize(2);
  EXPECT_EQ(chart.WallSizeForAxis(chart.LeftAxis()), 4);
  EXPECT_EQ(chart.WallSizeForAxis(chart.BottomAxis()), 3);
  EXPECT_EQ(chart.WallSizeForAxis(chart.TopAxis()), 0);
  EXPECT_EQ(chart.WallSizeForAxis(chart.RightAxis()), 0);
  EXPECT_EQ(chart.WallSizeForAxis(chart.DepthAxis()), 0);

  paint_test::Paint paint = record(chart);
  // The box also makes room for the back wall's thickness.
  EXPECT_EQ(chart.PlotRect(), (TRect{12, 23, 380, 235}));
  auto faces = paint.Of("Polygon");
  ASSERT_EQ(faces.size(), 9u);  // front, side and top of three boxes
  // The back wall reaches over the left and bottom walls' thickness.
  EXPECT_EQ(PointsOf(faces[0]), Corners({{14, 17}, {386, 17}, {386, 232}, {14, 232}}));
  // Left wall: front, right side darkened by 128, top darkened by 64.
  EXPECT_EQ(PointsOf(faces[3]), Corners({{8, 23}, {12, 23}, {12, 238}, {8, 238}}));
  EXPECT_EQ(FieldOf(faces[3], "brush"), "#FFFF80/solid");
  EXPECT_EQ(PointsOf(faces[4]), Corners({{12, 23}, {18, 17}, {18, 232}, {12, 238}}));
  EXPECT_EQ(FieldOf(faces[4], "brush"), "#7F7F00/solid");
  EXPECT_EQ(PointsOf(faces[5]), Corners({{8, 23}, {12, 23}, {18, 17}, {14, 17}}));
  EXPECT_EQ(FieldOf(faces[5], "brush"), "#BFBF40/solid");
  // Bottom wall: below the plot, 3 thick.
  EXPECT_EQ(PointsOf(faces[6]), Corners({{12, 235}, {380, 235}, {380, 238}, {12, 238}}));

  chart.LeftWall().SetDark3D(false);
  EXPECT_FALSE(chart.LeftWall().ShadesSides());
  faces = record(chart).Of("Polygon");
  ASSERT_EQ(faces.size(), 9u);
  for (std::size_t i = 3; i < 6; ++i) EXPECT_EQ(FieldOf(faces[i], "brush"), "#FFFF80/solid") << i;
}

TEST(ChartWalls, NothingIsDrawnIn3DWithoutView3DWalls) {
  paint_test::Recorder record;
  std::unique_ptr<TChart> chart = FormChart();
  chart->LeftWall().SetSize(4);
  chart->BottomWall().SetSize(3);
  const paint_test::Paint paint = record(*chart);
  EXPECT_TRUE(paint.Of("Polygon").empty());
  EXPECT_TRUE(paint.Of("Rectangle").empty());
  EXPECT_EQ(chart->WallSizeForAxis(chart->LeftAxis()), 0);
  EXPECT_EQ(chart->WallSizeForAxis(chart->BottomAxis()), 0);
  chart->SetView3DWalls(true);
  chart->SetView3D(false);
  EXPECT_EQ(chart->WallSizeForAxis(chart->LeftAxis()), 0);
}

TEST(ChartWalls, WallFillFollowsPatternColourAndBrush) {
  paint_test::Recorder record;
  TChart chart(nullptr);
  chart.SetView3D(false);
  // No colour of its own and a solid brush: outlined only.
  chart.BackWall().Brush().SetStyle(bsSolid);
  EXPECT_EQ(FieldOf(record(chart).Of("Rectangle").at(0), "brush").substr(8), "clear");
  // A hatch in the colour of its own background is drawn black on it.
  chart.BackWall().SetColor(clBlue);
  chart.BackWall().Brush().SetColor(clBlue);
  chart.BackWall().Brush().SetStyle(bsCross);
  const std::string hatched = record(chart).Of("Rectangle").at(0);
  EXPECT_EQ(FieldOf(hatched, "brush"), "#000000/cross");
  EXPECT_EQ(FieldOf(hatched, "bk"), "#0000FF");
  // A pattern wins over colour and style, and is never shaded.
  const Picture pattern(8, 8, Picture::kOpaqueBlack);
  chart.BackWall().Brush().SetPattern(pattern);
  EXPECT_EQ(FieldOf(record(chart).Of("Rectangle").at(0), "brush").rfind("pattern/8x8/", 0), 0u);
  EXPECT_FALSE(chart.BackWall().ShadesSides());
  EXPECT_TRUE(chart.LeftWall().ShadesSides());
  chart.LeftWall().Brush().SetStyle(bsClear);
  EXPECT_FALSE(chart.LeftWall().ShadesSides());
}

TEST(ChartWalls, BackImageInsideFillsThePlotWithinTheBackWallsOutline) {
  paint_test::Recorder record;
  TChart chart(nullptr);
  // No axes: the plot keeps the room they would take.
  chart.SetAxisVisible(false);
  chart.SetView3D(false);
  chart.SetBackImage(Picture(10, 10, Picture::kOpaqueBlack));
  chart.SetBackImageInside(true);
  auto pictures = record(chart).Of("StretchPicture");
  ASSERT_EQ(pictures.size(), 1u);
  EXPECT_EQ(RectOf(pictures[0]), (TRect{12, 16, 388, 234}));

  chart.BackWall().Pen().SetVisible(false);
  pictures = record(chart).Of("StretchPicture");
  ASSERT_EQ(pictures.size(), 1u);
  EXPECT_EQ(RectOf(pictures[0]), (TRect{12, 15, 388, 235}));

  // On the back plane of a turned box the picture is left out.
  chart.SetView3D(true);
  chart.View3DOptions().SetOrthogonal(false);
  EXPECT_TRUE(record(chart).Of("StretchPicture").empty());
}

}  // namespace
}  // namespace tarvela
