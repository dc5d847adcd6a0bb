// QtSurface realises the raster conventions of Surface on QPainter.
//
// Contents: [SECTION] conversions, construction, pens and brushes, shapes, text,
// fills and pictures, clipping, bitmaps.
//
// Geometry. With antialiasing off, QPainter's fills cover the pixels whose centres lie
// inside the shape, which is the raster contract for fills, polygons and clip regions.
// Its cosmetic (width 0) lines set pixel (x, y) for the point (x, y) but leave out
// whichever end comes last in their own drawing order, not always the end point, so on
// the raster engine one-pixel lines (LineTo, Polyline, a rectangle's outline) are laid
// out here, pixel by pixel, and painted as runs; the dash patterns of styled and
// alternate pens run along those pixels. A rectangle's outline is the path
// left..right-1, top..bottom-1 with each edge's end left out. Outlines of curved shapes
// and polygons use the cosmetic pen directly: they are closed, so no end is left out. Wider pens are centred on pixel centres (x + 0.5) with round caps and joins, and
// psInsideFrame keeps them inside the rectangle.
//
// Pen modes. QPainter's raster-operation composition modes combine the source and the
// destination per pixel, but QPainter fills a shape and then strokes it, so the pixels
// under both would be combined twice (wrong for xor-like modes). A shape in a mode other
// than copy is therefore painted in copy mode into a transparent layer, and the layer is
// combined with the device once, clipped to the pixels the layer covers.
// Raster operations exist only on the raster engine; elsewhere the modes fall back as
// the header says, because a vector device cannot read back what it drew.

#include "platform/qt/qt_surface.h"

#include <QBitmap>
#include <QFontMetrics>
#include <QPaintEngine>
#include <QPolygon>
#include <QRegion>
#include <QString>
#include <algorithm>
#include <array>
#include <cmath>
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
  for (const TPoint& p : points) {
    left = std::min(left, p.x);
    right = std::max(right, p.x);
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  return QRect(QPoint(Near(left), Near(top)), QPoint(Near(right), Near(bottom)));
}

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

// Dash lengths in pixels of the one-pixel styled pens.
QList<qreal> DashPatternOf(TPenStyle style) {
  switch (style) {
    case psDash: return {18, 6};
    case psDot: return {3, 3};
    case psDashDot: return {9, 6, 3, 6};
    case psDashDotDot: return {9, 3, 3, 3, 3, 3};
    default: return {};
  }
}

// The pixels of one-pixel lines, collected as runs so that every pixel is set once, each
// segment leaves out its end point whatever its direction (QPainter's cosmetic lines
// leave out whichever end comes last in their own drawing order), and the dash pattern
// runs on from one segment to the next. Only pixels inside the window are visited, so a
// line far longer than the device costs no more than one across it.
class PixelLines {
 public:
  PixelLines(const QList<qreal>& dashes, const QRect& window) : m_window(window) {
    for (qreal dash : dashes) {
      m_dashes.push_back(static_cast<int>(dash));
      m_period += static_cast<int>(dash);
    }
  }

