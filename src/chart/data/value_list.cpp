#include "tarvela/chart/data/value_list.h"

#include <algorithm>
#include <array>
#include <cfenv>
#include <cmath>
#include <functional>
#include <utility>

#include "tarvela/chart/axes/axis_panel.h"
#include "tarvela/chart/data/chart_series.h"
#include "tarvela/runtime/exceptions.h"

namespace tarvela {

namespace {

// A read value that is not finite: a NaN from operands that were not NaN is
// infinity times zero (EInvalidOp), an infinity from finite operands an overflow
// (EOverflow). Tested on the result instead of the status flags, so the common
// finite case costs one compare.
void CheckProductFault(double stored, double multiplier, double product) {
  if (std::isnan(product)) {
    if (!std::isnan(stored) && !std::isnan(multiplier)) throw EInvalidOp(messages::kInvalidOp);
  } else if (std::isfinite(stored) && std::isfinite(multiplier)) {
    throw EOverflow(messages::kOverflow);
  }
}

}  // namespace

const EnumNames<TChartListOrder>& ChartListOrderNames() {
  static const EnumNames<TChartListOrder> kNames = {
      {loNone, "loNone"}, {loAscending, "loAscending"}, {loDescending, "loDescending"}};
  return kNames;
}

// [SECTION] Construction and settings

TChartValueList::TChartValueList(TChartSeries* owner, std::string name) : m_owner(owner), m_name(std::move(name)) {
  if (m_owner != nullptr) m_owner->ValueLists().Add(this);
}

TChartValueList::~TChartValueList() {
  if (m_owner != nullptr) m_owner->ValueLists().Remove(this);
}

void TChartValueList::Changed() {
  m_statsDirty = m_rangeDirty = true;
  if (m_owner != nullptr) m_owner->ValuesChanged();
}

void TChartValueList::Repaint() const {
  if (m_owner != nullptr) m_owner->Repaint();
}

void TChartValueList::SetDateTime(bool dateTime) {
  if (dateTime == m_dateTime) return;
  m_dateTime = dateTime;
  Repaint();
}

void TChartValueList::SetMultiplier(double multiplier) {
  if (multiplier == m_multiplier) return;
  m_multiplier = multiplier;
  Changed();
  if (m_owner != nullptr) m_owner->NotifyLinkedSeries(TSourceChange::AllChanged);
  Repaint();
}

void TChartValueList::SetOrder(TChartListOrder order) {
  if (order == m_order) return;
  m_order = order;
  m_inOrder = ComputeInOrder();
  Repaint();
}

void TChartValueList::SetValueSource(const std::string& source) {
  if (source == m_valueSource) return;
  m_valueSource = source;
  if (m_owner != nullptr && m_owner->ParentChart() != nullptr) m_owner->ParentChart()->RefreshFromDataSource(m_owner);
}

void TChartValueList::Assign(const TChartValueList& source) {
  if (&source == this) return;
  if (source.m_multiplier != m_multiplier) Changed();
  m_order = source.m_order;
  m_dateTime = source.m_dateTime;
  m_multiplier = source.m_multiplier;
  m_valueSource = source.m_valueSource;
  m_inOrder = ComputeInOrder();
}

// [SECTION] Order bookkeeping

bool TChartValueList::InOrder(double a, double b) const {
  return m_order == loAscending ? a <= b : a >= b;
}

bool TChartValueList::ComputeInOrder() const {
  if (m_order == loNone) return false;
  if (!m_values.empty() && std::isnan(m_values.front())) return false;
  for (std::size_t i = 1; i < m_values.size(); ++i)
    if (!InOrder(m_values[i - 1], m_values[i])) return false;
  return true;
}

void TChartValueList::CheckNeighbours(std::size_t index) {
  if (!m_inOrder) return;
  double value = m_values[index];
  m_inOrder = !std::isnan(value) && (index == 0 || InOrder(m_values[index - 1], value)) &&
              (index + 1 == m_values.size() || InOrder(value, m_values[index + 1]));
}

// The rule: go back from the end while the stored value there sorts after value,
// and insert right after the first one that does not (or at 0). On a list known
// to be in order that is the upper bound, found by binary search; on any other
// list the scan runs as stated, so a list made unordered by SetValueAt, a swap or
// a change of Order still gets exactly the scan's place.
std::size_t TChartValueList::OrderedPlace(double value) const {
  if (m_inOrder) {
    if (m_order == loAscending) return static_cast<std::size_t>(std::upper_bound(m_values.begin(), m_values.end(), value) - m_values.begin());
    return static_cast<std::size_t>(std::upper_bound(m_values.begin(), m_values.end(), value, std::greater<>()) -
                                    m_values.begin());
  }
  std::size_t i = m_values.size();
  if (m_order == loAscending) {
    while (i > 0 && m_values[i - 1] > value) --i;
  } else {
    while (i > 0 && m_values[i - 1] < value) --i;
  }
  return i;
}

// [SECTION] Values

double TChartValueList::Scaled(double stored) const {
  double value = stored * m_multiplier;
  if (!std::isfinite(value)) [[unlikely]]
    CheckProductFault(stored, m_multiplier, value);
  return value;
}

double TChartValueList::ValueAt(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= m_values.size()) ThrowListIndexError(index);
  return Scaled(m_values[static_cast<std::size_t>(index)]);
}

