// The drawing of one axis, in the order of DrawAxis:
//
//   [SECTION] Geometry            the pure side helpers of axis_draw.h
//   [SECTION] DrawAxis            the steps of one axis drawing
//   [SECTION] Text                DrawLabelAt, PlaceAxisText, the title
//   [SECTION] Ticks, grid, line   after the label pass, at TickPositions
//
// Coordinates: along the axis x (horizontal axis) or y (vertical axis), across it the
// other one; z is the depth, 0 at the front and BoxDepthX at the back. The near axes
// (bottom, left) draw at the front, the far ones (top, right) at the back plane; the
// depth axis runs along the floor's right edge, its positions being depths.

#include "tarvela/chart/axes/axis_draw.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string_view>

#include "tarvela/chart/axes/axis.h"
#include "tarvela/chart/axes/axis_panel.h"
#include "tarvela/chart/axes/calendar_steps.h"
#include "tarvela/chart/canvas/text_lines.h"
#include "tarvela/runtime/rounding.h"

namespace tarvela {

bool AxesBehindSeries = true;

namespace {

constexpr int kLeftTop = kTextAlignLeft | kTextAlignTop;

int ClampToInt(std::int64_t value) {
  return static_cast<int>(
      std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// Round for a pixel count that may be far out: held at the int limits, 0 for NaN.
std::int64_t SaturatedRound(long double value) {
  if (std::isnan(value)) return 0;
  return Round(std::clamp<long double>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// How far from the plot an axis may be moved: well past any picture, and far enough
// from the int limits that the lengths, widths and text offsets the drawing adds to a
// position cannot wrap.
constexpr std::int64_t kFarAxisPixel = std::int64_t{1} << 28;

bool IsHorizontalSide(TAxisSide side) { return side == TAxisSide::Bottom || side == TAxisSide::Top; }

// Labels and titles show the plot or panel behind them: a clear brush in the chart's
// colour, and no filled text cell.
void ClearTextBackground(TZavCanvas3D& canvas, TColor chartColor) {
  canvas.SetBrushColor(chartColor);
  canvas.SetBrushStyle(bsClear);
  canvas.SetTextBackMode(BkMode::Transparent);
}

}  // namespace

// [SECTION] Geometry

TAxisSide AxisSideOf(bool horizontal, bool otherSide) {
  if (horizontal) return otherSide ? TAxisSide::Top : TAxisSide::Bottom;
  return otherSide ? TAxisSide::Right : TAxisSide::Left;
}

int RectEdge(const TRect& rect, TAxisSide side) {
  switch (side) {
    case TAxisSide::Bottom:
      return rect.bottom;
    case TAxisSide::Top:
      return rect.top;
    case TAxisSide::Left:
      return rect.left;
    case TAxisSide::Right:
      break;
  }
  return rect.right;
}

void CutRectEdge(TRect& rect, TAxisSide side, int pixels) {
  switch (side) {
    case TAxisSide::Bottom:
      rect.bottom = ClampToInt(std::int64_t{rect.bottom} - pixels);
      break;
    case TAxisSide::Top:
      rect.top = ClampToInt(std::int64_t{rect.top} + pixels);
      break;
    case TAxisSide::Left:
      rect.left = ClampToInt(std::int64_t{rect.left} + pixels);
      break;
    case TAxisSide::Right:
      rect.right = ClampToInt(std::int64_t{rect.right} - pixels);
      break;
  }
}

int MoveOutward(int pos, TAxisSide side, int pixels) {
  const bool towardOrigin = side == TAxisSide::Top || side == TAxisSide::Left;
  return ClampToInt(towardOrigin ? std::int64_t{pos} - pixels : std::int64_t{pos} + pixels);
}

int MoveByPercent(int pos, TAxisSide side, double percent, const TRect& rect) {
  if (percent == 0) return pos;
  const long double size = IsHorizontalSide(side) ? rect.Height() : rect.Width();
  const std::int64_t shift = SaturatedRound(static_cast<long double>(percent) * 0.01L * size);
  // Into the plot: up from the bottom, down from the top, right from the left, left
  // from the right.
  const bool intoGrows = side == TAxisSide::Top || side == TAxisSide::Left;
  const std::int64_t moved = intoGrows ? std::int64_t{pos} + shift : std::int64_t{pos} - shift;
  return static_cast<int>(std::clamp(moved, -kFarAxisPixel, kFarAxisPixel));
}

int AxisTextAlignment(bool horizontalRow, bool nearSide) {
  if (horizontalRow) return nearSide ? kTextAlignCenter | kTextAlignTop : kTextAlignCenter | kTextAlignBottom;
  return nearSide ? kTextAlignRight | kTextAlignTop : kTextAlignLeft | kTextAlignTop;
}

// [SECTION] DrawAxis

namespace {

// White text, readable on a dark panel, would vanish on white paper.
void BlackenWhiteTextOnPaper(TCustomAxisPanel& chart) {
  TZavCanvas3D& canvas = chart.Canvas();
  if (!chart.Printing() || ColorToRGB(canvas.Font().color) != ColorToRGB(clWhite)) return;
  SurfaceFont font = canvas.Font();
  font.color = clBlack;
  canvas.SetFont(font);
}

}  // namespace

void TCustomChartAxis::DrawAxis(bool placeLine) {
  if (m_chart == nullptr) return;
  m_dateTimeScale = IsDateTimeAxis();
  m_chart->ApplyChartFont(m_labelsFont);
  const double step = LabelStep();
  const TAxisSide side = AxisSideOf(m_horizontal, m_otherSide);
  if (placeLine) {
    const TRect& plot = m_chart->PlotRect();
    m_axisLinePos = MoveByPercent(RectEdge(plot, side), side, m_positionPercent, plot);
  }
  if (!m_title.Caption().empty()) DrawTitle();

  // A calendar increment asked for is raised to the first period that holds the step.
  m_calendarIndex = kNoCalendarStep;
  if (m_dateTimeScale && m_exactDateTime && m_increment != 0) {
    m_calendarIndex = CalendarStepIndex(m_increment);
    if (m_calendarIndex != kNoCalendarStep) {
      while (step > CalendarStepTable[static_cast<std::size_t>(m_calendarIndex)] && m_calendarIndex != kYearStep)
        ++m_calendarIndex;
    }
  }

  m_tickPositions.clear();
  m_tickPositions.reserve(kMaxTickPositions);
  const bool calendarPeriod = m_calendarIndex >= kHalfMonthStep && m_calendarIndex <= kYearStep;
  if ((step > 0 || calendarPeriod) && m_scale.maximum >= m_scale.minimum) {
    switch (ResolveLabelStyle()) {
      case talValue:
        if (m_chart->OnGetNextAxisLabel)
          DrawCustomLabels(step);
        else
          DrawOrdinaryLabels(step);
        break;
      case talMark:
        DrawSeriesLabels(talMark);
        break;
      case talText:
        if (m_depth)
          DrawDepthLabels();
        else
          DrawSeriesLabels(talText);
        break;
      case talAuto:  // resolved: never here
      case talNone:
        break;
    }
  }
  DrawTicksGridAndLine();
}

// [SECTION] Text

void TCustomChartAxis::DrawLabelAt(int pos, std::string_view text) {
  if (m_tickOnLabelsOnly) AddTickPosition(pos);
  if (m_chart == nullptr) return;
  m_chart->ApplyChartFont(m_labelsFont);
  TZavCanvas3D& canvas = m_chart->Canvas();
  BlackenWhiteTextOnPaper(*m_chart);
  ClearTextBackground(canvas, m_chart->Color());
  if (m_depth) {
    canvas.SetTextAlignFlags(kLeftTop);
    canvas.WriteText3D(m_labelsPos, m_chart->PlotRect().bottom, pos, text);
  } else if (m_horizontal) {
    PlaceAxisText(pos, m_labelsPos, text, m_labelsAngle);
  } else {
    PlaceAxisText(m_labelsPos, pos, text, m_labelsAngle);
  }
}

// The first shift and the alignment put the anchor where the block of lines hangs
// from; the second shift moves back by one line (or, across the text, by half the
// block) so that the per-line advance lands the first line there.
void TCustomChartAxis::PlaceAxisText(int x, int y, std::string_view text, int angle) {
  if (m_chart == nullptr) return;
  TZavCanvas3D& canvas = m_chart->Canvas();
  const int h = canvas.LineHeight();
  const int h2 = h / 2;
  const bool nearSide = !m_otherSide;

  int align = kLeftTop;
  switch (angle) {
    case 0:
      align = AxisTextAlignment(m_horizontal, nearSide);
      if (!m_horizontal) y -= h2;
      break;
    case 90:
      align = AxisTextAlignment(!m_horizontal, m_horizontal ? nearSide : !nearSide);
      if (m_horizontal) x -= h2;
      break;
    case 180:
      align = AxisTextAlignment(m_horizontal, !nearSide);
      if (!m_horizontal) y += h2;
      break;
    case 270:
      align = AxisTextAlignment(!m_horizontal, m_horizontal ? !nearSide : nearSide);
      if (m_horizontal) x += h2;
      break;
    default:
      break;
  }

  const int l = (angle == 180 || angle == 270) ? -h : h;
  const int n = TextLineCount(text);
  const int t = n * l;
  const int halfBlock = static_cast<int>(Round(static_cast<long double>(l) * 0.5L * (n + 1)));
  if (m_horizontal) {
    if (angle == 0)
      y -= nearSide ? l : t;
    else if (angle == 180)
      y -= nearSide ? t : l;
    else if (angle == 90 || angle == 270)
      x -= halfBlock;
  } else {
    if (angle == 0 || angle == 180)
      y -= halfBlock;
    else if (angle == 90)
      x -= nearSide ? t : l;
    else if (angle == 270)
      x -= nearSide ? l : t;
  }

  const int z = m_otherSide ? m_chart->BoxDepthX() : 0;
  canvas.SetTextAlignFlags(align);
  std::size_t start = 0;
  for (int i = 0; i < n; ++i) {
    const std::size_t end = text.find(LineBreakChar, start);
    const std::string_view line = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    start = end == std::string_view::npos ? text.size() : end + 1;
    if (angle == 0) {
      y += l;
      canvas.WriteText3D(x, y, z, line);
      continue;
    }
    if (angle == 180)
      y += l;
    else if (angle == 90 || angle == 270)
      x += l;
    // Other angles draw every line at the same point.
    canvas.WriteRotatedText3D(x, y, z, line, angle);
  }
  canvas.SetTextAlignFlags(kLeftTop);
}

void TCustomChartAxis::DrawTitle() {
  m_chart->ApplyChartFont(m_title.Font());
  TZavCanvas3D& canvas = m_chart->Canvas();
  BlackenWhiteTextOnPaper(*m_chart);
  ClearTextBackground(canvas, m_chart->Color());
  const std::string& caption = m_title.Caption();
  if (m_depth) {
    canvas.SetTextAlignFlags(kLeftTop);
    canvas.WriteText3D(m_titlePos, m_chart->PlotRect().bottom, m_chart->BoxDepthX() / 2, caption);
  } else if (m_horizontal) {
    PlaceAxisText(m_scale.centerPixel, m_titlePos, caption, m_title.Angle());
  } else {
    PlaceAxisText(m_titlePos, m_scale.centerPixel, caption, m_title.Angle());
  }
}

// [SECTION] Ticks, grid, line

void TCustomChartAxis::DrawTicksGridAndLine() {
  TZavCanvas3D& canvas = m_chart->Canvas();
  const int wall = m_chart->WallSizeForAxis(*this);
  if (m_axisPen.Visible()) {
    canvas.ApplyChartPen(m_axisPen);
    DrawAxisLine(wall);
  }
  if (m_ticks.Visible()) {
    canvas.ApplyChartPen(m_ticks);
    for (int pos : m_tickPositions) DrawTick(pos, 1, m_tickLength, wall);
  }
  if (m_grid.Visible()) {
    PrepareGridPen(m_grid);
    if (m_gridCentered) {
      for (std::size_t i = 1; i < m_tickPositions.size(); ++i)
        DrawGridLine(static_cast<int>(
            Round((static_cast<long double>(m_tickPositions[i]) + m_tickPositions[i - 1]) * 0.5L)));
    } else {
      for (int pos : m_tickPositions) DrawGridLine(pos);
    }
    canvas.SetTextBackMode(BkMode::Opaque);
  }
  if (m_ticksInner.Visible()) {
    canvas.ApplyChartPen(m_ticksInner);
    for (int pos : m_tickPositions) DrawTick(pos, -1, -m_tickInnerLength, wall);
  }
  if (m_tickPositions.empty()) return;
  if (m_minorTicks.Visible()) {
    canvas.ApplyChartPen(m_minorTicks);
    ForEachMinorPosition([&](int pos) { DrawTick(pos, 1, m_minorTickLength, wall); });
  }
  if (m_minorGrid.Visible()) {
    PrepareGridPen(m_minorGrid);
    ForEachMinorPosition([&](int pos) { DrawGridLine(pos); });
    canvas.SetTextBackMode(BkMode::Opaque);
  }
}

void TCustomChartAxis::DrawAxisLine(int wall) {
  TZavCanvas3D& canvas = m_chart->Canvas();
  const int depth = m_chart->BoxDepthX();
  if (m_depth) {
    const TRect& plot = m_chart->PlotRect();
    const int y = plot.bottom + m_chart->WallSizeForAxis(m_chart->BottomAxis());
    canvas.MoveToPoint3D(plot.right, y, 0);
    canvas.LineToPoint3D(plot.right, y, depth);
    return;
  }
  // The near lines reach past the wall beside the neighbouring axis to meet it.
  const std::int64_t line = m_axisLinePos;
  const std::int64_t start = m_scale.startPixel;
  const std::int64_t end = m_scale.endPixel;
  switch (AxisSideOf(m_horizontal, m_otherSide)) {
    case TAxisSide::Bottom:
      canvas.HorizontalLine3D(ClampToInt(start - m_chart->WallSizeForAxis(m_chart->LeftAxis())), m_scale.endPixel,
                              ClampToInt(line + wall), 0);
      break;
    case TAxisSide::Left:
      canvas.VerticalLine3D(ClampToInt(line - wall), m_scale.startPixel,
                            ClampToInt(end + m_chart->WallSizeForAxis(m_chart->BottomAxis())), 0);
      break;
    case TAxisSide::Top:
      canvas.HorizontalLine3D(m_scale.startPixel, m_scale.endPixel, m_axisLinePos, depth);
      break;
    case TAxisSide::Right:
      canvas.VerticalLine3D(m_axisLinePos, m_scale.startPixel, m_scale.endPixel, depth);
      break;
  }
}

// In 64 bits: a tick or wall as long as a program may make it, beside a line far out.
void TCustomChartAxis::DrawTick(int pos, int start, int length, int wall) {
  TZavCanvas3D& canvas = m_chart->Canvas();
  const int depth = m_chart->BoxDepthX();
  const std::int64_t line = m_axisLinePos;
  if (m_depth) {
    canvas.HorizontalLine3D(ClampToInt(line + start), ClampToInt(line + start + length), m_chart->PlotRect().bottom,
                            pos);
    return;
  }
  switch (AxisSideOf(m_horizontal, m_otherSide)) {
    case TAxisSide::Bottom:
      canvas.VerticalLine3D(pos, ClampToInt(line + start + wall), ClampToInt(line + start + wall + length), 0);
      break;
    case TAxisSide::Left:
      canvas.HorizontalLine3D(ClampToInt(line - start - wall), ClampToInt(line - start - wall - length), pos, 0);
      break;
    case TAxisSide::Top:
      canvas.VerticalLine3D(pos, ClampToInt(line - start), ClampToInt(line - start - length), depth);
      break;
    case TAxisSide::Right:
      canvas.HorizontalLine3D(ClampToInt(line + start), ClampToInt(line + start + length), pos, depth);
      break;
  }
}

void TCustomChartAxis::PrepareGridPen(const TChartPen& pen) {
  TZavCanvas3D& canvas = m_chart->Canvas();
  // Dotted lines must let the background show between their dots.
  canvas.SetBrushStyle(bsClear);
  canvas.SetTextBackMode(BkMode::Transparent);
  canvas.ApplyChartPen(pen);
  if (pen.Color() == clDefault) canvas.SetPenColor(clGray);
}

void TCustomChartAxis::DrawGridLine(int pos) {
  TZavCanvas3D& canvas = m_chart->Canvas();
  const TRect& plot = m_chart->PlotRect();
  const int depth = m_chart->BoxDepthX();
  if (m_depth) {
    // Along the left wall and the floor at that depth.
    canvas.VerticalLine3D(plot.left, plot.top, plot.bottom, pos);
    canvas.HorizontalLine3D(plot.left, plot.right, plot.bottom, pos);
    return;
  }
  const bool view3D = m_chart->View3D();
  if (m_horizontal) {
    if (!view3D) {
      canvas.VerticalLine2D(pos, plot.top, plot.bottom);
    } else if (m_otherSide) {
      canvas.VerticalLine3D(pos, plot.top, plot.bottom, depth);
    } else if (AxesBehindSeries) {
      // Along the floor to the back, then up the back wall: behind the series.
      canvas.DepthLine3D(pos, m_axisLinePos, 0, depth);
      canvas.VerticalLine3D(pos, plot.top, plot.bottom, depth);
    } else {
      canvas.VerticalLine3D(pos, plot.top, plot.bottom, 0);
    }
    return;
  }
  if (!view3D) {
    canvas.HorizontalLine2D(plot.left, plot.right, pos);
  } else if (m_otherSide) {
    canvas.HorizontalLine3D(plot.left, plot.right, pos, depth);
  } else if (AxesBehindSeries) {
    canvas.DepthLine3D(m_axisLinePos, pos, 0, depth);
    canvas.HorizontalLine3D(plot.left, plot.right, pos, depth);
  } else {
    canvas.HorizontalLine3D(plot.left, plot.right, pos, 0);
  }
}

// Between neighbouring labels MinorTickCount evenly spaced marks (spaced by value on
// a logarithmic axis), and as many beyond the outer labels at the same spacing.
// Marks closer than a pixel fall on the pixel of the mark before, which they would
// only draw again: such a mark is skipped, so that what is drawn is bounded by the
// axis's length however many marks the labels are apart.
void TCustomChartAxis::ForEachMinorPosition(const std::function<void(int)>& mark) {
  const std::vector<int>& positions = m_tickPositions;
  const std::size_t n = positions.size();
  const int count = m_minorTickCount;
  std::int64_t lastMarked = std::numeric_limits<std::int64_t>::min();
  auto candidate = [&](std::int64_t pos) {
    if (pos == lastMarked || !(m_scale.startPixel < pos && pos < m_scale.endPixel)) return;
    lastMarked = pos;
    mark(static_cast<int>(pos));
  };
  const long double parts = static_cast<long double>(count) + 1;
  if (n >= 2 && !m_logarithmic) {
    const long double spacing = (static_cast<long double>(positions[1]) - positions[0]) / parts;
    for (int j = 1; j <= count; ++j) {
      const std::int64_t d = Round(spacing * j);
      candidate(positions[0] - d);
      candidate(positions[n - 1] + d);
    }
  }
  for (std::size_t i = 1; i < n; ++i) {
    if (m_logarithmic) {
      long double value = PixelToValue(positions[i - 1]);
      const long double gap = (m_logarithmicBase * value - value) / parts;
      for (int j = 1; j <= count; ++j) {
        value += gap;
        if (value > m_scale.maximum) break;
        candidate(ValueToPixel(static_cast<double>(value)));
      }
    } else {
      const long double between = static_cast<long double>(positions[i]) - positions[i - 1];
      for (int j = 1; j <= count; ++j) candidate(positions[i] - Round(j * between / parts));
    }
  }
}

}  // namespace tarvela
