#include "chart/axis_panel.h"

namespace tarvela {

TCustomAxisPanel::TCustomAxisPanel(TComponent* owner) : TCustomZavPanelExtended(owner) {}

void TCustomAxisPanel::Assign(const TCustomZavPanel& source) {
  if (auto* chart = dynamic_cast<const TCustomAxisPanel*>(&source); chart != nullptr && chart != this) {
    m_axisVisible = chart->m_axisVisible;
    m_clipPoints = chart->m_clipPoints;
    m_scaleLastPage = chart->m_scaleLastPage;
    m_view3DWalls = chart->m_view3DWalls;
  }
  TCustomZavPanelExtended::Assign(source);
}

const PropertyTable& TCustomAxisPanel::PublishedProperties() {
  using P = TCustomAxisPanel;
  static const PropertyTable table(
      &TCustomZavPanelExtended::PublishedProperties(),
      {
          BoolProperty<P>("AxisVisible", &P::AxisVisible, &P::SetAxisVisible),
          BoolProperty<P>("ClipPoints", &P::ClipPoints, &P::SetClipPoints),
          BoolProperty<P>("View3DWalls", &P::View3DWalls, &P::SetView3DWalls),
          BoolProperty<P>("ScaleLastPage", &P::ScaleLastPage, &P::SetScaleLastPage),
      });
  return table;
}

}  // namespace tarvela
