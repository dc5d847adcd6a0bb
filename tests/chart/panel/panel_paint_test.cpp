#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <functional>
#include <string>
#include <vector>

#include "paint_test_support.h"
#include "tarvela/chart/canvas/text_lines.h"
#include "tarvela/chart/chart.h"
#include "tarvela/chart/panel/panel.h"
#include "tarvela/chart/series/line_series.h"
#include "tarvela/runtime/rounding.h"

namespace tarvela {
namespace {

using canvas_test::FieldOf;
using canvas_test::PointsOf;
using canvas_test::RectOf;
using paint_test::FormChart;
using paint_test::Unprefixed;

// A panel whose inner drawing is whatever the test hands it, after the background.
class ProbePanel : public TCustomZavPanelExtended {
 public:
  ProbePanel() : TCustomZavPanelExtended(nullptr) {}
  void DrawChartBody(const TRect& paintRect) override {
    TCustomZavPanelExtended::DrawChartBody(paintRect);
    if (body) body(*this);
  }
  std::function<void(ProbePanel&)> body;
};

// [SECTION] Paint frame and plot rectangle

TEST(PanelPaint, PlotRectStartsInsideBorderAndMarginsOfThePaintRect) {
  ProbePanel panel;
  panel.SetBounds(8, 48, 465, 337);
  panel.SetBorderWidth(10);
  std::vector<TRect> plots;
  panel.body = [&](ProbePanel& p) {
    plots.push_back(p.PlotRect());
    EXPECT_EQ(p.PlotWidth(), 417);
    EXPECT_EQ(p.PlotHeight(), 291);
    EXPECT_EQ(p.PlotXCenter(), 232);
    EXPECT_EQ(p.PlotYCenter(), 168);
  };

  // Buffered, the chart is drawn in bitmap coordinates wherever the user rect lies,
  // and the bitmap lands at the rect's corner.
  RecordingSurface surface;
  panel.PaintChart(surface, {8, 48, 473, 385});
  EXPECT_EQ(panel.PaintRect(), (TRect{0, 0, 465, 337}));
  ASSERT_EQ(plots.size(), 1u);
  // MulDiv(3, 465, 100) = 14 and MulDiv(4, 337, 100) = 13, inside the 10-pixel border.
  EXPECT_EQ(plots[0], (TRect{24, 23, 441, 314}));
  EXPECT_EQ(surface.Lines().back(), "CopyBitmap 8,48 bitmap1 465x337");

  // Unbuffered, the paint rect is the user rect itself.
  panel.SetBuffered(false);
  panel.body = [&](ProbePanel& p) { plots.push_back(p.PlotRect()); };
  RecordingSurface direct;
  panel.PaintChart(direct, {8, 48, 473, 385});
  EXPECT_EQ(panel.PaintRect(), (TRect{8, 48, 473, 385}));
  EXPECT_EQ(plots.back(), (TRect{32, 71, 449, 362}));
  EXPECT_EQ(direct.Lines().front(), "FillRect 8,48,473,385 brush=#F0F0F0/solid");
}

TEST(PanelPaint, NormalizePlotRectKeepsThePlotInsideWithAPositiveSize) {
  ProbePanel panel;
  panel.SetBounds(0, 0, 400, 250);
  struct Case {
    TRect given;
    TRect expected;
  };
  const std::vector<Case> cases = {
      {{-5, -7, 100, 90}, {0, 0, 100, 90}},       // held at the paint rect's corner
      {{50, 60, 40, 30}, {50, 60, 51, 61}},       // turned over: one pixel
      {{50, 60, 50, 60}, {50, 60, 450, 310}},     // collapsed exactly: the control's size
      {{10, 20, 11, 21}, {10, 20, 11, 21}},       // one pixel stays
  };
  std::vector<TRect> results;
  std::vector<std::array<int, 4>> derived;
  panel.body = [&](ProbePanel& p) {
    for (const Case& c : cases) {
      p.SetPlotRect(c.given);
      p.NormalizePlotRect();
      results.push_back(p.PlotRect());
      derived.push_back({p.PlotWidth(), p.PlotHeight(), p.PlotXCenter(), p.PlotYCenter()});
    }
  };
  RecordingSurface surface;
  panel.PaintChart(surface, panel.ClientRect());
  ASSERT_EQ(results.size(), cases.size());
  for (std::size_t i = 0; i < cases.size(); ++i) EXPECT_EQ(results[i], cases[i].expected) << i;
  EXPECT_EQ(derived[0], (std::array<int, 4>{100, 90, 50, 45}));
  EXPECT_EQ(derived[2], (std::array<int, 4>{400, 250, 250, 185}));
}

// [SECTION] Background and frame

TEST(PanelPaint, FormChartIsAFullHeightGradientUnderABevelAndARing) {
  paint_test::Recorder record;
  std::unique_ptr<TChart> chart = FormChart();
  // No axes: the plot keeps the room they would take.
  chart->SetAxisVisible(false);
  ASSERT_NE(chart, nullptr);
  const paint_test::Paint paint = record(*chart);

  // Nothing but the buffer, the background, the frame and the copy: the empty title
  // line writes nothing and there are no walls in 3D without them.
  std::vector<std::string> expectedCommands = {"CreateOffscreen"};
  expectedCommands.insert(expectedCommands.end(), 256, "PatternFill");
  expectedCommands.insert(expectedCommands.end(), 30, "Polyline");
  expectedCommands.push_back("CopyBitmap");
  EXPECT_EQ(paint.Commands(), expectedCommands);
  EXPECT_EQ(paint.lines.front(), "CreateOffscreen bitmap1 465x337 color");
  EXPECT_EQ(paint.lines.back(), "CopyBitmap 0,0 bitmap1 465x337");

  // 256 bands over the whole height, measured from the bottom edge upward, blue at
  // the bottom and aqua at the top.
  const auto bands = paint.Of("PatternFill");
  int covered = 337;
  for (int i = 0; i < 256; ++i) {
    const TRect band = RectOf(bands[static_cast<std::size_t>(i)]);
    EXPECT_EQ(band, (TRect{0, 337 - MulDiv(i + 1, 337, 256), 465, 337 - MulDiv(i, 337, 256)})) << i;
    EXPECT_EQ(band.bottom, covered) << i;
    covered = band.top;
  }
  EXPECT_EQ(covered, 0);
  EXPECT_EQ(RectOf(bands.front()), (TRect{0, 336, 465, 337}));
  EXPECT_EQ(FieldOf(bands.front(), "brush"), "#0000FF/solid");
  EXPECT_EQ(RectOf(bands.back()), (TRect{0, 0, 465, 1}));
  EXPECT_EQ(FieldOf(bands.back(), "brush"), "#00FFFF/solid");

  // Five raised bevel lines (highlight top and left, shadow bottom and right), then the
  // ten-pixel ring in button face, starting where the bevel stopped.
  const auto lines = paint.Of("Polyline");
  ASSERT_EQ(lines.size(), 30u);
  EXPECT_EQ(lines[0], "Polyline 0,336 0,0 464,0 pen=#FFFFFF/1/solid/copy");
  EXPECT_EQ(lines[1], "Polyline 464,0 464,336 -1,336 pen=#A0A0A0/1/solid/copy");
  EXPECT_EQ(lines[8], "Polyline 4,332 4,4 460,4 pen=#FFFFFF/1/solid/copy");
  EXPECT_EQ(lines[9], "Polyline 460,4 460,332 3,332 pen=#A0A0A0/1/solid/copy");
  EXPECT_EQ(lines[10], "Polyline 5,331 5,5 459,5 pen=#F0F0F0/1/solid/copy");
  EXPECT_EQ(lines[11], "Polyline 459,5 459,331 4,331 pen=#F0F0F0/1/solid/copy");
  EXPECT_EQ(lines[28], "Polyline 14,322 14,14 450,14 pen=#F0F0F0/1/solid/copy");
  EXPECT_EQ(lines[29], "Polyline 450,14 450,322 13,322 pen=#F0F0F0/1/solid/copy");
  for (std::size_t i = 10; i < 30; ++i) EXPECT_EQ(FieldOf(lines[i], "pen"), "#F0F0F0/1/solid/copy") << i;
}

TEST(PanelPaint, FramesFollowBevelCutsAndPassTheirShrinkingOn) {
  paint_test::Recorder record;
  TChart chart(nullptr);
  chart.SetView3D(false);
  chart.SetBevelOuter(bvNone);
  chart.SetBorderWidth(0);
  EXPECT_TRUE(record(chart).Of("Polyline").empty());

  // Lowered outside, 2 pixels; a 1-pixel ring; raised inside, starting at 3.
  chart.SetBevelOuter(bvLowered);
  chart.SetBevelWidth(2);
  chart.SetBorderWidth(1);
  chart.SetBevelInner(bvRaised);
  chart.SetColor(clRed);
  const auto lines = record(chart).Of("Polyline");
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[0], "Polyline 0,249 0,0 399,0 pen=#A0A0A0/1/solid/copy");
  EXPECT_EQ(lines[1], "Polyline 399,0 399,249 -1,249 pen=#FFFFFF/1/solid/copy");
  EXPECT_EQ(lines[4], "Polyline 2,247 2,2 397,2 pen=#FF0000/1/solid/copy");
  EXPECT_EQ(lines[6], "Polyline 3,246 3,3 396,3 pen=#FFFFFF/1/solid/copy");
  EXPECT_EQ(lines[9], "Polyline 395,4 395,245 3,245 pen=#A0A0A0/1/solid/copy");

