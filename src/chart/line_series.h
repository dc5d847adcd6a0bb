#pragma once
// TCustomSeries is the common base of the series that join or mark their points
// (line, area, point); TLineSeries is the line series a form description names.
// So far their data side: the settings of the line, the area and the pointer, the
// defaults each constructor gives, and copying from another series. Drawing the
// points, margins, the legend symbol and the hit test come with the 3D canvas.

#include <functional>

#include "chart/chart_brush.h"
#include "chart/chart_pen.h"
#include "chart/chart_series.h"
#include "chart/series_pointer.h"

namespace tarvela {

// The pointer style of one point; returns the style to draw.
using TOnGetPointerStyle = std::function<TSeriesPointerStyle(TChartSeries* sender, int valueIndex)>;

class TCustomSeries : public TChartSeries {
 public:
  explicit TCustomSeries(TComponent* owner);
  std::string_view ClassName() const override { return "TCustomSeries"; }
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override { return PublishedProperties(); }

  // settings (each series type publishes its own selection)
  TBrushStyle AreaBrush() const { return m_areaBrush; }
  void SetAreaBrush(TBrushStyle style) { Change(m_areaBrush, style); }
  // clDefault fills the area with the point colour.
  TColor AreaColor() const { return m_areaColor; }
  void SetAreaColor(TColor color) { Change(m_areaColor, color); }
  TChartPen& AreaLinesPen() { return m_areaLinesPen; }
  const TChartPen& AreaLinesPen() const { return m_areaLinesPen; }
  void SetAreaLinesPen(const TChartPen& pen) { m_areaLinesPen.Assign(pen); }
  // Darken 3D faces that climb more steeply than the depth direction.
  bool Dark3D() const { return m_dark3D; }
  void SetDark3D(bool dark) { Change(m_dark3D, dark); }
  bool DrawArea() const { return m_drawArea; }
  void SetDrawArea(bool drawArea) { Change(m_drawArea, drawArea); }
  // Stairs that go up (or down) first, then across.
  bool InvertedStairs() const { return m_invertedStairs; }
  void SetInvertedStairs(bool inverted) { Change(m_invertedStairs, inverted); }
  // Fill of the 3D ribbon of the line; bsClear draws no line in 3D.
  TBrushStyle LineBrush() const { return m_lineBrush; }
  void SetLineBrush(TBrushStyle style) { Change(m_lineBrush, style); }
  // Height in pixels of the front face of a 3D line; 0 for none.
  int LineHeight() const { return m_lineHeight; }
  void SetLineHeight(int pixels) { Change(m_lineHeight, pixels); }
  TChartPen& LinePen() { return m_linePen; }
  const TChartPen& LinePen() const { return m_linePen; }
  void SetLinePen(const TChartPen& pen) { m_linePen.Assign(pen); }
  TSeriesPointer& Pointer() { return m_pointer; }
  const TSeriesPointer& Pointer() const { return m_pointer; }
  void SetPointer(const TSeriesPointer& pointer) { m_pointer.Assign(pointer); }
  bool Stairs() const { return m_stairs; }
  void SetStairs(bool stairs) { Change(m_stairs, stairs); }

  // events (published)
  TOnGetPointerStyle OnGetPointerStyle;

  // settings (not published)
  // Join consecutive points.
  bool ConnectPoints() const { return m_connectPoints; }
  void SetConnectPoints(bool connect) { Change(m_connectPoints, connect); }
  // The hit test also finds the segments between points.
  bool SegmentsClickable() const { return m_segmentsClickable; }
  void SetSegmentsClickable(bool clickable) { m_segmentsClickable = clickable; }

  // operations
  // From another TCustomSeries first its line, area and pointer settings; then the
  // settings every series has.
  void Assign(const TChartSeries& source) override;

 private:
  // state
  TBrushStyle m_areaBrush = bsSolid;
  TColor m_areaColor = clDefault;
  TChartPen m_areaLinesPen;
  bool m_dark3D = true;
  bool m_drawArea = false;
  bool m_invertedStairs = false;
  TBrushStyle m_lineBrush = bsSolid;
  int m_lineHeight = 0;
  TChartPen m_linePen;
  TSeriesPointer m_pointer{this};
  bool m_stairs = false;
  bool m_connectPoints = false;
  bool m_segmentsClickable = true;
};

class TLineSeries : public TCustomSeries {
 public:
  // Joins its points, hides the pointer, and needs two points for a level line.
  explicit TLineSeries(TComponent* owner);
  std::string_view ClassName() const override { return "TLineSeries"; }
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override { return PublishedProperties(); }

  // operations
  // Stays a line: no area, points joined; the pointer is hidden unless the
  // source is a line series too.
  void Assign(const TChartSeries& source) override;
};

}  // namespace tarvela
