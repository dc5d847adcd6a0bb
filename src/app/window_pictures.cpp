#include "app/window_pictures.h"

#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <new>

#include "tarvela/widgets/chart_picture.h"
#include "tarvela/widgets/chart_window.h"
#include "tarvela/widgets/controls.h"
#include "tarvela/widgets/png_file.h"

namespace tarvela {

bool WriteScreenshot(TForm& form, QIODevice& device, int scale) {
  QWidget* window = form.Widget();
  if (window == nullptr) return false;
  if (scale <= 1) {
    const QPixmap picture = window->grab();
    if (picture.isNull()) throw std::bad_alloc();
    return WritePng(picture.toImage(), device);
  }
  // Rendered into a denser image, the window and every control in it draw at its pixels.
  QImage picture(window->size() * scale, QImage::Format_RGB32);
  if (picture.isNull()) throw std::bad_alloc();
  picture.setDevicePixelRatio(scale);
  MarkPictureScale(picture, scale);
  picture.fill(Qt::white);
  window->render(&picture);
  return WritePng(picture, device);
}

std::optional<std::string> AskChartFileName(ChartWindow& window) { return AskChartPictureName(&window); }

void InstallChartSaving(ChartFileNameQuestion ask) {
  SetChartSaver([ask = std::move(ask)](ChartWindow& window) {
    if (const std::optional<std::string> path = ask(window)) SaveChartPicture(window, *path);
  });
}

}  // namespace tarvela
