// The 3D canvas: surface attachment, the projection, the paint buffer, the plain 2D
// and 3D operations and text. The composite solids and fills are in canvas_solids.cpp.
//
// Contents
//   [SECTION] Detached surface
//   [SECTION] TZavCanvas
//   [SECTION] Projection
//   [SECTION] Paint buffer
//   [SECTION] Surface state
//   [SECTION] 2D operations
//   [SECTION] Text
//   [SECTION] 3D lines and faces

#include "tarvela/chart/canvas/canvas3d.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "tarvela/chart/panel/panel.h"
#include "tarvela/chart/canvas/pixel_round.h"
#include "tarvela/runtime/rounding.h"

namespace tarvela {

// [SECTION] Detached surface

namespace {

// What a canvas draws on while no surface is attached: it keeps the state that is set
// and draws nothing, so that no operation has to ask whether a surface exists.
class DetachedSurface final : public Surface {
 protected:
  void DoLineTo(TPoint, TPoint) override {}
  void DoPolyline(std::span<const TPoint>) override {}
  void DoPolygon(std::span<const TPoint>) override {}
  void DoRectangle(const TRect&) override {}
  void DoRoundRect(const TRect&, int, int) override {}
  void DoEllipse(const TRect&) override {}
  void DoArc(const TRect&, TPoint, TPoint) override {}
  void DoPie(const TRect&, TPoint, TPoint) override {}
  void DoSetPixel(TPoint, TColor) override {}
  TColor DoGetPixel(TPoint) const override { return clNone; }
  void DoTextOut(TPoint, std::string_view) override {}
  TextSize DoTextExtent(std::string_view) const override { return {}; }
  void DoFillRect(const TRect&) override {}
  void DoPatternFill(const TRect&) override {}
  void DoDrawPicture(TPoint, const Picture&) override {}
  void DoStretchPicture(const TRect&, const Picture&) override {}
  void DoIntersectClipRect(const TRect&) override {}
  void DoSelectClipRect(const TRect&) override {}
  void DoSelectClipPolygon(std::span<const TPoint>) override {}
  void DoRemoveClipping() override {}
  std::unique_ptr<OffscreenBitmap> DoCreateOffscreen(int width, int height, bool monochrome) override;
  void DoCopyBitmap(TPoint, const OffscreenBitmap&) override {}
};

class DetachedBitmap final : public OffscreenBitmap {
 public:
  DetachedBitmap(int width, int height, bool monochrome) : OffscreenBitmap(width, height, monochrome) {}

 protected:
  Surface& DoDrawingSurface() override { return m_surface; }
  Picture DoSnapshot() const override { return Picture(Width(), Height()); }

