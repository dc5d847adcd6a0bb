#include "app/study.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "app/results_export.h"
#include "tarvela/runtime/exceptions.h"

namespace tarvela {

namespace {

int ParseCount(const std::string& option, const std::string& text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error == std::errc::result_out_of_range)
    throw Exception("option " + option + " needs a whole number of at least 1 that an int holds, not " + text);
  if (error != std::errc() || end != text.data() + text.size() || value < 1)
    throw Exception("option " + option + " needs a whole number of at least 1, not " + text);
  return value;
}

// Numbers for the scheme are read in the C locale, like the data outputs write them, so
// that a script's values mean the same under every locale.
double ParsePositive(const std::string& option, const std::string& text) {
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value) || !(value > 0))
    throw Exception("option " + option + " needs a positive finite number such as 0.5 or 1e-3, not " + text);
  return value;
}

// The factor by which each grid's time step (and threshold) shrinks.
double TimeFactor(Refinement refine) { return refine == Refinement::kSpace ? 4.0 : 2.0; }

std::string Fixed(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

}  // namespace

SchemeOptions StudyOptions::Scheme() const {
  SchemeOptions scheme;
  if (intervals) scheme.N = *intervals;
  if (steps) scheme.M = *steps;
  if (time) scheme.T = *time;
  if (tolerance) scheme.epsilon = *tolerance;
  return scheme;
}

bool ParseStudyOption(const std::vector<std::string>& args, std::size_t& i, StudyOptions& options) {
  const std::string& arg = args[i];
  static const char* const kNames[] = {"--intervals",      "--steps",          "--time",  "--tolerance",
                                       "--convergence",    "--refine",         "--quiet", "--convergence-csv",
                                       "--convergence-png"};
  if (std::find_if(std::begin(kNames), std::end(kNames), [&](const char* name) { return arg == name; }) ==
      std::end(kNames))
    return false;
  const auto twice = [&](bool given) {
    if (given) throw Exception("option " + arg + " given twice");
  };
  if (arg == "--quiet") {
    twice(options.quiet);
    options.quiet = true;
    return true;
  }
  if (i + 1 >= args.size()) throw Exception("option " + arg + " needs a value");
  const std::string& value = args[++i];
  if (arg == "--intervals") {
    twice(options.intervals.has_value());
    options.intervals = ParseCount(arg, value);
  } else if (arg == "--steps") {
    twice(options.steps.has_value());
    options.steps = ParseCount(arg, value);
  } else if (arg == "--time") {
    twice(options.time.has_value());
    options.time = ParsePositive(arg, value);
  } else if (arg == "--tolerance") {
    twice(options.tolerance.has_value());
    options.tolerance = ParsePositive(arg, value);
  } else if (arg == "--convergence") {
    twice(options.convergence.has_value());
    options.convergence = ParseCount(arg, value);
  } else if (arg == "--refine") {
    twice(options.refine.has_value());
    if (value == "space")
      options.refine = Refinement::kSpace;
    else if (value == "time")
      options.refine = Refinement::kTime;
    else if (value == "both-halved")
      options.refine = Refinement::kBothHalved;
    else
      throw Exception("option --refine needs space, time or both-halved, not " + value);
  } else if (arg == "--convergence-csv") {
    twice(options.convergenceCsv.has_value());
    options.convergenceCsv = value;
  } else {
    twice(options.convergencePng.has_value());
    options.convergencePng = value;
  }
  return true;
}

SchemeOptions StudyGrid(const StudyOptions& options, int grid) {
  SchemeOptions scheme = options.Scheme();
  const Refinement refine = options.refine.value_or(Refinement::kSpace);
  const double spaceFactor = refine == Refinement::kTime ? 1.0 : 2.0;
  const double timeFactor = TimeFactor(refine);
  const double n = scheme.N * std::pow(spaceFactor, grid);
  const double m = scheme.M * std::pow(timeFactor, grid);
  const double limit = std::numeric_limits<int>::max();
  // Beyond an int the grid cannot be laid; SchemeProblem refuses the 0 with its reason.
  scheme.N = n <= limit ? static_cast<int>(n) : 0;
  scheme.M = m <= limit ? static_cast<int>(m) : 0;
  if (!options.tolerance) scheme.epsilon = scheme.epsilon / std::pow(timeFactor, grid);
  return scheme;
}

