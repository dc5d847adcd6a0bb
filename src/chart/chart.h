#pragma once
/// TCustomChart is the chart with walls and titles on top of the chart with axes;
/// TChart is the class a form description names. They own their walls, title and
/// foot by value, offer the shortcuts a form uses (BackColor, Frame), and draw the
/// walls (walls.cpp), the titles (chart_title.cpp) and the legend (legend_paint.cpp)
/// in the paint sequence of the chart with axes. The chart's mouse handling (the part
/// under a press, the click events, zoom, pan, undo and the wheel) is chart_mouse.cpp.
/// @file
#include <array>
#include <functional>

#include "tarvela/chart/axes/axis_panel.h"
#include "tarvela/chart/legend/legend.h"
#include "tarvela/chart/panel/chart_title.h"
#include "tarvela/chart/panel/walls.h"

namespace tarvela {

class TCustomChart;

/// What lies under a mouse position, in the order ClickedPart tests it.
enum TChartClickedPartStyle { cpNone, cpSeries, cpAxis, cpTitle, cpFoot, cpChartRect, cpLegend };

struct TChartClickedPart {
  TChartClickedPartStyle Kind = cpNone;
  /// The point of a series, the item of the legend; -1 otherwise.
  int Index = -1;
  TChartSeries* Series = nullptr;
  TCustomChartAxis* Axis = nullptr;
};

using TChartClickSeries = std::function<void(TCustomChart* sender, TChartSeries* series, int valueIndex,
                                             TMouseButton button, TShiftState shift, int x, int y)>;
using TChartClickAxis = std::function<void(TCustomChart* sender, TCustomChartAxis* axis, TMouseButton button,
                                           TShiftState shift, int x, int y)>;
using TChartClick = std::function<void(TCustomChart* sender, TMouseButton button, TShiftState shift, int x, int y)>;
/// The handler may change the proposed limits and refuse the scroll.
using TChartAllowScroll = std::function<void(TCustomChartAxis* sender, double& aMin, double& aMax, bool& allowScroll)>;

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
  /// BackWall.Color; writing it at run time (a parent window, not loading) also
  /// makes the back wall's brush solid.
  TColor BackColor() const { return m_backWall.Color(); }
  void SetBackColor(TColor color);
  /// BackWall.Pen.
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
  /// The legend's ItemText(n), then OnGetLegendText.
  std::string LegendText(int n);
  /// The first series in list order that is Active; null when none is.
  TChartSeries* FirstActiveSeries() const;
  /// The legend's Color as its last drawing began; series draw their symbols on it.
  TColor LegendBackColor() const { return m_legendBackColor; }
  void SetLegendBackColor(TColor color) { m_legendBackColor = color; }

  // operations: walls (walls.cpp)
  /// The thickness a wall adds beside an axis: LeftWall.Size for LeftAxis,
  /// BottomWall.Size for BottomAxis, when 3D walls are shown; else 0.
  int WallSizeForAxis(const TCustomChartAxis& axis) const override;
  /// The canvas pen and brush take the wall's outline and fill.
  void PrepareWallFill(const TCustomChartWall& wall);

  // operations: titles (chart_title.cpp)
  /// Draws title at the top of PlotRect (or at its bottom) and takes its room from it.
  void DrawTitle(TChartTitle& title, bool atTop);
  /// (x, y) lies in the visible title's TitleRect of the last paint.
  bool TitleHit(const TChartTitle& title, int x, int y) const;

  // events of the mouse (published; chart_mouse.cpp)
  TChartClickSeries OnClickSeries;
  TChartClickAxis OnClickAxis;
  TChartClick OnClickLegend;
  TChartClick OnClickBackground;
  TNotifyEvent OnZoom;
  TNotifyEvent OnUndoZoom;
  TNotifyEvent OnScroll;
  TChartAllowScroll OnAllowScroll;

  // operations: mouse (chart_mouse.cpp)
  /// The part under (x, y): the active series from the last, the axes, the title, the
  /// foot, the plot, the legend; the first match wins.
  TChartClickedPart ClickedPart(int x, int y);
  /// Restores the scales saved before the first zoom or pan, if any; OnUndoZoom.
  void UndoZoom();
  /// True after a zoom, false after an undo.
  bool ZoomApplied() const { return m_zoomApplied; }
  /// Set around each click event; a handler clears it to let the chart's own handling
  /// go on, and an OnMouseDown handler may set it to cancel the press.
  bool MouseCancelled() const { return m_mouseCancelled; }
  void SetMouseCancelled(bool cancelled) { m_mouseCancelled = cancelled; }
  /// No saved scales are pending (true until the first zoom or pan step).
  bool ScalesRestored() const { return m_scalesRestored; }
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

  // overridable steps
  /// The zoom record's band in pmNotXor, so that drawing it again takes it off.
  void DrawZoomBand() override;
  void UpdateBandInBuffer() override;
  bool WheelNotch(bool down, TShiftState shift, int x, int y) override;
  /// "Title: x = X, y = Y" of the point a series shows under (x, y), the values written
  /// as the series' axes write their labels; empty over anything else or while dragging.
  std::string HoverText(int x, int y) override;
  /// UndoZoom, as the drag toward the upper left gives it; a double-click counts only on
  /// the plot.
  bool ResetViewAt(std::optional<TPoint> at) override;
  bool IsBackgroundColor(TColor color) const override {
    return TCustomAxisPanel::IsBackgroundColor(color) || color == BackColor();
  }
  /// The title block (Title at the top, then Foot at the bottom) and the visible
  /// legend of a chart with an active series: a left or right legend before the
  /// titles, a top or bottom one after them, so the one drawn first sits outermost.
  void PlaceTitlesAndLegend() override;
  /// The back wall, and in 3D with walls the left and bottom walls.
  void DrawChartWalls() override;
  int BackWallSize() const override { return m_backWall.Size(); }
  /// Also the frame and the back wall's fill.
  void ApplyCircledMode(bool restore) override;
  TColor CircleBackDefault() const override { return BackColor() == clDefault ? Color() : BackColor(); }

 private:
  static constexpr TColor kLeftWallColor = 0x80FFFF;

  /// The limits of one axis as the user had them before the first zoom or pan.
  struct SavedScale {
    bool automatic = true;
    bool automaticMinimum = true;
    bool automaticMaximum = true;
    double minimum = 0;
    double maximum = 0;
  };

  // mouse helpers (chart_mouse.cpp)
  /// Runs a click event the chart's way; true when the handler left MouseCancelled set.
  template <class Event, class... Args>
  bool CallClickEvent(const Event& event, Args&&... args);
  /// A zoom drag for the left button, a pan drag for the right one, where allowed.
  bool StartDrag(TMouseButton button, int x, int y);
  /// The top, left, right and bottom axes, the ones zoom and undo work on.
  std::array<TChartAxis*, 4> ZoomedAxes();
  void SaveScales();
  /// Pans the axes of one direction from pixel last to pixel now; true when allowed.
  bool PanAxes(bool horizontal, int now, int last);
  void ZoomToBand();
  /// The band rectangle in the pen of DrawZoomBand.
  void DrawBand(const TRect& band);

  // state: mouse
  bool m_zoomApplied = false;
  bool m_mouseCancelled = false;
  bool m_scalesRestored = true;
  std::array<SavedScale, 4> m_savedScales{};

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
