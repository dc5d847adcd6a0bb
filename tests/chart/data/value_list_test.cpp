#include "tarvela/chart/data/value_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "tarvela/chart/data/chart_series.h"
#include "tarvela/runtime/exceptions.h"

namespace tarvela {
namespace {

std::vector<double> Values(const TChartValueList& list) {
  std::vector<double> values;
  for (int i = 0; i < list.ValueCount(); ++i) values.push_back(list.ValueAt(i));
  return values;
}

TEST(ValueListOrder, AscendingPlacesAnOutOfOrderValueAfterTheEqualOnes) {
  TChartValueList list(nullptr, "X");
  list.SetOrder(loAscending);
  EXPECT_EQ(list.AddInOrder(1), 0);
  EXPECT_EQ(list.AddInOrder(3), 1);
  EXPECT_EQ(list.AddInOrder(2), 1);
  EXPECT_EQ(Values(list), (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(list.AddInOrder(2), 2);
  EXPECT_EQ(list.AddInOrder(0), 0);
  EXPECT_EQ(list.AddInOrder(3), 5);  // equal to the last: the append path
  EXPECT_EQ(Values(list), (std::vector<double>{0, 1, 2, 2, 3, 3}));
}

TEST(ValueListOrder, DescendingPlacesAnEqualValueAfterTheEqualOnes) {
  TChartValueList list(nullptr, "X");
  list.SetOrder(loDescending);
  for (double v : {3.0, 2.0, 1.0}) list.AddInOrder(v);
  EXPECT_EQ(list.AddInOrder(2), 2);
  EXPECT_EQ(list.AddInOrder(4), 0);
  EXPECT_EQ(list.AddInOrder(0), 5);
  EXPECT_EQ(Values(list), (std::vector<double>{4, 3, 2, 2, 1, 0}));
}

TEST(ValueListOrder, NoOrderAlwaysAppends) {
  TChartValueList list(nullptr, "Y");
  EXPECT_EQ(list.Order(), loNone);
  EXPECT_EQ(list.AddInOrder(5), 0);
  EXPECT_EQ(list.AddInOrder(1), 1);
  EXPECT_EQ(list.AddInOrder(3), 2);
  EXPECT_EQ(Values(list), (std::vector<double>{5, 1, 3}));
}

// The place the stated rule gives: back from the end while the value there sorts
// after the new one.
int ScanPlace(const std::vector<double>& values, TChartListOrder order, double value) {
  if (order == loNone || values.empty()) return static_cast<int>(values.size());
  int i = static_cast<int>(values.size());
  if (order == loAscending) {
    while (i > 0 && values[i - 1] > value) --i;
  } else {
    while (i > 0 && values[i - 1] < value) --i;
  }
  return i;
}

// The list takes a faster search while it knows itself in order; every way of
// breaking or restoring the order must still give the scan's place.
TEST(ValueListOrder, PlaceMatchesTheBackwardScanThroughEveryKindOfChange) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> small(0, 9);
  std::uniform_int_distribution<int> action(0, 11);
  for (int round = 0; round < 40; ++round) {
    TChartValueList list(nullptr, "X");
    std::vector<double> model;
    TChartListOrder order = round % 2 == 0 ? loAscending : loDescending;
    list.SetOrder(order);
    for (int step = 0; step < 300; ++step) {
      int kind = action(random);
      int count = static_cast<int>(model.size());
      if (kind <= 6 || count < 2) {
        double value = small(random);
        if (kind == 6 && step % 17 == 0) value = std::numeric_limits<double>::quiet_NaN();
        int expected = ScanPlace(model, order, value);
        ASSERT_EQ(list.AddInOrder(value), expected) << "round " << round << " step " << step;
        model.insert(model.begin() + expected, value);
      } else if (kind == 7) {
        int index = std::uniform_int_distribution<int>(0, count - 1)(random);
        double value = small(random);
        list.SetValueAt(index, value);
        model[index] = value;
      } else if (kind == 8) {
        int a = std::uniform_int_distribution<int>(0, count - 1)(random);
        int b = std::uniform_int_distribution<int>(0, count - 1)(random);
        list.SwapValues(a, b);
        std::swap(model[a], model[b]);
      } else if (kind == 9) {
        list.RotateValues();
        std::rotate(model.begin(), model.begin() + 1, model.end());
      } else if (kind == 10) {
        int index = std::uniform_int_distribution<int>(0, count - 1)(random);
        list.DeleteValueAt(index);
        model.erase(model.begin() + index);
      } else {
        int index = std::uniform_int_distribution<int>(0, count)(random);
        double value = small(random);
        list.InsertValueAt(index, value);
        model.insert(model.begin() + index, value);
      }
      if (step % 97 == 96) {
        order = order == loAscending ? loDescending : loAscending;
        list.SetOrder(order);
      }
    }
    std::vector<double> actual = Values(list);
    ASSERT_EQ(actual.size(), model.size());
    for (std::size_t i = 0; i < model.size(); ++i)
      ASSERT_TRUE(actual[i] == model[i] || (std::isnan(actual[i]) && std::isnan(model[i])));
  }
}

TEST(ValueListStatistics, EmptyIsZeroAndMultiplierScalesEveryStatistic) {
  TChartValueList list(nullptr, "Y");
  EXPECT_TRUE(list.StatsDirty());
  EXPECT_EQ(list.MinimumValue(), 0);
  EXPECT_EQ(list.MaximumValue(), 0);
  EXPECT_EQ(list.TotalSum(), 0);
  EXPECT_EQ(list.TotalAbsSum(), 0);
  list.AddInOrder(-2);
  list.AddInOrder(5);
  EXPECT_EQ(list.MinimumValue(), -2);
  EXPECT_EQ(list.MaximumValue(), 5);
  EXPECT_EQ(list.TotalSum(), 3);
  EXPECT_EQ(list.TotalAbsSum(), 7);
  list.SetMultiplier(2);
  EXPECT_EQ(list.MinimumValue(), -4);
  EXPECT_EQ(list.MaximumValue(), 10);
  EXPECT_EQ(list.TotalSum(), 6);
  EXPECT_EQ(list.TotalAbsSum(), 14);
  // The first value is both extremes until a later one beats it.
  TChartValueList descending(nullptr, "Y");
  for (double v : {4.0, 3.0, 9.0, -1.0}) descending.AddInOrder(v);
  EXPECT_EQ(descending.MinimumValue(), -1);
  EXPECT_EQ(descending.MaximumValue(), 9);
}

// The extremes read alone are those of the whole refresh, bit for bit: the first of the
// zeros that compare equal, NaN only when it comes first, infinities, any multiplier.
TEST(ValueListStatistics, ExtremesReadAloneAreThoseOfTheWholeRefresh) {
  std::mt19937 random(5);
  const double specials[] = {0.0, -0.0, std::nan(""), HUGE_VAL, -HUGE_VAL, 1e308};
  for (int round = 0; round < 300; ++round) {
    TChartValueList alone(nullptr, "Y"), whole(nullptr, "Y");
    const int count = static_cast<int>(random() % 40);
    for (int i = 0; i < count; ++i) {
      // Every third list holds no negative value: a zero of either sign is its minimum.
      const double v = random() % 4 == 0 ? specials[random() % (round % 3 == 0 ? 3 : 6)]
                                          : static_cast<double>(random() % 7) - (round % 3 == 0 ? 0 : 3);
      alone.InsertValueAt(i, v);
      whole.InsertValueAt(i, v);
    }
    if (round % 5 == 0) {
      alone.SetMultiplier(round % 10 == 0 ? -2.0 : 1e300);
      whole.SetMultiplier(alone.Multiplier());
    }
    whole.RefreshStatistics();  // all four at once: the extremes read next are its own
    const double low = alone.MinimumValue(), high = alone.MaximumValue();
    const double wholeLow = whole.MinimumValue(), wholeHigh = whole.MaximumValue();
    SCOPED_TRACE(round);
    EXPECT_EQ(std::memcmp(&low, &wholeLow, sizeof low), 0) << low << " " << wholeLow;
    EXPECT_EQ(std::memcmp(&high, &wholeHigh, sizeof high), 0) << high << " " << wholeHigh;
  }
}

// Extremes read between changes (values appended, inserted, replaced, the extremes
// themselves among them) are those a list of the same values finds afresh.
TEST(ValueListStatistics, ExtremesKeptThroughChangesAreThoseFoundAfresh) {
  std::mt19937 random(11);
  const double specials[] = {0.0, -0.0, std::nan(""), HUGE_VAL, -HUGE_VAL};
  for (int round = 0; round < 200; ++round) {
    TChartValueList list(nullptr, "Y");
    const auto draw = [&] {
      return random() % 5 == 0 ? specials[random() % 5] : static_cast<double>(random() % 9) - 4;
    };
    for (int step = 0; step < 30; ++step) {
      const auto count = static_cast<unsigned>(list.ValueCount());
      switch (random() % 4) {
        case 0: list.AddInOrder(draw()); break;
        case 1: list.InsertValueAt(static_cast<int>(random() % (count + 1)), draw()); break;
        default:
          if (count > 0) list.SetValueAt(static_cast<int>(random() % count), draw());
      }
      if (random() % 2 == 0) continue;
      TChartValueList fresh(nullptr, "Y");
      for (int i = 0; i < list.ValueCount(); ++i) fresh.InsertValueAt(i, list.ValueAt(i));
      fresh.RefreshStatistics();
      const double low = list.MinimumValue(), high = list.MaximumValue();
      const double freshLow = fresh.MinimumValue(), freshHigh = fresh.MaximumValue();
      SCOPED_TRACE(std::to_string(round) + "/" + std::to_string(step));
      ASSERT_EQ(std::memcmp(&low, &freshLow, sizeof low), 0) << low << " " << freshLow;
      ASSERT_EQ(std::memcmp(&high, &freshHigh, sizeof high), 0) << high << " " << freshHigh;
    }
  }
}

TEST(ValueListStatistics, CachedUntilAChangeButNotAfterARotation) {
  TChartValueList list(nullptr, "Y");
  for (double v : {1.0, 2.0, 3.0}) list.AddInOrder(v);
  EXPECT_EQ(list.TotalSum(), 6);
  EXPECT_FALSE(list.StatsDirty());
  list.RotateValues();
  EXPECT_FALSE(list.StatsDirty());
  EXPECT_EQ(Values(list), (std::vector<double>{2, 3, 1}));
  list.SetValueAt(0, 10);
  EXPECT_TRUE(list.StatsDirty());
  EXPECT_EQ(list.MaximumValue(), 10);
  // The extremes do not wait for the sums, which come with their first read.
  EXPECT_TRUE(list.StatsDirty());
  EXPECT_EQ(list.TotalSum(), 14);
  EXPECT_FALSE(list.StatsDirty());
  list.DeleteValueAt(0);
  EXPECT_EQ(list.MaximumValue(), 3);
  list.InsertValueAt(2, 7);
  EXPECT_EQ(list.TotalSum(), 11);
  list.RemoveAllValues();
  EXPECT_EQ(list.TotalSum(), 0);
  EXPECT_EQ(list.AllocatedBytes(), 0u);
}

TEST(ValueListValues, ReadsApplyTheMultiplierWritesStoreAsGiven) {
  TChartValueList list(nullptr, "Y");
  list.AddInOrder(3);
  list.SetMultiplier(2.5);
  EXPECT_EQ(list.ValueAt(0), 7.5);
  list.SetValueAt(0, 4);
  EXPECT_EQ(list.ValueAt(0), 10);
  EXPECT_EQ(list.LastValue(), 10);
  EXPECT_EQ(list.FindValue(10), 0);
  EXPECT_EQ(list.FindValue(4), -1);
  list.AddInOrder(9);
  list.FillWithIndexes();
  EXPECT_EQ(Values(list), (std::vector<double>{0, 2.5}));
}

TEST(ValueListValues, IndexesOutsideTheValuesFailWithTheListMessage) {
  TChartValueList list(nullptr, "Y");
  for (double v : {1.0, 2.0}) list.AddInOrder(v);
  auto expectIndexError = [](auto&& action, const char* message) {
    try {
      action();
      ADD_FAILURE() << "no exception for " << message;
    } catch (const EListError& e) {
      EXPECT_EQ(e.Message(), message);
    }
  };
  expectIndexError([&] { list.ValueAt(2); }, "List index out of bounds (2)");
  expectIndexError([&] { list.ValueAt(-1); }, "List index out of bounds (-1)");
  expectIndexError([&] { list.SetValueAt(5, 0); }, "List index out of bounds (5)");
  expectIndexError([&] { list.InsertValueAt(3, 0); }, "List index out of bounds (3)");
  expectIndexError([&] { list.DeleteValueAt(2); }, "List index out of bounds (2)");
  list.InsertValueAt(2, 9);  // at the count is an append
  EXPECT_EQ(Values(list), (std::vector<double>{1, 2, 9}));
  TChartValueList empty(nullptr, "Y");
  expectIndexError([&] { empty.LastValue(); }, "List index out of bounds (-1)");
}

TEST(ValueListValues, FloatingPointFaultsOfReadsAreRaised) {
  TChartValueList list(nullptr, "Y");
  list.AddInOrder(1e300);
  list.SetMultiplier(1e10);
  EXPECT_THROW(list.ValueAt(0), EOverflow);
  list.SetMultiplier(std::numeric_limits<double>::infinity());
  list.SetValueAt(0, 0);
  EXPECT_THROW(list.ValueAt(0), EInvalidOp);
}

// Every paint reads the statistics for the axis limits: they must not fail, whatever
// the values.
TEST(ValueListStatistics, NeverRaiseAndKeepMinimumAndMaximumExact) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  TChartValueList extremes(nullptr, "Y");
  extremes.AddInOrder(1.7e308);
  extremes.AddInOrder(1.7e308);
  extremes.AddInOrder(-1.7e308);
  EXPECT_EQ(extremes.MinimumValue(), -1.7e308);
  EXPECT_EQ(extremes.MaximumValue(), 1.7e308);
  EXPECT_EQ(extremes.TotalSum(), kInf);
  EXPECT_EQ(extremes.TotalAbsSum(), kInf);

  TChartValueList negative(nullptr, "Y");
  negative.AddInOrder(-1.7e308);
  negative.AddInOrder(-1.7e308);
  EXPECT_EQ(negative.TotalSum(), -kInf);
  EXPECT_EQ(negative.MaximumValue(), -1.7e308);

  // A multiplier that overflows a value: the statistics take the infinity.
  TChartValueList scaled(nullptr, "Y");
  scaled.AddInOrder(1e300);
  scaled.AddInOrder(2);
  scaled.SetMultiplier(1e10);
  EXPECT_EQ(scaled.MaximumValue(), kInf);
  EXPECT_EQ(scaled.MinimumValue(), 2e10);

  // Opposite infinities: the sum is not a number, the limits stay.
  TChartValueList infinite(nullptr, "Y");
  infinite.AddInOrder(kInf);
  infinite.AddInOrder(1);
  EXPECT_EQ(infinite.TotalSum(), kInf);
  infinite.AddInOrder(-kInf);
  EXPECT_TRUE(std::isnan(infinite.TotalSum()));
  EXPECT_EQ(infinite.MinimumValue(), -kInf);
  EXPECT_EQ(infinite.MaximumValue(), kInf);
}

TEST(ValueListSort, SortsTheWholeSeriesSoColoursAndLabelsMoveWithTheirValues) {
  TChartSeries series(nullptr);
  series.XValues().SetOrder(loNone);
  series.AddPointXY(3, 30, "c", clRed);
  series.AddPointXY(1, 10, "a");
  series.AddPointXY(2, 20, {}, clBlue);
  series.XValues().SortValues();  // loNone: nothing happens
  EXPECT_EQ(Values(series.XValues()), (std::vector<double>{3, 1, 2}));
  series.XValues().SetOrder(loAscending);
  series.XValues().SortValues();
  EXPECT_EQ(Values(series.XValues()), (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(Values(series.YValues()), (std::vector<double>{10, 20, 30}));
  EXPECT_EQ(series.PointLabel(0), "a");
  EXPECT_EQ(series.PointLabel(1), "");
  EXPECT_EQ(series.PointLabel(2), "c");
  EXPECT_EQ(series.PointColor(0), series.SeriesColor());
  EXPECT_EQ(series.PointColor(1), clBlue);
  EXPECT_EQ(series.PointColor(2), clRed);
  series.XValues().SetOrder(loDescending);
  series.XValues().SortValues();
  EXPECT_EQ(Values(series.XValues()), (std::vector<double>{3, 2, 1}));
  EXPECT_EQ(Values(series.YValues()), (std::vector<double>{30, 20, 10}));
  EXPECT_EQ(series.PointLabel(0), "c");
}

TEST(ValueListSort, SortsLargeInputsWithDuplicatesAndANegativeMultiplier) {
  std::mt19937 random(11);
  std::uniform_int_distribution<int> value(-500, 500);
  TChartValueList list(nullptr, "X");
  std::vector<double> expected;
  for (int i = 0; i < 5000; ++i) {
    double v = value(random);
    list.AddInOrder(v);
    expected.push_back(v);
  }
  list.SetOrder(loAscending);
  list.SortValues();
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Values(list), expected);
  // The sort compares read values, so a negative multiplier reverses the stored order.
  list.SetMultiplier(-1);
  list.SortValues();
  std::vector<double> read = Values(list);
  EXPECT_TRUE(std::is_sorted(read.begin(), read.end()));
  EXPECT_EQ(read.front(), -expected.back());
}

TEST(ValueListCopy, AssignCopiesTheSettingsButNotNameOrValues) {
  TChartValueList source(nullptr, "Source");
  source.SetOrder(loDescending);
  source.SetDateTime(true);
  source.SetMultiplier(3);
  source.SetValueSource("Field");
  source.AddInOrder(1);
  TChartValueList target(nullptr, "Target");
  target.Assign(source);
  EXPECT_EQ(target.Order(), loDescending);
  EXPECT_TRUE(target.DateTime());
  EXPECT_EQ(target.Multiplier(), 3);
  EXPECT_EQ(target.ValueSource(), "Field");
  EXPECT_EQ(target.Name(), "Target");
  EXPECT_EQ(target.ValueCount(), 0);
}

}  // namespace
}  // namespace tarvela
