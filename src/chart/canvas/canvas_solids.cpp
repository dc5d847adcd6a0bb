// The composite shapes of the 3D canvas: gradient, bevel frame, shaded box, ellipse at a
// depth, the clip region of the 3D box, arrow, pyramid, 3D pie slice, cylinder, sphere.
// Each draws with the canvas's current pen and brush through the projection.
//
// Contents
//   [SECTION] Shading
//   [SECTION] Gradient
//   [SECTION] Bevel frame
//   [SECTION] Box, pyramid and cone
//   [SECTION] Ellipse and sphere
//   [SECTION] Clip region of the box
//   [SECTION] Arrow
//   [SECTION] Pie slice
//   [SECTION] Cylinder

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

#include "tarvela/chart/canvas/canvas3d.h"
#include "tarvela/runtime/rounding.h"

namespace tarvela {

namespace {

constexpr long double kPi = std::numbers::pi_v<long double>;

// Twice the signed area of a screen polygon, y down: positive when it runs clockwise on
// screen.
long long SignedArea(std::span<const TPoint> points) {
  long long sum = 0;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const TPoint& a = points[i];
    const TPoint& b = points[(i + 1) % points.size()];
    sum += static_cast<long long>(a.x) * b.y - static_cast<long long>(b.x) * a.y;
  }
  return sum;
}

int Sign(long double v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); }

}  // namespace

// [SECTION] Shading

TColor DarkenColor(TColor color, int amount) {
  const std::uint32_t rgb = ColorToRGB(color);
  const auto darker = [amount](int channel) { return channel > amount ? channel - amount : 0; };
  return RGBColor(darker(RedOf(rgb)), darker(GreenOf(rgb)), darker(BlueOf(rgb)));
}

TColor TZavCanvas3D::SolidBaseColor() const {
  const Surface& surface = CurrentSurface();
  return surface.Brush().style == bsSolid ? surface.Brush().color : surface.BackgroundColor();
}

void TZavCanvas3D::SetSolidFaceColor(TColor color) {
  Surface& surface = CurrentSurface();
  if (surface.Brush().style == bsSolid) {
    surface.SetBrushColor(color);
  } else {
    surface.SetBackgroundColor(color);
  }
}

// [SECTION] Gradient
//
// Bands are painted with pattern fills; a negative extent reaches from the given edge
// toward smaller coordinates, so a band is placed by its distance from the bottom (or
// right) edge exactly as the band table has it. Step i of divisor d has, per channel,
// start + MulDiv(i, delta, d); divisor 0 (one band) keeps the start colour.

namespace {

class GradientSteps {
 public:
  GradientSteps(TColor start, TColor end) {
    const std::uint32_t from = ColorToRGB(start);
    const std::uint32_t to = ColorToRGB(end);
    m_red = RedOf(from);
    m_green = GreenOf(from);
    m_blue = BlueOf(from);
    m_deltaRed = RedOf(to) - m_red;
    m_deltaGreen = GreenOf(to) - m_green;
    m_deltaBlue = BlueOf(to) - m_blue;
  }

  TColor At(int step, int divisor) const {
    const auto part = [&](int delta) { return divisor == 0 ? 0 : MulDiv(step, delta, divisor); };
    return RGBColor((m_red + part(m_deltaRed)) & 0xFF, (m_green + part(m_deltaGreen)) & 0xFF,
                    (m_blue + part(m_deltaBlue)) & 0xFF);
  }

 private:
  int m_red, m_green, m_blue;
  int m_deltaRed, m_deltaGreen, m_deltaBlue;
};

// Selects a solid brush only when the band colour changes; puts the caller's brush back.
class BandBrush {
 public:
  explicit BandBrush(Surface& surface) : m_surface(surface), m_saved(surface.Brush()) {}
  ~BandBrush() { m_surface.SetBrush(m_saved); }
  BandBrush(const BandBrush&) = delete;
  BandBrush& operator=(const BandBrush&) = delete;

