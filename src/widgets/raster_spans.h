#pragma once
/// Pixels as rows of spans: the pixels of a filled polygon (PolygonScanner) and of a clip
/// (RowSpans, PixelClip). QtSurface uses them to write polygons and clipped drawing
/// straight into image memory and to hand the same clip to QPainter.
///
/// PolygonScanner is not a general rasteriser: it fills polygons with integer or 26.6
/// vertices by the even-odd rule exactly as Qt's raster engine does without antialiasing
/// (see raster_spans.cpp for the rule), and nothing else.
/// @file
#include <QRect>
#include <QRegion>
#include <algorithm>
#include <memory>
#include <span>
#include <vector>

#include "tarvela/platform/surface_types.h"

namespace tarvela {

/// Pixels left..right-1 of one row.
struct PixelSpan {
  int left = 0;
  int right = 0;
  bool operator==(const PixelSpan&) const = default;
};

class PolygonScanner {
 public:
  /// Within this many pixels of the origin (every coordinate) the rows equal QPainter's
  /// fill exactly; beyond, QPainter first cuts the polygon with its own path clipper.
  static constexpr int kExactLimit = 1 << 21;
  static bool Exact(std::span<const TPoint> points);

  // operations
  /// Begins the rows of the polygon (closed, even-odd) inside the window. The window
  /// enters into the rule: it must be the device cut by the clip's bounding box, as
  /// QPainter's rasteriser is given it.
  void Start(std::span<const TPoint> points, const QRect& window);
  /// The same for vertices in 26.6 fixed point (pixels × 64).
  void Start26Dot6(std::span<const TPoint> points, const QRect& window);
  /// Calls take(row, left, right) for every span, row by row, left to right; spans of a
  /// row neither overlap nor touch.
  template <class Take>
  void ForEachSpan(Take&& take) {
    const int left = m_window.left(), right = m_window.right() + 1;
    for (;;) {
      if (m_active.size() == 2) {
        // Most rows of most polygons: one span between two edges, until one of them
        // ends or another begins.
        Edge& a = m_active[0];
        Edge& b = m_active[1];
        int last = std::min(a.bottom, b.bottom) - 1;
        if (m_nextEdge < m_edges.size()) last = std::min(last, m_edges[m_nextEdge].top - 1);
        long long ax = a.x, bx = b.x;
        const long long aSlope = a.slope, bSlope = b.slope;
        for (int y = m_row + 1; y <= last; ++y) {
          const int first = Column(ax, left, right), second = Column(bx, left, right);
          ax += aSlope;
          bx += bSlope;
          const int from = std::max(std::min(first, second), left), to = std::min(std::max(first, second), right);
          if (from < to) take(y, from, to);
        }
        if (last > m_row) {
          a.x = ax;
          b.x = bx;
          m_row = last;
        }
      }
      if (!NextRowOfMany()) return;
      for (const PixelSpan& span : m_spans) take(m_row, span.left, span.right);
    }
  }
 private:
  void StartEdges(std::span<const TPoint> points, const QRect& window, bool fixed26Dot6);
  /// Crossings stay between the edge's ends, so any int coordinates fit 16.16 in 64 bits.
  struct Edge {
    int top = 0;          ///< first row in the window
    int bottom = 0;       ///< last row in the window
    long long x = 0;      ///< 16.16 crossing, shifted by half a pixel, at the current row
    long long slope = 0;  ///< 16.16 change of x per row
  };

  /// The first column right of a crossing; crossings beyond the window act like ones
  /// just outside it.
  static int Column(long long x, int left, int right) {
    return static_cast<int>(std::clamp<long long>(x >> 16, left - 1, right));
  }
  /// Steps to the next row that has pixels, the general way; false when there is none.
  bool NextRowOfMany();
  void AddEdge(int top, int bottom, long long x, long long slope);
  bool CutAtSide(long long& x, int& top, int& bottom, long long slope, long long side, bool right);

  // state
  QRect m_window;
  std::vector<Edge> m_edges;  ///< by top row
  std::size_t m_nextEdge = 0;
  std::vector<Edge> m_active;
  std::vector<int> m_crossings;
  std::vector<PixelSpan> m_spans;
  int m_row = 0;
};

/// The spans of a set of rows from top down (rows without pixels are empty).
class RowSpans {
 public:
  /// The polygon's pixels inside the window, as PolygonScanner fills them.
  static RowSpans OfPolygon(std::span<const TPoint> points, const QRect& window);
  static RowSpans OfRegion(const QRegion& region);

  std::span<const PixelSpan> Row(int y) const {
    const std::size_t row = static_cast<std::size_t>(static_cast<long long>(y) - m_top);
    if (y < m_top || row + 1 >= m_rowStart.size()) return {};
    return std::span<const PixelSpan>(m_spans.data() + m_rowStart[row], m_rowStart[row + 1] - m_rowStart[row]);
  }
  /// Whether every pixel of the area lies in the spans.
  bool Covers(const QRect& area) const;
  /// The bounding box of the pixels, of those inside rect.
  const QRect& Bounds() const { return m_bounds; }
  QRect BoundsWithin(const QRect& rect) const;
  /// The region of the pixels inside rect (QRegion's banded form).
  QRegion Region(const QRect& rect) const;

 private:
  void Finish();

  // state
  int m_top = 0;
  std::vector<std::size_t> m_rowStart;  ///< one entry per row and one more
  std::vector<PixelSpan> m_spans;
  std::vector<PixelSpan> m_only;  ///< per row its one span, or an empty one
  QRect m_bounds;
};

/// The pixels drawing may touch: all, a rectangle, or the pixels of spans (a polygon's)
/// cut by a rectangle. Clipping calls change it; nothing here draws.
class PixelClip {
 public:
  bool Active() const { return m_active; }
  /// While active, only pixels inside it are drawn.
  const QRect& Rect() const { return m_rect; }
  /// While active and not null, only pixels inside them too.
  const RowSpans* Spans() const { return m_spans.get(); }
  /// While active, the bounding box of the pixels it lets through.
  const QRect& Bounds() const { return m_bounds; }
  /// The clip as a region (with spans).
  QRegion Region() const;

  void Remove();
  void SelectRect(const QRect& rect);
  /// Without a clip, the rectangle becomes the clip.
  void IntersectRect(const QRect& rect);
  void SelectSpans(std::shared_ptr<const RowSpans> spans);

 private:
  // state
  bool m_active = false;
  QRect m_rect;
  std::shared_ptr<const RowSpans> m_spans;
  QRect m_bounds;
};

}  // namespace tarvela
