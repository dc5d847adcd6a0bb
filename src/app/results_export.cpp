#include "app/results_export.h"

#include <charconv>
#include <cmath>
#include <functional>

namespace tarvela {

namespace {

int NodeCount(const SolverState& state) { return state.N + 1; }
int LayerCount(const SolverState& state) { return state.M + 1; }

double At(const std::vector<double>& values, int i) {
  return i >= 0 && static_cast<std::size_t>(i) < values.size() ? values[static_cast<std::size_t>(i)] : 0.0;
}

// JSON has no words for the values a failed computation can leave behind.
std::string JsonNumber(double value) { return std::isfinite(value) ? DataNumber(value) : "null"; }

void AppendJsonArray(std::string& out, int count, const std::function<double(int)>& value) {
  out += '[';
  for (int i = 0; i < count; ++i) {
    if (i > 0) out += ',';
    out += JsonNumber(value(i));
  }
  out += ']';
}

}  // namespace

std::string DataNumber(double value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 17);
  return std::string(buffer, result.ptr);
}

std::string LayersCsv(const SolverState& state) {
  const int last = state.M;
  std::string out = "x";
  for (int k = 0; k <= last; ++k) out += ",u" + std::to_string(k);
  out += ",y" + std::to_string(last) + "\n";
  for (int i = 0; i < NodeCount(state); ++i) {
    out += DataNumber(At(state.x, i));
    for (int k = 0; k <= last; ++k) out += "," + DataNumber(LayerValue(state.u, i, k));
    out += "," + DataNumber(LayerValue(state.y, i, last)) + "\n";
  }
  return out;
}

std::string LayersJson(const SolverState& state) {
  const int nodes = NodeCount(state);
  std::string out = "{\n";
  out += "  \"sigma\": " + JsonNumber(state.sigma) + ",\n";
  out += "  \"second\": " + JsonNumber(state.second) + ",\n";
  out += "  \"grid\": {\"a\": " + JsonNumber(state.a) + ", \"b\": " + JsonNumber(state.b) +
         ", \"h\": " + JsonNumber(state.h) + ", \"nodes\": " + std::to_string(nodes) +
         ", \"tau\": " + JsonNumber(state.tau) + ", \"layers\": " + std::to_string(LayerCount(state)) +
         ", \"t0\": " + JsonNumber(state.t0) + "},\n";
  out += "  \"x\": ";
  AppendJsonArray(out, nodes, [&](int i) { return At(state.x, i); });
  out += ",\n  \"layers\": [";
  for (int k = 0; k < LayerCount(state); ++k) {
    const double t = At(state.t, k);
    const int iterations =
        static_cast<std::size_t>(k) < state.iterations.size() ? state.iterations[static_cast<std::size_t>(k)] : 0;
    out += k == 0 ? "\n" : ",\n";
    out += "    {\"layer\": " + std::to_string(k) + ", \"t\": " + JsonNumber(t) +
           ", \"theta\": " + JsonNumber(state.t0 + t) + ", \"iterations\": " + std::to_string(iterations) +
           ",\n     \"u\": ";
    AppendJsonArray(out, nodes, [&](int i) { return LayerValue(state.u, i, k); });
    out += ",\n     \"y\": ";
    AppendJsonArray(out, nodes, [&](int i) { return LayerValue(state.y, i, k); });
    out += "}";
  }
  out += "\n  ]\n}\n";
  return out;
}

}  // namespace tarvela
