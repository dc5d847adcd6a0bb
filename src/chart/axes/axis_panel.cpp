#include "tarvela/chart/axes/axis_panel.h"

namespace tarvela {

TCustomAxisPanel::TCustomAxisPanel(TComponent* owner) : TCustomZavPanelExtended(owner) {
  CreateStandardAxes();
  SeriesArrangementChanged();
}

void TCustomAxisPanel::Assign(const TCustomZavPanel& source) {
  if (auto* chart = dynamic_cast<const TCustomAxisPanel*>(&source); chart != nullptr && chart != this) {
    m_axisVisible = chart->m_axisVisible;
    m_clipPoints = chart->m_clipPoints;
    m_scaleLastPage = chart->m_scaleLastPage;
    m_view3DWalls = chart->m_view3DWalls;
    m_bottomAxis->Assign(*chart->m_bottomAxis);
    m_topAxis->Assign(*chart->m_topAxis);
    m_leftAxis->Assign(*chart->m_leftAxis);
    m_rightAxis->Assign(*chart->m_rightAxis);
    m_depthAxis->Assign(*chart->m_depthAxis);
    m_maxPointsPerPage = chart->m_maxPointsPerPage;
    m_page = chart->m_page;
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
          ObjectProperty<P, TChartAxis>("BottomAxis", static_cast<TChartAxis& (P::*)()>(&P::BottomAxis)),
          ObjectProperty<P, TChartAxis>("TopAxis", static_cast<TChartAxis& (P::*)()>(&P::TopAxis)),
          ObjectProperty<P, TChartAxis>("LeftAxis", static_cast<TChartAxis& (P::*)()>(&P::LeftAxis)),
          ObjectProperty<P, TChartAxis>("RightAxis", static_cast<TChartAxis& (P::*)()>(&P::RightAxis)),
          ObjectProperty<P, TChartDepthAxis>("DepthAxis",
                                             static_cast<TChartDepthAxis& (P::*)()>(&P::DepthAxis)),
          IntProperty<P>("MaxPointsPerPage", &P::MaxPointsPerPage, &P::SetMaxPointsPerPage),
          IntProperty<P>("Page", &P::Page, &P::SetPage),
          EventProperty<P, TAxisOnGetLabel>("OnGetAxisLabel", &P::OnGetAxisLabel),
          EventProperty<P, TAxisOnGetNextLabel>("OnGetNextAxisLabel", &P::OnGetNextAxisLabel),
          EventProperty<P, TNotifyEvent>("OnBeforeDrawAxes", &P::OnBeforeDrawAxes),
          EventProperty<P, TNotifyEvent>("OnBeforeDrawSeries", &P::OnBeforeDrawSeries),
          EventProperty<P, TNotifyEvent>("OnAfterDraw", &P::OnAfterDraw),
          EventProperty<P, TNotifyEvent>("OnPageChange", &P::OnPageChange),
      });
  return table;
}

}  // namespace tarvela
