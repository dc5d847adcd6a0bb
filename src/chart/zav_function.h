#pragma once
// TZavFunction computes the points of a series from the series' data sources
// instead of the series receiving them one by one. So far only what the series
// calls: the series owns its function, is its parent, and lets it add the points
// whenever it reloads from its sources. The periods, the seven functions and
// their computation build on this.
//
// A component (so that a form description may name one), but owned by its series
// alone: a series that takes a function from an owner takes it out of that owner.

#include "runtime/component.h"

namespace tarvela {

class TChartSeries;

class TZavFunction : public TComponent {
 public:
  explicit TZavFunction(TComponent* owner);
  ~TZavFunction() override;
  std::string_view ClassName() const override { return "TZavFunction"; }

  // operations
  // The series whose points the function computes; null until a series takes it.
  TChartSeries* ParentSeries() const { return m_parentSeries; }

  // overridable steps
  // Adds the parent series' points computed from source (and the parent's other
  // data sources); the parent has cleared its points before.
  virtual void AddFunctionPoints(TChartSeries* source) = 0;

 private:
  friend class TChartSeries;  // sets and clears the parent as it takes and gives up the function

  // state
  TChartSeries* m_parentSeries = nullptr;
};

}  // namespace tarvela
