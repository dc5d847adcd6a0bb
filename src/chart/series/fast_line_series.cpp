// The fast line: drawing all points or one added point, the mark placement, the
// legend symbol and the hit test.
//
// Each point draws the segment arriving at it from the pen position, which the point
// before left there; a point on the same pixel as the one before draws nothing. The
// first drawn point of a pass starts the line: at itself when it is the series' first
// point, else with the whole segment from the point before it (which lies left of the
// plot), so that the line enters the plot as it would have come.

#include "tarvela/chart/series/fast_line_series.h"

#include <cstdlib>

#include "tarvela/chart/axes/axis_panel.h"
#include "tarvela/chart/series/column_path.h"
#include "tarvela/chart/series/line_series.h"

namespace tarvela {

TFastLineSeries::TFastLineSeries(TComponent* owner) : TChartSeries(owner) {
  // The pen is the series colour: a pen colour set on its own (a description's
  // LinePen.Color) becomes the series colour too.
  m_linePen.OnChange = [this] {
    if (m_linePen.Color() != SeriesColor()) TChartSeries::SetSeriesColor(m_linePen.Color());
    Repaint();
  };
  // The segment that leaves the plot must be drawn, so its far point counts as visible.
  SetReachPastEnd(true);
}

void TFastLineSeries::SetSeriesColor(TColor color) {
  TChartSeries::SetSeriesColor(color);
  m_linePen.SetColor(color);
}

void TFastLineSeries::SetLinePen(const TChartPen& pen) {
  m_linePen.Assign(pen);
  SetSeriesColor(pen.Color());
}

void TFastLineSeries::Assign(const TChartSeries& source) {
  if (&source == this) return;
  if (auto* fast = dynamic_cast<const TFastLineSeries*>(&source)) {
    SetAutoRepaint(fast->m_autoRepaint);
    SetLinePen(fast->m_linePen);
  }
  TChartSeries::Assign(source);
}

// [SECTION] Drawing

void TFastLineSeries::ApplyLinePen() {
  TZavCanvas3D& canvas = ParentChart()->Canvas();
  canvas.ApplyChartPen(m_linePen);
  canvas.SetBrushStyle(bsClear);
}

bool TFastLineSeries::DrawsPlainLine2D() const {
  const TCustomAxisPanel* chart = ParentChart();
  // Dashes, wide pens and raster modes other than copy light pixels that depend on
  // how the line is cut into segments.
  return chart != nullptr && !chart->View3D() && m_linePen.Visible() && m_linePen.Style() == psSolid &&
         m_linePen.Width() == 1 && m_linePen.Mode() == pmCopy && !m_linePen.SmallDots();
}

void TFastLineSeries::DrawAllPoints() {
  const int first = FirstDrawnIndex();
  const int last = LastDrawnIndex();
  if (first < 0 || ParentChart() == nullptr) return;
  ApplyLinePen();
  // One path only when some pixel column holds more than one point.
  if (last > first && DrawsPlainLine2D() &&
      std::llabs(static_cast<long long>(PointXPixel(last)) - PointXPixel(first)) < last - first &&
      ColumnReducedPath(*this, first, last, m_path)) {
    if (first > 0) {
      const TPoint before{PointXPixel(first - 1), PointYPixel(first - 1)};
      if (before != m_path.front()) m_path.insert(m_path.begin(), before);
    }
    TZavCanvas3D& canvas = ParentChart()->Canvas();
    canvas.Polyline2D(m_path);
    // Where the point-by-point drawing leaves the pen.
    canvas.MoveTo2D(m_path.back().x, m_path.back().y);
    m_prevX = m_path.back().x;
    m_prevY = m_path.back().y;
    return;
  }
  TChartSeries::DrawAllPoints();
}

void TFastLineSeries::DrawPoint(int valueIndex) {
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr) return;
  TZavCanvas3D& canvas = chart->Canvas();
  const bool view3D = chart->View3D();
  const int z = DepthMiddle();
  const int x = PointXPixel(valueIndex);
  const int y = PointYPixel(valueIndex);
  if (valueIndex != FirstDrawnIndex()) {
    if (x != m_prevX || y != m_prevY) {
      if (view3D) {
        canvas.LineToPoint3D(x, y, z);
      } else {
        canvas.LineTo2D(x, y);
      }
    }
  } else if (valueIndex == 0) {
    if (view3D) {
      canvas.MoveToPoint3D(x, y, z);
    } else {
      canvas.MoveTo2D(x, y);
    }
  } else {
    const int fromX = PointXPixel(valueIndex - 1);
    const int fromY = PointYPixel(valueIndex - 1);
    if (view3D) {
      canvas.LineAtDepth(fromX, fromY, x, y, z);
    } else {
      canvas.Line2D(fromX, fromY, x, y);
    }
  }
  m_prevX = x;
  m_prevY = y;
}

