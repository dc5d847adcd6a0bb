// The chart panel: settings, the paint frame, the background and the frame.
//
// Contents
//   [SECTION] Drag records
//   [SECTION] TCustomZavPanel settings
//   [SECTION] Paint frame
//   [SECTION] Frame and drawing helpers
//   [SECTION] Mouse input
//   [SECTION] TCustomZavPanelExtended
//   [SECTION] Background
//
// One paint: the host hands Paint its window surface. When nothing changed since the
// last paint (the canvas is not dirty) the buffer is copied and that is all; otherwise
// PaintChart starts the canvas (which switches to its off-screen bitmap), sets
// PaintRect and the first PlotRect, runs the chart's inner drawing and ends the canvas,
// which copies the bitmap to the window. The window's surface lives only while the
// host paints, so the canvas draws on nothing between paints: text measured then
// measures 0, as on a platform that cannot measure.

#include "tarvela/chart/panel/panel.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "tarvela/chart/canvas/text_lines.h"
#include "tarvela/chart/messages.h"
#include "tarvela/platform/surface.h"
#include "tarvela/runtime/exceptions.h"
#include "tarvela/runtime/rounding.h"

namespace tarvela {

// [SECTION] Drag records

void TZoomPanningRecord::ActivateDrag(int x, int y) {
  X0 = X1 = x;
  Y0 = Y1 = y;
  Active = true;
}

void TZoomPanningRecord::NormalizeDrag() {
  if (X1 < X0) std::swap(X0, X1);
  if (Y1 < Y0) std::swap(Y0, Y1);
}

// [SECTION] TCustomZavPanel settings

TCustomZavPanel::TCustomZavPanel(TComponent* owner)
    : TWinControl(owner), m_canvas(std::make_unique<TZavCanvas3D>(this)) {
  // The form usually overrides the size; a panel made in code still shows something.
  SetBounds(Left(), Top(), 400, 250);
  m_autoRepaint = true;
}

TCustomZavPanel::~TCustomZavPanel() = default;

int TCustomZavPanel::Margin(int index) const {
  if (index < kMarginLeft || index > kMarginBottom) ThrowListIndexError(index);
  return m_margins[static_cast<std::size_t>(index)];
}

void TCustomZavPanel::SetMargin(int index, int percent) {
  if (index < kMarginLeft || index > kMarginBottom) ThrowListIndexError(index);
  Change(m_margins[static_cast<std::size_t>(index)], percent);
}

void TCustomZavPanel::SetChart3DPercent(int percent) {
  if (percent < messages::kMinChart3DPercent || percent > messages::kMaxChart3DPercent)
    throw ChartException(FormatMessage(FormatMessage(messages::kChart3DPercentRange, messages::kMinChart3DPercent),
                                       messages::kMaxChart3DPercent));
  Change(m_chart3DPercent, percent);
}

void TCustomZavPanel::SetView3DOptions(const TView3DOptions& options) {
  m_view3DOptions.Assign(options);
}

void TCustomZavPanel::SetMonochrome(bool monochrome) {
  // The canvas drops its bitmap and asks this panel to repaint.
  m_canvas->SetMonochromeMode(monochrome);
}

void TCustomZavPanel::SetBuffered(bool buffered) {
  if (buffered == m_canvas->Buffered()) return;
  m_canvas->SetBuffered(buffered);
  Invalidate();
}

void TCustomZavPanel::Assign(const TCustomZavPanel& source) {
  if (&source == this) return;
  m_canvas->SetBuffered(source.Buffered());
  m_printProportional = source.m_printProportional;
  m_printResolution = source.m_printResolution;
  m_printMargins = source.m_printMargins;
  m_antialiased = source.m_antialiased;
  m_margins = source.m_margins;
  m_canvas->SetMonochromeMode(source.Monochrome());
  m_view3D = source.m_view3D;
  m_view3DOptions.Assign(source.m_view3DOptions);
  m_chart3DPercent = source.m_chart3DPercent;
  // Through the control so that a windowing layer mirroring the colour hears of it.
  SetColor(source.Color());
  Invalidate();
}

void TCustomZavPanel::Invalidate() {
  if (!m_autoRepaint) return;
  m_canvas->MarkDirty();
  TControl::Invalidate();
  if (HostInvalidate) HostInvalidate();
}

void TCustomZavPanel::Loaded() {
  TWinControl::Loaded();
  m_loadedCursor = Cursor();
}

const PropertyTable& TCustomZavPanel::PublishedProperties() {
  using P = TCustomZavPanel;
  static const EnumNames<TBevelCut> kBevels = {
      {bvNone, "bvNone"}, {bvLowered, "bvLowered"}, {bvRaised, "bvRaised"}, {bvSpace, "bvSpace"}};
  static const EnumNames<TBorderStyle> kBorders = {{bsNone, "bsNone"}, {bsSingle, "bsSingle"}};
  static const PropertyTable table(
      &TWinControl::PublishedProperties(),
      {
          EnumProperty<P, TBevelCut>("BevelInner", &P::BevelInner, &P::SetBevelInner, kBevels),
          EnumProperty<P, TBevelCut>("BevelOuter", &P::BevelOuter, &P::SetBevelOuter, kBevels),
          IntProperty<P>("BevelWidth", &P::BevelWidth, &P::SetBevelWidth),
          IntProperty<P>("BorderWidth", &P::BorderWidth, &P::SetBorderWidth),
          EnumProperty<P, TBorderStyle>("BorderStyle", &P::BorderStyle, &P::SetBorderStyle, kBorders),
          IntProperty<P>("MarginLeft", &P::MarginLeft, &P::SetMarginLeft),
          IntProperty<P>("MarginTop", &P::MarginTop, &P::SetMarginTop),
          IntProperty<P>("MarginRight", &P::MarginRight, &P::SetMarginRight),
          IntProperty<P>("MarginBottom", &P::MarginBottom, &P::SetMarginBottom),
          IntProperty<P>("Chart3DPercent", &P::Chart3DPercent, &P::SetChart3DPercent),
          BoolProperty<P>("View3D", &P::View3D, &P::SetView3D),
          ObjectProperty<P, TView3DOptions>("View3DOptions",
                                            static_cast<TView3DOptions& (P::*)()>(&P::View3DOptions)),
          BoolProperty<P>("Monochrome", &P::Monochrome, &P::SetMonochrome),
          BoolProperty<P>("PrintProportional", &P::PrintProportional, &P::SetPrintProportional),
          BoolProperty<P>("Antialiased", &P::Antialiased, &P::SetAntialiased),
      });
  return table;
}

// [SECTION] Paint frame

namespace {

// The canvas draws on the host's surface for the length of one paint request only.
class WindowSurfaceScope {
 public:
  WindowSurfaceScope(TZavCanvas3D& canvas, Surface*& slot, Surface& surface) : m_canvas(canvas), m_slot(slot) {
    m_slot = &surface;
    m_canvas.AttachSurface(&surface);
  }
  ~WindowSurfaceScope() {
    m_slot = nullptr;
    m_canvas.AttachSurface(nullptr);
  }
  WindowSurfaceScope(const WindowSurfaceScope&) = delete;
  WindowSurfaceScope& operator=(const WindowSurfaceScope&) = delete;

