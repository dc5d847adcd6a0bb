// PixelRound, read from the bits of the long double, must give Round's integer for every
// value, halves and the neighbours of halves included, and fail where Round fails.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include "canvas_test_support.h"
#include "tarvela/chart/canvas/pixel_round.h"
#include "tarvela/runtime/exceptions.h"
#include "tarvela/runtime/rounding.h"

namespace tarvela {
namespace {

void ExpectSame(long double v) {
  ASSERT_EQ(PixelRound(v), Round(v)) << static_cast<double>(v);
  ASSERT_EQ(PixelRound(-v), Round(-v)) << -static_cast<double>(v);
}

TEST(PixelRound, GivesRoundsIntegerForHalvesTheirNeighboursAndRandomValues) {
  const long double halves[] = {0.0L, 0.5L, 1.0L, 1.5L, 2.5L, 3.5L, 1e6L + 0.5L, 4503599627370495.5L, 0x1p61L + 0.5L,
                                0x1p62L - 0.5L, 0x1p62L - 1.0L};
  for (long double h : halves) {
    ExpectSame(h);
    ExpectSame(std::nextafter(h, 0.0L));
    ExpectSame(std::nextafter(h, 0x1p63L));
  }
  ExpectSame(std::numeric_limits<long double>::denorm_min());
  ExpectSame(std::numeric_limits<long double>::min());
  ExpectSame(std::nextafter(0.5L, 0.0L));
  ExpectSame(std::nextafter(0.5L, 1.0L));
  std::mt19937_64 random(3);
  for (int i = 0; i < 200000; ++i) {
    // Spread over many binades, with fractions both coarse and fine.
    const int binade = static_cast<int>(random() % 70) - 8;
    const long double v = std::ldexp(static_cast<long double>(random()) / 0x1p64L + 0.5L, binade);
    ExpectSame(v);
    ExpectSame(std::round(v * 2) / 2);  // a half, or a whole number
  }
  // Pixel offsets as the axes and the projection make them.
  for (int i = -5000; i <= 5000; ++i) ExpectSame(static_cast<long double>(i) * 0.1L);
}

TEST(PixelRound, FailsWhereRoundFailsAndHandsBigValuesToIt) {
  EXPECT_THROW(PixelRound(std::numeric_limits<long double>::quiet_NaN()), EInvalidOp);
  EXPECT_THROW(PixelRound(std::numeric_limits<long double>::infinity()), EInvalidOp);
  EXPECT_THROW(PixelRound(0x1p64L), EInvalidOp);
  EXPECT_EQ(PixelRound(0x1p62L), Round(0x1p62L));
  EXPECT_EQ(PixelRound(-0x1p62L - 1.0L), Round(-0x1p62L - 1.0L));
}

}  // namespace
}  // namespace tarvela

namespace tarvela {
namespace {

// The orthogonal projection finds most pixels in double: each must be the long double
// formula's, for every zoom, halves included.
TEST(PixelRound, OrthogonalProjectionGivesTheLongDoubleFormulasPixels) {
  std::mt19937 random(9);
  for (int zoom : {100, 101, 150, 37, 250, 99, 1000, 1}) {
    canvas_test::CanvasRig rig;
    rig.options.SetZoom(zoom);
    rig.Begin(true, {10, 10, 410, 310}, 20);
    ASSERT_TRUE(rig.canvas.Orthogonal());
    const long double factor = rig.canvas.ZoomFactor();
    for (int i = 0; i < 20000; ++i) {
      const int x = static_cast<int>(random() % 4000) - 2000;
      const int y = static_cast<int>(random() % 4000) - 2000;
      const int z = static_cast<int>(random() % 60) - 10;
      const long double dx = static_cast<long double>(x) - rig.canvas.XCenter() + z;
      const long double dy = static_cast<long double>(y) - rig.canvas.YCenter() - z;
      const TPoint expected{static_cast<int>(Round(dx * factor) + rig.canvas.XCenterOffset()),
                            static_cast<int>(Round(dy * factor) + rig.canvas.YCenterOffset())};
      ASSERT_EQ(rig.canvas.ProjectPoint(x, y, z), expected) << zoom << "% " << x << "," << y << "," << z;
    }
  }
}

}  // namespace
}  // namespace tarvela
