// Where an axis draws its texts, line, ticks, grid lines and minor marks, through the
// recording surface with exact coordinates. With Project3D the canvas maps
// P(x, y, z) = (x + z, y - z); the recording's 8-point text is 6 pixels a character
// and 13 pixels a line.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "axis_test_rig.h"
#include "tarvela/chart/axes/axis.h"
#include "tarvela/chart/axes/axis_draw.h"

namespace tarvela {
namespace {

using test::AxisRig;
using test::DrawnText;
using test::SegmentsOf;
using test::TextsOf;
using Segment = std::pair<TPoint, TPoint>;
using Segments = std::vector<Segment>;

const std::string kAxisPen = "#000000/2/solid/copy";
const std::string kTickPen = "#808080/1/solid/copy";
const std::string kGridPen = "#808080/1/dot/copy";

Segment Seg(int x1, int y1, int x2, int y2) { return {{x1, y1}, {x2, y2}}; }

// The LineTo segments drawn with pen, in order.
Segments DrawnWith(const AxisRig& rig, const std::string& pen) {
  std::vector<std::string> lines;
  for (const std::string& line : rig.Of("LineTo"))
    if (canvas_test::FieldOf(line, "pen") == pen) lines.push_back(line);
  return SegmentsOf(lines);
}

std::vector<TPoint> Positions(const std::vector<DrawnText>& texts) {
  std::vector<TPoint> at;
  for (const DrawnText& text : texts) at.push_back(text.at);
  return at;
}

// [SECTION] Text placement

TEST(AxisText, OneLineAtAngleZeroHangsOrStandsByTheAxisSide) {
  AxisRig rig;
  ASSERT_EQ(rig.Project3D(10), 5);
  rig.chart.ApplyChartFont(rig.chart.LeftAxis().LabelsFont());
  rig.chart.LeftAxis().PlaceAxisText(100, 50, "12", 0);
  rig.chart.RightAxis().PlaceAxisText(100, 50, "12", 0);
  rig.chart.BottomAxis().PlaceAxisText(100, 50, "12", 0);
  rig.chart.TopAxis().PlaceAxisText(100, 50, "12", 0);
  const std::vector<DrawnText> texts = TextsOf(rig.surface);
  ASSERT_EQ(texts.size(), 4u);
  // Beside a vertical axis the line is centred on y: its top at y - 13 div 2.
  EXPECT_EQ(texts[0].at, (TPoint{100, 44}));
  EXPECT_EQ(texts[0].align, "right|top");
  // The far axes draw on the back plane, 5 pixels deep.
  EXPECT_EQ(texts[1].at, (TPoint{105, 39}));
  EXPECT_EQ(texts[1].align, "left|top");
  EXPECT_EQ(texts[2].at, (TPoint{100, 50}));
  EXPECT_EQ(texts[2].align, "center|top");
  EXPECT_EQ(texts[3].at, (TPoint{105, 45}));
  EXPECT_EQ(texts[3].align, "center|bottom");
  EXPECT_EQ(rig.chart.Canvas().TextAlignFlags(), kTextAlignLeft | kTextAlignTop);
}

TEST(AxisText, LinesStackSoTheBlockKeepsItsAnchor) {
  AxisRig rig;
  rig.chart.ApplyChartFont(rig.chart.LeftAxis().LabelsFont());
  rig.chart.LeftAxis().PlaceAxisText(100, 50, "ab\rcd", 0);
  rig.chart.BottomAxis().PlaceAxisText(100, 50, "ab\rcd", 0);
  rig.chart.TopAxis().PlaceAxisText(100, 50, "ab\rcd\r", 0);  // a final break opens no line
  const std::vector<DrawnText> texts = TextsOf(rig.surface);
  ASSERT_EQ(texts.size(), 6u);
  EXPECT_EQ(texts[0].text, "ab");
  EXPECT_EQ(texts[1].text, "cd");
  // Centred on 50 across the left axis: 50 - 6 - Round(19.5) + 13, then 13 lower.
  EXPECT_EQ(texts[0].at, (TPoint{100, 37}));
  EXPECT_EQ(texts[1].at, (TPoint{100, 50}));
  // Hanging from 50 below the bottom axis; standing on 50 above the top one.
  EXPECT_EQ(texts[2].at, (TPoint{100, 50}));
  EXPECT_EQ(texts[3].at, (TPoint{100, 63}));
  EXPECT_EQ(texts[4].at, (TPoint{100, 37}));
  EXPECT_EQ(texts[5].at, (TPoint{100, 50}));
}

TEST(AxisText, TurnedTextIsShiftedAcrossAndAdvancesPerLine) {
  AxisRig rig;
  TChartAxis& bottom = rig.chart.BottomAxis();
  TChartAxis& left = rig.chart.LeftAxis();
  rig.chart.ApplyChartFont(left.LabelsFont());
  bottom.PlaceAxisText(100, 50, "ab", 90);        // right-aligned, half a line to the left
  bottom.PlaceAxisText(100, 50, "ab\rcd", 90);    // 100 - 6 - 20, then 13 per line
  bottom.PlaceAxisText(100, 50, "ab", 270);       // the other way round
  left.PlaceAxisText(100, 50, "Title", 90);       // a left axis title: stands on the right
  left.PlaceAxisText(100, 50, "ab", 180);         // upside down, centred on 50
  left.PlaceAxisText(100, 50, "ab\rcd", 45);      // other angles: every line at one point
  const std::vector<DrawnText> texts = TextsOf(rig.surface);
  ASSERT_EQ(texts.size(), 8u);
  const std::vector<TPoint> expected = {{94, 50},  {87, 50},  {100, 50}, {106, 50},
                                        {100, 50}, {100, 56}, {100, 50}, {100, 50}};
  EXPECT_EQ(Positions(texts), expected);
  EXPECT_EQ(texts[0].align, "right|top");
  EXPECT_EQ(texts[0].font, "\"Arial\"/-11/regular/#000000/900");
  EXPECT_EQ(texts[3].align, "left|top");
  EXPECT_EQ(texts[3].font, "\"Arial\"/-11/regular/#000000/2700");
  EXPECT_EQ(texts[4].align, "center|bottom");
  EXPECT_EQ(texts[5].align, "left|top");
  EXPECT_EQ(texts[6].align, "left|top");
}

// [SECTION] Line, ticks and grid

// A line series over 0..10 both ways, as the main form plots its layers.
TLineSeries* Diagonal(AxisRig& rig) {
  TLineSeries* series = rig.Line();
  series->AddPointXY(0, 0);
  series->AddPointXY(10, 10);
  return series;
}

// What the paint does for one axis: room from the plot, then the span and the drawing.
void LayOutAndDraw(AxisRig& rig, TCustomChartAxis& axis) {
  AxisRig::Refresh(axis);  // the span of the "previous paint" for the widest label
  TRect plot = rig.chart.PlotRect();
  axis.ReserveAxisRoom(plot, true);
  rig.SetPlot(plot);
  axis.LayoutPixels();
  rig.surface.Clear();
  axis.DrawAxis(true);
}

TEST(AxisDrawing, LeftAxisOfTheFormIn3DWithGridBehindTheSeries) {
  AxisRig rig;
  Diagonal(rig);
  ASSERT_EQ(rig.Project3D(10), 5);
  TChartAxis& left = rig.chart.LeftAxis();
  left.SetIncrement(2);
  LayOutAndDraw(rig, left);
  // Labels "10" (12 pixels) and a blank, then 2 + 4 pixels of axis pen and tick.
  EXPECT_EQ(rig.chart.PlotRect().left, 10 + 18 + 6);
  EXPECT_EQ(left.LabelsPos(), 28);
  EXPECT_EQ(left.AxisLinePos(), 34);
  const std::vector<int> pixels = {20, 70, 120, 170, 220, 270};
  EXPECT_EQ(left.TickPositions(), pixels);

  const std::vector<DrawnText> texts = TextsOf(rig.surface);
  ASSERT_EQ(texts.size(), 6u);
  EXPECT_EQ(texts[0].text, "10");
  EXPECT_EQ(texts[0].at, (TPoint{28, 14}));
  EXPECT_EQ(texts[0].align, "right|top");
  EXPECT_EQ(texts[5].at, (TPoint{28, 264}));

  EXPECT_EQ(DrawnWith(rig, kAxisPen), (Segments{Seg(34, 20, 34, 270)}));
  const Segments ticks = DrawnWith(rig, kTickPen);
  ASSERT_EQ(ticks.size(), 6u + 6u + 5u * 3u);  // outer, inner, minor
  EXPECT_EQ(ticks[0], Seg(33, 20, 29, 20));
  EXPECT_EQ(ticks[5], Seg(33, 270, 29, 270));
  EXPECT_EQ(ticks[6], Seg(35, 20, 35, 20));  // inner ticks of length 0
  // Three minor ticks between 20 and 70, from the lower label up: 70 - Round(12.5 j).
  EXPECT_EQ(ticks[12], Seg(33, 58, 31, 58));
  EXPECT_EQ(ticks[13], Seg(33, 45, 31, 45));
  EXPECT_EQ(ticks[14], Seg(33, 32, 31, 32));

  // Along the floor to the back, then across the back wall.
  const Segments grid = DrawnWith(rig, kGridPen);
  ASSERT_EQ(grid.size(), 12u);
  EXPECT_EQ(grid[0], Seg(34, 20, 39, 15));
  EXPECT_EQ(grid[1], Seg(39, 15, 515, 15));
  EXPECT_EQ(grid[11], Seg(39, 265, 515, 265));
  for (const std::string& line : rig.Of("LineTo")) {
    if (canvas_test::FieldOf(line, "pen") == kGridPen) {
      EXPECT_EQ(canvas_test::FieldOf(line, "bk"), "transparent");
    }
  }
}

TEST(AxisDrawing, BottomAxisStandsOffByTheWallsBesideIt) {
  AxisRig rig;
  Diagonal(rig);
  rig.Project3D(10);
  rig.chart.BottomWall().SetSize(3);
  rig.chart.LeftWall().SetSize(2);
  TChartAxis& bottom = rig.chart.BottomAxis();
  bottom.SetIncrement(5);
  LayOutAndDraw(rig, bottom);
  // A line of labels, 6 pixels of line and tick, the 3-pixel wall.
  EXPECT_EQ(rig.chart.PlotRect().bottom, 270 - 13 - 9);
  EXPECT_EQ(bottom.LabelsPos(), 257);
  EXPECT_EQ(bottom.AxisLinePos(), 248);

  const std::vector<DrawnText> texts = TextsOf(rig.surface);
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(Positions(texts), (std::vector<TPoint>{{510, 257}, {260, 257}, {10, 257}}));
  EXPECT_EQ(texts[1].align, "center|top");

  // The line reaches left past the left wall.
  EXPECT_EQ(DrawnWith(rig, kAxisPen), (Segments{Seg(8, 251, 510, 251)}));
  const Segments ticks = DrawnWith(rig, kTickPen);
  ASSERT_GE(ticks.size(), 3u);
  EXPECT_EQ(ticks[0], Seg(510, 252, 510, 256));
  EXPECT_EQ(ticks[2], Seg(10, 252, 10, 256));
  const Segments grid = DrawnWith(rig, kGridPen);
  ASSERT_EQ(grid.size(), 6u);
  EXPECT_EQ(grid[2], Seg(260, 248, 265, 243));
  EXPECT_EQ(grid[3], Seg(265, 15, 265, 243));
}

TEST(AxisDrawing, FarAxesDrawOnTheBackPlane) {
  AxisRig rig;
  rig.Project3D(10);
  TChartAxis& top = rig.chart.TopAxis();
  TChartAxis& right = rig.chart.RightAxis();
  for (TChartAxis* axis : {&top, &right}) {
    axis->SetLabelStyle(talValue);
    axis->SetIncrement(10);
    axis->SetMinorTicks(TChartHiddenPen());
    AxisRig::Lay(*axis, 0, 10);
  }
  top.SetLabelsPos(5);
  top.DrawAxis(true);
  EXPECT_EQ(top.AxisLinePos(), 20);
  EXPECT_EQ(DrawnWith(rig, kAxisPen), (Segments{Seg(15, 15, 515, 15)}));
  EXPECT_EQ(DrawnWith(rig, kTickPen), (Segments{Seg(515, 14, 515, 10), Seg(15, 14, 15, 10),  // outer
                                                Seg(515, 16, 515, 16), Seg(15, 16, 15, 16)}));
  EXPECT_EQ(DrawnWith(rig, kGridPen), (Segments{Seg(515, 15, 515, 265), Seg(15, 15, 15, 265)}));
  EXPECT_EQ(TextsOf(rig.surface).at(0).at, (TPoint{515, 0}));

  rig.surface.Clear();
  right.SetLabelsPos(520);
  right.DrawAxis(true);
  EXPECT_EQ(right.AxisLinePos(), 510);
  EXPECT_EQ(DrawnWith(rig, kAxisPen), (Segments{Seg(515, 15, 515, 265)}));
  EXPECT_EQ(DrawnWith(rig, kTickPen).at(0), Seg(516, 15, 520, 15));
  EXPECT_EQ(DrawnWith(rig, kGridPen), (Segments{Seg(15, 15, 515, 15), Seg(15, 265, 515, 265)}));
  EXPECT_EQ(TextsOf(rig.surface).at(0).at, (TPoint{525, 9}));
}

TEST(AxisDrawing, GridLinesIn2DOrInFrontOrCentredBetweenLabels) {
  AxisRig rig;
  Diagonal(rig);
  TChartAxis& left = rig.chart.LeftAxis();
  TChartAxis& bottom = rig.chart.BottomAxis();
  left.SetIncrement(5);
  bottom.SetIncrement(5);
  AxisRig::Refresh(left);
  AxisRig::Refresh(bottom);
  rig.chart.SetView3D(false);
  left.DrawAxis(true);
  EXPECT_EQ(DrawnWith(rig, kGridPen), (Segments{Seg(10, 20, 510, 20), Seg(10, 145, 510, 145), Seg(10, 270, 510, 270)}));

  rig.chart.SetView3D(true);
  rig.Project3D(10);
  AxesBehindSeries = false;
  rig.surface.Clear();
  bottom.DrawAxis(true);
  AxesBehindSeries = true;
  EXPECT_EQ(DrawnWith(rig, kGridPen), (Segments{Seg(510, 20, 510, 270), Seg(260, 20, 260, 270), Seg(10, 20, 10, 270)}));

  // Centred: one line between each two labels, none for a single label.
  rig.chart.SetView3D(false);
  left.SetGridCentered(true);
  rig.surface.Clear();
  left.DrawAxis(true);
  EXPECT_EQ(DrawnWith(rig, kGridPen), (Segments{Seg(10, 82, 510, 82), Seg(10, 208, 510, 208)}));
  left.SetIncrement(20);
  rig.surface.Clear();
  left.DrawAxis(true);
  ASSERT_EQ(left.TickPositions().size(), 1u);
  EXPECT_TRUE(DrawnWith(rig, kGridPen).empty());

  // A grid pen of the owner's colour draws grey; a hidden one draws nothing.
  left.SetGridCentered(false);
  left.Grid().SetColor(clDefault);
  rig.surface.Clear();
  left.DrawAxis(true);
  EXPECT_EQ(DrawnWith(rig, kGridPen).size(), 1u);
  left.Grid().SetVisible(false);
  rig.surface.Clear();
  left.DrawAxis(true);
  EXPECT_TRUE(DrawnWith(rig, kGridPen).empty());
}

TEST(AxisDrawing, TickPositionsStopAtTwoThousand) {
  AxisRig rig;
  TChartAxis& left = rig.chart.LeftAxis();
  left.SetLabelStyle(talValue);
  left.SetLabelsSeparation(0);
  left.SetIncrement(0.004);  // about 2500 labels
  left.MinorTicks().SetVisible(false);
  left.Grid().SetVisible(false);
  left.TicksInner().SetVisible(false);
  AxisRig::Lay(left, 0, 10);
  left.DrawAxis(true);
  EXPECT_GT(TextsOf(rig.surface).size(), 2400u);
  EXPECT_EQ(left.TickPositions().size(), static_cast<std::size_t>(kMaxTickPositions));
  EXPECT_EQ(DrawnWith(rig, kTickPen).size(), static_cast<std::size_t>(kMaxTickPositions));
}

TEST(AxisDrawing, MinorMarksBeyondTheOuterLabelsAndOnLogarithmicAxes) {
  AxisRig rig;
  TChartAxis& left = rig.chart.LeftAxis();
  left.SetLabelStyle(talValue);
  left.SetIncrement(4);
  left.Grid().SetVisible(false);
  left.TicksInner().SetVisible(false);
  left.SetMinorTickCount(1);
  left.MinorGrid().SetVisible(true);
  left.MinorGrid().SetStyle(psDash);
  rig.chart.SetView3D(false);
  AxisRig::Lay(left, 0, 10);  // labels 8, 4, 0 at 70, 170, 270
  left.DrawAxis(true);
  // One mark halfway: beyond 70 (20, not strictly inside the span) and 270 (outside),
  // then between the labels.
  const Segments ticks = DrawnWith(rig, kTickPen);
  ASSERT_EQ(ticks.size(), 3u + 2u);
  EXPECT_EQ(ticks[3], Seg(9, 120, 7, 120));
  EXPECT_EQ(ticks[4], Seg(9, 220, 7, 220));
  EXPECT_EQ(DrawnWith(rig, "#000000/1/dash/copy"), (Segments{Seg(10, 120, 510, 120), Seg(10, 220, 510, 220)}));

  // Logarithmic: evenly spaced values, not pixels, between 1 and 10.
  rig.surface.Clear();
  left.SetIncrement(0);
  left.SetMinorTickCount(3);
  left.MinorGrid().SetVisible(false);
  AxisRig::Lay(left, 1, 100);
  left.SetLogarithmic(true);
  left.DrawAxis(true);
  ASSERT_EQ(left.TickPositions(), (std::vector<int>{270, 145, 20}));
  const Segments logTicks = DrawnWith(rig, kTickPen);
  ASSERT_EQ(logTicks.size(), 3u + 6u);
  for (int j = 0; j < 3; ++j) {
    const int q = left.ValueToPixel(1 + 2.25 * (j + 1));
    EXPECT_EQ(logTicks[3 + static_cast<std::size_t>(j)], Seg(9, q, 7, q)) << j;
  }
}

// A thousand marks between labels 100 pixels apart fall ten to a pixel: each pixel
// strictly inside the span gets its mark, a repeat on the pixel just marked is skipped.
TEST(AxisDrawing, MinorMarksCloserThanAPixelMarkEachPixelOnce) {
  AxisRig rig;
  TChartAxis& left = rig.chart.LeftAxis();
  left.SetLabelStyle(talValue);
  left.SetIncrement(4);
  left.Grid().SetVisible(false);
  left.TicksInner().SetVisible(false);
  left.SetMinorTickCount(kMaxMinorTickCount);
  rig.chart.SetView3D(false);
  AxisRig::Lay(left, 0, 10);  // labels 8, 4, 0 at 70, 170, 270; the span is 20..270
  left.DrawAxis(true);
  const Segments ticks = DrawnWith(rig, kTickPen);
  ASSERT_GT(ticks.size(), 3u);
  std::map<int, int> marks;
  for (std::size_t i = 3; i < ticks.size(); ++i) ++marks[ticks[i].first.y];
  EXPECT_EQ(marks.size(), 249u);  // 21..269
  EXPECT_EQ(marks.begin()->first, 21);
  EXPECT_EQ(marks.rbegin()->first, 269);
  // 70 and 170 end one run of marks and begin the next.
  EXPECT_EQ(ticks.size(), 3u + 249u + 2u);
}

TEST(AxisDrawing, PositionPercentMovesTheLineIntoThePlot) {
  AxisRig rig;
  TChartAxis& bottom = rig.chart.BottomAxis();
  bottom.SetPositionPercent(10);
  bottom.DrawAxis(true);
  EXPECT_EQ(bottom.AxisLinePos(), 270 - 25);
  bottom.SetAxisLinePos(99);
  bottom.DrawAxis(false);  // the line stays where it was put
  EXPECT_EQ(bottom.AxisLinePos(), 99);
  TChartAxis& right = rig.chart.RightAxis();
  right.SetPositionPercent(-2.5);  // outward
  right.DrawAxis(true);
  EXPECT_EQ(right.AxisLinePos(), 510 + 12);
}

TEST(AxisDrawing, TitlesBesideTheLabelsAndNoneWithoutACaption) {
  AxisRig rig;
  Diagonal(rig);
  TChartAxis& left = rig.chart.LeftAxis();
  TChartAxis& bottom = rig.chart.BottomAxis();
  left.Title().SetCaption("Height");
  left.Title().Font().SetStyle(FontStyleBit(fsBold));
  bottom.Title().SetCaption("Width");
  LayOutAndDraw(rig, left);
  EXPECT_EQ(left.TitlePos(), 10 + 13);
  std::vector<DrawnText> texts = TextsOf(rig.surface);
  ASSERT_FALSE(texts.empty());
  // Turned upright, standing on TitlePos, centred on the axis.
  EXPECT_EQ(texts[0].text, "Height");
  EXPECT_EQ(texts[0].at, (TPoint{23, 145}));
  EXPECT_EQ(texts[0].align, "center|bottom");
  EXPECT_EQ(texts[0].font, "\"Arial\"/-11/bold/#000000/900");
  EXPECT_EQ(texts[1].font, "\"Arial\"/-11/regular/#000000/0");  // the labels in their own font

  LayOutAndDraw(rig, bottom);
  texts = TextsOf(rig.surface);
  EXPECT_EQ(bottom.TitlePos(), 270 - 13);
  EXPECT_EQ(texts[0].text, "Width");
  EXPECT_EQ(texts[0].at, (TPoint{bottom.CenterPixel(), 257}));
  EXPECT_EQ(texts[0].align, "center|top");

  bottom.Title().SetCaption("");
  rig.surface.Clear();
  bottom.DrawAxis(true);
  for (const DrawnText& text : TextsOf(rig.surface)) EXPECT_NE(text.text, "Width");
}

TEST(AxisDrawing, DepthAxisRunsAlongTheFloorsRightEdge) {
  AxisRig rig;
  for (int i = 0; i < 2; ++i) rig.Line();
  rig.chart.AssignDepthSlots();
  ASSERT_EQ(rig.Project3D(10), 10);  // two slots of 5
  TChartDepthAxis& depth = rig.chart.DepthAxis();
  depth.MinorTicks().SetVisible(false);
  depth.TicksInner().SetVisible(false);
  AxisRig::Refresh(depth);  // -0.5 .. 1.5: labels at depths Round(10 × 1.5 / 2) = 8 and 2
  depth.DrawAxis(true);
  EXPECT_EQ(depth.AxisLinePos(), 510);
  ASSERT_EQ(depth.TickPositions(), (std::vector<int>{8, 2}));
  EXPECT_EQ(DrawnWith(rig, kAxisPen), (Segments{Seg(510, 270, 520, 260)}));
  EXPECT_EQ(DrawnWith(rig, kTickPen), (Segments{Seg(519, 262, 523, 262), Seg(513, 268, 517, 268)}));
  // Up the left wall and across the floor at each depth.
  EXPECT_EQ(DrawnWith(rig, kGridPen), (Segments{Seg(18, 12, 18, 262), Seg(18, 262, 518, 262),
                                                Seg(12, 18, 12, 268), Seg(12, 268, 512, 268)}));
}

}  // namespace
}  // namespace tarvela
