// The example chart files draw pictures a reader can read: labels a reader expects,
// axes that do not misstate the data, marks that stay in the plot after a zoom.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/recorded_paint.h"
#include "tarvela/chart/axes/axis.h"
#include "tarvela/chart/data/chart_series.h"
#include "tarvela/chart/series/pie_series.h"
#include "tarvela/runtime/number_pattern.h"
#include "tarvela/widgets/chart_file.h"

namespace tarvela {
namespace {

using app_test::DrawnText;
using app_test::HasText;
using app_test::TextsOf;

std::string ExampleText(const std::string& name) {
  std::ifstream in((std::filesystem::path(TARVELA_EXAMPLES_DIR) / name).string(), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::unique_ptr<TChartForm> Example(const std::string& name) {
  return std::make_unique<TChartForm>(nullptr, ExampleText(name), "");
}

// The texts drawn on the bottom axis' label line.
std::vector<DrawnText> BottomLabels(const TChart& chart, const std::vector<DrawnText>& texts) {
  std::vector<DrawnText> labels;
  for (const DrawnText& t : texts)
    if (t.at.y == chart.BottomAxis().LabelsPos()) labels.push_back(t);
  return labels;
}

TEST(Examples, StackedAreasStandOnZeroUnderYearsWithoutSeparators) {
  const auto form = Example("area-stacked.chart");
  TChart& chart = form->Chart();
  paint_test::Recorder recorder;
  const std::vector<DrawnText> texts = TextsOf(app_test::SettledPaint(recorder, chart));
  for (int year = 2016; year <= 2023; ++year) EXPECT_TRUE(HasText(texts, std::to_string(year))) << year;
  for (const DrawnText& t : texts) EXPECT_EQ(t.text.find("2,0"), std::string::npos) << t.text;
  // The foot of the stack is the axis' 0, so that its height reads as the total.
  EXPECT_EQ(chart.LeftAxis().ValueToPixel(0), chart.LeftAxis().EndPixel());
  EXPECT_TRUE(HasText(texts, "0"));
}

TEST(Examples, TheMillionPointLineIsListedAsOneSeries) {
  const auto form = Example("fast-line-million.chart");
  TChart& chart = form->Chart();
  paint_test::Recorder recorder;
  const std::vector<DrawnText> texts = TextsOf(recorder(chart));
  EXPECT_EQ(chart.Legend().ResolvedStyle(), lsSeries);
  EXPECT_EQ(chart.Legend().ItemCount(), 1);
  EXPECT_TRUE(HasText(texts, "random walk"));
}

TEST(Examples, WeeklyDatesAreLabelledOnTheDaysMeasured) {
  const auto form = Example("date-axis.chart");
  TChart& chart = form->Chart();
  paint_test::Recorder recorder;
  const std::vector<DrawnText> labels = BottomLabels(chart, TextsOf(app_test::SettledPaint(recorder, chart)));
  const TChartSeries& level = *chart.SeriesAt(0);
  std::vector<std::string> days;
  for (int i = level.PointCount() - 1; i >= 0; --i) {
    const double day = level.XValueAt(i);
    days.push_back(FormatDateTime("d mmm", day, LocaleSettings::Dot()));
    // Centred on the point's own pixel.
    const auto label = std::find_if(labels.begin(), labels.end(), [&](const DrawnText& t) { return t.text == days.back(); });
    ASSERT_NE(label, labels.end()) << days.back();
    EXPECT_EQ(label->at.x, chart.BottomAxis().ValueToPixel(day)) << days.back();
  }
  EXPECT_EQ(app_test::TextStrings(labels), days);
}

TEST(Examples, ThePieIsRound) {
  const auto form = Example("pie.chart");
  TChart& chart = form->Chart();
  // An exploded slice narrows the circle by its own offsets, unequal across and along;
  // the circle it is cut from is what the window shows round.
  auto& pie = dynamic_cast<TPieSeries&>(*chart.SeriesAt(0));
  pie.SetExplodeBiggest(0);
  pie.ExplodedSlices().Clear();
  paint_test::Recorder recorder;
  app_test::SettledPaint(recorder, chart);
  EXPECT_EQ(pie.RadiusX(), pie.RadiusY());
  EXPECT_GT(pie.RadiusX(), 50);
}

// Every example that shows marks on a zoomable chart clips them to the plot, and
// leaves them room there, so that the clip hides none before a zoom.
TEST(Examples, MarksAreClippedWhereAZoomCanPushThemOutOfThePlot) {
  for (const auto& entry : std::filesystem::directory_iterator(TARVELA_EXAMPLES_DIR)) {
    if (entry.path().extension() != ".chart") continue;
    const auto form = Example(entry.path().filename().string());
    TChart& chart = form->Chart();
    if (!chart.AllowZoom() || !chart.ClipPoints()) continue;
    std::vector<TChartSeries*> marked;
    for (int s = 0; s < chart.SeriesTotal(); ++s)
      if (chart.SeriesAt(s)->Marks().Visible()) marked.push_back(chart.SeriesAt(s));
    if (marked.empty()) continue;
    paint_test::Recorder recorder;
    app_test::SettledPaint(recorder, chart);
    const TRect plot = chart.PlotRect();
    for (TChartSeries* series : marked) {
      SCOPED_TRACE(entry.path().filename().string() + " " + series->Name());
      EXPECT_TRUE(series->Marks().Clip());
      const TSeriesMarksPositions& positions = series->Marks().PositionList();
      EXPECT_EQ(positions.Count(), series->PointCount());
      for (int i = 0; i < positions.Count(); ++i) {
        const TSeriesMarkPosition* mark = positions.Position(i);
        if (mark == nullptr) continue;
        const TRect box = mark->BoundsRect();
        EXPECT_TRUE(box.left >= plot.left && box.top >= plot.top && box.right <= plot.right &&
                    box.bottom <= plot.bottom)
            << i << ": " << box.left << "," << box.top << "," << box.right << "," << box.bottom;
      }
    }
  }
}

TEST(Examples, AfterAZoomTheBarsMarksAreDrawnInsideThePlotOnly) {
  const auto form = Example("bars.chart");
  TChart& chart = form->Chart();
  paint_test::Recorder recorder;
  app_test::SettledPaint(recorder, chart);
  // A band over the lower third of the plot: the tallest bars then run past its top.
  const TRect plot = chart.PlotRect();
  const int top = plot.bottom - (plot.bottom - plot.top) / 3;
  chart.MouseDown(mbLeft, 0, plot.left + 5, top);
  chart.MouseMove(0, plot.right - 5, plot.bottom - 5);
  chart.MouseUp(mbLeft, 0, plot.right - 5, plot.bottom - 5);
  ASSERT_TRUE(chart.ZoomApplied());
  const paint_test::Paint paint = app_test::SettledPaint(recorder, chart);

  // The "55" mark of North's second quarter lies above the plot now, where the title is.
  const TSeriesMarkPosition* mark = chart.SeriesAt(0)->Marks().PositionList().Position(1);
  ASSERT_NE(mark, nullptr);
  ASSERT_LT(mark->TopLeft.y, chart.PlotRect().top);
  // Its box and text are drawn while a clip to the plot holds.
  std::string clip;
  bool textSeen = false, boxSeen = false;
  for (const std::string& line : paint.lines) {
    const std::string command = canvas_test::CommandOf(line);
    if (command == "IntersectClipRect" || command == "SelectClipRect" || command == "RemoveClipping") clip = line;
    const bool isText = command == "TextOut" && line.find("\"55\"") != std::string::npos;
    const bool isBox = command == "Rectangle" && canvas_test::RectOf(line) == mark->BoundsRect();
    if (!isText && !isBox) continue;
    textSeen = textSeen || isText;
    boxSeen = boxSeen || isBox;
    ASSERT_NE(canvas_test::CommandOf(clip.empty() ? "RemoveClipping" : clip), "RemoveClipping") << line;
    EXPECT_GE(canvas_test::RectOf(clip).top, chart.PlotRect().top) << clip;
  }
  EXPECT_TRUE(textSeen);
  EXPECT_TRUE(boxSeen);
}

}  // namespace
}  // namespace tarvela
