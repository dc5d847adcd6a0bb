#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "paint_test_support.h"
#include "series_fixtures.h"
#include "tarvela/chart/chart.h"
#include "tarvela/chart/legend/legend.h"

namespace tarvela {
namespace {

using canvas_test::FieldOf;
// For a TextOut line only its first point is the position: the text follows.
using canvas_test::PointsOf;
using canvas_test::RectOf;

// The legend font is 8 points: through the recording surface a line is 13 pixels high
// and a character 6 wide.

// A 400 x 250 chart, flat, without axes and titles: the plot before the legend is
// (12, 10, 388, 240), PlotWidth 376, PlotHeight 230, PlotXCenter 200. Series of the
// base class draw their legend symbol as a plain box.
struct LegendRig {
  paint_test::Recorder record;  // first: the chart's buffer records into it to the end
  TComponent form{nullptr};
  TChart chart{nullptr};

  LegendRig() {
    chart.SetView3D(false);
    chart.SetAxisVisible(false);
    chart.Title().SetVisible(false);
    chart.Foot().SetVisible(false);
  }
  TChartSeries* Add(const std::string& name) {
    auto* series = new TChartSeries(&form);
    series->SetName(name);
    series->SetParentChart(&chart);
    return series;
  }
  // "A" and "BB": two series, so the legend lists the series.
  void AddTwo() {
    Add("A");
    Add("BB");
  }
  paint_test::Paint Paint() { return record(chart); }
};

std::vector<std::string> TextsOf(const paint_test::Paint& paint) {
  std::vector<std::string> texts;
  for (const std::string& line : paint.Of("TextOut")) {
    const std::size_t open = line.find('"');
    texts.push_back(line.substr(open + 1, line.find('"', open + 1) - open - 1));
  }
  return texts;
}

TEST(LegendPaint, RightLegendStandsInsideThePlotsRightEdgeAndTakesItsRoomAndTheGap) {
  LegendRig rig;
  rig.AddTwo();
  const paint_test::Paint paint = rig.Paint();
  const TChartLegend& legend = rig.chart.Legend();
  EXPECT_EQ(legend.ResolvedStyle(), lsSeries);
  // Top 10 % of 250; right 388 - frame 2 - shadow 3; text 12 wide, symbol
  // round(22 x 12 %) = 3.
  EXPECT_EQ(legend.LegendBounds(), (TRect{358, 25, 383, 53}));
  EXPECT_EQ(legend.RowCount(), 2);
  EXPECT_EQ(legend.ColumnCount(), 1);
  EXPECT_EQ(legend.ColorBoxWidth(), 3);

  const std::vector<std::string> fills = paint.Of("FillRect");
  ASSERT_EQ(fills.size(), 2u);  // the panel, then the shadow
  EXPECT_EQ(RectOf(fills[1]), (TRect{361, 28, 387, 57}));
  EXPECT_EQ(FieldOf(fills[1], "brush"), "#000000/solid");
  const std::vector<std::string> boxes = paint.Of("Rectangle");
  ASSERT_EQ(boxes.size(), 4u);  // frame, two symbols, the back wall
  EXPECT_EQ(RectOf(boxes[0]), (TRect{357, 24, 384, 54}));
  EXPECT_EQ(FieldOf(boxes[0], "pen"), "#000000/1/solid/copy");
  EXPECT_EQ(FieldOf(boxes[0], "brush"), "#FFFFFF/solid");

  const std::vector<std::string> texts = paint.Of("TextOut");
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(PointsOf(texts[0]).at(0), (TPoint{369, 26}));
  EXPECT_EQ(PointsOf(texts[1]).at(0), (TPoint{369, 39}));
  EXPECT_EQ(TextsOf(paint), (std::vector<std::string>{"A", "BB"}));
  // Symbols: 4 pixels left of the text, 2 pixels inside the line; series colours.
  EXPECT_EQ(RectOf(boxes[1]), (TRect{362, 28, 365, 37}));
  EXPECT_EQ(FieldOf(boxes[1], "brush"), "#FF0000/solid");
  EXPECT_EQ(RectOf(boxes[2]), (TRect{362, 41, 365, 50}));
  EXPECT_EQ(FieldOf(boxes[2], "brush"), "#008000/solid");

  // The plot ends at the legend, less MulDiv(3, 376, 100) = 11.
  EXPECT_EQ(rig.chart.PlotRect(), (TRect{12, 10, 347, 240}));
  EXPECT_EQ(rig.chart.LegendBackColor(), clWhite);
}

TEST(LegendPaint, ASideLegendGoesBeforeTheTitlesATopOneAfterThem) {
  LegendRig rig;
  rig.AddTwo();
  rig.chart.Title().SetVisible(true);
  rig.chart.Title().Text().SetLines({"T"});
  rig.Paint();
  // The title spans only the plot left beside the legend.
  EXPECT_EQ(rig.chart.Title().TitleRect(), (TRect{12, 10, 347, 23}));
  EXPECT_EQ(rig.chart.Legend().LegendBounds().top, 25);

  rig.chart.Legend().SetAlignment(laTop);
  rig.Paint();
  EXPECT_EQ(rig.chart.Title().TitleRect(), (TRect{12, 10, 388, 23}));
  // Below the title's line and gap: 10 + 13 + 5, then the frame's room.
  EXPECT_EQ(rig.chart.Legend().LegendBounds().top, 28 + 2);
}

TEST(LegendPaint, WithoutResizeChartThePlotStillMovesByTheGap) {
  LegendRig rig;
  rig.AddTwo();
  rig.chart.Legend().SetResizeChart(false);
  rig.Paint();
  EXPECT_EQ(rig.chart.PlotRect(), (TRect{12, 10, 388 - 11, 240}));
  rig.chart.Legend().SetHorizMargin(30);
  rig.Paint();
  EXPECT_EQ(rig.chart.PlotRect(), (TRect{12, 10, 358, 240}));
}

TEST(LegendPaint, LeftLegendStartsInsideThePlotsLeftEdge) {
  LegendRig rig;
  rig.AddTwo();
  rig.chart.Legend().SetAlignment(laLeft);
  const paint_test::Paint paint = rig.Paint();
  EXPECT_EQ(rig.chart.Legend().LegendBounds(), (TRect{14, 25, 39, 53}));
  const std::vector<std::string> boxes = paint.Of("Rectangle");
  ASSERT_EQ(boxes.size(), 4u);
  EXPECT_EQ(RectOf(boxes[0]), (TRect{13, 24, 40, 54}));
  EXPECT_EQ(RectOf(boxes[1]), (TRect{18, 28, 21, 37}));
  EXPECT_EQ(RectOf(paint.Of("FillRect").at(1)), (TRect{17, 28, 43, 57}));
  EXPECT_EQ(PointsOf(paint.Of("TextOut").at(0)).at(0), (TPoint{25, 26}));
  EXPECT_EQ(rig.chart.PlotRect(), (TRect{39 + 11, 10, 388, 240}));
}

TEST(LegendPaint, TopLegendIsCentredAndShiftedByTopPosAndListsItemsSideBySide) {
  LegendRig rig;
  rig.AddTwo();
  rig.chart.Legend().SetAlignment(laTop);
  const paint_test::Paint paint = rig.Paint();
  const TChartLegend& legend = rig.chart.Legend();
  // Text column 12 + 4, symbol round(16 x 12 %) = 2: each item 26 wide, both fit on
  // one row. Width 2 x 3 + 22 x 2 + 8 = 58; shift round(10 % x (400 - 58)) = 34.
  EXPECT_EQ(legend.ColumnCount(), 2);
  EXPECT_EQ(legend.RowCount(), 1);
  EXPECT_EQ(legend.ColorBoxWidth(), 2);
  EXPECT_EQ(legend.LegendBounds(), (TRect{205, 12, 263, 27}));
  const std::vector<std::string> texts = paint.Of("TextOut");
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(PointsOf(texts[0]).at(0), (TPoint{215, 13}));
  EXPECT_EQ(PointsOf(texts[1]).at(0), (TPoint{237, 13}));
  const std::vector<std::string> boxes = paint.Of("Rectangle");
  ASSERT_EQ(boxes.size(), 4u);
  EXPECT_EQ(RectOf(boxes[0]), (TRect{204, 11, 264, 28}));
  EXPECT_EQ(RectOf(boxes[1]), (TRect{209, 15, 211, 24}));
  EXPECT_EQ(RectOf(boxes[2]), (TRect{231, 15, 233, 24}));
  // Below the legend and its shadow, then MulDiv(4, 230, 100) = 9.
  EXPECT_EQ(rig.chart.PlotRect(), (TRect{12, 27 + 3 + 9, 388, 240}));

  // The hit test counts columns from the left, each 58 div 2 = 29 wide from one
  // pixel right of the legend's left edge.
  EXPECT_EQ(rig.chart.Legend().ItemAt(210, 20), 0);
  EXPECT_EQ(rig.chart.Legend().ItemAt(240, 20), 1);
  EXPECT_EQ(rig.chart.Legend().ItemAt(205, 20), -1);
  EXPECT_EQ(rig.chart.Legend().ItemAt(263, 20), -1);
  EXPECT_EQ(rig.chart.Legend().ItemAt(240, 12), -1);
}

TEST(LegendPaint, BottomLegendSitsAboveTheShadowAndRaisesThePlotsBottom) {
  LegendRig rig;
  rig.AddTwo();
  rig.chart.Legend().SetAlignment(laBottom);
  rig.chart.Legend().SetVertMargin(5);
  rig.Paint();
  EXPECT_EQ(rig.chart.Legend().LegendBounds(), (TRect{205, 220, 263, 235}));
  EXPECT_EQ(rig.chart.PlotRect(), (TRect{12, 10, 388, 220 - 5}));
}

TEST(LegendPaint, MaxNumRowsLimitsTopAndBottomLegendsOnly) {
  LegendRig rig;
  for (int i = 0; i < 30; ++i) rig.Add(std::string("S") + std::to_string(i))->SetTitle("x");
  TChartLegend& legend = rig.chart.Legend();
  legend.SetMaxNumRows(1);
  legend.SetAlignment(laTop);
  paint_test::Paint paint = rig.Paint();
  // Items 10 + 1 + 8 wide: (376 - 2 - 8) div 19 = 19 columns, 2 rows cut to 1.
  EXPECT_EQ(legend.ColumnCount(), 19);
  EXPECT_EQ(legend.RowCount(), 1);
  EXPECT_EQ(paint.Of("TextOut").size(), 19u);

  legend.SetAlignment(laRight);
  paint = rig.Paint();
  // (230 + 10 - 25 - 2) div 13 = 16 rows, whatever MaxNumRows says.
  EXPECT_EQ(legend.RowCount(), 16);
  EXPECT_EQ(paint.Of("TextOut").size(), 16u);
}

TEST(LegendPaint, FormChartListsItsUntitledSeriesAsFarAsThePlotHeightAllows) {
  paint_test::Recorder record;
  std::unique_ptr<TChart> chart = paint_test::FormChart();
  ASSERT_NE(chart, nullptr);
  TComponent form(nullptr);
  for (int i = 1; i <= 22; ++i) test::NewLine(form, chart.get())->SetName("Series" + std::to_string(i));
  paint_test::Paint paint = record(*chart);
  // Drawn before the titles: the plot is (24, 23, 441, 314); the legend's top is
  // round(10 % x 337) = 34, so (291 + 23 - 34 - 2) div 13 = 21 rows fit.
  const TChartLegend& legend = chart->Legend();
  EXPECT_EQ(legend.ResolvedStyle(), lsSeries);
  EXPECT_EQ(legend.RowCount(), 21);
  std::vector<std::string> texts = TextsOf(paint);
  ASSERT_GE(texts.size(), 21u);
  EXPECT_EQ(texts[0], "Series1");
  EXPECT_EQ(texts[20], "Series21");
  EXPECT_EQ(PointsOf(paint.Of("TextOut").at(0)).at(0), (TPoint{386, 35}));

  chart->Legend().SetFirstValue(5);
  paint = record(*chart);
  EXPECT_EQ(legend.RowCount(), 17);
  texts = TextsOf(paint);
  EXPECT_EQ(texts.at(0), "Series6");
  EXPECT_EQ(texts.at(16), "Series22");
}

TEST(LegendPaint, InvertedListsTheLastItemFirstAndTheHitTestCountsPositionsFromTheTop) {
  LegendRig rig;
  rig.AddTwo();
  rig.chart.Legend().SetInverted(true);
  const paint_test::Paint paint = rig.Paint();
  EXPECT_EQ(TextsOf(paint), (std::vector<std::string>{"BB", "A"}));
  EXPECT_EQ(PointsOf(paint.Of("TextOut").at(0)).at(0), (TPoint{369, 26}));
  // The symbol follows its item: BB's colour at the top.
  EXPECT_EQ(FieldOf(paint.Of("Rectangle").at(1), "brush"), "#008000/solid");

  // Bounds (358, 25, 383, 53): rows 28 div 2 = 14 high, from one pixel below the top.
  TChartLegend& legend = rig.chart.Legend();
  EXPECT_EQ(legend.ItemAt(370, 30), 0);
  EXPECT_EQ(legend.ItemAt(370, 45), 1);
  EXPECT_EQ(legend.ItemAt(358, 26), 0);
  EXPECT_EQ(legend.ItemAt(370, 25), -1);
  EXPECT_EQ(legend.ItemAt(383, 30), -1);
  EXPECT_EQ(legend.ItemAt(357, 30), -1);
  EXPECT_EQ(legend.ItemAt(370, 53), -1);
}

TEST(LegendPaint, ALegendWithoutRoomDrawsNothingAndLeavesThePlot) {
  LegendRig rig;
  rig.AddTwo();
  rig.chart.Legend().SetTopPos(100);  // starts at the bottom of the panel
  paint_test::Paint paint = rig.Paint();
  EXPECT_EQ(rig.chart.Legend().RowCount(), 0);
  EXPECT_TRUE(paint.Of("TextOut").empty());
  EXPECT_EQ(paint.Of("FillRect").size(), 1u);
  EXPECT_EQ(rig.chart.PlotRect(), (TRect{12, 10, 388, 240}));

  // Not visible, or nothing active: the legend is not drawn at all.
  rig.chart.Legend().SetTopPos(10);
  rig.chart.Legend().SetVisible(false);
  paint = rig.Paint();
  EXPECT_TRUE(paint.Of("TextOut").empty());
  EXPECT_EQ(rig.chart.PlotRect(), (TRect{12, 10, 388, 240}));
  rig.chart.Legend().SetVisible(true);
  rig.chart.SeriesAt(0)->SetActive(false);
  rig.chart.SeriesAt(1)->SetActive(false);
  paint = rig.Paint();
  EXPECT_TRUE(paint.Of("TextOut").empty());
  EXPECT_EQ(rig.chart.PlotRect(), (TRect{12, 10, 388, 240}));
}

TEST(LegendPaint, HiddenFrameAndShadowEdges) {
  LegendRig rig;
  rig.AddTwo();
  rig.chart.Legend().Frame().SetVisible(false);
  paint_test::Paint paint = rig.Paint();
  // No frame room: right at 388 - 3; the shadow ends ShadowSize - 1 beyond the items.
  EXPECT_EQ(rig.chart.Legend().LegendBounds(), (TRect{360, 25, 385, 53}));
  EXPECT_EQ(RectOf(paint.Of("FillRect").at(1)), (TRect{363, 28, 387, 55}));
  const std::string background = paint.Of("Rectangle").at(0);
  EXPECT_EQ(RectOf(background), (TRect{360, 25, 385, 53}));
  EXPECT_NE(FieldOf(background, "pen").find("clear"), std::string::npos);

  // A 3-pixel frame: two more pixels of room; the shadow reaches 3 + 3 + 1 beyond.
  rig.chart.Legend().Frame().SetVisible(true);
  rig.chart.Legend().Frame().SetWidth(3);
  rig.chart.Legend().SetShadowSize(0);
  paint = rig.Paint();
  EXPECT_EQ(rig.chart.Legend().LegendBounds().right, 388 - 4);
  EXPECT_EQ(paint.Of("FillRect").size(), 1u);  // no shadow
  EXPECT_EQ(RectOf(paint.Of("Rectangle").at(0)).right, 388 - 4 + 3);
}

TEST(LegendPaint, AHatchedBrushShowsTheLegendColourBetweenItsLines) {
  LegendRig rig;
  rig.AddTwo();
  rig.chart.Legend().Brush().SetStyle(bsCross);
  rig.chart.Legend().Brush().SetColor(clBlue);
  rig.chart.Legend().SetColor(clYellow);
  const paint_test::Paint paint = rig.Paint();
  const std::string background = paint.Of("Rectangle").at(0);
  EXPECT_EQ(FieldOf(background, "brush"), "#0000FF/cross");
  EXPECT_EQ(FieldOf(background, "bk"), "#FFFF00");
  EXPECT_EQ(rig.chart.LegendBackColor(), clYellow);
}

TEST(LegendPaint, DividingLinesSeparateItemsBelowTheFirst) {
  LegendRig rig;
  rig.Add("A");
  rig.Add("BB");
  rig.Add("C");
  rig.chart.Legend().DividingLines().SetVisible(true);
  rig.chart.Legend().DividingLines().SetColor(clRed);
  paint_test::Paint paint = rig.Paint();
  const TRect bounds = rig.chart.Legend().LegendBounds();
  std::vector<std::string> lines = paint.Of("LineTo");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(PointsOf(lines[0]), (std::vector<TPoint>{{bounds.left, 39}, {bounds.right, 39}}));
  EXPECT_EQ(PointsOf(lines[1]), (std::vector<TPoint>{{bounds.left, 52}, {bounds.right, 52}}));
  EXPECT_EQ(FieldOf(lines[0], "pen"), "#FF0000/1/solid/copy");

  // Side by side: a vertical line 4 pixels left of each symbol after the first.
  rig.chart.Legend().SetAlignment(laTop);
  paint = rig.Paint();
  const TRect top = rig.chart.Legend().LegendBounds();
  const int cbw = rig.chart.Legend().ColorBoxWidth();
  const std::vector<std::string> texts = paint.Of("TextOut");
  lines = paint.Of("LineTo");
  ASSERT_EQ(lines.size(), 2u);
  ASSERT_EQ(texts.size(), 3u);
  const int x1 = PointsOf(texts[1])[0].x;
  EXPECT_EQ(PointsOf(lines[0]), (std::vector<TPoint>{{x1 - cbw - 8, top.top}, {x1 - cbw - 8, top.bottom}}));
}

TEST(LegendPaint, EventsMoveTheLegendAndItsItemsAndAnEmptyTextDrawsNoSymbol) {
  LegendRig rig;
  rig.AddTwo();
  std::vector<int> xColors;
  rig.chart.OnGetLegendRect = [](TCustomChart*, TRect& rect) {
    rect.top += 20;
    rect.bottom += 20;
  };
  rig.chart.OnGetLegendPos = [&](TCustomChart*, int index, int& x, int& y, int& xColor) {
    xColors.push_back(xColor);
    if (index == 1) {
      x -= 100;
      y += 7;
    }
    xColor = 1;
  };
  rig.chart.OnGetLegendText = [](TCustomChart*, TLegendStyle, int index, std::string& text) {
    if (index == 0) text.clear();
  };
  const paint_test::Paint paint = rig.Paint();
  EXPECT_EQ(rig.chart.Legend().LegendBounds(), (TRect{358, 45, 383, 73}));
  // The symbol column's x is passed on, and what the handler leaves stays.
  EXPECT_EQ(xColors, (std::vector<int>{362, 1}));
  // Item 0 has no text: neither text nor symbol.
  const std::vector<std::string> texts = paint.Of("TextOut");
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(PointsOf(texts[0]).at(0), (TPoint{269, 46 + 13 + 7}));
  const std::vector<std::string> boxes = paint.Of("Rectangle");
  ASSERT_EQ(boxes.size(), 3u);  // frame, one symbol, back wall
  EXPECT_EQ(RectOf(boxes[1]), (TRect{262, 68, 265, 77}));
  // The plot still ends where the moved legend begins.
  EXPECT_EQ(rig.chart.PlotRect().right, 358 - 11);
}

TEST(LegendPaint, PointItemsShowEachPointsColourAndSkipNullPoints) {
  LegendRig rig;
  TChartSeries* series = rig.Add("Only");
  series->AddPointXY(0, 1, "a", clYellow);
  series->AddPointXY(1, 2, "b", clNone);
  series->AddPointXY(2, 3, "c", clBlue);
  rig.chart.Legend().SetTextStyle(ltsPlain);
  const paint_test::Paint paint = rig.Paint();
  EXPECT_EQ(rig.chart.Legend().ResolvedStyle(), lsValues);
  EXPECT_EQ(TextsOf(paint), (std::vector<std::string>{"a", "b", "c"}));
  const std::vector<std::string> boxes = paint.Of("Rectangle");
  ASSERT_EQ(boxes.size(), 4u);  // frame, two symbols (none for the null point), back wall
  EXPECT_EQ(FieldOf(boxes[1], "brush"), "#FFFF00/solid");
  EXPECT_EQ(FieldOf(boxes[2], "brush"), "#0000FF/solid");
}

TEST(LegendPaint, ASymbolInTheLegendsOwnColourIsOutlinedAgain) {
  LegendRig rig;
  rig.AddTwo();
  rig.chart.SeriesAt(0)->SetSeriesColor(clWhite);
  const paint_test::Paint paint = rig.Paint();
  const std::vector<std::string> boxes = paint.Of("Rectangle");
  ASSERT_EQ(boxes.size(), 5u);
  EXPECT_EQ(RectOf(boxes[1]), RectOf(boxes[2]));
  EXPECT_EQ(FieldOf(boxes[1], "brush"), "#FFFFFF/solid");
  EXPECT_EQ(FieldOf(boxes[2], "brush").substr(8), "clear");
}

}  // namespace
}  // namespace tarvela
