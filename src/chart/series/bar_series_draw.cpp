// Drawing of bar series:
//
//   [SECTION] One point        the bar's rectangle, pen and brush
//   [SECTION] Shapes           the seven bar styles, flat in 2D and as solids in 3D
//   [SECTION] Marks            a mark beyond the bar's end, above or below it
//   [SECTION] Hit test         the bar under the mouse, shape by shape
//   [SECTION] Legend symbol    the bar's pen and fill in the legend
//
// DrawBar gets the bar's two value-axis pixels in screen order (start above or left of
// end), whichever of them is the value: the pointed and arrow shapes therefore always
// point up (or right), and only the cylinder and the ellipse keep the value's side.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <unordered_map>

#include "tarvela/chart/axes/axis_panel.h"
#include "tarvela/chart/series/bar_series.h"
#include "tarvela/runtime/rounding.h"

namespace tarvela {

// [SECTION] One point

// A bar of no width is a line of its fill colour, from its value to the baseline
// (DrawBarRectangle). Drawn in one colour, the lines light each pixel the same
// whichever comes last; and on one pixel line, a bar that ends nearer the baseline
// than another on the same side lights only pixels that one lights too.
bool TCustomBarSeries::DrawsLinesOfOneColour() const {
  const TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr || chart->View3D() || m_barSize != 0 || OnGetBarStyle ||
      (m_barStyle != bsRectangle && m_barStyle != bsCilinder) || m_multiBar == mbStacked ||
      m_multiBar == mbStacked100) {
    return false;
  }
  // A dash starts where its line starts, so lines of different lengths would not light
  // nested pixels; nor would a pen wider than a pixel at the line's ends.
  if (m_barBrush.Style() != bsSolid || m_barBrush.HasPattern() || m_barPen.Mode() != pmCopy ||
      m_barPen.Width() != 1 || m_barPen.SmallDots() || (m_barPen.Visible() && m_barPen.Style() != psSolid)) {
    return false;
  }
  return CategoryAxis() != nullptr && ValueAxis() != nullptr;
}

bool TCustomBarSeries::FindLongestBars(int first, int last) {
  struct Line {
    int before = -1;  // the bar ending furthest before the baseline (smaller pixels)
    int beforeEnd = 0;
    int after = -1;   // furthest after it
    int afterEnd = 0;
    int onBase = -1;  // the last bar that ends on it
  };
  std::unordered_map<int, Line> lines;
  const int base = BaselinePos(first);
  TColor color = clNone;
  int lastPlace = 0;
  Line* line = nullptr;
  for (int i = first; i <= last; ++i) {
    const TColor pointColor = PointColor(i);
    if (pointColor == clNone) continue;
    if (color == clNone) color = pointColor;
    if (pointColor != color) return false;
    const int place = CategoryPixel(i);
    // Consecutive bars mostly share their line: looked up once for all of them.
    if (line == nullptr || place != lastPlace) {
      line = &lines[place];
      lastPlace = place;
    }
    const int end = ValuePixel(i);
    if (end < base) {
      if (line->before < 0 || end < line->beforeEnd) {
        line->before = i;
        line->beforeEnd = end;
      }
    } else if (end > base) {
      if (line->after < 0 || end > line->afterEnd) {
        line->after = i;
        line->afterEnd = end;
      }
    } else {
      line->onBase = i;
    }
  }
  m_shownBars.clear();
  for (const auto& [place, kept] : lines) {
    for (const int i : {kept.before, kept.after, kept.onBase})
      if (i >= 0) m_shownBars.push_back(i);
  }
  std::sort(m_shownBars.begin(), m_shownBars.end());
  return true;
}

void TCustomBarSeries::DrawAllPoints() {
  const int first = FirstDrawnIndex();
  const int last = LastDrawnIndex();
  if (first < 0) return;
  if (DrawsLinesOfOneColour() && FindLongestBars(first, last)) {
    for (const int i : m_shownBars) DrawPoint(i);
    return;
  }
  // Worth it only when bars share their place, that is when there are more than pixels.
  if (last - first > 1000 && CullsRepeatedBars()) {
    FindUnrepeatedBars(first, last);
    for (const int i : m_shownBars) DrawPoint(i);
    return;
  }
  if (PointsForward()) {
    for (int i = first; i <= last; ++i) DrawPoint(i);
  } else {
    for (int i = last; i >= first; --i) DrawPoint(i);
  }
}

