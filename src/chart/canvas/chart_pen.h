#pragma once
/// The pen of chart outlines and frames: the platform pen's colour, width, style and
/// mode, plus SmallDots and Visible. It only describes a line; the 3D canvas draws
/// with it later. Not a component: its owner wires OnChange to a repaint.
/// @file
#include <functional>

#include "tarvela/platform/surface_types.h"  // TPenStyle, TPenMode
#include "tarvela/runtime/colors.h"
#include "tarvela/runtime/persistent.h"
#include "tarvela/runtime/properties.h"

namespace tarvela {

class TChartPen : public TPersistent {
 public:
  TChartPen() = default;
  TChartPen(const TChartPen&) = delete;
  TChartPen& operator=(const TChartPen&) = delete;
  std::string_view ClassName() const override { return "TChartPen"; }
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override { return PublishedProperties(); }

  // settings
  TColor Color() const { return m_color; }
  void SetColor(TColor color);
  int Width() const { return m_width; }
  void SetWidth(int width);
  TPenStyle Style() const { return m_style; }
  void SetStyle(TPenStyle style);
  TPenMode Mode() const { return m_mode; }
  void SetMode(TPenMode mode);
  /// A one-pixel pen drawn as alternating dots.
  bool SmallDots() const { return m_smallDots; }
  void SetSmallDots(bool smallDots);
  /// A hidden pen draws nothing.
  bool Visible() const { return m_visible; }
  void SetVisible(bool visible);

  // operations
  /// Copies the values (not OnChange); one change notice when anything differed.
  void Assign(const TChartPen& source);

  /// Called after every change that differs from the stored value.
  std::function<void()> OnChange;

 protected:
  void InitVisible(bool visible) { m_visible = visible; }
  /// Defaults of a variant, set without a change notice (nobody listens yet).
  void InitDefaults(TColor color, int width, TPenStyle style) {
    m_color = color;
    m_width = width;
    m_style = style;
  }

 private:
  template <class T>
  void Change(T& field, T value);

  // state
  TColor m_color = clBlack;
  int m_width = 1;
  TPenStyle m_style = psSolid;
  TPenMode m_mode = pmCopy;
  bool m_smallDots = false;
  bool m_visible = true;
};

/// A pen that starts hidden (frames that are off unless asked for).
class TChartHiddenPen : public TChartPen {
 public:
  TChartHiddenPen() { InitVisible(false); }
  std::string_view ClassName() const override { return "TChartHiddenPen"; }
};

/// Grey and dotted: grid lines and other light guides.
class TDottedGrayPen : public TChartPen {
 public:
  TDottedGrayPen() { InitDefaults(clGray, 1, psDot); }
  std::string_view ClassName() const override { return "TDottedGrayPen"; }
};

/// Grey and solid.
class TDarkGrayPen : public TChartPen {
 public:
  TDarkGrayPen() { InitDefaults(clGray, 1, psSolid); }
  std::string_view ClassName() const override { return "TDarkGrayPen"; }
};

/// Two pixels wide: the axis lines.
class TChartAxisPen : public TChartPen {
 public:
  TChartAxisPen() { InitDefaults(clBlack, 2, psSolid); }
  std::string_view ClassName() const override { return "TChartAxisPen"; }
};

/// White: arrows drawn over coloured fills.
class TChartArrowPen : public TChartPen {
 public:
  TChartArrowPen() { InitDefaults(clWhite, 1, psSolid); }
  std::string_view ClassName() const override { return "TChartArrowPen"; }
};

}  // namespace tarvela
