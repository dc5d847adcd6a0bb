#pragma once
// TCustomChart is the chart with walls and titles on top of the chart with axes;
// TChart is the class a form description names. They own their walls, title and
// foot by value, offer the shortcuts a form uses (BackColor, Frame), and draw the
// walls (walls.cpp) and the titles (chart_title.cpp) in the paint sequence of the
// chart with axes. Legend and mouse handling come later.

#include "chart/axis_panel.h"
#include "chart/chart_title.h"
#include "chart/walls.h"

namespace tarvela {

class TCustomChart : public TCustomAxisPanel {
 public:
  explicit TCustomChart(TComponent* owner);
  ~TCustomChart() override;
  std::string_view ClassName() const override { return "TCustomChart"; }
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override { return PublishedProperties(); }

  // settings
  TChartWall& BackWall() { return m_backWall; }
  const TChartWall& BackWall() const { return m_backWall; }
  void SetBackWall(const TChartWall& wall) { m_backWall.Assign(wall); }
  TChartWall& LeftWall() { return m_leftWall; }
  const TChartWall& LeftWall() const { return m_leftWall; }
  void SetLeftWall(const TChartWall& wall) { m_leftWall.Assign(wall); }
  TChartWall& BottomWall() { return m_bottomWall; }
  const TChartWall& BottomWall() const { return m_bottomWall; }
  void SetBottomWall(const TChartWall& wall) { m_bottomWall.Assign(wall); }
  TChartTitle& Title() { return m_title; }
  const TChartTitle& Title() const { return m_title; }
  void SetTitle(const TChartTitle& title) { m_title.Assign(title); }
  TChartTitle& Foot() { return m_foot; }
  const TChartTitle& Foot() const { return m_foot; }
  void SetFoot(const TChartTitle& foot) { m_foot.Assign(foot); }
  // BackWall.Color; writing it at run time (a parent window, not loading) also
  // makes the back wall's brush solid.
  TColor BackColor() const { return m_backWall.Color(); }
  void SetBackColor(TColor color);
  // BackWall.Pen.
  TChartPen& Frame() { return m_backWall.Pen(); }
  const TChartPen& Frame() const { return m_backWall.Pen(); }
  void SetFrame(const TChartPen& pen) { m_backWall.SetPen(pen); }

  // operations: walls (walls.cpp)
  // The thickness a wall adds beside an axis: LeftWall.Size for LeftAxis,
  // BottomWall.Size for BottomAxis, when 3D walls are shown; else 0.
  int WallSizeForAxis(const TCustomChartAxis& axis) const;
  // The canvas pen and brush take the wall's outline and fill.
  void PrepareWallFill(const TCustomChartWall& wall);

  // operations: titles (chart_title.cpp)
  // Draws title at the top of PlotRect (or at its bottom) and takes its room from it.
  void DrawTitle(TChartTitle& title, bool atTop);
  // (x, y) lies in the visible title's TitleRect of the last paint.
  bool TitleHit(const TChartTitle& title, int x, int y) const;

  // overridable steps
  bool IsBackgroundColor(TColor color) const override {
    return TCustomAxisPanel::IsBackgroundColor(color) || color == BackColor();
  }
  // The title block: Title at the top, then Foot at the bottom. The legend joins
  // here once it exists; until then it counts as not visible.
  void PlaceTitlesAndLegend() override;
  // The back wall, and in 3D with walls the left and bottom walls.
  void DrawChartWalls() override;
  int BackWallSize() const override { return m_backWall.Size(); }

 private:
  static constexpr TColor kLeftWallColor = 0x80FFFF;

  // state
  TChartWall m_backWall{this, clDefault};
  TChartWall m_leftWall{this, kLeftWallColor};
  TChartWall m_bottomWall{this, clWhite};
  TChartTitle m_title{this};
  TChartTitle m_foot{this};
};

class TChart : public TCustomChart {
 public:
  explicit TChart(TComponent* owner) : TCustomChart(owner) {}
  std::string_view ClassName() const override { return "TChart"; }
};

}  // namespace tarvela
