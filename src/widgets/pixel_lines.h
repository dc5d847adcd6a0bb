#pragma once
/// PixelLines lays out one-pixel lines the way Surface wants them: every pixel set once,
/// each segment's end point left out whatever its direction, the dash pattern running on
/// from one segment to the next. It only computes pixels (as runs); QtSurface paints
/// them, through QPainter or straight into image memory.
///
/// It is not Qt's cosmetic pen: that one leaves out whichever end comes last in its own
/// drawing order (see qt_surface.cpp).
/// @file
#include <QList>
#include <QRect>
#include <algorithm>
#include <vector>

#include "tarvela/platform/surface_types.h"

class QPainter;

namespace tarvela {

/// Dash lengths in pixels of the one-pixel styled pens (empty for solid ones).
QList<qreal> DashPatternOf(TPenStyle style);

class PixelLines {
 public:
  /// Only pixels inside the window are visited, so a line far longer than the device
  /// costs no more than one across it. Gaps are kept only when asked for (they are
  /// painted only on an opaque background).
  PixelLines(const QList<qreal>& dashes, const QRect& window, bool keepGaps);

  // operations
  /// Starts again with no pixels (keeping the memory for the next lines).
  void Reset(const QList<qreal>& dashes, const QRect& window, bool keepGaps);
  /// One segment, its end left out.
  void Add(TPoint from, TPoint to);
  /// The runs in the pen's colour (then the gaps in the background colour when opaque).
  void Paint(QPainter& painter) const;

  /// A segment of a solid line as Add lays it out, handed to put(run) a row or column run
  /// at a time instead of collected: every pixel of a solid line has the pen's colour, so
  /// the order and the runs' cut do not matter. False, with nothing put, for coordinates
  /// that Add would first cut to the window.
  template <class PutRun>
  static bool ForEachSolidRun(TPoint from, TPoint to, const QRect& window, PutRun put);
  /// A styled horizontal or vertical segment as Add lays it out on fresh lines, handed to
  /// put(run, lit) a dash (lit) or kept gap at a time instead of collected: grid lines
  /// cross the whole plot in dashes of a few pixels, and collecting them costs more than
  /// writing them. A single segment's dashes and gaps never share a pixel, so their order
  /// does not matter. False, with nothing put, for solid pens, slopes and coordinates
  /// that Add would first cut to the window.
  template <class PutRun>
  static bool ForEachStraightRun(const QList<qreal>& dashes, TPoint from, TPoint to, const QRect& window,
                                 bool keepGaps, PutRun put);

  /// One-pixel-high or one-pixel-wide runs, in the order they were laid out: the dashes
  /// and, when kept, the gaps between them. How pixels are cut into runs is not fixed;
  /// which pixels are dashes and which gaps is.
  const std::vector<QRect>& Lit() const { return m_lit; }
  const std::vector<QRect>& Gaps() const { return m_gaps; }

 private:
  static constexpr int kSmall = 1 << 20;  ///< 2 × kSmall² still fits in 64 bits

  static bool Small(TPoint p) { return p.x >= -kSmall && p.x <= kSmall && p.y >= -kSmall && p.y <= kSmall; }
  /// How far across the shorter axis a segment's steps lie: step i at (2 i minor + major)
  /// / (2 major), rounded down, kept as quotient and remainder from step first on, so that
  /// each step adds 2 minor to the remainder and at most one to the quotient.
  class MinorSteps {
   public:
    MinorSteps(long long major, long long minor, long long first)
        : m_twoMajor(2 * major),
          m_twoMinor(2 * minor),
          m_across((first * m_twoMinor + major) / m_twoMajor),
          m_remainder((first * m_twoMinor + major) % m_twoMajor) {}
    long long Across() const { return m_across; }
    void Next() {
      m_remainder += m_twoMinor;
      if (m_remainder >= m_twoMajor) {
        m_remainder -= m_twoMajor;
        ++m_across;
      }
    }

   private:
    long long m_twoMajor, m_twoMinor, m_across, m_remainder;
  };
  bool CutToWindow(TPoint& from, TPoint& to, long long& skipped) const;
  void Advance(long long pixels);
  bool InDash() const { return m_period == 0 || m_inDash[static_cast<std::size_t>(m_patternPos)] != 0; }
  void Put(QPoint pixel);
  /// count pixels in a row or column from the first, one step apart, all in one dash or
  /// gap (the pattern does not wrap among them).
  void PutAlong(QPoint first, QPoint step, int count);
  static bool Extends(QRect& run, QPoint pixel);

