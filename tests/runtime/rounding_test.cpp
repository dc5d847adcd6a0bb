#include "tarvela/runtime/rounding.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <limits>

#include "tarvela/runtime/exceptions.h"

namespace tarvela {
namespace {

TEST(Round, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(Round(2.5L), 2);
  EXPECT_EQ(Round(3.5L), 4);
  EXPECT_EQ(Round(0.5L), 0);
  EXPECT_EQ(Round(-2.5L), -2);
  EXPECT_EQ(Round(-3.5L), -4);
  EXPECT_EQ(Round(-0.5L), 0);
}

TEST(Round, OtherValuesGoToTheNearestInteger) {
  EXPECT_EQ(Round(2.4999L), 2);
  EXPECT_EQ(Round(2.5001L), 3);
  EXPECT_EQ(Round(-2.6L), -3);
  EXPECT_EQ(Round(-2.4L), -2);
  // The largest extended value below one half must not round up.
  EXPECT_EQ(Round(0.5L - 0x1p-65L), 0);
}

TEST(Round, CoversTheWholeInt64Range) {
  EXPECT_EQ(Round(-0x1p63L), std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(Round(0x1p63L - 1.0L), std::numeric_limits<std::int64_t>::max());
  // A half next to the top: the even neighbour below is kept, the one above is out.
  EXPECT_EQ(Round(0x1p63L - 1.5L), std::numeric_limits<std::int64_t>::max() - 1);
  EXPECT_THROW(Round(0x1p63L - 0.5L), EInvalidOp);
  EXPECT_EQ(Trunc(0x1p63L - 0.5L), std::numeric_limits<std::int64_t>::max());
}

TEST(Round, RoundAndTruncFailForNanInfinityAndOutOfRange) {
  for (long double v : {std::numeric_limits<long double>::quiet_NaN(),
                        std::numeric_limits<long double>::infinity(),
                        -std::numeric_limits<long double>::infinity(), 0x1p63L, -0x1p63L - 2.0L,
                        1e19L}) {
    try {
      Round(v);
      ADD_FAILURE() << "no failure for " << static_cast<double>(v);
    } catch (const EInvalidOp& e) {
      EXPECT_EQ(e.Message(), "Invalid floating point operation");
    }
    EXPECT_THROW(Trunc(v), EInvalidOp);
  }
}

TEST(Trunc, DropsTheFractionTowardZero) {
  EXPECT_EQ(Trunc(2.9L), 2);
  EXPECT_EQ(Trunc(-2.9L), -2);
  EXPECT_EQ(Trunc(-0x1p63L), std::numeric_limits<std::int64_t>::min());
}

TEST(MulDiv, RoundsHalvesAwayFromZero) {
  EXPECT_EQ(MulDiv(5, 3, 2), 8);
  EXPECT_EQ(MulDiv(-5, 3, 2), -8);
  EXPECT_EQ(MulDiv(5, 3, -2), -8);
  EXPECT_EQ(MulDiv(-5, 3, -2), 8);
}

TEST(MulDiv, RoundsOtherQuotientsToNearest) {
  EXPECT_EQ(MulDiv(300, 5, 100), 15);
  EXPECT_EQ(MulDiv(2, 1, 3), 1);
  EXPECT_EQ(MulDiv(1, 1, 3), 0);
  EXPECT_EQ(MulDiv(-2, 1, 3), -1);
}

TEST(MulDiv, KeepsTheProductIn64Bits) {
  EXPECT_EQ(MulDiv(100000, 100000, 100000), 100000);
  EXPECT_EQ(MulDiv(INT_MAX, INT_MAX, INT_MAX), INT_MAX);
  EXPECT_EQ(MulDiv(INT_MIN, INT_MIN, INT_MIN), INT_MIN);
}

TEST(MulDiv, ReturnsMinusOneForZeroDivisorOrResultBeyondInt) {
  EXPECT_EQ(MulDiv(1, 1, 0), -1);
  EXPECT_EQ(MulDiv(INT_MAX, 2, 1), -1);
  EXPECT_EQ(MulDiv(INT_MIN, 1, -1), -1);
}

}  // namespace
}  // namespace tarvela

namespace tarvela {
namespace {

TEST(ToPixel, RoundsWithinThePixelRangeAndHoldsTheRestAtItsEnds) {
  EXPECT_EQ(ToPixel(2.5L), 2);
  EXPECT_EQ(ToPixel(-3.5L), -4);
  EXPECT_EQ(ToPixel(kPixelLimit - 0.4L), kPixelLimit);
  EXPECT_EQ(ToPixel(1e308L), kPixelLimit);
  EXPECT_EQ(ToPixel(-1e4000L), -kPixelLimit);
  EXPECT_EQ(ToPixel(std::numeric_limits<long double>::infinity()), kPixelLimit);
  EXPECT_EQ(ToPixel(-std::numeric_limits<long double>::infinity()), -kPixelLimit);
  EXPECT_EQ(ToPixel(std::numeric_limits<long double>::quiet_NaN()), 0);
}

TEST(ClampPixel, HoldsIntegersToThePixelRange) {
  EXPECT_EQ(ClampPixel(0), 0);
  EXPECT_EQ(ClampPixel(-kPixelLimit), -kPixelLimit);
  EXPECT_EQ(ClampPixel(std::int64_t{kPixelLimit} + 1), kPixelLimit);
  EXPECT_EQ(ClampPixel(INT64_MIN), -kPixelLimit);
}

}  // namespace
}  // namespace tarvela
