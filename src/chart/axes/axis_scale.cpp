// The scale of an axis: the pure mapping and step functions (axis_scale.h), then the
// axis operations that feed them from the chart (RefreshScale ... LabelStep).
//
// Arithmetic runs in long double and is rounded to double where a value is stored, as
// the rest of the engine does. Every rounding to a pixel goes through a guard, because
// Round fails on values that are not finite and a paint must never fail: an offset that
// cannot be a pixel is answered the way a zero range is.

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

#if defined(__x86_64__) || defined(__SSE2__)
#include <immintrin.h>
#endif

#include "tarvela/chart/axes/axis.h"
#include "tarvela/chart/axes/axis_panel.h"
#include "tarvela/chart/axes/calendar_steps.h"
#include "tarvela/chart/canvas/pixel_round.h"
#include "tarvela/runtime/rounding.h"

namespace tarvela {

namespace {

constexpr long double kMaxPixelOffset = 2147483647.0L;
constexpr double kSmallestDecimalStep = 1e-12;
// More date-time labels than this are never tried: the step starts above range / this.
constexpr double kMaxDateTimeSteps = 1000000.0;

// Round(t) when t is a finite offset of less than 2147483647 pixels.
bool PixelOffset(long double t, std::int64_t& offset) {
  if (!(std::fabs(t) < kMaxPixelOffset)) return false;  // not a number fails here too
  offset = PixelRound(t);
  return true;
}

int ClampToInt(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

// Round for a label count: far-out quotients are held at ±2^62, which any int count
// compares with correctly.
std::int64_t RoundCount(long double value) {
  constexpr long double kLimit = 4611686018427387904.0L;  // 2^62
  return Round(std::clamp(value, -kLimit, kLimit));
}

// ln of a scale limit; a limit that is not positive counts as 0.
long double LogOfLimit(double limit) { return limit > 0 ? std::log(static_cast<long double>(limit)) : 0.0L; }

// Scaling by 10 and 0.1 rounds, so 2e-12 scaled into 1..10 may read 1.9999999999999998:
// values within this relative distance of 1, 2, 5 or 10 count as that mark, so the step
// after 2e-12 is 5e-12 and not 2e-12 once more.
constexpr double kMarkTolerance = 1e-12;

// The 1-2-5 climb, with the marks widened by kMarkTolerance; step is positive and finite.
double DecimalClimb(double step) {
  if (step >= 10 * (1 - kMarkTolerance)) return 10 * DecimalClimb(step * 0.1);
  if (step < 1 - kMarkTolerance) return 0.1 * DecimalClimb(step * 10);
  if (step < 2 * (1 - kMarkTolerance)) return 2;
  if (step < 5 * (1 - kMarkTolerance)) return 5;
  return 10;
}

// The value step: from the increment (or 1, or 1e-12 below a range of 1) up the 1-2-5
// sequence until no more than maxLabels labels fit. The loop ends for every finite
// range: the step grows by at least 2 each turn, and once range / step is small enough
// to count, the count falls to maxLabels.
double DecimalStep(const TLabelStepRequest& request) {
  double step = request.increment > 0 ? request.increment
                                      : (std::fabs(request.range) >= 1 ? 1.0 : kSmallestDecimalStep);
  if (request.separation > 0) {
    std::int64_t count = static_cast<std::int64_t>(request.maxLabels) + 1;
    do {
      const long double quotient = static_cast<long double>(request.range) / step;
      if (std::fabs(quotient) < kMaxPixelOffset) {
        count = Round(quotient);
        if (count > request.maxLabels) step = NextDecimalStep(step);
      } else {
        step = NextDecimalStep(step);
      }
      // A step that overflowed cannot grow further; the caller turns it into "no labels".
      if (!std::isfinite(step)) break;
    } while (count > request.maxLabels);
  }
  return std::max(step, kSmallestDecimalStep);
}

// The date-time step: from the increment (at least one second) up the calendar table,
// doubling beyond a year.
double DateTimeStep(const TLabelStepRequest& request) {
  double step = std::max(request.increment, kOneSecond);
  if (request.range / step > kMaxDateTimeSteps) step = request.range / kMaxDateTimeSteps;
  std::int64_t count = 0;
  do {
    count = RoundCount(static_cast<long double>(request.range) / step);
    if (count > request.maxLabels) step = step >= CalendarStepTable[kYearStep] ? step * 2 : NextCalendarStep(step);
    if (!std::isfinite(step)) break;
  } while (count > request.maxLabels);
  return std::max(step, kOneSecond);
}

}  // namespace

// [SECTION] TAxisScale

void UpdateRange(TAxisScale& scale) { scale.range = scale.maximum - scale.minimum; }

void SetPixelSpan(TAxisScale& scale, int startPixel, int endPixel) {
  scale.startPixel = startPixel;
  scale.endPixel = endPixel;
  scale.length = ClampToInt(static_cast<std::int64_t>(endPixel) - startPixel);
  // Division truncating toward zero.
  scale.centerPixel = static_cast<int>((static_cast<std::int64_t>(startPixel) + endPixel) / 2);
}

// [SECTION] Value to pixel

namespace {

// Round((value - minimum) * length / range) computed in long double, found in double
// when that is sure to give the same integer: three double roundings (a relative error
// within 2^-50 of the exact quotient, in any rounding mode, as long as the scale factor
// is a normal number) and the long double quotient's own (within 2^-62) leave the two
// within |t| * 2^-48 of each other; when no half lies that close to the double value,
// both round to the same side. False (the long double way then) otherwise, and for
// offsets near the pixel limits, infinities and not-a-number.
void RefreshFactor(const TAxisScale& scale) {
  if (scale.factorLength != scale.length || scale.factorRange != scale.range) {
    scale.factor = static_cast<double>(scale.length) / scale.range;
    scale.factorLength = scale.length;
    scale.factorRange = scale.range;
  }
}

bool QuickPixelOffset(const TAxisScale& scale, double value, std::int64_t& offset) {
  RefreshFactor(scale);
  if (!(std::fabs(scale.factor) >= std::numeric_limits<double>::min())) return false;
  return RoundNear((value - scale.minimum) * scale.factor, offset);
}

}  // namespace

int LinearValueToPixel(const TAxisScale& scale, double value, bool fromFarEnd) {
  if (scale.range == 0) return scale.centerPixel;
  if (std::int64_t quickOffset = 0; QuickPixelOffset(scale, value, quickOffset)) {
    return ClampToInt(fromFarEnd ? scale.endPixel - quickOffset : scale.startPixel + quickOffset);
  }
  const long double t = (static_cast<long double>(value) - scale.minimum) * scale.length / scale.range;
  std::int64_t offset = 0;
  if (!PixelOffset(t, offset)) return scale.centerPixel;
  return ClampToInt(fromFarEnd ? scale.endPixel - offset : scale.startPixel + offset);
}

// A block of values, several a step, each through the operations of QuickPixelOffset
// and RoundNear in the same order (so the same roundings, in any rounding mode): the
// range test on |t| is RoundNear's two; the offset is added in double, which holds
// these whole numbers exactly, and its sign flipped for the far end. A step where any
// value would leave the quick way goes one value at a time. Each returns how many
// values it mapped.
#if defined(__SSE2__)
std::size_t QuickPixelsBy2(const TAxisScale& scale, const double* values, std::size_t count, bool fromFarEnd,
                           int* pixels) {
  const __m128d minimum = _mm_set1_pd(scale.minimum);
  const __m128d factor = _mm_set1_pd(scale.factor);
  const __m128d shift = _mm_set1_pd(0x1.8p52);
  const __m128d high = _mm_set1_pd(2147483000.0);
  const __m128d half = _mm_set1_pd(0.5);
  const __m128d tolerance = _mm_set1_pd(0x1p-48);
  const __m128d magnitude = _mm_castsi128_pd(_mm_set1_epi64x(0x7FFFFFFFFFFFFFFF));
  const __m128d flip = _mm_set1_pd(fromFarEnd ? -0.0 : 0.0);
  const __m128d origin = _mm_set1_pd(fromFarEnd ? scale.endPixel : scale.startPixel);
  const __m128d intMin = _mm_set1_pd(std::numeric_limits<int>::min());
  const __m128d intMax = _mm_set1_pd(std::numeric_limits<int>::max());
  std::size_t i = 0;
  for (; i + 2 <= count; i += 2) {
    const __m128d t = _mm_mul_pd(_mm_sub_pd(_mm_loadu_pd(values + i), minimum), factor);
    const __m128d nearest = _mm_sub_pd(_mm_add_pd(t, shift), shift);
    const __m128d distance = _mm_and_pd(_mm_sub_pd(t, nearest), magnitude);
    const __m128d size = _mm_and_pd(t, magnitude);
    const __m128d bound = _mm_sub_pd(half, _mm_mul_pd(size, tolerance));
    if (_mm_movemask_pd(_mm_and_pd(_mm_cmplt_pd(size, high), _mm_cmplt_pd(distance, bound))) != 3) {
      pixels[i] = LinearValueToPixel(scale, values[i], fromFarEnd);
      pixels[i + 1] = LinearValueToPixel(scale, values[i + 1], fromFarEnd);
      continue;
    }
    const __m128d pixel = _mm_add_pd(origin, _mm_xor_pd(nearest, flip));
    const __m128i whole = _mm_cvttpd_epi32(_mm_min_pd(_mm_max_pd(pixel, intMin), intMax));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(pixels + i), whole);
  }
  return i;
}
#endif

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define TARVELA_AVX2_PIXELS 1
// Four a step where the processor has the wider registers (without fused multiply-add,
// which would round differently).
__attribute__((target("avx2"))) std::size_t QuickPixelsBy4(const TAxisScale& scale, const double* values,
                                                           std::size_t count, bool fromFarEnd, int* pixels) {
  const __m256d minimum = _mm256_set1_pd(scale.minimum);
  const __m256d factor = _mm256_set1_pd(scale.factor);
  const __m256d shift = _mm256_set1_pd(0x1.8p52);
  const __m256d high = _mm256_set1_pd(2147483000.0);
  const __m256d half = _mm256_set1_pd(0.5);
  const __m256d tolerance = _mm256_set1_pd(0x1p-48);
  const __m256d magnitude = _mm256_castsi256_pd(_mm256_set1_epi64x(0x7FFFFFFFFFFFFFFF));
  const __m256d flip = _mm256_set1_pd(fromFarEnd ? -0.0 : 0.0);
  const __m256d origin = _mm256_set1_pd(fromFarEnd ? scale.endPixel : scale.startPixel);
  const __m256d intMin = _mm256_set1_pd(std::numeric_limits<int>::min());
  const __m256d intMax = _mm256_set1_pd(std::numeric_limits<int>::max());
  std::size_t i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m256d t = _mm256_mul_pd(_mm256_sub_pd(_mm256_loadu_pd(values + i), minimum), factor);
    const __m256d nearest = _mm256_sub_pd(_mm256_add_pd(t, shift), shift);
    const __m256d distance = _mm256_and_pd(_mm256_sub_pd(t, nearest), magnitude);
    const __m256d size = _mm256_and_pd(t, magnitude);
    const __m256d bound = _mm256_sub_pd(half, _mm256_mul_pd(size, tolerance));
    const __m256d quick =
        _mm256_and_pd(_mm256_cmp_pd(size, high, _CMP_LT_OQ), _mm256_cmp_pd(distance, bound, _CMP_LT_OQ));
    if (_mm256_movemask_pd(quick) != 15) {
      for (std::size_t k = i; k < i + 4; ++k) pixels[k] = LinearValueToPixel(scale, values[k], fromFarEnd);
      continue;
    }
    const __m256d pixel = _mm256_add_pd(origin, _mm256_xor_pd(nearest, flip));
    const __m128i whole = _mm256_cvttpd_epi32(_mm256_min_pd(_mm256_max_pd(pixel, intMin), intMax));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(pixels + i), whole);
  }
  return i;
}
#endif

