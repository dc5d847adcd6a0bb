#pragma once
/// The window that hosts a control with no widget of its own, such as the chart
/// panel: it takes the control's place and size and tells the control what happens
/// to it. For a chart panel (TCustomZavPanel) that is every paint request (with a
/// surface on the window), a size the window was given, mouse presses, moves and
/// releases, the wheel and the pointer leaving; it shows the panel's cursor. Any other
/// control is filled with its colour.
///
/// ChartWidget (chart_widget.h) is this window placed by a Qt layout and owning its chart.
///
/// ChartWindow is not the chart: the panel decides what a paint draws (often one copy
/// of its buffer) and what the mouse does.
/// @file
#include <QWidget>
#include <functional>

#include "tarvela/runtime/control.h"

namespace tarvela {

class TCustomZavPanel;

class ChartWindow;

/// What Ctrl+S in a chart's window does with it; the program sets it. Without it the key
/// does nothing in a form's window, and a ChartWidget saves through its own dialog.
using ChartSaver = std::function<void(ChartWindow& window)>;
void SetChartSaver(ChartSaver saver);

class ChartWindow : public QWidget, public ControlPeer {
 public:
  ChartWindow(TControl& control, QWidget* parent);
  ~ChartWindow() override;
  ChartWindow(const ChartWindow&) = delete;
  ChartWindow& operator=(const ChartWindow&) = delete;

  TControl& Control() const { return *m_control; }
  /// The hosted panel; null when the control is not one.
  TCustomZavPanel* Panel() const { return m_panel; }
  int PaintCount() const { return m_paintCount; }

  // ControlPeer
  void BoundsChanged() override;
  void VisibleChanged() override;
  void EnabledChanged() override;
  void CursorChanged() override;
  void Invalidate() override;

 protected:
  /// A tooltip over a plotted point (the panel's HoverText) when the pointer rests.
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void leaveEvent(QEvent* event) override;
  /// Beside what the panel is told: the view before any zoom on a double-click on the
  /// plot or the Home key, the chart as a picture on the clipboard with Ctrl+C, saved
  /// through the chart saver with Ctrl+S, printed through the print dialog with Ctrl+P.
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

  /// Who places the window. A form's window sits where its control does and shows when
  /// the control is visible; a window in a Qt layout is placed and shown by the layout
  /// and its parent, so the control's Left, Top and Visible do not move or show it.
  enum class Placement { ByControl, ByParent };
  ChartWindow(TControl& control, QWidget* parent, Placement placement);
  /// Hosts control from now on, in place of the one hosted so far, which the window no
  /// longer tells anything nor hears from.
  void Host(TControl& control);
  /// Ctrl+S: the program's chart saver when it set one. False when nothing saved, so
  /// that the key goes on to the parent.
  virtual bool SaveChart();
  /// Ctrl+P: the print dialog over the window, then the chart on the printer chosen
  /// (PrintChart); nothing when the dialog is cancelled. A failure shows in the error box.
  void PrintChartOnPrinter();

 private:
  void Detach();

  TControl* m_control = nullptr;
  TCustomZavPanel* m_panel = nullptr;
  Placement m_placement;
  int m_paintCount = 0;
};

}  // namespace tarvela
