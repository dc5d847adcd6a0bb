#include "tarvela/chart/data/basic_functions.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "series_fixtures.h"
#include "tarvela/chart/chart_registration.h"
#include "tarvela/chart/data/zav_function.h"
#include "tarvela/runtime/class_registry.h"
#include "tarvela/runtime/date_time.h"
#include "tarvela/runtime/exceptions.h"
#include "tarvela/runtime/form_reader.h"

namespace tarvela {
namespace {

using test::NewLine;
using test::XsOf;
using test::YsOf;
using Points = std::vector<double>;

template <class E>
void ExpectError(const std::function<void()>& action, const std::string& message) {
  try {
    action();
    ADD_FAILURE() << "no exception, expected " << message;
  } catch (const E& e) {
    EXPECT_EQ(e.Message(), message);
  }
}

// A series whose value is its X (a horizontal bar's way): Y is the coordinate.
class HorizontalSeries : public TChartSeries {
 public:
  using TChartSeries::TChartSeries;
  const TChartValueList& MandatoryList() const override { return XValues(); }
};

// A series with a third value list, which a function can read by name.
class ExtraListSeries : public TChartSeries {
 public:
  using TChartSeries::TChartSeries;
  void AddXYExtra(double x, double y, double extra) {
    m_extra.SetPendingValue(extra);
    AddPointXY(x, y);
  }

