#pragma once
// The computed layers as data for other programs: a CSV table a spreadsheet or numpy
// reads directly, and a JSON document for scripts. Numbers are written in the C locale
// with 17 significant digits, so that they read back to the same doubles whatever the
// user's locale; the report, meant for people, keeps the locale's separators.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/solver.h"

namespace tarvela {

// value as "%.17g" writes it in the C locale ("nan", "inf" and "-inf" included).
std::string DataNumber(double value);

// A header row "x,u0,u1,...,uM,yM", then one row per grid node 0..N: its x, the
// numerical value of every layer, and the exact value of the last layer. Lines end with
// a line feed.
std::string LayersCsv(const SolverState& state);
// Receives an output a piece at a time, for outputs of large grids too large to hold.
using TextSink = std::function<void(const std::string&)>;
void WriteLayersCsv(const SolverState& state, const TextSink& sink);

// {"sigma", "second", "grid": {"a", "b", "h", "nodes", "tau", "layers", "t0"}, "x": [...],
//  "layers": [{"layer", "t", "theta", "iterations", "u": [...], "y": [...]}, ...]}
// with t the time of the layer from the start and theta = t0 + t the time of the exact
// profile. A value that is not a number or infinite is written as null.
std::string LayersJson(const SolverState& state);
void WriteLayersJson(const SolverState& state, const TextSink& sink);

// How far the scheme is from the exact solution on one layer.
struct LayerError {
  int layer = 0;
  double t = 0;
  double maxNorm = 0;  // max over the nodes of |u - y|
  double l2Norm = 0;   // sqrt(h * sum over the nodes of (u - y)^2)
  // The outermost node (largest x) whose value exceeds kFrontThreshold: where the heat
  // front stands; empty while no node does.
  std::optional<double> frontU, frontY;
  int iterations = 0;
};

// A value at or below this counts as no heat: the fronts are where the profiles leave it.
inline constexpr double kFrontThreshold = 1e-6;

std::vector<LayerError> LayerErrors(const SolverState& state);

// A header row "layer,t,max_error,l2_error,front_u,front_y,iterations" and a row per
// layer; a front that does not exist is an empty field.
std::string ErrorsCsv(const SolverState& state);

// A chart description (the format of chart files) of the two norms per layer on a
// logarithmic axis, with a title and a legend; layers whose norm is 0 are left out.
std::string ErrorsChartDescription(const SolverState& state);

}  // namespace tarvela
