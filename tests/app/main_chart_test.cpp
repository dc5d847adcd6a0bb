// The main form's chart as a whole, after sigma = 1, second 0, compute and graph: its
// complete draw log against a reviewed golden log, and the picture Qt really paints,
// checked by colour where the axes and the depth slabs put the series and the legend.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/form1.h"
#include "chart/chart_series.h"
#include "platform/qt/qt_surface.h"
#include "platform/recording_surface.h"

namespace tarvela {
namespace {

const std::string kGoldenPath = std::string(TARVELA_GOLDEN_DIR) + "/main_chart.draw.txt";

std::unique_ptr<TForm1> GraphedForm() {
  // A fixed locale: the axis labels must not follow the machine's decimal separator.
  auto form = std::make_unique<TForm1>(nullptr, [] { return LocaleSettings::Dot(); });
  form->Edit1->SetText("1");
  form->Edit2->SetText("0");
  form->Button1->Click();
  form->BitBtn1->Click();
  return form;
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool UpdatingGolden() {
  const char* value = std::getenv("UPDATE_GOLDEN");
  return value != nullptr && std::string(value) == "1";
}

TEST(MainChart, WholeDrawLogMatchesTheReviewedGoldenLog) {
  std::unique_ptr<TForm1> form = GraphedForm();
  ASSERT_EQ(form->Chart1->SeriesAt(0)->PointCount(), form->Solver().N);

  RecordingSurface surface;
  form->Chart1->PaintChart(surface, form->Chart1->ClientRect());
  const std::vector<std::string>& actual = surface.Lines();
  ASSERT_FALSE(actual.empty());

  if (UpdatingGolden()) {
    std::filesystem::create_directories(std::filesystem::path(kGoldenPath).parent_path());
    std::ofstream out(kGoldenPath, std::ios::trunc);
    out << surface.Text();
    ASSERT_TRUE(out.good()) << "cannot write " << kGoldenPath;
    return;
  }

  const std::vector<std::string> golden = ReadLines(kGoldenPath);
  ASSERT_FALSE(golden.empty()) << kGoldenPath << " is missing; write it with UPDATE_GOLDEN=1 and review it";
  for (std::size_t i = 0; i < std::min(actual.size(), golden.size()); ++i) {
    // One differing line says more than two logs of thousands of lines.
    ASSERT_EQ(actual[i], golden[i]) << "first difference at line " << i + 1 << " of " << kGoldenPath;
  }
  ASSERT_EQ(actual.size(), golden.size())
      << "the logs agree up to line " << std::min(actual.size(), golden.size()) << ", then "
      << (actual.size() > golden.size() ? "the paint draws more: " + actual[golden.size()]
                                        : "the golden log has more: " + golden[actual.size()]);
}

// The chart painted by Qt, with the geometry of that very paint at hand.
class MainChartPicture : public ::testing::Test {
 protected:
  void SetUp() override {
    form = GraphedForm();
    chart = form->Chart1;
    ASSERT_EQ(chart->Width(), 465);
    ASSERT_EQ(chart->Height(), 337);
    image = QImage(465, 337, QImage::Format_RGB32);
    image.fill(Qt::white);
    QtSurface surface(image);
    chart->PaintChart(surface, chart->ClientRect());
  }

  // Whether a pixel of the 5 x 5 square around p is within the tolerance of rgb: the
  // ribbons are two pixels deep and outlined, so their fill is a thin strip that the
  // rounding of the projection can put a pixel or two off the computed middle.
  bool ColourNear(TPoint p, TColor color, int tolerance = 40, int radius = 2) const {
    const int r = color & 0xFF, g = (color >> 8) & 0xFF, b = (color >> 16) & 0xFF;
    for (int dy = -radius; dy <= radius; ++dy) {
      for (int dx = -radius; dx <= radius; ++dx) {
        const int x = p.x + dx, y = p.y + dy;
        if (x < 0 || y < 0 || x >= image.width() || y >= image.height()) continue;
        const QColor c = image.pixelColor(x, y);
        if (std::abs(c.red() - r) <= tolerance && std::abs(c.green() - g) <= tolerance &&
            std::abs(c.blue() - b) <= tolerance)
          return true;
      }
    }
    return false;
  }

  // A segment's ribbon takes the colour of the point it arrives at, a quarter darker
  // where it climbs steeply and its underside shows.
  bool RibbonColourNear(TPoint p, TColor color) const {
    const auto darker = [](int channel) { return channel * 3 / 4; };
    const TColor dark = darker(color & 0xFF) | darker((color >> 8) & 0xFF) << 8 | darker((color >> 16) & 0xFF) << 16;
    return ColourNear(p, color) || ColourNear(p, dark);
  }

  // Counts the segments whose ribbon shows its colour at its middle: halfway between
  // the two points the axes place, halfway through the series' depth slab.
  int SegmentsOfTheirColour(const TChartSeries& series) const {
    const TChartAxis& horiz = chart->BottomAxis();
    const TChartAxis& vert = chart->LeftAxis();
    int found = 0;
    for (int i = 1; i < series.PointCount(); ++i) {
      const int x = (horiz.ValueToPixel(series.XValueAt(i - 1)) + horiz.ValueToPixel(series.XValueAt(i))) / 2;
      const int y = (vert.ValueToPixel(series.YValueAt(i - 1)) + vert.ValueToPixel(series.YValueAt(i))) / 2;
      const TPoint p = chart->Canvas().ProjectPoint(x, y, series.DepthMiddle());
      if (RibbonColourNear(p, series.PointColor(i))) {
        ++found;
      } else {
        ADD_FAILURE() << series.Name() << " segment to point " << i << " colour " << series.PointColor(i) << " "
                      << Describe(p);
      }
    }
    return found;
  }

  std::string Describe(TPoint p) const {
    std::ostringstream text;
    text << "at " << p.x << "," << p.y << ":";
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) text << " " << image.pixelColor(p.x + dx, p.y + dy).name().toStdString();
    return text.str();
  }

  std::unique_ptr<TForm1> form;
  TChart* chart = nullptr;
  QImage image;
};

// Disabled until the sampling is reworked: the ribbons are two pixels deep, so on
// steep segments their black outline covers nearly all of the fill, and on the flat
// stretches the series in front of Series1 overlap it. The samples must pick the
// segments and pixels where a ribbon's fill is the topmost drawing.
TEST_F(MainChartPicture, DISABLED_FirstLayerRibbonIsRedWhereTheAxesPutItsPoints) {
  TChartSeries* series = chart->SeriesAt(0);
  ASSERT_EQ(series->Name(), "Series1");
  ASSERT_EQ(series->PointCount(), form->Solver().N);
  for (int i = 0; i < series->PointCount(); ++i) ASSERT_EQ(series->PointColor(i), clRed);
  EXPECT_EQ(SegmentsOfTheirColour(*series), series->PointCount() - 1);
}

// Disabled until the sampling is reworked: the ribbons are two pixels deep, so on
// steep segments their black outline covers nearly all of the fill, and on the flat
// stretches the series in front of Series1 overlap it. The samples must pick the
// segments and pixels where a ribbon's fill is the topmost drawing.
TEST_F(MainChartPicture, DISABLED_LastLayerRibbonCarriesItsYellowAndGreenPoints) {
  TChartSeries* series = chart->SeriesAt(10);
  ASSERT_EQ(series->Name(), "Series10");
  ASSERT_EQ(series->PointCount(), 2 * form->Solver().N);
  int yellow = 0, green = 0;
  for (int i = 0; i < series->PointCount(); ++i) {
    if (series->PointColor(i) == clYellow) ++yellow;
    if (series->PointColor(i) == clGreen) ++green;
  }
  EXPECT_EQ(yellow, form->Solver().N);
  EXPECT_EQ(green, form->Solver().N);
  EXPECT_EQ(SegmentsOfTheirColour(*series), series->PointCount() - 1);
}

TEST_F(MainChartPicture, LegendSymbolsCarryTheSeriesColours) {
  const TChartLegend& legend = chart->Legend();
  const TRect bounds = legend.LegendBounds();
  ASSERT_GT(legend.RowCount(), 0);
  ASSERT_GT(legend.ColorBoxWidth(), 2);
  // A right legend: the symbol column starts 4 pixels inside the box, items are one
  // row each, the box 2 pixels taller than its rows.
  const int rowHeight = (bounds.Height() - 2) / legend.RowCount();
  const int symbolX = bounds.left + 4 + legend.ColorBoxWidth() / 2;
  int checked = 0;
  for (int row = 0; row < legend.RowCount(); ++row) {
    const TChartSeries* series = chart->LegendSeriesAt(row);
    ASSERT_NE(series, nullptr);
    const TPoint p{symbolX, bounds.top + 1 + row * rowHeight + rowHeight / 2};
    SCOPED_TRACE(series->Name() + " " + Describe(p));
    EXPECT_TRUE(ColourNear(p, series->SeriesColor(), 8, 1));
    ++checked;
  }
  EXPECT_GE(checked, 11);
}

}  // namespace
}  // namespace tarvela
