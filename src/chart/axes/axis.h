#pragma once
/// The axes of a chart: TCustomChartAxis turns series values into pixels and back and
/// chooses the increment of its labels; TChartAxis and TChartDepthAxis are the
/// published forms the chart creates (the depth axis publishes no placement along or
/// across the plot). TChartAxisTitle is an axis's caption with its angle and font.
///
/// An axis belongs to one chart (TCustomAxisPanel), which creates it, keeps it in its
/// axis list and destroys it; an axis never outlives its chart. It owns its pens, its
/// labels font and its title.
///
/// Two kinds of state: the published settings (each setter follows the change rule:
/// check, compare, store, repaint), and the working scale of the last paint
/// (ScaleMinimum ... CenterPixel), rebuilt by RefreshScale, LayoutPixels and
/// ApplyPixelMargins in every paint and read between paints by the mouse and the series.
///
/// The axis draws itself (labels, ticks, grid, minor marks, its line and title) when the
/// chart's paint asks, and says how much room it takes from the plot. axis.cpp holds the
/// settings and the range operations, axis_scale.cpp the scale, the mapping and the label
/// increment, axis_labels.cpp the label texts, style and the passes that produce the
/// labels, axis_draw.cpp the drawing, axis_room.cpp the room and the hit test.
/// @file
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tarvela/chart/axes/axis_scale.h"
#include "tarvela/chart/axes/calendar_steps.h"
#include "tarvela/chart/canvas/chart_pen.h"
#include "tarvela/chart/panel/chart_title.h"
#include "tarvela/runtime/control.h"
#include "tarvela/runtime/font.h"
#include "tarvela/runtime/persistent.h"
#include "tarvela/runtime/properties.h"

namespace tarvela {

class TChartSeries;
class TCustomAxisPanel;
class TCustomChartAxis;

enum TAxisLabelStyle { talAuto, talNone, talValue, talMark, talText };
const EnumNames<TAxisLabelStyle>& AxisLabelStyleNames();

inline constexpr const char* kDefaultAxisValuesFormat = "#,##0.###";

/// The chart's label events. The sender is any axis of the chart, the depth axis
/// included. OnGetAxisLabel may change the text of a label; series is null and
/// valueIndex -1 for value labels (the index of the legend series for depth labels).
using TAxisOnGetLabel =
    std::function<void(TCustomChartAxis* sender, TChartSeries* series, int valueIndex, std::string& labelText)>;
/// Supplies value labels one by one: labelValue starts at ScaleMinimum and stop at true;
/// leaving stop true at index 0 asks for the ordinary labels instead.
using TAxisOnGetNextLabel =
    std::function<void(TCustomChartAxis* sender, int labelIndex, double& labelValue, bool& stop)>;

/// Whether the axes are drawn before the series (and near-side grid lines in 3D run
/// along the floor and up the back wall). A program-wide setting.
extern bool AxesBehindSeries;

/// The most tick positions one axis drawing keeps (and the most labels a handler of
/// OnGetNextAxisLabel is asked for).
inline constexpr int kMaxTickPositions = 2000;
/// Minor ticks between two labels: a thousand already need labels a thousand pixels
/// apart to be told apart, and the count times kMaxTickPositions is what a paint loops.
inline constexpr int kMaxMinorTickCount = 1000;

// [SECTION] TChartAxisTitle

class TChartAxisTitle : public TChartFontObject {
 public:
  /// The angle starts at the axis's DefaultTitleAngle.
  explicit TChartAxisTitle(TCustomChartAxis* axis);
  std::string_view ClassName() const override { return "TChartAxisTitle"; }
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override { return PublishedProperties(); }

  // settings
  /// Empty: no title (it takes no room and is not drawn).
  const std::string& Caption() const { return m_caption; }
  void SetCaption(const std::string& caption);
  /// Degrees, 0..359; a change outside fails with ChartException "Axis Title Angle must
  /// be between 0 and 359 degrees", the old angle kept.
  int Angle() const { return m_angle; }
  void SetAngle(int angle);

