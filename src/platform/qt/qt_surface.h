#pragma once
// QtSurface is the Surface on a QPainter over any paint device (an image, a widget, an
// SVG generator). It keeps the raster conventions of Surface exactly on the raster paint
// engine: shapes are aliased, a one-pixel line leaves out its end point, Rectangle(0, 0,
// 10, 10) covers pixels 0..9 outline included, polygons fill even-odd, and pen modes
// are the sixteen raster operations, each pixel of a shape combined once.
//
// It is not a widget and owns no device. It changes the painter's pen, brush, font,
// composition mode and clipping as it draws and does not put them back.
//
// Fallbacks where the platform lacks something (see qt_surface.cpp for why):
// - pen modes on paint engines other than the raster one (SVG, PDF): pmNop draws
//   nothing, pmBlack and pmWhite draw in black and white, pmNotCopy in the inverted pen
//   and brush colours, every other mode as pmCopy; one-pixel lines stay plain lines;
// - pen styles other than solid and clear are drawn solid by pens wider than 1;
// - a zero-length line with a pen wider than 1 is a round dot of the pen's width;
// - GetPixel reads only image devices (clNone elsewhere);
// - the font's charset, orientation and output precision leave the face to Qt's font
//   matching; text is antialiased unless SetTextAntialiasing(false) (shapes never are).

#include <QFont>
#include <QImage>
#include <QPainter>
#include <memory>
#include <optional>

#include "platform/surface.h"

namespace tarvela {

class QtSurface : public Surface {
 public:
  // Paints through a painter of its own, begun on the device and ended on destruction.
  explicit QtSurface(QPaintDevice& device);
  // Paints through a painter that someone else has begun and will end; its world
  // transform must stay the identity (drawing is in device pixels).
  explicit QtSurface(QPainter& painter);
  ~QtSurface() override;

  // settings
  bool TextAntialiasing() const { return m_textAntialiasing; }
  void SetTextAntialiasing(bool on) { m_textAntialiasing = on; }
  // True on the raster paint engine (images, widgets): pen modes and one-pixel lines are
  // realised exactly.
  bool SupportsPenModes() const { return m_raster; }

  // operations
  QPainter& Painter() { return *m_painter; }

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

 private:
  enum class ColorChange { None, Black, White, Invert };
  void Init();
  static QColor Changed(QColor color, ColorChange change);
  bool HasPen() const;
  int PenWidth() const;
  QPen MakePen(ColorChange change) const;
  QBrush MakeBrush(ColorChange change) const;
  void SelectPenAndBrush(QPainter& painter, ColorChange change) const;
  void SelectBackground(QPainter& painter) const;
  // Draws a shape with the pen mode: directly in copy mode, else through a layer.
  template <class Draw>
  void DrawShape(const QRect& bounds, Draw&& draw);
  QRectF OutlineRect(const TRect& rect) const;
  // One-pixel lines through the points, each segment's end left out.
  void PaintPixelPath(QPainter& painter, std::span<const TPoint> points) const;
  const QFont& RealisedFont() const;
  void FillWithBrush(const TRect& rect);

  // state
  std::unique_ptr<QPainter> m_ownPainter;
  QPainter* m_painter;
  const QImage* m_image = nullptr;  // the device when it is an image: pixels can be read
  bool m_raster = false;
  bool m_textAntialiasing = true;
  mutable std::optional<std::pair<SurfaceFont, bool>> m_realisedFor;
  mutable QFont m_realisedFont;
};

// The off-screen bitmap of a QtSurface: a QImage (RGB32, or a black-and-white mono
// image) with a QtSurface painting on it for the bitmap's lifetime.
class QtOffscreenBitmap : public OffscreenBitmap {
 public:
  QtOffscreenBitmap(int width, int height, bool monochrome);
  ~QtOffscreenBitmap() override;

  // The pixels so far; painting goes on into the same image.
  const QImage& Image() const { return m_image; }

 protected:
  // overridable steps
  Surface& DoDrawingSurface() override { return *m_surface; }
  Picture DoSnapshot() const override;

 private:
  // state
  QImage m_image;
  std::unique_ptr<QtSurface> m_surface;  // declared after the image: its painter ends first
};

// Deep copies between the platform picture and Qt's image.
QImage ToQImage(const Picture& picture);
Picture ToPicture(const QImage& image);

}  // namespace tarvela
