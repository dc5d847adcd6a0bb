#pragma once
/// The walls that frame a chart's plot box in 3D (left, bottom, back): fill colour,
/// brush, outline pen, thickness and side shading. Only settings: the chart draws
/// the walls (TCustomChart::DrawChartWalls, walls.cpp). A wall belongs to one chart
/// and is not a component.
/// @file
#include "tarvela/chart/canvas/chart_brush.h"
#include "tarvela/chart/canvas/chart_pen.h"
#include "tarvela/runtime/colors.h"
#include "tarvela/runtime/persistent.h"
#include "tarvela/runtime/properties.h"

namespace tarvela {

class TCustomChart;

class TCustomChartWall : public TPersistent {
 public:
  /// defaultColor is both the starting Color and the value a writer leaves out.
  TCustomChartWall(TCustomChart* chart, TColor defaultColor);
  TCustomChartWall(const TCustomChartWall&) = delete;
  TCustomChartWall& operator=(const TCustomChartWall&) = delete;
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override { return PublishedProperties(); }

  // settings
  /// clDefault with a solid brush: the wall is outlined only.
  TColor Color() const { return m_color; }
  void SetColor(TColor color) { Change(m_color, color); }
  TChartBrush& Brush() { return m_brush; }
  const TChartBrush& Brush() const { return m_brush; }
  void SetBrush(const TChartBrush& brush) { m_brush.Assign(brush); }
  /// Shade the sides of a wall drawn as a box.
  bool Dark3D() const { return m_dark3D; }
  void SetDark3D(bool dark) { Change(m_dark3D, dark); }
  TChartPen& Pen() { return m_pen; }
  const TChartPen& Pen() const { return m_pen; }
  void SetPen(const TChartPen& pen) { m_pen.Assign(pen); }
  /// Thickness in pixels; 0 draws the wall as a flat plane.
  int Size() const { return m_size; }
  void SetSize(int pixels) { Change(m_size, pixels); }

  // operations
  /// The sides of the wall drawn as a box are darker, unless its brush is clear or a
  /// pattern, or Dark3D is off.
  bool ShadesSides() const;
  TCustomChart* ParentChart() const { return m_chart; }
  TColor DefaultColor() const { return m_defaultColor; }
  /// Copies colour, brush, shading, pen and size, each part by the change rule.
  void Assign(const TCustomChartWall& source);

 private:
  template <class T>
  void Change(T& field, T value) {
    if (field == value) return;
    field = value;
    Repaint();
  }
  void Repaint();

  // state
  TCustomChart* m_chart;
  TColor m_defaultColor;
  TColor m_color;
  TChartBrush m_brush;
  bool m_dark3D = true;
  TChartPen m_pen;
  int m_size = 0;
};

class TChartWall : public TCustomChartWall {
 public:
  using TCustomChartWall::TCustomChartWall;
  std::string_view ClassName() const override { return "TChartWall"; }
};

}  // namespace tarvela