  // operations
  /// A writer leaves the angle out while it is the axis's default.
  bool IsAngleStored() const;
  /// Copies caption, angle and font, each by the change rule.
  void Assign(const TChartAxisTitle& source);

 private:
  // state
  TCustomChartAxis* m_axis;
  std::string m_caption;
  int m_angle;
};

// [SECTION] TCustomChartAxis

/// Where the chart puts an axis; fixed when the chart creates it.
struct TAxisPlacement {
  bool horizontal = true;
  bool otherSide = false;  ///< top or right rather than bottom or left
  bool depth = false;
  int defaultTitleAngle = 0;
};

class TCustomChartAxis : public TPersistent {
 public:
  TCustomChartAxis(TCustomAxisPanel* chart, const TAxisPlacement& placement);
  TCustomChartAxis(const TCustomChartAxis&) = delete;
  TCustomChartAxis& operator=(const TCustomChartAxis&) = delete;
  ~TCustomChartAxis() override;
  std::string_view ClassName() const override { return "TCustomChartAxis"; }
  /// The settings every axis publishes (not GridCentered nor the placement along and
  /// across the plot, which only TChartAxis publishes).
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override { return PublishedProperties(); }

  // settings: limits
  /// Both limits from the series. Setting it (not while the chart is read from its
  /// description) sets AutomaticMinimum and AutomaticMaximum too.
  bool Automatic() const { return m_automatic; }
  void SetAutomatic(bool automatic);
  /// false also clears Automatic; true sets it when the other end is automatic too.
  bool AutomaticMaximum() const { return m_automaticMaximum; }
  void SetAutomaticMaximum(bool automatic);
  bool AutomaticMinimum() const { return m_automaticMinimum; }
  void SetAutomaticMinimum(bool automatic);
  /// AxisException "Axis Maximum Value must be >= Minimum" below Minimum (not while
  /// reading the description).
  double Maximum() const { return m_maximum; }
  void SetMaximum(double maximum);
  /// AxisException "Axis Minimum Value must be <= Maximum" above Maximum (not while reading).
  double Minimum() const { return m_minimum; }
  void SetMinimum(double minimum);
  /// Desired label increment; 0 = automatic. AxisException "Axis increment must be >= 0".
  double Increment() const { return m_increment; }
  void SetIncrement(double increment);
  /// AxisException "DateTime Axis cannot be Logarithmic" on a date-time axis, "Logarithmic
  /// Axis Min and Max values should be >= 0" when a refreshed limit is negative.
  bool Logarithmic() const { return m_logarithmic; }
  void SetLogarithmic(bool logarithmic);
  /// Base of logarithmic labels and minor ticks (the mapping is natural). AxisException
  /// "Axis Logarithmic Base should be >= 2".
  int LogarithmicBase() const { return m_logarithmicBase; }
  void SetLogarithmicBase(int base);
  /// Maximum at the left of a horizontal axis, at the bottom of a vertical one.
  bool Inverted() const { return m_inverted; }
  void SetInverted(bool inverted) { Change(m_inverted, inverted); }