void LinearValuesToPixels(const TAxisScale& scale, std::span<const double> values, bool fromFarEnd,
                          std::span<int> pixels) {
  const std::size_t count = values.size();
  std::size_t i = 0;
  if (scale.range == 0) {
    for (; i < count; ++i) pixels[i] = scale.centerPixel;
    return;
  }
  RefreshFactor(scale);
  if (std::fabs(scale.factor) >= std::numeric_limits<double>::min()) {
    // An infinite value meets an infinity in the steps (the one-value way never gets
    // there): the pixel is the same, and no flag is left raised, as a paint leaves none.
    std::fexcept_t flags;
    std::fegetexceptflag(&flags, FE_ALL_EXCEPT);
#if defined(TARVELA_AVX2_PIXELS)
    static const bool wide = __builtin_cpu_supports("avx2");
    if (wide) i = QuickPixelsBy4(scale, values.data(), count, fromFarEnd, pixels.data());
#endif
#if defined(__SSE2__)
    i += QuickPixelsBy2(scale, values.data() + i, count - i, fromFarEnd, pixels.data() + i);
#endif
    std::fesetexceptflag(&flags, FE_ALL_EXCEPT);
  }
  for (; i < count; ++i) pixels[i] = LinearValueToPixel(scale, values[i], fromFarEnd);
}

