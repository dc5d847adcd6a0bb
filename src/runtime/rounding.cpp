#include "tarvela/runtime/rounding.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cmath>

#include "tarvela/runtime/exceptions.h"

namespace tarvela {

namespace {

constexpr long double kInt64Limit = 0x1p63L;

std::int64_t ToInt64(long double whole) {
  if (!(whole >= -kInt64Limit && whole < kInt64Limit)) throw EInvalidOp(messages::kInvalidOp);
  return static_cast<std::int64_t>(whole);
}

}  // namespace

std::int64_t Round(long double v) {
  // Worked out by hand rather than with nearbyint, so that a rounding mode set
  // elsewhere cannot change the result. The conversion truncates toward zero (trunc
  // would, at a far higher price), the fraction is exact in extended, and the parity
  // comes from the integer. Not a number fails the range test too.
  if (!(v > -kInt64Limit - 1.0L && v < kInt64Limit)) throw EInvalidOp(messages::kInvalidOp);
  const std::int64_t whole = static_cast<std::int64_t>(v);
  const long double fraction = std::fabs(v - static_cast<long double>(whole));
  if (fraction > 0.5L || (fraction == 0.5L && (whole & 1) != 0)) {
    if (v < 0) {
      if (whole == INT64_MIN) throw EInvalidOp(messages::kInvalidOp);
      return whole - 1;
    }
    if (whole == INT64_MAX) throw EInvalidOp(messages::kInvalidOp);
    return whole + 1;
  }
  return whole;
}

std::int64_t Trunc(long double v) {
  if (!std::isfinite(v)) throw EInvalidOp(messages::kInvalidOp);
  return ToInt64(std::trunc(v));
}

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  const std::int64_t product = static_cast<std::int64_t>(a) * b;
  std::int64_t quotient = product / c;
  const std::int64_t remainder = product % c;
  // |remainder| < |c| <= 2^31, so doubling it cannot overflow.
  if (2 * (remainder < 0 ? -remainder : remainder) >= (c < 0 ? -static_cast<std::int64_t>(c) : c))
    quotient += ((product < 0) != (c < 0)) ? -1 : 1;
  if (quotient < INT_MIN || quotient > INT_MAX) return -1;
  return static_cast<int>(quotient);
}

int ClampPixel(std::int64_t pixel) {
  return static_cast<int>(std::clamp<std::int64_t>(pixel, -kPixelLimit, kPixelLimit));
}

int ToPixel(long double position) {
  if (std::isnan(position)) return 0;
  return static_cast<int>(Round(std::clamp<long double>(position, -kPixelLimit, kPixelLimit)));
}

}  // namespace tarvela
