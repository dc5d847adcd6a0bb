#include "tarvela/chart/canvas/gradient.h"

#include "tarvela/chart/panel/panel.h"

namespace tarvela {

const EnumNames<TGradientDirection>& GradientDirectionNames() {
  static const EnumNames<TGradientDirection> kNames = {
      {gdTopBottom, "gdTopBottom"},   {gdBottomTop, "gdBottomTop"},       {gdLeftRight, "gdLeftRight"},
      {gdRightLeft, "gdRightLeft"},   {gdFromCenter, "gdFromCenter"},     {gdFromTopLeft, "gdFromTopLeft"},
      {gdFromBottomLeft, "gdFromBottomLeft"}};
  return kNames;
}

void TCustomZavGradient::Repaint() {
  if (m_owner != nullptr) m_owner->Invalidate();
}

void TChartGradient::Assign(const TChartGradient& source) {
  m_direction = source.m_direction;
  m_endColor = source.m_endColor;
  m_startColor = source.m_startColor;
  m_visible = source.m_visible;
  Repaint();
}

const PropertyTable& TChartGradient::PublishedProperties() {
  static const PropertyTable table(
      nullptr,
      {
          EnumProperty<TChartGradient, TGradientDirection>("Direction", &TChartGradient::Direction,
                                                           &TChartGradient::SetDirection, GradientDirectionNames()),
          ColorProperty<TChartGradient>("EndColor", &TChartGradient::EndColor, &TChartGradient::SetEndColor),
          ColorProperty<TChartGradient>("StartColor", &TChartGradient::StartColor, &TChartGradient::SetStartColor),
          BoolProperty<TChartGradient>("Visible", &TChartGradient::Visible, &TChartGradient::SetVisible),
      });
  return table;
}

}  // namespace tarvela
