#pragma once
/// The values a drawing surface works with: points, the pen, brush and font it draws
/// with, background mode and text alignment. The chart's own pens and brushes use the
/// same style and mode enumerations, so they are defined here, below the chart.
/// These only describe; a Surface realises them.
/// @file
#include <cstdint>
#include <optional>
#include <string>

#include "tarvela/platform/picture.h"
#include "tarvela/runtime/colors.h"
#include "tarvela/runtime/font.h"

namespace tarvela {

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

/// How the pen (and the fill of a shape) combines with what is already there; the
/// sixteen two-operand raster operations. pmNot inverts the destination, pmNotXor
/// drawn twice restores it.
enum TPenMode {
  pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
  pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

/// A device pixel position; y grows downward.
struct TPoint {
  int x = 0;
  int y = 0;
  bool operator==(const TPoint&) const = default;
};

/// Whether the gaps of styled lines, hatches and text cells show the background colour.
enum class BkMode : int { Transparent = 1, Opaque = 2 };

/// Text alignment flags: one horizontal and one vertical choice, added together. The
/// reference point is the corner or the baseline of the character cell.
inline constexpr int kTextAlignLeft = 0;
inline constexpr int kTextAlignRight = 2;
inline constexpr int kTextAlignCenter = 6;
inline constexpr int kTextAlignTop = 0;
inline constexpr int kTextAlignBottom = 8;
inline constexpr int kTextAlignBaseline = 24;
inline constexpr int kTextAlignHorizontalMask = 6;
inline constexpr int kTextAlignVerticalMask = 24;

/// Output precision of a font: which kinds of face the matching may pick.
inline constexpr int kOutPrecisionDefault = 0;
inline constexpr int kOutPrecisionTrueTypeOnly = 7;

struct SurfacePen {
  TColor color = clBlack;  ///< RGB once the surface holds it
  int width = 1;
  TPenStyle style = psSolid;
  TPenMode mode = pmCopy;
  /// The cosmetic pen that sets every other pixel along a line; width 1, style ignored.
  bool alternate = false;
  bool operator==(const SurfacePen&) const = default;
};

struct SurfaceBrush {
  TColor color = clWhite;  ///< RGB once the surface holds it; for a hatch, the line colour
  TBrushStyle style = bsSolid;
  /// When present it is the fill, repeated from the device origin; colour and style are
  /// then not used.
  std::optional<Picture> pattern;
  bool operator==(const SurfaceBrush&) const = default;
};

struct SurfaceFont {
  std::string name = "Arial";
  /// Pixels. Negative: the character height (without internal leading); positive: the
  /// cell height.
  int height = -13;
  int pixelsPerInch = 96;
  TFontStyles style = 0;
  TColor color = clBlack;  ///< the text colour; RGB once the surface holds it
  int charset = DEFAULT_CHARSET;
  /// Tenths of a degree, counter-clockwise. Text runs along the escapement; the
  /// orientation is kept for completeness.
  int escapement = 0;
  int orientation = 0;
  int outputPrecision = kOutPrecisionDefault;

  /// Points at pixelsPerInch, derived from height both ways with MulDiv.
  int Size() const;
  void SetSize(int points);
  bool HasStyle(TFontStyle s) const { return (style & FontStyleBit(s)) != 0; }
  bool operator==(const SurfaceFont&) const = default;
};

struct TextSize {
  int width = 0;
  int height = 0;
  bool operator==(const TextSize&) const = default;
};

}  // namespace tarvela