  // settings: labels
  const std::string& AxisValuesFormat() const { return m_axisValuesFormat; }
  void SetAxisValuesFormat(const std::string& format) { Change(m_axisValuesFormat, format); }
  /// Empty: the locale's date or time pattern.
  const std::string& DateTimeFormat() const { return m_dateTimeFormat; }
  void SetDateTimeFormat(const std::string& format) { Change(m_dateTimeFormat, format); }
  /// Step date-time labels by calendar periods.
  bool ExactDateTime() const { return m_exactDateTime; }
  void SetExactDateTime(bool exact) { Change(m_exactDateTime, exact); }
  bool RoundFirstLabel() const { return m_roundFirstLabel; }
  void SetRoundFirstLabel(bool round) { Change(m_roundFirstLabel, round); }
  /// Minimum gap between labels, percent of the label size; 0 lets labels overlap.
  /// AxisException "Labels Separation % must be greater than 0" below 0.
  int LabelsSeparation() const { return m_labelsSeparation; }
  void SetLabelsSeparation(int percent);
  TAxisLabelStyle LabelStyle() const { return m_labelStyle; }
  void SetLabelStyle(TAxisLabelStyle style) { Change(m_labelStyle, style); }
  bool Labels() const { return m_labels; }
  void SetLabels(bool labels) { Change(m_labels, labels); }
  /// Degrees, 0..359; ChartException "Axis Labels Angle must be between 0 and 359 degrees".
  int LabelsAngle() const { return m_labelsAngle; }
  void SetLabelsAngle(int angle);
  TFont& LabelsFont() { return m_labelsFont; }
  const TFont& LabelsFont() const { return m_labelsFont; }
  void SetLabelsFont(const TFont& font) { m_labelsFont.Assign(font); }
  /// Every blank in a label starts a new line.
  bool LabelsMultiLine() const { return m_labelsMultiLine; }
  void SetLabelsMultiLine(bool multiLine) { Change(m_labelsMultiLine, multiLine); }
  /// Labels at the very ends of the axis are drawn.
  bool LabelsOnAxis() const { return m_labelsOnAxis; }
  void SetLabelsOnAxis(bool onAxis) { Change(m_labelsOnAxis, onAxis); }
  /// Fixed room in pixels; 0 = measure.
  int LabelsSize() const { return m_labelsSize; }
  void SetLabelsSize(int pixels) { Change(m_labelsSize, pixels); }
  int TitleSize() const { return m_titleSize; }
  void SetTitleSize(int pixels) { Change(m_titleSize, pixels); }
  TChartAxisTitle& Title() { return m_title; }
  const TChartAxisTitle& Title() const { return m_title; }
  void SetTitle(const TChartAxisTitle& title) { m_title.Assign(title); }

  // settings: ticks, grid and pens
  int TickLength() const { return m_tickLength; }
  void SetTickLength(int pixels) { Change(m_tickLength, pixels); }
  int TickInnerLength() const { return m_tickInnerLength; }
  void SetTickInnerLength(int pixels) { Change(m_tickInnerLength, pixels); }
  int MinorTickLength() const { return m_minorTickLength; }
  void SetMinorTickLength(int pixels) { Change(m_minorTickLength, pixels); }
  int MinorTickCount() const { return m_minorTickCount; }
  /// AxisException "Axis MinorTickCount must be <= 1000" above kMaxMinorTickCount.
  void SetMinorTickCount(int count);
  bool TickOnLabelsOnly() const { return m_tickOnLabelsOnly; }
  void SetTickOnLabelsOnly(bool only) { Change(m_tickOnLabelsOnly, only); }
  /// Grid lines between label positions instead of on them.
  bool GridCentered() const { return m_gridCentered; }
  void SetGridCentered(bool centered) { Change(m_gridCentered, centered); }
  TChartPen& Axis() { return m_axisPen; }
  const TChartPen& Axis() const { return m_axisPen; }
  void SetAxis(const TChartPen& pen) { m_axisPen.Assign(pen); }
  TChartPen& Ticks() { return m_ticks; }
  const TChartPen& Ticks() const { return m_ticks; }
  void SetTicks(const TChartPen& pen) { m_ticks.Assign(pen); }
  TChartPen& TicksInner() { return m_ticksInner; }
  const TChartPen& TicksInner() const { return m_ticksInner; }
  void SetTicksInner(const TChartPen& pen) { m_ticksInner.Assign(pen); }
  TChartPen& MinorTicks() { return m_minorTicks; }
  const TChartPen& MinorTicks() const { return m_minorTicks; }
  void SetMinorTicks(const TChartPen& pen) { m_minorTicks.Assign(pen); }
  TChartPen& Grid() { return m_grid; }
  const TChartPen& Grid() const { return m_grid; }
  void SetGrid(const TChartPen& pen) { m_grid.Assign(pen); }
  TChartPen& MinorGrid() { return m_minorGrid; }
  const TChartPen& MinorGrid() const { return m_minorGrid; }
  void SetMinorGrid(const TChartPen& pen) { m_minorGrid.Assign(pen); }