void CheckStudyOptions(const StudyOptions& options, bool hasSigma) {
  if (!options.convergence) {
    const std::pair<bool, const char*> studyOnly[] = {{options.refine.has_value(), "--refine"},
                                                      {options.convergenceCsv.has_value(), "--convergence-csv"},
                                                      {options.convergencePng.has_value(), "--convergence-png"}};
    for (const auto& [given, name] : studyOnly)
      if (given) throw Exception(std::string("option ") + name + " belongs to a study: it needs --convergence K");
    if (const auto problem = SchemeProblem(options.Scheme())) throw Exception(*problem);
    return;
  }
  if (!hasSigma) throw Exception("option --convergence needs --sigma: the study solves for one exponent");
  // Every grid is checked before the first is computed: a study should not run for an
  // hour to find that its last grid cannot be stored.
  const int grids = *options.convergence;
  for (int g = 0; g < grids; ++g) {
    const SchemeOptions scheme = StudyGrid(options, g);
    std::optional<std::string> problem;
    if (scheme.N == 0 || scheme.M == 0)
      problem = "its intervals or steps pass the largest count, " + std::to_string(std::numeric_limits<int>::max());
    else
      problem = SchemeProblem(scheme, 3);
    if (!problem && !(scheme.epsilon > 0)) problem = "its tolerance is no longer a positive double";
    if (problem)
      throw Exception("grid " + std::to_string(g + 1) + " of --convergence " + std::to_string(grids) + ": " +
                      *problem);
  }
  // With the form's outputs the form's scheme is computed too, keeping every layer.
  if (const auto problem = SchemeProblem(options.Scheme())) throw Exception(*problem);
}

void FinalLayerErrors(const FinalLayer& layer, double& maxError, double& l2Error) {
  maxError = 0;
  double squares = 0;
  const std::size_t nodes = std::min(layer.u.size(), layer.y.size());
  for (std::size_t i = 0; i < nodes; ++i) {
    const double difference = std::fabs(layer.u[i] - layer.y[i]);
    maxError = std::max(maxError, difference);
    squares += difference * difference;
  }
  l2Error = std::sqrt(layer.h * squares);
}

std::optional<double> ObservedOrder(double previous, double error) {
  const auto usable = [](double e) { return e > 0 && std::isfinite(e); };
  if (!usable(previous) || !usable(error)) return std::nullopt;
  return std::log2(previous / error);
}

ProgressMeter::ProgressMeter(int fd, bool quiet, std::chrono::duration<double> after)
    : m_fd(fd), m_active(!quiet && isatty(fd) == 1), m_after(after) {}

ProgressMeter::~ProgressMeter() { Finish(); }

void ProgressMeter::Layer(int layer, int steps) {
  if (!m_active) return;
  const Clock::time_point now = Clock::now();
  const std::chrono::duration<double> elapsed = now - m_start;
  if (elapsed < m_after) return;
  // Ten times a second at most, and the last layer as soon as it starts: a terminal
  // shown every layer of a fast grid would slow the work it reports.
  const bool lastBegins = layer == steps && m_shownLayer != layer;
  if (m_shown && now - m_last < std::chrono::milliseconds(100) && !lastBegins) return;
  m_last = now;
  m_shownLayer = layer;
  std::string text = "\rtarvela: ";
  if (m_grids > 0) text += "grid " + std::to_string(m_grid) + " of " + std::to_string(m_grids) + ", ";
  text += "layer " + std::to_string(layer) + " of " + std::to_string(steps) + ", " + Fixed("%.1f", elapsed.count()) +
          " s\033[K";
  m_shown = true;
  // A terminal that went away is no reason to stop the computation.
  for (std::size_t written = 0; written < text.size();) {
    const ssize_t n = ::write(m_fd, text.data() + written, text.size() - written);
    if (n <= 0) break;
    written += static_cast<std::size_t>(n);
  }
}

void ProgressMeter::Finish() {
  if (!m_shown) return;
  m_shown = false;
  static const char kClear[] = "\r\033[K";
  [[maybe_unused]] const ssize_t n = ::write(m_fd, kClear, sizeof kClear - 1);
}

