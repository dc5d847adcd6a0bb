#include "tarvela/runtime/float_checks.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <string>

#include "tarvela/runtime/exceptions.h"

namespace tarvela {
namespace {

template <typename E, typename F>
void ExpectFault(F&& compute, const std::string& message) {
  try {
    compute();
    ADD_FAILURE() << "no fault, expected: " << message;
  } catch (const E& e) {
    EXPECT_EQ(e.Message(), message);
  }
}

TEST(FloatChecks, ReportsEachFaultWithItsMessage) {
  FloatFaultScope scope;
  ExpectFault<EZeroDivide>([] { FDiv(1.0L, 0.0L); }, "Floating point division by zero");
  ExpectFault<EInvalidOp>([] { FDiv(0.0L, 0.0L); }, "Invalid floating point operation");
  ExpectFault<EOverflow>([] { FMul(1e4000L, 1e4000L); }, "Floating point overflow");
}

TEST(FloatChecks, LogarithmOfZeroDividesByZeroAndOfNegativeIsInvalid) {
  FloatFaultScope scope;
  ExpectFault<EZeroDivide>([] { FLn(0.0L); }, "Floating point division by zero");
  ExpectFault<EInvalidOp>([] { FLn(-1.0L); }, "Invalid floating point operation");
  EXPECT_NEAR(static_cast<double>(FLn(std::exp(2.0L))), 2.0, 1e-15);
}

TEST(FloatChecks, ExponentialOverflowsButUnderflowsSilently) {
  FloatFaultScope scope;
  ExpectFault<EOverflow>([] { FExp(20000.0L); }, "Floating point overflow");
  long double tiny = -1.0L;
  EXPECT_NO_THROW(tiny = FExp(-20000.0L));
  EXPECT_EQ(tiny, 0.0L);
  // Extended precision goes well below the double range without underflowing to 0.
  EXPECT_GT(FExp(-1000.0L), 0.0L);
}

TEST(FloatChecks, StoreDoubleOverflowsBeyondDoubleRange) {
  FloatFaultScope scope;
  ExpectFault<EOverflow>([] { StoreDouble(1e400L); }, "Floating point overflow");
  ExpectFault<EOverflow>([] { StoreDouble(-1e400L); }, "Floating point overflow");
  EXPECT_EQ(StoreDouble(1e300L), 1e300);
  // 1 + 2^-60 is exact in extended but lies within half a double ulp of 1.
  EXPECT_EQ(StoreDouble(1.0L + 0x1p-60L), 1.0);
}

TEST(FloatChecks, StoreDoubleUnderflowsToZeroOrDenormalSilently) {
  FloatFaultScope scope;
  double stored = -1.0;
  EXPECT_NO_THROW(stored = StoreDouble(1e-400L));
  EXPECT_EQ(stored, 0.0);
  EXPECT_NO_THROW(stored = StoreDouble(1e-310L));
  EXPECT_EQ(std::fpclassify(stored), FP_SUBNORMAL);
}

TEST(FloatChecks, SeveralFlagsAtOnceReportInvalidThenZeroDivideThenOverflow) {
  FloatFaultScope scope;
  std::feraiseexcept(FE_OVERFLOW | FE_DIVBYZERO | FE_INVALID);
  EXPECT_THROW(CheckFloatFlags(), EInvalidOp);
  std::feraiseexcept(FE_OVERFLOW | FE_DIVBYZERO);
  EXPECT_THROW(CheckFloatFlags(), EZeroDivide);
  std::feraiseexcept(FE_OVERFLOW);
  EXPECT_THROW(CheckFloatFlags(), EOverflow);
}

TEST(FloatChecks, ThrowingClearsTheFlagsSoTheFaultIsReportedOnce) {
  FloatFaultScope scope;
  std::feraiseexcept(FE_OVERFLOW | FE_INVALID);
  EXPECT_THROW(CheckFloatFlags(), EInvalidOp);
  EXPECT_NO_THROW(CheckFloatFlags());
}

TEST(FloatChecks, ReportsTheFirstFaultOfAComputation) {
  FloatFaultScope scope;
  // inf - inf would be invalid, and invalid outranks overflow when both flags
  // are raised; checking each step reports the overflow that came first.
  ExpectFault<EOverflow>(
      [] {
        const long double huge = FMul(1e4000L, 1e4000L);
        FSub(huge, huge);
      },
      "Floating point overflow");
}

TEST(FloatChecks, UnderflowAndInexactAreNotFaults) {
  FloatFaultScope scope;
  std::feraiseexcept(FE_UNDERFLOW | FE_INEXACT);
  EXPECT_NO_THROW(CheckFloatFlags());
  EXPECT_EQ(Checked(FDiv(1.0L, 3.0L) * 3.0L), 1.0L);
}

TEST(FloatChecks, ScopeDiscardsFlagsRaisedBeforeIt) {
  std::feraiseexcept(FE_DIVBYZERO);
  FloatFaultScope scope;
  EXPECT_EQ(FAdd(1.0L, 2.0L), 3.0L);
}

}  // namespace
}  // namespace tarvela
