#pragma once
/// The window-independent side of a control: geometry, visibility, enabled state,
/// tab order, colour, font, cursor and the parent that holds it. TControl is not a
/// widget: a windowing layer realises it (widgets/) and hears of every change
/// through the overridable steps; the chart panel is a TControl too, so a form
/// description places it like any other control.
/// @file
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tarvela/runtime/colors.h"
#include "tarvela/runtime/component.h"
#include "tarvela/runtime/font.h"

namespace tarvela {

enum TCursor : int {
  crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6,
  crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11,
  crDrag = -12, crNoDrop = -13, crHSplit = -14, crVSplit = -15, crMultiDrag = -16,
  crSQLWait = -17, crNo = -18, crAppStart = -19, crHelp = -20, crHandPoint = -21, crSizeAll = -22
};
const EnumNames<TCursor>& CursorNames();

/// Events of controls. A key-press handler may replace the typed character; the null
/// character discards it.
using TNotifyEvent = std::function<void(TComponent* sender)>;
using TKeyPressEvent = std::function<void(TComponent* sender, char32_t& key)>;
/// The mouse button of a press or release.
enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateFlag { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = std::uint32_t;  ///< bit (1u << TShiftStateFlag)
using TKeyEvent = std::function<void(TComponent* sender, int& key, TShiftState shift)>;

struct TRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const TRect&) const = default;
};

class TWinControl;

/// What a windowing layer attaches to a control it hosts without owning its class
/// (the chart panel): it hears of the changes it must mirror.
class ControlPeer {
 public:
  virtual ~ControlPeer() = default;
  virtual void BoundsChanged() {}
  virtual void VisibleChanged() {}
  virtual void EnabledChanged() {}
  virtual void CursorChanged() {}
  virtual void Invalidate() {}
};

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;
  std::string_view ClassName() const override { return "TControl"; }
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override { return PublishedProperties(); }

  // settings
  int Left() const { return m_left; }
  int Top() const { return m_top; }
  int Width() const { return m_width; }
  int Height() const { return m_height; }
  void SetLeft(int v) { SetBounds(v, m_top, m_width, m_height); }
  void SetTop(int v) { SetBounds(m_left, v, m_width, m_height); }
  void SetWidth(int v) { SetBounds(m_left, m_top, v, m_height); }
  void SetHeight(int v) { SetBounds(m_left, m_top, m_width, v); }
  void SetBounds(int left, int top, int width, int height);
  TRect BoundsRect() const { return {m_left, m_top, m_left + m_width, m_top + m_height}; }
  TRect ClientRect() const { return {0, 0, ClientWidth(), ClientHeight()}; }
  virtual int ClientWidth() const { return m_width; }
  virtual int ClientHeight() const { return m_height; }

  bool Visible() const { return m_visible; }
  void SetVisible(bool visible);
  bool Enabled() const { return m_enabled; }
  void SetEnabled(bool enabled);
  int TabOrder() const { return m_tabOrder; }
  void SetTabOrder(int order);
  TColor Color() const { return m_color; }
  void SetColor(TColor color);
  TFont& Font() { return m_font; }
  const TFont& Font() const { return m_font; }
  bool ParentFont() const { return m_parentFont; }
  void SetParentFont(bool parentFont);
  TCursor Cursor() const { return m_cursor; }
  void SetCursor(TCursor cursor);
  TCursor DragCursor() const { return m_dragCursor; }
  void SetDragCursor(TCursor cursor);
  bool ShowHint() const { return m_showHint; }
  void SetShowHint(bool show);
  bool ParentShowHint() const { return m_parentShowHint; }
  void SetParentShowHint(bool parent);
  const std::string& Hint() const { return m_hint; }
  void SetHint(const std::string& hint);

  // operations
  TWinControl* Parent() const { return m_parent; }
  void SetParent(TWinControl* parent);
  void SetParentComponent(TComponent* parent) override;
  TComponent* ParentComponent() const override;
  void Notification(TComponent* component, TOperation operation) override;
  /// Asks the windowing layer to repaint the control.
  virtual void Invalidate();
  ControlPeer* Peer() const { return m_peer; }
  void SetPeer(ControlPeer* peer) { m_peer = peer; }

 protected:
  // overridable steps: the windowing layer mirrors the state in these
  virtual void BoundsChanged() {}
  virtual void VisibleChanged() {}
  virtual void EnabledChanged() {}
  virtual void ColorChanged() {}
  virtual void FontChanged() {}
  virtual void CursorChanged() {}
  virtual void ParentChanged() {}
  /// Default colour and font of the class, set by the constructor of a subclass.
  void InitColor(TColor color) { m_color = color; }

 private:
  int m_left = 0, m_top = 0, m_width = 0, m_height = 0;
  bool m_visible = true;
  bool m_enabled = true;
  int m_tabOrder = -1;
  TColor m_color = clBtnFace;
  TFont m_font;
  bool m_parentFont = true;
  TCursor m_cursor = crDefault;
  TCursor m_dragCursor = crDrag;
  bool m_showHint = false;
  bool m_parentShowHint = true;
  std::string m_hint;
  TWinControl* m_parent = nullptr;
  ControlPeer* m_peer = nullptr;
};

/// A control that holds other controls, in the order they were placed in it.
class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;
  std::string_view ClassName() const override { return "TWinControl"; }

  int ControlCount() const { return static_cast<int>(m_controls.size()); }
  TControl* Controls(int index) const;
  /// The controls that take the focus in turn, ordered by TabOrder.
  std::vector<TControl*> TabOrderList() const;

  // overridable steps
  virtual void InsertControl(TControl* control);
  virtual void RemoveControl(TControl* control);

 private:
  std::vector<TControl*> m_controls;
};

}  // namespace tarvela
