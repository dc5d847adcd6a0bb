#pragma once
// The porous-medium solver: u_t = (u^sigma u_x)_x on a symmetric interval, an
// implicit scheme whose nonlinear layer equations are solved by fixed-point
// iterations, each a tridiagonal sweep; and the exact self-similar solution on the
// same grid. The state is program-wide: the graph handler reads what the last
// computation left, including a computation that stopped on a fault.

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace tarvela {

// What a computation is asked to do: N intervals, M time steps over the time T, and
// the threshold of the fixed-point iterations. The form's values are the defaults.
struct SchemeOptions {
  int N = 10;
  int M = 10;
  double T = 1.0;
  double epsilon = 0.01;
  bool operator==(const SchemeOptions&) const = default;
};

// The arrays of a computation may take at most this many bytes: the layers, the grid
// and the sweep's work. Beyond it a computation would not fit beside the rest of the
// machine's work, and the outputs of every node of every layer would be larger still.
inline constexpr double kMaxSolverBytes = 1024.0 * 1024.0 * 1024.0;

// The bytes the arrays of a computation take: rows of nodes (u and y), the sweep's two
// factors per node, and a time and an iteration count for each of steps layers.
double SolverBytes(double nodes, double rows, double steps);

// Empty when options can be computed and stored keeping layersKept rows of nodes (0:
// every layer of u and y), else why not, in lower case: N or M below 1, T or epsilon not a positive
// finite number, epsilon not below 1, or arrays beyond kMaxSolverBytes.
std::optional<std::string> SchemeProblem(const SchemeOptions& options, int layersKept = 0);

// Every layer of the grid's nodes, stored layer by layer so that a sweep runs over
// consecutive memory; read as rows[i][k], i the node and k the layer, as the scheme
// writes its arrays.
class LayerTable {
 public:
  class Column {
   public:
    Column(double* first, std::size_t stride, std::size_t count) : m_first(first), m_stride(stride), m_count(count) {}
    double& operator[](std::size_t k) const { return m_first[k * m_stride]; }
    std::size_t size() const { return m_count; }

   private:
    double* m_first;
    std::size_t m_stride;
    std::size_t m_count;
  };

  LayerTable() = default;
  // Rows of nodes, each the node's values layer by layer; a short row is 0 where it ends.
  LayerTable(std::initializer_list<std::initializer_list<double>> rows);

  // Nodes by layers; values are kept when the shape is the same as before (a later
  // press of the compute button), otherwise every value starts at 0.
  void Resize(int nodes, int layers);
  int Nodes() const { return m_nodes; }
  int Layers() const { return m_layers; }
  bool empty() const { return m_nodes == 0; }
  std::size_t size() const { return static_cast<std::size_t>(m_nodes); }
  double* Layer(int k) { return m_values.data() + static_cast<std::size_t>(k) * Stride(); }
  const double* Layer(int k) const { return m_values.data() + static_cast<std::size_t>(k) * Stride(); }
  Column operator[](std::size_t i) { return {m_values.data() + i, Stride(), static_cast<std::size_t>(m_layers)}; }
  Column operator[](std::size_t i) const {
    return {const_cast<double*>(m_values.data()) + i, Stride(), static_cast<std::size_t>(m_layers)};
  }
  bool operator==(const LayerTable& other) const = default;

 private:
  std::size_t Stride() const { return static_cast<std::size_t>(m_nodes); }
  std::vector<double> m_values;
  int m_nodes = 0;
  int m_layers = 0;
};

struct SolverState {
  double sigma = 0;
  double second = 0;  // read from the second field and kept, never used
  // What the next computation uses; the values below are what the last one set.
  SchemeOptions scheme;
  double epsilon = 0;
  double T = 0;
  double t0 = 0;
  double a = 0;
  double b = 0;
  int M = 0;
  int N = 0;
  double tau = 0;
  double h = 0;
  std::vector<double> t;
  LayerTable u, y;
  // The fixed-point iterations each layer took (none for layer 0), kept as they are
  // counted so that a computation that stops shows how far each layer got.
  std::vector<int> iterations;
  // The grid point x[i] = i h + a, or 0 where the grid has not been laid. Computed
  // rather than stored: on a large grid an array of it would cost as much as a layer.
  double X(int i) const;
  int gridNodes = 0;  // how many x the last computation laid
};

// A layer that needs more fixed-point iterations than this stops the computation.
inline constexpr int kMaxIterationsPerLayer = 100000;
inline constexpr const char* kIterationsDidNotConverge = "Iterations did not converge on layer %d";

// rows[i][k], or 0 where a computation that stopped early never reached: N and M
// may be set over rows that are shorter.
double LayerValue(const LayerTable& rows, int i, int k);

// The exact profile U(x, theta) for the exponent sigma.
double ExactProfile(double x, double theta, double sigma);
// The conductivity between two neighbouring values.
double Conductivity(double p, double q, double sigma);

// Told at each fixed-point iteration of a layer and once the layer is done: the
// layer's number and the number of steps.
using LayerProgress = std::function<void(int layer, int steps)>;

// Everything after the two texts became numbers (sigma and second are stored):
// the grid of state.scheme, the numerical layers and the exact layers. Arithmetic
// faults throw with the state reached so far kept.
void ComputeLayers(SolverState& state, int maxIterations = kMaxIterationsPerLayer,
                   const LayerProgress& progress = nullptr);

// One fixed-point iteration of a layer on n intervals, as the layer's first: the
// iterate is previous, copied into row[1..n-1] with row's ends at 0, and row becomes
// the next iterate; returns the
// largest change. alpha and beta are the sweep's work, n + 1 each. What a layer of
// ComputeLayers repeats, for measuring it.
double PicardIteration(double sigma, double tau, double h, const double* previous, double* row, int n,
                       double* alpha, double* beta);

// The same scheme keeping only the layer being solved and the one before: what a
// study of the final layer needs on grids whose layers would not all fit.
struct FinalLayer {
  int N = 0;
  int M = 0;
  double a = 0, h = 0, tau = 0, epsilon = 0;
  std::vector<double> u, y;  // the final layer, numerical and exact
  long long iterations = 0;   // over every layer
};
// Throws as ComputeLayers does; result holds what was reached (iterations counted).
void ComputeFinalLayer(double sigma, const SchemeOptions& options, FinalLayer& result,
                       int maxIterations = kMaxIterationsPerLayer, const LayerProgress& progress = nullptr);

}  // namespace tarvela
