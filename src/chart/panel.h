#pragma once
// The chart panel: the window control that hosts a chart. TCustomZavPanel holds the
// panel-wide appearance settings (colour, bevels, border, margins, 3D depth and
// view options) and is the one place a repaint is asked for; TCustomZavPanelExtended
// adds the background gradient and the zoom and pan switches.
//
// Not a widget: a windowing layer hosts it, listens on HostInvalidate and repaints
// the window. Not a painter yet either: the canvas and the paint frame come later.

#include <array>
#include <functional>

#include "chart/gradient.h"
#include "chart/view3d_options.h"
#include "runtime/control.h"
#include "runtime/properties.h"

namespace tarvela {

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum TBorderStyle { bsNone, bsSingle };
enum TZavBackImageMode { pbmStretch, pbmTile, pbmCenter };
enum TPanningMode { pmNone, pmHorizontal, pmVertical, pmBoth };

// Indexes of the panel's one indexed margin setting.
enum TMarginIndex { kMarginLeft = 0, kMarginTop = 1, kMarginRight = 2, kMarginBottom = 3 };

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
  // The ring between the bevels, painted in Color; it also insets the plot.
  int BorderWidth() const { return m_borderWidth; }
  void SetBorderWidth(int pixels) { Change(m_borderWidth, pixels); }
  TBorderStyle BorderStyle() const { return m_borderStyle; }
  void SetBorderStyle(TBorderStyle style) { Change(m_borderStyle, style); }
  // Percent of the paint width (left, right) or height (top, bottom); index is a TMarginIndex.
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
  // Depth of the 3D box in percent, 1…100; ChartException outside.
  int Chart3DPercent() const { return m_chart3DPercent; }
  void SetChart3DPercent(int percent);
  bool View3D() const { return m_view3D; }
  void SetView3D(bool view3D) { Change(m_view3D, view3D); }
  TView3DOptions& View3DOptions() { return m_view3DOptions; }
  const TView3DOptions& View3DOptions() const { return m_view3DOptions; }
  void SetView3DOptions(const TView3DOptions& options);
  bool Monochrome() const { return m_monochrome; }
  void SetMonochrome(bool monochrome) { Change(m_monochrome, monochrome); }
  bool PrintProportional() const { return m_printProportional; }
  void SetPrintProportional(bool proportional) { Change(m_printProportional, proportional); }

  // settings kept and copied but not published (there is no printing path)
  bool Buffered() const { return m_buffered; }
  void SetBuffered(bool buffered) { Change(m_buffered, buffered); }
  const TRect& PrintMargins() const { return m_printMargins; }
  void SetPrintMargins(const TRect& percents) { Change(m_printMargins, percents); }
  int PrintResolution() const { return m_printResolution; }
  void SetPrintResolution(int resolution) { Change(m_printResolution, resolution); }

  // operations
  // Copies the panel settings of source (of this class or a subclass), then repaints.
  // A subclass copies its own settings first, then calls its base's Assign.
  virtual void Assign(const TCustomZavPanel& source);
  // The one repaint request of the engine: every changed setting ends here.
  void Invalidate() override;
  // Off while the constructor runs, so setting defaults asks for nothing.
  bool AutoRepaint() const { return m_autoRepaint; }
  void SetAutoRepaint(bool on) { m_autoRepaint = on; }

  // The hosting window repaints itself when called; empty when nothing hosts the panel.
  std::function<void()> HostInvalidate;

 protected:
  // The change rule: store a differing value, then repaint.
  template <class T>
  void Change(T& field, const T& value) {
    if (field == value) return;
    field = value;
    Invalidate();
  }
  void ColorChanged() override { Invalidate(); }

 private:
  // state
  TBevelCut m_bevelInner = bvNone;
  TBevelCut m_bevelOuter = bvRaised;
  int m_bevelWidth = 1;
  int m_borderWidth = 0;
  TBorderStyle m_borderStyle = bsNone;
  std::array<int, 4> m_margins = {3, 4, 3, 4};
  int m_chart3DPercent = 15;
  bool m_view3D = true;
  TView3DOptions m_view3DOptions{this};
  bool m_monochrome = false;
  bool m_printProportional = true;
  bool m_buffered = true;
  TRect m_printMargins = {15, 15, 15, 15};
  int m_printResolution = 0;
  bool m_autoRepaint = false;
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
  TZavBackImageMode BackImageMode() const { return m_backImageMode; }
  void SetBackImageMode(TZavBackImageMode mode) { Change(m_backImageMode, mode); }
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

 private:
  // state
  TChartGradient m_gradient{this};
  TZavBackImageMode m_backImageMode = pbmStretch;
  bool m_allowZoom = true;
  TPanningMode m_allowPanning = pmBoth;
  bool m_animatedZoom = false;
  int m_animatedZoomSteps = 8;
};

}  // namespace tarvela
