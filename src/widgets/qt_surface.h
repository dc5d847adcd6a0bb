#pragma once
/// QtSurface is the Surface on a QPainter over any paint device (an image, a widget, an
/// SVG generator). It keeps the raster conventions of Surface exactly on the raster paint
/// engine: shapes are aliased, a one-pixel line leaves out its end point, Rectangle(0, 0,
/// 10, 10) covers pixels 0..9 outline included, polygons fill even-odd, and pen modes
/// are the sixteen raster operations, each pixel of a shape combined once.
///
/// On a writable 32-bit image (RGB32, ARGB32, ARGB32_Premultiplied) it writes the common
/// shapes straight into the pixels instead (one-pixel lines in copy mode, solid fills,
/// polygons, SetPixel): the same pixels QPainter sets, without its per-call cost. Anything
/// else (wider pens, hatches, patterns, other pen modes, curves, text, pictures) goes
/// through QPainter, under the same clip.
///
/// It is not a widget and owns no device. It changes the painter's pen, brush, font,
/// composition mode and clipping as it draws and does not put them back; between calls
/// it takes the painter's state to be its own (Painter() brings the clip up to date).
///
/// Fallbacks where the platform lacks something (see qt_surface.cpp for why):
/// - pen modes on paint engines other than the raster one (SVG, PDF): pmNop draws
///   nothing, pmBlack and pmWhite draw in black and white, pmNotCopy in the inverted pen
///   and brush colours, every other mode as pmCopy; one-pixel lines stay plain lines;
/// - pen styles other than solid and clear are drawn solid by pens wider than 1;
/// - a zero-length line with a pen wider than 1 is a round dot of the pen's width;
/// - GetPixel reads only image devices (clNone elsewhere);
/// - the font's charset, orientation and output precision leave the face to Qt's font
///   matching; text is antialiased unless SetTextAntialiasing(false); shapes are only
///   when Antialiased() is set, and then only on raster devices in copy mode.
/// @file
#include <QFont>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "tarvela/platform/surface.h"
#include "tarvela/widgets/cosmetic_outline.h"
#include "tarvela/widgets/pixel_lines.h"
#include "tarvela/widgets/raster_spans.h"
#include "tarvela/widgets/raster_target.h"

namespace tarvela {

class QtSurface : public Surface {
 public:
  /// Paints through a painter of its own, begun on the device and ended on destruction.
  explicit QtSurface(QPaintDevice& device);
  /// Paints through a painter that someone else has begun and will end; on a raster
  /// device its world transform must stay the identity (drawing is in device pixels),
  /// a vector device (a printer) may scale the chart's pixels onto its page.
  explicit QtSurface(QPainter& painter);
  ~QtSurface() override;

  // settings
  bool TextAntialiasing() const { return m_textAntialiasing; }
  void SetTextAntialiasing(bool on) { m_textAntialiasing = on; }
  /// True on the raster paint engine (images, widgets): pen modes and one-pixel lines are
  /// realised exactly.
  bool SupportsPenModes() const { return m_raster; }
  /// True on a raster device that has more pixels than coordinates (a window on a
  /// high-density screen, a picture asked for at twice the size): lines, outlines and
  /// text are drawn at the device's pixels, each one-pixel line covering the device
  /// pixels of the coordinate pixel it stands for.
  bool Scaled() const { return m_scaled; }
  /// Whether shapes may be written straight into the image's pixels (on by default). Off,
  /// everything goes through QPainter; the pixels are the same either way.
  bool DirectRaster() const { return m_directRaster; }
  void SetDirectRaster(bool on) { m_directRaster = on; }
  /// True when DirectRaster is on and the device allows it: a 32-bit image without a
  /// transform, at most kMaxDirectSide pixels a side.
  bool DrawsDirectly() const { return m_directRaster && m_directPossible; }
  /// Qt's stroker keeps 16.16 device coordinates in 32 bits; the outlines laid out here
  /// do the same, so larger images are drawn through QPainter.
  static constexpr int kMaxDirectSide = 1 << 14;

  // operations
  /// The painter, its clip brought up to date with the surface's.
  QPainter& Painter();
  /// The Qt font the current font is drawn with.
  const QFont& RealisedFont() const;

