#pragma once
/// TCustomAxisPanel is the chart with axes: the panel that holds the series list and
/// owns the five axes, and runs the inner drawing of every paint. It holds the
/// axis-level switches, the series list with its palette and legend queries
/// (series_list.cpp), the checks of series data sources (series_links.cpp), the axis
/// list with the automatic limits and paging (chart_axes.cpp), and the paint sequence:
/// its steps, the layout of the plot and the axes (chart_layout.cpp), the depth slots
/// of the series and the drawing of each series (series_paint.cpp).
///
/// The chart refers to its series and does not own them: a destroyed series leaves
/// the list, a destroyed chart leaves its series without a chart.
/// @file
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "tarvela/chart/axes/axis.h"
#include "tarvela/chart/data/chart_series.h"
#include "tarvela/chart/data/series_list.h"
#include "tarvela/chart/panel/panel.h"
#include "tarvela/runtime/locale_settings.h"

namespace tarvela {

class TCustomAxisPanel : public TCustomZavPanelExtended {
 public:
  explicit TCustomAxisPanel(TComponent* owner);
  ~TCustomAxisPanel() override;
  std::string_view ClassName() const override { return "TCustomAxisPanel"; }
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override { return PublishedProperties(); }

  // settings
  /// Draw axes at all.
  bool AxisVisible() const { return m_axisVisible; }
  void SetAxisVisible(bool visible) { Change(m_axisVisible, visible); }
  /// Clip series drawing to the 3D box.
  bool ClipPoints() const { return m_clipPoints; }
  void SetClipPoints(bool clip) { Change(m_clipPoints, clip); }
  /// Walls shown in 3D; also decides the back wall's thickness in the layout.
  bool View3DWalls() const { return m_view3DWalls; }
  void SetView3DWalls(bool walls) { Change(m_view3DWalls, walls); }
  /// A short last page is scaled to its own points.
  bool ScaleLastPage() const { return m_scaleLastPage; }
  void SetScaleLastPage(bool scale) { Change(m_scaleLastPage, scale); }

  // settings: axes and paging (chart_axes.cpp)
  /// The standard axes, created with the chart; assigning copies into the chart's own.
  TChartAxis& BottomAxis() { return *m_bottomAxis; }
  const TChartAxis& BottomAxis() const { return *m_bottomAxis; }
  void SetBottomAxis(const TChartAxis& axis) { m_bottomAxis->Assign(axis); }
  TChartAxis& TopAxis() { return *m_topAxis; }
  const TChartAxis& TopAxis() const { return *m_topAxis; }
  void SetTopAxis(const TChartAxis& axis) { m_topAxis->Assign(axis); }
  TChartAxis& LeftAxis() { return *m_leftAxis; }
  const TChartAxis& LeftAxis() const { return *m_leftAxis; }
  void SetLeftAxis(const TChartAxis& axis) { m_leftAxis->Assign(axis); }
  TChartAxis& RightAxis() { return *m_rightAxis; }
  const TChartAxis& RightAxis() const { return *m_rightAxis; }
  void SetRightAxis(const TChartAxis& axis) { m_rightAxis->Assign(axis); }
  /// Hidden unless asked for; shown only in 3D.
  TChartDepthAxis& DepthAxis() { return *m_depthAxis; }
  const TChartDepthAxis& DepthAxis() const { return *m_depthAxis; }
  void SetDepthAxis(const TChartDepthAxis& axis) { m_depthAxis->Assign(axis); }
  /// Points per page; 0 = no paging. ChartException "MaxPointsPerPage must be >= 0";
  /// a page beyond the new page count moves to the last page.
  int MaxPointsPerPage() const { return m_maxPointsPerPage; }
  void SetMaxPointsPerPage(int points);
  /// 1-based, held within 1..PageCount; a change fires OnPageChange.
  int Page() const { return m_page; }
  void SetPage(int page);
  TNotifyEvent OnPageChange;
  /// Not published: false puts every series in one common depth slot.
  bool StackInDepth() const { return m_stackInDepth; }
  void SetStackInDepth(bool stack) { Change(m_stackInDepth, stack); }

