// Polygon pixels by the rule of Qt's raster engine, and clips as rows of spans.
//
// Contents: [SECTION] polygon rows, row spans, clip.
//
// The rule. Without antialiasing QPainter fills the pixels whose centres lie inside the
// polygon; its scan converter (vertices in 26.6 fixed point, crossings in 16.16) walks
// each non-horizontal edge from its upper end a = (ax, ay) down to b, one row at a time:
//
//   rows          ay .. by - 1 (the centres y + 0.5 strictly between the ends)
//   slope         s = trunc(65536 · dx / dy), dx / dy rounded to a double first
//   crossing      X(y) = 32768 + 65536 · ax + s · (y − ay) + floor(s / 2)
//
// that is x + 0.5 at the row's centre, in 16.16, with the slope cut to whole 1/65536ths
// toward zero. Pixel column floor(X / 65536) is the first one right of the crossing, so
// a pixel is inside when an odd number of crossings have floor(X / 65536) <= its column.
// When the slope is exact, a centre exactly on an edge counts as lying left of it: such a
// pixel is filled on a span's right edge and not on its left one. When the slope is not
// exact (dx / dy not a multiple of 1/65536) the cut slope decides such ties, and it can
// go either way along one edge; the formula above reproduces it, since it is what Qt
// computes. Found by comparing with QPainter on many thousands of random polygons
// (self-intersecting, degenerate, collinear, far outside the image): every pixel equal
// while all coordinates lie within kExactLimit. Beyond it QPainter cuts the polygon with
// its path clipper first, whose floating-point vertices move the crossings slightly.
//
// The window. The rasteriser works inside the device cut by the clip's bounding box, and
// that box matters: each edge's rows beyond a side are replaced by a vertical edge on
// the side, and the row where the edge crosses the side comes from a floating-point
// division rounded toward the rows outside. Inside the window that changes nothing but
// for very flat edges far out (several pixels per 1/65536 of a row), where a row whose
// crossing lies just inside the window is still put on its side; CutAtSide does as Qt.
//
// Vertices off the pixel grid (a flattened curve) enter in 26.6 as well: an edge then
// covers the rows whose centres lie strictly between its ends, and its first crossing
// is taken at that row's centre from the exact 26.6 start, the product shifted down.
//
// Clips are kept in the same form (rows of spans), so that a clip polygon covers what a
// fill of it covers.

#include "tarvela/widgets/raster_spans.h"

#include <algorithm>
#include <climits>
#include <tuple>