int LogarithmicValueToPixel(const TAxisScale& scale, double value, bool horizontal, bool inverted) {
  const long double logMin = LogOfLimit(scale.minimum);
  const long double logMax = LogOfLimit(scale.maximum);
  const long double logRange = logMax - logMin;
  if (logRange == 0 || std::isnan(value)) return scale.centerPixel;
  if (value > 0) {
    const long double logValue = std::log(static_cast<long double>(value));
    const long double d = inverted ? logMax - logValue : logValue - logMin;
    std::int64_t offset = 0;
    if (!PixelOffset(d * scale.length / logRange, offset)) return scale.centerPixel;
    return ClampToInt(horizontal ? scale.startPixel + offset : scale.endPixel - offset);
  }
  // Not positive: where the smallest values lie.
  const bool atEnd = horizontal ? inverted : !inverted;
  return atEnd ? scale.endPixel : scale.startPixel;
}

int DepthValueToPixel(const TAxisScale& scale, double value, bool inverted, int boxDepth) {
  if (scale.range == 0) return boxDepth / 2;
  const long double d = inverted ? static_cast<long double>(scale.maximum) - value
                                 : static_cast<long double>(value) - scale.minimum;
  std::int64_t offset = 0;
  if (!PixelOffset(boxDepth * d / scale.range, offset)) return boxDepth / 2;
  return ClampToInt(offset);
}

