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

void TCustomSeries::NearColumnRange(int x, int& from, int& to) const {
  const TCustomAxisPanel* chart = ParentChart();
  const TChartAxis* axis = GetHorizAxis();
  const TChartValueList& xs = XValues();
  if (chart == nullptr || chart->View3D() || axis == nullptr || to - from < 64 || xs.Multiplier() != 1.0 ||
      !xs.KnownInOrder() || !axis->MapsInOrder(XValueAt(from), XValueAt(to))) {
    return;
  }
  // A pointer reaches less than its half size either side; a segment, a stair and an
  // area slice lie within their ends' columns.
  const int reach = (m_pointer.Visible() ? std::abs(m_pointer.HorizSize()) : 0) + 1;
  const bool rising = PointXPixel(from) <= PointXPixel(to);
  // Whether point i's column lies beyond x by more than the reach, on the side of the
  // first point (before) or of the last (after).
  const auto before = [&](int i) {
    const long long column = PointXPixel(i);
    return rising ? column < static_cast<long long>(x) - reach : column > static_cast<long long>(x) + reach;
  };
  const auto after = [&](int i) {
    const long long column = PointXPixel(i);
    return rising ? column > static_cast<long long>(x) + reach : column < static_cast<long long>(x) - reach;
  };
  // The last point before x, if any: no pair that ends before it reaches x.
  if (before(from)) {
    int low = from, high = to + 1;  // before(low); high is not, or past the end
    while (high - low > 1) {
      const int middle = low + (high - low) / 2;
      (before(middle) ? low : high) = middle;
    }
    from = low;
  }
  // The first point after x, if any: no pair that starts after it reaches x.
  if (after(to)) {
    int low = from - 1, high = to;  // after(high); low is not, or before the start
    while (high - low > 1) {
      const int middle = low + (high - low) / 2;
      (after(middle) ? high : low) = middle;
    }
    to = high;
  }
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

  // Every test below needs x within reach of the point's or the previous point's pixel
  // column. Where the columns follow the indexes, only the indexes whose pair can reach
  // x are tested, found by halving: a press on a chart of a million points maps a few
  // points, not all of them, and finds what the whole scan would find first.
  int from = first, to = last;
  NearColumnRange(x, from, to);
  TPoint previous{0, 0};
  if (from > first) previous = {PointXPixel(from - 1), PointYPixel(from - 1)};
  for (int i = from; i <= to; ++i) {
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
