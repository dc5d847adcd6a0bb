#include "runtime/rounding.h"

#include <climits>
#include <cmath>

#include "runtime/exceptions.h"

namespace tarvela {

namespace {

constexpr long double kInt64Limit = 0x1p63L;

std::int64_t ToInt64(long double whole) {
  if (!(whole >= -kInt64Limit && whole < kInt64Limit)) throw EInvalidOp(messages::kInvalidOp);
  return static_cast<std::int64_t>(whole);
}

}  // namespace

std::int64_t Round(long double v) {
  if (!std::isfinite(v)) throw EInvalidOp(messages::kInvalidOp);
  // Worked out by hand rather than with nearbyint, so that a rounding mode set
  // elsewhere cannot change the result. Both steps are exact in extended.
  long double whole = std::trunc(v);
  const long double fraction = std::fabs(v - whole);
  const bool odd = std::fmod(whole, 2.0L) != 0.0L;
  if (fraction > 0.5L || (fraction == 0.5L && odd)) whole += v < 0 ? -1.0L : 1.0L;
  return ToInt64(whole);
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

}  // namespace tarvela
