#include "tarvela/platform/surface.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

#include "tarvela/runtime/rounding.h"

namespace tarvela {

namespace {

TColor Resolved(TColor color) { return static_cast<TColor>(ColorToRGB(color)); }

bool CoversNothing(const TRect& rect) { return rect.left == rect.right || rect.top == rect.bottom; }

}  // namespace

TRect NormalizedRect(const TRect& rect) {
  return {std::min(rect.left, rect.right), std::min(rect.top, rect.bottom), std::max(rect.left, rect.right),
          std::max(rect.top, rect.bottom)};
}

HorizontalAlign HorizontalAlignOf(int flags) {
  switch (flags & kTextAlignHorizontalMask) {
    case kTextAlignCenter: return HorizontalAlign::Center;
    case kTextAlignRight: return HorizontalAlign::Right;
    default: return HorizontalAlign::Left;
  }
}

VerticalAlign VerticalAlignOf(int flags) {
  switch (flags & kTextAlignVerticalMask) {
    case kTextAlignBaseline: return VerticalAlign::Baseline;
    case kTextAlignBottom: return VerticalAlign::Bottom;
    default: return VerticalAlign::Top;
  }
}

Surface::Surface() = default;
Surface::~Surface() = default;

// ---------------------------------------------------------------- [SECTION] state

void Surface::SetPen(const SurfacePen& pen) {
  m_pen = pen;
  m_pen.color = Resolved(pen.color);
  m_pen.width = std::max(1, pen.width);
  if (m_pen.alternate) {
    m_pen.width = 1;
    m_pen.style = psSolid;
  }
}

void Surface::SetPenColor(TColor color) { m_pen.color = Resolved(color); }

void Surface::SetPenWidth(int width) {
  if (!m_pen.alternate) m_pen.width = std::max(1, width);
}

void Surface::SetPenStyle(TPenStyle style) {
  // Choosing a style leaves the alternate pen, as selecting another pen would.
  m_pen.alternate = false;
  m_pen.style = style;
}

void Surface::SetPenMode(TPenMode mode) { m_pen.mode = mode; }

void Surface::SetAlternatePen(TColor color) {
  SurfacePen pen = m_pen;
  pen.color = color;
  pen.alternate = true;
  SetPen(pen);
}

void Surface::SetBrush(const SurfaceBrush& brush) {
  m_brush = brush;
  m_brush.color = Resolved(brush.color);
  if (m_brush.pattern && m_brush.pattern->Empty()) m_brush.pattern.reset();
}

void Surface::SetBrushColor(TColor color) { m_brush.color = Resolved(color); }

void Surface::SetBrushStyle(TBrushStyle style) { m_brush.style = style; }

void Surface::SetBrushPattern(const Picture& pattern) {
  if (pattern.Empty()) {
    m_brush.pattern.reset();
  } else {
    m_brush.pattern = pattern;
  }
}

void Surface::ClearBrushPattern() { m_brush.pattern.reset(); }

void Surface::SetFont(const SurfaceFont& font) {
  m_font = font;
  m_font.color = Resolved(font.color);
  if (m_font.pixelsPerInch < 1) m_font.pixelsPerInch = 96;
  if (m_font.height == 0) m_font.SetSize(10);
}

void Surface::SetBackgroundColor(TColor color) { m_backgroundColor = Resolved(color); }

// ---------------------------------------------------------------- [SECTION] drawing

void Surface::LineTo(int x, int y) {
  const TPoint from = m_penPos;
  m_penPos = {x, y};
  DoLineTo(from, m_penPos);
}

void Surface::Line(int x1, int y1, int x2, int y2) {
  MoveTo(x1, y1);
  LineTo(x2, y2);
}

void Surface::Polyline(std::span<const TPoint> points) {
  if (points.size() < 2) return;
  DoPolyline(points);
}

void Surface::LineSegments(std::span<const TPoint> points, std::span<const TColor> colors) {
  const std::size_t count = std::min(points.size(), colors.size());
  std::size_t last = 0;  // the last segment drawn, 0 for none
  for (std::size_t i = count; i-- > 1;) {
    if (colors[i] != clNone) {
      last = i;
      break;
    }
  }
  if (last == 0) return;
  DoLineSegments(points.first(last + 1), colors.first(last + 1));
  m_pen.color = Resolved(colors[last]);
  m_penPos = points[last];
}

void Surface::DoLineSegments(std::span<const TPoint> points, std::span<const TColor> colors) {
  for (std::size_t i = 1; i < points.size(); ++i) {
    if (colors[i] == clNone) continue;
    SetPenColor(colors[i]);
    Line(points[i - 1].x, points[i - 1].y, points[i].x, points[i].y);
  }
}

void Surface::Polygon(std::span<const TPoint> points) {
  if (points.size() < 2) return;
  DoPolygon(points);
}

void Surface::Rectangle(int left, int top, int right, int bottom) {
  const TRect rect = NormalizedRect({left, top, right, bottom});
  if (CoversNothing(rect)) return;
  DoRectangle(rect);
}

void Surface::Rectangles(std::span<const TRect> rects) {
  const bool normal = std::all_of(rects.begin(), rects.end(), [](const TRect& r) {
    return r.left < r.right && r.top < r.bottom;
  });
  if (normal) {
    if (!rects.empty()) DoRectangles(rects);
    return;
  }
  std::vector<TRect> kept;
  for (const TRect& rect : rects) {
    const TRect normalized = NormalizedRect(rect);
    if (!CoversNothing(normalized)) kept.push_back(normalized);
  }
  if (!kept.empty()) DoRectangles(kept);
}

void Surface::DoRectangles(std::span<const TRect> rects) {
  for (const TRect& rect : rects) DoRectangle(rect);
}

void Surface::RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight) {
  const TRect rect = NormalizedRect({left, top, right, bottom});
  if (CoversNothing(rect)) return;
  DoRoundRect(rect, std::abs(cornerWidth), std::abs(cornerHeight));
}

