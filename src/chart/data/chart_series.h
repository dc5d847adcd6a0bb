#pragma once
/// TChartSeries is the base of every series: the points (one value per value list,
/// plus an optional colour and an optional label each), adding in order, deleting
/// and clearing with their notifications, point colours and null points, the
/// visible index range, the chart it belongs to, and the data links through which
/// it follows other series (series_links.cpp).
///
/// Not a drawing: the drawing steps are empty virtual hooks that the series types
/// fill in. Not owned by its chart: the series' component owner (the form) owns it,
/// the chart's series list only refers to it; each side hears of the other's
/// destruction through the component base's free notification.
///
/// Storage: one array of double per value list; colours and labels are arrays that
/// may be shorter than the point count (a missing entry reads as no colour of its
/// own, or no label), so points added without a label or own colour cost nothing
/// there.
/// @file
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tarvela/chart/data/series_links.h"
#include "tarvela/chart/data/series_marks.h"
#include "tarvela/chart/data/value_list.h"
#include "tarvela/platform/surface_types.h"  // TBrushStyle
#include "tarvela/runtime/colors.h"
#include "tarvela/runtime/component.h"
#include "tarvela/runtime/control.h"  // TMouseButton, TShiftState
#include "tarvela/runtime/properties.h"

namespace tarvela {

class TChartAxis;
class TCustomAxisPanel;
class TCustomChartAxis;
class TZavFunction;
// legend.h; opaque here so that the series base does not depend on the legend.
enum TLegendTextStyle : int;

enum THorizAxis { aTopAxis, aBottomAxis, aBothHorizAxis, aCustomHorizAxis };
enum TVertAxis { aLeftAxis, aRightAxis, aBothVertAxis, aCustomVertAxis };
const EnumNames<THorizAxis>& HorizAxisNames();
const EnumNames<TVertAxis>& VertAxisNames();

/// The values at the low and the high edge of the plot along one axis.
struct TValueSpan {
  double low = 0;
  double high = 0;
};

/// Which points of a pass are worth drawing when the pass has more points than both the
/// plot's pixels and kExactPoints: the first one on each pixel of the plot, or of the
/// frame of pixels just outside it for points beyond the plot. Inactive (every point
/// drawn, the picture exact) for fewer.
class PointPixelFilter {
 public:
  /// Up to here every point is drawn: a few million primitives are seconds, not minutes,
  /// and a picture of them must be the exact one.
  static constexpr std::int64_t kExactPoints = 2'000'000;

  PointPixelFilter(const TRect& plot, std::int64_t points);
  bool Active() const { return !m_lit.empty(); }
  /// True the first time a point falls on this pixel; always true when inactive.
  bool FirstAt(int x, int y);

 private:
  std::int64_t m_left, m_top, m_columns, m_rows;
  std::vector<bool> m_lit;
};

class TChartSeries;
using TSeriesOnAfterAdd = std::function<void(TChartSeries* sender, int valueIndex)>;
/// False cancels the add.
using TSeriesOnBeforeAdd = std::function<bool(TChartSeries* sender)>;
using TSeriesOnClear = std::function<void(TChartSeries* sender)>;
using TSeriesClick = std::function<void(TChartSeries* sender, int valueIndex, TMouseButton button,
                                        TShiftState shift, int x, int y)>;
using TSeriesOnGetMarkText = std::function<void(TChartSeries* sender, int valueIndex, std::string& markText)>;

class TChartSeries : public TComponent {
 public:
  explicit TChartSeries(TComponent* owner);
  /// Releases the function, drops the data links both ways (a linked series keeps
  /// its points and reloads from its next series source, if any), releases the
  /// points and leaves the chart. No event of this series fires on the way.
  ~TChartSeries() override;
  std::string_view ClassName() const override { return "TChartSeries"; }
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override { return PublishedProperties(); }

