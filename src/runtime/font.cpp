#include "tarvela/runtime/font.h"

#include "tarvela/runtime/rounding.h"

namespace tarvela {

TFont::TFont() = default;

void TFont::Changed() {
  if (OnChange) OnChange();
}

void TFont::SetName(const std::string& name) {
  if (name == m_name) return;
  m_name = name;
  Changed();
}

void TFont::SetHeight(int height) {
  if (height == m_height) return;
  m_height = height;
  Changed();
}

int TFont::Size() const {
  return static_cast<int>(-MulDiv(m_height, 72, m_pixelsPerInch));
}

void TFont::SetSize(int points) { SetHeight(-MulDiv(points, m_pixelsPerInch, 72)); }

void TFont::SetPixelsPerInch(int ppi) {
  if (ppi <= 0 || ppi == m_pixelsPerInch) return;
  m_pixelsPerInch = ppi;
  Changed();
}

void TFont::SetStyle(TFontStyles style) {
  if (style == m_style) return;
  m_style = style;
  Changed();
}

void TFont::SetColor(TColor color) {
  if (color == m_color) return;
  m_color = color;
  Changed();
}

void TFont::SetCharset(int charset) {
  if (charset == m_charset) return;
  m_charset = charset;
  Changed();
}

void TFont::Assign(const TFont& other) {
  if (*this == other) return;
  m_name = other.m_name;
  m_height = other.m_height;
  m_pixelsPerInch = other.m_pixelsPerInch;
  m_style = other.m_style;
  m_color = other.m_color;
  m_charset = other.m_charset;
  Changed();
}

bool TFont::operator==(const TFont& other) const {
  return m_name == other.m_name && m_height == other.m_height &&
         m_pixelsPerInch == other.m_pixelsPerInch && m_style == other.m_style &&
         m_color == other.m_color && m_charset == other.m_charset;
}

const PropertyTable& TFont::PublishedProperties() {
  static const EnumNames<TFontStyle> kStyles = {
      {fsBold, "fsBold"}, {fsItalic, "fsItalic"}, {fsUnderline, "fsUnderline"}, {fsStrikeOut, "fsStrikeOut"}};
  static const EnumNames<TFontCharset> kCharsets = {{ANSI_CHARSET, "ANSI_CHARSET"},
                                                    {DEFAULT_CHARSET, "DEFAULT_CHARSET"},
                                                    {SYMBOL_CHARSET, "SYMBOL_CHARSET"},
                                                    {RUSSIAN_CHARSET, "RUSSIAN_CHARSET"}};
  static const PropertyTable table(
      nullptr,
      {
          EnumProperty<TFont, TFontCharset>(
              "Charset", [](const TFont& f) { return static_cast<TFontCharset>(f.Charset()); },
              [](TFont& f, TFontCharset c) { f.SetCharset(c); }, kCharsets),
          ColorProperty<TFont>("Color", &TFont::Color, &TFont::SetColor),
          IntProperty<TFont>("Height", &TFont::Height, &TFont::SetHeight),
          StringProperty<TFont>("Name", &TFont::Name, &TFont::SetName),
          IntProperty<TFont>("Size", &TFont::Size, &TFont::SetSize,
                             [](const TPersistent&) { return false; }),
          SetProperty<TFont, TFontStyle>("Style", &TFont::Style, &TFont::SetStyle, kStyles),
      });
  return table;
}

}  // namespace tarvela