  chart.SetBevelInner(bvSpace);
  const auto spaced = record(chart).Of("Polyline");
  ASSERT_EQ(spaced.size(), 10u);
  EXPECT_EQ(FieldOf(spaced[9], "pen"), "#FFFFFF/1/solid/copy");
}

TEST(PanelPaint, WithoutGradientThePanelIsFilledWithItsColour) {
  paint_test::Recorder record;
  TChart chart(nullptr);
  chart.SetView3D(false);
  const paint_test::Paint paint = record(chart);
  EXPECT_TRUE(paint.Of("PatternFill").empty());
  const auto fills = paint.Of("FillRect");
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0], "FillRect 0,0,400,250 brush=#F0F0F0/solid");
}

// Where StartColor ends up, for each direction: the first band painted lies along
// the bottom (vertical), the right (horizontal) or the outer ring, and is StartColor
// for every direction.
TEST(PanelPaint, GradientStartColourLiesAlongTheBottomRightOrOuterEdge) {
  paint_test::Recorder record;
  struct Case {
    TGradientDirection direction;
    TRect firstBand;
  };
  const std::vector<Case> cases = {
      {gdTopBottom, {0, 249, 400, 250}},
      {gdBottomTop, {0, 249, 400, 250}},
      {gdLeftRight, {398, 0, 400, 250}},
      {gdRightLeft, {398, 0, 400, 250}},
      {gdFromCenter, {0, 0, 1, 250}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.direction);
    TChart chart(nullptr);
    chart.SetView3D(false);
    chart.Gradient().SetVisible(true);
    chart.Gradient().SetStartColor(clRed);
    chart.Gradient().SetEndColor(clBlue);
    chart.Gradient().SetDirection(c.direction);
    const auto bands = record(chart).Of("PatternFill");
    ASSERT_FALSE(bands.empty());
    EXPECT_EQ(RectOf(bands.front()), c.firstBand);
    EXPECT_EQ(FieldOf(bands.front(), "brush"), "#FF0000/solid");
  }
}

