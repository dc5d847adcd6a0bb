// The paint sequence of the chart with axes, and the layout of its plot and axes.
//
//   [SECTION] DrawChartBody      the seventeen steps of one paint, in their fixed order
//   [SECTION] Layout             the axis scales, the depth of the 3D box, the plot
//                                shrunk for the box and for each shown axis, the axes'
//                                pixel spans, and the series margins
//   [SECTION] Axes               the drawing of every shown axis
//
// The depth slots of the series and the drawing of one series are series_paint.cpp.
// Everything computed here is working state: rebuilt in every paint, read between
// paints by the mouse and the series' hit tests, never stored with the chart.

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "tarvela/chart/axes/axis_panel.h"
#include "tarvela/runtime/rounding.h"

namespace tarvela {

namespace {

// The common part of two rectangles; empty (no width or no height) when they do not
// overlap.
TRect Intersection(const TRect& a, const TRect& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

bool IsEmptyRect(const TRect& r) { return r.right <= r.left || r.bottom <= r.top; }

}  // namespace

// [SECTION] DrawChartBody

// The panel has started the canvas and set PlotRect from the border and margins.
// Titles and legend take their room before the layout, so they lie outside the box
// and the axes, and the box depth follows the plot width they leave; the walls come
// before the axes and the axes (by default) before the series, so that series lie on
// top of the grid lines.
std::vector<double> TCustomAxisPanel::PaintedLayout() const {
  std::vector<double> layout = TCustomZavPanelExtended::PaintedLayout();
  // The label step, and so the room of the labels, follows from the scale and the span.
  for (const TChartAxis* axis : {m_leftAxis, m_topAxis, m_rightAxis, m_bottomAxis})
    layout.insert(layout.end(), {axis->ScaleMinimum(), axis->ScaleMaximum(), static_cast<double>(axis->StartPixel()),
                                 static_cast<double>(axis->EndPixel()), static_cast<double>(axis->AxisLinePos()),
                                 static_cast<double>(axis->LabelsPos()), static_cast<double>(axis->TitlePos())});
  return layout;
}

// The drawing of the series, however it ends: what the series ask of all of them is
// kept while nothing changes.
class TSeriesDrawing {
 public:
  explicit TSeriesDrawing(TCustomAxisPanel& chart) : m_chart(chart) {
    m_chart.m_drawingStamp = 1;
    m_chart.SeriesChangedWhileDrawn();
  }
  TSeriesDrawing(const TSeriesDrawing&) = delete;
  TSeriesDrawing& operator=(const TSeriesDrawing&) = delete;
  ~TSeriesDrawing() {
    m_chart.m_drawingStamp = 0;
    m_chart.m_markWidths.clear();
  }