StudyResult RunStudy(double sigma, const StudyOptions& options, ProgressMeter* progress, int maxIterations) {
  StudyResult result;
  const int grids = options.convergence.value_or(1);
  for (int g = 0; g < grids; ++g) {
    const SchemeOptions scheme = StudyGrid(options, g);
    if (progress) progress->SetGrid(g + 1, grids);
    FinalLayer layer;
    const auto start = std::chrono::steady_clock::now();
    try {
      ComputeFinalLayer(sigma, scheme, layer, maxIterations, progress ? progress->Callback() : LayerProgress());
    } catch (const std::exception& e) {
      result.failure = "grid " + std::to_string(g + 1) + " (N = " + std::to_string(scheme.N) +
                       ", M = " + std::to_string(scheme.M) + "): " + ErrorBoxText(e.what());
      break;
    }
    StudyRow row;
    row.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    row.N = layer.N;
    row.M = layer.M;
    row.h = layer.h;
    row.tau = layer.tau;
    row.epsilon = layer.epsilon;
    row.iterations = layer.iterations;
    FinalLayerErrors(layer, row.maxError, row.l2Error);
    if (!result.rows.empty()) {
      row.maxOrder = ObservedOrder(result.rows.back().maxError, row.maxError);
      row.l2Order = ObservedOrder(result.rows.back().l2Error, row.l2Error);
    }
    result.rows.push_back(row);
  }
  if (progress) progress->Finish();
  return result;
}

std::string StudyTable(const std::vector<StudyRow>& rows) {
  const auto order = [](const std::optional<double>& value) {
    return value ? Fixed("%7.3f", *value) : std::string(7, ' ');
  };
  std::string out =
      "grid         N          M            h          tau      epsilon    max error   order     L2 error   order"
      "   iterations     time s\n";
  for (std::size_t g = 0; g < rows.size(); ++g) {
    const StudyRow& r = rows[g];
    char line[256];
    std::snprintf(line, sizeof line, "%4zu %9d %10d %12.5e %12.5e %12.5e %12.5e %s %12.5e %s %12lld %10.3f\n", g + 1,
                  r.N, r.M, r.h, r.tau, r.epsilon, r.maxError, order(r.maxOrder).c_str(), r.l2Error,
                  order(r.l2Order).c_str(), r.iterations, r.seconds);
    out += line;
  }
  return out;
}

std::string StudyCsv(const std::vector<StudyRow>& rows) {
  std::string out = "grid,N,M,h,tau,epsilon,max_error,max_order,l2_error,l2_order,iterations,seconds\n";
  const auto order = [](const std::optional<double>& value) { return value ? DataNumber(*value) : std::string(); };
  for (std::size_t g = 0; g < rows.size(); ++g) {
    const StudyRow& r = rows[g];
    out += std::to_string(g + 1) + "," + std::to_string(r.N) + "," + std::to_string(r.M) + "," + DataNumber(r.h) +
           "," + DataNumber(r.tau) + "," + DataNumber(r.epsilon) + "," + DataNumber(r.maxError) + "," +
           order(r.maxOrder) + "," + DataNumber(r.l2Error) + "," + order(r.l2Order) + "," +
           std::to_string(r.iterations) + "," + DataNumber(r.seconds) + "\n";
  }
  return out;
}