void TChartValueList::SetValueAt(int index, double value) {
  if (index < 0 || static_cast<std::size_t>(index) >= m_values.size()) ThrowListIndexError(index);
  const bool rangeKnown = !m_rangeDirty;
  const double old = m_values[static_cast<std::size_t>(index)];
  m_values[static_cast<std::size_t>(index)] = value;
  CheckNeighbours(static_cast<std::size_t>(index));
  Changed();
  if (rangeKnown) KeepRange(static_cast<std::size_t>(index), m_values.size(), old, value);
  if (m_owner != nullptr) m_owner->NotifyLinkedSeries(TSourceChange::ValueChanged, index);
}

void TChartValueList::RemoveAllValues() {
  std::vector<double>().swap(m_values);
  m_inOrder = m_order != loNone;
  Changed();
}

int TChartValueList::AddInOrder(double value) {
  const std::size_t count = m_values.size();
  std::size_t index = count;
  // The fast path: a value that does not sort before the last one is appended
  // without looking further.
  if (m_order != loNone && count != 0 && !InOrder(m_values.back(), value)) index = OrderedPlace(value);
  if (index == count) {
    m_values.push_back(value);
  } else {
    m_values.insert(m_values.begin() + static_cast<std::ptrdiff_t>(index), value);
  }
  if (m_inOrder && std::isnan(value)) m_inOrder = false;
  const bool rangeKnown = !m_rangeDirty;
  Changed();
  if (rangeKnown) KeepRange(index, count, 0, value);
  return static_cast<int>(index);
}

void TChartValueList::InsertValueAt(int index, double value) {
  if (index < 0 || static_cast<std::size_t>(index) > m_values.size()) ThrowListIndexError(index);
  auto i = static_cast<std::size_t>(index);
  const std::size_t count = m_values.size();
  if (i == count) {
    m_values.push_back(value);
  } else {
    m_values.insert(m_values.begin() + index, value);
  }
  CheckNeighbours(i);
  const bool rangeKnown = !m_rangeDirty;
  Changed();
  if (rangeKnown) KeepRange(i, count, 0, value);
}

void TChartValueList::DeleteValueAt(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= m_values.size()) ThrowListIndexError(index);
  m_values.erase(m_values.begin() + index);
  if (m_values.empty()) m_inOrder = m_order != loNone;
  Changed();
}

int TChartValueList::FindValue(double value) const {
  for (int i = 0; i < ValueCount(); ++i)
    if (ValueAt(i) == value) return i;
  return -1;
}

void TChartValueList::RotateValues() {
  if (m_values.empty()) return;
  std::rotate(m_values.begin(), m_values.begin() + 1, m_values.end());
  if (m_values.size() > 1) m_inOrder = ComputeInOrder();
  // The statistics stay as they were (the same values), but a value's place changed.
  if (m_owner != nullptr) m_owner->ValuesChanged();
}

void TChartValueList::FillWithIndexes() {
  for (int i = 0; i < ValueCount(); ++i) SetValueAt(i, i);
}

