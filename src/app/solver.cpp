#include "app/solver.h"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <cstdio>

#include "tarvela/runtime/exceptions.h"
#include "tarvela/runtime/float_checks.h"

namespace tarvela {

// Every expression is evaluated in extended precision and rounded to a double where
// it is stored; each operation that can fault is checked at once, so the first fault
// is the one reported. A power p^q is exp(q * ln p).
//
// Checking every operation costs more than the arithmetic, so the sweeps run the same
// operations unchecked, in the same order and with the same roundings, and look for a
// fault only where one shows: in these loops every fault leaves a value that is not
// finite (the operands are finite doubles and the extended range cannot overflow on
// their products), so such a value, or a fault flag at the end of a pass, sends the
// work back through the checked operations from a point where nothing had been
// written yet, which then throws the first fault just as before.

namespace {

using Ext = long double;

Ext Power(Ext p, Ext exponent) { return FExp(FMul(exponent, FLn(p))); }

bool FaultFlagRaised() { return std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW) != 0; }

// The exact profile of one layer at the nodes x[i] = i h + a, written to out[0..n].
// A fault stops at the node where ExactProfile would have stopped, with the nodes
// before it written and the ones after it untouched.
void ExactLayer(double theta, double sigma, double a, double h, int n, double* out) {
  // What every node of the layer shares, as ExactProfile forms it.
  ClearFloatFlags();
  const Ext sigmaPlus2 = static_cast<Ext>(sigma) + 2;
  const double q = static_cast<double>(std::exp(2 / sigmaPlus2 * std::log(static_cast<Ext>(theta))));
  const Ext timeFactor = std::exp(-1 / sigmaPlus2 * std::log(static_cast<Ext>(theta)));
  const Ext inverseSigma = 1 / static_cast<Ext>(sigma);
  const Ext constant = std::exp(inverseSigma * std::log(sigma / (sigmaPlus2 * 2)));
  const Ext factor = timeFactor * constant;
  // A fault here belongs to the first node (q) or to the first node inside the support:
  // node by node through the checked profile finds which.
  const bool checkedOnly = FaultFlagRaised() || !std::isfinite(q);
  for (int i = 0; i <= n; ++i) {
    const double x = static_cast<double>(static_cast<Ext>(i) * h + a);
    if (checkedOnly) {
      out[i] = ExactProfile(x, theta, sigma);
      continue;
    }
    const double w = static_cast<double>(1 - static_cast<Ext>(x) * x / q);
    double value = 0;
    if (!std::isfinite(w)) {
      value = ExactProfile(x, theta, sigma);
    } else if (w > 0) {
      value = static_cast<double>(factor * std::exp(inverseSigma * std::log(static_cast<Ext>(w))));
      if (!std::isfinite(value)) value = ExactProfile(x, theta, sigma);
    }
    out[i] = value;
  }
}

// One Picard iteration of a layer, its forward sweep: from the iterate s (whose ends
// are s0 and sn, the row holding the inner values) and the previous layer F, the sweep
// factors alpha[j+1], beta[j+1] for j = 1..n-1.
struct Sweep {
  double sigma = 0;
  Ext ratio = 0;         // tau / h^2
  Ext inverseSigma = 0;  // 1 / sigma
  int n = 0;
  double* alpha = nullptr;
  double* beta = nullptr;

  // The iterate at j: the row, or the ends the row does not hold.
  static double S(const double* row, double s0, double sn, int n, int j) {
    return j == 0 ? s0 : j == n ? sn : row[j];
  }

  double FastConductivity(double p, double q) const {
    const Ext sum = static_cast<Ext>(p) + q;
    if (!(sum > 0)) return 0;
    return static_cast<double>(std::exp(std::log(sum) * inverseSigma / 2));
  }

  // False when a fault showed; the factors are then not to be used. Every fault of
  // these operations raises its flag, which stays raised: one test at the end finds it.
  bool Fast(const double* row, double s0, double sn, const double* F) const {
    double sj = n == 1 ? sn : row[1];
    double A = static_cast<double>(ratio * FastConductivity(sj, s0));
    double alphaJ = 0, betaJ = 0;
    alpha[1] = 0;
    beta[1] = 0;
    for (int j = 1; j <= n - 1; ++j) {
      const double next = j + 1 < n ? row[j + 1] : sn;
      // The conductivity is symmetric: the B of a node is the A of the next one.
      const double B = static_cast<double>(ratio * FastConductivity(sj, next));
      const double C = static_cast<double>(static_cast<Ext>(A) + B + 1);
      const Ext d = C - static_cast<Ext>(A) * alphaJ;
      alphaJ = static_cast<double>(B / d);
      betaJ = static_cast<double>((static_cast<Ext>(betaJ) * A + F[j]) / d);
      alpha[j + 1] = alphaJ;
      beta[j + 1] = betaJ;
      A = B;
      sj = next;
    }
    return !FaultFlagRaised();
  }

