// Text blocks of a chart: their settings, and how the chart places and draws the
// title and the foot.
//
// Contents
//   [SECTION] TChartFontObject
//   [SECTION] TChartTitle
//   [SECTION] Placing and drawing the titles
//
// The title block runs before the axes are laid out: the title takes its lines, its
// frame and a fixed gap from the top of PlotRect, the foot from its bottom. A visible
// title with no lines still takes the gap, so the plot never touches the panel's edge.

#include "tarvela/chart/panel/chart_title.h"

#include <algorithm>
#include <vector>

#include "tarvela/chart/chart.h"

namespace tarvela {

namespace {
constexpr const char* kDefaultFontName = "Arial";
constexpr int kDefaultFontSize = 8;
}  // namespace

// [SECTION] TChartFontObject

TChartFontObject::TChartFontObject(TCustomChart* chart) : m_chart(chart) {
  m_font.SetName(kDefaultFontName);
  m_font.SetSize(kDefaultFontSize);
  m_font.SetColor(clBlack);
  m_font.SetStyle(0);
  m_font.OnChange = [this] { Repaint(); };
}

void TChartFontObject::Repaint() {
  if (m_chart != nullptr) m_chart->Invalidate();
}

// [SECTION] TChartTitle

TChartTitle::TChartTitle(TCustomChart* chart) : TChartFontObject(chart) {
  auto handler = std::move(Font().OnChange);
  Font().SetColor(m_defaultFontColor);
  Font().OnChange = std::move(handler);
  m_brush.OnChange = [this] { Repaint(); };
  m_frame.OnChange = [this] { Repaint(); };
  m_text.OnChange = [this] { Repaint(); };
}

bool TChartTitle::IsFontStored() const {
  const TFont& font = Font();
  return font.Name() != kDefaultFontName || font.Size() != kDefaultFontSize || font.Color() != m_defaultFontColor ||
         font.Style() != m_defaultFontStyle;
}

void TChartTitle::Assign(const TChartTitle& source) {
  SetAdjustFrame(source.m_adjustFrame);
  SetAlignment(source.m_alignment);
  m_brush.Assign(source.m_brush);
  SetColor(source.m_color);
  SetFont(source.Font());
  m_frame.Assign(source.m_frame);
  SetText(source.m_text);
  SetVisible(source.m_visible);
}

const PropertyTable& TChartTitle::PublishedProperties() {
  using T = TChartTitle;
  static const EnumNames<TAlignment> kAlignments = {
      {taLeftJustify, "taLeftJustify"}, {taRightJustify, "taRightJustify"}, {taCenter, "taCenter"}};
  static const PropertyTable table(
      nullptr,
      {
          BoolProperty<T>("AdjustFrame", &T::AdjustFrame, &T::SetAdjustFrame),
          EnumProperty<T, TAlignment>("Alignment", &T::Alignment, &T::SetAlignment, kAlignments),
          ObjectProperty<T, TChartBrush>("Brush", static_cast<TChartBrush& (T::*)()>(&T::Brush)),
          ColorProperty<T>("Color", &T::Color, &T::SetColor),
          [] {
            PropertyInfo font = ObjectProperty<T, TFont>("Font", static_cast<TFont& (T::*)()>(&T::Font));
            font.stored = [](const TPersistent& o) { return static_cast<const T&>(o).IsFontStored(); };
            return font;
          }(),
          ObjectProperty<T, TChartPen>("Frame", static_cast<TChartPen& (T::*)()>(&T::Frame)),
          ObjectProperty<T, TStrings>("Text", static_cast<TStrings& (T::*)()>(&T::Text)),
          BoolProperty<T>("Visible", &T::Visible, &T::SetVisible),
      });
  return table;
}

// [SECTION] Placing and drawing the titles

namespace {

// Between a title block and the plot, whatever the title holds.
constexpr int kTitleGap = 5;

// The chart brush as the canvas draws with it.
SurfaceBrush RealisedBrush(const TChartBrush& brush) {
  SurfaceBrush realised{brush.Color(), brush.Style(), std::nullopt};
  if (brush.HasPattern()) realised.pattern = brush.Pattern();
  return realised;
}

}  // namespace

void TCustomChart::PlaceTitlesAndLegend() {
  // Titles and legend ignore the depth of the picture.
  Canvas().BeginFlatDrawing();
  auto titleBlock = [this] {
    if (m_title.Visible()) DrawTitle(m_title, true);
    if (m_foot.Visible()) DrawTitle(m_foot, false);
  };
  if (!m_legend.Visible() || ActiveSeriesTotal() == 0) {
    titleBlock();
  } else if (m_legend.IsVertical()) {
    // A side legend is placed against the panel's height, so it goes first and the
    // titles then narrow only the plot beside it.
    m_legend.PaintLegend();
    titleBlock();
  } else {
    titleBlock();
    m_legend.PaintLegend();
  }
  Canvas().EndFlatDrawing();
}

void TCustomChart::DrawTitle(TChartTitle& title, bool atTop) {
  TZavCanvas3D& canvas = Canvas();
  ApplyChartFont(title.Font());
  const int lineHeight = canvas.LineHeight();

  // The background: the title's Color, or else what its brush says.
  const TChartBrush& brush = title.Brush();
  const bool solidBrush = brush.Style() == bsSolid && !brush.HasPattern();
  if (title.Color() == clDefault) {
    if (!solidBrush) {
      canvas.SetBrush(RealisedBrush(brush));
      canvas.SetTextBackMode(BkMode::Transparent);
    } else if (brush.Color() == clDefault) {
      canvas.SetBrushStyle(bsClear);
    } else {
      // A solid brush with a colour becomes the title's colour (and repaints once).
      title.SetColor(brush.Color());
      canvas.SetBrush(SurfaceBrush{title.Color(), bsSolid, std::nullopt});
    }
  } else if (!solidBrush) {
    canvas.SetBrush(RealisedBrush(brush));
    canvas.SetTextBackMode(BkMode::Opaque);
    canvas.SetTextBackColor(static_cast<TColor>(ColorToRGB(title.Color())));
  } else {
    canvas.SetBrush(SurfaceBrush{title.Color(), bsSolid, std::nullopt});
  }

  const TChartPen& frame = title.Frame();
  const int inset = frame.Visible() && frame.Color() != clDefault ? frame.Width() : 0;
  const int lineCount = title.Text().Count();
  const TRect plot = PlotRect();
  const int left = plot.left + inset;
  const int right = plot.right - inset;
  TRect rect = atTop ? TRect{left, plot.top + inset, right, plot.top + inset + lineCount * lineHeight}
                     : TRect{left, plot.bottom - inset - lineCount * lineHeight, right, plot.bottom - inset};
  int frameWidth = 0;
  if (frame.Visible()) {
    canvas.ApplyChartPen(frame);
    frameWidth = frame.Width();
  } else {
    canvas.SetPenStyle(psClear);
  }
  rect = {rect.left - frameWidth, rect.top - frameWidth, rect.right + frameWidth, rect.bottom + frameWidth};

  const int letterWidth = canvas.MeasureTextWidth("W");
  std::vector<int> lineWidths;
  lineWidths.reserve(static_cast<std::size_t>(lineCount));
  for (const std::string& line : title.Text().Lines()) lineWidths.push_back(canvas.MeasureTextWidth(line));
  const bool drawsBackground = canvas.Brush().style != bsClear || canvas.Brush().pattern.has_value();
  if (frame.Visible() || drawsBackground) {
    if (title.AdjustFrame()) {
      const int widest = lineWidths.empty() ? 0 : *std::max_element(lineWidths.begin(), lineWidths.end());
      const int adjusted = letterWidth + widest;
      switch (title.Alignment()) {
        case taLeftJustify: rect.right = rect.left + adjusted; break;
        case taRightJustify: rect.left = rect.right - adjusted; break;
        case taCenter: {
          const int middle = (rect.left + rect.right) / 2;
          rect.left = middle - adjusted / 2;
          rect.right = middle + adjusted / 2;
          break;
        }
      }
    }
    canvas.DrawRectangleRect(rect);
  }
  title.SetTitleRect(rect);

  canvas.SetTextBackMode(BkMode::Transparent);
  // Whatever the last paint's axes left, titles hang from the top-left of their cell.
  canvas.SetTextAlignFlags(kTextAlignLeft | kTextAlignTop);
  auto lineX = [&](int width) {
    switch (title.Alignment()) {
      case taLeftJustify: return left + letterWidth / 2;
      case taRightJustify: return right - width - letterWidth / 2;
      case taCenter: break;
    }
    return (left + right) / 2 - width / 2;
  };
  auto write = [&](int index, int y) {
    const std::string& line = title.Text().Strings(index);
    const int x = lineX(lineWidths[static_cast<std::size_t>(index)]);
    if (canvas.RotatesFreely()) {
      canvas.WriteText3D(x, y, 0, line);
    } else {
      canvas.WriteText(x, y, line);
    }
  };
  if (atTop) {
    for (int i = 0; i < lineCount; ++i) write(i, plot.top + inset + i * lineHeight);
  } else {
    // Upward from the bottom: the last line lowest.
    for (int i = lineCount - 1, y = plot.bottom - inset; i >= 0; --i) {
      y -= lineHeight;
      write(i, y);
    }
  }

  const int room = inset + lineCount * lineHeight + frameWidth + kTitleGap;
  TRect narrowed = plot;
  if (atTop) {
    narrowed.top += room;
  } else {
    narrowed.bottom -= room;
  }
  SetPlotRect(narrowed);
  NormalizePlotRect();
}

bool TCustomChart::TitleHit(const TChartTitle& title, int x, int y) const {
  const TRect& r = title.TitleRect();
  return title.Visible() && x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

}  // namespace tarvela