 private:
  DetachedSurface m_surface;
};

std::unique_ptr<OffscreenBitmap> DetachedSurface::DoCreateOffscreen(int width, int height, bool monochrome) {
  return std::make_unique<DetachedBitmap>(width, height, monochrome);
}

// Pixels are 32-bit. Only absurd settings (a huge perspective or offset) reach beyond;
// such a result is held at the limit: the canvas neither fails nor wraps around.
int Saturated(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

std::int64_t RoundedWide(long double value) {
  if (std::isnan(value)) return 0;
  return PixelRound(std::clamp(value, -0x1p62L, 0x1p62L));
}

// round(value) + offset, rounding halves to even before the offset is added.
int ToPixel(long double value, std::int64_t offset) { return Saturated(RoundedWide(value) + offset); }

constexpr long double kRadiansPerDegree = std::numbers::pi_v<long double> / 180.0L;

}  // namespace

// [SECTION] TZavCanvas

TZavCanvas::TZavCanvas() : m_detached(std::make_unique<DetachedSurface>()) { m_surface = m_detached.get(); }

TZavCanvas::~TZavCanvas() = default;

void TZavCanvas::AttachSurface(Surface* surface) {
  m_attached = surface;
  m_surface = surface != nullptr ? surface : m_detached.get();
}

void TZavCanvas::ResetDrawingState() {
  Surface& surface = *m_surface;
  // The pen mode is left as it is: whoever draws in another mode sets copy back.
  SurfacePen pen = surface.Pen();
  pen.color = clBlack;
  pen.width = 1;
  pen.style = psSolid;
  pen.alternate = false;
  surface.SetPen(pen);
  surface.SetBrush(SurfaceBrush{clWhite, bsSolid, std::nullopt});
  SurfaceFont font = surface.Font();
  font.color = clBlack;
  font.SetSize(10);
  surface.SetFont(font);
  surface.SetBackgroundColor(clWhite);
  surface.SetBackgroundMode(BkMode::Transparent);
}

void TZavCanvas::ApplyChartPen(const TChartPen& pen) {
  Surface& surface = *m_surface;
  if (!pen.Visible()) {
    surface.SetPenStyle(psClear);
    return;
  }
  SurfacePen realised{pen.Color(), pen.Width(), pen.Style(), pen.Mode(), false};
  // Dots only make sense on one-pixel lines; a wider dotted pen draws its style.
  if (pen.SmallDots() && pen.Width() == 1) realised.alternate = true;
  surface.SetPen(realised);
}

// [SECTION] Projection

TZavCanvas3D::TZavCanvas3D(TCustomZavPanel* owner) : m_owner(owner) {}

TZavCanvas3D::~TZavCanvas3D() = default;

int TZavCanvas3D::RoundPixel(long double value) { return Saturated(RoundedWide(value)); }

TPoint TZavCanvas3D::ProjectPoint(int x, int y, int z) const {
  // The oblique projection wins even while flat drawing has cleared the 3D flag: text
  // and legend drawn flat must still follow the zoom and offsets of the picture.
  if (m_orthogonal) {
    const std::int64_t wholeX = std::int64_t{x} - m_xCenter + z;
    const std::int64_t wholeY = std::int64_t{y} - m_yCenter - z;
    // Without zoom the offsets are whole: Round leaves them as they are.
    if (m_zoom == 1.0) return {Saturated(wholeX + m_xCenterOffset), Saturated(wholeY + m_yCenterOffset)};
    // One rounding of a whole number times the zoom, in double: within 2^-52 of the long
    // double product, which itself is within 2^-64.
    std::int64_t zoomedX = 0, zoomedY = 0;
    if (RoundNear(static_cast<double>(wholeX) * m_zoom, zoomedX) &&
        RoundNear(static_cast<double>(wholeY) * m_zoom, zoomedY)) {
      return {Saturated(zoomedX + m_xCenterOffset), Saturated(zoomedY + m_yCenterOffset)};
    }
    const long double zoom = m_zoom;
    const long double dx = static_cast<long double>(x) - m_xCenter + z;
    const long double dy = static_cast<long double>(y) - m_yCenter - z;
    return {ToPixel(dx * zoom, m_xCenterOffset), ToPixel(dy * zoom, m_yCenterOffset)};
  }
  if (!m_view3D) return {x, y};
  const TProjectionCoefficients& c = m_coefficients;
  const long double dx = static_cast<long double>(x) - m_xCenter;
  const long double dy = static_cast<long double>(y) - m_yCenter;
  const long double dz = static_cast<long double>(z) - m_zCenter;
  long double factor = m_zoom;
  if (m_perspective > 0) {
    const long double depth = dx * c.cosESinR - dy * c.sinE + dz * c.cosECosR;
    factor = static_cast<long double>(m_zoom) * (1.0L - static_cast<long double>(m_perspective) * depth);
  }
  return {ToPixel((dx * c.xx + dy * c.xy + dz * c.xz) * factor, m_xCenterOffset),
          ToPixel((dx * c.yx + dy * c.yy + dz * c.yz) * factor, m_yCenterOffset)};
}

void TZavCanvas3D::UnprojectPoint(int& x, int& y, int z) const {
  if (m_zoom == 0) return;
  const long double k = 1.0L / static_cast<long double>(m_zoom);
  if (m_orthogonal) {
    x = ToPixel((static_cast<long double>(x) - m_xCenterOffset) * k, std::int64_t{m_xCenter} - z);
    y = ToPixel((static_cast<long double>(y) - m_yCenterOffset) * k, std::int64_t{m_yCenter} + z);
    return;
  }
  if (!m_view3D) return;
  const TProjectionCoefficients& c = m_coefficients;
  if (c.xx == 0 || c.yy == 0) return;
  // First order only: perspective is ignored, and each cross term uses the other
  // coordinate as it came in, still in screen units. Good enough near the centre,
  // where the mouse asks.
  const long double x0 = x;
  const long double y0 = y;
  const long double dz = static_cast<long double>(z) - m_zCenter;
  x = ToPixel(((x0 - m_xCenterOffset) * k - dz * c.xz - (y0 - m_yCenter) * c.xy) / c.xx, m_xCenter);
  y = ToPixel(((y0 - m_yCenterOffset) * k - dz * c.yz - (x0 - m_xCenter) * c.yx) / c.yy, m_yCenter);
}

void TZavCanvas3D::ComputeCoefficients() {
  long double rotation = 0, elevation = 0, tilt = 0;
  if (m_options != nullptr) {
    rotation = m_options->Rotation() * kRadiansPerDegree;
    elevation = m_options->Elevation() * kRadiansPerDegree;
    tilt = m_options->Tilt() * kRadiansPerDegree;
  }
  const long double sinR = std::sin(rotation), cosR = std::cos(rotation);
  const long double sinE = std::sin(elevation), cosE = std::cos(elevation);
  const long double sinT = std::sin(tilt), cosT = std::cos(tilt);
  TProjectionCoefficients& c = m_coefficients;
  // The clamps keep xx and yy strictly positive, so the inverse can divide by them.
  c.xx = static_cast<double>(std::max(0.00001L, sinR * sinE * sinT + cosR * cosT));
  c.xy = static_cast<double>(cosE * sinT);
  c.xz = static_cast<double>(cosR * sinE * sinT - cosT * sinR);
  c.yx = static_cast<double>(cosT * sinR * sinE - cosR * sinT);
  c.yy = static_cast<double>(std::max(0.00001L, cosE * cosT));
  c.yz = static_cast<double>(cosR * cosT * sinE + sinR * sinT);
  c.sinE = static_cast<double>(sinE);
  c.cosESinR = static_cast<double>(cosE * sinR);
  c.cosECosR = static_cast<double>(cosE * cosR);
  m_perspective = 0;
}

void TZavCanvas3D::SetProjectionCenter(int depth, const TRect& /*bounds*/, const TRect& chartRect) {
  m_xCenter = static_cast<int>((static_cast<long long>(chartRect.left) + chartRect.right) / 2);
  m_yCenter = static_cast<int>((static_cast<long long>(chartRect.top) + chartRect.bottom) / 2);
  m_zCenter = depth / 2;
  m_xCenterOffset = m_xCenter;
  m_yCenterOffset = m_yCenter;
  if (m_options == nullptr) return;
  m_xCenterOffset = Saturated(std::int64_t{m_xCenter} + m_options->HorizOffset());
  m_yCenterOffset = Saturated(std::int64_t{m_yCenter} + m_options->VertOffset());
  if (m_options->Perspective() > 0) m_perspective = m_options->Perspective() / 35000.0;
}

void TZavCanvas3D::BeginFlatDrawing() {
  m_savedView3D = m_view3D;
  m_view3D = false;
}

void TZavCanvas3D::EndFlatDrawing() { m_view3D = m_savedView3D; }

// [SECTION] Paint buffer

TRect TZavCanvas3D::BeginDrawing(Surface& destination, const TView3DOptions* options, TColor /*panelColor*/,
                                 bool view3D, const TRect& userRect) {
  m_bounds = userRect;
  m_options = options;
  m_view3D = view3D;
  m_orthogonal = false;
  m_zoom = 1.0;
  if (m_view3D && m_options != nullptr) {
    m_orthogonal = m_options->Orthogonal();
    m_zoom = m_options->Zoom() * 0.01;
    m_textZoom = m_options->ZoomText();
  }
  // The oblique projection needs no trigonometry at all.
  if (m_view3D && !m_orthogonal) ComputeCoefficients();

  if (!m_buffered) {
    AttachSurface(&destination);
    return userRect;
  }
  const int width = userRect.Width();
  const int height = userRect.Height();
  // A surface makes bitmaps of at least one pixel; compare with what it made.
  if (m_bitmap != nullptr && (m_bitmap->Width() != std::max(1, width) || m_bitmap->Height() != std::max(1, height) ||
                              m_bitmap->PixelScale() != destination.PixelScale()))
    DiscardBitmap();
  if (m_bitmap == nullptr) m_bitmap = destination.CreateOffscreen(width, height, m_monochrome);
  AttachSurface(&m_bitmap->DrawingSurface());
  return {0, 0, width, height};
}

void TZavCanvas3D::EndDrawing(Surface& destination, Surface* defaultSurface, const TRect& userRect) {
  if (m_buffered && m_bitmap != nullptr) {
    destination.CopyBitmap(userRect.left, userRect.top, *m_bitmap);
    m_dirty = false;
  }
  AttachSurface(defaultSurface);
}

bool TZavCanvas3D::RepaintFromBuffer() {
  // The bitmap check only guards a canvas that was never painted buffered.
  if (m_dirty || m_bitmap == nullptr) return false;
  // A window moved to a screen of another density is drawn anew at its pixels.
  if (m_bitmap->PixelScale() != CurrentSurface().PixelScale()) return false;
  CurrentSurface().CopyBitmap(0, 0, *m_bitmap);
  return true;
}

void TZavCanvas3D::DiscardBitmap() {
  // A paint never runs while the bitmap is discarded, but detach anyway so that the
  // canvas cannot keep drawing on a freed surface.
  if (m_bitmap != nullptr && AttachedSurface() == &m_bitmap->DrawingSurface()) AttachSurface(nullptr);
  m_bitmap.reset();
}

void TZavCanvas3D::SetMonochromeMode(bool monochrome) {
  if (monochrome == m_monochrome) return;
  m_monochrome = monochrome;
  DiscardBitmap();
  m_dirty = true;
  if (m_owner != nullptr) m_owner->Invalidate();
}

void TZavCanvas3D::SetBuffered(bool buffered) {
  m_buffered = buffered;
  if (!buffered && m_bitmap != nullptr) {
    DiscardBitmap();
    m_dirty = true;
  }
}

void TZavCanvas3D::CopySettings(const TCanvas3D& other) { SetMonochromeMode(other.MonochromeMode()); }

// [SECTION] Surface state

TColor TZavCanvas3D::TextBackColor() const { return CurrentSurface().BackgroundColor(); }

BkMode TZavCanvas3D::TextBackMode() const { return CurrentSurface().BackgroundMode(); }

Surface* TZavCanvas3D::SurfaceHandle() const { return AttachedSurface(); }

int TZavCanvas3D::TextAlignFlags() const { return CurrentSurface().TextAlign(); }

void TZavCanvas3D::SetTextBackColor(TColor color) { CurrentSurface().SetBackgroundColor(color); }

void TZavCanvas3D::SetTextBackMode(BkMode mode) { CurrentSurface().SetBackgroundMode(mode); }

void TZavCanvas3D::SetTextAlignFlags(int flags) { CurrentSurface().SetTextAlign(flags); }

// [SECTION] 2D operations

void TZavCanvas3D::PutPixel(int x, int y, TColor color) { CurrentSurface().SetPixel(x, y, color); }

void TZavCanvas3D::DrawArc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  CurrentSurface().Arc(x1, y1, x2, y2, x3, y3, x4, y4);
}

void TZavCanvas3D::DrawGraphic(int x, int y, const Picture* picture) {
  if (picture == nullptr || picture->Empty()) return;
  Surface& surface = CurrentSurface();
  // A two-colour picture would be drawn in these colours. The pictures of a surface
  // carry their own, so what remains is the state later text and hatches see.
  surface.SetBackgroundColor(surface.Brush().color);
  surface.DrawPicture(x, y, *picture);
}

void TZavCanvas3D::DrawEllipse(int x1, int y1, int x2, int y2) { CurrentSurface().Ellipse(x1, y1, x2, y2); }

void TZavCanvas3D::FillRectangle(const TRect& rect) { CurrentSurface().FillRect(rect); }

void TZavCanvas3D::LineTo2D(int x, int y) { CurrentSurface().LineTo(x, y); }

void TZavCanvas3D::MoveTo2D(int x, int y) { CurrentSurface().MoveTo(x, y); }

void TZavCanvas3D::DrawPieSlice(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  CurrentSurface().Pie(x1, y1, x2, y2, x3, y3, x4, y4);
}

void TZavCanvas3D::DrawRectangle(int x1, int y1, int x2, int y2) { CurrentSurface().Rectangle(x1, y1, x2, y2); }

void TZavCanvas3D::DrawRoundRectangle(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) {
  CurrentSurface().RoundRect(x1, y1, x2, y2, cornerWidth, cornerHeight);
}

void TZavCanvas3D::StretchGraphic(const TRect& rect, const Picture* picture) {
  if (picture == nullptr) return;
  CurrentSurface().StretchPicture(rect, *picture);
}

void TZavCanvas3D::ClipToRectangle(const TRect& rect) {
  // Surface coordinates are device pixels already: there is no logical mapping to undo.
  CurrentSurface().IntersectClipRect(rect);
}

void TZavCanvas3D::HorizontalLine2D(int x1, int x2, int y) { CurrentSurface().Line(x1, y, x2, y); }

void TZavCanvas3D::DrawRectangleRect(const TRect& rect) {
  CurrentSurface().Rectangle(rect.left, rect.top, rect.right, rect.bottom);
}

void TZavCanvas3D::VerticalLine2D(int x, int y1, int y2) { CurrentSurface().Line(x, y1, x, y2); }

void TZavCanvas3D::EraseArea(const TRect& rect) { FillRectangle(rect); }

void TZavCanvas3D::Line2D(int x1, int y1, int x2, int y2) { CurrentSurface().Line(x1, y1, x2, y2); }

void TZavCanvas3D::DrawPolygon(std::span<const TPoint> points) { CurrentSurface().Polygon(points); }

void TZavCanvas3D::Polyline2D(std::span<const TPoint> points) { CurrentSurface().Polyline(points); }

bool TZavCanvas3D::FastLineSegments2D(const TChartPen& pen) {
  Surface& surface = CurrentSurface();
  const SurfacePen saved = surface.Pen();
  ApplyChartPen(pen);
  const bool fast = surface.FastLineSegments();
  surface.SetPen(saved);
  return fast;
}

void TZavCanvas3D::LineSegments2D(std::span<const TPoint> points, std::span<const TColor> colors) {
  CurrentSurface().LineSegments(points, colors);
}

bool TZavCanvas3D::FastRectangles2D() const { return CurrentSurface().FastRectangles(); }

void TZavCanvas3D::Rectangles2D(std::span<const TRect> rects) { CurrentSurface().Rectangles(rects); }

void TZavCanvas3D::RemoveClipping() { CurrentSurface().RemoveClipping(); }

// [SECTION] Text

void TZavCanvas3D::WriteText(int x, int y, std::string_view text) {
  // The surface writes in the font colour: nothing to copy over first.
  CurrentSurface().TextOut(x, y, text);
}

int TZavCanvas3D::MeasureTextWidth(std::string_view text) { return CurrentSurface().TextWidth(text); }

int TZavCanvas3D::MeasureTextHeight(std::string_view text) { return CurrentSurface().TextHeight(text); }

int TZavCanvas3D::ZoomedFontSize(const SurfaceFont& font) const {
  return std::max<int>(1, RoundPixel(static_cast<long double>(font.Size()) * m_zoom));
}

void TZavCanvas3D::WriteText3D(int x, int y, int z, std::string_view text) {
  const TPoint p = ProjectPoint(x, y, z);
  Surface& surface = CurrentSurface();
  const SurfaceFont saved = surface.Font();
  // Most zooms leave the point size as it is; then the current font serves.
  const int size = ZoomedFontSize(saved);
  if (!m_textZoom || m_zoom == 1.0 || size == saved.Size()) {
    WriteText(p.x, p.y, text);
    return;
  }
  SurfaceFont zoomed = saved;
  zoomed.height = -MulDiv(size, saved.pixelsPerInch, 72);
  surface.SetFont(zoomed);
  WriteText(p.x, p.y, text);
  surface.SetFont(saved);
}

void TZavCanvas3D::WriteRotatedText(int x, int y, std::string_view text, int angle) {
  if (angle > 360) angle -= 360;
  Surface& surface = CurrentSurface();
  // Rotated text must not paint its background: the cell would stand upright over
  // whatever lies beside the turned text.
  surface.SetBrushStyle(bsClear);
  surface.SetBackgroundMode(BkMode::Transparent);
  const SurfaceFont saved = surface.Font();
  SurfaceFont rotated = saved;
  rotated.escapement = angle * 10;
  rotated.orientation = angle * 10;
  // Only outline faces turn.
  rotated.outputPrecision = kOutPrecisionTrueTypeOnly;
  if (m_textZoom && m_zoom != 1.0) rotated.height = -MulDiv(ZoomedFontSize(saved), saved.pixelsPerInch, 72);
  surface.SetFont(rotated);
  WriteText(x, y, text);
  surface.SetFont(saved);
}

void TZavCanvas3D::WriteRotatedText3D(int x, int y, int z, std::string_view text, int angle) {
  const TPoint p = ProjectPoint(x, y, z);
  WriteRotatedText(p.x, p.y, text, angle);
}

// [SECTION] 3D lines and faces

void TZavCanvas3D::PutPixel3D(int x, int y, int z, TColor color) {
  const TPoint p = ProjectPoint(x, y, z);
  Surface& surface = CurrentSurface();
  if (surface.Pen().width == 1) {
    surface.SetPixel(p.x, p.y, color);
  } else {
    surface.Line(p.x, p.y, p.x, p.y);
  }
}

void TZavCanvas3D::HorizontalLine3D(int x1, int x2, int y, int z) { LineAtDepth(x1, y, x2, y, z); }

void TZavCanvas3D::VerticalLine3D(int x, int y1, int y2, int z) { LineAtDepth(x, y1, x, y2, z); }

void TZavCanvas3D::DepthLine3D(int x, int y, int z0, int z1) {
  const TPoint from = ProjectPoint(x, y, z0);
  const TPoint to = ProjectPoint(x, y, z1);
  CurrentSurface().Line(from.x, from.y, to.x, to.y);
}

void TZavCanvas3D::LineAtDepth(int x1, int y1, int x2, int y2, int z) {
  const TPoint from = ProjectPoint(x1, y1, z);
  const TPoint to = ProjectPoint(x2, y2, z);
  CurrentSurface().Line(from.x, from.y, to.x, to.y);
}

void TZavCanvas3D::MoveToPoint3D(int x, int y, int z) {
  const TPoint p = ProjectPoint(x, y, z);
  CurrentSurface().MoveTo(p.x, p.y);
}

void TZavCanvas3D::LineToPoint3D(int x, int y, int z) {
  const TPoint p = ProjectPoint(x, y, z);
  CurrentSurface().LineTo(p.x, p.y);
}

void TZavCanvas3D::DrawScratchQuad() { CurrentSurface().Polygon(m_quad); }

void TZavCanvas3D::RibbonBetweenDepths(TPoint a, TPoint b, int z0, int z1) {
  m_quad[0] = ProjectPoint(a.x, a.y, z0);
  m_quad[1] = ProjectPoint(b.x, b.y, z0);
  m_quad[2] = ProjectPoint(b.x, b.y, z1);
  m_quad[3] = ProjectPoint(a.x, a.y, z1);
  DrawScratchQuad();
}

void TZavCanvas3D::QuadAtDepth(const std::array<TPoint, 4>& points, int z) {
  for (std::size_t i = 0; i < 4; ++i) m_quad[i] = ProjectPoint(points[i].x, points[i].y, z);
  DrawScratchQuad();
}

void TZavCanvas3D::QuadBetweenDepths(const std::array<TPoint, 4>& points, int z0, int z1) {
  m_quad[0] = ProjectPoint(points[0].x, points[0].y, z0);
  m_quad[1] = ProjectPoint(points[1].x, points[1].y, z0);
  m_quad[2] = ProjectPoint(points[2].x, points[2].y, z1);
  m_quad[3] = ProjectPoint(points[3].x, points[3].y, z1);
  DrawScratchQuad();
}

void TZavCanvas3D::PolygonAtDepth(std::span<const TPoint> points, int /*z*/) {
  // Callers hand over points they have projected already.
  DrawPolygon(points);
}

void TZavCanvas3D::RectangleAtDepth(const TRect& rect, int z) {
  m_quad[0] = ProjectPoint(rect.left, rect.top, z);
  m_quad[1] = ProjectPoint(rect.right, rect.top, z);
  m_quad[2] = ProjectPoint(rect.right, rect.bottom, z);
  m_quad[3] = ProjectPoint(rect.left, rect.bottom, z);
  DrawScratchQuad();
}

void TZavCanvas3D::FloorRectangle(int left, int y, int right, int z0, int z1) {
  m_quad[0] = ProjectPoint(left, y, z0);
  m_quad[1] = ProjectPoint(right, y, z0);
  m_quad[2] = ProjectPoint(right, y, z1);
  m_quad[3] = ProjectPoint(left, y, z1);
  DrawScratchQuad();
}

void TZavCanvas3D::SideRectangle(int x, int top, int bottom, int z0, int z1) {
  m_quad[0] = ProjectPoint(x, top, z0);
  m_quad[1] = ProjectPoint(x, top, z1);
  m_quad[2] = ProjectPoint(x, bottom, z1);
  m_quad[3] = ProjectPoint(x, bottom, z0);
  DrawScratchQuad();
}

void TZavCanvas3D::TriangleAtDepth(TPoint p0, TPoint p1, TPoint p2, int z) {
  const std::array<TPoint, 3> points = {ProjectPoint(p0.x, p0.y, z), ProjectPoint(p1.x, p1.y, z),
                                        ProjectPoint(p2.x, p2.y, z)};
  CurrentSurface().Polygon(points);
}

void TZavCanvas3D::DrawTriangle3D(TPoint3D p0, TPoint3D p1, TPoint3D p2, TColor color0, TColor /*color1*/,
                                  TColor /*color2*/) {
  Surface& surface = CurrentSurface();
  // One flat colour per triangle: the surface has no shading between vertices.
  if (surface.Brush().style != bsClear) surface.SetBrushColor(color0);
  const std::array<TPoint, 3> points = {ProjectPoint(p0.x, p0.y, p0.z), ProjectPoint(p1.x, p1.y, p1.z),
                                        ProjectPoint(p2.x, p2.y, p2.z)};
  surface.Polygon(points);
}

void TZavCanvas3D::DrawSurface(int /*numX*/, int /*numZ*/, const TSurfaceCellEvent& /*cell*/) {
  // Surface grids need a canvas that draws true solids; this one draws none.
}

}  // namespace tarvela
