// Circled series: the settings shared by the series of one class, the switch of the
// chart into circled mode and back, and the circle's geometry.

#include "tarvela/chart/series/circled_series.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <typeinfo>
#include <utility>

#include "tarvela/chart/axes/axis_panel.h"
#include "tarvela/chart/messages.h"
#include "tarvela/runtime/exceptions.h"
#include "tarvela/runtime/rounding.h"

namespace tarvela {

namespace {

constexpr double kPi = std::numbers::pi;

std::function<TScreenMetrics()>& ScreenMetricsProvider() {
  static std::function<TScreenMetrics()> provider;
  return provider;
}

// Round to a pixel without the fault of Round: geometry of a degenerate circle
// (no plot yet, huge custom radii) must not end a paint.
int Pixel(long double value) {
  if (!std::isfinite(static_cast<double>(value))) return 0;
  return static_cast<int>(Round(std::clamp<long double>(value, -(1 << 28), 1 << 28)));
}

}  // namespace

// [SECTION] Settings

TCircledSeries::TCircledSeries(TComponent* owner) : TChartSeries(owner) {
  SetClipToVisibleRange(false);
  XValues().SetName("Angle");
}

TCircledSeries::~TCircledSeries() { SetParentChart(nullptr); }

bool TCircledSeries::SameCircledClass(const TChartSeries& other) const {
  return other.ClassName() == ClassName();
}

template <class F>
void TCircledSeries::ForEachSameClass(F apply) {
  apply(*this);
  if (ParentChart() == nullptr) return;
  // Every series of a file may set what the class shares, so the usual case, a series
  // of the same dynamic class, is told apart without a cast.
  for (TChartSeries* series : ParentChart()->SeriesList()) {
    if (series == this) continue;
    if (typeid(*series) == typeid(*this)) {
      apply(static_cast<TCircledSeries&>(*series));
    } else if (auto* circled = dynamic_cast<TCircledSeries*>(series); circled != nullptr && SameCircledClass(*circled)) {
      apply(*circled);
    }
  }
}

void TCircledSeries::SetCircled(bool circled) {
  ForEachSameClass([circled](TCircledSeries& s) { s.Change(s.m_circled, circled); });
}

void TCircledSeries::SetCustomXRadius(int radius) {
  ForEachSameClass([radius](TCircledSeries& s) { s.Change(s.m_customXRadius, radius); });
}

void TCircledSeries::SetCustomYRadius(int radius) {
  ForEachSameClass([radius](TCircledSeries& s) { s.Change(s.m_customYRadius, radius); });
}

void TCircledSeries::SetRotationAngle(int degrees) {
  if (degrees < 0) throw PieException(FormatMessage(messages::kAngleRange, messages::kRotationAngle));
  const int stored = degrees % 360;
  if (stored == m_rotationAngle) return;
  m_rotationAngle = stored;
  m_rotationRadians = stored * kPi / 180;
  Repaint();
}

void TCircledSeries::Assign(const TChartSeries& source) {
  if (&source == this) return;
  if (const auto* circled = dynamic_cast<const TCircledSeries*>(&source)) {
    SetCircled(circled->m_circled);
    SetRotationAngle(circled->m_rotationAngle);
    SetCustomXRadius(circled->m_customXRadius);
    SetCustomYRadius(circled->m_customYRadius);
    SetCircleBackColor(circled->m_circleBackColor);
  }
  TChartSeries::Assign(source);
}

// [SECTION] Circled mode

void TCircledSeries::ApplyCircledMode(TCustomAxisPanel* chart, bool restore) {
  if (chart == nullptr || chart->Destroying()) return;
  if (restore) {
    // Another active circled series keeps the chart circled.
    for (const TChartSeries* series : chart->SeriesList())
      if (series != this && series->Active() && dynamic_cast<const TCircledSeries*>(series) != nullptr) return;
  }
  chart->ApplyCircledMode(restore);
}

void TCircledSeries::ChartMembershipChanged(TCustomAxisPanel* chart, bool joined) {
  if (joined && !Active()) return;
  ApplyCircledMode(chart, !joined);
}

void TCircledSeries::SetActive(bool active) {
  if (active == Active()) return;
  TChartSeries::SetActive(active);
  ApplyCircledMode(ParentChart(), !active);
}

double TCircledSeries::HighestX() const {
  return ParentChart() != nullptr ? ParentChart()->BottomAxis().Maximum() : 0;
}
double TCircledSeries::LowestX() const { return ParentChart() != nullptr ? ParentChart()->BottomAxis().Minimum() : 0; }
double TCircledSeries::HighestY() const { return ParentChart() != nullptr ? ParentChart()->LeftAxis().Maximum() : 0; }
double TCircledSeries::LowestY() const { return ParentChart() != nullptr ? ParentChart()->LeftAxis().Minimum() : 0; }

// [SECTION] Screen aspect

void TCircledSeries::SetScreenMetricsProvider(std::function<TScreenMetrics()> provider) {
  ScreenMetricsProvider() = std::move(provider);
}

double TCircledSeries::ScreenAspectRatio() {
  const auto& provider = ScreenMetricsProvider();
  if (!provider) return 1;
  const TScreenMetrics m = provider();
  if (m.widthPixels <= 0 || m.heightPixels <= 0) return 1;
  double ratio = static_cast<double>(m.widthPixels) / m.heightPixels;
  if (m.widthMillimetres > 0 && m.heightMillimetres > 0) ratio /= m.widthMillimetres / m.heightMillimetres;
  return std::isfinite(ratio) && ratio > 0 ? ratio : 1;
}

// [SECTION] Geometry

void TCircledSeries::SetCenterFromRect() {
  m_discCenterX = (m_circleRect.left + m_circleRect.right) / 2;
  m_discCenterY = (m_circleRect.top + m_circleRect.bottom) / 2;
}

// An even size puts the centre on a pixel; at least 4 keeps a drawable ellipse.
void TCircledSeries::NormalizeCircle() {
  TRect& r = m_circleRect;
  if (r.right < r.left) std::swap(r.left, r.right);
  if (r.bottom < r.top) std::swap(r.top, r.bottom);
  if ((r.right - r.left) % 2 != 0) --r.right;
  if ((r.bottom - r.top) % 2 != 0) --r.bottom;
  if (r.right - r.left < 4) r.right = r.left + 4;
  if (r.bottom - r.top < 4) r.bottom = r.top + 4;
  SetCenterFromRect();
}

void TCircledSeries::SetCircleRect(const TRect& rect) {
  m_circleRect = rect;
  NormalizeCircle();
}

void TCircledSeries::CalcRadii() {
  m_radiusX = m_customXRadius != 0 ? m_customXRadius : DiscWidth() / 2;
  m_radiusY = m_customYRadius != 0 ? m_customYRadius : DiscHeight() / 2;
  m_circleRect = {m_discCenterX - m_radiusX, m_discCenterY - m_radiusY, m_discCenterX + m_radiusX,
                  m_discCenterY + m_radiusY};
}

void TCircledSeries::CalcCircleGeometry() {
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr) return;
  m_circleRect = chart->PlotRect();
  NormalizeCircle();
  if (Marks().Visible()) {
    TZavCanvas3D& canvas = chart->Canvas();
    int arrow = Marks().ArrowLength();
    if (Marks().Frame().Visible()) arrow += 2 * Marks().Frame().Width();
    chart->ApplyChartFont(Marks().Font());
    const int height = canvas.LineHeight();
    m_circleRect.top += arrow + height;
    m_circleRect.bottom -= arrow + height;
    const int width = canvas.MeasureTextWidth("W") + chart->MaxMarkWidth() + arrow;
    m_circleRect.left += width;
    m_circleRect.right -= width;
    NormalizeCircle();
  }
  if (m_circled) {
    const double ratio = ScreenAspectRatio();
    CalcRadii();
    const int f = Pixel(m_radiusY * static_cast<long double>(ratio));
    if (f < m_radiusX) {
      m_circleRect.left += m_radiusX - f;
      m_circleRect.right -= m_radiusX - f;
    } else {
      const int shrink = m_radiusY - Pixel(m_radiusX / static_cast<long double>(ratio));
      m_circleRect.top += shrink;
      m_circleRect.bottom -= shrink;
    }
    NormalizeCircle();
  }
  CalcRadii();
}