double LinearPixelToValue(const TAxisScale& scale, int pixel, bool horizontal, bool inverted) {
  if (scale.length < 1) return 0;
  const std::int64_t along = inverted ? static_cast<std::int64_t>(scale.endPixel) - pixel
                                      : static_cast<std::int64_t>(pixel) - scale.startPixel;
  const long double d = static_cast<long double>(along) * scale.range / scale.length;
  return static_cast<double>(horizontal ? scale.minimum + d : scale.maximum - d);
}

double LogarithmicPixelToValue(const TAxisScale& scale, int pixel, bool horizontal, bool inverted) {
  // The maximum lies at the start of an inverted horizontal axis and of a vertical
  // axis that is not inverted.
  const bool maximumAtStart = horizontal == inverted;
  if (pixel == scale.startPixel) return maximumAtStart ? scale.maximum : scale.minimum;
  if (pixel == scale.endPixel) return maximumAtStart ? scale.minimum : scale.maximum;
  const long double logMin = LogOfLimit(scale.minimum);
  const long double logMax = LogOfLimit(scale.maximum);
  const long double logRange = logMax - logMin;
  if (logRange == 0 || scale.length == 0) return scale.minimum;
  const std::int64_t along = inverted ? static_cast<std::int64_t>(scale.endPixel) - pixel
                                      : static_cast<std::int64_t>(pixel) - scale.startPixel;
  const long double d = logRange * along / scale.length;
  return static_cast<double>(horizontal ? std::exp(logMin + d) : std::exp(logMax - d));
}

