#pragma once
/// The vocabulary of data links between series: which changes of its sources a
/// series follows, and which changes a series reports to the series linked to it.
/// The links themselves are fields of TChartSeries (DataSources, LinkedSeries);
/// series_links.cpp holds the operations that keep both ends in step and the
/// chart's checks of a data source.
/// @file
#include <cstdint>

namespace tarvela {

/// Bits of FollowFlags, lowest first.
enum TSeriesFollowFlag { FollowDeletes, FollowChanges, FollowInserts, FollowClears };
using TFollowFlags = std::uint8_t;  ///< bit (1 << TSeriesFollowFlag)

constexpr TFollowFlags FollowFlagBit(TSeriesFollowFlag flag) { return static_cast<TFollowFlags>(1u << flag); }
inline constexpr TFollowFlags kAllFollowFlags = 0x0F;

/// What happened to a source series; its linked series react by their FollowFlags.
enum class TSourceChange {
  Cleared,        ///< FollowClears: clear
  PointInserted,  ///< FollowInserts, no function: copy the point
  PointDeleted,   ///< FollowDeletes, no function: delete the same index
  ValueChanged,   ///< FollowChanges: reload everything
  AllChanged      ///< always: reload everything
};

}  // namespace tarvela