bool TCustomBarSeries::CullsRepeatedBars() const {
  const TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr || chart->Antialiased() || OnGetBarStyle) return false;
  if (m_barPen.Visible() && m_barPen.Mode() != pmCopy) return false;
  return CategoryAxis() != nullptr && ValueAxis() != nullptr;
}

void TCustomBarSeries::FindUnrepeatedBars(int first, int last) {
  // What DrawPoint draws a bar from; depths, shape and pen are the series' own.
  struct Bar {
    int place, value, base;
    TColor color;
    bool operator==(const Bar&) const = default;
  };
  // The distinct bars, open-addressed, grown at half full.
  struct Table {
    std::vector<Bar> bars;
    std::vector<std::uint8_t> used;
    int bits = 0;
    std::size_t count = 0;
    void Reset(int tableBits) {
      bits = tableBits;
      count = 0;
      bars.assign(std::size_t{1} << bits, Bar{});
      used.assign(std::size_t{1} << bits, 0);
    }
    std::size_t Slot(const Bar& bar) const {
      const std::uint32_t mixed = static_cast<std::uint32_t>(bar.place) * 0x27D4EB2Fu ^
                                  static_cast<std::uint32_t>(bar.value) * 0x85EBCA77u ^
                                  static_cast<std::uint32_t>(bar.base) * 0xC2B2AE3Du ^
                                  static_cast<std::uint32_t>(bar.color);
      std::size_t slot = (mixed * 0x9E3779B1u) >> (32 - bits);
      while (used[slot] != 0 && !(bars[slot] == bar)) slot = (slot + 1) & (bars.size() - 1);
      return slot;
    }
    // False when the table holds the bar already.
    bool Insert(const Bar& bar) {
      std::size_t slot = Slot(bar);
      if (used[slot] != 0) return false;
      if (2 * (count + 1) > bars.size()) {
        const std::vector<Bar> old = bars;
        const std::vector<std::uint8_t> oldUsed = used;
        Reset(bits + 1);
        for (std::size_t k = 0; k < old.size(); ++k)
          if (oldUsed[k] != 0) Insert(old[k]);
        slot = Slot(bar);
      }
      bars[slot] = bar;
      used[slot] = 1;
      ++count;
      return true;
    }
  };
  Table table;
  table.Reset(10);
  // From the last bar drawn back: a bar is shown unless a later one repeats it.
  const bool forward = PointsForward();
  m_shownBars.clear();
  const int count = last - first + 1;
  for (int n = 0; n < count; ++n) {
    const int i = forward ? last - n : first + n;
    const TColor color = PointColor(i);
    if (color == clNone) continue;
    if (table.Insert(Bar{CategoryPixel(i), ValuePixel(i), BaselinePos(i), color})) m_shownBars.push_back(i);
  }
  std::reverse(m_shownBars.begin(), m_shownBars.end());
}

void TCustomBarSeries::DrawPoint(int valueIndex) {
  if (ParentChart() == nullptr) return;
  m_barColor = PointColor(valueIndex);
  if (m_barColor == clNone) return;
  const int value = ValuePixel(valueIndex);
  const int base = BaselinePos(valueIndex);
  const int place = CategoryPixel(valueIndex);
  // A bar of an axis reaching as far as the int limits ends there, not wrapped round.
  const int far = ClampPixel(std::int64_t{place} + m_barSize);
  if (VerticalBars()) {
    m_barRect = {place, value, far, base};
  } else {
    m_barRect = {base, place, value, far};
  }
  DrawBar(valueIndex, std::min(value, base), std::max(value, base));
}

void TCustomBarSeries::PrepareBar() {
  TCustomAxisPanel& chart = *ParentChart();
  TZavCanvas3D& canvas = chart.Canvas();
  canvas.ApplyChartPen(m_barPen);
  if (m_barBrush.HasPattern()) {
    canvas.SetBrushPattern(m_barBrush.Pattern());
  } else {
    canvas.ClearBrushPattern();
    const TColor back = m_barBrush.Color() == clDefault ? chart.Color() : m_barBrush.Color();
    chart.ApplyFillBrush(m_barColor, m_barBrush.Style(), back);
  }
}

