// Chart files: a fuzzed description (with its points) read as `--chart FILE` reads it,
// then painted until it settles through the recording surface at the file's own size,
// and once through a small Qt image. Reading may fail with EReadError; a paint may
// fail with one of the engine's exceptions (the window shows it in the error box).
// Nothing else may happen: no crash, no sanitizer finding, no endless paint.

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "tarvela/platform/recording_surface.h"
#include "tarvela/runtime/form_reader.h"
#include "tarvela/widgets/application.h"
#include "tarvela/widgets/chart_file.h"
#include "tarvela/widgets/chart_picture.h"

using namespace tarvela;

namespace {

// A small picture: what the Qt surface does with the chart, not how many pixels.
constexpr ChartImageSize kImageSize{160, 120};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  // Never destroyed: libFuzzer ends the process with exit(), after which Qt's own
  // globals are gone and the application object's destructor would reach them.
  static TApplication* app = new TApplication(*argc, *argv);
  (void)app;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::unique_ptr<TChartForm> form;
  try {
    form = std::make_unique<TChartForm>(nullptr, text, "fuzz");
  } catch (const EReadError&) {
    return 0;
  }
  TChart& chart = form->Chart();
  try {
    RecordingSurface surface;
    SettleChart(chart, [&] {
      surface.Clear();
      chart.PaintChart(surface, chart.ClientRect());
    });
  } catch (const Exception&) {
  }
  // A buffered chart keeps the bitmap of the surface it first painted on: dropped, so
  // that the picture is drawn by the Qt surface and not into the recording's bitmap.
  chart.SetBuffered(false);
  chart.SetBuffered(true);
  try {
    RenderChartImage(chart, kImageSize);
  } catch (const Exception&) {
  }
  return 0;
}