  /// Called with the chart during every paint: before the axes are drawn, before the
  /// series are drawn, and at its end.
  TNotifyEvent OnBeforeDrawAxes;
  TNotifyEvent OnBeforeDrawSeries;
  TNotifyEvent OnAfterDraw;
  /// The label events of every axis of the chart (axis.h).
  TAxisOnGetLabel OnGetAxisLabel;
  TAxisOnGetNextLabel OnGetNextAxisLabel;

  // operations
  void Assign(const TCustomZavPanel& source) override;
  /// The user's locale for label texts, asked at each conversion: the provider's
  /// answer, LocaleSettings::Dot() without one. The program sets the system locale.
  LocaleSettings Locale() const { return m_localeProvider ? m_localeProvider() : LocaleSettings::Dot(); }
  void SetLocaleProvider(std::function<LocaleSettings()> provider) { m_localeProvider = std::move(provider); }

  // operations: the series list (series_list.cpp)
  const TChartSeriesList& SeriesList() const { return m_seriesList; }
  /// "List index out of bounds (%d)" outside 0..SeriesTotal()-1.
  TChartSeries* SeriesAt(int index) const { return m_seriesList.Items(index); }
  int SeriesTotal() const { return m_seriesList.Count(); }
  int ActiveSeriesTotal() const;
  /// Appends series (once) after giving it a free colour if it has none and
  /// reloading it from its data source; the series' ParentChart becomes this chart.
  void AttachSeries(TChartSeries* series);
  /// Takes series out of the list and out of its sources' linked lists.
  void DetachSeries(TChartSeries* series);
  /// Takes each series out and destroys it; the series must live on the heap.
  void DestroyAllSeries();
  /// The first palette colour no series uses (nor, with checkBackground, the panel
  /// or back colour); clRed when all sixteen are taken.
  TColor FreeSeriesColor(bool checkBackground) const;
  bool ColorIsFree(TColor color, bool checkBackground) const;
  /// The largest PointCount among the active series; 0 when none is active.
  int LargestPointCount() const;
  /// The first active series drawn on axis, else the first series drawn on it at
  /// all; null when none is.
  TChartSeries* FirstSeriesOfAxis(const TCustomChartAxis* axis) const;
  /// The n-th (from 0) series that is Active and ShowInLegend; null when fewer.
  TChartSeries* LegendSeriesAt(int n) const;
  /// Its Title, else its Name, else "Series n"; empty when there is no such series.
  std::string LegendSeriesTitle(int n) const;
  /// The widest mark text of the active series in the canvas' current font
  /// (series_marks.cpp).
  int MaxMarkWidth();
  /// Nonzero only while the series of a paint are drawn, and new whenever a series
  /// changes meanwhile: what is worked out from all series can be kept while it stays.
  std::uint64_t DrawingStamp() const { return m_drawingStamp; }
  /// Told by a series that it changed (its Repaint).
  void SeriesChangedWhileDrawn();

