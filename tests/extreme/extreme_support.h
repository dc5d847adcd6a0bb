#pragma once
// What the extreme-data tests share: a chart built from a short description, and one
// case painted the way a window and an export paint it - settled through the
// recording surface (which counts the commands of the last paint), then once through
// the Qt surface onto a small image.
//
// The bound of every case is the number of drawing commands of one paint, which does
// not depend on the machine; the time each case may take is the CTest timeout of the
// suite (tests/CMakeLists.txt).

#include <gtest/gtest.h>

#include <QImage>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "tarvela/chart/chart.h"
#include "tarvela/chart/chart_registration.h"
#include "tarvela/platform/recording_surface.h"
#include "tarvela/runtime/form_reader.h"
#include "tarvela/widgets/qt_surface.h"

namespace tarvela::extreme {

// No paint of a case may draw more commands than this. The engine's own bounds keep
// real paints far below it (a point series of ten million points draws about as many
// commands as the plot has pixels); what would go beyond it is drawing that nobody can
// see, and would take minutes.
inline constexpr std::size_t kMaxPaintCommands = 1000000;

inline constexpr int kWidth = 400;
inline constexpr int kHeight = 300;

// The chart a description describes (chart classes only), kWidth x kHeight.
inline std::unique_ptr<TChart> ChartOf(std::string_view description) {
  RegisterChartClasses();
  std::unique_ptr<TComponent> root = ReadRootComponent(description);
  auto* chart = dynamic_cast<TChart*>(root.get());
  if (chart == nullptr) return nullptr;
  root.release();
  chart->SetBounds(0, 0, kWidth, kHeight);
  return std::unique_ptr<TChart>(chart);
}

// The series of a chart by its place in the list.
template <class S>
S& SeriesOf(TChart& chart, int index = 0) {
  return dynamic_cast<S&>(*chart.SeriesAt(index));
}

struct Painted {
  std::size_t commands = 0;  // of the last recorded paint
  bool qtImageDrawn = false;  // the Qt paint ran to its end and left something on the image
};

// A buffered chart keeps the bitmap of the surface it first painted on, and draws into
// it whatever surface it is given later: dropped, so that the next paint draws into a
// bitmap of its own surface.
inline void ForgetBuffer(TChart& chart) {
  chart.SetBuffered(false);
  chart.SetBuffered(true);
}

// Recorded paints (three by default: the axes take their room from the paint before,
// so a window's first paints differ), then one onto a Qt image of the chart's size.
inline Painted PaintBoth(TChart& chart, int recordedPaints = 3) {
  Painted painted;
  RecordingSurface surface;
  surface.SetLineLimit(0);  // counted, not kept: a case may draw a great deal
  ForgetBuffer(chart);
  for (int paint = 0; paint < recordedPaints; ++paint) {
    surface.Clear();
    chart.PaintChart(surface, chart.ClientRect());
  }
  painted.commands = surface.CommandCount();
  ForgetBuffer(chart);
  QImage image(chart.Width(), chart.Height(), QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QtSurface qt(image);
    chart.PaintChart(qt, chart.ClientRect());
  }
  for (int y = 0; y < image.height() && !painted.qtImageDrawn; ++y)
    for (int x = 0; x < image.width() && !painted.qtImageDrawn; ++x)
      painted.qtImageDrawn = (image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
  return painted;
}

// A case painted through both surfaces within the bound; what it says goes into the
// failure message.
inline void ExpectBoundedPaint(TChart& chart, const std::string& what, int recordedPaints = 3) {
  SCOPED_TRACE(what);
  const Painted painted = PaintBoth(chart, recordedPaints);
  EXPECT_GT(painted.commands, 0u);
  EXPECT_LE(painted.commands, kMaxPaintCommands);
  EXPECT_TRUE(painted.qtImageDrawn);
}

}  // namespace tarvela::extreme
