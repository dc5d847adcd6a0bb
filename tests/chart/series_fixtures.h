#pragma once
// Small helpers the series tests share: an owner standing in for the form, and
// the values of a series read out as plain vectors.

#include <vector>

#include "tarvela/chart/chart.h"
#include "tarvela/chart/series/line_series.h"

namespace tarvela::test {

// A line series owned by owner, as a form owns its series; joined to chart when given.
inline TLineSeries* NewLine(TComponent& owner, TCustomAxisPanel* chart = nullptr) {
  auto* series = new TLineSeries(&owner);
  if (chart != nullptr) series->SetParentChart(chart);
  return series;
}

inline std::vector<double> XsOf(const TChartSeries& series) {
  std::vector<double> values;
  for (int i = 0; i < series.PointCount(); ++i) values.push_back(series.XValueAt(i));
  return values;
}

inline std::vector<double> YsOf(const TChartSeries& series) {
  std::vector<double> values;
  for (int i = 0; i < series.PointCount(); ++i) values.push_back(series.YValueAt(i));
  return values;
}

// Counts the repaint requests that reach the window hosting the chart.
struct RepaintCounter {
  explicit RepaintCounter(TCustomZavPanel& panel) {
    panel.HostInvalidate = [this] { ++count; };
  }
  int count = 0;
};

}  // namespace tarvela::test
