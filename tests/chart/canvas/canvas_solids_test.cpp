#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <numbers>
#include <utility>

#include "canvas_test_support.h"
#include "tarvela/chart/canvas/canvas3d.h"
#include "tarvela/runtime/rounding.h"

namespace tarvela {
namespace {

using canvas_test::CanvasRig;
using canvas_test::FieldOf;
using canvas_test::LinesOf;
using canvas_test::PointsOf;
using canvas_test::RectOf;

constexpr double kPi = std::numbers::pi;

// The colour each pixel was last filled with, from the PatternFill lines of a log.
std::map<std::pair<int, int>, std::string> FilledPixels(const CanvasRig& rig) {
  std::map<std::pair<int, int>, std::string> pixels;
  for (const std::string& line : LinesOf(rig, "PatternFill")) {
    const TRect r = RectOf(line);
    const std::string color = FieldOf(line, "brush").substr(0, 7);
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) pixels[{x, y}] = color;
    }
  }
  return pixels;
}

// Whether exactly the pixels of rect were filled.
bool CoversExactly(const std::map<std::pair<int, int>, std::string>& pixels, const TRect& rect) {
  if (pixels.size() != static_cast<std::size_t>(rect.Width() * rect.Height())) return false;
  return std::all_of(pixels.begin(), pixels.end(), [&](const auto& entry) {
    const auto [x, y] = entry.first;
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
  });
}

// [SECTION] Gradient

TEST(CanvasGradient, TallRectangleGets256BandsMeasuredFromTheBottom) {
  CanvasRig rig;
  rig.Begin();
  rig.canvas.FillGradient({0, 0, 40, 300}, clBlue, clAqua, gdTopBottom);
  const auto bands = LinesOf(rig, "PatternFill");
  ASSERT_EQ(bands.size(), 256u);
  for (int i = 0; i < 256; ++i) {
    const TRect band = RectOf(bands[static_cast<std::size_t>(i)]);
    EXPECT_EQ(band, (TRect{0, 300 - MulDiv(i + 1, 300, 256), 40, 300 - MulDiv(i, 300, 256)})) << i;
  }
  EXPECT_EQ(RectOf(bands[0]), (TRect{0, 299, 40, 300}));
  EXPECT_EQ(RectOf(bands[128]), (TRect{0, 149, 40, 150}));
  EXPECT_EQ(RectOf(bands[255]), (TRect{0, 0, 40, 1}));
  EXPECT_EQ(FieldOf(bands[0], "brush"), "#0000FF/solid");
  EXPECT_EQ(FieldOf(bands[128], "brush"), "#0080FF/solid");
  EXPECT_EQ(FieldOf(bands[255], "brush"), "#00FFFF/solid");
  EXPECT_TRUE(CoversExactly(FilledPixels(rig), {0, 0, 40, 300}));
}

TEST(CanvasGradient, ShortRectangleGetsOneRowPerBandFromStartToEnd) {
  CanvasRig rig;
  rig.Begin();
  rig.canvas.FillGradient({5, 20, 15, 30}, clBlack, clWhite, gdTopBottom);
  const auto bands = LinesOf(rig, "PatternFill");
  ASSERT_EQ(bands.size(), 10u);
  EXPECT_EQ(RectOf(bands[0]), (TRect{5, 29, 15, 30}));
  EXPECT_EQ(FieldOf(bands[0], "brush"), "#000000/solid");
  EXPECT_EQ(FieldOf(bands[1], "brush"), "#1C1C1C/solid");  // MulDiv(1, 255, 9) = 28
  EXPECT_EQ(RectOf(bands[9]), (TRect{5, 20, 15, 21}));
  EXPECT_EQ(FieldOf(bands[9], "brush"), "#FFFFFF/solid");

  // One row: the single band keeps the start colour.
  rig.surface.Clear();
  rig.canvas.FillGradient({0, 0, 10, 1}, clRed, clWhite, gdTopBottom);
  ASSERT_EQ(rig.Lines().size(), 1u);
  EXPECT_EQ(FieldOf(rig.Lines()[0], "brush"), "#FF0000/solid");
}

