#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <memory>
#include <string>

#include "axis_test_rig.h"
#include "tarvela/chart/axes/axis.h"
#include "tarvela/chart/chart_registration.h"
#include "tarvela/runtime/date_time.h"
#include "tarvela/runtime/exceptions.h"
#include "tarvela/runtime/form_reader.h"
#include "tarvela/runtime/properties.h"

namespace tarvela {
namespace {

using test::AxisRig;
using test::RepaintCounter;

// The message of the exception of class E that action throws; "" when it throws none.
template <class E>
std::string FailureOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const E& e) {
    return e.what();
  }
  return "";
}

bool Stored(const TPersistent& object, const std::string& name) {
  const PropertyInfo* info = object.Properties().Find(name);
  if (info == nullptr) throw std::runtime_error("no property " + name);
  return IsStored(object, *info);
}

// [SECTION] The axes of a chart

TEST(ChartAxes, FiveAxesInTheirOrderWithTheirFixedAttributes) {
  TChart chart(nullptr);
  ASSERT_EQ(chart.AxisCount(), 5);
  EXPECT_EQ(&chart.Axes(0), &chart.BottomAxis());
  EXPECT_EQ(&chart.Axes(1), &chart.TopAxis());
  EXPECT_EQ(&chart.Axes(2), &chart.LeftAxis());
  EXPECT_EQ(&chart.Axes(3), &chart.RightAxis());
  EXPECT_EQ(&chart.Axes(4), &chart.DepthAxis());
  EXPECT_EQ(FailureOf<EListError>([&] { chart.Axes(5); }), "List index out of bounds (5)");
  struct Expected {
    bool horizontal, otherSide, depth;
    int titleAngle;
    bool visible;
  };
  const Expected expected[] = {{true, false, false, 0, true},
                               {true, true, false, 0, true},
                               {false, false, false, 90, true},
                               {false, true, false, 270, true},
                               {false, true, true, 0, false}};
  for (int i = 0; i < 5; ++i) {
    const TCustomChartAxis& axis = chart.Axes(i);
    EXPECT_EQ(axis.ParentChart(), &chart);
    EXPECT_EQ(axis.IsHorizontal(), expected[i].horizontal) << i;
    EXPECT_EQ(axis.IsOtherSide(), expected[i].otherSide) << i;
    EXPECT_EQ(axis.IsDepth(), expected[i].depth) << i;
    EXPECT_EQ(axis.DefaultTitleAngle(), expected[i].titleAngle) << i;
    EXPECT_EQ(axis.Title().Angle(), expected[i].titleAngle) << i;
    EXPECT_EQ(axis.Visible(), expected[i].visible) << i;
  }
  EXPECT_EQ(chart.BottomAxis().ClassName(), "TChartAxis");
  EXPECT_EQ(chart.DepthAxis().ClassName(), "TChartDepthAxis");
}

TEST(ChartAxes, SettingsStartAtTheirDefaults) {
  TChart chart(nullptr);
  const TChartAxis& a = chart.LeftAxis();
  EXPECT_TRUE(a.Automatic());
  EXPECT_TRUE(a.AutomaticMaximum());
  EXPECT_TRUE(a.AutomaticMinimum());
  EXPECT_EQ(a.Maximum(), 0);
  EXPECT_EQ(a.Minimum(), 0);
  EXPECT_EQ(a.Increment(), 0);
  EXPECT_FALSE(a.Logarithmic());
  EXPECT_EQ(a.LogarithmicBase(), 10);
  EXPECT_FALSE(a.Inverted());
  EXPECT_EQ(a.AxisValuesFormat(), "#,##0.###");
  EXPECT_EQ(a.DateTimeFormat(), "");
  EXPECT_TRUE(a.ExactDateTime());
  EXPECT_TRUE(a.RoundFirstLabel());
  EXPECT_EQ(a.LabelsSeparation(), 10);
  EXPECT_EQ(a.LabelStyle(), talAuto);
  EXPECT_TRUE(a.Labels());
  EXPECT_EQ(a.LabelsAngle(), 0);
  EXPECT_EQ(a.LabelsFont().Name(), "Arial");
  EXPECT_EQ(a.LabelsFont().Size(), 8);
  EXPECT_EQ(a.LabelsFont().Color(), clBlack);
  EXPECT_FALSE(a.LabelsMultiLine());
  EXPECT_TRUE(a.LabelsOnAxis());
  EXPECT_EQ(a.LabelsSize(), 0);
  EXPECT_EQ(a.TitleSize(), 0);
  EXPECT_EQ(a.Title().Caption(), "");
  EXPECT_EQ(a.TickLength(), 4);
  EXPECT_EQ(a.TickInnerLength(), 0);
  EXPECT_EQ(a.MinorTickLength(), 2);
  EXPECT_EQ(a.MinorTickCount(), 3);
  EXPECT_TRUE(a.TickOnLabelsOnly());
  EXPECT_FALSE(a.GridCentered());
  EXPECT_EQ(a.Axis().Width(), 2);
  for (const TChartPen* pen : {&a.Ticks(), &a.TicksInner(), &a.MinorTicks()}) {
    EXPECT_TRUE(pen->Visible());
    EXPECT_EQ(pen->Color(), 0x808080);
    EXPECT_EQ(pen->Style(), psSolid);
  }
  EXPECT_TRUE(a.Grid().Visible());
  EXPECT_EQ(a.Grid().Color(), 0x808080);
  EXPECT_EQ(a.Grid().Style(), psDot);
  EXPECT_FALSE(a.MinorGrid().Visible());
  EXPECT_EQ(a.StartPosition(), 0);
  EXPECT_EQ(a.EndPosition(), 100);
  EXPECT_EQ(a.PositionPercent(), 0);
  EXPECT_EQ(chart.MaxPointsPerPage(), 0);
  EXPECT_EQ(chart.Page(), 1);
  EXPECT_TRUE(chart.ScaleLastPage());
}

