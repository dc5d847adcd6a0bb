#pragma once
// TCustomChart is the chart with walls and titles on top of the chart with axes;
// TChart is the class a form description names. They own their walls, title and
// foot by value, offer the shortcuts a form uses (BackColor, Frame), and draw the
// walls (walls.cpp), the titles (chart_title.cpp) and the legend (legend_paint.cpp)
// in the paint sequence of the chart with axes. Mouse handling comes later.

#include "chart/axis_panel.h"
#include "chart/chart_title.h"
#include "chart/legend.h"
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
  TChartLegend& Legend() { return m_legend; }
  const TChartLegend& Legend() const { return m_legend; }
  void SetLegend(const TChartLegend& legend) { m_legend.Assign(legend); }

  // events of the legend (published)
  TOnGetLegendText OnGetLegendText;
  TOnGetLegendPos OnGetLegendPos;
  TOnGetLegendRect OnGetLegendRect;

  // operations: legend (legend.cpp)
  // The legend's ItemText(n), then OnGetLegendText.
  std::string LegendText(int n);
  // The first series in list order that is Active; null when none is.
  TChartSeries* FirstActiveSeries() const;
  // The legend's Color as its last drawing began; series draw their symbols on it.
  TColor LegendBackColor() const { return m_legendBackColor; }
  void SetLegendBackColor(TColor color) { m_legendBackColor = color; }

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
  // The title block (Title at the top, then Foot at the bottom) and the visible
  // legend of a chart with an active series: a left or right legend before the
  // titles, a top or bottom one after them, so the one drawn first sits outermost.
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
  TChartLegend m_legend{this};
  TColor m_legendBackColor = clWhite;
};

class TChart : public TCustomChart {
 public:
  explicit TChart(TComponent* owner) : TCustomChart(owner) {}
  std::string_view ClassName() const override { return "TChart"; }
};

}  // namespace tarvela
