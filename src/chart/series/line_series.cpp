#include "tarvela/chart/series/line_series.h"

namespace tarvela {

// [SECTION] TCustomSeries

TCustomSeries::TCustomSeries(TComponent* owner) : TChartSeries(owner) {
  m_areaLinesPen.OnChange = [this] { Repaint(); };
  m_linePen.OnChange = [this] { Repaint(); };
  // The segment that leaves the plot must be drawn, so its far point counts as visible.
  SetReachPastEnd(true);
}

void TCustomSeries::Assign(const TChartSeries& source) {
  if (&source == this) return;
  if (auto* custom = dynamic_cast<const TCustomSeries*>(&source)) {
    m_segmentsClickable = custom->m_segmentsClickable;
    SetAreaBrush(custom->m_areaBrush);
    SetAreaColor(custom->m_areaColor);
    m_areaLinesPen.Assign(custom->m_areaLinesPen);
    SetDark3D(custom->m_dark3D);
    SetDrawArea(custom->m_drawArea);
    SetConnectPoints(custom->m_connectPoints);
    SetInvertedStairs(custom->m_invertedStairs);
    m_linePen.Assign(custom->m_linePen);
    SetLineBrush(custom->m_lineBrush);
    SetLineHeight(custom->m_lineHeight);
    m_pointer.Assign(custom->m_pointer);
    SetStairs(custom->m_stairs);
  }
  TChartSeries::Assign(source);
}

const PropertyTable& TCustomSeries::PublishedProperties() {
  using C = TCustomSeries;
  static const PropertyTable table(&TChartSeries::PublishedProperties(),
                                   {
                                       EventProperty<C, TOnGetPointerStyle>("OnGetPointerStyle", &C::OnGetPointerStyle),
                                   });
  return table;
}

// [SECTION] TLineSeries

TLineSeries::TLineSeries(TComponent* owner) : TCustomSeries(owner) {
  SetConnectPoints(true);
  Pointer().SetVisible(false);
  SetAllowSinglePoint(false);
}

void TLineSeries::Assign(const TChartSeries& source) {
  if (&source == this) return;
  TCustomSeries::Assign(source);
  SetDrawArea(false);
  SetConnectPoints(true);
  if (dynamic_cast<const TLineSeries*>(&source) == nullptr) Pointer().SetVisible(false);
}

const PropertyTable& TLineSeries::PublishedProperties() {
  using L = TLineSeries;
  static const PropertyTable table(
      &TCustomSeries::PublishedProperties(),
      {
          BoolProperty<L>("Dark3D", &L::Dark3D, &L::SetDark3D),
          BoolProperty<L>("InvertedStairs", &L::InvertedStairs, &L::SetInvertedStairs),
          EnumProperty<L, TBrushStyle>("LineBrush", &L::LineBrush, &L::SetLineBrush, BrushStyleNames()),
          IntProperty<L>("LineHeight", &L::LineHeight, &L::SetLineHeight),
          ObjectProperty<L, TChartPen>("LinePen", static_cast<TChartPen& (L::*)()>(&L::LinePen)),
          ObjectProperty<L, TSeriesPointer>("Pointer", static_cast<TSeriesPointer& (L::*)()>(&L::Pointer)),
          BoolProperty<L>("Stairs", &L::Stairs, &L::SetStairs),
          ObjectProperty<L, TChartValueList>("XValues", static_cast<TChartValueList& (L::*)()>(&L::XValues)),
          ObjectProperty<L, TChartValueList>("YValues", static_cast<TChartValueList& (L::*)()>(&L::YValues)),
      });
  return table;
}

}  // namespace tarvela
