#pragma once
/// The chart panel: the control that hosts a chart and runs the frame of every paint.
///
///     TCustomZavPanel          the panel-wide appearance settings (colour, bevels, border,
///                              margins, 3D depth and view options); owns the 3D canvas; the
///                              paint frame (buffer, PaintRect, PlotRect, inner drawing, copy
///                              to the window); the bevelled frame; text and fill helpers the
///                              chart's drawing shares; the mouse entry points.
///     TCustomZavPanelExtended  the background (gradient, back image) and the zoom and pan
///                              switches.
///
/// TCustomZavPanel is not a widget; ChartWindow (widgets/) hosts it: it hands every
/// paint request its surface (Paint), forwards mouse, wheel and leave, shows Cursor(),
/// repaints when the control peer or HostInvalidate asks, and paints the buffer with the
/// rubber band over it when HostPaintBand asks. Nor does a panel know what
/// a chart contains: the inner drawing is DrawChartBody, which the chart supplies.
/// @file
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tarvela/chart/canvas/canvas3d.h"
#include "tarvela/chart/canvas/gradient.h"
#include "tarvela/chart/canvas/view3d_options.h"
#include "tarvela/platform/picture.h"
#include "tarvela/runtime/control.h"
#include "tarvela/runtime/font.h"
#include "tarvela/runtime/properties.h"

namespace tarvela {

class Surface;

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum TBorderStyle { bsNone, bsSingle };
enum TZavBackImageMode { pbmStretch, pbmTile, pbmCenter };
enum TPanningMode { pmNone, pmHorizontal, pmVertical, pmBoth };

/// Indexes of the panel's one indexed margin setting.
enum TMarginIndex { kMarginLeft = 0, kMarginTop = 1, kMarginRight = 2, kMarginBottom = 3 };

/// The control's own mouse events, fired before the panel's handling of the same input.
using TMouseEvent = std::function<void(TComponent* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TComponent* sender, TShiftState shift, int x, int y)>;
using TMouseWheelUpDownEvent =
    std::function<void(TComponent* sender, TShiftState shift, int x, int y, bool& handled)>;

/// One drag of the mouse over the chart (zooming or panning): where it started and
/// where the pointer is now.
struct TZoomPanningRecord {
  bool Active = false;
  int X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;

  /// Starts a drag at (x, y).
  void ActivateDrag(int x, int y);
  /// Puts X0 <= X1 and Y0 <= Y1.
  void NormalizeDrag();
};

class TCustomZavPanel : public TWinControl {
 public:
  explicit TCustomZavPanel(TComponent* owner);
  ~TCustomZavPanel() override;
  std::string_view ClassName() const override { return "TCustomZavPanel"; }
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override { return PublishedProperties(); }

  // settings
  TBevelCut BevelInner() const { return m_bevelInner; }
  void SetBevelInner(TBevelCut cut) { Change(m_bevelInner, cut); }
  TBevelCut BevelOuter() const { return m_bevelOuter; }
  void SetBevelOuter(TBevelCut cut) { Change(m_bevelOuter, cut); }
  int BevelWidth() const { return m_bevelWidth; }
  void SetBevelWidth(int pixels) { Change(m_bevelWidth, pixels); }
  /// The ring between the bevels, painted in Color; it also insets the plot.
  int BorderWidth() const { return m_borderWidth; }
  void SetBorderWidth(int pixels) { Change(m_borderWidth, pixels); }
  TBorderStyle BorderStyle() const { return m_borderStyle; }
  void SetBorderStyle(TBorderStyle style) { Change(m_borderStyle, style); }
  /// Percent of the paint width (left, right) or height (top, bottom); index is a TMarginIndex.
  int Margin(int index) const;
  void SetMargin(int index, int percent);
  int MarginLeft() const { return Margin(kMarginLeft); }
  void SetMarginLeft(int percent) { SetMargin(kMarginLeft, percent); }
  int MarginTop() const { return Margin(kMarginTop); }
  void SetMarginTop(int percent) { SetMargin(kMarginTop, percent); }
  int MarginRight() const { return Margin(kMarginRight); }
  void SetMarginRight(int percent) { SetMargin(kMarginRight, percent); }
  int MarginBottom() const { return Margin(kMarginBottom); }
  void SetMarginBottom(int percent) { SetMargin(kMarginBottom, percent); }
  /// Depth of the 3D box in percent, 1…100; ChartException outside.
  int Chart3DPercent() const { return m_chart3DPercent; }
  void SetChart3DPercent(int percent);
  bool View3D() const { return m_view3D; }
  void SetView3D(bool view3D) { Change(m_view3D, view3D); }
  TView3DOptions& View3DOptions() { return m_view3DOptions; }
  const TView3DOptions& View3DOptions() const { return m_view3DOptions; }
  void SetView3DOptions(const TView3DOptions& options);
  /// The canvas's MonochromeMode.
  bool Monochrome() const { return m_canvas->MonochromeMode(); }
  void SetMonochrome(bool monochrome);
  bool PrintProportional() const { return m_printProportional; }
  void SetPrintProportional(bool proportional) { Change(m_printProportional, proportional); }
  /// Smooth lines, polygons, ellipses and pies on raster pictures (the window, PNG
  /// images, screenshots, the clipboard); off by default, which keeps every picture's
  /// pixels exact. Vector documents (SVG, PDF, print) are unaffected.
  bool Antialiased() const { return m_antialiased; }
  void SetAntialiased(bool antialiased) { Change(m_antialiased, antialiased); }