  // operations: the paint sequence (chart_layout.cpp, series_paint.cpp); the state
  // they compute holds from one paint to the next
  /// The depth slot of every active series and the highest one: the first active
  /// series at the back, the last at the front (slot 0); all 0 in 2D or without
  /// stacking.
  void AssignDepthSlots();
  int MaxDepthSlot() const { return m_maxDepthSlot; }
  /// Another active series without Z values has the same ZOrder (never without
  /// stacking): the series of one slot are drawn point by point together.
  bool SharesDepthSlot(const TChartSeries& series) const;
  /// Active, and no active series before it in the list has the same ZOrder.
  bool FirstInDepthSlot(const TChartSeries& series) const;
  /// A new number whenever a series joins or leaves the list, is switched on or off or
  /// takes another DepthOrder, never one another chart had: what is worked out from the
  /// whole list can be kept while it stays.
  std::uint64_t SeriesArrangement() const { return m_seriesArrangement; }
  /// A new number whenever a value of one of its series changes (never 0): what is
  /// worked out from the values of many series can be kept while it stays.
  std::uint64_t ValuesRevision() const { return m_valuesRevision; }
  void SeriesValuesChanged() { ++m_valuesRevision; }
  void SeriesArrangementChanged();
  /// The slab of every active series from its slot, and its marks' depth.
  void SetSeriesDepths();
  /// The depth of one slot and of the whole box from Chart3DPercent and PlotWidth.
  void ComputeBoxDepth();
  int DepthOffsetX() const { return m_depthOffsetX; }
  int DepthOffsetY() const { return m_depthOffsetY; }
  /// The depth of the box, also the z of the back plane.
  int BoxDepthX() const { return m_boxDepthX; }
  int BoxDepthY() const { return m_boxDepthY; }
  /// The axis scales, the box depth, the plot shrunk so that the box's back face stays
  /// inside it and for the room of every shown axis, then the axes' pixel spans.
  void LayoutAxes();
  /// Widens the scales of the top, left, right and bottom axes for the margins the
  /// active series on them ask for, at their automatic ends only.
  void FitSeriesMargins();
  /// OnBeforeDrawAxes, then every shown axis with its line placed on the plot.
  void DrawAllAxes();
  /// The points (and marks) of one active series in its visible range, clipped to the
  /// box when ClipPoints; the series of a shared slot are drawn by its first one.
  void DrawOneSeries(TChartSeries& series);

  // operations: axes and paging (chart_axes.cpp)
  /// BottomAxis, TopAxis, LeftAxis, RightAxis, DepthAxis, then any axis added later.
  int AxisCount() const { return static_cast<int>(m_axes.size()); }
  /// "List index out of bounds (%d)" outside 0..AxisCount()-1.
  TCustomChartAxis& Axes(int index) const;
  /// Appends an axis made for this chart, which owns it from then on.
  TCustomChartAxis& AddAxis(std::unique_ptr<TCustomChartAxis> axis);
  /// The automatic limit of axis from the series: the lowest (wantMinimum) or highest
  /// X (horizontal) or Y value of the series on it, or of the points of the current
  /// page when paging; 0 when no series counts.
  double SeriesExtreme(const TCustomChartAxis& axis, bool wantMinimum, bool horizontal) const;
  /// 1 without paging or series; else the pages of the most points on the first
  /// series' independent axes.
  int PageCount() const;
  /// Whether axis is laid out and drawn: AxisVisible and its Visible; the depth axis
  /// then only in 3D, the others when no active series uses axes or an active one is
  /// drawn on it.
  virtual bool AxisShown(const TCustomChartAxis& axis) const;

  // operations: data sources (series_links.cpp)
  /// component is a series other than series, and series accepts it.
  virtual bool ValidDataSource(const TChartSeries* series, const TComponent* component) const;
  /// Unless series is loading: CopyAllFrom its DataSource when that is a series.
  void RefreshFromDataSource(TChartSeries* series);
  /// "Circular Series dependences are not allowed" when taking source as a data
  /// source of series would close a chain of sources.
  void CheckCircularSource(const TChartSeries* series, const TChartSeries* source) const;