void TCustomBarSeries::DrawBarRectangle(TRect box) {
  TZavCanvas3D& canvas = ParentChart()->Canvas();
  const SurfaceBrush brush = canvas.Brush();
  const int width = std::abs(box.right - box.left);
  const int height = std::abs(box.bottom - box.top);
  // An outline-only bar keeps the fill's colour, so that a bar of no size still shows.
  const auto penInFillColour = [&] {
    canvas.SetPenColor(brush.color);
    if (canvas.Pen().style == psClear) canvas.SetPenStyle(psSolid);
  };
  const bool solid = brush.style == bsSolid && !brush.pattern;
  if (solid && (width == 0 || height == 0)) {
    penInFillColour();
    canvas.Line2D(box.left, box.top, box.right, box.bottom);
  }
  if (width < canvas.Pen().width || height < canvas.Pen().width) {
    penInFillColour();
    canvas.SetBrushStyle(bsClear);
  }
  canvas.DrawRectangle(box.left, box.top, box.right, box.bottom);
}

// [SECTION] Shapes

namespace {

// The gradient on the front face of a 3D bar, when that face is a rectangle on screen.
void GradientFrontFace(TCustomAxisPanel& chart, const TChartPen& pen, int left, int top, int right, int bottom,
                       int front, TColor color, TGradientDirection direction) {
  TZavCanvas3D& canvas = chart.Canvas();
  if (!canvas.RotatesFreely() && !chart.View3DOptions().Orthogonal()) return;
  const TPoint a = canvas.ProjectPoint(left, top, front);
  const TPoint b = canvas.ProjectPoint(right, bottom, front);
  TRect face{a.x, a.y, b.x, b.y};
  // Inside the outline, which the box has drawn already.
  if (pen.Visible()) face = {a.x + 1, a.y + 1, b.x + 1 - pen.Width(), b.y + 1 - pen.Width()};
  canvas.FillGradient(face, clWhite, color, direction);
}

}  // namespace

void TBarSeries::DrawBar(int valueIndex, int start, int end) {
  PrepareBar();
  TCustomAxisPanel& chart = *ParentChart();
  TZavCanvas3D& canvas = chart.Canvas();
  const bool view3D = chart.View3D();
  const TRect& bar = BarRect();
  const int left = bar.left;
  const int right = bar.right;
  const int mid = (left + right) / 2;
  const int front = DepthFront();
  const int back = DepthBack();
  switch (ShapeOf(valueIndex)) {
    case bsPyramid:
      if (view3D) {
        canvas.DrawPyramid(true, left, start, right, end, front, back, Dark3D());
      } else {
        const std::array<TPoint, 3> shape = {TPoint{left, end}, TPoint{mid, start}, TPoint{right, end}};
        canvas.DrawPolygon(shape);
      }
      break;
    case bsInvPyramid:
      if (view3D) {
        canvas.DrawPyramid(true, left, end, right, start, front, back, Dark3D());
      } else {
        const std::array<TPoint, 3> shape = {TPoint{left, start}, TPoint{mid, end}, TPoint{right, start}};
        canvas.DrawPolygon(shape);
      }
      break;
    case bsCilinder:
      if (view3D) {
        canvas.DrawCylinder(true, left, bar.top, right, bar.bottom, front, back, Dark3D());
      } else {
        DrawBarRectangle(bar);
      }
      break;
    case bsEllipse:
      if (view3D) {
        canvas.EllipseAtDepth(left, bar.top, right, bar.bottom, DepthMiddle());
      } else {
        canvas.DrawEllipse(left, bar.top, right, bar.bottom);
      }
      break;
    case bsArrow:
      canvas.DrawArrow(true, {mid, end}, {mid, start}, right - left, (right - left) / 2, DepthMiddle());
      break;
    case bsRectGradient:
      if (view3D) {
        canvas.DrawBox(left, right, start, end, front, back, Dark3D());
        GradientFrontFace(chart, BarPen(), left, start, right, end, front, BarColor(), gdBottomTop);
      } else {
        canvas.FillGradient({left, start, right, end}, clWhite, BarColor(), gdBottomTop);
        if (BarPen().Visible()) {
          canvas.SetBrushStyle(bsClear);
          DrawBarRectangle(bar);
        }
      }
      break;
    case bsRectangle:
    default:
      if (view3D) {
        canvas.DrawBox(left, right, start, end, front, back, Dark3D());
      } else {
        DrawBarRectangle(bar);
      }
      break;
  }
}

