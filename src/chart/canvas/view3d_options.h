#pragma once
/// The projection settings of a chart panel: angles, offsets, perspective and zoom.
/// Only settings: the 3D canvas reads them in each paint. No setter checks a range;
/// every integer is a valid angle, offset or zoom.
/// @file
#include <functional>

#include "tarvela/runtime/persistent.h"
#include "tarvela/runtime/properties.h"

namespace tarvela {

class TCustomZavPanel;

class TView3DOptions : public TPersistent {
 public:
  /// owner may be null: a plain value to copy from.
  explicit TView3DOptions(TCustomZavPanel* owner) : m_owner(owner) {}
  TView3DOptions(const TView3DOptions&) = delete;
  TView3DOptions& operator=(const TView3DOptions&) = delete;
  std::string_view ClassName() const override { return "TView3DOptions"; }
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override { return PublishedProperties(); }

  // settings (degrees, pixels, percent)
  int Elevation() const { return m_elevation; }
  void SetElevation(int degrees) { Change(m_elevation, degrees); }
  int HorizOffset() const { return m_horizOffset; }
  void SetHorizOffset(int pixels);
  /// The oblique projection instead of rotation.
  bool Orthogonal() const { return m_orthogonal; }
  void SetOrthogonal(bool orthogonal) { Change(m_orthogonal, orthogonal); }
  /// 0: none.
  int Perspective() const { return m_perspective; }
  void SetPerspective(int perspective) { Change(m_perspective, perspective); }
  int Rotation() const { return m_rotation; }
  void SetRotation(int degrees) { Change(m_rotation, degrees); }
  int Tilt() const { return m_tilt; }
  void SetTilt(int degrees) { Change(m_tilt, degrees); }
  int VertOffset() const { return m_vertOffset; }
  void SetVertOffset(int pixels);
  int Zoom() const { return m_zoom; }
  void SetZoom(int percent);
  /// Scale fonts with Zoom.
  bool ZoomText() const { return m_zoomText; }
  void SetZoomText(bool zoomText) { Change(m_zoomText, zoomText); }

  // operations
  TCustomZavPanel* Owner() const { return m_owner; }
  /// Copies the nine values and repaints the owner; the two listeners are not told.
  void Assign(const TView3DOptions& source);

  /// Told after HorizOffset (true) or VertOffset (false) changed, after the repaint request.
  std::function<void(bool horizontal)> NotifyScrolled;
  /// Told the new Zoom before it is stored.
  std::function<void(int zoom)> NotifyZooming;

 private:
  template <class T>
  bool Change(T& field, T value) {
    if (field == value) return false;
    field = value;
    Repaint();
    return true;
  }
  void Repaint();

  // state
  TCustomZavPanel* m_owner;
  int m_elevation = 345;
  int m_horizOffset = 0;
  bool m_orthogonal = true;
  int m_perspective = 15;
  int m_rotation = 345;
  int m_tilt = 0;
  int m_vertOffset = 0;
  int m_zoom = 100;
  bool m_zoomText = true;
};

}  // namespace tarvela
