#pragma once
// The headless way to do what the window does: put the two texts into the entry
// fields as a paste would, press the compute button, then the graph button, and
// write what was asked for: the report, the points, the chart as a PNG or an SVG
// file, a screenshot of the window. When only pictures are asked for, nothing is
// pressed: they show the window as it opens. With no arguments the program is the
// window alone.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "app/study.h"
#include "tarvela/widgets/chart_picture.h"

namespace tarvela {

struct CommandLineOptions {
  std::optional<std::string> sigma;
  std::optional<std::string> second;
  std::optional<std::string> report;  // a file name, or "-" for standard output
  std::optional<std::string> points;  // likewise
  std::optional<std::string> png;     // likewise
  std::optional<std::string> svg;
  std::optional<std::string> screenshot;
  std::optional<ChartImageSize> size;  // of the chart in --png and --svg
  std::optional<std::string> chart;    // a chart description file
  std::optional<std::string> gallery;  // a folder for the pictures of every chart type
  std::optional<std::string> csv;      // the computed layers as a table, a file name or "-"
  std::optional<std::string> json;     // the same and more for scripts, likewise
  std::optional<std::string> errors;   // the error norms of every layer, likewise
  std::optional<std::string> errorsPng;  // a chart of the norms, likewise
  std::optional<std::string> pdf;        // the chart as a one-page PDF document, likewise
  std::optional<std::string> errorsPdf;  // the chart of the norms as a PDF document, likewise
  bool antialias = false;                // smooth lines in the raster pictures and the window
  int scale = 1;  // device pixels per pixel of --png, --errors-png and --screenshot
  bool scaleGiven = false;
  // The scheme's grid, steps, time and threshold, and the convergence study.
  StudyOptions study;
  bool help = false;
  bool version = false;
  bool manPage = false;

  // The buttons are pressed when a text or the report or the points are asked for.
  bool PressesButtons() const {
    return sigma || second || report || points || csv || json || errors || errorsPng || errorsPdf;
  }
  // --chart without an output: the chart file's window, which needs a screen.
  bool OpensChartWindow() const { return chart && !help && !png && !svg && !pdf && !points && !screenshot; }
};

// The most device pixels per pixel --scale allows. --size allows pictures up to the
// bounds of chart_picture.h, kMaxPictureSide a side and kMaxPicturePixels in all.
inline constexpr int kMaxPictureScale = 4;

// Throws Exception saying what is wrong, in lower case for "tarvela: " to precede: an
// unknown option or a word that is none, a missing value, a size that is not WxH with
// both at least 1 or that is larger than the bounds above (also once multiplied by
// --scale), a scale that is not a whole number from 1 to 4, an option of the form
// (--sigma, --second, --report, --csv, --json, --errors, --errors-png) with --chart,
// or --size or --scale without an output they change.
CommandLineOptions ParseCommandLine(const std::vector<std::string>& args);
// Throws Exception when the picture of size at scale is larger than the bounds above.
void CheckScaledPicture(ChartImageSize size, int scale);

std::string CommandLineUsage();
// "tarvela 0.1": the program and its version.
std::string VersionText();
// The manual page (roff) that `man tarvela` shows, made from the same table of texts as
// the usage, so that the two cannot drift apart.
std::string ManPage();

class TCustomAxisPanel;
// One line per point of every series that has points, in series order: the series
// index, X, Y (17 significant digits) and the point colour as a decimal integer.
std::vector<std::string> PointLines(const TCustomAxisPanel& chart);

// Needs the application object. Returns the exit status: 0, 1 when the program
// failed, 2 for a bad command line. Every message on err starts with "tarvela: ": the
// error box's text, "cannot write to FILE: why", a bad command line's problem followed
// by a line pointing at --help.
int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Shows the chart file of options.chart in its window and runs the message loop until
// it is closed. A file that cannot be read or described wrongly is reported on err with
// status 1 and no window. Needs the application object and a screen.
int RunChartWindow(const CommandLineOptions& options, std::ostream& err);

}  // namespace tarvela
