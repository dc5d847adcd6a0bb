// The area series: where a point and its baseline lie when areas are stacked, the
// value range the stack needs, the shared depth slab, copying and the legend symbol.
//
// A stack is built from the area series of one chart in list order: each point stands
// on the sum of the positive values at its index of the active area series before it,
// so a negative value lowers its own line but not the ones above. In percent the same
// sums are divided by the total at that index, so the last area reaches 100.

#include "tarvela/chart/series/area_series.h"

#include <algorithm>
#include <typeindex>
#include <typeinfo>
#include <unordered_map>

#include "tarvela/chart/axes/axis_panel.h"

namespace tarvela {

const EnumNames<TMultiArea>& MultiAreaNames() {
  static const EnumNames<TMultiArea> kNames = {
      {maNone, "maNone"}, {maStacked, "maStacked"}, {maStacked100, "maStacked100"}};
  return kNames;
}

TAreaSeries::TAreaSeries(TComponent* owner) : TCustomSeries(owner) {
  SetDrawArea(true);
  Pointer().SetVisible(false);
}

void TAreaSeries::SetMultiArea(TMultiArea multiArea) {
  bool changed = false;
  const auto store = [&](TAreaSeries& series) {
    if (series.m_multiArea == multiArea) return;
    series.m_multiArea = multiArea;
    changed = true;
  };
  store(*this);
  if (TCustomAxisPanel* chart = ParentChart()) {
    for (TChartSeries* other : chart->SeriesList())
      if (other != this && typeid(*other) == typeid(*this)) store(static_cast<TAreaSeries&>(*other));
  }
  if (changed) Repaint();
}

void TAreaSeries::Assign(const TChartSeries& source) {
  if (&source == this) return;
  TCustomSeries::Assign(source);
  SetConnectPoints(true);
  if (auto* area = dynamic_cast<const TAreaSeries*>(&source)) {
    // Only this series: the source's stack is another chart's business.
    if (m_multiArea != area->m_multiArea) {
      m_multiArea = area->m_multiArea;
      Repaint();
    }
  } else {
    // From a line or point series: still an area, whatever the source drew.
    SetDrawArea(true);
    Pointer().SetVisible(false);
  }
}

// [SECTION] Stacking

bool TAreaSeries::StacksWith(const TChartSeries& other) const {
  return other.Active() && typeid(other) == typeid(*this);
}

// Sharing a class is a matter of the dynamic class alone, so the stacks are found by
// class in one pass over the list.
void TAreaSeries::PlaceAllInStacks(const TCustomAxisPanel& chart) {
  std::unordered_map<std::type_index, std::shared_ptr<TAreaStack>> stacks;
  for (TChartSeries* series : chart.SeriesList()) {
    auto* area = dynamic_cast<TAreaSeries*>(series);
    if (area == nullptr) continue;
    std::shared_ptr<TAreaStack>& stack = stacks[std::type_index(typeid(*area))];
    if (stack == nullptr) stack = std::make_shared<TAreaStack>();
    int index = -1;
    if (area->Active()) {
      index = static_cast<int>(stack->members.size());
      stack->members.push_back(area);
    }
    area->m_stackPlace = {chart.SeriesArrangement(), &chart, stack, index};
  }
}

const TAreaSeries::TAreaStack* TAreaSeries::Stack() const {
  const TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr) return nullptr;
  const auto current = [&] {
    return m_stackPlace.chart == chart && m_stackPlace.arrangement == chart->SeriesArrangement();
  };
  if (!current()) PlaceAllInStacks(*chart);
  // Not (or no longer) in its chart's list: no stack of its own.
  return current() ? m_stackPlace.stack.get() : nullptr;
}

const TStackSums<double>* TAreaSeries::StackSums(int valueIndex) const {
  const TAreaStack* stack = Stack();
  if (stack == nullptr || m_stackPlace.index < 0 || stack->members.size() <= kStackSumsAfterMembers) return nullptr;
  const std::uint64_t revision = ParentChart()->ValuesRevision();
  if (!stack->sums.CurrentAt(revision)) {
    // What the loop below adds up, member by member.
    const auto part = [](const TAreaSeries& member, int index) {
      if (index >= member.PointCount()) return 0.0;
      const double value = member.YValueAt(index);
      return value > 0 ? value : 0.0;
    };
    stack->sums.Build(stack->members, part, revision);
  }
  return stack->sums.Has(static_cast<std::size_t>(m_stackPlace.index), valueIndex) ? &stack->sums : nullptr;
}

