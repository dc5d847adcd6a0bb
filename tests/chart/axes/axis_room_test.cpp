// The room an axis takes from the plot, the positions across it, which axes a chart
// shows, and the hit test. Text metrics of the recording: 6 pixels a character, 13 a
// line for the 8-point labels.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "axis_test_rig.h"
#include "tarvela/chart/axes/axis.h"

namespace tarvela {
namespace {

using test::AxisRig;

// A series drawn without axes (a circled series).
class NoAxesSeries : public TLineSeries {
 public:
  using TLineSeries::TLineSeries;
  bool UsesAxes() const override { return false; }
};

TLineSeries* Diagonal(AxisRig& rig, double high = 10) {
  TLineSeries* series = rig.Line();
  series->AddPointXY(0, 0);
  series->AddPointXY(high, high);
  return series;
}

// [SECTION] Room of the standard axes

TEST(AxisRoom, FormsLeftAndBottomAxesTakeLabelsAndTicks) {
  AxisRig rig;
  Diagonal(rig);
  TChartAxis& left = rig.chart.LeftAxis();
  TChartAxis& bottom = rig.chart.BottomAxis();
  AxisRig::Refresh(left);
  AxisRig::Refresh(bottom);
  TRect plot = rig.chart.PlotRect();
  left.ReserveAxisRoom(plot, true);
  // Across the left axis: the wider of "10" and "0" plus a blank, then the axis pen
  // (2) and the tick (4).
  EXPECT_EQ(left.LabelsPos(), 10 + 18);
  EXPECT_EQ(plot, (TRect{10 + 18 + 6, 20, 510, 270}));
  bottom.ReserveAxisRoom(plot, true);
  // Along the bottom axis a label takes one line.
  EXPECT_EQ(bottom.LabelsPos(), 270 - 13);
  EXPECT_EQ(plot, (TRect{34, 20, 510, 270 - 13 - 6}));
  EXPECT_FALSE(bottom.DateTimeScale());
}

TEST(AxisRoom, ValueLabelsAreMeasuredAtTheRoundedEnds) {
  AxisRig rig;
  TLineSeries* series = rig.Line();
  series->AddPointXY(0, 0);
  series->AddPointXY(1, 0.99);
  TChartAxis& left = rig.chart.LeftAxis();
  AxisRig::Refresh(left);  // 250 pixels: the step is 0.1
  TRect plot = rig.chart.PlotRect();
  left.ReserveAxisRoom(plot, true);
  // "0.9", not "0.99": the highest label lies on the step.
  EXPECT_EQ(left.WidestLabel(), 18 + 6);
  left.SetRoundFirstLabel(false);
  EXPECT_EQ(left.WidestLabel(), 24 + 6);
  // The label event plays no part in the room, and stays connected.
  int calls = 0;
  rig.chart.OnGetAxisLabel = [&](TCustomChartAxis*, TChartSeries*, int, std::string& text) {
    ++calls;
    text = "a much longer text";
  };
  EXPECT_EQ(left.WidestLabel(), 24 + 6);
  EXPECT_EQ(calls, 0);
  ASSERT_TRUE(rig.chart.OnGetAxisLabel);
  left.FormatLabel(1);
  EXPECT_EQ(calls, 1);
}

TEST(AxisRoom, TitlesComeFirstAndFixedSizesWin) {
  AxisRig rig;
  Diagonal(rig);
  TChartAxis& left = rig.chart.LeftAxis();
  TChartAxis& right = rig.chart.RightAxis();
  AxisRig::Refresh(left);
  left.Title().SetCaption("Height");  // at 90 degrees: one line along the axis
  TRect plot = rig.chart.PlotRect();
  left.ReserveAxisRoom(plot, true);
  EXPECT_EQ(left.TitlePos(), 10 + 13);
  EXPECT_EQ(left.LabelsPos(), 23 + 18);
  EXPECT_EQ(plot.left, 41 + 6);

  // At 0 degrees beside a vertical axis the title takes its width.
  right.Title().SetCaption("Depth");
  right.Title().SetAngle(0);
  right.SetLabels(false);
  EXPECT_EQ(right.TitleRoom(), 30);
  plot = rig.chart.PlotRect();
  right.ReserveAxisRoom(plot, true);
  EXPECT_EQ(right.TitlePos(), 510 - 30);
  EXPECT_EQ(plot.right, 480 - 6);

  left.SetTitleSize(40);
  left.SetLabelsSize(7);
  plot = rig.chart.PlotRect();
  left.ReserveAxisRoom(plot, true);
  EXPECT_EQ(left.TitlePos(), 50);
  EXPECT_EQ(left.LabelsPos(), 57);
  EXPECT_EQ(plot.left, 63);

  // An empty caption takes no room (TitlePos is not touched).
  left.Title().SetCaption("");
  left.SetTitlePos(-1);
  plot = rig.chart.PlotRect();
  left.ReserveAxisRoom(plot, true);
  EXPECT_EQ(left.TitlePos(), -1);
  EXPECT_EQ(left.LabelsPos(), 17);
}

TEST(AxisRoom, TickRoomTakesTheAxisPenTicksAndMinorTicks) {
  AxisRig rig;
  TChartAxis& left = rig.chart.LeftAxis();
  EXPECT_EQ(left.TickRoom(), 6);
  left.SetMinorTickLength(9);
  EXPECT_EQ(left.TickRoom(), 9);
  left.MinorTicks().SetVisible(false);
  EXPECT_EQ(left.TickRoom(), 6);
  left.Axis().SetVisible(false);
  EXPECT_EQ(left.TickRoom(), 4);
  left.Ticks().SetVisible(false);
  EXPECT_EQ(left.TickRoom(), 0);
  // Nothing to cut: the rectangle keeps its side.
  left.SetLabels(false);
  TRect plot = rig.chart.PlotRect();
  left.ReserveAxisRoom(plot, true);
  EXPECT_EQ(plot, rig.chart.PlotRect());
}

TEST(AxisRoom, WallsAndPositionPercentMoveThePositions) {
  AxisRig rig;
  Diagonal(rig);
  rig.chart.BottomWall().SetSize(5);
  TChartAxis& bottom = rig.chart.BottomAxis();
  AxisRig::Refresh(bottom);
  bottom.SetPositionPercent(10);
  TRect plot = rig.chart.PlotRect();
  bottom.ReserveAxisRoom(plot, true);
  EXPECT_EQ(plot.bottom, 270 - 13 - 6 - 5);
  // Labels at 257, moved up by 10 % of the 226 pixels left: Round(22.6) = 23.
  EXPECT_EQ(bottom.LabelsPos(), 257 - 23);
  rig.chart.SetView3DWalls(false);  // no walls shown: no room for them
  plot = rig.chart.PlotRect();
  bottom.ReserveAxisRoom(plot, true);
  EXPECT_EQ(plot.bottom, 270 - 13 - 6);
}

TEST(AxisRoom, AnAddedAxisTakesNoRoomAndPlacesItsTextsOutward) {
  AxisRig rig;
  TCustomChartAxis& extra = rig.chart.AddAxis(
      std::make_unique<TChartAxis>(&rig.chart, TAxisPlacement{.horizontal = false, .otherSide = false}));
  extra.SetLabelStyle(talValue);
  extra.SetPositionPercent(50);
  AxisRig::Lay(extra, 0, 10);
  TRect plot = rig.chart.PlotRect();
  extra.ReserveAxisRoom(plot, false);
  EXPECT_EQ(plot, rig.chart.PlotRect());
  EXPECT_EQ(extra.AxisLinePos(), 10 + 250);
  EXPECT_EQ(extra.LabelsPos(), 260 - 6);
  EXPECT_EQ(extra.TitlePos(), 254 - 18);
}

TEST(AxisRoom, DepthAxisTitleSitsAtTheRightEdge) {
  AxisRig rig;
  TLineSeries* series = rig.Line();
  series->SetTitle("Layer one");
  TChartDepthAxis& depth = rig.chart.DepthAxis();
  depth.Title().SetCaption("ignored for the room");
  TRect plot = rig.chart.PlotRect();
  depth.ReserveAxisRoom(plot, true);
  // Text labels are measured on the points' labels, of which there are none.
  EXPECT_EQ(depth.LabelsPos(), 510);
  series->AddPointXY(0, 0, "abcde");
  plot = rig.chart.PlotRect();
  depth.ReserveAxisRoom(plot, true);
  EXPECT_EQ(depth.TitlePos(), 510);
  EXPECT_EQ(depth.LabelsPos(), 510 - 30);
  EXPECT_EQ(plot.right, 480 - 6);
}

TEST(AxisRoom, WidestTextLabelOfAnySeriesActiveOrNot) {
  AxisRig rig;
  TLineSeries* shown = rig.Line();
  shown->AddPointXY(0, 0, "ab");
  shown->AddPointXY(1, 1, "abc\rd");
  TLineSeries* hidden = rig.Line();
  hidden->AddPointXY(0, 0, "abcd");
  hidden->SetActive(false);
  TChartAxis& bottom = rig.chart.BottomAxis();
  ASSERT_EQ(bottom.ResolveLabelStyle(), talText);
  EXPECT_EQ(bottom.WidestLabel(), 24);
  hidden->AddPointXY(1, 1, "abcdefg\rx");
  EXPECT_EQ(bottom.WidestLabel(), 42);
  // Mark texts (the labels here) of the active series only, each measured whole.
  bottom.SetLabelStyle(talMark);
  EXPECT_EQ(bottom.WidestLabel(), 30);
  bottom.SetLabelStyle(talNone);
  EXPECT_EQ(bottom.WidestLabel(), 0);
}

// [SECTION] Shown axes

TEST(AxisShown, WithoutSeriesTheStandardFrameWithSeriesTheirAxes) {
  AxisRig rig;
  TCustomAxisPanel& chart = rig.chart;
  for (TCustomChartAxis* axis : {static_cast<TCustomChartAxis*>(&chart.BottomAxis()), static_cast<TCustomChartAxis*>(&chart.TopAxis()),
                                 static_cast<TCustomChartAxis*>(&chart.LeftAxis()), static_cast<TCustomChartAxis*>(&chart.RightAxis())})
    EXPECT_TRUE(chart.AxisShown(*axis));
  EXPECT_FALSE(chart.AxisShown(chart.DepthAxis()));  // hidden unless asked for
  chart.DepthAxis().SetVisible(true);
  EXPECT_TRUE(chart.AxisShown(chart.DepthAxis()));
  chart.SetView3D(false);
  EXPECT_FALSE(chart.AxisShown(chart.DepthAxis()));
  chart.SetView3D(true);

  // A series that draws without axes leaves the frame as it is.
  auto* pie = new NoAxesSeries(&rig.form);
  pie->SetParentChart(&chart);
  EXPECT_TRUE(chart.AxisShown(chart.TopAxis()));
  TLineSeries* line = rig.Line();
  EXPECT_TRUE(chart.AxisShown(chart.BottomAxis()));
  EXPECT_TRUE(chart.AxisShown(chart.LeftAxis()));
  EXPECT_FALSE(chart.AxisShown(chart.TopAxis()));
  EXPECT_FALSE(chart.AxisShown(chart.RightAxis()));
  line->SetVertAxis(aBothVertAxis);
  EXPECT_TRUE(chart.AxisShown(chart.RightAxis()));
  line->SetActive(false);
  EXPECT_TRUE(chart.AxisShown(chart.TopAxis()));
  chart.LeftAxis().SetVisible(false);
  EXPECT_FALSE(chart.AxisShown(chart.LeftAxis()));
  chart.SetAxisVisible(false);
  EXPECT_FALSE(chart.AxisShown(chart.BottomAxis()));
  EXPECT_FALSE(chart.AxisShown(chart.DepthAxis()));
}

// [SECTION] Hit test

TEST(AxisHit, FromTheLabelsToThreePixelsBeyondTheLine) {
  AxisRig rig;
  TChartAxis& left = rig.chart.LeftAxis();
  TChartAxis& bottom = rig.chart.BottomAxis();
  left.LayoutPixels();  // y 20 .. 270
  bottom.LayoutPixels();  // x 10 .. 510
  left.SetLabelsPos(28);
  left.SetAxisLinePos(34);
  EXPECT_TRUE(left.AxisHit(34 + 2, 100));  // 2 pixels outside the line, away from the labels
  EXPECT_FALSE(left.AxisHit(34 + 3, 100));
  EXPECT_TRUE(left.AxisHit(28, 100));
  EXPECT_FALSE(left.AxisHit(27, 100));
  EXPECT_TRUE(left.AxisHit(30, 20));
  EXPECT_FALSE(left.AxisHit(30, 270));  // the far end is not included
  bottom.SetAxisLinePos(251);
  bottom.SetLabelsPos(257);
  EXPECT_TRUE(bottom.AxisHit(100, 248));
  EXPECT_FALSE(bottom.AxisHit(100, 247));
  EXPECT_TRUE(bottom.AxisHit(100, 256));
  EXPECT_FALSE(bottom.AxisHit(100, 257));
  EXPECT_FALSE(bottom.AxisHit(510, 252));
  // A hidden axis is never hit.
  bottom.SetVisible(false);
  EXPECT_FALSE(bottom.AxisHit(100, 252));
}

}  // namespace
}  // namespace tarvela