TEST(ChartAxes, DepthAxisPublishesNoPlacement) {
  TChart chart(nullptr);
  for (const char* name : {"GridCentered", "StartPosition", "EndPosition", "PositionPercent"}) {
    EXPECT_EQ(chart.DepthAxis().Properties().Find(name), nullptr) << name;
    EXPECT_NE(chart.BottomAxis().Properties().Find(name), nullptr) << name;
  }
  EXPECT_NE(chart.DepthAxis().Properties().Find("Logarithmic"), nullptr);
}

// [SECTION] Setters

TEST(AxisSetters, EveryCheckFailsWithItsMessageAndKeepsTheOldValue) {
  TChart chart(nullptr);
  TChartAxis& axis = chart.LeftAxis();
  axis.SetMaximum(10);
  EXPECT_EQ(FailureOf<AxisException>([&] { axis.SetMinimum(11); }), "Axis Minimum Value must be <= Maximum");
  EXPECT_EQ(axis.Minimum(), 0);
  axis.SetMinimum(10);  // equal is fine
  EXPECT_EQ(FailureOf<AxisException>([&] { axis.SetMaximum(9); }), "Axis Maximum Value must be >= Minimum");
  EXPECT_EQ(axis.Maximum(), 10);
  axis.SetIncrement(2);
  EXPECT_EQ(FailureOf<AxisException>([&] { axis.SetIncrement(-0.5); }), "Axis increment must be >= 0");
  EXPECT_EQ(FailureOf<AxisException>([&] { axis.SetIncrement(std::numeric_limits<double>::quiet_NaN()); }),
            "Axis increment must be >= 0");
  EXPECT_EQ(axis.Increment(), 2);
  EXPECT_EQ(FailureOf<AxisException>([&] { axis.SetLogarithmicBase(1); }), "Axis Logarithmic Base should be >= 2");
  axis.SetLogarithmicBase(2);
  EXPECT_EQ(axis.LogarithmicBase(), 2);
  EXPECT_EQ(FailureOf<AxisException>([&] { axis.SetLabelsSeparation(-1); }),
            "Labels Separation % must be greater than 0");
  axis.SetLabelsSeparation(0);  // switches overlap control off
  EXPECT_EQ(axis.LabelsSeparation(), 0);
  EXPECT_EQ(FailureOf<ChartException>([&] { axis.SetLabelsAngle(360); }),
            "Axis Labels Angle must be between 0 and 359 degrees");
  EXPECT_EQ(FailureOf<ChartException>([&] { axis.SetLabelsAngle(-1); }),
            "Axis Labels Angle must be between 0 and 359 degrees");
  axis.SetLabelsAngle(359);
  EXPECT_EQ(axis.LabelsAngle(), 359);
  EXPECT_EQ(FailureOf<ChartException>([&] { axis.Title().SetAngle(360); }),
            "Axis Title Angle must be between 0 and 359 degrees");
  EXPECT_EQ(axis.Title().Angle(), 90);
  axis.Title().SetAngle(0);
  EXPECT_EQ(axis.Title().Angle(), 0);
}