void THorizBarSeries::DrawBar(int valueIndex, int start, int end) {
  PrepareBar();
  TCustomAxisPanel& chart = *ParentChart();
  TZavCanvas3D& canvas = chart.Canvas();
  const bool view3D = chart.View3D();
  const TRect& bar = BarRect();
  const int top = bar.top;
  const int bottom = bar.bottom;
  const int mid = (top + bottom) / 2;
  const int front = DepthFront();
  const int back = DepthBack();
  switch (ShapeOf(valueIndex)) {
    case bsPyramid:
      if (view3D) {
        canvas.DrawPyramid(false, start, top, end, bottom, front, back, Dark3D());
      } else {
        const std::array<TPoint, 3> shape = {TPoint{start, top}, TPoint{end, mid}, TPoint{start, bottom}};
        canvas.DrawPolygon(shape);
      }
      break;
    case bsInvPyramid:
      if (view3D) {
        canvas.DrawPyramid(false, end, top, start, bottom, front, back, Dark3D());
      } else {
        const std::array<TPoint, 3> shape = {TPoint{end, top}, TPoint{start, mid}, TPoint{end, bottom}};
        canvas.DrawPolygon(shape);
      }
      break;
    case bsCilinder:
      if (view3D) {
        canvas.DrawCylinder(false, bar.left, top, bar.right, bottom, front, back, Dark3D());
      } else {
        DrawBarRectangle(bar);
      }
      break;
    case bsEllipse:
      if (view3D) {
        canvas.EllipseAtDepth(bar.left, top, bar.right, bottom, DepthMiddle());
      } else {
        canvas.DrawEllipse(bar.left, top, bar.right, bottom);
      }
      break;
    case bsArrow:
      canvas.DrawArrow(true, {start, mid}, {end, mid}, bottom - top, (bottom - top) / 2, DepthMiddle());
      break;
    case bsRectGradient:
      if (view3D) {
        canvas.DrawBox(start, end, top, bottom, front, back, Dark3D());
        GradientFrontFace(chart, BarPen(), start, top, end, bottom, front, BarColor(), gdLeftRight);
      } else {
        canvas.FillGradient({start, top, end, bottom}, clWhite, BarColor(), gdLeftRight);
        if (BarPen().Visible()) {
          canvas.SetBrushStyle(bsClear);
          DrawBarRectangle(bar);
        }
      }
      break;
    case bsRectangle:
    default:
      if (view3D) {
        canvas.DrawBox(start, end, top, bottom, front, back, Dark3D());
      } else {
        DrawBarRectangle(bar);
      }
      break;
  }
}

// [SECTION] Marks

// The box goes beyond the bar's end, the arrow from the middle of that end to it. A
// bar below (or left of) its baseline has its end on the far side, so its mark is
// flipped past it by the box's own size.
void TCustomBarSeries::PaintMark(int valueIndex, const std::string& text, TSeriesMarkPosition& position) {
  const int half = m_barSize / 2;
  int length = Marks().ArrowLength();
  if (VerticalBars()) {
    if (BaselinePos(valueIndex) < PointYPixel(valueIndex)) length = -length - position.BoxHeight;
    position.TopLeft.x += half;
    position.TopLeft.y -= length;
    position.ArrowEnd.x += half;
    position.ArrowEnd.y -= length;
    position.ArrowStart.x += half;
  } else {
    if (PointXPixel(valueIndex) < BaselinePos(valueIndex)) length = -length - position.BoxWidth;
    position.TopLeft.x += length + position.BoxWidth / 2;
    position.TopLeft.y += half + position.BoxHeight / 2;
    position.ArrowEnd.x += length;
    position.ArrowEnd.y += half;
    position.ArrowStart.y += half;
  }
  TChartSeries::PaintMark(valueIndex, text, position);
}

