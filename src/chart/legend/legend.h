#pragma once
/// The legend: the framed box beside the plot that lists either the series (one item
/// per series shown) or the points of one series, each item a symbol in its colour and
/// a text.
///
///     TCustomChartLegend  every setting with its checks; the item count and texts
///                         (legend.cpp); the layout and drawing of one paint, which takes
///                         the legend's room from PlotRect (legend_paint.cpp); the hit test
///                         of the last drawn legend.
///     TChartLegend        the class a form description reaches as Chart.Legend.
///
/// Not a component: the chart owns it by value and draws it inside
/// PlaceTitlesAndLegend. The layout state (ResolvedStyle, ColorBoxWidth, LegendBounds,
/// ColumnCount, RowCount) is rebuilt by every drawing and describes the last drawn
/// legend to the mouse until the next one.
/// @file
#include <functional>
#include <string>

#include "tarvela/chart/canvas/chart_brush.h"
#include "tarvela/chart/canvas/chart_pen.h"
#include "tarvela/chart/panel/chart_title.h"  // TChartFontObject
#include "tarvela/runtime/colors.h"
#include "tarvela/runtime/control.h"  // TRect
#include "tarvela/runtime/properties.h"

namespace tarvela {

class TChartSeries;
class TCustomChart;

enum TLegendAlignment { laLeft, laRight, laTop, laBottom };
enum TLegendStyle { lsAuto, lsSeries, lsValues, lsLastValues };
/// Fixed underlying type: the series base declares it opaquely for LegendValueText.
enum TLegendTextStyle : int { ltsPlain, ltsLeftValue, ltsRightValue, ltsLeftPercent, ltsRightPercent, ltsXValue };

const EnumNames<TLegendAlignment>& LegendAlignmentNames();
const EnumNames<TLegendStyle>& LegendStyleNames();
const EnumNames<TLegendTextStyle>& LegendTextStyleNames();

/// The chart's legend events; each may change what its var parameters hold.
using TOnGetLegendText =
    std::function<void(TCustomChart* sender, TLegendStyle legendStyle, int index, std::string& legendText)>;
using TOnGetLegendPos = std::function<void(TCustomChart* sender, int index, int& x, int& y, int& xColor)>;
using TOnGetLegendRect = std::function<void(TCustomChart* sender, TRect& rect)>;

class TCustomChartLegend : public TChartFontObject {
 public:
  explicit TCustomChartLegend(TCustomChart* chart);
  std::string_view ClassName() const override { return "TCustomChartLegend"; }
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override { return PublishedProperties(); }

  // settings
  TLegendAlignment Alignment() const { return m_alignment; }
  void SetAlignment(TLegendAlignment alignment) { Change(m_alignment, alignment); }
  TChartBrush& Brush() { return m_brush; }
  const TChartBrush& Brush() const { return m_brush; }
  void SetBrush(const TChartBrush& brush) { m_brush.Assign(brush); }
  /// The background colour.
  TColor Color() const { return m_color; }
  void SetColor(TColor color) { Change(m_color, color); }
  /// Width of the symbol column in percent of the text column, 0..100; LegendException.
  int ColorWidth() const { return m_colorWidth; }
  void SetColorWidth(int percent);
  TChartPen& DividingLines() { return m_dividingLines; }
  const TChartPen& DividingLines() const { return m_dividingLines; }
  void SetDividingLines(const TChartPen& pen) { m_dividingLines.Assign(pen); }
  /// Leading items left out, 0 or more; LegendException below 0.
  int FirstValue() const { return m_firstValue; }
  void SetFirstValue(int count);
  TChartPen& Frame() { return m_frame; }
  const TChartPen& Frame() const { return m_frame; }
  void SetFrame(const TChartPen& pen) { m_frame.Assign(pen); }
  /// Gap to the plot of a left or right legend; 0: 3 % of PlotWidth.
  int HorizMargin() const { return m_horizMargin; }
  void SetHorizMargin(int pixels) { Change(m_horizMargin, pixels); }
  /// The last item first.
  bool Inverted() const { return m_inverted; }
  void SetInverted(bool inverted) { Change(m_inverted, inverted); }
  /// Setting it resolves the style again.
  TLegendStyle LegendStyle() const { return m_legendStyle; }
  void SetLegendStyle(TLegendStyle style);
  /// Most rows of a top or bottom legend.
  int MaxNumRows() const { return m_maxNumRows; }
  void SetMaxNumRows(int rows) { Change(m_maxNumRows, rows); }
  /// Move PlotRect's edge to the legend (the gap is taken either way).
  bool ResizeChart() const { return m_resizeChart; }
  void SetResizeChart(bool resize) { Change(m_resizeChart, resize); }
  TColor ShadowColor() const { return m_shadowColor; }
  void SetShadowColor(TColor color) { Change(m_shadowColor, color); }
  /// Shadow offset in pixels; 0 or less draws none.
  int ShadowSize() const { return m_shadowSize; }
  void SetShadowSize(int pixels) { Change(m_shadowSize, pixels); }
  TLegendTextStyle TextStyle() const { return m_textStyle; }
  void SetTextStyle(TLegendTextStyle style) { Change(m_textStyle, style); }
  /// Percent, 0..100 (LegendException): the top of a left or right legend in the
  /// paint height; the horizontal shift of a top or bottom one.
  int TopPos() const { return m_topPos; }
  void SetTopPos(int percent);
  /// Gap to the plot of a top or bottom legend; 0: 4 % of PlotHeight.
  int VertMargin() const { return m_vertMargin; }
  void SetVertMargin(int pixels) { Change(m_vertMargin, pixels); }
  bool Visible() const { return m_visible; }
  void SetVisible(bool visible) { Change(m_visible, visible); }

