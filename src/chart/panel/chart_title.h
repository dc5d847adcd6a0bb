#pragma once
/// Text blocks of a chart: TChartFontObject is any chart-owned object that carries a
/// font (created as the default chart font: Arial, 8 points, black, no style);
/// TChartTitle is the title above the plot or the foot below it. Settings and the
/// rectangle of the last draw: the chart places and draws them
/// (TCustomChart::DrawTitle, chart_title.cpp). Neither is a component.
/// @file
#include "tarvela/chart/canvas/chart_brush.h"
#include "tarvela/chart/canvas/chart_pen.h"
#include "tarvela/runtime/colors.h"
#include "tarvela/runtime/control.h"  // TRect
#include "tarvela/runtime/font.h"
#include "tarvela/runtime/persistent.h"
#include "tarvela/runtime/properties.h"
#include "tarvela/runtime/string_list.h"

namespace tarvela {

class TCustomChart;

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

class TChartFontObject : public TPersistent {
 public:
  explicit TChartFontObject(TCustomChart* chart);
  TChartFontObject(const TChartFontObject&) = delete;
  TChartFontObject& operator=(const TChartFontObject&) = delete;

  // settings
  TFont& Font() { return m_font; }
  const TFont& Font() const { return m_font; }
  void SetFont(const TFont& font) { m_font.Assign(font); }

  // operations
  TCustomChart* ParentChart() const { return m_chart; }

 protected:
  void Repaint();

 private:
  // state
  TCustomChart* m_chart;
  TFont m_font;
};

class TChartTitle : public TChartFontObject {
 public:
  explicit TChartTitle(TCustomChart* chart);
  std::string_view ClassName() const override { return "TChartTitle"; }
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override { return PublishedProperties(); }

  // settings
  /// Shrink the frame to the width of the text.
  bool AdjustFrame() const { return m_adjustFrame; }
  void SetAdjustFrame(bool adjust) { Change(m_adjustFrame, adjust); }
  TAlignment Alignment() const { return m_alignment; }
  void SetAlignment(TAlignment alignment) { Change(m_alignment, alignment); }
  TChartBrush& Brush() { return m_brush; }
  const TChartBrush& Brush() const { return m_brush; }
  void SetBrush(const TChartBrush& brush) { m_brush.Assign(brush); }
  /// Background colour; clDefault leaves the background to the brush.
  TColor Color() const { return m_color; }
  void SetColor(TColor color) { Change(m_color, color); }
  TChartPen& Frame() { return m_frame; }
  const TChartPen& Frame() const { return m_frame; }
  void SetFrame(const TChartPen& pen) { m_frame.Assign(pen); }
  /// One entry per line.
  TStrings& Text() { return m_text; }
  const TStrings& Text() const { return m_text; }
  void SetText(const TStrings& text) { m_text.SetLines(text.Lines()); }
  bool Visible() const { return m_visible; }
  void SetVisible(bool visible) { Change(m_visible, visible); }

  // operations
  /// A writer leaves the font out while name, size, colour and style are the defaults.
  bool IsFontStored() const;
  /// Copies every setting, each part by the change rule.
  void Assign(const TChartTitle& source);
  /// Where the last paint drew the title (its frame and background); the mouse asks.
  const TRect& TitleRect() const { return m_titleRect; }
  void SetTitleRect(const TRect& rect) { m_titleRect = rect; }

 private:
  template <class T>
  void Change(T& field, T value) {
    if (field == value) return;
    field = value;
    Repaint();
  }

  // state
  bool m_adjustFrame = true;
  TAlignment m_alignment = taCenter;
  TChartBrush m_brush;
  TColor m_color = clDefault;
  TChartHiddenPen m_frame;
  TStrings m_text;
  bool m_visible = true;
  TColor m_defaultFontColor = clBlue;
  TFontStyles m_defaultFontStyle = 0;
  TRect m_titleRect;
};

}  // namespace tarvela
