#include "tarvela/chart/series/point_series.h"

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cmath>
#include <cstddef>
#include <span>

#include "tarvela/chart/axes/axis.h"
#include "tarvela/chart/axes/axis_panel.h"

namespace tarvela {

namespace {

// Pixels outside this range would overflow the 16-bit coordinates of the raster calls;
// the point-by-point drawing skips such a point in a way of its own.
constexpr int kPixelLimit = 32766;

bool FitsPixelRange(int value) { return value >= -kPixelLimit && value <= kPixelLimit; }

// A pixel's key for the pointers off the plot: both coordinates fit 16 bits.
std::uint64_t PixelKey(TPoint p) {
  return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(p.x + kPixelLimit + 1)) << 32) |
         static_cast<std::uint32_t>(p.y + kPixelLimit + 1);
}

// Below this share of the cells, clearing a bit per cell would cost more than a map of
// the few points.
constexpr std::size_t kPointsPerCellsForBits = 128;

// Points mapped at a time: the pixels of a block stay in the first level cache.
constexpr int kBlock = 512;

// Values in a cache line of the usual 64 bytes.
constexpr int kValuesPerLine = 8;

// Whether no value is an infinity or not a number: none has an exponent of all ones,
// which the carry into the top bit finds, whole words at a time.
bool AllFinite(std::span<const double> values) {
  constexpr std::uint64_t kExponent = 0x7FF0000000000000;
  constexpr std::uint64_t kCarry = 0x0010000000000000;
  std::uint64_t any = 0;
  for (const double value : values) any |= (std::bit_cast<std::uint64_t>(value) & kExponent) + kCarry;
  return (any >> 63) == 0;
}

void Prefetch(const double* value) {
#if defined(__GNUC__) || defined(__clang__)
  __builtin_prefetch(value);
#else
  static_cast<void>(value);
#endif
}

}  // namespace

TPointSeries::TPointSeries(TComponent* owner) : TCustomSeries(owner) {
  SetConnectPoints(false);
  SetSegmentsClickable(false);
  Marks().SetArrowLength(0);
  Pointer().SetVisible(true);
}

void TPointSeries::SetColorEachPoint(bool colorEachPoint) {
  TCustomSeries::SetColorEachPoint(colorEachPoint);
  // A pointer brush of a colour of its own would paint every point alike.
  if (colorEachPoint) Pointer().Brush().SetColor(clDefault);
}

void TPointSeries::Assign(const TChartSeries& source) {
  if (&source == this) return;
  TCustomSeries::Assign(source);
  Pointer().SetVisible(true);
  SetDrawArea(false);
  SetConnectPoints(false);
  SetSegmentsClickable(false);
}

// [SECTION] Drawing
//
// Each pointer is drawn in full over whatever lies under it, in pmCopy: a pointer of the
// same shape at the same pixel later lights exactly the pixels an earlier one lit (in
// its own colour: which pixels a shape lights does not depend on its colour), so the
// earlier one cannot show. Shapes differ only by OnGetPointerStyle, which is then left
// to the point-by-point drawing.

bool TPointSeries::CullsCoveredPointers() const {
  const TCustomAxisPanel* chart = ParentChart();
  // Smoothed, a pointer drawn again blends its edge over the one before.
  if (chart == nullptr || chart->View3D() || chart->Antialiased() || !Pointer().Visible() || ConnectPoints() ||
      DrawArea() || OnGetPointerStyle) {
    return false;
  }
  return Pointer().Pen().Mode() == pmCopy && GetHorizAxis() != nullptr && GetVertAxis() != nullptr;
}

