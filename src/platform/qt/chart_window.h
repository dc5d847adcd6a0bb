#pragma once
// The window that hosts a control with no widget of its own, such as the chart
// panel: it takes the control's place and size, and tells the control about paint
// requests. ChartWindow is not the chart; the chart draws itself.

#include <QWidget>

#include "runtime/control.h"

namespace tarvela {

class ChartWindow : public QWidget, public ControlPeer {
 public:
  ChartWindow(TControl& control, QWidget* parent);
  ~ChartWindow() override;

  TControl& Control() const { return m_control; }
  int PaintCount() const { return m_paintCount; }

  // ControlPeer
  void BoundsChanged() override;
  void VisibleChanged() override;
  void EnabledChanged() override;
  void Invalidate() override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TControl& m_control;
  int m_paintCount = 0;
};

}  // namespace tarvela
