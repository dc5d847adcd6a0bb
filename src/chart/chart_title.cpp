#include "chart/chart_title.h"

#include "chart/chart.h"

namespace tarvela {

namespace {
constexpr const char* kDefaultFontName = "Arial";
constexpr int kDefaultFontSize = 8;
}  // namespace

// [SECTION] TChartFontObject

TChartFontObject::TChartFontObject(TCustomChart* chart) : m_chart(chart) {
  m_font.SetName(kDefaultFontName);
  m_font.SetSize(kDefaultFontSize);
  m_font.SetColor(clBlack);
  m_font.SetStyle(0);
  m_font.OnChange = [this] { Repaint(); };
}

void TChartFontObject::Repaint() {
  if (m_chart != nullptr) m_chart->Invalidate();
}

// [SECTION] TChartTitle

TChartTitle::TChartTitle(TCustomChart* chart) : TChartFontObject(chart) {
  auto handler = std::move(Font().OnChange);
  Font().SetColor(m_defaultFontColor);
  Font().OnChange = std::move(handler);
  m_brush.OnChange = [this] { Repaint(); };
  m_frame.OnChange = [this] { Repaint(); };
  m_text.OnChange = [this] { Repaint(); };
}

bool TChartTitle::IsFontStored() const {
  const TFont& font = Font();
  return font.Name() != kDefaultFontName || font.Size() != kDefaultFontSize || font.Color() != m_defaultFontColor ||
         font.Style() != m_defaultFontStyle;
}

void TChartTitle::Assign(const TChartTitle& source) {
  SetAdjustFrame(source.m_adjustFrame);
  SetAlignment(source.m_alignment);
  m_brush.Assign(source.m_brush);
  SetColor(source.m_color);
  SetFont(source.Font());
  m_frame.Assign(source.m_frame);
  SetText(source.m_text);
  SetVisible(source.m_visible);
}

const PropertyTable& TChartTitle::PublishedProperties() {
  using T = TChartTitle;
  static const EnumNames<TAlignment> kAlignments = {
      {taLeftJustify, "taLeftJustify"}, {taRightJustify, "taRightJustify"}, {taCenter, "taCenter"}};
  static const PropertyTable table(
      nullptr,
      {
          BoolProperty<T>("AdjustFrame", &T::AdjustFrame, &T::SetAdjustFrame),
          EnumProperty<T, TAlignment>("Alignment", &T::Alignment, &T::SetAlignment, kAlignments),
          ObjectProperty<T, TChartBrush>("Brush", static_cast<TChartBrush& (T::*)()>(&T::Brush)),
          ColorProperty<T>("Color", &T::Color, &T::SetColor),
          [] {
            PropertyInfo font = ObjectProperty<T, TFont>("Font", static_cast<TFont& (T::*)()>(&T::Font));
            font.stored = [](const TPersistent& o) { return static_cast<const T&>(o).IsFontStored(); };
            return font;
          }(),
          ObjectProperty<T, TChartPen>("Frame", static_cast<TChartPen& (T::*)()>(&T::Frame)),
          ObjectProperty<T, TStrings>("Text", static_cast<TStrings& (T::*)()>(&T::Text)),
          BoolProperty<T>("Visible", &T::Visible, &T::SetVisible),
      });
  return table;
}

}  // namespace tarvela
