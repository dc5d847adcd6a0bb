#include "tarvela/chart/canvas/view3d_options.h"

#include "tarvela/chart/panel/panel.h"

namespace tarvela {

void TView3DOptions::Repaint() {
  if (m_owner != nullptr) m_owner->Invalidate();
}

void TView3DOptions::SetHorizOffset(int pixels) {
  if (Change(m_horizOffset, pixels) && NotifyScrolled) NotifyScrolled(true);
}

void TView3DOptions::SetVertOffset(int pixels) {
  if (Change(m_vertOffset, pixels) && NotifyScrolled) NotifyScrolled(false);
}

void TView3DOptions::SetZoom(int percent) {
  if (percent == m_zoom) return;
  // The listener sees the old zoom still in place, so it can scale from it.
  if (NotifyZooming) NotifyZooming(percent);
  m_zoom = percent;
  Repaint();
}

void TView3DOptions::Assign(const TView3DOptions& source) {
  m_elevation = source.m_elevation;
  m_horizOffset = source.m_horizOffset;
  m_orthogonal = source.m_orthogonal;
  m_perspective = source.m_perspective;
  m_rotation = source.m_rotation;
  m_tilt = source.m_tilt;
  m_vertOffset = source.m_vertOffset;
  m_zoom = source.m_zoom;
  m_zoomText = source.m_zoomText;
  Repaint();
}

const PropertyTable& TView3DOptions::PublishedProperties() {
  using V = TView3DOptions;
  static const PropertyTable table(
      nullptr,
      {
          IntProperty<V>("Elevation", &V::Elevation, &V::SetElevation),
          IntProperty<V>("HorizOffset", &V::HorizOffset, &V::SetHorizOffset),
          BoolProperty<V>("Orthogonal", &V::Orthogonal, &V::SetOrthogonal),
          IntProperty<V>("Perspective", &V::Perspective, &V::SetPerspective),
          IntProperty<V>("Rotation", &V::Rotation, &V::SetRotation),
          IntProperty<V>("Tilt", &V::Tilt, &V::SetTilt),
          IntProperty<V>("VertOffset", &V::VertOffset, &V::SetVertOffset),
          IntProperty<V>("Zoom", &V::Zoom, &V::SetZoom),
          BoolProperty<V>("ZoomText", &V::ZoomText, &V::SetZoomText),
      });
  return table;
}

}  // namespace tarvela
