#pragma once
/// Colour values as forms and the chart engine store them. An RGB colour keeps
/// red in the low byte, green in the next and blue in the third; a value whose
/// high byte is 0xFF names a system colour by its low byte, resolved through
/// the desktop scheme (ColorToRGB). clNone and clDefault are markers, not colours.
/// @file
#include <cstdint>
#include <string>
#include <string_view>

namespace tarvela {

using TColor = std::int32_t;

constexpr TColor RGBColor(int r, int g, int b) {
  return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;

/// No colour at all: nothing is painted.
inline constexpr TColor clNone = 0x1FFFFFFF;
/// The owner's colour applies.
inline constexpr TColor clDefault = 0x20000000;

inline constexpr TColor clScrollBar = static_cast<TColor>(0xFF000000u);
inline constexpr TColor clBackground = static_cast<TColor>(0xFF000001u);
inline constexpr TColor clActiveCaption = static_cast<TColor>(0xFF000002u);
inline constexpr TColor clInactiveCaption = static_cast<TColor>(0xFF000003u);
inline constexpr TColor clMenu = static_cast<TColor>(0xFF000004u);
inline constexpr TColor clWindow = static_cast<TColor>(0xFF000005u);
inline constexpr TColor clWindowFrame = static_cast<TColor>(0xFF000006u);
inline constexpr TColor clMenuText = static_cast<TColor>(0xFF000007u);
inline constexpr TColor clWindowText = static_cast<TColor>(0xFF000008u);
inline constexpr TColor clCaptionText = static_cast<TColor>(0xFF000009u);
inline constexpr TColor clActiveBorder = static_cast<TColor>(0xFF00000Au);
inline constexpr TColor clInactiveBorder = static_cast<TColor>(0xFF00000Bu);
inline constexpr TColor clAppWorkSpace = static_cast<TColor>(0xFF00000Cu);
inline constexpr TColor clHighlight = static_cast<TColor>(0xFF00000Du);
inline constexpr TColor clHighlightText = static_cast<TColor>(0xFF00000Eu);
inline constexpr TColor clBtnFace = static_cast<TColor>(0xFF00000Fu);
inline constexpr TColor clBtnShadow = static_cast<TColor>(0xFF000010u);
inline constexpr TColor clGrayText = static_cast<TColor>(0xFF000011u);
inline constexpr TColor clBtnText = static_cast<TColor>(0xFF000012u);
inline constexpr TColor clInactiveCaptionText = static_cast<TColor>(0xFF000013u);
inline constexpr TColor clBtnHighlight = static_cast<TColor>(0xFF000014u);
inline constexpr TColor cl3DDkShadow = static_cast<TColor>(0xFF000015u);
inline constexpr TColor cl3DLight = static_cast<TColor>(0xFF000016u);
inline constexpr TColor clInfoText = static_cast<TColor>(0xFF000017u);
inline constexpr TColor clInfoBk = static_cast<TColor>(0xFF000018u);

/// The RGB value to paint with (red in the low byte). A system colour resolves
/// through the fixed desktop scheme (an index the scheme lacks gives black);
/// any other value loses its high byte.
std::uint32_t ColorToRGB(TColor c);

constexpr int RedOf(std::uint32_t rgb) { return static_cast<int>(rgb & 0xFF); }
constexpr int GreenOf(std::uint32_t rgb) { return static_cast<int>((rgb >> 8) & 0xFF); }
constexpr int BlueOf(std::uint32_t rgb) { return static_cast<int>((rgb >> 16) & 0xFF); }

/// Reads a colour identifier such as "clWhite" (letter case ignored, as for
/// every identifier of the form description). False for an unknown name.
bool ColorFromIdent(std::string_view name, TColor& out);

/// The identifier of a named colour, otherwise the value as a decimal integer.
std::string ColorToIdent(TColor c);

}  // namespace tarvela