  void Select(TColor color) {
    if (m_current == color) return;
    m_current = color;
    m_surface.SetBrush(SurfaceBrush{color, bsSolid, std::nullopt});
  }

 private:
  Surface& m_surface;
  SurfaceBrush m_saved;
  std::optional<TColor> m_current;
};

}  // namespace

void TZavCanvas3D::FillGradient(const TRect& rect, TColor startColor, TColor endColor,
                                TGradientDirection direction) {
  if (direction != gdTopBottom && direction != gdLeftRight) std::swap(startColor, endColor);
  const GradientSteps steps(startColor, endColor);
  const TRect r = NormalizedRect(rect);
  const int w = r.Width();
  const int h = r.Height();
  Surface& surface = CurrentSurface();
  BandBrush brush(surface);

  switch (direction) {
    case gdTopBottom:
    case gdBottomTop:
    case gdLeftRight:
    case gdRightLeft: {
      const bool vertical = direction == gdTopBottom || direction == gdBottomTop;
      const int extent = vertical ? h : w;
      const int bands = std::min(extent, 256);
      // The bands do not overlap: the surface may fill them in any order.
      std::vector<Surface::Band> fills;
      fills.reserve(static_cast<std::size_t>(std::max(bands, 0)));
      for (int i = 0; i < bands; ++i) {
        const TColor color = steps.At(i, bands - 1);
        const int from = MulDiv(i, extent, bands);
        const int to = MulDiv(i + 1, extent, bands);
        if (vertical) {
          fills.push_back({r.left, r.bottom - from, w, from - to, color});
        } else {
          fills.push_back({r.right - from, r.top, from - to, h, color});
        }
      }
      surface.FillBands(fills);
      break;
    }
    case gdFromCenter: {
      // Rings from the outside in. The last step, with both counters at their halves,
      // is painted too: it is the centre pixel of an odd size, in the end colour.
      const int halfW = w / 2;
      const int halfH = h / 2;
      int a = 0;
      int b = 0;
      for (;;) {
        brush.Select(steps.At(a + b, halfW + halfH));
        surface.PatternFill(r.left + b, r.top + a, 1, h - 2 * a);
        surface.PatternFill(r.right - b - 1, r.top + a, 1, h - 2 * a);
        surface.PatternFill(r.left + b, r.top + a, w - 2 * b, 1);
        surface.PatternFill(r.left + b, r.bottom - a - 1, w - 2 * b, 1);
        if (a >= halfH && b >= halfW) break;
        if (a < halfH) ++a;
        if (b < halfW) ++b;
      }
      break;
    }
    case gdFromTopLeft:
    case gdFromBottomLeft: {
      if (w <= 0 || h <= 0) break;
      // A staircase sweeping away from the corner: each step paints column i from the
      // starting edge through the sweep row y, then the next row over the i + 1 columns
      // swept so far. Rows and columns stay inside the rectangle.
      const bool fromTop = direction == gdFromTopLeft;
      int i = 0;
      int j = 0;
      int y = fromTop ? r.top : r.bottom - 1;
      for (;;) {
        brush.Select(steps.At(i + j, w + h));
        if (i < w) {
          if (fromTop) {
            surface.PatternFill(r.left + i, r.top, 1, y - r.top + 1);
          } else {
            surface.PatternFill(r.left + i, y, 1, r.bottom - y);
          }
        }
        if (j < h) {
          ++j;
          const int next = fromTop ? r.top + j : r.bottom - 1 - j;
          if (next >= r.top && next < r.bottom) y = next;
          surface.PatternFill(r.left, y, std::min(i + 1, w), 1);
        }
        if (i < w) ++i;
        if (j >= h && i >= w) break;
      }
      break;
    }
  }
}

// [SECTION] Bevel frame

