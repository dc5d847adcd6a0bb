#pragma once
/// The chart as pictures: rendered the way its window shows it, through the Qt
/// surface, onto an image (PNG) or into an SVG document, and a chart window's picture
/// saved as a file. The window itself never needs them.
///
/// A chart file's picture, as `tarvela --chart FILE --png/--svg` writes it, is the
/// chart of a freshly read file drawn once (chart_file.h):
///
///     TChartForm form(nullptr, ReadChartFileText(path), caption);
///     if (size) form.SetChartSize(size->width, size->height);
///     WriteOutput(target, std::cout, [&](QIODevice& device) {
///       return WriteChartPng(form.Chart(), device, std::nullopt, scale);  // or WriteChartSvg
///     });
///
/// Each picture needs a form of its own: a paint depends on the paints before it.
/// @file
#include <QIODevice>
#include <QImage>
#include <optional>
#include <string>

class QWidget;

namespace tarvela {

class ChartWindow;
class TCustomZavPanel;

struct ChartImageSize {
  int width = 0;
  int height = 0;
};

/// The largest picture a chart is drawn into, from a chart file or at a size asked
/// for: the picture and the chart's drawing buffer take 4 bytes a pixel each.
inline constexpr long long kMaxPictureSide = 16384;
inline constexpr long long kMaxPicturePixels = 8192LL * 8192LL;

/// The chart at its own size, or at size: its bounds are set to that size for the
/// rendering and put back after, so the layout is the one a window that large shows:
/// the first paint at a size is repeated until its layout has settled, as a window's.
/// At a scale above 1 the image has scale times the pixels each way and the chart is
/// drawn at them, lines and text included, as on a screen that dense; the image says
/// so in its resolution (96 dots per inch times the scale), so that it prints at the
/// size of the unscaled one. A null image when the memory for the picture ran out.
QImage RenderChartImage(TCustomZavPanel& chart, std::optional<ChartImageSize> size = std::nullopt, int scale = 1);
/// Gives image the resolution of a picture drawn at scale times the pixels of a 96 dots
/// per inch screen, as RenderChartImage does.
void MarkPictureScale(QImage& image, int scale);

/// The writers put the picture on device and return false when it could not be
/// written. They paint the chart once more, which a later paint remembers, as a window
/// does.
/// Throws std::bad_alloc when the memory for the picture ran out.
bool WriteChartPng(TCustomZavPanel& chart, QIODevice& device, std::optional<ChartImageSize> size, int scale = 1);
/// The same drawing as vector graphics: the chart draws straight into the document
/// (unbuffered), so lines, fills and text stay shapes and text rather than one embedded
/// picture.
bool WriteChartSvg(TCustomZavPanel& chart, QIODevice& device, std::optional<ChartImageSize> size);

/// The same drawing as a one-page vector PDF document, as WriteChartSvg draws it: every
/// text stays text in its font, which the document embeds. The page is the chart's size
/// (or size) in points at 96 pixels per inch, rounded to whole points as PDF pages are.
bool WriteChartPdf(TCustomZavPanel& chart, QIODevice& device, std::optional<ChartImageSize> size);

/// Asks where to save a chart's picture: a file dialog over parent for a PNG image or an
/// SVG document, the chosen type's suffix added when none was typed. Nothing when
/// cancelled.
std::optional<std::string> AskChartPictureName(QWidget* parent);

/// Saves the chart of window as the window shows it: an SVG document when path ends in
/// .svg (any case), else a PNG image of the window's pixels (at a dense screen's
/// pixels). Written whole or not at all; throws Exception "Cannot write to PATH: why" when
/// it could not be.
void SaveChartPicture(ChartWindow& window, const std::string& path);

}  // namespace tarvela