void TFastLineSeries::NotifyPointAdded(TChartSeries* source, int index) {
  if (m_autoRepaint) {
    TChartSeries::NotifyPointAdded(source, index);
    return;
  }
  if (OnAfterAdd) OnAfterAdd(this, index);
  if (!LinkedSeries().empty()) NotifyLinkedSeries(TSourceChange::PointInserted, index);
  if (Active()) DrawAddedPoint(index);
}

// Between paints the canvas draws on nothing; what a window shows is the buffer of
// the last paint, so the segment goes into that buffer and the window is asked to
// show the buffer again, without the chart being drawn anew. The segment uses the
// scales of the last paint: the axes catch up with the next repaint. Without a
// current buffer (never painted, unbuffered, or a repaint already due) the chart is
// repainted instead, so the point still shows.
void TFastLineSeries::DrawAddedPoint(int index) {
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr) return;
  TZavCanvas3D& canvas = chart->Canvas();
  Surface* buffer = canvas.CurrentBuffer();
  if (buffer == nullptr) {
    Repaint();
    return;
  }
  canvas.AttachSurface(buffer);
  const bool clip = chart->ClipPoints() && chart->ClippingAllowed();
  if (clip) canvas.ClipToBox(chart->PlotRect(), 0, chart->BoxDepthX());
  ApplyLinePen();
  const int from = index == 0 ? 0 : index - 1;
  m_prevX = PointXPixel(from);
  m_prevY = PointYPixel(from);
  if (chart->View3D()) {
    canvas.MoveToPoint3D(m_prevX, m_prevY, DepthMiddle());
  } else {
    canvas.MoveTo2D(m_prevX, m_prevY);
  }
  DrawPoint(index);
  if (clip) canvas.RemoveClipping();
  // Between paints the canvas draws on nothing (a clean buffer means no paint runs).
  canvas.AttachSurface(nullptr);
  if (chart->HostPaintBand) chart->HostPaintBand();
}

// The marks stand at the middle of the slab, on the line.
void TFastLineSeries::PaintMark(int valueIndex, const std::string& text, TSeriesMarkPosition& position) {
  Marks().SetMarksDepth(DepthMiddle());
  const int lift = Marks().ArrowLength();
  position.TopLeft.y -= lift;
  position.ArrowEnd.y -= lift;
  TChartSeries::PaintMark(valueIndex, text, position);
}

void TFastLineSeries::DrawLegendSymbol(int, const TRect& rect) {
  if (ParentChart() == nullptr) return;
  ApplyLinePen();
  ParentChart()->Canvas().HorizontalLine2D(rect.left, rect.right, (rect.top + rect.bottom) / 2);
}

// [SECTION] Hit test

int TFastLineSeries::HitTest(int x, int y) const {
  const int first = FirstDrawnIndex();
  const int last = LastDrawnIndex();
  if (first == -1 || last == -1) return -1;
  // The mouse is on the screen; the line lies at the middle of the slab.
  if (const TCustomAxisPanel* chart = ParentChart()) chart->Canvas().UnprojectPoint(x, y, DepthMiddle());
  const TPoint at{x, y};
  TPoint previous{0, 0};
  for (int i = first; i <= last; ++i) {
    const TPoint p{PointXPixel(i), PointYPixel(i)};
    if (p == at) return i;
    if (i > first && PointNearSegment(at, previous, p)) return i - 1;
    previous = p;
  }
  return -1;
}

// [SECTION] Published properties

const PropertyTable& TFastLineSeries::PublishedProperties() {
  using F = TFastLineSeries;
  static const PropertyTable table(
      &TChartSeries::PublishedProperties(),
      {
          BoolProperty<F>("AutoRepaint", &F::AutoRepaint, &F::SetAutoRepaint),
          ObjectProperty<F, TChartPen>("LinePen", static_cast<TChartPen& (F::*)()>(&F::LinePen)),
          ObjectProperty<F, TChartValueList>("XValues", static_cast<TChartValueList& (F::*)()>(&F::XValues)),
          ObjectProperty<F, TChartValueList>("YValues", static_cast<TChartValueList& (F::*)()>(&F::YValues)),
      });
  return table;
}

}  // namespace tarvela
