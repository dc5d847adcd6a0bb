#pragma once
// The chart as pictures and files: rendered the way its window shows it, through the
// Qt surface, onto an image (PNG) or into an SVG document; and the main window as a
// screenshot. Used by the command line; the window itself never needs them.

#include <QIODevice>
#include <QImage>
#include <functional>
#include <optional>
#include <string>

namespace tarvela {

class ChartWindow;
class TCustomZavPanel;
class TForm;

struct ChartImageSize {
  int width = 0;
  int height = 0;
};

// The chart at its own size, or at size: its bounds are set to that size for the
// rendering and put back after, so the layout is the one a window that large shows:
// the first paint at a size is repeated until its layout has settled, as a window's.
// At a scale above 1 the image has scale times the pixels each way and the chart is
// drawn at them, lines and text included, as on a screen that dense; the image says
// so in its resolution (96 dots per inch times the scale), so that it prints at the
// size of the unscaled one. A null image when the memory for the picture ran out.
QImage RenderChartImage(TCustomZavPanel& chart, std::optional<ChartImageSize> size = std::nullopt, int scale = 1);

// The writers put the picture on device and return false when it could not be
// written. They paint the chart once more, which a later paint remembers, as a window
// does (see the command line).
// Throws std::bad_alloc when the memory for the picture ran out.
bool WriteChartPng(TCustomZavPanel& chart, QIODevice& device, std::optional<ChartImageSize> size, int scale = 1);
// The same drawing as vector graphics: the chart draws straight into the document
// (unbuffered), so lines, fills and text stay shapes and text rather than one embedded
// picture.
bool WriteChartSvg(TCustomZavPanel& chart, QIODevice& device, std::optional<ChartImageSize> size);
// The whole main window, its controls and the chart included, as a PNG; at a scale
// above 1 drawn at that many times the pixels, as the chart is.
bool WriteScreenshot(TForm& form, QIODevice& device, int scale = 1);

// Saves the chart of window as the window shows it: an SVG document when path ends in
// .svg (any case), else a PNG image of the window's pixels (at a dense screen's
// pixels). Written whole or not at all; throws Exception "Cannot write to PATH: why" when
// it could not be.
void SaveChartPicture(ChartWindow& window, const std::string& path);

// Asks where to save a chart: a file name with its suffix, or nothing when cancelled.
using ChartFileNameQuestion = std::function<std::optional<std::string>(ChartWindow& window)>;
// The save dialog: PNG or SVG, the suffix added from the chosen type when not typed.
std::optional<std::string> AskChartFileName(ChartWindow& window);
// Makes Ctrl+S in every chart window ask (with ask) and save there.
void InstallChartSaving(ChartFileNameQuestion ask = AskChartFileName);

}  // namespace tarvela