 protected:
  // overridable steps
  void DoLineTo(TPoint from, TPoint to) override;
  void DoPolyline(std::span<const TPoint> points) override;
  void DoPolygon(std::span<const TPoint> points) override;
  void DoRectangle(const TRect& rect) override;
  void DoRoundRect(const TRect& rect, int cornerWidth, int cornerHeight) override;
  void DoEllipse(const TRect& rect) override;
  void DoArc(const TRect& rect, TPoint start, TPoint end) override;
  void DoPie(const TRect& rect, TPoint start, TPoint end) override;
  void DoSetPixel(TPoint point, TColor rgb) override;
  TColor DoGetPixel(TPoint point) const override;
  void DoTextOut(TPoint point, std::string_view text) override;
  TextSize DoTextExtent(std::string_view text) const override;
  void DoFillRect(const TRect& rect) override;
  void DoPatternFill(const TRect& rect) override;
  void DoDrawPicture(TPoint point, const Picture& picture) override;
  void DoStretchPicture(const TRect& rect, const Picture& picture) override;
  void DoIntersectClipRect(const TRect& rect) override;
  void DoSelectClipRect(const TRect& rect) override;
  void DoSelectClipPolygon(std::span<const TPoint> points) override;
  void DoRemoveClipping() override;
  std::unique_ptr<OffscreenBitmap> DoCreateOffscreen(int width, int height, bool monochrome) override;
  void DoCopyBitmap(TPoint point, const OffscreenBitmap& bitmap) override;
  double DoPixelScale() const override { return m_scale; }
  bool DoFastLineSegments() const override;
  void DoLineSegments(std::span<const TPoint> points, std::span<const TColor> colors) override;
  bool DoFillBands(std::span<const BandArea> areas) override;
  bool DoFastRectangles() const override;
  void DoRectangles(std::span<const TRect> rects) override;

 private:
  enum class ColorChange { None, Black, White, Invert };
  void Init();
  static QColor Changed(QColor color, ColorChange change);
  bool HasPen() const;
  int PenWidth() const;
  QList<qreal> OnePixelDashes() const;
  QPen MakePen(ColorChange change) const;
  QBrush MakeBrush(ColorChange change) const;
  /// The pen and brush of the current state, rebuilt only when the state changes (the
  /// painter skips setting an equal pen or the same brush).
  const QPen& CurrentPen() const;
  const QBrush& CurrentBrush() const;
  void SelectPenAndBrush(QPainter& painter, ColorChange change) const;
  void SelectBackground(QPainter& painter) const;
  /// Gives the painter the surface's clip if it changed since the painter last drew.
  void SyncClip();
  void ClipChanged();
  /// Draws a shape with the pen mode: directly in copy mode, else through a layer.
  template <class Draw>
  void DrawShape(const QRect& bounds, Draw&& draw);
  /// Antialiased drawing asked for (Surface::Antialiased) on a raster device in copy
  /// mode: raster operations (the zoom band) and vector devices stay exact.
  bool Smooth() const { return Antialiased() && m_raster && Pen().mode == pmCopy; }
  /// The painter's antialiasing follows Smooth(); it is never touched while that is off.
  void SyncSmoothing(QPainter& painter);
  /// A one-pixel path drawn smooth: runs of slanted segments antialiased through the
  /// pixel centres, horizontal and vertical runs at their exact pixels.
  void SmoothPixelPath(std::span<const TPoint> points);
  QRectF OutlineRect(const TRect& rect) const;
  QPointF WideStrokeShift() const;
  /// One-pixel lines through the points, each segment's end left out.
  void PaintPixelPath(QPainter& painter, std::span<const TPoint> points);
  void PaintScaledPixelPath(QPainter& painter, std::span<const TPoint> points) const;

  /// The direct path: what it can draw in the current state, and the drawing.
  bool DirectPen() const;
  bool DirectBrush() const;
  void DirectPixelPath(std::span<const TPoint> points);
  /// Pixel (x, y) in color unless the clip keeps it out or a segment of this
  /// LineSegments call has it already (m_covered).
  void PlotUncovered(int x, int y, QRgb color);
  /// inside: the points' reach lies wholly inside the clip.
  void DirectPolygonFill(std::span<const TPoint> points, bool inside);
  void DirectPolygonOutline(std::span<const TPoint> points, bool inside);
  /// A pie in a solid one-pixel pen or none: the outline and a solid fill written
  /// directly, other fills QPainter's.
  void DirectPie(const TRect& rect, int start16, int span16);
  /// inside: the path's reach lies wholly inside the clip.
  void DirectPieFill(const QPainterPath& path, bool inside);
  /// The pixels of a small polygon drawn wholly inside the target, relative to its
  /// first vertex: what the fill and a solid outline light depends on its shape only
  /// (see DoPolygon), so each shape is laid out once, for every surface of the thread.
  struct PolygonStamp {
    struct Span {
      int row, left, right;  ///< right excluded
    };
    std::vector<Span> fill;
    std::vector<QPoint> outline;
  };
  /// The stamp of a polygon of 3 or 4 points within 127 pixels of its first one that
  /// lies wholly inside the target, laid out on first use; null for other polygons.
  const PolygonStamp* StampOf(std::span<const TPoint> points);
  /// A one-pixel solid frame in a raster mode other than copy, on an RGB32 image.
  void DirectRasterOpFrame(const TRect& rect, TPenMode mode);

