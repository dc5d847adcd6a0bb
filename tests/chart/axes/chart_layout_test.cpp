#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "paint_test_support.h"
#include "series_fixtures.h"
#include "tarvela/chart/chart.h"
#include "tarvela/chart/series/line_series.h"

namespace tarvela {
namespace {

using canvas_test::CommandOf;
using canvas_test::FieldOf;
using canvas_test::PointsOf;
using test::NewLine;
using Log = std::vector<std::string>;

// A series that writes "tag:i" for each point it draws and "tag:marks" for its marks,
// so that the recording shows what was drawn inside which clip, and logs its hooks
// and events.
class ProbeSeries : public TChartSeries {
 public:
  ProbeSeries(TComponent* owner, std::string tag, Log* log) : TChartSeries(owner), m_tag(std::move(tag)), m_log(log) {
    BeforeDrawValues = [this](TComponent*) { m_log->push_back(m_tag + ":before"); };
    AfterDrawValues = [this](TComponent*) { m_log->push_back(m_tag + ":after"); };
  }
  void DoBeforeDrawChart() override { m_log->push_back(m_tag + ":beforeChart"); }
  void DrawPoint(int i) override {
    const std::string text = m_tag + ":" + std::to_string(i);
    m_log->push_back(text);
    ParentChart()->Canvas().WriteText(0, 0, text);
  }
  void DrawAllMarks() override {
    m_log->push_back(m_tag + ":marks");
    ParentChart()->Canvas().WriteText(0, 0, m_tag + ":marks");
  }
  void HorizMargins(int& left, int& right) const override {
    left = margins.left;
    right = margins.right;
  }
  void VertMargins(int& top, int& bottom) const override {
    top = margins.top;
    bottom = margins.bottom;
  }
  bool PointsForward() const override { return pointsForward; }
  bool SeriesForward(int i) const override { return i != backwardAt; }

  void AddPoints(int count) {
    for (int i = 0; i < count; ++i) AddPointXY(i, i);
  }

  TRect margins;
  bool pointsForward = true;
  int backwardAt = -1;

 private:
  std::string m_tag;
  Log* m_log;
};

// A chart that logs the steps it supplies to the paint.
class ProbeChart : public TChart {
 public:
  explicit ProbeChart(Log* log) : TChart(nullptr), m_log(log) {}
  void PlaceTitlesAndLegend() override {
    m_log->push_back("titles");
    TChart::PlaceTitlesAndLegend();
  }
  void DrawChartWalls() override {
    m_log->push_back("walls");
    TChart::DrawChartWalls();
  }
  void DrawZoomBand() override { m_log->push_back("zoomBand"); }

