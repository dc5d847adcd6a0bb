#pragma once
/// The arithmetic of an axis scale, as small pure functions of named inputs:
///
///     TAxisScale                 the value range and the pixel span it is laid onto
///     [SECTION] Value to pixel   linear, logarithmic and depth mappings and back
///     [SECTION] Margins          widening a scale so that pixel margins fit
///     [SECTION] Label steps      the 1-2-5 sequence, label counts, label increments
///
/// TCustomChartAxis (axis.h) holds a TAxisScale as its working state and calls these;
/// they know nothing of charts, series or canvases, so every rule is testable alone.
///
/// None of them fails or loops on values that are not finite: a mapping that cannot be
/// computed gives the centre (or an end) of the span, and a label increment that cannot
/// be computed is 0, meaning "no labels".
/// @file
#include <span>

namespace tarvela {

struct TAxisScale {
  double minimum = 0;
  double maximum = 0;
  double range = 0;  ///< maximum - minimum
  /// Along the axis: x for a horizontal axis, y for a vertical one. startPixel is the
  /// left or top end.
  int startPixel = 0;
  int endPixel = 0;
  int length = 0;       ///< endPixel - startPixel
  int centerPixel = 0;  ///< (startPixel + endPixel) div 2
  /// length / range in double, and the length and range it was found for (the value to
  /// pixel mapping checks them, so a changed field can never leave it stale).
  mutable double factor = 0;
  mutable int factorLength = 0;
  mutable double factorRange = 0;
};

/// Sets range from minimum and maximum.
void UpdateRange(TAxisScale& scale);
/// Sets the span and derives length and centre.
void SetPixelSpan(TAxisScale& scale, int startPixel, int endPixel);

// [SECTION] Value to pixel

/// Counts from endPixel when fromFarEnd (an inverted horizontal axis, a vertical axis
/// that is not inverted), else from startPixel. A zero range, a value that is not a
/// number, or an offset of 2147483647 pixels or more gives centerPixel.
int LinearValueToPixel(const TAxisScale& scale, double value, bool fromFarEnd);

/// LinearValueToPixel of every value, pixels[i] for values[i] (pixels holds at least as
/// many): the same pixels, at a fraction of the cost of one call a value.
void LinearValuesToPixels(const TAxisScale& scale, std::span<const double> values, bool fromFarEnd,
                          std::span<int> pixels);

/// Natural logarithms; a limit that is not positive counts as ln = 0. A value that is
/// not positive goes to the end where small values lie; an equal log range, or an
/// offset that cannot be a pixel, gives centerPixel.
int LogarithmicValueToPixel(const TAxisScale& scale, double value, bool horizontal, bool inverted);

/// A depth in pixels, 0 at the front, boxDepth at the back; boxDepth div 2 for a zero
/// range or an offset that cannot be a pixel.
int DepthValueToPixel(const TAxisScale& scale, double value, bool inverted, int boxDepth);

/// 0 for a span shorter than one pixel.
double LinearPixelToValue(const TAxisScale& scale, int pixel, bool horizontal, bool inverted);

/// The span's ends give the limits exactly.
double LogarithmicPixelToValue(const TAxisScale& scale, int pixel, bool horizontal, bool inverted);

// [SECTION] Margins

/// The scale whose old ends lie startMargin and endMargin pixels inside the span: the
/// values at the old ends, mapped on the span narrowed by the margins, become the new
/// limits (swapped when they come out reversed). The span itself is unchanged.
TAxisScale WidenForPixelMargins(const TAxisScale& scale, int startMargin, int endMargin, bool horizontal,
                                bool inverted, bool logarithmic);

// [SECTION] Label steps

/// The next step of 1, 2, 5, 10, 20, 50... (0.5, 0.2, 0.1... below 1). A step that is
/// not positive or not finite comes back unchanged.
double NextDecimalStep(double step);

/// How many labels of labelSize pixels, spaced by separation percent of that size, fit
/// along axisLength pixels; 1 when labelSize is not positive.
int MaxLabelCount(int axisLength, int labelSize, int separation);

struct TLabelStepRequest {
  double range = 0;      ///< the scale's range
  double increment = 0;  ///< the axis's Increment; 0 = automatic
  int separation = 0;    ///< LabelsSeparation; 0 switches the climb of a value step off
  bool dateTime = false;
  int maxLabels = 0;     ///< at most this many labels
};

/// The label increment: the smallest step of the 1-2-5 sequence (of the calendar table
/// on a date-time axis) from its start that gives no more than maxLabels labels; one
/// second or 1e-12 when maxLabels < 1. 0 when range or the result is not finite: the
/// axis then shows no labels.
double LabelIncrement(const TLabelStepRequest& request);

}  // namespace tarvela
