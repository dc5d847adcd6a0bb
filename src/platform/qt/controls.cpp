#include "platform/qt/controls.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

#include "platform/qt/application.h"
#include "platform/qt/chart_window.h"
#include "platform/qt/qt_convert.h"
#include "runtime/class_registry.h"

namespace tarvela {

// [SECTION] Mirroring helpers

namespace {

QWidget* ParentWidget(const TControl& control) {
  if (auto* parent = dynamic_cast<TQtControl*>(control.Parent())) return parent->Widget();
  return nullptr;
}

void MirrorParent(QWidget* widget, const TControl& control) {
  widget->setParent(ParentWidget(control));
  widget->setGeometry(control.Left(), control.Top(), control.Width(), control.Height());
  widget->setVisible(control.Visible() && control.Parent() != nullptr);
}

void MirrorBounds(QWidget* widget, const TControl& control) {
  widget->setGeometry(control.Left(), control.Top(), control.Width(), control.Height());
}

void MirrorVisible(QWidget* widget, const TControl& control) {
  if (widget->parentWidget() != nullptr) widget->setVisible(control.Visible());
}

void SetPaletteColor(QWidget* widget, QPalette::ColorRole role, TColor color) {
  QPalette palette = widget->palette();
  palette.setColor(role, ToQColor(color));
  widget->setPalette(palette);
}

void MirrorFont(QWidget* widget, const TFont& font, QPalette::ColorRole textRole) {
  widget->setFont(ToQFont(font));
  SetPaletteColor(widget, textRole, font.Color());
}

TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers) {
  TShiftState shift = 0;
  if (modifiers & Qt::ShiftModifier) shift |= 1u << ssShift;
  if (modifiers & Qt::AltModifier) shift |= 1u << ssAlt;
  if (modifiers & Qt::ControlModifier) shift |= 1u << ssCtrl;
  return shift;
}

}  // namespace

// [SECTION] The form's window

class FormWindow : public QWidget {
 public:
  explicit FormWindow(TForm& form) : m_form(form) { setAutoFillBackground(true); }

 protected:
  void closeEvent(QCloseEvent* event) override {
    m_form.m_closed = true;
    QWidget::closeEvent(event);
  }

 private:
  TForm& m_form;
};

// [SECTION] TForm

TForm::TForm(TComponent* owner) : TWinControl(owner), m_window(std::make_unique<FormWindow>(*this)) {
  InitColor(clBtnFace);
}

TForm::~TForm() {
  // Widgets of the controls must go before the window that holds them, so that no
  // widget is deleted twice.
  while (ControlCount() > 0) Controls(ControlCount() - 1)->SetParent(nullptr);
  DestroyComponents();
  m_hosts.clear();
  m_window.reset();
}

QWidget* TForm::Widget() const { return m_window.get(); }

void TForm::SetCaption(const std::string& caption) {
  if (caption == m_caption) return;
  m_caption = caption;
  m_window->setWindowTitle(ToQString(caption));
}

int TForm::ClientWidth() const { return std::max(0, Width() - kFrameWidth); }
int TForm::ClientHeight() const { return std::max(0, Height() - kFrameHeight); }

void TForm::BoundsChanged() {
  m_window->move(Left(), Top());
  m_window->resize(ClientWidth(), ClientHeight());
}

void TForm::ColorChanged() { SetPaletteColor(m_window.get(), QPalette::Window, Color()); }

void TForm::FontChanged() {
  m_window->setFont(ToQFont(Font()));
  // Children that follow the form's font hear of it through their parent.
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* child = Controls(i);
    if (child->ParentFont()) {
      child->SetParentFont(false);
      child->SetParentFont(true);
    }
  }
}

void TForm::Show() {
  ApplyTabOrder();
  m_closed = false;
  m_window->show();
}

void TForm::Close() {
  m_closed = true;
  m_window->close();
}

void TForm::DoCreate() {
  if (OnCreate) OnCreate(this);
}

void TForm::Loaded() {
  TWinControl::Loaded();
  ApplyTabOrder();
}