  /// A text as the realised font lays it out: its width and, where drawing them gives the
  /// pixels of drawText, its glyphs with the baseline they were laid out on.
  struct LaidOutText {
    int width = 0;
    bool glyphsTried = false;
    bool glyphsKept = false;
    qreal baseline = 0;
    QList<QGlyphRun> glyphs;
  };
  struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
  };
  const LaidOutText& LayOut(std::string_view text, bool withGlyphs) const;
  /// A font as realised on devices of one resolution: the QFont, its metrics and the
  /// texts laid out in it.
  struct Face {
    Face(const QFont& realised, const QPaintDevice* device) : font(realised), metrics(realised, device) {}
    QFont font;
    QFontMetrics metrics;
    std::unordered_map<std::string, LaidOutText, TextHash, std::equal_to<>> laidOut;
  };
  static std::shared_ptr<Face> FaceFor(const SurfaceFont& font, bool antialiased, const QPaintDevice* device);
  void FillWithBrush(const TRect& rect);

  // state
  std::unique_ptr<QPainter> m_ownPainter;
  QPainter* m_painter;
  const QImage* m_image = nullptr;  ///< the device when it is an image: pixels can be read
  QRect m_window;                   ///< the device's pixels
  bool m_raster = false;
  double m_scale = 1.0;  ///< device pixels per coordinate
  bool m_scaled = false;
  bool m_textAntialiasing = true;
  bool m_directRaster = true;
  bool m_directPossible = false;
  bool m_painterSmooth = false;  ///< the painter's Antialiasing hint as last set here

  // the clip, and how far the painter has followed it
  PixelClip m_clip;
  unsigned m_clipChanges = 0;
  unsigned m_painterClipChanges = 0;
  std::vector<TPoint> m_clipPolygon;  ///< the last clip polygon and its spans, reused
  std::shared_ptr<const RowSpans> m_clipPolygonSpans;

  // the direct path and its scratch space
  RasterTarget m_target;
  PixelLines m_lines{{}, QRect(), false};
  PolygonScanner m_scanner;
  std::unique_ptr<CosmeticOutline> m_outline;
  QList<qreal> m_outlineDashes;
  std::vector<CosmeticOutline::PathPoint> m_piePath;
  std::vector<QPointF> m_pieCurve;  ///< a pie's path with its curves flattened
  std::vector<TPoint> m_pieFill;    ///< the same in 26.6
  std::vector<std::uint64_t> m_covered;  ///< LineSegments: a bit per device pixel

  // pens, brushes and fonts as the painter got them
  mutable std::optional<SurfacePen> m_penFor;
  mutable QPen m_pen;
  mutable std::optional<SurfaceBrush> m_brushFor;
  mutable QBrush m_brush;
  mutable QBrush m_background;
  mutable std::optional<std::pair<SurfaceFont, bool>> m_realisedFor;
  mutable std::shared_ptr<Face> m_face;  ///< the realised font, its metrics and its kept layouts
  mutable bool m_painterHasFont = false;
  QPen m_textPen;
};

/// The off-screen bitmap of a QtSurface: a QImage (RGB32, or a black-and-white mono
/// image) with a QtSurface painting on it for the bitmap's lifetime.
class QtOffscreenBitmap : public OffscreenBitmap {
 public:
  /// At a pixel scale above 1 the image has that many more pixels each way and draws
  /// at them (its device pixel ratio).
  QtOffscreenBitmap(int width, int height, bool monochrome, double pixelScale = 1.0);
  ~QtOffscreenBitmap() override;

  /// The pixels so far; painting goes on into the same image.
  const QImage& Image() const { return m_image; }

 protected:
  // overridable steps
  Surface& DoDrawingSurface() override { return *m_surface; }
  Picture DoSnapshot() const override;

 private:
  // state
  QImage m_image;
  std::unique_ptr<QtSurface> m_surface;  ///< declared after the image: its painter ends first
};

/// Deep copies between the platform picture and Qt's image.
QImage ToQImage(const Picture& picture);
Picture ToPicture(const QImage& image);

}  // namespace tarvela
