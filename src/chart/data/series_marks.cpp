// Series marks: the framed text boxes at a series' points.
//
//   [SECTION] Positions       the per-point list of where marks were drawn
//   [SECTION] Settings        defaults, the change rule, copying
//   [SECTION] Drawing a mark  PaintAt, ResolvePosition
//   [SECTION] Series side     MarkText, WidestMarkText, DrawAllMarks, PaintMark
//   [SECTION] Chart side      the widest mark text of the chart
//   [SECTION] Published properties
//
// A mark is placed in chart pixels: its arrow starts at the point, its box hangs
// centred above it; the series type then shifts the box and the arrow's end (a line
// series lifts both by ArrowLength). The stored position is the chart-space one, so a
// user-placed mark keeps its place relative to the plot whatever the 3D view does.

#include "tarvela/chart/data/series_marks.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "tarvela/chart/axes/axis_panel.h"
#include "tarvela/chart/canvas/text_lines.h"
#include "tarvela/chart/data/chart_series.h"
#include "tarvela/chart/messages.h"
#include "tarvela/runtime/exceptions.h"
#include "tarvela/runtime/locale_settings.h"
#include "tarvela/runtime/number_pattern.h"
#include "tarvela/runtime/rounding.h"

namespace tarvela {

bool ContrastMarkArrows = true;

namespace {

// The marks' font is the chart's default font: "Arial", 8 points, black, no style.
void InitDefaultFont(TFont& font) {
  font.SetName("Arial");
  font.SetSize(8);
  font.SetColor(clBlack);
  font.SetStyle(0);
}

const TFont& DefaultMarksFont() {
  static const TFont font = [] {
    TFont f;
    InitDefaultFont(f);
    return f;
  }();
  return font;
}

// The two "%s" of pattern filled in order; a "%s" inside the first text stays text.
std::string FillTwo(std::string_view pattern, std::string_view first, std::string_view second) {
  std::string result(pattern);
  std::size_t at = result.find("%s");
  if (at == std::string::npos) return result;
  result.replace(at, 2, first);
  at = result.find("%s", at + first.size());
  if (at != std::string::npos) result.replace(at, 2, second);
  return result;
}

// Lines of a mark's text after the first are cut to this many characters.
constexpr std::size_t kMaxMarkLineRest = 255;

}  // namespace

const EnumNames<TSeriesMarksStyle>& SeriesMarksStyleNames() {
  static const EnumNames<TSeriesMarksStyle> names = {{smsValue, "smsValue"},
                                                     {smsPercent, "smsPercent"},
                                                     {smsLabel, "smsLabel"},
                                                     {smsLabelPercent, "smsLabelPercent"},
                                                     {smsLabelValue, "smsLabelValue"},
                                                     {smsLegend, "smsLegend"},
                                                     {smsPercentTotal, "smsPercentTotal"},
                                                     {smsLabelPercentTotal, "smsLabelPercentTotal"},
                                                     {smsXValue, "smsXValue"}};
  return names;
}

// [SECTION] Positions

void TSeriesMarkPosition::Assign(const TSeriesMarkPosition& source) {
  ArrowStart = source.ArrowStart;
  ArrowEnd = source.ArrowEnd;
  BoxHeight = source.BoxHeight;
  TopLeft = source.TopLeft;
  BoxWidth = source.BoxWidth;
}

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

// [SECTION] Settings

TSeriesMarks::TSeriesMarks(TChartSeries* series) : m_series(series) {
  InitDefaultFont(m_font);
  m_arrow.OnChange = [this] { Repaint(); };
  m_font.OnChange = [this] { Repaint(); };
  m_frame.OnChange = [this] { Repaint(); };
}

void TSeriesMarks::Repaint() const {
  if (m_series != nullptr) m_series->Repaint();
}

namespace {

template <class T>
bool Store(T& field, T value) {
  if (field == value) return false;
  field = value;
  return true;
}

}  // namespace

void TSeriesMarks::SetArrowLength(int pixels) {
  if (Store(m_arrowLength, pixels)) Repaint();
}

void TSeriesMarks::SetBackColor(TColor color) {
  if (Store(m_backColor, color)) Repaint();
}

void TSeriesMarks::SetClip(bool clip) {
  if (Store(m_clip, clip)) Repaint();
}

void TSeriesMarks::SetStyle(TSeriesMarksStyle style) {
  if (Store(m_style, style)) Repaint();
}

void TSeriesMarks::SetTransparent(bool transparent) {
  if (Store(m_transparent, transparent)) Repaint();
}

void TSeriesMarks::SetVisible(bool visible) {
  if (Store(m_visible, visible)) Repaint();
}

bool TSeriesMarks::IsFontStored() const { return !(m_font == DefaultMarksFont()); }

void TSeriesMarks::Assign(const TSeriesMarks& source) {
  if (&source == this) return;
  m_arrow.Assign(source.m_arrow);
  SetArrowLength(source.m_arrowLength);
  SetBackColor(source.m_backColor);
  SetTransparent(source.m_transparent);
  SetClip(source.m_clip);
  m_frame.Assign(source.m_frame);
  m_font.Assign(source.m_font);
  SetStyle(source.m_style);
  SetVisible(source.m_visible);
}

// [SECTION] Drawing a mark

void TSeriesMarks::ResolvePosition(int valueIndex, TSeriesMarkPosition& position) {
  TSeriesMarkPosition* stored = m_positions.Position(valueIndex);
  if (stored == nullptr) {
    // Entries before it stay absent: only drawn marks cost a position.
    auto created = std::make_unique<TSeriesMarkPosition>();
    stored = created.get();
    m_positions.SetPosition(valueIndex, std::move(created));
  }
  if (stored->UserPlaced) {
    position.Assign(*stored);
  } else {
    stored->Assign(position);
  }
}

void TSeriesMarks::PaintAt(int valueIndex, TColor color, std::string_view text, TSeriesMarkPosition& position) {
  if (m_series == nullptr || m_series->ParentChart() == nullptr) return;
  TCustomAxisPanel& chart = *m_series->ParentChart();
  TZavCanvas3D& canvas = chart.Canvas();
  const bool view3D = chart.View3D();

  ResolvePosition(valueIndex, position);

  if (m_arrow.Visible()) {
    canvas.ApplyChartPen(m_arrow);
    canvas.SetBrushStyle(bsClear);
    if (ContrastMarkArrows && (m_arrow.Color() == color || m_arrow.Color() == chart.Color()))
      canvas.SetPenColor(chart.Color() == clBlack ? clWhite : clBlack);
    if (view3D) {
      canvas.LineAtDepth(position.ArrowStart.x, position.ArrowStart.y, position.ArrowEnd.x, position.ArrowEnd.y,
                         m_marksDepth);
    } else {
      canvas.Line2D(position.ArrowStart.x, position.ArrowStart.y, position.ArrowEnd.x, position.ArrowEnd.y);
    }
  }

  // The box stays flat, facing the viewer, hung where the arrow ends on the screen.
  if (view3D && !canvas.DrawsTrue3D()) {
    // In 64 bits: a zoom or offset at its bound projects as far as the int limits.
    const std::int64_t dx = std::int64_t{position.ArrowEnd.x} - position.TopLeft.x;
    const std::int64_t dy = std::int64_t{position.ArrowEnd.y} - position.TopLeft.y;
    const TPoint q = canvas.ProjectPoint(position.ArrowEnd.x, position.ArrowEnd.y, m_marksDepth);
    position.TopLeft = {ClampPixel(q.x - dx), ClampPixel(q.y - dy)};
  }

  if (m_frame.Visible() || !m_transparent) {
    canvas.SetBrushColor(m_backColor);
    canvas.SetBrushStyle(m_transparent ? bsClear : bsSolid);
    canvas.ApplyChartPen(m_frame);
    if (view3D && canvas.DrawsTrue3D()) {
      canvas.RectangleAtDepth(position.BoundsRect(), m_marksDepth + 1);
    } else {
      canvas.DrawRectangleRect(position.BoundsRect());
    }
    // The text starts inside the frame.
    if (m_frame.Visible()) position.TopLeft.y = ClampPixel(std::int64_t{position.TopLeft.y} + m_frame.Width());
  }

  canvas.SetBrushStyle(bsClear);
  canvas.SetTextBackMode(BkMode::Transparent);
  canvas.SetTextAlignFlags(kTextAlignCenter | kTextAlignTop);
  const int x = ClampPixel(std::int64_t{position.TopLeft.x} + position.BoxWidth / 2);
  int y = position.TopLeft.y;
  const int lineHeight = canvas.LineHeight();
  std::string_view rest = text;
  for (;;) {
    const std::size_t end = rest.find(LineBreakChar);
    const std::string_view line = rest.substr(0, end);
    if (!line.empty()) {
      if (canvas.DrawsTrue3D()) {
        canvas.WriteText3D(x, y, m_marksDepth, line);
      } else {
        canvas.WriteText(x, y, line);
      }
    }
    // A final empty piece is no line, as when the box was measured.
    if (end == std::string_view::npos || end + 1 == rest.size()) break;
    y = ClampPixel(std::int64_t{y} + lineHeight);
    rest = LeadingCharacters(rest.substr(end + 1), kMaxMarkLineRest);
  }
  canvas.SetTextAlignFlags(kTextAlignLeft | kTextAlignTop);
}

// [SECTION] Series side

std::string TChartSeries::MarkText(int index) {
  const LocaleSettings locale = m_parentChart != nullptr ? m_parentChart->Locale() : LocaleSettings::Dot();
  const double value = MarkValue(index);
  auto valueText = [&] { return FormatFloat(m_valueFormat, value, locale); };
  auto labelOrValue = [&] {
    const std::string& label = PointLabel(index);
    return label.empty() ? valueText() : label;
  };
  // Marks show the share of the value's size; the legend's percent keeps the sign.
  auto percentText = [&](bool withTotal) {
    const double sum = MarksTotal();
    const double percent = sum == 0 ? 100.0 : std::fabs(value) * 100.0 / sum;
    std::string text = FormatFloat(m_percentFormat, percent, locale);
    if (withTotal) text = FillTwo(messages::kPercentOfTotal, text, FormatFloat(m_valueFormat, sum, locale));
    return text;
  };

  std::string text;
  switch (m_marks.Style()) {
    case smsValue: text = valueText(); break;
    case smsPercent: text = percentText(false); break;
    case smsLabel: text = labelOrValue(); break;
    case smsLabelPercent: text = labelOrValue() + ' ' + percentText(false); break;
    case smsLabelValue: text = labelOrValue() + ' ' + valueText(); break;
    case smsLegend: text = SeriesLegendValueText(*this, index); break;
    case smsPercentTotal: text = percentText(true); break;
    case smsLabelPercentTotal: text = labelOrValue() + ' ' + percentText(true); break;
    case smsXValue: {
      TChartAxis* axis = GetHorizAxis();
      text = axis != nullptr ? axis->FormatLabel(XValueAt(index)) : FormatFloat(m_valueFormat, XValueAt(index), locale);
      break;
    }
  }
  if (OnGetMarkText) OnGetMarkText(this, index, text);
  return text;
}

int TChartSeries::WidestMarkText() {
  if (m_parentChart == nullptr) return 0;
  TZavCanvas3D& canvas = m_parentChart->Canvas();
  int widest = 0;
  // Many points share their texts (a few values, the same label): each text measured
  // once, as far as a bounded memory of them goes.
  constexpr std::size_t kRememberedTexts = 4096;
  std::unordered_set<std::string> measured;
  for (int i = 0; i < PointCount(); ++i) {
    std::string text = MarkText(i);
    if (measured.count(text) != 0) continue;
    widest = std::max(widest, canvas.MeasureTextWidth(text));
    if (measured.size() < kRememberedTexts) measured.insert(std::move(text));
  }
  return widest;
}

// More marks than anyone can read: each pixel keeps the mark drawn last there, which
// lies on top of the others, and the text of none of those is even made. Up to
// kExactMarks every mark is drawn.
std::vector<bool> TChartSeries::MarksUnderLaterMarks() {
  std::vector<bool> hidden;
  const std::int64_t count = static_cast<std::int64_t>(m_lastDrawnIndex) - m_firstDrawnIndex + 1;
  if (m_parentChart == nullptr || count <= kExactMarks) return hidden;
  hidden.assign(static_cast<std::size_t>(count), false);
  // The chart's pixels by a bitmap, any others (a zoomed plot's) by a set.
  const TRect area = m_parentChart->ClientRect();
  const std::int64_t columns = std::max(0, area.right - area.left);
  const std::int64_t rows = std::max(0, area.bottom - area.top);
  std::vector<bool> taken(static_cast<std::size_t>(columns * rows), false);
  std::unordered_set<std::uint64_t> takenOutside;
  for (int i = m_lastDrawnIndex; i >= m_firstDrawnIndex; --i) {
    if (IsNullPoint(i)) continue;
    const TPoint at = MarkAnchor(i);
    const std::int64_t column = std::int64_t{at.x} - area.left;
    const std::int64_t row = std::int64_t{at.y} - area.top;
    bool first;
    if (column >= 0 && row >= 0 && column < columns && row < rows) {
      const auto cell = static_cast<std::size_t>(row * columns + column);
      first = !taken[cell];
      taken[cell] = true;
    } else {
      first = takenOutside
                  .insert((static_cast<std::uint64_t>(static_cast<std::uint32_t>(at.x)) << 32) |
                          static_cast<std::uint32_t>(at.y))
                  .second;
    }
    hidden[static_cast<std::size_t>(i - m_firstDrawnIndex)] = !first;
  }
  return hidden;
}

void TChartSeries::DrawAllMarks() {
  if (m_parentChart == nullptr || m_firstDrawnIndex < 0) return;
  TCustomAxisPanel& chart = *m_parentChart;
  TZavCanvas3D& canvas = chart.Canvas();
  const TChartPen& frame = m_marks.Frame();
  // One scratch position for every mark: PaintAt copies what it keeps.
  TSeriesMarkPosition position;
  const std::vector<bool> hidden = MarksUnderLaterMarks();
  for (int i = m_firstDrawnIndex; i <= m_lastDrawnIndex; ++i) {
    if (IsNullPoint(i)) continue;
    if (!hidden.empty() && hidden[static_cast<std::size_t>(i - m_firstDrawnIndex)]) continue;
    const std::string text = MarkText(i);
    if (text.empty()) continue;

    chart.ApplyChartFont(m_marks.Font());
    // The flat boxes of a projected chart grow with its zoom, as its other texts do.
    if (chart.View3D() && !canvas.DrawsTrue3D() && chart.View3DOptions().ZoomText()) {
      SurfaceFont font = canvas.Font();
      const long double zoomed = static_cast<long double>(font.Size()) * chart.View3DOptions().Zoom() * 0.01L;
      font.SetSize(static_cast<int>(std::max<std::int64_t>(1, Round(zoomed))));
      canvas.SetFont(font);
    }

    int lineCount = 0;
    int width = chart.MultiLineWidth(text, lineCount) + canvas.MeasureTextWidth("W");
    int height = lineCount * canvas.LineHeight();
    canvas.ApplyChartPen(frame);
    if (frame.Visible()) {
      width += 2 * frame.Width();
      height += 2 * frame.Width();
    }

    const TPoint at{PointXPixel(i), PointYPixel(i)};
    position.BoxWidth = width;
    position.BoxHeight = height;
    position.ArrowStart = at;
    position.ArrowEnd = at;
    position.TopLeft = {ClampPixel(std::int64_t{at.x} - width / 2), ClampPixel(std::int64_t{at.y} - height + 1)};
    PaintMark(i, text, position);
  }
}

void TChartSeries::PaintMark(int valueIndex, const std::string& text, TSeriesMarkPosition& position) {
  m_marks.PaintAt(valueIndex, PointColor(valueIndex), text, position);
}

// [SECTION] Chart side

int TCustomAxisPanel::MaxMarkWidth() {
  const SurfaceFont font = Canvas().Font();
  if (m_drawingStamp != 0 && m_markWidthsStamp == m_drawingStamp)
    for (const auto& [keptFont, width] : m_markWidths)
      if (keptFont == font) return width;
  int widest = 0;
  for (TChartSeries* series : m_seriesList)
    if (series->Active()) widest = std::max(widest, series->WidestMarkText());
  // A mark text may have changed the series (an OnGetMarkText handler): kept only when
  // nothing changed meanwhile.
  const std::uint64_t stamp = m_drawingStamp;
  if (stamp == 0) return widest;
  if (m_markWidthsStamp != stamp) {
    m_markWidths.clear();
    m_markWidthsStamp = stamp;
  }
  m_markWidths.emplace_back(font, widest);
  return widest;
}

// [SECTION] Published properties

const PropertyTable& TSeriesMarks::PublishedProperties() {
  using M = TSeriesMarks;
  // ArrowLength and Visible are written whatever their value; the rest when they
  // differ from their defaults.
  static const PropertyTable table(
      nullptr,
      {
          ObjectProperty<M, TChartArrowPen>("Arrow", static_cast<TChartArrowPen& (M::*)()>(&M::Arrow)),
          IntProperty<M>("ArrowLength", &M::ArrowLength, &M::SetArrowLength),
          ColorProperty<M>("BackColor", &M::BackColor, &M::SetBackColor,
                           [](const M& m) { return m.BackColor() != 0x80FFFF; }),
          BoolProperty<M>("Clip", &M::Clip, &M::SetClip, [](const M& m) { return m.Clip(); }),
          [] {
            PropertyInfo font = ObjectProperty<M, TFont>("Font", static_cast<TFont& (M::*)()>(&M::Font));
            font.stored = [](const TPersistent& o) { return static_cast<const M&>(o).IsFontStored(); };
            return font;
          }(),
          ObjectProperty<M, TChartPen>("Frame", static_cast<TChartPen& (M::*)()>(&M::Frame)),
          EnumProperty<M, TSeriesMarksStyle>("Style", &M::Style, &M::SetStyle, SeriesMarksStyleNames(),
                                             [](const M& m) { return m.Style() != smsLabel; }),
          BoolProperty<M>("Transparent", &M::Transparent, &M::SetTransparent,
                          [](const M& m) { return m.Transparent(); }),
          BoolProperty<M>("Visible", &M::Visible, &M::SetVisible),
      });
  return table;
}

}  // namespace tarvela
