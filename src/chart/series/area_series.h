#pragma once
// TAreaSeries fills the area between its line and a baseline, the bottom of its
// vertical axis; several area series of a chart can be stacked on each other
// (MultiArea), the baseline of each being the line of those before it, and then share
// one depth slab. The drawing is TCustomSeries' with DrawArea set; what changes is
// where a point and its baseline lie.

#include "tarvela/chart/series/line_series.h"

namespace tarvela {

enum TMultiArea { maNone, maStacked, maStacked100 };
const EnumNames<TMultiArea>& MultiAreaNames();

class TAreaSeries : public TCustomSeries {
 public:
  // Draws its area, with the pointer hidden and the points not joined by a line of
  // their own.
  explicit TAreaSeries(TComponent* owner);
  std::string_view ClassName() const override { return "TAreaSeries"; }
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override { return PublishedProperties(); }

  // settings
  TMultiArea MultiArea() const { return m_multiArea; }
  // Stacking is a matter of all area series of the chart: each of them takes the value.
  void SetMultiArea(TMultiArea multiArea);

  // operations
  // Joins its points; MultiArea from another area series; the pointer is hidden unless
  // the source is an area series too.
  void Assign(const TChartSeries& source) override;
  // The pixel row of value at index stacked on the positive values of the area series
  // before this one (maStacked), or as a percentage of all of them (maStacked100).
  int StackedY(int valueIndex, double value) const;
  // The sum of the positive Y values at index of the active area series before this
  // one in the chart's list; with includeAll, of all of them (this one too).
  double StackOrigin(int valueIndex, bool includeAll = false) const;

  // overridable steps
  int PointYPixel(int index) const override;
  int BaselinePos(int valueIndex) const override;
  double HighestY() const override;
  double LowestY() const override;
  // Stacked, the first stacked area series of the chart gives its slab to the others.
  const TChartSeries* DepthSlotLeader() const override;
  // The filled box of the area, or its pointer: the pen of the area's lines, the area's
  // brush style, the hatch's background the area colour.
  void PrepareLegendSymbol(int valueIndex, TColor& backColor, TBrushStyle& brushStyle) override;

 private:
  bool Stacked() const { return m_multiArea != maNone; }
  // A series of the same class as this one that takes part in the stack.
  bool StacksWith(const TChartSeries& other) const;

  // state
  TMultiArea m_multiArea = maNone;
};

}  // namespace tarvela
