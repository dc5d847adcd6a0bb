// The series' side of a paint of the chart with axes:
//
//   [SECTION] Depth slots      which slab of the 3D box each active series takes
//   [SECTION] Drawing series   one series, or all series of a shared slab point by
//                              point, clipped to the box, with their marks and events
//
// In 3D every active series gets a slot counted from the front; with automatic depth
// orders the first series of the list lies at the back and the last at the front
// (slot 0); a series may take the slot of an earlier one instead (DepthSlotLeader:
// stacked areas). Series that end up with the same z order share a slab: they are drawn
// together, point index by point index, by the first of them in the list, so that
// their shapes interleave in depth as they would in space.

#include <algorithm>

#include "tarvela/chart/axes/axis_panel.h"

namespace tarvela {

namespace {

// The series clip of one drawing step, started at most once and undone when the
// step ends, however it ends.
class SeriesClip {
 public:
  explicit SeriesClip(TCustomAxisPanel& chart) : m_chart(chart) {}
  SeriesClip(const SeriesClip&) = delete;
  SeriesClip& operator=(const SeriesClip&) = delete;
  ~SeriesClip() { End(); }

  void Start() {
    if (m_on) return;
    m_chart.Canvas().ClipToBox(m_chart.PlotRect(), 0, m_chart.BoxDepthX());
    m_on = true;
  }
  void End() {
    if (!m_on) return;
    m_on = false;
    m_chart.Canvas().RemoveClipping();
  }

