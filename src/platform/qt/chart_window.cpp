#include "platform/qt/chart_window.h"

#include <QPainter>

#include "platform/qt/qt_convert.h"

namespace tarvela {

ChartWindow::ChartWindow(TControl& control, QWidget* parent) : QWidget(parent), m_control(control) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  m_control.SetPeer(this);
  BoundsChanged();
  VisibleChanged();
  EnabledChanged();
}

ChartWindow::~ChartWindow() {
  if (m_control.Peer() == this) m_control.SetPeer(nullptr);
}

void ChartWindow::BoundsChanged() {
  setGeometry(m_control.Left(), m_control.Top(), m_control.Width(), m_control.Height());
}

void ChartWindow::VisibleChanged() { setVisible(m_control.Visible()); }

void ChartWindow::EnabledChanged() { setEnabled(m_control.Enabled()); }

void ChartWindow::Invalidate() { update(); }

void ChartWindow::paintEvent(QPaintEvent*) {
  ++m_paintCount;
  QPainter painter(this);
  painter.fillRect(rect(), ToQColor(m_control.Color()));
}

}  // namespace tarvela
