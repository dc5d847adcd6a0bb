// The chart's mouse handling: what a press lands on, the click events, the rubber band
// of a zoom drag, panning, undo and the wheel.
//
//   [SECTION] Clicked part     the part of the chart under a position
//   [SECTION] Press            click events, then maybe a drag
//   [SECTION] Move             the band follows the pointer; panning; series cursors
//   [SECTION] Release          zoom to the band, or undo
//   [SECTION] Zoom and undo    the saved scales
//   [SECTION] Wheel
//   [SECTION] Readout and reset  tooltip text, the view before any zoom
//   [SECTION] Rubber band      drawn with not-xor into the buffer the window copies
//
// Everything here reads the layout of the last paint (PlotRect, the axes' pixels, the
// series' drawn ranges, the legend and title rectangles); nothing here paints the chart.
//
// The rubber band: a windowing system draws on a window only while that window paints,
// so the band cannot be drawn straight from a mouse move. A move asks the host for a
// band paint instead (HostPaintBand). That paint finds the buffer current, has
// UpdateBandInBuffer take the old band off the buffer and draw the new one into it in
// pmNotXor, and copies the buffer. The chart body is not drawn again: a move costs two
// rectangle outlines and one copy. A full paint during the drag draws the band into
// the buffer as its last step, so the buffer always knows which band it holds.

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <utility>

#include "tarvela/chart/chart.h"
#include "tarvela/runtime/colors.h"

