#include "tarvela/chart/data/series_list.h"

#include <algorithm>
#include <atomic>

#include "tarvela/chart/axes/axis_panel.h"
#include "tarvela/chart/data/chart_series.h"
#include "tarvela/chart/data/palette.h"
#include "tarvela/chart/messages.h"
#include "tarvela/runtime/exceptions.h"

namespace tarvela {

// [SECTION] TChartSeriesList

TChartSeries* TChartSeriesList::Items(int index) const {
  if (index < 0 || index >= Count()) ThrowListIndexError(index);
  return m_series[static_cast<std::size_t>(index)];
}

// From the end: series leave in the reverse of the order they joined when their owner
// destroys them, so each is found at once.
int TChartSeriesList::IndexOf(const TChartSeries* series) const {
  auto it = std::find(m_series.rbegin(), m_series.rend(), series);
  return static_cast<int>(m_series.rend() - it) - 1;
}

bool TChartSeriesList::Remove(const TChartSeries* series) {
  const int index = IndexOf(series);
  if (index < 0) return false;
  m_series.erase(m_series.begin() + index);
  return true;
}

// [SECTION] Joining and leaving

// The series outlive a chart when the form owns them: each forgets the chart while
// the chart is still whole, so no series is left pointing at it.
TCustomAxisPanel::~TCustomAxisPanel() {
  SetAutoRepaint(false);
  for (TChartSeries* series : m_seriesList) {
    series->m_parentChart = nullptr;
    RemoveFreeNotification(series);
    series->RemoveFreeNotification(this);
  }
}

void TCustomAxisPanel::AttachSeries(TChartSeries* series) {
  // Only a series that names this chart can be in its list: a new one is not looked for.
  if (series == nullptr || (series->m_parentChart == this && m_seriesList.Contains(series))) return;
  if (series->m_parentChart != nullptr && series->m_parentChart != this) series->m_parentChart->DetachSeries(series);
  if (series->SeriesColor() == clDefault) series->SetSeriesColor(FreeSeriesColor(true));
  series->m_parentChart = this;
  // Each hears of the other's destruction.
  FreeNotification(series);
  series->FreeNotification(this);
  series->RelinkDataSources();
  RefreshFromDataSource(series);
  m_seriesList.Add(series);
  SeriesArrangementChanged();
  Invalidate();
  series->ChartMembershipChanged(this, true);
}

void TCustomAxisPanel::DetachSeries(TChartSeries* series) {
  if (series == nullptr || !m_seriesList.Contains(series)) return;
  for (TComponent* source : series->m_dataSources)
    if (auto* sourceSeries = dynamic_cast<TChartSeries*>(source)) std::erase(sourceSeries->m_linkedSeries, series);
  series->m_parentChart = nullptr;
  RemoveFreeNotification(series);
  series->RemoveFreeNotification(this);
  m_seriesList.Remove(series);
  SeriesArrangementChanged();
  Invalidate();
  series->ChartMembershipChanged(this, false);
}

void TCustomAxisPanel::DestroyAllSeries() {
  while (m_seriesList.Count() > 0) {
    TChartSeries* series = m_seriesList.Items(0);
    series->SetParentChart(nullptr);
    delete series;  // leaves its component owner on the way
  }
}

void TCustomAxisPanel::Notification(TComponent* component, TOperation operation) {
  TCustomZavPanelExtended::Notification(component, operation);
  // A series normally leaves the list itself before it dies; this covers any other
  // way. Another owner taking the series over is no reason to drop it.
  if (operation != opRemove || !component->Destroying()) return;
  for (TChartSeries* series : m_seriesList) {
    if (static_cast<TComponent*>(series) == component) {
      m_seriesList.Remove(series);
      SeriesArrangementChanged();
      Invalidate();
      return;
    }
  }
}

// Counted across all charts: a cache worked out for one chart never matches another
// chart that takes its place in memory.
namespace {

std::uint64_t NextStamp() {
  static std::atomic<std::uint64_t> last{0};
  return ++last;
}

}  // namespace

void TCustomAxisPanel::SeriesArrangementChanged() {
  m_seriesArrangement = NextStamp();
  SeriesChangedWhileDrawn();
}

void TCustomAxisPanel::SeriesChangedWhileDrawn() {
  if (m_drawingStamp != 0) m_drawingStamp = NextStamp();
}

// [SECTION] Queries

int TCustomAxisPanel::ActiveSeriesTotal() const {
  return static_cast<int>(
      std::count_if(m_seriesList.begin(), m_seriesList.end(), [](const TChartSeries* s) { return s->Active(); }));
}

TColor TCustomAxisPanel::FreeSeriesColor(bool checkBackground) const {
  for (int i = 0; i < static_cast<int>(DefaultPalette.size()); ++i) {
    TColor color = PaletteColor(i);
    if (ColorIsFree(color, checkBackground)) return color;
  }
  return PaletteColor(static_cast<int>(DefaultPalette.size()));
}

bool TCustomAxisPanel::ColorIsFree(TColor color, bool checkBackground) const {
  for (const TChartSeries* series : m_seriesList)
    if (series->SeriesColor() == color) return false;
  return !(checkBackground && IsBackgroundColor(color));
}

int TCustomAxisPanel::LargestPointCount() const {
  int largest = 0;
  for (const TChartSeries* series : m_seriesList)
    if (series->Active()) largest = std::max(largest, series->PointCount());
  return largest;
}

TChartSeries* TCustomAxisPanel::FirstSeriesOfAxis(const TCustomChartAxis* axis) const {
  TChartSeries* firstOnAxis = nullptr;
  for (TChartSeries* series : m_seriesList) {
    if (!series->DrawnOnAxis(axis)) continue;
    if (series->Active()) return series;
    if (firstOnAxis == nullptr) firstOnAxis = series;
  }
  return firstOnAxis;
}

TChartSeries* TCustomAxisPanel::LegendSeriesAt(int n) const {
  if (n < 0) return nullptr;
  for (TChartSeries* series : m_seriesList) {
    if (!series->Active() || !series->ShowInLegend()) continue;
    if (n == 0) return series;
    --n;
  }
  return nullptr;
}

std::string TCustomAxisPanel::LegendSeriesTitle(int n) const {
  const TChartSeries* series = LegendSeriesAt(n);
  if (series == nullptr) return {};
  if (!series->Title().empty()) return series->Title();
  if (!series->Name().empty()) return series->Name();
  return FormatMessage(messages::kDefaultSeriesTitle, n);
}

}  // namespace tarvela
