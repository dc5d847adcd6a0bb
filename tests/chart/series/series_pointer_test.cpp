// The pointer's shapes through a recording surface, with exact coordinates.
//
// Every shape is drawn around (100, 100) with half sizes 4 across and 3 down, so
// L 96, R 104, T 97, B 103. In 3D the series is the back one of two (slab 5..10,
// middle 7) and the canvas projects P(x, y, z) = (x + z, y - z).

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "axis_test_rig.h"
#include "tarvela/chart/series/line_series.h"

namespace tarvela::test {
namespace {

struct PointerRig {
  AxisRig rig;
  TLineSeries* series = rig.Line();
  TLineSeries* front = rig.Line();
  TSeriesPointer& pointer = series->Pointer();

  explicit PointerRig(bool view3D) {
    rig.chart.SetView3D(view3D);
    pointer.SetVisible(true);
    if (view3D) {
      rig.chart.AssignDepthSlots();
      rig.Project3D(10);
      rig.chart.SetSeriesDepths();
    }
    rig.chart.Canvas().SetBrushColor(clRed);
    rig.surface.Clear();
  }

  std::vector<std::string> Draw(bool is3D, TSeriesPointerStyle style) {
    rig.surface.Clear();
    pointer.DrawShape(is3D, 100, 100, 4, 3, clLime, style);
    return rig.surface.Lines();
  }
};

using Points = std::vector<TPoint>;

Points PointsOf(const std::string& line) { return canvas_test::PointsOf(line); }

}  // namespace

TEST(SeriesPointer, FlatShapesOf2DChartFollowTheirOutlines) {
  PointerRig p(false);
  auto lines = p.Draw(false, psRectangle);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(canvas_test::RectOf(lines[0]), (TRect{96, 97, 105, 104}));

  lines = p.Draw(false, psCircle);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(canvas_test::CommandOf(lines[0]), "Ellipse");
  EXPECT_EQ(canvas_test::RectOf(lines[0]), (TRect{96, 97, 104, 103}));

  lines = p.Draw(false, psTriangle);
  EXPECT_EQ(PointsOf(lines.at(0)), (Points{{96, 103}, {104, 103}, {100, 97}}));
  lines = p.Draw(false, psDownTriangle);
  EXPECT_EQ(PointsOf(lines.at(0)), (Points{{96, 97}, {104, 97}, {100, 103}}));
  lines = p.Draw(false, psDiamond);
  EXPECT_EQ(PointsOf(lines.at(0)), (Points{{96, 100}, {100, 97}, {104, 100}, {100, 103}}));

  lines = p.Draw(false, psSmallDot);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "SetPixel 100,100 #00FF00");
}

TEST(SeriesPointer, CrossShapesAreDrawnInThePointColourWithEndsIncluded) {
  PointerRig p(false);
  auto lines = p.Draw(false, psCross);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(PointsOf(lines[0]), (Points{{100, 97}, {100, 104}}));
  EXPECT_EQ(PointsOf(lines[1]), (Points{{96, 100}, {105, 100}}));
  EXPECT_EQ(canvas_test::FieldOf(lines[0], "pen"), "#00FF00/1/solid/copy");

  lines = p.Draw(false, psDiagCross);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(PointsOf(lines[0]), (Points{{96, 97}, {105, 104}}));
  EXPECT_EQ(PointsOf(lines[1]), (Points{{104, 97}, {95, 104}}));

  lines = p.Draw(false, psStar);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(PointsOf(lines[0]), (Points{{100, 97}, {100, 104}}));
  EXPECT_EQ(PointsOf(lines[3]), (Points{{104, 97}, {95, 104}}));
}

TEST(SeriesPointer, FlatShapesIn3DLieAtTheSeriesFrontDepth) {
  PointerRig p(true);
  ASSERT_EQ(p.series->DepthFront(), 5);
  p.pointer.SetDraw3D(false);
  auto lines = p.Draw(true, psRectangle);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(PointsOf(lines[0]), (Points{{101, 92}, {110, 92}, {110, 99}, {101, 99}}));

  lines = p.Draw(true, psTriangle);
  EXPECT_EQ(PointsOf(lines.at(0)), (Points{{101, 98}, {109, 98}, {105, 92}}));

  lines = p.Draw(true, psCross);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(PointsOf(lines[0]), (Points{{105, 92}, {105, 99}}));
  EXPECT_EQ(PointsOf(lines[1]), (Points{{101, 95}, {110, 95}}));

  // The small dot sits in the middle of the slab.
  lines = p.Draw(true, psSmallDot);
  EXPECT_EQ(lines.at(0), "SetPixel 107,93 #00FF00");
}

