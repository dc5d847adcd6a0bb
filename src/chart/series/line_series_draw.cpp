// Drawing of the series that join or mark their points (line, area, point):
//
//   [SECTION] One point        DrawPoint: the point's pixels, the segment that enters
//                              the plot from the left, the drawing memory; the
//                              placement of a point's mark
//   [SECTION] Plain 2D lines   many points of a solid one-pixel line as one path
//   [SECTION] Dense 3D lines   the ribbons a later ribbon draws again, left out
//   [SECTION] One segment      the connection from the previous point: a 3D ribbon
//                              (plain, stairs, with a front face of LineHeight), the
//                              area below it, or a 2D line; then the pointers
//   [SECTION] Margins          the room the axes leave at their ends
//   [SECTION] Legend symbol    line, pointer or box in the legend
//
// Each point draws the segment arriving at it, then the pointer of the previous point:
// so a pointer lies on top of both segments that touch it. A null point draws no
// segment and no pointer, and the next point starts from its own position, which
// breaks the line there.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <span>
#include <vector>

#include "tarvela/chart/axes/axis_panel.h"
#include "tarvela/chart/series/column_path.h"
#include "tarvela/chart/series/line_series.h"

namespace tarvela {

namespace {

// Pixels outside this range would overflow the 16-bit coordinates of the raster
// calls; such a point is skipped rather than drawn wrong.
constexpr int kPixelLimit = 32766;

bool FitsPixelRange(int value) { return value >= -kPixelLimit && value <= kPixelLimit; }

}  // namespace

// [SECTION] One point

void TCustomSeries::DoBeforeDrawValues() {
  // A pass of a shared depth slab may begin past this series' first drawn index; a
  // forgotten previous point makes its first segment empty instead of reaching back
  // to where the last paint ended.
  m_prevColor = clNone;
  TChartSeries::DoBeforeDrawValues();
}

int TCustomSeries::BaselinePos(int) const {
  const TChartAxis* axis = GetVertAxis();
  return axis == nullptr ? 0 : axis->EndPixel();
}

TColor TCustomSeries::AreaFillColor(TColor color) const {
  return ColorEachPoint() || m_areaColor == clDefault ? color : m_areaColor;
}

int TCustomSeries::EdgeYPixel(int valueIndex) const {
  const double x0 = XValueAt(valueIndex - 1);
  const double x1 = XValueAt(valueIndex);
  if (x0 == x1) return PointYPixel(valueIndex - 1);
  const double y0 = YValueAt(valueIndex - 1);
  const double y1 = YValueAt(valueIndex);
  const double edgeX = GetHorizAxis()->PixelToValue(m_prevX);
  const double edgeY = y0 + (y1 - y0) * (edgeX - x0) / (x1 - x0);
  return GetVertAxis()->ValueToPixel(edgeY);
}

void TCustomSeries::DrawPoint(int valueIndex) {
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr) return;
  TZavCanvas3D& canvas = chart->Canvas();
  PointDraw point{valueIndex, PointXPixel(valueIndex), PointYPixel(valueIndex), PointColor(valueIndex), false};
  if (!FitsPixelRange(point.x) || !FitsPixelRange(point.y)) {
    m_prevColor = point.color;
    return;
  }

  canvas.SetPenColor(clBlack);
  canvas.SetBrushColor(point.color);
  if (m_prevColor == clNone) {
    m_prevX = point.x;
    m_prevY = point.y;
  }
  point.isLast = valueIndex == LastDrawnIndex();
  m_basePos = BaselinePos(valueIndex);

  if (valueIndex == FirstDrawnIndex()) {
    if (m_dark3D) {
      const int offsetX = chart->DepthOffsetX();
      m_darkSlope = offsetX == 0 ? 1.0 : std::fabs(static_cast<double>(chart->DepthOffsetY()) / offsetX);
    }
    if (valueIndex > 0) {
      // The segment from the point left of the plot is drawn from the plot's edge, so
      // that the line enters exactly there.
      if (m_drawArea) {
        m_prevX = PointXPixel(valueIndex - 1);
        m_prevY = PointYPixel(valueIndex - 1);
        m_prevBasePos = BaselinePos(valueIndex - 1);
      } else {
        const TChartAxis* horizAxis = GetHorizAxis();
        m_prevX = horizAxis->Inverted() ? chart->PlotRect().right : chart->PlotRect().left;
        m_prevY = m_stairs ? PointYPixel(valueIndex - 1) : EdgeYPixel(valueIndex);
      }
      if (!IsNullPoint(valueIndex - 1)) DrawSegment(point, false);
    }
    if (point.isLast && m_pointer.Visible()) DrawPointMarker(point.x, point.y, valueIndex, point.color);
    if (canvas.RotatesFreely() && m_drawArea && chart->View3D()) {
      canvas.SideRectangle(point.x, point.y, m_basePos, DepthFront(), DepthBack());
    }
  } else {
    DrawSegment(point, true);
  }

