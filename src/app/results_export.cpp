#include "app/results_export.h"

#include <algorithm>
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

std::vector<LayerError> LayerErrors(const SolverState& state) {
  std::vector<LayerError> errors;
  for (int k = 0; k < LayerCount(state); ++k) {
    LayerError error;
    error.layer = k;
    error.t = At(state.t, k);
    error.iterations =
        static_cast<std::size_t>(k) < state.iterations.size() ? state.iterations[static_cast<std::size_t>(k)] : 0;
    double squares = 0;
    for (int i = 0; i < NodeCount(state); ++i) {
      const double u = LayerValue(state.u, i, k), y = LayerValue(state.y, i, k);
      const double difference = std::fabs(u - y);
      error.maxNorm = std::max(error.maxNorm, difference);
      squares += difference * difference;
      if (u > kFrontThreshold) error.frontU = At(state.x, i);
      if (y > kFrontThreshold) error.frontY = At(state.x, i);
    }
    error.l2Norm = std::sqrt(state.h * squares);
    errors.push_back(error);
  }
  return errors;
}

std::string ErrorsCsv(const SolverState& state) {
  std::string out = "layer,t,max_error,l2_error,front_u,front_y,iterations\n";
  const auto front = [](const std::optional<double>& x) { return x ? DataNumber(*x) : std::string(); };
  for (const LayerError& e : LayerErrors(state)) {
    out += std::to_string(e.layer) + "," + DataNumber(e.t) + "," + DataNumber(e.maxNorm) + "," +
           DataNumber(e.l2Norm) + "," + front(e.frontU) + "," + front(e.frontY) + "," +
           std::to_string(e.iterations) + "\n";
  }
  return out;
}

std::string ErrorsChartDescription(const SolverState& state) {
  // The shortest text that reads back as sigma, for a title people read.
  char sigma[32];
  const auto written = std::to_chars(sigma, sigma + sizeof sigma, state.sigma);
  const std::vector<LayerError> errors = LayerErrors(state);
  const auto series = [&](const char* name, const char* title, const char* color, double LayerError::*norm) {
    std::string out = std::string("  object ") + name + ": TLineSeries\n    Title = '" + title +
                      "'\n    SeriesColor = " + color + "\n    Pointer.Visible = True\n    Pointer.Style = psCircle\n"
                      "    Points = (";
    for (const LayerError& e : errors) {
      // A logarithmic axis has no place for an exact layer's 0.
      if (!(e.*norm > 0) || !std::isfinite(e.*norm)) continue;
      out += "\n      '" + std::to_string(e.layer) + " " + DataNumber(e.*norm) + "'";
    }
    out += ")\n  end\n";
    return out;
  };
  std::string out = "object Errors: TChart\n  Width = 600\n  Height = 400\n  View3D = False\n";
  out += "  Title.Text.Strings = ('Distance of the scheme from the exact solution, sigma = " +
         std::string(sigma, written.ptr) + "')\n";
  out += "  LeftAxis.Logarithmic = True\n  LeftAxis.Title.Caption = '|u - y|'\n";
  out += "  BottomAxis.Title.Caption = 'layer'\n";
  out += series("MaxNorm", "maximum norm", "clRed", &LayerError::maxNorm);
  out += series("L2Norm", "discrete L2 norm", "clBlue", &LayerError::l2Norm);
  out += "end\n";
  return out;
}

}  // namespace tarvela
