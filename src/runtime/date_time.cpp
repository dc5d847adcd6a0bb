#include "tarvela/runtime/date_time.h"

#include <cmath>
#include <cstdint>

#include "tarvela/runtime/exceptions.h"

namespace tarvela {

namespace {

constexpr std::int64_t kMsPerDay = 86'400'000;

// Day numbers of 1 January 0001 and 31 December 9999.
constexpr std::int64_t kFirstDay = -693'593;
constexpr std::int64_t kLastDay = 2'958'465;

// Days from 1 January 1970 to 30 December 1899.
constexpr std::int64_t kEpochShift = -25'569;

// Days since 1 January 1970 of a proleptic Gregorian date, counted in 400-year
// eras of 146097 days so that only integer arithmetic is involved.
std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day) {
  year -= month <= 2 ? 1 : 0;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const auto yearOfEra = static_cast<unsigned>(year - era * 400);
  const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146'097 + static_cast<std::int64_t>(dayOfEra) - 719'468;
}

void CivilFromDays(std::int64_t days, int& year, int& month, int& day) {
  days += 719'468;
  const std::int64_t era = (days >= 0 ? days : days - 146'096) / 146'097;
  const auto dayOfEra = static_cast<unsigned>(days - era * 146'097);
  const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36'524 - dayOfEra / 146'096) / 365;
  const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const unsigned shifted = (5 * dayOfYear + 2) / 153;  // March = 0
  day = static_cast<int>(dayOfYear - (153 * shifted + 2) / 5 + 1);
  month = static_cast<int>(shifted < 10 ? shifted + 3 : shifted - 9);
  year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

bool IsValidDate(int year, int month, int day) {
  return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= DaysInMonth(year, month);
}

// A day number and a time of day back into a value; before day 0 the time of
// day is subtracted, as the fraction of a negative value counts toward its
// absolute value.
TDateTime Compose(std::int64_t dayNumber, std::int64_t msOfDay) {
  const double fraction = static_cast<double>(msOfDay) / static_cast<double>(kMsPerDay);
  const auto day = static_cast<double>(dayNumber);
  return dayNumber < 0 ? day - fraction : day + fraction;
}

bool SplitDateTime(TDateTime value, std::int64_t& dayNumber, std::int64_t& msOfDay) {
  if (!std::isfinite(value)) return false;
  const double whole = std::trunc(value);
  if (whole < static_cast<double>(kFirstDay) || whole > static_cast<double>(kLastDay)) return false;
  dayNumber = static_cast<std::int64_t>(whole);
  // value - whole is exact; rounding the time of day on its own keeps a
  // negative value's day from moving when its time rounds.
  msOfDay = std::llround(std::fabs(value - whole) * static_cast<double>(kMsPerDay));
  if (msOfDay == kMsPerDay) {
    // 23:59:59.9995 or later is midnight of the next calendar day, which for a
    // negative value is the day number one nearer to zero, too.
    if (dayNumber == kLastDay) {
      msOfDay = kMsPerDay - 1;
    } else {
      ++dayNumber;
      msOfDay = 0;
    }
  }
  return true;
}

}  // namespace

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool TryEncodeDate(int year, int month, int day, TDateTime& value) {
  if (!IsValidDate(year, month, day)) return false;
  value = static_cast<double>(DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
                              kEpochShift);
  return true;
}

TDateTime EncodeDate(int year, int month, int day) {
  TDateTime value = 0;
  if (!TryEncodeDate(year, month, day, value)) throw EConvertError(messages::kInvalidDateEncode);
  return value;
}

void DecodeDate(TDateTime value, int& year, int& month, int& day) {
  std::int64_t dayNumber = 0;
  std::int64_t msOfDay = 0;
  if (!SplitDateTime(value, dayNumber, msOfDay)) {
    year = month = day = 0;
    return;
  }
  CivilFromDays(dayNumber + kEpochShift, year, month, day);
}

bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& value) {
  if (hour < 0 || hour >= 24 || minute < 0 || minute >= 60 || second < 0 || second >= 60 || millisecond < 0 ||
      millisecond >= 1000)
    return false;
  const std::int64_t ms = ((hour * 60LL + minute) * 60 + second) * 1000 + millisecond;
  value = static_cast<double>(ms) / static_cast<double>(kMsPerDay);
  return true;
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond) {
  TDateTime value = 0;
  if (!TryEncodeTime(hour, minute, second, millisecond, value)) throw EConvertError(messages::kInvalidTimeEncode);
  return value;
}

void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond) {
  std::int64_t dayNumber = 0;
  std::int64_t ms = 0;
  if (!SplitDateTime(value, dayNumber, ms)) ms = 0;
  millisecond = static_cast<int>(ms % 1000);
  ms /= 1000;
  second = static_cast<int>(ms % 60);
  ms /= 60;
  minute = static_cast<int>(ms % 60);
  hour = static_cast<int>(ms / 60);
}

int DayOfWeek(TDateTime value) {
  std::int64_t dayNumber = 0;
  std::int64_t msOfDay = 0;
  if (!SplitDateTime(value, dayNumber, msOfDay)) return 0;
  // Day 0 was a Saturday (7).
  const std::int64_t fromSunday = ((dayNumber + 6) % 7 + 7) % 7;
  return static_cast<int>(fromSunday) + 1;
}

TDateTime DateOf(TDateTime value) {
  std::int64_t dayNumber = 0;
  std::int64_t msOfDay = 0;
  if (!SplitDateTime(value, dayNumber, msOfDay)) return std::trunc(value);
  return static_cast<double>(dayNumber);
}

TDateTime IncMonth(TDateTime value, int months) {
  std::int64_t dayNumber = 0;
  std::int64_t msOfDay = 0;
  if (!SplitDateTime(value, dayNumber, msOfDay)) throw EConvertError(messages::kInvalidDateEncode);
  int year = 0;
  int month = 0;
  int day = 0;
  CivilFromDays(dayNumber + kEpochShift, year, month, day);
  const std::int64_t monthIndex = static_cast<std::int64_t>(year) * 12 + (month - 1) + months;
  const std::int64_t newYear = monthIndex >= 0 ? monthIndex / 12 : (monthIndex - 11) / 12;
  const int newMonth = static_cast<int>(monthIndex - newYear * 12) + 1;
  if (newYear < 1 || newYear > 9999) throw EConvertError(messages::kInvalidDateEncode);
  const int year32 = static_cast<int>(newYear);
  if (day > DaysInMonth(year32, newMonth)) day = DaysInMonth(year32, newMonth);
  return Compose(static_cast<std::int64_t>(EncodeDate(year32, newMonth, day)), msOfDay);
}

}  // namespace tarvela
