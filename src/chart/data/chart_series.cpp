#include "tarvela/chart/data/chart_series.h"

#include <algorithm>
#include <cstdint>
#include <random>

#include "tarvela/chart/axes/axis_panel.h"
#include "tarvela/chart/data/palette.h"
#include "tarvela/chart/data/zav_function.h"
#include "tarvela/chart/messages.h"
#include "tarvela/runtime/exceptions.h"
#include "tarvela/runtime/identifiers.h"

namespace tarvela {

// Contents:
//   [SECTION] Construction and destruction
//   [SECTION] Settings
//   [SECTION] Adding points
//   [SECTION] Deleting and clearing
//   [SECTION] Colours and labels
//   [SECTION] Visible range, axes, drawing hooks
//   [SECTION] Component steps and copying
//   [SECTION] Published properties

const EnumNames<THorizAxis>& HorizAxisNames() {
  static const EnumNames<THorizAxis> kNames = {{aTopAxis, "aTopAxis"},
                                               {aBottomAxis, "aBottomAxis"},
                                               {aBothHorizAxis, "aBothHorizAxis"},
                                               {aCustomHorizAxis, "aCustomHorizAxis"}};
  return kNames;
}

const EnumNames<TVertAxis>& VertAxisNames() {
  static const EnumNames<TVertAxis> kNames = {{aLeftAxis, "aLeftAxis"},
                                              {aRightAxis, "aRightAxis"},
                                              {aBothVertAxis, "aBothVertAxis"},
                                              {aCustomVertAxis, "aCustomVertAxis"}};
  return kNames;
}

namespace {

const std::string kNoLabel;

}  // namespace

// [SECTION] Construction and destruction

TChartSeries::TChartSeries(TComponent* owner) : TComponent(owner) {
  m_xValues.SetOrder(loAscending);
  // Its chart, its sources and the series that follow it are all linked by free
  // notification.
  SetHearsOfSiblings(false);
}

// Events are not fired from here: the owner that holds the handlers may be half
// destroyed already. Hence ClearValueLists rather than ClearPoints.
TChartSeries::~TChartSeries() {
  if (m_function != nullptr) m_function->m_parentSeries = nullptr;
  m_function.reset();
  DropAllLinks();
  ClearValueLists();
  if (m_parentChart != nullptr) m_parentChart->DetachSeries(this);
}

// [SECTION] Settings

void TChartSeries::Repaint() const {
  if (m_parentChart == nullptr) return;
  m_parentChart->SeriesChangedWhileDrawn();
  m_parentChart->Invalidate();
}

void TChartSeries::ValuesChanged() {
  if (m_parentChart != nullptr) m_parentChart->SeriesValuesChanged();
}

void TChartSeries::SetActive(bool active) {
  if (active == m_active) return;
  Change(m_active, active);
  if (m_parentChart != nullptr) m_parentChart->SeriesArrangementChanged();
}

void TChartSeries::SetDepthOrder(int order) {
  if (order == m_depthOrder) return;
  Change(m_depthOrder, order);
  if (m_parentChart != nullptr) m_parentChart->SeriesArrangementChanged();
}

void TChartSeries::SetColorEachPoint(bool colorEachPoint) {
  if (colorEachPoint == m_colorEachPoint) return;
  m_colorEachPoint = colorEachPoint;
  Repaint();
  if (!colorEachPoint) {
    // Entries beyond the colour list are clDefault already.
    for (int i = 0; i < ColorEntryCount(); ++i) SetPointColor(i, clDefault);
  }
}

void TChartSeries::SetSeriesColor(TColor color) { Change(m_seriesColor, color); }

void TChartSeries::SetParentChart(TCustomAxisPanel* chart) {
  if (chart == m_parentChart) return;
  if (m_parentChart != nullptr) m_parentChart->DetachSeries(this);
  if (chart != nullptr) chart->AttachSeries(this);
}

// [SECTION] Adding points

int TChartSeries::AddPointXY(double x, double y, std::string_view label, TColor color) {
  m_xValues.SetPendingValue(x);
  m_yValues.SetPendingValue(y);
  if (OnBeforeAdd && !OnBeforeAdd(this)) return -1;
  int index = m_xValues.AddInOrder(x);
  m_yValues.InsertValueAt(index, y);
  InsertColorAndLabel(index, color, label);
  if (m_valueLists.Count() > 2) InsertExtraValues(index);
  NotifyPointAdded(this, index);
  return index;
}

int TChartSeries::AddPoint(double value, std::string_view label, TColor color) {
  return YIsMandatory() ? AddPointY(value, label, color) : AddPointX(value, label, color);
}

int TChartSeries::AddPointY(double y, std::string_view label, TColor color) {
  return AddPointXY(PointCount(), y, label, color);
}

int TChartSeries::AddPointX(double x, std::string_view label, TColor color) {
  return AddPointXY(x, PointCount(), label, color);
}

int TChartSeries::AddNullPoint(std::string_view label) { return AddPoint(0, label, clNone); }

int TChartSeries::AddNullPointXY(double x, double y, std::string_view label) {
  return AddPointXY(x, y, label, clNone);
}

void TChartSeries::InsertExtraValues(int index) {
  for (int k = 2; k < m_valueLists.Count(); ++k) {
    TChartValueList& list = m_valueLists.ValueList(k);
    list.InsertValueAt(index, list.PendingValue());
  }
}

void TChartSeries::NotifyPointAdded(TChartSeries*, int index) {
  if (OnAfterAdd) OnAfterAdd(this, index);
  if (!m_linkedSeries.empty()) NotifyLinkedSeries(TSourceChange::PointInserted, index);
  if (m_active) Repaint();
}

void TChartSeries::FillSampleValues(int count) {
  if (count <= 0) throw ChartException(messages::kFillSampleValuesCount);
  ClearPoints();
  bool autoRepaint = m_parentChart != nullptr && m_parentChart->AutoRepaint();
  if (m_parentChart != nullptr) m_parentChart->SetAutoRepaint(false);
  // A random walk from a random start: plausible chart data, different each time.
  static std::minstd_rand generator{std::random_device{}()};
  std::uniform_real_distribution<double> start(0, 1000);
  std::uniform_real_distribution<double> step(-50, 50);
  double value = start(generator);
  try {
    for (int i = 0; i < count; ++i) {
      AddPoint(value, {}, clDefault);
      value += step(generator);
    }
  } catch (...) {
    if (m_parentChart != nullptr) m_parentChart->SetAutoRepaint(autoRepaint);
    throw;
  }
  if (m_parentChart != nullptr) m_parentChart->SetAutoRepaint(autoRepaint);
  NotifyLinkedSeries(TSourceChange::AllChanged);
  Repaint();
}

// [SECTION] Deleting and clearing

// The index is checked before anything changes, so a failed delete leaves every
// list of the series as it was and all of them the same length.
void TChartSeries::DeletePoint(int index) {
  if (index < 0 || index >= PointCount()) ThrowListIndexError(index);
  for (TChartValueList* list : m_valueLists) list->DeleteValueAt(index);
  auto i = static_cast<std::size_t>(index);
  if (i < m_colors.size()) m_colors.erase(m_colors.begin() + index);
  if (i < m_labels.size()) m_labels.erase(m_labels.begin() + index);
  m_marks.PositionList().DeletePosition(index);
  NotifyLinkedSeries(TSourceChange::PointDeleted, index);
  if (m_active) Repaint();
}

void TChartSeries::ClearValueLists() {
  for (TChartValueList* list : m_valueLists) list->RemoveAllValues();
  std::vector<TColor>().swap(m_colors);
  std::vector<std::string>().swap(m_labels);
  m_marks.ForgetPositions();
}

void TChartSeries::ClearPoints() {
  ClearValueLists();
  if (OnClearValues) OnClearValues(this);
  NotifyLinkedSeries(TSourceChange::Cleared);
  if (m_active) Repaint();
}

void TChartSeries::SwapPoints(int a, int b) {
  for (TChartValueList* list : m_valueLists) list->SwapValues(a, b);
  if (a == b) return;
  auto ia = static_cast<std::size_t>(a), ib = static_cast<std::size_t>(b);
  std::size_t farIndex = std::max(ia, ib);
  // A missing entry is clDefault (or no label): the lists grow only when an entry
  // with something in it moves beyond their end.
  if (farIndex >= m_colors.size()) {
    std::size_t nearIndex = std::min(ia, ib);
    if (nearIndex < m_colors.size() && m_colors[nearIndex] != clDefault) m_colors.resize(farIndex + 1, clDefault);
  }
  if (farIndex < m_colors.size()) std::swap(m_colors[ia], m_colors[ib]);
  if (farIndex >= m_labels.size()) {
    std::size_t nearIndex = std::min(ia, ib);
    if (nearIndex < m_labels.size() && !m_labels[nearIndex].empty()) m_labels.resize(farIndex + 1);
  }
  if (farIndex < m_labels.size()) std::swap(m_labels[ia], m_labels[ib]);
}

// [SECTION] Colours and labels

// The hot path of every add: an append of a point with clDefault and no label
// touches neither list when they are shorter than the points already.
void TChartSeries::InsertColorAndLabel(int index, TColor color, std::string_view label) {
  auto i = static_cast<std::size_t>(index);
  if (i < m_colors.size()) {
    m_colors.insert(m_colors.begin() + index, color);
  } else if (color != clDefault) {
    if (i > m_colors.size()) m_colors.resize(i, clDefault);
    m_colors.push_back(color);
  }
  if (i < m_labels.size()) {
    m_labels.insert(m_labels.begin() + index, std::string(label));
  } else if (!label.empty()) {
    m_labels.resize(i);
    m_labels.emplace_back(label);
  }
}

void TChartSeries::StoreColor(int index, TColor color) {
  auto i = static_cast<std::size_t>(index);
  if (i >= m_colors.size()) {
    if (color == clDefault) return;
    m_colors.resize(i + 1, clDefault);
  }
  m_colors[i] = color;
}

void TChartSeries::StoreLabel(int index, std::string_view label) {
  auto i = static_cast<std::size_t>(index);
  if (i >= m_labels.size()) {
    if (label.empty()) return;
    m_labels.resize(i + 1);
  }
  m_labels[i] = label;
}

TColor TChartSeries::PointColor(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= m_colors.size()) return m_seriesColor;
  TColor color = m_colors[static_cast<std::size_t>(index)];
  if (color != clDefault) return color;
  return m_colorEachPoint ? PaletteColor(index) : m_seriesColor;
}