  // settings kept and copied but not published
  /// The canvas's Buffered: draw into an off-screen bitmap and show it with one copy.
  bool Buffered() const { return m_canvas->Buffered(); }
  void SetBuffered(bool buffered);
  const TRect& PrintMargins() const { return m_printMargins; }
  void SetPrintMargins(const TRect& percents) { Change(m_printMargins, percents); }
  int PrintResolution() const { return m_printResolution; }
  void SetPrintResolution(int resolution) { Change(m_printResolution, resolution); }
  /// Set while the chart is drawn for a printer (a state, not a setting: it asks for no
  /// paint). Then the window's paint draws nothing, the panel frame and the plain
  /// background are left to the paper, and white axis texts are drawn black.
  bool Printing() const { return m_printing; }
  void SetPrinting(bool printing) { m_printing = printing; }

  // operations
  /// Copies the panel settings of source (of this class or a subclass), then repaints.
  /// A subclass copies its own settings first, then calls its base's Assign.
  virtual void Assign(const TCustomZavPanel& source);
  /// The one repaint request of the engine: every changed setting ends here. Marks the
  /// canvas's buffer out of date, then asks the host to repaint.
  void Invalidate() override;
  /// Off while the constructor runs, so setting defaults asks for nothing.
  bool AutoRepaint() const { return m_autoRepaint; }
  void SetAutoRepaint(bool on) { m_autoRepaint = on; }
  /// The hosting window repaints itself when called; empty when nothing hosts the panel.
  std::function<void()> HostInvalidate;
  /// The hosting window paints again without the chart being redrawn: the paint copies
  /// the buffer and draws the live rubber band over it (Paint). What a moving band asks
  /// for; empty when nothing hosts the panel.
  std::function<void()> HostPaintBand;
  /// The hosting window paints now, before returning (the steps of an animated zoom);
  /// empty: nothing is painted until the host's next paint.
  std::function<void()> HostRepaintNow;

  // operations: painting
  TZavCanvas3D& Canvas() { return *m_canvas; }
  const TZavCanvas3D& Canvas() const { return *m_canvas; }
  /// The host's paint request with the window's surface: one copy of the buffer when
  /// nothing changed since the last paint, the live rubber band first brought up to
  /// date in the buffer (UpdateBandInBuffer), else the whole chart (PaintChart).
  void Paint(Surface& windowSurface);
  /// Draws the whole chart onto surface within userRect, whatever the buffer holds:
  /// one paint, which takes the axes' room from the span of the paint before.
  void PaintChart(Surface& surface, const TRect& userRect);
  /// The chart as a host shows it, and the way to render what a host shows to an image
  /// or a file: PaintChart, repeated when the size differs from the last paint's until
  /// the layout a paint leaves stops changing (at most kMaxSettlePaints paints), so that
  /// the first frame at a size is the frame the host goes on showing. Returns the paints.
  int PaintSettled(Surface& surface, const TRect& userRect);
  /// Whether the last paint drew the chart at this size: a paint at it needs no settling.
  bool PaintedAt(int width, int height) const;
  /// A layout a few paints do not settle alternates between two spans for ever; the
  /// last paint stands, as in a window painted that often.
  static constexpr int kMaxSettlePaints = 5;