  // settings: placement
  /// Start and end along the plot, percent of its size.
  double StartPosition() const { return m_startPosition; }
  void SetStartPosition(double percent) { Change(m_startPosition, percent); }
  double EndPosition() const { return m_endPosition; }
  void SetEndPosition(double percent) { Change(m_endPosition, percent); }
  /// Shift of the axis line into the plot, percent of the plot size across the axis.
  double PositionPercent() const { return m_positionPercent; }
  void SetPositionPercent(double percent) { Change(m_positionPercent, percent); }
  bool Visible() const { return m_visible; }
  void SetVisible(bool visible) { Change(m_visible, visible); }

  // settings: fixed when the chart creates the axis (Assign copies the placement)
  TCustomAxisPanel* ParentChart() const { return m_chart; }
  bool IsHorizontal() const { return m_horizontal; }
  bool IsOtherSide() const { return m_otherSide; }
  bool IsDepth() const { return m_depth; }
  int DefaultTitleAngle() const { return m_defaultTitleAngle; }

  // operations: settings as a whole
  /// Copies every setting, pen, font and title, the limits and automatic flags, the
  /// placement and Visible, and the fixed IsHorizontal, IsOtherSide and IsDepth; then
  /// repaints once. No setter check runs.
  void Assign(const TCustomChartAxis& source);
  /// Asks the chart to repaint.
  void Repaint() const;
  /// Whether the description leaves a limit out: only a manual limit is stored.
  bool IsMinimumStored() const { return !m_automatic && !m_automaticMinimum; }
  bool IsMaximumStored() const { return !m_automatic && !m_automaticMaximum; }

  // operations: range
  /// Manual limits a..b (either order) without the limit checks; a range below 1e-10
  /// is widened to 1e-10.
  void SetManualRange(double a, double b);
  /// Moves both limits by delta and makes them manual. With checkLimits only while the
  /// series reach beyond the limit in that direction.
  void ScrollBy(double delta, bool checkLimits);

  // operations: scale (axis_scale.cpp)
  /// The first active series drawn on the axis decides by the DateTime flag of its X
  /// (horizontal axis) or Y values; no such series: false.
  bool IsDateTimeAxis() const;
  /// Takes the automatic limits from the series and sets the scale to the limits.
  void RefreshScale();
  /// The pixel span from the chart's PlotRect and StartPosition, EndPosition.
  void LayoutPixels();
  /// Widens the scale so that the old limits lie the margins inside the span: Left and
  /// Right for a horizontal axis, Top and Bottom for a vertical one.
  void ApplyPixelMargins(const TRect& margins);
  int ValueToPixel(double value) const { return m_horizontal ? ValueToPixelX(value) : ValueToPixelY(value); }
  int ValueToPixelX(double value) const;
  int ValueToPixelY(double value) const;
  /// ValueToPixel of every value, pixels[i] for values[i] (pixels holds at least as
  /// many), faster than one call a value on a linear scale.
  void ValuesToPixels(std::span<const double> values, std::span<int> pixels) const;
  /// True when every value from low to high maps to a pixel in value order (a linear
  /// scale with both ends in its pixel range): pixels of the values in between then lie
  /// between the pixels of the ends.
  bool MapsInOrder(double low, double high) const;
  /// Depth in pixels (0 at the front) of the chart's 3D box.
  int DepthToPixel(double value) const;
  double PixelToValue(int pixel) const;
  /// The label increment for the labels that fit along the axis, measured in the
  /// canvas's current font (the caller has applied LabelsFont). 0: no labels (a scale
  /// that is not finite).
  double LabelStep();
  /// The increment that gives at most maxLabels labels; 0: no labels.
  double StepForLabelCount(int maxLabels) const;

  // operations: labels (axis_labels.cpp)
  /// The text of the label at value: AxisValuesFormat on a value axis; on a date-time
  /// axis (DateTimeScale) empty for a negative value, else DateTimeFormat or the
  /// locale's short date (a range above one day) or short time. Then the chart's
  /// OnGetAxisLabel; with LabelsMultiLine every blank starts a new line.
  /// EConvertError "Format string too long" for a pattern of 225 characters or more.
  std::string FormatLabel(double value);
  /// The label style in force, never talAuto: for talAuto talText when the axis runs
  /// along the independent values of a series with text labels, talValue when series
  /// are drawn on it, else talNone; the depth axis shows series titles (talText) unless
  /// a series spreads in depth.
  TAxisLabelStyle ResolveLabelStyle() const;