bool TPointSeries::FindShownPointers(int first, int last) {
  const TCustomAxisPanel& chart = *ParentChart();
  const auto count = static_cast<std::size_t>(last - first + 1);
  // The cells where a pointer can show: the plot when the series is clipped to it,
  // else the chart, each widened by more than a pointer reaches out of its point.
  const bool clipped = chart.ClipPoints() && chart.ClippingAllowed();
  const TRect area = clipped ? chart.PlotRect() : chart.ClientRect();
  const int reach = std::max(Pointer().HorizSize(), Pointer().VertSize()) + Pointer().Pen().Width() + 2;
  const std::int64_t left = std::int64_t{area.left} - reach;
  const std::int64_t top = std::int64_t{area.top} - reach;
  const std::int64_t columns = std::max<std::int64_t>(0, std::int64_t{area.right} + reach - left);
  const std::int64_t rows = std::max<std::int64_t>(0, std::int64_t{area.bottom} + reach - top);
  const auto cells = static_cast<std::size_t>(columns * rows);
  const bool useCells = count * kPointsPerCellsForBits >= cells;
  if (useCells) m_taken.assign((cells + 63) / 64, 0);
  m_takenOutside.clear();
  // Whether a later pointer lies on the pixel; with take, one does from now on.
  const auto covered = [&](TPoint p, bool take) {
    const std::int64_t column = p.x - left;
    const std::int64_t row = p.y - top;
    const bool inArea = column >= 0 && row >= 0 && column < columns && row < rows;
    // Off the plot of a clipped series nothing shows.
    if (!inArea && clipped) return true;
    if (!inArea || !useCells) {
      return take ? !m_takenOutside.insert(PixelKey(p)).second : m_takenOutside.contains(PixelKey(p));
    }
    const auto cell = static_cast<std::size_t>(row * columns + column);
    std::uint64_t& word = m_taken[cell >> 6];
    const std::uint64_t bit = std::uint64_t{1} << (cell & 63);
    const bool taken = (word & bit) != 0;
    if (take) word |= bit;
    return taken;
  };

  // The stored values straight from their lists where reading them changes nothing
  // (no multiplier, finite): the same pixels as PointXPixel and PointYPixel, a block
  // at a time without their look-ups.
  const std::span<const double> xs = XValues().StoredValues();
  const std::span<const double> ys = YValues().StoredValues();
  const bool direct = ReadsStoredValues(last);
  std::array<int, kBlock> blockX{}, blockY{};
  // The cells lie within the pixel range: a pixel in them fits it.
  const auto fits = [](std::int64_t pixel) {
    return FitsPixelRange(static_cast<int>(std::clamp<std::int64_t>(pixel, INT_MIN, INT_MAX)));
  };
  const bool quickCells = useCells && fits(left) && fits(top) && fits(left + columns - 1) && fits(top + rows - 1);

  // From the last point back: a point is shown unless a later pointer lies on its pixel.
  m_shown.clear();
  m_shownPixels.clear();
  for (int end = last; end >= first; end -= kBlock) {
    const int start = std::max(first, end - kBlock + 1);
    const auto size = static_cast<std::size_t>(end - start + 1);
    if (direct) {
      // The blocks go down through memory, which the processor does not read ahead
      // across pages: the next block is asked for while this one is mapped.
      const int next = std::max(first, start - kBlock);
      for (int i = next; i < start; i += kValuesPerLine) {
        Prefetch(&xs[static_cast<std::size_t>(i)]);
        Prefetch(&ys[static_cast<std::size_t>(i)]);
      }
      MapStoredValues(start, std::span(blockX).first(size), std::span(blockY).first(size));
    }
    const bool finite = direct && AllFinite(xs.subspan(static_cast<std::size_t>(start), size)) &&
                        AllFinite(ys.subspan(static_cast<std::size_t>(start), size));
    for (int i = end; i >= start; --i) {
      const auto k = static_cast<std::size_t>(i - start);
      TPoint p;
      if (finite || (direct && std::isfinite(xs[static_cast<std::size_t>(i)]) &&
                     std::isfinite(ys[static_cast<std::size_t>(i)]))) {
        p = TPoint{blockX[k], blockY[k]};
        // The common case first: a pixel in the cells, where it fits the pixel range
        // too, under a later pointer.
        if (quickCells && i != last) {
          const auto column = static_cast<std::uint64_t>(std::int64_t{p.x} - left);
          const auto row = static_cast<std::uint64_t>(std::int64_t{p.y} - top);
          if (column < static_cast<std::uint64_t>(columns) && row < static_cast<std::uint64_t>(rows)) {
            const auto cell = static_cast<std::size_t>(row * static_cast<std::uint64_t>(columns) + column);
            if ((m_taken[cell >> 6] & (std::uint64_t{1} << (cell & 63))) != 0) continue;
          }
        }
      } else {
        p = TPoint{PointXPixel(i), PointYPixel(i)};
      }
      if (!FitsPixelRange(p.x) || !FitsPixelRange(p.y)) return false;
      if (i == last) {
        // The last point is drawn whatever it is: the drawing ends on it. A null point
        // draws no pointer, and so covers none.
        m_shown.push_back(i);
        m_shownPixels.push_back(p);
        if (!IsNullPoint(i)) covered(p, true);
        continue;
      }
      // A covered point is left out whether null or not: the colour is read only for
      // the few that show.
      if (covered(p, false) || IsNullPoint(i)) continue;
      covered(p, true);
      m_shown.push_back(i);
      m_shownPixels.push_back(p);
    }
  }
  std::reverse(m_shown.begin(), m_shown.end());
  std::reverse(m_shownPixels.begin(), m_shownPixels.end());
  return true;
}