void TForm::ApplyTabOrder() {
  QWidget* previous = nullptr;
  for (TControl* control : TabOrderList()) {
    QWidget* widget = nullptr;
    if (auto* qt = dynamic_cast<TQtControl*>(control)) {
      widget = qt->Widget();
    } else {
      for (const auto& host : m_hosts)
        if (auto* window = dynamic_cast<ChartWindow*>(host.get()); window && &window->Control() == control)
          widget = window;
    }
    if (widget == nullptr) continue;
    if (previous != nullptr) QWidget::setTabOrder(previous, widget);
    previous = widget;
  }
}

void TForm::InsertControl(TControl* control) {
  TWinControl::InsertControl(control);
  // A control with no widget of its own gets a window that hosts it.
  if (dynamic_cast<TQtControl*>(control) == nullptr)
    m_hosts.push_back(std::make_unique<ChartWindow>(*control, m_window.get()));
}

void TForm::RemoveControl(TControl* control) {
  std::erase_if(m_hosts, [control](const std::unique_ptr<QWidget>& host) {
    auto* window = dynamic_cast<ChartWindow*>(host.get());
    return window != nullptr && &window->Control() == control;
  });
  TWinControl::RemoveControl(control);
}

const PropertyTable& TForm::PublishedProperties() {
  static const PropertyTable table(
      &TWinControl::PublishedProperties(),
      {
          StringProperty<TForm>("Caption", &TForm::Caption, &TForm::SetCaption),
          IntProperty<TForm>("PixelsPerInch", &TForm::PixelsPerInch, &TForm::SetPixelsPerInch),
          IntProperty<TForm>("TextHeight", &TForm::TextHeight, &TForm::SetTextHeight),
          EventProperty<TForm, TNotifyEvent>("OnCreate", &TForm::OnCreate),
      });
  return table;
}

// [SECTION] TLabel

TLabel::TLabel(TComponent* owner) : TControl(owner), m_label(std::make_unique<QLabel>()) {
  m_label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  m_label->hide();
}

TLabel::~TLabel() = default;

QWidget* TLabel::Widget() const { return m_label.get(); }

void TLabel::SetCaption(const std::string& caption) {
  if (caption == m_caption) return;
  m_caption = caption;
  m_label->setText(ToQString(caption));
}

void TLabel::BoundsChanged() { MirrorBounds(m_label.get(), *this); }
void TLabel::VisibleChanged() { MirrorVisible(m_label.get(), *this); }
void TLabel::EnabledChanged() { m_label->setEnabled(Enabled()); }
void TLabel::ColorChanged() { SetPaletteColor(m_label.get(), QPalette::Window, Color()); }
void TLabel::FontChanged() { MirrorFont(m_label.get(), Font(), QPalette::WindowText); }
void TLabel::CursorChanged() { m_label->setCursor(ToQtCursor(Cursor())); }
void TLabel::ParentChanged() { MirrorParent(m_label.get(), *this); }

const PropertyTable& TLabel::PublishedProperties() {
  static const PropertyTable table(&TControl::PublishedProperties(),
                                   {StringProperty<TLabel>("Caption", &TLabel::Caption, &TLabel::SetCaption)});
  return table;
}

// [SECTION] TEdit

// Every typed character passes the control's key-press handler before the line
// edit sees it; keys that type nothing (arrows, delete, tab) are not characters.
class FilteredLineEdit : public QLineEdit {
 public:
  explicit FilteredLineEdit(TEdit& edit) : m_edit(edit) {}

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    int key = event->key();
    if (m_edit.OnKeyDown) {
      RunHandler([&] { m_edit.OnKeyDown(&m_edit, key, ShiftStateOf(event->modifiers())); });
      if (key == 0) {
        event->accept();
        return;
      }
    }
    const QString text = event->text();
    if (text.isEmpty() || event->key() == Qt::Key_Delete) {
      QLineEdit::keyPressEvent(event);
      return;
    }
    const QList<uint> codes = text.toUcs4();
    if (codes.size() == 1) {
      char32_t ch = codes.front();
      if (!m_edit.Filter(ch)) {
        event->accept();
        return;
      }
      if (ch == codes.front()) {
        QLineEdit::keyPressEvent(event);
      } else {
        m_edit.Insert(ch);
        event->accept();
      }
      return;
    }
    for (uint code : codes) {
      char32_t ch = code;
      if (m_edit.Filter(ch)) m_edit.Insert(ch);
    }
    event->accept();
  }

 private:
  TEdit& m_edit;
};