  m_prevX = point.x;
  m_prevY = point.y;
  m_prevBasePos = m_basePos;
  m_prevColor = point.color;
}

void TCustomSeries::DrawPointMarker(int x, int y, int valueIndex, TColor color) {
  m_pointer.ApplyPenAndBrush(color);
  const TSeriesPointerStyle style = OnGetPointerStyle ? OnGetPointerStyle(this, valueIndex) : m_pointer.Style();
  m_pointer.DrawAt(x, y, color, style);
}

void TCustomSeries::RememberDrawnPoint(int valueIndex, TPoint pixel, TColor color) {
  m_prevX = pixel.x;
  m_prevY = pixel.y;
  m_basePos = BaselinePos(valueIndex);
  m_prevBasePos = m_basePos;
  m_prevColor = color;
}

// The mark stands on the front face, so that a ribbon never covers its arrow.
void TCustomSeries::PaintMark(int valueIndex, const std::string& text, TSeriesMarkPosition& position) {
  Marks().SetMarksDepth(DepthFront());
  const int lift = Marks().ArrowLength();
  position.TopLeft.y -= lift;
  position.ArrowEnd.y -= lift;
  TChartSeries::PaintMark(valueIndex, text, position);
}

// [SECTION] Plain 2D lines
//
// Why one path through what each pixel column needs lights the same pixels as the
// segments: column_path.cpp.

void TCustomSeries::DrawAllPoints() {
  const int first = FirstDrawnIndex();
  const int last = LastDrawnIndex();
  if (first >= 0 && last > first && CullsRepeatedRibbons() && DrawShownRibbons(first, last)) return;
  if (first >= 0 && last > first && DrawsReducibleArea2D() && DrawAreaColumns(first, last)) return;
  if (first >= 0 && last > first && !DrawsPlainLine2D() && DrawsOnePixelLine2D() && DrawColoredLine2D(first, last)) {
    return;
  }
  // Worth it only when some column holds more than one point.
  if (first < 0 || last <= first || !DrawsPlainLine2D() ||
      std::abs(static_cast<long long>(PointXPixel(last)) - PointXPixel(first)) >= last - first ||
      !PlainLinePath(m_path)) {
    TChartSeries::DrawAllPoints();
    return;
  }
  DrawPoint(first);
  TZavCanvas3D& canvas = ParentChart()->Canvas();
  const TColor color = SeriesColor();
  // The canvas is left as the point-by-point drawing leaves it.
  canvas.SetPenColor(clBlack);
  canvas.SetBrushColor(color);
  if (m_path.size() > 1) {
    PrepareLinePen(color);
    canvas.Polyline2D(m_path);
    canvas.MoveTo2D(m_path.back().x, m_path.back().y);
  }
  const TPoint end{PointXPixel(last), PointYPixel(last)};
  if (end == TPoint{PointXPixel(last - 1), PointYPixel(last - 1)}) canvas.SetPenColor(clBlack);
  m_prevX = end.x;
  m_prevY = end.y;
  m_basePos = BaselinePos(last);
  m_prevBasePos = m_basePos;
  m_prevColor = color;
}