// [SECTION] Hit test

namespace {

// Inside the triangle or on its edges, whichever way round it is given.
bool TriangleContains(TPoint a, TPoint b, TPoint c, TPoint p) {
  const auto side = [](TPoint from, TPoint to, TPoint at) {
    return static_cast<long long>(to.x - from.x) * (at.y - from.y) -
           static_cast<long long>(to.y - from.y) * (at.x - from.x);
  };
  const long long d1 = side(a, b, p);
  const long long d2 = side(b, c, p);
  const long long d3 = side(c, a, p);
  const bool negative = d1 < 0 || d2 < 0 || d3 < 0;
  const bool positive = d1 > 0 || d2 > 0 || d3 > 0;
  return !(negative && positive);
}

// Inside the ellipse that fills the box or on its outline.
bool EllipseContains(TRect box, TPoint p) {
  const double rx = std::abs(box.right - box.left) / 2.0;
  const double ry = std::abs(box.bottom - box.top) / 2.0;
  if (rx == 0 || ry == 0) return false;
  const double dx = (p.x - (box.left + box.right) / 2.0) / rx;
  const double dy = (p.y - (box.top + box.bottom) / 2.0) / ry;
  return dx * dx + dy * dy <= 1.0;
}

}  // namespace

bool TCustomBarSeries::BarHit(int valueIndex, int x, int y) const {
  const int place = CategoryPixel(valueIndex);
  const int value = ValuePixel(valueIndex);
  const int base = BaselinePos(valueIndex);
  const int start = std::min(value, base);
  const int end = std::max(value, base);
  // Worked out as for a vertical bar: a horizontal one with x and y exchanged.
  const bool vertical = VerticalBars();
  const TPoint p = vertical ? TPoint{x, y} : TPoint{y, x};
  const int far = ClampPixel(std::int64_t{place} + m_barSize);
  if (p.x < place || p.x > far) return false;
  const int mid = (place + far) / 2;
  const auto at = [](int across, int along) { return TPoint{across, along}; };
  switch (m_barStyle) {
    case bsPyramid:
      // A horizontal pyramid points right, the way its exchanged axis grows.
      return vertical ? TriangleContains(at(place, end), at(mid, start), at(far, end), p)
                      : TriangleContains(at(place, start), at(mid, end), at(far, start), p);
    case bsInvPyramid:
      return vertical ? TriangleContains(at(place, start), at(mid, end), at(far, start), p)
                      : TriangleContains(at(place, end), at(mid, start), at(far, end), p);
    case bsEllipse:
      return EllipseContains({place, value, far, base}, p);
    default:
      return p.y >= start && p.y <= end;
  }
}

int TCustomBarSeries::HitTest(int x, int y) const {
  const TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr) return -1;
  // The mouse is on the screen; the bars' front faces lie at the series' front depth.
  chart->Canvas().UnprojectPoint(x, y, DepthFront());
  const int first = FirstDrawnIndex();
  if (first < 0) return -1;
  const int last = std::min(LastDrawnIndex(), PointCount() - 1);
  for (int i = first; i <= last; ++i)
    if (!IsNullPoint(i) && BarHit(i, x, y)) return i;
  return -1;
}

// [SECTION] Legend symbol

void TCustomBarSeries::PrepareLegendSymbol(int, TColor& backColor, TBrushStyle& brushStyle) {
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr) return;
  chart->Canvas().ApplyChartPen(m_barPen);
  brushStyle = m_barBrush.Style();
  backColor = m_barBrush.Color() == clDefault ? chart->Color() : m_barBrush.Color();
}

void TCustomBarSeries::DrawLegendSymbol(int valueIndex, const TRect& rect) {
  if (ParentChart() != nullptr && m_barBrush.HasPattern()) ParentChart()->Canvas().SetBrushPattern(m_barBrush.Pattern());
  TChartSeries::DrawLegendSymbol(valueIndex, rect);
}

}  // namespace tarvela