TEST(CanvasGradient, ReversedRectanglePaintsAsTheNormalisedOne) {
  for (TGradientDirection direction :
       {gdTopBottom, gdBottomTop, gdLeftRight, gdRightLeft, gdFromCenter, gdFromTopLeft, gdFromBottomLeft}) {
    CanvasRig normal;
    normal.Begin();
    normal.canvas.FillGradient({5, 20, 17, 29}, clRed, clNavy, direction);
    CanvasRig reversed;
    reversed.Begin();
    reversed.canvas.FillGradient({17, 29, 5, 20}, clRed, clNavy, direction);
    EXPECT_EQ(reversed.Lines(), normal.Lines()) << direction;
    EXPECT_TRUE(CoversExactly(FilledPixels(normal), {5, 20, 17, 29})) << direction;
  }
}

TEST(CanvasGradient, DirectionsPlaceTheColoursOnTheirEdges) {
  const TRect rect{0, 0, 6, 4};
  const auto paint = [&](TGradientDirection direction) {
    CanvasRig rig;
    rig.Begin();
    rig.canvas.FillGradient(rect, clRed, clBlue, direction);
    return FilledPixels(rig);
  };
  const std::string red = "#FF0000";
  const std::string blue = "#0000FF";
  auto pixels = paint(gdTopBottom);
  EXPECT_EQ((pixels[{0, 3}]), red);
  EXPECT_EQ((pixels[{0, 0}]), blue);
  // The other directions take the colours crossed.
  pixels = paint(gdBottomTop);
  EXPECT_EQ((pixels[{0, 3}]), blue);
  EXPECT_EQ((pixels[{0, 0}]), red);
  pixels = paint(gdLeftRight);
  EXPECT_EQ((pixels[{5, 0}]), red);
  EXPECT_EQ((pixels[{0, 0}]), blue);
  pixels = paint(gdRightLeft);
  EXPECT_EQ((pixels[{5, 0}]), blue);
  EXPECT_EQ((pixels[{0, 0}]), red);
  pixels = paint(gdFromTopLeft);
  EXPECT_TRUE(CoversExactly(pixels, rect));
  EXPECT_EQ((pixels[{0, 0}]), blue);
  pixels = paint(gdFromBottomLeft);
  EXPECT_TRUE(CoversExactly(pixels, rect));
  EXPECT_EQ((pixels[{0, 3}]), blue);
}

TEST(CanvasGradient, FromCenterPaintsRingsInwardEndingAtTheCentre) {
  CanvasRig rig;
  rig.Begin();
  rig.canvas.SetBrush({clLime, bsCross, std::nullopt});
  // The colours are crossed first: the outer ring is white, the centre black.
  rig.canvas.FillGradient({0, 0, 5, 3}, clBlack, clWhite, gdFromCenter);
  auto pixels = FilledPixels(rig);
  EXPECT_TRUE(CoversExactly(pixels, {0, 0, 5, 3}));
  for (int x = 0; x < 5; ++x) {
    EXPECT_EQ((pixels[{x, 0}]), "#FFFFFF");
    EXPECT_EQ((pixels[{x, 2}]), "#FFFFFF");
  }
  EXPECT_EQ((pixels[{0, 1}]), "#FFFFFF");
  EXPECT_EQ((pixels[{1, 1}]), "#555555");  // step 2 of 3
  EXPECT_EQ((pixels[{2, 1}]), "#000000");
  EXPECT_EQ((pixels[{3, 1}]), "#555555");
  // The caller's brush is back afterwards.
  EXPECT_EQ(rig.canvas.Brush(), (SurfaceBrush{clLime, bsCross, std::nullopt}));
}

// [SECTION] Bevel frame

TEST(CanvasBevel, FrameOfWidthTwoNestsInsideTheRectangle) {
  CanvasRig rig;
  rig.Begin();
  rig.canvas.SetPenWidth(3);
  rig.canvas.BevelFrame({0, 0, 10, 8}, clRed, clBlue, 2);
  const std::vector<std::string> expected = {
      "Polyline 0,7 0,0 9,0 pen=#FF0000/1/solid/copy",
      "Polyline 9,0 9,7 -1,7 pen=#0000FF/1/solid/copy",
      "Polyline 1,6 1,1 8,1 pen=#FF0000/1/solid/copy",
      "Polyline 8,1 8,6 0,6 pen=#0000FF/1/solid/copy",
  };
  EXPECT_EQ(rig.Lines(), expected);
}