// [SECTION] Margins

TAxisScale WidenForPixelMargins(const TAxisScale& scale, int startMargin, int endMargin, bool horizontal,
                                bool inverted, bool logarithmic) {
  TAxisScale narrowed = scale;
  narrowed.startPixel = ClampToInt(static_cast<std::int64_t>(scale.startPixel) + startMargin);
  narrowed.endPixel = ClampToInt(static_cast<std::int64_t>(scale.endPixel) - endMargin);
  // The centre stays: only the mapping of the two old ends is asked for.
  narrowed.length = ClampToInt(static_cast<std::int64_t>(narrowed.endPixel) - narrowed.startPixel);
  auto valueAt = [&](int pixel) {
    return logarithmic ? LogarithmicPixelToValue(narrowed, pixel, horizontal, inverted)
                       : LinearPixelToValue(narrowed, pixel, horizontal, inverted);
  };
  TAxisScale widened = scale;
  widened.minimum = valueAt(scale.startPixel);
  widened.maximum = valueAt(scale.endPixel);
  if (widened.minimum > widened.maximum) std::swap(widened.minimum, widened.maximum);
  UpdateRange(widened);
  return widened;
}

// [SECTION] Label steps

double NextDecimalStep(double step) {
  // 0, negative steps and infinities would recurse for ever; not-a-number would not,
  // but has no next step either.
  if (!(step > 0) || !std::isfinite(step)) return step;
  const double next = DecimalClimb(step);
  // Below the normal doubles the decimal scaling is too coarse to reach the next
  // step, which would let a label loop ask for the same step for ever.
  return next > step ? next : step * 2;
}

int MaxLabelCount(int axisLength, int labelSize, int separation) {
  if (labelSize <= 0) return 1;
  std::int64_t size = labelSize;
  if (separation > 0) size += Round(separation * 0.01L * size);
  return static_cast<int>(Round(static_cast<long double>(axisLength) / size));
}

double LabelIncrement(const TLabelStepRequest& request) {
  if (!std::isfinite(request.range)) return 0;
  if (request.maxLabels < 1) return request.dateTime ? kOneSecond : kSmallestDecimalStep;
  const double step = request.dateTime ? DateTimeStep(request) : DecimalStep(request);
  return std::isfinite(step) ? step : 0;
}

// [SECTION] TCustomChartAxis: scale

bool TCustomChartAxis::IsDateTimeAxis() const {
  if (m_chart == nullptr) return false;
  for (const TChartSeries* series : m_chart->SeriesList()) {
    if (series->Active() && series->DrawnOnAxis(this))
      return m_horizontal ? series->XValues().DateTime() : series->YValues().DateTime();
  }
  return false;
}

void TCustomChartAxis::RefreshScale() {
  // Stored directly: the limits from the series pass no check and ask for no repaint.
  if (m_chart != nullptr) {
    if (m_automatic || m_automaticMaximum) m_maximum = m_chart->SeriesExtreme(*this, false, m_horizontal);
    if (m_automatic || m_automaticMinimum) m_minimum = m_chart->SeriesExtreme(*this, true, m_horizontal);
  }
  m_scale.minimum = m_minimum;
  m_scale.maximum = m_maximum;
  UpdateRange(m_scale);
}

