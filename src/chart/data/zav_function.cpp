#include "tarvela/chart/data/zav_function.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <utility>

#include "tarvela/chart/axes/axis.h"
#include "tarvela/chart/axes/axis_panel.h"
#include "tarvela/chart/axes/calendar_steps.h"
#include "tarvela/chart/data/chart_series.h"
#include "tarvela/chart/data/value_list.h"
#include "tarvela/chart/messages.h"
#include "tarvela/runtime/exceptions.h"
#include "tarvela/runtime/float_checks.h"
#include "tarvela/runtime/rounding.h"

namespace tarvela {

// Contents:
//   [SECTION] Settings
//   [SECTION] Parent series and recomputing
//   [SECTION] Adding the points
//   [SECTION] Values (the base's are 0)
//   [SECTION] Published properties
//
// Floating-point faults: every computed position and value is rounded to a
// double through StoreDouble, which raises the fault of the operations before
// it (EInvalidOp, EZeroDivide, EOverflow) rather than letting a NaN or an
// infinity become a point. AddFunctionPoints and each computing override start
// from clear flags, so a flag left by unrelated code is never taken for theirs.

const EnumNames<TFunctionPeriodAlign>& FunctionPeriodAlignNames() {
  static const EnumNames<TFunctionPeriodAlign> kNames = {
      {paFirst, "paFirst"}, {paCenter, "paCenter"}, {paLast, "paLast"}};
  return kNames;
}

const EnumNames<TFunctionPeriodStyle>& FunctionPeriodStyleNames() {
  static const EnumNames<TFunctionPeriodStyle> kNames = {{psNumPoints, "psNumPoints"}, {psRange, "psRange"}};
  return kNames;
}

namespace {

// A group larger than any series can hold is never complete; capping it keeps
// the index arithmetic in range for any Period, infinity included.
constexpr std::int64_t kMaxPeriodPoints = std::numeric_limits<int>::max();

// a < b, where comparing a NaN is the invalid operation it would be on the
// floating-point unit: a NaN X must not keep a range grouping going for ever.
bool OrderedLess(double a, double b) {
  if (std::isunordered(a, b)) throw EInvalidOp(messages::kInvalidOp);
  return a < b;
}

}  // namespace

TZavFunction::TZavFunction(TComponent* owner) : TComponent(owner) {}

// The series clears the link before it destroys its function; a function
// destroyed any other way must not leave the series holding a dangling one.
TZavFunction::~TZavFunction() {
  if (m_parentSeries != nullptr) (void)m_parentSeries->TakeFunction().release();
}

// [SECTION] Settings

// A NaN period is refused as the comparison with 0 would fault; storing it
// would only move the fault to the next computation.
void TZavFunction::SetPeriod(double period) {
  if (std::isnan(period)) throw EInvalidOp(messages::kInvalidOp);
  if (period < 0) throw ChartException(messages::kFunctionPeriod);
  if (period == m_period) return;
  m_period = period;
  Recompute();
}

void TZavFunction::SetPeriodAlign(TFunctionPeriodAlign align) {
  if (align == m_periodAlign) return;
  m_periodAlign = align;
  Recompute();
}

void TZavFunction::SetPeriodStyle(TFunctionPeriodStyle style) {
  if (style == m_periodStyle) return;
  m_periodStyle = style;
  Recompute();
}

void TZavFunction::SetMovingWindow(bool moving) {
  if (moving == m_movingWindow) return;
  m_movingWindow = moving;
  Recompute();
}

void TZavFunction::Assign(const TZavFunction& source) {
  if (&source == this) return;
  const bool changed = source.m_period != m_period || source.m_periodStyle != m_periodStyle ||
                       source.m_periodAlign != m_periodAlign;
  m_period = source.m_period;
  m_periodStyle = source.m_periodStyle;
  m_periodAlign = source.m_periodAlign;
  if (changed) Recompute();
}

// [SECTION] Parent series and recomputing

// The series owns its function, so moving the function between series moves the
// ownership with it. With no new series the function needs a home that outlives
// the call: the old parent's owner, which owns the function's siblings too. That
// insertion is the only step that can fail (a name taken there), so it runs first.
void TZavFunction::SetParentSeries(TChartSeries* series) {
  if (series == m_parentSeries) return;
  if (series == nullptr) {
    TChartSeries* old = m_parentSeries;
    if (TComponent* home = old->Owner()) home->InsertComponent(this);
    (void)old->TakeFunction().release();
    return;
  }
  if (m_parentSeries != nullptr) (void)m_parentSeries->TakeFunction().release();
  series->SetFunction(std::unique_ptr<TZavFunction>(this));
}

void TZavFunction::SetParentComponent(TComponent* parent) {
  if (auto* series = dynamic_cast<TChartSeries*>(parent)) SetParentSeries(series);
}

TComponent* TZavFunction::ParentComponent() const { return m_parentSeries; }

// Through the chart, which knows whether the series may reload now (not while a
// description is still being read into it).
void TZavFunction::Recompute() {
  if (m_recomputeSuspended || m_parentSeries == nullptr) return;
  if (TCustomAxisPanel* chart = m_parentSeries->ParentChart()) chart->RefreshFromDataSource(m_parentSeries);
}

const TChartValueList& TZavFunction::SourceList(const TChartSeries& series) const {
  if (m_parentSeries == nullptr) return series.MandatoryList();
  const std::string& name = m_parentSeries->MandatoryList().ValueSource();
  return name.empty() ? series.MandatoryList() : series.ValueListByName(name);
}

// [SECTION] Adding the points

void TZavFunction::AddFunctionPoints(TChartSeries* source) {
  if (source == nullptr || m_parentSeries == nullptr) return;
  FloatFaultScope scope;
  TChartSeries& parent = *m_parentSeries;
  const TChartValueList& list = source->NotMandatoryList();
  if (parent.DataSources().size() > 1) {
    // A copy: adding points notifies other series, which must not pull the list
    // from under the loop.
    const std::vector<TComponent*> sources = parent.DataSources();
    const int count = source->PointCount();
    for (int i = 0; i < count; ++i) {
      double x = list.ValueAt(i);
      double y = ComputeAcross(sources, i);
      if (!source->YIsMandatory()) std::swap(x, y);
      parent.AddPointXY(x, y, source->PointLabel(i), clDefault);
    }
    return;
  }
  if (source->PointCount() == 0) return;
  if (m_movingWindow) {
    ComputeMovingWindow(source, list);
  } else if (m_period != 0) {
    ComputeByPeriod(source, list);
  } else {
    ComputeWholeSeries(source, list);
  }
}

void TZavFunction::AddFunctionPoint(const TChartSeries& source, double value, double position) {
  if (m_parentSeries == nullptr) return;
  double x = position;
  double y = value;
  if (!source.YIsMandatory()) std::swap(x, y);
  m_parentSeries->AddPointXY(x, y, {}, clDefault);
}

// A series that cannot show a single point (a line) gets a level line across the
// source's range instead.
void TZavFunction::ComputeWholeSeries(TChartSeries* source, const TChartValueList& list) {
  if (m_parentSeries == nullptr) return;
  const double value = ComputeRange(source, -1, -1);
  const double minimum = list.MinimumValue();
  const double maximum = list.MaximumValue();
  if (!m_parentSeries->AllowSinglePoint()) {
    AddFunctionPoint(*source, value, minimum);
    AddFunctionPoint(*source, value, maximum);
    return;
  }
  const double middle = StoreDouble(FAdd(FMul(FSub(maximum, minimum), 0.5), minimum));
  if (m_parentSeries->YIsMandatory()) {
    m_parentSeries->AddPointXY(middle, value, {}, clDefault);
  } else {
    m_parentSeries->AddPointXY(value, middle, {}, clDefault);
  }
}

// Groups of PeriodPoints() points from the first on (an incomplete last group
// adds nothing), or ranges of X of width Period from the first X on (calendar
// periods on a date-time axis, see NextRangeBoundary). A range that holds no
// point still adds a point, of value 0, and the next range starts from the same
// point. A range boundary that the step cannot move any more (a Period below the
// resolution of X at that magnitude) ends the grouping: the ranges left would all
// be empty and never reach the next point.
void TZavFunction::ComputeByPeriod(TChartSeries* source, const TChartValueList& list) {
  const std::int64_t count = source->PointCount();
  if (count == 0) return;
  const bool byRange = m_periodStyle == psRange;
  const std::int64_t groupPoints = byRange ? 0 : PeriodPoints();
  std::int64_t first = 0;
  double boundary = list.ValueAt(0);
  while (first <= count - 1) {
    double start = 0;
    double last = 0;
    std::int64_t end = first;
    if (byRange) {
      start = boundary;
      const double next = NextRangeBoundary(boundary);
      if (!std::isgreater(next, boundary)) break;
      boundary = next;
      last = StoreDouble(FSub(boundary, FMul(m_period, 0.001)));
      while (end < count - 1 && OrderedLess(list.ValueAt(static_cast<int>(end + 1)), boundary)) ++end;
    } else {
      start = list.ValueAt(static_cast<int>(first));
      end = first + groupPoints - 1;
      last = end < count ? list.ValueAt(static_cast<int>(end)) : 0;
    }
    const bool holdsFirst = !byRange || OrderedLess(list.ValueAt(static_cast<int>(first)), boundary);
    if (end < count) {
      double position = start;
      if (m_periodAlign == paLast) position = last;
      if (m_periodAlign == paCenter) position = StoreDouble(FMul(FAdd(start, last), 0.5));
      if (holdsFirst) {
        ComputePeriodPoint(source, static_cast<int>(first), static_cast<int>(end), position);
      } else {
        AddFunctionPoint(*source, 0, position);
      }
    }
    if (holdsFirst) first = end + 1;
  }
}

void TZavFunction::ComputePeriodPoint(TChartSeries* source, int first, int last, double position) {
  AddFunctionPoint(*source, ComputeRange(source, first, last), position);
}

// One point per window of PeriodPoints() consecutive points, placed at the X of
// the window's last point; none when the source is shorter than one window.
void TZavFunction::ComputeMovingWindow(TChartSeries* source, const TChartValueList& list) {
  const std::int64_t count = source->PointCount();
  const std::int64_t window = PeriodPoints();
  for (std::int64_t last = window - 1; last < count; ++last) {
    const double value = ComputeRange(source, static_cast<int>(last - window + 1), static_cast<int>(last));
    AddFunctionPoint(*source, value, list.ValueAt(static_cast<int>(last)));
  }
}

// A period that rounds to 0 would make every group end before it starts, so the
// grouping would never advance: it counts as 1.
std::int64_t TZavFunction::PeriodPoints() const {
  if (std::isgreaterequal(m_period, static_cast<double>(kMaxPeriodPoints))) return kMaxPeriodPoints;
  return std::max<std::int64_t>(1, Round(m_period));
}

// Where the horizontal axis labels dates by calendar periods, a range of one such
// period steps as its labels do: a month ends on the 1st of the next, whatever its
// length, where 30 days would drift off the months a few ranges on. Anything else
// (no chart, numbers, an axis not set to exact dates, a period the calendar does
// not name) adds Period. A date outside the calendar, or one whose next period
// lies beyond it, moves by Period inside StepDateTime, so the boundary still advances.
double TZavFunction::NextRangeBoundary(double boundary) const {
  const TChartAxis* axis = m_parentSeries != nullptr ? m_parentSeries->GetHorizAxis() : nullptr;
  const int index = CalendarStepIndex(m_period);
  if (axis != nullptr && index >= kHalfMonthStep && index <= kYearStep && axis->ExactDateTime() &&
      axis->IsDateTimeAxis()) {
    TDateTime next = boundary;
    StepDateTime(true, true, next, index, m_period);
    return next;
  }
  return StoreDouble(FAdd(boundary, m_period));
}

// [SECTION] Values (the base's are 0)

double TZavFunction::ComputeRange(TChartSeries*, int, int) { return 0; }

double TZavFunction::ComputeAcross(const std::vector<TComponent*>&, int) { return 0; }

std::optional<double> TZavFunction::SourceValueAt(const TComponent* source, int index) const {
  auto* series = dynamic_cast<const TChartSeries*>(source);
  if (series == nullptr || index < 0) return std::nullopt;
  const TChartValueList& values = SourceList(*series);
  if (values.ValueCount() <= index) return std::nullopt;
  return values.ValueAt(index);
}

// [SECTION] Published properties

const PropertyTable& TZavFunction::PublishedProperties() {
  using F = TZavFunction;
  static const PropertyTable table(
      &TComponent::PublishedProperties(),
      {
          FloatProperty<F>("Period", &F::Period, &F::SetPeriod),
          EnumProperty<F, TFunctionPeriodAlign>("PeriodAlign", &F::PeriodAlign, &F::SetPeriodAlign,
                                                FunctionPeriodAlignNames()),
          EnumProperty<F, TFunctionPeriodStyle>("PeriodStyle", &F::PeriodStyle, &F::SetPeriodStyle,
                                                FunctionPeriodStyleNames()),
      });
  return table;
}

}  // namespace tarvela