// [SECTION] Box, pyramid, cone

TEST(CanvasBox, ShowsFrontRightSideAndTopWithDarkenedSides) {
  CanvasRig rig;
  rig.Begin();
  rig.canvas.SetBrushColor(RGBColor(0xC0, 0x80, 0x40));
  rig.canvas.DrawBox(0, 10, 0, 20, 0, 5, true);
  const auto faces = LinesOf(rig, "Polygon");
  ASSERT_EQ(faces.size(), 3u);
  EXPECT_EQ(PointsOf(faces[0]), (std::vector<TPoint>{{0, 0}, {10, 0}, {10, 20}, {0, 20}}));
  EXPECT_EQ(FieldOf(faces[0], "brush"), "#C08040/solid");
  EXPECT_EQ(PointsOf(faces[1]), (std::vector<TPoint>{{10, 0}, {15, -5}, {15, 15}, {10, 20}}));
  EXPECT_EQ(FieldOf(faces[1], "brush"), "#400000/solid");
  EXPECT_EQ(PointsOf(faces[2]), (std::vector<TPoint>{{0, 0}, {10, 0}, {15, -5}, {5, -5}}));
  EXPECT_EQ(FieldOf(faces[2], "brush"), "#804000/solid");

  rig.surface.Clear();
  rig.canvas.SetBrushColor(RGBColor(0xC0, 0x80, 0x40));
  rig.canvas.DrawBox(0, 10, 0, 20, 0, 5, false);
  for (const std::string& face : LinesOf(rig, "Polygon")) EXPECT_EQ(FieldOf(face, "brush"), "#C08040/solid");
}

TEST(CanvasBox, ReversedDepthShowsTheLeftSideAndNoTop) {
  CanvasRig rig;
  rig.Begin();
  rig.canvas.DrawBox(0, 10, 0, 20, 0, -5, true);
  const auto faces = LinesOf(rig, "Polygon");
  ASSERT_EQ(faces.size(), 2u);
  EXPECT_EQ(PointsOf(faces[1]), (std::vector<TPoint>{{0, 0}, {-5, 5}, {-5, 25}, {0, 20}}));
}

TEST(CanvasBox, HatchedBrushDarkensTheBackgroundNotTheBrush) {
  CanvasRig rig;
  rig.Begin();
  rig.canvas.SetBrush({clRed, bsCross, std::nullopt});
  rig.canvas.SetTextBackMode(BkMode::Opaque);
  rig.canvas.SetTextBackColor(RGBColor(0xC0, 0x80, 0x40));
  rig.canvas.DrawBox(0, 10, 0, 20, 0, 5, true);
  const auto faces = LinesOf(rig, "Polygon");
  ASSERT_EQ(faces.size(), 3u);
  EXPECT_EQ(FieldOf(faces[0], "bk"), "#C08040");
  EXPECT_EQ(FieldOf(faces[1], "bk"), "#400000");
  EXPECT_EQ(FieldOf(faces[2], "bk"), "#804000");
  for (const std::string& face : faces) EXPECT_EQ(FieldOf(face, "brush"), "#FF0000/cross");
}

TEST(CanvasBox, DarkenColorLowersEachChannelAndStopsAtZero) {
  EXPECT_EQ(DarkenColor(RGBColor(200, 100, 50), 64), RGBColor(136, 36, 0));
  EXPECT_EQ(DarkenColor(RGBColor(64, 65, 10), 64), RGBColor(0, 1, 0));
  // System colours are resolved first.
  const std::uint32_t face = ColorToRGB(clBtnFace);
  EXPECT_EQ(DarkenColor(clBtnFace, 0), RGBColor(RedOf(face), GreenOf(face), BlueOf(face)));
}

TEST(CanvasPyramid, UprightPyramidShowsFrontAndRightFaceOnly) {
  CanvasRig rig;
  rig.Begin();
  rig.canvas.SetBrushColor(RGBColor(200, 200, 200));
  rig.canvas.DrawPyramid(true, 0, 0, 20, 40, 0, 10, true);
  const auto faces = LinesOf(rig, "Polygon");
  ASSERT_EQ(faces.size(), 2u);
  EXPECT_EQ(PointsOf(faces[0]), (std::vector<TPoint>{{0, 40}, {15, -5}, {20, 40}}));
  EXPECT_EQ(FieldOf(faces[0], "brush"), "#C8C8C8/solid");
  EXPECT_EQ(PointsOf(faces[1]), (std::vector<TPoint>{{20, 40}, {15, -5}, {30, 30}}));
  EXPECT_EQ(FieldOf(faces[1], "brush"), "#484848/solid");
}

