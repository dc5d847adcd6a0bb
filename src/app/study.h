#pragma once
// The scheme as a subject of study: the options that set its grid, time step and
// threshold on the command line, a convergence study over successively refined grids
// with the observed orders of accuracy, and the progress of a long computation on a
// terminal.

#include <chrono>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "app/solver.h"

namespace tarvela {

// How each grid of a study comes from the one before.
enum class Refinement {
  kSpace,        // h halved, tau quartered: tau / h^2 stays, both errors shrink alike
  kTime,         // tau halved, the grid kept
  kBothHalved,   // h and tau halved
};

struct StudyOptions {
  std::optional<int> intervals, steps;
  std::optional<double> time, tolerance;
  std::optional<int> convergence;  // K grids
  std::optional<Refinement> refine;
  std::optional<std::string> convergenceCsv, convergencePng;
  bool quiet = false;

  bool SetsScheme() const { return intervals || steps || time || tolerance; }
  // The scheme of the form, and of the study's first grid.
  SchemeOptions Scheme() const;
};

// Reads the option at args[i] when it is one of the study's, taking its value; false
// when it is none of them. Throws Exception for a bad value: a count that is not a
// whole number of at least 1, a number that is not finite and positive, an unknown
// refinement.
bool ParseStudyOption(const std::vector<std::string>& args, std::size_t& i, StudyOptions& options);
// Throws Exception for what cannot be computed or stored: a scheme beyond the bounds
// of SchemeProblem (on any grid of a study, named), study options without
// --convergence, --convergence without --sigma.
void CheckStudyOptions(const StudyOptions& options, bool hasSigma);

// The options of grid (0 for the first) of a study.
SchemeOptions StudyGrid(const StudyOptions& options, int grid);

// One grid of a study.
struct StudyRow {
  int N = 0, M = 0;
  double h = 0, tau = 0, epsilon = 0;
  double maxError = 0, l2Error = 0;  // of the final layer against the exact solution
  std::optional<double> maxOrder, l2Order;  // log2(previous / this); none on the first
  long long iterations = 0;
  double seconds = 0;
};

// The errors of a final layer: max |u - y| and sqrt(h sum (u - y)^2), as LayerErrors.
void FinalLayerErrors(const FinalLayer& layer, double& maxError, double& l2Error);
// log2(previous / error), or none where either is not a positive finite number.
std::optional<double> ObservedOrder(double previous, double error);

// Progress on a terminal: "layer k of M" (with "grid i of K, " before it in a study)
// and the elapsed time, rewritten in place, shown once the work has run longer than
// `after`, at most ten times a second. Nothing when fd is not a terminal or when quiet.
class ProgressMeter {
 public:
  ProgressMeter(int fd, bool quiet, std::chrono::duration<double> after = std::chrono::seconds(1));
  ~ProgressMeter();
  ProgressMeter(const ProgressMeter&) = delete;
  ProgressMeter& operator=(const ProgressMeter&) = delete;

  void SetGrid(int grid, int grids) {
    m_grid = grid;
    m_grids = grids;
    m_shownLayer = -1;
  }
  // Told at each iteration of a layer and when it is done.
  void Layer(int layer, int steps);
  // Clears the line when one was shown, so that what follows starts on a clean line.
  void Finish();
  LayerProgress Callback() {
    return [this](int layer, int steps) { Layer(layer, steps); };
  }

 private:
  using Clock = std::chrono::steady_clock;
  int m_fd;
  bool m_active;
  std::chrono::duration<double> m_after;
  Clock::time_point m_start = Clock::now();
  Clock::time_point m_last{};
  bool m_shown = false;
  int m_shownLayer = -1;
  int m_grid = 0, m_grids = 0;
};

// What a study did: its rows, and the failure that ended it, if one did.
struct StudyResult {
  std::vector<StudyRow> rows;
  std::optional<std::string> failure;  // "grid 3 (N = 40, M = 160): <the error box's text>"
};

// Runs the grids of options one after another for sigma; a failure on a grid ends the
// study with the grids before it kept.
StudyResult RunStudy(double sigma, const StudyOptions& options, ProgressMeter* progress,
                     int maxIterations = kMaxIterationsPerLayer);

// The table for people: aligned columns with a header.
std::string StudyTable(const std::vector<StudyRow>& rows);
// "grid,N,M,h,tau,epsilon,max_error,max_order,l2_error,l2_order,iterations,seconds" and
// a row per grid, numbers as DataNumber writes them, the first grid's orders empty.
std::string StudyCsv(const std::vector<StudyRow>& rows);
// A chart description of both errors against h (against tau when h stays, as with
// --refine time) on logarithmic axes, with lines of slope 1 and 2 through the first
// grid's maximum error, and a legend.
std::string StudyChartDescription(const std::vector<StudyRow>& rows, double sigma, Refinement refine);

}  // namespace tarvela