double TAreaSeries::StackOrigin(int valueIndex, bool includeAll) const {
  const TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr) return includeAll && YValueAt(valueIndex) > 0 ? YValueAt(valueIndex) : 0;
  if (const TStackSums<double>* sums = StackSums(valueIndex))
    return includeAll ? sums->Total(valueIndex) : sums->Origin(static_cast<std::size_t>(m_stackPlace.index), valueIndex);
  double sum = 0;
  for (const TChartSeries* other : chart->SeriesList()) {
    if (other == this && !includeAll) break;
    if (!StacksWith(*other) || valueIndex >= other->PointCount()) continue;
    const double value = other->YValueAt(valueIndex);
    if (value > 0) sum += value;
  }
  return sum;
}

int TAreaSeries::StackedY(int valueIndex, double value) const {
  const TChartAxis* axis = GetVertAxis();
  if (axis == nullptr) return 0;
  const double origin = StackOrigin(valueIndex);
  switch (m_multiArea) {
    case maNone: return axis->ValueToPixel(value);
    case maStacked: return std::min(axis->EndPixel(), axis->ValueToPixel(origin + value));
    case maStacked100: {
      // Nothing positive at this index: the stack lies flat on 0 rather than at a pixel
      // row that is no value at all.
      const double total = StackOrigin(valueIndex, true);
      return axis->ValueToPixel(total == 0 ? 0 : (origin + value) * 100 / total);
    }
  }
  return axis->ValueToPixel(value);
}

int TAreaSeries::PointYPixel(int index) const {
  return Stacked() ? StackedY(index, YValueAt(index)) : TCustomSeries::PointYPixel(index);
}

int TAreaSeries::BaselinePos(int valueIndex) const {
  return Stacked() ? StackedY(valueIndex, 0) : TCustomSeries::BaselinePos(valueIndex);
}

double TAreaSeries::HighestY() const {
  if (m_multiArea == maStacked100) return 100;
  double highest = TCustomSeries::HighestY();
  if (m_multiArea == maStacked) {
    for (int i = 0; i < PointCount(); ++i) highest = std::max(highest, YValueAt(i) + StackOrigin(i));
  }
  return highest;
}

double TAreaSeries::LowestY() const { return m_multiArea == maStacked100 ? 0 : TCustomSeries::LowestY(); }

const TChartSeries* TAreaSeries::DepthSlotLeader() const {
  const TCustomAxisPanel* chart = ParentChart();
  if (!Stacked() || chart == nullptr) return nullptr;
  if (const TAreaStack* stack = Stack()) return stack->members.empty() ? nullptr : stack->members.front();
  for (const TChartSeries* other : chart->SeriesList())
    if (StacksWith(*other)) return other;
  return nullptr;
}

// [SECTION] Legend symbol

void TAreaSeries::PrepareLegendSymbol(int, TColor& backColor, TBrushStyle& brushStyle) {
  if (TCustomAxisPanel* chart = ParentChart()) {
    TZavCanvas3D& canvas = chart->Canvas();
    backColor = AreaFillColor(canvas.Brush().color);
    canvas.ApplyChartPen(AreaLinesPen());
  }
  brushStyle = AreaBrush();
}

// [SECTION] Published properties

const PropertyTable& TAreaSeries::PublishedProperties() {
  using A = TAreaSeries;
  static const PropertyTable table(
      &TCustomSeries::PublishedProperties(),
      {
          EnumProperty<A, TBrushStyle>("AreaBrush", &A::AreaBrush, &A::SetAreaBrush, BrushStyleNames()),
          ColorProperty<A>("AreaColor", &A::AreaColor, &A::SetAreaColor),
          ObjectProperty<A, TChartPen>("AreaLinesPen", static_cast<TChartPen& (A::*)()>(&A::AreaLinesPen)),
          BoolProperty<A>("Dark3D", &A::Dark3D, &A::SetDark3D),
          BoolProperty<A>("DrawArea", &A::DrawArea, &A::SetDrawArea),
          BoolProperty<A>("InvertedStairs", &A::InvertedStairs, &A::SetInvertedStairs),
          ObjectProperty<A, TChartPen>("LinePen", static_cast<TChartPen& (A::*)()>(&A::LinePen)),
          EnumProperty<A, TMultiArea>("MultiArea", &A::MultiArea, &A::SetMultiArea, MultiAreaNames()),
          ObjectProperty<A, TSeriesPointer>("Pointer", static_cast<TSeriesPointer& (A::*)()>(&A::Pointer)),
          BoolProperty<A>("Stairs", &A::Stairs, &A::SetStairs),
          ObjectProperty<A, TChartValueList>("XValues", static_cast<TChartValueList& (A::*)()>(&A::XValues)),
          ObjectProperty<A, TChartValueList>("YValues", static_cast<TChartValueList& (A::*)()>(&A::YValues)),
      });
  return table;
}

}  // namespace tarvela