// A line of point colours (a colour per point, colour entries, null points): each point
// draws the segment arriving at it in its colour unless it or the point before is null
// or both share a pixel, exactly as DrawPoint decides; the surface gets them all at once
// and may draw them faster than one call each, the same pixels (see
// Surface::LineSegments). Only surfaces that say so get them: on the others (vector
// files, the recording surface) the line is drawn point by point as always.
bool TCustomSeries::DrawColoredLine2D(int first, int last) {
  TZavCanvas3D& canvas = ParentChart()->Canvas();
  if (!canvas.FastLineSegments2D(m_linePen)) return false;
  const TColor lastColor = PointColor(last);
  const TPoint end{PointXPixel(last), PointYPixel(last)};
  if (!FitsPixelRange(end.x) || !FitsPixelRange(end.y)) return false;
  // Segment k from point k-1 in point k's colour, or none.
  if (!ColumnReducedColoredPath(*this, first, last, m_path, m_pathColors)) {
    // Every point mapped: one beyond the pixel range is drawn point by point.
    const auto count = static_cast<std::size_t>(last - first + 1);
    m_path.resize(count);
    m_pathColors.resize(count);
    for (std::size_t k = 0; k < count; ++k) {
      const int i = first + static_cast<int>(k);
      const TPoint point{PointXPixel(i), PointYPixel(i)};
      if (!FitsPixelRange(point.x) || !FitsPixelRange(point.y)) return false;
      m_path[k] = point;
      m_pathColors[k] = PointColor(i);
    }
    // Read backwards, so that m_pathColors[k-1] is still the point's colour.
    for (std::size_t k = count - 1; k >= 1; --k) {
      if (m_pathColors[k - 1] == clNone || m_path[k] == m_path[k - 1]) m_pathColors[k] = clNone;
    }
  }
  const bool lastDrawn = lastColor != clNone && PointColor(last - 1) != clNone &&
                         end != TPoint{PointXPixel(last - 1), PointYPixel(last - 1)};
  const bool anyDrawn = m_pathColors.size() > 1 && std::any_of(m_pathColors.begin() + 1, m_pathColors.end(),
                                                                [](TColor c) { return c != clNone; });
  // The first point as always: the segment entering the plot, the drawing memory.
  DrawPoint(first);
  if (anyDrawn) {
    PrepareLinePen(lastColor);
    canvas.LineSegments2D(m_path, m_pathColors);
  }
  // The canvas is left as the point-by-point drawing leaves it: the last point's pen
  // colour and brush colour, the line pen and clear brush of the segments drawn.
  canvas.SetPenColor(clBlack);
  canvas.SetBrushColor(lastColor);
  if (lastDrawn) canvas.SetPenColor(lastColor);
  m_prevX = end.x;
  m_prevY = end.y;
  m_basePos = BaselinePos(last);
  m_prevBasePos = m_basePos;
  m_prevColor = lastColor;
  return true;
}

// [SECTION] Plain 2D areas
//
// Each point draws the quad from the previous point down to the baseline, filled and
// outlined. Two points in one pixel column make a quad of no width: it fills nothing,
// and its outline lights the column from the lower to the higher of the two points and
// the baseline (nothing when both share a pixel). So the quads within a column together
// light, in the outline's colour, the column's span from its lowest to its highest point
// and the baseline, or nothing when all its points share one pixel: one vertical line
// lights the same; of it, only what the next column's quad does not outline again (its
// edge from this column's last point to the baseline) needs drawing. The quads between
// columns are drawn as before, in the same order, and each pixel ends in the colour of
// the same last shape either way. A column of a
// thousand points costs the quad arriving from the column before and a line; the last
// column ends with the quad arriving at its last point, so that the canvas is left as
// the point-by-point drawing leaves it.
//
// That holds for a surface that sets exactly the pixels of each shape (a raster image):
// vector files and the recording surface keep every quad, as they record shapes, not
// pixels.

bool TCustomSeries::DrawsReducibleArea2D() const {
  const TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr || chart->View3D() || !m_drawArea || m_stairs || m_pointer.Visible() || !FixedBaseline() ||
      GetHorizAxis() == nullptr || GetVertAxis() == nullptr) {
    return false;
  }
  if (ColorEntryCount() != 0 || ColorEachPoint() || SeriesColor() == clNone) return false;
  // Dashes restart with each outline and raster modes other than copy combine the
  // outlines that overlap: those pixels depend on every quad.
  return !m_areaLinesPen.Visible() || (m_areaLinesPen.Style() == psSolid && m_areaLinesPen.Width() == 1 &&
                                       m_areaLinesPen.Mode() == pmCopy && !m_areaLinesPen.SmallDots());
}

