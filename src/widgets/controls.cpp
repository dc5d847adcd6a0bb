#include "tarvela/widgets/controls.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QWidget>

#include "tarvela/runtime/class_registry.h"
#include "tarvela/widgets/application.h"
#include "tarvela/widgets/chart_window.h"
#include "tarvela/widgets/qt_convert.h"

namespace tarvela {

// [SECTION] Mirroring helpers

namespace {

QWidget* ParentWidget(const TControl& control) {
  if (auto* parent = dynamic_cast<TQtControl*>(control.Parent())) return parent->Widget();
  return nullptr;
}

void SetPaletteColor(QWidget* widget, QPalette::ColorRole role, TColor color) {
  QPalette palette = widget->palette();
  palette.setColor(role, ToQColor(color));
  widget->setPalette(palette);
}

}  // namespace

// [SECTION] Mirroring the common state

template <class Base>
TWidgetControl<Base>::TWidgetControl(TComponent* owner, std::unique_ptr<QWidget> widget,
                                     QPalette::ColorRole colorRole, QPalette::ColorRole textRole)
    : Base(owner), m_widget(std::move(widget)), m_colorRole(colorRole), m_textRole(textRole) {
  m_widget->hide();
}

template <class Base>
TWidgetControl<Base>::~TWidgetControl() = default;

template <class Base>
void TWidgetControl<Base>::BoundsChanged() {
  m_widget->setGeometry(this->Left(), this->Top(), this->Width(), this->Height());
}

template <class Base>
void TWidgetControl<Base>::VisibleChanged() {
  if (m_widget->parentWidget() != nullptr) m_widget->setVisible(this->Visible());
}

template <class Base>
void TWidgetControl<Base>::EnabledChanged() {
  m_widget->setEnabled(this->Enabled());
}

template <class Base>
void TWidgetControl<Base>::ColorChanged() {
  SetPaletteColor(m_widget.get(), m_colorRole, this->Color());
}

template <class Base>
void TWidgetControl<Base>::FontChanged() {
  m_widget->setFont(ToQFont(this->Font()));
  SetPaletteColor(m_widget.get(), m_textRole, this->Font().Color());
}

template <class Base>
void TWidgetControl<Base>::CursorChanged() {
  m_widget->setCursor(ToQtCursor(this->Cursor()));
}

template <class Base>
void TWidgetControl<Base>::ParentChanged() {
  m_widget->setParent(ParentWidget(*this));
  BoundsChanged();
  m_widget->setVisible(this->Visible() && this->Parent() != nullptr);
}

template class TWidgetControl<TControl>;
template class TWidgetControl<TWinControl>;

// [SECTION] The form's window

class FormWindow : public QWidget {
 public:
  explicit FormWindow(TForm& form) : m_form(form) { setAutoFillBackground(true); }

 protected:
  void closeEvent(QCloseEvent* event) override {
    m_form.m_closed = true;
    QWidget::closeEvent(event);
  }

  // A size the window got from the window system (the user's drag of its frame); a
  // size the form set comes back here unchanged and changes nothing.
  void resizeEvent(QResizeEvent* event) override {
    QWidget::resizeEvent(event);
    m_form.WindowResized(width(), height());
  }

  // Keys no control took: a viewer's window closes on the keys that close viewers.
  void keyPressEvent(QKeyEvent* event) override {
    const bool closeKey = event->matches(QKeySequence::Close) || event->matches(QKeySequence::Quit) ||
                          (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) ||
                          ((event->key() == Qt::Key_W || event->key() == Qt::Key_Q) &&
                           event->modifiers() == Qt::ControlModifier);
    if (m_form.ClosesOnViewerKeys() && closeKey) {
      m_form.Close();
      return;
    }
    QWidget::keyPressEvent(event);
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

void TForm::WindowResized(int clientWidth, int clientHeight) {
  if (clientWidth == ClientWidth() && clientHeight == ClientHeight()) return;
  // The window is where and how large the window system put it: nothing to mirror back.
  m_followingWindow = true;
  SetBounds(Left(), Top(), clientWidth + kFrameWidth, clientHeight + kFrameHeight);
  m_followingWindow = false;
  if (OnResize) RunHandler([&] { OnResize(this); });
}

void TForm::BoundsChanged() {
  if (m_followingWindow) return;
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
        if (&host->Control() == control) widget = host.get();
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
  std::erase_if(m_hosts, [control](const auto& host) { return &host->Control() == control; });
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

TLabel::TLabel(TComponent* owner)
    : TWidgetControl(owner, std::make_unique<QLabel>(), QPalette::Window, QPalette::WindowText),
      m_label(static_cast<QLabel*>(Widget())) {
  m_label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

TLabel::~TLabel() = default;

void TLabel::SetCaption(const std::string& caption) {
  if (caption == m_caption) return;
  m_caption = caption;
  m_label->setText(ToQString(caption));
}


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

TEdit::TEdit(TComponent* owner)
    : TWidgetControl(owner, std::make_unique<FilteredLineEdit>(*this), QPalette::Base, QPalette::Text),
      m_edit(static_cast<FilteredLineEdit*>(Widget())) {
  InitColor(clWindow);
}

TEdit::~TEdit() = default;

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

TButton::TButton(TComponent* owner)
    : TWidgetControl(owner, std::make_unique<QPushButton>(), QPalette::Button, QPalette::ButtonText),
      m_button(static_cast<QPushButton*>(Widget())) {
  QObject::connect(m_button, &QPushButton::clicked, [this] { Click(); });
}

TButton::~TButton() = default;

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

TMemo::TMemo(TComponent* owner)
    : TWidgetControl(owner, std::make_unique<QPlainTextEdit>(), QPalette::Base, QPalette::Text),
      m_memo(static_cast<QPlainTextEdit*>(Widget())) {
  InitColor(clWindow);
  m_memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  m_lines.OnChange = [this] { LinesChanged(); };
}

TMemo::~TMemo() { m_lines.OnChange = nullptr; }

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
