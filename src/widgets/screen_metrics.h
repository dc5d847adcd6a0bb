#pragma once
/// The screen the program shows its charts on, for pies that should look round.
/// @file
#include "tarvela/chart/series/circled_series.h"

namespace tarvela {

/// The primary screen's size in pixels and millimetres; zeros without a screen.
TScreenMetrics SystemScreenMetrics();

}  // namespace tarvela
