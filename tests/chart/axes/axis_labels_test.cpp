// The text of axis labels, the label style in force, and which labels each pass
// produces (in what order, at which pixels), including scales that are not finite.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "axis_test_rig.h"
#include "tarvela/chart/axes/axis.h"
#include "tarvela/runtime/date_time.h"
#include "tarvela/runtime/exceptions.h"

namespace tarvela {
namespace {

using test::AxisRig;
using test::TextStrings;
using Texts = std::vector<std::string>;
using Pixels = std::vector<int>;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A series that places its points in depth.
class DepthSeries : public TLineSeries {
 public:
  using TLineSeries::TLineSeries;
  bool HasZValues() const override { return true; }
};

// [SECTION] Label text

TEST(AxisLabelText, DefaultPatternWithDotAndCommaSeparators) {
  AxisRig rig;
  TChartAxis& left = rig.chart.LeftAxis();
  const std::vector<std::pair<double, std::string>> dot = {
      {1234.5, "1,234.5"}, {0.25, "0.25"}, {2, "2"}, {-0.5, "-0.5"}, {0.0004, "0"}, {1.23456, "1.235"}};
  for (const auto& [value, text] : dot) EXPECT_EQ(left.FormatLabel(value), text) << value;

  // The locale is asked at every conversion.
  rig.chart.SetLocaleProvider(LocaleSettings::Comma);
  const std::vector<std::pair<double, std::string>> comma = {
      {1234.5, "1.234,5"}, {0.25, "0,25"}, {2, "2"}, {-0.5, "-0,5"}, {0.0004, "0"}, {1.23456, "1,235"}};
  for (const auto& [value, text] : comma) EXPECT_EQ(left.FormatLabel(value), text) << value;

  left.SetAxisValuesFormat(std::string(225, '0'));
  try {
    left.FormatLabel(1);
    ADD_FAILURE() << "no error for a long pattern";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Format string too long");
  }
}

TEST(AxisLabelText, DateTimeLabelsUseTheirPatternOrTheLocaleDateOrTime) {
  AxisRig rig;
  TChartAxis& bottom = rig.chart.BottomAxis();
  bottom.SetDateTimeScale(true);
  const TDateTime noon = EncodeDate(2001, 3, 9) + 0.5;
  AxisRig::Lay(bottom, noon, noon + 10);  // more than a day: the short date
  EXPECT_EQ(bottom.FormatLabel(noon), "09/03/2001");
  EXPECT_EQ(bottom.FormatLabel(-1), "");  // before the calendar's day 0
  AxisRig::Lay(bottom, noon, noon + 0.5);  // within a day: the short time
  EXPECT_EQ(bottom.FormatLabel(noon), "12:00");
  rig.chart.SetLocaleProvider(LocaleSettings::Comma);
  AxisRig::Lay(bottom, noon, noon + 10);
  EXPECT_EQ(bottom.FormatLabel(noon), "09.03.2001");
  bottom.SetDateTimeFormat("yyyy/mm/dd hh:nn");
  EXPECT_EQ(bottom.FormatLabel(noon), "2001.03.09 12:00");
  EXPECT_EQ(bottom.FormatLabel(-0.5), "");
}

TEST(AxisLabelText, TheEventMayChangeTheTextThenBlanksBreakLines) {
  AxisRig rig;
  TChartAxis& left = rig.chart.LeftAxis();
  std::vector<TCustomChartAxis*> senders;
  rig.chart.OnGetAxisLabel = [&](TCustomChartAxis* sender, TChartSeries* series, int index, std::string& text) {
    senders.push_back(sender);
    EXPECT_EQ(series, nullptr);
    EXPECT_EQ(index, -1);
    text = "value " + text + " m";
  };
  EXPECT_EQ(left.FormatLabel(1500), "value 1,500 m");
  left.SetLabelsMultiLine(true);
  EXPECT_EQ(left.FormatLabel(2), "value\r2\rm");
  EXPECT_EQ(senders, (std::vector<TCustomChartAxis*>{&left, &left}));
}

// [SECTION] Label style

TEST(AxisLabelStyle, AutomaticStyleFollowsTheSeriesOnTheAxis) {
  AxisRig rig;
  TChartAxis& bottom = rig.chart.BottomAxis();
  TChartAxis& left = rig.chart.LeftAxis();
  EXPECT_EQ(bottom.ResolveLabelStyle(), talNone);  // nothing drawn on it
  TLineSeries* plain = rig.Line();
  plain->AddPointXY(1, 1);
  EXPECT_EQ(bottom.ResolveLabelStyle(), talValue);
  TLineSeries* named = rig.Line();
  named->AddPointXY(1, 1, "January");
  // Text labels name the points along X, the independent values.
  EXPECT_EQ(bottom.ResolveLabelStyle(), talText);
  EXPECT_EQ(left.ResolveLabelStyle(), talValue);
  named->SetActive(false);
  EXPECT_EQ(bottom.ResolveLabelStyle(), talValue);
  named->SetActive(true);
  // Only the first label entry counts.
  named->ClearPoints();
  named->AddPointXY(0, 0);
  named->AddPointXY(1, 1, "February");
  EXPECT_EQ(bottom.ResolveLabelStyle(), talValue);
  EXPECT_EQ(rig.chart.TopAxis().ResolveLabelStyle(), talNone);
  bottom.SetLabelStyle(talMark);
  EXPECT_EQ(bottom.ResolveLabelStyle(), talMark);
}

TEST(AxisLabelStyle, DepthAxisShowsSeriesTitlesUnlessASeriesSpreadsInDepth) {
  AxisRig rig;
  TChartDepthAxis& depth = rig.chart.DepthAxis();
  EXPECT_EQ(depth.ResolveLabelStyle(), talText);
  rig.Line();
  EXPECT_EQ(depth.ResolveLabelStyle(), talText);
  auto* spread = new DepthSeries(&rig.form);
  spread->SetParentChart(&rig.chart);
  EXPECT_EQ(depth.ResolveLabelStyle(), talValue);
  spread->SetActive(false);
  EXPECT_EQ(depth.ResolveLabelStyle(), talText);
}

// [SECTION] Value labels

struct LabelRun {
  Texts texts;
  Pixels ticks;
};

LabelRun DrawLabels(AxisRig& rig, TCustomChartAxis& axis) {
  rig.surface.Clear();
  axis.DrawAxis(true);
  return {TextStrings(rig.surface), axis.TickPositions()};
}

TEST(AxisValueLabels, LabelsRunFromTheTopOfTheScaleDown) {
  AxisRig rig;
  TChartAxis& left = rig.chart.LeftAxis();
  left.SetLabelStyle(talValue);
  left.SetIncrement(2);
  AxisRig::Lay(left, 0, 10);
  const LabelRun run = DrawLabels(rig, left);
  EXPECT_EQ(run.texts, (Texts{"10", "8", "6", "4", "2", "0"}));
  EXPECT_EQ(run.ticks, (Pixels{20, 70, 120, 170, 220, 270}));
  EXPECT_EQ(left.CalendarIndex(), kNoCalendarStep);

  // The ends of the axis are dropped unless LabelsOnAxis.
  left.SetLabelsOnAxis(false);
  EXPECT_EQ(DrawLabels(rig, left).texts, (Texts{"8", "6", "4", "2"}));
  EXPECT_EQ(left.TickPositions(), (Pixels{70, 120, 170, 220}));
}

TEST(AxisValueLabels, TheLowestLabelFollowsTheLimitRule) {
  AxisRig rig;
  TChartAxis& left = rig.chart.LeftAxis();
  left.SetLabelStyle(talValue);
  left.SetIncrement(1);
  // (-5 - 1e-12) / 1.000000000001 lies above -5: no label there.
  AxisRig::Lay(left, -5, 5);
  EXPECT_EQ(DrawLabels(rig, left).texts, (Texts{"5", "4", "3", "2", "1", "0", "-1", "-2", "-3", "-4"}));
  // 4.999999999994 lies below 5.
  AxisRig::Lay(left, 5, 15);
  const Texts fromFive = DrawLabels(rig, left).texts;
  ASSERT_EQ(fromFive.size(), 11u);
  EXPECT_EQ(fromFive.back(), "5");
  AxisRig::Lay(left, 0, 3);
  EXPECT_EQ(DrawLabels(rig, left).texts, (Texts{"3", "2", "1", "0"}));
}

TEST(AxisValueLabels, FirstLabelIsTheMaximumUnlessRounded) {
  AxisRig rig;
  TChartAxis& left = rig.chart.LeftAxis();
  left.SetLabelStyle(talValue);
  left.SetIncrement(2);
  AxisRig::Lay(left, 0.5, 7.5);
  EXPECT_EQ(DrawLabels(rig, left).texts, (Texts{"6", "4", "2"}));
  left.SetRoundFirstLabel(false);
  EXPECT_EQ(DrawLabels(rig, left).texts, (Texts{"7.5", "5.5", "3.5", "1.5"}));
}

TEST(AxisValueLabels, TenThousandStepsOrMoreGiveNoLabelsTicksOrGrid) {
  AxisRig rig;
  TChartAxis& left = rig.chart.LeftAxis();
  left.SetLabelStyle(talValue);
  left.SetLabelsSeparation(0);  // the increment stays as asked
  left.SetIncrement(0.0005);
  AxisRig::Lay(left, 0, 10);
  const LabelRun run = DrawLabels(rig, left);
  EXPECT_TRUE(run.texts.empty());
  EXPECT_TRUE(run.ticks.empty());
  EXPECT_EQ(rig.Of("LineTo").size(), 1u);  // the axis line alone
}

TEST(AxisValueLabels, NoLabelsForTalNoneOrWithoutLabelsButTicksStillWithout) {
  AxisRig rig;
  TChartAxis& left = rig.chart.LeftAxis();
  AxisRig::Lay(left, 0, 10);
  EXPECT_TRUE(DrawLabels(rig, left).ticks.empty());  // no series: talNone
  left.SetLabelStyle(talValue);
  left.SetLabels(false);
  left.SetTickOnLabelsOnly(false);
  const LabelRun run = DrawLabels(rig, left);
  EXPECT_TRUE(run.texts.empty());
  EXPECT_EQ(run.ticks.size(), 11u);
}

TEST(AxisValueLabels, DateTimeLabelsStepByCalendarMonths) {
  AxisRig rig;
  TLineSeries* series = rig.Line();
  series->XValues().SetDateTime(true);
  series->AddPointXY(EncodeDate(2001, 1, 1), 1);
  series->AddPointXY(EncodeDate(2001, 6, 15), 2);
  TChartAxis& bottom = rig.chart.BottomAxis();
  AxisRig::Refresh(bottom);
  bottom.SetIncrement(30);
  const LabelRun run = DrawLabels(rig, bottom);
  EXPECT_TRUE(bottom.DateTimeScale());
  EXPECT_EQ(bottom.CalendarIndex(), kMonthStep);
  EXPECT_EQ(run.texts,
            (Texts{"01/06/2001", "01/05/2001", "01/04/2001", "01/03/2001", "01/02/2001", "01/01/2001"}));
  // Without exact stepping: 30 days down from the maximum.
  bottom.SetExactDateTime(false);
  bottom.SetRoundFirstLabel(false);
  const Texts plain = DrawLabels(rig, bottom).texts;
  ASSERT_GE(plain.size(), 2u);
  EXPECT_EQ(plain[0], "15/06/2001");
  EXPECT_EQ(plain[1], "16/05/2001");
}

// [SECTION] Logarithmic labels

TEST(AxisLogarithmicLabels, PowersOfTheBaseFromTheRoundedMinimumUp) {
  AxisRig rig;
  TChartAxis& left = rig.chart.LeftAxis();
  left.SetLabelStyle(talValue);
  AxisRig::Lay(left, 0, 1000);
  left.SetLogarithmic(true);
  const LabelRun run = DrawLabels(rig, left);
  EXPECT_EQ(run.texts, (Texts{"0.1", "1", "10", "100", "1,000"}));
  // A minimum of 0 becomes 0.1 for the rest of the paint, so 0.1 is at the bottom.
  EXPECT_EQ(left.ScaleMinimum(), 0.1);
  ASSERT_EQ(run.ticks.size(), 5u);
  EXPECT_EQ(run.ticks.front(), 270);
  EXPECT_EQ(run.ticks.back(), 20);

  // Round(log10 30) = 1: the first candidate 10 lies below the scale.
  AxisRig::Lay(left, 30, 1000);
  EXPECT_EQ(DrawLabels(rig, left).texts, (Texts{"100", "1,000"}));
  left.SetLogarithmicBase(2);
  AxisRig::Lay(left, 3, 20);
  EXPECT_EQ(DrawLabels(rig, left).texts, (Texts{"4", "8", "16"}));
}

// [SECTION] Custom labels

TEST(AxisCustomLabels, HandlerSuppliesValuesUntilOutsideTheScale) {
  AxisRig rig;
  TChartAxis& left = rig.chart.LeftAxis();
  left.SetLabelStyle(talValue);
  left.SetIncrement(2);
  AxisRig::Lay(left, 0, 10);
  std::vector<int> asked;
  const std::vector<double> values = {1, 2, 3, 10 + 2e-7};
  rig.chart.OnGetNextAxisLabel = [&](TCustomChartAxis* sender, int index, double& value, bool& stop) {
    EXPECT_EQ(sender, &left);
    if (index == 0) {
      EXPECT_EQ(value, 0);  // starts at ScaleMinimum, stop set
      EXPECT_TRUE(stop);
    }
    asked.push_back(index);
    value = values[static_cast<std::size_t>(index)];
    stop = false;
  };
  EXPECT_EQ(DrawLabels(rig, left).texts, (Texts{"1", "2", "3"}));
  EXPECT_EQ(asked, (std::vector<int>{0, 1, 2, 3}));

  // Stop at the first request: the ordinary labels.
  rig.chart.OnGetNextAxisLabel = [](TCustomChartAxis*, int, double&, bool& stop) { stop = true; };
  EXPECT_EQ(DrawLabels(rig, left).texts, (Texts{"10", "8", "6", "4", "2", "0"}));

  // A handler that never stops is asked 2000 times.
  int requests = 0;
  rig.chart.OnGetNextAxisLabel = [&](TCustomChartAxis*, int, double& value, bool& stop) {
    ++requests;
    value = 5;
    stop = false;
  };
  EXPECT_EQ(DrawLabels(rig, left).texts.size(), 2000u);
  EXPECT_EQ(requests, 2000);
}

// [SECTION] Series labels

TEST(AxisSeriesLabels, OverlappingLabelsAreSkippedEarlierIndexesWin) {
  AxisRig rig;
  TLineSeries* series = rig.Line();
  for (int i = 0; i <= 20; ++i) series->AddPointXY(i, i, "label");
  TChartAxis& bottom = rig.chart.BottomAxis();
  AxisRig::Lay(bottom, 0, 100);  // x = 10 + 5 i
  ASSERT_EQ(bottom.ResolveLabelStyle(), talText);
  bottom.DrawAxis(true);
  // 30 pixels a label: half of it plus 10 % apart (18) from the last drawn one.
  std::vector<int> drawnAt;
  for (const test::DrawnText& text : test::TextsOf(rig.surface)) drawnAt.push_back(text.at.x);
  EXPECT_EQ(drawnAt, (std::vector<int>{10, 45, 85}));
  EXPECT_EQ(bottom.TickPositions(), (Pixels{10, 45, 85}));

  // A tick for every candidate, drawn or skipped.
  bottom.SetTickOnLabelsOnly(false);
  EXPECT_EQ(DrawLabels(rig, bottom).ticks.size(), 21u);
  // Without separation every label is drawn, overlapping or not.
  bottom.SetLabelsSeparation(0);
  EXPECT_EQ(DrawLabels(rig, bottom).texts.size(), 21u);
}

TEST(AxisSeriesLabels, IndexesSpanEverySeriesVisibleRangeAndValuesMustLieOnTheScale) {
  AxisRig rig;
  TLineSeries* clipped = rig.Line();
  TLineSeries* whole = rig.Line();
  for (int i = 0; i < 10; ++i) {
    clipped->AddPointXY(i, i, std::string("c") + std::to_string(i));
    whole->AddPointXY(i, i, std::string("w") + std::to_string(i));
  }
  whole->SetClipToVisibleRange(false);
  TChartAxis& bottom = rig.chart.BottomAxis();
  AxisRig::Lay(bottom, 5, 9);  // clipped shows points 5..9, whole 0..9
  std::vector<int> asked;
  rig.chart.OnGetAxisLabel = [&](TCustomChartAxis*, TChartSeries* series, int index, std::string&) {
    if (series == nullptr) return;  // measuring value labels for the increment
    EXPECT_EQ(series, clipped);     // the first label series with an entry for index
    asked.push_back(index);
  };
  const LabelRun run = DrawLabels(rig, bottom);
  EXPECT_EQ(asked, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
  EXPECT_EQ(run.texts, (Texts{"c5", "c6", "c7", "c8", "c9"}));
}

TEST(AxisSeriesLabels, MarksTextsAsLabelsAndEmptyOnesStillGetTheirTicks) {
  AxisRig rig;
  TLineSeries* series = rig.Line();
  for (int i = 0; i < 4; ++i) series->AddPointXY(i * 10, i, "p");
  series->Marks().SetStyle(smsLabelValue);
  TChartAxis& bottom = rig.chart.BottomAxis();
  bottom.SetLabelStyle(talMark);
  AxisRig::Lay(bottom, 0, 100);
  LabelRun run = DrawLabels(rig, bottom);
  EXPECT_EQ(run.texts, (Texts{"p 0", "p 1", "p 2", "p 3"}));

  series->OnGetMarkText = [](TChartSeries*, int, std::string& text) { text.clear(); };
  run = DrawLabels(rig, bottom);
  EXPECT_TRUE(run.texts.empty());
  EXPECT_EQ(run.ticks, (Pixels{10, 60, 110, 160}));
}

// [SECTION] Depth labels

TEST(AxisDepthLabels, OneLegendTitlePerSlotTheFirstAtTheBack) {
  AxisRig rig;
  for (const char* title : {"first", "second", "third"}) rig.Line()->SetTitle(title);
  rig.chart.AssignDepthSlots();
  const int depth = rig.Project3D(20);  // three slots of 10 pixels
  ASSERT_EQ(depth, 30);
  TChartDepthAxis& axis = rig.chart.DepthAxis();
  AxisRig::Refresh(axis);  // -0.5 .. 2.5
  axis.SetLabelsPos(520);
  rig.chart.OnGetAxisLabel = [](TCustomChartAxis*, TChartSeries* series, int index, std::string& text) {
    EXPECT_EQ(series, nullptr);
    text += "#" + std::to_string(index);
  };
  axis.DrawAxis(true);
  EXPECT_EQ(axis.TickPositions(), (Pixels{25, 15, 5}));  // Round(30 × 2.5 / 3) ...
  const std::vector<test::DrawnText> texts = test::TextsOf(rig.surface);
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0].text, "first#0");
  EXPECT_EQ(texts[2].text, "third#2");
  // At the labels position along the floor's bottom edge, at the slot's depth.
  EXPECT_EQ(texts[0].at, (TPoint{520 + 25, 270 - 25}));
  EXPECT_EQ(texts[0].align, "left|top");
  // No active series: no labels.
  for (int i = 0; i < rig.chart.SeriesTotal(); ++i) rig.chart.SeriesAt(i)->SetActive(false);
  EXPECT_TRUE(DrawLabels(rig, axis).ticks.empty());
}

// [SECTION] Scales that are not finite

TEST(AxisNonFiniteLabels, EveryPassFinishesWithoutLabels) {
  AxisRig rig;
  TChartAxis& left = rig.chart.LeftAxis();
  left.SetLabelStyle(talValue);
  for (const auto& [low, high] : std::vector<std::pair<double, double>>{
           {-kInf, kInf}, {0, kInf}, {kNaN, kNaN}, {-1.7e308, 1.7e308}, {kNaN, 1}}) {
    AxisRig::Lay(left, low, high);
    EXPECT_NO_THROW(left.DrawAxis(true)) << low << " " << high;
    EXPECT_TRUE(left.TickPositions().empty()) << low << " " << high;
  }
  left.SetLogarithmic(true);
  AxisRig::Lay(left, 0, kInf);
  EXPECT_NO_THROW(left.DrawAxis(true));
  EXPECT_TRUE(left.TickPositions().empty());
  // Every power of ten of the double range: finite, and the pass ends at the top.
  AxisRig::Lay(left, 5e-324, 1.7e308);
  EXPECT_NO_THROW(left.DrawAxis(true));
  EXPECT_LE(left.TickPositions().size(), 633u);
}

TEST(AxisNonFiniteLabels, SeriesOfExtremeValuesPaintWithoutFailing) {
  AxisRig rig;
  TLineSeries* series = rig.Line();
  series->AddPointXY(0, 1.7e308);
  series->AddPointXY(1, -1.7e308);
  series->AddPointXY(2, 1.7e308);
  TChartAxis& left = rig.chart.LeftAxis();
  EXPECT_NO_THROW(AxisRig::Refresh(left));
  EXPECT_EQ(left.ScaleMaximum(), 1.7e308);
  EXPECT_EQ(left.ScaleMinimum(), -1.7e308);
  EXPECT_NO_THROW(left.DrawAxis(true));
  EXPECT_TRUE(left.TickPositions().empty());  // the range is infinite

  TLineSeries* odd = rig.Line();
  series->SetActive(false);
  odd->AddPointXY(0, kNaN);
  odd->AddPointXY(1, kInf);
  EXPECT_NO_THROW(AxisRig::Refresh(left));
  EXPECT_NO_THROW(left.DrawAxis(true));
  EXPECT_TRUE(left.TickPositions().empty());
}

TEST(AxisNonFiniteLabels, HugeFirstLabelIsNotRoundedThroughAnInteger) {
  AxisRig rig;
  TChartAxis& left = rig.chart.LeftAxis();
  left.SetLabelStyle(talValue);
  left.SetLabelsSeparation(0);
  left.SetIncrement(2);
  // Doubles near 1e20 lie 16384 apart: 8192 steps of 2, none of which moves a value.
  AxisRig::Lay(left, 1e20, 1e20 + 16384);
  ASSERT_EQ(left.ScaleRange(), 16384);
  EXPECT_NO_THROW(left.DrawAxis(true));
  EXPECT_EQ(left.TickPositions().size(), 1u);
}

}  // namespace
}  // namespace tarvela
