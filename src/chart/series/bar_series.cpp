// Bar series, the settings and the geometry that does not draw:
//
//   [SECTION] Settings         defaults, checked setters, the group-wide setters, copying
//   [SECTION] Grouping         the bar series of one class in a chart, side places,
//                              stack origins and totals, the shared depth slab
//   [SECTION] Sizes            BarSize, the bar's pixels along both axes, the baseline
//   [SECTION] Axes             value range and margins
//   [SECTION] Published properties
//
// The bar series of one class in a chart work as a group: their count divides the room
// of a point when they stand side by side, and the earlier ones carry the later ones
// when they are stacked. Only the positive values of the earlier series carry: a
// negative bar hangs from the top of the positive ones below it.

#include "tarvela/chart/series/bar_series.h"

#include <algorithm>
#include <cmath>
#include <typeindex>
#include <unordered_map>
#include <utility>

#include "tarvela/chart/axes/axis_panel.h"
#include "tarvela/chart/messages.h"
#include "tarvela/runtime/exceptions.h"
#include "tarvela/runtime/rounding.h"

namespace tarvela {

const EnumNames<TBarStyle>& BarStyleNames() {
  static const EnumNames<TBarStyle> kNames = {
      {bsRectangle, "bsRectangle"}, {bsPyramid, "bsPyramid"}, {bsInvPyramid, "bsInvPyramid"},
      {bsCilinder, "bsCilinder"},   {bsEllipse, "bsEllipse"}, {bsArrow, "bsArrow"},
      {bsRectGradient, "bsRectGradient"}};
  return kNames;
}

const EnumNames<TMultiBar>& MultiBarNames() {
  static const EnumNames<TMultiBar> kNames = {
      {mbNone, "mbNone"}, {mbSide, "mbSide"}, {mbStacked, "mbStacked"}, {mbStacked100, "mbStacked100"}};
  return kNames;
}

// [SECTION] Settings

TCustomBarSeries::TCustomBarSeries(TComponent* owner) : TChartSeries(owner) {
  m_barBrush.OnChange = [this] { Repaint(); };
  m_barPen.OnChange = [this] { Repaint(); };
  Marks().SetVisible(true);
  Marks().SetArrowLength(20);
}

void TCustomBarSeries::SetBarWidthPercent(int percent) {
  if (percent < 1 || percent > 100) throw BarException(messages::kBarWidthPercent);
  Change(m_barWidthPercent, percent);
}

void TCustomBarSeries::SetOffsetPercent(int percent) {
  if (percent < -100 || percent > 100) throw BarException(messages::kBarOffsetPercent);
  Change(m_offsetPercent, percent);
}

// The group shares one layout, so a change to one member is a change to all of them,
// active or not (a series switched on later joins with the same setting).
void TCustomBarSeries::SetMultiBar(TMultiBar multiBar) {
  if (m_multiBar == multiBar) return;
  Change(m_multiBar, multiBar);
  ForEachOtherOfClass([multiBar](TCustomBarSeries& bar) { bar.Change(bar.m_multiBar, multiBar); });
}

void TCustomBarSeries::SetSideMargins(bool sideMargins) {
  if (m_sideMargins == sideMargins) return;
  Change(m_sideMargins, sideMargins);
  ForEachOtherOfClass([sideMargins](TCustomBarSeries& bar) { bar.Change(bar.m_sideMargins, sideMargins); });
}

// Every series of a file may set what the whole group shares, so the usual case, a
// series of the same dynamic class, is told apart without a cast.
template <class F>
void TCustomBarSeries::ForEachOtherOfClass(F apply) {
  if (ParentChart() == nullptr) return;
  for (TChartSeries* series : ParentChart()->SeriesList()) {
    if (series == this) continue;
    if (typeid(*series) == typeid(*this)) {
      apply(static_cast<TCustomBarSeries&>(*series));
    } else if (auto* bar = dynamic_cast<TCustomBarSeries*>(series); bar != nullptr && SameClass(*bar)) {
      apply(*bar);
    }
  }
}

void TCustomBarSeries::Assign(const TChartSeries& source) {
  if (&source == this) return;
  if (const auto* bar = dynamic_cast<const TCustomBarSeries*>(&source)) {
    SetAutoMarkPosition(bar->m_autoMarkPosition);
    SetBarWidthPercent(bar->m_barWidthPercent);
    SetBarStyle(bar->m_barStyle);
    m_barPen.Assign(bar->m_barPen);
    m_barBrush.Assign(bar->m_barBrush);
    SetCustomBarWidth(bar->m_customBarWidth);
    SetDark3D(bar->m_dark3D);
    SetMultiBar(bar->m_multiBar);
    SetOffsetPercent(bar->m_offsetPercent);
    SetYOrigin(bar->m_yOrigin);
    SetSideMargins(bar->m_sideMargins);
    SetUseYOrigin(bar->m_useYOrigin);
  }
  TChartSeries::Assign(source);
}

TBarSeries::TBarSeries(TComponent* owner) : TCustomBarSeries(owner) {
  YValues().SetName("Bar");
  YValues().SetOrder(loNone);
}

bool TBarSeries::HasClassOf(const TChartSeries& other) const { return dynamic_cast<const TBarSeries*>(&other); }

THorizBarSeries::THorizBarSeries(TComponent* owner) : TCustomBarSeries(owner) {
  XValues().SetName("Bar");
  XValues().SetOrder(loNone);
}

bool THorizBarSeries::HasClassOf(const TChartSeries& other) const {
  return dynamic_cast<const THorizBarSeries*>(&other);
}

void THorizBarSeries::FillSampleValues(int count) {
  if (count <= 0) throw BarException(messages::kFillSampleValuesCount);
  TCustomBarSeries::FillSampleValues(count);
}

// [SECTION] Grouping

bool TCustomBarSeries::SameClass(const TChartSeries& other) const {
  if (HasClassOf(other)) return true;
  const auto* bar = dynamic_cast<const TCustomBarSeries*>(&other);
  return bar != nullptr && bar->HasClassOf(*this);
}

// Sharing a class is the same for every series of one dynamic class, so the groups are
// found by class, each new class compared once with the first series of each group.
void TCustomBarSeries::PlaceAllInGroups(const TCustomAxisPanel& chart) {
  struct Group {
    const TCustomBarSeries* first;
    std::shared_ptr<TBarGroup> group;
  };
  std::vector<Group> groups;
  std::unordered_map<std::type_index, std::size_t> groupOfClass;
  std::vector<std::pair<TCustomBarSeries*, std::size_t>> placed;
  for (TChartSeries* series : chart.SeriesList()) {
    auto* bar = dynamic_cast<TCustomBarSeries*>(series);
    if (bar == nullptr) continue;
    auto [entry, fresh] = groupOfClass.try_emplace(std::type_index(typeid(*bar)), groups.size());
    if (fresh) {
      auto same = std::find_if(groups.begin(), groups.end(), [&](const Group& g) { return bar->SameClass(*g.first); });
      if (same != groups.end())
        entry->second = static_cast<std::size_t>(same - groups.begin());
      else
        groups.push_back({bar, std::make_shared<TBarGroup>()});
    }
    std::vector<TCustomBarSeries*>& members = groups[entry->second].group->members;
    int index = -1;
    if (bar->Active()) {
      index = static_cast<int>(members.size());
      members.push_back(bar);
    }
    bar->m_groupPlace = {chart.SeriesArrangement(), &chart, nullptr, index};
    placed.emplace_back(bar, entry->second);
  }
  for (auto& [bar, group] : placed) bar->m_groupPlace.group = groups[group].group;
}

const TCustomBarSeries::TGroupPlace& TCustomBarSeries::GroupPlace() const {
  const TCustomAxisPanel* chart = ParentChart();
  auto current = [&] { return m_groupPlace.chart == chart && m_groupPlace.arrangement == chart->SeriesArrangement(); };
  if (chart != nullptr && !current()) PlaceAllInGroups(*chart);
  if (chart != nullptr && current()) return m_groupPlace;
  // Without a chart, or not (or no longer) in its list: looked for on its own, and
  // again next time.
  auto group = std::make_shared<TBarGroup>();
  int index = -1;
  if (chart != nullptr) {
    for (TChartSeries* other : chart->SeriesList()) {
      auto* bar = dynamic_cast<TCustomBarSeries*>(other);
      if (bar == nullptr || !other->Active() || !SameClass(*bar)) continue;
      if (bar == this) index = static_cast<int>(group->members.size());
      group->members.push_back(bar);
    }
  }
  m_groupPlace = {0, nullptr, std::move(group), index};
  return m_groupPlace;
}

namespace {

// Calls visit(member) for each group member in list order while it returns true.
template <class Visit>
void VisitMembers(const TCustomBarSeries& series, Visit visit) {
  const std::shared_ptr<const TCustomBarSeries::TBarGroup> group = series.Group();
  for (TCustomBarSeries* member : group->members)
    if (!visit(member)) return;
}

}  // namespace

int TCustomBarSeries::NumBars() const {
  if (m_multiBar != mbSide) return 1;
  return static_cast<int>(GroupPlace().group->members.size());
}

// After the whole group when this series is no member.
int TCustomBarSeries::SidePlace() const {
  const TGroupPlace& place = GroupPlace();
  return (place.index >= 0 ? place.index : static_cast<int>(place.group->members.size())) + 1;
}

namespace {

// The value at index counted into a stack: only what stands above 0 carries more bars.
double StackPart(const TCustomBarSeries& member, int index) {
  return index < member.PointCount() ? std::max(0.0, member.MandatoryList().ValueAt(index)) : 0.0;
}

}  // namespace

const TStackSums<long double>* TCustomBarSeries::GroupSums(int valueIndex) const {
  const TGroupPlace& place = GroupPlace();
  if (place.index < 0 || place.group->members.size() <= kStackSumsAfterMembers) return nullptr;
  const std::uint64_t revision = ParentChart()->ValuesRevision();
  TStackSums<long double>& sums = place.group->sums;
  if (!sums.CurrentAt(revision)) sums.Build(place.group->members, StackPart, revision);
  return sums.Has(static_cast<std::size_t>(place.index), valueIndex) ? &sums : nullptr;
}

double TCustomBarSeries::StackOrigin(int valueIndex) const {
  if (const TStackSums<long double>* sums = GroupSums(valueIndex))
    return sums->Origin(static_cast<std::size_t>(GroupPlace().index), valueIndex);
  long double sum = 0;
  VisitMembers(*this, [&](TCustomBarSeries* member) {
    if (member == this) return false;
    sum += StackPart(*member, valueIndex);
    return true;
  });
  return static_cast<double>(sum);
}

double TCustomBarSeries::StackTotal(int valueIndex) const {
  if (const TStackSums<long double>* sums = GroupSums(valueIndex)) return sums->Total(valueIndex);
  long double sum = 0;
  VisitMembers(*this, [&](TCustomBarSeries* member) {
    sum += StackPart(*member, valueIndex);
    return true;
  });
  return static_cast<double>(sum);
}

const TChartSeries* TCustomBarSeries::DepthSlotLeader() const {
  if (m_multiBar == mbNone) return nullptr;
  const TCustomBarSeries* first = nullptr;
  VisitMembers(*this, [&](TCustomBarSeries* member) {
    first = member;
    return false;
  });
  return first == this ? nullptr : first;
}

// Stacked bars are drawn from the value axis' low end up, so that an upper bar's top
// face lies over the bar below; an inverted axis turns that round.
bool TCustomBarSeries::PointsForward() const {
  const TChartAxis* axis = CategoryAxis();
  return axis == nullptr || !axis->Inverted();
}

bool TCustomBarSeries::SeriesForward(int) const {
  if (m_multiBar == mbNone || m_multiBar == mbSide) return true;
  const TChartAxis* axis = ValueAxis();
  return axis == nullptr || !axis->Inverted();
}

// [SECTION] Sizes

void TCustomBarSeries::ComputeBarSize() const {
  if (m_customBarWidth != 0) {
    m_barSize = m_customBarWidth;
    return;
  }
  long long count = PointCount();
  int barsPerPoint = 1;
  const TCustomAxisPanel* chart = ParentChart();
  if (chart != nullptr) {
    if (m_multiBar == mbSide) {
      // Each member asks while the series are drawn: counted once for all of them.
      const TBarGroup& group = *GroupPlace().group;
      const std::uint64_t stamp = chart->DrawingStamp();
      if (stamp == 0 || group.mostPointsStamp != stamp) {
        group.mostPoints = 0;
        for (const TCustomBarSeries* member : group.members)
          group.mostPoints = std::max<long long>(group.mostPoints, member->PointCount());
        group.mostPointsStamp = stamp;
      }
      count = std::max(count, group.mostPoints);
      const int members = static_cast<int>(group.members.size());
      // An inactive series is no member; it still gets the size a group of one would
      // give it, rather than a division by no bars at all.
      barsPerPoint = std::max(1, members);
    }
    if (chart->MaxPointsPerPage() > 0) count = chart->MaxPointsPerPage();
  }
  const TChartAxis* axis = CategoryAxis();
  if (count <= 0 || axis == nullptr) {
    m_barSize = 0;
    return;
  }
  if (m_sideMargins) ++count;
  long long slot = 0;
  if (m_autoBarSize) {
    // One slot per unit of the axis range, plus one at either end.
    const long double units = 2.0L + axis->Maximum() - axis->Minimum();
    if (std::isfinite(static_cast<double>(units)) && units >= 1) slot = Round(axis->AxisLength() / units);
  } else {
    slot = axis->AxisLength() / count;
  }
  long long size = Round(m_barWidthPercent * 0.01L * slot) / barsPerPoint;
  // Even, so that half a bar is a whole pixel either side of the point.
  if (size > 0 && size % 2 != 0) ++size;
  m_barSize = static_cast<int>(std::clamp<long long>(size, 0, 1 << 20));
}

int TCustomBarSeries::CategoryRoom() const {
  const int room = NumBars() * m_barSize;
  return m_sideMargins ? room : room / 2;
}

int TCustomBarSeries::ShiftByOffset(int position) const {
  if (m_offsetPercent == 0) return position;
  return position + static_cast<int>(Round(m_offsetPercent * static_cast<long double>(m_barSize) * 0.01L));
}

int TCustomBarSeries::CategoryPixel(int valueIndex) const {
  const TChartAxis* axis = CategoryAxis();
  if (axis == nullptr) return 0;
  int position = axis->ValueToPixel(NotMandatoryList().ValueAt(valueIndex));
  if (m_multiBar == mbSide) {
    const long double place = SidePlace();
    const long double bars = NumBars();
    // Vertical bars go left to right in list order, horizontal ones bottom to top.
    const long double shift = VerticalBars() ? place - bars * 0.5L - 1 : bars * 0.5L - place;
    position += static_cast<int>(Round(shift * m_barSize));
  } else {
    position -= m_barSize / 2;
  }
  return ShiftByOffset(position);
}

int TCustomBarSeries::ValuePixel(int valueIndex) const {
  const TChartAxis* axis = ValueAxis();
  if (axis == nullptr) return 0;
  const double value = MandatoryList().ValueAt(valueIndex);
  switch (m_multiBar) {
    case mbStacked:
      return axis->ValueToPixel(value + StackOrigin(valueIndex));
    case mbStacked100: {
      // A point where every bar of the group is 0 (or negative) has no share of a
      // total; it lies at 0 %, with its baseline.
      const double total = StackTotal(valueIndex);
      if (total == 0) return axis->ValueToPixel(0);
      return axis->ValueToPixel((value + StackOrigin(valueIndex)) * 100 / total);
    }
    default:
      return axis->ValueToPixel(value);
  }
}

int TCustomBarSeries::BaselinePos(int valueIndex) const {
  const TChartAxis* axis = ValueAxis();
  if (axis == nullptr) return 0;
  switch (m_multiBar) {
    case mbStacked:
      return axis->ValueToPixel(StackOrigin(valueIndex));
    case mbStacked100: {
      const double total = StackTotal(valueIndex);
      if (total == 0) return axis->ValueToPixel(0);
      return axis->ValueToPixel(StackOrigin(valueIndex) * 100 / total);
    }
    default:
      if (m_useYOrigin) return axis->ValueToPixel(m_yOrigin);
      return VerticalBars() ? axis->EndPixel() : axis->StartPixel();
  }
}

TBarStyle TCustomBarSeries::ShapeOf(int valueIndex) {
  TBarStyle style = m_barStyle;
  if (OnGetBarStyle) OnGetBarStyle(this, valueIndex, style);
  return style;
}

void TCustomBarSeries::DoBeforeDrawValues() {
  ComputeBarSize();
  TChartSeries::DoBeforeDrawValues();
}

// [SECTION] Axes

double TCustomBarSeries::HighestValue() const {
  const TChartValueList& list = MandatoryList();
  double highest = list.MaximumValue();
  if (m_multiBar == mbStacked100) {
    highest = 100;
  } else if (m_multiBar == mbStacked) {
    for (int i = 0; i < PointCount(); ++i) highest = std::max(highest, list.ValueAt(i) + StackOrigin(i));
  }
  if (m_useYOrigin) highest = std::max(highest, m_yOrigin);
  return highest;
}

double TCustomBarSeries::LowestValue() const {
  if (m_multiBar == mbStacked100) return 0;
  const double lowest = MandatoryList().MinimumValue();
  return m_useYOrigin ? std::min(lowest, m_yOrigin) : lowest;
}

int TCustomBarSeries::MarkRoom(int valueIndex) const {
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr || PointCount() == 0 || !Marks().Visible()) return 0;
  chart->ApplyChartFont(Marks().Font());
  TZavCanvas3D& canvas = chart->Canvas();
  // The texts come from OnGetMarkText, which may change the series like any event.
  auto& self = const_cast<TCustomBarSeries&>(*this);
  int room = 0;
  if (VerticalBars()) {
    room = canvas.LineHeight();
  } else {
    room = valueIndex == -1 ? self.WidestMarkText() : canvas.MeasureTextWidth(self.MarkText(valueIndex));
  }
  room += Marks().ArrowLength();
  if (Marks().Frame().Visible()) room += 2 * Marks().Frame().Width();
  return room;
}

