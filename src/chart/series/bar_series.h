#pragma once
/// Bar series: every point a bar from a baseline to its value. TBarSeries stands its
/// bars on the horizontal axis, THorizBarSeries lays them along the vertical one; both
/// share TCustomBarSeries, which holds the settings, the width of a bar, the grouping
/// of the bar series of one class in a chart (side by side, stacked, stacked to 100 %)
/// and the baseline. The settings, sizes and placement live in bar_series.cpp; the
/// shapes, marks, hit test and legend symbol in bar_series_draw.cpp.
///
/// The layout a bar depends on (BarSize, the axes' pixels) is the one of the last
/// paint: the chart recomputes BarSize when it asks for margins and again before the
/// series draws, and the hit test reads what that paint left.
/// @file
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tarvela/chart/canvas/chart_brush.h"
#include "tarvela/chart/canvas/chart_pen.h"
#include "tarvela/chart/data/chart_series.h"
#include "tarvela/chart/series/stack_sums.h"

namespace tarvela {

enum TBarStyle { bsRectangle, bsPyramid, bsInvPyramid, bsCilinder, bsEllipse, bsArrow, bsRectGradient };
const EnumNames<TBarStyle>& BarStyleNames();

enum TMultiBar { mbNone, mbSide, mbStacked, mbStacked100 };
const EnumNames<TMultiBar>& MultiBarNames();

/// The shape of one bar; theBarStyle arrives as BarStyle and may be changed.
using TGetBarStyleEvent = std::function<void(TChartSeries* sender, int valueIndex, TBarStyle& theBarStyle)>;

class TCustomBarSeries : public TChartSeries {
 public:
  explicit TCustomBarSeries(TComponent* owner);
  std::string_view ClassName() const override { return "TCustomBarSeries"; }
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override { return PublishedProperties(); }

  // settings (published)
  /// The width from the axis range (one slot per unit) instead of the point count.
  bool AutoBarSize() const { return m_autoBarSize; }
  void SetAutoBarSize(bool autoSize) { Change(m_autoBarSize, autoSize); }
  /// Kept and copied for descriptions that set it; the marks' place follows the bar.
  bool AutoMarkPosition() const { return m_autoMarkPosition; }
  void SetAutoMarkPosition(bool autoPosition) { Change(m_autoMarkPosition, autoPosition); }
  TChartBrush& BarBrush() { return m_barBrush; }
  const TChartBrush& BarBrush() const { return m_barBrush; }
  void SetBarBrush(const TChartBrush& brush) { m_barBrush.Assign(brush); }
  TChartPen& BarPen() { return m_barPen; }
  const TChartPen& BarPen() const { return m_barPen; }
  void SetBarPen(const TChartPen& pen) { m_barPen.Assign(pen); }
  TBarStyle BarStyle() const { return m_barStyle; }
  void SetBarStyle(TBarStyle style) { Change(m_barStyle, style); }
  /// Percent of the room of one point; BarException outside 1..100.
  int BarWidthPercent() const { return m_barWidthPercent; }
  void SetBarWidthPercent(int percent);
  bool Dark3D() const { return m_dark3D; }
  void SetDark3D(bool dark) { Change(m_dark3D, dark); }
  /// Changing it changes every bar series of the same class in the chart.
  TMultiBar MultiBar() const { return m_multiBar; }
  void SetMultiBar(TMultiBar multiBar);
  /// Shift along the category axis in percent of BarSize; BarException outside -100..100.
  int OffsetPercent() const { return m_offsetPercent; }
  void SetOffsetPercent(int percent);
  /// Room for half a bar slot at both ends of the category axis. Changing it changes
  /// every bar series of the same class in the chart.
  bool SideMargins() const { return m_sideMargins; }
  void SetSideMargins(bool sideMargins);
  /// Bars start at YOrigin; otherwise at the low end of the value axis.
  bool UseYOrigin() const { return m_useYOrigin; }
  void SetUseYOrigin(bool use) { Change(m_useYOrigin, use); }
  double YOrigin() const { return m_yOrigin; }
  void SetYOrigin(double origin) { Change(m_yOrigin, origin); }

  // events (published)
  TGetBarStyleEvent OnGetBarStyle;

  // settings (not published)
  /// A fixed bar width in pixels when not 0 (published by TBarSeries).
  int CustomBarWidth() const { return m_customBarWidth; }
  void SetCustomBarWidth(int pixels) { Change(m_customBarWidth, pixels); }
  /// Pixels across one bar, as the last ComputeBarSize left it.
  int BarSize() const { return m_barSize; }
  /// The bar being drawn: category position to position + BarSize across, value pixel
  /// to baseline pixel along (top to bottom for vertical bars, right to left for
  /// horizontal ones), as stored, not normalised.
  const TRect& BarRect() const { return m_barRect; }
  TColor BarColor() const { return m_barColor; }

