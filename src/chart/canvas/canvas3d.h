#pragma once
/// The chart engine's only path to a drawing surface.
///
///     TZavCanvas    the 2D canvas: the surface it draws on (with that surface's pen, brush
///                   and font), a few plain helpers, and the 2D operations as virtual slots.
///     TCanvas3D     adds the 3D operations as virtual slots: points with a depth z.
///     TZavCanvas3D  the one implementation: the projection of (x, y, z) to the screen and
///                   back, the reusable off-screen buffer of a whole paint, text that scales
///                   with the zoom, and the composite solids and fills (canvas_solids.cpp).
///
/// A canvas is not a surface and owns none but its off-screen bitmap: the panel attaches
/// the window's surface, and BeginDrawing switches to the bitmap for one paint. Between
/// paints the bitmap keeps the last picture, so an unchanged chart repaints with one copy.
/// It is not thread-safe: per-paint state (projection constants, scratch points) lives in
/// the object, and two paints must never overlap.
/// @file
#include <array>
#include <functional>
#include <memory>
#include <span>
#include <string_view>

#include "tarvela/chart/canvas/chart_pen.h"
#include "tarvela/chart/canvas/gradient.h"
#include "tarvela/chart/canvas/view3d_options.h"
#include "tarvela/platform/picture.h"
#include "tarvela/platform/surface.h"
#include "tarvela/runtime/colors.h"
#include "tarvela/runtime/control.h"

namespace tarvela {

class TCustomZavPanel;

/// A point of the chart's 3D space: pixels, with z the depth (0 at the front of the box).
struct TPoint3D {
  int x = 0;
  int y = 0;
  int z = 0;
  bool operator==(const TPoint3D&) const = default;
};

/// Asked for one cell of a surface grid; a canvas that draws grids calls it per cell.
using TSurfaceCellEvent = std::function<void(int cellX, int cellZ, TPoint3D& point, TColor& color)>;

/// The rotation coefficients of the non-orthogonal projection, worked out once per paint.
struct TProjectionCoefficients {
  double xx = 1, xy = 0, xz = 0;
  double yx = 0, yy = 1, yz = 0;
  /// Kept for the perspective term.
  double sinE = 0, cosESinR = 0, cosECosR = 1;
};

/// The colour resolved to RGB with every channel lowered by amount (0 where the channel
/// is not greater than amount). The shading of the sides and tops of solids.
TColor DarkenColor(TColor color, int amount);

// [SECTION] TZavCanvas

class TZavCanvas {
 public:
  TZavCanvas();
  virtual ~TZavCanvas();
  TZavCanvas(const TZavCanvas&) = delete;
  TZavCanvas& operator=(const TZavCanvas&) = delete;

  // settings: the pen, brush and font of the attached surface
  const SurfacePen& Pen() const { return m_surface->Pen(); }
  void SetPen(const SurfacePen& pen) { m_surface->SetPen(pen); }
  void SetPenColor(TColor color) { m_surface->SetPenColor(color); }
  void SetPenWidth(int width) { m_surface->SetPenWidth(width); }
  void SetPenStyle(TPenStyle style) { m_surface->SetPenStyle(style); }
  void SetPenMode(TPenMode mode) { m_surface->SetPenMode(mode); }
  const SurfaceBrush& Brush() const { return m_surface->Brush(); }
  void SetBrush(const SurfaceBrush& brush) { m_surface->SetBrush(brush); }
  void SetBrushColor(TColor color) { m_surface->SetBrushColor(color); }
  void SetBrushStyle(TBrushStyle style) { m_surface->SetBrushStyle(style); }
  void SetBrushPattern(const Picture& pattern) { m_surface->SetBrushPattern(pattern); }
  void ClearBrushPattern() { m_surface->ClearBrushPattern(); }
  const SurfaceFont& Font() const { return m_surface->Font(); }
  void SetFont(const SurfaceFont& font) { m_surface->SetFont(font); }
  TPoint PenPos() const { return m_surface->PenPos(); }
  /// Always false: only a recording of drawing commands as a picture file would set it,
  /// and nothing makes one.
  bool Metafiling() const { return m_metafiling; }