std::string StudyChartDescription(const std::vector<StudyRow>& rows, double sigma, Refinement refine) {
  const bool againstTau = refine == Refinement::kTime;
  const auto step = [&](const StudyRow& r) { return againstTau ? r.tau : r.h; };
  const auto plotted = [](double v) { return v > 0 && std::isfinite(v); };
  // The axes run from decade to decade, so that a logarithmic axis has labels at both ends.
  double lowX = 0, highX = 0, lowY = 0, highY = 0;
  bool any = false;
  for (const StudyRow& r : rows) {
    for (double e : {r.maxError, r.l2Error}) {
      if (!plotted(e) || !plotted(step(r))) continue;
      lowX = any ? std::min(lowX, step(r)) : step(r);
      highX = any ? std::max(highX, step(r)) : step(r);
      lowY = any ? std::min(lowY, e) : e;
      highY = any ? std::max(highY, e) : e;
      any = true;
    }
  }
  const auto decadeBelow = [](double v) { return std::pow(10.0, std::floor(std::log10(v))); };
  const auto decadeAbove = [](double v) {
    const double above = std::pow(10.0, std::ceil(std::log10(v)));
    return above > v ? above : above * 10;
  };
  const auto number = [](double v) { return DataNumber(v); };
  const auto points = [&](const std::vector<std::pair<double, double>>& values) {
    std::string out = "    Points = (";
    for (const auto& [x, y] : values) out += "\n      '" + number(x) + " " + number(y) + "'";
    return out + ")\n";
  };
  const auto series = [&](const char* name, const char* title, const char* color, bool pointer,
                          const std::vector<std::pair<double, double>>& values) {
    std::string out = std::string("  object ") + name + ": TLineSeries\n    Title = '" + title +
                      "'\n    SeriesColor = " + color + "\n";
    if (pointer) out += "    Pointer.Visible = True\n    Pointer.Style = psCircle\n";
    return out + points(values) + "  end\n";
  };
  char sigmaText[32];
  const auto written = std::to_chars(sigmaText, sigmaText + sizeof sigmaText, sigma);
  std::string out = "object Convergence: TChart\n  Width = 600\n  Height = 420\n  View3D = False\n";
  out += "  Title.Text.Strings = ('Error of the final layer as the grid is refined, sigma = " +
         std::string(sigmaText, written.ptr) + "')\n";
  out += "  Legend.Visible = True\n";
  // Errors fall over decades below 0.001, where the default pattern writes 0.
  out += "  LeftAxis.Logarithmic = True\n  LeftAxis.Title.Caption = 'error'\n  LeftAxis.AxisValuesFormat = '0E-0'\n";
  out += "  BottomAxis.Logarithmic = True\n  BottomAxis.Title.Caption = '" + std::string(againstTau ? "tau" : "h") +
         "'\n";
  std::vector<std::pair<double, double>> maxErrors, l2Errors, slope1, slope2;
  for (const StudyRow& r : rows) {
    if (plotted(step(r)) && plotted(r.maxError)) maxErrors.emplace_back(step(r), r.maxError);
    if (plotted(step(r)) && plotted(r.l2Error)) l2Errors.emplace_back(step(r), r.l2Error);
  }
  if (any) {
    // The reference lines start at the first grid's maximum error and fall with the
    // step to the power 1 and 2 across the steps of the study.
    const auto& [x0, y0] = maxErrors.empty() ? l2Errors.front() : maxErrors.front();
    for (double x : {highX, lowX}) {
      slope1.emplace_back(x, y0 * (x / x0));
      slope2.emplace_back(x, y0 * (x / x0) * (x / x0));
    }
    for (const auto& line : {slope1, slope2})
      for (const auto& [x, y] : line)
        if (plotted(y)) {
          lowY = std::min(lowY, y);
          highY = std::max(highY, y);
        }
    out += "  BottomAxis.Automatic = False\n  BottomAxis.AutomaticMinimum = False\n"
           "  BottomAxis.AutomaticMaximum = False\n";
    out += "  BottomAxis.Maximum = " + number(decadeAbove(highX)) + "\n  BottomAxis.Minimum = " +
           number(decadeBelow(lowX)) + "\n";
    out += "  LeftAxis.Automatic = False\n  LeftAxis.AutomaticMinimum = False\n  LeftAxis.AutomaticMaximum = False\n";
    out += "  LeftAxis.Maximum = " + number(decadeAbove(highY)) + "\n  LeftAxis.Minimum = " +
           number(decadeBelow(lowY)) + "\n";
  }
  out += series("MaxError", "maximum error", "clRed", true, maxErrors);
  out += series("L2Error", "discrete L2 error", "clBlue", true, l2Errors);
  const auto plottable = [&](std::vector<std::pair<double, double>> line) {
    line.erase(std::remove_if(line.begin(), line.end(), [&](const auto& p) { return !plotted(p.second); }), line.end());
    return line;
  };
  out += series("Order1", "order 1", "clGray", false, plottable(slope1));
  out += series("Order2", "order 2", "clGreen", false, plottable(slope2));
  out += "end\n";
  return out;
}

}  // namespace tarvela
