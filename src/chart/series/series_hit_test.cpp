// Which point of a line, point or area series lies under the mouse: its pointer, its
// pixel, or the segment (3D ribbon, stair, area slice) that starts at it, tested the
// way it is drawn. The geometry helpers are free functions, shared with other series
// types.

#include <algorithm>
#include <array>
#include <cstdlib>

#include "tarvela/chart/axes/axis_panel.h"
#include "tarvela/chart/series/line_series.h"

namespace tarvela {

bool PointNearSegment(TPoint p, TPoint a, TPoint b, int tolerance) {
  const long long dx = static_cast<long long>(b.x) - a.x;
  const long long dy = static_cast<long long>(b.y) - a.y;
  const long long cross = dy * (p.x - a.x) - static_cast<long long>(p.y - a.y) * dx;
  if (std::llabs(cross) >= std::max(std::llabs(dx), std::llabs(dy))) return false;
  const auto within = [tolerance](int value, int end0, int end1) {
    return value >= std::min(end0, end1) - tolerance && value <= std::max(end0, end1) + tolerance;
  };
  if (a.x != b.x && !within(p.x, a.x, b.x)) return false;
  if (a.y != b.y && !within(p.y, a.y, b.y)) return false;
  return true;
}

bool PolygonContains(std::span<const TPoint> polygon, TPoint p) {
  bool inside = false;
  const std::size_t n = polygon.size();
  for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
    const TPoint a = polygon[i];
    const TPoint b = polygon[j];
    const int low = std::min(a.y, b.y);
    const int high = std::max(a.y, b.y);
    if (p.y < low || p.y >= high) continue;
    // The edge's x at height p.y; strictly right of p counts.
    const double edgeX = a.x + static_cast<double>(b.x - a.x) * (p.y - a.y) / (b.y - a.y);
    if (p.x < edgeX) inside = !inside;
  }
  return inside;
}

bool TCustomSeries::PointerHit(int, int px, int py, int x, int y) const {
  return std::abs(px - x) < m_pointer.HorizSize() && std::abs(py - y) < m_pointer.VertSize();
}

bool TCustomSeries::SegmentHit(TPoint p, TPoint q, int x, int y) const {
  const TPoint at{x, y};
  const TCustomAxisPanel* chart = ParentChart();
  if (chart != nullptr && chart->View3D()) {
    const int dx = chart->DepthOffsetX();
    const int dy = chart->DepthOffsetY();
    const std::array<TPoint, 4> ribbon = {p, TPoint{p.x + dx, p.y - dy}, TPoint{q.x + dx, q.y - dy}, q};
    return PolygonContains(ribbon, at);
  }
  if (m_stairs && m_invertedStairs) {
    return PointNearSegment(at, q, {q.x, p.y}) || PointNearSegment(at, {q.x, p.y}, p);
  }
  if (m_stairs) {
    return PointNearSegment(at, q, {p.x, q.y}) || PointNearSegment(at, {p.x, q.y}, p);
  }
  return PointNearSegment(at, p, q);
}

int TCustomSeries::HitTest(int x, int y) const {
  const TCustomAxisPanel* chart = ParentChart();
  // The mouse is on the screen; the points lie at the series' front depth.
  if (chart != nullptr) chart->Canvas().UnprojectPoint(x, y, DepthFront());
  const int first = FirstDrawnIndex();
  const int last = LastDrawnIndex();
  if (first == -1 || last == -1) return -1;

  TPoint previous{0, 0};
  for (int i = first; i <= last; ++i) {
    const TPoint p{PointXPixel(i), PointYPixel(i)};
    if (m_pointer.Visible() && PointerHit(i, p.x, p.y, x, y)) {
      // The event hands its handler a changeable sender, as every series event does;
      // the test itself changes nothing.
      if (OnClickPointer) OnClickPointer(const_cast<TCustomSeries*>(this), i, x, y);
      return i;
    }
    if (p.x == x && p.y == y) return i;
    if (i > first && m_segmentsClickable) {
      if (SegmentHit(p, previous, x, y)) return i - 1;
      if (m_drawArea) {
        const std::array<TPoint, 4> slice = {previous, p, TPoint{p.x, BaselinePos(i)},
                                             TPoint{previous.x, BaselinePos(i - 1)}};
        if (PolygonContains(slice, {x, y})) return i - 1;
      }
    }
    previous = p;
  }
  return -1;
}

}  // namespace tarvela