void TZavCanvas3D::BevelFrame(const TRect& rect, TColor topColor, TColor bottomColor, int width) {
  Surface& surface = CurrentSurface();
  surface.SetPenWidth(1);
  TRect r = rect;
  --r.right;
  --r.bottom;
  for (int i = 0; i < width; ++i) {
    surface.SetPenColor(topColor);
    const std::array<TPoint, 3> topLeft = {TPoint{r.left, r.bottom}, {r.left, r.top}, {r.right, r.top}};
    surface.Polyline(topLeft);
    surface.SetPenColor(bottomColor);
    // One past the left edge: a polyline leaves out its last pixel.
    const std::array<TPoint, 3> bottomRight = {TPoint{r.right, r.top}, {r.right, r.bottom}, {r.left - 1, r.bottom}};
    surface.Polyline(bottomRight);
    ++r.left;
    ++r.top;
    --r.right;
    --r.bottom;
  }
}

// [SECTION] Box, pyramid and cone
//
// Faces are drawn in a fixed order with no depth sorting: the faces a solid shows never
// overlap on screen, so only their visibility is decided, by comparing projected corners.

void TZavCanvas3D::DrawBox(int left, int right, int top, int bottom, int z0, int z1, bool darkSides) {
  const TColor base = SolidBaseColor();
  m_quad[0] = ProjectPoint(left, top, z0);
  m_quad[1] = ProjectPoint(right, top, z0);
  m_quad[2] = ProjectPoint(right, bottom, z0);
  m_quad[3] = ProjectPoint(left, bottom, z0);
  const TPoint rightTopFront = m_quad[1];
  DrawScratchQuad();

  const auto drawSide = [&](int x) {
    if (darkSides) SetSolidFaceColor(DarkenColor(base, 128));
    SideRectangle(x, top, bottom, z0, z1);
  };
  if (ProjectPoint(right, bottom, z1).x > ProjectPoint(right, bottom, z0).x) {
    drawSide(right);
  } else if (ProjectPoint(left, bottom, z1).x < ProjectPoint(left, bottom, z0).x) {
    drawSide(left);
  }

  if (ProjectPoint(left, top, z1).y < rightTopFront.y) {
    if (darkSides) SetSolidFaceColor(DarkenColor(base, 64));
    FloorRectangle(left, top, right, z0, z1);
  }
}

void TZavCanvas3D::DrawPyramid(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                               bool darkSides) {
  const TColor base = SolidBaseColor();
  Surface& surface = CurrentSurface();
  const auto triangle = [&surface](TPoint a, TPoint b, TPoint c) {
    const std::array<TPoint, 3> points = {a, b, c};
    surface.Polygon(points);
  };
  const int zMiddle = (z0 + z1) / 2;
  if (vertical) {
    const TPoint apex = ProjectPoint((left + right) / 2, top, zMiddle);
    const TPoint leftFront = ProjectPoint(left, bottom, z0);
    const TPoint rightFront = ProjectPoint(right, bottom, z0);
    const TPoint leftBack = ProjectPoint(left, bottom, z1);
    const TPoint rightBack = ProjectPoint(right, bottom, z1);
    const bool pointsUp = top < bottom;
    // Looking down on an upward pyramid shows its left and back faces too.
    const bool seenFromAbove = pointsUp && leftBack.y < apex.y;
    if (top != bottom) triangle(leftFront, apex, rightFront);
    if (seenFromAbove) triangle(leftFront, apex, leftBack);
    if (darkSides) SetSolidFaceColor(DarkenColor(base, 128));
    triangle(rightFront, apex, rightBack);
    if (seenFromAbove) triangle(apex, leftBack, rightBack);
    if (!pointsUp) {
      if (darkSides) SetSolidFaceColor(DarkenColor(base, 64));
      FloorRectangle(left, bottom, right, z0, z1);
    }
  } else {
    const TPoint apex = ProjectPoint(right, (top + bottom) / 2, zMiddle);
    const TPoint topFront = ProjectPoint(left, top, z0);
    if (left != right) triangle(topFront, apex, ProjectPoint(left, bottom, z0));
    if (darkSides) SetSolidFaceColor(DarkenColor(base, 64));
    triangle(topFront, apex, ProjectPoint(left, top, z1));
    if (left >= right) {
      if (darkSides) SetSolidFaceColor(DarkenColor(base, 128));
      SideRectangle(left, top, bottom, z0, z1);
    }
  }
}

