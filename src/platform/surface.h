#pragma once
/// Surface is the abstract 2D drawing surface everything of the chart is drawn on, with
/// exact raster conventions: integer device pixels, y down, no antialiasing of shapes, a
/// line excludes its end point, a rectangle its right and bottom edges, polygons fill with
/// the alternate (even-odd) rule.
///
/// It is not a canvas: it knows nothing of depth, projection or chart objects (the 3D
/// canvas above it does), and it holds no platform object of its own. Each public
/// operation is non-virtual: it normalises its arguments (colours resolved to RGB,
/// rectangles put in order, negative extents turned into the rectangle they cover) and
/// calls exactly one protected pure virtual hook, so every implementation provides every
/// primitive and sees only normalised input. The current pen, brush, font, background
/// and text alignment are kept here; hooks read them through the getters.
///
/// Implementations: RecordingSurface (a readable command log, for tests) and QtSurface
/// (widgets/, QPainter on any paint device).
/// @file
#include <memory>
#include <span>
#include <string_view>

#include "tarvela/platform/picture.h"
#include "tarvela/platform/surface_types.h"
#include "tarvela/runtime/colors.h"
#include "tarvela/runtime/control.h"

namespace tarvela {

class Surface;

/// An off-screen bitmap made by a surface (CreateOffscreen): it has its own surface to
/// draw on, and any surface can copy it (CopyBitmap). A new bitmap is white. It may
/// outlive the surface that made it.
class OffscreenBitmap {
 public:
  virtual ~OffscreenBitmap() = default;
  OffscreenBitmap(const OffscreenBitmap&) = delete;
  OffscreenBitmap& operator=(const OffscreenBitmap&) = delete;

  // settings
  int Width() const { return m_width; }
  int Height() const { return m_height; }
  /// A monochrome bitmap keeps black and white only; a colour nearer white becomes white.
  bool Monochrome() const { return m_monochrome; }
  /// Device pixels per unit of its coordinates: above 1 for a bitmap kept for a sharp
  /// screen or picture.
  double PixelScale() const { return m_pixelScale; }

  // operations
  Surface& DrawingSurface() { return DoDrawingSurface(); }
  /// The pixels as they are now (white where an implementation keeps none).
  Picture Snapshot() const { return DoSnapshot(); }

 protected:
  OffscreenBitmap(int width, int height, bool monochrome, double pixelScale = 1.0)
      : m_width(width), m_height(height), m_monochrome(monochrome), m_pixelScale(pixelScale) {}

  // overridable steps
  virtual Surface& DoDrawingSurface() = 0;
  virtual Picture DoSnapshot() const = 0;

 private:
  // state
  int m_width;
  int m_height;
  bool m_monochrome;
  double m_pixelScale;
};

class Surface {
 public:
  virtual ~Surface();
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  // settings
  /// Defaults: black solid pen of width 1 in copy mode; white solid brush; black 10-point
  /// Arial at 96 pixels per inch; white opaque background; alignment left/top; pen at 0,0.
  const SurfacePen& Pen() const { return m_pen; }
  /// Colour resolved to RGB; a width below 1 becomes 1; an alternate pen has width 1 and
  /// style psSolid.
  void SetPen(const SurfacePen& pen);
  void SetPenColor(TColor color);
  /// Ignored while the pen is the alternate pen.
  void SetPenWidth(int width);
  /// Leaves the alternate pen.
  void SetPenStyle(TPenStyle style);
  void SetPenMode(TPenMode mode);
  /// The cosmetic pen that sets every other pixel, in the given colour (mode kept).
  void SetAlternatePen(TColor color);

  const SurfaceBrush& Brush() const { return m_brush; }
  /// Colour resolved to RGB; an empty pattern picture counts as none.
  void SetBrush(const SurfaceBrush& brush);
  void SetBrushColor(TColor color);
  void SetBrushStyle(TBrushStyle style);
  void SetBrushPattern(const Picture& pattern);
  void ClearBrushPattern();

  const SurfaceFont& Font() const { return m_font; }
  /// Colour resolved to RGB; pixels per inch below 1 become 96; height 0 becomes the
  /// height of 10 points. Escapement and orientation are kept as given (not reduced).
  void SetFont(const SurfaceFont& font);

  TColor BackgroundColor() const { return m_backgroundColor; }
  void SetBackgroundColor(TColor color);
  BkMode BackgroundMode() const { return m_backgroundMode; }
  void SetBackgroundMode(BkMode mode) { m_backgroundMode = mode; }

  /// kTextAlign* flags, kept as given.
  int TextAlign() const { return m_textAlign; }
  void SetTextAlign(int flags) { m_textAlign = flags; }

  TPoint PenPos() const { return m_penPos; }
  void MoveTo(int x, int y) { m_penPos = {x, y}; }