  // Steps along the longer axis; the shorter one follows the ideal line rounded half away
  // from the start, so a line and its reverse cover the same pixels but their ends.
  void Add(TPoint from, TPoint to) {
    if (from == to) return;
    if (!Small(from) || !Small(to)) {
      // Integer stepping would overflow: cut the line to the window's neighbourhood
      // first. Its pixels there may then differ by one from the uncut line's.
      long long skipped = 0;
      if (!CutToWindow(from, to, skipped)) return;
      Advance(skipped);
      if (from == to) return;
    }
    const long long dx = to.x - from.x, dy = to.y - from.y;
    const long long adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
    const bool alongX = adx >= ady;
    const long long major = alongX ? adx : ady, minor = alongX ? ady : adx;
    const int majorStep = (alongX ? dx : dy) < 0 ? -1 : 1;
    const int minorStep = (alongX ? dy : dx) < 0 ? -1 : 1;
    const int majorStart = alongX ? from.x : from.y, minorStart = alongX ? from.y : from.x;
    const int majorLow = alongX ? m_window.left() : m_window.top();
    const int majorHigh = alongX ? m_window.right() : m_window.bottom();
    // The steps whose major coordinate lies in the window.
    long long first = 0, last = major - 1;
    if (majorStep > 0) {
      first = std::max(first, static_cast<long long>(majorLow) - majorStart);
      last = std::min(last, static_cast<long long>(majorHigh) - majorStart);
    } else {
      first = std::max(first, static_cast<long long>(majorStart) - majorHigh);
      last = std::min(last, static_cast<long long>(majorStart) - majorLow);
    }
    if (first > last) {
      Advance(major);
      return;
    }
    if (minor == 0 && m_period == 0) {
      // A solid horizontal or vertical line (frames, grids) is one run: no stepping.
      const int minorLow = alongX ? m_window.top() : m_window.left();
      const int minorHigh = alongX ? m_window.bottom() : m_window.right();
      if (minorStart < minorLow || minorStart > minorHigh) return;
      const int a = majorStart + majorStep * static_cast<int>(first);
      const int b = majorStart + majorStep * static_cast<int>(last);
      const QPoint low = alongX ? QPoint(std::min(a, b), minorStart) : QPoint(minorStart, std::min(a, b));
      const QPoint high = alongX ? QPoint(std::max(a, b), minorStart) : QPoint(minorStart, std::max(a, b));
      m_lit.emplace_back(low, high);
      return;
    }
    Advance(first);
    for (long long i = first; i <= last; ++i) {
      const int along = majorStart + majorStep * static_cast<int>(i);
      const int across = minorStart + minorStep * static_cast<int>((2 * i * minor + major) / (2 * major));
      const QPoint pixel = alongX ? QPoint(along, across) : QPoint(across, along);
      if (m_window.contains(pixel)) {
        Put(pixel);
      } else {
        Advance(1);
      }
    }
    Advance(major - 1 - last);
  }

  void Paint(QPainter& painter) const {
    const QColor lineColor = painter.pen().color();
    const bool opaqueGaps = painter.backgroundMode() == Qt::OpaqueMode;
    const QColor gapColor = painter.background().color();
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(lineColor);
    painter.drawRects(m_lit.data(), static_cast<int>(m_lit.size()));
    if (opaqueGaps && !m_gaps.empty()) {
      painter.setBrush(gapColor);
      painter.drawRects(m_gaps.data(), static_cast<int>(m_gaps.size()));
    }
    painter.restore();
  }

 private:
  static constexpr int kSmall = 1 << 20;  // 2 × kSmall² still fits in 64 bits

  static bool Small(TPoint p) { return p.x >= -kSmall && p.x <= kSmall && p.y >= -kSmall && p.y <= kSmall; }

  // Cuts the segment to the window grown by a margin (parametric clipping), keeping its
  // direction; skipped is the number of steps cut from its start.
  bool CutToWindow(TPoint& from, TPoint& to, long long& skipped) const {
    const QRect area = m_window.adjusted(-2, -2, 2, 2);
    const double x0 = from.x, y0 = from.y, dx = double(to.x) - from.x, dy = double(to.y) - from.y;
    double t0 = 0, t1 = 1;
    const auto edge = [&](double p, double q) {
      if (p == 0) return q >= 0;
      const double t = q / p;
      if (p < 0) {
        if (t > t1) return false;
        t0 = std::max(t0, t);
      } else {
        if (t < t0) return false;
        t1 = std::min(t1, t);
      }
      return true;
    };
    if (!edge(-dx, x0 - area.left()) || !edge(dx, area.right() - x0) || !edge(-dy, y0 - area.top()) ||
        !edge(dy, area.bottom() - y0)) {
      return false;
    }
    skipped = std::llround(t0 * std::max(std::abs(dx), std::abs(dy)));
    from = {static_cast<int>(std::lround(x0 + t0 * dx)), static_cast<int>(std::lround(y0 + t0 * dy))};
    to = {static_cast<int>(std::lround(x0 + t1 * dx)), static_cast<int>(std::lround(y0 + t1 * dy))};
    return true;
  }

  void Advance(long long pixels) {
    if (m_period > 0) m_patternPos = static_cast<int>((m_patternPos + pixels) % m_period);
  }