// The span is held to the pixel range, so that what the drawing adds to a pixel of the
// axis (a bar's width, a mark's box) cannot wrap, however far the percentages reach.
void TCustomChartAxis::LayoutPixels() {
  if (m_chart == nullptr) return;
  const TRect& plot = m_chart->PlotRect();
  const int origin = m_horizontal ? plot.left : plot.top;
  const long double size = m_horizontal ? m_chart->PlotWidth() : m_chart->PlotHeight();
  SetPixelSpan(m_scale, ClampPixel(static_cast<std::int64_t>(origin) + ToPixel(size * 0.01L * m_startPosition)),
               ClampPixel(static_cast<std::int64_t>(origin) + ToPixel(size * 0.01L * m_endPosition)));
}

void TCustomChartAxis::ApplyPixelMargins(const TRect& margins) {
  const int startMargin = m_horizontal ? margins.left : margins.top;
  const int endMargin = m_horizontal ? margins.right : margins.bottom;
  m_scale = WidenForPixelMargins(m_scale, startMargin, endMargin, m_horizontal, m_inverted, m_logarithmic);
}

int TCustomChartAxis::ValueToPixelX(double value) const {
  if (m_depth) return DepthToPixel(value);
  if (m_logarithmic) return LogarithmicValueToPixel(m_scale, value, true, m_inverted);
  return LinearValueToPixel(m_scale, value, m_inverted);
}

int TCustomChartAxis::ValueToPixelY(double value) const {
  if (m_depth) return DepthToPixel(value);
  if (m_logarithmic) return LogarithmicValueToPixel(m_scale, value, false, m_inverted);
  // Screen y grows downward: the maximum is at the top unless inverted.
  return LinearValueToPixel(m_scale, value, !m_inverted);
}

void TCustomChartAxis::ValuesToPixels(std::span<const double> values, std::span<int> pixels) const {
  if (m_depth || m_logarithmic) {
    for (std::size_t i = 0; i < values.size(); ++i) pixels[i] = ValueToPixel(values[i]);
    return;
  }
  // As ValueToPixelX and ValueToPixelY: y grows downward.
  LinearValuesToPixels(m_scale, values, m_horizontal ? m_inverted : !m_inverted, pixels);
}

bool TCustomChartAxis::MapsInOrder(double low, double high) const {
  if (m_depth || m_logarithmic || m_scale.range == 0) return false;
  for (const double value : {low, high}) {
    const long double t = (static_cast<long double>(value) - m_scale.minimum) * m_scale.length / m_scale.range;
    if (!(std::fabs(t) < kMaxPixelOffset)) return false;
  }
  return true;
}

int TCustomChartAxis::DepthToPixel(double value) const {
  return DepthValueToPixel(m_scale, value, m_inverted, m_chart != nullptr ? m_chart->BoxDepthX() : 0);
}

double TCustomChartAxis::PixelToValue(int pixel) const {
  return m_logarithmic ? LogarithmicPixelToValue(m_scale, pixel, m_horizontal, m_inverted)
                       : LinearPixelToValue(m_scale, pixel, m_horizontal, m_inverted);
}

// [SECTION] TCustomChartAxis: labels

int TCustomChartAxis::LabelSize(double value) {
  if (m_chart == nullptr) return 0;
  int lines = 0;
  const int widest = m_chart->MultiLineWidth(FormatLabel(value), lines);
  // Along a horizontal axis a label takes its width, unless turned upright; along a
  // vertical one its height, unless turned on its side.
  const bool upright = m_labelsAngle == 90 || m_labelsAngle == 270;
  const bool flat = m_labelsAngle == 0 || m_labelsAngle == 180;
  if (m_horizontal ? upright : flat) return m_chart->Canvas().LineHeight() * lines;
  return widest;
}

double TCustomChartAxis::LabelStep() {
  const int size = std::max(LabelSize(m_scale.maximum), LabelSize(m_scale.minimum));
  return StepForLabelCount(MaxLabelCount(m_scale.length, size, m_labelsSeparation));
}

double TCustomChartAxis::StepForLabelCount(int maxLabels) const {
  return LabelIncrement({.range = m_scale.range,
                         .increment = m_increment,
                         .separation = m_labelsSeparation,
                         .dateTime = m_dateTimeScale,
                         .maxLabels = maxLabels});
}

}  // namespace tarvela
