#include "app/results_export.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <optional>
#include <span>
#include <system_error>
#include <vector>

namespace tarvela {

namespace {

int NodeCount(const SolverState& state) { return state.N + 1; }
int LayerCount(const SolverState& state) { return state.M + 1; }

double At(const std::vector<double>& values, int i) {
  return i >= 0 && static_cast<std::size_t>(i) < values.size() ? values[static_cast<std::size_t>(i)] : 0.0;
}

// JSON has no words for the values a failed computation can leave behind.
std::string JsonNumber(double value) { return std::isfinite(value) ? DataNumber(value) : "null"; }

// What a writer of a large output holds before it hands a piece on.
constexpr std::size_t kPieceBytes = 1 << 20;

void AppendJsonArray(std::string& out, int count, const std::function<double(int)>& value, const TextSink& sink) {
  out += '[';
  for (int i = 0; i < count; ++i) {
    if (i > 0) out += ',';
    out += JsonNumber(value(i));
    if (out.size() >= kPieceBytes) {
      sink(out);
      out.clear();
    }
  }
  out += ']';
}

// The shortest text that reads back as value; plain digits where they stay short.
std::string ShortNumber(double value) {
  char buffer[64];
  const bool plain = value >= 1e-4 && value < 1e6;
  const auto result = plain ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed)
                            : std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

// The labelled values of the norms' axis and the limits it runs between.
struct NormScale {
  double minimum = 0;
  double maximum = 0;
  std::vector<double> labels;
};

// A logarithmic axis labels only the powers of ten by itself, and the norms of one run
// usually span less than two decades: one label or none, nothing to read a value by.
// Over such a range 1, 2 and 5 times each power of ten are labelled, over a wider one
// the powers alone; either way the axis runs from a labelled value to a labelled value.
// Empty when the norms have no such values (none at all, or beyond what a double holds).
std::optional<NormScale> NormAxisScale(double lowest, double highest) {
  if (!(lowest > 0) || !(highest >= lowest) || !std::isfinite(highest)) return std::nullopt;
  static constexpr int kOneTwoFive[] = {1, 2, 5};
  static constexpr int kDecades[] = {1};
  const bool narrow = highest / lowest < 100;
  const std::span<const int> mantissas = narrow ? std::span<const int>(kOneTwoFive) : std::span<const int>(kDecades);
  std::vector<double> candidates;
  const int first = static_cast<int>(std::floor(std::log10(lowest))) - 1;
  const int last = static_cast<int>(std::ceil(std::log10(highest))) + 1;
  for (int exponent = first; exponent <= last; ++exponent) {
    for (int mantissa : mantissas) {
      // Read from text, so that 2e-2 is the double 0.02 names and not 2 × 0.01.
      const std::string text = std::to_string(mantissa) + "e" + std::to_string(exponent);
      double value = 0;
      const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
      if (error == std::errc() && value > 0 && std::isfinite(value)) candidates.push_back(value);
    }
  }
  const auto above = std::upper_bound(candidates.begin(), candidates.end(), lowest);
  const auto top = std::lower_bound(candidates.begin(), candidates.end(), highest);
  if (above == candidates.begin() || top == candidates.end()) return std::nullopt;
  NormScale scale;
  scale.minimum = *(above - 1);
  auto end = top + 1;
  if (*top == scale.minimum) {
    // A single value: the axis needs a length.
    if (end == candidates.end()) return std::nullopt;
    ++end;
  }
  scale.maximum = *(end - 1);
  scale.labels.assign(above - 1, end);
  return scale;
}

}  // namespace

std::string DataNumber(double value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 17);
  return std::string(buffer, result.ptr);
}

std::string LayersCsv(const SolverState& state) {
  std::string out;
  WriteLayersCsv(state, [&](const std::string& piece) { out += piece; });
  return out;
}

void WriteLayersCsv(const SolverState& state, const TextSink& sink) {
  const int last = state.M;
  std::string out = "x";
  for (int k = 0; k <= last; ++k) out += ",u" + std::to_string(k);
  out += ",y" + std::to_string(last) + "\n";
  for (int i = 0; i < NodeCount(state); ++i) {
    out += DataNumber(state.X(i));
    for (int k = 0; k <= last; ++k) {
      out += ',';
      out += DataNumber(LayerValue(state.u, i, k));
    }
    out += ',';
    out += DataNumber(LayerValue(state.y, i, last));
    out += '\n';
    if (out.size() >= kPieceBytes) {
      sink(out);
      out.clear();
    }
  }
  sink(out);
}

