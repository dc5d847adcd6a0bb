#pragma once
/// The fill of walls and title backgrounds: a colour, a fill style and an optional
/// pattern bitmap. Its colour starts as clDefault, which lets the owner's own colour
/// decide. It only describes a fill; the 3D canvas realises it. Not a component: its
/// owner wires OnChange to a repaint.
/// @file
#include <functional>

#include "tarvela/platform/picture.h"
#include "tarvela/platform/surface_types.h"  // TBrushStyle
#include "tarvela/runtime/colors.h"
#include "tarvela/runtime/persistent.h"
#include "tarvela/runtime/properties.h"

namespace tarvela {

const EnumNames<TBrushStyle>& BrushStyleNames();

class TChartBrush : public TPersistent {
 public:
  TChartBrush() = default;
  TChartBrush(const TChartBrush&) = delete;
  TChartBrush& operator=(const TChartBrush&) = delete;
  std::string_view ClassName() const override { return "TChartBrush"; }
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override { return PublishedProperties(); }

  // settings
  /// For a hatch, the colour of the hatch lines.
  TColor Color() const { return m_color; }
  void SetColor(TColor color);
  TBrushStyle Style() const { return m_style; }
  void SetStyle(TBrushStyle style);
  /// The bitmap repeated as the fill instead of colour and style; empty: none.
  const Picture& Pattern() const { return m_pattern; }
  void SetPattern(const Picture& pattern);
  bool HasPattern() const { return !m_pattern.Empty(); }

  // operations
  /// Copies the values (not OnChange); one change notice when anything differed.
  void Assign(const TChartBrush& source);

  /// Called after every change that differs from the stored value.
  std::function<void()> OnChange;

 private:
  void Changed();

  // state
  TColor m_color = clDefault;
  TBrushStyle m_style = bsSolid;
  Picture m_pattern;
};

}  // namespace tarvela
