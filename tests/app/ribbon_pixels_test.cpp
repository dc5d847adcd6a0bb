// The ribbons of a dense 3D line are small polygons that recur as the same shapes, which
// the direct raster path lays out once and stamps. In 3D views at several elevations,
// rotations, zooms and perspectives, the chart painted so must light exactly the pixels
// of the same chart painted through QPainter, polygon by polygon. And a ribbon that a
// later ribbon draws again is left out without changing a pixel.
#include <gtest/gtest.h>

#include <QImage>
#include <functional>
#include <memory>
#include <random>
#include <string>

#include "app/pixel_test_support.h"
#include "tarvela/chart/series/area_series.h"
#include "tarvela/chart/series/line_series.h"

namespace tarvela {
namespace {

using pixel_test::Commands;
using pixel_test::DifferingPixels;
using pixel_test::Painted;

struct View {
  std::string name;
  std::function<void(TChart&, TLineSeries&)> setUp;
};

void Angles(TChart& chart, int elevation, int rotation, int perspective, int zoom) {
  chart.View3DOptions().SetOrthogonal(false);
  chart.View3DOptions().SetElevation(elevation);
  chart.View3DOptions().SetRotation(rotation);
  chart.View3DOptions().SetPerspective(perspective);
  chart.View3DOptions().SetZoom(zoom);
}

TEST(RibbonPixels, StampedRibbonsLightWhatQPainterLightsInEveryView) {
  const View views[] = {
      {"the default view", [](TChart&, TLineSeries&) {}},
      {"orthogonal, elevation 343, zoom 101, the form's",
       [](TChart& c, TLineSeries&) {
         c.View3DOptions().SetElevation(343);
         c.View3DOptions().SetZoom(101);
         c.SetChart3DPercent(5);
       }},
      {"orthogonal, zoom 150 (halves)", [](TChart& c, TLineSeries&) { c.View3DOptions().SetZoom(150); }},
      {"elevation 345, rotation 345, perspective 15", [](TChart& c, TLineSeries&) { Angles(c, 345, 345, 15, 100); }},
      {"elevation 315, rotation 330, no perspective", [](TChart& c, TLineSeries&) { Angles(c, 315, 330, 0, 90); }},
      {"elevation 355, rotation 300, perspective 40, zoom 120",
       [](TChart& c, TLineSeries&) { Angles(c, 355, 300, 40, 120); }},
      {"deep: 3D percent 40", [](TChart& c, TLineSeries&) { c.SetChart3DPercent(40); }},
      {"zoomed and inverted axes",
       [](TChart& c, TLineSeries&) {
         c.BottomAxis().SetAutomatic(false);
         c.BottomAxis().SetMaximum(15000.5);
         c.BottomAxis().SetMinimum(2000.25);
         c.BottomAxis().SetInverted(true);
         c.LeftAxis().SetInverted(true);
       }},
      {"a tall line, colour per point", [](TChart&, TLineSeries& s) {
         s.SetLineHeight(6);
         s.SetColorEachPoint(true);
       }},
      {"stairs", [](TChart&, TLineSeries& s) { s.SetStairs(true); }},
  };
  for (const View& view : views) {
    SCOPED_TRACE(view.name);
    TChart chart(nullptr);
    chart.SetBounds(0, 0, 465, 337);
    chart.SetBuffered(false);
    auto* series = new TLineSeries(&chart);
    series->SetParentChart(&chart);
    series->SetSeriesColor(clRed);
    std::mt19937 random(17);
    double walk = 0;
    for (int i = 0; i < 20000; ++i) {
      walk += std::normal_distribution<>(0, 1)(random);
      series->AddPointXY(i, i % 3001 == 0 ? walk + 40 : walk);  // a spike now and then
    }
    view.setUp(chart, *series);
    for (int i = 0; i < 2; ++i) Painted(chart, true);
    const QImage stamped = Painted(chart, true);
    const QImage painter = Painted(chart, false);
    int differing = 0, coloured = 0;
    for (int y = 0; y < stamped.height(); ++y) {
      for (int x = 0; x < stamped.width(); ++x) {
        differing += stamped.pixel(x, y) != painter.pixel(x, y);
        const QRgb p = stamped.pixel(x, y);
        coloured += qRed(p) > 150 && qGreen(p) < 100 && qBlue(p) < 100;
      }
    }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(coloured, 100);  // the ribbon is there at all
  }
}

template <class Series>
using EveryRibbon = pixel_test::EveryPoint<Series>;

// One random dense 3D line or area; the same seed makes the same chart with either class.
std::unique_ptr<TChart> RandomRibbons(unsigned seed, bool everyRibbon) {
  std::mt19937 random(seed);
  const auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  auto chart = std::make_unique<TChart>(nullptr);
  chart->SetBounds(0, 0, 120 + pick(300), 100 + pick(200));
  chart->SetBuffered(false);
  chart->Legend().SetVisible(pick(2) == 0);
  chart->SetChart3DPercent(5 + pick(40));
  if (pick(3) == 0) Angles(*chart, 300 + pick(60), 300 + pick(60), pick(40), 80 + pick(60));
  TCustomSeries* series = nullptr;
  if (pick(3) == 0) {  // an area, its front down to the axis below each ribbon
    series = everyRibbon ? new EveryRibbon<TAreaSeries>(chart.get()) : new TAreaSeries(chart.get());
    series->AreaLinesPen().SetVisible(pick(2) == 0);
  } else {
    series = everyRibbon ? new EveryRibbon<TLineSeries>(chart.get()) : new TLineSeries(chart.get());
  }
  series->SetParentChart(chart.get());
  series->Marks().SetVisible(false);
  series->SetSeriesColor(pick(2) == 0 ? clRed : clBlue);
  series->SetDark3D(pick(3) != 0);
  series->LinePen().SetWidth(1 + pick(3));
  series->LinePen().SetStyle(static_cast<TPenStyle>(pick(3)));
  series->LinePen().SetVisible(pick(5) != 0);
  if (pick(4) == 0) series->SetLineBrush(bsDiagCross);
  const int points = 300 + pick(3000);
  const int nullAt = pick(4) == 0 ? pick(points) : -1;  // the point-by-point drawing's case
  double x = 0, y = 0;
  for (int i = 0; i < points; ++i) {
    x += pick(5) == 0 ? 0.0 : 0.25 + pick(100) / 40.0;  // uneven steps, some X repeated
    y += pick(7) - 3 + (pick(200) == 0 ? 60 : 0);
    if (i == nullAt) {
      series->AddNullPointXY(x, y);
    } else {
      series->AddPointXY(x, y);
    }
  }
  if (pick(3) == 0) {
    chart->BottomAxis().SetAutomatic(false);  // points beyond both sides
    chart->BottomAxis().SetMaximum(x * 0.7);
    chart->BottomAxis().SetMinimum(x * 0.2);
    chart->LeftAxis().SetInverted(pick(2) == 0);
  }
  if (pick(4) == 0) chart->BottomAxis().SetInverted(true);
  return chart;
}

TEST(RibbonPixels, RibbonsThatALaterRibbonRepeatsAreLeftOutWithoutChangingAPixel) {
  int culled = 0;
  for (unsigned seed = 1; seed <= 30; ++seed) {
    SCOPED_TRACE(seed);
    const std::unique_ptr<TChart> chart = RandomRibbons(seed, false);
    const std::unique_ptr<TChart> every = RandomRibbons(seed, true);
    const QImage shown = Painted(*chart, true);
    const QImage all = Painted(*every, true);
    ASSERT_EQ(shown.size(), all.size());
    EXPECT_EQ(DifferingPixels(shown, all), 0);
    culled += Commands(*chart) < Commands(*every);
  }
  // Dense lines leave most of their ribbons out: else the test above proves nothing.
  EXPECT_GE(culled, 18);
}

}  // namespace
}  // namespace tarvela
