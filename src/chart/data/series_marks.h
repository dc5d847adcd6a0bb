#pragma once
/// TSeriesMarks holds the settings of the small framed text boxes a series can show
/// at its points (text style, font, frame, fill, the arrow to the point) and draws
/// one mark where the series type has placed it. It also keeps, per point, where
/// each mark was last drawn; a position marked UserPlaced there replaces the
/// computed one on every paint.
///
/// Not a component: the series owns it by value and is asked to repaint on change.
/// Not the placement: the series computes the text and the box around its point
/// (TChartSeries::DrawAllMarks, series_marks.cpp) and each series type shifts it
/// (PaintMark); PaintAt here only draws.
/// @file
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "tarvela/chart/canvas/chart_pen.h"
#include "tarvela/platform/surface_types.h"  // TPoint
#include "tarvela/runtime/colors.h"
#include "tarvela/runtime/control.h"  // TRect
#include "tarvela/runtime/font.h"
#include "tarvela/runtime/persistent.h"
#include "tarvela/runtime/properties.h"
#include "tarvela/runtime/rounding.h"

namespace tarvela {

class TChartSeries;

/// What a mark's text shows.
enum TSeriesMarksStyle {
  smsValue,
  smsPercent,
  smsLabel,
  smsLabelPercent,
  smsLabelValue,
  smsLegend,
  smsPercentTotal,
  smsLabelPercentTotal,
  smsXValue
};
const EnumNames<TSeriesMarksStyle>& SeriesMarksStyleNames();

/// The text of an smsLegend mark: the legend's ValueText of point i of series, in the
/// text style of its chart's legend; a series in no chart with a legend gets the
/// default style (ltsLeftValue). Defined in legend.cpp, where the legend is known;
/// declared here so that the marks, which every series owns, need not include the
/// legend, which lists the series and so sits above them.
std::string SeriesLegendValueText(const TChartSeries& series, int i);

/// An arrow in the colour of its point, or of the chart behind it, would not show:
/// while this is set such an arrow is drawn black (white on a black chart).
extern bool ContrastMarkArrows;

/// Where one mark is drawn, in pixels of the chart (before any 3D projection).
struct TSeriesMarkPosition {
  TPoint ArrowStart;  ///< at the point
  TPoint ArrowEnd;    ///< at the box
  /// Set from outside: the stored position replaces the computed one.
  bool UserPlaced = false;
  int BoxHeight = 0;
  TPoint TopLeft;
  int BoxWidth = 0;

  /// TopLeft extended by the box's size; right and bottom excluded as for any rectangle.
  /// Held to the pixel range: a box placed by settings at their bounds may start near it.
  TRect BoundsRect() const {
    return {TopLeft.x, TopLeft.y, ClampPixel(std::int64_t{TopLeft.x} + BoxWidth),
            ClampPixel(std::int64_t{TopLeft.y} + BoxHeight)};
  }
  /// Every field but UserPlaced: a stored position keeps its own flag.
  void Assign(const TSeriesMarkPosition& source);
};

/// Indexed by point; an entry is absent (null) or owns a position. May be shorter
/// than the point count.
class TSeriesMarksPositions {
 public:
  int Count() const { return static_cast<int>(m_positions.size()); }
  TSeriesMarkPosition* Position(int index) const;  ///< null when absent or beyond the list
  void SetPosition(int index, std::unique_ptr<TSeriesMarkPosition> position);
  /// Drops the entry of a deleted point when the list is that long.
  void DeletePosition(int index);
  void Clear();

 private:
  // state
  std::vector<std::unique_ptr<TSeriesMarkPosition>> m_positions;
};

class TSeriesMarks : public TPersistent {
 public:
  explicit TSeriesMarks(TChartSeries* series);
  TSeriesMarks(const TSeriesMarks&) = delete;
  TSeriesMarks& operator=(const TSeriesMarks&) = delete;
  std::string_view ClassName() const override { return "TSeriesMarks"; }
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override { return PublishedProperties(); }

  // settings
  /// The line from the point to its box; white by default.
  TChartArrowPen& Arrow() { return m_arrow; }
  const TChartArrowPen& Arrow() const { return m_arrow; }
  void SetArrow(const TChartPen& pen) { m_arrow.Assign(pen); }
  /// Pixels between a point and its mark box (each series type applies it).
  int ArrowLength() const { return m_arrowLength; }
  void SetArrowLength(int pixels);
  /// The box fill; light yellow by default.
  TColor BackColor() const { return m_backColor; }
  void SetBackColor(TColor color);
  /// Clip the marks to the 3D box as the series' points are clipped.
  bool Clip() const { return m_clip; }
  void SetClip(bool clip);
  /// The chart's default font unless changed.
  TFont& Font() { return m_font; }
  const TFont& Font() const { return m_font; }
  void SetFont(const TFont& font) { m_font.Assign(font); }
  TChartPen& Frame() { return m_frame; }
  const TChartPen& Frame() const { return m_frame; }
  void SetFrame(const TChartPen& pen) { m_frame.Assign(pen); }
  TSeriesMarksStyle Style() const { return m_style; }
  void SetStyle(TSeriesMarksStyle style);
  /// No box fill.
  bool Transparent() const { return m_transparent; }
  void SetTransparent(bool transparent);
  bool Visible() const { return m_visible; }
  void SetVisible(bool visible);

  // settings (not published)
  /// The depth at which arrows are drawn; the chart's paint sets it to the series'
  /// DepthMiddle, a series type may move it before each mark.
  int MarksDepth() const { return m_marksDepth; }
  void SetMarksDepth(int depth) { m_marksDepth = depth; }
  /// Where each point's mark was last drawn, or was placed from outside.
  TSeriesMarksPositions& PositionList() { return m_positions; }
  const TSeriesMarksPositions& PositionList() const { return m_positions; }

  // operations
  TChartSeries* ParentSeries() const { return m_series; }
  /// Copies the settings, not the positions.
  void Assign(const TSeriesMarks& source);
  /// Whether Font differs from the chart's default font (a writer stores it then).
  bool IsFontStored() const;
  /// Draws one mark of color's point at position (changed on the way: the stored
  /// position when user placed, the box's screen place in 3D). Needs the series' chart
  /// and the marks font on its canvas.
  void PaintAt(int valueIndex, TColor color, std::string_view text, TSeriesMarkPosition& position);
  /// A user-placed entry of valueIndex overrides position; any other entry (created
  /// when absent) takes position's values.
  void ResolvePosition(int valueIndex, TSeriesMarkPosition& position);
  /// Frees every entry and empties the list.
  void ForgetPositions() { m_positions.Clear(); }

 private:
  void Repaint() const;

  // state
  TChartSeries* m_series;
  TChartArrowPen m_arrow;
  int m_arrowLength = 8;
  TColor m_backColor = 0x80FFFF;
  bool m_clip = false;
  TFont m_font;
  TChartPen m_frame;
  TSeriesMarksStyle m_style = smsLabel;
  bool m_transparent = false;
  bool m_visible = false;
  int m_marksDepth = 0;
  TSeriesMarksPositions m_positions;
};

}  // namespace tarvela
