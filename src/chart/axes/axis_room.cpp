// The room an axis takes from the plot, and whether a mouse position lies on it.
//
//   [SECTION] ReserveAxisRoom   positions across the axis and the room cut from the plot
//   [SECTION] Room sizes        TickRoom, TitleRoom, LabelsRoom, WidestLabel
//   [SECTION] Hit test          AxisHit
//
// The room is measured before the axis is drawn, with the scale of this paint and the
// pixel span of the last one: value labels are measured on the lowest and highest
// round label only, which is what makes the layout cheap.

#include <algorithm>
#include <cmath>
#include <utility>

#include "tarvela/chart/axes/axis.h"
#include "tarvela/chart/axes/axis_draw.h"
#include "tarvela/chart/axes/axis_panel.h"

namespace tarvela {

namespace {

// Whether text at angle runs along the axis: flat beside a horizontal axis, turned
// upright beside a vertical one.
bool RunsAlongAxis(bool horizontal, int angle) {
  return horizontal ? angle == 0 || angle == 180 : angle == 90 || angle == 270;
}

// The chart's OnGetAxisLabel is disconnected while it lives: room is measured on the
// plain label texts.
class LabelEventPause {
 public:
  explicit LabelEventPause(TCustomAxisPanel& chart) : m_chart(chart), m_saved(std::exchange(chart.OnGetAxisLabel, {})) {}
  ~LabelEventPause() { m_chart.OnGetAxisLabel = std::move(m_saved); }
  LabelEventPause(const LabelEventPause&) = delete;
  LabelEventPause& operator=(const LabelEventPause&) = delete;

 private:
  TCustomAxisPanel& m_chart;
  TAxisOnGetLabel m_saved;
};

}  // namespace

// [SECTION] ReserveAxisRoom

// From the plot's edge inward: title, labels, then ticks and the wall beside the axis.
// The axis line itself is placed by DrawAxis on the plot that remains.
void TCustomChartAxis::ReserveAxisRoom(TRect& rect, bool shrink) {
  m_dateTimeScale = IsDateTimeAxis();
  const TAxisSide side = AxisSideOf(m_horizontal, m_otherSide);
  if (!shrink) {
    // An added axis takes no room: it sits inside the plot, its texts outward from it.
    m_axisLinePos = MoveByPercent(RectEdge(rect, side), side, m_positionPercent, rect);
    m_labelsPos = MoveOutward(m_axisLinePos, side, TickRoom());
    m_titlePos = MoveOutward(m_labelsPos, side, LabelsRoom());
    return;
  }
  if (m_depth) {
    m_titlePos = rect.right;
  } else if (!m_title.Caption().empty()) {
    CutRectEdge(rect, side, TitleRoom());
    m_titlePos = RectEdge(rect, side);
  }
  if (m_labels) {
    CutRectEdge(rect, side, LabelsRoom());
    m_labelsPos = RectEdge(rect, side);
  }
  const int ticks = TickRoom() + (m_chart != nullptr ? m_chart->WallSizeForAxis(*this) : 0);
  if (ticks > 0) CutRectEdge(rect, side, ticks);
  m_titlePos = MoveByPercent(m_titlePos, side, m_positionPercent, rect);
  m_labelsPos = MoveByPercent(m_labelsPos, side, m_positionPercent, rect);
}

// [SECTION] Room sizes

int TCustomChartAxis::TickRoom() const {
  int room = m_axisPen.Visible() ? m_axisPen.Width() : 0;
  if (m_ticks.Visible()) room += m_tickLength;
  if (m_minorTicks.Visible()) room = std::max(room, m_minorTickLength);
  return room;
}

int TCustomChartAxis::TitleRoom() {
  if (m_titleSize != 0) return m_titleSize;
  if (m_chart == nullptr) return 0;
  m_chart->ApplyChartFont(m_title.Font());
  TZavCanvas3D& canvas = m_chart->Canvas();
  return RunsAlongAxis(m_horizontal, m_title.Angle()) ? canvas.LineHeight() : canvas.MeasureTextWidth(m_title.Caption());
}

// The line count is not taken into account: a room of one line.
int TCustomChartAxis::LabelsRoom() {
  if (m_labelsSize != 0) return m_labelsSize;
  if (m_chart == nullptr) return 0;
  m_chart->ApplyChartFont(m_labelsFont);
  return RunsAlongAxis(m_horizontal, m_labelsAngle) ? m_chart->Canvas().LineHeight() : WidestLabel();
}

int TCustomChartAxis::WidestLabel() {
  if (m_chart == nullptr) return 0;
  m_chart->ApplyChartFont(m_labelsFont);
  int widest = 0;
  switch (ResolveLabelStyle()) {
    case talValue:
      return WidestValueLabel();
    case talMark:
      return m_chart->MaxMarkWidth();
    case talText:
      // Every series with labels, active or not: switching one on must not jump the plot.
      for (const TChartSeries* series : m_chart->SeriesList()) {
        for (int i = 0; i < series->LabelEntryCount(); ++i)
          widest = std::max(widest, m_chart->MultiLineWidth(series->PointLabel(i)));
      }
      return widest;
    case talAuto:  // resolved: never here
    case talNone:
      break;
  }
  return 0;
}

int TCustomChartAxis::WidestValueLabel() {
  const LabelEventPause pause(*m_chart);
  double low = m_scale.minimum;
  double high = m_scale.maximum;
  if ((IsDateTimeAxis() && m_exactDateTime) || m_roundFirstLabel) {
    const double step = LabelStep();
    // A scale without a step (not finite) is measured at its limits.
    if (step > 0) {
      low = static_cast<double>(std::trunc(static_cast<long double>(low) / step) * step);
      high = static_cast<double>(std::trunc(static_cast<long double>(high) / step) * step);
    }
  }
  const int widest = std::max(m_chart->MultiLineWidth(FormatLabel(high)), m_chart->MultiLineWidth(FormatLabel(low)));
  return widest + m_chart->Canvas().MeasureTextWidth(" ");
}

// [SECTION] Hit test

bool TCustomChartAxis::AxisHit(int x, int y) const {
  if (m_chart == nullptr || !m_chart->AxisShown(*this)) return false;
  const int a = std::min(m_scale.startPixel, m_scale.endPixel);
  const int b = std::max(m_scale.startPixel, m_scale.endPixel);
  // From the labels to 3 pixels beyond the line, whichever side the labels are on.
  int bandStart = m_axisLinePos - 3;
  int bandEnd = m_labelsPos;
  if (m_labelsPos < m_axisLinePos) {
    bandStart = m_labelsPos;
    bandEnd = m_axisLinePos + 3;
  }
  if (m_horizontal) return a <= x && x < b && bandStart <= y && y < bandEnd;
  return bandStart <= x && x < bandEnd && a <= y && y < b;
}

}  // namespace tarvela
