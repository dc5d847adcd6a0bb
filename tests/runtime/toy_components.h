#pragma once
// Small component classes for the component, property and reader tests: a form
// that publishes handlers, a control with one property of every kind, and the
// sub-objects it owns. They record what happens to them in a shared journal.

#include <any>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tarvela/runtime/class_registry.h"
#include "tarvela/runtime/colors.h"
#include "tarvela/runtime/component.h"
#include "tarvela/runtime/properties.h"

namespace tarvela::toys {

// What the toys did, in order: "create Label1", "parent Label1=Form1", ...
inline std::vector<std::string>& Journal() {
  static std::vector<std::string> journal;
  return journal;
}

inline std::string NameOf(const TComponent* c) { return c == nullptr ? "null" : c->Name(); }

using TNotifyEvent = std::function<void(TComponent* sender)>;

enum TAlign : int { alNone, alTop, alBottom, alClient };
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = std::uint32_t;

class TToyBrush : public TPersistent {
 public:
  std::string_view ClassName() const override { return "TToyBrush"; }
  static const PropertyTable& PublishedProperties() {
    static const PropertyTable table(nullptr,
                                     {ColorProperty<TToyBrush>("Color", &TToyBrush::Color, &TToyBrush::SetColor)});
    return table;
  }
  const PropertyTable& Properties() const override { return PublishedProperties(); }
  TColor Color() const { return m_color; }
  void SetColor(TColor color) { m_color = color; }

 private:
  TColor m_color = clWhite;
};

class TToyWall : public TPersistent {
 public:
  std::string_view ClassName() const override { return "TToyWall"; }
  static const PropertyTable& PublishedProperties() {
    static const PropertyTable table(
        nullptr, {ObjectProperty<TToyWall, TToyBrush>("Brush", &TToyWall::Brush),
                  IntProperty<TToyWall>("Size", &TToyWall::Size, &TToyWall::SetSize)});
    return table;
  }
  const PropertyTable& Properties() const override { return PublishedProperties(); }
  TToyBrush& Brush() { return m_brush; }
  std::uint8_t Size() const { return m_size; }
  void SetSize(std::uint8_t size) { m_size = size; }

 private:
  TToyBrush m_brush;
  std::uint8_t m_size = 0;
};

class TToyControl : public TComponent {
 public:
  explicit TToyControl(TComponent* owner) : TComponent(owner) { Journal().push_back("create"); }
  ~TToyControl() override { Journal().push_back("destroy " + Name()); }
  std::string_view ClassName() const override { return "TToyControl"; }

  static const PropertyTable& PublishedProperties() {
    static const EnumNames<TAlign> kAligns = {{alNone, "alNone"}, {alTop, "alTop"}, {alBottom, "alBottom"},
                                              {alClient, "alClient"}};
    static const EnumNames<TAnchorKind> kAnchors = {
        {akLeft, "akLeft"}, {akTop, "akTop"}, {akRight, "akRight"}, {akBottom, "akBottom"}};
    static const PropertyTable table(
        &TComponent::PublishedProperties(),
        {
            IntProperty<TToyControl>("Left", &TToyControl::Left, &TToyControl::SetLeft),
            IntProperty<TToyControl>("Width", &TToyControl::Width, &TToyControl::SetWidth,
                                     [](const TToyControl& c) { return c.Width() != 0; }),
            IntProperty<TToyControl>("Big", &TToyControl::Big, &TToyControl::SetBig),
            FloatProperty<TToyControl>("Ratio", &TToyControl::Ratio, &TToyControl::SetRatio),
            BoolProperty<TToyControl>("Visible", &TToyControl::Visible, &TToyControl::SetVisible),
            StringProperty<TToyControl>("Caption", &TToyControl::Caption, &TToyControl::SetCaption),
            ColorProperty<TToyControl>("Color", &TToyControl::Color, &TToyControl::SetColor),
            EnumProperty<TToyControl, TAlign>("Align", &TToyControl::Align, &TToyControl::SetAlign, kAligns),
            SetProperty<TToyControl, TAnchorKind>("Anchors", &TToyControl::Anchors, &TToyControl::SetAnchors,
                                                  kAnchors),
            StringListProperty<TToyControl>("Lines", &TToyControl::Lines, &TToyControl::SetLines),
            ObjectProperty<TToyControl, TToyWall>("Wall", &TToyControl::Wall),
            EventProperty<TToyControl, TNotifyEvent>("OnClick", &TToyControl::OnClick),
            ReferenceProperty<TToyControl, TToyControl>("FocusControl", &TToyControl::FocusControl,
                                                        &TToyControl::SetFocusControl),
        });
    return table;
  }
  const PropertyTable& Properties() const override { return PublishedProperties(); }