 private:
  Log* m_log;
};

// The log with runs of one entry kept once.
Log Squeezed(const Log& log) {
  Log out;
  for (const std::string& entry : log)
    if (out.empty() || out.back() != entry) out.push_back(entry);
  return out;
}

// What was drawn in order: the probes' texts and the clip commands.
Log DrawnAndClips(const paint_test::Paint& paint) {
  Log out;
  for (const std::string& line : paint.lines) {
    const std::string command = CommandOf(line);
    if (command == "TextOut") {
      const std::size_t open = line.find('"');
      const std::string text = line.substr(open + 1, line.find('"', open + 1) - open - 1);
      if (text.find(':') != std::string::npos) out.push_back(text);
    } else if (command.find("Clip") != std::string::npos) {
      out.push_back(command);
    }
  }
  return out;
}

// [SECTION] The paint sequence

TEST(ChartPaint, StepsRunInTheirFixedOrderWithAxesBehindTheSeries) {
  Log log;
  paint_test::Recorder record;
  TComponent form(nullptr);
  ProbeChart chart(&log);
  auto* drawn = new ProbeSeries(&form, "a", &log);
  drawn->SetParentChart(&chart);
  drawn->AddPoints(2);
  auto* asleep = new ProbeSeries(&form, "b", &log);
  asleep->SetParentChart(&chart);
  asleep->AddPoints(2);
  asleep->SetActive(false);
  chart.OnBeforeDrawAxes = [&](TComponent* sender) {
    EXPECT_EQ(sender, &chart);
    log.push_back("beforeAxes");
  };
  chart.OnGetAxisLabel = [&](TCustomChartAxis* axis, TChartSeries*, int, std::string&) {
    log.push_back(axis == &chart.LeftAxis() ? "leftLabel" : "bottomLabel");
  };
  chart.OnBeforeDrawSeries = [&](TComponent*) { log.push_back("beforeSeries"); };
  chart.OnAfterDraw = [&](TComponent*) { log.push_back("afterDraw"); };

  record(chart);
  // Labels are measured while each axis draws; the bottom axis comes first in the list.
  EXPECT_EQ(Squeezed(log), (Log{"a:beforeChart", "titles", "walls", "beforeAxes", "bottomLabel", "leftLabel",
                                "beforeSeries", "a:before", "a:0", "a:1", "a:after", "afterDraw"}));

  // During a zoom drag the band is drawn again after everything else.
  log.clear();
  chart.ZoomDrag().ActivateDrag(5, 5);
  record(chart);
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ((Log{log.end() - 2, log.end()}), (Log{"zoomBand", "afterDraw"}));
  chart.ZoomDrag().Active = false;

  // Axes in front of the series.
  log.clear();
  AxesBehindSeries = false;
  record(chart);
  AxesBehindSeries = true;
  EXPECT_EQ(Squeezed(log), (Log{"a:beforeChart", "titles", "walls", "beforeSeries", "a:before", "a:0", "a:1",
                                "a:after", "beforeAxes", "bottomLabel", "leftLabel", "afterDraw"}));
}

TEST(ChartPaint, WithoutAxisVisibleNoAxisIsDrawnButTheScalesAreLaidOut) {
  paint_test::Recorder record;
  TComponent form(nullptr);
  TChart chart(nullptr);
  chart.SetView3D(false);
  chart.SetAxisVisible(false);
  chart.Legend().SetVisible(false);  // it would write and draw too
  bool axesEvent = false;
  chart.OnBeforeDrawAxes = [&](TComponent*) { axesEvent = true; };
  // A series of the base class draws nothing itself.
  auto* series = new TChartSeries(&form);
  series->SetParentChart(&chart);
  series->AddPointXY(10, 1);
  series->AddPointXY(30, 5);

  const paint_test::Paint paint = record(chart);
  EXPECT_FALSE(axesEvent);
  EXPECT_TRUE(paint.Of("TextOut").empty());
  EXPECT_TRUE(paint.Of("LineTo").empty());
  // The plot keeps the room the axes would take, and the scales span it.
  EXPECT_EQ(chart.PlotRect(), (TRect{12, 15, 388, 235}));
  EXPECT_EQ(chart.BottomAxis().ScaleMinimum(), 10);
  EXPECT_EQ(chart.BottomAxis().ScaleMaximum(), 30);
  EXPECT_EQ(chart.BottomAxis().StartPixel(), 12);
  EXPECT_EQ(chart.BottomAxis().EndPixel(), 388);
  EXPECT_EQ(chart.LeftAxis().ScaleMaximum(), 5);
  EXPECT_EQ(chart.LeftAxis().StartPixel(), 15);
  EXPECT_EQ(chart.LeftAxis().EndPixel(), 235);

  chart.SetAxisVisible(true);
  const paint_test::Paint shown = record(chart);
  EXPECT_TRUE(axesEvent);
  EXPECT_FALSE(shown.Of("TextOut").empty());
  EXPECT_FALSE(shown.Of("LineTo").empty());
}

TEST(ChartPaint, WholePaintFinishesWithNonFiniteSeriesValues) {
  paint_test::Recorder record;
  TComponent form(nullptr);
  TChart chart(nullptr);
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  TLineSeries* series = NewLine(form, &chart);
  series->AddPointXY(0, inf);
  series->AddPointXY(1, -inf);
  series->AddPointXY(nan, 2);
  TLineSeries* other = NewLine(form, &chart);
  other->AddPointXY(inf, nan);

  for (const bool view3D : {true, false}) {
    chart.SetView3D(view3D);
    paint_test::Paint paint;
    ASSERT_NO_THROW(paint = record(chart)) << view3D;
    ASSERT_FALSE(paint.lines.empty());
    EXPECT_EQ(CommandOf(paint.lines.back()), "CopyBitmap") << view3D;
  }
}

// [SECTION] Layout

// The default chart is 400 x 250; its titles leave the plot (12, 15, 388, 235). Labels
// through the recording surface: 13 pixels a line, 6 a character. Every axis's ticks
// take its pen (2) and tick length (4).
TEST(ChartLayout, EachShownAxisTakesItsRoomInListOrder) {
  paint_test::Recorder record;
  TChart chart(nullptr);
  chart.SetView3D(false);
  record(chart);
  // No series: the four standard axes, without labels beside the vertical ones (no
  // label style), one line of labels along the horizontal ones.
  EXPECT_EQ(chart.PlotRect(), (TRect{12 + 6, 15 + 13 + 6, 388 - 6, 235 - 13 - 6}));
  EXPECT_EQ(chart.BottomAxis().LabelsPos(), 235 - 13);
  EXPECT_EQ(chart.TopAxis().LabelsPos(), 15 + 13);
  EXPECT_EQ(chart.BottomAxis().StartPixel(), 18);
  EXPECT_EQ(chart.LeftAxis().EndPixel(), 216);

  // An axis whose room does not fit takes none; the others still take theirs.
  chart.LeftAxis().Title().SetCaption("huge");
  chart.LeftAxis().SetTitleSize(1000);
  record(chart);
  EXPECT_EQ(chart.PlotRect(), (TRect{12, 34, 382, 216}));

  // An axis added after the standard five sits inside the plot and takes no room.
  chart.LeftAxis().SetTitleSize(0);
  chart.LeftAxis().Title().SetCaption("");
  chart.AddAxis(std::make_unique<TChartAxis>(&chart, TAxisPlacement{.horizontal = false}));
  record(chart);
  EXPECT_EQ(chart.PlotRect(), (TRect{18, 34, 382, 216}));
  EXPECT_EQ(chart.Axes(5).AxisLinePos(), 18);
}

TEST(ChartLayout, FormChartLeavesRoomForTheBoxAndTheTwoAxesThatCarrySeries) {
  paint_test::Recorder record;
  std::unique_ptr<TChart> chart = paint_test::FormChart();
  ASSERT_NE(chart, nullptr);
  chart->Legend().SetVisible(false);  // the plot narrowed by the box and axes alone
  TComponent form(nullptr);
  // The layers of the form: the first one peaks at 1/6; every series on the bottom
  // and left axes.
  for (int s = 0; s < 22; ++s) {
    TLineSeries* series = NewLine(form, chart.get());
    for (int i = 0; i < 10; ++i) series->AddPointXY(-2 + 0.5 * i, s == 0 && i == 4 ? 1.0 / 6 : 0.01 * (i % 5));
  }

  // Titles leave (24, 41, 441, 309): 417 wide, Round(2.085) = 2 a slot, 44 the box.
  // The bottom axis takes a line of labels and its ticks; the left axis its widest
  // label, measured on the first paint with a step from an axis not yet laid out
  // ("0.167" and a blank), then with the step of the last paint ("0.16").
  record(*chart);
  EXPECT_EQ(chart->BoxDepthX(), 44);
  EXPECT_EQ(chart->PlotRect(), (TRect{24 + 36 + 6, 85, 397, 309 - 13 - 6}));
  const paint_test::Paint paint = record(*chart);
  EXPECT_EQ(chart->PlotRect(), (TRect{24 + 30 + 6, 85, 397, 290}));
  EXPECT_EQ(chart->LeftAxis().LabelsPos(), 54);
  EXPECT_EQ(chart->BottomAxis().LabelsPos(), 296);

  // The left labels from the top of the scale down, right-aligned at LabelsPos; the
  // bottom ones centred below it, -2 just outside the scale's lowest label limit. The
  // form's projection (elevation 343, zoom 101) moves the front plane by (-2, +1).
  Log left;
  Log bottom;
  for (const std::string& line : paint.Of("TextOut")) {
    const std::size_t open = line.find('"');
    const std::string text = line.substr(open + 1, line.find('"', open + 1) - open - 1);
    const TPoint at = PointsOf(line).at(0);
    if (FieldOf(line, "align") == "right|top") {
      EXPECT_EQ(at.x, 54 - 2) << line;
      left.push_back(text);
    } else {
      EXPECT_EQ(at.y, 296 + 1) << line;
      bottom.push_back(text);
    }
  }
  EXPECT_EQ(left, (Log{"0.16", "0.14", "0.12", "0.1", "0.08", "0.06", "0.04", "0.02", "0"}));
  EXPECT_EQ(bottom, (Log{"2", "1", "0", "-1"}));
}

TEST(ChartLayout, SeriesMarginsWidenOnlyTheAutomaticEndsOfTheirAxes) {
  Log log;
  paint_test::Recorder record;
  TComponent form(nullptr);
  TChart chart(nullptr);
  chart.SetView3D(false);
  auto* series = new ProbeSeries(&form, "a", &log);
  series->SetParentChart(&chart);
  series->AddPointXY(0, 0);
  series->AddPointXY(100, 50);
  series->margins = {5, 3, 5, 7};
  // Neither an inactive series nor one on other axes widens these.
  auto* asleep = new ProbeSeries(&form, "b", &log);
  asleep->SetParentChart(&chart);
  asleep->AddPointXY(50, 25);
  asleep->margins = {40, 40, 40, 40};
  asleep->SetActive(false);
  auto* elsewhere = new ProbeSeries(&form, "c", &log);
  elsewhere->SetParentChart(&chart);
  elsewhere->SetHorizAxis(aTopAxis);
  elsewhere->SetVertAxis(aRightAxis);
  elsewhere->AddPointXY(50, 25);
  elsewhere->margins = {30, 30, 30, 30};

  record(chart);
  const TChartAxis& bottom = chart.BottomAxis();
  EXPECT_EQ(bottom.ValueToPixel(0), bottom.StartPixel() + 5);
  EXPECT_EQ(bottom.ValueToPixel(100), bottom.EndPixel() - 5);
  EXPECT_LT(bottom.ScaleMinimum(), 0);
  const TChartAxis& left = chart.LeftAxis();
  EXPECT_EQ(left.ValueToPixel(50), left.StartPixel() + 3);
  EXPECT_EQ(left.ValueToPixel(0), left.EndPixel() - 7);
  const TChartAxis& top = chart.TopAxis();
  EXPECT_EQ(top.ValueToPixel(50), top.CenterPixel());  // a zero range stays at the centre

  chart.BottomAxis().SetAutomaticMinimum(false);
  chart.LeftAxis().SetAutomaticMaximum(false);
  chart.LeftAxis().SetMaximum(50);
  record(chart);
  EXPECT_EQ(bottom.ScaleMinimum(), 0);
  EXPECT_EQ(bottom.ValueToPixel(0), bottom.StartPixel());
  EXPECT_EQ(bottom.ValueToPixel(100), bottom.EndPixel() - 5);
  EXPECT_EQ(left.ScaleMaximum(), 50);
  EXPECT_EQ(left.ValueToPixel(50), left.StartPixel());
  EXPECT_EQ(left.ValueToPixel(0), left.EndPixel() - 7);
}

// [SECTION] Drawing one series

TEST(DrawOneSeries, OwnSlabDrawsItsVisibleRangeInsideTheClipThenMarksAndEvents) {
  Log log;
  paint_test::Recorder record;
  TComponent form(nullptr);
  TChart chart(nullptr);
  chart.SetView3D(false);
  auto* empty = new ProbeSeries(&form, "e", &log);
  empty->SetParentChart(&chart);
  auto* series = new ProbeSeries(&form, "a", &log);
  series->SetParentChart(&chart);
  series->AddPoints(3);

  paint_test::Paint paint = record(chart);
  // Nothing visible: no events either.
  EXPECT_EQ(Squeezed(log), (Log{"e:beforeChart", "a:beforeChart", "a:before", "a:0", "a:1", "a:2", "a:after"}));
  EXPECT_EQ(DrawnAndClips(paint), (Log{"IntersectClipRect", "a:0", "a:1", "a:2", "RemoveClipping"}));
  // The 2D box: the plot without its left and top edges and its bottom row.
  const TRect plot = chart.PlotRect();
  EXPECT_EQ(canvas_test::RectOf(paint.Of("IntersectClipRect").at(0)),
            (TRect{plot.left + 1, plot.top + 1, plot.right, plot.bottom - 1}));

  // Marks after the points, clipped only when they ask for it.
  series->Marks().SetVisible(true);
  log.clear();
  paint = record(chart);
  EXPECT_EQ(DrawnAndClips(paint), (Log{"IntersectClipRect", "a:0", "a:1", "a:2", "RemoveClipping", "a:marks"}));
  EXPECT_EQ(Squeezed(log).back(), "a:after");
  series->Marks().SetClip(true);
  paint = record(chart);
  EXPECT_EQ(DrawnAndClips(paint), (Log{"IntersectClipRect", "a:0", "a:1", "a:2", "RemoveClipping",
                                       "IntersectClipRect", "a:marks", "RemoveClipping"}));

  // ClipPoints off: neither the points nor the marks are clipped.
  chart.SetClipPoints(false);
  paint = record(chart);
  EXPECT_EQ(DrawnAndClips(paint), (Log{"a:0", "a:1", "a:2", "a:marks"}));
}

TEST(DrawOneSeries, SharedSlabIsDrawnPointByPointByItsFirstSeries) {
  Log log;
  paint_test::Recorder record;
  TComponent form(nullptr);
  TChart chart(nullptr);
  std::vector<ProbeSeries*> slab;
  for (const auto& [tag, count] : {std::pair{"a", 3}, std::pair{"b", 5}, std::pair{"c", 2}}) {
    auto* series = new ProbeSeries(&form, tag, &log);
    series->SetParentChart(&chart);
    series->AddPoints(count);
    series->SetDepthOrder(0);
    slab.push_back(series);
  }

  paint_test::Paint paint = record(chart);
  Log drawing = Squeezed(log);
  drawing.erase(drawing.begin(), drawing.begin() + 3);  // the before-chart hooks
  EXPECT_EQ(drawing, (Log{"a:before", "b:before", "c:before", "a:0", "b:0", "c:0", "a:1", "b:1", "c:1", "a:2",
                          "b:2", "b:3", "b:4", "a:after", "b:after", "c:after"}));
  // One clip around the whole slab (the 3D box outline).
  const Log drawn = DrawnAndClips(paint);
  ASSERT_EQ(drawn.size(), 12u);
  EXPECT_EQ(drawn.front(), "SelectClipPolygon");
  EXPECT_EQ(drawn.back(), "RemoveClipping");

  // The first series decides the direction: points from the last down, and the
  // series in reverse for a point it draws backward.
  slab[0]->pointsForward = false;
  slab[0]->backwardAt = 1;
  slab[2]->backwardAt = 0;  // not the first series: no say
  log.clear();
  record(chart);
  drawing = Squeezed(log);
  drawing.erase(drawing.begin(), drawing.begin() + 6);
  EXPECT_EQ(drawing, (Log{"b:4", "b:3", "a:2", "b:2", "c:1", "b:1", "a:1", "a:0", "b:0", "c:0", "a:after", "b:after",
                          "c:after"}));

  // In 2D nothing is shared: each series draws its own.
  chart.SetView3D(false);
  log.clear();
  record(chart);
  drawing = Squeezed(log);
  drawing.erase(drawing.begin(), drawing.begin() + 3);
  EXPECT_EQ(drawing.at(0), "a:before");
  EXPECT_EQ(drawing.at(4), "a:after");
  EXPECT_EQ(drawing.at(5), "b:before");
}

}  // namespace
}  // namespace tarvela
