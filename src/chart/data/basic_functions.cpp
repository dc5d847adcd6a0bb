#include "tarvela/chart/data/basic_functions.h"

#include <cmath>
#include <optional>

#include "tarvela/chart/data/chart_series.h"
#include "tarvela/chart/data/value_list.h"
#include "tarvela/runtime/exceptions.h"
#include "tarvela/runtime/float_checks.h"

namespace tarvela {

// Contents:
//   [SECTION] Add
//   [SECTION] Combining across sources: subtract, multiply, divide
//   [SECTION] High and low
//   [SECTION] Average
//
// Sums run in extended precision, in index order, and are rounded to a double
// once (StoreDouble), which also raises a fault of the way there (an infinity
// minus an infinity, a sum beyond the double range). Each computation starts from
// clear flags (FloatFaultScope): it may be called on its own, after code that
// left a flag raised.

namespace {

// The list's TotalSum. The statistics never raise (every paint reads them), so the
// faults of the total are raised here, where it is a computed value: infinite from
// finite values is an overflow, not a number from infinite ones an invalid operation;
// values that are infinite or NaN already give their total quietly.
double CheckedTotal(const TChartValueList& values) {
  const double total = values.TotalSum();
  if (std::isfinite(total)) return total;
  bool anyNaN = false;
  bool anyInfinite = false;
  for (int k = 0; k < values.ValueCount(); ++k) {
    const double value = values.ValueAt(k);
    anyNaN = anyNaN || std::isnan(value);
    anyInfinite = anyInfinite || std::isinf(value);
  }
  if (anyNaN) return total;
  if (std::isnan(total)) throw EInvalidOp(messages::kInvalidOp);
  if (!anyInfinite) throw EOverflow(messages::kOverflow);
  return total;
}

// Values first..last of values; 0 for last < first.
long double SumOf(const TChartValueList& values, int first, int last) {
  long double sum = 0;
  for (int k = first; k <= last; ++k) sum += values.ValueAt(k);
  return sum;
}

// better(candidate, current): whether candidate replaces current.
template <class Better>
double ExtremeOf(const TChartValueList& values, int first, int last, Better better) {
  if (last < first) return 0;
  double result = values.ValueAt(first);
  for (int k = first + 1; k <= last; ++k) {
    const double value = values.ValueAt(k);
    if (better(value, result)) result = value;
  }
  return result;
}

// The series at position 0 of sources sets the result when it takes part; every
// later value that is better replaces it. Without the first, the start is 0.
template <class ValueAt, class Better>
double ExtremeAcross(const std::vector<TComponent*>& sources, ValueAt valueAt, Better better) {
  double result = 0;
  for (std::size_t k = 0; k < sources.size(); ++k) {
    const std::optional<double> value = valueAt(sources[k]);
    if (value && (k == 0 || better(*value, result))) result = *value;
  }
  return result;
}

bool Greater(double a, double b) { return a > b; }
bool Less(double a, double b) { return a < b; }

}  // namespace

// [SECTION] Add

double TAddZavFunction::ComputeRange(TChartSeries* series, int first, int last) {
  FloatFaultScope scope;
  const TChartValueList& values = SourceList(*series);
  if (first == -1) return CheckedTotal(values);
  return StoreDouble(SumOf(values, first, last));
}

double TAddZavFunction::ComputeAcross(const std::vector<TComponent*>& sources, int index) {
  FloatFaultScope scope;
  long double sum = 0;
  for (const TComponent* source : sources)
    if (const std::optional<double> value = SourceValueAt(source, index)) sum += *value;
  return StoreDouble(sum);
}

// [SECTION] Combining across sources: subtract, multiply, divide

double TManySeriesZavFunction::ComputeAcross(const std::vector<TComponent*>& sources, int index) {
  std::optional<double> result;
  for (const TComponent* source : sources) {
    const std::optional<double> value = SourceValueAt(source, index);
    if (!value) continue;
    result = result ? CombineValues(*result, *value) : *value;
  }
  return result.value_or(0);
}

double TSubtractZavFunction::CombineValues(double a, double b) {
  FloatFaultScope scope;
  return StoreDouble(FSub(a, b));
}

double TMultiplyZavFunction::CombineValues(double a, double b) {
  FloatFaultScope scope;
  return StoreDouble(FMul(a, b));
}

double TDivideZavFunction::CombineValues(double a, double b) {
  if (b == 0) return a;
  FloatFaultScope scope;
  return StoreDouble(FDiv(a, b));
}

// [SECTION] High and low
//
// Comparing a NaN is an invalid operation: the flag it raises comes out of
// StoreDouble as EInvalidOp rather than a maximum that depends on where the NaN was.

double THighZavFunction::ComputeRange(TChartSeries* series, int first, int last) {
  FloatFaultScope scope;
  const TChartValueList& values = SourceList(*series);
  if (first == -1) return values.MaximumValue();
  return StoreDouble(ExtremeOf(values, first, last, Greater));
}

double THighZavFunction::ComputeAcross(const std::vector<TComponent*>& sources, int index) {
  FloatFaultScope scope;
  auto valueAt = [this, index](const TComponent* source) { return SourceValueAt(source, index); };
  return StoreDouble(ExtremeAcross(sources, valueAt, Greater));
}

double TLowZavFunction::ComputeRange(TChartSeries* series, int first, int last) {
  FloatFaultScope scope;
  const TChartValueList& values = SourceList(*series);
  if (first == -1) return values.MinimumValue();
  return StoreDouble(ExtremeOf(values, first, last, Less));
}

double TLowZavFunction::ComputeAcross(const std::vector<TComponent*>& sources, int index) {
  FloatFaultScope scope;
  auto valueAt = [this, index](const TComponent* source) { return SourceValueAt(source, index); };
  return StoreDouble(ExtremeAcross(sources, valueAt, Less));
}

// [SECTION] Average

// The count is not checked for 0 on purpose: an empty range is 0/0, and the
// invalid operation is the answer, not a NaN point.
double TAverageZavFunction::ComputeRange(TChartSeries* series, int first, int last) {
  FloatFaultScope scope;
  const TChartValueList& values = SourceList(*series);
  if (first == -1) {
    const int count = series->PointCount();
    return count == 0 ? 0 : StoreDouble(FDiv(CheckedTotal(values), count));
  }
  return StoreDouble(FDiv(SumOf(values, first, last), static_cast<long double>(last) - first + 1));
}

double TAverageZavFunction::ComputeAcross(const std::vector<TComponent*>& sources, int index) {
  FloatFaultScope scope;
  long double sum = 0;
  int count = 0;
  for (const TComponent* source : sources) {
    if (const std::optional<double> value = SourceValueAt(source, index)) {
      sum += *value;
      ++count;
    }
  }
  return count == 0 ? 0 : StoreDouble(FDiv(sum, count));
}

}  // namespace tarvela
