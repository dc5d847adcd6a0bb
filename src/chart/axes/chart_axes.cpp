// The chart's side of its axes: the axis list, the automatic limits an axis takes
// from the series (SeriesExtreme, with paging), which axes are shown, the page
// settings, and the visible span of a series along its axis.

#include <algorithm>
#include <cstdint>

#include "tarvela/chart/axes/axis_panel.h"
#include "tarvela/chart/messages.h"
#include "tarvela/runtime/exceptions.h"

namespace tarvela {

namespace {

// Whether series' own axis setting names axis (without asking UsesAxes).
bool AxisSettingNames(const TChartSeries& series, const TCustomChartAxis& axis, bool horizontal) {
  if (horizontal) return series.HorizAxis() == aBothHorizAxis || series.GetHorizAxis() == &axis;
  return series.VertAxis() == aBothVertAxis || series.GetVertAxis() == &axis;
}

double ValueOf(const TChartSeries& series, std::int64_t index, bool horizontal) {
  const int i = static_cast<int>(index);
  return horizontal ? series.XValueAt(i) : series.YValueAt(i);
}

}  // namespace

// [SECTION] The axis list

void TCustomAxisPanel::CreateStandardAxes() {
  auto add = [this](const TAxisPlacement& placement) {
    return static_cast<TChartAxis*>(&AddAxis(std::make_unique<TChartAxis>(this, placement)));
  };
  m_bottomAxis = add({.horizontal = true, .otherSide = false, .depth = false, .defaultTitleAngle = 0});
  m_topAxis = add({.horizontal = true, .otherSide = true, .depth = false, .defaultTitleAngle = 0});
  m_leftAxis = add({.horizontal = false, .otherSide = false, .depth = false, .defaultTitleAngle = 90});
  m_rightAxis = add({.horizontal = false, .otherSide = true, .depth = false, .defaultTitleAngle = 270});
  m_depthAxis = static_cast<TChartDepthAxis*>(&AddAxis(std::make_unique<TChartDepthAxis>(this)));
}

TCustomChartAxis& TCustomAxisPanel::Axes(int index) const {
  if (index < 0 || index >= AxisCount()) ThrowListIndexError(index);
  return *m_axes[static_cast<std::size_t>(index)];
}

TCustomChartAxis& TCustomAxisPanel::AddAxis(std::unique_ptr<TCustomChartAxis> axis) {
  m_axes.push_back(std::move(axis));
  return *m_axes.back();
}

// [SECTION] Automatic limits

double TCustomAxisPanel::SeriesExtreme(const TCustomChartAxis& axis, bool wantMinimum, bool horizontal) const {
  if (axis.IsDepth()) {
    // Labels per series: each depth slot one unit wide.
    if (axis.ResolveLabelStyle() != talValue) return wantMinimum ? -0.5 : MaxDepthSlot() + 0.5;
    for (const TChartSeries* series : m_seriesList)
      if (series->Active()) return wantMinimum ? series->LowestZ() : series->HighestZ();
    return 0;
  }

  const TChartSeries* first = FirstSeriesOfAxis(&axis);
  // The axis along which the first series' points follow each other (X for Y-valued
  // series): the one a page of points is cut along.
  const bool independent = ((first == nullptr || first->YIsMandatory()) && horizontal) ||
                           (first != nullptr && !first->YIsMandatory() && !horizontal);
  if (m_maxPointsPerPage > 0 && independent) {
    if (first == nullptr || first->PointCount() == 0) return 0;
    const std::int64_t count = first->PointCount();
    const std::int64_t perPage = m_maxPointsPerPage;
    std::int64_t firstIndex = std::max<std::int64_t>(0, perPage * (m_page - 1));
    if (firstIndex >= count) firstIndex = std::max<std::int64_t>(0, count / perPage - 1) * perPage;
    std::int64_t lastIndex = firstIndex + perPage - 1;
    if (lastIndex >= count) lastIndex = firstIndex + count % perPage - 1;
    if (wantMinimum) return ValueOf(*first, firstIndex, horizontal);
    const double last = ValueOf(*first, lastIndex, horizontal);
    const std::int64_t shown = lastIndex - firstIndex + 1;
    if (m_scaleLastPage || shown >= perPage) return last;
    // A short last page keeps the scale of a full one.
    const double firstValue = ValueOf(*first, firstIndex, horizontal);
    return static_cast<double>(firstValue + (static_cast<long double>(last) - firstValue) * perPage / shown);
  }

  const bool anyActiveOnAxis = std::any_of(m_seriesList.begin(), m_seriesList.end(), [&](const TChartSeries* s) {
    return s->Active() && s->DrawnOnAxis(&axis);
  });
  bool found = false;
  double extreme = 0;
  for (const TChartSeries* series : m_seriesList) {
    if (!series->Active() && anyActiveOnAxis) continue;
    if (series->PointCount() == 0 || !AxisSettingNames(*series, axis, horizontal)) continue;
    const double value = horizontal ? (wantMinimum ? series->LowestX() : series->HighestX())
                                    : (wantMinimum ? series->LowestY() : series->HighestY());
    if (!found || (wantMinimum ? value < extreme : value > extreme)) extreme = value;
    found = true;
  }
  return extreme;
}

// [SECTION] Axis visibility

void TCustomAxisPanel::ApplyCircledMode(bool restore) {
  SetAxisVisible(restore);
  SetClipPoints(restore);
  SetView3DWalls(restore);
  SetAllowZoom(restore);
  SetAllowPanning(restore ? pmBoth : pmNone);
  // A pie seen from a free angle would show its rim from below or its back; a fixed
  // projection is the one that always reads as a pie.
  if (!Canvas().RotatesFreely()) {
    TView3DOptions& view = View3DOptions();
    view.SetOrthogonal(false);
    view.SetRotation(360);
    view.SetElevation(315);
    view.SetPerspective(0);
    view.SetTilt(0);
  }
}

bool TCustomAxisPanel::AxisShown(const TCustomChartAxis& axis) const {
  if (!m_axisVisible || !axis.Visible()) return false;
  if (axis.IsDepth()) return View3D();
  // With series only the axes that carry one; without, the standard frame of axes.
  bool anyUsesAxes = false;
  for (const TChartSeries* series : m_seriesList) {
    if (!series->Active() || !series->UsesAxes()) continue;
    if (series->DrawnOnAxis(&axis)) return true;
    anyUsesAxes = true;
  }
  return !anyUsesAxes;
}

// [SECTION] Paging

int TCustomAxisPanel::PageCount() const {
  if (m_maxPointsPerPage < 1 || SeriesTotal() == 0) return 1;
  auto pagesOf = [this](const TCustomChartAxis& axis) {
    int most = 0;
    for (const TChartSeries* series : m_seriesList)
      if (series->Active() && series->DrawnOnAxis(&axis)) most = std::max(most, series->PointCount());
    if (most <= 0) return 1;
    return most / m_maxPointsPerPage + (most % m_maxPointsPerPage > 0 ? 1 : 0);
  };
  if (SeriesAt(0)->YIsMandatory()) return std::max(pagesOf(*m_topAxis), pagesOf(*m_bottomAxis));
  return std::max(pagesOf(*m_leftAxis), pagesOf(*m_rightAxis));
}

void TCustomAxisPanel::SetPage(int page) {
  page = std::min(page, PageCount());
  if (page <= 0) page = 1;
  if (page == m_page) return;
  m_page = page;
  Invalidate();
  if (OnPageChange) OnPageChange(this);
}

void TCustomAxisPanel::SetMaxPointsPerPage(int points) {
  if (points < 0) throw ChartException(messages::kMaxPointsPerPage);
  Change(m_maxPointsPerPage, points);
  if (PageCount() < m_page) SetPage(PageCount());
}

// [SECTION] Visible span of a series

std::optional<TValueSpan> TCustomAxisPanel::SeriesVisibleSpan(const TChartSeries& series, bool horizontal) const {
  const TCustomChartAxis* axis = horizontal ? series.GetHorizAxis() : series.GetVertAxis();
  if (axis == nullptr || axis->AxisLength() < 1) return std::nullopt;
  // The low edge is where the smallest values lie: left (right when inverted) on a
  // horizontal axis, bottom (top when inverted) on a vertical one.
  const TRect& plot = PlotRect();
  int low = 0;
  int high = 0;
  if (horizontal) {
    low = axis->Inverted() ? plot.right : plot.left;
    high = axis->Inverted() ? plot.left : plot.right;
  } else {
    low = axis->Inverted() ? plot.top : plot.bottom;
    high = axis->Inverted() ? plot.bottom : plot.top;
  }
  return TValueSpan{axis->PixelToValue(low), axis->PixelToValue(high)};
}

}  // namespace tarvela