TEST(CanvasPyramid, InvertedPyramidShowsItsBaseAndAFlatOneIsSeenFromAbove) {
  CanvasRig rig;
  rig.Begin();
  rig.canvas.SetBrushColor(RGBColor(200, 200, 200));
  rig.canvas.DrawPyramid(true, 0, 40, 20, 0, 0, 10, true);
  auto faces = LinesOf(rig, "Polygon");
  ASSERT_EQ(faces.size(), 3u);
  EXPECT_EQ(PointsOf(faces[0]), (std::vector<TPoint>{{0, 0}, {15, 35}, {20, 0}}));
  EXPECT_EQ(PointsOf(faces[1]), (std::vector<TPoint>{{20, 0}, {15, 35}, {30, -10}}));
  EXPECT_EQ(PointsOf(faces[2]), (std::vector<TPoint>{{0, 0}, {20, 0}, {30, -10}, {10, -10}}));
  EXPECT_EQ(FieldOf(faces[2], "brush"), "#888888/solid");

  // Low and deep: the left and back faces rise above the apex.
  rig.surface.Clear();
  rig.canvas.DrawPyramid(true, 0, 0, 20, 4, 0, 20, false);
  faces = LinesOf(rig, "Polygon");
  ASSERT_EQ(faces.size(), 4u);
  EXPECT_EQ(PointsOf(faces[1]), (std::vector<TPoint>{{0, 4}, {20, -10}, {20, -16}}));
  EXPECT_EQ(PointsOf(faces[3]), (std::vector<TPoint>{{20, -10}, {20, -16}, {40, -16}}));
}

TEST(CanvasPyramid, HorizontalPyramidAndTheConeThatIsOne) {
  CanvasRig rig;
  rig.Begin();
  rig.canvas.SetBrushColor(RGBColor(200, 200, 200));
  rig.canvas.DrawPyramid(false, 0, 0, 40, 20, 0, 10, true);
  const auto faces = LinesOf(rig, "Polygon");
  ASSERT_EQ(faces.size(), 2u);
  EXPECT_EQ(PointsOf(faces[0]), (std::vector<TPoint>{{0, 0}, {45, 5}, {0, 20}}));
  EXPECT_EQ(PointsOf(faces[1]), (std::vector<TPoint>{{0, 0}, {45, 5}, {10, -10}}));
  EXPECT_EQ(FieldOf(faces[1], "brush"), "#888888/solid");

  CanvasRig cone;
  cone.Begin();
  cone.canvas.SetBrushColor(RGBColor(200, 200, 200));
  cone.canvas.DrawCone(false, 0, 0, 40, 20, 0, 10, 77);
  EXPECT_EQ(cone.Lines(), rig.Lines());
}

// [SECTION] Ellipse and sphere

TEST(CanvasEllipse, ObliqueAndFlatEllipsesAreSurfaceEllipses) {
  CanvasRig rig;
  rig.Begin();
  rig.canvas.EllipseAtDepth(0, 0, 10, 20, 5);
  rig.canvas.DrawSphere(0, 0, 0, 2.5);  // radius 2: halves go to even
  rig.Begin(false);
  rig.canvas.EllipseAtDepth(0, 0, 10, 20, 5);
  const auto ellipses = LinesOf(rig, "Ellipse");
  ASSERT_EQ(ellipses.size(), 3u);
  EXPECT_EQ(RectOf(ellipses[0]), (TRect{5, -5, 15, 15}));
  EXPECT_EQ(RectOf(ellipses[1]), (TRect{-2, -2, 2, 2}));
  EXPECT_EQ(RectOf(ellipses[2]), (TRect{0, 0, 11, 21}));
}

