#pragma once
/// TPieSeries draws its points as the slices of a pie, flat or with depth, each slice's
/// angle proportional to the point's absolute value. Small points can be grouped into
/// one "other" slice (a point the pie adds before each paint and removes again before
/// the next), slices can be pulled out of the pie by a percentage of the radius, and
/// the pie can be rotated.
/// @file
#include <cstdint>
#include <string>
#include <vector>

#include "tarvela/chart/canvas/chart_pen.h"
#include "tarvela/chart/series/circled_series.h"
#include "tarvela/runtime/persistent.h"

namespace tarvela {

enum TPieOtherStyle { poNone, poBelowPercent, poBelowValue };
const EnumNames<TPieOtherStyle>& PieOtherStyleNames();

/// The grouping of small slices into one; changes repaint the pie.
class TPieOtherSlice : public TPersistent {
 public:
  TPieOtherSlice() = default;
  TPieOtherSlice(const TPieOtherSlice&) = delete;
  TPieOtherSlice& operator=(const TPieOtherSlice&) = delete;
  std::string_view ClassName() const override { return "TPieOtherSlice"; }
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override { return PublishedProperties(); }

  TPieOtherStyle Style() const { return m_style; }
  void SetStyle(TPieOtherStyle style) { Change(m_style, style); }
  const std::string& Text() const { return m_text; }
  void SetText(const std::string& text) { Change(m_text, text); }
  double Value() const { return m_value; }
  void SetValue(double value) { Change(m_value, value); }
  void Assign(const TPieOtherSlice& source);

  std::function<void()> OnChange;

 private:
  template <class T>
  void Change(T& field, const T& value) {
    if (field == value) return;
    field = value;
    if (OnChange) OnChange();
  }

  TPieOtherStyle m_style = poNone;
  std::string m_text = "Other";
  double m_value = 0;
};

/// Per point index an explode percentage; an absent entry is 0.
class TExplodedSlices {
 public:
  int Value(int index) const {
    return index >= 0 && index < Count() ? m_values[static_cast<std::size_t>(index)] : 0;
  }
  /// Pads the list with zeros up to index; OnChange when the value differs.
  void SetValue(int index, int percent);
  int Count() const { return static_cast<int>(m_values.size()); }
  void PadTo(int count);
  void Exchange(int a, int b);
  void Clear() { m_values.clear(); }

  std::function<void()> OnChange;

 private:
  std::vector<int> m_values;
};

class TPieSeries : public TCircledSeries {
 public:
  /// X value of the point that holds the grouped small slices.
  static constexpr double kOtherSliceX = 2147483647.0;
  /// X value of a point grouped into the other slice.
  static constexpr double kInOtherSlice = -1.0;

  explicit TPieSeries(TComponent* owner);
  std::string_view ClassName() const override { return "TPieSeries"; }
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override { return PublishedProperties(); }

  // settings (published)
  bool Dark3D() const { return m_dark3D; }
  void SetDark3D(bool dark) { Change(m_dark3D, dark); }
  int ExplodeBiggest() const { return m_explodeBiggest; }
  void SetExplodeBiggest(int percent);
  TPieOtherSlice& OtherSlice() { return m_otherSlice; }
  const TPieOtherSlice& OtherSlice() const { return m_otherSlice; }
  TChartPen& PiePen() { return m_piePen; }
  const TChartPen& PiePen() const { return m_piePen; }
  TChartValueList& PieValues() { return YValues(); }
  const TChartValueList& PieValues() const { return YValues(); }
  bool UsePatterns() const { return m_usePatterns; }
  void SetUsePatterns(bool use) { Change(m_usePatterns, use); }

  // settings (not published)
  TExplodedSlices& ExplodedSlices() { return m_explodedSlices; }
  const TExplodedSlices& ExplodedSlices() const { return m_explodedSlices; }

  // operations
  struct SliceAngles {
    double start = 0;
    double middle = 0;
    double end = 0;
  };
  /// Per point, radians before rotation; computed by DrawAllPoints (CalcAngles).
  const std::vector<SliceAngles>& Angles() const { return m_angles; }
  void CalcAngles();
  bool AnyExploded() const { return m_anyExploded; }
  /// Whether point index is grouped into the other slice.
  bool InOtherSlice(int index) const { return XValues().ValueAt(index) == kInOtherSlice; }
  /// Gives the biggest slice the ExplodeBiggest percentage.
  void ApplyExplodeBiggest();
  /// The pixel offset of slice index pulled out of the pie (dy upward).
  void ExplodedOffset(int index, int& dx, int& dy) const;
  /// Removes the other slice of the previous paint, numbers the points and groups the
  /// small ones again.
  void PrepareOtherSlice();
  /// The order in which the slices are drawn: point order, or in 3D with an exploded
  /// slice from the one nearest the top of the pie down, so that the front ones lie over
  /// the back ones.
  std::vector<int> DrawingOrder() const;
  /// The hatch pattern of slice index when UsePatterns.
  static TBrushStyle SlicePattern(int index);

  // overridable steps
  void DoBeforeDrawChart() override { PrepareOtherSlice(); }
  void DrawAllPoints() override;
  void DrawPoint(int index) override;
  void PaintMark(int valueIndex, const std::string& text, TSeriesMarkPosition& position) override;
  /// Where the slice's mark arrow starts, on the rim of the (exploded) slice.
  TPoint MarkAnchor(int index) override;
  int HitTest(int x, int y) const override;
  /// The grouped points are in the other slice's point already: counted once, as the
  /// slices count them, so that the marks' percentages add up to 100.
  double MarksTotal() const override;
  int LegendItemCount() const override;
  int LegendToPointIndex(int n) const override;
  void PrepareLegendSymbol(int valueIndex, TColor& backColor, TBrushStyle& brushStyle) override;
  int PointXPixel(int index) const override;
  /// Every slice of its own colour: a point without a colour entry takes the palette
  /// colour too while ColorEachPoint is set.
  TColor PointColor(int index) const override;
  void SwapPoints(int a, int b) override;
  void ClearValueLists() override;
  void FillSampleValues(int count) override;
  int NumSampleValues() const override { return 8; }
  void Assign(const TChartSeries& source) override;

 private:
  TColor ResolvedCircleBackColor() const;

  // state
  bool m_dark3D = true;
  int m_explodeBiggest = 0;
  TPieOtherSlice m_otherSlice;
  TChartPen m_piePen;
  bool m_usePatterns = false;
  TExplodedSlices m_explodedSlices;
  std::vector<SliceAngles> m_angles;
  bool m_anyExploded = false;
  TPoint m_startPoint{};
  /// Where m_startPoint was worked out: its angle, radii and unrounded offsets, so that
  /// a slice that cannot leave its pixel needs no sine (StaysOnStartPixel).
  struct SliceStart {
    bool known = false;
    double angle = 0;
    int rx = 0, ry = 0;
    long double offsetX = 0, offsetY = 0;
  } m_start;
  /// Whether the rim at angle rounds to m_startPoint for certain, worked out from how
  /// far the angle moved: a sine or cosine changes by at most as much as its angle.
  bool StaysOnStartPixel(double angle) const;
  /// m_startPoint at angle on the rim.
  void StartAt(double angle);
  mutable std::uint64_t m_marksTotalStamp = 0;  ///< the drawing MarksTotal was worked out for
  mutable double m_marksTotal = 0;
};

}  // namespace tarvela
