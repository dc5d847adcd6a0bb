#include "tarvela/chart/series/point_series.h"

#include <algorithm>
#include <array>
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
  if (chart == nullptr || chart->View3D() || !Pointer().Visible() || ConnectPoints() || DrawArea() ||
      OnGetPointerStyle) {
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
  const TChartAxis& horizAxis = *GetHorizAxis();
  const TChartAxis& vertAxis = *GetVertAxis();
  const std::span<const double> xs = XValues().StoredValues();
  const std::span<const double> ys = YValues().StoredValues();
  const bool direct = XValues().Multiplier() == 1.0 && YValues().Multiplier() == 1.0 &&
                      static_cast<std::size_t>(last) < xs.size() && static_cast<std::size_t>(last) < ys.size();
  std::array<int, kBlock> blockX{}, blockY{};

  // From the last point back: a point is shown unless a later pointer lies on its pixel.
  m_shown.clear();
  m_shownPixels.clear();
  for (int end = last; end >= first; end -= kBlock) {
    const int start = std::max(first, end - kBlock + 1);
    const auto size = static_cast<std::size_t>(end - start + 1);
    if (direct) {
      horizAxis.ValuesToPixels(xs.subspan(static_cast<std::size_t>(start), size), blockX);
      vertAxis.ValuesToPixels(ys.subspan(static_cast<std::size_t>(start), size), blockY);
    }
    for (int i = end; i >= start; --i) {
      const auto k = static_cast<std::size_t>(i - start);
      TPoint p;
      if (direct && std::isfinite(xs[static_cast<std::size_t>(i)]) && std::isfinite(ys[static_cast<std::size_t>(i)])) {
        p = TPoint{blockX[k], blockY[k]};
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
  for (const int i : m_shown) DrawPoint(i);
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