bool TCustomSeries::DrawAreaColumns(int first, int last) {
  // Worth it only when some column holds more than one point.
  if (std::abs(static_cast<long long>(PointXPixel(last)) - PointXPixel(first)) >= last - first) return false;
  TZavCanvas3D& canvas = ParentChart()->Canvas();
  // A raster image is what draws a solid one-pixel pen in copy mode fast.
  static const TChartPen solid;
  if (!canvas.FastLineSegments2D(solid)) return false;
  // The indexes hold each column's first and last point and its extremes.
  if (!ColumnReducedIndexes(*this, first, last, m_indexes)) return false;
  const TColor color = SeriesColor();
  const TColor outline = m_areaLinesPen.Color() == clDefault ? color : m_areaLinesPen.Color();
  const std::size_t count = m_indexes.size();
  for (std::size_t k = 0; k < count;) {
    const int start = m_indexes[k];
    const int x = PointXPixel(start);
    int lowY = PointYPixel(start), highY = lowY, endY = lowY;
    std::size_t next = k + 1;
    for (; next < count && PointXPixel(m_indexes[next]) == x; ++next) {
      endY = PointYPixel(m_indexes[next]);
      lowY = std::min(lowY, endY);
      highY = std::max(highY, endY);
    }
    const int end = m_indexes[next - 1];
    DrawPoint(start);
    if (end == start) {
      k = next;
      continue;
    }
    if (m_areaLinesPen.Visible() && lowY != highY) {
      canvas.ApplyChartPen(m_areaLinesPen);
      canvas.SetPenColor(outline);
      const int top = std::min(lowY, m_basePos), bottom = std::max(highY, m_basePos);
      if (next == count) {
        canvas.VerticalLine2D(x, top, bottom + 1);
      } else {
        // The next column's quad outlines this column again from its last point to the
        // baseline, after the line: only the rest of the line shows.
        const int coveredTop = std::min(endY, m_basePos), coveredBottom = std::max(endY, m_basePos);
        if (top < coveredTop) canvas.VerticalLine2D(x, top, coveredTop);
        if (coveredBottom < bottom) canvas.VerticalLine2D(x, coveredBottom + 1, bottom + 1);
      }
    }
    m_prevX = x;
    m_prevBasePos = m_basePos;
    m_prevColor = color;
    if (next == count) {
      m_prevY = PointYPixel(end - 1);
      DrawPoint(end);
    } else {
      m_prevY = endY;
    }
    k = next;
  }
  return true;
}

bool TCustomSeries::DrawsPlainLine2D() const {
  if (!DrawsOnePixelLine2D()) return false;
  return ColorEntryCount() == 0 && !ColorEachPoint() && SeriesColor() != clNone;
}

bool TCustomSeries::DrawsOnePixelLine2D() const {
  const TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr || chart->View3D() || !m_connectPoints || m_drawArea || m_stairs || m_pointer.Visible()) {
    return false;
  }
  // Dashes, wide pens and raster modes other than copy light pixels that depend on
  // how the line is cut into segments.
  if (!m_linePen.Visible() || m_linePen.Style() != psSolid || m_linePen.Width() != 1 || m_linePen.Mode() != pmCopy ||
      m_linePen.SmallDots()) {
    return false;
  }
  return GetHorizAxis() != nullptr && GetVertAxis() != nullptr;
}

bool TCustomSeries::PlainLinePath(std::vector<TPoint>& path) const {
  return ColumnReducedPath(*this, FirstDrawnIndex(), LastDrawnIndex(), path);
}

// [SECTION] Dense 3D lines
//
// A ribbon (and an area's front below it) is drawn in full over whatever lies under
// it: in copy mode, unsmoothed, a later ribbon between the same two pixels lights
// exactly the pixels of an earlier one in the same colours (its shading follows from
// the same slope), so the earlier one cannot show. Where many points share a pixel
// column, most of the ribbons within it run between pixel rows that the line passes
// again later.

bool TCustomSeries::ReadsStoredValues(int last) const {
  return XValues().Multiplier() == 1.0 && YValues().Multiplier() == 1.0 && last >= 0 &&
         static_cast<std::size_t>(last) < XValues().StoredValues().size() &&
         static_cast<std::size_t>(last) < YValues().StoredValues().size();
}

void TCustomSeries::MapStoredValues(int start, std::span<int> xPixels, std::span<int> yPixels) const {
  const auto from = static_cast<std::size_t>(start);
  GetHorizAxis()->ValuesToPixels(XValues().StoredValues().subspan(from, xPixels.size()), xPixels);
  GetVertAxis()->ValuesToPixels(YValues().StoredValues().subspan(from, yPixels.size()), yPixels);
}