  // operations: the layout of the current paint, rebuilt by every PaintChart and read
  // between paints by the mouse handling
  /// The rectangle the chart is drawn in: (0, 0, width, height) when buffered.
  const TRect& PaintRect() const { return m_paintRect; }
  /// The plot: inside border and margins, then narrowed by titles, legend and axes.
  const TRect& PlotRect() const { return m_plotRect; }
  /// For the steps that narrow the plot; they call NormalizePlotRect after.
  void SetPlotRect(const TRect& rect) { m_plotRect = rect; }
  int PlotWidth() const { return m_plotWidth; }
  int PlotHeight() const { return m_plotHeight; }
  int PlotXCenter() const { return m_plotXCenter; }
  int PlotYCenter() const { return m_plotYCenter; }
  /// Keeps PlotRect inside PaintRect's top-left corner with a positive size, then
  /// derives PlotWidth, PlotHeight and the centre.
  void NormalizePlotRect();

  // operations: drawing helpers shared by the chart's parts
  /// The bevels and the border ring, outside in; each frame shrinks the rectangle for
  /// the next.
  void DrawPanelFrame(const TRect& rect);
  /// The canvas font takes the font's settings at the canvas's own pixels per inch.
  void ApplyChartFont(const TFont& font);
  /// The fill of walls and pie slices: a hatch in the colour of its background would
  /// vanish, so it is drawn in black (white on black) instead.
  void ApplyFillBrush(TColor color, TBrushStyle style, TColor backColor);
  /// Series and pictures are clipped to the plot box unless the canvas turns freely.
  bool ClippingAllowed() const { return !m_canvas->RotatesFreely(); }
  /// The width of the widest line of text (lines split at LineBreakChar, a final empty
  /// piece not counted) in the canvas font; lineCount receives the number of lines.
  int MultiLineWidth(std::string_view text, int& lineCount);
  int MultiLineWidth(std::string_view text);

  // operations: mouse input from the host, positions in the panel's pixels. The panel
  // fires the control's events; the chart's zoom and scroll handling overrides these
  // and calls them first (chart_mouse.cpp).
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  /// wheelDelta: kWheelNotch per notch, positive away from the user. True when handled.
  static constexpr int kWheelNotch = 120;
  virtual bool MouseWheel(TShiftState shift, int wheelDelta, int x, int y);
  /// The pointer left the panel: the loaded cursor comes back, a pan drag ends.
  virtual void MouseLeave();
  TZoomPanningRecord& ZoomDrag() { return m_zoomDrag; }
  TZoomPanningRecord& PanningDrag() { return m_panningDrag; }
  /// The cursor the panel had when its description was read; MouseLeave restores it.
  TCursor LoadedCursor() const { return m_loadedCursor; }
  /// The rubber band the buffer holds: a paint during a zoom drag draws the band into
  /// it (the last drawing step of the chart body). Empty when the buffer is clean.
  const std::optional<TRect>& BufferBand() const { return m_bufferBand; }

  // events of the control
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;
  TMouseWheelUpDownEvent OnMouseWheelDown;
  TMouseWheelUpDownEvent OnMouseWheelUp;

  void Loaded() override;

  // overridable steps
  /// The inner drawing of one paint into PaintRect, PlotRect already set from border
  /// and margins. The chart draws its background, titles, walls, axes and series here.
  virtual void DrawChartBody(const TRect& paintRect) = 0;
  /// Before a paint that only copies the buffer, with the canvas on the buffer: brings
  /// the rubber band the buffer holds up to date with the live one (see BufferBand).
  /// Nothing here.
  virtual void UpdateBandInBuffer() {}
  /// One notch of the wheel, toward the user (down) or away, after the control's
  /// event for it. True when it did something. Nothing here.
  virtual bool WheelNotch(bool /*down*/, TShiftState, int /*x*/, int /*y*/) { return false; }
  /// What a paint laid out that the next one depends on, compared between paints to
  /// tell a settled layout: the plot rectangle here; a chart adds its axes.
  virtual std::vector<double> PaintedLayout() const;
  /// What the pointer resting at (x, y) points at, for a tooltip; empty for nothing.
  /// Nothing here.
  virtual std::string HoverText(int /*x*/, int /*y*/) { return {}; }
  /// The user asks for the view before any zoom or pan (a key, a double-click on the
  /// plot at (x, y), or anywhere when x and y are empty): true when it was given.
  /// Nothing here.
  virtual bool ResetViewAt(std::optional<TPoint> /*at*/) { return false; }

 protected:
  /// The change rule: store a differing value, then repaint.
  template <class T>
  void Change(T& field, const T& value) {
    if (field == value) return;
    field = value;
    Invalidate();
  }
  void ColorChanged() override { Invalidate(); }
  /// A new size must be drawn anew: the buffer holds the old one.
  void BoundsChanged() override { Invalidate(); }
  /// Called by the band drawing when the canvas draws into the buffer.
  void NoteBandInBuffer(const TRect& band) { m_bufferBand = band; }
  void ForgetBandInBuffer() { m_bufferBand.reset(); }
  /// Asks the host for a paint of the buffer with the live band (HostPaintBand).
  void RequestBandPaint() {
    if (HostPaintBand) HostPaintBand();
  }

