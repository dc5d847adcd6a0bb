#pragma once
/// TZavFunction computes the points of a series from the series' data sources
/// instead of the series receiving them one by one: one value for the whole
/// source, one value per group of points (a period of points or of X), one value
/// per sliding window, or, with several sources, one value per point index across
/// them. The base holds the grouping; what a group's value is (a sum, a maximum...)
/// is the business of its descendants (basic_functions.h). The base's values are 0.
///
/// A component (so that a form description may nest one inside a series), but
/// owned by its series alone: a series that takes a function takes it out of its
/// component owner. Not a series and not drawn: it only adds points to its parent.
/// @file
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "tarvela/runtime/component.h"
#include "tarvela/runtime/properties.h"

namespace tarvela {

class TChartSeries;
class TChartValueList;

/// Where the computed point of a group is placed.
enum TFunctionPeriodAlign { paFirst, paCenter, paLast };
/// A group is a number of points, or a range of X values.
enum TFunctionPeriodStyle { psNumPoints, psRange };
const EnumNames<TFunctionPeriodAlign>& FunctionPeriodAlignNames();
const EnumNames<TFunctionPeriodStyle>& FunctionPeriodStyleNames();

class TZavFunction : public TComponent {
 public:
  explicit TZavFunction(TComponent* owner);
  ~TZavFunction() override;
  std::string_view ClassName() const override { return "TZavFunction"; }
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override { return PublishedProperties(); }

  // settings (published)
  /// 0: one value for the whole source; > 0: the size of a group, in points or in X.
  /// "Function Period should be >= 0" for a negative value, which is not stored.
  double Period() const { return m_period; }
  void SetPeriod(double period);
  TFunctionPeriodAlign PeriodAlign() const { return m_periodAlign; }
  void SetPeriodAlign(TFunctionPeriodAlign align);
  TFunctionPeriodStyle PeriodStyle() const { return m_periodStyle; }
  void SetPeriodStyle(TFunctionPeriodStyle style);

  // settings (not published)
  /// A sliding window of Period points instead of separate groups.
  bool MovingWindow() const { return m_movingWindow; }
  void SetMovingWindow(bool moving);
  /// While set, Recompute does nothing (several settings change, one reload after).
  bool RecomputeSuspended() const { return m_recomputeSuspended; }
  void SetRecomputeSuspended(bool suspended) { m_recomputeSuspended = suspended; }

  // operations
  /// The series whose points the function computes; null until a series takes it.
  TChartSeries* ParentSeries() const { return m_parentSeries; }
  /// The old parent forgets the function and series takes it (reloading as
  /// SetFunction does). Series takes ownership: a function that nobody holds but
  /// the caller becomes the series'. Null hands the function to the old parent's
  /// component owner (the form), or to the caller when there is none.
  void SetParentSeries(TChartSeries* series);
  /// Unless suspended, the chart reloads the parent series from its data source.
  void Recompute();
  /// The list of series the function reads: series' mandatory list, or the list
  /// named by the ValueSource of the parent's mandatory list.
  const TChartValueList& SourceList(const TChartSeries& series) const;
  /// Copies Period, PeriodStyle and PeriodAlign, then recomputes once if any changed.
  void Assign(const TZavFunction& source);

  // component steps
  /// A function nested in a series in a description becomes that series' function.
  void SetParentComponent(TComponent* parent) override;
  TComponent* ParentComponent() const override;

  // overridable steps
  /// Adds ComputeRange over source's points first..last at position.
  virtual void ComputePeriodPoint(TChartSeries* source, int first, int last, double position);
  /// One value for all of source: a level line, or a single middle point.
  virtual void ComputeWholeSeries(TChartSeries* source, const TChartValueList& list);
  /// One value per group of Period points, or per range of Period in list's values.
  virtual void ComputeByPeriod(TChartSeries* source, const TChartValueList& list);
  /// The value of SourceList(series) over first..last; first = -1 is the whole series.
  virtual double ComputeRange(TChartSeries* series, int first, int last);
  /// The value at index across the series among sources.
  virtual double ComputeAcross(const std::vector<TComponent*>& sources, int index);
  /// Adds the parent's points computed from source (and the parent's other data
  /// sources); the parent has cleared its points before. Nothing without a source.
  virtual void AddFunctionPoints(TChartSeries* source);

 protected:
  // operations (for the computing steps)
  /// Adds to the parent the point (position, value), exchanged when source's
  /// mandatory list is not YValues.
  void AddFunctionPoint(const TChartSeries& source, double value, double position);
  /// A window of Period points ending at every point from the Period-th on.
  void ComputeMovingWindow(TChartSeries* source, const TChartValueList& list);
  /// Period as a number of points: rounded (halves to even), at least 1.
  std::int64_t PeriodPoints() const;
  /// The next boundary of a psRange group after boundary: the parent's horizontal
  /// axis' calendar step when that axis labels dates by a calendar period matching
  /// Period, else boundary + Period.
  double NextRangeBoundary(double boundary) const;
  /// SourceList(source) at index when source is a series whose list is that long;
  /// otherwise it takes no part in a computation across sources.
  std::optional<double> SourceValueAt(const TComponent* source, int index) const;

 private:
  friend class TChartSeries;  ///< sets and clears the parent as it takes and gives up the function

  // state
  double m_period = 0;
  TFunctionPeriodAlign m_periodAlign = paCenter;
  TFunctionPeriodStyle m_periodStyle = psNumPoints;
  bool m_movingWindow = false;
  bool m_recomputeSuspended = false;
  TChartSeries* m_parentSeries = nullptr;
};

}  // namespace tarvela
