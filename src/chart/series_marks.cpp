#include "chart/series_marks.h"

#include "chart/chart_series.h"

namespace tarvela {

TSeriesMarkPosition* TSeriesMarksPositions::Position(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return m_positions[static_cast<std::size_t>(index)].get();
}

void TSeriesMarksPositions::SetPosition(int index, std::unique_ptr<TSeriesMarkPosition> position) {
  if (index < 0) ThrowListIndexError(index);
  if (index >= Count()) m_positions.resize(static_cast<std::size_t>(index) + 1);
  m_positions[static_cast<std::size_t>(index)] = std::move(position);
}

void TSeriesMarksPositions::DeletePosition(int index) {
  if (index < 0 || index >= Count()) return;
  m_positions.erase(m_positions.begin() + index);
}

void TSeriesMarksPositions::Clear() { std::vector<std::unique_ptr<TSeriesMarkPosition>>().swap(m_positions); }

void TSeriesMarks::Repaint() const {
  if (m_series != nullptr) m_series->Repaint();
}

void TSeriesMarks::SetArrowLength(int pixels) {
  if (pixels == m_arrowLength) return;
  m_arrowLength = pixels;
  Repaint();
}

void TSeriesMarks::SetVisible(bool visible) {
  if (visible == m_visible) return;
  m_visible = visible;
  Repaint();
}

void TSeriesMarks::SetClip(bool clip) {
  if (clip == m_clip) return;
  m_clip = clip;
  Repaint();
}

void TSeriesMarks::Assign(const TSeriesMarks& source) {
  SetArrowLength(source.m_arrowLength);
  SetClip(source.m_clip);
  SetVisible(source.m_visible);
}

const PropertyTable& TSeriesMarks::PublishedProperties() {
  using M = TSeriesMarks;
  // ArrowLength and Visible are written whatever their value.
  static const PropertyTable table(nullptr, {
                                                IntProperty<M>("ArrowLength", &M::ArrowLength, &M::SetArrowLength),
                                                BoolProperty<M>("Visible", &M::Visible, &M::SetVisible),
                                                BoolProperty<M>("Clip", &M::Clip, &M::SetClip),
                                            });
  return table;
}

}  // namespace tarvela