TEST(AxisSetters, LogarithmicRefusesDateTimeAndNegativeLimits) {
  AxisRig rig;
  TLineSeries* series = rig.Line();
  series->AddPointXY(1, -3);
  series->AddPointXY(2, 8);
  TChartAxis& left = rig.chart.LeftAxis();
  EXPECT_EQ(FailureOf<AxisException>([&] { left.SetLogarithmic(true); }),
            "Logarithmic Axis Min and Max values should be >= 0");
  EXPECT_FALSE(left.Logarithmic());
  EXPECT_EQ(left.ScaleMinimum(), -3);  // the scale was refreshed before the check
  series->YValues().SetValueAt(0, 0);
  left.SetLogarithmic(true);
  EXPECT_TRUE(left.Logarithmic());
  TChartAxis& bottom = rig.chart.BottomAxis();
  series->XValues().SetDateTime(true);
  EXPECT_EQ(FailureOf<AxisException>([&] { bottom.SetLogarithmic(true); }), "DateTime Axis cannot be Logarithmic");
  EXPECT_FALSE(bottom.Logarithmic());
  bottom.SetLogarithmic(false);  // switching off is always allowed
}

TEST(AxisSetters, OnlyChangesRepaint) {
  TChart chart(nullptr);
  RepaintCounter repaints(chart);
  TChartAxis& axis = chart.LeftAxis();
  axis.SetInverted(false);
  axis.SetLabelStyle(talAuto);
  axis.SetLabelsAngle(0);
  axis.Title().SetAngle(90);
  axis.Grid().SetColor(0x808080);
  EXPECT_EQ(repaints.count, 0);
  axis.SetInverted(true);
  axis.SetLabelStyle(talText);
  axis.Title().SetCaption("y");
  axis.LabelsFont().SetSize(10);
  axis.Grid().SetVisible(false);
  EXPECT_EQ(repaints.count, 5);
  // The limits of a refresh are stored without a repaint.
  axis.RefreshScale();
  EXPECT_EQ(repaints.count, 5);
}

// [SECTION] Stored or not

TEST(AxisStored, LimitsAreStoredOnlyWhenManual) {
  TChart chart(nullptr);
  TChartAxis& axis = chart.BottomAxis();
  EXPECT_FALSE(Stored(axis, "Minimum"));
  EXPECT_FALSE(Stored(axis, "Maximum"));
  axis.SetAutomaticMinimum(false);
  EXPECT_TRUE(Stored(axis, "Minimum"));
  EXPECT_FALSE(Stored(axis, "Maximum"));
  axis.SetAutomatic(false);
  EXPECT_TRUE(Stored(axis, "Maximum"));
}

TEST(AxisStored, FormatPositionsAndTitleAngleOnlyWhenNotDefault) {
  TChart chart(nullptr);
  TChartAxis& axis = chart.LeftAxis();
  for (const char* name : {"AxisValuesFormat", "StartPosition", "EndPosition", "PositionPercent"})
    EXPECT_FALSE(Stored(axis, name)) << name;
  EXPECT_FALSE(Stored(axis.Title(), "Angle"));
  axis.SetAxisValuesFormat("0.0");
  axis.SetStartPosition(10);
  axis.SetEndPosition(90);
  axis.SetPositionPercent(5);
  axis.Title().SetAngle(0);
  for (const char* name : {"AxisValuesFormat", "StartPosition", "EndPosition", "PositionPercent"})
    EXPECT_TRUE(Stored(axis, name)) << name;
  EXPECT_TRUE(Stored(axis.Title(), "Angle"));
}

// [SECTION] Descriptions and copies