void TZavCanvas3D::DrawCone(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                            int /*unused*/) {
  DrawPyramid(vertical, left, top, right, bottom, z0, z1, true);
}

// [SECTION] Ellipse and sphere

void TZavCanvas3D::EllipseAtDepth(int x1, int y1, int x2, int y2, int z) {
  Surface& surface = CurrentSurface();
  if (m_orthogonal) {
    const TPoint a = ProjectPoint(x1, y1, z);
    const TPoint b = ProjectPoint(x2, y2, z);
    surface.Ellipse(a.x, a.y, b.x, b.y);
    return;
  }
  if (!m_view3D) {
    surface.Ellipse(x1, y1, x2 + 1, y2 + 1);
    return;
  }
  // A turned ellipse is no platform ellipse: 32 points at 18 degrees. The outline
  // closes at point 20; the rest runs over its start again.
  const int cx = (x1 + x2) / 2;
  const int cy = (y1 + y2) / 2;
  const int rx = (x2 - x1) / 2;
  const int ry = (y2 - y1) / 2;
  std::array<TPoint, 32> points;
  points[0] = ProjectPoint(cx, y2, z);
  for (int k = 1; k < 32; ++k) {
    const long double angle = k * kPi / 10;
    points[static_cast<std::size_t>(k)] = ProjectPoint(cx + static_cast<int>(Trunc(rx * std::sin(angle))),
                                                       cy + static_cast<int>(Trunc(ry * std::cos(angle))), z);
  }
  const TPoint center = ProjectPoint(cx, cy, z);
  if (surface.Brush().style != bsClear) {
    // The fan's inner edges must not show: fill without outline.
    const SurfacePen saved = surface.Pen();
    surface.SetPenStyle(psClear);
    for (std::size_t k = 0; k + 1 < points.size(); ++k) {
      const std::array<TPoint, 3> fan = {center, points[k], points[k + 1]};
      surface.Polygon(fan);
    }
    surface.SetPen(saved);
  }
  if (surface.Pen().style != psClear) surface.Polyline(points);
}

void TZavCanvas3D::DrawSphere(int centerX, int centerY, int z, double radius) {
  if (!std::isfinite(radius)) return;
  const int r = RoundPixel(radius);
  EllipseAtDepth(centerX - r, centerY - r, centerX + r, centerY + r, z);
}

// [SECTION] Clip region of the box

void TZavCanvas3D::ClipToBox(const TRect& rect, int z0, int z1) {
  if (!m_view3D) {
    ClipToRectangle({rect.left + 1, rect.top + 1, rect.right, rect.bottom - 1});
    return;
  }
  const TPoint rightTopFront = ProjectPoint(rect.right, rect.top, z0);
  const TPoint rightTopBack = ProjectPoint(rect.right, rect.top, z1);
  if (m_options != nullptr && m_options->Elevation() == 270 &&
      (m_options->Rotation() == 270 || m_options->Rotation() == 360)) {
    // Straight down: the box shows only its top.
    const TPoint leftTopFront = ProjectPoint(rect.left, rect.top, z0);
    ClipToRectangle({leftTopFront.x, leftTopFront.y, rightTopBack.x, rightTopBack.y});
    return;
  }
  // The outline of the box as seen: front-left edge, over the top, down the right.
  const TPoint leftTopBack = ProjectPoint(rect.left, rect.top, z1);
  const TPoint rightBottomBack = ProjectPoint(rect.right, rect.bottom, z1);
  std::array<TPoint, 6> hexagon = {
      ProjectPoint(rect.left, rect.bottom, z0),
      ProjectPoint(rect.left, rect.top, z0),
      rightTopFront.y < leftTopBack.y ? rightTopFront : leftTopBack,
      rightTopBack,
      rightTopFront.x > rightBottomBack.x ? rightTopFront : rightBottomBack,
      ProjectPoint(rect.right, rect.bottom, z0),
  };
  // Seen from the left the front corners swap sides; keep the outline a simple polygon.
  if (hexagon[5].x < hexagon[0].x) {
    hexagon[0].x = hexagon[5].x;
    if (rightTopFront.y < hexagon[0].y) hexagon[0].y = rightTopFront.y;
  }
  CurrentSurface().SelectClipPolygon(hexagon);
}

