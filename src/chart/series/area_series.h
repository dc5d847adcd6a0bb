#pragma once
/// TAreaSeries fills the area between its line and a baseline, the bottom of its
/// vertical axis; several area series of a chart can be stacked on each other
/// (MultiArea), the baseline of each being the line of those before it, and then share
/// one depth slab. The drawing is TCustomSeries' with DrawArea set; what changes is
/// where a point and its baseline lie.
/// @file
#include <cstdint>
#include <memory>
#include <vector>

#include "tarvela/chart/series/line_series.h"
#include "tarvela/chart/series/stack_sums.h"

namespace tarvela {

enum TMultiArea { maNone, maStacked, maStacked100 };
const EnumNames<TMultiArea>& MultiAreaNames();

class TAreaSeries : public TCustomSeries {
 public:
  /// Draws its area, with the pointer hidden and the points not joined by a line of
  /// their own.
  explicit TAreaSeries(TComponent* owner);
  std::string_view ClassName() const override { return "TAreaSeries"; }
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override { return PublishedProperties(); }

  // settings
  TMultiArea MultiArea() const { return m_multiArea; }
  /// Stacking is a matter of all area series of the chart: each of them takes the value.
  void SetMultiArea(TMultiArea multiArea);

  // operations
  /// Joins its points; MultiArea from another area series; the pointer is hidden unless
  /// the source is an area series too.
  void Assign(const TChartSeries& source) override;
  /// The pixel row of value at index stacked on the positive values of the area series
  /// before this one (maStacked), or as a percentage of all of them (maStacked100).
  int StackedY(int valueIndex, double value) const;
  /// The sum of the positive Y values at index of the active area series before this
  /// one in the chart's list; with includeAll, of all of them (this one too).
  double StackOrigin(int valueIndex, bool includeAll = false) const;

  // overridable steps
  int PointYPixel(int index) const override;
  int BaselinePos(int valueIndex) const override;
  /// Stacked, each point stands on the ones before it.
  bool FixedBaseline() const override { return !Stacked(); }
  double HighestY() const override;
  double LowestY() const override;
  /// Stacked, the first stacked area series of the chart gives its slab to the others.
  const TChartSeries* DepthSlotLeader() const override;
  /// The filled box of the area, or its pointer: the pen of the area's lines, the area's
  /// brush style, the hatch's background the area colour.
  void PrepareLegendSymbol(int valueIndex, TColor& backColor, TBrushStyle& brushStyle) override;

 private:
  bool Stacked() const { return m_multiArea != maNone; }
  /// A series of the same class as this one that takes part in the stack.
  bool StacksWith(const TChartSeries& other) const;

  /// The active area series of one class in a chart, in list order, and their sums.
  struct TAreaStack {
    std::vector<const TAreaSeries*> members;
    mutable TStackSums<double> sums;
  };
  /// The stack as last worked out for a chart's arrangement of series.
  struct TStackPlace {
    std::uint64_t arrangement = 0;
    const TCustomAxisPanel* chart = nullptr;
    std::shared_ptr<const TAreaStack> stack;
    int index = -1;  ///< of this series among the members; -1 when inactive
  };
  /// Works out the stacks of all area series of chart at once, each keeping its own.
  static void PlaceAllInStacks(const TCustomAxisPanel& chart);
  /// The stack of this series in its chart's current arrangement; null without a chart.
  const TAreaStack* Stack() const;
  /// The stack's sums when this series is a member of a stack large enough to keep them
  /// (at one of its own points); null otherwise.
  const TStackSums<double>* StackSums(int valueIndex) const;

  // state
  TMultiArea m_multiArea = maNone;
  mutable TStackPlace m_stackPlace;
};

}  // namespace tarvela