std::string LayersJson(const SolverState& state) {
  std::string out;
  WriteLayersJson(state, [&](const std::string& piece) { out += piece; });
  return out;
}

void WriteLayersJson(const SolverState& state, const TextSink& sink) {
  const int nodes = NodeCount(state);
  std::string out = "{\n";
  out += "  \"sigma\": " + JsonNumber(state.sigma) + ",\n";
  out += "  \"second\": " + JsonNumber(state.second) + ",\n";
  out += "  \"grid\": {\"a\": " + JsonNumber(state.a) + ", \"b\": " + JsonNumber(state.b) +
         ", \"h\": " + JsonNumber(state.h) + ", \"nodes\": " + std::to_string(nodes) +
         ", \"tau\": " + JsonNumber(state.tau) + ", \"layers\": " + std::to_string(LayerCount(state)) +
         ", \"t0\": " + JsonNumber(state.t0) + "},\n";
  out += "  \"x\": ";
  AppendJsonArray(out, nodes, [&](int i) { return state.X(i); }, sink);
  out += ",\n  \"layers\": [";
  for (int k = 0; k < LayerCount(state); ++k) {
    const double t = At(state.t, k);
    const int iterations =
        static_cast<std::size_t>(k) < state.iterations.size() ? state.iterations[static_cast<std::size_t>(k)] : 0;
    out += k == 0 ? "\n" : ",\n";
    out += "    {\"layer\": " + std::to_string(k) + ", \"t\": " + JsonNumber(t) +
           ", \"theta\": " + JsonNumber(state.t0 + t) + ", \"iterations\": " + std::to_string(iterations) +
           ",\n     \"u\": ";
    AppendJsonArray(out, nodes, [&](int i) { return LayerValue(state.u, i, k); }, sink);
    out += ",\n     \"y\": ";
    AppendJsonArray(out, nodes, [&](int i) { return LayerValue(state.y, i, k); }, sink);
    out += "}";
  }
  out += "\n  ]\n}\n";
  sink(out);
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
      if (u > kFrontThreshold) error.frontU = state.X(i);
      if (y > kFrontThreshold) error.frontY = state.X(i);
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
  // A logarithmic axis has no place for an exact layer's 0.
  const auto plotted = [](double norm) { return norm > 0 && std::isfinite(norm); };
  std::optional<double> lowest, highest;
  int firstLayer = 0;
  for (const LayerError& e : errors) {
    for (double norm : {e.maxNorm, e.l2Norm}) {
      if (!plotted(norm)) continue;
      if (!lowest) firstLayer = e.layer;
      lowest = std::min(lowest.value_or(norm), norm);
      highest = std::max(highest.value_or(norm), norm);
    }
  }
  const std::optional<NormScale> scale = lowest ? NormAxisScale(*lowest, *highest) : std::nullopt;

  const auto series = [&](const char* name, const char* title, const char* color, double LayerError::*norm) {
    std::string out = std::string("  object ") + name + ": TLineSeries\n    Title = '" + title +
                      "'\n    SeriesColor = " + color + "\n    Pointer.Visible = True\n    Pointer.Style = psCircle\n"
                      "    Points = (";
    for (const LayerError& e : errors) {
      if (!plotted(e.*norm)) continue;
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
  if (scale) {
    // The value axis shows the texts of the scale series below at their values; the
    // layers keep their numbers.
    out += "  LeftAxis.Automatic = False\n  LeftAxis.AutomaticMinimum = False\n  LeftAxis.AutomaticMaximum = False\n";
    out += "  LeftAxis.Maximum = " + ShortNumber(scale->maximum) + "\n  LeftAxis.Minimum = " +
           ShortNumber(scale->minimum) + "\n";
    out += "  LeftAxis.LabelStyle = talText\n  BottomAxis.LabelStyle = talValue\n";
    // Nothing of it is drawn but its labels; it stands at a plotted layer so that it
    // leaves the layer axis as the norms make it.
    out += "  object Scale: TPointSeries\n    ShowInLegend = False\n    Pointer.Visible = False\n    Points = (";
    for (double value : scale->labels) {
      const std::string text = ShortNumber(value);
      out += "\n      '" + std::to_string(firstLayer) + " " + text + " \"" + text + "\"'";
    }
    out += ")\n  end\n";
  }
  out += series("MaxNorm", "maximum norm", "clRed", &LayerError::maxNorm);
  out += series("L2Norm", "discrete L2 norm", "clBlue", &LayerError::l2Norm);
  out += "end\n";
  return out;
}

}  // namespace tarvela
