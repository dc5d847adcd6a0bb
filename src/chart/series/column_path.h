#pragma once
/// The path of a solid one-pixel 2D line through many points, each pixel column
/// reduced to what it lights. Shared by the series that join their points with such a
/// line (the line series' dense case, the fast line).
/// @file
#include <vector>

#include "tarvela/chart/data/chart_series.h"

namespace tarvela {

/// The polyline through points first..last of series (first < last) that lights the
/// same pixels as the segments from each point to the next: per pixel column its first
/// point, its lowest and highest in the order they come, and its last point; the last
/// column whole. False (path unusable) when the values are not known to be in X order,
/// are not finite, carry a multiplier, or map beyond the pixel range of raster calls.
bool ColumnReducedPath(const TChartSeries& series, int first, int last, std::vector<TPoint>& path);

/// The indexes of the points ColumnReducedPath passes through, ascending: per pixel
/// column its first point, its lowest and highest value in the order they come, and its
/// last point; every point of the last column. False as for ColumnReducedPath.
bool ColumnReducedIndexes(const TChartSeries& series, int first, int last, std::vector<int>& indexes);

/// The segments after point first of a line in point colours, for Surface::LineSegments
/// (segment i from path[i-1] to path[i] in colors[i], clNone for none): segment k, from
/// point k-1 to point k, in point k's colour unless either point is null or both share
/// a pixel, as DrawPoint draws it; except that a segment whose pixels the later segments
/// of its pixel column all light again is left out, with the points only such segments
/// touch (a jump in clNone takes their place). Drawn in order, the path lights every
/// pixel in the colour the whole line leaves it. False (path unusable) as for
/// ColumnReducedPath.
bool ColumnReducedColoredPath(const TChartSeries& series, int first, int last, std::vector<TPoint>& path,
                              std::vector<TColor>& colors);

}  // namespace tarvela