TEST(PanelPaint, BackImageIsStretchedTiledOrCentredOverThePanel) {
  paint_test::Recorder record;
  TChart chart(nullptr);
  chart.SetView3D(false);
  const Picture picture(100, 60, Picture::kOpaqueBlack);
  chart.SetBackImage(picture);

  // Stretched over the panel, after the fill and before the frame.
  paint_test::Paint paint = record(chart);
  const std::vector<std::string> commands = paint.Commands();
  ASSERT_GE(commands.size(), 3u);
  EXPECT_EQ(commands[1], "FillRect");
  EXPECT_EQ(commands[2], "StretchPicture");
  EXPECT_EQ(RectOf(paint.Of("StretchPicture").at(0)), (TRect{0, 0, 400, 250}));

  // Tiled in rows from the top-left corner, clipped to the panel.
  chart.SetBackImageMode(pbmTile);
  paint = record(chart);
  EXPECT_EQ(paint.Of("IntersectClipRect"), std::vector<std::string>{"IntersectClipRect 0,0,400,250"});
  const auto tiles = paint.Of("DrawPicture");
  ASSERT_EQ(tiles.size(), 20u);  // 4 columns of 100 x 5 rows of 60
  EXPECT_EQ(PointsOf(tiles[1]).at(0), (TPoint{100, 0}));
  EXPECT_EQ(PointsOf(tiles[4]).at(0), (TPoint{0, 60}));
  EXPECT_EQ(PointsOf(tiles[19]).at(0), (TPoint{300, 240}));
  EXPECT_EQ(paint.Of("RemoveClipping").size(), 1u);

  // Centred, over a second fill.
  chart.SetBackImageMode(pbmCenter);
  paint = record(chart);
  EXPECT_EQ(paint.Of("FillRect").size(), 2u);
  ASSERT_EQ(paint.Of("DrawPicture").size(), 1u);
  EXPECT_EQ(PointsOf(paint.Of("DrawPicture")[0]).at(0), (TPoint{150, 95}));

  // A picture inside the walls is not the panel's.
  chart.SetBackImageMode(pbmStretch);
  chart.SetBackImageInside(true);
  paint = record(chart);
  ASSERT_EQ(paint.Of("StretchPicture").size(), 1u);
  EXPECT_NE(RectOf(paint.Of("StretchPicture")[0]), (TRect{0, 0, 400, 250}));
}

