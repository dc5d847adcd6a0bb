#pragma once
/// TSeriesPointer holds the settings of the marker a line, point or area series can
/// draw at each point: whether it shows, its shape, its half sizes, its pen and
/// brush, and whether it asks the axes for room at their ends; and the drawing of
/// its shapes on the series' chart, flat or as solids in the series' depth slab.
///
/// Not a component: its series owns it by value, and every change repaints the
/// series' chart.
/// @file
#include "tarvela/chart/canvas/chart_brush.h"
#include "tarvela/chart/canvas/chart_pen.h"
#include "tarvela/runtime/colors.h"
#include "tarvela/runtime/control.h"
#include "tarvela/runtime/persistent.h"
#include "tarvela/runtime/properties.h"

namespace tarvela {

class TChartSeries;

enum TSeriesPointerStyle {
  psRectangle, psCircle, psTriangle, psDownTriangle, psCross, psDiagCross, psStar, psDiamond, psSmallDot
};
const EnumNames<TSeriesPointerStyle>& SeriesPointerStyleNames();

class TSeriesPointer : public TPersistent {
 public:
  explicit TSeriesPointer(TChartSeries* series);
  TSeriesPointer(const TSeriesPointer&) = delete;
  TSeriesPointer& operator=(const TSeriesPointer&) = delete;
  std::string_view ClassName() const override { return "TSeriesPointer"; }
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override { return PublishedProperties(); }

  // settings
  /// Fill of the shape; clDefault takes the point's colour.
  TChartBrush& Brush() { return m_brush; }
  const TChartBrush& Brush() const { return m_brush; }
  void SetBrush(const TChartBrush& brush) { m_brush.Assign(brush); }
  /// Darken the side faces of solids.
  bool Dark3D() const { return m_dark3D; }
  void SetDark3D(bool dark) { Change(m_dark3D, dark); }
  /// In a 3D chart, solids instead of flat shapes.
  bool Draw3D() const { return m_draw3D; }
  void SetDraw3D(bool draw3D) { Change(m_draw3D, draw3D); }
  /// Half width in pixels, at least 1 ("Pointer size must be greater than zero").
  int HorizSize() const { return m_horizSize; }
  void SetHorizSize(int pixels);
  /// Ask the axes for room at their ends, so markers at the edges show whole.
  bool InflateMargins() const { return m_inflateMargins; }
  void SetInflateMargins(bool inflate) { Change(m_inflateMargins, inflate); }
  /// Outline; clDefault takes the point's colour.
  TChartPen& Pen() { return m_pen; }
  const TChartPen& Pen() const { return m_pen; }
  void SetPen(const TChartPen& pen) { m_pen.Assign(pen); }
  TSeriesPointerStyle Style() const { return m_style; }
  void SetStyle(TSeriesPointerStyle style) { Change(m_style, style); }
  /// Half height in pixels, at least 1.
  int VertSize() const { return m_vertSize; }
  void SetVertSize(int pixels);
  bool Visible() const { return m_visible; }
  void SetVisible(bool visible) { Change(m_visible, visible); }

  // operations
  TChartSeries* ParentSeries() const { return m_series; }
  /// Copies every setting, each by the change rule.
  void Assign(const TSeriesPointer& source);

  // operations: drawing on the series' chart (nothing without one)
  /// The canvas pen and brush from Pen and Brush, clDefault colours taking color.
  void ApplyPenAndBrush(TColor color);
  /// The shape of style around (x, y) with half sizes horizSize and vertSize: flat
  /// in 2D (is3D false), else at the series' front depth or as a solid through its
  /// slab when Draw3D.
  void DrawShape(bool is3D, int x, int y, int horizSize, int vertSize, TColor color, TSeriesPointerStyle style);
  /// DrawShape with the chart's View3D and the pointer's own sizes.
  void DrawAt(int x, int y, TColor color, TSeriesPointerStyle style);
  /// The shape drawn flat in the middle of rect, at most a third of it (smallSize)
  /// or a half, so that a line beside it stays visible.
  void DrawLegendSymbol(TColor color, const TRect& rect, bool smallSize);
  /// Raise the margins to the half size + 1 when Visible and InflateMargins.
  void HorizMargins(int& left, int& right) const;
  void VertMargins(int& top, int& bottom) const;

 private:
  template <class T>
  void Change(T& field, T value) {
    if (field == value) return;
    field = value;
    Repaint();
  }
  void Repaint() const;

  // state
  TChartSeries* m_series;
  TChartBrush m_brush;
  bool m_dark3D = true;
  bool m_draw3D = true;
  int m_horizSize = 4;
  bool m_inflateMargins = true;
  TChartPen m_pen;
  TSeriesPointerStyle m_style = psRectangle;
  int m_vertSize = 4;
  bool m_visible = true;
};

}  // namespace tarvela