void TChartValueList::SwapValues(int a, int b) {
  if (a < 0 || static_cast<std::size_t>(a) >= m_values.size()) ThrowListIndexError(a);
  if (b < 0 || static_cast<std::size_t>(b) >= m_values.size()) ThrowListIndexError(b);
  if (a == b) return;
  std::swap(m_values[static_cast<std::size_t>(a)], m_values[static_cast<std::size_t>(b)]);
  m_inOrder = false;
  // The sums depend on the order of addition.
  Changed();
}

// [SECTION] Sorting

void TChartValueList::SortValues() {
  if (m_order == loNone || m_values.size() < 2) return;
  QuickSort(0, ValueCount() - 1);
  m_inOrder = ComputeInOrder();
}

// The partition of the sort as the series expects it (middle pivot that follows the
// swapped value, not stable). The two parts are disjoint, so sorting the smaller
// one by recursion and the larger one in the loop gives the same swaps on each
// part and keeps the stack depth logarithmic.
void TChartValueList::QuickSort(int l, int r) {
  const bool ascending = m_order == loAscending;
  auto before = [this, ascending](int a, int b) {
    return ascending ? ValueAt(a) < ValueAt(b) : ValueAt(b) < ValueAt(a);
  };
  while (l < r) {
    int i = l, j = r, p = (l + r) / 2;
    while (i < j) {
      while (before(i, p)) ++i;
      while (before(p, j)) --j;
      if (i < j) {
        if (m_owner != nullptr) {
          m_owner->SwapPoints(i, j);
        } else {
          SwapValues(i, j);
        }
        if (p == i) {
          p = j;
        } else if (p == j) {
          p = i;
        }
      }
      if (j >= i) {
        ++i;
        --j;
      }
    }
    if (j - l < r - i) {
      if (l < j) QuickSort(l, j);
      l = i;
    } else {
      if (i < r) QuickSort(i, r);
      r = j;
    }
  }
}

// [SECTION] Statistics

// The statistics never raise: every paint reads them (the automatic axis limits), so
// a fault here would make every paint of the chart fail. A sum that leaves the double
// range becomes an infinity (or NaN from opposite infinities), a scaled value that
// does too takes part as that infinity; minimum and maximum of finite values stay
// exact. Reading one value (ValueAt) still reports its fault, and a computation that
// needs a total without fault checks it itself. Nor do they leave a status flag
// raised, which a later checked computation would take for its own fault.
void TChartValueList::RefreshStatistics() const {
  if (m_values.empty()) {
    m_minimum = m_maximum = m_totalSum = m_totalAbsSum = 0;
    m_statsDirty = m_rangeDirty = false;
    return;
  }
  std::fexcept_t flags;
  std::fegetexceptflag(&flags, FE_ALL_EXCEPT);
  double first = m_values[0] * m_multiplier;
  double minimum = first, maximum = first, total = first, absTotal = std::fabs(first);
  const std::size_t count = m_values.size();
  if (m_multiplier == 1.0) {
    // Multiplying by one changes no value.
    for (std::size_t i = 1; i < count; ++i) {
      double v = m_values[i];
      if (v < minimum) {
        minimum = v;
      } else if (v > maximum) {
        maximum = v;
      }
      total += v;
      absTotal += std::fabs(v);
    }
  } else {
    for (std::size_t i = 1; i < count; ++i) {
      double v = m_values[i] * m_multiplier;
      if (v < minimum) {
        minimum = v;
      } else if (v > maximum) {
        maximum = v;
      }
      total += v;
      absTotal += std::fabs(v);
    }
  }
  m_minimum = minimum;
  m_maximum = maximum;
  m_totalSum = total;
  m_totalAbsSum = absTotal;
  m_statsDirty = m_rangeDirty = false;
  std::fesetexceptflag(&flags, FE_ALL_EXCEPT);
}