// [SECTION] Buffer

TEST(PanelPaint, UnchangedChartRepaintsWithOneCopyOfTheBuffer) {
  std::unique_ptr<TChart> chart = FormChart();
  RecordingSurface window;
  chart->Paint(window);
  EXPECT_GT(window.Lines().size(), 2u);
  EXPECT_FALSE(chart->Canvas().Dirty());

  window.Clear();
  chart->Paint(window);
  EXPECT_EQ(window.Lines(), std::vector<std::string>{"CopyBitmap 0,0 bitmap1 465x337"});

  // Setting a value it has changes nothing; another value draws again, into the
  // same bitmap.
  chart->Gradient().SetStartColor(clBlue);
  window.Clear();
  chart->Paint(window);
  EXPECT_EQ(window.Lines().size(), 1u);
  chart->Gradient().SetStartColor(clRed);
  EXPECT_TRUE(chart->Canvas().Dirty());
  window.Clear();
  chart->Paint(window);
  const paint_test::Paint redrawn = Unprefixed(window);
  EXPECT_EQ(redrawn.Of("PatternFill").size(), 256u);
  EXPECT_TRUE(redrawn.Of("CreateOffscreen").empty());

  // A new size is drawn anew in a bitmap of that size.
  chart->SetBounds(8, 48, 300, 200);
  window.Clear();
  chart->Paint(window);
  EXPECT_EQ(window.Lines().front(), "CreateOffscreen bitmap2 300x200 color");
  EXPECT_EQ(window.Lines().back(), "CopyBitmap 0,0 bitmap2 300x200");

  // With automatic repaint off a change leaves the buffer as it is.
  chart->SetAutoRepaint(false);
  chart->SetBevelWidth(1);
  chart->SetAutoRepaint(true);
  window.Clear();
  chart->Paint(window);
  EXPECT_EQ(window.Lines(), std::vector<std::string>{"CopyBitmap 0,0 bitmap2 300x200"});
}