// [SECTION] Arrow

void TZavCanvas3D::DrawArrow(bool filled, TPoint from, TPoint to, int headWidth, int headLength, int z) {
  const long double dx = static_cast<long double>(to.x) - from.x;
  const long double dy = static_cast<long double>(from.y) - to.y;
  const long double length = std::sqrt(dx * dx + dy * dy);
  if (length == 0) return;
  const long double head = std::min<long double>(static_cast<long double>(Round(length)), headLength);
  const long double sine = dy / length;
  const long double cosine = dx / length;
  // (u, v): u along the arrow, v across it.
  const auto screen = [&](long double u, long double v) {
    return ProjectPoint(RoundPixel(u * cosine + v * sine), RoundPixel(-u * sine + v * cosine), z);
  };
  const long double uTo = to.x * cosine - to.y * sine;
  const long double v = to.x * sine + to.y * cosine;
  const long double uFrom = from.x * cosine - from.y * sine;
  const long double halfWidth = headWidth / 2.0L;
  const TPoint corner1 = screen(uTo - head, v - halfWidth);
  const TPoint corner2 = screen(uTo - head, v + halfWidth);
  const TPoint tip = ProjectPoint(to.x, to.y, z);
  Surface& surface = CurrentSurface();
  if (!filled) {
    const TPoint tail = ProjectPoint(from.x, from.y, z);
    surface.MoveTo(tail.x, tail.y);
    surface.LineTo(tip.x, tip.y);
    surface.LineTo(corner2.x, corner2.y);
    surface.MoveTo(tip.x, tip.y);
    surface.LineTo(corner1.x, corner1.y);
    return;
  }
  const long double quarter = headWidth / 4.0L;
  const std::array<TPoint, 7> outline = {
      screen(uFrom, v + quarter), screen(uFrom, v - quarter), screen(uTo - head, v - quarter), corner1, tip,
      corner2,                    screen(uTo - head, v + quarter),
  };
  surface.Polygon(outline);
}

// [SECTION] Pie slice

