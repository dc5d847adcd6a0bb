#include "chart/series_pointer.h"

#include "chart/chart_series.h"
#include "chart/messages.h"
#include "runtime/exceptions.h"

namespace tarvela {

const EnumNames<TSeriesPointerStyle>& SeriesPointerStyleNames() {
  static const EnumNames<TSeriesPointerStyle> kNames = {
      {psRectangle, "psRectangle"}, {psCircle, "psCircle"},       {psTriangle, "psTriangle"},
      {psDownTriangle, "psDownTriangle"}, {psCross, "psCross"},   {psDiagCross, "psDiagCross"},
      {psStar, "psStar"},           {psDiamond, "psDiamond"},     {psSmallDot, "psSmallDot"}};
  return kNames;
}

TSeriesPointer::TSeriesPointer(TChartSeries* series) : m_series(series) {
  m_brush.OnChange = [this] { Repaint(); };
  m_pen.OnChange = [this] { Repaint(); };
}

void TSeriesPointer::Repaint() const {
  if (m_series != nullptr) m_series->Repaint();
}

void TSeriesPointer::SetHorizSize(int pixels) {
  if (pixels < 1) throw ChartException(messages::kPointerSize);
  Change(m_horizSize, pixels);
}

void TSeriesPointer::SetVertSize(int pixels) {
  if (pixels < 1) throw ChartException(messages::kPointerSize);
  Change(m_vertSize, pixels);
}

void TSeriesPointer::Assign(const TSeriesPointer& source) {
  if (&source == this) return;
  m_brush.Assign(source.m_brush);
  SetDark3D(source.m_dark3D);
  SetDraw3D(source.m_draw3D);
  SetHorizSize(source.m_horizSize);
  SetInflateMargins(source.m_inflateMargins);
  m_pen.Assign(source.m_pen);
  SetStyle(source.m_style);
  SetVertSize(source.m_vertSize);
  SetVisible(source.m_visible);
}

const PropertyTable& TSeriesPointer::PublishedProperties() {
  using P = TSeriesPointer;
  // InflateMargins, Style and Visible are written whatever their value.
  static const PropertyTable table(
      nullptr, {
                   ObjectProperty<P, TChartBrush>("Brush", static_cast<TChartBrush& (P::*)()>(&P::Brush)),
                   BoolProperty<P>("Dark3D", &P::Dark3D, &P::SetDark3D),
                   BoolProperty<P>("Draw3D", &P::Draw3D, &P::SetDraw3D),
                   IntProperty<P>("HorizSize", &P::HorizSize, &P::SetHorizSize),
                   BoolProperty<P>("InflateMargins", &P::InflateMargins, &P::SetInflateMargins),
                   ObjectProperty<P, TChartPen>("Pen", static_cast<TChartPen& (P::*)()>(&P::Pen)),
                   EnumProperty<P, TSeriesPointerStyle>("Style", &P::Style, &P::SetStyle, SeriesPointerStyleNames()),
                   IntProperty<P>("VertSize", &P::VertSize, &P::SetVertSize),
                   BoolProperty<P>("Visible", &P::Visible, &P::SetVisible),
               });
  return table;
}

}  // namespace tarvela
