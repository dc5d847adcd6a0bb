#pragma once
// A canvas drawing into a recording surface, and readers of the recorded lines, for the
// canvas tests.

#include <sstream>
#include <string>
#include <vector>

#include "tarvela/chart/canvas/canvas3d.h"
#include "tarvela/chart/canvas/view3d_options.h"
#include "tarvela/platform/recording_surface.h"

namespace tarvela::canvas_test {

// An unbuffered canvas on a recording surface. Orthogonal with zoom 100 and the centre
// at the origin unless a test changes the options: P(x, y, z) = (x + z, y - z).
struct CanvasRig {
  RecordingSurface surface;
  TView3DOptions options{nullptr};
  TZavCanvas3D canvas;

  CanvasRig() { canvas.SetBuffered(false); }

  void Begin(bool view3D = true, const TRect& chartRect = {0, 0, 0, 0}, int depth = 0) {
    canvas.BeginDrawing(surface, &options, clBtnFace, view3D, {0, 0, 400, 300});
    canvas.SetProjectionCenter(depth, {0, 0, 400, 300}, chartRect);
  }

  const std::vector<std::string>& Lines() const { return surface.Lines(); }
};

inline std::vector<std::string> Tokens(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> tokens;
  for (std::string token; in >> token;) tokens.push_back(token);
  return tokens;
}

inline std::string CommandOf(const std::string& line) { return Tokens(line).at(0); }

// The x,y tokens after the command, up to the first name=value field.
inline std::vector<TPoint> PointsOf(const std::string& line) {
  std::vector<TPoint> points;
  const std::vector<std::string> tokens = Tokens(line);
  for (std::size_t i = 1; i < tokens.size(); ++i) {
    if (tokens[i].find('=') != std::string::npos) break;
    TPoint p;
    char comma = 0;
    std::istringstream in(tokens[i]);
    in >> p.x >> comma >> p.y;
    points.push_back(p);
  }
  return points;
}

// The l,t,r,b token after the command.
inline TRect RectOf(const std::string& line) {
  TRect r;
  char comma = 0;
  std::istringstream in(Tokens(line).at(1));
  in >> r.left >> comma >> r.top >> comma >> r.right >> comma >> r.bottom;
  return r;
}

// The value of a name=value field ("" when absent).
inline std::string FieldOf(const std::string& line, const std::string& name) {
  for (const std::string& token : Tokens(line)) {
    if (token.rfind(name + "=", 0) == 0) return token.substr(name.size() + 1);
  }
  return "";
}

inline std::vector<std::string> LinesOf(const CanvasRig& rig, const std::string& command) {
  std::vector<std::string> found;
  for (const std::string& line : rig.Lines()) {
    if (CommandOf(line) == command) found.push_back(line);
  }
  return found;
}

}  // namespace tarvela::canvas_test