// The extremes of RefreshStatistics' loop, found in four lanes at once (each compare
// waits on the one before in its lane only). A lane takes a value only when it is
// strictly beyond, as the loop does, so NaN is never taken unless it is the first
// value, which every lane starts from. Of values that compare equal only the zeros
// differ: the loop keeps the first of them, looked up again here.
void TChartValueList::RefreshRange() const {
  if (m_values.empty()) {
    m_minimum = m_maximum = 0;
    m_rangeDirty = false;
    return;
  }
  std::fexcept_t flags;
  std::fegetexceptflag(&flags, FE_ALL_EXCEPT);
  const double multiplier = m_multiplier;
  const auto read = [&](std::size_t i) { return multiplier == 1.0 ? m_values[i] : m_values[i] * multiplier; };
  constexpr std::size_t kLanes = 4;
  const double first = read(0);
  std::array<double, kLanes> low, high;
  low.fill(first);
  high.fill(first);
  const std::size_t count = m_values.size();
  std::size_t i = 1;
  for (; i + kLanes <= count; i += kLanes) {
    for (std::size_t k = 0; k < kLanes; ++k) {
      const double v = read(i + k);
      low[k] = v < low[k] ? v : low[k];
      high[k] = v > high[k] ? v : high[k];
    }
  }
  for (; i < count; ++i) {
    const double v = read(i);
    low[0] = v < low[0] ? v : low[0];
    high[0] = v > high[0] ? v : high[0];
  }
  double minimum = low[0], maximum = high[0];
  for (std::size_t k = 1; k < kLanes; ++k) {
    minimum = low[k] < minimum ? low[k] : minimum;
    maximum = high[k] > maximum ? high[k] : maximum;
  }
  const auto firstEqual = [&](double extreme) {
    for (std::size_t j = 0; j < count; ++j)
      if (const double v = read(j); v == extreme) return v;
    return extreme;
  };
  if (minimum == 0) minimum = firstEqual(minimum);
  if (maximum == 0) maximum = firstEqual(maximum);
  m_minimum = minimum;
  m_maximum = maximum;
  m_rangeDirty = false;
  std::fesetexceptflag(&flags, FE_ALL_EXCEPT);
}

// A value appended is one more step of the statistics loop. A value that replaces one
// strictly between the extremes leaves them where they were unless it passes one,
// when it is the new one, alone there. Any other change (NaN, ties, which may be zeros
// of the other sign, a multiplier, whose products may raise) is left to RefreshRange.
void TChartValueList::KeepRange(std::size_t index, std::size_t oldCount, double old, double value) {
  if (m_multiplier != 1.0 || oldCount == 0 || std::isnan(value)) return;
  if (index == oldCount) {
    if (value < m_minimum) {
      m_minimum = value;
    } else if (value > m_maximum) {
      m_maximum = value;
    }
    m_rangeDirty = false;
    return;
  }
  if (index >= oldCount || m_values.size() != oldCount || !(old > m_minimum && old < m_maximum)) return;
  if (value < m_minimum) {
    m_minimum = value;
  } else if (value > m_maximum) {
    m_maximum = value;
  } else if (!(value > m_minimum && value < m_maximum)) {
    return;
  }
  m_rangeDirty = false;
}

double TChartValueList::MinimumValue() const {
  if (m_rangeDirty) RefreshRange();
  return m_minimum;
}

double TChartValueList::MaximumValue() const {
  if (m_rangeDirty) RefreshRange();
  return m_maximum;
}

double TChartValueList::TotalSum() const {
  if (m_statsDirty) RefreshStatistics();
  return m_totalSum;
}

double TChartValueList::TotalAbsSum() const {
  if (m_statsDirty) RefreshStatistics();
  return m_totalAbsSum;
}

const PropertyTable& TChartValueList::PublishedProperties() {
  using L = TChartValueList;
  static const PropertyTable table(
      nullptr, {
                   BoolProperty<L>("DateTime", &L::DateTime, &L::SetDateTime),
                   StringProperty<L>("Name", &L::Name, &L::SetName),
                   FloatProperty<L>("Multiplier", &L::Multiplier, &L::SetMultiplier),
                   EnumProperty<L, TChartListOrder>("Order", &L::Order, &L::SetOrder, ChartListOrderNames()),
                   StringProperty<L>("ValueSource", &L::ValueSource, &L::SetValueSource),
               });
  return table;
}

// [SECTION] TChartValueLists

TChartValueList& TChartValueLists::ValueList(int index) const {
  if (index < 0 || index >= Count()) ThrowListIndexError(index);
  return *m_lists[static_cast<std::size_t>(index)];
}

void TChartValueLists::Remove(TChartValueList* list) { std::erase(m_lists, list); }

}  // namespace tarvela
