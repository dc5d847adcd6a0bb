#include "tarvela/runtime/number_text.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "tarvela/runtime/exceptions.h"

namespace tarvela {
namespace {

const LocaleSettings kDot = LocaleSettings::Dot();
const LocaleSettings kComma = LocaleSettings::Comma();

LocaleSettings ArabicSeparator() {
  LocaleSettings locale;
  locale.decimalSeparator = U'\u066B';
  return locale;
}

std::string Fixed(double v, const LocaleSettings& locale = kDot) { return FloatToStrFixed(v, locale); }

bool Reads(std::string_view text, const LocaleSettings& locale = kDot) {
  long double value = 0.0L;
  return TryTextToFloat(text, value, locale);
}

long double Read(std::string_view text, const LocaleSettings& locale = kDot) {
  return TextToFloat(text, locale);
}

TEST(IntToStr, WritesPlainDecimalDigits) {
  EXPECT_EQ(IntToStr(0), "0");
  EXPECT_EQ(IntToStr(-42), "-42");
  EXPECT_EQ(IntToStr(1234567), "1234567");
  EXPECT_EQ(IntToStr(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
  EXPECT_EQ(IntToStr(std::numeric_limits<std::int64_t>::max()), "9223372036854775807");
}

TEST(FixedText, KeepsFourSignificantDigitsPaddedToFourDecimals) {
  EXPECT_EQ(Fixed(1.23456), "1.2350");
  EXPECT_EQ(Fixed(0.12345), "0.1235");
  EXPECT_EQ(Fixed(1234.5), "1235.0000");
  EXPECT_EQ(Fixed(100), "100.0000");
  EXPECT_EQ(Fixed(1), "1.0000");
  EXPECT_EQ(Fixed(-0.5), "-0.5000");
}

TEST(FixedText, CutsAtTheFourthDecimal) {
  EXPECT_EQ(Fixed(0.00005), "0.0001");
  EXPECT_EQ(Fixed(0.0123456), "0.0123");
  EXPECT_EQ(Fixed(-0.0012), "-0.0012");
}

TEST(FixedText, RoundsTheExactBinaryValue) {
  // 0.00015 is stored as 1.4999999999999998...e-4, so it rounds down.
  EXPECT_EQ(Fixed(0.00015), "0.0001");
  // 0.99995 is stored slightly above its decimal text and carries into a new digit.
  EXPECT_EQ(Fixed(0.99995), "1.0000");
}

TEST(FixedText, ZeroAndValuesRoundingToZeroHaveNoSign) {
  EXPECT_EQ(Fixed(0.0), "0.0000");
  EXPECT_EQ(Fixed(-0.0), "0.0000");
  EXPECT_EQ(Fixed(0.00004), "0.0000");
  EXPECT_EQ(Fixed(-0.00004), "0.0000");
  EXPECT_EQ(FloatToStrFixed(-1e-4000L, kDot), "0.0000");
}

TEST(FixedText, TakesScientificFormBeyondFourIntegerDigits) {
  EXPECT_EQ(Fixed(12345.678), "1.235E0004");
  EXPECT_EQ(Fixed(-12345.678), "-1.235E0004");
  EXPECT_EQ(Fixed(10000), "1E0004");
  EXPECT_EQ(Fixed(99999), "1E0005");
  EXPECT_EQ(Fixed(1e300), "1E0300");
  EXPECT_EQ(FloatToStrFixed(1.5e4000L, kDot), "1.5E4000");
}

TEST(FixedText, RoundingCanCarryIntoTheScientificForm) {
  EXPECT_EQ(Fixed(9999.5), "1E0004");
  EXPECT_EQ(Fixed(9999.4), "9999.0000");
}

TEST(FixedText, InfinitiesAndNan) {
  EXPECT_EQ(FloatToStrFixed(std::numeric_limits<long double>::infinity(), kDot), "INF");
  EXPECT_EQ(FloatToStrFixed(-std::numeric_limits<long double>::infinity(), kDot), "-INF");
  EXPECT_EQ(FloatToStrFixed(std::numeric_limits<long double>::quiet_NaN(), kDot), "NAN");
}

TEST(FixedText, UsesTheLocaleDecimalSeparator) {
  EXPECT_EQ(Fixed(-0.5, kComma), "-0,5000");
  EXPECT_EQ(Fixed(12345.678, kComma), "1,235E0004");
  EXPECT_EQ(Fixed(2.5, ArabicSeparator()), "2\xD9\xAB" "5000");
  // No grouping even where the locale has a thousands separator.
  EXPECT_EQ(Fixed(1234, kComma), "1234,0000");
}

TEST(TextToFloat, ReadsSignedDecimalsAmidBlanks) {
  EXPECT_EQ(Read("  2.5  "), 2.5L);
  EXPECT_EQ(Read("+3"), 3.0L);
  EXPECT_EQ(Read("-0.25"), -0.25L);
  EXPECT_EQ(Read("5."), 5.0L);
  EXPECT_EQ(Read(".5"), 0.5L);
  EXPECT_EQ(Read("."), 0.0L);
}

TEST(TextToFloat, ReadsExponents) {
  EXPECT_EQ(Read("1E2"), 100.0L);
  EXPECT_EQ(Read("1e-2"), 0.01L);
  EXPECT_EQ(Read("1e"), 1.0L);
  EXPECT_EQ(Read("1e-"), 1.0L);
}

TEST(TextToFloat, DividesByExactPowersOfTen) {
  // Each is the correctly rounded quotient of two exact values, as the literal is.
  EXPECT_EQ(Read("0.1"), 0.1L);
  EXPECT_EQ(Read("123.456"), 123.456L);
  EXPECT_EQ(Read("0.000000000000000000000000003"), 3e-27L);
}

TEST(TextToFloat, KeepsExtendedRange) {
  const long double big = Read("1e499");
  EXPECT_NEAR(static_cast<double>(big / 1e499L), 1.0, 1e-15);
  const long double tiny = Read("1e-4940");
  EXPECT_GT(tiny, 0.0L);
  EXPECT_LT(tiny, 1e-4930L);
  EXPECT_EQ(Read("0e4999"), 0.0L);
  EXPECT_EQ(Read("0." + std::string(6000, '0') + "1"), 0.0L);
}

TEST(TextToFloat, RejectsOverflow) {
  EXPECT_FALSE(Reads("1e4999"));
  EXPECT_FALSE(Reads(std::string(5000, '9')));
  EXPECT_FALSE(Reads("-" + std::string(5000, '9') + ".5"));
}

TEST(TextToFloat, StopsReadingTheExponentAtFiveHundred) {
  EXPECT_FALSE(Reads("1e5000"));
  EXPECT_FALSE(Reads("1e99999"));
  EXPECT_FALSE(Reads("1e-5000"));
  EXPECT_TRUE(Reads("1e-4999"));
}

TEST(TextToFloat, RejectsMalformedText) {
  for (const char* text : {"", " ", "-", "+", "2.5x", "x2.5", "e5", "--1", "1 000", "\t1", "1\t",
                           "1e5.", "1.2.3", "0x10", "1,000"}) {
    EXPECT_FALSE(Reads(text)) << '"' << text << '"';
  }
}

TEST(TextToFloat, AcceptsOnlyTheLocaleDecimalSeparator) {
  EXPECT_FALSE(Reads("2,5", kDot));
  EXPECT_EQ(Read("2,5", kComma), 2.5L);
  EXPECT_FALSE(Reads("2.5", kComma));
  EXPECT_EQ(Read("2\xD9\xAB" "5", ArabicSeparator()), 2.5L);
  EXPECT_FALSE(Reads("2.5", ArabicSeparator()));
  EXPECT_FALSE(Reads("2\xD9", ArabicSeparator()));
}

TEST(TextToFloat, FailureNamesTheWholeText) {
  try {
    Read("abc");
    ADD_FAILURE();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'abc' is not a valid floating point value");
  }
  try {
    Read("");
    ADD_FAILURE();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'' is not a valid floating point value");
  }
  try {
    Read(" 1e4999 ");
    ADD_FAILURE();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "' 1e4999 ' is not a valid floating point value");
  }
}

TEST(TextToFloat, LeavesTheFloatStatusFlagsAsFound) {
  std::feclearexcept(FE_ALL_EXCEPT);
  EXPECT_FALSE(Reads("1e4999"));
  EXPECT_FALSE(Reads(std::string(5000, '9')));
  EXPECT_EQ(std::fetestexcept(FE_OVERFLOW | FE_INVALID | FE_DIVBYZERO), 0);
  std::feraiseexcept(FE_DIVBYZERO);
  EXPECT_TRUE(Reads("0.1"));
  EXPECT_NE(std::fetestexcept(FE_DIVBYZERO), 0);
  std::feclearexcept(FE_ALL_EXCEPT);
}

}  // namespace
}  // namespace tarvela