TEdit::TEdit(TComponent* owner) : TWinControl(owner), m_edit(std::make_unique<FilteredLineEdit>(*this)) {
  InitColor(clWindow);
  m_edit->hide();
}

TEdit::~TEdit() = default;

QWidget* TEdit::Widget() const { return m_edit.get(); }

std::string TEdit::Text() const { return FromQString(m_edit->text()); }

void TEdit::SetText(const std::string& text) { m_edit->setText(ToQString(text)); }

bool TEdit::Filter(char32_t& ch) {
  if (OnKeyPress) {
    bool done = false;
    RunHandler([&] {
      OnKeyPress(this, ch);
      done = true;
    });
    if (!done) return false;
  }
  return ch != 0;
}

void TEdit::Insert(char32_t ch) {
  if (ch == 8) {
    m_edit->backspace();
  } else if (ch == 13 || ch == 10) {
    // A single-line edit takes no line break.
  } else {
    const char32_t text[1] = {ch};
    m_edit->insert(QString::fromUcs4(text, 1));
  }
}

bool TEdit::TypeCharacter(char32_t ch) {
  if (!Filter(ch)) return false;
  Insert(ch);
  return true;
}

void TEdit::Paste(const std::string& text) { m_edit->insert(ToQString(text)); }

void TEdit::BoundsChanged() { MirrorBounds(m_edit.get(), *this); }
void TEdit::VisibleChanged() { MirrorVisible(m_edit.get(), *this); }
void TEdit::EnabledChanged() { m_edit->setEnabled(Enabled()); }
void TEdit::ColorChanged() { SetPaletteColor(m_edit.get(), QPalette::Base, Color()); }
void TEdit::FontChanged() { MirrorFont(m_edit.get(), Font(), QPalette::Text); }
void TEdit::CursorChanged() { m_edit->setCursor(ToQtCursor(Cursor())); }
void TEdit::ParentChanged() { MirrorParent(m_edit.get(), *this); }

const PropertyTable& TEdit::PublishedProperties() {
  static const PropertyTable table(&TWinControl::PublishedProperties(),
                                   {
                                       StringProperty<TEdit>("Text", &TEdit::Text, &TEdit::SetText),
                                       EventProperty<TEdit, TKeyPressEvent>("OnKeyPress", &TEdit::OnKeyPress),
                                       EventProperty<TEdit, TKeyEvent>("OnKeyDown", &TEdit::OnKeyDown),
                                   });
  return table;
}

// [SECTION] TButton and TBitBtn

TButton::TButton(TComponent* owner) : TWinControl(owner), m_button(std::make_unique<QPushButton>()) {
  m_button->hide();
  QObject::connect(m_button.get(), &QPushButton::clicked, [this] { Click(); });
}

TButton::~TButton() = default;

QWidget* TButton::Widget() const { return m_button.get(); }

void TButton::SetCaption(const std::string& caption) {
  if (caption == m_caption) return;
  m_caption = caption;
  m_button->setText(ToQString(caption));
}

void TButton::Click() {
  if (!Enabled()) return;
  RunHandler([this] {
    if (OnClick) OnClick(this);
  });
}

void TButton::BoundsChanged() { MirrorBounds(m_button.get(), *this); }
void TButton::VisibleChanged() { MirrorVisible(m_button.get(), *this); }
void TButton::EnabledChanged() { m_button->setEnabled(Enabled()); }
void TButton::FontChanged() { MirrorFont(m_button.get(), Font(), QPalette::ButtonText); }
void TButton::CursorChanged() { m_button->setCursor(ToQtCursor(Cursor())); }
void TButton::ParentChanged() { MirrorParent(m_button.get(), *this); }