TEST(CanvasEllipse, TurnedEllipseIsAFanWithoutOutlineThenA32PointOutline) {
  CanvasRig rig;
  rig.options.SetOrthogonal(false);
  rig.options.SetRotation(0);
  rig.options.SetElevation(0);
  rig.options.SetPerspective(0);
  rig.Begin();
  rig.canvas.EllipseAtDepth(-10, -10, 10, 10, 0);
  const auto fan = LinesOf(rig, "Polygon");
  ASSERT_EQ(fan.size(), 31u);
  EXPECT_EQ(PointsOf(fan[0]), (std::vector<TPoint>{{0, 0}, {0, 10}, {3, 9}}));
  for (const std::string& triangle : fan) EXPECT_EQ(FieldOf(triangle, "pen"), "#000000/1/clear/copy");
  const auto outline = LinesOf(rig, "Polyline");
  ASSERT_EQ(outline.size(), 1u);
  const std::vector<TPoint> points = PointsOf(outline[0]);
  ASSERT_EQ(points.size(), 32u);
  EXPECT_EQ(points[5], (TPoint{10, 0}));
  EXPECT_EQ(points[20], points[0]);
  EXPECT_EQ(FieldOf(outline[0], "pen"), "#000000/1/solid/copy");

  rig.surface.Clear();
  rig.canvas.SetBrushStyle(bsClear);
  rig.canvas.EllipseAtDepth(-10, -10, 10, 10, 0);
  EXPECT_EQ(rig.Lines().size(), 1u);
  rig.surface.Clear();
  rig.canvas.SetBrushStyle(bsSolid);
  rig.canvas.SetPenStyle(psClear);
  rig.canvas.EllipseAtDepth(-10, -10, 10, 10, 0);
  EXPECT_EQ(LinesOf(rig, "Polygon").size(), 31u);
  EXPECT_TRUE(LinesOf(rig, "Polyline").empty());
}

// [SECTION] Clip region of the box

TEST(CanvasClip, FlatFrameObliqueHexagonOrTopSeenStraightDown) {
  CanvasRig rig;
  rig.Begin(false);
  rig.canvas.ClipToBox({0, 0, 100, 50}, 0, 10);
  rig.Begin();
  rig.canvas.ClipToBox({0, 0, 100, 50}, 0, 10);
  rig.options.SetOrthogonal(false);
  rig.options.SetElevation(270);
  rig.options.SetRotation(360);
  rig.options.SetPerspective(0);
  rig.Begin(true, {0, 0, 100, 50}, 10);
  rig.canvas.ClipToBox({0, 0, 100, 50}, 0, 10);
  const std::vector<std::string> expected = {
      "IntersectClipRect 1,1,100,49",
      "SelectClipPolygon 0,50 0,0 10,-10 110,-10 110,40 100,50",
      "IntersectClipRect 0,20,100,30",
  };
  EXPECT_EQ(rig.Lines(), expected);
}

// [SECTION] Arrow

TEST(CanvasArrow, OpenArrowDrawsShaftAndHeadAtItsDepth) {
  CanvasRig rig;
  rig.Begin();
  rig.canvas.DrawArrow(false, {0, 0}, {100, 0}, 10, 20, 0);
  rig.canvas.DrawArrow(false, {0, 0}, {10, 0}, 10, 20, 3);  // head longer than the arrow
  rig.canvas.DrawArrow(false, {5, 5}, {5, 5}, 10, 20, 0);   // no length: nothing
  const std::vector<std::string> expected = {
      "LineTo 0,0 100,0 pen=#000000/1/solid/copy",  "LineTo 100,0 80,5 pen=#000000/1/solid/copy",
      "LineTo 100,0 80,-5 pen=#000000/1/solid/copy", "LineTo 3,-3 13,-3 pen=#000000/1/solid/copy",
      "LineTo 13,-3 3,2 pen=#000000/1/solid/copy",   "LineTo 13,-3 3,-8 pen=#000000/1/solid/copy",
  };
  EXPECT_EQ(rig.Lines(), expected);
}

TEST(CanvasArrow, FilledArrowIsASevenPointOutline) {
  CanvasRig rig;
  rig.Begin();
  rig.canvas.DrawArrow(true, {0, 100}, {0, 0}, 10, 20, 0);
  const auto polygons = LinesOf(rig, "Polygon");
  ASSERT_EQ(polygons.size(), 1u);
  // A quarter of the head width is 2.5: rounded to 2 on both sides.
  EXPECT_EQ(PointsOf(polygons[0]),
            (std::vector<TPoint>{{2, 100}, {-2, 100}, {-2, 20}, {-5, 20}, {0, 0}, {5, 20}, {2, 20}}));
}

