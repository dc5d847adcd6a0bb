#pragma once
/// Floating-point fault detection. The solver computes in extended precision
/// (long double) with every floating-point exception masked; after each
/// operation that can fault it tests the status flags and throws the fault as
/// EInvalidOp, EZeroDivide or EOverflow. Underflow and inexact results are
/// never faults. Checking after every operation reports the first fault of a
/// computation, as a trap would, rather than whichever flag survives to the end.
/// @file
#include <cmath>

namespace tarvela {

/// Clears every floating-point status flag.
void ClearFloatFlags();

/// Throws for a raised fault flag and clears the fault flags first, so the
/// handler can go on computing. Several flags raised by one operation report
/// as one fault: invalid operation before division by zero before overflow.
void CheckFloatFlags();

/// Keeps the compiler from moving arithmetic that produces or consumes `value`
/// across this point, or from folding it away: the flag test must see the
/// flags of exactly the operations before it.
inline void FloatBarrier(long double& value) { __asm__ __volatile__("" : "+m"(value)::"memory"); }
inline void FloatBarrier(double& value) { __asm__ __volatile__("" : "+m"(value)::"memory"); }

/// Makes sure `value` has been computed, then checks the flags.
inline long double Checked(long double value) {
  FloatBarrier(value);
  CheckFloatFlags();
  return value;
}

/// Rounds an extended value to a double as storing it would. A value beyond
/// the double range is an overflow; a value too small becomes a denormal or 0
/// without complaint.
inline double StoreDouble(long double value) {
  FloatBarrier(value);
  double stored = static_cast<double>(value);
  FloatBarrier(stored);
  CheckFloatFlags();
  return stored;
}

/// Checked operations: computed in extended precision, flags tested at once.
/// The operands pass a barrier too, so the operation cannot be scheduled ahead
/// of an earlier flag test or clear.
inline long double FAdd(long double a, long double b) {
  FloatBarrier(a);
  FloatBarrier(b);
  return Checked(a + b);
}
inline long double FSub(long double a, long double b) {
  FloatBarrier(a);
  FloatBarrier(b);
  return Checked(a - b);
}
inline long double FMul(long double a, long double b) {
  FloatBarrier(a);
  FloatBarrier(b);
  return Checked(a * b);
}
inline long double FDiv(long double a, long double b) {
  FloatBarrier(a);
  FloatBarrier(b);
  return Checked(a / b);
}
/// ln 0 is a division by zero, ln of a negative number an invalid operation.
inline long double FLn(long double x) {
  FloatBarrier(x);
  return Checked(std::log(x));
}
/// Too large an argument overflows; a very negative one underflows to 0 silently.
inline long double FExp(long double x) {
  FloatBarrier(x);
  return Checked(std::exp(x));
}

/// Clears the flags on entry, so a flag left raised by unrelated code (a
/// library call, an earlier handled fault) never shows as this computation's fault.
class FloatFaultScope {
 public:
  FloatFaultScope() { ClearFloatFlags(); }
  FloatFaultScope(const FloatFaultScope&) = delete;
  FloatFaultScope& operator=(const FloatFaultScope&) = delete;
};

}  // namespace tarvela
