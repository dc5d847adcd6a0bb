#include "tarvela/widgets/chart_print.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <cmath>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "tarvela/chart/panel/panel.h"
#include "tarvela/runtime/exceptions.h"
#include "tarvela/widgets/qt_surface.h"

namespace tarvela {

namespace {

// The largest side a chart is laid out at for a print resolution: a layout at more
// pixels than a picture may have would only cost memory in its settling paints.
constexpr long long kMaxLayoutSide = 16384;

// Paints the chart at its size into a picture nobody sees until the layout a paint
// leaves stops changing, as a window's first frame at a size does: after a layout for
// another size, or a paint whose text a printer measured in its own way.
void Settle(TCustomZavPanel& chart) {
  QImage scratch(std::max(1, chart.Width()), std::max(1, chart.Height()), QImage::Format_RGB32);
  if (scratch.isNull()) throw std::bad_alloc();
  QtSurface surface(scratch);
  std::vector<double> previous;
  for (int paint = 0; paint < TCustomZavPanel::kMaxSettlePaints; ++paint) {
    chart.PaintChart(surface, chart.ClientRect());
    std::vector<double> current = chart.PaintedLayout();
    if (current == previous) break;
    previous = std::move(current);
  }
}

// The chart takes the layout's size while it prints.
class LayoutBounds {
 public:
  LayoutBounds(TCustomZavPanel& chart, std::optional<QSize> size) : m_chart(chart), m_saved(chart.BoundsRect()) {
    if (size) m_chart.SetBounds(m_saved.left, m_saved.top, size->width(), size->height());
  }
  ~LayoutBounds() { m_chart.SetBounds(m_saved.left, m_saved.top, m_saved.Width(), m_saved.Height()); }
  LayoutBounds(const LayoutBounds&) = delete;
  LayoutBounds& operator=(const LayoutBounds&) = delete;

 private:
  TCustomZavPanel& m_chart;
  TRect m_saved;
};

// Straight onto the page, flagged as printing, for as long as the print draws.
class PrintingState {
 public:
  explicit PrintingState(TCustomZavPanel& chart) : m_chart(chart), m_buffered(chart.Buffered()) {
    m_chart.SetBuffered(false);
    m_chart.SetPrinting(true);
  }
  ~PrintingState() {
    m_chart.SetPrinting(false);
    m_chart.SetBuffered(m_buffered);
  }
  PrintingState(const PrintingState&) = delete;
  PrintingState& operator=(const PrintingState&) = delete;

 private:
  TCustomZavPanel& m_chart;
  bool m_buffered;
};

}  // namespace

void PrintChart(TCustomZavPanel& chart, QPrinter& printer) {
  QPainter painter;
  if (!painter.begin(&printer)) {
    const QString file = printer.outputFileName();
    throw Exception(file.isEmpty() ? std::string("Cannot print: the printer could not be started")
                                   : "Cannot print to " + file.toStdString());
  }
  // The margins are parts of the paper; the painter starts at the printable area's corner.
  const int dpi = printer.resolution();
  const QRect paper = printer.paperRect(QPrinter::DevicePixel).toRect();
  const QRect printable = printer.pageRect(QPrinter::DevicePixel).toRect();
  const TRect& margins = chart.PrintMargins();
  const auto part = [](int length, int percent) {
    return static_cast<int>(std::lround(double(length) * percent / 100.0));
  };
  QRect area(QPoint(paper.left() + part(paper.width(), margins.left), paper.top() + part(paper.height(), margins.top)),
             QPoint(paper.right() - part(paper.width(), margins.right),
                    paper.bottom() - part(paper.height(), margins.bottom)));
  area = area.intersected(printable);
  if (area.width() < 1 || area.height() < 1) area = printable;
  area.translate(-printable.topLeft());

  const int width = std::max(1, chart.Width());
  const int height = std::max(1, chart.Height());
  if (chart.PrintProportional()) {
    // As large as the margins allow, the chart's shape kept, centred.
    const double fit = std::min(double(area.width()) / width, double(area.height()) / height);
    const QSize drawn(std::max(1, static_cast<int>(width * fit)), std::max(1, static_cast<int>(height * fit)));
    area = QRect(area.left() + (area.width() - drawn.width()) / 2, area.top() + (area.height() - drawn.height()) / 2,
                 drawn.width(), drawn.height());
  }
  // The layout's pixels: the chart's own, or the print resolution's over the area.
  std::optional<QSize> layout;
  if (chart.PrintResolution() > 0 && dpi > 0) {
    const auto pixels = [&](int devicePixels) {
      return static_cast<int>(
          std::clamp<long long>(std::llround(double(devicePixels) * chart.PrintResolution() / dpi), 1, kMaxLayoutSide));
    };
    layout = QSize(pixels(area.width()), pixels(area.height()));
  }
  {
    LayoutBounds bounds(chart, layout);
    // The page gets one paint, of the layout a window of this size settles at.
    if (!chart.PaintedAt(chart.Width(), chart.Height())) Settle(chart);
    PrintingState printing(chart);
    painter.translate(area.topLeft());
    painter.scale(double(area.width()) / std::max(1, chart.Width()),
                  double(area.height()) / std::max(1, chart.Height()));
    QtSurface surface(painter);
    chart.PaintChart(surface, chart.ClientRect());
  }
  painter.end();
  // The window goes on with the layout it showed, drawn anew.
  Settle(chart);
  chart.Invalidate();
}

}  // namespace tarvela
