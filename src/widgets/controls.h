#pragma once
/// The standard controls on Qt widgets: form, label, single-line edit, push button,
/// button with glyph, multi-line edit. Each keeps its state in the window-independent
/// TControl and mirrors it into the widget it owns; behaviour lives in the handlers
/// the form description assigns. A control placed on a form that has no widget of its
/// own (the chart panel) gets a host window (chart_window.h).
/// @file
#include <QPalette>

#include <memory>
#include <string>
#include <vector>

#include "tarvela/runtime/control.h"
#include "tarvela/runtime/string_list.h"
#include "tarvela/widgets/application.h"

class QWidget;
class QLabel;
class QPushButton;
class QPlainTextEdit;

namespace tarvela {

class ChartWindow;
class FilteredLineEdit;
class FormWindow;

/// A control realised by a Qt widget.
class TQtControl {
 public:
  virtual ~TQtControl() = default;
  virtual QWidget* Widget() const = 0;
};

/// Owns the widget of a standard control and mirrors the common TControl state into
/// it: place and size, parent, visibility, enabled state, cursor, colour and font.
template <class Base>
class TWidgetControl : public Base, public TQtControl {
 public:
  QWidget* Widget() const override { return m_widget.get(); }

 protected:
  /// colorRole and textRole are the palette roles of the background and the text.
  TWidgetControl(TComponent* owner, std::unique_ptr<QWidget> widget, QPalette::ColorRole colorRole,
                 QPalette::ColorRole textRole);
  ~TWidgetControl() override;

  void BoundsChanged() override;
  void VisibleChanged() override;
  void EnabledChanged() override;
  void ColorChanged() override;
  void FontChanged() override;
  void CursorChanged() override;
  void ParentChanged() override;

 private:
  std::unique_ptr<QWidget> m_widget;
  QPalette::ColorRole m_colorRole;
  QPalette::ColorRole m_textRole;
};

class TForm : public TWinControl, public TQtControl, public MainWindow {
 public:
  explicit TForm(TComponent* owner);
  ~TForm() override;
  std::string_view ClassName() const override { return "TForm"; }
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override { return PublishedProperties(); }
  QWidget* Widget() const override;

  // settings
  const std::string& Caption() const { return m_caption; }
  void SetCaption(const std::string& caption);
  int PixelsPerInch() const { return m_pixelsPerInch; }
  void SetPixelsPerInch(int ppi) { m_pixelsPerInch = ppi; }
  int TextHeight() const { return m_textHeight; }
  void SetTextHeight(int height) { m_textHeight = height; }
  /// The client area lies inside the frame the desktop draws around the window.
  int ClientWidth() const override;
  int ClientHeight() const override;

  /// A viewer's window: Ctrl+W, Ctrl+Q and Escape close it. Off for a form with a
  /// button that ends the program.
  bool ClosesOnViewerKeys() const { return m_closesOnViewerKeys; }
  void SetClosesOnViewerKeys(bool closes) { m_closesOnViewerKeys = closes; }

  TNotifyEvent OnCreate;
  /// The window system resized the window; the form's size has followed.
  TNotifyEvent OnResize;

  // operations
  void Show() override;
  /// Closes the window; closing the main form ends the message loop.
  void Close();
  bool Closed() const { return m_closed; }
  /// The window's client area is this large now: the form's size follows, then OnResize.
  void WindowResized(int clientWidth, int clientHeight);
  /// Runs the create handler once the description has been read.
  void DoCreate();
  void Loaded() override;

  void InsertControl(TControl* control) override;
  void RemoveControl(TControl* control) override;

  static constexpr int kFrameWidth = 8;    ///< left and right frame together
  static constexpr int kFrameHeight = 34;  ///< caption bar and top and bottom frame

 protected:
  void BoundsChanged() override;
  void ColorChanged() override;
  void FontChanged() override;

 private:
  friend class FormWindow;
  void ApplyTabOrder();

  std::unique_ptr<FormWindow> m_window;
  std::vector<std::unique_ptr<ChartWindow>> m_hosts;  ///< windows of controls without widgets
  std::string m_caption;
  int m_pixelsPerInch = 96;
  int m_textHeight = 13;
  bool m_closed = false;
  bool m_closesOnViewerKeys = false;
  bool m_followingWindow = false;
};

class TLabel : public TWidgetControl<TControl> {
 public:
  explicit TLabel(TComponent* owner);
  ~TLabel() override;
  std::string_view ClassName() const override { return "TLabel"; }
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override { return PublishedProperties(); }

  const std::string& Caption() const { return m_caption; }
  void SetCaption(const std::string& caption);

 private:
  QLabel* m_label;
  std::string m_caption;
};

class TEdit : public TWidgetControl<TWinControl> {
 public:
  explicit TEdit(TComponent* owner);
  ~TEdit() override;
  std::string_view ClassName() const override { return "TEdit"; }
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override { return PublishedProperties(); }

  std::string Text() const;
  void SetText(const std::string& text);

  TKeyPressEvent OnKeyPress;
  TKeyEvent OnKeyDown;

  // operations
  /// A character typed at the keyboard: runs the key-press handler, which may
  /// discard it, and puts what is left into the text. Returns false when discarded.
  bool TypeCharacter(char32_t ch);
  /// Text put in as a paste does: no key handlers.
  void Paste(const std::string& text);
  /// The key-press handler's verdict on a typed character (false: discarded).
  bool Filter(char32_t& ch);
  /// Puts an accepted character into the text as the line edit would.
  void Insert(char32_t ch);

 private:
  friend class FilteredLineEdit;
  FilteredLineEdit* m_edit;
};

class TButton : public TWidgetControl<TWinControl> {
 public:
  explicit TButton(TComponent* owner);
  ~TButton() override;
  std::string_view ClassName() const override { return "TButton"; }
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override { return PublishedProperties(); }

  const std::string& Caption() const { return m_caption; }
  void SetCaption(const std::string& caption);

  TNotifyEvent OnClick;
  /// Presses the button as the user does; a disabled button does nothing.
  void Click();

 private:
  QPushButton* m_button;
  std::string m_caption;
};

/// A push button that may show a picture beside its caption; none is set here.
class TBitBtn : public TButton {
 public:
  explicit TBitBtn(TComponent* owner);
  std::string_view ClassName() const override { return "TBitBtn"; }
};

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TBevelEdge { beLeft, beTop, beRight, beBottom };
using TBevelEdges = std::uint32_t;

class TMemo : public TWidgetControl<TWinControl> {
 public:
  explicit TMemo(TComponent* owner);
  ~TMemo() override;
  std::string_view ClassName() const override { return "TMemo"; }
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override { return PublishedProperties(); }

  TStrings& Lines() { return m_lines; }
  const TStrings& Lines() const { return m_lines; }
  TScrollStyle ScrollBars() const { return m_scrollBars; }
  void SetScrollBars(TScrollStyle style);
  TBevelEdges BevelEdges() const { return m_bevelEdges; }
  void SetBevelEdges(TBevelEdges edges) { m_bevelEdges = edges; }

 private:
  void LinesChanged();
  QPlainTextEdit* m_memo;
  TStrings m_lines;
  std::size_t m_shownLines = 0;
  TScrollStyle m_scrollBars = ssNone;
  TBevelEdges m_bevelEdges = (1u << beLeft) | (1u << beTop) | (1u << beRight) | (1u << beBottom);
};

/// Registers the standard controls with the class registry.
void RegisterControlClasses();

}  // namespace tarvela