 private:
  TCustomAxisPanel& m_chart;
  bool m_on = false;
};

}  // namespace

// [SECTION] Depth slots

void TCustomAxisPanel::AssignDepthSlots() {
  const bool stacked = m_stackInDepth && View3D();
  m_maxDepthSlot = 0;
  if (stacked) {
    // Counted from the back first: a series without a fixed order takes the next slot,
    // a fixed order only raises the highest one. Without any active series the highest
    // slot stays -1 (the box is then one slot deep).
    m_maxDepthSlot = -1;
    for (TChartSeries* series : m_seriesList) {
      if (!series->Active()) continue;
      const TChartSeries* leader = series->DepthOrder() == -1 ? series->DepthSlotLeader() : nullptr;
      if (leader != nullptr && leader != series) {
        series->m_depthSlot = leader->DepthOrder() != -1 ? leader->DepthOrder() : leader->m_depthSlot;
      } else if (series->DepthOrder() == -1) {
        series->m_depthSlot = ++m_maxDepthSlot;
      } else {
        m_maxDepthSlot = std::max(m_maxDepthSlot, series->DepthOrder());
      }
    }
  }
  // Then turned around, so that slots count from the front.
  for (TChartSeries* series : m_seriesList) {
    if (!series->Active()) continue;
    const int fromBack = series->DepthOrder() != -1 ? series->DepthOrder() : series->m_depthSlot;
    series->m_depthSlot = stacked ? m_maxDepthSlot - fromBack : 0;
  }
  m_depthSlabsArrangement = 0;
}

// Counted in one pass for all series: asked of every series, a count of its own would
// compare every pair of them.
const TCustomAxisPanel::TDepthSlab* TCustomAxisPanel::DepthSlabOf(int z) const {
  if (m_depthSlabsArrangement != m_seriesArrangement) {
    m_depthSlabs.clear();
    for (const TChartSeries* series : m_seriesList) {
      if (!series->Active()) continue;
      TDepthSlab& slab = m_depthSlabs[series->ZOrder()];
      if (slab.first == nullptr) slab.first = series;
      if (!series->HasZValues()) ++slab.withoutZ;
    }
    m_depthSlabsArrangement = m_seriesArrangement;
  }
  auto it = m_depthSlabs.find(z);
  return it == m_depthSlabs.end() ? nullptr : &it->second;
}

bool TCustomAxisPanel::SharesDepthSlot(const TChartSeries& series) const {
  if (!m_stackInDepth) return false;
  const TDepthSlab* slab = DepthSlabOf(series.ZOrder());
  if (slab == nullptr) return false;
  // The series itself is no other series; it was counted when it is in the list.
  const bool counted = series.ParentChart() == this && series.Active() && !series.HasZValues();
  return slab->withoutZ - (counted ? 1 : 0) > 0;
}

bool TCustomAxisPanel::FirstInDepthSlot(const TChartSeries& series) const {
  if (!series.Active()) return false;
  const TDepthSlab* slab = DepthSlabOf(series.ZOrder());
  return slab == nullptr || slab->first == &series;
}

void TCustomAxisPanel::SetSeriesDepths() {
  for (TChartSeries* series : m_seriesList) {
    if (!series->Active()) continue;
    series->m_depthFront = m_depthOffsetX * series->m_depthSlot;
    series->m_depthBack = series->m_depthFront + m_depthOffsetX;
    series->m_depthMiddle = (series->m_depthFront + series->m_depthBack) / 2;
    series->Marks().SetMarksDepth(series->m_depthMiddle);
  }
}

// [SECTION] Drawing series

bool TCustomAxisPanel::ClipsSeries() const { return m_clipPoints && ClippingAllowed(); }

void TCustomAxisPanel::DrawSeriesMarks(TChartSeries& series) {
  if (!series.Marks().Visible()) return;
  SeriesClip clip(*this);
  if (series.Marks().Clip() && ClipsSeries()) clip.Start();
  series.DrawAllMarks();
}

void TCustomAxisPanel::DrawOneSeries(TChartSeries& series) {
  if (!View3D() || !SharesDepthSlot(series)) {
    series.FindVisibleRange();
    // Nothing in view: no events and no marks either.
    if (series.FirstDrawnIndex() == -1) return;
    series.DoBeforeDrawValues();
    {
      SeriesClip clip(*this);
      if (ClipsSeries()) clip.Start();
      series.DrawAllPoints();
    }
    DrawSeriesMarks(series);
    series.DoAfterDrawValues();
    return;
  }

  // A shared slab: its first series draws every series of it; the others have been
  // drawn by then.
  if (!FirstInDepthSlot(series)) return;
  const int z = series.ZOrder();
  const int start = std::max(0, m_seriesList.IndexOf(&series));
  auto inSlab = [z](const TChartSeries* other) { return other->Active() && other->ZOrder() == z; };

  int first = -1;
  int last = -1;
  SeriesClip clip(*this);
  for (int j = start; j < SeriesTotal(); ++j) {
    TChartSeries* member = SeriesAt(j);
    if (!inSlab(member)) continue;
    member->FindVisibleRange();
    if (member->FirstDrawnIndex() == -1) continue;
    first = first == -1 ? member->FirstDrawnIndex() : std::max(first, member->FirstDrawnIndex());
    last = last == -1 ? member->LastDrawnIndex() : std::max(last, member->LastDrawnIndex());
    member->DoBeforeDrawValues();
    if (ClipsSeries()) clip.Start();
  }

  if (first != -1) {
    // Point i of every series of the slab, front to back or back to front as the
    // first series says for that point.
    auto drawIndex = [&](int i) {
      auto drawMember = [&](int j) {
        TChartSeries* member = SeriesAt(j);
        if (inSlab(member) && member->PointCount() > i) member->DrawPoint(i);
      };
      if (i < series.PointCount() && !series.SeriesForward(i)) {
        for (int j = SeriesTotal() - 1; j >= start; --j) drawMember(j);
      } else {
        for (int j = start; j < SeriesTotal(); ++j) drawMember(j);
      }
    };
    if (series.PointsForward()) {
      for (int i = first; i <= last; ++i) drawIndex(i);
    } else {
      for (int i = last; i >= first; --i) drawIndex(i);
    }
  }
  clip.End();

  for (int j = start; j < SeriesTotal(); ++j) {
    TChartSeries* member = SeriesAt(j);
    if (!inSlab(member) || member->FirstDrawnIndex() == -1) continue;
    DrawSeriesMarks(*member);
    member->DoAfterDrawValues();
  }
}

}  // namespace tarvela