  // settings (published)
  /// Drawn and counted.
  bool Active() const { return m_active; }
  virtual void SetActive(bool active);
  /// Points without their own colour take palette colours. Switching it off also
  /// resets every point's own colour to clDefault.
  bool ColorEachPoint() const { return m_colorEachPoint; }
  virtual void SetColorEachPoint(bool colorEachPoint);
  const std::string& ColorSource() const { return m_colorSource; }
  void SetColorSource(const std::string& source) { Change(m_colorSource, source); }
  TCursor Cursor() const { return m_cursor; }
  void SetCursor(TCursor cursor) { Change(m_cursor, cursor); }
  THorizAxis HorizAxis() const { return m_horizAxis; }
  void SetHorizAxis(THorizAxis axis) { Change(m_horizAxis, axis); }
  TSeriesMarks& Marks() { return m_marks; }
  const TSeriesMarks& Marks() const { return m_marks; }
  void SetMarks(const TSeriesMarks& marks) { m_marks.Assign(marks); }
  /// Leaves the old chart's series list, joins the new one's (not stored).
  TCustomAxisPanel* ParentChart() const { return m_parentChart; }
  virtual void SetParentChart(TCustomAxisPanel* chart);
  /// The first of DataSources. Setting it checks the source with the chart, replaces
  /// all sources and reloads; null drops the sources and clears the points.
  TComponent* DataSource() const { return m_dataSources.empty() ? nullptr : m_dataSources.front(); }
  void SetDataSource(TComponent* source);
  const std::string& PercentFormat() const { return m_percentFormat; }
  void SetPercentFormat(const std::string& format) { Change(m_percentFormat, format); }
  /// clDefault until the series joins a chart, which gives it a free palette colour.
  TColor SeriesColor() const { return m_seriesColor; }
  virtual void SetSeriesColor(TColor color);
  bool ShowInLegend() const { return m_showInLegend; }
  void SetShowInLegend(bool show) { Change(m_showInLegend, show); }
  const std::string& Title() const { return m_title; }
  void SetTitle(const std::string& title) { Change(m_title, title); }
  const std::string& ValueFormat() const { return m_valueFormat; }
  void SetValueFormat(const std::string& format) { Change(m_valueFormat, format); }
  TVertAxis VertAxis() const { return m_vertAxis; }
  void SetVertAxis(TVertAxis axis) { Change(m_vertAxis, axis); }
  const std::string& XLabelsSource() const { return m_xLabelsSource; }
  void SetXLabelsSource(const std::string& source) { Change(m_xLabelsSource, source); }

  // events (published)
  TNotifyEvent AfterDrawValues;
  TNotifyEvent BeforeDrawValues;
  TSeriesOnAfterAdd OnAfterAdd;
  TSeriesOnBeforeAdd OnBeforeAdd;
  TSeriesOnClear OnClearValues;
  TSeriesClick OnClick;
  TSeriesClick OnDblClick;
  TSeriesOnGetMarkText OnGetMarkText;

  // settings (not published)
  TChartValueList& XValues() { return m_xValues; }
  const TChartValueList& XValues() const { return m_xValues; }
  TChartValueList& YValues() { return m_yValues; }
  const TChartValueList& YValues() const { return m_yValues; }
  TChartValueLists& ValueLists() { return m_valueLists; }
  const TChartValueLists& ValueLists() const { return m_valueLists; }
  /// Compute the visible range from the axis limits rather than taking every point.
  bool ClipToVisibleRange() const { return m_clipToVisibleRange; }
  void SetClipToVisibleRange(bool clip) { m_clipToVisibleRange = clip; }
  /// Keep the first point beyond the far edge in the visible range (joined points).
  bool ReachPastEnd() const { return m_reachPastEnd; }
  void SetReachPastEnd(bool reach) { m_reachPastEnd = reach; }
  /// Depth slot in a 3D chart; -1 lets the chart assign one.
  int DepthOrder() const { return m_depthOrder; }
  void SetDepthOrder(int order);
  /// Whether a series with one point may be drawn (a computed level line needs two).
  bool AllowSinglePoint() const { return m_allowSinglePoint; }
  TFollowFlags FollowFlags() const { return m_followFlags; }
  void SetFollowFlags(TFollowFlags flags) { m_followFlags = flags; }

