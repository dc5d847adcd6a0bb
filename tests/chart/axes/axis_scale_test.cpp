#include "tarvela/chart/axes/axis_scale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "axis_test_rig.h"
#include "tarvela/chart/axes/axis.h"
#include "tarvela/chart/axes/calendar_steps.h"

namespace tarvela {
namespace {

using test::AxisRig;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TAxisScale ScaleOf(double minimum, double maximum, int startPixel, int endPixel) {
  TAxisScale scale;
  scale.minimum = minimum;
  scale.maximum = maximum;
  UpdateRange(scale);
  SetPixelSpan(scale, startPixel, endPixel);
  return scale;
}

// [SECTION] Pixel span and scale

TEST(AxisScale, LayoutTakesThePlotAndThePositions) {
  AxisRig rig;
  TChartAxis& bottom = rig.chart.BottomAxis();
  TChartAxis& left = rig.chart.LeftAxis();
  bottom.LayoutPixels();
  left.LayoutPixels();
  EXPECT_EQ(bottom.StartPixel(), 10);
  EXPECT_EQ(bottom.EndPixel(), 510);
  EXPECT_EQ(bottom.AxisLength(), 500);
  EXPECT_EQ(bottom.CenterPixel(), 260);
  EXPECT_EQ(left.StartPixel(), 20);
  EXPECT_EQ(left.EndPixel(), 270);
  EXPECT_EQ(left.CenterPixel(), 145);
  bottom.SetStartPosition(20);
  bottom.SetEndPosition(60.25);
  bottom.LayoutPixels();
  EXPECT_EQ(bottom.StartPixel(), 10 + 100);
  EXPECT_EQ(bottom.EndPixel(), 10 + 301);
  EXPECT_EQ(bottom.AxisLength(), 201);
  EXPECT_EQ(bottom.CenterPixel(), 210);
  // A centre of an odd sum truncates toward zero.
  EXPECT_EQ(ScaleOf(0, 1, -7, 0).centerPixel, -3);
}

TEST(AxisScale, ZeroRangeMapsEveryValueToCenter) {
  AxisRig rig;
  TChartAxis& bottom = rig.chart.BottomAxis();
  TChartAxis& left = rig.chart.LeftAxis();
  AxisRig::Refresh(bottom);
  AxisRig::Refresh(left);
  // No series: both limits 0.
  EXPECT_EQ(bottom.ScaleMinimum(), 0);
  EXPECT_EQ(bottom.ScaleMaximum(), 0);
  EXPECT_EQ(bottom.ScaleRange(), 0);
  for (double v : {-1e300, -3.0, 0.0, 42.0, kInf, kNaN}) {
    EXPECT_EQ(bottom.ValueToPixel(v), bottom.CenterPixel()) << v;
    EXPECT_EQ(left.ValueToPixel(v), left.CenterPixel()) << v;
  }
  left.SetLogarithmic(true);
  EXPECT_EQ(left.ValueToPixel(10), left.CenterPixel());
  EXPECT_EQ(DepthValueToPixel(ScaleOf(3, 3, 0, 100), 3, false, 45), 22);
}

TEST(AxisScale, LinearMappingCountsFromTheFarEndWhereItShould) {
  AxisRig rig;
  TChartAxis& bottom = rig.chart.BottomAxis();
  TChartAxis& left = rig.chart.LeftAxis();
  AxisRig::Lay(bottom, 0, 100);
  AxisRig::Lay(left, 0, 100);
  EXPECT_EQ(bottom.ValueToPixel(25), 135);
  EXPECT_EQ(bottom.ValueToPixelY(25), 510 - 125);
  EXPECT_EQ(left.ValueToPixel(25), 270 - 62);  // Round(62.5) is 62
  EXPECT_EQ(left.ValueToPixel(100), 20);
  bottom.SetInverted(true);
  left.SetInverted(true);
  EXPECT_EQ(bottom.ValueToPixel(25), 510 - 125);
  EXPECT_EQ(left.ValueToPixel(25), 20 + 62);
  EXPECT_EQ(left.ValueToPixel(100), 270);
  // Far outside the scale still maps while the offset fits in 32 bits.
  EXPECT_EQ(bottom.ValueToPixel(-1000), 510 + 5000);
}

TEST(AxisScale, PixelToValueUndoesTheMappingInEveryDirection) {
  AxisRig rig;
  for (TChartAxis* axis : {&rig.chart.BottomAxis(), &rig.chart.LeftAxis()}) {
    for (bool inverted : {false, true}) {
      axis->SetInverted(inverted);
      AxisRig::Lay(*axis, -20, 30);
      for (double v : {-20.0, -7.0, 0.0, 12.0, 30.0})
        EXPECT_NEAR(axis->PixelToValue(axis->ValueToPixel(v)), v, 0.1) << axis->IsHorizontal() << inverted;
      EXPECT_DOUBLE_EQ(axis->PixelToValue(axis->StartPixel()),
                       axis->IsHorizontal() != inverted ? axis->ScaleMinimum() : axis->ScaleMaximum());
    }
  }
  EXPECT_EQ(LinearPixelToValue(ScaleOf(0, 10, 5, 5), 5, true, false), 0);  // no span: 0
}

TEST(AxisScale, OffsetsBeyondThirtyTwoBitsGoToTheCenter) {
  const TAxisScale scale = ScaleOf(0, 1e-300, 0, 400);
  EXPECT_EQ(LinearValueToPixel(scale, 1, false), 200);
  EXPECT_EQ(LinearValueToPixel(scale, -1, true), 200);
  // Just inside the limit the pixel is computed (and held at the int limits).
  const TAxisScale wide = ScaleOf(0, 1, 0, 1);
  EXPECT_EQ(LinearValueToPixel(wide, 2147483646, false), 2147483646);
  EXPECT_EQ(LinearValueToPixel(ScaleOf(0, 1, 1000, 1001), 2147483646, false), std::numeric_limits<int>::max());
  EXPECT_EQ(LinearValueToPixel(wide, 2147483647, false), 0);  // centre of 0..1
}

TEST(AxisScale, LogarithmicMappingWithAZeroMinimum) {
  // ln 0 counts as 0: the value 1 lies at the minimum's end.
  const TAxisScale scale = ScaleOf(0, 100, 0, 200);
  EXPECT_EQ(LogarithmicValueToPixel(scale, 1, true, false), 0);
  EXPECT_EQ(LogarithmicValueToPixel(scale, 1, false, false), 200);
  EXPECT_EQ(LogarithmicValueToPixel(scale, 10, true, false), 100);
  EXPECT_EQ(LogarithmicValueToPixel(scale, 100, true, false), 200);
  EXPECT_EQ(LogarithmicValueToPixel(scale, 10, true, true), 100);
  EXPECT_EQ(LogarithmicValueToPixel(scale, 100, true, true), 0);
  EXPECT_EQ(LogarithmicValueToPixel(scale, 100, false, true), 200);
  // Values that have no logarithm go to the end of the small values.
  for (double v : {0.0, -5.0, -kInf}) {
    EXPECT_EQ(LogarithmicValueToPixel(scale, v, true, false), 0);
    EXPECT_EQ(LogarithmicValueToPixel(scale, v, true, true), 200);
    EXPECT_EQ(LogarithmicValueToPixel(scale, v, false, false), 200);
    EXPECT_EQ(LogarithmicValueToPixel(scale, v, false, true), 0);
  }
  EXPECT_EQ(LogarithmicValueToPixel(ScaleOf(-5, 1, 0, 200), 10, true, false), 100);  // both logs 0
}

TEST(AxisScale, LogarithmicPixelToValueHitsTheLimitsExactly) {
  const TAxisScale scale = ScaleOf(0, 100, 0, 200);
  EXPECT_EQ(LogarithmicPixelToValue(scale, 0, true, false), 0);
  EXPECT_EQ(LogarithmicPixelToValue(scale, 200, true, false), 100);
  EXPECT_EQ(LogarithmicPixelToValue(scale, 0, false, false), 100);
  EXPECT_EQ(LogarithmicPixelToValue(scale, 0, true, true), 100);
  EXPECT_EQ(LogarithmicPixelToValue(scale, 200, false, true), 100);
  EXPECT_NEAR(LogarithmicPixelToValue(scale, 100, true, false), 10, 1e-9);
  EXPECT_NEAR(LogarithmicPixelToValue(scale, 100, false, false), 10, 1e-9);
  EXPECT_NEAR(LogarithmicPixelToValue(scale, 100, true, true), 10, 1e-9);
  EXPECT_NEAR(LogarithmicPixelToValue(scale, 50, true, false), std::pow(100, 0.25), 1e-9);
  EXPECT_NEAR(LogarithmicPixelToValue(scale, 50, false, false), std::pow(100, 0.75), 1e-9);
  EXPECT_EQ(LogarithmicPixelToValue(ScaleOf(2, 2, 0, 200), 50, true, false), 2);
}

TEST(AxisScale, DepthCountsFromTheFrontUnlessInverted) {
  AxisRig rig;
  const TAxisScale slots = ScaleOf(-0.5, 21.5, 0, 0);
  EXPECT_EQ(DepthValueToPixel(slots, 10.5, false, 44), 22);
  EXPECT_EQ(DepthValueToPixel(slots, -0.5, false, 44), 0);
  EXPECT_EQ(DepthValueToPixel(slots, 21.5, false, 44), 44);
  EXPECT_EQ(DepthValueToPixel(slots, 21.5, true, 44), 0);
  EXPECT_EQ(DepthValueToPixel(slots, kNaN, false, 44), 22);
  // Before any layout the chart's box has no depth.
  TChartDepthAxis& depth = rig.chart.DepthAxis();
  AxisRig::Lay(depth, 0, 10);
  EXPECT_EQ(depth.ValueToPixel(7), 0);
  EXPECT_EQ(depth.DepthToPixel(7), 0);
}

// [SECTION] Margins

TEST(AxisScale, LogarithmicMarginsKeepTheEndsInsideToo) {
  const TAxisScale scale = ScaleOf(1, 1000, 0, 300);
  const TAxisScale widened = WidenForPixelMargins(scale, 30, 30, true, false, true);
  EXPECT_EQ(LogarithmicValueToPixel(widened, 1, true, false), 30);
  EXPECT_EQ(LogarithmicValueToPixel(widened, 1000, true, false), 270);
  EXPECT_EQ(widened.startPixel, 0);
  EXPECT_EQ(widened.endPixel, 300);
  // No margins: the scale as it was, exactly at the ends.
  for (bool logarithmic : {false, true}) {
    const TAxisScale same = WidenForPixelMargins(scale, 0, 0, false, false, logarithmic);
    EXPECT_DOUBLE_EQ(same.minimum, 1);
    EXPECT_DOUBLE_EQ(same.maximum, 1000);
  }
}

// [SECTION] Label steps

TEST(AxisLabelStep, NextDecimalStepFollowsOneTwoFive) {
  EXPECT_EQ(NextDecimalStep(1), 2);
  EXPECT_EQ(NextDecimalStep(2), 5);
  EXPECT_EQ(NextDecimalStep(5), 10);
  EXPECT_EQ(NextDecimalStep(10), 20);
  EXPECT_EQ(NextDecimalStep(50), 100);
  EXPECT_EQ(NextDecimalStep(3), 5);
  EXPECT_DOUBLE_EQ(NextDecimalStep(0.1), 0.2);
  EXPECT_DOUBLE_EQ(NextDecimalStep(0.5), 1);
  EXPECT_NEAR(NextDecimalStep(2e-12) / 5e-12, 1, 1e-12);
  EXPECT_NEAR(NextDecimalStep(1e-12) / 2e-12, 1, 1e-12);
  EXPECT_NEAR(NextDecimalStep(1e-297) / 2e-297, 1, 1e-12);
  EXPECT_NEAR(NextDecimalStep(2e300) / 5e300, 1, 1e-12);
}

// A step that the decimal scaling rounds to just below 2 (or 5, or 1) must still move
// on, or the label loop would ask for the same step for ever.
TEST(AxisLabelStep, NextDecimalStepAlwaysGrows) {
  for (double start : {1e-12, 1e-300, 3e-7, 0.7, 1.0, 7.0, 1e15, 2e-12, 5e-12, 2e-200, 1e-320, 1.999977734365366e-320,
                       std::numeric_limits<double>::denorm_min()}) {
    double step = start;
    for (int i = 0; i < 2000 && std::isfinite(step); ++i) {
      const double next = NextDecimalStep(step);
      ASSERT_GT(next, step) << "from " << start << " at " << step;
      step = next;
    }
  }
}

TEST(AxisLabelStep, NextDecimalStepOfNoPositiveFiniteStepIsItself) {
  EXPECT_EQ(NextDecimalStep(0), 0);
  EXPECT_EQ(NextDecimalStep(-3), -3);
  EXPECT_EQ(NextDecimalStep(kInf), kInf);
  EXPECT_EQ(NextDecimalStep(-kInf), -kInf);
  EXPECT_TRUE(std::isnan(NextDecimalStep(kNaN)));
}

TEST(AxisLabelStep, MaxLabelCountAddsTheSeparationToTheSize) {
  EXPECT_EQ(MaxLabelCount(250, 13, 10), 18);  // 13 + Round(1.3) = 14; Round(17.86)
  EXPECT_EQ(MaxLabelCount(250, 13, 0), 19);
  EXPECT_EQ(MaxLabelCount(250, 0, 10), 1);
  EXPECT_EQ(MaxLabelCount(250, 20, 50), 8);  // 30 a label; Round(8.33)
}

TEST(AxisLabelStep, VerticalAxisMeasuresLabelHeightsOnTheCanvas) {
  AxisRig rig;
  TChartAxis& left = rig.chart.LeftAxis();
  rig.chart.ApplyChartFont(left.LabelsFont());
  ASSERT_EQ(rig.chart.Canvas().LineHeight(), 13);
  AxisRig::Lay(left, 0, 1);
  ASSERT_EQ(left.AxisLength(), 250);
  EXPECT_EQ(left.LabelStep(), 1);  // 18 labels fit; the step starts at 1 and stays
  AxisRig::Lay(left, 0, 0.99);
  EXPECT_NEAR(left.LabelStep(), 0.1, 1e-15);  // 0.05 would give 20 labels
}

TEST(AxisLabelStep, HorizontalAxisMeasuresTheWiderLimitLabel) {
  AxisRig rig({0, 0, 120, 100});
  TChartAxis& bottom = rig.chart.BottomAxis();
  rig.chart.ApplyChartFont(bottom.LabelsFont());
  AxisRig::Lay(bottom, 0, 1000);
  // "1,000": 30 pixels, 33 with the separation: Round(120 / 33) = 4 labels; 200 gives 5,
  // 500 gives 2.
  EXPECT_EQ(bottom.LabelStep(), 500);
  // Upright labels take a line height each: 13 + 1 = 14, Round(120 / 14) = 9 labels.
  bottom.SetLabelsAngle(90);
  EXPECT_EQ(bottom.LabelStep(), 200);
  AxisRig::Lay(bottom, 0, 80);
  EXPECT_EQ(bottom.LabelStep(), 10);
}

TEST(AxisLabelStep, StepClimbsFromOneOrTheIncrement) {
  AxisRig rig;
  TChartAxis& left = rig.chart.LeftAxis();
  AxisRig::Lay(left, 0, 100);
  EXPECT_EQ(left.StepForLabelCount(18), 10);
  left.SetIncrement(3);
  EXPECT_EQ(left.StepForLabelCount(18), 10);  // 3, then 5 (20 labels), then 10
  EXPECT_EQ(left.StepForLabelCount(40), 3);
  left.SetIncrement(0);
  AxisRig::Lay(left, -5, 5);
  EXPECT_EQ(left.StepForLabelCount(18), 1);  // never below 1 on a range of 1 or more
  EXPECT_EQ(left.StepForLabelCount(0), 1e-12);
  EXPECT_EQ(left.StepForLabelCount(-3), 1e-12);
  // Without a separation the step does not climb.
  left.SetLabelsSeparation(0);
  AxisRig::Lay(left, 0, 1000);
  EXPECT_EQ(left.StepForLabelCount(3), 1);
  AxisRig::Lay(left, 0, 0.5);
  EXPECT_EQ(left.StepForLabelCount(3), 1e-12);
  left.SetIncrement(0.25);
  EXPECT_EQ(left.StepForLabelCount(3), 0.25);
}

TEST(AxisLabelStep, DateTimeStepsClimbTheCalendar) {
  AxisRig rig;
  TChartAxis& bottom = rig.chart.BottomAxis();
  bottom.SetDateTimeScale(true);
  AxisRig::Lay(bottom, 40000, 40010);
  EXPECT_EQ(bottom.StepForLabelCount(4), 3);   // from one second up to 3 days: Round(3.33)
  EXPECT_EQ(bottom.StepForLabelCount(0), kOneSecond);
  bottom.SetLabelsSeparation(0);                 // does not stop the calendar climb
  EXPECT_EQ(bottom.StepForLabelCount(4), 3);
  // Beyond a year the step doubles; a million steps is where the climb starts.
  AxisRig::Lay(bottom, 0, 100000);
  EXPECT_EQ(bottom.StepForLabelCount(10), 365 * 32);
  // The increment counts, but never below one second.
  TLabelStepRequest request{.range = 10, .increment = 7, .separation = 10, .dateTime = true, .maxLabels = 4};
  EXPECT_EQ(LabelIncrement(request), 7);
  request.increment = 1e-9;
  request.range = 1e-6;
  EXPECT_EQ(LabelIncrement(request), kOneSecond);
}

// [SECTION] Values that are not finite

TEST(AxisNonFinite, InfiniteOrNaNRangeMeansNoLabels) {
  for (double range : {kInf, -kInf, kNaN}) {
    for (bool dateTime : {false, true}) {
      for (int maxLabels : {-1, 0, 18}) {
        TLabelStepRequest request{.range = range, .separation = 10, .dateTime = dateTime, .maxLabels = maxLabels};
        EXPECT_EQ(LabelIncrement(request), 0) << range << dateTime << maxLabels;
      }
    }
  }
}

TEST(AxisNonFinite, StepThatOverflowsMeansNoLabels) {
  TLabelStepRequest request{.range = 1.7e308, .separation = 10, .maxLabels = 1};
  EXPECT_EQ(LabelIncrement(request), 0);
  request.maxLabels = 18;
  const double step = LabelIncrement(request);
  EXPECT_TRUE(std::isfinite(step));
  EXPECT_LE(std::round(1.7e308 / step), 18);
  request.increment = kInf;  // an accepted Increment that no scale can use
  EXPECT_EQ(LabelIncrement(request), 0);
  request = {.range = 1.7e308, .dateTime = true, .maxLabels = 1};
  const double dateStep = LabelIncrement(request);
  EXPECT_TRUE(dateStep == 0 || std::round(1.7e308 / dateStep) <= 1);
}

TEST(AxisNonFinite, NegativeHugeRangesEndAtOnce) {
  TLabelStepRequest request{.range = -1e300, .separation = 10, .maxLabels = 5};
  EXPECT_GT(LabelIncrement(request), 0);
  request.dateTime = true;
  EXPECT_EQ(LabelIncrement(request), kOneSecond);
}

TEST(AxisNonFinite, SeriesWithInfiniteValuesStillScaleAndMap) {
  AxisRig rig;
  TLineSeries* series = rig.Line();
  series->AddPointXY(0, 1);
  series->AddPointXY(1, kInf);
  TChartAxis& left = rig.chart.LeftAxis();
  AxisRig::Refresh(left);
  EXPECT_EQ(left.ScaleMinimum(), 1);
  EXPECT_EQ(left.ScaleMaximum(), kInf);
  rig.chart.ApplyChartFont(left.LabelsFont());
  EXPECT_EQ(left.LabelStep(), 0);
  // 4 × 250 / infinity is an offset of 0: the mapping itself still holds.
  EXPECT_EQ(left.ValueToPixel(5), left.EndPixel());
  EXPECT_NO_THROW(left.PixelToValue(100));
  // The margins turn the limits into infinity and not-a-number: everything to the centre.
  left.ApplyPixelMargins({0, 4, 0, 4});
  EXPECT_TRUE(std::isnan(left.ScaleRange()));
  EXPECT_EQ(left.ValueToPixel(5), left.CenterPixel());
  EXPECT_EQ(left.LabelStep(), 0);
  left.SetLogarithmic(true);
  EXPECT_EQ(left.ScaleMaximum(), kInf);
  EXPECT_EQ(left.ValueToPixel(5), left.EndPixel());
  EXPECT_EQ(left.LabelStep(), 0);
}

TEST(AxisNonFinite, OverflowingRangeOfFiniteValuesMeansNoLabels) {
  // Two series, so that each one's own statistics stay finite.
  AxisRig rig;
  rig.Line()->AddPointXY(-1.7e308, -1.7e308);
  rig.Line()->AddPointXY(1.7e308, 1.7e308);
  for (TChartAxis* axis : {&rig.chart.BottomAxis(), &rig.chart.LeftAxis()}) {
    AxisRig::Refresh(*axis);
    EXPECT_EQ(axis->ScaleRange(), kInf);
    rig.chart.ApplyChartFont(axis->LabelsFont());
    EXPECT_EQ(axis->LabelStep(), 0);
    axis->SetDateTimeScale(true);
    EXPECT_EQ(axis->LabelStep(), 0);
    // 1.7e308 × length / infinity: an offset of 0 from the minimum's end.
    EXPECT_EQ(axis->ValueToPixel(0), axis->IsHorizontal() ? axis->StartPixel() : axis->EndPixel());
  }
}

TEST(AxisNonFinite, NaNValuesNeitherLoopNorFail) {
  AxisRig rig;
  TLineSeries* series = rig.Line();
  series->AddPointXY(0, kNaN);
  series->AddPointXY(1, 2);
  TChartAxis& left = rig.chart.LeftAxis();
  AxisRig::Refresh(left);
  rig.chart.ApplyChartFont(left.LabelsFont());
  EXPECT_NO_THROW(left.LabelStep());
  EXPECT_NO_THROW(left.ApplyPixelMargins({0, 3, 0, 3}));
  EXPECT_NO_THROW(left.ValueToPixel(1));
  EXPECT_NO_THROW(left.PixelToValue(50));
  EXPECT_EQ(LinearValueToPixel(ScaleOf(kNaN, 1, 0, 100), 0.5, false), 50);
  EXPECT_EQ(LogarithmicValueToPixel(ScaleOf(1, kNaN, 0, 100), 0.5, false, false), 50);
}

}  // namespace
}  // namespace tarvela