  // The scheme's own order: every coefficient first, then the sweep, each operation
  // checked. Throws the first fault.
  void Checked(const double* row, double s0, double sn, const double* F) const {
    ClearFloatFlags();
    const Ext checkedRatio = ratio;
    const auto coefficients = [&](int j, double& A, double& B, double& C) {
      A = StoreDouble(FMul(checkedRatio, Conductivity(S(row, s0, sn, n, j), S(row, s0, sn, n, j - 1), sigma)));
      B = StoreDouble(FMul(checkedRatio, Conductivity(S(row, s0, sn, n, j), S(row, s0, sn, n, j + 1), sigma)));
      C = StoreDouble(FAdd(FAdd(A, B), 1));
    };
    double A = 0, B = 0, C = 0;
    for (int j = 1; j <= n - 1; ++j) coefficients(j, A, B, C);
    alpha[1] = 0;
    beta[1] = 0;
    for (int j = 1; j <= n - 1; ++j) {
      coefficients(j, A, B, C);
      const Ext d = FSub(C, FMul(A, alpha[j]));
      alpha[j + 1] = StoreDouble(FDiv(B, d));
      beta[j + 1] = StoreDouble(FDiv(FAdd(FMul(beta[j], A), F[j]), d));
    }
  }
};

// One iteration: the sweep from the iterate in row (ends s0 and sn) and the previous
// layer, the new iterate written over it; returns the largest change.
double Iterate(const Sweep& sweep, const double* previous, double* row, double s0, double sn) {
  const int n = sweep.n;
  if (!sweep.Fast(row, s0, sn, previous)) sweep.Checked(row, s0, sn, previous);
  Ext change = std::fabs(static_cast<Ext>(row[0]) - s0);
  const Ext last = std::fabs(static_cast<Ext>(row[n]) - sn);
  if (last > change) change = last;
  for (int j = n - 1; j >= 1; --j) {
    const double old = row[j];
    double value = static_cast<double>(static_cast<Ext>(sweep.alpha[j + 1]) * row[j + 1] + sweep.beta[j + 1]);
    if (!std::isfinite(value)) {
      ClearFloatFlags();
      value = StoreDouble(FAdd(FMul(sweep.alpha[j + 1], row[j + 1]), sweep.beta[j + 1]));
    }
    row[j] = value;
    const Ext difference = std::fabs(static_cast<Ext>(value) - old);
    if (difference > change) change = difference;
  }
  // The largest change, rounded once: what keeping the maximum rounded at each step
  // gives, since rounding keeps the order.
  return static_cast<double>(change);
}

// Solves layer k: previous holds layer k-1, row receives layer k. Returns the
// iterations taken; throws on a fault or at the cap, with counted set first.
int SolveLayer(const Sweep& sweep, const double* previous, double* row, double epsilon, int k, int steps,
               int maxIterations, int& counted, const LayerProgress& progress) {
  const int n = sweep.n;
  // The iterate lives in the row itself: the back substitution reads each old value
  // just before it replaces it. Its ends are the previous layer's until the first
  // iteration has held them at 0.
  double s0 = previous[0];
  double sn = previous[n];
  for (int j = 1; j <= n - 1; ++j) row[j] = previous[j];
  row[0] = 0;
  row[n] = 0;
  double delta = 1.0;
  int iterations = 0;
  while (delta > epsilon) {
    if (iterations == maxIterations) throw EMathError(FormatMessage(kIterationsDidNotConverge, k));
    ++iterations;
    counted = iterations;
    // A stiff layer (a large tau / h^2) may take many iterations: the progress hears of
    // the layer being worked on at each of them, not only when it is done.
    if (progress) progress(k, steps);
    delta = Iterate(sweep, previous, row, s0, sn);
    s0 = row[0];
    sn = row[n];
  }
  return iterations;
}

struct Grid {
  double epsilon = 0, T = 0, t0 = 0, a = 0, b = 0, tau = 0, h = 0;
  int M = 0, N = 0;
};

// The grid's values in the scheme's order, each checked and stored as it is formed, so
// that a fault leaves the values before it set and the ones after it as they were.
template <class G>
void LayGrid(double sigma, const SchemeOptions& options, G& g) {
  g.epsilon = options.epsilon;
  g.T = options.T;
  g.t0 = 1.0;
  g.a = StoreDouble(FSub(-Power(FAdd(g.T, g.t0), FDiv(1, FAdd(sigma, 2))), 1));
  g.b = StoreDouble(-static_cast<Ext>(g.a));
  g.M = options.M;
  g.N = options.N;
  g.tau = StoreDouble(FDiv(g.T, g.M));
  g.h = StoreDouble(FDiv(FSub(g.b, g.a), g.N));
}

template <class G>
Sweep MakeSweep(double sigma, const G& g, double* alpha, double* beta) {
  Sweep sweep;
  sweep.sigma = sigma;
  sweep.ratio = FDiv(g.tau, FMul(g.h, g.h));
  sweep.inverseSigma = FDiv(1, sigma);
  sweep.n = g.N;
  sweep.alpha = alpha;
  sweep.beta = beta;
  return sweep;
}

std::string Gib(double bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", bytes / (1024.0 * 1024.0 * 1024.0));
  return text;
}

}  // namespace

