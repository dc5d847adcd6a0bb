#pragma once
/// The sums a stack of series stands on, worked out for all members of a stack at once:
/// asked point by point and member by member, each sum would add up every member below
/// it again, and a stack of thousands of series would take minutes to paint.
///
/// The sums are those the members would add up one by one, in the same order and in the
/// same type, so that every bar and area lies where it did before.
/// @file
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tarvela {

/// Sum is the type a member's sum is added up in, before it becomes a double.
template <class Sum>
class TStackSums {
 public:
  /// Whether the sums were worked out at this revision of the chart's values (never 0).
  bool CurrentAt(std::uint64_t revision) const { return m_revision == revision; }

  /// For every member, at each of its points, the sum of part(m, i) over the members m
  /// before it; and at each index the sum over all of them. members are in stack order;
  /// part(m, i) is 0 where member m has no point i.
  template <class Members, class Part>
  void Build(const Members& members, Part part, std::uint64_t revision) {
    std::size_t longest = 0;
    for (const auto* member : members) longest = std::max<std::size_t>(longest, member->PointCount());
    std::vector<Sum> running(longest, Sum(0));
    m_origins.assign(members.size(), {});
    for (std::size_t m = 0; m < members.size(); ++m) {
      const auto count = static_cast<std::size_t>(members[m]->PointCount());
      std::vector<double>& origins = m_origins[m];
      origins.resize(count);
      for (std::size_t i = 0; i < count; ++i) {
        origins[i] = static_cast<double>(running[i]);
        running[i] += part(*members[m], static_cast<int>(i));
      }
    }
    m_totals.resize(longest);
    for (std::size_t i = 0; i < longest; ++i) m_totals[i] = static_cast<double>(running[i]);
    m_revision = revision;
  }

  /// Whether member (its place in the members) has a sum at index.
  bool Has(std::size_t member, int index) const {
    return member < m_origins.size() && index >= 0 && static_cast<std::size_t>(index) < m_origins[member].size();
  }
  double Origin(std::size_t member, int index) const { return m_origins[member][static_cast<std::size_t>(index)]; }
  double Total(int index) const {
    return index >= 0 && static_cast<std::size_t>(index) < m_totals.size() ? m_totals[static_cast<std::size_t>(index)]
                                                                           : 0.0;
  }

 private:
  std::uint64_t m_revision = 0;
  std::vector<std::vector<double>> m_origins;
  std::vector<double> m_totals;
};

/// Up to this many members, a sum is added up where it is asked for: no memory is held
/// for stacks of a few series, which is almost every stack.
inline constexpr std::size_t kStackSumsAfterMembers = 8;

}  // namespace tarvela