 private:
  TChartValueList m_extra{this, "Extra"};
};

using Pairs = std::vector<std::pair<double, double>>;
// Creates the target series, owned by the form.
using TargetMaker = std::function<TChartSeries*(TComponent& form)>;

// A chart with a source series and a target series (a line unless made otherwise)
// that computes its points from it.
struct Computed {
  explicit Computed(const Pairs& points, const TargetMaker& makeTarget = {})
      : target(makeTarget ? makeTarget(form) : NewLine(form)) {
    target->SetParentChart(&chart);
    for (auto [x, y] : points) source->AddPointXY(x, y);
  }
  // Puts a new F on the target and lets it follow source.
  template <class F>
  F* Use() {
    auto owned = std::make_unique<F>(nullptr);
    F* function = owned.get();
    target->SetFunction(std::move(owned));
    target->SetDataSource(source);
    return function;
  }
  TComponent form{nullptr};
  TChart chart{&form};
  TLineSeries* source = NewLine(form, &chart);
  TChartSeries* target;
};

TChartSeries* NewBaseSeries(TComponent& form) { return new TChartSeries(&form); }
TChartSeries* NewHorizontal(TComponent& form) { return new HorizontalSeries(&form); }

// 1, 2, 3 at X 10, 20, 30.
const Pairs kOneTwoThree = {{10, 1}, {20, 2}, {30, 3}};
// Y 1..5 at X 10..50.
const Pairs kFivePoints = {{10, 1}, {20, 2}, {30, 3}, {40, 4}, {50, 5}};

// The Y of the target's first point with an F over the whole source.
template <class F>
double Level(Computed& c) {
  c.Use<F>();
  return c.target->YValueAt(0);
}

// The Y of the target's points with an F over groups of two points.
template <class F>
Points PairsOf(Computed& c) {
  c.Use<F>()->SetPeriod(2);
  return YsOf(*c.target);
}

// [SECTION] The whole source

TEST(WholeSeriesFunction, OnALineSeriesAddDrawsALevelLineAcrossTheSourceRange) {
  Computed c(kOneTwoThree);
  c.Use<TAddZavFunction>();
  EXPECT_EQ(XsOf(*c.target), (Points{10, 30}));
  EXPECT_EQ(YsOf(*c.target), (Points{6, 6}));
}

TEST(WholeSeriesFunction, OnASeriesAllowingOnePointAddPlacesItAtTheMiddleOfTheRange) {
  Computed c(kOneTwoThree, NewBaseSeries);
  c.Use<TAddZavFunction>();
  EXPECT_EQ(XsOf(*c.target), (Points{20}));
  EXPECT_EQ(YsOf(*c.target), (Points{6}));
  // The value lies along X when the target's value is its X.
  Computed h(kOneTwoThree, NewHorizontal);
  h.Use<TAddZavFunction>();
  EXPECT_EQ(XsOf(*h.target), (Points{6}));
  EXPECT_EQ(YsOf(*h.target), (Points{20}));
}

TEST(WholeSeriesFunction, EachFunctionGivesItsOwnValueAndTheCombiningOnesGiveZero) {
  Computed c({{10, 4}, {20, -1}, {30, 3}});
  EXPECT_EQ(Level<TAddZavFunction>(c), 6);
  EXPECT_EQ(Level<THighZavFunction>(c), 4);
  EXPECT_EQ(Level<TLowZavFunction>(c), -1);
  EXPECT_EQ(Level<TAverageZavFunction>(c), 2);
  EXPECT_EQ(Level<TSubtractZavFunction>(c), 0);
  EXPECT_EQ(Level<TDivideZavFunction>(c), 0);
  EXPECT_EQ(c.target->PointCount(), 2);
}

// [SECTION] Periods of points

TEST(PeriodFunction, GroupsOfTwoPointsDropAnIncompleteLastGroupAndAlignAsAsked) {
  Computed c(kFivePoints);
  TAddZavFunction* add = c.Use<TAddZavFunction>();
  add->SetPeriodAlign(paFirst);
  add->SetPeriod(2);
  EXPECT_EQ(XsOf(*c.target), (Points{10, 30}));
  EXPECT_EQ(YsOf(*c.target), (Points{3, 7}));
  add->SetPeriodAlign(paLast);
  EXPECT_EQ(XsOf(*c.target), (Points{20, 40}));
  add->SetPeriodAlign(paCenter);
  EXPECT_EQ(XsOf(*c.target), (Points{15, 35}));
  // Rounded to the even neighbour: 2.5 is 2, 3.5 is 4.
  add->SetPeriod(2.5);
  EXPECT_EQ(YsOf(*c.target), (Points{3, 7}));
  add->SetPeriod(3.5);
  EXPECT_EQ(YsOf(*c.target), (Points{10}));
  add->SetPeriod(6);
  EXPECT_EQ(c.target->PointCount(), 0);
}

TEST(PeriodFunction, APeriodRoundingToZeroCountsAsOnePoint) {
  Computed c(kFivePoints);
  THighZavFunction* high = c.Use<THighZavFunction>();
  high->SetPeriodAlign(paFirst);
  high->SetPeriod(0.4);
  EXPECT_EQ(XsOf(*c.target), (Points{10, 20, 30, 40, 50}));
  EXPECT_EQ(YsOf(*c.target), (Points{1, 2, 3, 4, 5}));
  high->SetMovingWindow(true);
  EXPECT_EQ(YsOf(*c.target), (Points{1, 2, 3, 4, 5}));
}

TEST(PeriodFunction, EachFunctionComputesItsValueOverAGroup) {
  Computed c({{1, 4}, {2, -2}, {3, 7}, {4, 1}});
  EXPECT_EQ(PairsOf<TAddZavFunction>(c), (Points{2, 8}));
  EXPECT_EQ(PairsOf<THighZavFunction>(c), (Points{4, 7}));
  EXPECT_EQ(PairsOf<TLowZavFunction>(c), (Points{-2, 1}));
  EXPECT_EQ(PairsOf<TAverageZavFunction>(c), (Points{1, 4}));
  EXPECT_EQ(PairsOf<TMultiplyZavFunction>(c), (Points{0, 0}));
}

// [SECTION] Periods of X

// X 0, 1, 5, 6 with ranges of 2 from 0: [0, 2) holds two points, [2, 4) none,
// [4, 6) the point at 5, [6, 8) the point at 6.
TEST(PeriodFunction, RangesOfXGroupByValueAndAnEmptyRangeAddsZero) {
  Computed c({{0, 1}, {1, 2}, {5, 3}, {6, 4}});
  TAddZavFunction* add = c.Use<TAddZavFunction>();
  add->SetRecomputeSuspended(true);
  add->SetPeriod(2);
  add->SetPeriodStyle(psRange);
  add->SetPeriodAlign(paFirst);
  EXPECT_EQ(c.target->PointCount(), 2);  // still the whole-series level line
  add->SetRecomputeSuspended(false);
  add->Recompute();
  EXPECT_EQ(XsOf(*c.target), (Points{0, 2, 4, 6}));
  EXPECT_EQ(YsOf(*c.target), (Points{3, 0, 3, 4}));
  // The last position of a range stops a thousandth of the period short of the next.
  add->SetPeriodAlign(paLast);
  Points xs = XsOf(*c.target);
  ASSERT_EQ(xs.size(), 4u);
  EXPECT_DOUBLE_EQ(xs[0], 1.998);
  EXPECT_DOUBLE_EQ(xs[3], 7.998);
  add->SetPeriodAlign(paCenter);
  EXPECT_DOUBLE_EQ(XsOf(*c.target)[1], 2.999);
  // A period below the resolution of X there cannot move the boundary: no points
  // rather than empty ranges without end.
  c.source->XValues().SetValueAt(0, 1e20);
  EXPECT_EQ(c.target->PointCount(), 0);
}

// [SECTION] Periods of dates

TDateTime Day(int year, int month, int day) { return EncodeDate(year, month, day); }

// Sums over ranges of a month (Period 30) of the source's X, now dates, which make
// the chart's bottom axis a date-time one; placed at the start of their range.
TAddZavFunction* MonthlySums(Computed& c) {
  c.source->XValues().SetDateTime(true);
  TAddZavFunction* add = c.Use<TAddZavFunction>();
  add->SetRecomputeSuspended(true);
  add->SetPeriod(30);
  add->SetPeriodStyle(psRange);
  add->SetPeriodAlign(paFirst);
  add->SetRecomputeSuspended(false);
  add->Recompute();
  return add;
}

// Y are powers of two, so that a sum tells exactly which points a range holds. The
// months end after 31, 28 (2023 is a common year), 31 and 30 days.
TEST(PeriodFunction, MonthRangesOfDatesEndOnTheFirstOfTheNextMonthWhateverItsLength) {
  Computed c({{Day(2023, 1, 10), 1},
              {Day(2023, 1, 31), 2},
              {Day(2023, 2, 1), 4},
              {Day(2023, 2, 28), 8},
              {Day(2023, 3, 1), 16},
              {Day(2023, 3, 31), 32},
              {Day(2023, 4, 1), 64},
              {Day(2023, 4, 30), 128},
              {Day(2023, 5, 1), 256}});
  TAddZavFunction* add = MonthlySums(c);
  ASSERT_TRUE(c.chart.BottomAxis().ExactDateTime());
  // The first range runs from the first date to the 1st of the next month.
  EXPECT_EQ(XsOf(*c.target),
            (Points{Day(2023, 1, 10), Day(2023, 2, 1), Day(2023, 3, 1), Day(2023, 4, 1), Day(2023, 5, 1)}));
  EXPECT_EQ(YsOf(*c.target), (Points{1 + 2, 4 + 8, 16 + 32, 64 + 128, 256}));
  // The last position stops short of the next 1st, not of 30 days on.
  add->SetPeriodAlign(paLast);
  Points xs = XsOf(*c.target);
  ASSERT_EQ(xs.size(), 5u);
  EXPECT_DOUBLE_EQ(xs[1], Day(2023, 3, 1) - 0.03);
  EXPECT_DOUBLE_EQ(xs[4], Day(2023, 6, 1) - 0.03);
}

// One point on the 1st of each month: a range per month while the calendar decides;
// by 30 days from 1 January, February and March share a range and the next is empty.
TEST(PeriodFunction, MonthRangesFollowTheCalendarOnlyOnAnExactDateTimeAxis) {
  const TDateTime start = Day(2023, 1, 1);
  Pairs firsts;
  for (int month = 1; month <= 6; ++month) firsts.push_back({Day(2023, month, 1), 1});
  Computed c(firsts);
  TAddZavFunction* add = MonthlySums(c);
  EXPECT_EQ(XsOf(*c.target), (Points{start, Day(2023, 2, 1), Day(2023, 3, 1), Day(2023, 4, 1), Day(2023, 5, 1),
                                     Day(2023, 6, 1)}));
  EXPECT_EQ(YsOf(*c.target), (Points{1, 1, 1, 1, 1, 1}));
  const Points everyThirtyDays = {start, start + 30, start + 60, start + 90, start + 120, start + 150};
  const Points byThirtyDays = {1, 2, 0, 1, 1, 1};

  c.chart.BottomAxis().SetExactDateTime(false);
  add->Recompute();
  EXPECT_EQ(XsOf(*c.target), everyThirtyDays);
  EXPECT_EQ(YsOf(*c.target), byThirtyDays);

  // Numbers rather than dates on the axis.
  c.chart.BottomAxis().SetExactDateTime(true);
  c.source->XValues().SetDateTime(false);
  add->Recompute();
  EXPECT_EQ(XsOf(*c.target), everyThirtyDays);
  EXPECT_EQ(YsOf(*c.target), byThirtyDays);

  // 31 days is no calendar period.
  c.source->XValues().SetDateTime(true);
  add->SetPeriod(31);
  EXPECT_EQ(XsOf(*c.target), (Points{start, start + 31, start + 62, start + 93, start + 124}));
}

// Past 31 December 9999 there is no next month: the ranges go on by 30 days rather
// than stopping there.
TEST(PeriodFunction, MonthRangesGoOnByThePeriodPastTheLastDayOfTheCalendar) {
  const TDateTime lastDay = Day(9999, 12, 31);
  Computed c({{Day(9999, 10, 15), 1},
              {Day(9999, 11, 30), 2},
              {Day(9999, 12, 1), 4},
              {lastDay, 8},
              {lastDay + 1, 16},
              {lastDay + 45, 32}});
  MonthlySums(c);
  EXPECT_EQ(XsOf(*c.target), (Points{Day(9999, 10, 15), Day(9999, 11, 1), Day(9999, 12, 1), lastDay, lastDay + 30}));
  EXPECT_EQ(YsOf(*c.target), (Points{1, 2, 4, 8 + 16, 32}));
}

// [SECTION] Moving window

TEST(MovingWindowFunction, EveryWindowEndsAtAPointAndIsPlacedThere) {
  Computed c(kFivePoints);
  TAverageZavFunction* average = c.Use<TAverageZavFunction>();
  average->SetPeriod(3);
  average->SetMovingWindow(true);
  EXPECT_EQ(XsOf(*c.target), (Points{30, 40, 50}));
  EXPECT_EQ(YsOf(*c.target), (Points{2, 3, 4}));
  average->SetPeriod(6);
  EXPECT_EQ(c.target->PointCount(), 0);
}

// [SECTION] Across sources

const std::optional<double> kMissing;

// One series per value, each holding it at index 1 after a 0; a missing value is
// a series without index 1.
struct Across {
  explicit Across(const std::vector<std::optional<double>>& values) {
    for (const std::optional<double>& value : values) {
      TLineSeries* series = NewLine(form);
      series->AddPointXY(0, 0);
      if (value) series->AddPointXY(1, *value);
      sources.push_back(series);
    }
  }
  double Of(TZavFunction&& function) { return function.ComputeAcross(sources, 1); }
  TComponent form{nullptr};
  std::vector<TComponent*> sources;
};

TEST(AcrossFunction, CombiningFunctionsFoldFromTheFirstSourceThatTakesPart) {
  EXPECT_EQ(Across({10, 3, 2}).Of(TSubtractZavFunction(nullptr)), 5);
  EXPECT_EQ(Across({12, 0, 3}).Of(TDivideZavFunction(nullptr)), 4);
  EXPECT_EQ(Across({kMissing, 12, 3}).Of(TMultiplyZavFunction(nullptr)), 36);
  EXPECT_EQ(Across({kMissing, 10, kMissing, 3}).Of(TSubtractZavFunction(nullptr)), 7);
  EXPECT_EQ(Across({kMissing, kMissing}).Of(TDivideZavFunction(nullptr)), 0);
  EXPECT_EQ(Across({10, kMissing, 2}).Of(TAddZavFunction(nullptr)), 12);
  EXPECT_EQ(Across({10, kMissing, 2}).Of(TAverageZavFunction(nullptr)), 6);
  EXPECT_EQ(Across({kMissing}).Of(TAverageZavFunction(nullptr)), 0);
}

TEST(AcrossFunction, HighAndLowStartAtZeroUnlessTheFirstSourceTakesPart) {
  EXPECT_EQ(Across({kMissing, -5}).Of(THighZavFunction(nullptr)), 0);
  EXPECT_EQ(Across({kMissing, 5}).Of(TLowZavFunction(nullptr)), 0);
  EXPECT_EQ(Across({-5, -2}).Of(THighZavFunction(nullptr)), -2);
  EXPECT_EQ(Across({5, -2}).Of(TLowZavFunction(nullptr)), -2);
}

TEST(AcrossFunction, SeveralSourcesGiveOnePointPerIndexOfTheFirstWithItsXAndLabel) {
  Computed c({{10, 1}, {30, 3}});
  c.source->AddPointXY(20, 2, "middle");
  TLineSeries* second = NewLine(c.form, &c.chart);
  second->AddPointXY(0, 100);
  second->AddPointXY(0, 200, "ignored");
  c.Use<TAddZavFunction>();
  c.target->AddDataSource(second);
  EXPECT_EQ(XsOf(*c.target), (Points{10, 20, 30}));
  EXPECT_EQ(YsOf(*c.target), (Points{101, 202, 3}));
  EXPECT_EQ(c.target->PointLabel(1), "middle");
}

// [SECTION] What a function reads and where its points go

TEST(FunctionSource, ASourceWhoseValueIsItsXGivesPointsWithXAndYExchanged) {
  Computed c(Pairs{});
  auto* horizontal = new HorizontalSeries(&c.form);
  // Values 1, 2, 3 at the coordinates (Y) 10, 20, 30.
  for (double k : {1.0, 2.0, 3.0}) horizontal->AddPointXY(k, k * 10);
  horizontal->SetParentChart(&c.chart);
  c.target->SetFunction(std::make_unique<TAddZavFunction>(nullptr));
  c.target->SetDataSource(horizontal);
  EXPECT_EQ(XsOf(*c.target), (Points{6, 6}));
  EXPECT_EQ(YsOf(*c.target), (Points{10, 30}));
  c.target->FunctionObject()->SetPeriod(2);
  EXPECT_EQ(XsOf(*c.target), (Points{3}));
  EXPECT_EQ(YsOf(*c.target), (Points{15}));
}

TEST(FunctionSource, TheTargetsValueSourceNamesTheListTheFunctionReads) {
  Computed c(Pairs{});
  auto* extra = new ExtraListSeries(&c.form);
  extra->AddXYExtra(1, 1, 100);
  extra->AddXYExtra(2, 2, 200);
  extra->SetParentChart(&c.chart);
  auto* add = new TAddZavFunction(nullptr);
  c.target->SetFunction(std::unique_ptr<TZavFunction>(add));
  c.target->SetDataSource(extra);
  EXPECT_EQ(&add->SourceList(*extra), &extra->YValues());
  c.target->YValues().SetValueSource("extra");
  EXPECT_EQ(YsOf(*c.target), (Points{300, 300}));
  c.target->YValues().SetValueSource("Missing");
  EXPECT_EQ(YsOf(*c.target), (Points{3, 3}));
}

// [SECTION] Settings and recomputing

TEST(FunctionSettings, DefaultsAndAssignmentCopyThePeriodSettingsOnly) {
  THighZavFunction model(nullptr);
  EXPECT_EQ(model.Period(), 0);
  EXPECT_EQ(model.PeriodAlign(), paCenter);
  EXPECT_EQ(model.PeriodStyle(), psNumPoints);
  Computed c(kFivePoints);
  TAddZavFunction* add = c.Use<TAddZavFunction>();
  model.SetPeriod(20);
  model.SetPeriodAlign(paFirst);
  model.SetPeriodStyle(psRange);
  model.SetMovingWindow(true);
  add->Assign(model);
  EXPECT_EQ(add->Period(), 20);
  EXPECT_EQ(add->PeriodAlign(), paFirst);
  EXPECT_EQ(add->PeriodStyle(), psRange);
  EXPECT_FALSE(add->MovingWindow());
  // Recomputed with the copied settings: ranges [10, 30), [30, 50), [50, 70).
  EXPECT_EQ(XsOf(*c.target), (Points{10, 30, 50}));
  EXPECT_EQ(YsOf(*c.target), (Points{3, 7, 5}));
}

TEST(FunctionSettings, ANegativePeriodFailsAndKeepsTheOldOne) {
  Computed c(kFivePoints);
  TAddZavFunction* add = c.Use<TAddZavFunction>();
  add->SetPeriod(2);
  ExpectError<ChartException>([&] { add->SetPeriod(-1); }, "Function Period should be >= 0");
  ExpectError<EInvalidOp>([&] { add->SetPeriod(std::numeric_limits<double>::quiet_NaN()); },
                          "Invalid floating point operation");
  EXPECT_EQ(add->Period(), 2);
  EXPECT_EQ(YsOf(*c.target), (Points{3, 7}));
}

TEST(FunctionSettings, AChangedSourceValueRecomputes) {
  Computed c(kOneTwoThree);
  c.Use<TAddZavFunction>();
  c.source->YValues().SetValueAt(0, 11);
  EXPECT_EQ(YsOf(*c.target), (Points{16, 16}));
}

TEST(FunctionSettings, SettingTheParentSeriesMovesTheFunctionAndNoneHandsItToTheForm) {
  Computed c(kOneTwoThree);
  TAddZavFunction* add = c.Use<TAddZavFunction>();
  TLineSeries* other = NewLine(c.form, &c.chart);
  other->SetDataSource(c.source);
  add->SetParentSeries(other);
  EXPECT_EQ(c.target->FunctionObject(), nullptr);
  EXPECT_EQ(other->FunctionObject(), add);
  EXPECT_EQ(add->ParentComponent(), other);
  EXPECT_EQ(YsOf(*other), (Points{6, 6}));
  add->SetParentSeries(nullptr);
  EXPECT_EQ(other->FunctionObject(), nullptr);
  EXPECT_EQ(add->ParentSeries(), nullptr);
  EXPECT_EQ(add->Owner(), &c.form);
  add->SetParentSeries(other);
  delete add;
  EXPECT_EQ(other->FunctionObject(), nullptr);
}

// [SECTION] Floating-point faults

TEST(FunctionFaults, AnAverageOverAnEmptyRangeIsAnInvalidOperation) {
  Computed c(kOneTwoThree);
  TAverageZavFunction average(nullptr);
  ExpectError<EInvalidOp>([&] { average.ComputeRange(c.source, 2, 1); }, "Invalid floating point operation");
  EXPECT_EQ(average.ComputeRange(c.source, 0, 1), 1.5);
  c.source->ClearPoints();
  EXPECT_EQ(average.ComputeRange(c.source, -1, -1), 0);
  // The others give 0 for an empty range.
  EXPECT_EQ(TAddZavFunction(nullptr).ComputeRange(c.source, 2, 1), 0);
  EXPECT_EQ(THighZavFunction(nullptr).ComputeRange(c.source, 2, 1), 0);
  EXPECT_EQ(TLowZavFunction(nullptr).ComputeRange(c.source, 2, 1), 0);
}

TEST(FunctionFaults, OverflowAndNaNComparisonsRaiseInsteadOfStoringAPoint) {
  ExpectError<EOverflow>([] { Across({1e200, 1e200}).Of(TMultiplyZavFunction(nullptr)); }, "Floating point overflow");
  Computed c({{1, 1e308}, {2, 1e308}});
  ExpectError<EOverflow>([&] { c.Use<TAddZavFunction>(); }, "Floating point overflow");  // the list's total
  ExpectError<EOverflow>([&] { c.target->FunctionObject()->SetPeriod(2); }, "Floating point overflow");
  EXPECT_EQ(c.target->PointCount(), 0);
  Computed n({{1, 1}, {2, std::numeric_limits<double>::quiet_NaN()}});
  THighZavFunction* high = n.Use<THighZavFunction>();
  ExpectError<EInvalidOp>([&] { high->ComputeRange(n.source, 0, 1); }, "Invalid floating point operation");
}

// [SECTION] Descriptions

TEST(FunctionDescription, AFunctionNestedInASeriesBecomesItsFunctionWithItsSettings) {
  RegisterChartClasses();
  std::unique_ptr<TComponent> root = ReadRootComponent(R"(object Chart1: TChart
  object Target: TLineSeries
    DataSource = Source
    object Function1: TAverageZavFunction
      Period = 2
      PeriodAlign = paLast
      PeriodStyle = psNumPoints
    end
  end
  object Source: TLineSeries
  end
end
)");
  auto* target = dynamic_cast<TChartSeries*>(root->FindComponent("Target"));
  auto* source = dynamic_cast<TChartSeries*>(root->FindComponent("Source"));
  ASSERT_NE(target, nullptr);
  ASSERT_NE(source, nullptr);
  auto* average = dynamic_cast<TAverageZavFunction*>(target->FunctionObject());
  ASSERT_NE(average, nullptr);
  EXPECT_EQ(average->Name(), "Function1");
  EXPECT_EQ(average->ParentComponent(), target);
  EXPECT_EQ(average->Owner(), nullptr);  // the series owns it, not the description's root
  EXPECT_FALSE(average->Loading());
  EXPECT_EQ(average->Period(), 2);
  EXPECT_EQ(average->PeriodAlign(), paLast);
  for (double x : {1.0, 2.0, 3.0, 4.0}) source->AddPointXY(x, x * 2);
  average->Recompute();
  EXPECT_EQ(XsOf(*target), (Points{2, 4}));
  EXPECT_EQ(YsOf(*target), (Points{3, 7}));

  std::vector<std::string> names;
  for (const PropertyInfo* info : average->Properties().All()) names.push_back(info->name);
  EXPECT_EQ(names, (std::vector<std::string>{"Name", "Tag", "Period", "PeriodAlign", "PeriodStyle"}));
}

TEST(FunctionDescription, EverySeriesFunctionIsRegisteredByItsClassName) {
  RegisterChartClasses();
  for (const char* name : {"TAddZavFunction", "TSubtractZavFunction", "TMultiplyZavFunction", "TDivideZavFunction",
                           "THighZavFunction", "TLowZavFunction", "TAverageZavFunction"}) {
    std::unique_ptr<TComponent> created(ClassRegistry::Instance().Create(name, nullptr));
    ASSERT_NE(dynamic_cast<TZavFunction*>(created.get()), nullptr) << name;
    EXPECT_EQ(created->ClassName(), name);
  }
}

}  // namespace
}  // namespace tarvela