  // operations: drawing (axis_draw.cpp)
  /// The whole drawing of the axis after the layout of the same paint: title, labels,
  /// ticks, grid, inner ticks, minor marks and the line. placeLine puts the axis line
  /// on its side of PlotRect first (moved by PositionPercent).
  void DrawAxis(bool placeLine);
  /// One label at pos along the axis (a depth for the depth axis) in LabelsFont.
  void DrawLabelAt(int pos, std::string_view text);
  /// A label or title text at (x, y), aligned by the axis's side and the angle, lines
  /// stacked at LineBreakChar; drawn at the back of the box on the far side.
  void PlaceAxisText(int x, int y, std::string_view text, int angle);

  // operations: room and hit test (axis_room.cpp)
  /// Sets LabelsPos and TitlePos across the axis. With shrink (the standard axes) the
  /// title, labels and ticks (with the wall beside the axis) are cut from rect's side;
  /// without, the positions go outward from the axis line, which is set too, and rect
  /// is left alone.
  void ReserveAxisRoom(TRect& rect, bool shrink);
  /// The axis pen's width and the tick length, or the minor tick length when longer.
  int TickRoom() const;
  /// TitleSize, else the title's height along the axis or its width across it.
  int TitleRoom();
  /// LabelsSize, else a label's height along the axis or WidestLabel across it.
  int LabelsRoom();
  /// The widest label by the label style, in LabelsFont; value labels are measured on
  /// the lowest and highest round label only, plus one blank.
  int WidestLabel();
  /// (x, y) lies on the shown axis: along its span, across from its labels to 3
  /// pixels beyond its line.
  bool AxisHit(int x, int y) const;

  // state: the working scale of the last paint
  double ScaleMinimum() const { return m_scale.minimum; }
  double ScaleMaximum() const { return m_scale.maximum; }
  double ScaleRange() const { return m_scale.range; }
  int StartPixel() const { return m_scale.startPixel; }
  int EndPixel() const { return m_scale.endPixel; }
  int AxisLength() const { return m_scale.length; }
  int CenterPixel() const { return m_scale.centerPixel; }
  const TAxisScale& Scale() const { return m_scale; }
  /// IsDateTimeAxis as cached at the start of the axis's layout and drawing.
  bool DateTimeScale() const { return m_dateTimeScale; }
  void SetDateTimeScale(bool dateTime) { m_dateTimeScale = dateTime; }
  /// Positions across the axis, set by the layout and the axis drawing.
  int AxisLinePos() const { return m_axisLinePos; }
  void SetAxisLinePos(int pos) { m_axisLinePos = pos; }
  int LabelsPos() const { return m_labelsPos; }
  void SetLabelsPos(int pos) { m_labelsPos = pos; }
  int TitlePos() const { return m_titlePos; }
  void SetTitlePos(int pos) { m_titlePos = pos; }

  // state: of the last DrawAxis
  /// The pixels of the labels in the order produced (from the top of the scale down
  /// for value labels); ticks and grid lines are drawn there. At most
  /// kMaxTickPositions; further ones are dropped. Emptied when DrawAxis starts.
  const std::vector<int>& TickPositions() const { return m_tickPositions; }
  /// The calendar step of date-time labels; kNoCalendarStep for none.
  int CalendarIndex() const { return m_calendarIndex; }

 protected:
  /// The change rule: store a differing value, then repaint.
  template <class T>
  void Change(T& field, const T& value) {
    if (field == value) return;
    field = value;
    Repaint();
  }
  /// Whether the chart is being read from its description (limit checks are off).
  bool ChartLoading() const;
  /// A default of a published form, set before anyone listens.
  void InitVisible(bool visible) { m_visible = visible; }
  /// The width (horizontal axis) or height (vertical axis) of the label of value in
  /// the canvas's current font.
  int LabelSize(double value);

