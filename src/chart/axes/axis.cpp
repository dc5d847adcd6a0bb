#include "tarvela/chart/axes/axis.h"

#include <cmath>
#include <utility>

#include "tarvela/chart/axes/axis_panel.h"
#include "tarvela/chart/messages.h"
#include "tarvela/runtime/exceptions.h"

namespace tarvela {

namespace {

constexpr int kMaxAngle = 359;

void CheckAngle(int angle, const char* what) {
  if (angle < 0 || angle > kMaxAngle) throw ChartException(FormatMessage(messages::kAngleRange, what));
}

}  // namespace

const EnumNames<TAxisLabelStyle>& AxisLabelStyleNames() {
  static const EnumNames<TAxisLabelStyle> kNames = {
      {talAuto, "talAuto"}, {talNone, "talNone"}, {talValue, "talValue"}, {talMark, "talMark"}, {talText, "talText"}};
  return kNames;
}

// [SECTION] TChartAxisTitle

// The font object's own repaint goes to a chart with walls; an axis title repaints
// through its axis, whatever kind of chart holds it.
TChartAxisTitle::TChartAxisTitle(TCustomChartAxis* axis)
    : TChartFontObject(nullptr), m_axis(axis), m_angle(axis->DefaultTitleAngle()) {
  Font().OnChange = [this] { m_axis->Repaint(); };
}

void TChartAxisTitle::SetCaption(const std::string& caption) {
  if (caption == m_caption) return;
  m_caption = caption;
  m_axis->Repaint();
}

void TChartAxisTitle::SetAngle(int angle) {
  if (angle == m_angle) return;
  CheckAngle(angle, messages::kAxisTitleAngle);
  m_angle = angle;
  m_axis->Repaint();
}

bool TChartAxisTitle::IsAngleStored() const { return m_angle != m_axis->DefaultTitleAngle(); }

void TChartAxisTitle::Assign(const TChartAxisTitle& source) {
  if (&source == this) return;
  SetCaption(source.m_caption);
  SetAngle(source.m_angle);
  SetFont(source.Font());
}

const PropertyTable& TChartAxisTitle::PublishedProperties() {
  using T = TChartAxisTitle;
  static const PropertyTable table(
      nullptr, {
                   IntProperty<T>("Angle", &T::Angle, &T::SetAngle, [](const T& t) { return t.IsAngleStored(); }),
                   StringProperty<T>("Caption", &T::Caption, &T::SetCaption),
                   ObjectProperty<T, TFont>("Font", static_cast<TFont& (T::*)()>(&T::Font)),
               });
  return table;
}

// [SECTION] TCustomChartAxis: construction

TCustomChartAxis::TCustomChartAxis(TCustomAxisPanel* chart, const TAxisPlacement& placement)
    : m_chart(chart),
      m_horizontal(placement.horizontal),
      m_otherSide(placement.otherSide),
      m_depth(placement.depth),
      m_defaultTitleAngle(placement.defaultTitleAngle) {
  // The chart default font; nobody listens yet, so no repaint is asked for.
  m_labelsFont.SetName("Arial");
  m_labelsFont.SetSize(8);
  m_labelsFont.SetColor(clBlack);
  m_labelsFont.SetStyle(0);
  m_labelsFont.OnChange = [this] { Repaint(); };
  for (TChartPen* pen : {static_cast<TChartPen*>(&m_axisPen), static_cast<TChartPen*>(&m_ticks),
                         static_cast<TChartPen*>(&m_ticksInner), static_cast<TChartPen*>(&m_minorTicks),
                         static_cast<TChartPen*>(&m_grid), static_cast<TChartPen*>(&m_minorGrid)})
    pen->OnChange = [this] { Repaint(); };
}

TCustomChartAxis::~TCustomChartAxis() = default;

TChartDepthAxis::TChartDepthAxis(TCustomAxisPanel* chart)
    : TCustomChartAxis(chart, {.horizontal = false, .otherSide = true, .depth = true, .defaultTitleAngle = 0}) {
  InitVisible(false);
}

void TCustomChartAxis::Repaint() const {
  if (m_chart != nullptr) m_chart->Invalidate();
}

bool TCustomChartAxis::ChartLoading() const { return m_chart != nullptr && m_chart->Loading(); }

// [SECTION] Setters with rules

void TCustomChartAxis::SetAutomatic(bool automatic) {
  Change(m_automatic, automatic);
  // A description stores the three flags on their own.
  if (ChartLoading()) return;
  Change(m_automaticMinimum, automatic);
  Change(m_automaticMaximum, automatic);
}

void TCustomChartAxis::SetAutomaticMaximum(bool automatic) {
  Change(m_automaticMaximum, automatic);
  if (!automatic)
    m_automatic = false;
  else if (m_automaticMinimum)
    m_automatic = true;
}

void TCustomChartAxis::SetAutomaticMinimum(bool automatic) {
  Change(m_automaticMinimum, automatic);
  if (!automatic)
    m_automatic = false;
  else if (m_automaticMaximum)
    m_automatic = true;
}

void TCustomChartAxis::SetMaximum(double maximum) {
  if (!ChartLoading() && maximum < m_minimum) throw AxisException(messages::kAxisMaximum);
  Change(m_maximum, maximum);
}

void TCustomChartAxis::SetMinimum(double minimum) {
  if (!ChartLoading() && minimum > m_maximum) throw AxisException(messages::kAxisMinimum);
  Change(m_minimum, minimum);
}

void TCustomChartAxis::SetIncrement(double increment) {
  if (!(increment >= 0)) throw AxisException(messages::kAxisIncrement);
  Change(m_increment, increment);
}

void TCustomChartAxis::SetLogarithmic(bool logarithmic) {
  if (logarithmic) {
    if (IsDateTimeAxis()) throw AxisException(messages::kAxisDateTimeLogarithmic);
    RefreshScale();
    if (ScaleMinimum() < 0 || ScaleMaximum() < 0) throw AxisException(messages::kAxisLogarithmicLimits);
  }
  Change(m_logarithmic, logarithmic);
}

void TCustomChartAxis::SetLogarithmicBase(int base) {
  if (base < 2) throw AxisException(messages::kAxisLogarithmicBase);
  Change(m_logarithmicBase, base);
}

void TCustomChartAxis::SetLabelsSeparation(int percent) {
  if (percent < 0) throw AxisException(messages::kAxisLabelsSeparation);
  Change(m_labelsSeparation, percent);
}

void TCustomChartAxis::SetMinorTickCount(int count) {
  if (count > kMaxMinorTickCount) throw AxisException(messages::kAxisMinorTickCount);
  Change(m_minorTickCount, count);
}

void TCustomChartAxis::SetLabelsAngle(int angle) {
  CheckAngle(angle, messages::kAxisLabelsAngle);
  Change(m_labelsAngle, angle);
}

// [SECTION] Copying

void TCustomChartAxis::Assign(const TCustomChartAxis& source) {
  if (&source == this) return;
  m_automatic = source.m_automatic;
  m_automaticMaximum = source.m_automaticMaximum;
  m_automaticMinimum = source.m_automaticMinimum;
  m_maximum = source.m_maximum;
  m_minimum = source.m_minimum;
  m_increment = source.m_increment;
  m_logarithmic = source.m_logarithmic;
  m_logarithmicBase = source.m_logarithmicBase;
  m_inverted = source.m_inverted;
  m_axisValuesFormat = source.m_axisValuesFormat;
  m_dateTimeFormat = source.m_dateTimeFormat;
  m_exactDateTime = source.m_exactDateTime;
  m_roundFirstLabel = source.m_roundFirstLabel;
  m_labelsSeparation = source.m_labelsSeparation;
  m_labelStyle = source.m_labelStyle;
  m_labels = source.m_labels;
  m_labelsAngle = source.m_labelsAngle;
  m_labelsMultiLine = source.m_labelsMultiLine;
  m_labelsOnAxis = source.m_labelsOnAxis;
  m_labelsSize = source.m_labelsSize;
  m_titleSize = source.m_titleSize;
  m_tickLength = source.m_tickLength;
  m_tickInnerLength = source.m_tickInnerLength;
  m_minorTickLength = source.m_minorTickLength;
  m_minorTickCount = source.m_minorTickCount;
  m_tickOnLabelsOnly = source.m_tickOnLabelsOnly;
  m_gridCentered = source.m_gridCentered;
  m_startPosition = source.m_startPosition;
  m_endPosition = source.m_endPosition;
  m_positionPercent = source.m_positionPercent;
  m_visible = source.m_visible;
  m_horizontal = source.m_horizontal;
  m_otherSide = source.m_otherSide;
  m_depth = source.m_depth;
  // The sub-objects repaint on their own when they change; one more request is cheap.
  m_labelsFont.Assign(source.m_labelsFont);
  m_title.Assign(source.m_title);
  m_axisPen.Assign(source.m_axisPen);
  m_ticks.Assign(source.m_ticks);
  m_ticksInner.Assign(source.m_ticksInner);
  m_minorTicks.Assign(source.m_minorTicks);
  m_grid.Assign(source.m_grid);
  m_minorGrid.Assign(source.m_minorGrid);
  Repaint();
}

// [SECTION] Range operations

void TCustomChartAxis::SetManualRange(double a, double b) {
  m_automatic = false;
  m_automaticMinimum = false;
  m_automaticMaximum = false;
  if (a > b) std::swap(a, b);
  Change(m_minimum, a);
  Change(m_maximum, b);
  if (m_maximum - m_minimum < 1e-10) Change(m_maximum, m_minimum + 1e-10);
}

void TCustomChartAxis::ScrollBy(double delta, bool checkLimits) {
  if (checkLimits) {
    if (m_chart == nullptr) return;
    const bool beyond = (delta > 0 && m_chart->SeriesExtreme(*this, false, m_horizontal) > m_maximum) ||
                        (delta < 0 && m_chart->SeriesExtreme(*this, true, m_horizontal) < m_minimum);
    if (!beyond) return;
  }
  m_automatic = false;
  m_automaticMaximum = false;
  m_automaticMinimum = false;
  m_maximum += delta;
  m_minimum += delta;
  Repaint();
}

// [SECTION] Property tables

const PropertyTable& TCustomChartAxis::PublishedProperties() {
  using A = TCustomChartAxis;
  using PenGetter = TChartPen& (A::*)();
  static const PropertyTable table(
      nullptr,
      {
          BoolProperty<A>("Automatic", &A::Automatic, &A::SetAutomatic),
          BoolProperty<A>("AutomaticMaximum", &A::AutomaticMaximum, &A::SetAutomaticMaximum),
          BoolProperty<A>("AutomaticMinimum", &A::AutomaticMinimum, &A::SetAutomaticMinimum),
          ObjectProperty<A, TChartPen>("Axis", static_cast<PenGetter>(&A::Axis)),
          StringProperty<A>("AxisValuesFormat", &A::AxisValuesFormat, &A::SetAxisValuesFormat,
                            [](const A& a) { return a.AxisValuesFormat() != kDefaultAxisValuesFormat; }),
          StringProperty<A>("DateTimeFormat", &A::DateTimeFormat, &A::SetDateTimeFormat),
          BoolProperty<A>("ExactDateTime", &A::ExactDateTime, &A::SetExactDateTime),
          ObjectProperty<A, TChartPen>("Grid", static_cast<PenGetter>(&A::Grid)),
          FloatProperty<A>("Increment", &A::Increment, &A::SetIncrement),
          BoolProperty<A>("Inverted", &A::Inverted, &A::SetInverted),
          BoolProperty<A>("Labels", &A::Labels, &A::SetLabels),
          IntProperty<A>("LabelsAngle", &A::LabelsAngle, &A::SetLabelsAngle),
          ObjectProperty<A, TFont>("LabelsFont", static_cast<TFont& (A::*)()>(&A::LabelsFont)),
          BoolProperty<A>("LabelsMultiLine", &A::LabelsMultiLine, &A::SetLabelsMultiLine),
          BoolProperty<A>("LabelsOnAxis", &A::LabelsOnAxis, &A::SetLabelsOnAxis),
          IntProperty<A>("LabelsSeparation", &A::LabelsSeparation, &A::SetLabelsSeparation),
          IntProperty<A>("LabelsSize", &A::LabelsSize, &A::SetLabelsSize),
          EnumProperty<A, TAxisLabelStyle>("LabelStyle", &A::LabelStyle, &A::SetLabelStyle, AxisLabelStyleNames()),
          BoolProperty<A>("Logarithmic", &A::Logarithmic, &A::SetLogarithmic),
          IntProperty<A>("LogarithmicBase", &A::LogarithmicBase, &A::SetLogarithmicBase),
          FloatProperty<A>("Maximum", &A::Maximum, &A::SetMaximum, [](const A& a) { return a.IsMaximumStored(); }),
          FloatProperty<A>("Minimum", &A::Minimum, &A::SetMinimum, [](const A& a) { return a.IsMinimumStored(); }),
          ObjectProperty<A, TChartPen>("MinorGrid", static_cast<PenGetter>(&A::MinorGrid)),
          IntProperty<A>("MinorTickCount", &A::MinorTickCount, &A::SetMinorTickCount),
          IntProperty<A>("MinorTickLength", &A::MinorTickLength, &A::SetMinorTickLength),
          ObjectProperty<A, TChartPen>("MinorTicks", static_cast<PenGetter>(&A::MinorTicks)),
          BoolProperty<A>("RoundFirstLabel", &A::RoundFirstLabel, &A::SetRoundFirstLabel),
          IntProperty<A>("TickInnerLength", &A::TickInnerLength, &A::SetTickInnerLength),
          IntProperty<A>("TickLength", &A::TickLength, &A::SetTickLength),
          BoolProperty<A>("TickOnLabelsOnly", &A::TickOnLabelsOnly, &A::SetTickOnLabelsOnly),
          ObjectProperty<A, TChartPen>("Ticks", static_cast<PenGetter>(&A::Ticks)),
          ObjectProperty<A, TChartPen>("TicksInner", static_cast<PenGetter>(&A::TicksInner)),
          ObjectProperty<A, TChartAxisTitle>("Title", static_cast<TChartAxisTitle& (A::*)()>(&A::Title)),
          IntProperty<A>("TitleSize", &A::TitleSize, &A::SetTitleSize),
          BoolProperty<A>("Visible", &A::Visible, &A::SetVisible),
      });
  return table;
}

const PropertyTable& TChartAxis::PublishedProperties() {
  using A = TChartAxis;
  static const PropertyTable table(
      &TCustomChartAxis::PublishedProperties(),
      {
          FloatProperty<A>("EndPosition", &A::EndPosition, &A::SetEndPosition,
                           [](const A& a) { return a.EndPosition() != 100; }),
          BoolProperty<A>("GridCentered", &A::GridCentered, &A::SetGridCentered),
          FloatProperty<A>("PositionPercent", &A::PositionPercent, &A::SetPositionPercent,
                           [](const A& a) { return a.PositionPercent() != 0; }),
          FloatProperty<A>("StartPosition", &A::StartPosition, &A::SetStartPosition,
                           [](const A& a) { return a.StartPosition() != 0; }),
      });
  return table;
}

}  // namespace tarvela