  // operations: grouping and sizes (bar_series.cpp)
  /// Whether other is a bar series of this one's class or this one of other's.
  bool SameClass(const TChartSeries& other) const;
  /// The group of a bar series: the active bar series of its class in the chart, in
  /// list order (itself among them when active).
  /// Bars side by side at one point: the group's size for mbSide, else 1.
  int NumBars() const;
  /// This series' place among them, from 1.
  int SidePlace() const;
  /// BarSize from CustomBarWidth, or the axis length, the point counts and
  /// BarWidthPercent; even when positive. A cache of the current layout, so const.
  void ComputeBarSize() const;
  /// Pixels the category axis leaves at each end.
  int CategoryRoom() const;
  int ShiftByOffset(int position) const;
  /// BarStyle, or what OnGetBarStyle makes of it.
  TBarStyle ShapeOf(int valueIndex);
  /// Pixels the value axis leaves for a mark (valueIndex -1: the widest); 0 without
  /// points or visible marks.
  int MarkRoom(int valueIndex) const;
  /// The positive values at valueIndex of the group members before this series.
  double StackOrigin(int valueIndex) const;
  /// The stack's sums when this series is a member of a group large enough to keep them
  /// (at one of its own points); null otherwise.
  const TStackSums<long double>* GroupSums(int valueIndex) const;
  /// The positive values at valueIndex of the whole group.
  double StackTotal(int valueIndex) const;
  /// Pixel of the bar's top (vertical) or right end (horizontal) along the value axis.
  int ValuePixel(int valueIndex) const;
  /// Pixel of the bar's left (vertical) or top (horizontal) side along the category axis.
  int CategoryPixel(int valueIndex) const;
  /// Pixel the bar starts at along the value axis.
  virtual int BaselinePos(int valueIndex) const;
  /// Bars lie along the vertical axis: TBarSeries.
  virtual bool VerticalBars() const = 0;

  // operations: drawing (bar_series_draw.cpp)
  void DrawAllPoints() override;
  void DrawPoint(int valueIndex) override;
  /// The bar between its two value-axis pixels, start <= end, in BarColor.
  virtual void DrawBar(int valueIndex, int start, int end) = 0;
  void PaintMark(int valueIndex, const std::string& text, TSeriesMarkPosition& position) override;
  int HitTest(int x, int y) const override;
  /// Whether the bar of valueIndex holds (x, y), in chart pixels.
  bool BarHit(int valueIndex, int x, int y) const;
  void PrepareLegendSymbol(int valueIndex, TColor& backColor, TBrushStyle& brushStyle) override;
  void DrawLegendSymbol(int valueIndex, const TRect& rect) override;

  // operations: series hooks (bar_series.cpp)
  void DoBeforeDrawValues() override;
  bool PointsForward() const override;
  bool SeriesForward(int valueIndex) const override;
  const TChartSeries* DepthSlotLeader() const override;
  /// Copies the bar settings from another bar series, then the settings every series has.
  void Assign(const TChartSeries& source) override;

 protected:
  /// Whether other is an instance of this series' own class.
  virtual bool HasClassOf(const TChartSeries& other) const = 0;
  /// The value list's extremes as the axes see them: stacking and YOrigin included.
  double HighestValue() const;
  double LowestValue() const;
  /// The axis the bars stand side by side along, and the one their values run along.
  TChartAxis* CategoryAxis() const { return VerticalBars() ? GetHorizAxis() : GetVertAxis(); }
  TChartAxis* ValueAxis() const { return VerticalBars() ? GetVertAxis() : GetHorizAxis(); }
  /// The margins of the category and the value axis; low is left or bottom.
  void CategoryMargins(int& low, int& high) const;
  void ValueMargins(int& low, int& high) const;
  /// Pen and brush of a bar (DrawBar's first step).
  void PrepareBar();
  /// The 2D bar rectangle in the canvas pen and brush; a bar too thin for its outline
  /// is drawn as a line of its fill colour.
  void DrawBarRectangle(TRect box);

