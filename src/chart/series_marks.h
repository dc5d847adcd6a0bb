#pragma once
// TSeriesMarks holds the settings of the small text boxes a series can show at its
// points, and the positions of marks placed from outside. So far it is the data
// side only: whether marks show, the arrow length, and the position list that the
// point operations keep in step (deleting a point deletes its position, clearing
// the points forgets them all). The text, frame, arrow pen and drawing come with
// the drawing of marks.
//
// Not a component: the series owns it by value and is asked to repaint on change.

#include <memory>
#include <vector>

#include "runtime/persistent.h"
#include "runtime/properties.h"

namespace tarvela {

class TChartSeries;

// Where one mark is drawn. Its fields (arrow ends, box corner and size, whether
// it was placed from outside) come with the drawing of marks.
struct TSeriesMarkPosition {};

// Indexed by point; an entry is absent (null) or owns a position. May be shorter
// than the point count.
class TSeriesMarksPositions {
 public:
  int Count() const { return static_cast<int>(m_positions.size()); }
  TSeriesMarkPosition* Position(int index) const;  // null when absent or beyond the list
  void SetPosition(int index, std::unique_ptr<TSeriesMarkPosition> position);
  // Drops the entry of a deleted point when the list is that long.
  void DeletePosition(int index);
  void Clear();

 private:
  // state
  std::vector<std::unique_ptr<TSeriesMarkPosition>> m_positions;
};

class TSeriesMarks : public TPersistent {
 public:
  explicit TSeriesMarks(TChartSeries* series) : m_series(series) {}
  TSeriesMarks(const TSeriesMarks&) = delete;
  TSeriesMarks& operator=(const TSeriesMarks&) = delete;
  std::string_view ClassName() const override { return "TSeriesMarks"; }
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override { return PublishedProperties(); }

  // settings
  // Pixels between a point and its mark box (each series type applies it).
  int ArrowLength() const { return m_arrowLength; }
  void SetArrowLength(int pixels);
  bool Visible() const { return m_visible; }
  void SetVisible(bool visible);
  // Clip the marks to the 3D box as the series' points are clipped.
  bool Clip() const { return m_clip; }
  void SetClip(bool clip);

  // settings (not published)
  // The depth at which arrows are drawn; the chart's paint sets it to the series'
  // DepthMiddle.
  int MarksDepth() const { return m_marksDepth; }
  void SetMarksDepth(int depth) { m_marksDepth = depth; }

  // operations
  TChartSeries* ParentSeries() const { return m_series; }
  TSeriesMarksPositions& Positions() { return m_positions; }
  const TSeriesMarksPositions& Positions() const { return m_positions; }
  // Copies the settings, not the positions.
  void Assign(const TSeriesMarks& source);

 private:
  void Repaint() const;

  // state
  TChartSeries* m_series;
  int m_arrowLength = 8;
  bool m_visible = false;
  bool m_clip = false;
  int m_marksDepth = 0;
  TSeriesMarksPositions m_positions;
};

}  // namespace tarvela
