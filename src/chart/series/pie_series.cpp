// Pie series:
//
//   [SECTION] Settings      defaults, checked setters, copying, exploded slices
//   [SECTION] Other slice   grouping the small points before each paint
//   [SECTION] Angles        slice angles, explode offsets, drawing order
//   [SECTION] Drawing       all slices, one slice, marks, legend symbol
//   [SECTION] Hit test
//   [SECTION] Published properties

#include "tarvela/chart/series/pie_series.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

#include "tarvela/chart/axes/axis_panel.h"
#include "tarvela/chart/data/palette.h"
#include "tarvela/chart/messages.h"
#include "tarvela/runtime/exceptions.h"
#include "tarvela/runtime/rounding.h"

namespace tarvela {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2 * std::numbers::pi;

int Pixel(long double value) {
  if (!std::isfinite(static_cast<double>(value))) return 0;
  return static_cast<int>(Round(std::clamp<long double>(value, -(1 << 28), 1 << 28)));
}

}  // namespace

const EnumNames<TPieOtherStyle>& PieOtherStyleNames() {
  static const EnumNames<TPieOtherStyle> kNames = {
      {poNone, "poNone"}, {poBelowPercent, "poBelowPercent"}, {poBelowValue, "poBelowValue"}};
  return kNames;
}

// [SECTION] Settings

void TPieOtherSlice::Assign(const TPieOtherSlice& source) {
  SetStyle(source.m_style);
  SetText(source.m_text);
  SetValue(source.m_value);
}

void TExplodedSlices::PadTo(int count) {
  if (count > Count()) m_values.resize(static_cast<std::size_t>(count), 0);
}

void TExplodedSlices::SetValue(int index, int percent) {
  if (index < 0) return;
  PadTo(index + 1);
  int& stored = m_values[static_cast<std::size_t>(index)];
  if (stored == percent) return;
  stored = percent;
  if (OnChange) OnChange();
}

void TExplodedSlices::Exchange(int a, int b) {
  PadTo(std::max(a, b) + 1);
  std::swap(m_values[static_cast<std::size_t>(a)], m_values[static_cast<std::size_t>(b)]);
}

TPieSeries::TPieSeries(TComponent* owner) : TCircledSeries(owner) {
  XValues().SetName("");
  YValues().SetName("Pie");
  Marks().SetVisible(true);
  Marks().SetArrowLength(8);
  SetColorEachPoint(true);
  m_otherSlice.SetText(messages::kPieOther);
  m_otherSlice.OnChange = [this] { Repaint(); };
  m_piePen.OnChange = [this] { Repaint(); };
  m_explodedSlices.OnChange = [this] { Repaint(); };
}

void TPieSeries::SetExplodeBiggest(int percent) {
  Change(m_explodeBiggest, percent);
  ApplyExplodeBiggest();
}

void TPieSeries::Assign(const TChartSeries& source) {
  if (&source == this) return;
  if (const auto* pie = dynamic_cast<const TPieSeries*>(&source)) {
    SetDark3D(pie->m_dark3D);
    SetUsePatterns(pie->m_usePatterns);
    m_piePen.Assign(pie->m_piePen);
    SetExplodeBiggest(pie->m_explodeBiggest);
    m_otherSlice.Assign(pie->m_otherSlice);
  }
  TCircledSeries::Assign(source);
  SetColorEachPoint(true);
}

void TPieSeries::SwapPoints(int a, int b) {
  m_explodedSlices.PadTo(PointCount());
  m_explodedSlices.Exchange(a, b);
  TCircledSeries::SwapPoints(a, b);
}

void TPieSeries::ClearValueLists() {
  TCircledSeries::ClearValueLists();
  m_explodedSlices.Clear();
}

void TPieSeries::FillSampleValues(int count) {
  if (count <= 0) throw ChartException(messages::kFillSampleValuesCount);
  ClearPoints();
  static std::minstd_rand generator{std::random_device{}()};
  std::uniform_int_distribution<int> value(1, 1000);
  for (int i = 0; i < count; ++i) AddPoint(value(generator), messages::kPieSamples[i % 8]);
}

TColor TPieSeries::ResolvedCircleBackColor() const {
  if (CircleBackColor() != clDefault || ParentChart() == nullptr) return CircleBackColor();
  return ParentChart()->CircleBackDefault();
}

TBrushStyle TPieSeries::SlicePattern(int index) {
  static constexpr TBrushStyle kPatterns[] = {bsHorizontal, bsVertical, bsFDiagonal,
                                              bsBDiagonal,  bsCross,    bsDiagCross};
  return kPatterns[static_cast<std::size_t>(std::max(0, index)) % std::size(kPatterns)];
}

// [SECTION] Other slice

