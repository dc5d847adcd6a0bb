#include "tarvela/chart/series/series_pointer.h"

#include <algorithm>
#include <array>

#include "tarvela/chart/axes/axis_panel.h"
#include "tarvela/chart/data/chart_series.h"
#include "tarvela/chart/messages.h"
#include "tarvela/runtime/exceptions.h"

namespace tarvela {

const EnumNames<TSeriesPointerStyle>& SeriesPointerStyleNames() {
  static const EnumNames<TSeriesPointerStyle> kNames = {
      {psRectangle, "psRectangle"}, {psCircle, "psCircle"},       {psTriangle, "psTriangle"},
      {psDownTriangle, "psDownTriangle"}, {psCross, "psCross"},   {psDiagCross, "psDiagCross"},
      {psStar, "psStar"},           {psDiamond, "psDiamond"},     {psSmallDot, "psSmallDot"}};
  return kNames;
}

TSeriesPointer::TSeriesPointer(TChartSeries* series) : m_series(series) {
  m_brush.OnChange = [this] { Repaint(); };
  m_pen.OnChange = [this] { Repaint(); };
}

void TSeriesPointer::Repaint() const {
  if (m_series != nullptr) m_series->Repaint();
}

void TSeriesPointer::SetHorizSize(int pixels) {
  if (pixels < 1) throw ChartException(messages::kPointerSize);
  Change(m_horizSize, pixels);
}

void TSeriesPointer::SetVertSize(int pixels) {
  if (pixels < 1) throw ChartException(messages::kPointerSize);
  Change(m_vertSize, pixels);
}

void TSeriesPointer::Assign(const TSeriesPointer& source) {
  if (&source == this) return;
  m_brush.Assign(source.m_brush);
  SetDark3D(source.m_dark3D);
  SetDraw3D(source.m_draw3D);
  SetHorizSize(source.m_horizSize);
  SetInflateMargins(source.m_inflateMargins);
  m_pen.Assign(source.m_pen);
  SetStyle(source.m_style);
  SetVertSize(source.m_vertSize);
  SetVisible(source.m_visible);
}

// [SECTION] Drawing

void TSeriesPointer::ApplyPenAndBrush(TColor color) {
  if (m_series == nullptr || m_series->ParentChart() == nullptr) return;
  TZavCanvas3D& canvas = m_series->ParentChart()->Canvas();
  canvas.ApplyChartPen(m_pen);
  if (m_pen.Visible() && m_pen.Color() == clDefault) canvas.SetPenColor(color);
  canvas.SetBrushStyle(m_brush.Style());
  canvas.SetBrushColor(m_brush.Color() == clDefault ? color : m_brush.Color());
}

void TSeriesPointer::DrawShape(bool is3D, int x, int y, int horizSize, int vertSize, TColor color,
                               TSeriesPointerStyle style) {
  if (m_series == nullptr || m_series->ParentChart() == nullptr) return;
  TZavCanvas3D& canvas = m_series->ParentChart()->Canvas();
  const int left = x - horizSize;
  const int right = x + horizSize;
  const int top = y - vertSize;
  const int bottom = y + vertSize;
  const int front = m_series->DepthFront();
  const int back = m_series->DepthBack();
  const int middle = m_series->DepthMiddle();
  const bool solid = is3D && m_draw3D;

  // The lines of the cross shapes are drawn in the point's colour, whatever the pen.
  const auto cross = [&] {
    canvas.SetPenColor(color);
    if (is3D) {
      canvas.VerticalLine3D(x, top, bottom + 1, front);
      canvas.HorizontalLine3D(left, right + 1, y, front);
    } else {
      canvas.VerticalLine2D(x, top, bottom + 1);
      canvas.HorizontalLine2D(left, right + 1, y);
    }
  };
  const auto diagonalCross = [&] {
    canvas.SetPenColor(color);
    if (is3D) {
      canvas.LineAtDepth(left, top, right + 1, bottom + 1, front);
      canvas.LineAtDepth(right, top, left - 1, bottom + 1, front);
    } else {
      canvas.Line2D(left, top, right + 1, bottom + 1);
      canvas.Line2D(right, top, left - 1, bottom + 1);
    }
  };

  switch (style) {
    case psRectangle:
      if (solid) {
        canvas.DrawBox(left, right, top, bottom, front, back, m_dark3D);
      } else if (is3D) {
        canvas.RectangleAtDepth({left, top, right + 1, bottom + 1}, front);
      } else {
        canvas.DrawRectangle(left, top, right + 1, bottom + 1);
      }
      break;
    case psCircle:
      if (solid && canvas.RotatesFreely()) {
        canvas.DrawSphere(x, y, middle, horizSize);
      } else if (is3D) {
        canvas.EllipseAtDepth(left, top, right, bottom, front);
      } else {
        canvas.DrawEllipse(left, top, right, bottom);
      }
      break;
    case psTriangle:
      if (solid) {
        canvas.DrawPyramid(true, left, top, right, bottom, front, back, m_dark3D);
      } else if (is3D) {
        canvas.TriangleAtDepth({left, bottom}, {right, bottom}, {x, top}, front);
      } else {
        const std::array<TPoint, 3> points = {TPoint{left, bottom}, TPoint{right, bottom}, TPoint{x, top}};
        canvas.DrawPolygon(points);
      }
      break;
    case psDownTriangle:
      if (solid) {
        canvas.DrawPyramid(true, left, bottom, right, top, front, back, m_dark3D);
      } else if (is3D) {
        canvas.TriangleAtDepth({left, top}, {right, top}, {x, bottom}, front);
      } else {
        const std::array<TPoint, 3> points = {TPoint{left, top}, TPoint{right, top}, TPoint{x, bottom}};
        canvas.DrawPolygon(points);
      }
      break;
    case psCross:
      cross();
      break;
    case psDiagCross:
      diagonalCross();
      break;
    case psStar:
      cross();
      diagonalCross();
      break;
    case psDiamond: {
      const std::array<TPoint, 4> points = {TPoint{left, y}, TPoint{x, top}, TPoint{right, y}, TPoint{x, bottom}};
      if (is3D) {
        canvas.QuadAtDepth(points, front);
      } else {
        canvas.DrawPolygon(points);
      }
      break;
    }
    case psSmallDot:
      if (is3D) {
        canvas.PutPixel3D(x, y, middle, color);
      } else {
        canvas.PutPixel(x, y, color);
      }
      break;
  }
}

void TSeriesPointer::DrawAt(int x, int y, TColor color, TSeriesPointerStyle style) {
  if (m_series == nullptr || m_series->ParentChart() == nullptr) return;
  DrawShape(m_series->ParentChart()->View3D(), x, y, m_horizSize, m_vertSize, color, style);
}

void TSeriesPointer::DrawLegendSymbol(TColor color, const TRect& rect, bool smallSize) {
  ApplyPenAndBrush(color);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  const int widthLimit = smallSize ? width / 3 : width / 2 + 1;
  const int heightLimit = smallSize ? height / 3 : height / 2 + 1;
  DrawShape(false, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2, std::min(m_horizSize, widthLimit),
            std::min(m_vertSize, heightLimit), color, m_style);
}

// [SECTION] Margins

void TSeriesPointer::HorizMargins(int& left, int& right) const {
  if (!m_visible || !m_inflateMargins) return;
  left = std::max(left, m_horizSize + 1);
  right = std::max(right, m_horizSize + 1);
}

void TSeriesPointer::VertMargins(int& top, int& bottom) const {
  if (!m_visible || !m_inflateMargins) return;
  top = std::max(top, m_vertSize + 1);
  bottom = std::max(bottom, m_vertSize + 1);
}

// [SECTION] Properties

const PropertyTable& TSeriesPointer::PublishedProperties() {
  using P = TSeriesPointer;
  // InflateMargins, Style and Visible are written whatever their value.
  static const PropertyTable table(
      nullptr, {
                   ObjectProperty<P, TChartBrush>("Brush", static_cast<TChartBrush& (P::*)()>(&P::Brush)),
                   BoolProperty<P>("Dark3D", &P::Dark3D, &P::SetDark3D),
                   BoolProperty<P>("Draw3D", &P::Draw3D, &P::SetDraw3D),
                   IntProperty<P>("HorizSize", &P::HorizSize, &P::SetHorizSize),
                   BoolProperty<P>("InflateMargins", &P::InflateMargins, &P::SetInflateMargins),
                   ObjectProperty<P, TChartPen>("Pen", static_cast<TChartPen& (P::*)()>(&P::Pen)),
                   EnumProperty<P, TSeriesPointerStyle>("Style", &P::Style, &P::SetStyle, SeriesPointerStyleNames()),
                   IntProperty<P>("VertSize", &P::VertSize, &P::SetVertSize),
                   BoolProperty<P>("Visible", &P::Visible, &P::SetVisible),
               });
  return table;
}

}  // namespace tarvela