  // settings; every setter notes whether the parent was already there
  int Left() const { return m_left; }
  void SetLeft(int left) { Note("Left"); m_left = left; }
  std::int16_t Width() const { return m_width; }
  void SetWidth(std::int16_t width) { Note("Width"); m_width = width; }
  std::int64_t Big() const { return m_big; }
  void SetBig(std::int64_t big) { m_big = big; }
  double Ratio() const { return m_ratio; }
  void SetRatio(double ratio) { m_ratio = ratio; }
  bool Visible() const { return m_visible; }
  void SetVisible(bool visible) { m_visible = visible; }
  const std::string& Caption() const { return m_caption; }
  void SetCaption(const std::string& caption) { Note("Caption"); m_caption = caption; }
  TColor Color() const { return m_color; }
  void SetColor(TColor color) { m_color = color; }
  TAlign Align() const { return m_align; }
  void SetAlign(TAlign align) { m_align = align; }
  TAnchors Anchors() const { return m_anchors; }
  void SetAnchors(TAnchors anchors) { m_anchors = anchors; }
  const std::vector<std::string>& Lines() const { return m_lines; }
  void SetLines(std::vector<std::string> lines) { m_lines = std::move(lines); }
  TToyWall& Wall() { return m_wall; }
  TToyControl* FocusControl() const { return m_focusControl; }
  void SetFocusControl(TToyControl* control) {
    if (m_focusControl != nullptr) m_focusControl->RemoveFreeNotification(this);
    m_focusControl = control;
    if (control != nullptr) control->FreeNotification(this);
  }
  TNotifyEvent OnClick;

  // operations
  void SetParentComponent(TComponent* parent) override {
    Journal().push_back("parent " + Name() + "=" + NameOf(parent));
    m_parent = parent;
  }
  TComponent* ParentComponent() const override { return m_parent; }
  void Loaded() override {
    Journal().push_back("loaded " + Name() + (m_focusControl ? " focus=" + m_focusControl->Name() : ""));
    TComponent::Loaded();
  }
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == m_focusControl) m_focusControl = nullptr;
    if (operation == opRemove && component == m_parent) m_parent = nullptr;
  }

 private:
  void Note(const char* property) {
    Journal().push_back("set " + Name() + "." + property + (Loading() ? " loading" : "") +
                        " parent=" + NameOf(m_parent));
  }

  int m_left = 0;
  std::int16_t m_width = 0;
  std::int64_t m_big = 0;
  double m_ratio = 0;
  bool m_visible = true;
  std::string m_caption;
  TColor m_color = clBtnFace;
  TAlign m_align = alNone;
  TAnchors m_anchors = 0;
  std::vector<std::string> m_lines;
  TToyWall m_wall;
  TToyControl* m_focusControl = nullptr;
  TComponent* m_parent = nullptr;
};

// A control that holds others.
class TToyPanel : public TToyControl {
 public:
  using TToyControl::TToyControl;
  std::string_view ClassName() const override { return "TToyPanel"; }
};

// A control that holds one part, as a series holds its function: a part nested in it
// leaves its owner for the holder, and the part it had before dies.
class TToyHolder : public TToyControl {
 public:
  using TToyControl::TToyControl;
  std::string_view ClassName() const override { return "TToyHolder"; }
  TToyControl* Part() const { return m_part.get(); }
  void SetPart(TToyControl* part) {
    if (TComponent* owner = part->Owner()) owner->RemoveComponent(part);
    m_part.reset(part);
  }

 private:
  std::unique_ptr<TToyControl> m_part;
};

class TToyPart : public TToyControl {
 public:
  using TToyControl::TToyControl;
  std::string_view ClassName() const override { return "TToyPart"; }
  void SetParentComponent(TComponent* parent) override {
    TToyControl::SetParentComponent(parent);
    if (auto* holder = dynamic_cast<TToyHolder*>(parent)) holder->SetPart(this);
  }
};

// A root publishing handlers by name, as a form does.
class TToyForm : public TComponent {
 public:
  explicit TToyForm(TComponent* owner) : TComponent(owner) {}
  std::string_view ClassName() const override { return "TToyForm"; }
  static const PropertyTable& PublishedProperties() {
    static const PropertyTable table(
        &TComponent::PublishedProperties(),
        {StringProperty<TToyForm>("Caption", &TToyForm::Caption, &TToyForm::SetCaption),
         EventProperty<TToyForm, TNotifyEvent>("OnCreate", &TToyForm::OnCreate),
         ReferenceProperty<TToyForm, TToyControl>("ActiveControl", &TToyForm::ActiveControl,
                                                  &TToyForm::SetActiveControl)});
    return table;
  }
  const PropertyTable& Properties() const override { return PublishedProperties(); }

  const std::string& Caption() const { return m_caption; }
  void SetCaption(const std::string& caption) { m_caption = caption; }
  TToyControl* ActiveControl() const { return m_active; }
  void SetActiveControl(TToyControl* control) { m_active = control; }
  TNotifyEvent OnCreate;

  std::any MethodAddress(std::string_view name) override {
    if (name == "FormCreate") return TNotifyEvent([](TComponent*) { Journal().push_back("FormCreate"); });
    if (name == "Button1Click")
      return TNotifyEvent([](TComponent* sender) { Journal().push_back("click " + NameOf(sender)); });
    if (name == "WrongSignature") return std::function<int()>([] { return 1; });
    return {};
  }
  void Loaded() override {
    Journal().push_back("loaded " + Name());
    TComponent::Loaded();
  }
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == m_active) m_active = nullptr;
  }

 private:
  std::string m_caption;
  TToyControl* m_active = nullptr;
};

inline void RegisterToyClasses() {
  ClassRegistry::Instance().Register<TToyForm>("TToyForm");
  ClassRegistry::Instance().Register<TToyControl>("TToyControl");
  ClassRegistry::Instance().Register<TToyPanel>("TToyPanel");
  ClassRegistry::Instance().Register<TToyHolder>("TToyHolder");
  ClassRegistry::Instance().Register<TToyPart>("TToyPart");
}

}  // namespace tarvela::toys