 private:
  // state
  std::unique_ptr<TZavCanvas3D> m_canvas;
  TBevelCut m_bevelInner = bvNone;
  TBevelCut m_bevelOuter = bvRaised;
  int m_bevelWidth = 1;
  int m_borderWidth = 0;
  TBorderStyle m_borderStyle = bsNone;
  std::array<int, 4> m_margins = {3, 4, 3, 4};
  int m_chart3DPercent = 15;
  bool m_view3D = true;
  TView3DOptions m_view3DOptions{this};
  bool m_printProportional = true;
  TRect m_printMargins = {15, 15, 15, 15};
  int m_printResolution = 0;
  bool m_antialiased = false;
  bool m_printing = false;
  bool m_autoRepaint = false;
  /// The host's surface while it paints; null between paints.
  Surface* m_windowSurface = nullptr;
  TRect m_paintRect;
  /// The size of userRect at the last PaintChart; empty before the first.
  std::optional<TPoint> m_paintedSize;
  TRect m_plotRect;
  int m_plotWidth = 0;
  int m_plotHeight = 0;
  int m_plotXCenter = 0;
  int m_plotYCenter = 0;
  TCursor m_loadedCursor = crDefault;
  TZoomPanningRecord m_zoomDrag;
  TZoomPanningRecord m_panningDrag;
  std::optional<TRect> m_bufferBand;
  /// Wheel turns smaller than a notch add up until they make one.
  int m_wheelRest = 0;
};

class TCustomZavPanelExtended : public TCustomZavPanel {
 public:
  explicit TCustomZavPanelExtended(TComponent* owner);
  std::string_view ClassName() const override { return "TCustomZavPanelExtended"; }
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override { return PublishedProperties(); }

  // settings
  TChartGradient& Gradient() { return m_gradient; }
  const TChartGradient& Gradient() const { return m_gradient; }
  void SetGradient(const TChartGradient& gradient);
  /// The background picture; empty: none.
  const Picture& BackImage() const { return m_backImage; }
  void SetBackImage(const Picture& picture) { Change(m_backImage, picture); }
  TZavBackImageMode BackImageMode() const { return m_backImageMode; }
  void SetBackImageMode(TZavBackImageMode mode) { Change(m_backImageMode, mode); }
  /// The picture fills the back wall (drawn with the walls) instead of the whole panel.
  bool BackImageInside() const { return m_backImageInside; }
  void SetBackImageInside(bool inside) { Change(m_backImageInside, inside); }
  bool AllowZoom() const { return m_allowZoom; }
  void SetAllowZoom(bool allow) { Change(m_allowZoom, allow); }
  TPanningMode AllowPanning() const { return m_allowPanning; }
  void SetAllowPanning(TPanningMode mode) { Change(m_allowPanning, mode); }
  bool AnimatedZoom() const { return m_animatedZoom; }
  void SetAnimatedZoom(bool animated) { Change(m_animatedZoom, animated); }
  int AnimatedZoomSteps() const { return m_animatedZoomSteps; }
  void SetAnimatedZoomSteps(int steps) { Change(m_animatedZoomSteps, steps); }

  // operations
  void Assign(const TCustomZavPanel& source) override;
  /// The first drawing step of every paint: the fill, the picture over the whole
  /// panel unless it belongs inside the walls, then the frame.
  void PaintPanelBackground(const TRect& rect);
  /// The gradient when it is visible, else the panel colour.
  void FillBackground(const TRect& rect);
  /// The picture in rect by BackImageMode; z > 0 puts it on the back plane at that
  /// depth, the box depth (only drawn with the orthogonal projection there).
  void DrawBackImage(const TRect& rect, int z);

  // overridable steps
  /// A panel without a chart shows its background.
  void DrawChartBody(const TRect& paintRect) override { PaintPanelBackground(paintRect); }

 private:
  // state
  TChartGradient m_gradient{this};
  Picture m_backImage;
  TZavBackImageMode m_backImageMode = pbmStretch;
  bool m_backImageInside = false;
  bool m_allowZoom = true;
  TPanningMode m_allowPanning = pmBoth;
  bool m_animatedZoom = false;
  int m_animatedZoomSteps = 8;
};

}  // namespace tarvela