namespace tarvela {

namespace {

// The left button zooms and the right one pans, whatever modifier keys are held.
constexpr TMouseButton kZoomButton = mbLeft;
constexpr TMouseButton kPanButton = mbRight;
// A band must be wider and higher than this to zoom or undo; a smaller one is a slip.
constexpr int kMinZoomPixels = 16;
// Each animated step moves a limit a third of the rest of the way.
constexpr double kAnimatedZoomFactor = 3.0;
// One wheel notch scrolls the vertical axes by this percentage of their range.
constexpr double kWheelScrollPercent = 3;

bool InsideRect(const TRect& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

}  // namespace

// [SECTION] Clicked part

TChartClickedPart TCustomChart::ClickedPart(int x, int y) {
  TChartClickedPart part;
  // The last series is drawn on top, so it is the one the user sees under the pointer.
  for (int i = SeriesTotal() - 1; i >= 0; --i) {
    TChartSeries* series = SeriesAt(i);
    if (!series->Active()) continue;
    const int index = series->HitTest(x, y);
    if (index != -1) {
      part.Kind = cpSeries;
      part.Index = index;
      part.Series = series;
      return part;
    }
  }
  for (int i = 0; i < AxisCount(); ++i) {
    if (Axes(i).AxisHit(x, y)) {
      part.Kind = cpAxis;
      part.Axis = &Axes(i);
      return part;
    }
  }
  if (TitleHit(Title(), x, y)) {
    part.Kind = cpTitle;
    return part;
  }
  if (TitleHit(Foot(), x, y)) {
    part.Kind = cpFoot;
    return part;
  }
  if (InsideRect(PlotRect(), x, y) && ActiveSeriesTotal() > 0) {
    part.Kind = cpChartRect;
    return part;
  }
  if (Legend().Visible()) {
    const int item = Legend().ItemAt(x, y);
    if (item != -1) {
      part.Kind = cpLegend;
      part.Index = item;
    }
  }
  return part;
}

// [SECTION] Press

// A handler that does not clear MouseCancelled has taken the click: no drag, no
// background event after it.
template <class Event, class... Args>
bool TCustomChart::CallClickEvent(const Event& event, Args&&... args) {
  m_mouseCancelled = true;
  event(std::forward<Args>(args)...);
  return m_mouseCancelled;
}

void TCustomChart::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomAxisPanel::MouseDown(button, shift, x, y);
  // A second button during a drag must not start another one on top of it.
  if (ZoomDrag().Active || PanningDrag().Active) return;
  if (m_mouseCancelled) {
    m_mouseCancelled = false;
    return;
  }
  const TChartClickedPart part = ClickedPart(x, y);
  bool handled = false;
  switch (part.Kind) {
    case cpLegend:
      // The legend is no place to start a drag from.
      if (OnClickLegend) handled = CallClickEvent(OnClickLegend, this, button, shift, x, y);
      break;
    case cpAxis:
      if (OnClickAxis) handled = CallClickEvent(OnClickAxis, this, part.Axis, button, shift, x, y);
      if (!handled) handled = StartDrag(button, x, y);
      break;
    case cpSeries:
      handled = part.Series->ClickPoint(part.Index, button, shift, x, y);
      if (OnClickSeries) handled = CallClickEvent(OnClickSeries, this, part.Series, part.Index, button, shift, x, y);
      if (!handled) handled = StartDrag(button, x, y);
      break;
    case cpChartRect:
      if (OnClickBackground) handled = CallClickEvent(OnClickBackground, this, button, shift, x, y);
      if (!handled) handled = StartDrag(button, x, y);
      break;
    case cpNone:
    case cpTitle:
    case cpFoot: break;
  }
  // The plot area has had its background event already.
  if (!handled && part.Kind != cpChartRect && OnClickBackground)
    CallClickEvent(OnClickBackground, this, button, shift, x, y);
  m_mouseCancelled = false;
}

bool TCustomChart::StartDrag(TMouseButton button, int x, int y) {
  bool started = false;
  if (AllowZoom() && button == kZoomButton) {
    SetCursor(crDefault);
    ZoomDrag().ActivateDrag(x, y);
    RequestBandPaint();
    started = true;
  }
  if (AllowPanning() != pmNone && button == kPanButton) {
    SetCursor(crDefault);
    PanningDrag().ActivateDrag(x, y);
    started = true;
  }
  return started;
}

// [SECTION] Move

void TCustomChart::MouseMove(TShiftState shift, int x, int y) {
  TCustomAxisPanel::MouseMove(shift, x, y);
  TZoomPanningRecord& zoom = ZoomDrag();
  if (zoom.Active) {
    if (x == zoom.X1 && y == zoom.Y1) return;
    zoom.X1 = x;
    zoom.Y1 = y;
    RequestBandPaint();
    return;
  }
  TZoomPanningRecord& pan = PanningDrag();
  if (pan.Active) {
    // Leaving the plot ends the pan; coming back does not resume it.
    if (!InsideRect(PlotRect(), x, y)) {
      pan.Active = false;
      return;
    }
    if (x == pan.X1 && y == pan.Y1) return;
    if (m_scalesRestored) SaveScales();
    bool moved = PanAxes(true, x, pan.X1);
    moved = PanAxes(false, y, pan.Y1) || moved;
    pan.X1 = x;
    pan.Y1 = y;
    if (moved) {
      if (OnScroll) OnScroll(this);
      Invalidate();
    }
    return;
  }
  // Only series with a cursor of their own are hit-tested: a move must stay cheap.
  TCursor cursor = LoadedCursor();
  for (int i = 0; i < SeriesTotal(); ++i) {
    const TChartSeries* series = SeriesAt(i);
    if (series->Active() && series->Cursor() != crDefault && series->HitTest(x, y) != -1) {
      cursor = series->Cursor();
      break;
    }
  }
  SetCursor(cursor);
  for (int i = 0; i < SeriesTotal(); ++i) SeriesAt(i)->NotifyMouseMove(shift, x, y);
}

// The content follows the pointer: the limits move by the value distance between the
// two pixels, against the pointer's direction on a normal axis.
bool TCustomChart::PanAxes(bool horizontal, int now, int last) {
  if (now == last) return false;
  const TPanningMode mode = AllowPanning();
  if (mode != pmBoth && mode != (horizontal ? pmHorizontal : pmVertical)) return false;
  for (int i = 0; i < AxisCount(); ++i) {
    TCustomChartAxis& axis = Axes(i);
    if (axis.IsDepth() || axis.IsHorizontal() != horizontal) continue;
    const double delta = axis.PixelToValue(last) - axis.PixelToValue(now);
    double minimum = axis.Minimum() + delta;
    double maximum = axis.Maximum() + delta;
    bool allowScroll = true;
    if (OnAllowScroll) OnAllowScroll(&axis, minimum, maximum, allowScroll);
    if (allowScroll) axis.SetManualRange(minimum, maximum);
  }
  return true;
}

// [SECTION] Release

void TCustomChart::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomAxisPanel::MouseUp(button, shift, x, y);
  for (int i = 0; i < SeriesTotal(); ++i) SeriesAt(i)->NotifyMouseUp(button, shift, x, y);
  TZoomPanningRecord& zoom = ZoomDrag();
  if (zoom.Active && button == kZoomButton) {
    zoom.Active = false;
    // The band paint finds no live band and takes the drawn one off.
    RequestBandPaint();
    zoom.X1 = x;
    zoom.Y1 = y;
    if (std::abs(zoom.X1 - zoom.X0) > kMinZoomPixels && std::abs(zoom.Y1 - zoom.Y0) > kMinZoomPixels) {
      if (zoom.X0 < zoom.X1 && zoom.Y0 < zoom.Y1) {
        ZoomToBand();
      } else {
        UndoZoom();
      }
      Invalidate();
    }
  }
  PanningDrag().Active = false;
}

