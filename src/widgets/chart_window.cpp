#include "tarvela/widgets/chart_window.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QToolTip>
#include <QWheelEvent>
#include <optional>

#include "tarvela/chart/panel/panel.h"
#include "tarvela/widgets/application.h"
#include "tarvela/widgets/chart_print.h"
#include "tarvela/widgets/qt_convert.h"
#include "tarvela/widgets/qt_surface.h"

namespace tarvela {

namespace {

std::optional<TMouseButton> ButtonOf(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton: return mbLeft;
    case Qt::RightButton: return mbRight;
    case Qt::MiddleButton: return mbMiddle;
    default: return std::nullopt;
  }
}

ChartSaver& Saver() {
  static ChartSaver saver;
  return saver;
}

}  // namespace

void SetChartSaver(ChartSaver saver) { Saver() = std::move(saver); }

ChartWindow::ChartWindow(TControl& control, QWidget* parent) : ChartWindow(control, parent, Placement::ByControl) {}

ChartWindow::ChartWindow(TControl& control, QWidget* parent, Placement placement)
    : QWidget(parent), m_placement(placement) {
  // The panel's paint covers every pixel: there is nothing to erase first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  Host(control);
}

ChartWindow::~ChartWindow() { Detach(); }

void ChartWindow::Host(TControl& control) {
  Detach();
  m_control = &control;
  m_panel = dynamic_cast<TCustomZavPanel*>(&control);
  // Moves without a button held reach the panel too (cursor changes over parts).
  setMouseTracking(m_panel != nullptr);
  if (m_panel != nullptr) {
    // A moving rubber band repaints the window from the chart's buffer only; a step of
    // an animated zoom must be seen before the next one is computed.
    m_panel->HostPaintBand = [this] { update(); };
    m_panel->HostRepaintNow = [this] { repaint(); };
  }
  m_control->SetPeer(this);
  BoundsChanged();
  VisibleChanged();
  EnabledChanged();
  CursorChanged();
  update();
}

void ChartWindow::Detach() {
  if (m_control == nullptr || m_control->Peer() != this) return;
  m_control->SetPeer(nullptr);
  if (m_panel != nullptr) {
    m_panel->HostPaintBand = nullptr;
    m_panel->HostRepaintNow = nullptr;
  }
}

void ChartWindow::BoundsChanged() {
  if (m_placement == Placement::ByParent) {
    resize(m_control->Width(), m_control->Height());
    return;
  }
  setGeometry(m_control->Left(), m_control->Top(), m_control->Width(), m_control->Height());
}

void ChartWindow::VisibleChanged() {
  if (m_placement == Placement::ByControl) setVisible(m_control->Visible());
}

void ChartWindow::EnabledChanged() { setEnabled(m_control->Enabled()); }

void ChartWindow::CursorChanged() { setCursor(ToQtCursor(m_control->Cursor())); }

void ChartWindow::Invalidate() { update(); }

void ChartWindow::paintEvent(QPaintEvent*) {
  ++m_paintCount;
  if (m_panel == nullptr) {
    QPainter painter(this);
    painter.fillRect(rect(), ToQColor(m_control->Color()));
    return;
  }
  QtSurface surface(*this);
  RunHandler([&] { m_panel->Paint(surface); });
}

void ChartWindow::resizeEvent(QResizeEvent*) {
  // The control holds the size; a size the window got from elsewhere goes back to it.
  if (width() != m_control->Width() || height() != m_control->Height())
    m_control->SetBounds(m_control->Left(), m_control->Top(), width(), height());
}

void ChartWindow::mousePressEvent(QMouseEvent* event) {
  const std::optional<TMouseButton> button = ButtonOf(event->button());
  if (m_panel == nullptr || !button) return QWidget::mousePressEvent(event);
  const QPoint p = event->position().toPoint();
  RunHandler([&] { m_panel->MouseDown(*button, ShiftStateOf(event->modifiers(), event->buttons()), p.x(), p.y()); });
}

