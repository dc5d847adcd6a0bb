#include "tarvela/chart/series/point_series.h"

namespace tarvela {

TPointSeries::TPointSeries(TComponent* owner) : TCustomSeries(owner) {
  SetConnectPoints(false);
  SetSegmentsClickable(false);
  Marks().SetArrowLength(0);
  Pointer().SetVisible(true);
}

void TPointSeries::SetColorEachPoint(bool colorEachPoint) {
  TCustomSeries::SetColorEachPoint(colorEachPoint);
  // A pointer brush of a colour of its own would paint every point alike.
  if (colorEachPoint) Pointer().Brush().SetColor(clDefault);
}

void TPointSeries::Assign(const TChartSeries& source) {
  if (&source == this) return;
  TCustomSeries::Assign(source);
  Pointer().SetVisible(true);
  SetDrawArea(false);
  SetConnectPoints(false);
  SetSegmentsClickable(false);
}

const PropertyTable& TPointSeries::PublishedProperties() {
  using P = TPointSeries;
  static const PropertyTable table(
      &TCustomSeries::PublishedProperties(),
      {
          ObjectProperty<P, TSeriesPointer>("Pointer", static_cast<TSeriesPointer& (P::*)()>(&P::Pointer)),
          ObjectProperty<P, TChartValueList>("XValues", static_cast<TChartValueList& (P::*)()>(&P::XValues)),
          ObjectProperty<P, TChartValueList>("YValues", static_cast<TChartValueList& (P::*)()>(&P::YValues)),
          EventProperty<P, TSeriesClickPointerEvent>("OnClickPointer", &P::OnClickPointer),
      });
  return table;
}

}  // namespace tarvela
