#include "tarvela/widgets/chart_picture.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>
#include <new>
#include <sstream>

#include "tarvela/chart/panel/panel.h"
#include "tarvela/runtime/exceptions.h"
#include "tarvela/widgets/chart_window.h"
#include "tarvela/widgets/output_file.h"
#include "tarvela/widgets/png_file.h"
#include "tarvela/widgets/qt_surface.h"

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

namespace {

// Dots per metre of a picture drawn at scale times the pixels of a 96 dpi screen.
int DotsPerMetre(int scale) { return static_cast<int>(std::lround(96.0 * scale / 0.0254)); }

}  // namespace

void MarkPictureScale(QImage& image, int scale) {
  image.setDotsPerMeterX(DotsPerMetre(scale));
  image.setDotsPerMeterY(DotsPerMetre(scale));
}

QImage RenderChartImage(TCustomZavPanel& chart, std::optional<ChartImageSize> size, int scale) {
  ExportBounds bounds(chart, size);
  scale = std::max(1, scale);
  QImage image(std::max(1, chart.Width()) * scale, std::max(1, chart.Height()) * scale, QImage::Format_RGB32);
  if (image.isNull()) return image;
  image.setDevicePixelRatio(scale);
  MarkPictureScale(image, scale);
  image.fill(Qt::white);
  {
    // Straight into the picture: the canvas's bitmap copied there would give the same
    // pixels, at the cost of a second frame and its copy. A monochrome chart keeps its
    // bitmap, which is what holds it to black and white.
    std::optional<Unbuffered> direct;
    if (!chart.Monochrome()) direct.emplace(chart);
    QtSurface surface(image);
    chart.PaintSettled(surface, chart.ClientRect());
  }
  return image;
}

bool WriteChartPng(TCustomZavPanel& chart, QIODevice& device, std::optional<ChartImageSize> size, int scale) {
  const QImage image = RenderChartImage(chart, size, scale);
  if (image.isNull()) throw std::bad_alloc();
  return WritePng(image, device);
}

bool WriteChartSvg(TCustomZavPanel& chart, QIODevice& device, std::optional<ChartImageSize> size) {
  ExportBounds bounds(chart, size);
  // The document gets one paint: the paints that settle a new size go to a picture
  // nobody sees, as a window's do.
  if (!chart.PaintedAt(chart.Width(), chart.Height()) && RenderChartImage(chart).isNull()) throw std::bad_alloc();
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

bool WriteChartPdf(TCustomZavPanel& chart, QIODevice& device, std::optional<ChartImageSize> size) {
  ExportBounds bounds(chart, size);
  // One paint in the document, after those that settle a new size, as for SVG.
  if (!chart.PaintedAt(chart.Width(), chart.Height()) && RenderChartImage(chart).isNull()) throw std::bad_alloc();
  Unbuffered unbuffered(chart);
  QPdfWriter writer(&device);
  writer.setCreator(QStringLiteral("Tarvela"));
  // A pixel of the screen is 3/4 of a point at its 96 pixels per inch.
  const QSizeF points(chart.Width() * 0.75, chart.Height() * 0.75);
  writer.setPageLayout(QPageLayout(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch),
                                   QPageLayout::Portrait, QMarginsF()));
  writer.setResolution(96);
  QPainter painter;
  if (!painter.begin(&writer)) return false;
  {
    QtSurface surface(painter);
    chart.PaintChart(surface, chart.ClientRect());
  }
  // The document is written as the painter ends; write errors stay with the device.
  return painter.end();
}

namespace {

bool NamesSvg(const std::string& path) {
  return QFileInfo(QString::fromStdString(path)).suffix().compare(QLatin1String("svg"), Qt::CaseInsensitive) == 0;
}

}  // namespace

std::optional<std::string> AskChartPictureName(QWidget* parent) {
  const QString png = QStringLiteral("PNG image (*.png)");
  const QString svg = QStringLiteral("SVG document (*.svg)");
  QString chosen = png;
  QString name = QFileDialog::getSaveFileName(parent, QStringLiteral("Save the chart"), QStringLiteral("chart.png"),
                                              png + QStringLiteral(";;") + svg, &chosen);
  if (name.isEmpty()) return std::nullopt;
  if (QFileInfo(name).suffix().isEmpty()) name += chosen == svg ? QStringLiteral(".svg") : QStringLiteral(".png");
  return name.toStdString();
}

void SaveChartPicture(ChartWindow& window, const std::string& path) {
  std::ostringstream unused;
  std::string reason;
  bool written = false;
  if (NamesSvg(path) && window.Panel() != nullptr) {
    TCustomZavPanel& chart = *window.Panel();
    written = WriteOutput(
        path, unused, [&](QIODevice& device) { return WriteChartSvg(chart, device, std::nullopt); }, &reason);
  } else {
    // The pixels the window shows; grabbing a window with a current buffer only copies it.
    const QImage picture = window.grab().toImage();
    if (picture.isNull()) throw std::bad_alloc();
    written = WriteOutput(path, unused, [&](QIODevice& device) { return WritePng(picture, device); }, &reason);
  }
  // The error box says why, as the command line does.
  if (!written) throw Exception("Cannot write to " + path + (reason.empty() ? "" : ": " + reason));
}

}  // namespace tarvela
