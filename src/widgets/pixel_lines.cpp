// The pixels of one-pixel lines, collected as runs.
//
// Each segment steps along its longer axis; the shorter one follows the ideal line
// rounded half away from the start, so a line and its reverse cover the same pixels but
// their ends. A segment far beyond the window is first cut to the window's
// neighbourhood, because integer stepping would overflow; its pixels there may then
// differ by one from the uncut line's. Styled horizontal and vertical lines (grids) are
// laid out a dash at a time rather than a pixel at a time.

#include "tarvela/widgets/pixel_lines.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace tarvela {

QList<qreal> DashPatternOf(TPenStyle style) {
  switch (style) {
    case psDash: return {18, 6};
    case psDot: return {3, 3};
    case psDashDot: return {9, 6, 3, 6};
    case psDashDotDot: return {9, 3, 3, 3, 3, 3};
    default: return {};
  }
}

PixelLines::PixelLines(const QList<qreal>& dashes, const QRect& window, bool keepGaps) {
  Reset(dashes, window, keepGaps);
}

void PixelLines::Reset(const QList<qreal>& dashes, const QRect& window, bool keepGaps) {
  m_window = window;
  m_keepGaps = keepGaps;
  m_inDash.clear();
  m_patternPos = 0;
  m_lit.clear();
  m_gaps.clear();
  m_dashLeft.clear();
  for (qsizetype i = 0; i < dashes.size(); ++i) {
    const int length = static_cast<int>(dashes[i]);
    m_inDash.insert(m_inDash.end(), length, i % 2 == 0);
    for (int left = length; left > 0; --left) m_dashLeft.push_back(left);
  }
  m_period = static_cast<int>(m_inDash.size());
}

void PixelLines::Add(TPoint from, TPoint to) {
  if (from == to) return;
  if (!Small(from) || !Small(to)) {
    long long skipped = 0;
    if (!CutToWindow(from, to, skipped)) return;
    Advance(skipped);
    if (from == to) return;
  }
  const long long dx = to.x - from.x, dy = to.y - from.y;
  const long long adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
  const bool alongX = adx >= ady;
  const long long major = alongX ? adx : ady, minor = alongX ? ady : adx;
  const int majorStep = (alongX ? dx : dy) < 0 ? -1 : 1;
  const int minorStep = (alongX ? dy : dx) < 0 ? -1 : 1;
  const int majorStart = alongX ? from.x : from.y, minorStart = alongX ? from.y : from.x;
  const int majorLow = alongX ? m_window.left() : m_window.top();
  const int majorHigh = alongX ? m_window.right() : m_window.bottom();
  // The steps whose major coordinate lies in the window.
  long long first = 0, last = major - 1;
  if (majorStep > 0) {
    first = std::max(first, static_cast<long long>(majorLow) - majorStart);
    last = std::min(last, static_cast<long long>(majorHigh) - majorStart);
  } else {
    first = std::max(first, static_cast<long long>(majorStart) - majorHigh);
    last = std::min(last, static_cast<long long>(majorStart) - majorLow);
  }
  if (first > last) {
    Advance(major);
    return;
  }
  if (minor == 0 && m_period == 0) {
    // A solid horizontal or vertical line (frames, grids) is one run: no stepping.
    const int minorLow = alongX ? m_window.top() : m_window.left();
    const int minorHigh = alongX ? m_window.bottom() : m_window.right();
    if (minorStart < minorLow || minorStart > minorHigh) return;
    const int a = majorStart + majorStep * static_cast<int>(first);
    const int b = majorStart + majorStep * static_cast<int>(last);
    const QPoint low = alongX ? QPoint(std::min(a, b), minorStart) : QPoint(minorStart, std::min(a, b));
    const QPoint high = alongX ? QPoint(std::max(a, b), minorStart) : QPoint(minorStart, std::max(a, b));
    m_lit.emplace_back(low, high);
    return;
  }
  if (minor == 0) {
    // A styled horizontal or vertical line: a dash or gap at a time.
    const int minorLow = alongX ? m_window.top() : m_window.left();
    const int minorHigh = alongX ? m_window.bottom() : m_window.right();
    if (minorStart < minorLow || minorStart > minorHigh) {
      Advance(major);
      return;
    }
    Advance(first);
    const QPoint step = alongX ? QPoint(majorStep, 0) : QPoint(0, majorStep);
    for (long long i = first; i <= last;) {
      const int dashLeft = m_dashLeft[static_cast<std::size_t>(m_patternPos)];
      const int count = static_cast<int>(std::min<long long>(dashLeft, last - i + 1));
      const int along = majorStart + majorStep * static_cast<int>(i);
      PutAlong(alongX ? QPoint(along, minorStart) : QPoint(minorStart, along), step, count);
      i += count;
    }
    Advance(major - 1 - last);
    return;
  }
  Advance(first);
  // The major coordinate is inside the window from first to last; the minor one may not be.
  const int minorLow = alongX ? m_window.top() : m_window.left();
  const int minorHigh = alongX ? m_window.bottom() : m_window.right();
  MinorSteps steps(major, minor, first);
  for (long long i = first; i <= last; ++i, steps.Next()) {
    const int along = majorStart + majorStep * static_cast<int>(i);
    const int pixel = minorStart + minorStep * static_cast<int>(steps.Across());
    if (pixel >= minorLow && pixel <= minorHigh) {
      Put(alongX ? QPoint(along, pixel) : QPoint(pixel, along));
    } else {
      Advance(1);
    }
  }
  Advance(major - 1 - last);
}