  // operations: adding and removing points
  /// Index of the new point, or -1 when OnBeforeAdd refused it. An empty label is
  /// stored as no label.
  virtual int AddPointXY(double x, double y, std::string_view label = {}, TColor color = clDefault);
  /// AddPointY when YIsMandatory, else AddPointX.
  virtual int AddPoint(double value, std::string_view label = {}, TColor color = clDefault);
  /// X (or Y) is the point count before the add.
  int AddPointY(double y, std::string_view label = {}, TColor color = clDefault);
  int AddPointX(double x, std::string_view label = {}, TColor color = clDefault);
  virtual int AddNullPoint(std::string_view label = {});
  virtual int AddNullPointXY(double x, double y, std::string_view label = {});
  /// "List index out of bounds (%d)" for an index outside the points, with nothing changed.
  virtual void DeletePoint(int index);
  virtual void ClearPoints();
  /// Exchanges two points in every value list, the colours and the labels.
  virtual void SwapPoints(int a, int b);
  /// Replaces the points by count random ones; a chart designer's aid.
  virtual void FillSampleValues(int count);
  virtual int NumSampleValues() const { return 26; }

  // operations: reading points
  int PointCount() const { return m_xValues.ValueCount(); }
  virtual double XValueAt(int index) const { return m_xValues.ValueAt(index); }
  virtual double YValueAt(int index) const { return m_yValues.ValueAt(index); }
  /// Own colour; clDefault resolves to the palette (ColorEachPoint) or SeriesColor.
  virtual TColor PointColor(int index) const;
  void SetPointColor(int index, TColor color);
  bool IsNullPoint(int index) const { return PointColor(index) == clNone; }
  /// Empty when the point has none.
  virtual const std::string& PointLabel(int index) const;
  /// How many points have a colour or label entry (the rest have none).
  int ColorEntryCount() const { return static_cast<int>(m_colors.size()); }
  int LabelEntryCount() const { return static_cast<int>(m_labels.size()); }
  /// Bytes reserved for the points: every value list, the colours and the label
  /// entries (not the text of labels too long to sit inside their entry).
  std::size_t AllocatedBytes() const;
  virtual double HighestX() const { return m_xValues.MaximumValue(); }
  virtual double HighestY() const { return m_yValues.MaximumValue(); }
  virtual double HighestZ() const { return m_depthOrder; }
  virtual double LowestX() const { return m_xValues.MinimumValue(); }
  virtual double LowestY() const { return m_yValues.MinimumValue(); }
  virtual double LowestZ() const { return m_depthOrder; }
  /// Whether the points carry their own depth (a Z value list); none of the series
  /// here do, so their depth is their DepthOrder.
  virtual bool HasZValues() const { return false; }
  /// In a 3D chart, an active series earlier in the list whose depth slot this one
  /// shares rather than taking one of its own (bars grouped side by side or stacked,
  /// stacked areas stand in one slab); null (or itself) for a slot of its own.
  virtual const TChartSeries* DepthSlotLeader() const { return nullptr; }
  /// The list a point's value lives in (YValues for X/Y series); the other one holds
  /// the independent coordinate.
  virtual const TChartValueList& MandatoryList() const { return m_yValues; }
  bool YIsMandatory() const { return &MandatoryList() == &m_yValues; }
  const TChartValueList& NotMandatoryList() const { return YIsMandatory() ? m_xValues : m_yValues; }
  /// A list from index 2 on with that name (letter case ignored); YValues when none.
  virtual const TChartValueList& ValueListByName(std::string_view name) const;
  virtual double MarkValue(int index) const { return MandatoryList().ValueAt(index); }
  /// What the marks' percentages are shares of: the sum of the absolute values.
  virtual double MarksTotal() const { return MandatoryList().TotalAbsSum(); }
  /// The text of point index's mark in Marks.Style, then OnGetMarkText; empty means no
  /// mark (series_marks.cpp).
  std::string MarkText(int index);
  /// The widest MarkText of all points in the canvas' current font; 0 without points
  /// or chart.
  int WidestMarkText();
  virtual double OriginValue(int index) const { return MarkValue(index); }