TEST(SeriesPointer, Draw3DMakesABoxWithDarkenedSidesThroughTheSlab) {
  PointerRig p(true);
  auto lines = p.Draw(true, psRectangle);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(PointsOf(lines[0]), (Points{{101, 92}, {109, 92}, {109, 98}, {101, 98}}));
  EXPECT_EQ(canvas_test::FieldOf(lines[0], "brush"), "#FF0000/solid");
  EXPECT_EQ(PointsOf(lines[1]), (Points{{109, 92}, {114, 87}, {114, 93}, {109, 98}}));
  EXPECT_EQ(canvas_test::FieldOf(lines[1], "brush"), "#7F0000/solid");
  EXPECT_EQ(PointsOf(lines[2]), (Points{{101, 92}, {109, 92}, {114, 87}, {106, 87}}));
  EXPECT_EQ(canvas_test::FieldOf(lines[2], "brush"), "#BF0000/solid");

  // The pyramid's apex is at the top, in the middle of the slab.
  lines = p.Draw(true, psTriangle);
  ASSERT_FALSE(lines.empty());
  const Points face = PointsOf(lines[0]);
  EXPECT_NE(std::find(face.begin(), face.end(), TPoint{107, 90}), face.end());

  // A canvas that does not turn freely draws no sphere: the circle stays flat.
  lines = p.Draw(true, psCircle);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(canvas_test::CommandOf(lines[0]), "Ellipse");
}

TEST(SeriesPointer, PenAndBrushTakeThePointColourOnlyWhereTheyHaveNone) {
  PointerRig p(false);
  TZavCanvas3D& canvas = p.rig.chart.Canvas();
  p.pointer.Pen().SetColor(clDefault);
  p.pointer.ApplyPenAndBrush(clLime);
  EXPECT_EQ(canvas.Pen().color, clLime);
  EXPECT_EQ(canvas.Brush().color, clLime);

  p.pointer.Pen().SetColor(clNavy);
  p.pointer.Brush().SetColor(clBlue);
  p.pointer.Brush().SetStyle(bsCross);
  p.pointer.ApplyPenAndBrush(clLime);
  EXPECT_EQ(canvas.Pen().color, clNavy);
  EXPECT_EQ(canvas.Brush().color, clBlue);
  EXPECT_EQ(canvas.Brush().style, bsCross);

  p.pointer.Pen().SetVisible(false);
  p.pointer.ApplyPenAndBrush(clLime);
  EXPECT_EQ(canvas.Pen().style, psClear);
}

TEST(SeriesPointer, DrawAtUsesTheChartsViewAndItsOwnSizes) {
  PointerRig p(false);
  p.pointer.SetHorizSize(2);
  p.rig.surface.Clear();
  p.pointer.DrawAt(100, 100, clLime, psRectangle);
  EXPECT_EQ(canvas_test::RectOf(p.rig.surface.Lines().at(0)), (TRect{98, 96, 103, 105}));
}

TEST(SeriesPointer, MarginsAreRaisedToTheHalfSizePlusOneNeverLowered) {
  PointerRig p(false);
  p.pointer.SetHorizSize(4);
  p.pointer.SetVertSize(2);
  int left = 0, right = 9, top = 1, bottom = 3;
  p.pointer.HorizMargins(left, right);
  p.pointer.VertMargins(top, bottom);
  EXPECT_EQ((std::vector<int>{left, right, top, bottom}), (std::vector<int>{5, 9, 3, 3}));

  p.pointer.SetVisible(false);
  left = right = 0;
  p.pointer.HorizMargins(left, right);
  EXPECT_EQ(left + right, 0);
}

TEST(SeriesPointer, OnGetPointerStyleChoosesTheShapeOfEachPoint) {
  PointerRig p(false);
  AxisRig::Lay(p.rig.chart.BottomAxis(), 0, 10);
  AxisRig::Lay(p.rig.chart.LeftAxis(), 0, 100);
  p.series->AddPointXY(0, 0);
  p.series->AddPointXY(10, 100);
  p.series->OnGetPointerStyle = [](TChartSeries*, int index) { return index == 0 ? psDiamond : psCircle; };
  p.rig.surface.Clear();
  p.series->FindVisibleRange();
  p.series->DoBeforeDrawValues();
  p.series->DrawAllPoints();
  EXPECT_EQ(p.rig.Of("Polygon").size(), 1u);
  EXPECT_EQ(p.rig.Of("Ellipse").size(), 1u);
  EXPECT_TRUE(p.rig.Of("Rectangle").empty());
}

}  // namespace tarvela::test