  // state of the current paint, set by ComputeBarSize and DrawPoint
  mutable int m_barSize = 0;
  /// Whether every bar is a line of one colour across no width (more bars than pixels):
  /// then the bars light the same pixels in whatever order and number they come, as
  /// long as each pixel line gets the longest bar on each side of the baseline.
  bool DrawsLinesOfOneColour() const;
  /// The bars that reach furthest from the baseline on each side, and one of those
  /// that do not leave it, of every pixel line, in point order, into m_shownBars; false
  /// when a bar has a colour of its own.
  bool FindLongestBars(int first, int last);
  /// Whether each bar is drawn in full over what lies under it (copy mode, no
  /// smoothing, one shape for all): then a later bar of the same place, ends and colour
  /// lights exactly an earlier one's pixels.
  bool CullsRepeatedBars() const;
  /// The bars, in drawing order, that no later bar repeats, into m_shownBars.
  void FindUnrepeatedBars(int first, int last);
  std::vector<int> m_shownBars;  ///< kept between paints for its storage
  TRect m_barRect;
  TColor m_barColor = clDefault;

 private:
  bool m_autoBarSize = false;
  bool m_autoMarkPosition = true;
  TChartBrush m_barBrush;
  TChartPen m_barPen;
  TBarStyle m_barStyle = bsRectangle;
  int m_barWidthPercent = 70;
  bool m_dark3D = true;
  TMultiBar m_multiBar = mbSide;
  int m_offsetPercent = 0;
  bool m_sideMargins = true;
  bool m_useYOrigin = true;
  double m_yOrigin = 0;
  int m_customBarWidth = 0;

 public:
  /// The active members of a group in list order, and the most points of one of them
  /// as last counted while the series were drawn (DrawingStamp).
  struct TBarGroup {
    std::vector<TCustomBarSeries*> members;
    mutable std::uint64_t mostPointsStamp = 0;
    mutable long long mostPoints = 0;
    /// The stack's sums for a large group, at the chart's values revision.
    mutable TStackSums<long double> sums;
  };

 private:
  /// The group as last worked out for a chart's arrangement of series.
  struct TGroupPlace {
    std::uint64_t arrangement = 0;
    const TCustomAxisPanel* chart = nullptr;
    std::shared_ptr<const TBarGroup> group;
    int index = -1;  ///< of this series among the members; -1 when inactive
  };
  mutable TGroupPlace m_groupPlace;
  /// Calls apply(series) for every other bar series of the same class in the chart.
  template <class F>
  void ForEachOtherOfClass(F apply);
  /// Works out the groups of all bar series of chart at once, each series keeping its own.
  static void PlaceAllInGroups(const TCustomAxisPanel& chart);
  /// m_groupPlace, worked out again when the chart's series changed.
  const TGroupPlace& GroupPlace() const;

 public:
  /// The group, kept until the chart's series change (SeriesArrangement); never null.
  std::shared_ptr<const TBarGroup> Group() const { return GroupPlace().group; }
};

class TBarSeries : public TCustomBarSeries {
 public:
  explicit TBarSeries(TComponent* owner);
  std::string_view ClassName() const override { return "TBarSeries"; }
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override { return PublishedProperties(); }

  bool VerticalBars() const override { return true; }
  int PointXPixel(int valueIndex) const override { return CategoryPixel(valueIndex); }
  int PointYPixel(int valueIndex) const override { return ValuePixel(valueIndex); }
  double HighestY() const override { return HighestValue(); }
  double LowestY() const override { return LowestValue(); }
  void HorizMargins(int& left, int& right) const override { CategoryMargins(left, right); }
  void VertMargins(int& top, int& bottom) const override { ValueMargins(bottom, top); }
  void DrawBar(int valueIndex, int start, int end) override;

 protected:
  bool HasClassOf(const TChartSeries& other) const override;
};

class THorizBarSeries : public TCustomBarSeries {
 public:
  explicit THorizBarSeries(TComponent* owner);
  std::string_view ClassName() const override { return "THorizBarSeries"; }
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override { return PublishedProperties(); }

  bool VerticalBars() const override { return false; }
  /// The bars' values are X values; a point's Y is its place.
  const TChartValueList& MandatoryList() const override { return XValues(); }
  int PointXPixel(int valueIndex) const override { return ValuePixel(valueIndex); }
  int PointYPixel(int valueIndex) const override { return CategoryPixel(valueIndex); }
  double HighestX() const override { return HighestValue(); }
  double LowestX() const override { return LowestValue(); }
  void HorizMargins(int& left, int& right) const override { ValueMargins(left, right); }
  void VertMargins(int& top, int& bottom) const override { CategoryMargins(bottom, top); }
  /// BarException for count <= 0.
  void FillSampleValues(int count) override;
  void DrawBar(int valueIndex, int start, int end) override;

 protected:
  bool HasClassOf(const TChartSeries& other) const override;
};

}  // namespace tarvela
