#include "app/chart_export.h"

#include <QFile>
#include <QPixmap>
#include <QSvgGenerator>
#include <QWidget>
#include <algorithm>

#include "chart/panel.h"
#include "platform/qt/controls.h"
#include "platform/qt/qt_convert.h"
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
  image.fill(Qt::white);
  {
    QtSurface surface(image);
    chart.PaintChart(surface, chart.ClientRect());
  }
  return image;
}

bool WriteChartPng(TCustomZavPanel& chart, const std::string& path, std::optional<ChartImageSize> size) {
  return RenderChartImage(chart, size).save(ToQString(path), "PNG");
}

bool WriteChartSvg(TCustomZavPanel& chart, const std::string& path, std::optional<ChartImageSize> size) {
  QFile file(ToQString(path));
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  ExportBounds bounds(chart, size);
  Unbuffered unbuffered(chart);
  QSvgGenerator generator;
  generator.setOutputDevice(&file);
  generator.setSize(QSize(chart.Width(), chart.Height()));
  generator.setViewBox(QRect(0, 0, chart.Width(), chart.Height()));
  // The screen's pixels per inch, so that the document's physical size is the window's.
  generator.setResolution(96);
  {
    QtSurface surface(generator);
    chart.PaintChart(surface, chart.ClientRect());
  }
  file.close();
  return file.error() == QFileDevice::NoError;
}

bool WriteScreenshot(TForm& form, const std::string& path) {
  QWidget* window = form.Widget();
  if (window == nullptr) return false;
  return window->grab().save(ToQString(path), "PNG");
}

}  // namespace tarvela
