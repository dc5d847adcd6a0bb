#pragma once
/// TCustomSeries is the common base of the series that join or mark their points
/// (line, area, point); TLineSeries is the line series a form description names.
/// The settings of the line, the area and the pointer and copying live in
/// line_series.cpp; drawing the points, margins and the legend symbol in
/// line_series_draw.cpp; the mouse hit test in series_hit_test.cpp.
///
/// Drawing keeps a little memory from one point to the next within one pass (the
/// previous point's pixels, colour and baseline), so a pass must run over ascending
/// indexes; the first drawn point of a pass never reads what an earlier pass left.
/// @file
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "tarvela/chart/canvas/chart_brush.h"
#include "tarvela/chart/canvas/chart_pen.h"
#include "tarvela/chart/data/chart_series.h"
#include "tarvela/chart/series/series_pointer.h"

namespace tarvela {

/// The pointer style of one point; returns the style to draw.
using TOnGetPointerStyle = std::function<TSeriesPointerStyle(TChartSeries* sender, int valueIndex)>;
/// A click that the hit test found on a point's pointer.
using TSeriesClickPointerEvent = std::function<void(TChartSeries* sender, int valueIndex, int x, int y)>;

/// How much each colour channel of a steep 3D ribbon or a stair's riser is lowered.
inline constexpr int kDarkenAmount = 64;

/// Whether p lies on the segment a-b: within one pixel of its line (measured along
/// the segment's longer direction) and inside the span of each coordinate that
/// changes, each span widened by tolerance pixels.
bool PointNearSegment(TPoint p, TPoint a, TPoint b, int tolerance = 0);
/// The even-odd crossing rule: an edge counts when p.y lies in its half-open y span
/// (lower end included) and p.x is strictly left of the edge at that height.
bool PolygonContains(std::span<const TPoint> polygon, TPoint p);

class TCustomSeries : public TChartSeries {
 public:
  explicit TCustomSeries(TComponent* owner);
  std::string_view ClassName() const override { return "TCustomSeries"; }
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override { return PublishedProperties(); }

  // settings (each series type publishes its own selection)
  TBrushStyle AreaBrush() const { return m_areaBrush; }
  void SetAreaBrush(TBrushStyle style) { Change(m_areaBrush, style); }
  /// clDefault fills the area with the point colour.
  TColor AreaColor() const { return m_areaColor; }
  void SetAreaColor(TColor color) { Change(m_areaColor, color); }
  TChartPen& AreaLinesPen() { return m_areaLinesPen; }
  const TChartPen& AreaLinesPen() const { return m_areaLinesPen; }
  void SetAreaLinesPen(const TChartPen& pen) { m_areaLinesPen.Assign(pen); }
  /// Darken 3D faces that climb more steeply than the depth direction.
  bool Dark3D() const { return m_dark3D; }
  void SetDark3D(bool dark) { Change(m_dark3D, dark); }
  bool DrawArea() const { return m_drawArea; }
  void SetDrawArea(bool drawArea) { Change(m_drawArea, drawArea); }
  /// Stairs that go up (or down) first, then across.
  bool InvertedStairs() const { return m_invertedStairs; }
  void SetInvertedStairs(bool inverted) { Change(m_invertedStairs, inverted); }
  /// Fill of the 3D ribbon of the line; bsClear draws no line in 3D.
  TBrushStyle LineBrush() const { return m_lineBrush; }
  void SetLineBrush(TBrushStyle style) { Change(m_lineBrush, style); }
  /// Height in pixels of the front face of a 3D line; 0 for none.
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
  /// Published by the point series only.
  TSeriesClickPointerEvent OnClickPointer;

  // settings (not published)
  /// Join consecutive points.
  bool ConnectPoints() const { return m_connectPoints; }
  void SetConnectPoints(bool connect) { Change(m_connectPoints, connect); }
  /// The hit test also finds the segments between points.
  bool SegmentsClickable() const { return m_segmentsClickable; }
  void SetSegmentsClickable(bool clickable) { m_segmentsClickable = clickable; }

  // operations
  /// From another TCustomSeries first its line, area and pointer settings; then the
  /// settings every series has.
  void Assign(const TChartSeries& source) override;

  // operations: drawing (line_series_draw.cpp)
  /// Forgets the previous point, so that a pass starts a new line whichever index
  /// it starts at.
  void DoBeforeDrawValues() override;
  /// A plain 2D line of many points is drawn as one path with what each pixel column
  /// needs, a plain 2D area of many points on a raster image from what each pixel
  /// column needs; everything else point by point.
  void DrawAllPoints() override;
  void DrawPoint(int valueIndex) override;
  /// The pixel row the area of a point closes at: the bottom of the vertical axis.
  virtual int BaselinePos(int valueIndex) const;
  /// Whether every point's area closes at the same row and its Y pixel is its own
  /// value's, so that the points of a pixel column compare as their values do.
  virtual bool FixedBaseline() const { return true; }
  /// The colour an area or 3D ribbon is filled with for a point of colour color.
  TColor AreaFillColor(TColor color) const;
  /// The pointer of one point, in color, with the style OnGetPointerStyle gives.
  void DrawPointMarker(int x, int y, int valueIndex, TColor color);
  /// The drawing memory as DrawPoint(valueIndex) leaves it, at the point's pixel in its
  /// colour, for a drawing that did the point's work another way; the next DrawPoint
  /// goes on from there.
  void RememberDrawnPoint(int valueIndex, TPoint pixel, TColor color);
  /// The mark at the front of the slab, box and arrow end lifted by ArrowLength.
  void PaintMark(int valueIndex, const std::string& text, TSeriesMarkPosition& position) override;
  void HorizMargins(int& left, int& right) const override;
  void VertMargins(int& top, int& bottom) const override;
  /// The canvas pen from LinePen (clear when hidden); brushStyle becomes LineBrush.
  void PrepareLegendSymbol(int valueIndex, TColor& backColor, TBrushStyle& brushStyle) override;
  /// The symbol of the series (valueIndex -1) or of one point in rect: a line, the
  /// pointer shrunk to fit, or a filled box.
  void DrawLegendSymbol(int valueIndex, const TRect& rect) override;

