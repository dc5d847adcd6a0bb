#include "app/chart_export.h"

#include <QPixmap>
#include <QSvgGenerator>
#include <QWidget>
#include <algorithm>
#include <new>

#include "chart/panel/panel.h"
#include "platform/qt/controls.h"
#include "platform/qt/qt_surface.h"

namespace tarvela {

namespace {

// The chart takes the export's size for as long as the export runs.
class ExportBounds {
 public:
  ExportBounds(TCustomZavPanel& chart, std::optional<ChartImageSize> size) : m_chart(chart), m_saved(chart.BoundsRect()) {
    if (size) m_chart.SetBounds(m_saved.left, m_saved.top, size->width, size->height);
  }
  ~ExportBounds() { m_chart.SetBounds(m_saved.left, m_saved.top, m_saved.Width(), m_saved.Height()); }
  ExportBounds(const ExportBounds&) = delete;
  ExportBounds& operator=(const ExportBounds&) = delete;

 private:
  TCustomZavPanel& m_chart;
  TRect m_saved;
};

// The chart draws into a vector document directly, not into a bitmap copied there.
class Unbuffered {
 public:
  explicit Unbuffered(TCustomZavPanel& chart) : m_chart(chart), m_saved(chart.Buffered()) { m_chart.SetBuffered(false); }
  ~Unbuffered() { m_chart.SetBuffered(m_saved); }
  Unbuffered(const Unbuffered&) = delete;
  Unbuffered& operator=(const Unbuffered&) = delete;

 private:
  TCustomZavPanel& m_chart;
  bool m_saved;
};

}  // namespace

QImage RenderChartImage(TCustomZavPanel& chart, std::optional<ChartImageSize> size) {
  ExportBounds bounds(chart, size);
  QImage image(std::max(1, chart.Width()), std::max(1, chart.Height()), QImage::Format_RGB32);
  if (image.isNull()) return image;
  image.fill(Qt::white);
  {
    QtSurface surface(image);
    chart.PaintChart(surface, chart.ClientRect());
  }
  return image;
}

bool WriteChartPng(TCustomZavPanel& chart, QIODevice& device, std::optional<ChartImageSize> size) {
  const QImage image = RenderChartImage(chart, size);
  if (image.isNull()) throw std::bad_alloc();
  return image.save(&device, "PNG");
}

bool WriteChartSvg(TCustomZavPanel& chart, QIODevice& device, std::optional<ChartImageSize> size) {
  ExportBounds bounds(chart, size);
  Unbuffered unbuffered(chart);
  QSvgGenerator generator;
  generator.setOutputDevice(&device);
  generator.setSize(QSize(chart.Width(), chart.Height()));
  generator.setViewBox(QRect(0, 0, chart.Width(), chart.Height()));
  // The screen's pixels per inch, so that the document's physical size is the window's.
  generator.setResolution(96);
  {
    QtSurface surface(generator);
    chart.PaintChart(surface, chart.ClientRect());
  }
  // The generator reports no write errors of its own: the device keeps them, and the
  // caller checks it.
  return true;
}

bool WriteScreenshot(TForm& form, QIODevice& device) {
  QWidget* window = form.Widget();
  if (window == nullptr) return false;
  const QPixmap picture = window->grab();
  if (picture.isNull()) throw std::bad_alloc();
  return picture.save(&device, "PNG");
}

}  // namespace tarvela