TEST(AxisCopy, AssignCopiesEverySettingAndThePlacement) {
  TChart source(nullptr);
  TChart target(nullptr);
  TChartAxis& from = source.LeftAxis();
  from.SetManualRange(-4, 9);
  from.SetIncrement(0.5);
  from.SetInverted(true);
  from.SetAxisValuesFormat("0.00");
  from.SetLabelsAngle(45);
  from.SetGridCentered(true);
  from.SetStartPosition(10);
  from.SetVisible(false);
  from.Title().SetCaption("height");
  from.LabelsFont().SetColor(clRed);
  from.Grid().SetColor(clBlue);
  TChartAxis& to = target.BottomAxis();
  RepaintCounter repaints(target);
  to.Assign(from);
  EXPECT_GT(repaints.count, 0);
  EXPECT_FALSE(to.Automatic());
  EXPECT_FALSE(to.AutomaticMinimum());
  EXPECT_EQ(to.Minimum(), -4);
  EXPECT_EQ(to.Maximum(), 9);
  EXPECT_EQ(to.Increment(), 0.5);
  EXPECT_TRUE(to.Inverted());
  EXPECT_EQ(to.AxisValuesFormat(), "0.00");
  EXPECT_EQ(to.LabelsAngle(), 45);
  EXPECT_TRUE(to.GridCentered());
  EXPECT_EQ(to.StartPosition(), 10);
  EXPECT_FALSE(to.Visible());
  EXPECT_EQ(to.Title().Caption(), "height");
  EXPECT_EQ(to.Title().Angle(), 90);
  EXPECT_EQ(to.LabelsFont().Color(), clRed);
  EXPECT_EQ(to.Grid().Color(), clBlue);
  EXPECT_FALSE(to.IsHorizontal());  // the placement comes along
  EXPECT_EQ(to.ParentChart(), &target);
  // A chart copies its five axes and its paging.
  source.SetMaxPointsPerPage(7);
  target.Assign(source);
  EXPECT_EQ(target.MaxPointsPerPage(), 7);
  EXPECT_EQ(target.LeftAxis().Minimum(), -4);
}

// [SECTION] Manual range and scrolling

TEST(AxisRange, ManualRangeSortsAndNeverCollapses) {
  TChart chart(nullptr);
  TChartAxis& axis = chart.BottomAxis();
  axis.SetManualRange(5, 5);
  EXPECT_FALSE(axis.Automatic());
  EXPECT_FALSE(axis.AutomaticMinimum());
  EXPECT_FALSE(axis.AutomaticMaximum());
  EXPECT_EQ(axis.Minimum(), 5);
  EXPECT_EQ(axis.Maximum(), 5 + 1e-10);
  axis.SetManualRange(10, -2);  // no check between the two assignments
  EXPECT_EQ(axis.Minimum(), -2);
  EXPECT_EQ(axis.Maximum(), 10);
}

TEST(AxisRange, ScrollWithLimitsOnlyWhereTheDataReach) {
  AxisRig rig;
  TLineSeries* series = rig.Line();
  for (int i = 0; i <= 10; ++i) series->AddPointXY(i, i * i);
  TChartAxis& bottom = rig.chart.BottomAxis();
  bottom.SetManualRange(0, 10);
  RepaintCounter repaints(rig.chart);
  bottom.ScrollBy(1, true);  // every X is at or below 10
  EXPECT_EQ(bottom.Minimum(), 0);
  EXPECT_EQ(bottom.Maximum(), 10);
  EXPECT_EQ(repaints.count, 0);
  bottom.ScrollBy(-1, true);  // nor below 0
  EXPECT_EQ(bottom.Minimum(), 0);
  bottom.SetManualRange(2, 6);
  bottom.ScrollBy(1.5, true);
  EXPECT_EQ(bottom.Minimum(), 3.5);
  EXPECT_EQ(bottom.Maximum(), 7.5);
  bottom.ScrollBy(-10, false);
  EXPECT_EQ(bottom.Minimum(), -6.5);
  TChartAxis& left = rig.chart.LeftAxis();
  ASSERT_TRUE(left.Automatic());
  left.ScrollBy(-1, false);
  EXPECT_FALSE(left.Automatic());
  EXPECT_FALSE(left.AutomaticMinimum());
  EXPECT_EQ(left.Minimum(), -1);
}

// [SECTION] Automatic limits and date-time