// [SECTION] Pie slice

TEST(CanvasPie, ArcPointsFollowTheSweep) {
  CanvasRig rig;
  rig.Begin();
  rig.canvas.DrawPieSlice3D(0, 0, 100, 100, 0, 0, 0, kPi / 2, false, false);
  rig.canvas.DrawPieSlice3D(0, 0, 100, 100, 0, 0, 0, 2 * kPi, false, false);
  const auto polygons = LinesOf(rig, "Polygon");
  ASSERT_GE(polygons.size(), 2u);
  const std::vector<TPoint> quarter = PointsOf(polygons[0]);
  ASSERT_EQ(quarter.size(), 12u);  // centre and 11 points 9 degrees apart
  EXPECT_EQ(quarter[0], (TPoint{0, 0}));
  EXPECT_EQ(quarter[1], (TPoint{100, 0}));
  EXPECT_EQ(quarter[2], (TPoint{99, -16}));
  EXPECT_EQ(quarter[11], (TPoint{0, -100}));
  EXPECT_EQ(PointsOf(polygons[1]).size(), 33u);
}

TEST(CanvasPie, SidesFaceTheViewerOnlyWhereTheyShow) {
  CanvasRig rig;
  rig.Begin();
  rig.canvas.SetBrushColor(RGBColor(100, 100, 100));
  // First quarter: the start side (at angle 0) shows, the end side hides behind.
  rig.canvas.DrawPieSlice3D(0, 0, 100, 100, 0, 10, 0, kPi / 2, true, true);
  const auto polygons = LinesOf(rig, "Polygon");
  ASSERT_EQ(polygons.size(), 2u);
  EXPECT_EQ(PointsOf(polygons[0]), (std::vector<TPoint>{{10, -10}, {110, -10}, {100, 0}, {0, 0}}));
  EXPECT_EQ(FieldOf(polygons[0], "brush"), "#444444/solid");
  EXPECT_EQ(FieldOf(polygons[1], "brush"), "#646464/solid");
  EXPECT_EQ(PointsOf(polygons[1]).size(), 12u);
}

TEST(CanvasPie, LowerHalfDrawsOneRimAlongTheWholeArc) {
  CanvasRig rig;
  rig.Begin();
  rig.canvas.SetBrushColor(RGBColor(100, 100, 100));
  rig.canvas.DrawPieSlice3D(0, 0, 100, 100, 0, 10, kPi, 2 * kPi, true, false);
  const auto polygons = LinesOf(rig, "Polygon");
  ASSERT_EQ(polygons.size(), 2u);
  EXPECT_EQ(PointsOf(polygons[0]).size(), 21u);  // centre and 20 points
  const std::vector<TPoint> rim = PointsOf(polygons[1]);
  ASSERT_EQ(rim.size(), 40u);
  EXPECT_EQ(rim.front(), (TPoint{-90, -10}));  // F1 at the back depth
  EXPECT_EQ(rim[19], (TPoint{110, -10}));      // F20
  EXPECT_EQ(rim[20], (TPoint{100, 0}));        // K20 at the front
  EXPECT_EQ(rim.back(), (TPoint{-100, 0}));    // K1
  EXPECT_EQ(FieldOf(polygons[1], "brush"), "#444444/solid");
}

TEST(CanvasPie, FullTurnFromTheBottomShowsTwoRimRuns) {
  CanvasRig rig;
  rig.Begin();
  rig.canvas.DrawPieSlice3D(0, 0, 100, 100, 0, 10, 1.5 * kPi, 3.5 * kPi, false, false);
  const auto polygons = LinesOf(rig, "Polygon");
  ASSERT_EQ(polygons.size(), 3u);
  EXPECT_EQ(PointsOf(polygons[0]).size(), 33u);
  // From the bottom to the rightmost point, and from the leftmost point back round.
  const std::vector<TPoint> first = PointsOf(polygons[1]);
  const std::vector<TPoint> second = PointsOf(polygons[2]);
  ASSERT_EQ(first.size(), 18u);
  ASSERT_EQ(second.size(), 18u);
  EXPECT_EQ(first[0], (TPoint{10, 90}));
  EXPECT_EQ(first[8].x, 110);
  EXPECT_EQ(second[0].x, -90);
  EXPECT_EQ(second[8], (TPoint{10, 90}));
}

