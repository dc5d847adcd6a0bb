#pragma once
/// TPointSeries draws only the pointers of its points: no line, no area. Its drawing
/// and hit test are TCustomSeries' with the points not joined; a click finds a pointer
/// or a point's exact pixel, never the space between two points.
///
/// In 2D a pointer that a later pointer covers exactly (same shape on the same pixel)
/// is not drawn: the picture is the one of every point, and a million points cost about
/// as many pointers as there are pixels they land on.
/// @file
#include <cstdint>
#include <unordered_set>
#include <vector>

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
  /// The pointers no later identical pointer covers, point by point; everything else as
  /// every series draws.
  void DrawAllPoints() override;

 private:
  /// Whether the drawing of the pointers is the same pixels whatever pointer lies
  /// under a later identical one: 2D, one opaque style, nothing joined.
  bool CullsCoveredPointers() const;
  /// The points whose pointers show (no later pointer on their pixel), into m_shown
  /// (ascending); false when a point lies beyond the pixel range, which the
  /// point-by-point drawing treats its own way.
  bool FindShownPointers(int first, int last);
  /// The shown points' rectangles through the canvas' Rectangles2D when the surface
  /// draws them faster so, else point by point; false (nothing drawn) when the pointers
  /// are not rectangles of one colour.
  bool DrawShownRectangles();

  // state, kept between paints for its storage
  std::vector<int> m_shown;
  std::vector<TPoint> m_shownPixels;   ///< the pixel of each shown point
  std::vector<std::uint64_t> m_taken;  ///< a bit per cell: a later pointer lies there
  std::unordered_set<std::uint64_t> m_takenOutside;
  std::vector<TRect> m_rects;
};

}  // namespace tarvela