bool TCustomSeries::CullsRepeatedRibbons() const {
  const TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr || !chart->View3D() || chart->Antialiased() || m_stairs || m_pointer.Visible()) return false;
  if (m_drawArea) {
    // An area's front below the ribbon: the same too where its baseline is fixed.
    if (!FixedBaseline() || (m_areaLinesPen.Visible() && m_areaLinesPen.Mode() != pmCopy)) return false;
  } else if (!m_connectPoints || m_lineBrush == bsClear || m_lineHeight != 0) {
    return false;
  }
  if (ColorEntryCount() != 0 || ColorEachPoint() || SeriesColor() == clNone) return false;
  if (m_linePen.Visible() && m_linePen.Mode() != pmCopy) return false;
  return GetHorizAxis() != nullptr && GetVertAxis() != nullptr;
}

bool TCustomSeries::DrawShownRibbons(int first, int last) {
  const auto count = static_cast<std::size_t>(last - first + 1);
  // Beyond this the point-by-point drawing itself leaves points out (PointPixelFilter).
  if (static_cast<std::int64_t>(count) > PointPixelFilter::kExactPoints) return false;
  // Worth it only when some column holds more than one point.
  if (std::abs(static_cast<long long>(PointXPixel(last)) - PointXPixel(first)) >= last - first) return false;

  const std::span<const double> xs = XValues().StoredValues();
  const std::span<const double> ys = YValues().StoredValues();
  const bool direct = ReadsStoredValues(last);
  m_pixels.resize(count);
  if (direct) {
    m_pixelXs.resize(count);
    m_pixelYs.resize(count);
    MapStoredValues(first, m_pixelXs, m_pixelYs);
  }
  for (int i = first; i <= last; ++i) {
    const auto k = static_cast<std::size_t>(i - first);
    TPoint p;
    if (direct && std::isfinite(xs[static_cast<std::size_t>(i)]) && std::isfinite(ys[static_cast<std::size_t>(i)])) {
      p = {m_pixelXs[k], m_pixelYs[k]};
    } else {
      p = {PointXPixel(i), PointYPixel(i)};
    }
    // A null point breaks the line and a point beyond the pixel range keeps the last
    // one's place: the point-by-point drawing takes those.
    if (!FitsPixelRange(p.x) || !FitsPixelRange(p.y) || IsNullPoint(i)) return false;
    m_pixels[k] = p;
  }

  // From the last ribbon back, column run by column run: a ribbon is shown unless a
  // later one in its run joins the same two pixel rows in the same order. Only ribbons
  // within one column recur; a key packs both rows, each within 16 bits by the range.
  constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;
  const auto pixel = [&](std::size_t k) { return m_pixels[k]; };
  const auto vertical = [&](std::size_t k) { return pixel(k - 1).x == pixel(k).x; };
  m_ribbonShown.assign(count, 1);
  for (std::size_t k = count - 1; k >= 1;) {
    if (!vertical(k)) {
      --k;
      continue;
    }
    std::size_t start = k;  // the run's ribbons are start+1 .. k, all in one column
    while (start >= 1 && vertical(start) && pixel(start).x == pixel(k).x) --start;
    int bits = 4;
    while ((std::size_t{1} << bits) < 2 * (k - start)) ++bits;
    const std::size_t size = std::size_t{1} << bits;
    m_ribbonKeys.assign(size, kEmpty);
    for (std::size_t r = k; r > start; --r) {
      const auto key = static_cast<std::uint32_t>(pixel(r - 1).y + 32768) << 16 |
                       static_cast<std::uint32_t>(pixel(r).y + 32768);
      // The product's high bits mix both rows; its low bits would see the second alone.
      std::size_t slot = (key * 0x9E3779B1u) >> (32 - bits);
      while (m_ribbonKeys[slot] != kEmpty && m_ribbonKeys[slot] != key) slot = (slot + 1) & (size - 1);
      if (m_ribbonKeys[slot] == key) {
        m_ribbonShown[r] = 0;
      } else {
        m_ribbonKeys[slot] = key;
      }
    }
    k = start;
  }

  // The first point enters the plot as always, and the last ends the drawing; each
  // shown ribbon in between is drawn from the point before it, as the point-by-point
  // drawing would reach it.
  DrawPoint(first);
  for (std::size_t k = 1; k + 1 < count; ++k) {
    if (m_ribbonShown[k] == 0 || pixel(k - 1) == pixel(k)) continue;
    m_prevX = pixel(k - 1).x;
    m_prevY = pixel(k - 1).y;
    m_prevColor = PointColor(first + static_cast<int>(k) - 1);
    DrawPoint(first + static_cast<int>(k));
  }
  m_prevX = pixel(count - 2).x;
  m_prevY = pixel(count - 2).y;
  m_prevColor = PointColor(last - 1);
  DrawPoint(last);
  return true;
}

