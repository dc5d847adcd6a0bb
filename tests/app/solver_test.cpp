#include "app/solver.h"

#include <gtest/gtest.h>

#include <cmath>

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
  EXPECT_DOUBLE_EQ(s.x[0], s.a);
  EXPECT_NEAR(s.x[10], s.b, 1e-15);
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

TEST(Solver, LastSweepSolvesItsTridiagonalSystem) {
  // The last iteration of the last layer solved -A u[j-1] + C u[j] - B u[j+1] = F.
  for (double sigma : {0.7, 1.0, 2.5}) {
    const SolverState s = Solve(sigma);
    for (int j = 1; j < s.N; ++j) {
      const double lhs = -s.A[j] * s.u[j - 1][10] + s.C[j] * s.u[j][10] - s.B[j] * s.u[j + 1][10];
      EXPECT_NEAR(lhs, s.F[j], 1e-13) << "sigma " << sigma << " j " << j;
      EXPECT_EQ(s.F[j], s.u[j][9]);
    }
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