void TZavCanvas3D::DrawPieSlice3D(int centerX, int centerY, int radiusX, int radiusY, int z0, int z1,
                                  double startAngle, double endAngle, bool darkSides, bool drawSides) {
  if (!std::isfinite(startAngle) || !std::isfinite(endAngle)) return;
  const long double sweep = static_cast<long double>(endAngle) - startAngle;
  const long double degrees = std::fabs(sweep) * 180.0L / kPi;
  // One point per 10 degrees, at most 32; ranks are 1-based below, as F(1) … F(n).
  const long double tens = degrees / 10;
  const int n = (tens >= 31 ? 30 : static_cast<int>(std::min<std::int64_t>(30, Round(tens)))) + 2;
  const long double step = sweep / (n - 1);
  std::array<TPoint, 32> front;  // F: at z1
  std::array<TPoint, 32> back;   // K: at z0
  for (int i = 0; i < n; ++i) {
    const long double angle = startAngle + i * step;
    const int x = centerX + RoundPixel(radiusX * std::cos(angle));
    const int y = centerY - RoundPixel(radiusY * std::sin(angle));
    front[static_cast<std::size_t>(i)] = ProjectPoint(x, y, z1);
    back[static_cast<std::size_t>(i)] = ProjectPoint(x, y, z0);
  }
  const auto F = [&front](int rank) { return front[static_cast<std::size_t>(rank - 1)]; };
  const auto K = [&back](int rank) { return back[static_cast<std::size_t>(rank - 1)]; };
  const TPoint center1 = ProjectPoint(centerX, centerY, z1);
  const TPoint center0 = ProjectPoint(centerX, centerY, z0);
  const TColor base = SolidBaseColor();
  Surface& surface = CurrentSurface();

  if (drawSides) {
    // Against the centre argument itself, not its projection.
    const auto side = [&](int rank) {
      if (darkSides) SetSolidFaceColor(DarkenColor(base, 32));
      m_quad = {center1, F(rank), K(rank), center0};
      DrawScratchQuad();
    };
    if (F(n).x < centerX) side(n);
    if (F(1).x > centerX) side(1);
  }

  SetSolidFaceColor(base);
  std::array<TPoint, 33> face;
  face[0] = center1;
  std::copy_n(front.begin(), n, face.begin() + 1);
  surface.Polygon(std::span<const TPoint>(face.data(), static_cast<std::size_t>(n + 1)));

  // The rim shows where the arc runs to the right on screen.
  int k = 0;
  for (int i = 2; i <= n; ++i) {
    if (F(i).x > F(i - 1).x) {
      k = i;
      break;
    }
  }
  if (k == 0) return;
  const auto drawRun = [&](int first, int last) {
    std::array<TPoint, 64> run;
    std::size_t count = 0;
    for (int i = first; i <= last; ++i) run[count++] = F(i);
    for (int i = last; i >= first; --i) run[count++] = K(i);
    if (darkSides) SetSolidFaceColor(DarkenColor(base, 32));
    surface.Polygon(std::span<const TPoint>(run.data(), count));
  };
  int e = 0;
  for (int i = k + 1; i <= n - 1; ++i) {
    if (F(i + 1).x < F(i).x) {
      e = i;
      break;
    }
  }
  // No turn found: the run goes to the end, or stops before a last step back.
  if (e == 0) e = F(n).x < F(n - 1).x ? n - 1 : n;
  drawRun(k - 1, e);
  if (e < n && F(n).x > F(n - 1).x) {
    int t = n;
    while (t > 1 && F(t).x > F(t - 1).x) --t;
    if (t > 1) drawRun(t, n);
  }
}

// [SECTION] Cylinder
//
// The body is an elliptic prism of 16 sides around an axis through the middle of the
// box: vertical (from bottom to top) or horizontal (from left to right). The far end
// (top or right) has its radii scaled by a percentage, so the same construction makes a
// cone; a cylinder uses 100. A side or end is visible when its projected outline turns
// against the orientation of its outward normal (the sign of its screen area). Visible
// sides are merged into runs and each run drawn as one polygon, as the rim of a pie
// slice is, so no seams show between them. The body takes the base colour; with dark
// sides an end takes the darkening of a top (64) when the axis is vertical and of a side
// (128) when it is horizontal, as the faces of a box do.

void TZavCanvas3D::DrawCylinder(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                                bool darkSides) {
  DrawCylinderBody(vertical, left, top, right, bottom, z0, z1, darkSides, 100);
}

