#include "tarvela/chart/axes/calendar_steps.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tarvela/runtime/date_time.h"

namespace tarvela {
namespace {

TDateTime At(int year, int month, int day, int hour = 0) { return EncodeDate(year, month, day) + hour / 24.0; }

TDateTime Stepped(TDateTime from, int index, bool increase = false, bool exact = true, double increment = 0) {
  StepDateTime(exact, increase, from, index, increment);
  return from;
}

TEST(CalendarSteps, NextStepClimbsTheTableAndStopsAtAYear) {
  for (std::size_t i = 0; i + 1 < CalendarStepTable.size(); ++i)
    EXPECT_EQ(NextCalendarStep(CalendarStepTable[i]), CalendarStepTable[i + 1]) << "from index " << i;
  EXPECT_EQ(NextCalendarStep(4 * kOneSecond), CalendarStepTable[1]);  // between entries: after the one below
  EXPECT_EQ(NextCalendarStep(200), 365);
  EXPECT_EQ(NextCalendarStep(365), 365);
  EXPECT_EQ(NextCalendarStep(5000), 365);
  EXPECT_EQ(NextCalendarStep(std::numeric_limits<double>::quiet_NaN()), kOneSecond);
}

TEST(CalendarSteps, IndexOfAnIncrementAllowsLessThanOneSecond) {
  for (std::size_t i = 0; i < CalendarStepTable.size(); ++i)
    EXPECT_EQ(CalendarStepIndex(CalendarStepTable[i]), static_cast<int>(i));
  EXPECT_EQ(CalendarStepIndex(30 + 0.5 * kOneSecond), kMonthStep);
  EXPECT_EQ(CalendarStepIndex(30 + 1.5 * kOneSecond), kNoCalendarStep);
  EXPECT_EQ(CalendarStepIndex(45), kNoCalendarStep);
  EXPECT_EQ(CalendarStepIndex(0), kNoCalendarStep);
}

TEST(CalendarSteps, RoundingGoesBackToThePeriodStartAtMidnight) {
  EXPECT_EQ(RoundToCalendarStep(kYearStep, At(2001, 6, 15, 10)), At(2001, 1, 1));
  EXPECT_EQ(RoundToCalendarStep(kHalfMonthStep, At(2001, 6, 20)), At(2001, 6, 15));
  EXPECT_EQ(RoundToCalendarStep(kHalfMonthStep, At(2001, 6, 14, 23)), At(2001, 6, 1));
  EXPECT_EQ(RoundToCalendarStep(kMonthStep, At(2001, 6, 20)), At(2001, 6, 1));
  EXPECT_EQ(RoundToCalendarStep(23, At(2001, 12, 31, 6)), At(2001, 12, 1));
  EXPECT_EQ(RoundToCalendarStep(14, At(2001, 6, 20, 18)), At(2001, 6, 20));
  EXPECT_EQ(RoundToCalendarStep(3, At(2001, 6, 20, 18)), At(2001, 6, 20));
}

TEST(CalendarSteps, RoundingLeavesEarlyAndNonCalendarValuesAlone) {
  const TDateTime firstOf1900 = At(1900, 1, 1);
  EXPECT_EQ(RoundToCalendarStep(kYearStep, firstOf1900), firstOf1900);
  EXPECT_EQ(RoundToCalendarStep(kYearStep, 1.75), 1.75);
  EXPECT_EQ(RoundToCalendarStep(kYearStep, -400.5), -400.5);
  EXPECT_EQ(RoundToCalendarStep(kYearStep, 1e12), 1e12);
  EXPECT_TRUE(std::isnan(RoundToCalendarStep(kYearStep, std::numeric_limits<double>::quiet_NaN())));
  EXPECT_EQ(RoundToCalendarStep(kYearStep, std::numeric_limits<double>::infinity()),
            std::numeric_limits<double>::infinity());
}

TEST(CalendarSteps, StepDownByMonthsGoesToTheFirstOfTheMonth) {
  EXPECT_EQ(Stepped(At(2003, 3, 31, 12), kMonthStep), At(2003, 2, 1));
  EXPECT_EQ(Stepped(At(2003, 1, 10), kMonthStep), At(2002, 12, 1));
  EXPECT_EQ(Stepped(At(2003, 5, 1), 20), At(2003, 3, 1));
  EXPECT_EQ(Stepped(At(2003, 2, 1), 21), At(2002, 11, 1));
  EXPECT_EQ(Stepped(At(2003, 4, 9), 22), At(2002, 12, 1));
  EXPECT_EQ(Stepped(At(2003, 3, 15), 23), At(2002, 9, 1));
  EXPECT_EQ(Stepped(At(2003, 6, 1), 23), At(2002, 12, 1));
}

TEST(CalendarSteps, HalfMonthStepsVisitTheFifteenthAndTheFirst) {
  EXPECT_EQ(Stepped(At(2003, 5, 20), kHalfMonthStep), At(2003, 5, 15));
  EXPECT_EQ(Stepped(At(2003, 5, 15), kHalfMonthStep), At(2003, 5, 1));
  EXPECT_EQ(Stepped(At(2003, 5, 10), kHalfMonthStep), At(2003, 5, 1));
  EXPECT_EQ(Stepped(At(2003, 5, 1), kHalfMonthStep), At(2003, 4, 15));
  EXPECT_EQ(Stepped(At(2003, 1, 1), kHalfMonthStep), At(2002, 12, 15));
  // Upward: the next 15th or 1st.
  EXPECT_EQ(Stepped(At(2003, 5, 10), kHalfMonthStep, true), At(2003, 5, 15));
  EXPECT_EQ(Stepped(At(2003, 5, 15), kHalfMonthStep, true), At(2003, 6, 1));
  EXPECT_EQ(Stepped(At(2003, 12, 20), kHalfMonthStep, true), At(2004, 1, 1));
}

TEST(CalendarSteps, UpwardMonthsAndYearsKeepTheCalendar) {
  EXPECT_EQ(Stepped(At(2003, 11, 15), 20, true), At(2004, 1, 1));
  EXPECT_EQ(Stepped(At(2003, 7, 4), 23, true), At(2004, 1, 1));
  EXPECT_EQ(Stepped(At(2003, 7, 4, 8), kYearStep), At(2002, 7, 4));
  EXPECT_EQ(Stepped(At(2003, 7, 4), kYearStep, true), At(2004, 7, 4));
  // 29 February has no twin a year away: the end of that February.
  EXPECT_EQ(Stepped(At(2004, 2, 29), kYearStep), At(2003, 2, 28));
}

TEST(CalendarSteps, OtherStepsMoveByTheIncrement) {
  const TDateTime start = At(2003, 5, 20, 6);
  EXPECT_EQ(Stepped(start, kMonthStep, false, false, 30), start - 30);  // not exact
  EXPECT_EQ(Stepped(start, 14, false, true, 1), start - 1);               // not a calendar period
  EXPECT_EQ(Stepped(start, 14, true, true, 0.25), start + 0.25);
}

TEST(CalendarSteps, LeavingTheCalendarStillMovesTheValue) {
  // One year before 1 January of year 1 is no date; a label loop must still go on.
  const TDateTime first = At(1, 1, 1);
  EXPECT_EQ(Stepped(first, kYearStep, false, true, 365), first - 365);
  EXPECT_EQ(Stepped(first, kYearStep, false, true, 0), first - 365);
  EXPECT_EQ(Stepped(1e12, kMonthStep, false, true, 0), 1e12 - 30);
}

}  // namespace
}  // namespace tarvela