// [SECTION] Zoom and undo

std::array<TChartAxis*, 4> TCustomChart::ZoomedAxes() { return {&TopAxis(), &LeftAxis(), &RightAxis(), &BottomAxis()}; }

void TCustomChart::SaveScales() {
  const std::array<TChartAxis*, 4> axes = ZoomedAxes();
  for (std::size_t i = 0; i < axes.size(); ++i) {
    const TChartAxis& axis = *axes[i];
    m_savedScales[i] = {axis.Automatic(), axis.AutomaticMinimum(), axis.AutomaticMaximum(), axis.Minimum(),
                        axis.Maximum()};
  }
  m_scalesRestored = false;
}

// The limits go back first and the automatic flags after them: setting the limits
// makes both ends manual, and an axis automatic at one end only must stay so.
void TCustomChart::UndoZoom() {
  if (!m_scalesRestored) {
    const std::array<TChartAxis*, 4> axes = ZoomedAxes();
    for (std::size_t i = 0; i < axes.size(); ++i) {
      TChartAxis& axis = *axes[i];
      const SavedScale& saved = m_savedScales[i];
      axis.SetManualRange(saved.minimum, saved.maximum);
      axis.SetAutomatic(saved.automatic);
      axis.SetAutomaticMinimum(saved.automaticMinimum);
      axis.SetAutomaticMaximum(saved.automaticMaximum);
    }
    m_scalesRestored = true;
  }
  if (OnUndoZoom) OnUndoZoom(this);
  Invalidate();
  m_zoomApplied = false;
}

void TCustomChart::ZoomToBand() {
  TZoomPanningRecord& band = ZoomDrag();
  band.NormalizeDrag();
  struct Target {
    TChartAxis* axis;
    double minimum;
    double maximum;
  };
  // Left, right, top, bottom: the order of the animated steps. On a normal vertical
  // axis the lower edge of the band is the smaller value; the targets are put in
  // order so that an inverted axis moves its limits toward the right ends too.
  auto target = [](TChartAxis& axis, int from, int to) {
    const double a = axis.PixelToValue(from);
    const double b = axis.PixelToValue(to);
    return Target{&axis, std::min(a, b), std::max(a, b)};
  };
  const std::array<Target, 4> targets = {target(LeftAxis(), band.Y1, band.Y0), target(RightAxis(), band.Y1, band.Y0),
                                         target(TopAxis(), band.X0, band.X1),
                                         target(BottomAxis(), band.X0, band.X1)};
  if (m_scalesRestored) SaveScales();
  if (AnimatedZoom()) {
    for (int step = 1; step < AnimatedZoomSteps(); ++step) {
      for (const Target& t : targets) {
        const double minimum = t.axis->Minimum() + (t.minimum - t.axis->Minimum()) / kAnimatedZoomFactor;
        const double maximum = t.axis->Maximum() + (t.maximum - t.axis->Maximum()) / kAnimatedZoomFactor;
        t.axis->SetManualRange(minimum, maximum);
      }
      if (HostRepaintNow) HostRepaintNow();
    }
  }
  for (const Target& t : targets) t.axis->SetManualRange(t.minimum, t.maximum);
  m_zoomApplied = true;
  if (OnZoom) OnZoom(this);
}

