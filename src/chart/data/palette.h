#pragma once
/// The default colour palette of series: what a series joining a chart gets as its
/// colour when it has none, and what points take when their series colours each
/// point. Sixteen fixed colours; nothing here depends on a chart.
/// @file
#include <array>

#include "tarvela/runtime/colors.h"

namespace tarvela {

inline constexpr std::array<TColor, 16> DefaultPalette = {
    clRed,  clGreen, clYellow, clBlue, clWhite, clGray,  clFuchsia, clTeal,
    clNavy, clMaroon, clLime,  clOlive, clPurple, clSilver, clAqua,  clBlack};

/// Entry index mod 16; a negative index counts back from the end in the same cycle.
constexpr TColor PaletteColor(int index) {
  constexpr int kCount = static_cast<int>(DefaultPalette.size());
  int slot = index % kCount;
  if (slot < 0) slot += kCount;
  return DefaultPalette[static_cast<std::size_t>(slot)];
}

}  // namespace tarvela