const PropertyTable& TButton::PublishedProperties() {
  static const PropertyTable table(&TWinControl::PublishedProperties(),
                                   {
                                       StringProperty<TButton>("Caption", &TButton::Caption, &TButton::SetCaption),
                                       EventProperty<TButton, TNotifyEvent>("OnClick", &TButton::OnClick),
                                   });
  return table;
}

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {}

// [SECTION] TMemo

TMemo::TMemo(TComponent* owner) : TWinControl(owner), m_memo(std::make_unique<QPlainTextEdit>()) {
  InitColor(clWindow);
  m_memo->hide();
  m_memo->setReadOnly(false);
  m_memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  m_lines.OnChange = [this] { LinesChanged(); };
}

TMemo::~TMemo() { m_lines.OnChange = nullptr; }

QWidget* TMemo::Widget() const { return m_memo.get(); }

void TMemo::LinesChanged() {
  // Reports only ever append; anything else rewrites the whole text.
  const auto& lines = m_lines.Lines();
  if (m_shownLines <= lines.size() && m_shownLines > 0) {
    for (std::size_t i = m_shownLines; i < lines.size(); ++i) m_memo->appendPlainText(ToQString(lines[i]));
  } else {
    QStringList all;
    for (const auto& line : lines) all << ToQString(line);
    m_memo->setPlainText(all.join(QLatin1Char('\n')));
  }
  m_shownLines = lines.size();
}

void TMemo::SetScrollBars(TScrollStyle style) {
  if (style == m_scrollBars) return;
  m_scrollBars = style;
  const bool vertical = style == ssVertical || style == ssBoth;
  const bool horizontal = style == ssHorizontal || style == ssBoth;
  m_memo->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  m_memo->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

void TMemo::BoundsChanged() { MirrorBounds(m_memo.get(), *this); }
void TMemo::VisibleChanged() { MirrorVisible(m_memo.get(), *this); }
void TMemo::EnabledChanged() { m_memo->setEnabled(Enabled()); }
void TMemo::ColorChanged() { SetPaletteColor(m_memo.get(), QPalette::Base, Color()); }
void TMemo::FontChanged() { MirrorFont(m_memo.get(), Font(), QPalette::Text); }
void TMemo::ParentChanged() { MirrorParent(m_memo.get(), *this); }

const PropertyTable& TMemo::PublishedProperties() {
  static const EnumNames<TScrollStyle> kScrollStyles = {
      {ssNone, "ssNone"}, {ssHorizontal, "ssHorizontal"}, {ssVertical, "ssVertical"}, {ssBoth, "ssBoth"}};
  static const EnumNames<TBevelEdge> kBevelEdges = {
      {beLeft, "beLeft"}, {beTop, "beTop"}, {beRight, "beRight"}, {beBottom, "beBottom"}};
  static const PropertyTable table(
      &TWinControl::PublishedProperties(),
      {
          ObjectProperty<TMemo, TStrings>("Lines", static_cast<TStrings& (TMemo::*)()>(&TMemo::Lines)),
          EnumProperty<TMemo, TScrollStyle>("ScrollBars", &TMemo::ScrollBars, &TMemo::SetScrollBars, kScrollStyles),
          SetProperty<TMemo, TBevelEdge>("BevelEdges", &TMemo::BevelEdges, &TMemo::SetBevelEdges, kBevelEdges),
      });
  return table;
}

// [SECTION] Registration

void RegisterControlClasses() {
  auto& registry = ClassRegistry::Instance();
  registry.Register<TLabel>("TLabel");
  registry.Register<TEdit>("TEdit");
  registry.Register<TButton>("TButton");
  registry.Register<TBitBtn>("TBitBtn");
  registry.Register<TMemo>("TMemo");
}

}  // namespace tarvela
