// The legend's layout and drawing in one paint, and the series' legend symbol.
//
// Contents
//   [SECTION] PaintLegend      extent, columns and rows, background, items, room taken
//   [SECTION] One item         text, symbol and dividing line at the item's place
//   [SECTION] Series symbol    the fill brush of a symbol and the base series' box
//
// The legend runs inside PlaceTitlesAndLegend between BeginFlatDrawing and
// EndFlatDrawing, after the chart has found an active series. PlotRect is the plot as
// narrowed so far in this paint; PlotWidth, PlotHeight and PlotXCenter are its size as
// last normalised. All divisions truncate toward zero.

#include <algorithm>

#include "tarvela/chart/chart.h"
#include "tarvela/chart/legend/legend.h"
#include "tarvela/runtime/rounding.h"

namespace tarvela {

namespace {

// A percentage of a length in whole pixels.
int PercentOf(int length, int percent) { return static_cast<int>(Round(length * percent * 0.01L)); }

}  // namespace

// [SECTION] PaintLegend

void TCustomChartLegend::ComputeColumnsAndRows(int textWidth, int itemCount) {
  m_columnCount = ItemsThatFit(8, textWidth + m_colorBoxWidth + 8);
  if (m_columnCount <= 0) {
    m_rowCount = 0;
    return;
  }
  m_rowCount = itemCount / m_columnCount + (itemCount % m_columnCount != 0 ? 1 : 0);
  m_rowCount = std::min(m_rowCount, m_maxNumRows);
}

void TCustomChartLegend::PaintLegend() {
  TCustomChart& chart = Chart();
  TZavCanvas3D& canvas = chart.Canvas();
  ResolveStyle();
  chart.SetLegendBackColor(m_color);
  chart.ApplyChartFont(Font());
  const int h = canvas.LineHeight();
  m_itemHeight = h;
  // Left and right legends measure only the items they list (below); measuring every
  // value of a long series here would cost a text layout per point for nothing.
  m_textWidth = (IsVertical() ? 0 : WidestText(-1)) + 4;
  m_colorBoxWidth = PercentOf(m_textWidth, m_colorWidth);
  m_itemCount = ItemCount();
  const int frameWidth = m_frame.Width();
  // A visible frame stands one pixel off the items, outside LegendBounds.
  const int frameRoom = m_frame.Visible() ? frameWidth + 1 : 0;
  const TRect plot = chart.PlotRect();
  const TRect& paintRect = chart.PaintRect();

  TRect bounds;
  switch (m_alignment) {
    case laTop:
      bounds.top = plot.top + frameRoom;
      ComputeColumnsAndRows(m_textWidth, m_itemCount);
      bounds.bottom = bounds.top + m_rowCount * h + 2;
      break;
    case laBottom:
      bounds.bottom = plot.bottom - m_shadowSize - frameRoom;
      ComputeColumnsAndRows(m_textWidth, m_itemCount);
      bounds.top = bounds.bottom - m_rowCount * h - 2;
      break;
    case laLeft:
    case laRight:
      bounds.top = paintRect.top + PercentOf(paintRect.bottom - paintRect.top, m_topPos);
      m_columnCount = 1;
      m_rowCount = ItemsThatFit(bounds.top, h);
      bounds.bottom = bounds.top + m_rowCount * h + 2;
      break;
  }

  int slots = 0;
  switch (m_alignment) {
    case laLeft: {
      // Only the items listed decide the width (a thick frame can leave a negative
      // count, which must not read as "all items").
      const int textWidth = WidestText(std::max(m_rowCount, 0));
      bounds.left = plot.left + frameRoom;
      m_xColor = bounds.left + 4;
      m_colorBoxWidth = PercentOf(textWidth + 10, m_colorWidth);
      m_xText = m_xColor + m_colorBoxWidth + 4;
      bounds.right = m_xText + textWidth + 2;
      slots = m_rowCount;
      break;
    }
    case laRight: {
      const int textWidth = WidestText(std::max(m_rowCount, 0));
      bounds.right = plot.right - frameRoom - m_shadowSize;
      m_xText = bounds.right - textWidth - 2;
      m_colorBoxWidth = PercentOf(textWidth + 10, m_colorWidth);
      m_xColor = m_xText - m_colorBoxWidth - 4;
      bounds.left = m_xColor - 4;
      slots = m_rowCount;
      break;
    }
    case laTop:
    case laBottom: {
      const int width = std::min(chart.PlotWidth(), 2 * m_shadowSize +
                                                         (m_colorBoxWidth + m_textWidth + 4) * m_columnCount + 8);
      const int shift = PercentOf((paintRect.right - paintRect.left) - width, m_topPos);
      bounds.left = chart.PlotXCenter() - width / 2 + shift;
      bounds.right = chart.PlotXCenter() + width / 2 + shift;
      m_xColor = bounds.left + 4;
      m_xText = bounds.left + m_colorBoxWidth + 8;
      slots = m_columnCount * m_rowCount;
      break;
    }
  }
  if (chart.OnGetLegendRect) chart.OnGetLegendRect(&chart, bounds);
  m_legendBounds = bounds;
  if (slots < 1) return;

  DrawBackground();
  // The symbols' outline stays visible on a black legend.
  canvas.SetPen(SurfacePen{m_color == clBlack ? clWhite : clBlack, 1, psSolid, pmCopy, false});
  canvas.SetTextAlignFlags(kTextAlignLeft | kTextAlignTop);
  const int last = std::min(m_itemCount, slots) + m_firstValue - 1;
  if (m_inverted) {
    for (int i = last; i >= m_firstValue; --i) PaintItem(i, last - i);
  } else {
    for (int i = m_firstValue; i <= last; ++i) PaintItem(i, i - m_firstValue);
  }

  // The gaps are measured on the plot as it was before the legend took its room.
  const int horizGap = m_horizMargin != 0 ? m_horizMargin : MulDiv(3, chart.PlotWidth(), 100);
  const int vertGap = m_vertMargin != 0 ? m_vertMargin : MulDiv(4, chart.PlotHeight(), 100);
  TRect narrowed = plot;
  switch (m_alignment) {
    case laLeft:
      if (m_resizeChart) narrowed.left = bounds.right;
      narrowed.left += horizGap;
      break;
    case laRight:
      if (m_resizeChart) narrowed.right = bounds.left;
      narrowed.right -= horizGap;
      break;
    case laTop:
      if (m_resizeChart) narrowed.top = bounds.bottom + m_shadowSize;
      narrowed.top += vertGap;
      break;
    case laBottom:
      if (m_resizeChart) narrowed.bottom = bounds.top;
      narrowed.bottom -= vertGap;
      break;
  }
  chart.SetPlotRect(narrowed);
  chart.NormalizePlotRect();
}

void TCustomChartLegend::DrawBackground() {
  TCustomChart& chart = Chart();
  TZavCanvas3D& canvas = chart.Canvas();
  const TRect& bounds = m_legendBounds;
  TRect frameRect = bounds;
  canvas.ApplyChartPen(m_frame);
  int shadowEnd = m_shadowSize - 1;
  if (m_frame.Visible()) {
    const int fw = m_frame.Width();
    if (m_frame.Color() == clDefault) canvas.SetPenColor(clBlack);
    frameRect = {bounds.left - fw, bounds.top - fw, bounds.right + fw, bounds.bottom + fw};
    // The shadow reaches past the frame's outer half.
    shadowEnd = m_shadowSize + fw + (fw - 1) / 2;
  }
  if (m_shadowSize > 0) {
    canvas.SetBrush(SurfaceBrush{m_shadowColor, bsSolid, std::nullopt});
    const TRect shadow{bounds.left + m_shadowSize, bounds.top + m_shadowSize, bounds.right + shadowEnd,
                       bounds.bottom + shadowEnd};
    if (canvas.RotatesFreely()) {
      canvas.RectangleAtDepth(shadow, 8);
    } else {
      canvas.FillRectangle(shadow);
    }
  }
  SurfaceBrush fill{m_brush.Color(), m_brush.Style(), std::nullopt};
  if (m_brush.HasPattern()) fill.pattern = m_brush.Pattern();
  if (m_brush.Style() == bsSolid) {
    fill.color = m_color;
  } else if (m_brush.Style() != bsClear) {
    // A hatch shows the legend's colour between its lines.
    canvas.SetTextBackColor(m_color);
    canvas.SetTextBackMode(BkMode::Opaque);
  }
  canvas.SetBrush(fill);
  if (canvas.RotatesFreely()) {
    canvas.RectangleAtDepth(frameRect, 4);
  } else {
    canvas.DrawRectangleRect(frameRect);
  }
}

// [SECTION] One item

void TCustomChartLegend::PaintItem(int index, int position) {
  if (position >= m_itemCount) return;
  TCustomChart& chart = Chart();
  TZavCanvas3D& canvas = chart.Canvas();
  canvas.SetBrush(SurfaceBrush{m_color, bsSolid, std::nullopt});
  int x = m_xText;
  int y = m_legendBounds.top + 1;
  if (IsVertical()) {
    y += m_itemHeight * position;
  } else {
    y += (position / m_columnCount) * m_itemHeight;
    x += (position % m_columnCount) * (m_textWidth + m_colorBoxWidth + 4);
  }
  // What the handler leaves in the symbol column's x carries on to later items.
  if (chart.OnGetLegendPos) chart.OnGetLegendPos(&chart, index, x, y, m_xColor);

  canvas.SetBrushStyle(bsClear);
  const std::string text = chart.LegendText(index);
  if (!text.empty()) {
    canvas.SetTextBackMode(BkMode::Transparent);
    canvas.WriteText(x, y, text);
    const TRect symbol{x - 4 - m_colorBoxWidth, y + 2, x - 4, y + m_itemHeight - 2};
    TChartSeries* series = nullptr;
    int pointIndex = -1;
    if (m_resolvedStyle == lsValues) {
      series = chart.FirstActiveSeries();
      if (series != nullptr) pointIndex = series->LegendToPointIndex(index);
    } else {
      series = chart.LegendSeriesAt(index);
    }
    if (series != nullptr) {
      // The symbol sets its own pen; the next item's outline must not inherit it.
      const SurfacePen outline = canvas.Pen();
      series->PaintLegendSymbol(pointIndex, symbol);
      canvas.SetPen(outline);
    } else {
      canvas.SetBrush(SurfaceBrush{clWhite, bsSolid, std::nullopt});
      canvas.DrawRectangleRect(symbol);
    }
  }

  if (position > 0 && m_dividingLines.Visible()) {
    const SurfacePen outline = canvas.Pen();
    canvas.ApplyChartPen(m_dividingLines);
    canvas.SetTextBackMode(BkMode::Transparent);
    if (IsVertical()) {
      canvas.HorizontalLine2D(m_legendBounds.left, m_legendBounds.right, y);
    } else {
      // Four pixels left of the symbol.
      canvas.VerticalLine2D(x - m_colorBoxWidth - 8, m_legendBounds.top, m_legendBounds.bottom);
    }
    canvas.SetPen(outline);
  }
}

// [SECTION] Series symbol

void TChartSeries::PaintLegendSymbol(int pointIndex, const TRect& rect) {
  // Points coloured one by one have no single colour for the whole series.
  if (pointIndex == -1 && m_colorEachPoint) return;
  const TColor color = pointIndex == -1 ? m_seriesColor : LegendEntryColor(pointIndex);
  if (color == clNone || m_parentChart == nullptr) return;
  const auto* chart = dynamic_cast<const TCustomChart*>(m_parentChart);
  const TColor legendBack = chart != nullptr ? chart->LegendBackColor() : m_parentChart->Color();
  TColor backColor = legendBack;
  TBrushStyle brushStyle = bsSolid;
  PrepareLegendSymbol(pointIndex, backColor, brushStyle);
  if (backColor == clDefault) backColor = legendBack == clDefault ? m_parentChart->Color() : legendBack;
  m_parentChart->ApplyFillBrush(color, brushStyle, backColor);
  DrawLegendSymbol(pointIndex, rect);
}

void TChartSeries::PrepareLegendSymbol(int, TColor&, TBrushStyle&) {}

void TChartSeries::DrawLegendSymbol(int, const TRect& rect) {
  if (m_parentChart == nullptr) return;
  TZavCanvas3D& canvas = m_parentChart->Canvas();
  canvas.DrawRectangleRect(rect);
  const auto* chart = dynamic_cast<const TCustomChart*>(m_parentChart);
  const TColor back = chart != nullptr ? chart->LegendBackColor() : m_parentChart->Color();
  // A box in the legend's own colour would vanish: outline it once more.
  if (ColorToRGB(canvas.Brush().color) == ColorToRGB(back)) {
    canvas.SetBrushStyle(bsClear);
    if (ColorToRGB(back) == clBlack) canvas.SetPenColor(clWhite);
    canvas.DrawRectangleRect(rect);
    canvas.SetPenColor(clBlack);
  }
}

}  // namespace tarvela
