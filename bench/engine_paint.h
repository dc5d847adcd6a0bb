#pragma once
// This engine's side of a row of bench_peers: one chart drawn into an image of its size,
// straight into it as the PNG export draws, or as the window paints (buffered).
#include <QImage>

#include "tarvela/chart/chart.h"
#include "tarvela/widgets/qt_surface.h"

namespace tarvela::bench {

struct EnginePaint {
  TChart* chart;
  QImage image;
  EnginePaint(TChart& c, bool buffered) : chart(&c), image(c.Width(), c.Height(), QImage::Format_RGB32) {
    chart->SetBuffered(buffered);
    image.fill(Qt::white);
    for (int i = 0; i < 2; ++i) {  // the axis room settles after a paint
      chart->Invalidate();
      Paint();
    }
  }
  void Paint() {
    QtSurface surface(image);
    if (chart->Buffered()) {
      chart->Paint(surface);
    } else {
      chart->PaintChart(surface, chart->ClientRect());
    }
  }
};

}  // namespace tarvela::bench