void ChartWindow::mouseMoveEvent(QMouseEvent* event) {
  if (m_panel == nullptr) return QWidget::mouseMoveEvent(event);
  const QPoint p = event->position().toPoint();
  RunHandler([&] { m_panel->MouseMove(ShiftStateOf(event->modifiers(), event->buttons()), p.x(), p.y()); });
}

bool ChartWindow::event(QEvent* event) {
  // The window system asks once the pointer rests, so moves cost no hit test: a
  // pointer resting on a point reads its values off, the panel deciding what lies there.
  if (event->type() != QEvent::ToolTip || m_panel == nullptr) return QWidget::event(event);
  auto* help = static_cast<QHelpEvent*>(event);
  std::string text;
  RunHandler([&] { text = m_panel->HoverText(help->pos().x(), help->pos().y()); });
  if (text.empty()) {
    QToolTip::hideText();
    event->ignore();
  } else {
    QToolTip::showText(help->globalPos(), QString::fromStdString(text), this);
  }
  return true;
}

void ChartWindow::mouseReleaseEvent(QMouseEvent* event) {
  const std::optional<TMouseButton> button = ButtonOf(event->button());
  if (m_panel == nullptr || !button) return QWidget::mouseReleaseEvent(event);
  const QPoint p = event->position().toPoint();
  RunHandler([&] { m_panel->MouseUp(*button, ShiftStateOf(event->modifiers(), event->buttons()), p.x(), p.y()); });
}

void ChartWindow::wheelEvent(QWheelEvent* event) {
  if (m_panel == nullptr) return QWidget::wheelEvent(event);
  const QPoint p = event->position().toPoint();
  bool handled = false;
  RunHandler([&] {
    handled = m_panel->MouseWheel(ShiftStateOf(event->modifiers(), event->buttons()), event->angleDelta().y(), p.x(),
                                  p.y());
  });
  event->setAccepted(handled);
}

void ChartWindow::mouseDoubleClickEvent(QMouseEvent* event) {
  // The second press of a double-click starts no drag: it asks for the view back.
  if (m_panel == nullptr || event->button() != Qt::LeftButton) return QWidget::mouseDoubleClickEvent(event);
  const QPoint p = event->position().toPoint();
  RunHandler([&] { m_panel->ResetViewAt(TPoint{p.x(), p.y()}); });
}

void ChartWindow::keyPressEvent(QKeyEvent* event) {
  if (m_panel == nullptr) return QWidget::keyPressEvent(event);
  if (event->key() == Qt::Key_Home && event->modifiers() == Qt::NoModifier) {
    RunHandler([&] { m_panel->ResetViewAt(std::nullopt); });
    return;
  }
  if (event->matches(QKeySequence::Copy)) {
    // What the window shows: a paint with a current buffer only copies it.
    QGuiApplication::clipboard()->setImage(grab().toImage());
    return;
  }
  if (event->matches(QKeySequence::Save) && SaveChart()) return;
  if (event->matches(QKeySequence::Print)) {
    PrintChartOnPrinter();
    return;
  }
  QWidget::keyPressEvent(event);
}

void ChartWindow::PrintChartOnPrinter() {
  if (m_panel == nullptr) return;
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(window()->windowTitle().isEmpty() ? QStringLiteral("Chart") : window()->windowTitle());
  QPrintDialog dialog(&printer, this);
  if (dialog.exec() != QDialog::Accepted) return;
  RunHandler([&] { PrintChart(*m_panel, printer); });
}

bool ChartWindow::SaveChart() {
  if (!Saver()) return false;
  RunHandler([&] { Saver()(*this); });
  return true;
}

void ChartWindow::leaveEvent(QEvent* event) {
  if (m_panel != nullptr) RunHandler([&] { m_panel->MouseLeave(); });
  QWidget::leaveEvent(event);
}

}  // namespace tarvela
