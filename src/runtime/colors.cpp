#include "tarvela/runtime/colors.h"

#include <array>
#include <cstddef>

namespace tarvela {

namespace {

struct NamedColor {
  TColor value;
  const char* name;
};

constexpr std::array kNamedColors{
    NamedColor{clBlack, "clBlack"},
    NamedColor{clMaroon, "clMaroon"},
    NamedColor{clGreen, "clGreen"},
    NamedColor{clOlive, "clOlive"},
    NamedColor{clNavy, "clNavy"},
    NamedColor{clPurple, "clPurple"},
    NamedColor{clTeal, "clTeal"},
    NamedColor{clGray, "clGray"},
    NamedColor{clSilver, "clSilver"},
    NamedColor{clRed, "clRed"},
    NamedColor{clLime, "clLime"},
    NamedColor{clYellow, "clYellow"},
    NamedColor{clBlue, "clBlue"},
    NamedColor{clFuchsia, "clFuchsia"},
    NamedColor{clAqua, "clAqua"},
    NamedColor{clWhite, "clWhite"},
    NamedColor{clNone, "clNone"},
    NamedColor{clDefault, "clDefault"},
    NamedColor{clScrollBar, "clScrollBar"},
    NamedColor{clBackground, "clBackground"},
    NamedColor{clActiveCaption, "clActiveCaption"},
    NamedColor{clInactiveCaption, "clInactiveCaption"},
    NamedColor{clMenu, "clMenu"},
    NamedColor{clWindow, "clWindow"},
    NamedColor{clWindowFrame, "clWindowFrame"},
    NamedColor{clMenuText, "clMenuText"},
    NamedColor{clWindowText, "clWindowText"},
    NamedColor{clCaptionText, "clCaptionText"},
    NamedColor{clActiveBorder, "clActiveBorder"},
    NamedColor{clInactiveBorder, "clInactiveBorder"},
    NamedColor{clAppWorkSpace, "clAppWorkSpace"},
    NamedColor{clHighlight, "clHighlight"},
    NamedColor{clHighlightText, "clHighlightText"},
    NamedColor{clBtnFace, "clBtnFace"},
    NamedColor{clBtnShadow, "clBtnShadow"},
    NamedColor{clGrayText, "clGrayText"},
    NamedColor{clBtnText, "clBtnText"},
    NamedColor{clInactiveCaptionText, "clInactiveCaptionText"},
    NamedColor{clBtnHighlight, "clBtnHighlight"},
    NamedColor{cl3DDkShadow, "cl3DDkShadow"},
    NamedColor{cl3DLight, "cl3DLight"},
    NamedColor{clInfoText, "clInfoText"},
    NamedColor{clInfoBk, "clInfoBk"},
};

// The desktop's default light scheme, indexed by system colour number. The
// program paints with these fixed values whatever theme the desktop uses, so
// forms look the same on every machine.
constexpr std::array<TColor, 0x19> kSystemScheme{
    RGBColor(200, 200, 200),  // scroll bar
    RGBColor(0, 0, 0),        // desktop background
    RGBColor(153, 180, 209),  // active caption
    RGBColor(191, 205, 219),  // inactive caption
    RGBColor(240, 240, 240),  // menu
    RGBColor(255, 255, 255),  // window
    RGBColor(100, 100, 100),  // window frame
    RGBColor(0, 0, 0),        // menu text
    RGBColor(0, 0, 0),        // window text
    RGBColor(0, 0, 0),        // caption text
    RGBColor(180, 180, 180),  // active border
    RGBColor(244, 247, 252),  // inactive border
    RGBColor(171, 171, 171),  // application work space
    RGBColor(0, 120, 215),    // highlight
    RGBColor(255, 255, 255),  // highlight text
    RGBColor(240, 240, 240),  // button face
    RGBColor(160, 160, 160),  // button shadow
    RGBColor(109, 109, 109),  // gray text
    RGBColor(0, 0, 0),        // button text
    RGBColor(0, 0, 0),        // inactive caption text
    RGBColor(255, 255, 255),  // button highlight
    RGBColor(105, 105, 105),  // 3D dark shadow
    RGBColor(227, 227, 227),  // 3D light
    RGBColor(0, 0, 0),        // tooltip text
    RGBColor(255, 255, 225),  // tooltip background
};

bool SameIdent(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

}  // namespace

std::uint32_t ColorToRGB(TColor c) {
  const auto bits = static_cast<std::uint32_t>(c);
  if ((bits >> 24) == 0xFF) {
    const std::uint32_t index = bits & 0xFF;
    return index < kSystemScheme.size() ? static_cast<std::uint32_t>(kSystemScheme[index]) : 0;
  }
  return bits & 0xFFFFFF;
}

bool ColorFromIdent(std::string_view name, TColor& out) {
  for (const NamedColor& named : kNamedColors) {
    if (SameIdent(name, named.name)) {
      out = named.value;
      return true;
    }
  }
  return false;
}

std::string ColorToIdent(TColor c) {
  for (const NamedColor& named : kNamedColors)
    if (named.value == c) return named.name;
  return std::to_string(c);
}

}  // namespace tarvela