  bool Lit() const {
    if (m_period == 0) return true;
    int end = 0;
    for (std::size_t i = 0; i < m_dashes.size(); ++i) {
      end += m_dashes[i];
      if (m_patternPos < end) return i % 2 == 0;
    }
    return true;
  }

  void Put(QPoint pixel) {
    std::vector<QRect>& runs = Lit() ? m_lit : m_gaps;
    Advance(1);
    if (!runs.empty() && Extends(runs.back(), pixel)) return;
    runs.emplace_back(pixel, QSize(1, 1));
  }

  // Grows a one-pixel-high or one-pixel-wide run by an adjacent pixel.
  static bool Extends(QRect& run, QPoint pixel) {
    const bool inRow = run.height() == 1 && run.top() == pixel.y();
    const bool inColumn = run.width() == 1 && run.left() == pixel.x();
    if (inRow && pixel.x() == run.right() + 1) {
      run.setRight(pixel.x());
    } else if (inRow && pixel.x() == run.left() - 1) {
      run.setLeft(pixel.x());
    } else if (inColumn && pixel.y() == run.bottom() + 1) {
      run.setBottom(pixel.y());
    } else if (inColumn && pixel.y() == run.top() - 1) {
      run.setTop(pixel.y());
    } else {
      return false;
    }
    return true;
  }

  QRect m_window;
  std::vector<int> m_dashes;
  int m_period = 0;
  int m_patternPos = 0;
  std::vector<QRect> m_lit;
  std::vector<QRect> m_gaps;
};

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

QtSurface::~QtSurface() = default;

void QtSurface::Init() {
  QPaintDevice* device = m_painter->device();
  if (device != nullptr && device->devType() == QInternal::Image) m_image = static_cast<const QImage*>(device);
  const QPaintEngine* engine = m_painter->paintEngine();
  // Other engines may claim raster operations (the SVG one does) but cannot read back.
  m_raster = engine != nullptr && engine->type() == QPaintEngine::Raster;
  m_painter->setRenderHint(QPainter::Antialiasing, false);
  m_painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
  m_painter->setBrushOrigin(0, 0);
}

// ---------------------------------------------------------------- [SECTION] pens and brushes

bool QtSurface::HasPen() const { return Pen().alternate || Pen().style != psClear; }

int QtSurface::PenWidth() const { return Pen().alternate ? 1 : Pen().width; }

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
    // Width 0 is Qt's cosmetic one-pixel pen (for the outlines Qt strokes itself).
    QPen qpen(color, 0);
    qpen.setCapStyle(Qt::FlatCap);
    qpen.setJoinStyle(Qt::MiterJoin);
    if (pen.alternate) {
      qpen.setDashPattern({1, 1});
    } else if (const QList<qreal> dashes = DashPatternOf(pen.style); !dashes.isEmpty()) {
      qpen.setDashPattern(dashes);
    }
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

void QtSurface::SelectBackground(QPainter& painter) const {
  painter.setBackgroundMode(BackgroundMode() == BkMode::Opaque ? Qt::OpaqueMode : Qt::TransparentMode);
  painter.setBackground(QBrush(ToRgbColor(BackgroundColor())));
}

void QtSurface::SelectPenAndBrush(QPainter& painter, ColorChange change) const {
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(MakePen(change));
  painter.setBrush(MakeBrush(change));
  SelectBackground(painter);
}

// ---------------------------------------------------------------- [SECTION] shapes