namespace tarvela {

// ---------------------------------------------------------------- [SECTION] polygon rows

bool PolygonScanner::Exact(std::span<const TPoint> points) {
  return std::all_of(points.begin(), points.end(), [](const TPoint& p) {
    return p.x >= -kExactLimit && p.x <= kExactLimit && p.y >= -kExactLimit && p.y <= kExactLimit;
  });
}

void PolygonScanner::Start(std::span<const TPoint> points, const QRect& window) {
  StartEdges(points, window, false);
}

void PolygonScanner::Start26Dot6(std::span<const TPoint> points, const QRect& window) {
  StartEdges(points, window, true);
}

// Whole pixels (vertices at pixel centres' corners) or 26.6 fixed point: the rows an
// edge crosses and where it starts differ; edges, cuts and order do not.
void PolygonScanner::StartEdges(std::span<const TPoint> points, const QRect& window, bool fixed26Dot6) {
  m_window = window;
  m_edges.clear();
  m_active.clear();
  m_nextEdge = 0;
  m_spans.clear();
  const long long left = static_cast<long long>(window.left()) * 65536;
  const long long right = (static_cast<long long>(window.right()) + 1) * 65536;
  const std::size_t count = points.size();
  for (std::size_t i = 0; i < count; ++i) {
    TPoint a = points[i], b = points[(i + 1) % count];
    if (a.y == b.y) continue;
    if (a.y > b.y) std::swap(a, b);
    // In 26.6, the rows whose centres lie strictly between the ends.
    const long long firstRow = std::max<long long>(fixed26Dot6 ? (a.y + 32) >> 6 : a.y, window.top());
    const long long lastRow =
        std::min<long long>(fixed26Dot6 ? (b.y - 32) >> 6 : static_cast<long long>(b.y) - 1, window.bottom());
    if (firstRow > lastRow) continue;
    int top = static_cast<int>(firstRow), bottom = static_cast<int>(lastRow);
    const long long ax = 32768 + static_cast<long long>(a.x) * (fixed26Dot6 ? 1024 : 65536);
    if (a.x == b.x) {
      AddEdge(top, bottom, std::clamp(ax, left, right), 0);
      continue;
    }
    const long long dx = static_cast<long long>(b.x) - a.x, dy = static_cast<long long>(b.y) - a.y;
    const auto slope = static_cast<long long>(static_cast<double>(dx) / static_cast<double>(dy) * 65536.0);
    // |slope · (top − ay)| <= 65536 · |dx| since top − ay < dy: no overflow.
    const long long down = static_cast<long long>(top) * 65536 + 32768 - static_cast<long long>(a.y) * 1024;
    long long x = fixed26Dot6 ? ax + ((slope * down) >> 16) : ax + slope * (top - a.y) + (slope >> 1);
    if (CutAtSide(x, top, bottom, slope, left, false)) continue;
    if (CutAtSide(x, top, bottom, slope, right, true)) continue;
    AddEdge(top, bottom, x, slope);
  }
  std::sort(m_edges.begin(), m_edges.end(), [](const Edge& a, const Edge& b) { return a.top < b.top; });
  m_row = m_edges.empty() ? window.top() : m_edges.front().top - 1;
}

void PolygonScanner::AddEdge(int top, int bottom, long long x, long long slope) {
  Edge edge;
  edge.top = top;
  edge.bottom = bottom;
  edge.x = x;
  edge.slope = slope;
  m_edges.push_back(edge);
}

// Qt's rasteriser replaces the rows of an edge beyond a side of the window by a vertical
// edge on that side; true when nothing of the edge is left inside. The row where the
// edge crosses the side comes from a division in floating point and is rounded toward
// the rows outside (by 1/65536 of a row), so a row whose crossing lies just inside may
// still be put on the side: on a very flat edge, several pixels inside.
bool PolygonScanner::CutAtSide(long long& x, int& top, int& bottom, long long slope, long long side, bool right) {
  if (x == side) {
    if ((slope > 0) != right) return false;
    AddEdge(top, bottom, side, 0);
    return true;
  }
  const long long last = x + slope * (bottom - top);
  if (last == side) {
    if ((slope < 0) != right) return false;
    AddEdge(top, bottom, side, 0);
    return true;
  }
  const bool startsLeft = x < side;
  if ((last < side) != startsLeft) {
    const auto rows = static_cast<long long>(static_cast<double>(side - x) / (static_cast<double>(slope) / 65536.0));
    if (startsLeft != right) {
      // The rows above the crossing are outside.
      const int height = static_cast<int>((rows + 1) >> 16);
      const int middle = top + height;
      AddEdge(top, middle, side, 0);
      if (middle == bottom) return true;
      x += slope * (height + 1);
      top = middle + 1;
    } else {
      // The rows below the crossing are outside.
      const int middle = top + static_cast<int>(rows >> 16);
      if (middle != bottom) {
        AddEdge(middle + 1, bottom, side, 0);
        bottom = middle;
      }
    }
    return false;
  }
  if (startsLeft != right) {
    AddEdge(top, bottom, side, 0);
    return true;
  }
  return false;
}

bool PolygonScanner::NextRowOfMany() {
  const int left = m_window.left(), right = m_window.right() + 1;
  for (;;) {
    int y = m_row + 1;
    if (m_active.empty()) {
      if (m_nextEdge == m_edges.size()) return false;
      y = std::max(y, m_edges[m_nextEdge].top);
    }
    while (m_nextEdge < m_edges.size() && m_edges[m_nextEdge].top == y) m_active.push_back(m_edges[m_nextEdge++]);
    m_row = y;
    m_spans.clear();
    m_crossings.clear();
    bool ending = false;
    for (Edge& edge : m_active) {
      m_crossings.push_back(Column(edge.x, left, right));
      edge.x += edge.slope;
      ending = ending || edge.bottom == y;
    }
    if (ending) std::erase_if(m_active, [y](const Edge& edge) { return edge.bottom == y; });
    // Few crossings, nearly in order from the row before.
    for (std::size_t i = 1; i < m_crossings.size(); ++i) {
      const int crossing = m_crossings[i];
      std::size_t j = i;
      for (; j > 0 && m_crossings[j - 1] > crossing; --j) m_crossings[j] = m_crossings[j - 1];
      m_crossings[j] = crossing;
    }
    for (std::size_t i = 0; i + 1 < m_crossings.size(); i += 2) {
      const int from = std::max(m_crossings[i], left), to = std::min(m_crossings[i + 1], right);
      if (from >= to) continue;
      if (!m_spans.empty() && m_spans.back().right == from) {
        m_spans.back().right = to;
      } else {
        m_spans.push_back({from, to});
      }
    }
    if (!m_spans.empty()) return true;
  }
}

// ---------------------------------------------------------------- [SECTION] row spans

RowSpans RowSpans::OfPolygon(std::span<const TPoint> points, const QRect& window) {
  RowSpans rows;
  PolygonScanner scanner;
  scanner.Start(points, window);
  scanner.ForEachSpan([&](int y, int left, int right) {
    if (rows.m_rowStart.empty()) rows.m_top = y;
    while (rows.m_rowStart.size() <= static_cast<std::size_t>(y - rows.m_top)) {
      rows.m_rowStart.push_back(rows.m_spans.size());
    }
    rows.m_spans.push_back({left, right});
  });
  rows.Finish();
  return rows;
}

RowSpans RowSpans::OfRegion(const QRegion& region) {
  std::vector<std::tuple<int, int, int>> pieces;  // row, left, right
  for (const QRect& rect : region) {
    for (int y = rect.top(); y <= rect.bottom(); ++y) pieces.emplace_back(y, rect.left(), rect.right() + 1);
  }
  std::sort(pieces.begin(), pieces.end());
  RowSpans rows;
  for (const auto& [y, left, right] : pieces) {
    if (rows.m_rowStart.empty()) rows.m_top = y;
    const std::size_t row = static_cast<std::size_t>(y - rows.m_top);
    const bool sameRow = rows.m_rowStart.size() == row + 1;
    while (rows.m_rowStart.size() <= row) rows.m_rowStart.push_back(rows.m_spans.size());
    if (sameRow && !rows.m_spans.empty() && rows.m_spans.back().right >= left) {
      rows.m_spans.back().right = std::max(rows.m_spans.back().right, right);
    } else {
      rows.m_spans.push_back({left, right});
    }
  }
  rows.Finish();
  return rows;
}

void RowSpans::Finish() {
  m_rowStart.push_back(m_spans.size());
  m_only.clear();
  for (std::size_t row = 0; row + 1 < m_rowStart.size(); ++row) {
    m_only.push_back(m_rowStart[row + 1] == m_rowStart[row] + 1 ? m_spans[m_rowStart[row]] : PixelSpan{});
  }
  m_bounds = BoundsWithin(QRect(QPoint(-(1 << 30), -(1 << 30)), QPoint(1 << 30, 1 << 30)));
}

QRect RowSpans::BoundsWithin(const QRect& rect) const {
  if (m_rowStart.size() < 2 || rect.isEmpty()) return {};
  const int first = std::max(m_top, rect.top());
  const int last = std::min(m_top + static_cast<int>(m_rowStart.size()) - 2, rect.bottom());
  int left = INT_MAX, right = INT_MIN, top = INT_MAX, bottom = INT_MIN;
  for (int y = first; y <= last; ++y) {
    for (const PixelSpan& span : Row(y)) {
      const int from = std::max(span.left, rect.left()), to = std::min(span.right, rect.right() + 1);
      if (from >= to) continue;
      left = std::min(left, from);
      right = std::max(right, to);
      top = std::min(top, y);
      bottom = y;
    }
  }
  if (left > right) return {};
  return QRect(QPoint(left, top), QPoint(right - 1, bottom));
}

bool RowSpans::Covers(const QRect& area) const {
  if (area.isEmpty()) return true;
  if (area.top() < m_top || area.bottom() - m_top >= static_cast<int>(m_only.size())) return false;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    const PixelSpan& span = m_only[static_cast<std::size_t>(y - m_top)];
    if (span.left > area.left() || span.right <= area.right()) return false;
  }
  return true;
}

