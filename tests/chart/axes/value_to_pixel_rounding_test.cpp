// The linear value-to-pixel mapping finds most offsets in double and falls back to long
// double near a half: the pixel must be the long double formula's in every case, halves,
// their neighbours, huge and tiny ranges and far values included.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <span>
#include <vector>

#include "tarvela/chart/axes/axis_scale.h"
#include "tarvela/runtime/rounding.h"

namespace tarvela {
namespace {

TAxisScale Scale(double minimum, double maximum, int startPixel, int endPixel) {
  TAxisScale scale;
  scale.minimum = minimum;
  scale.maximum = maximum;
  UpdateRange(scale);
  SetPixelSpan(scale, startPixel, endPixel);
  return scale;
}

// The mapping as the long double formula gives it.
int Reference(const TAxisScale& scale, double value, bool fromFarEnd) {
  if (scale.range == 0) return scale.centerPixel;
  const long double t = (static_cast<long double>(value) - scale.minimum) * scale.length / scale.range;
  if (!(std::fabs(t) < 2147483647.0L)) return scale.centerPixel;
  const std::int64_t offset = Round(t);
  const std::int64_t pixel = fromFarEnd ? scale.endPixel - offset : scale.startPixel + offset;
  return static_cast<int>(std::clamp<std::int64_t>(pixel, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

void ExpectReference(const TAxisScale& scale, double value) {
  for (bool far : {false, true}) {
    ASSERT_EQ(LinearValueToPixel(scale, value, far), Reference(scale, value, far))
        << "min " << scale.minimum << " max " << scale.maximum << " length " << scale.length << " value " << value;
  }
}

TEST(ValueToPixelRounding, EveryOffsetIsTheLongDoubleFormulasHalvesIncluded) {
  std::mt19937_64 random(11);
  std::uniform_real_distribution<double> unit(0, 1);
  const TAxisScale scales[] = {Scale(0, 999999, 40, 445),    Scale(-3.7, 12.9, 30, 330),  Scale(0, 1, 0, 1000),
                               Scale(1e-300, 3e-300, 0, 777), Scale(-1e300, 1e300, 5, 1905), Scale(5, 5.0000001, 10, 1080),
                               Scale(0, 0.1, 0, 3),           Scale(0, 10, 0, 1)};
  for (const TAxisScale& scale : scales) {
    for (int i = 0; i < 20000; ++i) ExpectReference(scale, scale.minimum + unit(random) * scale.range);
    // Values mapped to a half pixel, and their neighbours: the fallback's cases.
    for (int i = 0; i <= 2 * std::max(scale.length, 1); ++i) {
      const double value = scale.minimum + (i + 0.5) * 0.5 * scale.range / std::max(scale.length, 1);
      ExpectReference(scale, value);
      ExpectReference(scale, std::nextafter(value, -kInf));
      ExpectReference(scale, std::nextafter(value, kInf));
    }
    // Far out, beyond the pixel limits, and not numbers.
    for (double value : {1e308, -1e308, 1e18, -1e18, scale.minimum + scale.range * 1e7, kInf, -kInf, kNaN}) {
      ExpectReference(scale, value);
    }
  }
}

// A block of values maps to the pixels of the values one by one: random values,
// halves and their neighbours, far values and not-numbers mixed in any order, odd and
// even counts, every scale above plus a zero range.
TEST(ValueToPixelRounding, BlockGivesThePixelsOfEachValue) {
  std::mt19937_64 random(12);
  std::uniform_real_distribution<double> unit(0, 1);
  const TAxisScale scales[] = {Scale(0, 999999, 40, 445),     Scale(-3.7, 12.9, 30, 330),   Scale(0, 1, 0, 1000),
                               Scale(1e-300, 3e-300, 0, 777), Scale(-1e300, 1e300, 5, 1905), Scale(5, 5.0000001, 10, 1080),
                               Scale(0, 0.1, 0, 3),           Scale(0, 10, 0, 1),            Scale(2, 2, 7, 300),
                               Scale(0, 1, 2147483000, 2147483640)};
  const double odd[] = {1e308, -1e308, 1e18, -1e18, kInf, -kInf, kNaN, 0.0, -0.0};
  for (const TAxisScale& scale : scales) {
    std::vector<double> values;
    const int length = std::max(scale.length, 1);
    for (int i = 0; i < 4000; ++i) {
      const int kind = static_cast<int>(random() % 8);
      const double half = scale.minimum + (static_cast<int>(random() % (2 * length)) + 0.5) * 0.5 * scale.range / length;
      double value = kind == 0   ? odd[random() % std::size(odd)]
                     : kind == 1 ? half
                     : kind == 2 ? std::nextafter(half, kInf)
                     : kind == 3 ? std::nextafter(half, -kInf)
                                 : scale.minimum + (unit(random) * 1.2 - 0.1) * scale.range;
      values.push_back(value);
    }
    for (const bool far : {false, true}) {
      for (const std::size_t count : {values.size(), values.size() - 1, std::size_t{1}, std::size_t{0}}) {
        std::vector<int> pixels(count + 1, -7);
        constexpr int kFaults = FE_INVALID | FE_OVERFLOW | FE_DIVBYZERO;
        std::feclearexcept(FE_ALL_EXCEPT);
        for (std::size_t i = 0; i < count; ++i) LinearValueToPixel(scale, values[i], far);
        const int oneByOne = std::fetestexcept(kFaults);
        std::feclearexcept(FE_ALL_EXCEPT);
        LinearValuesToPixels(scale, std::span(values).first(count), far, pixels);
        EXPECT_EQ(std::fetestexcept(kFaults) & ~oneByOne, 0);  // no fault the values do not raise alone
        for (std::size_t i = 0; i < count; ++i) {
          ASSERT_EQ(pixels[i], LinearValueToPixel(scale, values[i], far))
              << "min " << scale.minimum << " max " << scale.maximum << " value " << values[i] << " at " << i;
        }
        EXPECT_EQ(pixels[count], -7);  // nothing written beyond the values
      }
    }
  }
}

}  // namespace
}  // namespace tarvela
