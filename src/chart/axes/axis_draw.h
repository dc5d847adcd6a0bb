#pragma once
/// The geometry an axis drawing and its room share, as small pure functions of the
/// axis's side:
///
///     TAxisSide          which side of the plot an axis lies on
///     [SECTION] Edges    the edge of a rectangle, cutting it, moving a position outward
///                        or by PositionPercent into the plot
///     [SECTION] Text     the alignment of label and title texts
///
/// The drawing itself is TCustomChartAxis::DrawAxis (axis.h, axis_draw.cpp); the room
/// is ReserveAxisRoom (axis_room.cpp).
/// @file
#include "tarvela/runtime/control.h"  // TRect

namespace tarvela {

/// An axis added after the standard five takes the side of the standard axis with the
/// same orientation and side; the depth axis lies at the right.
enum class TAxisSide { Bottom, Top, Left, Right };

TAxisSide AxisSideOf(bool horizontal, bool otherSide);

// [SECTION] Edges

/// The rectangle's side the axis lies on: bottom, top, left or right.
int RectEdge(const TRect& rect, TAxisSide side);
/// Moves that edge inward by pixels.
void CutRectEdge(TRect& rect, TAxisSide side, int pixels);
/// pos moved pixels away from the plot: up or left for the top and left sides, down or
/// right for the others.
int MoveOutward(int pos, TAxisSide side, int pixels);
/// pos moved into the plot by percent of rect's size across the axis (its height for
/// a horizontal axis, its width for a vertical one), rounded. A position moved further
/// than 2^28 pixels, or by a percent that is not finite, holds there (a percent that is
/// not a number leaves pos).
int MoveByPercent(int pos, TAxisSide side, double percent, const TRect& rect);

// [SECTION] Text

/// The canvas alignment flags of a label: a vertical row (text beside a vertical
/// axis, or turned beside a horizontal one) is right-aligned on the near side and
/// left-aligned on the far side, both hanging from the top; a horizontal row is
/// centred, hanging from the top on the near side and standing on the bottom on the
/// far side.
int AxisTextAlignment(bool horizontalRow, bool nearSide);

}  // namespace tarvela