void TChartSeries::SetPointColor(int index, TColor color) {
  if (index < 0 || index >= PointCount()) ThrowListIndexError(index);
  StoreColor(index, color);
  Repaint();
}

std::size_t TChartSeries::AllocatedBytes() const {
  std::size_t bytes = m_colors.capacity() * sizeof(TColor) + m_labels.capacity() * sizeof(std::string);
  for (const TChartValueList* list : m_valueLists) bytes += list->AllocatedBytes();
  return bytes;
}

const std::string& TChartSeries::PointLabel(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= m_labels.size()) return kNoLabel;
  return m_labels[static_cast<std::size_t>(index)];
}

const TChartValueList& TChartSeries::ValueListByName(std::string_view name) const {
  for (int k = 2; k < m_valueLists.Count(); ++k) {
    const TChartValueList& list = m_valueLists.ValueList(k);
    if (SameIdent(list.Name(), name)) return list;
  }
  return m_yValues;
}

// [SECTION] Visible range, axes, drawing hooks

void TChartSeries::FindVisibleRange() {
  m_firstDrawnIndex = m_lastDrawnIndex = -1;
  const int last = PointCount() - 1;
  if (last < 0) return;
  const TChartValueList& list = NotMandatoryList();
  std::optional<TValueSpan> span;
  if (m_clipToVisibleRange && list.Order() != loNone && m_parentChart != nullptr)
    span = m_parentChart->SeriesVisibleSpan(*this, YIsMandatory());
  if (!span) {
    m_firstDrawnIndex = 0;
    m_lastDrawnIndex = last;
    return;
  }
  int first = 0;
  while (list.ValueAt(first) < span->low) {
    if (++first > last) return;
  }
  m_firstDrawnIndex = first;
  if (!(list.LastValue() > span->high)) {
    m_lastDrawnIndex = last;
    return;
  }
  int end = first;
  while (list.ValueAt(end) < span->high) {
    if (++end > last) {
      end = last;
      break;
    }
  }
  if (!m_reachPastEnd && list.ValueAt(end) > span->high) --end;
  m_lastDrawnIndex = end;
}

