#pragma once
/// PixelRound is Round (nearest integer, halves to the even neighbour) for the hot paths
/// of drawing, which round every projected corner and every value mapped to a pixel.
/// Round converts with a truncating cast, which on x87 long double makes the compiler
/// switch the FPU's control word twice per call; here the integer and the fraction are
/// read from the bits of the 80-bit value instead, which neither depends on a rounding
/// mode nor touches the FPU's state. Outside +-2^62 (and for a NaN or an infinity) it is
/// Round itself, failures included.
/// @file
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "tarvela/runtime/rounding.h"

namespace tarvela {

inline std::int64_t PixelRound(long double v) {
#if defined(__x86_64__) || defined(__i386__)
  if constexpr (std::numeric_limits<long double>::digits == 64 && std::numeric_limits<long double>::radix == 2) {
    std::uint64_t mantissa = 0;  // the 64 bits of the significand, the integer bit explicit
    std::uint16_t signExponent = 0;
    std::memcpy(&mantissa, &v, sizeof mantissa);
    std::memcpy(&signExponent, reinterpret_cast<const unsigned char*>(&v) + sizeof mantissa, sizeof signExponent);
    const int exponent = static_cast<int>(signExponent & 0x7FFF) - 16383;
    if (exponent < 62) {
      constexpr std::uint64_t kHalf = std::uint64_t{1} << 63;
      std::uint64_t magnitude = 0;
      if (exponent == -1) {
        // 0.5 <= |v| < 1: exactly a half goes to 0, the even neighbour.
        magnitude = mantissa > kHalf ? 1 : 0;
      } else if (exponent >= 0) {
        const int shift = 63 - exponent;  // 1..63
        const std::uint64_t whole = mantissa >> shift;
        const std::uint64_t fraction = mantissa << (64 - shift);  // the fraction, scaled to 2^64
        magnitude = whole + ((fraction > kHalf || (fraction == kHalf && (whole & 1) != 0)) ? 1 : 0);
      }  // else |v| < 0.5 (zeros and subnormals too): 0
      const auto value = static_cast<std::int64_t>(magnitude);
      return (signExponent & 0x8000) != 0 ? -value : value;
    }
  }
#endif
  return Round(v);
}

/// Round(v) of a long double v known only to lie within |approx| * 2^-50 of the double
/// approx: true, with the integer, when an integer lies nearer to approx than a half less
/// |approx| * 2^-48, so that it is v's nearest as well; false (compute v, then Round)
/// otherwise, and when |approx| reaches 2^31 or approx is not a number. Branch-free on
/// the way to yes: adding and taking away 1.5 * 2^52 leaves an integer next to approx
/// (the nearest in the default rounding mode; another mode may give the other neighbour,
/// which then fails the test).
inline bool RoundNear(double approx, std::int64_t& result) {
  if (!(approx > -2147483000.0 && approx < 2147483000.0)) return false;
  constexpr double kShift = 0x1.8p52;
  // Not folded away: the project builds without fast-math (and with -frounding-math).
  const double nearest = (approx + kShift) - kShift;
  const double distance = approx - nearest;  // exact
  if (!(std::fabs(distance) < 0.5 - std::fabs(approx) * 0x1p-48)) return false;
  result = static_cast<std::int64_t>(nearest);
  return true;
}

}  // namespace tarvela
