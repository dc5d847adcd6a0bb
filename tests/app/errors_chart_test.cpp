// The picture of the error norms: a value can be read off its logarithmic axis.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "app/form1.h"
#include "app/recorded_paint.h"
#include "app/results_export.h"
#include "tarvela/chart/axes/axis.h"
#include "tarvela/widgets/chart_file.h"

namespace tarvela {
namespace {

using app_test::DrawnText;

SolverState ComputedState(const char* sigma) {
  TForm1 form(nullptr, [] { return LocaleSettings::Dot(); });
  form.Edit1->SetText(sigma);
  form.Edit2->SetText("0");
  form.Button1->Click();
  return form.Solver();
}

// The labels of the value axis (right-aligned left of the plot), in the order drawn.
std::vector<DrawnText> ValueAxisLabels(const TChart& chart, const std::vector<DrawnText>& texts) {
  std::vector<DrawnText> labels;
  for (const DrawnText& t : texts)
    if (t.at.x == chart.LeftAxis().LabelsPos() && t.text != "|u - y|") labels.push_back(t);
  return labels;
}

// Each label stands centred on the pixel of its own value and the plotted norms lie
// between the lowest and the highest label.
void ExpectReadableAxis(const SolverState& state, const std::vector<std::string>& expected) {
  TChartForm form(nullptr, ErrorsChartDescription(state), "");
  TChart& chart = form.Chart();
  paint_test::Recorder recorder;
  const std::vector<DrawnText> labels = ValueAxisLabels(chart, app_test::TextsOf(app_test::SettledPaint(recorder, chart)));
  EXPECT_EQ(app_test::TextStrings(labels), expected);
  // The recording surface's cell of the 8-point label font.
  constexpr int kLineHeight = 13;
  for (const DrawnText& label : labels)
    EXPECT_EQ(label.at.y, chart.LeftAxis().ValueToPixel(std::stod(label.text)) - kLineHeight / 2) << label.text;
  ASSERT_GE(labels.size(), 2u);
  const double lowest = std::stod(labels.front().text), highest = std::stod(labels.back().text);
  for (const LayerError& e : LayerErrors(state)) {
    for (double norm : {e.maxNorm, e.l2Norm}) {
      if (norm == 0) continue;
      EXPECT_LE(lowest, norm);
      EXPECT_GE(highest, norm);
    }
  }
  // The layers keep their numbers, and the legend its two norms.
  bool lastLayer = false;
  for (const DrawnText& t : app_test::TextsOf(recorder(chart)))
    lastLayer = lastLayer || (t.at.y == chart.BottomAxis().LabelsPos() && t.text == std::to_string(state.M));
  EXPECT_TRUE(lastLayer);
  EXPECT_EQ(chart.Legend().ItemCount(), 2);
}

TEST(ErrorsChart, NarrowRangesAreLabelledAtOneTwoAndFiveTimesEachPowerOfTen) {
  // Both span less than a decade: the plain logarithmic labels were "0.01" and "0.1"
  // alone.
  ExpectReadableAxis(ComputedState("1"), {"0.005", "0.01", "0.02", "0.05", "0.1"});
  ExpectReadableAxis(ComputedState("2"), {"0.05", "0.1", "0.2", "0.5"});
}

TEST(ErrorsChart, WideRangesAreLabelledAtThePowersOfTen) {
  // Two nodes, layer 1 off by 0.003 and layer 2 by 40: more than four decades.
  SolverState state;
  state.sigma = 1;
  state.N = 1;
  state.M = 2;
  state.h = 1;
  state.a = 0;
  state.gridNodes = 2;  // x = 0 and 1
  state.t = {0, 0.1, 0.2};
  state.u.Resize(2, 3);
  state.y.Resize(2, 3);
  const double firstNode[] = {1, 1.003, 41};
  for (int k = 0; k < 3; ++k) {
    state.u[0][k] = firstNode[k];
    state.y[0][k] = 1;
  }
  ExpectReadableAxis(state, {"0.001", "0.01", "0.1", "1", "10", "100"});
}

}  // namespace
}  // namespace tarvela