  // operations without virtual dispatch
  /// Makes surface current (nullptr: none, drawing then goes nowhere). The canvas then
  /// draws with that surface's own pen, brush and font.
  void AttachSurface(Surface* surface);
  /// Pen black, 1 pixel, solid; brush white, solid; font black, 10 points; background
  /// white and transparent.
  void ResetDrawingState();
  /// The surface pen takes the chart pen: clear when hidden, the alternate-pixel pen for
  /// one-pixel small dots, else colour, width, style and mode.
  void ApplyChartPen(const TChartPen& pen);
  /// The height of a text line in the current font.
  int LineHeight() { return MeasureTextHeight("W"); }

  // operations: the 2D slots
  virtual TColor TextBackColor() const = 0;
  virtual BkMode TextBackMode() const = 0;
  /// The attached surface, nullptr when none is.
  virtual Surface* SurfaceHandle() const = 0;
  virtual bool MonochromeMode() const = 0;
  virtual int TextAlignFlags() const = 0;
  virtual bool Buffered() const = 0;
  virtual void SetTextBackColor(TColor color) = 0;
  virtual void SetTextBackMode(BkMode mode) = 0;
  virtual void SetMonochromeMode(bool monochrome) = 0;
  virtual void PutPixel(int x, int y, TColor color) = 0;
  virtual void SetTextAlignFlags(int flags) = 0;
  virtual void SetBuffered(bool buffered) = 0;
  virtual void DrawArc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
  /// Nothing for a null or empty picture.
  virtual void DrawGraphic(int x, int y, const Picture* picture) = 0;
  virtual void DrawEllipse(int x1, int y1, int x2, int y2) = 0;
  virtual void FillRectangle(const TRect& rect) = 0;
  virtual void BevelFrame(const TRect& rect, TColor topColor, TColor bottomColor, int width) = 0;
  virtual void LineTo2D(int x, int y) = 0;
  virtual void MoveTo2D(int x, int y) = 0;
  virtual void DrawPieSlice(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
  virtual void DrawRectangle(int x1, int y1, int x2, int y2) = 0;
  virtual void DrawRoundRectangle(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) = 0;
  /// Nothing for a null picture.
  virtual void StretchGraphic(const TRect& rect, const Picture* picture) = 0;
  virtual void WriteText(int x, int y, std::string_view text) = 0;
  /// 0 when the surface cannot measure.
  virtual int MeasureTextWidth(std::string_view text) = 0;
  virtual int MeasureTextHeight(std::string_view text) = 0;
  virtual void ClipToRectangle(const TRect& rect) = 0;
  virtual void HorizontalLine2D(int x1, int x2, int y) = 0;
  virtual void DrawRectangleRect(const TRect& rect) = 0;
  virtual void VerticalLine2D(int x, int y1, int y2) = 0;
  virtual void EraseArea(const TRect& rect) = 0;
  virtual void FillGradient(const TRect& rect, TColor startColor, TColor endColor,
                            TGradientDirection direction) = 0;
  virtual void MarkDirty() = 0;
  virtual void Line2D(int x1, int y1, int x2, int y2) = 0;
  virtual void DrawPolygon(std::span<const TPoint> points) = 0;
  /// angle in degrees, counter-clockwise.
  virtual void WriteRotatedText(int x, int y, std::string_view text, int angle) = 0;
  virtual void RemoveClipping() = 0;

 protected:
  /// The attached surface, or a private one that draws nothing: never null.
  Surface& CurrentSurface() const { return *m_surface; }
  Surface* AttachedSurface() const { return m_attached; }

 private:
  // state
  Surface* m_attached = nullptr;
  Surface* m_surface;
  std::unique_ptr<Surface> m_detached;
  bool m_metafiling = false;
};

// [SECTION] TCanvas3D

class TCanvas3D : public TZavCanvas {
 public:
  // operations: the 3D slots (P(x, y, z) is ProjectPoint)
  /// At P(x, y, z): one pixel with a one-pixel pen, else a dot of the current pen.
  virtual void PutPixel3D(int x, int y, int z, TColor color) = 0;
  /// Whether the canvas turns the whole chart freely (and draws walls and panel itself).
  virtual bool RotatesFreely() const = 0;
  /// Whether it draws real solids (spheres, back faces).
  virtual bool DrawsTrue3D() const = 0;
  /// The chart point at depth z that projects to the screen point (x, y).
  virtual void UnprojectPoint(int& x, int& y, int z) const = 0;
  virtual TPoint ProjectPoint(int x, int y, int z) const = 0;
  /// Starts one paint into destination; returns the rectangle to draw in.
  virtual TRect BeginDrawing(Surface& destination, const TView3DOptions* options, TColor panelColor,
                             bool view3D, const TRect& userRect) = 0;
  virtual void CopySettings(const TCanvas3D& other) = 0;
  virtual void SetProjectionCenter(int depth, const TRect& bounds, const TRect& chartRect) = 0;
  /// Ends the paint: shows it on destination, then draws on defaultSurface again.
  virtual void EndDrawing(Surface& destination, Surface* defaultSurface, const TRect& userRect) = 0;
  /// True when an unchanged buffer was copied to the surface and nothing needs drawing.
  virtual bool RepaintFromBuffer() = 0;
  virtual void DrawArrow(bool filled, TPoint from, TPoint to, int headWidth, int headLength, int z) = 0;
  virtual void ClipToBox(const TRect& rect, int z0, int z1) = 0;
  virtual void DrawCone(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                        int unused) = 0;
  virtual void DrawBox(int left, int right, int top, int bottom, int z0, int z1, bool darkSides) = 0;
  virtual void DrawCylinder(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                            bool darkSides) = 0;
  virtual void HorizontalLine3D(int x1, int x2, int y, int z) = 0;
  virtual void VerticalLine3D(int x, int y1, int y2, int z) = 0;
  virtual void DepthLine3D(int x, int y, int z0, int z1) = 0;
  virtual void EllipseAtDepth(int x1, int y1, int x2, int y2, int z) = 0;
  /// Bracket drawing that ignores depth; one level only.
  virtual void BeginFlatDrawing() = 0;
  virtual void EndFlatDrawing() = 0;
  virtual void LineAtDepth(int x1, int y1, int x2, int y2, int z) = 0;
  virtual void MoveToPoint3D(int x, int y, int z) = 0;
  virtual void LineToPoint3D(int x, int y, int z) = 0;
  /// Angles in radians, counter-clockwise from the positive x axis.
  virtual void DrawPieSlice3D(int centerX, int centerY, int radiusX, int radiusY, int z0, int z1,
                              double startAngle, double endAngle, bool darkSides, bool drawSides) = 0;
  virtual void RibbonBetweenDepths(TPoint a, TPoint b, int z0, int z1) = 0;
  virtual void QuadAtDepth(const std::array<TPoint, 4>& points, int z) = 0;
  /// Points 1 and 2 at z0, points 3 and 4 at z1.
  virtual void QuadBetweenDepths(const std::array<TPoint, 4>& points, int z0, int z1) = 0;
  virtual void PolygonAtDepth(std::span<const TPoint> points, int z) = 0;
  virtual void DrawPyramid(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                           bool darkSides) = 0;
  virtual void RectangleAtDepth(const TRect& rect, int z) = 0;
  virtual void FloorRectangle(int left, int y, int right, int z0, int z1) = 0;
  virtual void SideRectangle(int x, int top, int bottom, int z0, int z1) = 0;
  virtual void WriteRotatedText3D(int x, int y, int z, std::string_view text, int angle) = 0;
  virtual void DrawSphere(int centerX, int centerY, int z, double radius) = 0;
  virtual void DrawSurface(int numX, int numZ, const TSurfaceCellEvent& cell) = 0;
  virtual void WriteText3D(int x, int y, int z, std::string_view text) = 0;
  /// The brush takes color0 unless it is clear; the other colours are not used.
  virtual void DrawTriangle3D(TPoint3D p0, TPoint3D p1, TPoint3D p2, TColor color0, TColor color1,
                              TColor color2) = 0;
  virtual void TriangleAtDepth(TPoint p0, TPoint p1, TPoint p2, int z) = 0;
};

// [SECTION] TZavCanvas3D

class TZavCanvas3D : public TCanvas3D {
 public:
  /// owner: the panel asked to repaint when the monochrome mode changes (may be null).
  explicit TZavCanvas3D(TCustomZavPanel* owner = nullptr);
  ~TZavCanvas3D() override;