void TPieSeries::PrepareOtherSlice() {
  TCustomAxisPanel* chart = ParentChart();
  // Runs inside a paint: the points it changes must not ask for yet another paint.
  const bool autoRepaint = chart != nullptr && chart->AutoRepaint();
  if (chart != nullptr) chart->SetAutoRepaint(false);
  try {
    if (PieValues().Order() != loNone) PieValues().SortValues();
    for (int i = 0; i < PointCount(); ++i) {
      if (XValues().ValueAt(i) == kOtherSliceX) {
        DeletePoint(i);
        break;
      }
    }
    XValues().FillWithIndexes();
    const double total = PieValues().TotalAbsSum();
    if (m_otherSlice.Style() != poNone && total > 0) {
      long double sum = 0;
      const int count = PointCount();
      for (int i = 0; i < count; ++i) {
        const double value = PieValues().ValueAt(i);
        const double measured = m_otherSlice.Style() == poBelowPercent ? value * 100 / total : value;
        if (measured < m_otherSlice.Value()) {
          XValues().SetValueAt(i, kInOtherSlice);
          sum += value;
        }
      }
      if (sum != 0) AddPointXY(kOtherSliceX, static_cast<double>(sum), m_otherSlice.Text(), clDefault);
    }
  } catch (...) {
    if (chart != nullptr) chart->SetAutoRepaint(autoRepaint);
    throw;
  }
  if (chart != nullptr) chart->SetAutoRepaint(autoRepaint);
}

int TPieSeries::PointXPixel(int index) const {
  if (XValues().ValueAt(index) == kOtherSliceX) return 0;
  return TCircledSeries::PointXPixel(index);
}

TColor TPieSeries::PointColor(int index) const {
  if (ColorEachPoint() && index >= ColorEntryCount() && index < PointCount()) return PaletteColor(index);
  return TCircledSeries::PointColor(index);
}

int TPieSeries::LegendItemCount() const {
  int count = 0;
  for (int i = 0; i < PointCount(); ++i)
    if (!InOtherSlice(i)) ++count;
  return count;
}

int TPieSeries::LegendToPointIndex(int n) const {
  int seen = 0;
  for (int i = 0; i < PointCount(); ++i) {
    if (InOtherSlice(i)) continue;
    if (seen == n) return i;
    ++seen;
  }
  return n;
}

// [SECTION] Angles

void TPieSeries::CalcAngles() {
  const int count = PointCount();
  m_angles.assign(static_cast<std::size_t>(count), {});
  // The grouped points count once, through the other slice's point.
  long double total = 0;
  for (int i = 0; i < count; ++i)
    if (!InOtherSlice(i)) total += std::fabs(PieValues().ValueAt(i));
  double previousEnd = 0;
  long double sum = 0;
  for (int i = 0; i < count; ++i) {
    SliceAngles& slice = m_angles[static_cast<std::size_t>(i)];
    slice.start = previousEnd;
    if (total == 0 || !std::isfinite(static_cast<double>(total))) {
      slice.end = kTwoPi;
    } else if (InOtherSlice(i)) {
      slice.end = slice.start;
    } else {
      sum += std::fabs(PieValues().ValueAt(i));
      slice.end = sum >= total ? kTwoPi : static_cast<double>(sum * kTwoPi / total);
      slice.end = std::min(slice.end, slice.start + kTwoPi);
    }
    slice.middle = (slice.start + slice.end) / 2;
    previousEnd = slice.end;
  }
}

void TPieSeries::ApplyExplodeBiggest() {
  if (m_explodeBiggest <= 0 || PointCount() == 0) return;
  int biggest = 0;
  for (int i = 1; i < PointCount(); ++i)
    if (PieValues().ValueAt(i) > PieValues().ValueAt(biggest)) biggest = i;
  m_explodedSlices.SetValue(biggest, m_explodeBiggest);
}

void TPieSeries::ExplodedOffset(int index, int& dx, int& dy) const {
  dx = dy = 0;
  const int percent = m_explodedSlices.Value(index);
  if (!m_anyExploded || percent <= 0 || index >= static_cast<int>(m_angles.size())) return;
  long double angle = m_angles[static_cast<std::size_t>(index)].middle + RotationRadians();
  if (ParentChart() != nullptr && ParentChart()->Canvas().RotatesFreely()) angle += 3 * kPi / 2;
  dx = Pixel(std::cos(angle) * RadiusX() * percent / 100);
  dy = Pixel(std::sin(angle) * percent / 100 * RadiusY());
}