 private:
  TCustomAxisPanel& m_chart;
};

void TCustomAxisPanel::DrawChartBody(const TRect& paintRect) {
  PaintPanelBackground(paintRect);
  for (int i = 0; i < SeriesTotal(); ++i) {
    TChartSeries* series = SeriesAt(i);
    if (series->Active()) series->DoBeforeDrawChart();
  }
  PlaceTitlesAndLegend();
  AssignDepthSlots();
  LayoutAxes();
  SetSeriesDepths();
  // From the margins, which every bar series works out from its whole group, to the
  // last series drawn.
  auto drawing = std::make_unique<TSeriesDrawing>(*this);
  FitSeriesMargins();
  Canvas().SetProjectionCenter(m_boxDepthX, paintRect, PlotRect());
  if (Canvas().RotatesFreely()) {
    // A turning chart places its titles over the whole panel, not beside the plot.
    const TRect plot = PlotRect();
    SetPlotRect(paintRect);
    NormalizePlotRect();
    PlaceTitlesAndLegend();
    SetPlotRect(plot);
    NormalizePlotRect();
  }
  DrawChartWalls();
  if (m_axisVisible && AxesBehindSeries) DrawAllAxes();
  if (OnBeforeDrawSeries) OnBeforeDrawSeries(this);
  // By index: a handler may change the list while the series are drawn.
  for (int i = 0; i < SeriesTotal(); ++i) {
    TChartSeries* series = SeriesAt(i);
    if (series->Active()) DrawOneSeries(*series);
  }
  drawing.reset();
  if (m_axisVisible && !AxesBehindSeries) DrawAllAxes();
  // A paint during a zoom drag would otherwise wipe the band the user is dragging.
  if (ZoomDrag().Active) DrawZoomBand();
  Canvas().ResetDrawingState();
  if (OnAfterDraw) OnAfterDraw(this);
}

// [SECTION] Layout

void TCustomAxisPanel::ComputeBoxDepth() {
  if (!View3D()) {
    m_depthOffsetX = m_depthOffsetY = m_boxDepthX = m_boxDepthY = 0;
    return;
  }
  long double factor = static_cast<long double>(Chart3DPercent()) * 0.001L;
  // A turned box looks shallower than an oblique one of the same depth.
  if (!View3DOptions().Orthogonal()) factor *= 2;
  m_depthOffsetX = m_depthOffsetY = static_cast<int>(Round(static_cast<long double>(PlotWidth()) * factor));
  const int slots = m_stackInDepth ? std::max(1, m_maxDepthSlot + 1) : 1;
  m_boxDepthX = slots * m_depthOffsetX;
  m_boxDepthY = slots * m_depthOffsetY;
}

void TCustomAxisPanel::LayoutAxes() {
  for (int i = 0; i < AxisCount(); ++i) Axes(i).RefreshScale();
  ComputeBoxDepth();
  if (View3D() && View3DOptions().Orthogonal()) {
    // The front face shrinks so that the back face, shifted right and up by the
    // depth, stays inside the former rectangle.
    const int backWall = m_view3DWalls ? BackWallSize() : 0;
    TRect r = PlotRect();
    r.right -= std::abs(m_boxDepthX) + backWall;
    r.top += backWall + std::abs(m_boxDepthY);
    SetPlotRect(r);
  }
  NormalizePlotRect();

  // Each shown axis cuts its room from what the axes before it left. An axis whose
  // room does not fit (a huge title, say) takes none rather than turning the plot
  // over; an axis added after the standard five sits inside the plot and takes none.
  TRect plot = PlotRect();
  for (int i = 0; i < AxisCount(); ++i) {
    TCustomChartAxis& axis = Axes(i);
    if (!AxisShown(axis)) continue;
    TRect room = plot;
    axis.ReserveAxisRoom(room, i < 5);
    const TRect common = Intersection(plot, room);
    if (!IsEmptyRect(common)) plot = common;
  }
  SetPlotRect(plot);
  NormalizePlotRect();
  for (int i = 0; i < AxisCount(); ++i) Axes(i).LayoutPixels();
}

// A series whose drawing reaches beyond its points (a pointer, stairs) asks for pixels
// at the axis ends; an axis end the user fixed stays where it was put.
void TCustomAxisPanel::FitSeriesMargins() {
  for (TChartAxis* axis : {m_topAxis, m_leftAxis, m_rightAxis, m_bottomAxis}) {
    TRect margins;
    for (const TChartSeries* series : m_seriesList) {
      if (!series->Active() || !series->DrawnOnAxis(axis)) continue;
      int low = 0;
      int high = 0;
      if (axis->IsHorizontal()) {
        series->HorizMargins(low, high);
        if (axis->AutomaticMinimum()) margins.left = std::max(margins.left, low);
        if (axis->AutomaticMaximum()) margins.right = std::max(margins.right, high);
      } else {
        series->VertMargins(low, high);
        if (axis->AutomaticMaximum()) margins.top = std::max(margins.top, low);
        if (axis->AutomaticMinimum()) margins.bottom = std::max(margins.bottom, high);
      }
    }
    axis->ApplyPixelMargins(margins);
  }
}

// [SECTION] Axes

void TCustomAxisPanel::DrawAllAxes() {
  if (OnBeforeDrawAxes) OnBeforeDrawAxes(this);
  for (int i = 0; i < AxisCount(); ++i) {
    TCustomChartAxis& axis = Axes(i);
    if (AxisShown(axis)) axis.DrawAxis(true);
  }
}

}  // namespace tarvela
