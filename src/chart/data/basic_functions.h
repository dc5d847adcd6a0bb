#pragma once
/// The seven series functions: what one value of a group of points (ComputeRange)
/// and of one point index across several sources (ComputeAcross) is. The grouping
/// itself, periods, windows and the placing of the points, is the base's
/// (zav_function.h).
///
/// Subtract, multiply and divide only combine values across sources: over the
/// points of a single source their value is 0. They share the fold of
/// TManySeriesZavFunction and differ in CombineValues alone.
/// @file
#include <string_view>
#include <vector>

#include "tarvela/chart/data/zav_function.h"

namespace tarvela {

/// Sum.
class TAddZavFunction : public TZavFunction {
 public:
  using TZavFunction::TZavFunction;
  std::string_view ClassName() const override { return "TAddZavFunction"; }

  // overridable steps
  double ComputeRange(TChartSeries* series, int first, int last) override;
  /// 0 when no source holds the index.
  double ComputeAcross(const std::vector<TComponent*>& sources, int index) override;
};

/// Folds the values across sources in list order with CombineValues, the first
/// value that takes part starting the result. Abstract: CombineValues is the
/// descendants'.
class TManySeriesZavFunction : public TZavFunction {
 public:
  using TZavFunction::TZavFunction;
  std::string_view ClassName() const override { return "TManySeriesZavFunction"; }

  // overridable steps
  /// 0 when no source holds the index.
  double ComputeAcross(const std::vector<TComponent*>& sources, int index) override;
  virtual double CombineValues(double a, double b) = 0;
};

/// The first source minus the others.
class TSubtractZavFunction : public TManySeriesZavFunction {
 public:
  using TManySeriesZavFunction::TManySeriesZavFunction;
  std::string_view ClassName() const override { return "TSubtractZavFunction"; }

  // overridable steps
  double CombineValues(double a, double b) override;
};

class TMultiplyZavFunction : public TManySeriesZavFunction {
 public:
  using TManySeriesZavFunction::TManySeriesZavFunction;
  std::string_view ClassName() const override { return "TMultiplyZavFunction"; }

  // overridable steps
  double CombineValues(double a, double b) override;
};

/// The first source divided by each later one; a zero divisor is skipped.
class TDivideZavFunction : public TManySeriesZavFunction {
 public:
  using TManySeriesZavFunction::TManySeriesZavFunction;
  std::string_view ClassName() const override { return "TDivideZavFunction"; }

  // overridable steps
  double CombineValues(double a, double b) override;
};

/// Maximum. Across sources the result starts at 0 unless the first source holds
/// the index, so a missing first source caps negative values at 0.
class THighZavFunction : public TZavFunction {
 public:
  using TZavFunction::TZavFunction;
  std::string_view ClassName() const override { return "THighZavFunction"; }

  // overridable steps
  double ComputeRange(TChartSeries* series, int first, int last) override;
  double ComputeAcross(const std::vector<TComponent*>& sources, int index) override;
};

/// Minimum, with the same start at 0 across sources as THighZavFunction.
class TLowZavFunction : public TZavFunction {
 public:
  using TZavFunction::TZavFunction;
  std::string_view ClassName() const override { return "TLowZavFunction"; }

  // overridable steps
  double ComputeRange(TChartSeries* series, int first, int last) override;
  double ComputeAcross(const std::vector<TComponent*>& sources, int index) override;
};

/// Mean. Over an empty range (last = first - 1) that is 0/0: EInvalidOp.
class TAverageZavFunction : public TZavFunction {
 public:
  using TZavFunction::TZavFunction;
  std::string_view ClassName() const override { return "TAverageZavFunction"; }

  // overridable steps
  double ComputeRange(TChartSeries* series, int first, int last) override;
  /// 0 when no source holds the index.
  double ComputeAcross(const std::vector<TComponent*>& sources, int index) override;
};

}  // namespace tarvela
