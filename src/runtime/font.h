#pragma once
/// A font description shared by the controls and the chart: name, height or size,
/// style, colour and character set. It only describes; surfaces and widgets realise it.
/// @file
#include <cstdint>
#include <functional>
#include <string>

#include "tarvela/runtime/colors.h"
#include "tarvela/runtime/persistent.h"
#include "tarvela/runtime/properties.h"

namespace tarvela {

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = std::uint32_t;  ///< bit (1u << TFontStyle)

inline constexpr TFontStyles FontStyleBit(TFontStyle style) { return 1u << style; }

/// Character sets a description may name; they only pick the script of a face.
enum TFontCharset { ANSI_CHARSET = 0, DEFAULT_CHARSET = 1, SYMBOL_CHARSET = 2, RUSSIAN_CHARSET = 204 };

class TFont : public TPersistent {
 public:
  TFont();
  std::string_view ClassName() const override { return "TFont"; }
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override { return PublishedProperties(); }

  // settings
  const std::string& Name() const { return m_name; }
  void SetName(const std::string& name);
  /// Negative heights are the character height without internal leading, in pixels;
  /// positive ones the cell height. Size is in points at PixelsPerInch.
  int Height() const { return m_height; }
  void SetHeight(int height);
  int Size() const;
  void SetSize(int points);
  int PixelsPerInch() const { return m_pixelsPerInch; }
  void SetPixelsPerInch(int ppi);
  TFontStyles Style() const { return m_style; }
  void SetStyle(TFontStyles style);
  bool HasStyle(TFontStyle style) const { return (m_style & FontStyleBit(style)) != 0; }
  TColor Color() const { return m_color; }
  void SetColor(TColor color);
  int Charset() const { return m_charset; }
  void SetCharset(int charset);

  void Assign(const TFont& other);
  bool operator==(const TFont& other) const;

  /// Called after every change that differs from the stored value.
  std::function<void()> OnChange;

 private:
  void Changed();

  std::string m_name = "MS Sans Serif";
  int m_height = -11;
  int m_pixelsPerInch = 96;
  TFontStyles m_style = 0;
  TColor m_color = clWindowText;
  int m_charset = DEFAULT_CHARSET;
};

}  // namespace tarvela
