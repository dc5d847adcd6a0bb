// The one-pixel outline of a closed polygon, as Qt's raster engine strokes it.
//
// QPainter strokes a cosmetic pen without antialiasing by stepping each segment along its
// longer axis in fixed point: the ends in 26.6 (truncated), the slope in 16.16, the
// shorter coordinate sampled at the middle of the step when it grows and at its start
// when it shrinks, so a line and its reverse do not always cover the same pixels.
// Where two segments meet it keeps the pixel count right ("dropout control"): a pixel
// the previous segment already set is not set again, a diagonal gap between two
// segments of different directions gets its missing pixel, and the pixel where the
// polygon closes is looked at before the first segment is drawn. Segments are first cut
// to the device grown by one pixel, in floating point, which moves their ends off the
// integer grid, so the device's size matters to the layout.
//
// The dash pattern runs along the longer axis in 26.6 units and is sampled at pixel
// middles; a segment drawn from its far end (upward or leftward) reads the pattern
// reversed from the far end, which gives the same pixels as reading it forward. With an
// opaque background QPainter first strokes the whole outline in the background colour,
// then the dashes over it; that is why every pixel is kept with its dash state.
//
// A path's curves are cut into lines before they are stepped: a cubic is halved (de
// Casteljau, at the middle) as long as either control point lies a quarter of the
// chord's taxicab length or more from the chord, measured by the cross product, six
// times at most; each piece is then drawn as a segment, first half first. Between the
// pieces of a curve the start always moves on; after a line, only as after a polygon's
// side. A path is closed when its last point is its first, and only then is the
// closing segment looked at before the first one is drawn.
//
// Every rule here was checked against QPainter on many thousands of random polygons
// (solid and dashed, self-intersecting, degenerate, with coordinates far outside the
// device): every pixel equal.

#include "tarvela/widgets/cosmetic_outline.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <utility>

namespace tarvela {

namespace {

enum Caps { kNoCaps = 0, kCapBegin = 1, kCapEnd = 2 };

int ToF26Dot6(double v) { return static_cast<int>(v * 64.); }

int F16Dot16Div(int x, int y) {
  if (std::abs(x) > 0x7fff) return static_cast<int>(static_cast<long long>(x) * (1 << 16) / y);
  return x * (1 << 16) / y;
}

void CapAdjust(int caps, int& from, int& to, int& minor, int minorStep) {
  if (caps & kCapBegin) {
    from -= 32;
    minor -= minorStep >> 1;
  }
  if (caps & kCapEnd) to += 32;
}

}  // namespace

// The dash state along one segment, from the end it is drawn from.
class CosmeticOutline::Dasher {
 public:
  Dasher(CosmeticOutline& outline, bool reverse, int start, int stop) : m_outline(outline) {
    if (outline.m_patternLength == 0) return;
    const int length = outline.m_patternLength;
    const int delta = stop - start;
    if (reverse) {
      m_pattern = outline.m_reversePattern.data();
      m_offset = length - outline.m_patternOffset - delta - ((start & 63) - 32);
      m_dashOn = 0;
    } else {
      m_pattern = outline.m_pattern.data();
      m_offset = outline.m_patternOffset - ((start & 63) - 32);
      m_dashOn = 1;
    }
    m_offset %= length;
    if (m_offset < 0) m_offset += length;
    while (m_offset >= m_pattern[m_dashIndex]) ++m_dashIndex;
    outline.m_patternOffset = (outline.m_patternOffset + delta) % length;
  }

  bool On() const { return m_pattern == nullptr || ((m_dashIndex + m_dashOn) & 1) != 0; }

  void Step() {
    if (m_pattern == nullptr) return;
    m_offset += 64;
    if (m_offset >= m_outline.m_patternLength) {
      m_offset %= m_outline.m_patternLength;
      m_dashIndex = 0;
    }
    while (m_offset >= m_pattern[m_dashIndex]) ++m_dashIndex;
  }