void Surface::Ellipse(int left, int top, int right, int bottom) {
  const TRect rect = NormalizedRect({left, top, right, bottom});
  if (CoversNothing(rect)) return;
  DoEllipse(rect);
}

void Surface::Arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) {
  const TRect rect = NormalizedRect({left, top, right, bottom});
  if (CoversNothing(rect)) return;
  DoArc(rect, {x3, y3}, {x4, y4});
}

void Surface::Pie(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) {
  const TRect rect = NormalizedRect({left, top, right, bottom});
  if (CoversNothing(rect)) return;
  DoPie(rect, {x3, y3}, {x4, y4});
}

void Surface::SetPixel(int x, int y, TColor color) { DoSetPixel({x, y}, Resolved(color)); }

TColor Surface::GetPixel(int x, int y) const { return DoGetPixel({x, y}); }

void Surface::TextOut(int x, int y, std::string_view text) {
  if (text.empty()) return;
  DoTextOut({x, y}, text);
}

TextSize Surface::TextExtent(std::string_view text) const { return DoTextExtent(text); }

void Surface::FillRect(const TRect& rect) {
  const TRect normal = NormalizedRect(rect);
  if (CoversNothing(normal)) return;
  DoFillRect(normal);
}

namespace {

// A negative extent runs from the corner toward smaller coordinates; the corner then
// plays the part of the excluded right or bottom edge.
TRect PatternArea(int x, int y, int width, int height) {
  const auto clampedSum = [](int a, int b) {
    const long long sum = static_cast<long long>(a) + b;
    return static_cast<int>(std::clamp<long long>(sum, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
  };
  return NormalizedRect({x, y, clampedSum(x, width), clampedSum(y, height)});
}

}  // namespace

void Surface::PatternFill(int x, int y, int width, int height) {
  const TRect rect = PatternArea(x, y, width, height);
  if (CoversNothing(rect)) return;
  DoPatternFill(rect);
}

void Surface::FillBands(std::span<const Band> bands) {
  if (bands.empty()) return;
  std::vector<BandArea> areas;
  areas.reserve(bands.size());
  for (const Band& band : bands) {
    const TRect rect = PatternArea(band.x, band.y, band.width, band.height);
    if (!CoversNothing(rect)) areas.push_back({rect, Resolved(band.color)});
  }
  if (!areas.empty() && DoFillBands(areas)) {
    SetBrush(SurfaceBrush{bands.back().color, bsSolid, std::nullopt});
    return;
  }
  std::optional<TColor> current;
  for (const Band& band : bands) {
    if (current != band.color) {
      current = band.color;
      SetBrush(SurfaceBrush{band.color, bsSolid, std::nullopt});
    }
    PatternFill(band.x, band.y, band.width, band.height);
  }
}

bool Surface::DoFillBands(std::span<const BandArea>) { return false; }

void Surface::DrawPicture(int x, int y, const Picture& picture) {
  if (picture.Empty()) return;
  DoDrawPicture({x, y}, picture);
}

void Surface::StretchPicture(const TRect& rect, const Picture& picture) {
  const TRect normal = NormalizedRect(rect);
  if (picture.Empty() || CoversNothing(normal)) return;
  DoStretchPicture(normal, picture);
}

// ---------------------------------------------------------------- [SECTION] clipping

void Surface::IntersectClipRect(const TRect& rect) { DoIntersectClipRect(NormalizedRect(rect)); }

void Surface::SelectClipRect(const TRect& rect) { DoSelectClipRect(NormalizedRect(rect)); }

void Surface::SelectClipPolygon(std::span<const TPoint> points) { DoSelectClipPolygon(points); }

void Surface::RemoveClipping() { DoRemoveClipping(); }

// ---------------------------------------------------------------- [SECTION] bitmaps

std::unique_ptr<OffscreenBitmap> Surface::CreateOffscreen(int width, int height, bool monochrome) {
  return DoCreateOffscreen(std::max(1, width), std::max(1, height), monochrome);
}

void Surface::CopyBitmap(int x, int y, const OffscreenBitmap& bitmap) { DoCopyBitmap({x, y}, bitmap); }

}  // namespace tarvela
