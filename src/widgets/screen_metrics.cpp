#include "tarvela/widgets/screen_metrics.h"

#include <QGuiApplication>
#include <QScreen>

namespace tarvela {

TScreenMetrics SystemScreenMetrics() {
  // Asked during a paint: without an application object (a headless export) or a
  // screen the pixels count as square.
  if (QGuiApplication::instance() == nullptr) return {};
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return {};
  const QSize pixels = screen->size();
  const QSizeF millimetres = screen->physicalSize();
  return {pixels.width(), pixels.height(), millimetres.width(), millimetres.height()};
}

}  // namespace tarvela
