#include "tarvela/runtime/number_pattern.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "tarvela/runtime/exceptions.h"

namespace tarvela {
namespace {

const LocaleSettings kDot = LocaleSettings::Dot();
const LocaleSettings kComma = LocaleSettings::Comma();
constexpr const char* kValuePattern = "#,##0.###";

std::string Dot(std::string_view pattern, double value) { return FormatFloat(pattern, value, kDot); }
std::string Comma(std::string_view pattern, double value) { return FormatFloat(pattern, value, kComma); }

TEST(FormatFloat, WritesTheDefaultValuePatternInBothLocales) {
  EXPECT_EQ(Dot(kValuePattern, 1234.5), "1,234.5");
  EXPECT_EQ(Comma(kValuePattern, 1234.5), "1.234,5");
  EXPECT_EQ(Dot(kValuePattern, 0.25), "0.25");
  EXPECT_EQ(Comma(kValuePattern, 0.25), "0,25");
  EXPECT_EQ(Dot(kValuePattern, 2), "2");
  EXPECT_EQ(Comma(kValuePattern, 2), "2");
  EXPECT_EQ(Dot(kValuePattern, -0.5), "-0.5");
  EXPECT_EQ(Comma(kValuePattern, -0.5), "-0,5");
  EXPECT_EQ(Dot(kValuePattern, 0.0004), "0");
  EXPECT_EQ(Dot(kValuePattern, 1.23456), "1.235");
  EXPECT_EQ(Comma(kValuePattern, 1.23456), "1,235");
  EXPECT_EQ(Dot(kValuePattern, 0), "0");
}

// Axes write the same labels on every paint, and the texts are kept: asked again, in
// any order, under another separator or pattern, each is what it was the first time.
TEST(FormatFloat, TextsAskedAgainAreTheSameWhateverCameBetween) {
  LocaleSettings spaces = kDot;
  spaces.thousandSeparator = U' ';
  const std::vector<std::pair<std::string, double>> asks = {
      {kValuePattern, 1234.5}, {"0.00", 1234.5}, {kValuePattern, -0.0}, {kValuePattern, 0.0}, {"0.0;(0.0)", -2.25}};
  std::vector<std::string> first;
  for (const auto& [pattern, value] : asks) {
    first.push_back(Dot(pattern, value) + "|" + FormatFloat(pattern, value, spaces) + "|" + Comma(pattern, value));
  }
  EXPECT_EQ(first[0], "1,234.5|1 234.5|1.234,5");
  EXPECT_EQ(first[1], "1234.50|1234.50|1234,50");
  EXPECT_EQ(first[4], "(2.3)|(2.3)|(2,3)");
  for (int round = 0; round < 3; ++round) {
    for (std::size_t i = asks.size(); i-- > 0;) {
      const auto& [pattern, value] = asks[i];
      EXPECT_EQ(Dot(pattern, value) + "|" + FormatFloat(pattern, value, spaces) + "|" + Comma(pattern, value), first[i]);
    }
  }
}

TEST(FormatFloat, WritesTheDefaultPercentPattern) {
  EXPECT_EQ(Dot("##0.## %", 12.345), "12.35 %");
  EXPECT_EQ(Comma("##0.## %", 12.345), "12,35 %");
  EXPECT_EQ(Dot("##0.## %", 100), "100 %");
  EXPECT_EQ(Dot("##0.## %", 0), "0 %");
  EXPECT_EQ(Dot("##0.## %", -3.5), "-3.5 %");
}

TEST(FormatFloat, GroupsEveryThreeIntegerDigits) {
  EXPECT_EQ(Dot(kValuePattern, 1234567.891), "1,234,567.891");
  EXPECT_EQ(Comma(kValuePattern, 1234567.891), "1.234.567,891");
  EXPECT_EQ(Dot(kValuePattern, 999.9999), "1,000");
  EXPECT_EQ(Dot(kValuePattern, 100000), "100,000");
  EXPECT_EQ(Dot(kValuePattern, -1234567), "-1,234,567");
  EXPECT_EQ(Dot("0", 1234567), "1234567");  // no "," no grouping
  EXPECT_EQ(Dot("#,0", 1234), "1,234");
  // A "," outside the integer places is only text.
  EXPECT_EQ(Dot("0,", 1234), "1234,");
  EXPECT_EQ(Dot("0.0,0", 1.25), "1.2,5");
}

TEST(FormatFloat, PlacesDigitsByZerosAndHashes) {
  EXPECT_EQ(Dot("000", 7), "007");
  EXPECT_EQ(Dot("#", 0), "");
  EXPECT_EQ(Dot("#.##", 0.5), ".5");
  EXPECT_EQ(Dot("0.00", 2), "2.00");
  EXPECT_EQ(Dot("0.0#", 2), "2.0");
  EXPECT_EQ(Dot("0.0#", 2.125), "2.13");
  EXPECT_EQ(Dot("0.##", 2.1), "2.1");
  EXPECT_EQ(Dot("0.", 2.5), "3");
  EXPECT_EQ(Dot(".00", 12.5), "12.50");  // integer digits go where the point is
  EXPECT_EQ(Dot("0", 0.5), "1");
  EXPECT_EQ(Dot("0", 0.49), "0");
  // Only the first "." is the point; later ones are text between decimal places.
  EXPECT_EQ(Comma("0.0.0", 1.25), "1,2.5");
}

TEST(FormatFloat, WritesEveryIntegerDigitOfHugeValuesExactly) {
  EXPECT_EQ(Dot("0", 1e20), "100000000000000000000");
  EXPECT_EQ(Dot("0", 9007199254740993.0), "9007199254740992");
  const std::string huge = Dot("#,##0", 1e300);
  // 1e300 is stored as 1000000000000000052504760255204420248704...459400540160.
  EXPECT_EQ(huge.substr(0, 23), "1,000,000,000,000,000,0");
  EXPECT_EQ(huge.size(), 301u + 100u);  // 301 digits and 100 separators
  EXPECT_EQ(huge.substr(huge.size() - 7), "540,160");
}

TEST(FormatFloat, RoundsHalvesAwayFromZeroOnTheExactBinaryValue) {
  EXPECT_EQ(Dot("0.00", 0.125), "0.13");   // exactly half
  EXPECT_EQ(Dot("0.00", -0.125), "-0.13");
  EXPECT_EQ(Dot("0.00", 0.375), "0.38");
  EXPECT_EQ(Dot("0", 2.5), "3");
  EXPECT_EQ(Dot("0", -2.5), "-3");
  EXPECT_EQ(Dot("0.00", 1.005), "1.00");   // really 1.00499999999999989...
  EXPECT_EQ(Dot("0.00", 1.015), "1.01");   // really 1.01499999999999990...
  EXPECT_EQ(Dot("0.0", 0.05), "0.1");      // really 0.05000000000000000277...
  EXPECT_EQ(Dot("0.000", 0.0005), "0.001");
  EXPECT_EQ(Dot("0.00", 9.995), "9.99");   // really 9.99499999999999921...
  EXPECT_EQ(Dot("0.00", 9.9951), "10.00");
  EXPECT_EQ(Dot("0.###", 5e-324), "0");
}

TEST(FormatFloat, ChoosesSectionsAndFallsBackToTheFirst) {
  const char* three = "0.0;(0.0);'zero'";
  EXPECT_EQ(Dot(three, 1.25), "1.3");
  EXPECT_EQ(Dot(three, -1.25), "(1.3)");
  EXPECT_EQ(Dot(three, 0), "zero");
  // A value that rounds to zero is zero, in whichever section it started.
  EXPECT_EQ(Dot(three, 0.04), "zero");
  EXPECT_EQ(Dot(three, -0.04), "zero");
  // Absent or empty sections fall back to the first, which writes the sign.
  EXPECT_EQ(Dot("0.0", -1.25), "-1.3");
  EXPECT_EQ(Dot("0.0;", -1.25), "-1.3");
  EXPECT_EQ(Dot("0.0;;'zero'", -1.25), "-1.3");
  EXPECT_EQ(Dot("0.0;(0.0)", 0), "0.0");
  EXPECT_EQ(Dot("0.0;(0.0);", 0), "0.0");
  EXPECT_EQ(Dot("0.0;(0.0)", -0.04), "0.0");
  EXPECT_EQ(Dot(kValuePattern, -0.0004), "0");
  EXPECT_EQ(Dot(kValuePattern, -0.0), "0");
  // A ";" inside quotes separates nothing; sections beyond three are ignored.
  EXPECT_EQ(Dot("0' ; '0", 12), "1 ; 2");
  EXPECT_EQ(Dot("0;-0;z;w", -4), "-4");
}

TEST(FormatFloat, WritesExponents) {
  EXPECT_EQ(Dot("0.00E+00", 1234.5), "1.23E+03");
  EXPECT_EQ(Comma("0.00E+00", 1234.5), "1,23E+03");
  EXPECT_EQ(Dot("0.00E+00", 0.00012345), "1.23E-04");
  EXPECT_EQ(Dot("0.00E-00", 1234.5), "1.23E03");
  EXPECT_EQ(Dot("0.00e-0", 0.00012345), "1.23e-4");
  EXPECT_EQ(Dot("0.###E+0", 1.5e300), "1.5E+300");
  EXPECT_EQ(Dot("00.0E+0", 1234.5), "12.3E+2");
  EXPECT_EQ(Dot("0.00E+00", 9.999), "1.00E+01");  // the carry moves the exponent
  EXPECT_EQ(Dot("0.00E+00", 0), "0.00E+00");
  EXPECT_EQ(Dot("0.00E+00", -1234.5), "-1.23E+03");
  EXPECT_EQ(Dot("0.0E+0", 2.5e-7), "2.5E-7");
  // Without "0" after the sign, E is plain text.
  EXPECT_EQ(Dot("0E+", 5), "5E+");
  EXPECT_EQ(Dot("0E", 5), "5E");
}

TEST(FormatFloat, CopiesQuotedAndOtherText) {
  EXPECT_EQ(Dot("'#0.'0", 5), "#0.5");
  EXPECT_EQ(Dot("\"E+0\" 0", 5), "E+0 5");
  EXPECT_EQ(Dot("$#,##0.00", 1234.5), "$1,234.50");
  EXPECT_EQ(Dot("$#,##0.00", -1234.5), "-$1,234.50");
  EXPECT_EQ(Dot("0 kg", 3), "3 kg");
  EXPECT_EQ(Dot("0 'unclosed; 0", 3), "3 unclosed; 0");
  EXPECT_EQ(Dot("0 €", 3), "3 €");
  EXPECT_EQ(Dot("0 ''", 3), "3 ");
}

TEST(FormatFloat, RefusesPatternsOf225CharactersOrMore) {
  const std::string longest(224, '0');
  EXPECT_EQ(Dot(longest, 1), std::string(223, '0') + "1");
  try {
    Dot(std::string(225, '#'), 1);
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "Format string too long");
  }
  // Characters, not bytes: 224 two-byte characters are still accepted.
  std::string accented;
  for (int i = 0; i < 224; ++i) accented += "é";
  EXPECT_NO_THROW(Dot(accented, 1));
  EXPECT_THROW(Dot(accented + "é", 1), EConvertError);
  EXPECT_THROW(Dot(std::string(300, '0'), std::nan("")), EConvertError);
}

TEST(FormatFloat, WritesNonFiniteValuesAndEmptyPatternsPlainly) {
  EXPECT_EQ(Dot(kValuePattern, std::nan("")), "NAN");
  EXPECT_EQ(Dot(kValuePattern, INFINITY), "INF");
  EXPECT_EQ(Dot(kValuePattern, -INFINITY), "-INF");
  EXPECT_EQ(Dot("", 1234.5), "1234.5");
  EXPECT_EQ(Comma("", 1234.5), "1234,5");
  EXPECT_EQ(Dot("", 0.1), "0.1");
  EXPECT_EQ(Dot("", 1e20), "1E+20");
  EXPECT_EQ(Dot("", -0.0), "0");
  EXPECT_EQ(Dot(";(0)", 5), "5");
}

TEST(FormatDateTime, WritesDatesWithTheLocaleSeparator) {
  const TDateTime value = EncodeDate(2001, 6, 5) + EncodeTime(14, 7, 9, 45);
  EXPECT_EQ(FormatDateTime("dd/mm/yyyy", value, kDot), "05/06/2001");
  EXPECT_EQ(FormatDateTime("dd/mm/yyyy", value, kComma), "05.06.2001");
  EXPECT_EQ(FormatDateTime("d/m/yy", value, kDot), "5/6/01");
  EXPECT_EQ(FormatDateTime("ddd dddd mmm mmmm", value, kDot), "Tue Tuesday Jun June");
  EXPECT_EQ(FormatDateTime("DD-MMM-YYYY", value, kDot), "05-Jun-2001");
}

TEST(FormatDateTime, TellsMinutesFromMonthsAfterAnHour) {
  const TDateTime value = EncodeDate(2001, 6, 5) + EncodeTime(14, 7, 9, 45);
  LocaleSettings dotTime = kDot;
  dotTime.timeSeparator = U'.';
  EXPECT_EQ(FormatDateTime("hh:mm:ss", value, kDot), "14:07:09");
  EXPECT_EQ(FormatDateTime("hh:mm:ss", value, dotTime), "14.07.09");
  EXPECT_EQ(FormatDateTime("h:nn:ss.zzz", value, kDot), "14:07:09.045");
  EXPECT_EQ(FormatDateTime("s z", value, kDot), "9 45");
  EXPECT_EQ(FormatDateTime("mm hh mm", value, kDot), "06 14 07");
  EXPECT_EQ(FormatDateTime("hh' h 'mm", value, kDot), "14 h 07");
  EXPECT_EQ(FormatDateTime("hh dd mm", value, kDot), "14 05 06");
}

TEST(FormatDateTime, WritesTheHalfOfTheDayInThePatternsCase) {
  const TDateTime afternoon = EncodeDate(2001, 6, 5) + EncodeTime(14, 7, 0, 0);
  const TDateTime midnight = EncodeDate(2001, 6, 5);
  EXPECT_EQ(FormatDateTime("h:nn am/pm", afternoon, kDot), "2:07 pm");
  EXPECT_EQ(FormatDateTime("h:nn AM/PM", afternoon, kDot), "2:07 PM");
  EXPECT_EQ(FormatDateTime("hh:nn a/p", midnight, kDot), "12:00 a");
  EXPECT_EQ(FormatDateTime("h Am/Pm", midnight, kDot), "12 Am");
  EXPECT_EQ(FormatDateTime("h", afternoon, kDot), "14");
  EXPECT_EQ(FormatDateTime("'am/pm' h", afternoon, kDot), "am/pm 14");
}

TEST(FormatDateTime, WritesTheLocalesShortFormsForCAndT) {
  const TDateTime morning = EncodeDate(2001, 6, 15) + EncodeTime(10, 0, 0, 0);
  EXPECT_EQ(FormatDateTime("c", morning, kDot), "15/06/2001 10:00");
  EXPECT_EQ(FormatDateTime("c", EncodeDate(2001, 6, 15), kComma), "15.06.2001");
  EXPECT_EQ(FormatDateTime("ddddd", morning, kComma), "15.06.2001");
  EXPECT_EQ(FormatDateTime("t", morning, kDot), "10:00");
}

TEST(FormatDateTime, WritesNothingOutsideTheCalendar) {
  EXPECT_EQ(FormatDateTime("dd/mm/yyyy", std::nan(""), kDot), "");
  EXPECT_EQ(FormatDateTime("dd/mm/yyyy", 1e9, kDot), "");
  EXPECT_EQ(FormatDateTime("dd/mm/yyyy hh:nn", -1.25, kDot), "29/12/1899 06:00");
  EXPECT_EQ(FormatDateTime("yyyy", EncodeDate(33, 1, 1), kDot), "0033");
}

TEST(FormatLocaleDateTime, WritesTheToolkitsShortPatterns) {
  const TDateTime value = EncodeDate(2001, 6, 5) + EncodeTime(14, 7, 9, 500);
  EXPECT_EQ(FormatLocaleDateTime("dd/MM/yyyy", value), "05/06/2001");
  EXPECT_EQ(FormatLocaleDateTime("M/d/yy", value), "6/5/01");
  EXPECT_EQ(FormatLocaleDateTime("HH:mm", value), "14:07");
  EXPECT_EQ(FormatLocaleDateTime("h:mm AP", value), "2:07 PM");
  EXPECT_EQ(FormatLocaleDateTime("h:mm ap", EncodeTime(0, 5, 0, 0)), "12:05 am");
  EXPECT_EQ(FormatLocaleDateTime("h:mm", value), "14:07");  // no AP: 24 hours
  EXPECT_EQ(FormatLocaleDateTime("HH:mm:ss.zzz", value), "14:07:09.500");
  EXPECT_EQ(FormatLocaleDateTime("s.z", value), "9.5");
  EXPECT_EQ(FormatLocaleDateTime("dddd, d MMMM yyyy", value), "Tuesday, 5 June 2001");
  EXPECT_EQ(FormatLocaleDateTime("ddd MMM", value), "Tue Jun");
  EXPECT_EQ(FormatLocaleDateTime("yyyy'年'M'月'd'日'", value), "2001年6月5日");
  EXPECT_EQ(FormatLocaleDateTime("d 'o''clock' ''", value), "5 o'clock '");
  EXPECT_EQ(FormatLocaleDateTime("HH:mm t", value), "14:07 ");
}

}  // namespace
}  // namespace tarvela
