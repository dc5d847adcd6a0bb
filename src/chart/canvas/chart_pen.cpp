#include "tarvela/chart/canvas/chart_pen.h"

namespace tarvela {

template <class T>
void TChartPen::Change(T& field, T value) {
  if (field == value) return;
  field = value;
  if (OnChange) OnChange();
}

void TChartPen::SetColor(TColor color) { Change(m_color, color); }
void TChartPen::SetWidth(int width) { Change(m_width, width); }
void TChartPen::SetStyle(TPenStyle style) { Change(m_style, style); }
void TChartPen::SetMode(TPenMode mode) { Change(m_mode, mode); }
void TChartPen::SetSmallDots(bool smallDots) { Change(m_smallDots, smallDots); }
void TChartPen::SetVisible(bool visible) { Change(m_visible, visible); }

void TChartPen::Assign(const TChartPen& source) {
  if (m_color == source.m_color && m_width == source.m_width && m_style == source.m_style &&
      m_mode == source.m_mode && m_smallDots == source.m_smallDots && m_visible == source.m_visible)
    return;
  m_color = source.m_color;
  m_width = source.m_width;
  m_style = source.m_style;
  m_mode = source.m_mode;
  m_smallDots = source.m_smallDots;
  m_visible = source.m_visible;
  if (OnChange) OnChange();
}

const PropertyTable& TChartPen::PublishedProperties() {
  static const EnumNames<TPenStyle> kStyles = {
      {psSolid, "psSolid"},           {psDash, "psDash"},   {psDot, "psDot"},
      {psDashDot, "psDashDot"},       {psDashDotDot, "psDashDotDot"},
      {psClear, "psClear"},           {psInsideFrame, "psInsideFrame"}};
  static const EnumNames<TPenMode> kModes = {
      {pmBlack, "pmBlack"},           {pmWhite, "pmWhite"},           {pmNop, "pmNop"},
      {pmNot, "pmNot"},               {pmCopy, "pmCopy"},             {pmNotCopy, "pmNotCopy"},
      {pmMergePenNot, "pmMergePenNot"}, {pmMaskPenNot, "pmMaskPenNot"},
      {pmMergeNotPen, "pmMergeNotPen"}, {pmMaskNotPen, "pmMaskNotPen"}, {pmMerge, "pmMerge"},
      {pmNotMerge, "pmNotMerge"},     {pmMask, "pmMask"},             {pmNotMask, "pmNotMask"},
      {pmXor, "pmXor"},               {pmNotXor, "pmNotXor"}};
  static const PropertyTable table(
      nullptr,
      {
          ColorProperty<TChartPen>("Color", &TChartPen::Color, &TChartPen::SetColor),
          EnumProperty<TChartPen, TPenMode>("Mode", &TChartPen::Mode, &TChartPen::SetMode, kModes),
          EnumProperty<TChartPen, TPenStyle>("Style", &TChartPen::Style, &TChartPen::SetStyle, kStyles),
          IntProperty<TChartPen>("Width", &TChartPen::Width, &TChartPen::SetWidth),
          BoolProperty<TChartPen>("SmallDots", &TChartPen::SmallDots, &TChartPen::SetSmallDots),
          BoolProperty<TChartPen>("Visible", &TChartPen::Visible, &TChartPen::SetVisible),
      });
  return table;
}

}  // namespace tarvela