// Resolved on every call rather than stored: the chart's axes live as long as the
// chart, so there is no pointer to keep up to date when the series changes charts.
// A custom axis setting has no axis object of its own yet and means the standard one.
TChartAxis* TChartSeries::GetHorizAxis() const {
  if (m_parentChart == nullptr) return nullptr;
  return m_horizAxis == aTopAxis ? &m_parentChart->TopAxis() : &m_parentChart->BottomAxis();
}

TChartAxis* TChartSeries::GetVertAxis() const {
  if (m_parentChart == nullptr) return nullptr;
  return m_vertAxis == aRightAxis ? &m_parentChart->RightAxis() : &m_parentChart->LeftAxis();
}

int TChartSeries::PointXPixel(int index) const {
  const TChartAxis* axis = GetHorizAxis();
  return axis == nullptr ? 0 : axis->ValueToPixel(XValueAt(index));
}

int TChartSeries::PointYPixel(int index) const {
  const TChartAxis* axis = GetVertAxis();
  return axis == nullptr ? 0 : axis->ValueToPixel(YValueAt(index));
}

bool TChartSeries::DrawnOnAxis(const TCustomChartAxis* axis) const {
  if (!UsesAxes() || axis == nullptr) return false;
  if (axis->IsHorizontal()) return m_horizAxis == aBothHorizAxis || GetHorizAxis() == axis;
  return m_vertAxis == aBothVertAxis || GetVertAxis() == axis;
}

