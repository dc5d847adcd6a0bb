#pragma once
/// TChartSeriesList is a chart's ordered list of series references: the index of a
/// series is its place in the list, in the order the series joined the chart. The
/// list does not own its series (their component owner does). The chart's
/// operations on it (SeriesAt, AttachSeries, FreeSeriesColor...) are members of
/// TCustomAxisPanel and live in series_list.cpp.
/// @file
#include <vector>

namespace tarvela {

class TChartSeries;

class TChartSeriesList {
 public:
  int Count() const { return static_cast<int>(m_series.size()); }
  /// "List index out of bounds (%d)" outside 0..Count()-1.
  TChartSeries* Items(int index) const;
  int IndexOf(const TChartSeries* series) const;
  bool Contains(const TChartSeries* series) const { return IndexOf(series) >= 0; }
  auto begin() const { return m_series.begin(); }
  auto end() const { return m_series.end(); }

  // operations
  void Add(TChartSeries* series) { m_series.push_back(series); }
  /// False when the series was not in the list.
  bool Remove(const TChartSeries* series);

 private:
  // state
  std::vector<TChartSeries*> m_series;
};

}  // namespace tarvela
