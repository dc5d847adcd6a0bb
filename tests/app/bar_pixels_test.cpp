// Bars of no width (more bars than pixels) are drawn only where they reach furthest
// from the baseline on each pixel line. Painted by Qt, vertical and horizontal, the
// picture must be exactly the one of every bar drawn in order.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <memory>
#include <random>
#include <string>

#include "app/pixel_test_support.h"
#include "tarvela/chart/series/bar_series.h"

namespace tarvela {
namespace {

using pixel_test::Commands;
using pixel_test::DifferingPixels;
using pixel_test::Painted;
template <class Bars>
using EveryBar = pixel_test::EveryPoint<Bars>;

// Pixels in the colours of the bars.
int PaletteCount(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const QRgb rgb = row[x] & 0xFFFFFFu;
      count += rgb == 0xFF0000u || rgb == 0x0000FFu;
    }
  }
  return count;
}

std::unique_ptr<TChart> RandomChart(unsigned seed, bool everyBar) {
  std::mt19937 random(seed);
  const auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  auto chart = std::make_unique<TChart>(nullptr);
  chart->SetBounds(0, 0, 140 + pick(140), 110 + pick(100));
  chart->SetView3D(false);
  chart->SetBuffered(false);
  chart->Legend().SetVisible(false);
  const bool vertical = pick(2) == 0;
  TCustomBarSeries* series = nullptr;
  if (vertical) {
    series = everyBar ? new EveryBar<TBarSeries>(chart.get()) : new TBarSeries(chart.get());
  } else {
    series = everyBar ? new EveryBar<THorizBarSeries>(chart.get()) : new THorizBarSeries(chart.get());
  }
  series->SetParentChart(chart.get());
  series->Marks().SetVisible(false);
  series->SetBarWidthPercent(1 + pick(100));
  series->BarPen().SetVisible(pick(3) != 0);
  series->SetUseYOrigin(pick(4) != 0);
  series->SetYOrigin(pick(3) - 1.0);
  series->SetSeriesColor(pick(2) == 0 ? clRed : clBlue);
  // Many more bars than pixels; a value walk that crosses the origin, some on it.
  const int points = 600 + pick(1200);
  double value = 0;
  for (int i = 0; i < points; ++i) {
    value = pick(9) == 0 ? 0 : value + (pick(200) - 100) * 0.01;
    const TColor color = pick(50) == 0 ? clNone : clDefault;
    if (vertical) {
      series->AddPointXY(i, value, "", color);
    } else {
      series->AddPointXY(value, i, "", color);
    }
  }
  if (pick(2) == 0) {
    TChartAxis& category = vertical ? chart->BottomAxis() : chart->LeftAxis();
    category.SetAutomatic(false);
    category.SetMaximum(points * 0.8);
    category.SetMinimum(points * 0.3);
    category.SetInverted(pick(2) == 0);
  }
  return chart;
}

TEST(BarPixels, LongestBarsOfEachPixelLineChangeNoPixel) {
  std::size_t fastCommands = 0;
  std::size_t everyCommands = 0;
  for (unsigned seed = 1; seed <= 8; ++seed) {
    SCOPED_TRACE("chart " + std::to_string(seed));
    const pixel_test::Comparison compared = pixel_test::Compare(RandomChart, seed);
    fastCommands += compared.fastCommands;
    everyCommands += compared.everyCommands;
    EXPECT_EQ(compared.differing, 0);
    EXPECT_GT(PaletteCount(compared.reference), 0);  // some bar shows at all
  }
  EXPECT_LT(fastCommands * 4, everyCommands);
}

// Bars of any shape, in 3D and 2D, of a colour each now and then, more than pixels:
// those that a later bar of the same place, ends and colour draws again are left out.
std::unique_ptr<TChart> RandomShapes(unsigned seed, bool everyBar) {
  std::mt19937 random(seed);
  const auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  auto chart = std::make_unique<TChart>(nullptr);
  chart->SetBounds(0, 0, 140 + pick(200), 110 + pick(150));
  chart->SetView3D(pick(4) != 0);
  chart->SetBuffered(false);
  chart->Legend().SetVisible(false);
  const bool vertical = pick(2) == 0;
  TCustomBarSeries* series = nullptr;
  if (vertical) {
    series = everyBar ? new EveryBar<TBarSeries>(chart.get()) : new TBarSeries(chart.get());
  } else {
    series = everyBar ? new EveryBar<THorizBarSeries>(chart.get()) : new THorizBarSeries(chart.get());
  }
  series->SetParentChart(chart.get());
  series->Marks().SetVisible(false);
  series->SetBarStyle(static_cast<TBarStyle>(pick(7)));
  series->SetBarWidthPercent(1 + pick(100));
  series->BarPen().SetVisible(pick(3) != 0);
  series->BarPen().SetWidth(1 + pick(2));
  series->BarPen().SetStyle(static_cast<TPenStyle>(pick(3)));
  if (pick(4) == 0) series->BarBrush().SetStyle(bsDiagCross);
  series->SetDark3D(pick(3) != 0);
  series->SetUseYOrigin(pick(4) != 0);
  series->SetSeriesColor(pick(2) == 0 ? clRed : clBlue);
  const int points = 1100 + pick(600);
  double walk = 0;
  for (int i = 0; i < points; ++i) {
    walk += (pick(7) - 3) * 0.2;
    const double value = pick(9) == 0 ? 0 : std::round(walk);  // values recur, as measured ones do
    const TColor color = pick(40) == 0 ? clNone : pick(30) == 0 ? clGreen : clDefault;
    if (vertical) {
      series->AddPointXY(i, value, "", color);
    } else {
      series->AddPointXY(value, i, "", color);
    }
  }
  TChartAxis& category = vertical ? chart->BottomAxis() : chart->LeftAxis();
  category.SetInverted(pick(3) == 0);
  return chart;
}

TEST(BarPixels, BarsThatALaterBarRepeatsAreLeftOutWithoutChangingAPixel) {
  std::size_t fastCommands = 0;
  std::size_t everyCommands = 0;
  for (unsigned seed = 1; seed <= 10; ++seed) {
    SCOPED_TRACE("chart " + std::to_string(seed));
    const pixel_test::Comparison compared = pixel_test::Compare(RandomShapes, seed);
    fastCommands += compared.fastCommands;
    everyCommands += compared.everyCommands;
    EXPECT_EQ(compared.differing, 0);
  }
  // Most bars repeat one another: else the pictures above prove nothing.
  EXPECT_LT(fastCommands * 3, everyCommands * 2);
}

}  // namespace
}  // namespace tarvela