// [SECTION] Wheel

// The depth axis is not a vertical axis, though it is not horizontal either: the wheel
// scrolls the values, not the slabs of the series.
bool TCustomChart::WheelNotch(bool down, TShiftState, int, int) {
  for (int i = 0; i < AxisCount(); ++i) {
    TCustomChartAxis& axis = Axes(i);
    if (axis.IsHorizontal() || axis.IsDepth()) continue;
    const double delta = (axis.Maximum() - axis.Minimum()) * kWheelScrollPercent * 0.01;
    axis.ScrollBy(down ? delta : -delta, false);
  }
  return true;
}

// [SECTION] Rubber band

// [SECTION] Readout and reset

std::string TCustomChart::HoverText(int x, int y) {
  if (ZoomDrag().Active || PanningDrag().Active) return {};
  const TChartClickedPart part = ClickedPart(x, y);
  if (part.Kind != cpSeries || part.Series == nullptr || part.Index < 0) return {};
  TChartSeries& series = *part.Series;
  TChartAxis* horizontal = series.GetHorizAxis();
  TChartAxis* vertical = series.GetVertAxis();
  if (horizontal == nullptr || vertical == nullptr) return {};
  std::string title = series.Title();
  if (title.empty()) title = series.Name();
  const std::string xText = horizontal->FormatLabel(series.XValueAt(part.Index));
  const std::string yText = vertical->FormatLabel(series.YValueAt(part.Index));
  return title + ": x = " + xText + ", y = " + yText;
}

bool TCustomChart::ResetViewAt(std::optional<TPoint> at) {
  if (at) {
    const TRect& plot = PlotRect();
    if (at->x < plot.left || at->x >= plot.right || at->y < plot.top || at->y >= plot.bottom) return false;
  }
  UndoZoom();
  return true;
}

void TCustomChart::DrawBand(const TRect& band) {
  TZavCanvas3D& canvas = Canvas();
  // Not-xor with white would leave every pixel as it was.
  TColor color = static_cast<TColor>(ColorToRGB(Color()));
  if (color == clWhite) color = clBlack;
  SurfacePen pen = canvas.Pen();
  pen.color = color;
  pen.mode = pmNotXor;
  pen.style = psSolid;
  pen.width = 1;
  pen.alternate = false;
  canvas.SetPen(pen);
  canvas.SetBrushStyle(bsClear);
  canvas.DrawRectangle(band.left, band.top, band.right, band.bottom);
  // The surface keeps its pen from one paint to the next: whatever draws next on it
  // must not draw in not-xor by surprise.
  canvas.SetPenMode(pmCopy);
}

void TCustomChart::DrawZoomBand() {
  const TZoomPanningRecord& zoom = ZoomDrag();
  const TRect band{zoom.X0, zoom.Y0, zoom.X1, zoom.Y1};
  DrawBand(band);
  if (Canvas().DrawsOnBuffer()) NoteBandInBuffer(band);
}

// The buffer holds the last paint and the band drawn into it since, if any. Drawing
// that band again takes it off (not-xor twice leaves every pixel as it was); then the
// live one goes on, and the buffer remembers it.
void TCustomChart::UpdateBandInBuffer() {
  const TZoomPanningRecord& zoom = ZoomDrag();
  std::optional<TRect> live;
  if (zoom.Active) live = TRect{zoom.X0, zoom.Y0, zoom.X1, zoom.Y1};
  const std::optional<TRect> held = BufferBand();
  if (held == live) return;
  if (held) DrawBand(*held);
  if (live) {
    DrawBand(*live);
    NoteBandInBuffer(*live);
  } else {
    ForgetBandInBuffer();
  }
}

}  // namespace tarvela