void TChartSeries::DoBeforeDrawValues() {
  if (BeforeDrawValues) BeforeDrawValues(this);
}

void TChartSeries::DoAfterDrawValues() {
  if (AfterDrawValues) AfterDrawValues(this);
}

// A series with more points in view than the plot has pixels would draw most of them
// where it has drawn already: ten million points of a line in 3D are ten million
// ribbons on a few hundred thousand pixels, minutes of drawing that nobody sees. Then
// a point is drawn only where the series has not drawn a point yet in this pass (its
// pixel, or for a point outside the plot the pixel just outside the edge it lies
// beyond), and the first and last points and the null ones (which break a line) always.
// What is drawn is then bounded by the plot's pixels whatever the data. The picture is
// no longer exactly the one of every point (a line joins the points it keeps), so this
// waits until the points are beyond what any chart here draws exactly in good time.
PointPixelFilter::PointPixelFilter(const TRect& plot, std::int64_t points)
    : m_left(plot.left - 1),
      m_top(plot.top - 1),
      m_columns(std::max<std::int64_t>(1, static_cast<std::int64_t>(plot.right) - plot.left + 3)),
      m_rows(std::max<std::int64_t>(1, static_cast<std::int64_t>(plot.bottom) - plot.top + 3)) {
  if (points > std::max(kExactPoints, m_columns * m_rows)) m_lit.assign(static_cast<std::size_t>(m_columns * m_rows), false);
}

bool PointPixelFilter::FirstAt(int x, int y) {
  if (m_lit.empty()) return true;
  const std::int64_t column = std::clamp<std::int64_t>(static_cast<std::int64_t>(x) - m_left, 0, m_columns - 1);
  const std::int64_t row = std::clamp<std::int64_t>(static_cast<std::int64_t>(y) - m_top, 0, m_rows - 1);
  const auto cell = static_cast<std::size_t>(row * m_columns + column);
  if (m_lit[cell]) return false;
  m_lit[cell] = true;
  return true;
}

void TChartSeries::DrawAllPoints() {
  if (m_firstDrawnIndex < 0) return;
  PointPixelFilter filter(m_parentChart != nullptr ? m_parentChart->PlotRect() : TRect{},
                          static_cast<std::int64_t>(m_lastDrawnIndex) - m_firstDrawnIndex + 1);
  for (int i = m_firstDrawnIndex; i <= m_lastDrawnIndex; ++i) {
    const bool always = i == m_firstDrawnIndex || i == m_lastDrawnIndex || IsNullPoint(i);
    if (filter.Active() && !filter.FirstAt(PointXPixel(i), PointYPixel(i)) && !always) continue;
    DrawPoint(i);
  }
}

bool TChartSeries::ClickPoint(int valueIndex, TMouseButton button, TShiftState shift, int x, int y) {
  const TSeriesClick& handler = (shift & (1u << ssDouble)) != 0 ? OnDblClick : OnClick;
  if (!handler) return false;
  handler(this, valueIndex, button, shift, x, y);
  return true;
}

// [SECTION] Component steps and copying

void TChartSeries::SetParentComponent(TComponent* parent) {
  if (auto* chart = dynamic_cast<TCustomAxisPanel*>(parent)) SetParentChart(chart);
}

TComponent* TChartSeries::ParentComponent() const { return m_parentChart; }

void TChartSeries::Loaded() {
  TComponent::Loaded();
  if (m_parentChart != nullptr) m_parentChart->RefreshFromDataSource(this);
}

