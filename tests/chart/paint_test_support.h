#pragma once
// What the panel, wall and title tests share: the main form's chart read from its
// description, and one paint of a chart through a recording surface, read back as
// commands without the bitmap prefix.

#include <memory>
#include <string>
#include <vector>

#include "canvas_test_support.h"
#include "tarvela/chart/chart.h"
#include "tarvela/chart/chart_registration.h"
#include "tarvela/platform/recording_surface.h"
#include "tarvela/runtime/form_reader.h"

namespace tarvela::paint_test {

// Chart1 as the form describes it: 465 x 337, blue-to-aqua gradient, 5-pixel bevel,
// 10-pixel border, one empty title line, 3D without walls.
inline constexpr const char* kFormChart = R"(object Chart1: TChart
  Left = 8
  Top = 48
  Width = 465
  Height = 337
  BackWall.Brush.Color = clWhite
  BackWall.Brush.Style = bsClear
  BackWall.Color = -1
  BottomWall.Brush.Color = clWhite
  BottomWall.Color = 9175110
  LeftWall.Brush.Color = clWhite
  LeftWall.Color = 16727710
  Gradient.EndColor = clAqua
  Gradient.StartColor = clBlue
  Gradient.Visible = True
  Title.Text.Strings = (
    '')
  BackColor = -1
  Chart3DPercent = 5
  View3DOptions.Elevation = 343
  View3DOptions.Zoom = 101
  View3DWalls = False
  BevelWidth = 5
  BorderWidth = 10
  TabOrder = 2
end
)";

inline std::unique_ptr<TChart> FormChart() {
  RegisterChartClasses();
  std::unique_ptr<TComponent> root = ReadRootComponent(kFormChart);
  auto* chart = dynamic_cast<TChart*>(root.get());
  if (chart == nullptr) return nullptr;
  root.release();
  return std::unique_ptr<TChart>(chart);
}

// One recorded paint: the log's lines with "bitmapN: " taken off, so that commands
// drawn into the buffer read like any other.
struct Paint {
  std::vector<std::string> lines;

  std::vector<std::string> Of(const std::string& command) const {
    std::vector<std::string> found;
    for (const std::string& line : lines)
      if (canvas_test::CommandOf(line) == command) found.push_back(line);
    return found;
  }
  // The commands in order, without arguments.
  std::vector<std::string> Commands() const {
    std::vector<std::string> commands;
    for (const std::string& line : lines) commands.push_back(canvas_test::CommandOf(line));
    return commands;
  }
};

inline Paint Unprefixed(const RecordingSurface& surface) {
  Paint paint;
  for (const std::string& line : surface.Lines()) {
    const std::size_t colon = line.find(": ");
    const bool prefixed = line.rfind("bitmap", 0) == 0 && colon != std::string::npos;
    paint.lines.push_back(prefixed ? line.substr(colon + 2) : line);
  }
  return paint;
}

// Paints charts through one recording surface. A buffered canvas keeps the bitmap it
// made on its first paint, and that bitmap records into the log of the surface that
// made it: so every paint of a chart goes through the same recorder.
class Recorder {
 public:
  // PaintChart of the whole chart; the lines of this paint only.
  Paint operator()(TCustomZavPanel& panel) {
    m_surface.Clear();
    panel.PaintChart(m_surface, panel.ClientRect());
    return Unprefixed(m_surface);
  }

 private:
  RecordingSurface m_surface;
};

}  // namespace tarvela::paint_test