TEST(PanelPaint, MonochromeAndBufferingAreTheCanvasModes) {
  paint_test::Recorder record;
  TChart chart(nullptr);
  int repaints = 0;
  chart.HostInvalidate = [&] { ++repaints; };
  chart.SetMonochrome(true);
  EXPECT_TRUE(chart.Canvas().MonochromeMode());
  EXPECT_TRUE(chart.Monochrome());
  EXPECT_EQ(repaints, 1);
  chart.SetMonochrome(true);
  EXPECT_EQ(repaints, 1);
  EXPECT_EQ(record(chart).lines.front(), "CreateOffscreen bitmap1 400x250 mono");

  chart.SetBuffered(false);
  EXPECT_FALSE(chart.Canvas().Buffered());
  EXPECT_EQ(repaints, 2);
  const paint_test::Paint direct = record(chart);
  EXPECT_TRUE(direct.Of("CreateOffscreen").empty());
  EXPECT_TRUE(direct.Of("CopyBitmap").empty());
  EXPECT_FALSE(direct.Of("Polyline").empty());
}

// [SECTION] Text and fill helpers

// On paper the frame of screen bevels and the plain background are left out, and axis
// texts in white, readable on a dark panel, are drawn black; the window's own paint
// draws nothing meanwhile. The chart's settings are as they were.
TEST(PanelPaint, PrintingLeavesFrameAndBackgroundToThePaperAndDrawsWhiteAxisTextBlack) {
  const std::unique_ptr<TChart> chart = FormChart();
  ASSERT_NE(chart, nullptr);
  chart->Gradient().SetVisible(false);
  chart->LeftAxis().LabelsFont().SetColor(clWhite);
  chart->BottomAxis().Title().SetCaption("x");
  chart->BottomAxis().Title().Font().SetColor(clWhite);
  auto* series = new TLineSeries(chart.get());
  series->SetParentChart(chart.get());
  for (int i = 0; i <= 4; ++i) series->AddPointXY(i, i * i);
  const auto count = [](const std::vector<std::string>& lines, const std::string& part) {
    return std::count_if(lines.begin(), lines.end(),
                         [&](const std::string& l) { return l.find(part) != std::string::npos; });
  };
  paint_test::Recorder record;
  record(*chart);
  const paint_test::Paint screen = record(*chart);
  chart->SetPrinting(true);
  const paint_test::Paint paper = record(*chart);

  // 5 bevel rings and 10 border rings, two polylines each.
  EXPECT_EQ(screen.Of("Polyline").size() - paper.Of("Polyline").size(), 30u);
  EXPECT_EQ(screen.lines.front().rfind("FillRect 0,0,465,337", 0), 0u) << screen.lines.front();
  EXPECT_EQ(count(paper.lines, "FillRect 0,0,465,337"), 0);
  const std::vector<std::string> screenTexts = screen.Of("TextOut"), paperTexts = paper.Of("TextOut");
  ASSERT_EQ(screenTexts.size(), paperTexts.size());
  EXPECT_GE(count(screenTexts, "/#FFFFFF/"), 4) << "the title and the left axis' labels";
  EXPECT_EQ(count(paperTexts, "/#FFFFFF/"), 0);
  EXPECT_EQ(count(paperTexts, "/#000000/"), count(screenTexts, "/#000000/") + count(screenTexts, "/#FFFFFF/"));

  RecordingSurface window;
  chart->Paint(window);
  EXPECT_TRUE(window.Lines().empty());
  chart->SetPrinting(false);
  EXPECT_EQ(chart->LeftAxis().LabelsFont().Color(), clWhite);
  EXPECT_EQ(record(*chart).lines, screen.lines);
}

