#include "chart/walls.h"

#include "chart/chart.h"

namespace tarvela {

TCustomChartWall::TCustomChartWall(TCustomChart* chart, TColor defaultColor)
    : m_chart(chart), m_defaultColor(defaultColor), m_color(defaultColor) {
  m_brush.OnChange = [this] { Repaint(); };
  m_pen.OnChange = [this] { Repaint(); };
}

void TCustomChartWall::Repaint() {
  if (m_chart != nullptr) m_chart->Invalidate();
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

}  // namespace tarvela
