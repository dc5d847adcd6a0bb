#pragma once
// Conversions of real values to integers, and scaling of integers.

#include <cstdint>

namespace tarvela {

// Nearest integer; a value exactly halfway goes to the even neighbour.
// NaN, an infinity or a result outside the int64 range is an EInvalidOp.
std::int64_t Round(long double v);

// The integer part, toward zero; fails as Round does.
std::int64_t Trunc(long double v);

// a*b/c with a 64-bit intermediate, rounded to nearest with halves away from
// zero. Returns -1 when c is 0 or the result does not fit in an int.
int MulDiv(int a, int b, int c);

}  // namespace tarvela
