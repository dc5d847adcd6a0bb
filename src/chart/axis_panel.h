#pragma once
// TCustomAxisPanel is the chart with axes: the panel that will own the series list
// and the five axes and run the inner drawing of every paint. For now it holds the
// axis-level switches only; the axes, the series list and paging come with them.

#include "chart/panel.h"

namespace tarvela {

class TCustomAxisPanel : public TCustomZavPanelExtended {
 public:
  explicit TCustomAxisPanel(TComponent* owner);
  std::string_view ClassName() const override { return "TCustomAxisPanel"; }
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override { return PublishedProperties(); }

  // settings
  // Draw axes at all.
  bool AxisVisible() const { return m_axisVisible; }
  void SetAxisVisible(bool visible) { Change(m_axisVisible, visible); }
  // Clip series drawing to the 3D box.
  bool ClipPoints() const { return m_clipPoints; }
  void SetClipPoints(bool clip) { Change(m_clipPoints, clip); }
  // Walls shown in 3D; also decides the back wall's thickness in the layout.
  bool View3DWalls() const { return m_view3DWalls; }
  void SetView3DWalls(bool walls) { Change(m_view3DWalls, walls); }
  // A short last page is scaled to its own points.
  bool ScaleLastPage() const { return m_scaleLastPage; }
  void SetScaleLastPage(bool scale) { Change(m_scaleLastPage, scale); }

  // operations
  void Assign(const TCustomZavPanel& source) override;

 private:
  // state
  bool m_axisVisible = true;
  bool m_clipPoints = true;
  bool m_view3DWalls = true;
  bool m_scaleLastPage = true;
};

}  // namespace tarvela