double SolverBytes(double nodes, double rows, double steps) {
  // The rows of u and y, the two sweep factors per node, and per step its time and its
  // iteration count.
  return 8.0 * nodes * rows + 16.0 * nodes + 12.0 * steps;
}

std::optional<std::string> SchemeProblem(const SchemeOptions& o, int layersKept) {
  if (o.N < 1) return "the grid needs at least 1 interval, not " + std::to_string(o.N);
  if (o.M < 1) return "the scheme needs at least 1 time step, not " + std::to_string(o.M);
  if (!(o.T > 0) || !std::isfinite(o.T)) return "the time T must be a positive finite number";
  if (!(o.epsilon > 0) || !std::isfinite(o.epsilon)) return "the tolerance must be a positive finite number";
  // Each layer's iterations start from a change of 1: at 1 or more none would run.
  if (!(o.epsilon < 1)) return "the tolerance must be below 1, or no iteration would run";
  if (!std::isfinite(o.T / o.M) || !(o.T / o.M > 0)) return "the time step T / M is not a positive double";
  const double nodes = static_cast<double>(o.N) + 1;
  const double rows = layersKept > 0 ? layersKept : 2.0 * (static_cast<double>(o.M) + 1);
  // Only a computation that keeps every layer keeps each layer's time and iterations.
  const double bytes = SolverBytes(nodes, rows, layersKept > 0 ? 0.0 : static_cast<double>(o.M) + 1);
  if (bytes > kMaxSolverBytes) {
    return "N = " + std::to_string(o.N) + " intervals and M = " + std::to_string(o.M) + " steps need " + Gib(bytes) +
           " GiB for " + (layersKept > 0 ? std::string("the layers kept") : std::string("u and y on every layer")) +
           " and the sweep; the arrays may take at most 1 GiB, so that the computation and its outputs fit in memory";
  }
  return std::nullopt;
}

void LayerTable::Resize(int nodes, int layers) {
  if (nodes == m_nodes && layers == m_layers) return;
  m_values.assign(static_cast<std::size_t>(nodes) * static_cast<std::size_t>(layers), 0.0);
  m_nodes = nodes;
  m_layers = layers;
}

LayerTable::LayerTable(std::initializer_list<std::initializer_list<double>> rows) {
  int layers = 0;
  for (const auto& row : rows) layers = std::max(layers, static_cast<int>(row.size()));
  Resize(static_cast<int>(rows.size()), layers);
  std::size_t i = 0;
  for (const auto& row : rows) {
    int k = 0;
    for (double value : row) Layer(k++)[i] = value;
    ++i;
  }
}

double SolverState::X(int i) const {
  if (i < 0 || i >= gridNodes) return 0;
  return static_cast<double>(static_cast<Ext>(i) * h + a);
}

double LayerValue(const LayerTable& rows, int i, int k) {
  if (i < 0 || k < 0 || i >= rows.Nodes() || k >= rows.Layers()) return 0;
  return rows.Layer(k)[i];
}

