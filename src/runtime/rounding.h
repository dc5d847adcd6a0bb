#pragma once
/// Conversions of real values to integers, and scaling of integers.
/// @file
#include <cstdint>

namespace tarvela {

/// Nearest integer; a value exactly halfway goes to the even neighbour.
/// NaN, an infinity or a result outside the int64 range is an EInvalidOp.
std::int64_t Round(long double v);

/// The integer part, toward zero; fails as Round does.
std::int64_t Trunc(long double v);

/// a*b/c with a 64-bit intermediate, rounded to nearest with halves away from
/// zero. Returns -1 when c is 0 or the result does not fit in an int.
int MulDiv(int a, int b, int c);

/// Pixels are held within +-kPixelLimit: far beyond any picture, and so far inside an
/// int that sums and differences of a few pixels, sizes and settings cannot wrap.
inline constexpr int kPixelLimit = 1 << 28;

/// An integer pixel held to the pixel range.
int ClampPixel(std::int64_t pixel);

/// A real position rounded to a pixel of the pixel range (halves to the even
/// neighbour, as Round); not a number is 0, the infinities the range's ends.
int ToPixel(long double position);

}  // namespace tarvela
