// The legend's settings and what it lists.
//
// Contents
//   [SECTION] Settings       defaults, checked setters, copying, the published table
//   [SECTION] Items          the resolved style, the item count and texts, the widest
//                            text, how many items fit
//   [SECTION] Hit test       the item position under the mouse in the last drawn legend
//   [SECTION] Chart side     LegendText, FirstActiveSeries
//   [SECTION] Series side    the text of a point in the legend's text styles
//
// The layout and the drawing are legend_paint.cpp.

#include "tarvela/chart/legend/legend.h"

#include <algorithm>
#include <cmath>

#include "tarvela/chart/axes/axis.h"
#include "tarvela/chart/canvas/text_lines.h"
#include "tarvela/chart/chart.h"
#include "tarvela/chart/data/series_marks.h"  // SeriesLegendValueText
#include "tarvela/chart/messages.h"
#include "tarvela/runtime/exceptions.h"
#include "tarvela/runtime/number_pattern.h"

namespace tarvela {

// [SECTION] Settings

const EnumNames<TLegendAlignment>& LegendAlignmentNames() {
  static const EnumNames<TLegendAlignment> names = {
      {laLeft, "laLeft"}, {laRight, "laRight"}, {laTop, "laTop"}, {laBottom, "laBottom"}};
  return names;
}

const EnumNames<TLegendStyle>& LegendStyleNames() {
  static const EnumNames<TLegendStyle> names = {
      {lsAuto, "lsAuto"}, {lsSeries, "lsSeries"}, {lsValues, "lsValues"}, {lsLastValues, "lsLastValues"}};
  return names;
}

const EnumNames<TLegendTextStyle>& LegendTextStyleNames() {
  static const EnumNames<TLegendTextStyle> names = {
      {ltsPlain, "ltsPlain"},           {ltsLeftValue, "ltsLeftValue"},
      {ltsRightValue, "ltsRightValue"}, {ltsLeftPercent, "ltsLeftPercent"},
      {ltsRightPercent, "ltsRightPercent"}, {ltsXValue, "ltsXValue"}};
  return names;
}

TCustomChartLegend::TCustomChartLegend(TCustomChart* chart) : TChartFontObject(chart) {
  m_brush.OnChange = [this] { Repaint(); };
  m_dividingLines.OnChange = [this] { Repaint(); };
  m_frame.OnChange = [this] { Repaint(); };
}

void TCustomChartLegend::SetColorWidth(int percent) {
  if (percent < 0 || percent > 100) throw LegendException(messages::kLegendColorWidth);
  Change(m_colorWidth, percent);
}

void TCustomChartLegend::SetFirstValue(int count) {
  // The message says "> 0", yet 0 (list from the first item) is the default and valid.
  if (count < 0) throw LegendException(messages::kLegendFirstValue);
  Change(m_firstValue, count);
}

void TCustomChartLegend::SetTopPos(int percent) {
  if (percent < 0 || percent > 100) throw LegendException(messages::kLegendTopPos);
  Change(m_topPos, percent);
}

void TCustomChartLegend::SetLegendStyle(TLegendStyle style) {
  if (m_legendStyle == style) return;
  m_legendStyle = style;
  ResolveStyle();
  Repaint();
}

void TCustomChartLegend::Assign(const TCustomChartLegend& source) {
  SetVisible(source.m_visible);
  SetLegendStyle(source.m_legendStyle);
  SetFirstValue(source.m_firstValue);
  SetAlignment(source.m_alignment);
  SetTextStyle(source.m_textStyle);
  SetColorWidth(source.m_colorWidth);
  SetHorizMargin(source.m_horizMargin);
  SetVertMargin(source.m_vertMargin);
  SetResizeChart(source.m_resizeChart);
  SetInverted(source.m_inverted);
  SetTopPos(source.m_topPos);
  SetColor(source.m_color);
  m_frame.Assign(source.m_frame);
  SetMaxNumRows(source.m_maxNumRows);
  m_brush.Assign(source.m_brush);
  SetFont(source.Font());
}

const PropertyTable& TCustomChartLegend::PublishedProperties() {
  using L = TCustomChartLegend;
  static const PropertyTable table(
      nullptr,
      {
          EnumProperty<L, TLegendAlignment>("Alignment", &L::Alignment, &L::SetAlignment, LegendAlignmentNames()),
          ObjectProperty<L, TChartBrush>("Brush", static_cast<TChartBrush& (L::*)()>(&L::Brush)),
          ColorProperty<L>("Color", &L::Color, &L::SetColor),
          IntProperty<L>("ColorWidth", &L::ColorWidth, &L::SetColorWidth),
          ObjectProperty<L, TChartPen>("DividingLines", static_cast<TChartPen& (L::*)()>(&L::DividingLines)),
          IntProperty<L>("FirstValue", &L::FirstValue, &L::SetFirstValue),
          ObjectProperty<L, TFont>("Font", static_cast<TFont& (L::*)()>(&L::Font)),
          ObjectProperty<L, TChartPen>("Frame", static_cast<TChartPen& (L::*)()>(&L::Frame)),
          IntProperty<L>("HorizMargin", &L::HorizMargin, &L::SetHorizMargin),
          BoolProperty<L>("Inverted", &L::Inverted, &L::SetInverted),
          EnumProperty<L, TLegendStyle>("LegendStyle", &L::LegendStyle, &L::SetLegendStyle, LegendStyleNames()),
          IntProperty<L>("MaxNumRows", &L::MaxNumRows, &L::SetMaxNumRows),
          BoolProperty<L>("ResizeChart", &L::ResizeChart, &L::SetResizeChart),
          ColorProperty<L>("ShadowColor", &L::ShadowColor, &L::SetShadowColor),
          IntProperty<L>("ShadowSize", &L::ShadowSize, &L::SetShadowSize),
          EnumProperty<L, TLegendTextStyle>("TextStyle", &L::TextStyle, &L::SetTextStyle, LegendTextStyleNames()),
          IntProperty<L>("TopPos", &L::TopPos, &L::SetTopPos),
          IntProperty<L>("VertMargin", &L::VertMargin, &L::SetVertMargin),
          BoolProperty<L>("Visible", &L::Visible, &L::SetVisible),
      });
  return table;
}

// [SECTION] Items

void TCustomChartLegend::ResolveStyle() {
  if (m_legendStyle != lsAuto) {
    m_resolvedStyle = m_legendStyle;
  } else {
    // One series: its points say more than its name.
    m_resolvedStyle = Chart().ActiveSeriesTotal() < 2 ? lsValues : lsSeries;
  }
}

int TCustomChartLegend::ItemCount() const {
  int count = 0;
  if (m_resolvedStyle == lsValues) {
    const TChartSeries* series = Chart().FirstActiveSeries();
    if (series != nullptr && series->ShowInLegend()) count = series->LegendItemCount() - m_firstValue;
  } else {
    const TCustomChart& chart = Chart();
    for (int i = 0; i < chart.SeriesTotal(); ++i) {
      const TChartSeries* series = chart.SeriesAt(i);
      if (series->Active() && series->ShowInLegend()) ++count;
    }
    count -= m_firstValue;
  }
  return std::max(count, 0);
}

std::string TCustomChartLegend::ItemText(int n) const {
  switch (m_resolvedStyle) {
    case lsValues: {
      const TChartSeries* series = Chart().FirstActiveSeries();
      return series == nullptr ? std::string() : ValueText(series, n);
    }
    case lsLastValues: {
      // The same series whose symbol the item shows.
      const TChartSeries* series = Chart().LegendSeriesAt(n);
      if (series == nullptr || series->PointCount() == 0) return {};
      return ValueText(series, series->PointCount() - 1);
    }
    case lsAuto:
    case lsSeries: break;
  }
  return Chart().LegendSeriesTitle(n);
}

std::string TCustomChartLegend::ValueText(const TChartSeries* series, int i) const {
  if (series == nullptr || i == -1) return {};
  std::string text = series->LegendValueText(i, m_textStyle);
  // An item is one line high.
  std::replace(text.begin(), text.end(), LineBreakChar, ' ');
  return text;
}

int TCustomChartLegend::WidestText(int count) {
  if (count == -1) count = ItemCount();
  TZavCanvas3D& canvas = Chart().Canvas();
  int widest = 0;
  for (int i = m_firstValue; i < m_firstValue + count; ++i)
    widest = std::max(widest, canvas.MeasureTextWidth(Chart().LegendText(i)));
  return widest;
}

int TCustomChartLegend::ItemsThatFit(int start, int itemSize) {
  const TCustomChart& chart = Chart();
  const TRect& plot = chart.PlotRect();
  const int frameWidth = m_frame.Width();
  if (IsVertical()) {
    if (start >= plot.bottom || itemSize <= 0) return 0;
    return std::min((chart.PlotHeight() + plot.top - start - 2 * frameWidth) / itemSize, ItemCount());
  }
  if (start >= plot.right || itemSize <= 0) return 0;
  return std::min((chart.PlotWidth() - 2 * frameWidth - start) / itemSize, ItemCount());
}

// [SECTION] Hit test

int TCustomChartLegend::ItemAt(int x, int y) {
  const TRect& b = m_legendBounds;
  if (x < b.left || x >= b.right || y < b.top || y >= b.bottom) return -1;
  auto rowAt = [&](int rowHeight) {
    for (int r = 0; r < m_rowCount; ++r) {
      const int top = b.top + r * rowHeight + 1;
      if (y >= top && y <= top + rowHeight) return r;
    }
    return -1;
  };
  if (IsVertical()) {
    if (m_rowCount <= 0) return -1;
    return rowAt((b.bottom - b.top) / m_rowCount);
  }
  if (m_columnCount <= 0) return -1;
  const int columnWidth = (b.right - b.left) / m_columnCount;
  // The item height of the last drawing: between paints the canvas holds the reset
  // font, not the legend's.
  const int rowHeight = m_itemHeight;
  for (int k = 0; k < m_columnCount; ++k) {
    const int left = b.left + k * columnWidth + 1;
    if (x < left || x > left + columnWidth) continue;
    const int r = rowAt(rowHeight);
    if (r != -1) return k + r * m_columnCount;
  }
  return -1;
}

// [SECTION] Chart side

std::string TCustomChart::LegendText(int n) {
  std::string text = m_legend.ItemText(n);
  if (OnGetLegendText) OnGetLegendText(this, m_legend.ResolvedStyle(), n, text);
  return text;
}

TChartSeries* TCustomChart::FirstActiveSeries() const {
  for (int i = 0; i < SeriesTotal(); ++i)
    if (SeriesAt(i)->Active()) return SeriesAt(i);
  return nullptr;
}

// [SECTION] Series side

std::string SeriesLegendValueText(const TChartSeries& series, int i) {
  if (const auto* chart = dynamic_cast<const TCustomChart*>(series.ParentChart()))
    return chart->Legend().ValueText(&series, i);
  if (i == -1) return {};
  std::string text = series.LegendValueText(i, ltsLeftValue);
  std::replace(text.begin(), text.end(), LineBreakChar, ' ');
  return text;
}

std::string TChartSeries::LegendValueText(int n, TLegendTextStyle style) const {
  const int point = LegendToPointIndex(n);
  const std::string& label = PointLabel(point);
  if (style == ltsPlain) return label;
  const LocaleSettings locale = m_parentChart != nullptr ? m_parentChart->Locale() : LocaleSettings::Dot();
  if (style == ltsXValue) {
    TChartAxis* axis = GetHorizAxis();
    return axis != nullptr ? axis->FormatLabel(XValueAt(point)) : FormatFloat(m_valueFormat, XValueAt(point), locale);
  }
  const double value = MarkValue(point);
  auto joined = [](const std::string& left, const std::string& right) { return left + ' ' + right; };
  switch (style) {
    case ltsLeftValue: return joined(FormatFloat(m_valueFormat, value, locale), label);
    case ltsRightValue: return joined(label, FormatFloat(m_valueFormat, value, locale));
    default: break;
  }
  const double sum = MandatoryList().TotalAbsSum();
  const double percent = sum == 0 ? 100.0 : value * 100.0 / sum;
  const std::string percentText = FormatFloat(m_percentFormat, percent, locale);
  return style == ltsLeftPercent ? joined(percentText, label) : joined(label, percentText);
}

}  // namespace tarvela
