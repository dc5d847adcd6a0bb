#pragma once
// The chart as pictures and files: rendered the way its window shows it, through the
// Qt surface, onto an image (PNG) or into an SVG document; and the main window as a
// screenshot. Used by the command line; the window itself never needs them.

#include <QIODevice>
#include <QImage>
#include <optional>
#include <string>

namespace tarvela {

class TCustomZavPanel;
class TForm;

struct ChartImageSize {
  int width = 0;
  int height = 0;
};

// The chart at its own size, or at size: its bounds are set to that size for the
// rendering and put back after, so the layout is the one a window that large shows.
// A null image when the memory for the picture ran out.
QImage RenderChartImage(TCustomZavPanel& chart, std::optional<ChartImageSize> size = std::nullopt);

// The writers put the picture on device and return false when it could not be
// written. They paint the chart once more, which a later paint remembers, as a window
// does (see the command line).
// Throws std::bad_alloc when the memory for the picture ran out.
bool WriteChartPng(TCustomZavPanel& chart, QIODevice& device, std::optional<ChartImageSize> size);
// The same drawing as vector graphics: the chart draws straight into the document
// (unbuffered), so lines, fills and text stay shapes and text rather than one embedded
// picture.
bool WriteChartSvg(TCustomZavPanel& chart, QIODevice& device, std::optional<ChartImageSize> size);
// The whole main window, its controls and the chart included, as a PNG.
bool WriteScreenshot(TForm& form, QIODevice& device);

}  // namespace tarvela
