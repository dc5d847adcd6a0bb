#pragma once
// TCustomAxisPanel is the chart with axes: the panel that holds the series list and
// will own the five axes and run the inner drawing of every paint. For now it holds
// the axis-level switches, the series list with its palette and legend queries
// (series_list.cpp) and the checks of series data sources (series_links.cpp); the
// axes and paging come later.
//
// The chart refers to its series and does not own them: a destroyed series leaves
// the list, a destroyed chart leaves its series without a chart.

#include <optional>
#include <string>

#include "chart/chart_series.h"
#include "chart/panel.h"
#include "chart/series_list.h"

namespace tarvela {

class TCustomAxisPanel : public TCustomZavPanelExtended {
 public:
  explicit TCustomAxisPanel(TComponent* owner);
  ~TCustomAxisPanel() override;
  std::string_view ClassName() const override { return "TCustomAxisPanel"; }
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override { return PublishedProperties(); }

  // settings
  // Draw axes at all.
  bool AxisVisible() const { return m_axisVisible; }
  void SetAxisVisible(bool visible) { Change(m_axisVisible, visible); }
  // Clip series drawing to the 3D box.
  bool ClipPoints() const { return m_clipPoints; }
  void SetClipPoints(bool clip) { Change(m_clipPoints, clip); }
  // Walls shown in 3D; also decides the back wall's thickness in the layout.
  bool View3DWalls() const { return m_view3DWalls; }
  void SetView3DWalls(bool walls) { Change(m_view3DWalls, walls); }
  // A short last page is scaled to its own points.
  bool ScaleLastPage() const { return m_scaleLastPage; }
  void SetScaleLastPage(bool scale) { Change(m_scaleLastPage, scale); }

  // operations
  void Assign(const TCustomZavPanel& source) override;

  // operations: the series list (series_list.cpp)
  const TChartSeriesList& SeriesList() const { return m_seriesList; }
  // "List index out of bounds (%d)" outside 0..SeriesTotal()-1.
  TChartSeries* SeriesAt(int index) const { return m_seriesList.Items(index); }
  int SeriesTotal() const { return m_seriesList.Count(); }
  int ActiveSeriesTotal() const;
  // Appends series (once) after giving it a free colour if it has none and
  // reloading it from its data source; the series' ParentChart becomes this chart.
  void AttachSeries(TChartSeries* series);
  // Takes series out of the list and out of its sources' linked lists.
  void DetachSeries(TChartSeries* series);
  // Takes each series out and destroys it; the series must live on the heap.
  void DestroyAllSeries();
  // The first palette colour no series uses (nor, with checkBackground, the panel
  // or back colour); clRed when all sixteen are taken.
  TColor FreeSeriesColor(bool checkBackground) const;
  bool ColorIsFree(TColor color, bool checkBackground) const;
  // The largest PointCount among the active series; 0 when none is active.
  int LargestPointCount() const;
  // The first active series drawn on axis, else the first series drawn on it at
  // all; null when none is.
  TChartSeries* FirstSeriesOfAxis(TStandardAxis axis) const;
  // The n-th (from 0) series that is Active and ShowInLegend; null when fewer.
  TChartSeries* LegendSeriesAt(int n) const;
  // Its Title, else its Name, else "Series n"; empty when there is no such series.
  std::string LegendSeriesTitle(int n) const;

  // operations: data sources (series_links.cpp)
  // component is a series other than series, and series accepts it.
  virtual bool ValidDataSource(const TChartSeries* series, const TComponent* component) const;
  // Unless series is loading: CopyAllFrom its DataSource when that is a series.
  void RefreshFromDataSource(TChartSeries* series);
  // "Circular Series dependences are not allowed" when taking source as a data
  // source of series would close a chain of sources.
  void CheckCircularSource(const TChartSeries* series, const TChartSeries* source) const;

  // overridable steps
  // The values at the low and high edge of the plot along the axis that series
  // uses in the given direction; empty while the chart cannot map pixels to values
  // (no axes yet), which makes every point of a series visible.
  virtual std::optional<TValueSpan> SeriesVisibleSpan(const TChartSeries& series, bool horizontal) const;
  // A colour that a free series colour must not be when the background counts:
  // the panel colour here, the back colour too in charts with walls.
  virtual bool IsBackgroundColor(TColor color) const { return color == Color(); }
  // Told when series gives up its data source; nothing here.
  virtual void RemovedDataSource(TChartSeries* series, TComponent* source);

  void Notification(TComponent* component, TOperation operation) override;

 private:
  // state
  bool m_axisVisible = true;
  bool m_clipPoints = true;
  bool m_view3DWalls = true;
  bool m_scaleLastPage = true;
  TChartSeriesList m_seriesList;
};

}  // namespace tarvela
