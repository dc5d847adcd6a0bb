#pragma once
// The computed layers as data for other programs: a CSV table a spreadsheet or numpy
// reads directly, and a JSON document for scripts. Numbers are written in the C locale
// with 17 significant digits, so that they read back to the same doubles whatever the
// user's locale; the report, meant for people, keeps the locale's separators.

#include <string>

#include "app/solver.h"

namespace tarvela {

// value as "%.17g" writes it in the C locale ("nan", "inf" and "-inf" included).
std::string DataNumber(double value);

// A header row "x,u0,u1,...,uM,yM", then one row per grid node 0..N: its x, the
// numerical value of every layer, and the exact value of the last layer. Lines end with
// a line feed.
std::string LayersCsv(const SolverState& state);

// {"sigma", "second", "grid": {"a", "b", "h", "nodes", "tau", "layers", "t0"}, "x": [...],
//  "layers": [{"layer", "t", "theta", "iterations", "u": [...], "y": [...]}, ...]}
// with t the time of the layer from the start and theta = t0 + t the time of the exact
// profile. A value that is not a number or infinite is written as null.
std::string LayersJson(const SolverState& state);

}  // namespace tarvela
