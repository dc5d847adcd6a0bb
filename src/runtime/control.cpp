#include "tarvela/runtime/control.h"

#include <algorithm>

#include "tarvela/runtime/exceptions.h"

namespace tarvela {

const EnumNames<TCursor>& CursorNames() {
  static const EnumNames<TCursor> kNames = {
      {crDefault, "crDefault"},     {crNone, "crNone"},         {crArrow, "crArrow"},
      {crCross, "crCross"},         {crIBeam, "crIBeam"},       {crSizeNESW, "crSizeNESW"},
      {crSizeNS, "crSizeNS"},       {crSizeNWSE, "crSizeNWSE"}, {crSizeWE, "crSizeWE"},
      {crUpArrow, "crUpArrow"},     {crHourGlass, "crHourGlass"}, {crDrag, "crDrag"},
      {crNoDrop, "crNoDrop"},       {crHSplit, "crHSplit"},     {crVSplit, "crVSplit"},
      {crMultiDrag, "crMultiDrag"}, {crSQLWait, "crSQLWait"},   {crNo, "crNo"},
      {crAppStart, "crAppStart"},   {crHelp, "crHelp"},         {crHandPoint, "crHandPoint"},
      {crSizeAll, "crSizeAll"}};
  return kNames;
}

// [SECTION] TControl

TControl::TControl(TComponent* owner) : TComponent(owner) {
  // A font set by the program or a description is the control's own from then on.
  m_font.OnChange = [this] {
    m_parentFont = false;
    FontChanged();
  };
}

TControl::~TControl() { SetParent(nullptr); }

void TControl::SetBounds(int left, int top, int width, int height) {
  if (left == m_left && top == m_top && width == m_width && height == m_height) return;
  m_left = left;
  m_top = top;
  m_width = width;
  m_height = height;
  BoundsChanged();
  if (m_peer != nullptr) m_peer->BoundsChanged();
}

void TControl::SetVisible(bool visible) {
  if (visible == m_visible) return;
  m_visible = visible;
  VisibleChanged();
  if (m_peer != nullptr) m_peer->VisibleChanged();
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == m_enabled) return;
  m_enabled = enabled;
  EnabledChanged();
  if (m_peer != nullptr) m_peer->EnabledChanged();
}

void TControl::Invalidate() {
  if (m_peer != nullptr) m_peer->Invalidate();
}

void TControl::SetTabOrder(int order) { m_tabOrder = order; }

void TControl::SetColor(TColor color) {
  if (color == m_color) return;
  m_color = color;
  ColorChanged();
}

void TControl::SetParentFont(bool parentFont) {
  if (parentFont == m_parentFont) return;
  m_parentFont = parentFont;
  if (m_parentFont && m_parent != nullptr) {
    auto handler = std::move(m_font.OnChange);
    m_font.Assign(m_parent->Font());
    m_font.OnChange = std::move(handler);
    FontChanged();
  }
}

void TControl::SetCursor(TCursor cursor) {
  if (cursor == m_cursor) return;
  m_cursor = cursor;
  CursorChanged();
  if (m_peer != nullptr) m_peer->CursorChanged();
}

void TControl::SetDragCursor(TCursor cursor) { m_dragCursor = cursor; }
void TControl::SetShowHint(bool show) { m_showHint = show; }
void TControl::SetParentShowHint(bool parent) { m_parentShowHint = parent; }
void TControl::SetHint(const std::string& hint) { m_hint = hint; }

void TControl::SetParent(TWinControl* parent) {
  if (parent == m_parent) return;
  if (m_parent != nullptr) m_parent->RemoveControl(this);
  m_parent = nullptr;
  if (parent != nullptr) {
    parent->InsertControl(this);
    m_parent = parent;
    if (m_parentFont) {
      // Follows the parent's font without making it the control's own.
      auto handler = std::move(m_font.OnChange);
      m_font.Assign(parent->Font());
      m_font.OnChange = std::move(handler);
      FontChanged();
    }
  }
  ParentChanged();
}

void TControl::SetParentComponent(TComponent* parent) {
  if (auto* win = dynamic_cast<TWinControl*>(parent)) SetParent(win);
}

TComponent* TControl::ParentComponent() const { return m_parent; }

void TControl::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == m_parent) m_parent = nullptr;
}

const PropertyTable& TControl::PublishedProperties() {
  static const PropertyTable table(
      &TComponent::PublishedProperties(),
      {
          IntProperty<TControl>("Left", &TControl::Left, &TControl::SetLeft),
          IntProperty<TControl>("Top", &TControl::Top, &TControl::SetTop),
          IntProperty<TControl>("Width", &TControl::Width, &TControl::SetWidth),
          IntProperty<TControl>("Height", &TControl::Height, &TControl::SetHeight),
          BoolProperty<TControl>("Visible", &TControl::Visible, &TControl::SetVisible),
          BoolProperty<TControl>("Enabled", &TControl::Enabled, &TControl::SetEnabled),
          IntProperty<TControl>("TabOrder", &TControl::TabOrder, &TControl::SetTabOrder),
          ColorProperty<TControl>("Color", &TControl::Color, &TControl::SetColor),
          ObjectProperty<TControl, TFont>("Font", static_cast<TFont& (TControl::*)()>(&TControl::Font)),
          BoolProperty<TControl>("ParentFont", &TControl::ParentFont, &TControl::SetParentFont),
          EnumProperty<TControl, TCursor>("Cursor", &TControl::Cursor, &TControl::SetCursor, CursorNames()),
          EnumProperty<TControl, TCursor>("DragCursor", &TControl::DragCursor, &TControl::SetDragCursor,
                                          CursorNames()),
          BoolProperty<TControl>("ShowHint", &TControl::ShowHint, &TControl::SetShowHint),
          BoolProperty<TControl>("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint),
          StringProperty<TControl>("Hint", &TControl::Hint, &TControl::SetHint),
      });
  return table;
}

// [SECTION] TWinControl

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  // Children outlive nothing they were placed in.
  while (!m_controls.empty()) m_controls.back()->SetParent(nullptr);
}

TControl* TWinControl::Controls(int index) const {
  if (index < 0 || index >= ControlCount()) ThrowListIndexError(index);
  return m_controls[static_cast<std::size_t>(index)];
}

std::vector<TControl*> TWinControl::TabOrderList() const {
  std::vector<TControl*> list;
  for (TControl* c : m_controls)
    if (c->TabOrder() >= 0) list.push_back(c);
  std::stable_sort(list.begin(), list.end(),
                   [](const TControl* a, const TControl* b) { return a->TabOrder() < b->TabOrder(); });
  return list;
}

void TWinControl::InsertControl(TControl* control) {
  if (std::find(m_controls.begin(), m_controls.end(), control) == m_controls.end())
    m_controls.push_back(control);
}

void TWinControl::RemoveControl(TControl* control) {
  std::erase(m_controls, control);
}

}  // namespace tarvela