  // settings: the state of the current paint, read by layout, mouse and tests
  bool View3D() const { return m_view3D; }
  bool Orthogonal() const { return m_orthogonal; }
  double ZoomFactor() const { return m_zoom; }
  double PerspectiveFactor() const { return m_perspective; }
  bool TextZoom() const { return m_textZoom; }
  int XCenter() const { return m_xCenter; }
  int YCenter() const { return m_yCenter; }
  int ZCenter() const { return m_zCenter; }
  int XCenterOffset() const { return m_xCenterOffset; }
  int YCenterOffset() const { return m_yCenterOffset; }
  const TProjectionCoefficients& Coefficients() const { return m_coefficients; }
  const TView3DOptions* ViewOptions() const { return m_options; }
  /// Detaches the view options until the next BeginDrawing (the window was re-created).
  void DetachViewOptions() { m_options = nullptr; }
  bool Dirty() const { return m_dirty; }
  /// The user rectangle of the last BeginDrawing.
  const TRect& Bounds() const { return m_bounds; }
  /// The off-screen bitmap, null until the first buffered paint.
  const OffscreenBitmap* Bitmap() const { return m_bitmap.get(); }
  /// Whether drawing goes into the off-screen bitmap now (inside a buffered paint).
  /// The buffer's surface while the buffer holds the last paint (RepaintFromBuffer would
  /// show it); null otherwise.
  Surface* CurrentBuffer() const { return m_dirty || m_bitmap == nullptr ? nullptr : &m_bitmap->DrawingSurface(); }
  bool DrawsOnBuffer() const { return m_bitmap != nullptr && AttachedSurface() == &m_bitmap->DrawingSurface(); }

