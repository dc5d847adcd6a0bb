// QtSurface realises the raster conventions of Surface on QPainter, and writes the
// common shapes straight into the pixels of 32-bit images.
//
// Contents: [SECTION] conversions, construction, pens and brushes, shapes, direct
// drawing, text, fills and pictures, clipping, bitmaps.
//
// Geometry. With antialiasing off, QPainter's fills cover the pixels whose centres lie
// inside the shape, which is the raster contract for fills, polygons and clip regions.
// Its cosmetic (width 0) lines set pixel (x, y) for the point (x, y) but leave out
// whichever end comes last in their own drawing order, not always the end point, so on
// the raster engine one-pixel lines (LineTo, Polyline, a rectangle's outline) are laid
// out here, pixel by pixel (PixelLines), and painted as runs; the dash patterns of
// styled and alternate pens run along those pixels. A rectangle's outline is the path
// left..right-1, top..bottom-1 with each edge's end left out. Outlines of curved shapes
// and polygons use the cosmetic pen directly: they are closed, so no end is left out.
// Wider pens are centred on pixel centres (x + 0.5) with round caps and joins, and
// psInsideFrame keeps them inside the rectangle.
//
// Direct drawing. Most of a chart is one-pixel lines, small filled polygons with
// one-pixel outlines, solid rectangles and a clip polygon per series; through QPainter
// each costs a state change, a rasteriser set-up and, under a polygon clip, span
// clipping against a complex region. On a 32-bit image in copy mode these are written
// into the pixels here instead, with exactly the pixels QPainter would set: one-pixel
// lines from the same PixelLines layout, solid rectangles, polygon fills by the rule of
// Qt's scan converter (raster_spans.cpp) and polygon outlines by the rule of its
// cosmetic stroker (cosmetic_outline.cpp). Both rules were found by comparing with
// QPainter, and the tests keep comparing: every call can be drawn both ways
// (SetDirectRaster) and the images must be equal.
//
// Clipping is kept here as pixels (PixelClip: none, a rectangle, the spans of a polygon
// cut by a rectangle), a clip polygon covering what a fill of it covers. The direct path
// clips with it; the painter is given the same clip only when something is drawn
// through it, so a clip polygon costs a region only when QPainter draws under it.
//
// Pen modes. QPainter's raster-operation composition modes combine the source and the
// destination per pixel, but QPainter fills a shape and then strokes it, so the pixels
// under both would be combined twice (wrong for xor-like modes). A shape in a mode other
// than copy is therefore painted in copy mode into a transparent layer, and the layer is
// combined with the device once, clipped to the pixels the layer covers.
// Raster operations exist only on the raster engine; elsewhere the modes fall back as
// the header says, because a vector device cannot read back what it drew.

#include "tarvela/widgets/qt_surface.h"

#include <QBitmap>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygon>
#include <QRegion>
#include <QString>
#include <QTextLayout>
#include <QThread>
#include <algorithm>
#include <array>
#include <cmath>
#include <new>
#include <numbers>
#include <utility>
#include <vector>