double ExactProfile(double x, double theta, double sigma) {
  FloatFaultScope scope;
  const Ext sigmaPlus2 = FAdd(sigma, 2);
  const double q = StoreDouble(Power(theta, FDiv(2, sigmaPlus2)));
  const double w = StoreDouble(FSub(1, FDiv(FMul(x, x), q)));
  if (!(w > 0)) return 0;
  const Ext timeFactor = Power(theta, FDiv(-1, sigmaPlus2));
  const Ext inverseSigma = FDiv(1, sigma);
  const Ext constant = FExp(FMul(inverseSigma, FLn(FDiv(sigma, FMul(sigmaPlus2, 2)))));
  const Ext shape = FExp(FMul(inverseSigma, FLn(w)));
  return StoreDouble(FMul(FMul(timeFactor, constant), shape));
}

double Conductivity(double p, double q, double sigma) {
  FloatFaultScope scope;
  const Ext sum = FAdd(p, q);
  if (!(sum > 0)) return 0;
  return StoreDouble(FExp(FDiv(FMul(FLn(sum), FDiv(1, sigma)), 2)));
}

void ComputeLayers(SolverState& st, int maxIterations, const LayerProgress& progress) {
  FloatFaultScope scope;
  if (const auto problem = SchemeProblem(st.scheme)) throw Exception(*problem);
  LayGrid(st.sigma, st.scheme, st);
  const int n = st.N;
  const int m = st.M;
  const auto size = static_cast<std::size_t>(n + 1);
  std::vector<double> alpha(size), beta(size);
  st.t.resize(static_cast<std::size_t>(m + 1));
  st.iterations.assign(static_cast<std::size_t>(m + 1), 0);
  st.u.Resize(n + 1, m + 1);
  st.y.Resize(n + 1, m + 1);
  st.gridNodes = n + 1;

  for (int k = 0; k <= m; ++k) st.t[k] = StoreDouble(FMul(k, st.tau));
  ExactLayer(st.t0, st.sigma, st.a, st.h, n, st.u.Layer(0));

  const Sweep sweep = MakeSweep(st.sigma, st, alpha.data(), beta.data());
  for (int k = 1; k <= m; ++k) {
    SolveLayer(sweep, st.u.Layer(k - 1), st.u.Layer(k), st.epsilon, k, m, maxIterations, st.iterations[k], progress);
    if (progress) progress(k, m);
  }

  for (int k = 0; k <= m; ++k) {
    const double theta = StoreDouble(FAdd(st.t0, st.t[k]));
    ExactLayer(theta, st.sigma, st.a, st.h, n, st.y.Layer(k));
  }
}

double PicardIteration(double sigma, double tau, double h, const double* previous, double* row, int n,
                       double* alpha, double* beta) {
  FloatFaultScope scope;
  struct {
    double tau, h;
    int N;
  } grid{tau, h, n};
  const Sweep sweep = MakeSweep(sigma, grid, alpha, beta);
  return Iterate(sweep, previous, row, previous[0], previous[n]);
}

void ComputeFinalLayer(double sigma, const SchemeOptions& options, FinalLayer& result, int maxIterations,
                       const LayerProgress& progress) {
  FloatFaultScope scope;
  if (const auto problem = SchemeProblem(options, 3)) throw Exception(*problem);
  result = FinalLayer();
  Grid g;
  LayGrid(sigma, options, g);
  result.a = g.a;
  result.h = g.h;
  result.tau = g.tau;
  result.epsilon = g.epsilon;
  result.N = g.N;
  result.M = g.M;
  const int n = g.N;
  const auto size = static_cast<std::size_t>(n + 1);
  std::vector<double> alpha(size), beta(size), previous(size);
  result.u.assign(size, 0.0);
  ExactLayer(g.t0, sigma, g.a, g.h, n, result.u.data());
  const Sweep sweep = MakeSweep(sigma, g, alpha.data(), beta.data());
  for (int k = 1; k <= g.M; ++k) {
    previous.swap(result.u);
    int counted = 0;
    try {
      SolveLayer(sweep, previous.data(), result.u.data(), g.epsilon, k, g.M, maxIterations, counted, progress);
    } catch (...) {
      result.iterations += counted;
      throw;
    }
    result.iterations += counted;
    if (progress) progress(k, g.M);
  }
  // The final time as the scheme forms the times of its layers, from the start t0.
  const double t = StoreDouble(FMul(g.M, g.tau));
  const double theta = StoreDouble(FAdd(g.t0, t));
  previous.clear();
  previous.shrink_to_fit();
  result.y.assign(size, 0.0);
  ExactLayer(theta, sigma, g.a, g.h, n, result.y.data());
}

}  // namespace tarvela