 private:
  // helpers of the label passes (axis_labels.cpp)
  void AddTickPosition(int pos);
  /// The label at value when it lies on the axis, without stepping.
  void LabelAtValue(double value);
  void DrawValueLabels(double step);
  void DrawLogarithmicLabels();
  /// The logarithmic labels when they apply, else the value labels.
  void DrawOrdinaryLabels(double step);
  void DrawCustomLabels(double step);
  void DrawSeriesLabels(TAxisLabelStyle style);
  void DrawDepthLabels();
  int WidestValueLabel();

  // helpers of the drawing (axis_draw.cpp)
  void DrawTitle();
  void DrawTicksGridAndLine();
  void DrawAxisLine(int wall);
  /// A tick from start pixels outside the axis line over length pixels outward
  /// (inward when negative); wall is the wall beside the axis.
  void DrawTick(int pos, int start, int length, int wall);
  /// The grid pen made current (grey for clDefault), the background transparent.
  void PrepareGridPen(const TChartPen& pen);
  void DrawGridLine(int pos);
  /// Calls mark for every minor position strictly inside the span.
  void ForEachMinorPosition(const std::function<void(int)>& mark);

  // state: fixed
  TCustomAxisPanel* m_chart;
  bool m_horizontal;
  bool m_otherSide;
  bool m_depth;
  int m_defaultTitleAngle;

  // state: settings
  bool m_automatic = true;
  bool m_automaticMaximum = true;
  bool m_automaticMinimum = true;
  double m_maximum = 0;
  double m_minimum = 0;
  double m_increment = 0;
  bool m_logarithmic = false;
  int m_logarithmicBase = 10;
  bool m_inverted = false;
  std::string m_axisValuesFormat = kDefaultAxisValuesFormat;
  std::string m_dateTimeFormat;
  bool m_exactDateTime = true;
  bool m_roundFirstLabel = true;
  int m_labelsSeparation = 10;
  TAxisLabelStyle m_labelStyle = talAuto;
  bool m_labels = true;
  int m_labelsAngle = 0;
  TFont m_labelsFont;
  bool m_labelsMultiLine = false;
  bool m_labelsOnAxis = true;
  int m_labelsSize = 0;
  int m_titleSize = 0;
  TChartAxisTitle m_title{this};
  int m_tickLength = 4;
  int m_tickInnerLength = 0;
  int m_minorTickLength = 2;
  int m_minorTickCount = 3;
  bool m_tickOnLabelsOnly = true;
  bool m_gridCentered = false;
  TChartAxisPen m_axisPen;
  TDarkGrayPen m_ticks;
  TDarkGrayPen m_ticksInner;
  TDarkGrayPen m_minorTicks;
  TDottedGrayPen m_grid;
  TChartHiddenPen m_minorGrid;
  double m_startPosition = 0;
  double m_endPosition = 100;
  double m_positionPercent = 0;
  bool m_visible = true;

  // state: working
  TAxisScale m_scale;
  bool m_dateTimeScale = false;
  int m_axisLinePos = 0;
  int m_labelsPos = 0;
  int m_titlePos = 0;
  int m_calendarIndex = kNoCalendarStep;
  std::vector<int> m_tickPositions;
};

// [SECTION] Published axes

/// BottomAxis, TopAxis, LeftAxis, RightAxis and any axis added later.
class TChartAxis : public TCustomChartAxis {
 public:
  TChartAxis(TCustomAxisPanel* chart, const TAxisPlacement& placement) : TCustomChartAxis(chart, placement) {}
  std::string_view ClassName() const override { return "TChartAxis"; }
  /// Adds GridCentered, StartPosition, EndPosition and PositionPercent; the positions
  /// are stored only when they differ from 0, 100 and 0.
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override { return PublishedProperties(); }
};

/// The axis along the depth of a 3D chart: vertical, on the far side, hidden by default.
class TChartDepthAxis : public TCustomChartAxis {
 public:
  explicit TChartDepthAxis(TCustomAxisPanel* chart);
  std::string_view ClassName() const override { return "TChartDepthAxis"; }
};

}  // namespace tarvela