std::vector<int> TPieSeries::DrawingOrder() const {
  std::vector<int> order(static_cast<std::size_t>(PointCount()));
  for (int i = 0; i < PointCount(); ++i) order[static_cast<std::size_t>(i)] = i;
  const TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr || !chart->View3D() || !m_anyExploded || chart->Canvas().RotatesFreely()) return order;
  // The slices nearest the top lie furthest back; each later one may cover them.
  const auto distance = [this](int i) {
    double angle = std::fmod(m_angles[static_cast<std::size_t>(i)].middle + RotationRadians(), kTwoPi);
    if (angle < 0) angle += kTwoPi;
    double d = std::fabs(angle - kPi / 2);
    return std::min(d, kTwoPi - d);
  };
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return distance(a) < distance(b); });
  return order;
}

// [SECTION] Drawing

void TPieSeries::DrawAllPoints() {
  ApplyExplodeBiggest();
  CalcCircleGeometry();
  int mostExploded = -1;
  for (int i = 0; i < PointCount(); ++i)
    if (m_explodedSlices.Value(i) > 0 &&
        (mostExploded < 0 || m_explodedSlices.Value(i) > m_explodedSlices.Value(mostExploded)))
      mostExploded = i;
  CalcAngles();
  m_anyExploded = mostExploded >= 0;
  if (m_anyExploded) {
    int dx = 0, dy = 0;
    ExplodedOffset(mostExploded, dx, dy);
    TRect rect = CircleRect();
    rect.left += std::abs(dx) / 2;
    rect.right -= std::abs(dx) / 2;
    rect.top += std::abs(dy) / 2;
    rect.bottom -= std::abs(dy) / 2;
    SetCircleRect(rect);
    CalcRadii();
  }
  StartAt(0);
  for (int i : DrawingOrder()) DrawPoint(i);
}

void TPieSeries::StartAt(double angle) {
  m_start = {true, angle, RadiusX(), RadiusY(), 0, 0};
  m_startPoint = SlicePoint(angle, RadiusX(), RadiusY(), m_start.offsetX, m_start.offsetY);
}

bool TPieSeries::StaysOnStartPixel(double angle) const {
  if (!m_start.known || m_start.rx != RadiusX() || m_start.ry != RadiusY()) return false;
  // Rounding goes to the next pixel only past a half: the room is how far the offset
  // lies from the nearest half, less a margin far above the error of the sums.
  constexpr long double kMargin = 1e-6L;
  const auto room = [](long double offset) {
    if (!(std::fabs(offset) < (1 << 27))) return -1.0L;
    return std::fabs(offset - std::floor(offset) - 0.5L) - kMargin;
  };
  const long double moved = std::fabs(static_cast<long double>(angle) - m_start.angle);
  return moved * RadiusX() < room(m_start.offsetX) && moved * RadiusY() < room(m_start.offsetY);
}

void TPieSeries::DrawPoint(int index) {
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr || index >= static_cast<int>(m_angles.size())) return;
  if (DiscWidth() < 5 || DiscHeight() < 5 || InOtherSlice(index)) return;
  chart->ApplyFillBrush(PointColor(index), m_usePatterns ? SlicePattern(index) : bsSolid, ResolvedCircleBackColor());
  TZavCanvas3D& canvas = chart->Canvas();
  canvas.ApplyChartPen(m_piePen);
  int dx = 0, dy = 0;
  ExplodedOffset(index, dx, dy);
  const SliceAngles& slice = m_angles[static_cast<std::size_t>(index)];
  if (chart->View3D()) {
    canvas.DrawPieSlice3D(DiscCenterX() + dx, DiscCenterY() - dy, RadiusX(), RadiusY(), DepthFront(), DepthBack(),
                          slice.start + RotationRadians(), slice.end + RotationRadians(), m_dark3D, m_anyExploded);
    return;
  }
  // A slice narrower than a pixel would be drawn by the platform as a full disc.
  const bool wide = PointCount() == 1 || slice.end - slice.start > 1;
  // Of a million slices most end on the pixel they start at.
  if (!wide && StaysOnStartPixel(slice.end)) return;
  const TPoint start = m_startPoint;
  const SliceStart kept = m_start;
  StartAt(slice.end);
  const TPoint end = m_startPoint;
  if (!wide && end.x == start.x && end.y == start.y) {
    // Not drawn: the next slice starts where this one did.
    m_start = kept;
    m_startPoint = start;
    return;
  }
  const TRect& r = CircleRect();
  canvas.DrawPieSlice(r.left + dx, r.top - dy, r.right + dx, r.bottom - dy, start.x + dx, start.y - dy, end.x + dx,
                      end.y - dy);
}

