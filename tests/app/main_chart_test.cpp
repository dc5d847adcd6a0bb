// The main form's chart as a whole, after sigma = 1, second 0, compute and graph: its
// complete draw log against a reviewed golden log, and the picture Qt really paints,
// checked by colour where the axes and the depth slabs put the series and the legend.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QPointF>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <optional>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "app/app_test_support.h"
#include "app/form1.h"
#include "tarvela/chart/axes/axis.h"
#include "tarvela/chart/canvas/canvas3d.h"
#include "tarvela/chart/data/chart_series.h"
#include "tarvela/chart/series/line_series.h"
#include "tarvela/platform/recording_surface.h"
#include "tarvela/runtime/colors.h"
#include "tarvela/widgets/qt_surface.h"

namespace tarvela {
namespace {

const std::string kGoldenPath = std::string(TARVELA_GOLDEN_DIR) + "/main_chart.draw.txt";

using app_test::GraphedForm;

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

  // Whether a pixel of the square of the given radius around p is within the tolerance
  // of color.
  bool ColourNear(TPoint p, TColor color, int tolerance, int radius) const {
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

  // The ribbon of the segment arriving at point pointIndex as the paint should place it:
  // its two points where the series' axes put them, projected at the front and at the
  // back of the series' depth slab.
  struct Ribbon {
    int pointIndex = 0;
    std::array<QPointF, 4> corners;
  };

  // The ribbons a series draws, in drawing order; a segment whose points fall on one
  // pixel draws none. The axes and the projection are those the Qt paint left: its
  // layout follows the real fonts, so its pixels are not those of the golden log.
  std::vector<Ribbon> RibbonsOf(const TChartSeries& series) const {
    const TChartAxis& horiz = *series.GetHorizAxis();
    const TChartAxis& vert = *series.GetVertAxis();
    const auto point = [&](int i) {
      return TPoint{horiz.ValueToPixel(series.XValueAt(i)), vert.ValueToPixel(series.YValueAt(i))};
    };
    const auto corner = [&](TPoint p, int z) {
      const TPoint s = chart->Canvas().ProjectPoint(p.x, p.y, z);
      return QPointF(s.x, s.y);
    };
    std::vector<Ribbon> ribbons;
    for (int i = 1; i < series.PointCount(); ++i) {
      const TPoint from = point(i - 1), to = point(i);
      if (from == to) continue;
      ribbons.push_back({i,
                         {corner(to, series.DepthFront()), corner(from, series.DepthFront()),
                          corner(from, series.DepthBack()), corner(to, series.DepthBack())}});
    }
    return ribbons;
  }

  // How far p lies inside the ribbon's outline (negative: outside), as the distance to
  // its nearest edge.
  static double Inset(const Ribbon& ribbon, QPointF p) {
    double nearest = std::numeric_limits<double>::infinity();
    bool allLeft = true, allRight = true;
    for (std::size_t k = 0; k < 4; ++k) {
      const QPointF a = ribbon.corners[k], edge = ribbon.corners[(k + 1) % 4] - a, toP = p - a;
      const double cross = edge.x() * toP.y() - edge.y() * toP.x();
      allLeft = allLeft && cross > 0;
      allRight = allRight && cross < 0;
      const double length2 = QPointF::dotProduct(edge, edge);
      const double t = length2 == 0 ? 0 : std::clamp(QPointF::dotProduct(toP, edge) / length2, 0.0, 1.0);
      const QPointF off = toP - t * edge;
      nearest = std::min(nearest, std::hypot(off.x(), off.y()));
    }
    return allLeft || allRight ? nearest : -nearest;
  }

  // A ribbon is only two pixels deep and outlined in black, and the ribbons drawn after
  // it (its own later segments, the layers in front) lie partly over it. Only a pixel a
  // whole pixel inside its outline and a whole pixel clear of everything drawn later is
  // surely its fill, however a raster path puts the edges; of those, the one nearest the
  // middle of the ribbon. A steeply rising segment has none: the depth runs almost along
  // it, so its outline's two sides leave no pixel between them.
  std::optional<TPoint> FillPixel(const Ribbon& ribbon, std::span<const Ribbon> drawnLater) const {
    const auto [minX, maxX] = std::minmax({ribbon.corners[0].x(), ribbon.corners[1].x(), ribbon.corners[2].x(),
                                           ribbon.corners[3].x()});
    const auto [minY, maxY] = std::minmax({ribbon.corners[0].y(), ribbon.corners[1].y(), ribbon.corners[2].y(),
                                           ribbon.corners[3].y()});
    const QPointF middle = (ribbon.corners[0] + ribbon.corners[1] + ribbon.corners[2] + ribbon.corners[3]) / 4;
    std::optional<TPoint> best;
    double bestDistance = 0;
    for (int y = static_cast<int>(minY); y <= static_cast<int>(maxY); ++y) {
      for (int x = static_cast<int>(minX); x <= static_cast<int>(maxX); ++x) {
        const QPointF p(x, y);
        if (Inset(ribbon, p) < 1) continue;
        if (std::any_of(drawnLater.begin(), drawnLater.end(), [&](const Ribbon& r) { return Inset(r, p) > -1; }))
          continue;
        const double distance = std::hypot(x - middle.x(), y - middle.y());
        if (!best || distance < bestDistance) best = TPoint{x, y}, bestDistance = distance;
      }
    }
    return best;
  }

  bool HasColour(TPoint p, TColor color) const {
    const std::uint32_t rgb = ColorToRGB(color);
    return image.pixelColor(p.x, p.y) == QColor(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
  }

  // Checks the fill pixel of every segment of SeriesAt(index) that has one against the
  // colour of the point the segment arrives at, or that colour darkened where the ribbon
  // shows its underside. Returns the points whose segments were checked.
  std::vector<int> CheckRibbonColours(int index) const {
    const TChartSeries& series = *chart->SeriesAt(index);
    const std::vector<Ribbon> own = RibbonsOf(series);
    // The series are drawn in list order, each in its own slab, over the axes; nothing
    // but their ribbons is drawn after them.
    EXPECT_TRUE(AxesBehindSeries);
    std::vector<Ribbon> later;
    for (int j = index; j < chart->SeriesTotal(); ++j) {
      const auto* other = dynamic_cast<const TCustomSeries*>(chart->SeriesAt(j));
      if (other == nullptr || !other->Active()) continue;
      EXPECT_FALSE(other->Pointer().Visible() || other->Marks().Visible()) << other->Name();
      if (j == index) continue;
      const std::vector<Ribbon> ribbons = RibbonsOf(*other);
      later.insert(later.end(), ribbons.begin(), ribbons.end());
    }
    std::vector<int> checked;
    for (std::size_t k = 0; k < own.size(); ++k) {
      std::vector<Ribbon> drawnLater(own.begin() + static_cast<std::ptrdiff_t>(k) + 1, own.end());
      drawnLater.insert(drawnLater.end(), later.begin(), later.end());
      const std::optional<TPoint> p = FillPixel(own[k], drawnLater);
      if (!p) continue;
      checked.push_back(own[k].pointIndex);
      const TColor fill = series.PointColor(own[k].pointIndex);
      EXPECT_TRUE(HasColour(*p, fill) || HasColour(*p, DarkenColor(fill, kDarkenAmount)))
          << series.Name() << " segment to point " << own[k].pointIndex << " of colour " << fill << " "
          << Describe(*p);
    }
    return checked;
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

// The first layer lies at the back of the box, so the layers in front cover much of its
// flat stretches, and its rising side shows no fill between the outlines at all; at
// least half of its segments are left to check.
TEST_F(MainChartPicture, FirstLayerRibbonIsRedWhereTheAxesPutItsPoints) {
  TChartSeries* series = chart->SeriesAt(0);
  ASSERT_EQ(series->Name(), "Series1");
  ASSERT_EQ(series->PointCount(), form->Solver().N);
  for (int i = 0; i < series->PointCount(); ++i) ASSERT_EQ(series->PointColor(i), clRed);
  EXPECT_EQ(series->DepthBack(), chart->BoxDepthX());
  EXPECT_GE(CheckRibbonColours(0).size(), std::size_t(series->PointCount() - 1) / 2);
}

// The last layer lies in front of every other one and is drawn last. Its segments go
// alternately to the exact value (green, straight up or down) and on to the next
// numerical one (yellow).
TEST_F(MainChartPicture, LastLayerRibbonCarriesItsYellowAndGreenPoints) {
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
  for (int j = 0; j < 10; ++j) EXPECT_GE(chart->SeriesAt(j)->DepthFront(), series->DepthBack());

  const std::vector<int> checked = CheckRibbonColours(10);
  EXPECT_GE(checked.size(), std::size_t(series->PointCount() - 1) / 2);
  const auto reaches = [&](TColor color) {
    return std::count_if(checked.begin(), checked.end(), [&](int i) { return series->PointColor(i) == color; });
  };
  EXPECT_GE(reaches(clYellow), 3);
  EXPECT_GE(reaches(clGreen), 3);
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
