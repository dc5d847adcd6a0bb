#include "app/solver.h"

#include <cmath>

#include "tarvela/runtime/exceptions.h"
#include "tarvela/runtime/float_checks.h"

namespace tarvela {

// Every expression is evaluated in extended precision and rounded to a double where
// it is stored; each operation that can fault is checked at once, so the first fault
// is the one reported. A power p^q is exp(q * ln p).

namespace {

using Ext = long double;

Ext Power(Ext p, Ext exponent) { return FExp(FMul(exponent, FLn(p))); }

}  // namespace

double LayerValue(const std::vector<std::vector<double>>& rows, int i, int k) {
  if (i < 0 || k < 0 || static_cast<std::size_t>(i) >= rows.size()) return 0;
  const auto& row = rows[static_cast<std::size_t>(i)];
  return static_cast<std::size_t>(k) < row.size() ? row[static_cast<std::size_t>(k)] : 0;
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

void ComputeLayers(SolverState& st, int maxIterations) {
  FloatFaultScope scope;
  st.epsilon = 0.01;
  st.T = 1.0;
  st.t0 = 1.0;
  st.a = StoreDouble(FSub(-Power(FAdd(st.T, st.t0), FDiv(1, FAdd(st.sigma, 2))), 1));
  st.b = StoreDouble(-static_cast<Ext>(st.a));
  st.M = 10;
  st.N = 10;
  st.tau = StoreDouble(FDiv(st.T, st.M));
  st.h = StoreDouble(FDiv(FSub(st.b, st.a), st.N));

  const int n = st.N;
  const int m = st.M;
  const auto size = static_cast<std::size_t>(n + 1);
  for (auto* v : {&st.x, &st.s, &st.A, &st.B, &st.C, &st.F, &st.alpha, &st.beta}) v->resize(size);
  st.t.resize(static_cast<std::size_t>(m + 1));
  st.iterations.assign(static_cast<std::size_t>(m + 1), 0);
  for (auto* rows : {&st.u, &st.y}) {
    rows->resize(size);
    for (auto& row : *rows) row.resize(static_cast<std::size_t>(m + 1));
  }

  for (int i = 0; i <= n; ++i) st.x[i] = StoreDouble(FAdd(FMul(i, st.h), st.a));
  for (int k = 0; k <= m; ++k) st.t[k] = StoreDouble(FMul(k, st.tau));

  for (int i = 0; i <= n; ++i) st.u[i][0] = ExactProfile(st.x[i], st.t0, st.sigma);

  for (int k = 1; k <= m; ++k) {
    st.t[k] = StoreDouble(FMul(k, st.tau));
    st.u[0][k] = 0;
    st.u[n][k] = 0;
    for (int i = 0; i <= n; ++i) st.s[i] = st.u[i][k - 1];
    double delta = 1.0;
    int iterations = 0;
    while (delta > st.epsilon) {
      if (iterations == maxIterations) throw EMathError(FormatMessage(kIterationsDidNotConverge, k));
      ++iterations;
      st.iterations[k] = iterations;
      for (int j = 1; j <= n - 1; ++j) {
        const Ext ratio = FDiv(st.tau, FMul(st.h, st.h));
        st.A[j] = StoreDouble(FMul(ratio, Conductivity(st.s[j], st.s[j - 1], st.sigma)));
        st.B[j] = StoreDouble(FMul(ratio, Conductivity(st.s[j], st.s[j + 1], st.sigma)));
        st.C[j] = StoreDouble(FAdd(FAdd(st.A[j], st.B[j]), 1));
        st.F[j] = st.u[j][k - 1];
      }
      st.alpha[1] = 0;
      st.beta[1] = 0;
      for (int j = 1; j <= n - 1; ++j) {
        const Ext d = FSub(st.C[j], FMul(st.A[j], st.alpha[j]));
        st.alpha[j + 1] = StoreDouble(FDiv(st.B[j], d));
        st.beta[j + 1] = StoreDouble(FDiv(FAdd(FMul(st.beta[j], st.A[j]), st.F[j]), d));
      }
      for (int j = n - 1; j >= 1; --j)
        st.u[j][k] = StoreDouble(FAdd(FMul(st.alpha[j + 1], st.u[j + 1][k]), st.beta[j + 1]));
      delta = StoreDouble(std::fabs(FSub(st.u[0][k], st.s[0])));
      for (int j = 1; j <= n; ++j) {
        const Ext change = std::fabs(FSub(st.u[j][k], st.s[j]));
        if (change > delta) delta = StoreDouble(change);
      }
      if (delta > st.epsilon)
        for (int j = 0; j <= n; ++j) st.s[j] = st.u[j][k];
    }
  }

  for (int k = 0; k <= m; ++k) {
    for (int i = 0; i <= n; ++i) {
      const double theta = StoreDouble(FAdd(st.t0, st.t[k]));
      st.y[i][k] = ExactProfile(st.x[i], theta, st.sigma);
    }
  }
}

}  // namespace tarvela