void PixelLines::Paint(QPainter& painter) const {
  const QColor lineColor = painter.pen().color();
  const bool opaqueGaps = painter.backgroundMode() == Qt::OpaqueMode;
  const QColor gapColor = painter.background().color();
  painter.save();
  painter.setPen(Qt::NoPen);
  painter.setBrush(lineColor);
  painter.drawRects(m_lit.data(), static_cast<int>(m_lit.size()));
  if (opaqueGaps && !m_gaps.empty()) {
    painter.setBrush(gapColor);
    painter.drawRects(m_gaps.data(), static_cast<int>(m_gaps.size()));
  }
  painter.restore();
}

// Cuts the segment to the window grown by a margin (parametric clipping), keeping its
// direction; skipped is the number of steps cut from its start.
bool PixelLines::CutToWindow(TPoint& from, TPoint& to, long long& skipped) const {
  const QRect area = m_window.adjusted(-2, -2, 2, 2);
  const double x0 = from.x, y0 = from.y, dx = double(to.x) - from.x, dy = double(to.y) - from.y;
  double t0 = 0, t1 = 1;
  const auto edge = [&](double p, double q) {
    if (p == 0) return q >= 0;
    const double t = q / p;
    if (p < 0) {
      if (t > t1) return false;
      t0 = std::max(t0, t);
    } else {
      if (t < t0) return false;
      t1 = std::min(t1, t);
    }
    return true;
  };
  if (!edge(-dx, x0 - area.left()) || !edge(dx, area.right() - x0) || !edge(-dy, y0 - area.top()) ||
      !edge(dy, area.bottom() - y0)) {
    return false;
  }
  skipped = std::llround(t0 * std::max(std::abs(dx), std::abs(dy)));
  from = {static_cast<int>(std::lround(x0 + t0 * dx)), static_cast<int>(std::lround(y0 + t0 * dy))};
  to = {static_cast<int>(std::lround(x0 + t1 * dx)), static_cast<int>(std::lround(y0 + t1 * dy))};
  return true;
}

void PixelLines::Advance(long long pixels) {
  if (m_period == 0) return;
  if (pixels == 1) {
    if (++m_patternPos == m_period) m_patternPos = 0;
  } else {
    m_patternPos = static_cast<int>((m_patternPos + pixels) % m_period);
  }
}

void PixelLines::Put(QPoint pixel) {
  const bool lit = InDash();
  Advance(1);
  if (!lit && !m_keepGaps) return;
  std::vector<QRect>& runs = lit ? m_lit : m_gaps;
  if (!runs.empty() && Extends(runs.back(), pixel)) return;
  runs.emplace_back(pixel, QSize(1, 1));
}

// As Put for each pixel, up to how the pixels are cut into runs (only which pixels are
// dashes and which gaps matters): the chunk joins the last run of its kind when both lie
// in one row or column and touch.
void PixelLines::PutAlong(QPoint first, QPoint step, int count) {
  const bool lit = InDash();
  // A chunk never runs past its dash, so past the pattern's end at most.
  m_patternPos += count;
  if (m_patternPos == m_period) m_patternPos = 0;
  if (!lit && !m_keepGaps) return;
  std::vector<QRect>& runs = lit ? m_lit : m_gaps;
  const QPoint last = first + step * (count - 1);
  const QRect chunk(QPoint(std::min(first.x(), last.x()), std::min(first.y(), last.y())),
                    QPoint(std::max(first.x(), last.x()), std::max(first.y(), last.y())));
  if (!runs.empty()) {
    QRect& run = runs.back();
    const bool row = run.height() == 1 && chunk.height() == 1 && run.top() == chunk.top() &&
                     chunk.left() <= run.right() + 1 && chunk.right() >= run.left() - 1;
    const bool column = run.width() == 1 && chunk.width() == 1 && run.left() == chunk.left() &&
                        chunk.top() <= run.bottom() + 1 && chunk.bottom() >= run.top() - 1;
    if (row || column) {
      run |= chunk;
      return;
    }
  }
  runs.push_back(chunk);
}

// Grows a one-pixel-high or one-pixel-wide run by an adjacent pixel.
bool PixelLines::Extends(QRect& run, QPoint pixel) {
  const bool inRow = run.height() == 1 && run.top() == pixel.y();
  const bool inColumn = run.width() == 1 && run.left() == pixel.x();
  if (inRow && pixel.x() == run.right() + 1) {
    run.setRight(pixel.x());
  } else if (inRow && pixel.x() == run.left() - 1) {
    run.setLeft(pixel.x());
  } else if (inColumn && pixel.y() == run.bottom() + 1) {
    run.setBottom(pixel.y());
  } else if (inColumn && pixel.y() == run.top() - 1) {
    run.setTop(pixel.y());
  } else {
    return false;
  }
  return true;
}

}  // namespace tarvela