// [SECTION] One segment

void TCustomSeries::DrawSegment(const PointDraw& point, bool withPointers) {
  TCustomAxisPanel& chart = *ParentChart();
  const bool samePixel = point.x == m_prevX && point.y == m_prevY;
  if (!samePixel && point.color != clNone) {
    const bool ribbon = chart.View3D() && (m_drawArea || (m_connectPoints && m_lineBrush != bsClear));
    if (ribbon) DrawRibbon(point);
    if (m_drawArea) {
      DrawAreaFill(point);
    } else if (!chart.View3D() && m_connectPoints) {
      DrawLine2D(point);
    }
  }

  if (m_pointer.Visible() && withPointers) {
    if (m_prevColor != clNone) DrawPointMarker(m_prevX, m_prevY, point.valueIndex - 1, m_prevColor);
    if (point.isLast && point.color != clNone) DrawPointMarker(point.x, point.y, point.valueIndex, point.color);
  }
}

void TCustomSeries::DrawRibbon(const PointDraw& point) {
  TZavCanvas3D& canvas = ParentChart()->Canvas();
  const int front = DepthFront();
  const int back = DepthBack();
  const TColor fill = AreaFillColor(point.color);
  canvas.SetBrushColor(fill);
  canvas.ApplyChartPen(m_linePen);
  canvas.SetBrushStyle(m_lineBrush);
  const auto darken = [&] { canvas.SetBrushColor(DarkenColor(fill, kDarkenAmount)); };

  if (m_stairs) {
    // The riser of a stair faces the viewer's side and is shaded like the side of a box.
    if (m_invertedStairs) {
      if (m_dark3D) darken();
      canvas.SideRectangle(m_prevX, m_prevY, point.y, front, back);
      if (m_dark3D) canvas.SetBrushColor(fill);
      canvas.FloorRectangle(point.x, point.y, m_prevX, front, back);
    } else {
      canvas.FloorRectangle(m_prevX, m_prevY, point.x, front, back);
      if (m_dark3D) darken();
      canvas.SideRectangle(point.x, point.y, m_prevY, front, back);
      if (m_dark3D) canvas.SetBrushColor(fill);
    }
    return;
  }

  const bool tall = m_lineHeight > 0 && !m_drawArea;
  if (tall) {
    const std::array<TPoint, 4> face = {TPoint{point.x, point.y}, TPoint{m_prevX, m_prevY},
                                        TPoint{m_prevX, m_prevY + m_lineHeight},
                                        TPoint{point.x, point.y + m_lineHeight}};
    canvas.QuadBetweenDepths(face, front, front);
    if (point.isLast) canvas.SideRectangle(point.x, point.y, point.y + m_lineHeight, front, back);
  }
  // A segment that climbs more steeply than the depth direction shows the ribbon's
  // underside, which is shaded darker.
  const bool dark = m_dark3D && !canvas.RotatesFreely();
  int y = point.y;
  int prevY = m_prevY;
  if (dark && point.x != m_prevX && m_darkSlope != 0 &&
      static_cast<double>(m_prevY - point.y) / (point.x - m_prevX) > m_darkSlope) {
    darken();
    if (tall) {
      y += m_lineHeight;
      prevY += m_lineHeight;
    }
  }
  canvas.RibbonBetweenDepths({point.x, y}, {m_prevX, prevY}, front, back);
  if (dark) canvas.SetBrushColor(fill);
}

