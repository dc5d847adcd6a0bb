#include "tarvela/chart/canvas/chart_brush.h"

namespace tarvela {

const EnumNames<TBrushStyle>& BrushStyleNames() {
  static const EnumNames<TBrushStyle> kStyles = {
      {bsSolid, "bsSolid"},         {bsClear, "bsClear"},         {bsHorizontal, "bsHorizontal"},
      {bsVertical, "bsVertical"},   {bsFDiagonal, "bsFDiagonal"}, {bsBDiagonal, "bsBDiagonal"},
      {bsCross, "bsCross"},         {bsDiagCross, "bsDiagCross"}};
  return kStyles;
}

void TChartBrush::Changed() {
  if (OnChange) OnChange();
}

void TChartBrush::SetColor(TColor color) {
  if (color == m_color) return;
  m_color = color;
  Changed();
}

void TChartBrush::SetStyle(TBrushStyle style) {
  if (style == m_style) return;
  m_style = style;
  Changed();
}

void TChartBrush::SetPattern(const Picture& pattern) {
  if (pattern == m_pattern) return;
  m_pattern = pattern;
  Changed();
}

void TChartBrush::Assign(const TChartBrush& source) {
  if (m_color == source.m_color && m_style == source.m_style && m_pattern == source.m_pattern) return;
  m_color = source.m_color;
  m_style = source.m_style;
  m_pattern = source.m_pattern;
  Changed();
}

const PropertyTable& TChartBrush::PublishedProperties() {
  static const PropertyTable table(
      nullptr,
      {
          ColorProperty<TChartBrush>("Color", &TChartBrush::Color, &TChartBrush::SetColor),
          EnumProperty<TChartBrush, TBrushStyle>("Style", &TChartBrush::Style, &TChartBrush::SetStyle, BrushStyleNames()),
      });
  return table;
}

}  // namespace tarvela
