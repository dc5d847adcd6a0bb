#include "tarvela/runtime/date_time.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tarvela/runtime/exceptions.h"

namespace tarvela {
namespace {

struct Date {
  int year = 0;
  int month = 0;
  int day = 0;
  bool operator==(const Date&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Date& d) {
  return out << d.year << '-' << d.month << '-' << d.day;
}

Date Decoded(TDateTime value) {
  Date d;
  DecodeDate(value, d.year, d.month, d.day);
  return d;
}

struct Time {
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
  bool operator==(const Time&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Time& t) {
  return out << t.hour << ':' << t.minute << ':' << t.second << '.' << t.millisecond;
}

Time DecodedTime(TDateTime value) {
  Time t;
  DecodeTime(value, t.hour, t.minute, t.second, t.millisecond);
  return t;
}

TEST(Calendar, KnowsLeapYearsAndMonthLengths) {
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_TRUE(IsLeapYear(2024));
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_FALSE(IsLeapYear(2023));
  EXPECT_EQ(DaysInMonth(2024, 2), 29);
  EXPECT_EQ(DaysInMonth(1900, 2), 28);
  EXPECT_EQ(DaysInMonth(2001, 4), 30);
  EXPECT_EQ(DaysInMonth(2001, 12), 31);
  EXPECT_EQ(DaysInMonth(2001, 13), 0);
}

TEST(EncodeDate, CountsDaysFromTheLastDaysOf1899) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(EncodeDate(1899, 12, 31), 1.0);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
  EXPECT_EQ(EncodeDate(1900, 3, 1), 61.0);  // 1900 has no 29 February
  EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
  EXPECT_EQ(EncodeDate(1899, 12, 29), -1.0);
  EXPECT_EQ(EncodeDate(1, 1, 1), -693593.0);
  EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465.0);
}

TEST(EncodeDate, RefusesDatesNotInTheCalendar) {
  TDateTime value = 123;
  EXPECT_FALSE(TryEncodeDate(2023, 2, 29, value));
  EXPECT_FALSE(TryEncodeDate(2001, 4, 31, value));
  EXPECT_FALSE(TryEncodeDate(2001, 0, 1, value));
  EXPECT_FALSE(TryEncodeDate(2001, 13, 1, value));
  EXPECT_FALSE(TryEncodeDate(2001, 1, 0, value));
  EXPECT_FALSE(TryEncodeDate(0, 1, 1, value));
  EXPECT_FALSE(TryEncodeDate(10000, 1, 1, value));
  EXPECT_EQ(value, 123);
  EXPECT_TRUE(TryEncodeDate(2024, 2, 29, value));
  try {
    EncodeDate(2023, 2, 29);
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "Invalid argument to date encode");
  }
}

TEST(DecodeDate, RoundTripsEveryDayOfFourCenturiesAndTheCalendarEnds) {
  // 1800..2199 holds the century rules (1900 and 2100 not leap, 2000 leap).
  TDateTime expected = EncodeDate(1800, 1, 1);
  for (int year = 1800; year < 2200; ++year) {
    for (int month = 1; month <= 12; ++month) {
      for (int day = 1; day <= DaysInMonth(year, month); ++day) {
        ASSERT_EQ(EncodeDate(year, month, day), expected) << year << '-' << month << '-' << day;
        ASSERT_EQ(Decoded(expected), (Date{year, month, day}));
        expected += 1;
      }
    }
  }
  EXPECT_EQ(Decoded(EncodeDate(1, 1, 1)), (Date{1, 1, 1}));
  EXPECT_EQ(Decoded(EncodeDate(9999, 12, 31)), (Date{9999, 12, 31}));
  EXPECT_EQ(Decoded(EncodeDate(1600, 2, 29)), (Date{1600, 2, 29}));
}

TEST(DecodeDate, GivesZerosOutsideTheCalendar) {
  EXPECT_EQ(Decoded(EncodeDate(1, 1, 1) - 1), (Date{0, 0, 0}));
  EXPECT_EQ(Decoded(EncodeDate(9999, 12, 31) + 1), (Date{0, 0, 0}));
  EXPECT_EQ(Decoded(std::nan("")), (Date{0, 0, 0}));
  EXPECT_EQ(Decoded(INFINITY), (Date{0, 0, 0}));
  EXPECT_EQ(DayOfWeek(1e12), 0);
}

TEST(DateTime, SplitsAValueIntoDayAndTimeOfDay) {
  const TDateTime value = EncodeDate(2001, 6, 15) + EncodeTime(10, 0, 0, 0);
  EXPECT_DOUBLE_EQ(value, 37057.0 + 10.0 / 24.0);
  EXPECT_EQ(Decoded(value), (Date{2001, 6, 15}));
  EXPECT_EQ(DecodedTime(value), (Time{10, 0, 0, 0}));
  EXPECT_EQ(DateOf(value), 37057.0);
  EXPECT_EQ(DecodedTime(EncodeTime(23, 59, 59, 999)), (Time{23, 59, 59, 999}));
  EXPECT_EQ(DecodedTime(EncodeTime(0, 0, 0, 1)), (Time{0, 0, 0, 1}));
}

TEST(DateTime, TakesTheTimeOfANegativeValueFromItsAbsoluteValue) {
  // -1.25: day -1 (29 December 1899) at 06:00, not 18:00 of 28 December.
  EXPECT_EQ(Decoded(-1.25), (Date{1899, 12, 29}));
  EXPECT_EQ(DecodedTime(-1.25), (Time{6, 0, 0, 0}));
  EXPECT_EQ(DateOf(-1.25), -1.0);
  EXPECT_EQ(Decoded(-0.5), (Date{1899, 12, 30}));
  EXPECT_EQ(DecodedTime(-0.5), (Time{12, 0, 0, 0}));
  EXPECT_EQ(Decoded(-700.75), Decoded(-700.0));
  EXPECT_EQ(DecodedTime(-700.75), (Time{18, 0, 0, 0}));
}

TEST(DateTime, RoundsTheTimeToMillisecondsAndCarriesMidnightToTheNextDay) {
  const TDateTime justBeforeMidnight = 100.0 + 0.9999999999;  // 23:59:59.99999
  EXPECT_EQ(DecodedTime(justBeforeMidnight), (Time{0, 0, 0, 0}));
  EXPECT_EQ(Decoded(justBeforeMidnight), Decoded(101.0));
  EXPECT_EQ(DateOf(justBeforeMidnight), 101.0);
  // Negative: 29 December 23:59:59.99999 becomes 30 December (day 0).
  EXPECT_EQ(Decoded(-1.9999999999), (Date{1899, 12, 30}));
  // 1.5 ms rounds to 2 ms; the third of a day to 08:00 exactly.
  EXPECT_EQ(DecodedTime(1.5 / 86400000.0).millisecond, 2);
  EXPECT_EQ(DecodedTime(1.0 / 3.0), (Time{8, 0, 0, 0}));
}

TEST(EncodeTime, RefusesTimesOutOfRange) {
  TDateTime value = 0;
  EXPECT_FALSE(TryEncodeTime(24, 0, 0, 0, value));
  EXPECT_FALSE(TryEncodeTime(0, 60, 0, 0, value));
  EXPECT_FALSE(TryEncodeTime(0, 0, 60, 0, value));
  EXPECT_FALSE(TryEncodeTime(0, 0, 0, 1000, value));
  EXPECT_FALSE(TryEncodeTime(-1, 0, 0, 0, value));
  EXPECT_THROW(EncodeTime(25, 0, 0, 0), EConvertError);
  EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
}

TEST(DayOfWeek, CountsFromSunday) {
  EXPECT_EQ(DayOfWeek(0), 7);                           // 30 December 1899, a Saturday
  EXPECT_EQ(DayOfWeek(EncodeDate(2001, 6, 15)), 6);     // a Friday
  EXPECT_EQ(DayOfWeek(EncodeDate(2024, 3, 3) + 0.9), 1);  // a Sunday evening
  EXPECT_EQ(DayOfWeek(EncodeDate(1, 1, 1)), 2);         // a Monday
  EXPECT_EQ(DayOfWeek(-1.5), 6);
}

TEST(IncMonth, ClampsTheDayToTheTargetMonth) {
  EXPECT_EQ(IncMonth(EncodeDate(2001, 1, 31)), EncodeDate(2001, 2, 28));
  EXPECT_EQ(IncMonth(EncodeDate(2004, 1, 31)), EncodeDate(2004, 2, 29));
  EXPECT_EQ(IncMonth(EncodeDate(2001, 3, 31), -1), EncodeDate(2001, 2, 28));
  EXPECT_EQ(IncMonth(EncodeDate(2001, 5, 31), 1), EncodeDate(2001, 6, 30));
}

TEST(IncMonth, CrossesYearsBothWaysAndKeepsTheTimeOfDay) {
  EXPECT_EQ(IncMonth(EncodeDate(2001, 11, 15), 3), EncodeDate(2002, 2, 15));
  EXPECT_EQ(IncMonth(EncodeDate(2001, 1, 10), -1), EncodeDate(2000, 12, 10));
  EXPECT_EQ(IncMonth(EncodeDate(2001, 1, 10), -25), EncodeDate(1998, 12, 10));
  EXPECT_EQ(IncMonth(EncodeDate(2001, 6, 15), 0), EncodeDate(2001, 6, 15));
  const TDateTime morning = EncodeDate(2001, 6, 15) + EncodeTime(10, 0, 0, 0);
  EXPECT_DOUBLE_EQ(IncMonth(morning, 12), EncodeDate(2002, 6, 15) + EncodeTime(10, 0, 0, 0));
  // Before day 0 the time still counts toward the absolute value.
  const TDateTime old = EncodeDate(1899, 10, 1) - EncodeTime(6, 0, 0, 0);
  EXPECT_DOUBLE_EQ(IncMonth(old, 1), EncodeDate(1899, 11, 1) - EncodeTime(6, 0, 0, 0));
  EXPECT_DOUBLE_EQ(IncMonth(old, 3), EncodeDate(1900, 1, 1) + EncodeTime(6, 0, 0, 0));
  EXPECT_THROW(IncMonth(EncodeDate(9999, 12, 1), 1), EConvertError);
}

}  // namespace
}  // namespace tarvela