// The series drops its links itself while it is whole (destructor, DetachSeries);
// this catches a linked component that dies by any other way. A component that
// only changes owner is still alive and stays linked.
void TChartSeries::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != opRemove || !component->Destroying()) return;
  if (m_parentChart != nullptr && static_cast<TComponent*>(m_parentChart) == component) m_parentChart = nullptr;
  DataSourceDestroyed(component);
  std::erase_if(m_linkedSeries, [component](TChartSeries* s) { return static_cast<TComponent*>(s) == component; });
}

void TChartSeries::Assign(const TChartSeries& source) {
  if (&source == this) return;
  SetActive(source.m_active);
  SetColorEachPoint(source.m_colorEachPoint);
  SetColorSource(source.m_colorSource);
  SetCursor(source.m_cursor);
  SetHorizAxis(source.m_horizAxis);
  SetVertAxis(source.m_vertAxis);
  m_marks.Assign(source.m_marks);
  SetPercentFormat(source.m_percentFormat);
  SetSeriesColor(source.m_seriesColor);
  SetShowInLegend(source.m_showInLegend);
  SetTitle(source.m_title);
  SetValueFormat(source.m_valueFormat);
  SetXLabelsSource(source.m_xLabelsSource);
  SetDepthOrder(source.m_depthOrder);
  const int lists = std::min(m_valueLists.Count(), source.m_valueLists.Count());
  for (int k = 0; k < lists; ++k) m_valueLists.ValueList(k).Assign(source.m_valueLists.ValueList(k));
}

// [SECTION] Published properties

const PropertyTable& TChartSeries::PublishedProperties() {
  using S = TChartSeries;
  static const PropertyTable table(
      &TComponent::PublishedProperties(),
      {
          BoolProperty<S>("Active", &S::Active, &S::SetActive),
          BoolProperty<S>("ColorEachPoint", &S::ColorEachPoint, &S::SetColorEachPoint),
          StringProperty<S>("ColorSource", &S::ColorSource, &S::SetColorSource),
          EnumProperty<S, TCursor>("Cursor", &S::Cursor, &S::SetCursor, CursorNames()),
          EnumProperty<S, THorizAxis>("HorizAxis", &S::HorizAxis, &S::SetHorizAxis, HorizAxisNames()),
          ObjectProperty<S, TSeriesMarks>("Marks", static_cast<TSeriesMarks& (S::*)()>(&S::Marks)),
          ReferenceProperty<S, TCustomAxisPanel>("ParentChart", &S::ParentChart, &S::SetParentChart,
                                                 [](const S&) { return false; }),
          ReferenceProperty<S, TComponent>("DataSource", &S::DataSource, &S::SetDataSource,
                                           [](const S& s) { return s.DataSource() != nullptr; }),
          StringProperty<S>("PercentFormat", &S::PercentFormat, &S::SetPercentFormat),
          ColorProperty<S>("SeriesColor", &S::SeriesColor, &S::SetSeriesColor),
          BoolProperty<S>("ShowInLegend", &S::ShowInLegend, &S::SetShowInLegend),
          StringProperty<S>("Title", &S::Title, &S::SetTitle),
          StringProperty<S>("ValueFormat", &S::ValueFormat, &S::SetValueFormat),
          EnumProperty<S, TVertAxis>("VertAxis", &S::VertAxis, &S::SetVertAxis, VertAxisNames()),
          StringProperty<S>("XLabelsSource", &S::XLabelsSource, &S::SetXLabelsSource),
          EventProperty<S, TNotifyEvent>("AfterDrawValues", &S::AfterDrawValues),
          EventProperty<S, TNotifyEvent>("BeforeDrawValues", &S::BeforeDrawValues),
          EventProperty<S, TSeriesOnAfterAdd>("OnAfterAdd", &S::OnAfterAdd),
          EventProperty<S, TSeriesOnBeforeAdd>("OnBeforeAdd", &S::OnBeforeAdd),
          EventProperty<S, TSeriesOnClear>("OnClearValues", &S::OnClearValues),
          EventProperty<S, TSeriesClick>("OnClick", &S::OnClick),
          EventProperty<S, TSeriesClick>("OnDblClick", &S::OnDblClick),
          EventProperty<S, TSeriesOnGetMarkText>("OnGetMarkText", &S::OnGetMarkText),
      });
  return table;
}

}  // namespace tarvela
