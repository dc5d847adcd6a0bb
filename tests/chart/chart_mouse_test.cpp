#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "paint_test_support.h"
#include "series_fixtures.h"
#include "tarvela/chart/chart.h"
#include "tarvela/chart/series/line_series.h"
#include "tarvela/platform/recording_surface.h"

namespace tarvela {
namespace {

using canvas_test::FieldOf;
using canvas_test::RectOf;

// A flat 400 x 250 chart with one line from (0, 0) to (10, 100), painted once so that
// the mouse has a layout to read. The top and right axes get manual ranges of their
// own, so that an axis that takes another's values shows.
struct MouseRig {
  RecordingSurface window;  // first: the chart's buffer records into it to the end
  TComponent form{nullptr};
  TChart chart{nullptr};
  TLineSeries* series = nullptr;

  MouseRig() {
    chart.SetView3D(false);
    chart.Title().SetVisible(false);
    series = test::NewLine(form, &chart);
    series->AddPointXY(0, 0);
    series->AddPointXY(10, 100);
    chart.TopAxis().SetManualRange(100, 200);
    chart.RightAxis().SetManualRange(-50, 50);
    Paint();
  }
  // The host's paint: the whole chart, or the buffer and the band.
  paint_test::Paint Paint() {
    window.Clear();
    chart.Paint(window);
    return paint_test::Unprefixed(window);
  }
  void Drag(TMouseButton button, int x0, int y0, int x1, int y1) {
    chart.MouseDown(button, 0, x0, y0);
    chart.MouseMove(0, (x0 + x1) / 2, (y0 + y1) / 2);
    chart.MouseMove(0, x1, y1);
    chart.MouseUp(button, 0, x1, y1);
  }
};

struct AxisState {
  bool automatic, automaticMinimum, automaticMaximum;
  double minimum, maximum;
  bool operator==(const AxisState&) const = default;
};

AxisState StateOf(const TChartAxis& axis) {
  return {axis.Automatic(), axis.AutomaticMinimum(), axis.AutomaticMaximum(), axis.Minimum(), axis.Maximum()};
}

std::vector<AxisState> StatesOf(const TChart& chart) {
  return {StateOf(chart.TopAxis()), StateOf(chart.LeftAxis()), StateOf(chart.RightAxis()),
          StateOf(chart.BottomAxis())};
}

// [SECTION] Zoom and undo

TEST(ChartMouse, LeftDragZoomsTheFourAxesToTheValuesUnderTheBandOnce) {
  MouseRig rig;
  TChart& chart = rig.chart;
  int zooms = 0;
  chart.OnZoom = [&](TComponent*) { ++zooms; };
  ASSERT_EQ(chart.ClickedPart(100, 100).Kind, cpChartRect);
  ASSERT_EQ(chart.ClickedPart(200, 180).Kind, cpChartRect);
  const double bottomLow = chart.BottomAxis().PixelToValue(100), bottomHigh = chart.BottomAxis().PixelToValue(200);
  const double topLow = chart.TopAxis().PixelToValue(100), topHigh = chart.TopAxis().PixelToValue(200);
  const double leftLow = chart.LeftAxis().PixelToValue(180), leftHigh = chart.LeftAxis().PixelToValue(100);
  const double rightLow = chart.RightAxis().PixelToValue(180), rightHigh = chart.RightAxis().PixelToValue(100);
  ASSERT_LT(leftLow, leftHigh) << "the lower screen edge is the smaller value";

  rig.Drag(mbLeft, 100, 100, 200, 180);

  EXPECT_EQ(zooms, 1);
  EXPECT_TRUE(chart.ZoomApplied());
  EXPECT_FALSE(chart.ZoomDrag().Active);
  EXPECT_EQ(StateOf(chart.BottomAxis()), (AxisState{false, false, false, bottomLow, bottomHigh}));
  EXPECT_EQ(StateOf(chart.TopAxis()), (AxisState{false, false, false, topLow, topHigh}));
  EXPECT_EQ(StateOf(chart.LeftAxis()), (AxisState{false, false, false, leftLow, leftHigh}));
  EXPECT_EQ(StateOf(chart.RightAxis()), (AxisState{false, false, false, rightLow, rightHigh}));
}

TEST(ChartMouse, UpLeftDragUndoesEveryZoomAtOnceAndFiresOnUndoZoomEvenWithNothingToUndo) {
  MouseRig rig;
  TChart& chart = rig.chart;
  int undos = 0;
  chart.OnUndoZoom = [&](TComponent*) { ++undos; };
  // One end automatic, the other manual: the undo must give back exactly that.
  chart.LeftAxis().SetAutomaticMaximum(false);
  chart.LeftAxis().SetMaximum(150);
  rig.Paint();
  const std::vector<AxisState> before = StatesOf(chart);

  // Nothing saved yet: nothing changes, but the event comes.
  rig.Drag(mbLeft, 200, 180, 100, 100);
  EXPECT_EQ(StatesOf(chart), before);
  EXPECT_EQ(undos, 1);

  rig.Drag(mbLeft, 100, 100, 200, 180);
  rig.Paint();
  rig.Drag(mbLeft, 120, 110, 190, 170);
  rig.Paint();
  ASSERT_NE(StatesOf(chart), before);
  // Toward the lower left is no zoom either: an undo.
  rig.Drag(mbLeft, 200, 100, 100, 180);
  EXPECT_EQ(StatesOf(chart), before);
  EXPECT_FALSE(chart.ZoomApplied());
  EXPECT_TRUE(chart.ScalesRestored());
  EXPECT_EQ(undos, 2);
}

TEST(ChartMouse, BandOfSixteenPixelsEitherWayIsIgnoredSeventeenZooms) {
  MouseRig rig;
  TChart& chart = rig.chart;
  int zooms = 0, undos = 0;
  chart.OnZoom = [&](TComponent*) { ++zooms; };
  chart.OnUndoZoom = [&](TComponent*) { ++undos; };
  const std::vector<AxisState> before = StatesOf(chart);

  rig.Drag(mbLeft, 100, 80, 116, 180);
  rig.Drag(mbLeft, 100, 80, 200, 96);
  rig.Drag(mbLeft, 116, 180, 100, 80);
  EXPECT_EQ(StatesOf(chart), before);
  EXPECT_EQ(zooms + undos, 0);
  EXPECT_FALSE(chart.ZoomDrag().Active);

  rig.Drag(mbLeft, 100, 80, 117, 97);
  EXPECT_EQ(zooms, 1);
}

TEST(ChartMouse, AnimatedZoomRepaintsEachStepAThirdOfTheRestOfTheWay) {
  MouseRig rig;
  TChart& chart = rig.chart;
  chart.SetAnimatedZoom(true);
  const double leftMinimum = chart.LeftAxis().Minimum();
  const double target = chart.LeftAxis().PixelToValue(180);
  std::vector<double> stepMinimums;
  chart.HostRepaintNow = [&] { stepMinimums.push_back(chart.LeftAxis().Minimum()); };

  rig.Drag(mbLeft, 100, 100, 200, 180);

  ASSERT_EQ(stepMinimums.size(), 7u) << "AnimatedZoomSteps - 1 steps";
  EXPECT_DOUBLE_EQ(stepMinimums[0], leftMinimum + (target - leftMinimum) / 3.0);
  EXPECT_DOUBLE_EQ(stepMinimums[1], stepMinimums[0] + (target - stepMinimums[0]) / 3.0);
  EXPECT_DOUBLE_EQ(chart.LeftAxis().Minimum(), target);
}

// [SECTION] Pan

TEST(ChartMouse, RightDragPansByTheValueDistanceCoveredEachStepBothWays) {
  MouseRig rig;
  TChart& chart = rig.chart;
  int scrolls = 0;
  chart.OnScroll = [&](TComponent*) { ++scrolls; };
  const AxisState bottom = StateOf(chart.BottomAxis());
  const AxisState top = StateOf(chart.TopAxis());
  const double bottomStep = chart.BottomAxis().PixelToValue(160) - chart.BottomAxis().PixelToValue(150);
  const double topStep = chart.TopAxis().PixelToValue(160) - chart.TopAxis().PixelToValue(150);
  const std::vector<AxisState> vertical = {StateOf(chart.LeftAxis()), StateOf(chart.RightAxis())};

  chart.MouseDown(mbRight, 0, 150, 120);
  chart.MouseMove(0, 160, 120);
  EXPECT_FALSE(chart.ScalesRestored()) << "the first pan step saves the scales";
  chart.MouseMove(0, 170, 120);
  // Dragging right shows what lay to the left: both limits lower.
  EXPECT_DOUBLE_EQ(chart.BottomAxis().Minimum(), bottom.minimum - 2 * bottomStep);
  EXPECT_DOUBLE_EQ(chart.BottomAxis().Maximum(), bottom.maximum - 2 * bottomStep);
  EXPECT_DOUBLE_EQ(chart.TopAxis().Minimum(), top.minimum - 2 * topStep);
  EXPECT_FALSE(chart.BottomAxis().Automatic());
  chart.MouseMove(0, 170, 120);
  chart.MouseMove(0, 150, 120);
  EXPECT_NEAR(chart.BottomAxis().Minimum(), bottom.minimum, 1e-9);
  EXPECT_NEAR(chart.TopAxis().Maximum(), top.maximum, 1e-9);
  EXPECT_EQ((std::vector<AxisState>{StateOf(chart.LeftAxis()), StateOf(chart.RightAxis())}), vertical);
  EXPECT_EQ(scrolls, 3) << "a move to the same place is no step";
  chart.MouseUp(mbRight, 0, 150, 120);
  EXPECT_FALSE(chart.PanningDrag().Active);

  // The saved scales are the ones from before the pan.
  chart.UndoZoom();
  EXPECT_EQ(StateOf(chart.BottomAxis()), bottom);
}

TEST(ChartMouse, PanningModeAndOnAllowScrollChooseTheAxesThatMove) {
  MouseRig rig;
  TChart& chart = rig.chart;
  const AxisState left = StateOf(chart.LeftAxis());
  const AxisState right = StateOf(chart.RightAxis());
  const AxisState bottom = StateOf(chart.BottomAxis());

  chart.SetAllowPanning(pmHorizontal);
  rig.Drag(mbRight, 150, 120, 170, 140);
  EXPECT_EQ(StateOf(chart.LeftAxis()), left);
  EXPECT_EQ(StateOf(chart.RightAxis()), right);
  EXPECT_NE(StateOf(chart.BottomAxis()), bottom);

  chart.SetAllowPanning(pmBoth);
  int scrolls = 0;
  chart.OnScroll = [&](TComponent*) { ++scrolls; };
  std::vector<TCustomChartAxis*> asked;
  chart.OnAllowScroll = [&](TCustomChartAxis* axis, double&, double&, bool& allow) {
    asked.push_back(axis);
    if (axis == &chart.LeftAxis()) allow = false;
  };
  const double rightStep = chart.RightAxis().PixelToValue(120) - chart.RightAxis().PixelToValue(140);
  chart.MouseDown(mbRight, 0, 150, 120);
  chart.MouseMove(0, 150, 140);
  EXPECT_EQ(StateOf(chart.LeftAxis()), left);
  EXPECT_DOUBLE_EQ(chart.RightAxis().Minimum(), right.minimum + rightStep);
  EXPECT_EQ(scrolls, 1);
  // Only the vertical axes are asked, never the depth axis.
  EXPECT_EQ(asked, (std::vector<TCustomChartAxis*>{&chart.LeftAxis(), &chart.RightAxis()}));
}

TEST(ChartMouse, PanEndsForGoodWhenThePointerLeavesThePlotOrTheWindow) {
  MouseRig rig;
  TChart& chart = rig.chart;
  int scrolls = 0;
  chart.OnScroll = [&](TComponent*) { ++scrolls; };
  const std::vector<AxisState> before = StatesOf(chart);
  const TRect plot = chart.PlotRect();

  chart.MouseDown(mbRight, 0, 150, 120);
  chart.MouseMove(0, plot.right, 120);  // the right edge is outside
  EXPECT_FALSE(chart.PanningDrag().Active);
  chart.MouseMove(0, 140, 120);
  chart.MouseUp(mbRight, 0, 140, 120);

  chart.MouseDown(mbRight, 0, 150, 120);
  chart.MouseLeave();
  chart.MouseMove(0, 140, 120);
  EXPECT_EQ(StatesOf(chart), before);
  EXPECT_EQ(scrolls, 0);
}

// [SECTION] Wheel

TEST(ChartMouse, WheelNotchScrollsTheVerticalAxesByThreePercentOfTheirRange) {
  MouseRig rig;
  TChart& chart = rig.chart;
  ASSERT_EQ(StateOf(chart.LeftAxis()), (AxisState{true, true, true, 0, 100}));
  const AxisState bottom = StateOf(chart.BottomAxis());
  const AxisState top = StateOf(chart.TopAxis());
  const TChartDepthAxis& depth = chart.DepthAxis();
  const bool depthAutomatic = depth.Automatic();

  EXPECT_TRUE(chart.MouseWheel(0, -TCustomZavPanel::kWheelNotch, 150, 120));
  EXPECT_EQ(StateOf(chart.LeftAxis()), (AxisState{false, false, false, 3, 103}));
  EXPECT_DOUBLE_EQ(chart.RightAxis().Minimum(), -47);
  EXPECT_EQ(StateOf(chart.BottomAxis()), bottom);
  EXPECT_EQ(StateOf(chart.TopAxis()), top);
  EXPECT_EQ(depth.Automatic(), depthAutomatic);

  // A smooth wheel's half notches add up to one notch up.
  EXPECT_FALSE(chart.MouseWheel(0, TCustomZavPanel::kWheelNotch / 2, 150, 120));
  EXPECT_DOUBLE_EQ(chart.LeftAxis().Minimum(), 3);
  EXPECT_TRUE(chart.MouseWheel(0, TCustomZavPanel::kWheelNotch / 2, 150, 120));
  EXPECT_NEAR(chart.LeftAxis().Minimum(), 3 - 0.03 * 100, 1e-12);
}

// [SECTION] Press: parts and events

TEST(ChartMouse, LegendPressStartsNoDragAndFallsBackToTheBackgroundEvent) {
  MouseRig rig;
  TChart& chart = rig.chart;
  const TRect items = chart.Legend().LegendBounds();
  const int x = items.left + 5, y = items.top + 3;
  ASSERT_EQ(chart.ClickedPart(x, y).Kind, cpLegend);

  chart.MouseDown(mbLeft, 0, x, y);
  EXPECT_FALSE(chart.ZoomDrag().Active);
  chart.MouseUp(mbLeft, 0, x, y);

  std::vector<std::string> events;
  chart.OnClickBackground = [&](TCustomChart*, TMouseButton, TShiftState, int, int) { events.push_back("background"); };
  chart.MouseDown(mbLeft, 0, x, y);
  EXPECT_EQ(events, std::vector<std::string>{"background"});
  EXPECT_FALSE(chart.ZoomDrag().Active);

  // A legend handler that lets the chart go on still starts no drag.
  events.clear();
  chart.OnClickLegend = [&](TCustomChart* sender, TMouseButton, TShiftState, int, int) {
    events.push_back("legend");
    sender->SetMouseCancelled(false);
  };
  chart.MouseDown(mbLeft, 0, x, y);
  EXPECT_EQ(events, (std::vector<std::string>{"legend", "background"}));
  EXPECT_FALSE(chart.ZoomDrag().Active);

  events.clear();
  chart.OnClickLegend = [&](TCustomChart*, TMouseButton, TShiftState, int, int) { events.push_back("legend"); };
  chart.MouseDown(mbLeft, 0, x, y);
  EXPECT_EQ(events, std::vector<std::string>{"legend"});
  EXPECT_FALSE(chart.MouseCancelled());
}

TEST(ChartMouse, BackgroundEventRunsOncePerPressAndDecidesWhetherADragStarts) {
  MouseRig rig;
  TChart& chart = rig.chart;
  int backgrounds = 0;
  bool letGo = true;
  chart.OnClickBackground = [&](TCustomChart* sender, TMouseButton, TShiftState, int, int) {
    ++backgrounds;
    if (letGo) sender->SetMouseCancelled(false);
  };

  // Not handled, yet the middle button starts nothing, and the plot area has had its
  // background event already.
  chart.MouseDown(mbMiddle, 0, 150, 120);
  EXPECT_EQ(backgrounds, 1);
  EXPECT_FALSE(chart.ZoomDrag().Active || chart.PanningDrag().Active);

  // Kept by the handler: no drag.
  letGo = false;
  chart.MouseDown(mbLeft, 0, 150, 120);
  EXPECT_EQ(backgrounds, 2);
  EXPECT_FALSE(chart.ZoomDrag().Active);

  letGo = true;
  chart.MouseDown(mbLeft, 0, 150, 120);
  EXPECT_EQ(backgrounds, 3);
  EXPECT_TRUE(chart.ZoomDrag().Active);
  // A press during the drag is ignored altogether.
  chart.MouseDown(mbRight, 0, 160, 130);
  EXPECT_EQ(backgrounds, 3);
  EXPECT_FALSE(chart.PanningDrag().Active);
}

TEST(ChartMouse, MouseDownHandlerCancelsThePressAndTheFlagIsClearedForTheNext) {
  MouseRig rig;
  TChart& chart = rig.chart;
  int backgrounds = 0;
  chart.OnClickBackground = [&](TCustomChart* sender, TMouseButton, TShiftState, int, int) {
    ++backgrounds;
    sender->SetMouseCancelled(false);
  };
  chart.OnMouseDown = [&](TComponent*, TMouseButton, TShiftState, int, int) { chart.SetMouseCancelled(true); };
  chart.MouseDown(mbLeft, 0, 150, 120);
  EXPECT_EQ(backgrounds, 0);
  EXPECT_FALSE(chart.ZoomDrag().Active);
  EXPECT_FALSE(chart.MouseCancelled());

  chart.OnMouseDown = nullptr;
  chart.MouseDown(mbLeft, 0, 150, 120);
  EXPECT_EQ(backgrounds, 1);
  EXPECT_TRUE(chart.ZoomDrag().Active);
}

TEST(ChartMouse, PressOnASeriesGoesToTheSeriesThenOnClickSeries) {
  MouseRig rig;
  TChart& chart = rig.chart;
  TLineSeries& series = *rig.series;
  const int x = series.PointXPixel(1) - 1, y = series.PointYPixel(1) + 1;
  const TChartClickedPart part = chart.ClickedPart(x, y);
  ASSERT_EQ(part.Kind, cpSeries);
  EXPECT_EQ(part.Series, &series);
  EXPECT_EQ(part.Index, 0);

  // Nobody listens: the press zooms like any other in the plot.
  chart.MouseDown(mbLeft, 0, x, y);
  EXPECT_TRUE(chart.ZoomDrag().Active);
  chart.MouseUp(mbLeft, 0, x, y);

  std::vector<std::string> events;
  series.OnClick = [&](TChartSeries*, int index, TMouseButton, TShiftState, int, int) {
    events.push_back("series " + std::to_string(index));
  };
  chart.OnClickSeries = [&](TCustomChart*, TChartSeries* clicked, int index, TMouseButton, TShiftState, int, int) {
    events.push_back(std::string(clicked == &series ? "chart " : "chart ? ") + std::to_string(index));
  };
  chart.OnClickBackground = [&](TCustomChart*, TMouseButton, TShiftState, int, int) { events.push_back("background"); };
  chart.MouseDown(mbLeft, 0, x, y);
  EXPECT_EQ(events, (std::vector<std::string>{"series 0", "chart 0"}));
  EXPECT_FALSE(chart.ZoomDrag().Active);
}

// [SECTION] Rubber band

TEST(ChartMouse, ZoomBandIsAOnePixelNotXorRectangleInThePanelColourOrBlackOnWhite) {
  TChart chart(nullptr);
  RecordingSurface surface;
  chart.Canvas().AttachSurface(&surface);
  chart.ZoomDrag().ActivateDrag(60, 50);
  chart.ZoomDrag().X1 = 10;
  chart.ZoomDrag().Y1 = 20;

  chart.SetColor(clRed);
  chart.DrawZoomBand();
  chart.SetColor(clWhite);
  chart.DrawZoomBand();
  chart.Canvas().AttachSurface(nullptr);

  ASSERT_EQ(surface.Lines().size(), 2u);
  const std::string& red = surface.Lines()[0];
  EXPECT_EQ(RectOf(red), (TRect{10, 20, 60, 50}));
  EXPECT_EQ(FieldOf(red, "pen"), "#FF0000/1/solid/notxor");
  EXPECT_EQ(FieldOf(red, "brush").substr(FieldOf(red, "brush").find('/')), "/clear");
  EXPECT_EQ(FieldOf(surface.Lines()[1], "pen"), "#000000/1/solid/notxor");
  EXPECT_EQ(surface.Pen().mode, pmCopy) << "whatever draws next draws in copy mode";
}

// A moving band costs the band drawn into the buffer and one copy, never the chart; the
// buffer remembers which band it holds (also after a paint in the middle of the drag),
// and the next band paint draws that one again to take it off.
TEST(ChartMouse, BandMovesOverTheBufferWithoutRedrawingTheChart) {
  MouseRig rig;
  TChart& chart = rig.chart;
  int bandPaints = 0;
  chart.HostPaintBand = [&] { ++bandPaints; };
  test::RepaintCounter repaints(chart);
  // The not-xor rectangles of a paint: the bands.
  auto bands = [](const paint_test::Paint& paint) {
    std::vector<TRect> found;
    for (const std::string& line : paint.Of("Rectangle")) {
      const std::string pen = FieldOf(line, "pen");
      if (pen.substr(pen.rfind('/')) == "/notxor") found.push_back(RectOf(line));
    }
    return found;
  };

  chart.MouseDown(mbLeft, 0, 100, 100);
  chart.MouseMove(0, 150, 140);
  chart.MouseMove(0, 150, 140);
  EXPECT_EQ(bandPaints, 2);
  EXPECT_EQ(repaints.count, 0);
  paint_test::Paint paint = rig.Paint();
  EXPECT_EQ(paint.Commands(), (std::vector<std::string>{"Rectangle", "CopyBitmap"}));
  EXPECT_EQ(bands(paint), std::vector<TRect>{(TRect{100, 100, 150, 140})});
  EXPECT_EQ(chart.BufferBand(), (TRect{100, 100, 150, 140}));

  chart.Invalidate();
  paint = rig.Paint();
  ASSERT_GE(paint.lines.size(), 2u);
  EXPECT_EQ(paint.Commands().back(), "CopyBitmap");
  EXPECT_EQ(bands(paint), std::vector<TRect>{(TRect{100, 100, 150, 140})});
  EXPECT_EQ(paint.lines[paint.lines.size() - 2].rfind("Rectangle 100,100,150,140 ", 0), 0u)
      << "the last drawing step of the buffer";
  EXPECT_EQ(rig.Paint().Commands(), std::vector<std::string>{"CopyBitmap"}) << "the band the buffer has is live";

  chart.MouseMove(0, 160, 150);
  paint = rig.Paint();
  EXPECT_EQ(paint.Commands(), (std::vector<std::string>{"Rectangle", "Rectangle", "CopyBitmap"}));
  EXPECT_EQ(bands(paint), (std::vector<TRect>{{100, 100, 150, 140}, {100, 100, 160, 150}}));

  // Too small to zoom: the band only goes away.
  chart.MouseUp(mbLeft, 0, 110, 105);
  EXPECT_EQ(bandPaints, 4);
  paint = rig.Paint();
  EXPECT_EQ(paint.Commands(), (std::vector<std::string>{"Rectangle", "CopyBitmap"}));
  EXPECT_EQ(bands(paint), std::vector<TRect>{(TRect{100, 100, 160, 150})});
  EXPECT_FALSE(chart.BufferBand().has_value());
}

}  // namespace
}  // namespace tarvela