  // overridable steps
  /// The inner drawing of one paint, in its fixed order.
  void DrawChartBody(const TRect& paintRect) override;
  /// The plot rectangle and each axis' scale and places.
  std::vector<double> PaintedLayout() const override;
  /// Title, foot (and legend) drawn, each taking its room from PlotRect; nothing here.
  virtual void PlaceTitlesAndLegend() {}
  /// The walls around the plot box; nothing here.
  virtual void DrawChartWalls() {}
  /// The rubber band of an active zoom drag, drawn again by a paint during the drag;
  /// nothing here.
  virtual void DrawZoomBand() {}
  /// The back wall's thickness, which the 3D box makes room for; 0 without walls.
  virtual int BackWallSize() const { return 0; }
  /// The thickness of the wall beside axis, which its ticks and line stand off by; 0
  /// without walls.
  virtual int WallSizeForAxis(const TCustomChartAxis&) const { return 0; }
  /// The values at the low and high edge of the plot along the axis that series
  /// uses in the given direction (chart_axes.cpp); empty while the chart cannot map
  /// pixels to values (that axis has no pixel span before the first layout), which
  /// makes every point of a series visible.
  virtual std::optional<TValueSpan> SeriesVisibleSpan(const TChartSeries& series, bool horizontal) const;
  /// A colour that a free series colour must not be when the background counts:
  /// the panel colour here, the back colour too in charts with walls.
  virtual bool IsBackgroundColor(TColor color) const { return color == Color(); }
  /// Switches the chart into the mode of a circled series (restore false: no axes,
  /// walls, clipping, zoom or panning) or back (restore true); in both directions a
  /// canvas that cannot rotate freely gets the fixed view of a pie.
  virtual void ApplyCircledMode(bool restore);
  /// The back colour behind hatched slices when a circled series names none: the
  /// panel colour here, the chart's back colour where it has one.
  virtual TColor CircleBackDefault() const { return Color(); }
  /// Told when series gives up its data source; nothing here.
  virtual void RemovedDataSource(TChartSeries* series, TComponent* source);

  void Notification(TComponent* component, TOperation operation) override;

 private:
  /// The five standard axes, in the order of the axis list (chart_axes.cpp).
  void CreateStandardAxes();
  /// Whether series are clipped to the 3D box: ClipPoints, where the panel allows it
  /// (series_paint.cpp).
  bool ClipsSeries() const;
  /// The series' marks while they are visible, clipped too when Marks.Clip asks.
  void DrawSeriesMarks(TChartSeries& series);

  // state
  bool m_axisVisible = true;
  bool m_clipPoints = true;
  bool m_view3DWalls = true;
  bool m_scaleLastPage = true;
  bool m_stackInDepth = true;
  TChartSeriesList m_seriesList;
  /// The axis list owns the axes; the five standard ones are also reached directly.
  std::vector<std::unique_ptr<TCustomChartAxis>> m_axes;
  TChartAxis* m_bottomAxis = nullptr;
  TChartAxis* m_topAxis = nullptr;
  TChartAxis* m_leftAxis = nullptr;
  TChartAxis* m_rightAxis = nullptr;
  TChartDepthAxis* m_depthAxis = nullptr;
  int m_maxPointsPerPage = 0;
  int m_page = 1;
  int m_maxDepthSlot = 0;
  int m_depthOffsetX = 0;
  int m_depthOffsetY = 0;
  int m_boxDepthX = 0;
  int m_boxDepthY = 0;
  std::function<LocaleSettings()> m_localeProvider;
  std::uint64_t m_seriesArrangement = 0;
  std::uint64_t m_valuesRevision = 1;
  /// The active series of each z order as the last AssignDepthSlots left them: how many
  /// have no Z values of their own, and the first in the list. Worked out on demand.
  struct TDepthSlab {
    int withoutZ = 0;
    const TChartSeries* first = nullptr;
  };
  mutable std::unordered_map<int, TDepthSlab> m_depthSlabs;
  mutable std::uint64_t m_depthSlabsArrangement = 0;  ///< 0: to be worked out again
  const TDepthSlab* DepthSlabOf(int z) const;
  std::uint64_t m_drawingStamp = 0;
  /// MaxMarkWidth by font for m_markWidthsStamp: every circled series asks for it, and
  /// each answer measures every mark of every series.
  std::uint64_t m_markWidthsStamp = 0;
  std::vector<std::pair<SurfaceFont, int>> m_markWidths;
  friend class TSeriesDrawing;
};

}  // namespace tarvela
