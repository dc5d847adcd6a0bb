#pragma once
/// TCircledSeries is the base of the series that draw inside an ellipse fitted into the
/// plot instead of against axes. While one belongs to a chart (and is active) the
/// chart has no axes, walls, clipping, zoom or panning; when it leaves they return.
///
/// The circle is recomputed before every drawing of the points, from PlotRect, the
/// room of the marks around it, the screen's aspect when it should look round, and
/// the custom radii.
/// @file
#include <functional>

#include "tarvela/chart/data/chart_series.h"

namespace tarvela {

/// The screen's size in pixels and, when the platform knows it, in millimetres (0 when
/// unknown). The chart engine has no windowing of its own: the platform layer tells it.
struct TScreenMetrics {
  int widthPixels = 0;
  int heightPixels = 0;
  double widthMillimetres = 0;
  double heightMillimetres = 0;
};

class TCircledSeries : public TChartSeries {
 public:
  explicit TCircledSeries(TComponent* owner);
  /// Leaves its chart while it is still a circled series, so the chart gets its axes back.
  ~TCircledSeries() override;
  std::string_view ClassName() const override { return "TCircledSeries"; }
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override { return PublishedProperties(); }

  // settings (published)
  /// clDefault: the chart's back colour, or the chart's colour when that is clDefault too.
  TColor CircleBackColor() const { return m_circleBackColor; }
  void SetCircleBackColor(TColor color) { Change(m_circleBackColor, color); }
  /// The following three are taken over by every series of the same class in the chart.
  bool Circled() const { return m_circled; }
  void SetCircled(bool circled);
  int CustomXRadius() const { return m_customXRadius; }
  void SetCustomXRadius(int radius);
  int CustomYRadius() const { return m_customYRadius; }
  void SetCustomYRadius(int radius);
  /// Degrees added to every angle, stored modulo 360. PieException below 0.
  int RotationAngle() const { return m_rotationAngle; }
  void SetRotationAngle(int degrees);
  double RotationRadians() const { return m_rotationRadians; }

  /// The screen the chart is shown on, asked when Circled; without a provider (or
  /// without a millimetre size) the pixels are taken as square.
  static void SetScreenMetricsProvider(std::function<TScreenMetrics()> provider);
  /// Width over height of one pixel's worth of screen, as Circled corrects for.
  static double ScreenAspectRatio();

  // geometry of the last drawing (pixels)
  const TRect& CircleRect() const { return m_circleRect; }
  int DiscWidth() const { return m_circleRect.right - m_circleRect.left; }
  int DiscHeight() const { return m_circleRect.bottom - m_circleRect.top; }
  int DiscCenterX() const { return m_discCenterX; }
  int DiscCenterY() const { return m_discCenterY; }
  int RadiusX() const { return m_radiusX; }
  int RadiusY() const { return m_radiusY; }

  // operations
  /// The circle from PlotRect, the marks' room, Circled and the custom radii.
  void CalcCircleGeometry();
  /// Sets the circle rectangle and recomputes the centre; for the shrinking of an
  /// exploded pie.
  void SetCircleRect(const TRect& rect);
  /// The radii from the custom ones or the circle's size, then the circle around the
  /// centre.
  void CalcRadii();
  /// The point at angle (radians, counter-clockwise from the right, before rotation)
  /// on the ellipse of radii rx, ry around the centre.
  TPoint SlicePoint(double angle, int rx, int ry) const;
  /// SlicePoint, with the offsets from the centre it rounds (cos · rx, sin · ry).
  TPoint SlicePoint(double angle, int rx, int ry, long double& offsetX, long double& offsetY) const;
  /// The angle (before rotation, 0..2π) of the pixel (x, y) seen from the centre.
  double AngleOfPoint(int x, int y) const;
  /// Switches the chart into circled mode (restore false) or back.
  void ApplyCircledMode(TCustomAxisPanel* chart, bool restore);

  // overridable steps
  void SetActive(bool active) override;
  bool UsesAxes() const override { return false; }
  /// Every axis: the series has no axis of its own.
  bool DrawnOnAxis(const TCustomChartAxis*) const override { return false; }
  /// The axes' current limits, so a circled series never changes their scale.
  double HighestX() const override;
  double LowestX() const override;
  double HighestY() const override;
  double LowestY() const override;
  void ChartMembershipChanged(TCustomAxisPanel* chart, bool joined) override;
  void Assign(const TChartSeries& source) override;

 protected:
  /// Whether other is of this series' own class (the custom radii and Circled are shared).
  virtual bool SameCircledClass(const TChartSeries& other) const;

 private:
  template <class F>
  void ForEachSameClass(F apply);
  void NormalizeCircle();
  void SetCenterFromRect();

  // state
  TColor m_circleBackColor = clDefault;
  bool m_circled = false;
  int m_customXRadius = 0;
  int m_customYRadius = 0;
  int m_rotationAngle = 0;
  double m_rotationRadians = 0;
  TRect m_circleRect{};
  int m_discCenterX = 0;
  int m_discCenterY = 0;
  int m_radiusX = 0;
  int m_radiusY = 0;
};

}  // namespace tarvela
