#pragma once
/// The colour gradient of a panel's background. Only its settings live here; the
/// panel paints it through the canvas. A gradient made without an owner panel is a
/// plain value to copy from.
/// @file
#include "tarvela/runtime/colors.h"
#include "tarvela/runtime/persistent.h"
#include "tarvela/runtime/properties.h"

namespace tarvela {

class TCustomZavPanel;

enum TGradientDirection { gdTopBottom, gdBottomTop, gdLeftRight, gdRightLeft, gdFromCenter, gdFromTopLeft, gdFromBottomLeft };
const EnumNames<TGradientDirection>& GradientDirectionNames();

/// Holds the owner that a change asks to repaint.
class TCustomZavGradient : public TPersistent {
 public:
  explicit TCustomZavGradient(TCustomZavPanel* owner) : m_owner(owner) {}
  TCustomZavGradient(const TCustomZavGradient&) = delete;
  TCustomZavGradient& operator=(const TCustomZavGradient&) = delete;

  TCustomZavPanel* Owner() const { return m_owner; }

 protected:
  /// The change rule: store a differing value, then repaint the owner.
  template <class T>
  void Change(T& field, T value) {
    if (field == value) return;
    field = value;
    Repaint();
  }
  void Repaint();

 private:
  TCustomZavPanel* m_owner;
};

class TChartGradient : public TCustomZavGradient {
 public:
  explicit TChartGradient(TCustomZavPanel* owner) : TCustomZavGradient(owner) {}
  std::string_view ClassName() const override { return "TChartGradient"; }
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override { return PublishedProperties(); }

  // settings
  TGradientDirection Direction() const { return m_direction; }
  void SetDirection(TGradientDirection direction) { Change(m_direction, direction); }
  TColor EndColor() const { return m_endColor; }
  void SetEndColor(TColor color) { Change(m_endColor, color); }
  TColor StartColor() const { return m_startColor; }
  void SetStartColor(TColor color) { Change(m_startColor, color); }
  /// Off: the panel is filled with its Color instead.
  bool Visible() const { return m_visible; }
  void SetVisible(bool visible) { Change(m_visible, visible); }

  // operations
  /// Copies the four values, then repaints the owner.
  void Assign(const TChartGradient& source);

 private:
  // state
  TGradientDirection m_direction = gdTopBottom;
  TColor m_endColor = clYellow;
  TColor m_startColor = clWhite;
  bool m_visible = false;
};

}  // namespace tarvela