TEST(AxisLimits, AutomaticLimitsComeFromTheSeriesOnTheAxis) {
  AxisRig rig;
  TLineSeries* a = rig.Line();
  a->AddPointXY(2, 30);
  a->AddPointXY(5, 10);
  TLineSeries* b = rig.Line();
  b->AddPointXY(-1, 50);
  TLineSeries* onTop = rig.Line();
  onTop->SetHorizAxis(aTopAxis);
  onTop->AddPointXY(100, 1000);
  TLineSeries* empty = rig.Line();  // no points: gives no limit
  TChartAxis& bottom = rig.chart.BottomAxis();
  TChartAxis& left = rig.chart.LeftAxis();
  bottom.RefreshScale();
  left.RefreshScale();
  EXPECT_EQ(bottom.ScaleMinimum(), -1);
  EXPECT_EQ(bottom.ScaleMaximum(), 5);
  EXPECT_EQ(left.ScaleMinimum(), 10);
  EXPECT_EQ(left.ScaleMaximum(), 1000);  // every series is on the left axis
  EXPECT_EQ(left.Minimum(), 10);         // stored into the settings
  // A manual end stays.
  left.SetAutomaticMaximum(false);
  left.SetMaximum(60);
  left.RefreshScale();
  EXPECT_EQ(left.ScaleMaximum(), 60);
  EXPECT_EQ(left.ScaleMinimum(), 10);
  // Inactive series count only while no active one is on the axis.
  b->SetActive(false);
  bottom.RefreshScale();
  EXPECT_EQ(bottom.ScaleMinimum(), 2);
  a->SetActive(false);
  bottom.RefreshScale();
  EXPECT_EQ(bottom.ScaleMinimum(), 0);  // the empty series is the active one on the axis
  empty->SetActive(false);
  bottom.RefreshScale();
  EXPECT_EQ(bottom.ScaleMinimum(), -1);
  onTop->SetHorizAxis(aBothHorizAxis);
  onTop->SetActive(true);
  bottom.RefreshScale();
  EXPECT_EQ(bottom.ScaleMinimum(), 100);
}

TEST(AxisLimits, DepthAxisTakesTheFirstActiveSeriesDepth) {
  AxisRig rig;
  TChartDepthAxis& depth = rig.chart.DepthAxis();
  depth.SetLabelStyle(talValue);  // labels at depth values
  EXPECT_EQ(rig.chart.SeriesExtreme(depth, true, false), 0);
  TLineSeries* series = rig.Line();
  series->SetDepthOrder(3);
  EXPECT_EQ(rig.chart.SeriesExtreme(depth, true, false), 3);
  depth.SetLabelStyle(talText);  // one unit per depth slot
  EXPECT_EQ(rig.chart.SeriesExtreme(depth, true, false), -0.5);
  EXPECT_EQ(rig.chart.SeriesExtreme(depth, false, false), rig.chart.MaxDepthSlot() + 0.5);
  // Automatic: no series spreads in depth, so one label per series.
  depth.SetLabelStyle(talAuto);
  EXPECT_EQ(rig.chart.SeriesExtreme(depth, true, false), -0.5);
}

TEST(AxisLimits, DateTimeAxisFollowsTheFirstActiveSeries) {
  AxisRig rig;
  EXPECT_FALSE(rig.chart.BottomAxis().IsDateTimeAxis());
  TLineSeries* idle = rig.Line();
  idle->SetActive(false);
  idle->XValues().SetDateTime(true);
  TLineSeries* series = rig.Line();
  EXPECT_FALSE(rig.chart.BottomAxis().IsDateTimeAxis());
  series->XValues().SetDateTime(true);
  EXPECT_TRUE(rig.chart.BottomAxis().IsDateTimeAxis());
  EXPECT_FALSE(rig.chart.LeftAxis().IsDateTimeAxis());
  EXPECT_FALSE(rig.chart.TopAxis().IsDateTimeAxis());
  series->YValues().SetDateTime(true);
  EXPECT_TRUE(rig.chart.LeftAxis().IsDateTimeAxis());
}

TEST(AxisLimits, SeriesResolveTheirAxisObjects) {
  AxisRig rig;
  TLineSeries* series = rig.Line();
  EXPECT_EQ(series->GetHorizAxis(), &rig.chart.BottomAxis());
  EXPECT_EQ(series->GetVertAxis(), &rig.chart.LeftAxis());
  series->SetHorizAxis(aTopAxis);
  series->SetVertAxis(aRightAxis);
  EXPECT_EQ(series->GetHorizAxis(), &rig.chart.TopAxis());
  EXPECT_EQ(series->GetVertAxis(), &rig.chart.RightAxis());
  EXPECT_FALSE(series->DrawnOnAxis(&rig.chart.BottomAxis()));
  series->SetVertAxis(aBothVertAxis);
  EXPECT_TRUE(series->DrawnOnAxis(&rig.chart.LeftAxis()));
  EXPECT_TRUE(series->DrawnOnAxis(&rig.chart.RightAxis()));
  EXPECT_FALSE(series->DrawnOnAxis(nullptr));
  series->SetParentChart(nullptr);
  EXPECT_EQ(series->GetHorizAxis(), nullptr);
  EXPECT_FALSE(series->DrawnOnAxis(&rig.chart.TopAxis()));
}