// Each point draws the pointer of the point drawn before it (line_series_draw.cpp), the
// last one its own as well: the shown points drawn in order draw their pointers alone.
void TPointSeries::DrawAllPoints() {
  const int first = FirstDrawnIndex();
  const int last = LastDrawnIndex();
  if (first < 0 || !CullsCoveredPointers() || !FindShownPointers(first, last)) {
    TCustomSeries::DrawAllPoints();
    return;
  }
  if (m_shown.size() >= 3 && DrawShownRectangles()) return;
  for (const int i : m_shown) DrawPoint(i);
}

// Between the first and the last shown point, each DrawPoint sets the pointer's pen and
// brush in the colour of the point before and draws its rectangle: with one colour for
// all of them, that is one state and the rectangles in order, which a raster surface
// may draw at once. The first and the last go through DrawPoint as always (the drawing
// begins and ends there), so the canvas and the drawing memory end as point by point.
bool TPointSeries::DrawShownRectangles() {
  if (Pointer().Style() != psRectangle) return false;
  const std::size_t count = m_shown.size();
  // Only the last shown point can be null, and DrawPoint draws that one.
  const TColor color = PointColor(m_shown[0]);
  for (std::size_t k = 1; k + 1 < count; ++k) {
    if (PointColor(m_shown[k]) != color) return false;
  }
  TZavCanvas3D& canvas = ParentChart()->Canvas();
  DrawPoint(m_shown[0]);
  // What DrawPoint sets before the pointer of the point before it.
  canvas.SetPenColor(clBlack);
  canvas.SetBrushColor(color);
  Pointer().ApplyPenAndBrush(color);
  if (!canvas.FastRectangles2D()) {
    for (std::size_t k = 1; k < count; ++k) DrawPoint(m_shown[k]);
    return true;
  }
  // The pointers DrawPoint(m_shown[k]) draws, for k from 1 to count - 2: of the points
  // before them, as DrawShape lays out a psRectangle.
  const int horizSize = Pointer().HorizSize();
  const int vertSize = Pointer().VertSize();
  m_rects.resize(count - 2);
  for (std::size_t k = 0; k + 2 < count; ++k) {
    const TPoint p = m_shownPixels[k];
    m_rects[k] = TRect{p.x - horizSize, p.y - vertSize, p.x + horizSize + 1, p.y + vertSize + 1};
  }
  canvas.Rectangles2D(m_rects);
  // The drawing memory as DrawPoint(m_shown[count - 2]) leaves it.
  RememberDrawnPoint(m_shown[count - 2], m_shownPixels[count - 2], color);
  DrawPoint(m_shown[count - 1]);
  return true;
}

const PropertyTable& TPointSeries::PublishedProperties() {
  using P = TPointSeries;
  static const PropertyTable table(
      &TCustomSeries::PublishedProperties(),
      {
          ObjectProperty<P, TSeriesPointer>("Pointer", static_cast<TSeriesPointer& (P::*)()>(&P::Pointer)),
          ObjectProperty<P, TChartValueList>("XValues", static_cast<TChartValueList& (P::*)()>(&P::XValues)),
          ObjectProperty<P, TChartValueList>("YValues", static_cast<TChartValueList& (P::*)()>(&P::YValues)),
          EventProperty<P, TSeriesClickPointerEvent>("OnClickPointer", &P::OnClickPointer),
      });
  return table;
}

}  // namespace tarvela
