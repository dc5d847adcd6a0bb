#pragma once
/// Date-time values: days counted from 30 December 1899 00:00 as a double, the
/// fraction the time of day.
///
/// Negative values (before that day) follow the common desktop convention: the
/// integer part is the day and the fraction, taken from the absolute value, is
/// still the time of day. So -1.25 is 29 December 1899 06:00 (not 18:00), and
/// -0.5 is 30 December 1899 12:00, the same as 0.5.
///
/// The calendar is the proleptic Gregorian one for years 1 to 9999. The day part
/// is computed with exact integer arithmetic; the time of day is rounded to the
/// nearest millisecond (a time that rounds to 24:00 becomes the next day).
/// @file
namespace tarvela {

using TDateTime = double;

bool IsLeapYear(int year);

/// Days in the month (1..12) of the year; 0 for a month out of range.
int DaysInMonth(int year, int month);

/// Fails with EConvertError ("Invalid argument to date encode") for a date not in
/// the calendar (year 1..9999, month 1..12, day 1..DaysInMonth).
TDateTime EncodeDate(int year, int month, int day);
bool TryEncodeDate(int year, int month, int day, TDateTime& value);

/// A value that is not finite or whose day lies outside years 1..9999 gives
/// year = month = day = 0.
void DecodeDate(TDateTime value, int& year, int& month, int& day);

/// The fraction of a day for the time; fails with EConvertError ("Invalid
/// argument to time encode") unless hour < 24, minute < 60, second < 60 and
/// millisecond < 1000.
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);
bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& value);

/// A value outside the calendar gives 00:00:00.000.
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond);

/// 1 = Sunday ... 7 = Saturday; 0 for a value outside the calendar.
int DayOfWeek(TDateTime value);

/// Midnight of the value's day: the integer part, one day further when the time
/// of day rounds up to 24:00.
TDateTime DateOf(TDateTime value);

/// The same day and time of day `months` months later (earlier when negative);
/// the day is clamped to the last day of the target month (31 January + 1 month
/// is the end of February). Fails with EConvertError ("Invalid argument to date
/// encode") when the value or the result lies outside the calendar.
TDateTime IncMonth(TDateTime value, int months = 1);

}  // namespace tarvela