  // operations: hit test (series_hit_test.cpp)
  /// The drawn point whose pointer or pixel is at (x, y), else the first point of
  /// the segment (or area slice) there; -1 for none.
  int HitTest(int x, int y) const override;
  /// Strictly inside the pointer's half sizes around (px, py).
  bool PointerHit(int valueIndex, int px, int py, int x, int y) const;

 protected:
  /// Whether the X and Y values of the points up to last are the stored ones, as they
  /// are read (no multiplier): then MapStoredValues gives the pixels of the finite ones
  /// as PointXPixel and PointYPixel do, without their look-ups.
  bool ReadsStoredValues(int last) const;
  /// The pixels of the points from start on, as many as the spans hold, a block at a time.
  void MapStoredValues(int start, std::span<int> xPixels, std::span<int> yPixels) const;

 private:
  // helpers of drawing (line_series_draw.cpp)
  struct PointDraw {
    int valueIndex;
    int x;
    int y;
    TColor color;
    bool isLast;
  };
  void DrawSegment(const PointDraw& point, bool withPointers);
  void DrawRibbon(const PointDraw& point);
  void DrawAreaFill(const PointDraw& point);
  void DrawLine2D(const PointDraw& point);
  /// Whether the series draws a solid one-pixel 2D line (in any colours) and nothing else.
  bool DrawsOnePixelLine2D() const;
  /// The same in one colour.
  bool DrawsPlainLine2D() const;
  /// DrawsOnePixelLine2D's line in its point colours, the points from first on handed to
  /// the surface at once; false (nothing drawn) when the surface draws such segments no
  /// faster or a point lies beyond the pixel range.
  bool DrawColoredLine2D(int first, int last);
  /// Whether the series draws a 2D area in one colour, not stacked, without stairs or
  /// pointers, outlined (if at all) by a solid one-pixel pen in copy mode.
  bool DrawsReducibleArea2D() const;
  /// DrawsReducibleArea2D's area from the points that light what each pixel column
  /// needs; false (nothing drawn) when no column holds two points, the surface is no
  /// raster image, or the values are unusable as for ColumnReducedIndexes.
  bool DrawAreaColumns(int first, int last);
  /// The path of DrawsPlainLine2D's line after the first drawn point, each pixel column
  /// reduced to its entry, extremes and exit; false (path unusable) when the values are
  /// not in X order, not finite or beyond the pixel range.
  bool PlainLinePath(std::vector<TPoint>& path) const;
  /// Whether the series draws plain 3D ribbons in one colour (an area's front below
  /// them, on a fixed baseline) and nothing else, each in full over what lies under it
  /// (copy mode, no smoothing).
  bool CullsRepeatedRibbons() const;
  /// CullsRepeatedRibbons' ribbons from first to last, leaving out each ribbon that a
  /// later ribbon between the same two pixels draws again; false (nothing drawn) when
  /// a point is null, not finite or beyond the pixel range.
  bool DrawShownRibbons(int first, int last);
  /// The Y pixel at the plot's edge column m_prevX on the line from point index-1 to
  /// point index.
  int EdgeYPixel(int valueIndex) const;
  /// The line pen for a 2D line in color, brush clear.
  void PrepareLinePen(TColor color);
  /// The legend line or box: LinePen and LineBrush in 3D, the pen in color in 2D.
  void DrawLegendLine(TColor color, const TRect& rect, bool filled);
  // helpers of the hit test (series_hit_test.cpp)
  /// The segment (or 3D ribbon) from q to p, as it is drawn, holds (x, y).
  bool SegmentHit(TPoint p, TPoint q, int x, int y) const;
  /// Narrows from..to to the points whose own or previous point's pixel column lies
  /// near x, where the columns follow the indexes (2D, X in order); else leaves them.
  void NearColumnRange(int x, int& from, int& to) const;

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

  // state: the drawing memory of one pass
  int m_prevX = 0;
  int m_prevY = 0;
  TColor m_prevColor = clNone;
  int m_basePos = 0;
  int m_prevBasePos = 0;
  double m_darkSlope = 1.0;
  std::vector<TPoint> m_path;  ///< kept between paints for its storage
  std::vector<TColor> m_pathColors;
  std::vector<int> m_indexes;  ///< the points an area's pixel columns need, kept likewise
  std::vector<TPoint> m_pixels;  ///< the ribbons' points, kept likewise
  std::vector<int> m_pixelXs;
  std::vector<int> m_pixelYs;
  std::vector<std::uint8_t> m_ribbonShown;
  std::vector<std::uint32_t> m_ribbonKeys;
};

class TLineSeries : public TCustomSeries {
 public:
  /// Joins its points, hides the pointer, and needs two points for a level line.
  explicit TLineSeries(TComponent* owner);
  std::string_view ClassName() const override { return "TLineSeries"; }
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override { return PublishedProperties(); }

  // operations
  /// Stays a line: no area, points joined; the pointer is hidden unless the
  /// source is a line series too.
  void Assign(const TChartSeries& source) override;
};

}  // namespace tarvela
