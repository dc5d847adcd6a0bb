#pragma once
/// The calendar side of date-time axes: the table of label increments (seconds up to
/// a year), the climb from one increment to the next, and stepping a date by calendar
/// periods (half months, months, years) so that labels fall on the 1st or 15th of a
/// month rather than every 30 days.
///
/// Pure functions of their arguments; the axis decides when a step is exact.
/// @file
#include <array>

#include "tarvela/runtime/date_time.h"

namespace tarvela {

inline constexpr double kOneSecond = 1.0 / 86400.0;

/// Calendar increments in days, indexed 0 to 24. Indexes 18 to 24 are the calendar
/// periods: half month, month, two, three, four months, half year, year.
inline constexpr std::array<double, 25> CalendarStepTable = {
    1.0 / 86400.0,  5.0 / 86400.0,  10.0 / 86400.0, 15.0 / 86400.0, 30.0 / 86400.0,  // seconds
    1.0 / 1440.0,   5.0 / 1440.0,   10.0 / 1440.0,  15.0 / 1440.0,  30.0 / 1440.0,   // minutes
    1.0 / 24.0,     2.0 / 24.0,     0.25,           0.5,                             // hours
    1.0,            2.0,            3.0,            7.0,                             // days
    15.0,           30.0,           60.0,           90.0,           120.0, 182.0, 365.0};

/// The index that names no calendar step.
inline constexpr int kNoCalendarStep = 25;
inline constexpr int kHalfMonthStep = 18;
inline constexpr int kMonthStep = 19;
inline constexpr int kYearStep = 24;

/// The table entry after the largest of entries 0 to 23 not above step; 365 days from
/// 182 days on. Below one second (or not a number) the answer is one second.
double NextCalendarStep(double step);

/// The first index, from 24 down, whose entry lies within one second of increment;
/// kNoCalendarStep when none does.
int CalendarStepIndex(double increment);

/// date at midnight, moved back to the start of its calendar period for indexes 18
/// (1st or 15th), 19 to 23 (1st) and 24 (1 January). Dates on or before 1 January
/// 1900, and values outside the calendar, come back unchanged.
TDateTime RoundToCalendarStep(int index, TDateTime date);

/// Moves value one label down (up when increase): by calendar periods to midnight of
/// the new date when exact and index is 18 to 24, else by increment.
void StepDateTime(bool exact, bool increase, TDateTime& value, int index, double increment);

}  // namespace tarvela
