#include "chart/panel.h"

#include "chart/messages.h"
#include "runtime/exceptions.h"

namespace tarvela {

// [SECTION] TCustomZavPanel

TCustomZavPanel::TCustomZavPanel(TComponent* owner) : TWinControl(owner) {
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

void TCustomZavPanel::Assign(const TCustomZavPanel& source) {
  if (&source == this) return;
  m_buffered = source.m_buffered;
  m_printProportional = source.m_printProportional;
  m_printResolution = source.m_printResolution;
  m_printMargins = source.m_printMargins;
  m_margins = source.m_margins;
  m_monochrome = source.m_monochrome;
  m_view3D = source.m_view3D;
  m_view3DOptions.Assign(source.m_view3DOptions);
  m_chart3DPercent = source.m_chart3DPercent;
  // Through the control so that a windowing layer mirroring the colour hears of it.
  SetColor(source.Color());
  Invalidate();
}

void TCustomZavPanel::Invalidate() {
  if (!m_autoRepaint) return;
  TControl::Invalidate();
  if (HostInvalidate) HostInvalidate();
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
      });
  return table;
}

// [SECTION] TCustomZavPanelExtended

TCustomZavPanelExtended::TCustomZavPanelExtended(TComponent* owner) : TCustomZavPanel(owner) {}

void TCustomZavPanelExtended::SetGradient(const TChartGradient& gradient) {
  m_gradient.Assign(gradient);
}

void TCustomZavPanelExtended::Assign(const TCustomZavPanel& source) {
  if (auto* extended = dynamic_cast<const TCustomZavPanelExtended*>(&source); extended != nullptr && extended != this) {
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
          BoolProperty<P>("AllowZoom", &P::AllowZoom, &P::SetAllowZoom),
          EnumProperty<P, TPanningMode>("AllowPanning", &P::AllowPanning, &P::SetAllowPanning, kPanning),
          BoolProperty<P>("AnimatedZoom", &P::AnimatedZoom, &P::SetAnimatedZoom),
          IntProperty<P>("AnimatedZoomSteps", &P::AnimatedZoomSteps, &P::SetAnimatedZoomSteps),
      });
  return table;
}

}  // namespace tarvela
