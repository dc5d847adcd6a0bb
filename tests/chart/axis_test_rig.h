#pragma once
// A chart laid out by hand for the axis tests: a plot rectangle without a paint, and
// a recording surface on its canvas so that labels are measured with the recording's
// fixed text metrics (8-point labels: 6 pixels a character, 13 pixels a line).

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "canvas_test_support.h"
#include "series_fixtures.h"
#include "tarvela/chart/chart.h"
#include "tarvela/platform/recording_surface.h"

namespace tarvela {

// Readable points in the failures of the axis tests.
inline void PrintTo(const TPoint& point, std::ostream* out) { *out << "(" << point.x << ", " << point.y << ")"; }

}  // namespace tarvela

namespace tarvela::test {

struct AxisRig {
  RecordingSurface surface;  // first: the chart's canvas points at it until the end
  TComponent form{nullptr};
  TChart& chart = *new TChart(&form);

  // The plot 500 × 250 pixels at (10, 20) unless a test asks for another.
  explicit AxisRig(const TRect& plot = {10, 20, 510, 270}) {
    chart.Canvas().AttachSurface(&surface);
    SetPlot(plot);
  }

  void SetPlot(const TRect& plot) {
    chart.SetPlotRect(plot);
    chart.NormalizePlotRect();
  }

  // Manual limits min..max laid onto the plot, as a paint would.
  static void Lay(TCustomChartAxis& axis, double min, double max) {
    axis.SetManualRange(min, max);
    axis.RefreshScale();
    axis.LayoutPixels();
  }

  // The automatic limits of the series laid onto the plot.
  static void Refresh(TCustomChartAxis& axis) {
    axis.RefreshScale();
    axis.LayoutPixels();
  }

  TLineSeries* Line() { return NewLine(form, &chart); }

  // The oblique projection of a 3D paint centred at the origin, P(x, y, z) = (x + z,
  // y - z), and the chart's box depth for percent (its depth slots times the offset);
  // returns that depth. Without it the canvas draws every depth at the front,
  // P(x, y, z) = (x, y).
  int Project3D(int percent) {
    chart.SetChart3DPercent(percent);
    chart.ComputeBoxDepth();
    TZavCanvas3D& canvas = chart.Canvas();
    canvas.SetBuffered(false);
    canvas.BeginDrawing(surface, &chart.View3DOptions(), clWhite, true, {0, 0, 600, 400});
    canvas.SetProjectionCenter(chart.BoxDepthX(), {0, 0, 600, 400}, {0, 0, 0, 0});
    return chart.BoxDepthX();
  }

  // The recorded lines of one command ("LineTo", "TextOut").
  std::vector<std::string> Of(const std::string& command) const {
    std::vector<std::string> found;
    for (const std::string& line : surface.Lines())
      if (canvas_test::CommandOf(line) == command) found.push_back(line);
    return found;
  }
};

// One recorded TextOut: where, what (with \r for a line break) and how aligned.
struct DrawnText {
  TPoint at;
  std::string text;
  std::string align;
  std::string font;
};

inline std::vector<DrawnText> TextsOf(const RecordingSurface& surface) {
  std::vector<DrawnText> texts;
  for (const std::string& line : surface.Lines()) {
    if (canvas_test::CommandOf(line) != "TextOut") continue;
    DrawnText drawn;
    drawn.at = canvas_test::PointsOf(line).at(0);
    const std::size_t open = line.find('"');
    std::size_t close = open + 1;
    while (line[close] != '"') close += line[close] == '\\' ? 2 : 1;
    drawn.text = line.substr(open + 1, close - open - 1);
    drawn.align = canvas_test::FieldOf(line, "align");
    drawn.font = canvas_test::FieldOf(line, "font");
    texts.push_back(drawn);
  }
  return texts;
}

inline std::vector<std::string> TextStrings(const RecordingSurface& surface) {
  std::vector<std::string> strings;
  for (const DrawnText& text : TextsOf(surface)) strings.push_back(text.text);
  return strings;
}

// The two points of each recorded LineTo.
inline std::vector<std::pair<TPoint, TPoint>> SegmentsOf(const std::vector<std::string>& lines) {
  std::vector<std::pair<TPoint, TPoint>> segments;
  for (const std::string& line : lines) {
    const std::vector<TPoint> points = canvas_test::PointsOf(line);
    segments.emplace_back(points.at(0), points.at(1));
  }
  return segments;
}

}  // namespace tarvela::test
