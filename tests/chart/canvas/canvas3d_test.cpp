#include "tarvela/chart/canvas/canvas3d.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <numbers>

#include "canvas_test_support.h"
#include "tarvela/chart/canvas/chart_pen.h"

namespace tarvela {
namespace {

using canvas_test::CanvasRig;
using canvas_test::FieldOf;
using canvas_test::LinesOf;
using canvas_test::PointsOf;

// [SECTION] Projection

TEST(CanvasProjection, OrthogonalZoom101MatchesTheFormsChart) {
  CanvasRig rig;
  rig.options.SetElevation(343);
  rig.options.SetZoom(101);
  rig.Begin(true, {10, 10, 410, 310}, 20);
  EXPECT_TRUE(rig.canvas.Orthogonal());
  EXPECT_EQ(rig.canvas.XCenter(), 210);
  EXPECT_EQ(rig.canvas.YCenter(), 160);
  EXPECT_EQ(rig.canvas.ZCenter(), 10);
  EXPECT_EQ(rig.canvas.ProjectPoint(10, 300, 0), (TPoint{8, 301}));
  EXPECT_EQ(rig.canvas.ProjectPoint(10, 300, 20), (TPoint{28, 281}));
}

TEST(CanvasProjection, HalfwayPixelsRoundToTheEvenNeighbour) {
  CanvasRig rig;
  rig.options.SetZoom(150);
  rig.Begin();
  EXPECT_EQ(rig.canvas.ProjectPoint(-3, 0, 0), (TPoint{-4, 0}));   // -4.5
  EXPECT_EQ(rig.canvas.ProjectPoint(-1, 0, 0), (TPoint{-2, 0}));   // -1.5
  EXPECT_EQ(rig.canvas.ProjectPoint(3, 1, 0), (TPoint{4, 2}));     // 4.5, 1.5
  EXPECT_EQ(rig.canvas.ProjectPoint(0, 0, 1), (TPoint{2, -2}));    // 1.5, -1.5
}

TEST(CanvasProjection, CentreDividesTowardZeroAndOffsetsShiftTheScreenCentre) {
  CanvasRig rig;
  rig.options.SetHorizOffset(7);
  rig.options.SetVertOffset(-5);
  rig.Begin(true, {-11, -7, 0, 0}, -5);
  EXPECT_EQ(rig.canvas.XCenter(), -5);
  EXPECT_EQ(rig.canvas.YCenter(), -3);
  EXPECT_EQ(rig.canvas.ZCenter(), -2);
  EXPECT_EQ(rig.canvas.ProjectPoint(-5, -3, 0), (TPoint{2, -8}));

  // Without view options the screen centre is the rotation centre.
  RecordingSurface surface;
  TZavCanvas3D bare;
  bare.SetBuffered(false);
  bare.BeginDrawing(surface, nullptr, clBtnFace, true, {0, 0, 100, 100});
  bare.SetProjectionCenter(0, {}, {0, 0, 100, 50});
  EXPECT_FALSE(bare.Orthogonal());
  EXPECT_EQ(bare.XCenterOffset(), 50);
  EXPECT_EQ(bare.YCenterOffset(), 25);
  EXPECT_EQ(bare.ProjectPoint(10, 20, 30), (TPoint{10, 20}));
}

TEST(CanvasProjection, RotationCoefficientsAndTheirClamps) {
  CanvasRig rig;
  rig.options.SetOrthogonal(false);
  rig.options.SetPerspective(0);
  rig.Begin();
  const double cos345 = std::cos(345 * std::numbers::pi / 180);
  EXPECT_NEAR(rig.canvas.Coefficients().xx, cos345, 1e-12);
  EXPECT_NEAR(rig.canvas.Coefficients().yy, cos345, 1e-12);

  rig.options.SetElevation(90);
  rig.Begin();
  EXPECT_EQ(rig.canvas.Coefficients().yy, 0.00001);
  rig.options.SetElevation(345);
  rig.options.SetRotation(90);
  rig.Begin();
  EXPECT_EQ(rig.canvas.Coefficients().xx, 0.00001);
}

TEST(CanvasProjection, RotatedPointAndThePerspectiveThatEnlargesIt) {
  CanvasRig rig;
  rig.options.SetOrthogonal(false);
  rig.options.SetPerspective(0);
  rig.Begin(true, {0, 0, 200, 100}, 40);
  // xx = cos 15° = 0.9659, yx = sin² 15° = 0.0670.
  EXPECT_EQ(rig.canvas.ProjectPoint(200, 50, 20), (TPoint{197, 57}));
  EXPECT_EQ(rig.canvas.PerspectiveFactor(), 0.0);

  // The depth term is -100 cos 15° sin 15° = -25, so the factor is 1 + 25 × 15 / 35000.
  rig.options.SetPerspective(15);
  rig.Begin(true, {0, 0, 200, 100}, 40);
  EXPECT_DOUBLE_EQ(rig.canvas.PerspectiveFactor(), 15 / 35000.0);
  EXPECT_EQ(rig.canvas.ProjectPoint(200, 50, 20), (TPoint{198, 57}));

  // The oblique projection ignores perspective, but the centre still sets the factor.
  rig.options.SetOrthogonal(true);
  rig.Begin(true, {0, 0, 200, 100}, 40);
  EXPECT_EQ(rig.canvas.ProjectPoint(200, 50, 20), (TPoint{220, 30}));
}

TEST(CanvasProjection, AbsurdSettingsHoldPixelsAtTheLimitsInsteadOfFailing) {
  CanvasRig rig;
  rig.options.SetHorizOffset(INT_MAX);
  rig.options.SetZoom(INT_MAX);
  rig.Begin(true, {0, 0, 200, 100}, 0);
  EXPECT_EQ(rig.canvas.XCenterOffset(), INT_MAX);
  EXPECT_EQ(rig.canvas.ProjectPoint(INT_MAX, INT_MIN, INT_MAX), (TPoint{INT_MAX, INT_MIN}));

  rig.options.SetOrthogonal(false);
  rig.options.SetPerspective(INT_MAX);
  rig.Begin(true, {0, 0, 200, 100}, 0);
  EXPECT_NO_THROW(rig.canvas.ProjectPoint(INT_MIN, INT_MAX, INT_MIN));
  EXPECT_NO_THROW(rig.canvas.DrawPieSlice3D(0, 0, 10, 10, 0, 5, 0, 1e300, true, true));
}

TEST(CanvasProjection, UnprojectUndoesTheOrthogonalProjectionUpToRounding) {
  CanvasRig rig;
  rig.options.SetZoom(101);
  rig.options.SetHorizOffset(13);
  rig.Begin(true, {10, 10, 410, 310}, 20);
  for (int x = 0; x <= 400; x += 37) {
    for (int y = 0; y <= 300; y += 41) {
      for (int z : {0, 7, 20}) {
        const TPoint p = rig.canvas.ProjectPoint(x, y, z);
        int ux = p.x;
        int uy = p.y;
        rig.canvas.UnprojectPoint(ux, uy, z);
        EXPECT_LE(std::abs(ux - x), 1) << x << "," << y << "," << z;
        EXPECT_LE(std::abs(uy - y), 1) << x << "," << y << "," << z;
      }
    }
  }
  // At zoom 100 the inverse is exact.
  rig.options.SetZoom(100);
  rig.Begin(true, {10, 10, 410, 310}, 20);
  int x = 123 + 9;
  int y = 45 - 9;
  rig.canvas.UnprojectPoint(x, y, 9);
  EXPECT_EQ(x, 123 - 13);
  EXPECT_EQ(y, 45);
}

TEST(CanvasProjection, UnprojectLeavesThePointAtZoomZeroAndWhenFlat) {
  CanvasRig rig;
  rig.options.SetZoom(0);
  rig.Begin(true, {0, 0, 100, 100}, 10);
  int x = 17;
  int y = 23;
  rig.canvas.UnprojectPoint(x, y, 5);
  EXPECT_EQ(x, 17);
  EXPECT_EQ(y, 23);

  rig.options.SetZoom(100);
  rig.Begin(false, {0, 0, 100, 100}, 10);
  rig.canvas.UnprojectPoint(x, y, 5);
  EXPECT_EQ(x, 17);
  EXPECT_EQ(y, 23);
}

TEST(CanvasProjection, FlatDrawingIgnoresDepthExceptInTheObliqueProjection) {
  CanvasRig rig;
  rig.options.SetOrthogonal(false);
  rig.Begin(true, {0, 0, 200, 100}, 40);
  const TPoint rotated = rig.canvas.ProjectPoint(150, 20, 30);
  rig.canvas.BeginFlatDrawing();
  EXPECT_EQ(rig.canvas.ProjectPoint(150, 20, 30), (TPoint{150, 20}));
  rig.canvas.EndFlatDrawing();
  EXPECT_EQ(rig.canvas.ProjectPoint(150, 20, 30), rotated);

  rig.options.SetOrthogonal(true);
  rig.Begin(true, {0, 0, 200, 100}, 40);
  rig.canvas.BeginFlatDrawing();
  EXPECT_FALSE(rig.canvas.View3D());
  EXPECT_EQ(rig.canvas.ProjectPoint(150, 20, 30), (TPoint{180, -10}));
  rig.canvas.EndFlatDrawing();
  EXPECT_TRUE(rig.canvas.View3D());

  // A 2D chart ignores the projection settings altogether.
  rig.options.SetZoom(150);
  rig.Begin(false, {0, 0, 200, 100}, 40);
  EXPECT_FALSE(rig.canvas.Orthogonal());
  EXPECT_EQ(rig.canvas.ZoomFactor(), 1.0);
  EXPECT_EQ(rig.canvas.ProjectPoint(150, 20, 30), (TPoint{150, 20}));
}

// [SECTION] Buffer

TEST(CanvasBuffer, PaintDrawsIntoOneReusedBitmapAndCopiesItOnce) {
  RecordingSurface window;
  TView3DOptions options(nullptr);
  TZavCanvas3D canvas;
  canvas.AttachSurface(&window);
  EXPECT_TRUE(canvas.Dirty());
  EXPECT_FALSE(canvas.RepaintFromBuffer());

  const TRect paintRect = canvas.BeginDrawing(window, &options, clBtnFace, true, {8, 48, 473, 385});
  EXPECT_EQ(paintRect, (TRect{0, 0, 465, 337}));
  canvas.Line2D(1, 2, 3, 4);
  canvas.EndDrawing(window, &window, {8, 48, 473, 385});
  EXPECT_FALSE(canvas.Dirty());
  EXPECT_EQ(canvas.SurfaceHandle(), &window);

  canvas.BeginDrawing(window, &options, clBtnFace, true, {8, 48, 473, 385});
  canvas.EndDrawing(window, &window, {8, 48, 473, 385});
  EXPECT_TRUE(canvas.RepaintFromBuffer());

  const std::vector<std::string> expected = {
      "CreateOffscreen bitmap1 465x337 color",
      "bitmap1: LineTo 1,2 3,4 pen=#000000/1/solid/copy",
      "CopyBitmap 8,48 bitmap1 465x337",
      "CopyBitmap 8,48 bitmap1 465x337",
      "CopyBitmap 0,0 bitmap1 465x337",
  };
  EXPECT_EQ(window.Lines(), expected);
}

TEST(CanvasBuffer, DirtyBufferIsRedrawnAndANewSizeMakesANewBitmap) {
  RecordingSurface window;
  TZavCanvas3D canvas;
  canvas.AttachSurface(&window);
  canvas.BeginDrawing(window, nullptr, clBtnFace, true, {0, 0, 100, 50});
  canvas.EndDrawing(window, &window, {0, 0, 100, 50});
  canvas.MarkDirty();
  EXPECT_FALSE(canvas.RepaintFromBuffer());

  canvas.BeginDrawing(window, nullptr, clBtnFace, true, {0, 0, 100, 60});
  canvas.EndDrawing(window, &window, {0, 0, 100, 60});
  EXPECT_EQ(window.Lines().at(2), "CreateOffscreen bitmap2 100x60 color");
  EXPECT_EQ(canvas.Bitmap()->Height(), 60);
}

TEST(CanvasBuffer, SwitchingBufferingOffDrawsStraightOnTheDestination) {
  RecordingSurface window;
  TZavCanvas3D canvas;
  canvas.AttachSurface(&window);
  canvas.BeginDrawing(window, nullptr, clBtnFace, true, {0, 0, 100, 50});
  canvas.EndDrawing(window, &window, {0, 0, 100, 50});
  canvas.SetBuffered(false);
  EXPECT_EQ(canvas.Bitmap(), nullptr);
  EXPECT_TRUE(canvas.Dirty());

  window.Clear();
  EXPECT_EQ(canvas.BeginDrawing(window, nullptr, clBtnFace, true, {8, 48, 108, 98}), (TRect{8, 48, 108, 98}));
  canvas.Line2D(10, 50, 20, 50);
  canvas.EndDrawing(window, &window, {8, 48, 108, 98});
  const std::vector<std::string> expected = {"LineTo 10,50 20,50 pen=#000000/1/solid/copy"};
  EXPECT_EQ(window.Lines(), expected);
  EXPECT_TRUE(canvas.Dirty());
}

TEST(CanvasBuffer, MonochromeChangeDiscardsTheBitmapAndTheCopyTakesTheSetting) {
  RecordingSurface window;
  TZavCanvas3D canvas;
  canvas.AttachSurface(&window);
  canvas.BeginDrawing(window, nullptr, clBtnFace, true, {0, 0, 10, 10});
  canvas.EndDrawing(window, &window, {0, 0, 10, 10});
  canvas.SetMonochromeMode(true);
  EXPECT_EQ(canvas.Bitmap(), nullptr);
  EXPECT_TRUE(canvas.Dirty());
  canvas.BeginDrawing(window, nullptr, clBtnFace, true, {0, 0, 10, 10});
  EXPECT_EQ(window.Lines().back(), "CreateOffscreen bitmap2 10x10 mono");
  EXPECT_TRUE(canvas.Bitmap()->Monochrome());

  TZavCanvas3D other;
  other.CopySettings(canvas);
  EXPECT_TRUE(other.MonochromeMode());
}

TEST(CanvasBuffer, CanvasWithoutSurfaceDrawsNothingAndMeasuresZero) {
  TZavCanvas3D canvas;
  EXPECT_EQ(canvas.SurfaceHandle(), nullptr);
  canvas.SetPenColor(clRed);
  canvas.Line2D(0, 0, 10, 10);
  canvas.FillGradient({0, 0, 10, 10}, clRed, clBlue, gdFromCenter);
  EXPECT_EQ(canvas.Pen().color, clRed);
  EXPECT_EQ(canvas.MeasureTextWidth("abc"), 0);
  EXPECT_EQ(canvas.LineHeight(), 0);
  EXPECT_FALSE(canvas.RepaintFromBuffer());
}

// [SECTION] Text

TEST(CanvasText, WriteText3DScalesTheFontOnlyWhenThePointSizeChanges) {
  CanvasRig rig;
  SurfaceFont font = rig.surface.Font();
  font.SetSize(8);  // height -11
  rig.surface.SetFont(font);

  rig.options.SetZoom(101);
  rig.Begin();
  rig.canvas.WriteText3D(10, 20, 5, "a");  // round(8.08) = 8: the font as it is
  rig.options.SetZoom(150);
  rig.Begin();
  rig.canvas.WriteText3D(10, 20, 5, "b");  // 12 points
  rig.options.SetZoomText(false);
  rig.Begin();
  rig.canvas.WriteText3D(10, 20, 5, "c");
  rig.options.SetZoomText(true);
  rig.options.SetZoom(1);
  rig.Begin();
  rig.canvas.WriteText3D(10, 20, 5, "d");  // never below one point

  const auto text = LinesOf(rig, "TextOut");
  ASSERT_EQ(text.size(), 4u);
  EXPECT_EQ(PointsOf(text[0]).at(0), (TPoint{15, 15}));
  EXPECT_EQ(FieldOf(text[0], "font"), "\"Arial\"/-11/regular/#000000/0");
  EXPECT_EQ(PointsOf(text[1]).at(0), (TPoint{22, 22}));
  EXPECT_EQ(FieldOf(text[1], "font"), "\"Arial\"/-16/regular/#000000/0");
  EXPECT_EQ(FieldOf(text[2], "font"), "\"Arial\"/-11/regular/#000000/0");
  EXPECT_EQ(FieldOf(text[3], "font"), "\"Arial\"/-1/regular/#000000/0");
  EXPECT_EQ(rig.canvas.Font().height, -11);
}

TEST(CanvasText, WriteRotatedTextTurnsByTenthsOfADegreeAndReducesOnce) {
  CanvasRig rig;
  rig.Begin();
  rig.canvas.SetTextBackMode(BkMode::Opaque);
  for (int angle : {90, 450, 720, 0}) rig.canvas.WriteRotatedText(5, 6, "t", angle);
  const auto text = LinesOf(rig, "TextOut");
  ASSERT_EQ(text.size(), 4u);
  EXPECT_EQ(FieldOf(text[0], "font"), "\"Arial\"/-13/regular/#000000/900");
  EXPECT_EQ(FieldOf(text[1], "font"), "\"Arial\"/-13/regular/#000000/900");
  EXPECT_EQ(FieldOf(text[2], "font"), "\"Arial\"/-13/regular/#000000/3600");
  EXPECT_EQ(FieldOf(text[3], "font"), "\"Arial\"/-13/regular/#000000/0");
  EXPECT_EQ(FieldOf(text[0], "bk"), "transparent");
  EXPECT_EQ(rig.canvas.Brush().style, bsClear);
  EXPECT_EQ(rig.canvas.Font().escapement, 0);
}

TEST(CanvasText, RotatedTextTakesTheZoomedHeightEvenWhenItIsUnchanged) {
  CanvasRig rig;
  SurfaceFont font = rig.surface.Font();
  font.height = -12;  // 9 points
  rig.surface.SetFont(font);
  rig.options.SetZoom(101);
  rig.Begin();
  rig.canvas.WriteRotatedText(0, 0, "t", 90);
  rig.options.SetZoom(200);
  rig.Begin();
  rig.canvas.WriteRotatedText3D(1, 2, 3, "u", 90);
  const auto text = LinesOf(rig, "TextOut");
  ASSERT_EQ(text.size(), 2u);
  // round(9.09) = 9 points, which is 12 pixels again.
  EXPECT_EQ(FieldOf(text[0], "font"), "\"Arial\"/-12/regular/#000000/900");
  EXPECT_EQ(PointsOf(text[1]).at(0), (TPoint{8, -2}));
  EXPECT_EQ(FieldOf(text[1], "font"), "\"Arial\"/-24/regular/#000000/900");
}

// [SECTION] Drawing state

TEST(CanvasState, ApplyChartPenHidesDotsOrCopiesThePen) {
  CanvasRig rig;
  rig.Begin();
  TChartPen pen;
  pen.SetColor(clRed);
  pen.SetWidth(3);
  pen.SetStyle(psDash);
  pen.SetMode(pmNotXor);
  rig.canvas.ApplyChartPen(pen);
  EXPECT_EQ(rig.canvas.Pen(), (SurfacePen{clRed, 3, psDash, pmNotXor, false}));

  pen.SetSmallDots(true);  // too wide for dots
  rig.canvas.ApplyChartPen(pen);
  EXPECT_FALSE(rig.canvas.Pen().alternate);
  pen.SetWidth(1);
  rig.canvas.ApplyChartPen(pen);
  EXPECT_TRUE(rig.canvas.Pen().alternate);
  EXPECT_EQ(rig.canvas.Pen().color, clRed);

  TChartHiddenPen hidden;
  rig.canvas.ApplyChartPen(hidden);
  EXPECT_EQ(rig.canvas.Pen().style, psClear);
}

TEST(CanvasState, ResetDrawingStateRestoresTheDefaults) {
  CanvasRig rig;
  rig.Begin();
  rig.canvas.SetPen({clRed, 4, psDot, pmCopy, false});
  rig.canvas.SetBrush({clBlue, bsCross, Picture(2, 2)});
  SurfaceFont font = rig.canvas.Font();
  font.color = clRed;
  font.height = -30;
  rig.canvas.SetFont(font);
  rig.canvas.SetTextBackColor(clRed);
  rig.canvas.SetTextBackMode(BkMode::Opaque);

  rig.canvas.ResetDrawingState();
  EXPECT_EQ(rig.canvas.Pen(), (SurfacePen{clBlack, 1, psSolid, pmCopy, false}));
  EXPECT_EQ(rig.canvas.Brush(), (SurfaceBrush{clWhite, bsSolid, std::nullopt}));
  EXPECT_EQ(rig.canvas.Font().color, clBlack);
  EXPECT_EQ(rig.canvas.Font().Size(), 10);
  EXPECT_EQ(rig.canvas.TextBackColor(), clWhite);
  EXPECT_EQ(rig.canvas.TextBackMode(), BkMode::Transparent);
}

TEST(CanvasState, PutPixel3DSetsAPixelOrDotsWithAWidePen) {
  CanvasRig rig;
  rig.Begin();
  rig.canvas.PutPixel3D(10, 20, 3, clRed);
  rig.canvas.SetPenWidth(3);
  rig.canvas.PutPixel3D(10, 20, 3, clRed);
  const std::vector<std::string> expected = {"SetPixel 13,17 #FF0000",
                                             "LineTo 13,17 13,17 pen=#000000/3/solid/copy"};
  EXPECT_EQ(rig.Lines(), expected);
}

TEST(CanvasState, GraphicsSkipMissingPicturesAndTakeTheBrushAsBackground) {
  CanvasRig rig;
  rig.Begin();
  const Picture empty;
  rig.canvas.DrawGraphic(1, 2, nullptr);
  rig.canvas.DrawGraphic(1, 2, &empty);
  rig.canvas.StretchGraphic({0, 0, 4, 4}, nullptr);
  EXPECT_TRUE(rig.Lines().empty());

  rig.canvas.SetBrushColor(clYellow);
  const Picture picture(3, 2);
  rig.canvas.DrawGraphic(1, 2, &picture);
  EXPECT_EQ(rig.canvas.TextBackColor(), clYellow);
  ASSERT_EQ(rig.Lines().size(), 1u);
  EXPECT_EQ(canvas_test::CommandOf(rig.Lines()[0]), "DrawPicture");
}

// [SECTION] 3D faces

TEST(CanvasFaces, QuadrilateralsTakeTheirCornersInOrder) {
  CanvasRig rig;
  rig.Begin();
  rig.canvas.RibbonBetweenDepths({0, 0}, {10, 5}, 0, 4);
  rig.canvas.QuadBetweenDepths({{{0, 0}, {10, 0}, {10, 10}, {0, 10}}}, 1, 3);
  rig.canvas.RectangleAtDepth({0, 0, 10, 20}, 2);
  rig.canvas.FloorRectangle(0, 20, 10, 0, 5);
  rig.canvas.SideRectangle(10, 0, 20, 0, 5);
  rig.canvas.TriangleAtDepth({0, 0}, {4, 0}, {0, 4}, 1);
  const auto polygons = LinesOf(rig, "Polygon");
  ASSERT_EQ(polygons.size(), 6u);
  EXPECT_EQ(PointsOf(polygons[0]), (std::vector<TPoint>{{0, 0}, {10, 5}, {14, 1}, {4, -4}}));
  EXPECT_EQ(PointsOf(polygons[1]), (std::vector<TPoint>{{1, -1}, {11, -1}, {13, 7}, {3, 7}}));
  EXPECT_EQ(PointsOf(polygons[2]), (std::vector<TPoint>{{2, -2}, {12, -2}, {12, 18}, {2, 18}}));
  EXPECT_EQ(PointsOf(polygons[3]), (std::vector<TPoint>{{0, 20}, {10, 20}, {15, 15}, {5, 15}}));
  EXPECT_EQ(PointsOf(polygons[4]), (std::vector<TPoint>{{10, 0}, {15, -5}, {15, 15}, {10, 20}}));
  EXPECT_EQ(PointsOf(polygons[5]), (std::vector<TPoint>{{1, -1}, {5, -1}, {1, 3}}));
}

TEST(CanvasFaces, TriangleWithColoursTakesTheFirstUnlessTheBrushIsClear) {
  CanvasRig rig;
  rig.Begin();
  rig.canvas.DrawTriangle3D({0, 0, 0}, {4, 0, 1}, {0, 4, 2}, clRed, clLime, clBlue);
  rig.canvas.SetBrushStyle(bsClear);
  rig.canvas.DrawTriangle3D({0, 0, 0}, {4, 0, 1}, {0, 4, 2}, clLime, clLime, clBlue);
  const auto polygons = LinesOf(rig, "Polygon");
  ASSERT_EQ(polygons.size(), 2u);
  EXPECT_EQ(PointsOf(polygons[0]), (std::vector<TPoint>{{0, 0}, {5, -1}, {2, 2}}));
  EXPECT_EQ(FieldOf(polygons[0], "brush"), "#FF0000/solid");
  EXPECT_EQ(FieldOf(polygons[1], "brush"), "#FF0000/clear");
}

}  // namespace
}  // namespace tarvela
