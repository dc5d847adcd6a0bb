#pragma once
/// TPointSeries draws only the pointers of its points: no line, no area. Its drawing
/// and hit test are TCustomSeries' with the points not joined; a click finds a pointer
/// or a point's exact pixel, never the space between two points.
/// @file
#include "tarvela/chart/series/line_series.h"

namespace tarvela {

class TPointSeries : public TCustomSeries {
 public:
  /// Pointer shown, points not joined, segments not clickable, marks without an arrow.
  explicit TPointSeries(TComponent* owner);
  std::string_view ClassName() const override { return "TPointSeries"; }
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override { return PublishedProperties(); }

  // settings
  /// Switched on, the pointer's brush takes each point's colour (clDefault).
  void SetColorEachPoint(bool colorEachPoint) override;

  // operations
  /// Stays a point series whatever the source drew: pointer shown, no line, no area.
  void Assign(const TChartSeries& source) override;
};

}  // namespace tarvela