  // state
  QRect m_window;
  bool m_keepGaps = false;
  std::vector<char> m_inDash;  ///< per position of the pattern: whether a dash covers it
  std::vector<int> m_dashLeft;  ///< per position: pixels from it to the end of its dash or gap
  int m_period = 0;
  int m_patternPos = 0;
  std::vector<QRect> m_lit;
  std::vector<QRect> m_gaps;
};

template <class PutRun>
bool PixelLines::ForEachSolidRun(TPoint from, TPoint to, const QRect& window, PutRun put) {
  if (!Small(from) || !Small(to)) return false;
  if (from == to) return true;
  const int dx = to.x - from.x, dy = to.y - from.y;
  const int adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
  const bool alongX = adx >= ady;
  const int major = alongX ? adx : ady, minor = alongX ? ady : adx;
  const int majorStep = (alongX ? dx : dy) < 0 ? -1 : 1;
  const int minorStep = (alongX ? dy : dx) < 0 ? -1 : 1;
  const int majorStart = alongX ? from.x : from.y, minorStart = alongX ? from.y : from.x;
  const int majorLow = alongX ? window.left() : window.top(), majorHigh = alongX ? window.right() : window.bottom();
  const int minorLow = alongX ? window.top() : window.left(), minorHigh = alongX ? window.bottom() : window.right();
  // The steps whose major coordinate lies in the window.
  const int first = std::max(0, majorStep > 0 ? majorLow - majorStart : majorStart - majorHigh);
  const int last = std::min(major - 1, majorStep > 0 ? majorHigh - majorStart : majorStart - majorLow);
  if (first > last) return true;
  // Steps from..to (taken in either order) at one minor coordinate.
  const auto run = [&](int fromStep, int toStep, int across) {
    const int a = majorStart + majorStep * fromStep, b = majorStart + majorStep * toStep;
    const QPoint low = alongX ? QPoint(std::min(a, b), across) : QPoint(across, std::min(a, b));
    const QPoint high = alongX ? QPoint(std::max(a, b), across) : QPoint(across, std::max(a, b));
    put(QRect(low, high));
  };
  MinorSteps steps(major, minor, first);
  int runStart = first;
  for (int i = first; i <= last; ++i) {
    const long long across = steps.Across();
    steps.Next();
    if (i == last || steps.Across() != across) {
      const int pixel = minorStart + minorStep * static_cast<int>(across);
      if (pixel >= minorLow && pixel <= minorHigh) run(runStart, i, pixel);
      runStart = i + 1;
    }
  }
  return true;
}

template <class PutRun>
bool PixelLines::ForEachStraightRun(const QList<qreal>& dashes, TPoint from, TPoint to, const QRect& window,
                                    bool keepGaps, PutRun put) {
  if (dashes.isEmpty() || from == to || (from.x != to.x && from.y != to.y) || !Small(from) || !Small(to)) return false;
  int period = 0;
  for (const qreal dash : dashes) {
    if (static_cast<int>(dash) < 1) return false;
    period += static_cast<int>(dash);
  }
  const bool alongX = from.y == to.y;
  const int start = alongX ? from.x : from.y, end = alongX ? to.x : to.y;
  const int across = alongX ? from.y : from.x;
  if (across < (alongX ? window.top() : window.left()) || across > (alongX ? window.bottom() : window.right()))
    return true;
  const int step = end < start ? -1 : 1;
  const int length = end < start ? start - end : end - start;  // the end is left out
  const int low = alongX ? window.left() : window.top(), high = alongX ? window.right() : window.bottom();
  // The steps whose pixel lies in the window.
  const int first = std::max(0, step > 0 ? low - start : start - high);
  const int last = std::min(length - 1, step > 0 ? high - start : start - low);
  if (first > last) return true;
  // Where the pattern stands at the first step: which dash or gap, and how much of it is left.
  qsizetype part = 0;
  int left = first % period;
  while (left >= static_cast<int>(dashes[part])) left -= static_cast<int>(dashes[part++]);
  left = static_cast<int>(dashes[part]) - left;
  for (int i = first; i <= last;) {
    const int count = std::min(left, last - i + 1);
    const bool lit = part % 2 == 0;
    if (lit || keepGaps) {
      const int a = start + step * i, b = start + step * (i + count - 1);
      const int lowEnd = std::min(a, b), highEnd = std::max(a, b);
      put(alongX ? QRect(QPoint(lowEnd, across), QPoint(highEnd, across))
                 : QRect(QPoint(across, lowEnd), QPoint(across, highEnd)),
          lit);
    }
    i += count;
    if (++part == dashes.size()) part = 0;
    left = static_cast<int>(dashes[part]);
  }
  return true;
}

}  // namespace tarvela