  // operations: legend, axes and drawing order
  virtual int LegendItemCount() const { return PointCount(); }
  virtual int LegendToPointIndex(int n) const { return n; }
  virtual TColor LegendEntryColor(int index) const { return PointColor(index); }
  /// The text of legend item n in style: label, value, percent or X value (legend.cpp).
  virtual std::string LegendValueText(int n, TLegendTextStyle style) const;
  /// The legend symbol of the series (pointIndex -1) or of one point in rect: the fill
  /// brush from the series colour and the legend's back colour, then DrawLegendSymbol
  /// (legend_paint.cpp).
  void PaintLegendSymbol(int pointIndex, const TRect& rect);
  /// Before the symbol: the series may set the canvas pen and change the fill's
  /// background colour and style; nothing here.
  virtual void PrepareLegendSymbol(int valueIndex, TColor& backColor, TBrushStyle& brushStyle);
  /// Rect drawn with the canvas pen and brush, again with a clear brush when the fill
  /// would vanish into the legend's back colour.
  virtual void DrawLegendSymbol(int valueIndex, const TRect& rect);
  /// Drawn against axes at all (false for circled series).
  virtual bool UsesAxes() const { return true; }
  /// The chart's axes that HorizAxis and VertAxis name: TopAxis for aTopAxis, else
  /// BottomAxis; RightAxis for aRightAxis, else LeftAxis. Null without a chart.
  TChartAxis* GetHorizAxis() const;
  TChartAxis* GetVertAxis() const;
  /// UsesAxes, and the axis is this series' axis in its direction, or any axis of that
  /// direction for aBothHorizAxis / aBothVertAxis.
  virtual bool DrawnOnAxis(const TCustomChartAxis* axis) const;
  virtual bool PointsForward() const { return true; }
  virtual bool SeriesForward(int) const { return true; }
  /// Pixels the axes leave free at their ends so that the drawing of the first and
  /// last points fits; none here (the series types that draw wider say how much).
  virtual void HorizMargins(int& left, int& right) const { left = right = 0; }
  virtual void VertMargins(int& top, int& bottom) const { top = bottom = 0; }
  /// Index of the point under (x, y), -1 for none.
  virtual int HitTest(int, int) const { return -1; }
  /// The point's X and Y values through the series' horizontal and vertical axis; 0
  /// without a chart.
  virtual int PointXPixel(int index) const;
  virtual int PointYPixel(int index) const;

  // operations: visible range
  /// Sets FirstDrawnIndex and LastDrawnIndex from the chart's visible values along
  /// the independent axis; while the chart cannot map pixels to values (or without
  /// a chart) every point is visible.
  void FindVisibleRange();
  int FirstDrawnIndex() const { return m_firstDrawnIndex; }
  int LastDrawnIndex() const { return m_lastDrawnIndex; }

  // operations: depth in a 3D chart, set by the chart's paint (chart_layout.cpp) and
  // kept until the next one
  /// The series' slot counted from the front (0); 0 in 2D.
  int DepthSlot() const { return m_depthSlot; }
  /// Its slab in pixels of depth: front = slot x the depth of one slot.
  int DepthFront() const { return m_depthFront; }
  int DepthBack() const { return m_depthBack; }
  int DepthMiddle() const { return m_depthMiddle; }
  /// What series of one slab share: DepthOrder when fixed, else DepthSlot.
  int ZOrder() const { return m_depthOrder != -1 ? m_depthOrder : m_depthSlot; }