 private:
  CosmeticOutline& m_outline;
  const int* m_pattern = nullptr;
  int m_offset = 0;
  int m_dashIndex = 0;
  int m_dashOn = 1;
};

CosmeticOutline::CosmeticOutline(const QRect& device, const QList<qreal>& dashes)
    : m_xMin(device.left() - 1),
      m_xMax(device.right() + 2),
      m_yMin(device.top() - 1),
      m_yMax(device.bottom() + 2) {
  int length = 0;
  for (qreal dash : dashes) {
    length += static_cast<int>(std::max(1., dash * 64.));
    m_pattern.push_back(length);
  }
  m_patternLength = length;
  length = 0;
  for (auto dash = dashes.rbegin(); dash != dashes.rend(); ++dash) {
    length += static_cast<int>(std::max(1., *dash * 64.));
    m_reversePattern.push_back(length);
  }
}

QPoint* CosmeticOutline::Append(std::size_t count) {
  if (m_count + count > m_capacity) {
    const std::size_t capacity = std::max(2 * m_capacity, m_count + count);
    auto pixels = std::make_unique_for_overwrite<QPoint[]>(capacity);
    std::copy(m_pixels.get(), m_pixels.get() + m_count, pixels.get());
    m_pixels = std::move(pixels);
    m_capacity = capacity;
  }
  QPoint* const at = m_pixels.get() + m_count;
  m_count += count;
  return at;
}

void CosmeticOutline::Stroke(std::span<const TPoint> points) {
  m_count = 0;
  m_on.clear();
  if (points.size() < 2) return;
  m_patternOffset = 0;
  m_lastPixel = Pixel();
  m_lastDirection = kNoDirection;
  m_lastAxisAligned = false;
  const auto x = [&](std::size_t i) { return static_cast<double>(points[i].x); };
  const auto y = [&](std::size_t i) { return static_cast<double>(points[i].y); };
  const std::size_t count = points.size();
  // The segment that closes the polygon, for the dropout control of the first one.
  const std::size_t beforeClose = points.front() == points.back() && count > 2 ? count - 2 : count - 1;
  CalculateLastPoint(x(beforeClose), y(beforeClose), x(0), y(0));
  std::size_t start = 0;
  for (std::size_t i = 1; i < count; ++i) {
    const bool drawn = DrawLine(x(start), y(start), x(i), y(i));
    // A segment too short to set a pixel does not move the start of the next one,
    // unless it is longer than a pixel.
    if (drawn || std::abs(x(start) - x(i)) > 1 || std::abs(y(start) - y(i)) > 1) start = i;
  }
  DrawLine(x(start), y(start), x(0), y(0));
}

void CosmeticOutline::StrokePath(std::span<const PathPoint> path) {
  m_count = 0;
  m_on.clear();
  if (path.size() < 2) return;
  m_patternOffset = 0;
  m_lastPixel = Pixel();
  m_lastDirection = kNoDirection;
  m_lastAxisAligned = false;
  const std::size_t count = path.size();
  if (path.front().x == path.back().x && path.front().y == path.back().y) {
    CalculateLastPoint(path[count - 2].x, path[count - 2].y, path.front().x, path.front().y);
  }
  double x = path.front().x, y = path.front().y;
  for (std::size_t i = 1; i < count;) {
    const PathPoint& to = path[i];
    if (to.kind == PathPoint::kCurve && i + 2 < count) {
      const PathPoint& end = path[i + 2];
      std::array<CurvePoint, 3 * kCurveLevels + 4> points;
      points[3] = {x, y};
      points[2] = {to.x, to.y};
      points[1] = {path[i + 1].x, path[i + 1].y};
      points[0] = {end.x, end.y};
      DrawCurve(points.data(), kCurveLevels);
      x = end.x;
      y = end.y;
      i += 3;
      continue;
    }
    DrawLine(x, y, to.x, to.y);
    x = to.x;
    y = to.y;
    ++i;
  }
}

void CosmeticOutline::DrawCurve(CurvePoint* points, int level) {
  if (level > 0) {
    const double dx = points[3].x - points[0].x, dy = points[3].y - points[0].y;
    const double length = 0.25 * (std::abs(dx) + std::abs(dy));
    if (std::abs(dx * (points[0].y - points[2].y) - dy * (points[0].x - points[2].x)) >= length ||
        std::abs(dx * (points[0].y - points[1].y) - dy * (points[0].x - points[1].x)) >= length) {
      // Halved in place: points[6] .. points[3] the first half, points[3] .. points[0]
      // the second.
      const auto split = [points](double CurvePoint::*axis) {
        points[6].*axis = points[3].*axis;
        double c = points[1].*axis;
        const double d = points[2].*axis;
        double a = (points[0].*axis + c) * 0.5;
        double b = (points[3].*axis + d) * 0.5;
        points[1].*axis = a;
        points[5].*axis = b;
        c = (c + d) * 0.5;
        points[2].*axis = a = (a + c) * 0.5;
        points[4].*axis = b = (b + c) * 0.5;
        points[3].*axis = (a + b) * 0.5;
      };
      split(&CurvePoint::x);
      split(&CurvePoint::y);
      DrawCurve(points + 3, level - 1);
      DrawCurve(points, level - 1);
      return;
    }
  }
  DrawLine(points[3].x, points[3].y, points[0].x, points[0].y);
}

// Cuts the line to the device grown by one pixel; true when nothing of it is left. A cut
// end forgets the last pixel, so no dropout control happens there.
bool CosmeticOutline::ClipLine(double& x1, double& y1, double& x2, double& y2) {
  const auto cutAway = [&] {
    m_lastPixel.x = INT_MIN;
    return true;
  };
  if (x1 < m_xMin) {
    if (x2 <= m_xMin) return cutAway();
    y1 += (y2 - y1) / (x2 - x1) * (m_xMin - x1);
    x1 = m_xMin;
  } else if (x1 > m_xMax) {
    if (x2 >= m_xMax) return cutAway();
    y1 += (y2 - y1) / (x2 - x1) * (m_xMax - x1);
    x1 = m_xMax;
  }
  if (x2 < m_xMin) {
    m_lastPixel.x = INT_MIN;
    y2 += (y2 - y1) / (x2 - x1) * (m_xMin - x2);
    x2 = m_xMin;
  } else if (x2 > m_xMax) {
    m_lastPixel.x = INT_MIN;
    y2 += (y2 - y1) / (x2 - x1) * (m_xMax - x2);
    x2 = m_xMax;
  }
  if (y1 < m_yMin) {
    if (y2 <= m_yMin) return cutAway();
    x1 += (x2 - x1) / (y2 - y1) * (m_yMin - y1);
    y1 = m_yMin;
  } else if (y1 > m_yMax) {
    if (y2 >= m_yMax) return cutAway();
    x1 += (x2 - x1) / (y2 - y1) * (m_yMax - y1);
    y1 = m_yMax;
  }
  if (y2 < m_yMin) {
    m_lastPixel.x = INT_MIN;
    x2 += (x2 - x1) / (y2 - y1) * (m_yMin - y2);
    y2 = m_yMin;
  } else if (y2 > m_yMax) {
    m_lastPixel.x = INT_MIN;
    x2 += (x2 - x1) / (y2 - y1) * (m_yMax - y2);
    y2 = m_yMax;
  }
  return false;
}

// The direction and last pixel of the closing segment, as DrawLine would leave them.
void CosmeticOutline::CalculateLastPoint(double rx1, double ry1, double rx2, double ry2) {
  m_lastPixel = Pixel();
  if (ClipLine(rx1, ry1, rx2, ry2)) return;
  int x1 = ToF26Dot6(rx1), y1 = ToF26Dot6(ry1), x2 = ToF26Dot6(rx2), y2 = ToF26Dot6(ry2);
  const int dx = std::abs(x2 - x1), dy = std::abs(y2 - y1);
  if (dx < dy) {
    const bool swapped = y1 > y2;
    if (swapped) {
      std::swap(y1, y2);
      std::swap(x1, x2);
    }
    const int xStep = F16Dot16Div(x2 - x1, y2 - y1);
    int x = x1 * (1 << 10);
    const int y = (y1 + 32) >> 6, yEnd = (y2 + 32) >> 6;
    const int round = xStep > 0 ? 32 : 0;
    if (y == yEnd) return;
    x += ((y * (1 << 6)) + round - y1) * xStep >> 6;
    if (swapped) {
      m_lastPixel = {x >> 16, y};
      m_lastDirection = kBottomToTop;
    } else {
      m_lastPixel = {(x + (yEnd - y - 1) * xStep) >> 16, yEnd - 1};
      m_lastDirection = kTopToBottom;
    }
    m_lastAxisAligned = std::abs(xStep) < (1 << 14);
  } else {
    if (dx == 0) return;
    const bool swapped = x1 > x2;
    if (swapped) {
      std::swap(x1, x2);
      std::swap(y1, y2);
    }
    const int yStep = F16Dot16Div(y2 - y1, x2 - x1);
    int y = y1 * (1 << 10);
    const int x = (x1 + 32) >> 6, xEnd = (x2 + 32) >> 6;
    const int round = yStep > 0 ? 32 : 0;
    if (x == xEnd) return;
    y += ((x * (1 << 6)) + round - x1) * yStep >> 6;
    if (swapped) {
      m_lastPixel = {x, y >> 16};
      m_lastDirection = kRightToLeft;
    } else {
      m_lastPixel = {xEnd - 1, (y + (xEnd - x - 1) * yStep) >> 16};
      m_lastDirection = kLeftToRight;
    }
    m_lastAxisAligned = std::abs(yStep) < (1 << 14);
  }
}

// One segment; false when it was too short to set a pixel. The two branches are the
// same with x and y exchanged.
bool CosmeticOutline::DrawLine(double rx1, double ry1, double rx2, double ry2) {
  if (ClipLine(rx1, ry1, rx2, ry2)) return true;
  int x1 = ToF26Dot6(rx1), y1 = ToF26Dot6(ry1), x2 = ToF26Dot6(rx2), y2 = ToF26Dot6(ry2);
  const int dx = std::abs(x2 - x1), dy = std::abs(y2 - y1);
  Pixel last = m_lastPixel;
  bool drawn = false;
  int caps = kNoCaps;
  if (dx < dy) {
    int direction = kTopToBottom;
    const bool swapped = y1 > y2;
    if (swapped) {
      std::swap(y1, y2);
      std::swap(x1, x2);
      direction = kBottomToTop;
    }
    const int xStep = F16Dot16Div(x2 - x1, y2 - y1);
    int x = x1 * (1 << 10);
    // Turning straight back: the turning pixel belongs to the new segment too.
    if ((m_lastDirection ^ kVertical) == direction) caps |= swapped ? kCapEnd : kCapBegin;
    CapAdjust(caps, y1, y2, x, xStep);
    int y = (y1 + 32) >> 6, yEnd = (y2 + 32) >> 6;
    const int round = xStep > 0 ? 32 : 0;
    if ((caps & kCapBegin) && m_lastPixel.y == y + 1) ++y;
    if (y != yEnd) {
      drawn = true;
      x += ((y * (1 << 6)) + round - y1) * xStep >> 6;
      Pixel first{x >> 16, y};
      last = {(x + (yEnd - y - 1) * xStep) >> 16, yEnd - 1};
      if (swapped) std::swap(first, last);
      const bool axisAligned = std::abs(xStep) < (1 << 14);
      if (m_lastPixel.x > INT_MIN) {
        if (first.x == m_lastPixel.x && first.y == m_lastPixel.y) {
          // The previous segment set this pixel already.
          if (swapped) {
            --yEnd;
          } else {
            ++y;
            x += xStep;
          }
        } else if (m_lastDirection != direction &&
                   (((axisAligned && m_lastAxisAligned) && m_lastPixel.x != first.x && m_lastPixel.y != first.y) ||
                    (std::abs(m_lastPixel.x - first.x) > 1 || std::abs(m_lastPixel.y - first.y) > 1))) {
          // A gap between the segments: one more pixel at this end.
          if (swapped) {
            ++yEnd;
          } else {
            --y;
            x -= xStep;
          }
        } else if (m_lastDirection == direction &&
                   (std::abs(m_lastPixel.x - first.x) <= 1 && std::abs(m_lastPixel.y - first.y) > 1)) {
          x += xStep >> 1;
          last.x = swapped ? (x >> 16) : ((x + (yEnd - y - 1) * xStep) >> 16);
        }
      }
      m_lastDirection = direction;
      m_lastAxisAligned = axisAligned;
      Dasher dasher(*this, swapped, y * (1 << 6), yEnd * (1 << 6));
      // At least one pixel, as many as rows left.
      QPoint* pixel = Append(static_cast<std::size_t>(std::max(1, yEnd - y)));
      do {
        *pixel++ = QPoint(x >> 16, y);
        if (Dashed()) {
          m_on.push_back(dasher.On() ? 1 : 0);
          dasher.Step();
        }
        x += xStep;
      } while (++y < yEnd);
    }
  } else {
    if (dx == 0) return true;
    int direction = kLeftToRight;
    const bool swapped = x1 > x2;
    if (swapped) {
      std::swap(x1, x2);
      std::swap(y1, y2);
      direction = kRightToLeft;
    }
    const int yStep = F16Dot16Div(y2 - y1, x2 - x1);
    int y = y1 * (1 << 10);
    if ((m_lastDirection ^ kHorizontal) == direction) caps |= swapped ? kCapEnd : kCapBegin;
    CapAdjust(caps, x1, x2, y, yStep);
    int x = (x1 + 32) >> 6, xEnd = (x2 + 32) >> 6;
    const int round = yStep > 0 ? 32 : 0;
    if ((caps & kCapBegin) && m_lastPixel.x == x + 1) ++x;
    if (x != xEnd) {
      drawn = true;
      y += ((x * (1 << 6)) + round - x1) * yStep >> 6;
      Pixel first{x, y >> 16};
      last = {xEnd - 1, (y + (xEnd - x - 1) * yStep) >> 16};
      if (swapped) std::swap(first, last);
      const bool axisAligned = std::abs(yStep) < (1 << 14);
      if (m_lastPixel.x > INT_MIN) {
        if (first.x == m_lastPixel.x && first.y == m_lastPixel.y) {
          if (swapped) {
            --xEnd;
          } else {
            ++x;
            y += yStep;
          }
        } else if (m_lastDirection != direction &&
                   (((axisAligned && m_lastAxisAligned) && m_lastPixel.x != first.x && m_lastPixel.y != first.y) ||
                    (std::abs(m_lastPixel.x - first.x) > 1 || std::abs(m_lastPixel.y - first.y) > 1))) {
          if (swapped) {
            ++xEnd;
          } else {
            --x;
            y -= yStep;
          }
        } else if (m_lastDirection == direction &&
                   (std::abs(m_lastPixel.x - first.x) <= 1 && std::abs(m_lastPixel.y - first.y) > 1)) {
          y += yStep >> 1;
          last.y = swapped ? (y >> 16) : ((y + (xEnd - x - 1) * yStep) >> 16);
        }
      }
      m_lastDirection = direction;
      m_lastAxisAligned = axisAligned;
      Dasher dasher(*this, swapped, x * (1 << 6), xEnd * (1 << 6));
      QPoint* pixel = Append(static_cast<std::size_t>(std::max(1, xEnd - x)));
      do {
        *pixel++ = QPoint(x, y >> 16);
        if (Dashed()) {
          m_on.push_back(dasher.On() ? 1 : 0);
          dasher.Step();
        }
        y += yStep;
      } while (++x < xEnd);
    }
  }
  m_lastPixel = last;
  return drawn;
}

}  // namespace tarvela