  // operations
  /// Copies the settings and the font; not DividingLines, ShadowColor, ShadowSize.
  void Assign(const TCustomChartLegend& source);
  void ResolveStyle();
  bool IsVertical() const { return m_alignment == laLeft || m_alignment == laRight; }
  /// Items to list, after FirstValue; never below 0.
  int ItemCount() const;
  /// The text of item n before the chart's OnGetLegendText.
  std::string ItemText(int n) const;
  /// The series' LegendValueText of point i in TextStyle, on one line; empty for -1.
  std::string ValueText(const TChartSeries* series, int i) const;
  /// The widest LegendText of count items from FirstValue on (-1: all), legend font.
  int WidestText(int count);
  /// The item position under (x, y) in the legend last drawn, or -1.
  int ItemAt(int x, int y);

  // state of the last drawing
  TLegendStyle ResolvedStyle() const { return m_resolvedStyle; }
  int ColorBoxWidth() const { return m_colorBoxWidth; }
  const TRect& LegendBounds() const { return m_legendBounds; }
  int ColumnCount() const { return m_columnCount; }
  int RowCount() const { return m_rowCount; }

  // overridable steps
  /// How many items of itemSize pixels fit from start to the plot's far edge.
  virtual int ItemsThatFit(int start, int itemSize);
  /// Lays out and draws the legend, then takes its room from PlotRect.
  virtual void PaintLegend();

 private:
  template <class T>
  void Change(T& field, T value) {
    if (field == value) return;
    field = value;
    Repaint();
  }
  TCustomChart& Chart() const { return *ParentChart(); }
  /// Columns and rows of a top or bottom legend for items textWidth wide.
  void ComputeColumnsAndRows(int textWidth, int itemCount);
  void DrawBackground();
  void PaintItem(int index, int position);

  // settings
  TLegendAlignment m_alignment = laRight;
  TChartBrush m_brush;
  TColor m_color = clWhite;
  int m_colorWidth = 12;
  TChartHiddenPen m_dividingLines;
  int m_firstValue = 0;
  TChartPen m_frame;
  int m_horizMargin = 0;
  bool m_inverted = false;
  TLegendStyle m_legendStyle = lsAuto;
  int m_maxNumRows = 10;
  bool m_resizeChart = true;
  TColor m_shadowColor = clBlack;
  int m_shadowSize = 3;
  TLegendTextStyle m_textStyle = ltsLeftValue;
  int m_topPos = 10;
  int m_vertMargin = 0;
  bool m_visible = true;

  // state: the last drawing (zero before the first)
  TLegendStyle m_resolvedStyle = lsAuto;
  int m_colorBoxWidth = 0;
  TRect m_legendBounds;
  int m_columnCount = 0;
  int m_rowCount = 0;
  /// Working values of one drawing, shared by its items.
  int m_itemHeight = 0;
  int m_textWidth = 0;
  int m_xText = 0;
  int m_xColor = 0;
  int m_itemCount = 0;
};

class TChartLegend : public TCustomChartLegend {
 public:
  using TCustomChartLegend::TCustomChartLegend;
  std::string_view ClassName() const override { return "TChartLegend"; }
};

}  // namespace tarvela