void TZavCanvas3D::DrawCylinderBody(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                                    bool darkSides, int percent) {
  constexpr int kSides = 16;
  if (percent == 0) percent = 10;
  const TColor base = SolidBaseColor();
  // Cross-section: u across the box (x when vertical, y when horizontal), w in depth.
  const long double uCenter = vertical ? (left + right) / 2.0L : (top + bottom) / 2.0L;
  const long double uRadius = vertical ? (right - left) / 2.0L : (bottom - top) / 2.0L;
  const long double wCenter = (z0 + z1) / 2.0L;
  const long double wRadius = (z1 - z0) / 2.0L;
  const int nearEnd = vertical ? bottom : left;
  const int farEnd = vertical ? top : right;

  std::array<TPoint, kSides> nearRing;
  std::array<TPoint, kSides> farRing;
  const auto ringPoint = [&](int end, long double scale, int k) {
    const long double angle = k * kPi / 8;
    const int u = RoundPixel(uCenter + scale * uRadius * std::cos(angle));
    const int w = RoundPixel(wCenter + scale * wRadius * std::sin(angle));
    return vertical ? ProjectPoint(u, end, w) : ProjectPoint(end, u, w);
  };
  for (int k = 0; k < kSides; ++k) {
    nearRing[static_cast<std::size_t>(k)] = ringPoint(nearEnd, 1.0L, k);
    farRing[static_cast<std::size_t>(k)] = ringPoint(farEnd, percent / 100.0L, k);
  }

  // Orientation of the outlines below against the outward normals: +1 when they agree.
  // A side (near k, near k+1, far k+1, far k) and the rings (angle increasing) flip with
  // each mirrored axis; a zero-length axis counts as pointing the usual way.
  int axis = Sign(static_cast<long double>(farEnd) - nearEnd);
  if (axis == 0) axis = vertical ? -1 : 1;
  const int cross = Sign(uRadius) * Sign(wRadius);
  // The cross-sections (x, z) of a vertical body and (y, z) of a horizontal one turn
  // opposite ways about their axes.
  const int handedness = vertical ? -1 : 1;
  const int sideOrientation = handedness * axis * cross;
  const int farOrientation = handedness * axis * cross;
  const int nearOrientation = -farOrientation;
  const auto faces = [](int orientation, long long area) { return orientation * area < 0; };

  std::array<bool, kSides> visible{};
  int visibleCount = 0;
  for (std::size_t k = 0; k < kSides; ++k) {
    const std::size_t next = (k + 1) % kSides;
    const std::array<TPoint, 4> side = {nearRing[k], nearRing[next], farRing[next], farRing[k]};
    visible[k] = faces(sideOrientation, SignedArea(side));
    visibleCount += visible[k] ? 1 : 0;
  }
  Surface& surface = CurrentSurface();
  const auto drawRun = [&](int first, int count) {
    std::array<TPoint, 2 * (kSides + 1)> outline;
    std::size_t size = 0;
    for (int i = 0; i <= count; ++i) outline[size++] = nearRing[static_cast<std::size_t>((first + i) % kSides)];
    for (int i = count; i >= 0; --i) outline[size++] = farRing[static_cast<std::size_t>((first + i) % kSides)];
    surface.Polygon(std::span<const TPoint>(outline.data(), size));
  };
  if (visibleCount == kSides) {
    // Only a cone seen along its axis shows every side; two halves keep each run simple.
    drawRun(0, kSides / 2);
    drawRun(kSides / 2, kSides / 2);
  } else if (visibleCount > 0) {
    int start = 0;
    while (visible[static_cast<std::size_t>(start)] || !visible[static_cast<std::size_t>((start + 1) % kSides)])
      start = (start + 1) % kSides;
    // start is hidden and start + 1 visible: walk the runs once around.
    for (int i = 1; i <= kSides;) {
      const int first = (start + i) % kSides;
      if (!visible[static_cast<std::size_t>(first)]) {
        ++i;
        continue;
      }
      int count = 0;
      while (i + count <= kSides && visible[static_cast<std::size_t>((first + count) % kSides)]) ++count;
      drawRun(first, count);
      i += count;
    }
  }

  const auto drawEnd = [&](const std::array<TPoint, kSides>& ring, int orientation) {
    if (!faces(orientation, SignedArea(ring))) return;
    if (darkSides) SetSolidFaceColor(DarkenColor(base, vertical ? 64 : 128));
    surface.Polygon(ring);
  };
  drawEnd(farRing, farOrientation);
  drawEnd(nearRing, nearOrientation);
}

}  // namespace tarvela