void TPieSeries::PaintMark(int valueIndex, const std::string& text, TSeriesMarkPosition& position) {
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr || InOtherSlice(valueIndex) || valueIndex >= static_cast<int>(m_angles.size())) return;
  TZavCanvas3D& canvas = chart->Canvas();
  const long double factor = 1 + m_explodedSlices.Value(valueIndex) / 100.0L;
  const int rx = Pixel(RadiusX() * factor);
  const int ry = Pixel(RadiusY() * factor);
  double angle = m_angles[static_cast<std::size_t>(valueIndex)].middle;
  if (canvas.RotatesFreely()) {
    angle += 3 * kPi / 2;
    Marks().SetMarksDepth(DepthFront());
  } else {
    Marks().SetMarksDepth(DepthBack());
  }
  const int arrow = Marks().ArrowLength();
  position.ArrowEnd =
      SlicePoint(angle, rx + canvas.MeasureTextWidth("W") + arrow, ry + canvas.LineHeight() + arrow);
  position.ArrowStart = SlicePoint(angle, rx, ry);
  const TPoint end = position.ArrowEnd;
  position.TopLeft.x = end.x > DiscCenterX() ? end.x : end.x - position.BoxWidth;
  position.TopLeft.y = end.y > DiscCenterY() ? end.y : end.y - position.BoxHeight;
  TCircledSeries::PaintMark(valueIndex, text, position);
}

TPoint TPieSeries::MarkAnchor(int index) {
  const TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr || index >= static_cast<int>(m_angles.size())) return {0, 0};
  const long double factor = 1 + m_explodedSlices.Value(index) / 100.0L;
  double angle = m_angles[static_cast<std::size_t>(index)].middle;
  if (chart->Canvas().RotatesFreely()) angle += 3 * kPi / 2;
  return SlicePoint(angle, Pixel(RadiusX() * factor), Pixel(RadiusY() * factor));
}

void TPieSeries::PrepareLegendSymbol(int valueIndex, TColor& backColor, TBrushStyle& brushStyle) {
  backColor = ResolvedCircleBackColor();
  if (m_usePatterns) brushStyle = SlicePattern(valueIndex);
}

// [SECTION] Hit test

int TPieSeries::HitTest(int x, int y) const {
  const TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr) return -1;
  chart->Canvas().UnprojectPoint(x, y, 0);
  const double angle = AngleOfPoint(x, y);
  const int count = std::min(PointCount(), static_cast<int>(m_angles.size()));
  for (int i = 0; i < count; ++i) {
    int dx = 0, dy = 0;
    ExplodedOffset(i, dx, dy);
    if (std::abs(x - DiscCenterX()) >= RadiusX() + dx || std::abs(y - DiscCenterY()) >= RadiusY() + dy) continue;
    const SliceAngles& slice = m_angles[static_cast<std::size_t>(i)];
    if (slice.start <= angle && angle <= slice.end) return i;
  }
  return -1;
}

// [SECTION] Published properties

const PropertyTable& TPieOtherSlice::PublishedProperties() {
  using O = TPieOtherSlice;
  static const PropertyTable table(nullptr,
                                   {
                                       EnumProperty<O, TPieOtherStyle>("Style", &O::Style, &O::SetStyle,
                                                                       PieOtherStyleNames()),
                                       StringProperty<O>("Text", &O::Text, &O::SetText),
                                       FloatProperty<O>("Value", &O::Value, &O::SetValue),
                                   });
  return table;
}

const PropertyTable& TPieSeries::PublishedProperties() {
  using P = TPieSeries;
  static const PropertyTable table(
      &TCircledSeries::PublishedProperties(),
      {
          BoolProperty<P>("Dark3D", &P::Dark3D, &P::SetDark3D),
          IntProperty<P>("ExplodeBiggest", &P::ExplodeBiggest, &P::SetExplodeBiggest),
          ObjectProperty<P, TPieOtherSlice>("OtherSlice", static_cast<TPieOtherSlice& (P::*)()>(&P::OtherSlice)),
          ObjectProperty<P, TChartPen>("PiePen", static_cast<TChartPen& (P::*)()>(&P::PiePen)),
          ObjectProperty<P, TChartValueList>("PieValues", static_cast<TChartValueList& (P::*)()>(&P::PieValues)),
          BoolProperty<P>("UsePatterns", &P::UsePatterns, &P::SetUsePatterns),
      });
  return table;
}

// Asked by every mark of a percentage: kept while the series of a paint are drawn and
// none changes, or a pie of many slices would add them all up for each of them.
double TPieSeries::MarksTotal() const {
  const TCustomAxisPanel* chart = ParentChart();
  const std::uint64_t stamp = chart != nullptr ? chart->DrawingStamp() : 0;
  if (stamp != 0 && stamp == m_marksTotalStamp) return m_marksTotal;
  long double total = 0;
  for (int i = 0; i < PointCount(); ++i)
    if (!InOtherSlice(i)) total += std::fabs(PieValues().ValueAt(i));
  m_marksTotalStamp = stamp;
  m_marksTotal = static_cast<double>(total);
  return m_marksTotal;
}

}  // namespace tarvela
