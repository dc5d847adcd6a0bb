// The walls: their settings, and how the chart draws them around the plot box.
//
// Contents
//   [SECTION] TCustomChartWall
//   [SECTION] Drawing the walls
//
// In 2D the back wall is one rectangle framing the plot, edges included. In 3D with
// walls shown, the back wall stands at the box depth d, the left wall along x = L from
// the front to the back, the bottom wall along y = B; a wall with a Size is a box that
// thick, else a flat plane. In 3D without walls nothing is drawn.

#include "tarvela/chart/panel/walls.h"

#include "tarvela/chart/chart.h"

namespace tarvela {

// [SECTION] TCustomChartWall

TCustomChartWall::TCustomChartWall(TCustomChart* chart, TColor defaultColor)
    : m_chart(chart), m_defaultColor(defaultColor), m_color(defaultColor) {
  m_brush.OnChange = [this] { Repaint(); };
  m_pen.OnChange = [this] { Repaint(); };
}

void TCustomChartWall::Repaint() {
  if (m_chart != nullptr) m_chart->Invalidate();
}

bool TCustomChartWall::ShadesSides() const {
  return m_brush.Style() != bsClear && !m_brush.HasPattern() && m_dark3D;
}

void TCustomChartWall::Assign(const TCustomChartWall& source) {
  SetColor(source.m_color);
  m_brush.Assign(source.m_brush);
  SetDark3D(source.m_dark3D);
  m_pen.Assign(source.m_pen);
  SetSize(source.m_size);
}

const PropertyTable& TCustomChartWall::PublishedProperties() {
  using W = TCustomChartWall;
  static const PropertyTable table(
      nullptr,
      {
          ColorProperty<W>("Color", &W::Color, &W::SetColor,
                           [](const W& wall) { return wall.Color() != wall.DefaultColor(); }),
          ObjectProperty<W, TChartBrush>("Brush", static_cast<TChartBrush& (W::*)()>(&W::Brush)),
          BoolProperty<W>("Dark3D", &W::Dark3D, &W::SetDark3D),
          ObjectProperty<W, TChartPen>("Pen", static_cast<TChartPen& (W::*)()>(&W::Pen)),
          IntProperty<W>("Size", &W::Size, &W::SetSize),
      });
  return table;
}

// [SECTION] Drawing the walls

int TCustomChart::WallSizeForAxis(const TCustomChartAxis& axis) const {
  if (!View3D() || !View3DWalls()) return 0;
  if (&axis == &LeftAxis()) return m_leftWall.Size();
  if (&axis == &BottomAxis()) return m_bottomWall.Size();
  return 0;
}

void TCustomChart::PrepareWallFill(const TCustomChartWall& wall) {
  TZavCanvas3D& canvas = Canvas();
  canvas.ApplyChartPen(wall.Pen());
  const TChartBrush& brush = wall.Brush();
  if (brush.HasPattern()) {
    canvas.SetBrushPattern(brush.Pattern());
    return;
  }
  canvas.ClearBrushPattern();
  if (wall.Color() == clDefault && brush.Style() == bsSolid) {
    // No colour of its own: the wall is outlined only.
    canvas.SetBrushStyle(bsClear);
  } else {
    ApplyFillBrush(wall.Color(), brush.Style(), brush.Color());
  }
}

void TCustomChart::ApplyCircledMode(bool restore) {
  TCustomAxisPanel::ApplyCircledMode(restore);
  Frame().SetVisible(restore);
  m_backWall.Brush().SetStyle(restore ? bsSolid : bsClear);
}

void TCustomChart::DrawChartWalls() {
  TZavCanvas3D& canvas = Canvas();
  const int depth = BoxDepthX();
  const TRect plot = PlotRect();
  const int wallLeft = WallSizeForAxis(LeftAxis());
  const int wallBottom = WallSizeForAxis(BottomAxis());
  const bool walls3D = View3D() && View3DWalls();

  PrepareWallFill(m_backWall);
  if (!View3D()) {
    canvas.DrawRectangle(plot.left, plot.top, plot.right + 1, plot.bottom + 1);
  } else if (walls3D) {
    const int size = depth < 0 ? -m_backWall.Size() : m_backWall.Size();
    if (m_backWall.Size() > 0) {
      canvas.DrawBox(plot.left - wallLeft, plot.right, plot.top, plot.bottom + wallBottom, depth, depth + size,
                     m_backWall.ShadesSides());
    } else {
      canvas.RectangleAtDepth({plot.left + 1, plot.top - 1, plot.right, plot.bottom}, depth);
    }
  }

  if (!BackImage().Empty() && BackImageInside()) {
    TRect r = plot;
    // Inside the back wall's outline.
    if (m_backWall.Pen().Visible()) {
      ++r.top;
      --r.bottom;
    }
    DrawBackImage(r, depth);
  }
  if (!walls3D) return;

  PrepareWallFill(m_leftWall);
  if (m_leftWall.Size() > 0) {
    canvas.DrawBox(plot.left - m_leftWall.Size(), plot.left, plot.top, plot.bottom + wallBottom, 0, depth,
                   m_leftWall.ShadesSides());
  } else {
    canvas.SideRectangle(plot.left, plot.top, plot.bottom + wallBottom, 0, depth + 1);
  }

  PrepareWallFill(m_bottomWall);
  const int y = canvas.RotatesFreely() ? plot.bottom + 1 : plot.bottom;
  if (m_bottomWall.Size() > 0) {
    canvas.DrawBox(plot.left, plot.right, y, y + m_bottomWall.Size(), 0, depth, m_bottomWall.ShadesSides());
  } else {
    canvas.FloorRectangle(plot.left, y, plot.right, 0, depth);
  }
}

}  // namespace tarvela