TPoint TCircledSeries::SlicePoint(double angle, int rx, int ry) const {
  long double offsetX = 0;
  long double offsetY = 0;
  return SlicePoint(angle, rx, ry, offsetX, offsetY);
}

TPoint TCircledSeries::SlicePoint(double angle, int rx, int ry, long double& offsetX, long double& offsetY) const {
  const long double a = static_cast<long double>(angle) + m_rotationRadians;
  offsetX = std::cos(a) * rx;
  offsetY = std::sin(a) * ry;
  return {Pixel(offsetX) + m_discCenterX, m_discCenterY - Pixel(offsetY)};
}

double TCircledSeries::AngleOfPoint(int x, int y) const {
  double angle = 0;
  if (x == m_discCenterX) {
    angle = y > m_discCenterY ? -kPi / 2 : kPi / 2;
  } else if (m_radiusX != 0 && m_radiusY != 0) {
    angle = std::atan2(static_cast<double>(m_discCenterY - y) / m_radiusY,
                       static_cast<double>(x - m_discCenterX) / m_radiusX);
  }
  if (angle < 0) angle += 2 * kPi;
  angle -= m_rotationRadians;
  if (angle < 0) angle += 2 * kPi;
  return angle;
}

// [SECTION] Published properties

const PropertyTable& TCircledSeries::PublishedProperties() {
  using S = TCircledSeries;
  static const PropertyTable table(&TChartSeries::PublishedProperties(),
                                   {
                                       ColorProperty<S>("CircleBackColor", &S::CircleBackColor, &S::SetCircleBackColor),
                                       BoolProperty<S>("Circled", &S::Circled, &S::SetCircled),
                                       IntProperty<S>("CustomXRadius", &S::CustomXRadius, &S::SetCustomXRadius),
                                       IntProperty<S>("CustomYRadius", &S::CustomYRadius, &S::SetCustomYRadius),
                                       IntProperty<S>("RotationAngle", &S::RotationAngle, &S::SetRotationAngle),
                                   });
  return table;
}

}  // namespace tarvela