TEST(PanelText, MultiLineWidthMeasuresTheWidestLineAndCountsLines) {
  TChart chart(nullptr);
  RecordingSurface surface;
  chart.Canvas().AttachSurface(&surface);
  chart.ApplyChartFont(chart.Title().Font());  // 8 points: characters 6 wide

  struct Case {
    std::string text;
    int width;
    int lines;
  };
  const std::vector<Case> cases = {
      {"abcd", 24, 1}, {"", 0, 1}, {"ab\rcde", 18, 2}, {"abc\r", 18, 1}, {"a\r\rbb", 12, 3}, {"\r", 0, 1},
  };
  for (const Case& c : cases) {
    int lines = -1;
    EXPECT_EQ(chart.MultiLineWidth(c.text, lines), c.width) << c.text;
    EXPECT_EQ(lines, c.lines) << c.text;
  }
  chart.Canvas().AttachSurface(nullptr);
}

TEST(PanelText, TextLineCountAndSplitIntoLines) {
  EXPECT_EQ(TextLineCount(""), 0);
  EXPECT_EQ(TextLineCount("a"), 1);
  EXPECT_EQ(TextLineCount("a\rb"), 2);
  EXPECT_EQ(TextLineCount("a\r"), 1);
  EXPECT_EQ(TextLineCount("\r\r"), 2);

  std::string label = "one two  three";
  SplitIntoLines(label, " ");
  EXPECT_EQ(label, "one\rtwo\r\rthree");
  // Only the first character of each occurrence becomes a break.
  std::string dashes = "a--b---c";
  SplitIntoLines(dashes, "--");
  EXPECT_EQ(dashes, "a\r-b\r\r-c");
  // A separator that could never stop matching changes nothing.
  std::string unchanged = "a\rb";
  SplitIntoLines(unchanged, "\r");
  SplitIntoLines(unchanged, "");
  EXPECT_EQ(unchanged, "a\rb");
}

TEST(PanelText, ApplyFillBrushKeepsAHatchVisibleOnItsOwnColour) {
  TChart chart(nullptr);
  RecordingSurface surface;
  TZavCanvas3D& canvas = chart.Canvas();
  canvas.AttachSurface(&surface);

  chart.ApplyFillBrush(clRed, bsCross, clRed);
  EXPECT_EQ(canvas.Brush().color, clBlack);
  EXPECT_EQ(canvas.Brush().style, bsCross);
  EXPECT_EQ(canvas.TextBackMode(), BkMode::Opaque);
  EXPECT_EQ(canvas.TextBackColor(), clRed);

  chart.ApplyFillBrush(clBlack, bsFDiagonal, clBlack);
  EXPECT_EQ(canvas.Brush().color, clWhite);

  // System colours are resolved for the background.
  chart.ApplyFillBrush(clRed, bsHorizontal, clBtnFace);
  EXPECT_EQ(canvas.Brush().color, clRed);
  EXPECT_EQ(canvas.TextBackColor(), RGBColor(240, 240, 240));

  // A solid fill covers its background: the colour stays, the background goes.
  chart.ApplyFillBrush(clRed, bsSolid, clRed);
  EXPECT_EQ(canvas.Brush().color, clRed);
  EXPECT_EQ(canvas.TextBackMode(), BkMode::Transparent);
  canvas.AttachSurface(nullptr);
}

// [SECTION] Mouse

TEST(PanelMouse, LeavingRestoresTheLoadedCursorAndEndsAPanDrag) {
  TChart chart(nullptr);
  chart.SetCursor(crCross);
  chart.Loaded();
  EXPECT_EQ(chart.LoadedCursor(), crCross);
  chart.SetCursor(crHandPoint);
  chart.PanningDrag().ActivateDrag(10, 20);
  chart.ZoomDrag().ActivateDrag(30, 40);

  chart.MouseLeave();
  EXPECT_EQ(chart.Cursor(), crCross);
  EXPECT_FALSE(chart.PanningDrag().Active);
  EXPECT_TRUE(chart.ZoomDrag().Active) << "a zoom drag lasts until its button is released";
}

}  // namespace
}  // namespace tarvela
