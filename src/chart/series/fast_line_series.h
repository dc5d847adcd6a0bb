#pragma once
/// TFastLineSeries is a plain polyline in one pen: no point colours, no pointers, no
/// null points (a null point is joined like any other), no 3D ribbon (in 3D the line
/// lies at the middle of the series' slab). With AutoRepaint off a new point is drawn
/// at once onto the last paint instead of repainting the chart, so a series fed point
/// by point costs one segment per point.
/// @file
#include <vector>

#include "tarvela/chart/canvas/chart_pen.h"
#include "tarvela/chart/data/chart_series.h"

namespace tarvela {

class TFastLineSeries : public TChartSeries {
 public:
  explicit TFastLineSeries(TComponent* owner);
  std::string_view ClassName() const override { return "TFastLineSeries"; }
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override { return PublishedProperties(); }

  // settings
  /// A new point repaints the chart; off, it is drawn at once onto the last paint.
  bool AutoRepaint() const { return m_autoRepaint; }
  void SetAutoRepaint(bool autoRepaint) { m_autoRepaint = autoRepaint; }
  /// The only pen; its colour is the series colour, whichever of the two is set.
  TChartPen& LinePen() { return m_linePen; }
  const TChartPen& LinePen() const { return m_linePen; }
  void SetLinePen(const TChartPen& pen);
  void SetSeriesColor(TColor color) override;

  // operations
  /// AutoRepaint and LinePen, then the settings every series has.
  void Assign(const TChartSeries& source) override;
  /// The index of the point at (x, y), else the first point of the segment there; -1
  /// for none.
  int HitTest(int x, int y) const override;
  /// A horizontal line across the middle of rect in the line's pen.
  void DrawLegendSymbol(int valueIndex, const TRect& rect) override;

  // overridable steps
  /// The pen, then the points; a 2D line of more points than pixel columns as one
  /// path of what each column needs.
  void DrawAllPoints() override;
  void DrawPoint(int valueIndex) override;
  /// The mark's box and arrow end lifted by ArrowLength, at the middle of the slab.
  void PaintMark(int valueIndex, const std::string& text, TSeriesMarkPosition& position) override;
  /// Without AutoRepaint: the events and linked series as always, then the new segment
  /// drawn instead of a repaint.
  void NotifyPointAdded(TChartSeries* source, int index) override;

 private:
  /// The canvas pen from LinePen, brush clear.
  void ApplyLinePen();
  /// Whether the line is solid and one pixel wide in copy mode in a 2D chart, so that
  /// its pixels do not depend on how it is cut into segments.
  bool DrawsPlainLine2D() const;
  /// Point index drawn onto the buffer of the last paint, from point index-1.
  void DrawAddedPoint(int index);

  // state
  bool m_autoRepaint = true;
  TChartPen m_linePen;
  /// The pixels of the last point drawn.
  int m_prevX = 0;
  int m_prevY = 0;
  std::vector<TPoint> m_path;  ///< kept between paints for its storage
};

}  // namespace tarvela