// [SECTION] Cylinder

std::vector<std::vector<TPoint>> PolygonShapes(const CanvasRig& rig) {
  std::vector<std::vector<TPoint>> shapes;
  for (const std::string& line : LinesOf(rig, "Polygon")) {
    std::vector<TPoint> points = PointsOf(line);
    std::sort(points.begin(), points.end(), [](TPoint a, TPoint b) { return std::pair(a.x, a.y) < std::pair(b.x, b.y); });
    points.erase(std::unique(points.begin(), points.end()), points.end());
    shapes.push_back(points);
  }
  std::sort(shapes.begin(), shapes.end(), [](const auto& a, const auto& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](TPoint p, TPoint q) {
      return std::pair(p.x, p.y) < std::pair(q.x, q.y);
    });
  });
  return shapes;
}

TEST(CanvasCylinder, UprightCylinderShowsItsBodyAndItsTop) {
  CanvasRig rig;
  rig.Begin();
  rig.canvas.SetBrushColor(RGBColor(200, 200, 200));
  rig.canvas.DrawCylinder(true, 0, 0, 20, 40, 0, 10, true);
  const auto polygons = LinesOf(rig, "Polygon");
  ASSERT_EQ(polygons.size(), 2u);
  EXPECT_EQ(FieldOf(polygons[0], "brush"), "#C8C8C8/solid");
  const std::vector<TPoint> top = PointsOf(polygons[1]);
  ASSERT_EQ(top.size(), 16u);
  // The top ring at y = 0 rises with depth on screen; the front point is (10, 0).
  EXPECT_TRUE(std::all_of(top.begin(), top.end(), [](TPoint p) { return p.y <= 0 && p.y >= -10; }));
  EXPECT_NE(std::find(top.begin(), top.end(), TPoint{10, 0}), top.end());
  EXPECT_EQ(FieldOf(polygons[1], "brush"), "#888888/solid");
  // The body joins the front of both rings.
  const std::vector<TPoint> body = PointsOf(polygons[0]);
  EXPECT_NE(std::find(body.begin(), body.end(), TPoint{10, 40}), body.end());
  EXPECT_NE(std::find(body.begin(), body.end(), TPoint{10, 0}), body.end());
}

TEST(CanvasCylinder, LyingCylinderShowsItsRightEndAsASide) {
  CanvasRig rig;
  rig.Begin();
  rig.canvas.SetBrushColor(RGBColor(200, 200, 200));
  rig.canvas.DrawCylinder(false, 0, 0, 40, 20, 0, 10, true);
  const auto polygons = LinesOf(rig, "Polygon");
  ASSERT_EQ(polygons.size(), 2u);
  const std::vector<TPoint> end = PointsOf(polygons[1]);
  ASSERT_EQ(end.size(), 16u);
  EXPECT_TRUE(std::all_of(end.begin(), end.end(), [](TPoint p) { return p.x >= 40; }));
  EXPECT_EQ(FieldOf(polygons[1], "brush"), "#484848/solid");
}

TEST(CanvasCylinder, MirroredCornersDrawTheSameSolid) {
  for (bool vertical : {true, false}) {
    CanvasRig reference;
    reference.Begin();
    reference.canvas.DrawCylinder(vertical, 0, 0, 20, 40, 0, 10, false);
    const auto expected = PolygonShapes(reference);
    ASSERT_EQ(expected.size(), 2u);
    struct Corners {
      int left, top, right, bottom, z0, z1;
    };
    for (const Corners c : {Corners{20, 0, 0, 40, 0, 10}, Corners{0, 40, 20, 0, 0, 10}, Corners{0, 0, 20, 40, 10, 0},
                            Corners{20, 40, 0, 0, 10, 0}}) {
      CanvasRig mirrored;
      mirrored.Begin();
      mirrored.canvas.DrawCylinder(vertical, c.left, c.top, c.right, c.bottom, c.z0, c.z1, false);
      EXPECT_EQ(PolygonShapes(mirrored), expected)
          << vertical << " " << c.left << "," << c.top << "," << c.right << "," << c.bottom << "," << c.z0 << "," << c.z1;
    }
  }
}

}  // namespace
}  // namespace tarvela
