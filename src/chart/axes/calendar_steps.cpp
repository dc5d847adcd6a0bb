#include "tarvela/chart/axes/calendar_steps.h"

#include <algorithm>
#include <cmath>

namespace tarvela {

namespace {

// A calendar date split into its parts; ok is false for a value outside years 1 to
// 9999 (or not a number), which the calendar rules leave alone.
struct TCivilDate {
  int year = 0;
  int month = 0;
  int day = 0;
  bool ok = false;
};

TCivilDate Split(TDateTime value) {
  TCivilDate date;
  DecodeDate(value, date.year, date.month, date.day);
  date.ok = date.year != 0;
  return date;
}

// Midnight of the date; false when the year left the calendar. A day beyond the end
// of the month (29 February in a common year) is taken back to its last day.
bool Join(const TCivilDate& date, TDateTime& value) {
  const int day = std::min(date.day, DaysInMonth(date.year, date.month));
  return TryEncodeDate(date.year, date.month, day, value);
}

void MonthsBack(TCivilDate& date, int months) {
  if (months < date.month) {
    date.month -= months;
  } else {
    date.year -= 1;
    date.month += 12 - months;
  }
}

void MonthsForward(TCivilDate& date, int months) {
  date.month += months;
  if (date.month > 12) {
    date.year += 1;
    date.month -= 12;
  }
}

// Months of the calendar periods 19 to 23.
int PeriodMonths(int index) {
  static constexpr int kMonths[] = {1, 2, 3, 4, 6};
  return kMonths[index - kMonthStep];
}

}  // namespace

double NextCalendarStep(double step) {
  if (step >= CalendarStepTable[23]) return CalendarStepTable[kYearStep];
  for (int index = 22; index >= 0; --index)
    if (CalendarStepTable[static_cast<std::size_t>(index)] <= step)
      return CalendarStepTable[static_cast<std::size_t>(index) + 1];
  return CalendarStepTable[0];
}

int CalendarStepIndex(double increment) {
  for (int index = kYearStep; index >= 0; --index)
    if (std::fabs(CalendarStepTable[static_cast<std::size_t>(index)] - increment) < kOneSecond) return index;
  return kNoCalendarStep;
}

TDateTime RoundToCalendarStep(int index, TDateTime date) {
  static const TDateTime kFirstOf1900 = EncodeDate(1900, 1, 1);
  if (!(date > kFirstOf1900)) return date;
  TCivilDate civil = Split(date);
  if (!civil.ok) return date;
  if (index == kHalfMonthStep) {
    civil.day = civil.day < 15 ? 1 : 15;
  } else if (index >= kMonthStep && index < kYearStep) {
    civil.day = 1;
  } else if (index == kYearStep) {
    civil.day = 1;
    civil.month = 1;
  }
  TDateTime result = date;
  return Join(civil, result) ? result : date;
}

void StepDateTime(bool exact, bool increase, TDateTime& value, int index, double increment) {
  if (exact && index >= kHalfMonthStep && index <= kYearStep) {
    TCivilDate date = Split(value);
    if (date.ok) {
      if (index == kHalfMonthStep) {
        // Upward (not used by the axes) goes to the next 15th or 1st of a month.
        if (increase) {
          if (date.day < 15) {
            date.day = 15;
          } else {
            date.day = 1;
            MonthsForward(date, 1);
          }
        } else if (date.day > 15) {
          date.day = 15;
        } else if (date.day > 1) {
          date.day = 1;
        } else {
          MonthsBack(date, 1);
          date.day = 15;
        }
      } else if (index < kYearStep) {
        if (increase)
          MonthsForward(date, PeriodMonths(index));
        else
          MonthsBack(date, PeriodMonths(index));
        date.day = 1;
      } else {
        date.year += increase ? 1 : -1;
      }
      if (Join(date, value)) return;
    }
    // Outside the calendar the step still has to move the value, or a label loop
    // would stand still: a plain step of the period's length.
    if (!(increment > 0)) increment = CalendarStepTable[static_cast<std::size_t>(index)];
  }
  value = increase ? value + increment : value - increment;
}

}  // namespace tarvela