QRegion RowSpans::Region(const QRect& rect) const {
  // Rows with the same spans one under the other make one band of the region.
  std::vector<QRect> rects;
  std::vector<PixelSpan> band, row;
  int bandTop = 0, bandBottom = -1;
  const auto closeBand = [&] {
    for (const PixelSpan& span : band) {
      rects.emplace_back(QPoint(span.left, bandTop), QPoint(span.right - 1, bandBottom));
    }
    band.clear();
  };
  if (m_rowStart.size() >= 2 && !rect.isEmpty()) {
    const int first = std::max(m_top, rect.top());
    const int last = std::min(m_top + static_cast<int>(m_rowStart.size()) - 2, rect.bottom());
    for (int y = first; y <= last; ++y) {
      row.clear();
      for (const PixelSpan& span : Row(y)) {
        const int left = std::max(span.left, rect.left()), right = std::min(span.right, rect.right() + 1);
        if (left < right) row.push_back({left, right});
      }
      if (!band.empty() && row == band && bandBottom == y - 1) {
        bandBottom = y;
        continue;
      }
      closeBand();
      band = row;
      bandTop = bandBottom = y;
    }
    closeBand();
  }
  QRegion region;
  if (!rects.empty()) region.setRects(rects.data(), static_cast<int>(rects.size()));
  return region;
}

// ---------------------------------------------------------------- [SECTION] clip

QRegion PixelClip::Region() const { return m_spans ? m_spans->Region(m_rect) : QRegion(m_rect); }

void PixelClip::Remove() {
  m_active = false;
  m_spans.reset();
}

void PixelClip::SelectRect(const QRect& rect) {
  m_active = true;
  m_rect = rect;
  m_spans.reset();
  m_bounds = m_rect;
}

void PixelClip::IntersectRect(const QRect& rect) {
  if (!m_active) {
    SelectRect(rect);
    return;
  }
  m_rect &= rect;
  m_bounds = m_spans ? m_spans->BoundsWithin(m_rect) : m_rect;
}

void PixelClip::SelectSpans(std::shared_ptr<const RowSpans> spans) {
  m_active = true;
  // No rectangle cuts the spans yet: one larger than any device.
  m_rect = QRect(QPoint(-(1 << 28), -(1 << 28)), QPoint(1 << 28, 1 << 28));
  m_spans = std::move(spans);
  m_bounds = m_spans->Bounds();
}

}  // namespace tarvela
