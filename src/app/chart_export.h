#pragma once
// The chart as pictures and files: rendered the way its window shows it, through the
// Qt surface, onto an image (PNG) or into an SVG document; and the main window as a
// screenshot. Used by the command line; the window itself never needs them.

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
QImage RenderChartImage(TCustomZavPanel& chart, std::optional<ChartImageSize> size = std::nullopt);

// False when the file cannot be written.
bool WriteChartPng(TCustomZavPanel& chart, const std::string& path, std::optional<ChartImageSize> size);
// The same drawing as vector graphics: the chart draws straight into the document
// (unbuffered), so lines, fills and text stay shapes rather than one embedded picture.
bool WriteChartSvg(TCustomZavPanel& chart, const std::string& path, std::optional<ChartImageSize> size);
// The whole main window, its controls and the chart included, as a PNG.
bool WriteScreenshot(TForm& form, const std::string& path);

}  // namespace tarvela
