#include "tarvela/chart/chart.h"

namespace tarvela {

TCustomChart::TCustomChart(TComponent* owner) : TCustomAxisPanel(owner) {
  // The back wall only frames the plot unless a fill is asked for.
  m_backWall.Brush().SetStyle(bsClear);
}

TCustomChart::~TCustomChart() = default;

void TCustomChart::SetBackColor(TColor color) {
  m_backWall.SetColor(color);
  // A description stores the brush style on its own; only a colour set at run time
  // means "fill the back wall".
  if (!Loading() && Parent() != nullptr) m_backWall.Brush().SetStyle(bsSolid);
}

const PropertyTable& TCustomChart::PublishedProperties() {
  using C = TCustomChart;
  static const PropertyTable table(
      &TCustomAxisPanel::PublishedProperties(),
      {
          ObjectProperty<C, TChartWall>("BackWall", static_cast<TChartWall& (C::*)()>(&C::BackWall)),
          ObjectProperty<C, TChartWall>("LeftWall", static_cast<TChartWall& (C::*)()>(&C::LeftWall)),
          ObjectProperty<C, TChartWall>("BottomWall", static_cast<TChartWall& (C::*)()>(&C::BottomWall)),
          ObjectProperty<C, TChartTitle>("Title", static_cast<TChartTitle& (C::*)()>(&C::Title)),
          ObjectProperty<C, TChartTitle>("Foot", static_cast<TChartTitle& (C::*)()>(&C::Foot)),
          ColorProperty<C>("BackColor", &C::BackColor, &C::SetBackColor),
          ObjectProperty<C, TChartPen>("Frame", static_cast<TChartPen& (C::*)()>(&C::Frame)),
          ObjectProperty<C, TChartLegend>("Legend", static_cast<TChartLegend& (C::*)()>(&C::Legend)),
          EventProperty<C, TOnGetLegendText>("OnGetLegendText", &C::OnGetLegendText),
          EventProperty<C, TOnGetLegendPos>("OnGetLegendPos", &C::OnGetLegendPos),
          EventProperty<C, TOnGetLegendRect>("OnGetLegendRect", &C::OnGetLegendRect),
      });
  return table;
}

}  // namespace tarvela
