// The scheme's options, the convergence study and the progress on a terminal.
#include "app/study.h"

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "app/command_line.h"
#include "app/form1.h"
#include "tarvela/chart/data/chart_series.h"
#include "tarvela/runtime/exceptions.h"

namespace tarvela {
namespace {

std::string ParseError(const std::vector<std::string>& args) {
  try {
    ParseCommandLine(args);
  } catch (const Exception& e) {
    return e.what();
  }
  return "";
}

TEST(SchemeOptions, WhatCannotBeComputedOrStoredIsRefusedWithItsReason) {
  const std::vector<std::string> form = {"--sigma", "1", "--second", "0", "--csv", "-"};
  const auto with = [&](std::vector<std::string> extra) {
    extra.insert(extra.begin(), form.begin(), form.end());
    return ParseError(extra);
  };
  EXPECT_EQ(with({"--intervals", "0"}), "option --intervals needs a whole number of at least 1, not 0");
  EXPECT_EQ(with({"--steps", "-3"}), "option --steps needs a whole number of at least 1, not -3");
  EXPECT_EQ(with({"--steps", "99999999999"}),
            "option --steps needs a whole number of at least 1 that an int holds, not 99999999999");
  for (const char* bad : {"inf", "nan", "0", "-1", "1e999", "0,5"})
    EXPECT_EQ(with({"--tolerance", bad}),
              std::string("option --tolerance needs a positive finite number such as 0.5 or 1e-3, not ") + bad);
  EXPECT_EQ(with({"--time", "1e-320", "--steps", "100000"}), "the time step T / M is not a positive double");
  EXPECT_EQ(with({"--tolerance", "1"}), "the tolerance must be below 1, or no iteration would run");
  // 10,000,000 intervals fit with four steps, not with five: 16 bytes a node a layer.
  EXPECT_EQ(with({"--intervals", "10000000", "--steps", "4"}), "");
  EXPECT_EQ(with({"--intervals", "10000000", "--steps", "5"}),
            "N = 10000000 intervals and M = 5 steps need 1.04 GiB for u and y on every layer and the sweep; the "
            "arrays may take at most 1 GiB, so that the computation and its outputs fit in memory");
  // A study checks its last grid before it computes the first.
  EXPECT_EQ(ParseError({"--sigma", "1", "--convergence", "14"}), "");
  EXPECT_EQ(ParseError({"--sigma", "1", "--convergence", "15"}),
            "grid 15 of --convergence 15: its intervals or steps pass the largest count, 2147483647");
  EXPECT_EQ(ParseError({"--sigma", "1", "--convergence", "4", "--intervals", "4000000", "--steps", "1"}),
            "grid 4 of --convergence 4: N = 32000000 intervals and M = 64 steps need 1.19 GiB for the layers kept "
            "and the sweep; the arrays may take at most 1 GiB, so that the computation and its outputs fit in "
            "memory");
  EXPECT_EQ(ParseError({"--convergence", "3"}), "option --convergence needs --sigma: the study solves for one exponent");
  EXPECT_EQ(ParseError({"--sigma", "1", "--refine", "time"}),
            "option --refine belongs to a study: it needs --convergence K");

  std::ostringstream out, err;
  EXPECT_EQ(RunCommandLine({"--sigma", "1", "--second", "0", "--intervals", "0", "--report", "-"}, out, err), 2);
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(err.str().rfind("tarvela: option --intervals needs", 0), 0u) << err.str();
}

// The final layer of a grid, computed keeping every layer: the study's errors come from
// its own two-row solver.
void ErrorsOnTheFullGrid(double sigma, const SchemeOptions& scheme, double& maxError, double& l2) {
  SolverState s;
  s.sigma = sigma;
  s.scheme = scheme;
  ComputeLayers(s);
  maxError = 0;
  double squares = 0;
  for (int i = 0; i <= s.N; ++i) {
    const double d = s.u[i][s.M] - s.y[i][s.M];
    maxError = std::max(maxError, std::fabs(d));
    squares += d * d;
  }
  l2 = std::sqrt(s.h * squares);
}

TEST(ConvergenceStudy, GridsFollowTheRefinementAndTheirErrorsAndOrdersAreTheFinalLayers) {
  struct Case {
    std::optional<Refinement> refine;
    int n[3], m[3];
    double epsilon[3];
  };
  const Case cases[] = {{std::nullopt, {10, 20, 40}, {10, 40, 160}, {0.01, 0.0025, 0.000625}},
                        {Refinement::kTime, {10, 10, 10}, {10, 20, 40}, {0.01, 0.005, 0.0025}},
                        {Refinement::kBothHalved, {10, 20, 40}, {10, 20, 40}, {0.01, 0.005, 0.0025}}};
  for (const Case& c : cases) {
    StudyOptions options;
    options.convergence = 3;
    options.refine = c.refine;
    const double sigma = 2.0;
    const StudyResult result = RunStudy(sigma, options, nullptr);
    ASSERT_FALSE(result.failure);
    ASSERT_EQ(result.rows.size(), 3u);
    for (int g = 0; g < 3; ++g) {
      const StudyRow& row = result.rows[g];
      EXPECT_EQ(row.N, c.n[g]);
      EXPECT_EQ(row.M, c.m[g]);
      EXPECT_DOUBLE_EQ(row.epsilon, c.epsilon[g]);
      EXPECT_DOUBLE_EQ(row.tau, 1.0 / c.m[g]);
      double maxError = 0, l2 = 0;
      ErrorsOnTheFullGrid(sigma, {c.n[g], c.m[g], 1.0, c.epsilon[g]}, maxError, l2);
      EXPECT_EQ(row.maxError, maxError) << g;
      EXPECT_NEAR(row.l2Error, l2, 1e-15 * l2) << g;
      EXPECT_GE(row.iterations, row.M);  // at least one iteration a layer
      if (g == 0) {
        EXPECT_FALSE(row.maxOrder);
        continue;
      }
      ASSERT_TRUE(row.maxOrder && row.l2Order);
      EXPECT_NEAR(*row.maxOrder, std::log(result.rows[g - 1].maxError / maxError) / std::log(2.0), 1e-12);
      EXPECT_NEAR(*row.l2Order, std::log(result.rows[g - 1].l2Error / l2) / std::log(2.0), 1e-12);
    }
    // The tolerance, when given, is the same on every grid.
    options.tolerance = 0.003;
    EXPECT_EQ(StudyGrid(options, 2).epsilon, 0.003);
  }
}

TEST(ConvergenceStudy, AFailingRefinedGridIsNamedAndTheGridsBeforeItAreKept) {
  // sigma = 4 needs 3 iterations a layer on the first grid and 4 on the second.
  StudyOptions options;
  options.convergence = 3;
  const StudyResult result = RunStudy(4.0, options, nullptr, 3);
  ASSERT_EQ(result.rows.size(), 1u);
  ASSERT_TRUE(result.failure);
  EXPECT_EQ(result.failure->rfind("grid 2 (N = 20, M = 40): Iterations did not converge on layer ", 0), 0u)
      << *result.failure;
  EXPECT_EQ(result.failure->back(), '.');  // as the error box shows it
  // The table and the CSV hold the grid done, read back field by field.
  const std::string csv = StudyCsv(result.rows);
  std::istringstream lines(csv);
  std::string header, row, rest;
  std::getline(lines, header);
  std::getline(lines, row);
  EXPECT_FALSE(std::getline(lines, rest));
  std::vector<std::string> fields;
  std::istringstream cells(row);
  for (std::string cell; std::getline(cells, cell, ',');) fields.push_back(cell);
  ASSERT_EQ(fields.size(), 12u) << row;
  EXPECT_EQ(fields[1], "10");
  EXPECT_EQ(fields[7], "");  // no order on the first grid
  EXPECT_EQ(std::stod(fields[6]), result.rows[0].maxError);
}

TEST(SchemeOptions, TheChartPlotsFirstIntermediateAndLastLayersByTheFormsColourRules) {
  struct Case {
    int N, M;
    double T;
    std::vector<int> intermediate;  // the layers of series 1 to 9
    int plotted;                    // points per layer
  };
  const Case cases[] = {{4, 3, 1.0, {1, 2}, 4},
                        {6, 25, 1.0, {2, 5, 7, 10, 12, 15, 17, 20, 22}, 6},
                        // Above 5000 nodes every k-th, the right end always (a short time
                        // keeps the one step from being stiff).
                        {5002, 1, 1e-6, {}, 2501}};
  for (const Case& c : cases) {
    TForm1 form(nullptr, [] { return LocaleSettings::Dot(); });
    form.SetScheme({c.N, c.M, c.T, 0.01});
    form.Edit1->SetText("2");
    form.Edit2->SetText("0");
    form.Button1->Click();
    form.BitBtn1->Click();
    const SolverState& s = form.Solver();
    const auto expectLayer = [&](int series, int offset, int step, const LayerTable& rows, int layer, TColor color) {
      const TChartSeries* target = form.Chart1->SeriesAt(series);
      ASSERT_EQ(target->PointCount(), c.plotted * step) << c.M << " series " << series;
      const int stride = (c.N + kMaxPlottedNodes - 1) / kMaxPlottedNodes;
      for (int p = 0; p < c.plotted; ++p) {
        const int node = std::min((p + 1) * stride, c.N);
        EXPECT_EQ(target->XValueAt(p * step + offset), s.X(node));
        EXPECT_EQ(target->YValueAt(p * step + offset), rows[node][layer]);
        EXPECT_EQ(target->PointColor(p * step + offset), color);
      }
    };
    expectLayer(0, 0, 1, s.u, 0, clRed);
    for (int series = 1; series <= 9; ++series) {
      if (series > static_cast<int>(c.intermediate.size())) {
        EXPECT_EQ(form.Chart1->SeriesAt(series)->PointCount(), 0);
        continue;
      }
      expectLayer(series, 0, 1, s.u, c.intermediate[series - 1], clLime);
    }
    expectLayer(10, 0, 2, s.u, c.M, clYellow);
    expectLayer(10, 1, 2, s.y, c.M, clGreen);
    // The window's form keeps the whole report in its memo.
    EXPECT_EQ(form.Memo1->Lines().Count(), (c.M + 1) * (c.N + 2));
  }
}

std::string ReadAll(int fd) {
  std::string text;
  char buffer[4096];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n <= 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
  }
  return text;
}

TEST(Progress, ShowsOnATerminalOnlyAndRewritesItsLine) {
  int master = -1, slave = -1;
  ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
  fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
  SolverState s;
  s.sigma = 1;
  s.scheme.M = 30;
  {
    ProgressMeter meter(slave, false, std::chrono::seconds(0));
    meter.SetGrid(2, 3);
    ComputeLayers(s, kMaxIterationsPerLayer, meter.Callback());
  }
  const std::string shown = ReadAll(master);
  // The first layer at once, then no more than ten a second, and the last one.
  EXPECT_EQ(shown.find("\rtarvela: grid 2 of 3, layer 1 of 30, 0.0 s\033[K"), 0u) << shown;
  EXPECT_NE(shown.find("layer 30 of 30"), std::string::npos) << shown;
  EXPECT_EQ(shown.find("layer 2 of 30"), std::string::npos) << shown;
  // Finished: the line is cleared for what follows.
  EXPECT_EQ(shown.substr(shown.size() - 4), "\r\033[K");

  // Quiet, or not yet past the delay: nothing.
  {
    ProgressMeter quiet(slave, true, std::chrono::seconds(0));
    ProgressMeter patient(slave, false, std::chrono::hours(1));
    ComputeLayers(s, kMaxIterationsPerLayer, [&](int k, int m) {
      quiet.Layer(k, m);
      patient.Layer(k, m);
    });
  }
  EXPECT_EQ(ReadAll(master), "");
  close(slave);
  close(master);

  // A pipe is no terminal: a script's standard error stays clean.
  int pipeEnds[2];
  ASSERT_EQ(pipe(pipeEnds), 0);
  fcntl(pipeEnds[0], F_SETFL, O_NONBLOCK);
  {
    ProgressMeter meter(pipeEnds[1], false, std::chrono::seconds(0));
    ComputeLayers(s, kMaxIterationsPerLayer, meter.Callback());
  }
  close(pipeEnds[1]);
  EXPECT_EQ(ReadAll(pipeEnds[0]), "");
  close(pipeEnds[0]);
}

}  // namespace
}  // namespace tarvela
