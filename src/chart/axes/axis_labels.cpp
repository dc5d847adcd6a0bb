// The labels of an axis: their text, the style in force, and the passes that produce
// them during DrawAxis.
//
//   [SECTION] Label text        FormatLabel
//   [SECTION] Label style       ResolveLabelStyle
//   [SECTION] Label passes      value, logarithmic, custom, series and depth labels
//
// Each pass appends the pixel of every label to TickPositions (ticks and grid lines
// are drawn there afterwards) and draws the label with DrawLabelAt (axis_draw.cpp).
//
// A paint must always finish: every pass is bounded whatever the scale holds. A range
// or step that is not finite produces no labels, a step too small to move a value
// ends the pass, and no value is rounded through a 64-bit integer that could fail.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "tarvela/chart/axes/axis.h"
#include "tarvela/chart/axes/axis_panel.h"
#include "tarvela/chart/axes/calendar_steps.h"
#include "tarvela/chart/canvas/text_lines.h"
#include "tarvela/runtime/number_pattern.h"
#include "tarvela/runtime/rounding.h"

namespace tarvela {

namespace {

// The default pass draws nothing once the range holds this many steps.
constexpr double kMaxValueSteps = 10000;
// A custom label may lie this far outside the scale.
constexpr double kCustomLabelTolerance = 1e-7;

}  // namespace

// [SECTION] Label text

std::string TCustomChartAxis::FormatLabel(double value) {
  const LocaleSettings locale = m_chart != nullptr ? m_chart->Locale() : LocaleSettings::Dot();
  std::string text;
  if (!m_dateTimeScale) {
    text = FormatFloat(m_axisValuesFormat, value, locale);
  } else if (value < 0) {
    // Before the calendar's day 0: no date to show.
  } else if (!m_dateTimeFormat.empty()) {
    text = FormatDateTime(m_dateTimeFormat, value, locale);
  } else {
    // Over more than a day the dates tell labels apart, within one day the times.
    text = FormatLocaleDateTime(m_scale.range > 1 ? locale.shortDateFormat : locale.shortTimeFormat, value);
  }
  if (m_chart != nullptr && m_chart->OnGetAxisLabel) {
    // A copy: the handler may reassign the event while it runs.
    const TAxisOnGetLabel handler = m_chart->OnGetAxisLabel;
    handler(this, nullptr, -1, text);
  }
  if (m_labelsMultiLine) std::replace(text.begin(), text.end(), ' ', LineBreakChar);
  return text;
}

// [SECTION] Label style

TAxisLabelStyle TCustomChartAxis::ResolveLabelStyle() const {
  if (m_labelStyle != talAuto) return m_labelStyle;
  if (m_chart == nullptr) return m_depth ? talText : talNone;
  if (m_depth) {
    // One label per series unless some series spreads its points in depth.
    for (const TChartSeries* series : m_chart->SeriesList()) {
      if (series->Active() && (series->HasZValues() || series->LowestZ() != series->HighestZ())) return talValue;
    }
    return talText;
  }
  bool drawnOnAxis = false;
  for (const TChartSeries* series : m_chart->SeriesList()) {
    if (!series->Active() || !series->DrawnOnAxis(this)) continue;
    // Text labels name the points along the series' independent values only.
    const bool alongIndependent = m_horizontal ? series->YIsMandatory() : !series->YIsMandatory();
    if (alongIndependent && series->LabelEntryCount() > 0 && !series->PointLabel(0).empty()) return talText;
    drawnOnAxis = true;
  }
  return drawnOnAxis ? talValue : talNone;
}

// [SECTION] Label passes

void TCustomChartAxis::AddTickPosition(int pos) {
  // Beyond the fixed block the positions are dropped: only a pass of thousands of
  // overlapping labels gets there, and its ticks would cover the axis anyway.
  if (m_tickPositions.size() < static_cast<std::size_t>(kMaxTickPositions)) m_tickPositions.push_back(pos);
}

void TCustomChartAxis::LabelAtValue(double value) {
  const int pos = ValueToPixel(value);
  if (!m_labelsOnAxis && !(m_scale.startPixel < pos && pos < m_scale.endPixel)) return;
  if (!m_tickOnLabelsOnly) AddTickPosition(pos);
  if (m_labels) DrawLabelAt(pos, FormatLabel(value));
}

// From the top of the scale downward. The limit lies a hair inside a negative
// minimum and a hair below a positive one, so a label exactly at -5 is not drawn
// while one at 5 is.
void TCustomChartAxis::DrawValueLabels(double step) {
  const double minimum = m_scale.minimum;
  const double maximum = m_scale.maximum;
  // Also false for a range or step that is not finite (or not a number).
  if (!(std::fabs(static_cast<long double>(m_scale.range) / step) < kMaxValueSteps)) return;

  double value = maximum;
  if (m_dateTimeScale && m_exactDateTime && m_calendarIndex != kNoCalendarStep && m_calendarIndex >= 14) {
    value = RoundToCalendarStep(m_calendarIndex, maximum);
  } else if (minimum != maximum && m_roundFirstLabel) {
    // In floating point: a quotient beyond 64 bits is a whole number already.
    value = static_cast<double>(std::trunc(static_cast<long double>(maximum) / step) * step);
  }

  const bool exact = m_exactDateTime && m_dateTimeScale && m_calendarIndex > 17;
  // One label lower; false when the step no longer moves the value (a step below
  // the spacing of doubles that large), which ends the pass.
  auto stepDown = [&] {
    const double before = value;
    StepDateTime(exact, false, value, m_calendarIndex, step);
    return value < before;
  };
  while (value > maximum) {
    if (!stepDown()) return;
  }
  const double limit = static_cast<double>((static_cast<long double>(minimum) - 1e-12L) / 1.000000000001L);
  while (value >= limit) {
    LabelAtValue(value);
    if (!stepDown()) return;
  }
}

void TCustomChartAxis::DrawLogarithmicLabels() {
  if (m_scale.minimum == m_scale.maximum) return;
  const long double base = m_logarithmicBase;
  double value = 0;
  if (m_scale.minimum > 0) {
    const long double exponent = std::log(static_cast<long double>(m_scale.minimum)) / std::log(base);
    if (!std::isfinite(exponent)) return;
    // Finite and within a few thousand: Round cannot fail here.
    value = static_cast<double>(std::pow(base, static_cast<long double>(Round(exponent))));
  } else if (m_scale.minimum <= 0) {
    // The scale itself starts there for the rest of the paint.
    m_scale.minimum = m_scale.minimum == 0 ? 0.1 : 1e-10;
    UpdateRange(m_scale);
    value = m_scale.minimum;
  } else {
    return;  // not a number
  }
  while (value <= m_scale.maximum) {
    if (value >= m_scale.minimum) LabelAtValue(value);
    const double next = static_cast<double>(value * base);
    // An infinite maximum would be reached only by infinity, an underflow never.
    if (!std::isfinite(next) || !(next > value)) return;
    value = next;
  }
}

void TCustomChartAxis::DrawOrdinaryLabels(double step) {
  if (m_logarithmic && m_increment == 0)
    DrawLogarithmicLabels();
  else
    DrawValueLabels(step);
}

void TCustomChartAxis::DrawCustomLabels(double step) {
  const TAxisOnGetNextLabel handler = m_chart->OnGetNextAxisLabel;
  double value = m_scale.minimum;
  bool stop = true;
  for (int index = 0; index < kMaxTickPositions;) {
    handler(this, index, value, stop);
    if (stop) {
      if (index == 0) DrawOrdinaryLabels(step);
      return;
    }
    if (!(m_scale.minimum - kCustomLabelTolerance <= value && value <= m_scale.maximum + kCustomLabelTolerance)) return;
    LabelAtValue(value);
    ++index;
  }
}

// The texts of the series' points at their positions, skipping a label that would
// come closer to the last drawn one than half of each plus the separation: earlier
// indexes win.
void TCustomChartAxis::DrawSeriesLabels(TAxisLabelStyle style) {
  std::vector<TChartSeries*> labelSeries;
  for (TChartSeries* series : m_chart->SeriesList()) {
    if (series->Active() && series->DrawnOnAxis(this) && series->LabelEntryCount() > 0)
      labelSeries.push_back(series);
  }
  int first = -1;
  int last = -1;
  for (TChartSeries* series : labelSeries) {
    series->FindVisibleRange();
    if (series->FirstDrawnIndex() != -1 && (first == -1 || series->FirstDrawnIndex() < first))
      first = series->FirstDrawnIndex();
    last = std::max(last, series->LastDrawnIndex());
  }
  if (first == -1) return;

  // Whether a label's extent along the axis is its text width.
  const bool across = (m_labelsAngle == 90 || m_labelsAngle == 270) ? !m_horizontal : m_horizontal;
  const TAxisOnGetLabel handler = m_chart->OnGetAxisLabel;
  // The sizes are measured in LabelsFont; a title drawn before may have left its own.
  m_chart->ApplyChartFont(m_labelsFont);
  int lastPos = -1;
  int lastHalf = 0;
  for (int i = first; i <= last; ++i) {
    auto source = std::find_if(labelSeries.begin(), labelSeries.end(),
                               [i](const TChartSeries* s) { return s->LabelEntryCount() > i; });
    if (source == labelSeries.end()) continue;
    TChartSeries& series = **source;
    std::string text = style == talMark ? series.MarkText(i) : series.PointLabel(i);
    if (handler) handler(this, &series, i, text);
    const double value = m_horizontal ? series.XValueAt(i) : series.YValueAt(i);
    if (!(m_scale.minimum <= value && value <= m_scale.maximum)) continue;
    const int pos = ValueToPixel(value);
    if (!m_tickOnLabelsOnly) AddTickPosition(pos);
    if (!m_labels) continue;
    const int size = across ? m_chart->MultiLineWidth(text) : m_chart->Canvas().LineHeight() * TextLineCount(text);
    if (m_labelsSeparation != 0 && lastPos != -1) {
      // Size × 0.02 × separation, truncated, in integers: 0.02 has no exact binary
      // form, and 30 × 0.02 × 10 must give 6, not 5.
      const std::int64_t gap = std::int64_t{size} * m_labelsSeparation * 2 / 100;
      const int half = static_cast<int>((size + gap) / 2);
      const bool apart = pos < lastPos ? lastPos - lastHalf >= pos + half : pos - half >= lastPos + lastHalf;
      if (!apart) continue;
      DrawLabelAt(pos, text);
      lastPos = pos;
      lastHalf = half;
    } else {
      DrawLabelAt(pos, text);
      lastPos = pos;
      lastHalf = size / 2;
    }
  }
}

// One label per depth slot, in its middle: with the default scale -0.5 ... highest
// slot + 0.5 the first legend series sits at the back.
void TCustomChartAxis::DrawDepthLabels() {
  if (m_chart->ActiveSeriesTotal() == 0) return;
  const long double first = std::trunc(static_cast<long double>(m_scale.minimum));
  const long double last = std::trunc(static_cast<long double>(m_scale.maximum));
  // A scale that is not finite, or holds more slots than any chart has series, has no
  // labels to show (as the default pass beyond its step limit).
  constexpr long double kIntMin = std::numeric_limits<int>::min();
  constexpr long double kIntMax = std::numeric_limits<int>::max();
  if (!(first >= kIntMin && last <= kIntMax && last - first < kMaxValueSteps)) return;
  const TAxisOnGetLabel handler = m_chart->OnGetAxisLabel;
  for (auto i = static_cast<std::int64_t>(first); i <= static_cast<std::int64_t>(last); ++i) {
    const int index = static_cast<int>(i);
    const int pos = DepthToPixel(static_cast<double>(static_cast<long double>(m_scale.maximum) - index - 0.5L));
    if (!m_tickOnLabelsOnly) AddTickPosition(pos);
    if (!m_labels) continue;
    std::string text = m_chart->LegendSeriesTitle(index);
    if (handler) handler(this, nullptr, index, text);
    DrawLabelAt(pos, text);
  }
}

}  // namespace tarvela