  // operations: data sources and links (series_links.cpp)
  const std::vector<TComponent*>& DataSources() const { return m_dataSources; }
  /// Adds a further source (a function reads them all) with the checks of
  /// SetDataSource, keeping the present ones.
  void AddDataSource(TComponent* source);
  /// The series that have this one among their sources, in the order linked.
  const std::vector<TChartSeries*>& LinkedSeries() const { return m_linkedSeries; }
  /// Copies point index of source into its ordered place; returns that place.
  virtual int CopyPointFrom(TChartSeries* source, int index);
  /// CopyPointFrom, then the source's colour and label of the point, then the
  /// after-add notification.
  virtual void SourcePointAdded(TChartSeries* source, int index);
  /// Clears, then copies every point of source (or lets the function compute them),
  /// then tells its own linked series that everything changed.
  virtual void CopyAllFrom(TChartSeries* source);
  virtual void SourcePointDeleted(TChartSeries*, int index) { DeletePoint(index); }
  /// May take series as its source: any series but itself.
  virtual bool IsValidSourceOf(const TChartSeries* series) const { return series != this; }
  /// Accepts series as a source.
  virtual bool IsValidSeriesSource(const TChartSeries*) const { return true; }
  /// Tells every linked series of the change, each by its FollowFlags.
  void NotifyLinkedSeries(TSourceChange change, int index = -1);

 private:
  /// ClearPoints without telling the linked series: CopyAllFrom reloads them all
  /// at its end anyway.
  void ClearPointsBeforeReload();

 public:

  // operations: function (series_links.cpp)
  TZavFunction* FunctionObject() const { return m_function.get(); }
  /// Releases the old function, takes the new one (out of its component owner, if
  /// any), becomes its parent and reloads from the data source.
  void SetFunction(std::unique_ptr<TZavFunction> function);
  /// Gives the function up without reloading; the caller owns it.
  std::unique_ptr<TZavFunction> TakeFunction();

  // operations: the rest
  /// Asks the chart, if any, to repaint; the paint happens later.
  void Repaint() const;
  /// Told by a value list of every change of a value; tells the chart, if any.
  void ValuesChanged();
  /// Copies the settings of source (not its points, links, chart or events).
  virtual void Assign(const TChartSeries& source);
  /// A click on a point: OnDblClick for a double click, else OnClick. True when a
  /// handler ran, which ends the chart's own handling of the click.
  virtual bool ClickPoint(int valueIndex, TMouseButton button, TShiftState shift, int x, int y);
  /// Every mouse move and release over the chart, passed on by the chart; nothing here.
  virtual void NotifyMouseMove(TShiftState, int /*x*/, int /*y*/) {}
  virtual void NotifyMouseUp(TMouseButton, TShiftState, int /*x*/, int /*y*/) {}

  // component steps
  /// A series nested in a chart in a description joins that chart.
  void SetParentComponent(TComponent* parent) override;
  TComponent* ParentComponent() const override;
  /// Ends loading, then reloads from the data source named in the description.
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;

  // overridable steps
  /// Empties every value list, the colours, labels and mark positions; no notification.
  virtual void ClearValueLists();
  /// OnAfterAdd, the linked series, a repaint when Active.
  virtual void NotifyPointAdded(TChartSeries* source, int index);
  /// Inserts the PendingValue of each value list from index 2 on at index.
  virtual void InsertExtraValues(int index);
  virtual void DoBeforeDrawChart() {}
  /// After the series joined chart's list (joined) or left it; nothing here.
  virtual void ChartMembershipChanged(TCustomAxisPanel* /*chart*/, bool /*joined*/) {}
  virtual void DoBeforeDrawValues();
  virtual void DoAfterDrawValues();
  /// DrawPoint for every index of the visible range; with more of them than the plot
  /// has pixels, only the first point on each pixel (PointPixelFilter).
  virtual void DrawAllPoints();
  virtual void DrawPoint(int) {}
  /// The marks of the visible range; the chart calls it only while Marks is visible
  /// (series_marks.cpp). Each mark is boxed above its point and handed to PaintMark.
  virtual void DrawAllMarks();
  /// The pixel the mark of point index stands at: its point, unless the series places
  /// its marks otherwise. Of more marks than DrawAllMarks draws one by one, a mark that
  /// a later mark stands on the same pixel as is left out.
  virtual TPoint MarkAnchor(int index) { return {PointXPixel(index), PointYPixel(index)}; }
  /// Up to this many marks in view, every mark is drawn.
  static constexpr std::int64_t kExactMarks = 10'000;
  /// Draws one placed mark in the point's colour; a series type shifts position
  /// (box and arrow end) first.
  virtual void PaintMark(int valueIndex, const std::string& text, TSeriesMarkPosition& position);