  /// Smooth edges on request (off by default): a raster implementation then draws
  /// slanted one-pixel lines, polygons, ellipses and pies antialiased, while horizontal
  /// and vertical one-pixel lines, rectangles and every pen mode but copy stay exact.
  /// Vector implementations and the recording surface may ignore it.
  bool Antialiased() const { return m_antialiased; }
  void SetAntialiased(bool on) { m_antialiased = on; }

  /// Device pixels per unit of the coordinates (1 unless the device draws finer, as a
  /// high-density screen or a picture asked for at twice the size does). A bitmap made
  /// for another scale is not copied 1:1.
  double PixelScale() const { return DoPixelScale(); }

  // operations
  // Calls whose normalised geometry can cover no pixel (a rectangle of zero width or
  // height, fewer than two points, an empty picture or text) reach no hook. Clipping
  // calls always do: an empty clip rectangle hides everything.

  /// From the pen position to (x, y), end point excluded; the pen position moves there.
  /// A zero-length line draws nothing with a one-pixel pen and a dot with a wider one.
  void LineTo(int x, int y);
  /// MoveTo(x1, y1) then LineTo(x2, y2).
  void Line(int x1, int y1, int x2, int y2);
  /// Segments joined in order, the last point excluded.
  void Polyline(std::span<const TPoint> points);
  /// Whether LineSegments draws faster than a LineTo a segment with the current pen;
  /// callers may ask before building the segments. False unless an implementation says
  /// otherwise (QtSurface: a solid one-pixel pen in copy mode on a raster image).
  bool FastLineSegments() const { return DoFastLineSegments(); }
  /// Segment i from points[i-1] to points[i], for i from 1 on, in colors[i] (clNone or
  /// a missing colour: no segment), drawn in order as SetPenColor(colors[i]) then Line
  /// would draw it, so a later segment covers an earlier one; colors[0] is not used. The
  /// pen colour and position end as after the last segment drawn.
  void LineSegments(std::span<const TPoint> points, std::span<const TColor> colors);
  /// Closed, filled with the brush by the alternate rule and outlined with the pen
  /// through every vertex.
  void Polygon(std::span<const TPoint> points);
  /// Filled with the brush and outlined with the pen inside left..right-1, top..bottom-1
  /// (a wider pen is centred on that outline, or kept inside it with psInsideFrame).
  void Rectangle(int left, int top, int right, int bottom);
  void Rectangle(const TRect& rect) { Rectangle(rect.left, rect.top, rect.right, rect.bottom); }
  /// Whether Rectangles draws faster than a Rectangle each with the current pen and
  /// brush; callers may ask before gathering the rectangles. False unless an
  /// implementation says otherwise (QtSurface: a solid one-pixel pen or none, a solid or
  /// clear brush, copy mode, on a raster image).
  bool FastRectangles() const { return DoFastRectangles(); }
  /// Rectangle of each in order, with the current pen and brush: a later one covers an
  /// earlier one.
  void Rectangles(std::span<const TRect> rects);
  /// Corners are quarter ellipses of cornerWidth × cornerHeight (signs dropped).
  void RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);
  /// Inscribed in the rectangle as Rectangle would cover it.
  void Ellipse(int left, int top, int right, int bottom);
  /// Part of the ellipse in the box, counter-clockwise from the ray through (x3, y3) to the
  /// ray through (x4, y4) from the box centre; equal rays give the whole ellipse.
  void Arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4);
  /// As Arc, closed by the two radii and filled with the brush.
  void Pie(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4);
  /// One pixel in the colour (resolved to RGB), whatever the pen mode; clipping applies.
  void SetPixel(int x, int y, TColor color);
  /// The pixel's colour, or clNone where the surface cannot read its pixels.
  TColor GetPixel(int x, int y) const;
  /// UTF-8 text in the font colour at (x, y) by the alignment flags. With an opaque
  /// background the character cell is filled with the background colour first.
  void TextOut(int x, int y, std::string_view text);
  /// Width of the text and height of the character cell in the current font, escapement
  /// ignored; 0, 0 when the surface cannot measure.
  TextSize TextExtent(std::string_view text) const;
  int TextWidth(std::string_view text) const { return TextExtent(text).width; }
  int TextHeight(std::string_view text) const { return TextExtent(text).height; }
  /// The rectangle (right and bottom excluded) with the brush, no outline, pen mode unused.
  void FillRect(const TRect& rect);
  /// A width × height area from the corner (x, y) with the brush, no outline. A negative
  /// extent reaches toward smaller coordinates, the corner's own column or row excluded:
  /// (10, 20, -4, -3) covers columns 6..9 and rows 17..19.
  void PatternFill(int x, int y, int width, int height);
  /// A band of a gradient: PatternFill's area, in one colour.
  struct Band {
    int x, y, width, height;
    TColor color;
  };
  /// Each band as a solid brush of its colour and PatternFill would fill it, in order; the
  /// brush ends as after the last band. The bands must not overlap: then no order of
  /// filling them changes a pixel, and a surface may fill them in the order its memory
  /// holds them.
  void FillBands(std::span<const Band> bands);
  /// The picture at its own size, top-left corner at (x, y); alpha blends.
  void DrawPicture(int x, int y, const Picture& picture);
  /// The picture scaled (nearest pixel) into the rectangle.
  void StretchPicture(const TRect& rect, const Picture& picture);

  /// Clipping is in device pixels and covers what a fill of the same rectangle or
  /// polygon would cover.
  void IntersectClipRect(const TRect& rect);
  /// Replace any clipping.
  void SelectClipRect(const TRect& rect);
  void SelectClipPolygon(std::span<const TPoint> points);
  void RemoveClipping();

  /// A white off-screen bitmap that this kind of surface can draw on and copy fast.
  /// Sizes below 1 become 1.
  std::unique_ptr<OffscreenBitmap> CreateOffscreen(int width, int height, bool monochrome);
  /// A plain copy of the whole bitmap with its top-left corner at (x, y); clipping
  /// applies, pen mode and brush do not.
  void CopyBitmap(int x, int y, const OffscreenBitmap& bitmap);

 protected:
  Surface();

  // overridable steps
  /// Every hook receives normalised arguments: rectangles with left <= right and
  /// top <= bottom, colours in RGB. Shapes use the current pen (mode included) and brush;
  /// FillRect and PatternFill the brush only; TextOut the font, alignment and background.
  virtual void DoLineTo(TPoint from, TPoint to) = 0;
  virtual void DoPolyline(std::span<const TPoint> points) = 0;
  virtual void DoPolygon(std::span<const TPoint> points) = 0;
  virtual void DoRectangle(const TRect& rect) = 0;
  virtual void DoRoundRect(const TRect& rect, int cornerWidth, int cornerHeight) = 0;
  virtual void DoEllipse(const TRect& rect) = 0;
  virtual void DoArc(const TRect& rect, TPoint start, TPoint end) = 0;
  virtual void DoPie(const TRect& rect, TPoint start, TPoint end) = 0;
  virtual void DoSetPixel(TPoint point, TColor rgb) = 0;
  virtual TColor DoGetPixel(TPoint point) const = 0;
  virtual void DoTextOut(TPoint point, std::string_view text) = 0;
  virtual TextSize DoTextExtent(std::string_view text) const = 0;
  virtual void DoFillRect(const TRect& rect) = 0;
  virtual void DoPatternFill(const TRect& rect) = 0;
  virtual void DoDrawPicture(TPoint point, const Picture& picture) = 0;
  virtual void DoStretchPicture(const TRect& rect, const Picture& picture) = 0;
  virtual void DoIntersectClipRect(const TRect& rect) = 0;
  virtual void DoSelectClipRect(const TRect& rect) = 0;
  virtual void DoSelectClipPolygon(std::span<const TPoint> points) = 0;
  virtual void DoRemoveClipping() = 0;
  virtual std::unique_ptr<OffscreenBitmap> DoCreateOffscreen(int width, int height, bool monochrome) = 0;
  virtual void DoCopyBitmap(TPoint point, const OffscreenBitmap& bitmap) = 0;
  virtual double DoPixelScale() const { return 1.0; }
  /// Not required: by default false, and LineSegments is one SetPenColor and Line a
  /// segment. Override both for speed; the pixels must stay those of the default.
  virtual bool DoFastLineSegments() const { return false; }
  /// At least two points, the last segment drawn; colours as given (resolve them with
  /// ColorToRGB). The public operation sets the pen colour and position after.
  virtual void DoLineSegments(std::span<const TPoint> points, std::span<const TColor> colors);
  /// Not required: the bands' areas as PatternFill normalises them (none of them empty)
  /// and their colours in RGB; true when the surface filled them all, with the pixels of
  /// SetBrush and PatternFill a band. By default false: the public operation does that.
  struct BandArea {
    TRect rect;
    TColor rgb;
  };
  virtual bool DoFillBands(std::span<const BandArea> areas);
  /// Not required: by default false, and Rectangles is a DoRectangle each. Override both
  /// for speed; the pixels must stay those of the default. The rectangles come
  /// normalised, none of them empty.
  virtual bool DoFastRectangles() const { return false; }
  virtual void DoRectangles(std::span<const TRect> rects);

 private:
  // state
  SurfacePen m_pen;
  SurfaceBrush m_brush;
  SurfaceFont m_font;
  TColor m_backgroundColor = clWhite;
  BkMode m_backgroundMode = BkMode::Opaque;
  int m_textAlign = kTextAlignLeft | kTextAlignTop;
  TPoint m_penPos;
  bool m_antialiased = false;
};

/// The rectangle with its sides in order (left <= right, top <= bottom).
TRect NormalizedRect(const TRect& rect);

/// The horizontal and vertical parts of text alignment flags.
enum class HorizontalAlign { Left, Right, Center };
enum class VerticalAlign { Top, Bottom, Baseline };
HorizontalAlign HorizontalAlignOf(int flags);
VerticalAlign VerticalAlignOf(int flags);

}  // namespace tarvela