TEST(AxisLimits, VisibleRangeFollowsTheHorizontalAxis) {
  AxisRig rig;
  TLineSeries* series = rig.Line();
  for (int i = 0; i < 10; ++i) series->AddPointXY(i, i);
  TChartAxis& bottom = rig.chart.BottomAxis();
  // Before any layout the axis has no span: every point counts as visible.
  series->FindVisibleRange();
  EXPECT_EQ(series->FirstDrawnIndex(), 0);
  EXPECT_EQ(series->LastDrawnIndex(), 9);
  AxisRig::Lay(bottom, 2.5, 5.5);
  series->FindVisibleRange();
  EXPECT_EQ(series->FirstDrawnIndex(), 3);
  EXPECT_EQ(series->LastDrawnIndex(), 6);  // a line reaches past the right edge
  bottom.SetInverted(true);
  series->FindVisibleRange();
  EXPECT_EQ(series->FirstDrawnIndex(), 3);
  EXPECT_EQ(series->LastDrawnIndex(), 6);
}

// [SECTION] Paging

class PagingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    series = rig.Line();
    for (int i = 0; i < 25; ++i) series->AddPointXY(i * i, i);
    rig.chart.SetMaxPointsPerPage(10);
  }
  double Extreme(bool wantMinimum) { return rig.chart.SeriesExtreme(rig.chart.BottomAxis(), wantMinimum, true); }

  AxisRig rig;
  TLineSeries* series = nullptr;
};

TEST_F(PagingTest, PageCountAndPageStayInRange) {
  int changes = 0;
  rig.chart.OnPageChange = [&](TComponent* sender) {
    EXPECT_EQ(sender, &rig.chart);
    ++changes;
  };
  EXPECT_EQ(rig.chart.PageCount(), 3);
  rig.chart.SetPage(7);
  EXPECT_EQ(rig.chart.Page(), 3);
  EXPECT_EQ(changes, 1);
  rig.chart.SetPage(3);
  EXPECT_EQ(changes, 1);
  rig.chart.SetMaxPointsPerPage(20);  // two pages now: from page 3 to page 2
  EXPECT_EQ(rig.chart.Page(), 2);
  EXPECT_EQ(changes, 2);
  rig.chart.SetPage(0);
  EXPECT_EQ(rig.chart.Page(), 1);
  EXPECT_EQ(FailureOf<ChartException>([&] { rig.chart.SetMaxPointsPerPage(-1); }),
            "MaxPointsPerPage must be >= 0");
  EXPECT_EQ(rig.chart.MaxPointsPerPage(), 20);
  rig.chart.SetMaxPointsPerPage(0);
  EXPECT_EQ(rig.chart.PageCount(), 1);
}

TEST_F(PagingTest, ScaleCoversThePointsOfThePage) {
  rig.chart.SetPage(2);
  EXPECT_EQ(Extreme(true), 10 * 10);
  EXPECT_EQ(Extreme(false), 19 * 19);
  // The value axis is not paged.
  EXPECT_EQ(rig.chart.SeriesExtreme(rig.chart.LeftAxis(), false, false), 24);
}

TEST_F(PagingTest, ShortLastPageKeepsTheScaleOfAFullOne) {
  rig.chart.SetPage(3);
  EXPECT_EQ(Extreme(true), 400);
  EXPECT_EQ(Extreme(false), 576);  // ScaleLastPage: its own points
  rig.chart.SetScaleLastPage(false);
  EXPECT_EQ(Extreme(false), 400 + (576 - 400) * 10 / 5.0);
}

TEST_F(PagingTest, PageBeyondThePointsShowsTheLastFullPage) {
  // Page 5 of 50 points, then the points shrink to 25 under it.
  series->ClearPoints();
  for (int i = 0; i < 50; ++i) series->AddPointXY(i, i);
  rig.chart.SetPage(5);
  ASSERT_EQ(rig.chart.Page(), 5);
  series->ClearPoints();
  for (int i = 0; i < 25; ++i) series->AddPointXY(i, i);
  EXPECT_EQ(Extreme(true), 10);
  EXPECT_EQ(Extreme(false), 19);
  series->ClearPoints();
  EXPECT_EQ(Extreme(true), 0);
}

}  // namespace
}  // namespace tarvela