void TCustomBarSeries::CategoryMargins(int& low, int& high) const {
  ComputeBarSize();
  low = high = CategoryRoom();
}

void TCustomBarSeries::ValueMargins(int& low, int& high) const {
  low = high = 0;
  int room = MarkRoom(VerticalBars() ? 0 : -1);
  if (room > 0) ++room;
  const TChartAxis* axis = ValueAxis();
  const bool inverted = axis != nullptr && axis->Inverted();
  const TChartValueList& list = MandatoryList();
  // Marks sit beyond the bar's end: below a bar that hangs from its baseline, above
  // one that stands on it.
  if (m_useYOrigin && list.MinimumValue() < m_yOrigin) (inverted ? high : low) += room;
  if (!m_useYOrigin || list.MaximumValue() > m_yOrigin) (inverted ? low : high) += room;
}

// [SECTION] Published properties

const PropertyTable& TCustomBarSeries::PublishedProperties() {
  using B = TCustomBarSeries;
  static const PropertyTable table(
      &TChartSeries::PublishedProperties(),
      {
          BoolProperty<B>("AutoBarSize", &B::AutoBarSize, &B::SetAutoBarSize),
          BoolProperty<B>("AutoMarkPosition", &B::AutoMarkPosition, &B::SetAutoMarkPosition),
          ObjectProperty<B, TChartBrush>("BarBrush", static_cast<TChartBrush& (B::*)()>(&B::BarBrush)),
          ObjectProperty<B, TChartPen>("BarPen", static_cast<TChartPen& (B::*)()>(&B::BarPen)),
          EnumProperty<B, TBarStyle>("BarStyle", &B::BarStyle, &B::SetBarStyle, BarStyleNames()),
          IntProperty<B>("BarWidthPercent", &B::BarWidthPercent, &B::SetBarWidthPercent),
          BoolProperty<B>("Dark3D", &B::Dark3D, &B::SetDark3D),
          EnumProperty<B, TMultiBar>("MultiBar", &B::MultiBar, &B::SetMultiBar, MultiBarNames()),
          IntProperty<B>("OffsetPercent", &B::OffsetPercent, &B::SetOffsetPercent),
          BoolProperty<B>("SideMargins", &B::SideMargins, &B::SetSideMargins),
          BoolProperty<B>("UseYOrigin", &B::UseYOrigin, &B::SetUseYOrigin),
          FloatProperty<B>("YOrigin", &B::YOrigin, &B::SetYOrigin),
          EventProperty<B, TGetBarStyleEvent>("OnGetBarStyle", &B::OnGetBarStyle),
          ObjectProperty<B, TChartValueList>("XValues", static_cast<TChartValueList& (B::*)()>(&B::XValues)),
          ObjectProperty<B, TChartValueList>("YValues", static_cast<TChartValueList& (B::*)()>(&B::YValues)),
      });
  return table;
}

const PropertyTable& TBarSeries::PublishedProperties() {
  using B = TBarSeries;
  static const PropertyTable table(&TCustomBarSeries::PublishedProperties(),
                                   {
                                       IntProperty<B>("CustomBarWidth", &B::CustomBarWidth, &B::SetCustomBarWidth),
                                   });
  return table;
}

const PropertyTable& THorizBarSeries::PublishedProperties() { return TCustomBarSeries::PublishedProperties(); }

}  // namespace tarvela
