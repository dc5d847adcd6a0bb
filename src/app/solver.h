#pragma once
// The porous-medium solver: u_t = (u^sigma u_x)_x on a symmetric interval, an
// implicit scheme whose nonlinear layer equations are solved by fixed-point
// iterations, each a tridiagonal sweep; and the exact self-similar solution on the
// same grid. The state is program-wide: the graph handler reads what the last
// computation left, including a computation that stopped on a fault.

#include <vector>

namespace tarvela {

struct SolverState {
  double sigma = 0;
  double second = 0;  // read from the second field and kept, never used
  double epsilon = 0;
  double T = 0;
  double t0 = 0;
  double a = 0;
  double b = 0;
  int M = 0;
  int N = 0;
  double tau = 0;
  double h = 0;
  std::vector<double> x, t, s, A, B, C, F, alpha, beta;
  std::vector<std::vector<double>> u, y;  // [space index][time index]
  // The fixed-point iterations each layer took (none for layer 0), kept as they are
  // counted so that a computation that stops shows how far each layer got.
  std::vector<int> iterations;
};

// A layer that needs more fixed-point iterations than this stops the computation.
inline constexpr int kMaxIterationsPerLayer = 100000;
inline constexpr const char* kIterationsDidNotConverge = "Iterations did not converge on layer %d";

// rows[i][k], or 0 where a computation that stopped early never reached: N and M
// may be set over rows that are shorter.
double LayerValue(const std::vector<std::vector<double>>& rows, int i, int k);

// The exact profile U(x, theta) for the exponent sigma.
double ExactProfile(double x, double theta, double sigma);
// The conductivity between two neighbouring values.
double Conductivity(double p, double q, double sigma);

// Everything after the two texts became numbers (sigma and second are stored):
// the grid, the numerical layers and the exact layers. Arithmetic faults throw
// with the state reached so far kept.
void ComputeLayers(SolverState& state, int maxIterations = kMaxIterationsPerLayer);

}  // namespace tarvela
