#include "app/solver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "tarvela/runtime/exceptions.h"

namespace tarvela {
namespace {

SolverState Solve(double sigma) {
  SolverState state;
  state.sigma = sigma;
  ComputeLayers(state);
  return state;
}

std::string FailureOf(double sigma, SolverState* out = nullptr) {
  SolverState state;
  state.sigma = sigma;
  std::string message;
  try {
    ComputeLayers(state);
  } catch (const EMathError& e) {
    message = e.what();
  }
  if (out) *out = state;
  return message;
}

TEST(Solver, SigmaOneGridBoundariesAndInitialLayer) {
  const SolverState s = Solve(1.0);
  EXPECT_EQ(s.N, 10);
  EXPECT_EQ(s.M, 10);
  EXPECT_DOUBLE_EQ(s.a, -(std::cbrt(2.0) + 1.0));
  EXPECT_EQ(s.b, -s.a);
  EXPECT_DOUBLE_EQ(s.tau, 0.1);
  EXPECT_DOUBLE_EQ(s.X(0), s.a);
  EXPECT_NEAR(s.X(10), s.b, 1e-15);
  for (int k = 1; k <= s.M; ++k) {
    EXPECT_EQ(s.u[0][k], 0.0) << k;
    EXPECT_EQ(s.u[10][k], 0.0) << k;
  }
  for (int i = 0; i <= s.N; ++i) EXPECT_EQ(s.u[i][0], s.y[i][0]) << i;
}

TEST(Solver, ExactProfileIsZeroOutsideTheSupport) {
  // The support at absolute time theta ends at theta^(1/(sigma+2)).
  for (double sigma : {0.5, 1.0, 3.0}) {
    const double theta = 1.7;
    const double edge = std::pow(theta, 1.0 / (sigma + 2.0));
    EXPECT_EQ(ExactProfile(edge * 1.0000001, theta, sigma), 0.0);
    EXPECT_EQ(ExactProfile(-edge * 1.5, theta, sigma), 0.0);
    EXPECT_GT(ExactProfile(edge * 0.99, theta, sigma), 0.0);
    // At the centre: theta^(-1/(sigma+2)) * (sigma/(2(sigma+2)))^(1/sigma).
    const double centre = std::pow(theta, -1.0 / (sigma + 2.0)) * std::pow(sigma / (2.0 * (sigma + 2.0)), 1.0 / sigma);
    EXPECT_NEAR(ExactProfile(0.0, theta, sigma), centre, 1e-14);
  }
}

TEST(Solver, ConductivityRaisesTheSumAndGuardsNonPositiveSums) {
  EXPECT_NEAR(Conductivity(0.25, 0.75, 2.0), 1.0, 0.0);
  EXPECT_NEAR(Conductivity(1.0, 3.0, 1.0), 2.0, 1e-15);     // 4^(1/2)
  EXPECT_NEAR(Conductivity(2.0, 6.0, 0.5), 8.0, 1e-14);     // 8^(1/1)
  EXPECT_EQ(Conductivity(0.0, 0.0, 1.0), 0.0);
  EXPECT_EQ(Conductivity(-1.0, 0.5, 1.0), 0.0);
}

TEST(Solver, NumericalLayersSpreadSymmetricallyAndStayNearTheExactOnes) {
  // A coarse grid and a conductivity of the sum, but the layers must keep the shape
  // of the solution: symmetric, non-negative, a falling peak and a widening support.
  const SolverState s = Solve(1.0);
  for (int k = 1; k <= s.M; ++k) {
    for (int i = 0; i <= s.N; ++i) {
      EXPECT_GE(s.u[i][k], 0.0);
      EXPECT_NEAR(s.u[i][k], s.u[s.N - i][k], 1e-12);
    }
    EXPECT_LT(s.u[5][k], s.u[5][k - 1]) << k;
  }
  EXPECT_EQ(s.u[1][0], 0.0);
  EXPECT_GT(s.u[1][10], 0.0);
  double worst = 0;
  for (int i = 0; i <= s.N; ++i) worst = std::max(worst, std::fabs(s.u[i][10] - s.y[i][10]));
  EXPECT_LT(worst, 0.06);
}

// The scheme written out plainly, operation by operation in extended precision, with
// its own arrays: the solver's faster sweep must give the same doubles, bit for bit,
// since every output of the defaults is made of them.
struct Reference {
  std::vector<std::vector<double>> u, y;  // [node][layer]
};
Reference PlainScheme(double sigma, int N, int M, double T, double eps) {
  using E = long double;
  const auto power = [](E p, E q) { return std::exp(q * std::log(p)); };
  const auto exact = [&](double x, double theta) -> double {
    const E sp2 = E(sigma) + 2;
    const double q = double(power(theta, 2 / sp2));
    const double w = double(1 - E(x) * x / q);
    if (!(w > 0)) return 0;
    return double(power(theta, -1 / sp2) * std::exp(1 / E(sigma) * std::log(sigma / (sp2 * 2))) *
                  std::exp(1 / E(sigma) * std::log(E(w))));
  };
  const auto K = [&](double p, double q) -> double {
    const E sum = E(p) + q;
    return sum > 0 ? double(std::exp(std::log(sum) * (1 / E(sigma)) / 2)) : 0.0;
  };
  const double a = double(-power(E(T) + 1, 1 / (E(sigma) + 2)) - 1), b = -a;
  const double tau = double(E(T) / M), h = double((E(b) - a) / N);
  std::vector<double> x(N + 1), s(N + 1), A(N + 1), B(N + 1), C(N + 1), al(N + 1), be(N + 1);
  Reference r{std::vector<std::vector<double>>(N + 1, std::vector<double>(M + 1)), {}};
  r.y = r.u;
  for (int i = 0; i <= N; ++i) x[i] = double(E(i) * h + a);
  for (int i = 0; i <= N; ++i) r.u[i][0] = exact(x[i], 1.0);
  for (int k = 1; k <= M; ++k) {
    for (int i = 0; i <= N; ++i) s[i] = r.u[i][k - 1];
    for (double delta = 1.0; delta > eps;) {
      const E ratio = E(tau) / (E(h) * h);
      for (int j = 1; j < N; ++j) {
        A[j] = double(ratio * K(s[j], s[j - 1]));
        B[j] = double(ratio * K(s[j], s[j + 1]));
        C[j] = double(E(A[j]) + B[j] + 1);
      }
      al[1] = be[1] = 0;
      for (int j = 1; j < N; ++j) {
        const E d = C[j] - E(A[j]) * al[j];
        al[j + 1] = double(B[j] / d);
        be[j + 1] = double((E(be[j]) * A[j] + r.u[j][k - 1]) / d);
      }
      for (int j = N - 1; j >= 1; --j) r.u[j][k] = double(E(al[j + 1]) * r.u[j + 1][k] + be[j + 1]);
      delta = 0;
      for (int j = 0; j <= N; ++j) delta = std::max(delta, double(std::fabs(E(r.u[j][k]) - s[j])));
      s = std::vector<double>(N + 1);
      for (int j = 0; j <= N; ++j) s[j] = r.u[j][k];
    }
  }
  for (int k = 0; k <= M; ++k)
    for (int i = 0; i <= N; ++i) r.y[i][k] = exact(x[i], double(1 + E(double(E(k) * tau))));
  return r;
}

TEST(Solver, GivesThePlainSchemesDoublesBitForBit) {
  struct Case {
    double sigma;
    SchemeOptions scheme;
  };
  const Case cases[] = {{1.0, {}}, {2.0, {}}, {0.5, {}}, {-3.0, {}}, {4.0, {}}, {1.5, {7, 3, 0.5, 0.001}}, {2.0, {40, 25, 2.0, 1e-4}}};
  for (const Case& c : cases) {
    SolverState s;
    s.sigma = c.sigma;
    s.scheme = c.scheme;
    ComputeLayers(s);
    const Reference r = PlainScheme(c.sigma, c.scheme.N, c.scheme.M, c.scheme.T, c.scheme.epsilon);
    for (int i = 0; i <= c.scheme.N; ++i)
      for (int k = 0; k <= c.scheme.M; ++k) {
        ASSERT_EQ(s.u[i][k], r.u[i][k]) << "sigma " << c.sigma << " node " << i << " layer " << k;
        ASSERT_EQ(s.y[i][k], r.y[i][k]) << "sigma " << c.sigma << " node " << i << " layer " << k;
      }
  }
}

TEST(Solver, OneIterationPerLayerSolvesTheTridiagonalSystemAsADenseSolveDoes) {
  // A threshold every first change stays below: each layer takes one sweep with the conductivities
  // of the layer before, a linear system that Gaussian elimination solves independently.
  const double sigma = 1.5;
  SolverState s;
  s.sigma = sigma;
  s.scheme = {7, 4, 0.8, 0.999};
  ComputeLayers(s);
  const int n = s.N;
  const double ratio = s.tau / (s.h * s.h);
  const auto K = [&](double p, double q) { return p + q > 0 ? std::pow(p + q, 1 / (2 * sigma)) : 0.0; };
  for (int k = 1; k <= s.M; ++k) {
    EXPECT_EQ(s.iterations[k], 1);
    const int size = n - 1;  // unknowns u[1..n-1]
    std::vector<std::vector<double>> m(size, std::vector<double>(size + 1, 0.0));
    for (int j = 1; j < n; ++j) {
      const double A = ratio * K(s.u[j][k - 1], s.u[j - 1][k - 1]);
      const double B = ratio * K(s.u[j][k - 1], s.u[j + 1][k - 1]);
      auto& row = m[j - 1];
      if (j > 1) row[j - 2] = -A;
      row[j - 1] = A + B + 1;
      if (j < n - 1) row[j] = -B;
      row[size] = s.u[j][k - 1];
    }
    for (int c = 0; c < size; ++c) {  // elimination with partial pivoting
      int pivot = c;
      for (int r = c + 1; r < size; ++r)
        if (std::fabs(m[r][c]) > std::fabs(m[pivot][c])) pivot = r;
      std::swap(m[c], m[pivot]);
      for (int r = 0; r < size; ++r) {
        if (r == c) continue;
        const double f = m[r][c] / m[c][c];
        for (int q = c; q <= size; ++q) m[r][q] -= f * m[c][q];
      }
    }
    for (int j = 1; j < n; ++j) EXPECT_NEAR(s.u[j][k], m[j - 1][size] / m[j - 1][j - 1], 1e-13) << k << " " << j;
    EXPECT_EQ(s.u[0][k], 0.0);
    EXPECT_EQ(s.u[n][k], 0.0);
  }
}

TEST(Solver, OtherGridsCarryTheExactSolutionOnTheirOwnNodesAndTimes) {
  for (const SchemeOptions& scheme : {SchemeOptions{13, 7, 0.5, 0.01}, SchemeOptions{1, 1, 3.0, 0.01}}) {
    const double sigma = 2.0;
    SolverState s;
    s.sigma = sigma;
    s.scheme = scheme;
    ComputeLayers(s);
    ASSERT_EQ(s.N, scheme.N);
    ASSERT_EQ(s.M, scheme.M);
    EXPECT_EQ(s.u.size(), static_cast<std::size_t>(scheme.N + 1));
    const double b = std::pow(scheme.T + 1, 1 / (sigma + 2)) + 1;
    EXPECT_NEAR(s.X(0), -b, 1e-14);
    EXPECT_NEAR(s.X(scheme.N), b, 1e-14);
    EXPECT_EQ(s.X(scheme.N + 1), 0.0);
    for (int k = 0; k <= scheme.M; ++k) {
      const double theta = 1 + k * scheme.T / scheme.M;
      for (int i = 0; i <= scheme.N; ++i) {
        const double x = -b + i * 2 * b / scheme.N;
        const double w = 1 - x * x / std::pow(theta, 2 / (sigma + 2));
        const double exact =
            w > 0 ? std::pow(theta, -1 / (sigma + 2)) * std::pow(sigma / (2 * (sigma + 2)) * w, 1 / sigma) : 0.0;
        EXPECT_NEAR(s.y[i][k], exact, 1e-14) << i << " " << k;
      }
    }
    for (int i = 0; i <= scheme.N; ++i) EXPECT_EQ(s.u[i][0], s.y[i][0]);
  }
}

TEST(Solver, SecondComputationGivesTheSameArrays) {
  SolverState s;
  s.sigma = 1.5;
  ComputeLayers(s);
  const auto u = s.u;
  const auto y = s.y;
  ComputeLayers(s);
  EXPECT_EQ(s.u, u);
  EXPECT_EQ(s.y, y);
}

TEST(Solver, UnguardedSigmasFailWithTheirFaults) {
  SolverState state;
  EXPECT_EQ(FailureOf(-2.0, &state), "Floating point division by zero");
  EXPECT_EQ(state.N, 0);  // before any array is sized
  EXPECT_TRUE(state.u.empty());

  EXPECT_EQ(FailureOf(0.0, &state), "Floating point division by zero");
  EXPECT_EQ(state.N, 10);
  EXPECT_EQ(state.u.size(), 11u);

  EXPECT_EQ(FailureOf(-1.0), "Invalid floating point operation");
  EXPECT_EQ(FailureOf(-0.5), "Invalid floating point operation");
  // 1/(sigma+2) far beyond the extended exponent range: 2^(1/(sigma+2)) overflows.
  EXPECT_EQ(FailureOf(-1.99999, &state), "Floating point overflow");
  EXPECT_EQ(state.M, 0);
  // Too large for a double, though not for the extended format.
  EXPECT_EQ(FailureOf(-1.9995, &state), "Floating point overflow");
  EXPECT_EQ(state.M, 0);
}

TEST(Solver, IterationCapEndsTheComputationWithTheLayer) {
  SolverState state;
  state.sigma = 1.0;
  try {
    ComputeLayers(state, 1);
    FAIL() << "expected the cap to stop the computation";
  } catch (const EMathError& e) {
    EXPECT_STREQ(e.what(), "Iterations did not converge on layer 1");
  }
  // What the first layer reached is kept.
  EXPECT_EQ(state.N, 10);
  EXPECT_NE(state.u[5][1], 0.0);

  // A layer that converges within the cap is not affected by it.
  SolverState free;
  free.sigma = 1.0;
  ComputeLayers(free);
  SolverState capped;
  capped.sigma = 1.0;
  ComputeLayers(capped, 50);
  EXPECT_EQ(free.u, capped.u);
}

}  // namespace
}  // namespace tarvela