template <class Draw>
void QtSurface::DrawShape(const QRect& bounds, Draw&& draw) {
  const TPenMode mode = Pen().mode;
  if (mode == pmNop) return;
  QPainter& painter = *m_painter;
  if (mode == pmCopy || !m_raster) {
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

void QtSurface::PaintPixelPath(QPainter& painter, std::span<const TPoint> points) const {
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
  PixelLines lines(Pen().alternate ? QList<qreal>{1, 1} : DashPatternOf(Pen().style), window);
  for (std::size_t i = 1; i < points.size(); ++i) lines.Add(points[i - 1], points[i]);
  lines.Paint(painter);
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
  DrawShape(BoundsOf(std::array{from, to}), [&](QPainter& painter) {
    if (width == 1) {
      PaintPixelPath(painter, std::array{from, to});
    } else if (from == to) {
      painter.drawPoint(PixelCentre(from));
    } else {
      painter.drawLine(PixelCentre(from), PixelCentre(to));
    }
  });
}

void QtSurface::DoPolyline(std::span<const TPoint> points) {
  if (!HasPen()) return;
  DrawShape(BoundsOf(points), [&](QPainter& painter) {
    painter.setBrush(Qt::NoBrush);
    if (PenWidth() == 1) {
      PaintPixelPath(painter, points);
    } else {
      painter.drawPolyline(ToCentredPolygon(points));
    }
  });
}

void QtSurface::DoPolygon(std::span<const TPoint> points) {
  DrawShape(BoundsOf(points), [&](QPainter& painter) {
    if (PenWidth() > 1 && HasPen()) {
      painter.drawPolygon(ToCentredPolygon(points), Qt::OddEvenFill);
    } else {
      painter.drawPolygon(ToQPolygon(points), Qt::OddEvenFill);
    }
  });
}

void QtSurface::DoRectangle(const TRect& rect) {
  DrawShape(ToQRect(rect), [&](QPainter& painter) {
    const QBrush brush = painter.brush();
    if (brush.style() != Qt::NoBrush) painter.fillRect(ToQRect(rect), brush);
    if (!HasPen()) return;
    painter.setBrush(Qt::NoBrush);
    const int width = PenWidth();
    if (width > 1) {
      painter.drawRect(OutlineRect(rect));
      return;
    }
    const int right = rect.right - 1, bottom = rect.bottom - 1;
    const bool oneColumn = rect.right == rect.left + 1, oneRow = rect.bottom == rect.top + 1;
    if (oneColumn || oneRow) {
      // The outline is the whole rectangle: one end-exclusive line across it.
      const TPoint end = oneColumn ? TPoint{rect.left, rect.bottom} : TPoint{rect.right, rect.top};
      PaintPixelPath(painter, std::array{TPoint{rect.left, rect.top}, end});
      return;
    }
    // Clockwise round the edges, each end left out: every outline pixel once.
    PaintPixelPath(painter, std::array{TPoint{rect.left, rect.top}, TPoint{right, rect.top}, TPoint{right, bottom},
                                       TPoint{rect.left, bottom}, TPoint{rect.left, rect.top}});
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
  DrawShape(ToQRect(rect), [&](QPainter& painter) { painter.drawPie(OutlineRect(rect), start16, span16); });
}

void QtSurface::DoSetPixel(TPoint point, TColor rgb) {
  m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
  m_painter->fillRect(QRect(point.x, point.y, 1, 1), ToRgbColor(rgb));
}

TColor QtSurface::DoGetPixel(TPoint point) const {
  if (m_image == nullptr || !m_image->valid(point.x, point.y)) return clNone;
  const QRgb pixel = m_image->pixel(point.x, point.y);
  return RGBColor(qRed(pixel), qGreen(pixel), qBlue(pixel));
}

// ---------------------------------------------------------------- [SECTION] text

const QFont& QtSurface::RealisedFont() const {
  if (m_realisedFor && m_realisedFor->first == Font() && m_realisedFor->second == m_textAntialiasing) {
    return m_realisedFont;
  }
  const SurfaceFont& font = Font();
  QFont qfont(QString::fromStdString(font.name));
  qfont.setBold(font.HasStyle(fsBold));
  qfont.setItalic(font.HasStyle(fsItalic));
  qfont.setUnderline(font.HasStyle(fsUnderline));
  qfont.setStrikeOut(font.HasStyle(fsStrikeOut));
  qfont.setStyleStrategy(m_textAntialiasing ? QFont::PreferDefault : QFont::NoAntialias);
  if (font.height < 0) {
    // A character height is what Qt calls the pixel size.
    qfont.setPixelSize(-font.height);
  } else {
    // A cell height: the largest pixel size whose cell fits.
    int pixels = std::max(1, font.height);
    qfont.setPixelSize(pixels);
    for (int attempt = 0; attempt < 8 && pixels > 1; ++attempt) {
      const int cell = QFontMetrics(qfont, m_painter->device()).height();
      if (cell <= font.height) break;
      pixels = std::max(1, std::min(pixels - 1, pixels * font.height / cell));
      qfont.setPixelSize(pixels);
    }
  }
  m_realisedFont = qfont;
  m_realisedFor.emplace(font, m_textAntialiasing);
  return m_realisedFont;
}

void QtSurface::DoTextOut(TPoint point, std::string_view text) {
  const QFont& font = RealisedFont();
  const QString qtext = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  const QFontMetrics metrics(font, m_painter->device());
  const int width = metrics.horizontalAdvance(qtext);
  const int height = metrics.height();
  int left = 0;
  if (HorizontalAlignOf(TextAlign()) == HorizontalAlign::Right) left = -width;
  if (HorizontalAlignOf(TextAlign()) == HorizontalAlign::Center) left = -(width / 2);
  int top = 0;
  if (VerticalAlignOf(TextAlign()) == VerticalAlign::Bottom) top = -height;
  if (VerticalAlignOf(TextAlign()) == VerticalAlign::Baseline) top = -metrics.ascent();

  QPainter& painter = *m_painter;
  painter.save();
  painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter.setRenderHint(QPainter::TextAntialiasing, m_textAntialiasing);
  painter.translate(point.x, point.y);
  // The escapement turns the text counter-clockwise about the reference point.
  if (Font().escapement % 3600 != 0) painter.rotate(-Font().escapement / 10.0);
  if (BackgroundMode() == BkMode::Opaque) painter.fillRect(QRect(left, top, width, height), ToRgbColor(BackgroundColor()));
  painter.setBackgroundMode(Qt::TransparentMode);
  painter.setFont(font);
  painter.setPen(ToRgbColor(Font().color));
  painter.drawText(QPoint(left, top + metrics.ascent()), qtext);
  painter.restore();
}

TextSize QtSurface::DoTextExtent(std::string_view text) const {
  const QFontMetrics metrics(RealisedFont(), m_painter->device());
  const QString qtext = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  return {metrics.horizontalAdvance(qtext), metrics.height()};
}

// ---------------------------------------------------------------- [SECTION] fills and pictures

void QtSurface::FillWithBrush(const TRect& rect) {
  const QBrush brush = MakeBrush(ColorChange::None);
  if (brush.style() == Qt::NoBrush) return;
  m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
  SelectBackground(*m_painter);
  m_painter->fillRect(ToQRect(rect), brush);
}

void QtSurface::DoFillRect(const TRect& rect) { FillWithBrush(rect); }

void QtSurface::DoPatternFill(const TRect& rect) { FillWithBrush(rect); }

void QtSurface::DoDrawPicture(TPoint point, const Picture& picture) {
  m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
  m_painter->drawImage(QPoint(point.x, point.y), ToQImage(picture));
}

void QtSurface::DoStretchPicture(const TRect& rect, const Picture& picture) {
  m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
  m_painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
  m_painter->drawImage(ToQRectF(rect), ToQImage(picture));
}

// ---------------------------------------------------------------- [SECTION] clipping

void QtSurface::DoIntersectClipRect(const TRect& rect) {
  m_painter->setClipRect(ToQRect(rect), m_painter->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
}

void QtSurface::DoSelectClipRect(const TRect& rect) { m_painter->setClipRect(ToQRect(rect), Qt::ReplaceClip); }

void QtSurface::DoSelectClipPolygon(std::span<const TPoint> points) {
  m_painter->setClipRegion(QRegion(ToQPolygon(points), Qt::OddEvenFill), Qt::ReplaceClip);
}

void QtSurface::DoRemoveClipping() { m_painter->setClipping(false); }

// ---------------------------------------------------------------- [SECTION] bitmaps

std::unique_ptr<OffscreenBitmap> QtSurface::DoCreateOffscreen(int width, int height, bool monochrome) {
  return std::make_unique<QtOffscreenBitmap>(width, height, monochrome);
}

void QtSurface::DoCopyBitmap(TPoint point, const OffscreenBitmap& bitmap) {
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

QtOffscreenBitmap::QtOffscreenBitmap(int width, int height, bool monochrome)
    : OffscreenBitmap(width, height, monochrome),
      m_image(width, height, monochrome ? QImage::Format_MonoLSB : QImage::Format_RGB32) {
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