 protected:
  /// The change rule: store a differing value, then repaint.
  template <class T>
  void Change(T& field, const T& value) {
    if (field == value) return;
    field = value;
    Repaint();
  }
  void SetAllowSinglePoint(bool allow) { m_allowSinglePoint = allow; }
  /// Per point of the visible range, whether a later mark stands on its mark's pixel;
  /// empty (none hidden) up to kExactMarks marks.
  std::vector<bool> MarksUnderLaterMarks();

 private:
  /// sets and clears ParentChart as the series joins and leaves its list, and the
  /// depth fields in every paint
  friend class TCustomAxisPanel;

  /// Colour and label entries of a point inserted at index, without growing the
  /// lists for a point that has neither.
  void InsertColorAndLabel(int index, TColor color, std::string_view label);
  void StoreColor(int index, TColor color);
  void StoreLabel(int index, std::string_view label);
  /// Links (series_links.cpp).
  void CheckDataSource(TComponent* source) const;
  void LinkDataSource(TComponent* source);
  void UnlinkDataSource(TComponent* source);
  void RemoveAllDataSources();
  /// Re-enters the linked lists of its series sources (after joining a chart).
  void RelinkDataSources();
  /// Forgets source (destroyed); reloads from the next series source, if any.
  void DataSourceDestroyed(TComponent* source);
  void DropAllLinks();

  // state: the value lists first, so that they leave m_valueLists while it lives
  TChartValueLists m_valueLists;
  TChartValueList m_xValues{this, "X"};
  TChartValueList m_yValues{this, "Y"};
  std::vector<TColor> m_colors;       ///< may be shorter than the points
  std::vector<std::string> m_labels;  ///< may be shorter than the points

  bool m_active = true;
  bool m_colorEachPoint = false;
  std::string m_colorSource;
  TCursor m_cursor = crDefault;
  THorizAxis m_horizAxis = aBottomAxis;
  TSeriesMarks m_marks{this};
  TCustomAxisPanel* m_parentChart = nullptr;
  std::string m_percentFormat = "##0.## %";
  TColor m_seriesColor = clDefault;
  bool m_showInLegend = true;
  std::string m_title;
  std::string m_valueFormat = "#,##0.###";
  TVertAxis m_vertAxis = aLeftAxis;
  std::string m_xLabelsSource;

  std::vector<TComponent*> m_dataSources;
  std::vector<TChartSeries*> m_linkedSeries;
  /// How many series hold this one among their DataSources, detached ones too (which
  /// are missing from m_linkedSeries): none, and no link to it can close a circle.
  int m_dependentCount = 0;
  TFollowFlags m_followFlags = kAllFollowFlags;
  int m_firstDrawnIndex = -1;
  int m_lastDrawnIndex = -1;
  bool m_clipToVisibleRange = true;
  bool m_reachPastEnd = false;
  int m_depthOrder = -1;
  int m_depthSlot = 0;
  int m_depthFront = 0;
  int m_depthBack = 0;
  int m_depthMiddle = 0;
  bool m_allowSinglePoint = true;
  std::unique_ptr<TZavFunction> m_function;
};

}  // namespace tarvela
