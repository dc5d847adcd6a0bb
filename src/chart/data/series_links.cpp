#include "tarvela/chart/data/series_links.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

#include "tarvela/chart/axes/axis_panel.h"
#include "tarvela/chart/data/chart_series.h"
#include "tarvela/chart/data/zav_function.h"
#include "tarvela/chart/messages.h"
#include "tarvela/runtime/exceptions.h"

namespace tarvela {

// Contents:
//   [SECTION] Data sources of a series
//   [SECTION] Following a source
//   [SECTION] Function
//   [SECTION] The chart's checks
//
// A link B → A (A among B's DataSources, B among A's LinkedSeries) is kept at both
// ends by the series themselves; each end also subscribes to the other's free
// notification so that no path of destruction leaves a pointer behind.

namespace {

template <class List, class T>
bool Contains(const List& list, const T* item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

}  // namespace

// [SECTION] Data sources of a series

void TChartSeries::CheckDataSource(TComponent* source) const {
  if (m_parentChart == nullptr) throw ChartException(messages::kNoParentChartForDataSource);
  if (!m_parentChart->ValidDataSource(this, source))
    throw ChartException(FormatMessage(messages::kNoValidDataSource, source->Name()));
}

// Each check runs before anything changes, so a refused source leaves the
// present ones as they were.
void TChartSeries::SetDataSource(TComponent* source) {
  if (source == nullptr) {
    if (m_dataSources.empty()) return;
    if (m_parentChart != nullptr) m_parentChart->RemovedDataSource(this, DataSource());
    RemoveAllDataSources();
    ClearPoints();
    Repaint();
    return;
  }
  CheckDataSource(source);
  if (Contains(m_dataSources, source)) return;
  if (auto* sourceSeries = dynamic_cast<TChartSeries*>(source)) m_parentChart->CheckCircularSource(this, sourceSeries);
  // While a description is read its sources accumulate; Loaded reloads once.
  if (!Loading()) RemoveAllDataSources();
  LinkDataSource(source);
  if (!Loading()) m_parentChart->RefreshFromDataSource(this);
}

void TChartSeries::AddDataSource(TComponent* source) {
  if (source == nullptr) return;
  CheckDataSource(source);
  if (Contains(m_dataSources, source)) return;
  if (auto* sourceSeries = dynamic_cast<TChartSeries*>(source)) m_parentChart->CheckCircularSource(this, sourceSeries);
  LinkDataSource(source);
  if (!Loading()) m_parentChart->RefreshFromDataSource(this);
}

void TChartSeries::LinkDataSource(TComponent* source) {
  m_dataSources.push_back(source);
  source->FreeNotification(this);
  if (auto* sourceSeries = dynamic_cast<TChartSeries*>(source)) {
    if (!Contains(sourceSeries->m_linkedSeries, this)) sourceSeries->m_linkedSeries.push_back(this);
    ++sourceSeries->m_dependentCount;
    FreeNotification(sourceSeries);
  }
}

void TChartSeries::UnlinkDataSource(TComponent* source) {
  const auto removed = static_cast<int>(std::erase(m_dataSources, source));
  auto* sourceSeries = dynamic_cast<TChartSeries*>(source);
  if (sourceSeries != nullptr) {
    std::erase(sourceSeries->m_linkedSeries, this);
    sourceSeries->m_dependentCount -= removed;
  }
  // No other link joins the two: the circular check keeps this series out of source's sources.
  source->RemoveFreeNotification(this);
  RemoveFreeNotification(source);
}

void TChartSeries::RemoveAllDataSources() {
  while (!m_dataSources.empty()) UnlinkDataSource(m_dataSources.back());
}

void TChartSeries::RelinkDataSources() {
  for (TComponent* source : m_dataSources)
    if (auto* sourceSeries = dynamic_cast<TChartSeries*>(source); sourceSeries != nullptr && !Contains(sourceSeries->m_linkedSeries, this))
      sourceSeries->m_linkedSeries.push_back(this);
}

// The points stay: the series only loses the source, and reloads when another
// series source remains. source may be dying, so it is only compared, never used.
void TChartSeries::DataSourceDestroyed(TComponent* source) {
  if (std::erase(m_dataSources, source) == 0) return;
  if (auto* next = dynamic_cast<TChartSeries*>(DataSource()); next != nullptr && !Loading()) CopyAllFrom(next);
}

void TChartSeries::DropAllLinks() {
  RemoveAllDataSources();
  std::vector<TChartSeries*> linked = std::exchange(m_linkedSeries, {});
  for (TChartSeries* series : linked) {
    RemoveFreeNotification(series);
    series->RemoveFreeNotification(this);
    series->DataSourceDestroyed(this);
  }
}

// [SECTION] Following a source

void TChartSeries::NotifyLinkedSeries(TSourceChange change, int index) {
  // By index: a reaction may change the links.
  for (std::size_t k = 0; k < m_linkedSeries.size(); ++k) {
    TChartSeries* linked = m_linkedSeries[k];
    // Its Loaded reloads everything from its source once the whole description is
    // read; following now as well would reload a chain once per link above it.
    if (linked->Loading()) continue;
    const TFollowFlags follow = linked->m_followFlags;
    switch (change) {
      case TSourceChange::Cleared:
        if (follow & FollowFlagBit(FollowClears)) linked->ClearPoints();
        break;
      case TSourceChange::PointInserted:
        if ((follow & FollowFlagBit(FollowInserts)) && linked->m_function == nullptr) linked->SourcePointAdded(this, index);
        break;
      case TSourceChange::PointDeleted:
        if ((follow & FollowFlagBit(FollowDeletes)) && linked->m_function == nullptr) linked->SourcePointDeleted(this, index);
        break;
      case TSourceChange::ValueChanged:
        if (follow & FollowFlagBit(FollowChanges)) linked->CopyAllFrom(this);
        break;
      case TSourceChange::AllChanged:
        linked->CopyAllFrom(this);
        break;
    }
  }
}

// The copied point gets no colour or label of its own; entries are inserted only
// where the lists reach that far, so the entries of later points stay with them.
int TChartSeries::CopyPointFrom(TChartSeries* source, int index) {
  double x = source->XValueAt(index);
  double y = source->YValueAt(index);
  if (YIsMandatory() != source->YIsMandatory()) std::swap(x, y);
  int place = m_xValues.AddInOrder(x);
  m_yValues.InsertValueAt(place, y);
  for (int k = 2; k < m_valueLists.Count(); ++k) {
    // A source without that list gives 0, so all lists keep one length.
    double value = k < source->m_valueLists.Count() ? source->m_valueLists.ValueList(k).ValueAt(index) : 0.0;
    m_valueLists.ValueList(k).InsertValueAt(place, value);
  }
  InsertColorAndLabel(place, clDefault, {});
  return place;
}

void TChartSeries::SourcePointAdded(TChartSeries* source, int index) {
  int place = CopyPointFrom(source, index);
  if (index < source->ColorEntryCount()) StoreColor(place, source->m_colors[static_cast<std::size_t>(index)]);
  StoreLabel(place, source->PointLabel(index));
  NotifyPointAdded(this, place);
}

void TChartSeries::ClearPointsBeforeReload() {
  ClearValueLists();
  if (OnClearValues) OnClearValues(this);
  if (m_active) Repaint();
}

void TChartSeries::CopyAllFrom(TChartSeries* source) {
  if (source == nullptr || !IsValidSourceOf(source)) return;
  // Each linked series reloads when this one is done (every series may take this one
  // as its source), and that reload clears it: telling them of the clearing as well
  // would clear everything below once more for each link of a chain.
  ClearPointsBeforeReload();
  if (m_function != nullptr) {
    m_xValues.SetDateTime(source->m_xValues.DateTime());
    m_yValues.SetDateTime(source->m_yValues.DateTime());
    m_function->AddFunctionPoints(source);
  } else {
    const int count = source->PointCount();
    for (int i = 0; i < count; ++i) CopyPointFrom(source, i);
  }
  NotifyLinkedSeries(TSourceChange::AllChanged);
}

// [SECTION] Function

void TChartSeries::SetFunction(std::unique_ptr<TZavFunction> function) {
  if (function != nullptr && function.get() == m_function.get()) {
    (void)function.release();  // already ours; two owners would free it twice
    return;
  }
  if (m_function != nullptr) m_function->m_parentSeries = nullptr;
  m_function = std::move(function);
  if (m_function != nullptr) {
    if (TComponent* owner = m_function->Owner()) owner->RemoveComponent(m_function.get());
    m_function->m_parentSeries = this;
  }
  if (m_parentChart != nullptr) m_parentChart->RefreshFromDataSource(this);
}

std::unique_ptr<TZavFunction> TChartSeries::TakeFunction() {
  if (m_function != nullptr) m_function->m_parentSeries = nullptr;
  return std::move(m_function);
}

// [SECTION] The chart's checks

bool TCustomAxisPanel::ValidDataSource(const TChartSeries* series, const TComponent* component) const {
  auto* source = dynamic_cast<const TChartSeries*>(component);
  return source != nullptr && source != series && series->IsValidSeriesSource(source);
}

void TCustomAxisPanel::RefreshFromDataSource(TChartSeries* series) {
  if (series == nullptr || series->Loading()) return;
  if (auto* source = dynamic_cast<TChartSeries*>(series->DataSource())) series->CopyAllFrom(source);
}

// Any of source's sources, not only its first, closing the chain counts: a series
// with several sources (a function over them) could otherwise close a loop that
// reloads without end. Each source is looked at once, however many paths lead to it,
// and a series that is nobody's source closes nothing: a chain read link by link
// checks each link at once.
void TCustomAxisPanel::CheckCircularSource(const TChartSeries* series, const TChartSeries* source) const {
  if (series->m_dependentCount == 0) return;
  std::unordered_set<const TChartSeries*> seen{source};
  std::vector<const TChartSeries*> pending{source};
  while (!pending.empty()) {
    const TChartSeries* next = pending.back();
    pending.pop_back();
    const std::vector<TComponent*>& sources = next->DataSources();
    if (Contains(sources, static_cast<const TComponent*>(series))) throw ChartException(messages::kCircularSeries);
    for (const TComponent* further : sources)
      if (auto* furtherSeries = dynamic_cast<const TChartSeries*>(further); furtherSeries != nullptr && seen.insert(furtherSeries).second)
        pending.push_back(furtherSeries);
  }
}

void TCustomAxisPanel::RemovedDataSource(TChartSeries*, TComponent*) {}

}  // namespace tarvela
