#include "tarvela/chart/series/point_series.h"

#include <algorithm>
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

// Below this share of the cells, a scan of the cells would cost more than a map of the
// few points.
constexpr std::size_t kPointsPerCellsForArray = 16;

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
  const bool useCells = count * kPointsPerCellsForArray >= cells;
  if (useCells) m_taken.assign(cells, 0);
  m_takenOutside.clear();

  // The stored values straight from their lists where reading them changes nothing
  // (no multiplier, finite): the same pixels as PointXPixel and PointYPixel, without
  // their look-ups.
  const TChartAxis& horizAxis = *GetHorizAxis();
  const TChartAxis& vertAxis = *GetVertAxis();
  const std::span<const double> xs = XValues().StoredValues();
  const std::span<const double> ys = YValues().StoredValues();
  const bool direct = XValues().Multiplier() == 1.0 && YValues().Multiplier() == 1.0 &&
                      static_cast<std::size_t>(last) < xs.size() && static_cast<std::size_t>(last) < ys.size();
  const auto pixelOf = [&](int i) {
    if (direct) {
      const double x = xs[static_cast<std::size_t>(i)];
      const double y = ys[static_cast<std::size_t>(i)];
      if (std::isfinite(x) && std::isfinite(y)) return TPoint{horizAxis.ValueToPixel(x), vertAxis.ValueToPixel(y)};
    }
    return TPoint{PointXPixel(i), PointYPixel(i)};
  };

  // From the last point back: a point is shown unless a later pointer lies on its pixel.
  m_shown.clear();
  for (int i = last; i >= first; --i) {
    const TPoint p = pixelOf(i);
    if (!FitsPixelRange(p.x) || !FitsPixelRange(p.y)) return false;
    const bool null = IsNullPoint(i);
    // The last point is drawn whatever it is: the drawing ends on it. A null point
    // draws no pointer, and so covers none.
    if (i == last) m_shown.push_back(i);
    if (null) continue;
    const std::int64_t column = p.x - left;
    const std::int64_t row = p.y - top;
    bool covered;
    if (column >= 0 && row >= 0 && column < columns && row < rows) {
      if (useCells) {
        std::uint8_t& taken = m_taken[static_cast<std::size_t>(row * columns + column)];
        covered = taken != 0;
        taken = 1;
      } else {
        covered = !m_takenOutside.insert(PixelKey(p)).second;
      }
    } else {
      // Off the plot of a clipped series nothing shows.
      covered = clipped || !m_takenOutside.insert(PixelKey(p)).second;
    }
    if (!covered && i != last) m_shown.push_back(i);
  }
  std::reverse(m_shown.begin(), m_shown.end());
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
