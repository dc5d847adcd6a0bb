#pragma once
/// TChartValueList is one coordinate of a series' points (X, Y, or a further value
/// of a series type that has one): the stored values in one growable array, the
/// rule that places a new value in order, a multiplier applied on every read, and
/// statistics cached until the next change. TChartValueLists is the ordered set of
/// the value lists of one series: X at index 0, Y at index 1, further lists after.
///
/// Not a point store of its own: the owner series keeps all its lists the same
/// length, moves colours and labels along with the values, and is told of value
/// changes so that the series linked to it follow. Not a component either: it
/// lives inside its series (by value) and has no name in the component sense.
/// @file
#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "tarvela/runtime/persistent.h"
#include "tarvela/runtime/properties.h"

namespace tarvela {

class TChartSeries;

enum TChartListOrder { loNone, loAscending, loDescending };
const EnumNames<TChartListOrder>& ChartListOrderNames();

class TChartValueList : public TPersistent {
 public:
  /// Joins owner's value lists (after those created before it); a null owner gives a
  /// free-standing list, whose sort moves only its own values.
  TChartValueList(TChartSeries* owner, std::string name);
  ~TChartValueList() override;
  TChartValueList(const TChartValueList&) = delete;
  TChartValueList& operator=(const TChartValueList&) = delete;
  std::string_view ClassName() const override { return "TChartValueList"; }
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override { return PublishedProperties(); }

  // settings
  /// The values are dates and times (axis labelling).
  bool DateTime() const { return m_dateTime; }
  void SetDateTime(bool dateTime);
  const std::string& Name() const { return m_name; }
  void SetName(const std::string& name) { m_name = name; }
  /// Every read returns the stored value times this; the stored values stay as given.
  double Multiplier() const { return m_multiplier; }
  void SetMultiplier(double multiplier);
  /// Decides where AddInOrder places a value and how SortValues sorts; changing it
  /// moves no value.
  TChartListOrder Order() const { return m_order; }
  void SetOrder(TChartListOrder order);
  /// The field of a non-series data source that feeds this list.
  const std::string& ValueSource() const { return m_valueSource; }
  void SetValueSource(const std::string& source);

  // operations: values
  /// Stored value times Multiplier; "List index out of bounds (%d)" outside 0..count-1.
  virtual double ValueAt(int index) const;
  /// Stores value as given (no division by Multiplier); the linked series hear of it.
  virtual void SetValueAt(int index, double value);
  /// Also gives the storage back.
  virtual void RemoveAllValues();
  /// Places value by Order (after values equal to it) and returns its index.
  virtual int AddInOrder(double value);
  /// index may be the count (append); beyond that it fails.
  virtual void InsertValueAt(int index, double value);
  virtual int ValueCount() const { return static_cast<int>(m_values.size()); }
  virtual void DeleteValueAt(int index);
  double LastValue() const { return ValueAt(ValueCount() - 1); }
  /// The first index whose read value equals value; -1 when none.
  int FindValue(double value) const;
  /// The first value goes to the end; the statistics stay as they were.
  void RotateValues();
  /// Value i becomes i, through SetValueAt.
  void FillWithIndexes();
  /// When Order is not loNone, sorts the whole series by this list through the
  /// owner's SwapPoints, so colours, labels and the other lists move along.
  void SortValues();
  /// Exchanges two stored values (the owner's SwapPoints calls it for every list).
  void SwapValues(int a, int b);

  // operations: statistics over the read values (Multiplier applied), recomputed
  // all at once on the first read after a change
  double MinimumValue() const;
  double MaximumValue() const;
  double TotalSum() const;
  double TotalAbsSum() const;
  void RefreshStatistics() const;
  bool StatsDirty() const { return m_statsDirty || m_rangeDirty; }

  // operations: bulk reads for drawing
  /// The stored values (Multiplier not applied).
  std::span<const double> StoredValues() const { return m_values; }
  /// True when Order is not loNone and every stored value follows it (no NaN).
  bool KnownInOrder() const { return m_inOrder; }

  // operations: the rest
  TChartSeries* Owner() const { return m_owner; }
  /// Staged by an add of the series before it is stored (InsertExtraValues reads it).
  double PendingValue() const { return m_pendingValue; }
  void SetPendingValue(double value) { m_pendingValue = value; }
  /// Copies Order, DateTime, Multiplier and ValueSource; not Name, not the values.
  void Assign(const TChartValueList& source);
  /// Bytes held by the value storage (its capacity), for memory measurements.
  std::size_t AllocatedBytes() const { return m_values.capacity() * sizeof(double); }

 private:
  /// The index the backward scan from the end would find for an out-of-order value.
  std::size_t OrderedPlace(double value) const;
  /// Whether stored value a may stand before b under Order (NaN never may).
  bool InOrder(double a, double b) const;
  bool ComputeInOrder() const;
  /// After a store at index: the list stays known-in-order only if its neighbours agree.
  void CheckNeighbours(std::size_t index);
  double Scaled(double stored) const;
  void QuickSort(int l, int r);
  /// Every change of a value: the statistics are worked out again, and the chart hears.
  void Changed();
  void Repaint() const;

  // state
  TChartSeries* m_owner;
  std::vector<double> m_values;
  std::string m_name;
  double m_multiplier = 1.0;
  TChartListOrder m_order = loNone;
  bool m_dateTime = false;
  std::string m_valueSource;
  double m_pendingValue = 0;
  /// True only when Order is not loNone and every stored value follows it (no NaN):
  /// then a binary search finds exactly the place of the backward scan.
  bool m_inOrder = false;
  /// The sums follow the points' order and wait on each add: an axis, which reads
  /// only the extremes, does not wait for them.
  void RefreshRange() const;
  /// Keeps the extremes through a change where they follow from the last ones exactly:
  /// value appended (index == the old count) or replacing old at index. Call after
  /// Changed(); the sums stay to be recomputed.
  void KeepRange(std::size_t index, std::size_t oldCount, double old, double value);
  mutable bool m_statsDirty = true;
  mutable bool m_rangeDirty = true;
  mutable double m_minimum = 0;
  mutable double m_maximum = 0;
  mutable double m_totalSum = 0;
  mutable double m_totalAbsSum = 0;
};

/// The value lists of one series, in creation order; it refers to them, the series
/// (or the series type that adds a list) owns them.
class TChartValueLists {
 public:
  int Count() const { return static_cast<int>(m_lists.size()); }
  /// "List index out of bounds (%d)" outside 0..Count()-1.
  TChartValueList& ValueList(int index) const;
  auto begin() const { return m_lists.begin(); }
  auto end() const { return m_lists.end(); }

  // operations: a value list joins and leaves by itself
  void Add(TChartValueList* list) { m_lists.push_back(list); }
  void Remove(TChartValueList* list);

 private:
  // state
  std::vector<TChartValueList*> m_lists;
};

}  // namespace tarvela