 private:
  TZavCanvas3D& m_canvas;
  Surface*& m_slot;
};

}  // namespace

void TCustomZavPanel::Paint(Surface& windowSurface) {
  // The printer has the chart's canvas for now; the window shows what it showed.
  if (m_printing) return;
  WindowSurfaceScope scope(*m_canvas, m_windowSurface, windowSurface);
  if (Surface* buffer = m_canvas->CurrentBuffer()) {
    // The band is drawn into the buffer, where its pixels are written directly, and the
    // one copy shows both: drawn on the window after the copy it cost several copies.
    m_canvas->AttachSurface(buffer);
    UpdateBandInBuffer();
    m_canvas->AttachSurface(&windowSurface);
  }
  if (m_canvas->RepaintFromBuffer()) return;
  PaintSettled(windowSurface, ClientRect());
}

bool TCustomZavPanel::PaintedAt(int width, int height) const {
  return m_paintedSize && m_paintedSize->x == width && m_paintedSize->y == height;
}

int TCustomZavPanel::PaintSettled(Surface& surface, const TRect& userRect) {
  // A window shows its first paint at a size until something changes; without this it
  // would show a layout whose axis room came from another size's span, and the next
  // unrelated repaint (a zoom and its undo) would move the plot.
  const bool settle = !PaintedAt(userRect.Width(), userRect.Height());
  PaintChart(surface, userRect);
  int paints = 1;
  if (!settle) return paints;
  std::vector<double> previous = PaintedLayout();
  while (paints < kMaxSettlePaints) {
    PaintChart(surface, userRect);
    ++paints;
    std::vector<double> current = PaintedLayout();
    if (current == previous) break;
    previous = std::move(current);
  }
  return paints;
}

std::vector<double> TCustomZavPanel::PaintedLayout() const {
  return {static_cast<double>(m_plotRect.left), static_cast<double>(m_plotRect.top),
          static_cast<double>(m_plotRect.right), static_cast<double>(m_plotRect.bottom)};
}

void TCustomZavPanel::PaintChart(Surface& surface, const TRect& userRect) {
  m_paintRect = m_canvas->BeginDrawing(surface, &m_view3DOptions, Color(), m_view3D, userRect);
  m_paintedSize = TPoint{userRect.Width(), userRect.Height()};
  const int width = m_paintRect.Width();
  const int height = m_paintRect.Height();
  // The bevels are not subtracted: with the usual margins the plot lies well inside them.
  // A border wider than the chart leaves the plot squeezed to nothing, not wrapped.
  const std::int64_t size = std::int64_t{std::max(0, width)} + std::max(0, height);
  const int border = static_cast<int>(std::clamp<std::int64_t>(m_borderWidth, -size, size));
  m_plotRect = {m_paintRect.left + border + MulDiv(MarginLeft(), width, 100),
                m_paintRect.top + border + MulDiv(MarginTop(), height, 100),
                m_paintRect.right - border - MulDiv(MarginRight(), width, 100),
                m_paintRect.bottom - border - MulDiv(MarginBottom(), height, 100)};
  NormalizePlotRect();
  // Whatever band the buffer held is drawn over now.
  m_bufferBand.reset();
  // The smoothing is the chart's for this paint only: a surface handed in by a caller
  // (an unbuffered paint) gets its own back.
  Surface* drawn = m_canvas->SurfaceHandle();
  const bool callersSmoothing = drawn != nullptr && drawn->Antialiased();
  if (drawn != nullptr) drawn->SetAntialiased(m_antialiased);
  const auto giveBackSmoothing = [&] {
    if (drawn != nullptr) drawn->SetAntialiased(callersSmoothing);
  };
  try {
    DrawChartBody(m_paintRect);
  } catch (...) {
    // The half-drawn bitmap stays unshown and dirty; the next paint starts over.
    giveBackSmoothing();
    m_canvas->AttachSurface(m_windowSurface);
    throw;
  }
  giveBackSmoothing();
  m_canvas->EndDrawing(surface, m_windowSurface, userRect);
}

void TCustomZavPanel::NormalizePlotRect() {
  TRect& r = m_plotRect;
  r.left = std::max(r.left, m_paintRect.left);
  r.top = std::max(r.top, m_paintRect.top);
  // A plot squeezed to nothing keeps a positive size: one pixel when it turned over,
  // the whole control when it collapsed exactly.
  if (r.right < r.left) {
    r.right = r.left + 1;
  } else if (r.right == r.left) {
    r.right = r.left + Width();
  }
  if (r.bottom < r.top) {
    r.bottom = r.top + 1;
  } else if (r.bottom == r.top) {
    r.bottom = r.top + Height();
  }
  m_plotWidth = r.right - r.left;
  m_plotHeight = r.bottom - r.top;
  m_plotXCenter = (r.left + r.right) / 2;
  m_plotYCenter = (r.top + r.bottom) / 2;
}

// [SECTION] Frame and drawing helpers

namespace {

struct BevelColors {
  TColor topLeft;
  TColor bottomRight;
};

BevelColors ColorsOf(TBevelCut cut) {
  switch (cut) {
    case bvLowered: return {clBtnShadow, clBtnHighlight};
    case bvSpace: return {clBtnHighlight, clBtnHighlight};
    case bvRaised:
    case bvNone: break;
  }
  return {clBtnHighlight, clBtnShadow};
}

}  // namespace

void TCustomZavPanel::DrawPanelFrame(const TRect& rect) {
  // A frame of screen bevels means nothing on paper.
  if (m_printing) return;
  TZavCanvas3D& canvas = *m_canvas;
  SurfacePen pen = canvas.Pen();
  pen.style = psSolid;
  pen.width = 1;
  pen.mode = pmCopy;
  pen.alternate = false;
  canvas.SetPen(pen);
  canvas.SetBrushStyle(bsClear);
  // The canvas's bevel frame draws exactly the frame routine's polylines; only the
  // shrinking it does on its own copy is passed on here to the next frame.
  // A frame past the width plus the height of the whole rectangle has run off it on
  // every side, as have the frames after it: no more are drawn. So a bevel of a
  // billion pixels costs what one as wide as the chart does, and the shrinking stays
  // within the integers.
  const std::int64_t visible = std::int64_t{std::max(0, rect.Width())} + std::max(0, rect.Height());
  TRect r = rect;
  auto frame = [&](BevelColors colors, int width) {
    const int drawn = static_cast<int>(std::clamp<std::int64_t>(width, 0, visible));
    canvas.BevelFrame(r, colors.topLeft, colors.bottomRight, drawn);
    r = {r.left + drawn, r.top + drawn, r.right - drawn, r.bottom - drawn};
  };
  if (m_bevelOuter != bvNone) frame(ColorsOf(m_bevelOuter), m_bevelWidth);
  frame({Color(), Color()}, m_borderWidth);
  if (m_bevelInner != bvNone) frame(ColorsOf(m_bevelInner), m_bevelWidth);
}

void TCustomZavPanel::ApplyChartFont(const TFont& font) {
  // The chart's font is left as it is: changing it during a paint would ask for
  // another. Keeping the canvas's pixels per inch gives the same face and height.
  SurfaceFont realised = m_canvas->Font();
  realised.name = font.Name();
  realised.height = font.Height();
  realised.style = font.Style();
  realised.color = font.Color();
  realised.charset = font.Charset();
  realised.escapement = 0;
  realised.orientation = 0;
  realised.outputPrecision = kOutPrecisionDefault;
  m_canvas->SetFont(realised);
}

void TCustomZavPanel::ApplyFillBrush(TColor color, TBrushStyle style, TColor backColor) {
  if (style != bsSolid && color == backColor) color = backColor == clBlack ? clWhite : clBlack;
  m_canvas->SetBrushColor(color);
  m_canvas->SetBrushStyle(style);
  if (style != bsSolid) {
    m_canvas->SetTextBackMode(BkMode::Opaque);
    m_canvas->SetTextBackColor(static_cast<TColor>(ColorToRGB(backColor)));
  } else {
    m_canvas->SetTextBackMode(BkMode::Transparent);
  }
}

int TCustomZavPanel::MultiLineWidth(std::string_view text, int& lineCount) {
  if (text.find(LineBreakChar) == std::string_view::npos) {
    lineCount = 1;
    return m_canvas->MeasureTextWidth(text);
  }
  int widest = 0;
  lineCount = 0;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(LineBreakChar, start);
    const std::string_view piece = text.substr(start, end == std::string_view::npos ? text.size() - start : end - start);
    // A final empty piece (the text ends in a break) is no line.
    if (end != std::string_view::npos || !piece.empty()) {
      ++lineCount;
      widest = std::max(widest, m_canvas->MeasureTextWidth(piece));
    }
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return widest;
}

int TCustomZavPanel::MultiLineWidth(std::string_view text) {
  int lineCount = 0;
  return MultiLineWidth(text, lineCount);
}

// [SECTION] Mouse input
//
// The panel itself only fires the control's events; the chart's zoom and scroll
// handling overrides these and calls them first.

void TCustomZavPanel::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TCustomZavPanel::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TCustomZavPanel::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

// One event per notch of 120; a smooth wheel's smaller turns are kept until they add
// up to a notch, so that scrolling does not depend on how the device slices a turn.
bool TCustomZavPanel::MouseWheel(TShiftState shift, int wheelDelta, int x, int y) {
  m_wheelRest += wheelDelta;
  bool handled = false;
  while (m_wheelRest >= kWheelNotch || m_wheelRest <= -kWheelNotch) {
    const bool down = m_wheelRest < 0;
    m_wheelRest += down ? kWheelNotch : -kWheelNotch;
    bool eventHandled = false;
    const TMouseWheelUpDownEvent& event = down ? OnMouseWheelDown : OnMouseWheelUp;
    if (event) event(this, shift, x, y, eventHandled);
    handled = WheelNotch(down, shift, x, y) || eventHandled || handled;
  }
  return handled;
}

void TCustomZavPanel::MouseLeave() {
  SetCursor(m_loadedCursor);
  m_panningDrag.Active = false;
}

// [SECTION] TCustomZavPanelExtended

TCustomZavPanelExtended::TCustomZavPanelExtended(TComponent* owner) : TCustomZavPanel(owner) {}

void TCustomZavPanelExtended::SetGradient(const TChartGradient& gradient) {
  m_gradient.Assign(gradient);
}

void TCustomZavPanelExtended::Assign(const TCustomZavPanel& source) {
  if (auto* extended = dynamic_cast<const TCustomZavPanelExtended*>(&source); extended != nullptr && extended != this) {
    m_backImage = extended->m_backImage;
    m_backImageMode = extended->m_backImageMode;
    m_gradient.Assign(extended->m_gradient);
    m_allowPanning = extended->m_allowPanning;
    m_allowZoom = extended->m_allowZoom;
    m_animatedZoom = extended->m_animatedZoom;
    m_animatedZoomSteps = extended->m_animatedZoomSteps;
  }
  TCustomZavPanel::Assign(source);
}

const PropertyTable& TCustomZavPanelExtended::PublishedProperties() {
  using P = TCustomZavPanelExtended;
  static const EnumNames<TZavBackImageMode> kImageModes = {
      {pbmStretch, "pbmStretch"}, {pbmTile, "pbmTile"}, {pbmCenter, "pbmCenter"}};
  static const EnumNames<TPanningMode> kPanning = {
      {pmNone, "pmNone"}, {pmHorizontal, "pmHorizontal"}, {pmVertical, "pmVertical"}, {pmBoth, "pmBoth"}};
  static const PropertyTable table(
      &TCustomZavPanel::PublishedProperties(),
      {
          ObjectProperty<P, TChartGradient>("Gradient", static_cast<TChartGradient& (P::*)()>(&P::Gradient)),
          EnumProperty<P, TZavBackImageMode>("BackImageMode", &P::BackImageMode, &P::SetBackImageMode, kImageModes),
          BoolProperty<P>("BackImageInside", &P::BackImageInside, &P::SetBackImageInside),
          BoolProperty<P>("AllowZoom", &P::AllowZoom, &P::SetAllowZoom),
          EnumProperty<P, TPanningMode>("AllowPanning", &P::AllowPanning, &P::SetAllowPanning, kPanning),
          BoolProperty<P>("AnimatedZoom", &P::AnimatedZoom, &P::SetAnimatedZoom),
          IntProperty<P>("AnimatedZoomSteps", &P::AnimatedZoomSteps, &P::SetAnimatedZoomSteps),
      });
  return table;
}

// [SECTION] Background

void TCustomZavPanelExtended::PaintPanelBackground(const TRect& rect) {
  FillBackground(rect);
  if (!m_backImage.Empty() && !m_backImageInside) DrawBackImage(rect, 0);
  if (!Canvas().RotatesFreely()) DrawPanelFrame(rect);
}

void TCustomZavPanelExtended::FillBackground(const TRect& rect) {
  TZavCanvas3D& canvas = Canvas();
  if (!m_gradient.Visible()) {
    // The paper is the background of a printed chart.
    if (Printing()) return;
    canvas.SetBrushColor(Color());
    canvas.SetBrushStyle(bsSolid);
    canvas.EraseArea(rect);
    return;
  }
  // The canvas exchanges the colours for every direction but these two; handing the
  // others over crossed exchanges them back, so StartColor always lies along the
  // bottom, right or outer edge.
  const TGradientDirection direction = m_gradient.Direction();
  const bool uncrossed = direction == gdTopBottom || direction == gdLeftRight;
  const TColor first = uncrossed ? m_gradient.StartColor() : m_gradient.EndColor();
  const TColor second = uncrossed ? m_gradient.EndColor() : m_gradient.StartColor();
  canvas.FillGradient(rect, first, second, direction);
}

void TCustomZavPanelExtended::DrawBackImage(const TRect& rect, int z) {
  if (m_backImage.Empty()) return;
  // A picture on the back plane is only drawn with the orthogonal projection.
  if (z != 0 && View3D() && !View3DOptions().Orthogonal()) return;
  TZavCanvas3D& canvas = Canvas();
  TRect r = rect;
  auto project = [&] {
    if (z <= 0) return;
    const TPoint topLeft = canvas.ProjectPoint(r.left, r.top, z);
    const TPoint bottomRight = canvas.ProjectPoint(r.right, r.bottom, z);
    r = {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    if (!View3D()) ++r.top;
  };

  if (m_backImageMode == pbmStretch) {
    project();
    canvas.StretchGraphic(r, &m_backImage);
    return;
  }

  const bool clip = ClippingAllowed();
  if (clip) {
    // z is the box depth: the walls hand their depth over, the panel 0.
    if (z != 0) {
      canvas.ClipToBox(r, 0, z);
    } else {
      canvas.ClipToRectangle(r);
    }
  }
  project();
  const int pictureWidth = m_backImage.Width();
  const int pictureHeight = m_backImage.Height();
  if (m_backImageMode == pbmTile) {
    // Rows outer, columns inner; the clipping cuts the last row and column.
    for (int y = 0; y < r.Height(); y += pictureHeight)
      for (int x = 0; x < r.Width(); x += pictureWidth) canvas.DrawGraphic(r.left + x, r.top + y, &m_backImage);
  } else {
    FillBackground(r);
    canvas.DrawGraphic(r.left + (r.Width() - pictureWidth) / 2, r.top + (r.Height() - pictureHeight) / 2,
                       &m_backImage);
  }
  if (clip) canvas.RemoveClipping();
}

}  // namespace tarvela