void TCustomSeries::DrawAreaFill(const PointDraw& point) {
  TCustomAxisPanel& chart = *ParentChart();
  TZavCanvas3D& canvas = chart.Canvas();
  const int front = DepthFront();
  const int back = DepthBack();
  const TColor fill = AreaFillColor(point.color);
  canvas.SetBrushColor(fill);
  canvas.ApplyChartPen(m_areaLinesPen);
  if (m_areaLinesPen.Color() == clDefault || !m_areaLinesPen.Visible()) canvas.SetPenColor(point.color);

  chart.ApplyFillBrush(fill, m_areaBrush, SeriesColor());
  if (chart.View3D() && point.isLast) canvas.SideRectangle(point.x, point.y, m_basePos, front, back);
  if (m_stairs) {
    const int top = m_invertedStairs ? point.y : m_prevY;
    const TRect rect{m_prevX, m_basePos, point.x + 1, top};
    canvas.RectangleAtDepth(rect, front);
    if (canvas.RotatesFreely()) canvas.RectangleAtDepth(rect, back);
  } else {
    canvas.QuadAtDepth({TPoint{m_prevX, m_prevBasePos}, TPoint{m_prevX, m_prevY}, TPoint{point.x, point.y},
                        TPoint{point.x, m_basePos}},
                       front);
    if (canvas.RotatesFreely()) {
      canvas.QuadAtDepth({TPoint{m_prevX, m_prevBasePos}, TPoint{point.x, m_basePos}, TPoint{point.x, point.y},
                          TPoint{m_prevX, m_prevY}},
                         back);
    }
  }
}

void TCustomSeries::PrepareLinePen(TColor color) {
  TZavCanvas3D& canvas = ParentChart()->Canvas();
  canvas.ApplyChartPen(m_linePen);
  canvas.SetPenColor(color);
  canvas.SetBrushStyle(bsClear);
}

void TCustomSeries::DrawLine2D(const PointDraw& point) {
  TZavCanvas3D& canvas = ParentChart()->Canvas();
  PrepareLinePen(point.color);
  if (m_stairs && m_invertedStairs) {
    canvas.VerticalLine2D(m_prevX, m_prevY, point.y);
    canvas.LineTo2D(point.x, point.y);
  } else if (m_stairs) {
    canvas.HorizontalLine2D(m_prevX, point.x, m_prevY);
    canvas.LineTo2D(point.x, point.y);
  } else {
    canvas.Line2D(m_prevX, m_prevY, point.x, point.y);
  }
}

// [SECTION] Margins

void TCustomSeries::HorizMargins(int& left, int& right) const {
  left = right = 0;
  m_pointer.HorizMargins(left, right);
  // A stair ends with a step as wide as the pen at either end.
  if (m_stairs && m_connectPoints) {
    left = std::max(left, m_linePen.Width());
    right = std::max(right, m_linePen.Width());
  }
}

void TCustomSeries::VertMargins(int& top, int& bottom) const {
  top = bottom = 0;
  m_pointer.VertMargins(top, bottom);
  if (m_stairs && m_connectPoints) {
    top = std::max(top, m_linePen.Width());
    bottom = std::max(bottom, m_linePen.Width() + 1);
  }
  // The front face of a tall line hangs below the points.
  if (m_lineHeight > 0 && !m_drawArea && bottom < m_lineHeight) bottom = m_lineHeight;
}

// [SECTION] Legend symbol

void TCustomSeries::PrepareLegendSymbol(int, TColor&, TBrushStyle& brushStyle) {
  if (ParentChart() != nullptr) ParentChart()->Canvas().ApplyChartPen(m_linePen);
  brushStyle = m_lineBrush;
}

void TCustomSeries::DrawLegendLine(TColor color, const TRect& rect, bool filled) {
  TCustomAxisPanel& chart = *ParentChart();
  TZavCanvas3D& canvas = chart.Canvas();
  canvas.ApplyChartPen(m_linePen);
  if (chart.View3D()) {
    canvas.SetBrushStyle(m_lineBrush);
    canvas.SetBrushColor(color);
  } else {
    canvas.SetPenColor(color);
    canvas.SetBrushStyle(bsClear);
  }
  if (filled) {
    canvas.DrawRectangleRect(rect);
  } else {
    canvas.HorizontalLine2D(rect.left, rect.right, (rect.top + rect.bottom) / 2);
  }
}

void TCustomSeries::DrawLegendSymbol(int valueIndex, const TRect& rect) {
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr) return;
  const TColor color = valueIndex == -1 ? SeriesColor() : PointColor(valueIndex);
  if (m_pointer.Visible()) {
    if (m_connectPoints) DrawLegendLine(color, rect, false);
    m_pointer.DrawLegendSymbol(color, rect, m_linePen.Visible());
  } else if (m_connectPoints && !m_drawArea) {
    DrawLegendLine(color, rect, chart->View3D());
  } else {
    TChartSeries::DrawLegendSymbol(valueIndex, rect);
  }
}

}  // namespace tarvela