  // operations: the 2D slots
  TColor TextBackColor() const override;
  BkMode TextBackMode() const override;
  Surface* SurfaceHandle() const override;
  bool MonochromeMode() const override { return m_monochrome; }
  int TextAlignFlags() const override;
  bool Buffered() const override { return m_buffered; }
  void SetTextBackColor(TColor color) override;
  void SetTextBackMode(BkMode mode) override;
  void SetMonochromeMode(bool monochrome) override;
  void PutPixel(int x, int y, TColor color) override;
  void SetTextAlignFlags(int flags) override;
  void SetBuffered(bool buffered) override;
  void DrawArc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
  void DrawGraphic(int x, int y, const Picture* picture) override;
  void DrawEllipse(int x1, int y1, int x2, int y2) override;
  void FillRectangle(const TRect& rect) override;
  void BevelFrame(const TRect& rect, TColor topColor, TColor bottomColor, int width) override;
  void LineTo2D(int x, int y) override;
  void MoveTo2D(int x, int y) override;
  void DrawPieSlice(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
  void DrawRectangle(int x1, int y1, int x2, int y2) override;
  void DrawRoundRectangle(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) override;
  void StretchGraphic(const TRect& rect, const Picture* picture) override;
  void WriteText(int x, int y, std::string_view text) override;
  int MeasureTextWidth(std::string_view text) override;
  int MeasureTextHeight(std::string_view text) override;
  void ClipToRectangle(const TRect& rect) override;
  void HorizontalLine2D(int x1, int x2, int y) override;
  void DrawRectangleRect(const TRect& rect) override;
  void VerticalLine2D(int x, int y1, int y2) override;
  void EraseArea(const TRect& rect) override;
  void FillGradient(const TRect& rect, TColor startColor, TColor endColor, TGradientDirection direction) override;
  void MarkDirty() override { m_dirty = true; }
  void Line2D(int x1, int y1, int x2, int y2) override;
  void DrawPolygon(std::span<const TPoint> points) override;
  void WriteRotatedText(int x, int y, std::string_view text, int angle) override;
  void RemoveClipping() override;
  /// One path of 2D lines through the points (each segment's end left out, as LineTo
  /// does); the pen position stays where it was.
  void Polyline2D(std::span<const TPoint> points);
  /// Whether LineSegments2D is faster than a Line2D a segment in pen (the surface's
  /// FastLineSegments with pen applied); the surface's pen is left as it was.
  bool FastLineSegments2D(const TChartPen& pen);
  /// The surface's LineSegments: segment i from points[i-1] to points[i] in colors[i]
  /// (clNone: none), as SetPenColor and Line2D in order would draw them.
  void LineSegments2D(std::span<const TPoint> points, std::span<const TColor> colors);
  /// Whether Rectangles2D is faster than a DrawRectangle each with the current pen and
  /// brush (the surface's FastRectangles).
  bool FastRectangles2D() const;
  /// The surface's Rectangles: DrawRectangle of each in order.
  void Rectangles2D(std::span<const TRect> rects);

  // operations: the 3D slots
  void PutPixel3D(int x, int y, int z, TColor color) override;
  bool RotatesFreely() const override { return false; }
  bool DrawsTrue3D() const override { return false; }
  void UnprojectPoint(int& x, int& y, int z) const override;
  TPoint ProjectPoint(int x, int y, int z) const override;
  TRect BeginDrawing(Surface& destination, const TView3DOptions* options, TColor panelColor, bool view3D,
                     const TRect& userRect) override;
  void CopySettings(const TCanvas3D& other) override;
  void SetProjectionCenter(int depth, const TRect& bounds, const TRect& chartRect) override;
  void EndDrawing(Surface& destination, Surface* defaultSurface, const TRect& userRect) override;
  bool RepaintFromBuffer() override;
  void DrawArrow(bool filled, TPoint from, TPoint to, int headWidth, int headLength, int z) override;
  void ClipToBox(const TRect& rect, int z0, int z1) override;
  void DrawCone(bool vertical, int left, int top, int right, int bottom, int z0, int z1, int unused) override;
  void DrawBox(int left, int right, int top, int bottom, int z0, int z1, bool darkSides) override;
  void DrawCylinder(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                    bool darkSides) override;
  void HorizontalLine3D(int x1, int x2, int y, int z) override;
  void VerticalLine3D(int x, int y1, int y2, int z) override;
  void DepthLine3D(int x, int y, int z0, int z1) override;
  void EllipseAtDepth(int x1, int y1, int x2, int y2, int z) override;
  void BeginFlatDrawing() override;
  void EndFlatDrawing() override;
  void LineAtDepth(int x1, int y1, int x2, int y2, int z) override;
  void MoveToPoint3D(int x, int y, int z) override;
  void LineToPoint3D(int x, int y, int z) override;
  void DrawPieSlice3D(int centerX, int centerY, int radiusX, int radiusY, int z0, int z1, double startAngle,
                      double endAngle, bool darkSides, bool drawSides) override;
  void RibbonBetweenDepths(TPoint a, TPoint b, int z0, int z1) override;
  void QuadAtDepth(const std::array<TPoint, 4>& points, int z) override;
  void QuadBetweenDepths(const std::array<TPoint, 4>& points, int z0, int z1) override;
  void PolygonAtDepth(std::span<const TPoint> points, int z) override;
  void DrawPyramid(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                   bool darkSides) override;
  void RectangleAtDepth(const TRect& rect, int z) override;
  void FloorRectangle(int left, int y, int right, int z0, int z1) override;
  void SideRectangle(int x, int top, int bottom, int z0, int z1) override;
  void WriteRotatedText3D(int x, int y, int z, std::string_view text, int angle) override;
  void DrawSphere(int centerX, int centerY, int z, double radius) override;
  void DrawSurface(int numX, int numZ, const TSurfaceCellEvent& cell) override;
  void WriteText3D(int x, int y, int z, std::string_view text) override;
  void DrawTriangle3D(TPoint3D p0, TPoint3D p1, TPoint3D p2, TColor color0, TColor color1,
                      TColor color2) override;
  void TriangleAtDepth(TPoint p0, TPoint p1, TPoint p2, int z) override;

 private:
  // helpers of the operations
  /// Rounded to the nearest pixel, halves to even; held at the int limits, never failing.
  static int RoundPixel(long double value);
  void ComputeCoefficients();
  void DiscardBitmap();
  /// The point size of the font scaled by the zoom (at least 1).
  int ZoomedFontSize(const SurfaceFont& font) const;
  /// The colour a solid is shaded from: the brush colour of a solid brush, else the
  /// background seen between hatch lines.
  TColor SolidBaseColor() const;
  /// Puts colour where the faces of a solid take theirs (brush or background).
  void SetSolidFaceColor(TColor color);
  /// The filled quadrilateral of the scratch points.
  void DrawScratchQuad();
  void DrawCylinderBody(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                        bool darkSides, int percent);

  // state
  TCustomZavPanel* m_owner;
  const TView3DOptions* m_options = nullptr;
  bool m_view3D = true;
  bool m_savedView3D = true;
  bool m_orthogonal = false;
  int m_xCenter = 0;
  int m_yCenter = 0;
  int m_zCenter = 0;
  int m_xCenterOffset = 0;
  int m_yCenterOffset = 0;
  double m_zoom = 1.0;
  double m_perspective = 0.0;
  TProjectionCoefficients m_coefficients;
  bool m_textZoom = true;
  std::unique_ptr<OffscreenBitmap> m_bitmap;
  bool m_buffered = true;
  bool m_monochrome = false;
  bool m_dirty = true;
  TRect m_bounds;
  std::array<TPoint, 4> m_quad{};
};

}  // namespace tarvela