namespace tarvela {

// ---------------------------------------------------------------- [SECTION] conversions

namespace {

QColor ToRgbColor(TColor rgb) {
  const auto value = static_cast<std::uint32_t>(rgb);
  return QColor(RedOf(value), GreenOf(value), BlueOf(value));
}

// Coordinates this far out lie beyond any device, so cutting them there changes no pixel
// and keeps Qt's integer rectangle arithmetic from overflowing.
constexpr int kFar = 1 << 28;

int Near(int v) { return std::clamp(v, -kFar, kFar); }

QRect ToQRect(const TRect& rect) {
  return QRect(QPoint(Near(rect.left), Near(rect.top)), QPoint(Near(rect.right) - 1, Near(rect.bottom) - 1));
}

QRectF ToQRectF(const TRect& rect) {
  return QRectF(rect.left, rect.top, double(rect.right) - rect.left, double(rect.bottom) - rect.top);
}

QPointF PixelCentre(TPoint p) { return QPointF(p.x + 0.5, p.y + 0.5); }

// An opaque colour as the 32-bit pixel of RGB32 and both ARGB32 formats.
QRgb OpaquePixel(TColor rgb) {
  const auto value = static_cast<std::uint32_t>(rgb);
  return qRgb(RedOf(value), GreenOf(value), BlueOf(value));
}

QPolygon ToQPolygon(std::span<const TPoint> points) {
  QPolygon polygon(static_cast<int>(points.size()));
  for (std::size_t i = 0; i < points.size(); ++i) polygon.setPoint(static_cast<int>(i), points[i].x, points[i].y);
  return polygon;
}

QPolygonF ToCentredPolygon(std::span<const TPoint> points) {
  QPolygonF polygon;
  polygon.reserve(static_cast<qsizetype>(points.size()));
  for (const TPoint& p : points) polygon << PixelCentre(p);
  return polygon;
}

QRect BoundsOf(std::span<const TPoint> points) {
  int left = points.front().x, right = left, top = points.front().y, bottom = top;
  if (points.size() <= 4) {
    // The quadrilaterals of 3D drawing: a plain loop beats the vectorised one's set-up.
#pragma GCC unroll 4
    for (std::size_t i = 1; i < points.size(); ++i) {
      left = std::min(left, points[i].x);
      right = std::max(right, points[i].x);
      top = std::min(top, points[i].y);
      bottom = std::max(bottom, points[i].y);
    }
    return QRect(QPoint(Near(left), Near(top)), QPoint(Near(right), Near(bottom)));
  }
  for (const TPoint& p : points) {
    left = std::min(left, p.x);
    right = std::max(right, p.x);
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  return QRect(QPoint(Near(left), Near(top)), QPoint(Near(right), Near(bottom)));
}

// The pixels a shape through the points can touch: the points' box and one more round it
// (a stroke may add a pixel at a segment's end).
QRect ReachOf(std::span<const TPoint> points) { return BoundsOf(points).adjusted(-1, -1, 1, 1); }

QPainter::CompositionMode RasterOpOf(TPenMode mode) {
  switch (mode) {
    case pmBlack: return QPainter::RasterOp_ClearDestination;
    case pmWhite: return QPainter::RasterOp_SetDestination;
    case pmNot: return QPainter::RasterOp_NotDestination;
    case pmNotCopy: return QPainter::RasterOp_NotSource;
    case pmMergePenNot: return QPainter::RasterOp_SourceOrNotDestination;
    case pmMaskPenNot: return QPainter::RasterOp_SourceAndNotDestination;
    case pmMergeNotPen: return QPainter::RasterOp_NotSourceOrDestination;
    case pmMaskNotPen: return QPainter::RasterOp_NotSourceAndDestination;
    case pmMerge: return QPainter::RasterOp_SourceOrDestination;
    case pmNotMerge: return QPainter::RasterOp_NotSourceAndNotDestination;
    case pmMask: return QPainter::RasterOp_SourceAndDestination;
    case pmNotMask: return QPainter::RasterOp_NotSourceOrNotDestination;
    case pmXor: return QPainter::RasterOp_SourceXorDestination;
    case pmNotXor: return QPainter::RasterOp_NotSourceXorDestination;
    case pmNop:
    case pmCopy: break;
  }
  return QPainter::CompositionMode_SourceOver;
}

// The outline of a rectangle as one-pixel lines: clockwise round the edges, each end
// left out, every outline pixel once; a rectangle one pixel across is one line.
std::vector<TPoint> RectangleOutline(const TRect& rect) {
  const int right = rect.right - 1, bottom = rect.bottom - 1;
  const bool oneColumn = rect.right == rect.left + 1, oneRow = rect.bottom == rect.top + 1;
  if (oneColumn || oneRow) {
    const TPoint end = oneColumn ? TPoint{rect.left, rect.bottom} : TPoint{rect.right, rect.top};
    return {TPoint{rect.left, rect.top}, end};
  }
  return {TPoint{rect.left, rect.top}, TPoint{right, rect.top}, TPoint{right, bottom}, TPoint{rect.left, bottom},
          TPoint{rect.left, rect.top}};
}

}  // namespace

QImage ToQImage(const Picture& picture) {
  QImage image(picture.Width(), picture.Height(), QImage::Format_ARGB32);
  for (int y = 0; y < picture.Height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < picture.Width(); ++x) line[x] = picture.Pixel(x, y);
  }
  return image;
}

Picture ToPicture(const QImage& image) {
  const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
  Picture picture(argb.width(), argb.height());
  for (int y = 0; y < argb.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
    for (int x = 0; x < argb.width(); ++x) picture.SetPixel(x, y, line[x]);
  }
  return picture;
}

// ---------------------------------------------------------------- [SECTION] construction

QtSurface::QtSurface(QPaintDevice& device)
    : m_ownPainter(std::make_unique<QPainter>(&device)), m_painter(m_ownPainter.get()) {
  Init();
}

QtSurface::QtSurface(QPainter& painter) : m_painter(&painter) { Init(); }

QtSurface::~QtSurface() {
  // A painter someone else ends keeps the clip the surface set last, as if set at once.
  if (!m_ownPainter) SyncClip();
}

void QtSurface::Init() {
  QPaintDevice* device = m_painter->device();
  if (device != nullptr && device->devType() == QInternal::Image) m_image = static_cast<const QImage*>(device);
  // An image or pixmap counts its pixels, a widget its coordinates.
  if (m_image != nullptr) {
    m_window = QRect(QPoint(0, 0), m_image->deviceIndependentSize().toSize());
  } else if (device != nullptr && device->devType() == QInternal::Pixmap) {
    m_window = QRect(QPoint(0, 0), static_cast<const QPixmap*>(device)->deviceIndependentSize().toSize());
  } else if (device != nullptr) {
    m_window = QRect(0, 0, device->width(), device->height());
  }
  const QPaintEngine* engine = m_painter->paintEngine();
  // Other engines may claim raster operations (the SVG one does) but cannot read back.
  m_raster = engine != nullptr && engine->type() == QPaintEngine::Raster;
  // The device transform holds the density of the pixels actually written, also when a
  // widget is drawn into a denser picture than its screen (QWidget::render).
  const QTransform toDevice = m_painter->deviceTransform();
  if (m_raster && toDevice.type() <= QTransform::TxScale && toDevice.m11() == toDevice.m22() && toDevice.m11() > 0) {
    m_scale = toDevice.m11();
    m_scaled = m_scale != 1.0;
  }
  m_painter->setRenderHint(QPainter::Antialiasing, false);
  m_painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
  m_painter->setBrushOrigin(0, 0);
  if (m_painter->hasClipping()) {
    // A painter begun elsewhere may come clipped: that clip is the surface's until replaced.
    m_clip.SelectSpans(std::make_shared<const RowSpans>(RowSpans::OfRegion(m_painter->clipRegion())));
  }
  // The painter began on the image, so its pixels are not shared any more: the painter
  // and the direct path write the same memory from here on.
  m_directPossible = m_image != nullptr && m_raster && RasterTarget::Supports(m_image->format()) &&
                     m_image->devicePixelRatio() == 1.0 && m_painter->worldTransform().isIdentity() &&
                     m_painter->opacity() == 1.0 && m_image->width() <= kMaxDirectSide &&
                     m_image->height() <= kMaxDirectSide;
  if (m_directPossible) {
    m_target = RasterTarget(const_cast<uchar*>(m_image->constBits()), m_image->bytesPerLine(), m_image->size());
    m_target.SetClip(m_clip);
  }
}

QPainter& QtSurface::Painter() {
  SyncClip();
  return *m_painter;
}

// ---------------------------------------------------------------- [SECTION] pens and brushes

bool QtSurface::HasPen() const { return Pen().alternate || Pen().style != psClear; }

int QtSurface::PenWidth() const { return Pen().alternate ? 1 : Pen().width; }

QList<qreal> QtSurface::OnePixelDashes() const {
  return Pen().alternate ? QList<qreal>{1, 1} : DashPatternOf(Pen().style);
}

QColor QtSurface::Changed(QColor color, ColorChange change) {
  switch (change) {
    case ColorChange::Black: return Qt::black;
    case ColorChange::White: return Qt::white;
    case ColorChange::Invert: return QColor(255 - color.red(), 255 - color.green(), 255 - color.blue());
    case ColorChange::None: break;
  }
  return color;
}

QPen QtSurface::MakePen(ColorChange change) const {
  const SurfacePen& pen = Pen();
  if (!HasPen()) return QPen(Qt::NoPen);
  const QColor color = Changed(ToRgbColor(pen.color), change);
  if (PenWidth() == 1) {
    // Width 0 is Qt's cosmetic one-pixel pen (for the outlines Qt strokes itself); on a
    // scaled device one pixel of the coordinates is several of the device.
    QPen qpen(color, m_scaled ? 1.0 : 0.0);
    qpen.setCapStyle(Qt::FlatCap);
    qpen.setJoinStyle(Qt::MiterJoin);
    if (const QList<qreal> dashes = OnePixelDashes(); !dashes.isEmpty()) qpen.setDashPattern(dashes);
    return qpen;
  }
  // Dash patterns belong to one-pixel pens: a wider pen draws every style but clear solid.
  QPen qpen(color, pen.width);
  qpen.setCapStyle(Qt::RoundCap);
  qpen.setJoinStyle(pen.style == psInsideFrame ? Qt::MiterJoin : Qt::RoundJoin);
  return qpen;
}

QBrush QtSurface::MakeBrush(ColorChange change) const {
  const SurfaceBrush& brush = Brush();
  if (brush.pattern) return QBrush(ToQImage(*brush.pattern));
  const QColor color = Changed(ToRgbColor(brush.color), change);
  switch (brush.style) {
    case bsSolid: return QBrush(color);
    case bsClear: return QBrush(Qt::NoBrush);
    case bsHorizontal: return QBrush(color, Qt::HorPattern);
    case bsVertical: return QBrush(color, Qt::VerPattern);
    case bsFDiagonal: return QBrush(color, Qt::FDiagPattern);
    case bsBDiagonal: return QBrush(color, Qt::BDiagPattern);
    case bsCross: return QBrush(color, Qt::CrossPattern);
    case bsDiagCross: return QBrush(color, Qt::DiagCrossPattern);
  }
  return QBrush(Qt::NoBrush);
}

const QPen& QtSurface::CurrentPen() const {
  if (!m_penFor || *m_penFor != Pen()) {
    m_pen = MakePen(ColorChange::None);
    m_penFor = Pen();
  }
  return m_pen;
}

const QBrush& QtSurface::CurrentBrush() const {
  if (!m_brushFor || *m_brushFor != Brush()) {
    m_brush = MakeBrush(ColorChange::None);
    m_brushFor = Brush();
  }
  return m_brush;
}

void QtSurface::SelectBackground(QPainter& painter) const {
  painter.setBackgroundMode(BackgroundMode() == BkMode::Opaque ? Qt::OpaqueMode : Qt::TransparentMode);
  const QColor color = ToRgbColor(BackgroundColor());
  if (m_background.style() != Qt::SolidPattern || m_background.color() != color) m_background = QBrush(color);
  painter.setBackground(m_background);
}

void QtSurface::SelectPenAndBrush(QPainter& painter, ColorChange change) const {
  if (change == ColorChange::None) {
    painter.setPen(CurrentPen());
    painter.setBrush(CurrentBrush());
  } else {
    painter.setPen(MakePen(change));
    painter.setBrush(MakeBrush(change));
  }
  SelectBackground(painter);
}

// ---------------------------------------------------------------- [SECTION] shapes

template <class Draw>
void QtSurface::DrawShape(const QRect& bounds, Draw&& draw) {
  const TPenMode mode = Pen().mode;
  if (mode == pmNop) return;
  SyncClip();
  QPainter& painter = *m_painter;
  if (mode == pmCopy || !m_raster) {
    SyncSmoothing(painter);
    ColorChange change = ColorChange::None;
    if (mode == pmBlack) change = ColorChange::Black;
    if (mode == pmWhite) change = ColorChange::White;
    if (mode == pmNotCopy) change = ColorChange::Invert;
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    SelectPenAndBrush(painter, change);
    draw(painter);
    return;
  }
  const int margin = std::min(PenWidth(), kFar) + 1;
  QRect area = bounds.adjusted(-margin, -margin, margin, margin);
  if (const QPaintDevice* device = painter.device()) area &= QRect(0, 0, device->width(), device->height());
  if (area.isEmpty()) return;
  QImage layer(area.size(), QImage::Format_ARGB32_Premultiplied);
  layer.fill(Qt::transparent);
  {
    QPainter layerPainter(&layer);
    layerPainter.setRenderHint(QPainter::Antialiasing, false);
    layerPainter.translate(-area.topLeft());
    SelectPenAndBrush(layerPainter, ColorChange::None);
    draw(layerPainter);
  }
  const QRegion covered =
      QRegion(QBitmap::fromImage(layer.createAlphaMask(Qt::ThresholdAlphaDither))).translated(area.topLeft());
  painter.save();
  painter.setClipRegion(covered, painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
  painter.setCompositionMode(RasterOpOf(mode));
  painter.drawImage(area.topLeft(), layer);
  painter.restore();
}

void QtSurface::SyncSmoothing(QPainter& painter) {
  const bool smooth = Smooth();
  if (smooth == m_painterSmooth) return;
  painter.setRenderHint(QPainter::Antialiasing, smooth);
  m_painterSmooth = smooth;
}

namespace {

bool Slanted(TPoint from, TPoint to) { return from.x != to.x && from.y != to.y; }

}  // namespace

// Horizontal and vertical lines of one pixel are as sharp as a line can be: smoothing
// would only smear them over two rows, so those runs keep their exact pixels. The
// slanted runs are stroked as one path, in one call however many there are (a dense
// line alternates between the two kinds at every column), and where they cross or
// meet they are blended once.
void QtSurface::SmoothPixelPath(std::span<const TPoint> points) {
  std::vector<std::span<const TPoint>> straight;
  QPainterPath slanted;
  std::size_t start = 0;
  while (start + 1 < points.size()) {
    const bool slant = Slanted(points[start], points[start + 1]);
    std::size_t end = start + 1;
    while (end + 1 < points.size() && Slanted(points[end], points[end + 1]) == slant) ++end;
    if (slant) {
      slanted.moveTo(PixelCentre(points[start]));
      for (std::size_t i = start + 1; i <= end; ++i) slanted.lineTo(PixelCentre(points[i]));
    } else {
      straight.push_back(points.subspan(start, end - start + 1));
    }
    start = end;
  }
  if (!straight.empty()) {
    if (DirectPen()) {
      for (const std::span<const TPoint> run : straight) DirectPixelPath(run);
    } else {
      DrawShape(BoundsOf(points), [&](QPainter& painter) {
        for (const std::span<const TPoint> run : straight) PaintPixelPath(painter, run);
      });
    }
  }
  if (slanted.isEmpty()) return;
  DrawShape(BoundsOf(points), [&](QPainter& painter) {
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(slanted);
  });
}

void QtSurface::PaintPixelPath(QPainter& painter, std::span<const TPoint> points) {
  if (m_scaled) {
    PaintScaledPixelPath(painter, points);
    return;
  }
  if (!m_raster) {
    // A vector device keeps lines as lines; its pixels are the viewer's business. One
    // path through the pixel centres with square ends, so that a viewer at the
    // device's scale covers whole pixels: one row per line, corners and ends included.
    QPolygonF path;
    for (std::size_t i = 0; i < points.size(); ++i) {
      if (i == 0 || points[i - 1] != points[i]) path << PixelCentre(points[i]);
    }
    if (path.size() < 2) return;
    QPen pen = painter.pen();
    pen.setCapStyle(Qt::SquareCap);
    painter.setPen(pen);
    painter.drawPolyline(path);
    return;
  }
  // The device in the painter's coordinates (a layer is translated).
  const QPaintDevice* device = painter.device();
  if (device == nullptr) return;
  const QRect window = painter.worldTransform().inverted().mapRect(QRect(0, 0, device->width(), device->height()));
  m_lines.Reset(OnePixelDashes(), window, painter.backgroundMode() == Qt::OpaqueMode);
  for (std::size_t i = 1; i < points.size(); ++i) m_lines.Add(points[i - 1], points[i]);
  m_lines.Paint(painter);
}

// A line as wide as a pixel of the coordinates through their centres, with flat ends
// that stop on the pixel edges, so that it covers the device pixels of the pixels a
// one-pixel line covers, the last point left out; drawn finer along a slope. Flat ends
// keep a dash pattern's gaps, which square caps would close.
void QtSurface::PaintScaledPixelPath(QPainter& painter, std::span<const TPoint> points) const {
  std::vector<TPoint> kept;
  kept.reserve(points.size());
  for (const TPoint& p : points)
    if (kept.empty() || kept.back() != p) kept.push_back(p);
  if (kept.size() < 2) return;
  // The last pixel is left out: the end moves one step back along its segment.
  const TPoint from = kept[kept.size() - 2];
  const TPoint to = kept.back();
  const double steps = std::max(std::abs(double(to.x) - from.x), std::abs(double(to.y) - from.y));
  QPolygonF path;
  path.reserve(static_cast<qsizetype>(kept.size()));
  for (std::size_t i = 0; i + 1 < kept.size(); ++i) path << PixelCentre(kept[i]);
  if (steps > 1) {
    const double back = (steps - 1) / steps;
    path << QPointF(from.x + (to.x - from.x) * back + 0.5, from.y + (to.y - from.y) * back + 0.5);
  }
  if (path.size() < 2) {
    // One pixel: the line from a point to its neighbour.
    painter.fillRect(QRectF(from.x, from.y, 1, 1), painter.pen().color());
    return;
  }
  const auto extend = [](QPointF end, QPointF towards) {
    const QPointF d = end - towards;
    const double length = std::hypot(d.x(), d.y());
    return end + d * (0.5 / length);
  };
  path.front() = extend(path.front(), path[1]);
  path.back() = extend(path.back(), path[path.size() - 2]);
  painter.drawPolyline(path);
}

// An even-width line through pixel centres has its edges on pixel centres too, and the
// raster engine takes the pixels on its lower and right edge: the line lies half a
// pixel further down and right than its centre says. A scaled device draws it there.
QPointF QtSurface::WideStrokeShift() const {
  // Smoothed, such a line would shade half a pixel on either side instead.
  return (m_scaled || Smooth()) && PenWidth() > 1 && PenWidth() % 2 == 0 ? QPointF(0.5, 0.5) : QPointF();
}

// The rectangle the outline is stroked on: pixel centres for a pen that is centred on
// the edge, inset by half the width for psInsideFrame, the plain area without a pen.
QRectF QtSurface::OutlineRect(const TRect& rect) const {
  const QRectF area = ToQRectF(rect);
  if (!HasPen()) return area;
  const int width = PenWidth();
  if (width > 1 && Pen().style == psInsideFrame) {
    const qreal half = width / 2.0;
    return QRectF(area.left() + half, area.top() + half, std::max<qreal>(0, area.width() - width),
                  std::max<qreal>(0, area.height() - width));
  }
  return area.adjusted(0.5, 0.5, -0.5, -0.5);
}

void QtSurface::DoLineTo(TPoint from, TPoint to) {
  const int width = PenWidth();
  if (!HasPen() || (from == to && width == 1)) return;
  if (width == 1 && Smooth() && !Pen().alternate && Slanted(from, to)) {
    SmoothPixelPath(std::array{from, to});
    return;
  }
  if (DirectPen()) {
    DirectPixelPath(std::array{from, to});
    return;
  }
  DrawShape(BoundsOf(std::array{from, to}), [&](QPainter& painter) {
    if (width == 1) {
      PaintPixelPath(painter, std::array{from, to});
    } else if (from == to) {
      painter.drawPoint(PixelCentre(from) + WideStrokeShift());
    } else {
      painter.drawLine(PixelCentre(from) + WideStrokeShift(), PixelCentre(to) + WideStrokeShift());
    }
  });
}

void QtSurface::DoPolyline(std::span<const TPoint> points) {
  if (!HasPen()) return;
  if (PenWidth() == 1 && Smooth() && !Pen().alternate) {
    SmoothPixelPath(points);
    return;
  }
  if (DirectPen()) {
    DirectPixelPath(points);
    return;
  }
  DrawShape(BoundsOf(points), [&](QPainter& painter) {
    painter.setBrush(Qt::NoBrush);
    if (PenWidth() == 1) {
      PaintPixelPath(painter, points);
    } else {
      painter.drawPolyline(ToCentredPolygon(points).translated(WideStrokeShift()));
    }
  });
}

void QtSurface::DoPolygon(std::span<const TPoint> points) {
  const bool pen = HasPen();
  const bool fill = Brush().style == bsSolid;
  // Past the scan converter's exact range QPainter fills the polygon itself, as it
  // does every polygon drawn smooth.
  const bool smooth = Smooth();
  if (!smooth && (!pen || DirectPen()) && DrawsDirectly() && Pen().mode == pmCopy && DirectBrush() &&
      (!fill || PolygonScanner::Exact(points))) {
    // Most polygons lie wholly inside the clip: then no pixel needs testing.
    const bool inside = m_target.Covers(ReachOf(points));
    if (inside && (!pen || (Pen().style == psSolid && !Pen().alternate))) {
      if (const PolygonStamp* stamp = StampOf(points)) {
        const TPoint at = points.front();
        if (fill) {
          const QRgb color = OpaquePixel(Brush().color);
          for (const PolygonStamp::Span& span : stamp->fill) {
            m_target.FillSpanInside(at.y + span.row, at.x + span.left, at.x + span.right, color);
          }
        }
        if (pen) {
          const QRgb color = OpaquePixel(Pen().color);
          for (const QPoint& pixel : stamp->outline) m_target.PlotInside(at.x + pixel.x(), at.y + pixel.y(), color);
        }
        return;
      }
    }
    if (fill) DirectPolygonFill(points, inside);
    if (pen) DirectPolygonOutline(points, inside);
    return;
  }
  DrawShape(BoundsOf(points), [&](QPainter& painter) {
    if ((m_scaled || smooth) && HasPen()) {
      // The fill where the unscaled one lies, the outline where its pixels lie.
      const QPen outline = painter.pen();
      painter.setPen(Qt::NoPen);
      if (PenWidth() > 1) {
        painter.drawPolygon(ToCentredPolygon(points), Qt::OddEvenFill);
      } else {
        painter.drawPolygon(ToQPolygon(points), Qt::OddEvenFill);
      }
      painter.setPen(outline);
      painter.setBrush(Qt::NoBrush);
      painter.drawPolygon(ToCentredPolygon(points).translated(WideStrokeShift()));
    } else if (PenWidth() > 1 && HasPen()) {
      painter.drawPolygon(ToCentredPolygon(points), Qt::OddEvenFill);
    } else {
      painter.drawPolygon(ToQPolygon(points), Qt::OddEvenFill);
    }
  });
}

namespace {

// The raster operations on the colour bits of RGB32 pixels, as the raster engine
// combines a solid source with them; the unused top byte stays 0xFF.
QRgb CombinedPixel(TPenMode mode, QRgb source, QRgb destination) {
  QRgb result = destination;
  switch (mode) {
    case pmBlack: result = 0; break;
    case pmWhite: result = ~0u; break;
    case pmNot: result = ~destination; break;
    case pmNotCopy: result = ~source; break;
    case pmMergePenNot: result = source | ~destination; break;
    case pmMaskPenNot: result = source & ~destination; break;
    case pmMergeNotPen: result = ~source | destination; break;
    case pmMaskNotPen: result = ~source & destination; break;
    case pmMerge: result = source | destination; break;
    case pmNotMerge: result = ~(source | destination); break;
    case pmMask: result = source & destination; break;
    case pmNotMask: result = ~(source & destination); break;
    case pmXor: result = source ^ destination; break;
    case pmNotXor: result = ~(source ^ destination); break;
    case pmCopy: result = source; break;
    case pmNop: break;
  }
  return result | 0xFF000000u;
}

}  // namespace

// The frame's edges written straight into the image: a band move then costs a few
// hundred pixel writes instead of four trips through the painter's composition.
void QtSurface::DirectRasterOpFrame(const TRect& rect, TPenMode mode) {
  const QRgb source = OpaquePixel(Pen().color);
  const auto combine = [mode, source](QRgb pixel) { return CombinedPixel(mode, source, pixel); };
  const int height = rect.bottom - rect.top;
  m_target.CombineSpan(rect.top, rect.left, rect.right, combine);
  if (height > 1) m_target.CombineSpan(rect.bottom - 1, rect.left, rect.right, combine);
  const bool twoColumns = rect.right - rect.left > 1;
  for (int y = rect.top + 1; y < rect.bottom - 1; ++y) {
    m_target.CombineSpan(y, rect.left, rect.left + 1, combine);
    if (twoColumns) m_target.CombineSpan(y, rect.right - 1, rect.right, combine);
  }
}

void QtSurface::DoRectangle(const TRect& rect) {
  const bool pen = HasPen();
  if ((!pen || DirectPen()) && DrawsDirectly() && Pen().mode == pmCopy && DirectBrush()) {
    if (Brush().style == bsSolid) m_target.FillRect(ToQRect(rect), OpaquePixel(Brush().color));
    if (pen) DirectPixelPath(RectangleOutline(rect));
    return;
  }
  // A one-pixel frame in a raster mode (the rubber band in not-xor, drawn on every move
  // of a zoom drag): four edges that share no pixel, each one raster-op fill, instead
  // of a mask of the whole frame's area.
  const TPenMode mode = Pen().mode;
  if (m_raster && mode != pmCopy && mode != pmNop && Pen().style == psSolid && !Pen().alternate && PenWidth() == 1 &&
      Brush().style == bsClear && rect.right > rect.left && rect.bottom > rect.top) {
    QPainter& painter = *m_painter;
    // Edges beyond the device move to just outside it, where they stay unseen, so that
    // the sizes below cannot overflow.
    const QPaintDevice* device = painter.device();
    const int deviceWidth = device != nullptr ? device->width() : 0;
    const int deviceHeight = device != nullptr ? device->height() : 0;
    const int left = std::max(rect.left, -1), top = std::max(rect.top, -1);
    const int right = std::min(rect.right, deviceWidth + 1), bottom = std::min(rect.bottom, deviceHeight + 1);
    if (right <= left || bottom <= top) return;
    if (DrawsDirectly() && m_image->format() == QImage::Format_RGB32) {
      DirectRasterOpFrame(TRect{left, top, right, bottom}, mode);
      return;
    }
    SyncClip();
    painter.save();
    painter.setCompositionMode(RasterOpOf(mode));
    const QColor color = ToRgbColor(Pen().color);
    const int width = right - left, height = bottom - top;
    painter.fillRect(QRect(left, top, width, 1), color);
    if (height > 1) painter.fillRect(QRect(left, bottom - 1, width, 1), color);
    if (height > 2) {
      painter.fillRect(QRect(left, top + 1, 1, height - 2), color);
      if (width > 1) painter.fillRect(QRect(right - 1, top + 1, 1, height - 2), color);
    }
    painter.restore();
    return;
  }
  DrawShape(ToQRect(rect), [&](QPainter& painter) {
    const QBrush brush = painter.brush();
    if (brush.style() != Qt::NoBrush) painter.fillRect(ToQRect(rect), brush);
    if (!HasPen()) return;
    painter.setBrush(Qt::NoBrush);
    if (PenWidth() > 1) {
      painter.drawRect(OutlineRect(rect).translated(WideStrokeShift()));
      return;
    }
    PaintPixelPath(painter, RectangleOutline(rect));
  });
}

void QtSurface::DoRoundRect(const TRect& rect, int cornerWidth, int cornerHeight) {
  DrawShape(ToQRect(rect), [&](QPainter& painter) {
    const QRectF outline = OutlineRect(rect);
    const qreal radiusX = std::min<qreal>(cornerWidth / 2.0, outline.width() / 2);
    const qreal radiusY = std::min<qreal>(cornerHeight / 2.0, outline.height() / 2);
    painter.drawRoundedRect(outline, radiusX, radiusY, Qt::AbsoluteSize);
  });
}

void QtSurface::DoEllipse(const TRect& rect) {
  DrawShape(ToQRect(rect), [&](QPainter& painter) { painter.drawEllipse(OutlineRect(rect)); });
}

namespace {

// Qt's arc angles are those of the ellipse's parameter, in sixteenths of a degree; the
// ray through a point becomes the parameter of the ellipse point on that ray.
int ArcAngle16(const TRect& rect, TPoint point) {
  const double centreX = (double(rect.left) + rect.right) / 2.0;
  const double centreY = (double(rect.top) + rect.bottom) / 2.0;
  const QRectF area = ToQRectF(rect);
  const double dx = (point.x - centreX) / std::max(1.0, area.width());
  const double dy = (centreY - point.y) / std::max(1.0, area.height());
  return static_cast<int>(std::lround(std::atan2(dy, dx) * 180.0 / std::numbers::pi * 16.0));
}

int ArcSpan16(int start16, int end16) {
  int span = end16 - start16;
  while (span <= 0) span += 360 * 16;
  return span;
}

}  // namespace

void QtSurface::DoArc(const TRect& rect, TPoint start, TPoint end) {
  if (!HasPen()) return;
  const int start16 = ArcAngle16(rect, start);
  const int span16 = ArcSpan16(start16, ArcAngle16(rect, end));
  DrawShape(ToQRect(rect), [&](QPainter& painter) {
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(OutlineRect(rect), start16, span16);
  });
}

void QtSurface::DoPie(const TRect& rect, TPoint start, TPoint end) {
  const int start16 = ArcAngle16(rect, start);
  const int span16 = ArcSpan16(start16, ArcAngle16(rect, end));
  // Far out QPainter cuts the path to its coordinate range first: that is its own.
  const bool near = PolygonScanner::Exact(std::array{TPoint{rect.left, rect.top}, TPoint{rect.right, rect.bottom}});
  const bool pen = HasPen();
  if (near && DrawsDirectly() && Pen().mode == pmCopy && !Smooth() &&
      (pen ? PenWidth() == 1 && Pen().style == psSolid && !Pen().alternate : DirectBrush())) {
    DirectPie(rect, start16, span16);
    return;
  }
  DrawShape(ToQRect(rect), [&](QPainter& painter) { painter.drawPie(OutlineRect(rect), start16, span16); });
}

void QtSurface::DoSetPixel(TPoint point, TColor rgb) {
  if (DrawsDirectly()) {
    m_target.Plot(point.x, point.y, OpaquePixel(rgb));
    return;
  }
  SyncClip();
  m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
  m_painter->fillRect(QRect(point.x, point.y, 1, 1), ToRgbColor(rgb));
}

TColor QtSurface::DoGetPixel(TPoint point) const {
  if (m_image == nullptr) return clNone;
  // The first device pixel of the coordinates' pixel.
  const QPoint at(static_cast<int>(point.x * m_image->devicePixelRatio()),
                  static_cast<int>(point.y * m_image->devicePixelRatio()));
  if (!m_image->valid(at)) return clNone;
  const QRgb pixel = m_image->pixel(at);
  return RGBColor(qRed(pixel), qGreen(pixel), qBlue(pixel));
}

// ---------------------------------------------------------------- [SECTION] direct drawing

// One-pixel lines in copy mode, any style PixelLines lays out.
bool QtSurface::DirectPen() const { return DrawsDirectly() && Pen().mode == pmCopy && PenWidth() == 1; }

// Solid or no fill; hatches and patterns are QPainter's.
bool QtSurface::DirectBrush() const {
  return !Brush().pattern && (Brush().style == bsSolid || Brush().style == bsClear);
}

// As PixelLines::Paint: the dashes, then the gaps over them when the background is opaque.
void QtSurface::DirectPixelPath(std::span<const TPoint> points) {
  const QList<qreal> dashes = OnePixelDashes();
  const bool keepGaps = BackgroundMode() == BkMode::Opaque;
  // A run one row high (dashes of horizontal lines, most of a path) is one span.
  const auto fill = [this](const QRect& run, QRgb color) {
    if (run.height() == 1) {
      m_target.FillSpan(run.top(), run.left(), run.right() + 1, color);
    } else {
      m_target.FillRect(run, color);
    }
  };
  const QRgb lineColor = OpaquePixel(Pen().color);
  const QRgb gapColor = OpaquePixel(BackgroundColor());
  if (points.size() == 2) {
    // A grid line lies inside the plot, and so inside the clip: no pixel needs testing.
    const TPoint from = points[0], to = points[1];
    const bool inside = m_target.Covers(QRect(QPoint(std::min(from.x, to.x), std::min(from.y, to.y)),
                                              QPoint(std::max(from.x, to.x), std::max(from.y, to.y))));
    const auto putInside = [&](const QRect& run, bool lit) {
      const QRgb color = lit ? lineColor : gapColor;
      if (run.height() == 1) {
        m_target.FillSpanInside(run.top(), run.left(), run.right() + 1, color);
      } else {
        for (int y = run.top(); y <= run.bottom(); ++y) m_target.PlotInside(run.left(), y, color);
      }
    };
    const auto put = [&](const QRect& run, bool lit) { fill(run, lit ? lineColor : gapColor); };
    // A walk of its own for each, so that the one inside the clip tests nothing per dash.
    if (inside ? PixelLines::ForEachStraightRun(dashes, from, to, m_target.Device(), keepGaps, putInside)
               : PixelLines::ForEachStraightRun(dashes, from, to, m_target.Device(), keepGaps, put)) {
      return;
    }
  }
  m_lines.Reset(dashes, m_target.Device(), keepGaps);
  if (dashes.isEmpty()) {
    // Every pixel of a solid line has the pen's colour, whatever the order: each segment
    // goes straight into the pixels, but those cut to the window first.
    for (std::size_t i = 1; i < points.size(); ++i) {
      if (!PixelLines::ForEachSolidRun(points[i - 1], points[i], m_target.Device(),
                                       [&](const QRect& run) { fill(run, lineColor); })) {
        m_lines.Add(points[i - 1], points[i]);
      }
    }
    for (const QRect& run : m_lines.Lit()) fill(run, lineColor);
    return;
  }
  for (std::size_t i = 1; i < points.size(); ++i) m_lines.Add(points[i - 1], points[i]);
  for (const QRect& run : m_lines.Lit()) fill(run, lineColor);
  for (const QRect& run : m_lines.Gaps()) fill(run, gapColor);
}

// Row by row, and along each row band by band: the pixels of a frame's gradient in the
// order memory holds them, which writes a large frame twice as fast as bands that climb
// from its bottom. The bands do not overlap, so the pixels are those of any order.
bool QtSurface::DoFillBands(std::span<const BandArea> areas) {
  if (!DrawsDirectly()) return false;
  struct Fill {
    TRect rect;
    QRgb pixel;
  };
  std::vector<Fill> order;
  order.reserve(areas.size());
  for (const BandArea& area : areas) order.push_back({area.rect, OpaquePixel(area.rgb)});
  std::sort(order.begin(), order.end(), [](const Fill& a, const Fill& b) {
    return a.rect.top != b.rect.top ? a.rect.top < b.rect.top : a.rect.left < b.rect.left;
  });
  // Bands over the same rows (the columns of a horizontal gradient) go row by row together.
  for (std::size_t first = 0; first < order.size();) {
    const TRect& rows = order[first].rect;
    std::size_t end = first + 1;
    while (end < order.size() && order[end].rect.top == rows.top && order[end].rect.bottom == rows.bottom) ++end;
    const int top = std::max(rows.top, m_target.Device().top());
    const int bottom = std::min(rows.bottom, m_target.Device().bottom() + 1);
    for (int y = top; y < bottom; ++y) {
      for (std::size_t k = first; k < end; ++k) m_target.FillSpan(y, order[k].rect.left, order[k].rect.right, order[k].pixel);
    }
    first = end;
  }
  return true;
}

void QtSurface::DirectPolygonFill(std::span<const TPoint> points, bool inside) {
  const QRgb color = OpaquePixel(Brush().color);
  // QPainter's rasteriser works inside the device cut by the clip's bounding box, and
  // that box enters into its rule (raster_spans.cpp).
  QRect window = m_window;
  if (m_clip.Active()) window &= m_clip.Bounds();
  if (window.isEmpty()) return;
  m_scanner.Start(points, window);
  if (inside) {
    m_scanner.ForEachSpan([&](int y, int left, int right) { m_target.FillSpanInside(y, left, right, color); });
  } else {
    m_scanner.ForEachSpan([&](int y, int left, int right) { m_target.FillSpan(y, left, right, color); });
  }
}

// QPainter fills a pie and strokes its outline along one path: the centre, the arc in
// cubic curves, back to the centre. The path is built here as drawPie builds it. A solid
// fill is scanned as the raster engine scans it, other brushes are QPainter's (without
// the pen); the outline, which the raster engine strokes a pixel at a time through its
// span functions (a thin slice of a large pie is mostly its two radii), CosmeticOutline
// lays out into the same pixels. Both are written straight into the image.
void QtSurface::DirectPie(const TRect& rect, int start16, int span16) {
  constexpr int kTurn16 = 360 * 16;
  if (start16 > kTurn16) {
    start16 %= kTurn16;
  } else if (start16 < 0) {
    start16 %= kTurn16;
    if (start16 < 0) start16 += kTurn16;
  }
  const QRectF area = OutlineRect(rect).normalized();
  QPainterPath path;
  path.moveTo(area.center());
  path.arcTo(area, start16 / 16.0, span16 / 16.0);
  path.closeSubpath();
  // Every pixel the fill or the outline sets, whichever way round the rectangle is given.
  const bool inside = m_target.Covers(area.toAlignedRect().adjusted(-2, -2, 2, 2));
  if (Brush().style == bsSolid && DirectBrush()) {
    DirectPieFill(path, inside);
  } else if (Brush().style != bsClear) {
    DrawShape(ToQRect(rect), [&](QPainter& painter) {
      painter.setPen(Qt::NoPen);
      painter.drawPath(path);
      painter.setPen(CurrentPen());
    });
  }
  if (!HasPen()) return;
  m_piePath.resize(static_cast<std::size_t>(path.elementCount()));
  for (int i = 0; i < path.elementCount(); ++i) {
    const QPainterPath::Element element = path.elementAt(i);
    using Point = CosmeticOutline::PathPoint;
    Point::Kind kind = Point::kLine;
    if (element.isMoveTo()) kind = Point::kMove;
    if (element.isCurveTo()) kind = Point::kCurve;
    if (element.type == QPainterPath::CurveToDataElement) kind = Point::kCurveData;
    m_piePath[static_cast<std::size_t>(i)] = {element.x, element.y, kind};
  }
  if (!m_outline || !m_outlineDashes.isEmpty()) {
    m_outline = std::make_unique<CosmeticOutline>(m_target.Device(), QList<qreal>());
    m_outlineDashes.clear();
  }
  m_outline->StrokePath(m_piePath);
  const QRgb color = OpaquePixel(Pen().color);
  if (inside) {
    for (const QPoint& pixel : m_outline->Pixels()) m_target.PlotInside(pixel.x(), pixel.y(), color);
  } else {
    for (const QPoint& pixel : m_outline->Pixels()) m_target.Plot(pixel.x(), pixel.y(), color);
  }
}

namespace {

// The end points of the lines the raster engine fills a cubic curve with: halved while
// the control points stray from the chord by more than a quarter pixel (measured as
// QPainter's outline mapper measures it), nine times at most, the first half first.
void FlattenCurve(std::vector<QPointF>& points, QPointF p1, QPointF p2, QPointF p3, QPointF p4) {
  struct Curve {
    QPointF p1, p2, p3, p4;
  };
  constexpr double kThreshold = 0.25;
  std::array<Curve, 10> curves;
  std::array<int, 10> levels;
  curves[0] = {p1, p2, p3, p4};
  levels[0] = 9;
  int top = 0;
  while (top >= 0) {
    Curve& b = curves[static_cast<std::size_t>(top)];
    const double y4y1 = b.p4.y() - b.p1.y(), x4x1 = b.p4.x() - b.p1.x();
    double length = std::abs(x4x1) + std::abs(y4y1);
    double distance = 0;
    if (length > 1.) {
      distance = std::abs(x4x1 * (b.p1.y() - b.p2.y()) - y4y1 * (b.p1.x() - b.p2.x())) +
                 std::abs(x4x1 * (b.p1.y() - b.p3.y()) - y4y1 * (b.p1.x() - b.p3.x()));
    } else {
      distance = std::abs(b.p1.x() - b.p2.x()) + std::abs(b.p1.y() - b.p2.y()) + std::abs(b.p1.x() - b.p3.x()) +
                 std::abs(b.p1.y() - b.p3.y());
      length = 1.;
    }
    if (distance < kThreshold * length || levels[static_cast<std::size_t>(top)] == 0) {
      points.push_back(b.p4);
      --top;
      continue;
    }
    const auto mid = [](QPointF a, QPointF c) { return (a + c) * .5; };
    const QPointF m12 = mid(b.p1, b.p2), m23 = mid(b.p2, b.p3), m34 = mid(b.p3, b.p4);
    const QPointF m123 = mid(m12, m23), m234 = mid(m23, m34), m1234 = mid(m123, m234);
    const Curve first{b.p1, m12, m123, m1234}, second{m1234, m234, m34, b.p4};
    // The second half lies lower on the stack: the first is taken first.
    curves[static_cast<std::size_t>(top)] = second;
    curves[static_cast<std::size_t>(top) + 1] = first;
    levels[static_cast<std::size_t>(top) + 1] = --levels[static_cast<std::size_t>(top)];
    ++top;
  }
}

int To26Dot6(double v) { return qRound(v * 64); }

}  // namespace

// A solid fill of the pie's path as the raster engine fills it: the curves flattened,
// the vertices in 26.6 fixed point, then the polygon scanned by the even-odd rule.
void QtSurface::DirectPieFill(const QPainterPath& path, bool inside) {
  m_pieCurve.clear();
  for (int i = 0; i < path.elementCount(); ++i) {
    const QPainterPath::Element element = path.elementAt(i);
    if (element.isCurveTo() && i + 2 < path.elementCount() && !m_pieCurve.empty()) {
      const QPainterPath::Element c2 = path.elementAt(i + 1), end = path.elementAt(i + 2);
      FlattenCurve(m_pieCurve, m_pieCurve.back(), QPointF(element.x, element.y), QPointF(c2.x, c2.y),
                   QPointF(end.x, end.y));
      i += 2;
    } else {
      m_pieCurve.emplace_back(element.x, element.y);
    }
  }
  m_pieFill.resize(m_pieCurve.size());
  for (std::size_t i = 0; i < m_pieCurve.size(); ++i) {
    m_pieFill[i] = {To26Dot6(m_pieCurve[i].x()), To26Dot6(m_pieCurve[i].y())};
  }
  QRect window = m_window;
  if (m_clip.Active()) window &= m_clip.Bounds();
  if (window.isEmpty()) return;
  const QRgb color = OpaquePixel(Brush().color);
  m_scanner.Start26Dot6(m_pieFill, window);
  if (inside) {
    m_scanner.ForEachSpan([&](int y, int left, int right) { m_target.FillSpanInside(y, left, right, color); });
  } else {
    m_scanner.ForEachSpan([&](int y, int left, int right) { m_target.FillSpan(y, left, right, color); });
  }
}

// Small polygons recur as the same shape in other places (the ribbons of a dense 3D
// line, bars, walls). Inside the target neither the scan converter nor the outline
// meets a side of the window or the device, and both work on whole-pixel vertices in
// fixed point, where moving every vertex by whole pixels moves every crossing and every
// stepped pixel by as much (raster_spans.cpp, cosmetic_outline.cpp): the fill's spans
// and a solid outline's pixels, relative to the first vertex, depend on the shape
// alone. So a shape is laid out once, by the same scanner and outline, and stamped
// wherever it recurs. Only the direct raster path uses stamps; nothing else changes.
const QtSurface::PolygonStamp* QtSurface::StampOf(std::span<const TPoint> points) {
  if (points.size() != 3 && points.size() != 4) return nullptr;
  const TPoint at = points.front();
  std::uint64_t key = points.size();
  for (std::size_t i = 1; i < points.size(); ++i) {
    const int dx = points[i].x - at.x, dy = points[i].y - at.y;
    if (dx < -127 || dx > 127 || dy < -127 || dy > 127) return nullptr;
    key = (key << 16) | (static_cast<std::uint64_t>(dx + 128) << 8) | static_cast<std::uint64_t>(dy + 128);
  }
  // Kept for every surface of the thread: a chart drawn onto a new surface each time
  // (an export) finds the shapes of its last paint.
  thread_local std::unordered_map<std::uint64_t, PolygonStamp> stamps;
  thread_local std::size_t stampPixels = 0;  // spans and outline pixels the stamps hold
  if (const auto found = stamps.find(key); found != stamps.end()) return &found->second;
  // A bound on the memory (a few megabytes), far above the shapes of any one picture.
  if (stamps.size() >= 16384 || stampPixels >= (std::size_t{1} << 18)) {
    stamps.clear();
    stampPixels = 0;
  }
  PolygonStamp& stamp = stamps[key];
  QRect window = m_window;
  if (m_clip.Active()) window &= m_clip.Bounds();
  m_scanner.Start(points, window);
  m_scanner.ForEachSpan(
      [&](int y, int left, int right) { stamp.fill.push_back({y - at.y, left - at.x, right - at.x}); });
  if (!m_outline || !m_outlineDashes.isEmpty()) {
    m_outline = std::make_unique<CosmeticOutline>(m_target.Device(), QList<qreal>());
    m_outlineDashes.clear();
  }
  m_outline->Stroke(points);
  for (const QPoint& pixel : m_outline->Pixels()) stamp.outline.push_back(pixel - QPoint(at.x, at.y));
  stampPixels += stamp.fill.size() + stamp.outline.size();
  return &stamp;
}

// As QPainter strokes a dashed cosmetic pen on an opaque background: the whole outline
// in the background colour first, then the dashes.
void QtSurface::DirectPolygonOutline(std::span<const TPoint> points, bool inside) {
  const QList<qreal> dashes = OnePixelDashes();
  if (!m_outline || dashes != m_outlineDashes) {
    m_outline = std::make_unique<CosmeticOutline>(m_target.Device(), dashes);
    m_outlineDashes = dashes;
  }
  m_outline->Stroke(points);
  const std::span<const QPoint> pixels = m_outline->Pixels();
  const std::vector<char>& on = m_outline->On();
  const auto plot = [&](const QPoint& pixel, QRgb color) {
    if (inside) {
      m_target.PlotInside(pixel.x(), pixel.y(), color);
    } else {
      m_target.Plot(pixel.x(), pixel.y(), color);
    }
  };
  const QRgb lineColor = OpaquePixel(Pen().color);
  if (!m_outline->Dashed()) {
    if (inside) {
      for (const QPoint& pixel : pixels) m_target.PlotInside(pixel.x(), pixel.y(), lineColor);
    } else {
      for (const QPoint& pixel : pixels) m_target.Plot(pixel.x(), pixel.y(), lineColor);
    }
    return;
  }
  if (BackgroundMode() == BkMode::Opaque) {
    const QRgb gapColor = OpaquePixel(BackgroundColor());
    for (const QPoint& pixel : pixels) plot(pixel, gapColor);
  }
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    if (on[i] != 0) plot(pixels[i], lineColor);
  }
}

// Many one-pixel segments, each in its colour: the picture of drawing them in order is,
// pixel by pixel, the colour of the last segment that lights the pixel. So they are laid
// out from the last to the first, and a pixel is written only by the first of them to
// reach it (a bit per device pixel says which are taken): each pixel is written once,
// however many segments cross it. Each segment's pixels are those PixelLines gives for
// LineTo, and the clip is the same for all of them, so nothing else changes.
bool QtSurface::DoFastLineSegments() const {
  // Smoothed segments blend with what lies under them: drawn one by one, in order.
  return DirectPen() && !Pen().alternate && Pen().style == psSolid && !Smooth();
}

void QtSurface::PlotUncovered(int x, int y, QRgb color) {
  if (!m_target.Lets(x, y)) return;
  const std::size_t bit = static_cast<std::size_t>(y) * static_cast<std::size_t>(m_window.width()) +
                          static_cast<std::size_t>(x);
  std::uint64_t& word = m_covered[bit >> 6];
  const std::uint64_t mask = std::uint64_t{1} << (bit & 63);
  if ((word & mask) != 0) return;
  word |= mask;
  m_target.PlotInside(x, y, color);
}

void QtSurface::DoLineSegments(std::span<const TPoint> points, std::span<const TColor> colors) {
  if (!DoFastLineSegments()) {
    Surface::DoLineSegments(points, colors);
    return;
  }
  const std::size_t pixels = static_cast<std::size_t>(m_window.width()) * static_cast<std::size_t>(m_window.height());
  m_covered.assign((pixels + 63) / 64, 0);
  // Coordinates this small step without overflow in PixelLines' own terms too.
  constexpr int kSmall = 1 << 20;
  const auto small = [](TPoint p) { return p.x >= -kSmall && p.x <= kSmall && p.y >= -kSmall && p.y <= kSmall; };
  TColor lastColor = clNone;
  QRgb rgb = 0;
  for (std::size_t i = points.size(); i-- > 1;) {
    const TColor color = colors[i];
    const TPoint from = points[i - 1], to = points[i];
    if (color == clNone || from == to) continue;
    if (color != lastColor) {
      lastColor = color;
      rgb = OpaquePixel(static_cast<TColor>(ColorToRGB(color)));
    }
    if (from.x == to.x && small(from) && small(to)) {
      // Vertical, as PixelLines lays it out: from the start, the end left out.
      const int step = to.y > from.y ? 1 : -1;
      for (int y = from.y; y != to.y; y += step) PlotUncovered(from.x, y, rgb);
      continue;
    }
    m_lines.Reset({}, m_target.Device(), false);
    m_lines.Add(from, to);
    for (const QRect& run : m_lines.Lit()) {
      for (int y = run.top(); y <= run.bottom(); ++y) {
        for (int x = run.left(); x <= run.right(); ++x) PlotUncovered(x, y, rgb);
      }
    }
  }
}

// Many rectangles of one pen and brush (the pointers of a point series): each written
// row by row straight into the pixels, the pixels DoRectangle's direct path gives it
// (the fill, then the one-pixel outline round its edge pixels over it) without laying
// out its outline as a path each time.
bool QtSurface::DoFastRectangles() const {
  if (!DrawsDirectly() || Pen().mode != pmCopy || !DirectBrush() || Smooth()) return false;
  return !HasPen() || (DirectPen() && Pen().style == psSolid && !Pen().alternate);
}

void QtSurface::DoRectangles(std::span<const TRect> rects) {
  if (!DoFastRectangles()) {
    Surface::DoRectangles(rects);
    return;
  }
  const bool pen = HasPen();
  const bool fill = Brush().style == bsSolid;
  const QRgb penColor = OpaquePixel(Pen().color);
  const QRgb brushColor = OpaquePixel(Brush().color);
  const QRect& device = m_target.Device();
  // Far beyond the device a rectangle is drawn as always, where ToQRect holds it.
  constexpr int kNear = 1 << 20;
  for (const TRect& rect : rects) {
    if (rect.right <= device.left() || rect.left > device.right() || rect.bottom <= device.top() ||
        rect.top > device.bottom()) {
      continue;
    }
    if (rect.left < -kNear || rect.top < -kNear || rect.right > kNear || rect.bottom > kNear) {
      DoRectangle(rect);
      continue;
    }
    const int last = rect.bottom - 1;
    const int width = rect.right - rect.left;
    const auto draw = [&](auto span, auto plot) {
      for (int y = rect.top; y <= last; ++y) {
        if (!pen) {
          if (fill) span(y, rect.left, rect.right, brushColor);
        } else if (y == rect.top || y == last) {
          span(y, rect.left, rect.right, penColor);
        } else {
          if (fill && width > 2) span(y, rect.left + 1, rect.right - 1, brushColor);
          plot(rect.left, y, penColor);
          plot(rect.right - 1, y, penColor);
        }
      }
    };
    if (m_target.Covers(ToQRect(rect))) {
      draw([this](int y, int left, int right, QRgb color) { m_target.FillSpanInside(y, left, right, color); },
           [this](int x, int y, QRgb color) { m_target.PlotInside(x, y, color); });
    } else {
      draw([this](int y, int left, int right, QRgb color) { m_target.FillSpan(y, left, right, color); },
           [this](int x, int y, QRgb color) { m_target.Plot(x, y, color); });
    }
  }
}

// ---------------------------------------------------------------- [SECTION] text

namespace {

// The parts of a font that make the face; colour and escapement only change how it is drawn.
bool SameFace(const SurfaceFont& a, const SurfaceFont& b) {
  return a.name == b.name && a.height == b.height && a.style == b.style;
}

}  // namespace

// Realising a font (matching it, and fitting a cell height) and laying texts out in it
// are most of what text costs. A chart draws the same few labels on every paint, and
// some draw on a new surface each time (an export, a picture made in a loop): the faces
// are kept for the application's thread, for every surface on it. Other threads keep
// theirs per surface, as Qt's fonts belong to the thread that made them.
std::shared_ptr<QtSurface::Face> QtSurface::FaceFor(const SurfaceFont& font, bool antialiased,
                                                    const QPaintDevice* device) {
  const int dpiX = device != nullptr ? device->logicalDpiX() : 0;
  const int dpiY = device != nullptr ? device->logicalDpiY() : 0;
  struct Kept {
    SurfaceFont font;
    bool antialiased;
    int dpiX, dpiY;
    std::shared_ptr<Face> face;
  };
  static std::vector<Kept>* kept = nullptr;
  const QCoreApplication* application = QCoreApplication::instance();
  const bool shared = application != nullptr && QThread::currentThread() == application->thread();
  if (shared && kept != nullptr) {
    for (const Kept& k : *kept) {
      if (SameFace(k.font, font) && k.antialiased == antialiased && k.dpiX == dpiX && k.dpiY == dpiY) return k.face;
    }
  }
  QFont qfont(QString::fromStdString(font.name));
  qfont.setBold(font.HasStyle(fsBold));
  qfont.setItalic(font.HasStyle(fsItalic));
  qfont.setUnderline(font.HasStyle(fsUnderline));
  qfont.setStrikeOut(font.HasStyle(fsStrikeOut));
  qfont.setStyleStrategy(antialiased ? QFont::PreferDefault : QFont::NoAntialias);
  if (font.height < 0) {
    // A character height is what Qt calls the pixel size.
    qfont.setPixelSize(-font.height);
  } else {
    // A cell height: the largest pixel size whose cell fits.
    int pixels = std::max(1, font.height);
    qfont.setPixelSize(pixels);
    for (int attempt = 0; attempt < 8 && pixels > 1; ++attempt) {
      const int cell = QFontMetrics(qfont, device).height();
      if (cell <= font.height) break;
      pixels = std::max(1, std::min(pixels - 1, pixels * font.height / cell));
      qfont.setPixelSize(pixels);
    }
  }
  auto face = std::make_shared<Face>(qfont, device);
  if (!shared) return face;
  if (kept == nullptr) {
    kept = new std::vector<Kept>();
    // Qt's fonts go with the application; so do the faces kept in them.
    qAddPostRoutine([] {
      delete kept;
      kept = nullptr;
    });
  }
  // A bound far above the faces of any chart; a surface keeps its face when they go.
  if (kept->size() >= 64) kept->clear();
  kept->push_back({font, antialiased, dpiX, dpiY, face});
  return face;
}

const QFont& QtSurface::RealisedFont() const {
  if (m_realisedFor && SameFace(m_realisedFor->first, Font()) && m_realisedFor->second == m_textAntialiasing) {
    return m_face->font;
  }
  m_face = FaceFor(Font(), m_textAntialiasing, m_painter->device());
  m_realisedFor.emplace(Font(), m_textAntialiasing);
  m_painterHasFont = false;
  return m_face->font;
}

namespace {

// Glyphs drawn from a kept layout set the pixels drawText sets (compared on many faces,
// sizes, styles and scripts, left to right and right to left), except for the lines of
// underlined and struck-out fonts, and for text that breaks lines.
bool GlyphsDrawLikeText(const QFont& font, const QString& text) {
  if (font.underline() || font.strikeOut()) return false;
  return std::none_of(text.begin(), text.end(), [](QChar c) {
    const QChar::Category category = c.category();
    return category == QChar::Other_Control || category == QChar::Separator_Line ||
           category == QChar::Separator_Paragraph;
  });
}

}  // namespace

// Laying text out (shaping it) is most of what measuring and drawing it costs, and a
// chart measures and draws the same few labels over and over: the widths and glyphs are
// kept for the realised font.
const QtSurface::LaidOutText& QtSurface::LayOut(std::string_view text, bool withGlyphs) const {
  constexpr std::size_t kKeptTexts = 512;
  auto& laidOut = m_face->laidOut;
  auto kept = laidOut.find(text);
  if (kept == laidOut.end()) {
    if (laidOut.size() >= kKeptTexts) laidOut.clear();
    LaidOutText laid;
    laid.width = m_face->metrics.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    kept = laidOut.emplace(std::string(text), std::move(laid)).first;
  }
  LaidOutText& laid = kept->second;
  if (withGlyphs && !laid.glyphsTried) {
    laid.glyphsTried = true;
    const QString qtext = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (GlyphsDrawLikeText(m_face->font, qtext)) {
      QTextLayout layout(qtext, m_face->font, m_painter->device());
      layout.beginLayout();
      const QTextLine line = layout.createLine();
      layout.endLayout();
      laid.baseline = line.ascent();
      laid.glyphs = layout.glyphRuns();
      laid.glyphsKept = true;
    }
  }
  return laid;
}

void QtSurface::DoTextOut(TPoint point, std::string_view text) {
  RealisedFont();
  const QFontMetrics& metrics = m_face->metrics;
  const bool turned = Font().escapement % 3600 != 0;
  const bool near = point.x > -kFar && point.x < kFar && point.y > -kFar && point.y < kFar;
  // Glyph runs are kept only for raster devices: a vector device (SVG, PDF, a printer)
  // writes a glyph run as nothing, or as shapes, and its text must stay text.
  // On a scaled device the layout of the coordinates' pixels would place glyphs drawn
  // at the device's pixels: drawText lays them out there.
  const bool glyphs = !turned && near && m_raster && !m_scaled;
  const LaidOutText& laid = LayOut(text, glyphs);
  const int width = laid.width;
  const int height = metrics.height();
  int left = 0;
  if (HorizontalAlignOf(TextAlign()) == HorizontalAlign::Right) left = -width;
  if (HorizontalAlignOf(TextAlign()) == HorizontalAlign::Center) left = -(width / 2);
  int top = 0;
  if (VerticalAlignOf(TextAlign()) == VerticalAlign::Bottom) top = -height;
  if (VerticalAlignOf(TextAlign()) == VerticalAlign::Baseline) top = -metrics.ascent();

  SyncClip();
  QPainter& painter = *m_painter;
  painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  // Turned text is drawn as outlines, which the shapes' smoothing covers.
  SyncSmoothing(painter);
  if (painter.testRenderHint(QPainter::TextAntialiasing) != m_textAntialiasing) {
    painter.setRenderHint(QPainter::TextAntialiasing, m_textAntialiasing);
  }
  const QColor color = ToRgbColor(Font().color);
  if (m_textPen.color() != color) m_textPen = QPen(color);
  painter.setPen(m_textPen);
  const QColor background = ToRgbColor(BackgroundColor());
  const bool opaque = BackgroundMode() == BkMode::Opaque;
  // The painter's own opaque mode would fill behind the glyphs' box, not the cell.
  painter.setBackgroundMode(Qt::TransparentMode);
  const auto givePainterFont = [&] {
    if (m_painterHasFont) return;
    painter.setFont(m_face->font);
    m_painterHasFont = true;
  };
  const auto drawText = [&](QPoint baseline) {
    givePainterFont();
    painter.drawText(baseline, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  };
  if (!turned && near) {
    // Unturned text needs no transform: the same pixels at the shifted position.
    if (opaque) painter.fillRect(QRect(point.x + left, point.y + top, width, height), background);
    const QPoint baseline(point.x + left, point.y + top + metrics.ascent());
    // The face is shared with other surfaces: glyphs kept for an image are not this
    // surface's to draw unless it asked for them.
    if (!glyphs || !laid.glyphsKept) {
      drawText(baseline);
      return;
    }
    const QPointF origin(baseline.x(), baseline.y() - laid.baseline);
    for (const QGlyphRun& glyphs : laid.glyphs) painter.drawGlyphRun(origin, glyphs);
    return;
  }
  // Before the save: the restore would take back a font set after it, and the painter
  // would no longer hold the font it is known to hold.
  givePainterFont();
  painter.save();
  painter.translate(point.x, point.y);
  // The escapement turns the text counter-clockwise about the reference point.
  if (turned) painter.rotate(-Font().escapement / 10.0);
  if (opaque) painter.fillRect(QRect(left, top, width, height), background);
  drawText(QPoint(left, top + metrics.ascent()));
  painter.restore();
}

TextSize QtSurface::DoTextExtent(std::string_view text) const {
  RealisedFont();
  return {LayOut(text, false).width, m_face->metrics.height()};
}

// ---------------------------------------------------------------- [SECTION] fills and pictures

void QtSurface::FillWithBrush(const TRect& rect) {
  if (DrawsDirectly() && DirectBrush()) {
    if (Brush().style == bsSolid) m_target.FillRect(ToQRect(rect), OpaquePixel(Brush().color));
    return;
  }
  const QBrush& brush = CurrentBrush();
  if (brush.style() == Qt::NoBrush) return;
  SyncClip();
  m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
  SelectBackground(*m_painter);
  m_painter->fillRect(ToQRect(rect), brush);
}

void QtSurface::DoFillRect(const TRect& rect) { FillWithBrush(rect); }

void QtSurface::DoPatternFill(const TRect& rect) { FillWithBrush(rect); }

void QtSurface::DoDrawPicture(TPoint point, const Picture& picture) {
  SyncClip();
  m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
  m_painter->drawImage(QPoint(point.x, point.y), ToQImage(picture));
}

void QtSurface::DoStretchPicture(const TRect& rect, const Picture& picture) {
  SyncClip();
  m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
  m_painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
  m_painter->drawImage(ToQRectF(rect), ToQImage(picture));
}

// ---------------------------------------------------------------- [SECTION] clipping

void QtSurface::ClipChanged() {
  ++m_clipChanges;
  if (m_directPossible) m_target.SetClip(m_clip);
}

void QtSurface::SyncClip() {
  if (m_painterClipChanges == m_clipChanges) return;
  m_painterClipChanges = m_clipChanges;
  if (!m_clip.Active()) {
    m_painter->setClipping(false);
  } else if (m_clip.Spans() != nullptr) {
    m_painter->setClipRegion(m_clip.Region(), Qt::ReplaceClip);
  } else {
    m_painter->setClipRect(m_clip.Rect(), Qt::ReplaceClip);
  }
}

void QtSurface::DoIntersectClipRect(const TRect& rect) {
  m_clip.IntersectRect(ToQRect(rect));
  ClipChanged();
}

void QtSurface::DoSelectClipRect(const TRect& rect) {
  m_clip.SelectRect(ToQRect(rect));
  ClipChanged();
}

void QtSurface::DoSelectClipPolygon(std::span<const TPoint> points) {
  // A chart clips every series to the same polygon: its spans are made once.
  if (!m_clipPolygonSpans || !std::equal(points.begin(), points.end(), m_clipPolygon.begin(), m_clipPolygon.end())) {
    m_clipPolygon.assign(points.begin(), points.end());
    m_clipPolygonSpans = std::make_shared<const RowSpans>(RowSpans::OfPolygon(points, m_window));
  }
  m_clip.SelectSpans(m_clipPolygonSpans);
  ClipChanged();
}

void QtSurface::DoRemoveClipping() {
  m_clip.Remove();
  ClipChanged();
}

// ---------------------------------------------------------------- [SECTION] bitmaps

std::unique_ptr<OffscreenBitmap> QtSurface::DoCreateOffscreen(int width, int height, bool monochrome) {
  return std::make_unique<QtOffscreenBitmap>(width, height, monochrome, m_scale);
}

void QtSurface::DoCopyBitmap(TPoint point, const OffscreenBitmap& bitmap) {
  SyncClip();
  QPainter& painter = *m_painter;
  painter.save();
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  if (const auto* qtBitmap = dynamic_cast<const QtOffscreenBitmap*>(&bitmap)) {
    painter.drawImage(QPoint(point.x, point.y), qtBitmap->Image());
  } else {
    painter.drawImage(QPoint(point.x, point.y), ToQImage(bitmap.Snapshot()));
  }
  painter.restore();
}

QtOffscreenBitmap::QtOffscreenBitmap(int width, int height, bool monochrome, double pixelScale)
    : OffscreenBitmap(width, height, monochrome, pixelScale),
      m_image(static_cast<int>(std::ceil(width * pixelScale)), static_cast<int>(std::ceil(height * pixelScale)),
              monochrome ? QImage::Format_MonoLSB : QImage::Format_RGB32) {
  // Without its pixels the bitmap would take every drawing silently and show nothing.
  if (m_image.isNull()) throw std::bad_alloc();
  m_image.setDevicePixelRatio(pixelScale);
  if (monochrome) {
    // Index 0 black, 1 white: painting maps each colour to the nearer of the two.
    m_image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    m_image.fill(1);
  } else {
    m_image.fill(Qt::white);
  }
  m_surface = std::make_unique<QtSurface>(m_image);
}

QtOffscreenBitmap::~QtOffscreenBitmap() = default;

Picture QtOffscreenBitmap::DoSnapshot() const { return ToPicture(m_image); }

}  // namespace tarvela
