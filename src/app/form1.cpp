#include "app/form1.h"

#include "tarvela/chart/chart_registration.h"
#include "tarvela/runtime/class_registry.h"
#include "tarvela/runtime/exceptions.h"
#include "tarvela/runtime/float_checks.h"
#include "tarvela/runtime/form_reader.h"
#include "tarvela/runtime/number_text.h"
#include "tarvela/widgets/system_locale.h"

namespace tarvela {

TForm1::TForm1(TComponent* owner, LocaleProvider locale)
    : TForm(owner), m_locale(locale ? std::move(locale) : LocaleProvider(SystemLocaleSettings)) {
  RegisterForm1Classes();
  ReadComponent(kForm1Description, *this);
  Label1 = Control<TLabel>("Label1");
  Button1 = Control<TButton>("Button1");
  Edit1 = Control<TEdit>("Edit1");
  Chart1 = Control<TChart>("Chart1");
  Chart1->SetLocaleProvider(m_locale);
  BitBtn1 = Control<TBitBtn>("BitBtn1");
  Memo1 = Control<TMemo>("Memo1");
  Button2 = Control<TButton>("Button2");
  Edit2 = Control<TEdit>("Edit2");
  DoCreate();
}

TForm1::~TForm1() = default;

template <class T>
T* TForm1::Control(std::string_view name) {
  auto* control = dynamic_cast<T*>(FindComponent(name));
  if (control == nullptr) throw Exception("The form description lacks " + std::string(name));
  return control;
}

std::any TForm1::MethodAddress(std::string_view name) {
  if (name == "FormCreate") return TNotifyEvent([this](TComponent* s) { FormCreate(s); });
  if (name == "Button1Click") return TNotifyEvent([this](TComponent* s) { Button1Click(s); });
  if (name == "BitBtn1Click") return TNotifyEvent([this](TComponent* s) { BitBtn1Click(s); });
  if (name == "Button2Click") return TNotifyEvent([this](TComponent* s) { Button2Click(s); });
  if (name == "Edit1KeyPress")
    return TKeyPressEvent([this](TComponent* s, char32_t& key) { Edit1KeyPress(s, key); });
  if (name == "Edit1KeyDown")
    return TKeyEvent([this](TComponent* s, int& key, TShiftState shift) { Edit1KeyDown(s, key, shift); });
  return TForm::MethodAddress(name);
}

void TForm1::FormCreate(TComponent*) {
  Edit1->SetText("");
  Button1->SetEnabled(true);
  Button1->SetCaption("счет");
  BitBtn1->SetCaption("graph");
  BitBtn1->SetEnabled(false);
  Memo1->Lines().Clear();
}

void TForm1::Edit1KeyPress(TComponent*, char32_t& key) {
  const bool passes = key == 8 || key == 13 || key == U',' || key == U'.' || (key >= U'0' && key <= U'9') ||
                      key == m_locale().decimalSeparator;
  if (!passes) key = 0;
}

void TForm1::Edit1KeyDown(TComponent*, int&, TShiftState) {}

void TForm1::Button1Click(TComponent*) {
  BitBtn1->SetEnabled(true);
  FloatFaultScope scope;
  m_solver.sigma = StoreDouble(TextToFloat(Edit1->Text(), m_locale()));
  m_solver.second = StoreDouble(TextToFloat(Edit2->Text(), m_locale()));
  ComputeLayers(m_solver, kMaxIterationsPerLayer, m_progress);
}

void TForm1::BitBtn1Click(TComponent*) {
  PlotLayers();
  if (m_reportKept) Memo1->Lines().AddLines(ReportLines(m_solver, m_locale));
}

int PlottedLayer(int series, int steps) {
  if (steps <= kPlottedIntermediateLayers + 1) return series;
  // Spread evenly over the steps: 1 to 9 tenths of the way.
  return static_cast<int>(static_cast<long long>(series) * steps / (kPlottedIntermediateLayers + 1));
}

void TForm1::PlotLayers() {
  const int n = m_solver.N;
  if (n <= 0) return;
  const int m = m_solver.M;
  // A chart a few thousand pixels wide shows no more of a layer than this many nodes
  // do; every node would only cost the series' memory and the paint's time.
  const int stride = (n + kMaxPlottedNodes - 1) / kMaxPlottedNodes;
  auto plot = [&](int series, const LayerTable& rows, int layer, TColor color) {
    TChartSeries* target = Chart1->SeriesAt(series);
    for (int i = stride; ; i += stride) {
      if (i > n) i = n;
      target->AddPointXY(m_solver.X(i), LayerValue(rows, i, layer), "", color);
      if (i == n) break;
    }
  };
  plot(0, m_solver.u, 0, clRed);
  for (int s = 1; s <= kPlottedIntermediateLayers && s < m; ++s) plot(s, m_solver.u, PlottedLayer(s, m), clLime);
  plot(10, m_solver.u, m, clYellow);
  plot(10, m_solver.y, m, clGreen);
}

void TForm1::Button2Click(TComponent*) { Close(); }

void RegisterForm1Classes() {
  RegisterControlClasses();
  RegisterChartClasses();
  ClassRegistry::Instance().Register("TForm1", [](TComponent* owner) -> TComponent* { return new TForm1(owner); });
}

}  // namespace tarvela
