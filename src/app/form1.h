#pragma once
// The main form: the sigma field and the second field, the compute, graph and exit
// buttons, the chart and the hidden memo that collects the report. It is built from
// its built-in description; the handlers below are what the description binds.

#include <any>
#include <string_view>

#include "app/report.h"
#include "app/solver.h"
#include "tarvela/chart/chart.h"
#include "tarvela/widgets/controls.h"

namespace tarvela {

// The built-in description of the main form.
extern const char* const kForm1Description;

class TForm1 : public TForm {
 public:
  // Reads the description, then runs FormCreate. The locale is read at each
  // conversion through the provider.
  explicit TForm1(TComponent* owner, LocaleProvider locale = nullptr);
  ~TForm1() override;
  std::string_view ClassName() const override { return "TForm1"; }

  // controls, found by name once the description has been read
  TLabel* Label1 = nullptr;
  TButton* Button1 = nullptr;
  TEdit* Edit1 = nullptr;
  TChart* Chart1 = nullptr;
  TBitBtn* BitBtn1 = nullptr;
  TMemo* Memo1 = nullptr;
  TButton* Button2 = nullptr;
  TEdit* Edit2 = nullptr;

  // handlers
  void FormCreate(TComponent* sender);
  void Edit1KeyPress(TComponent* sender, char32_t& key);
  void Edit1KeyDown(TComponent* sender, int& key, TShiftState shift);
  void Button1Click(TComponent* sender);
  void BitBtn1Click(TComponent* sender);
  void Button2Click(TComponent* sender);

  std::any MethodAddress(std::string_view name) override;

  // The solver's program-wide state.
  const SolverState& Solver() const { return m_solver; }
  // The grid and steps the compute button uses; the form's own are the defaults.
  void SetScheme(const SchemeOptions& scheme) { m_solver.scheme = scheme; }
  // Whether the graph button appends the report to the hidden memo (the default). A run
  // without a window writes the report from the solver's layers instead: the lines of
  // a large grid would not fit in memory.
  void SetReportKept(bool kept) { m_reportKept = kept; }
  // Told after each layer the compute button finishes.
  void SetLayerProgress(LayerProgress progress) { m_progress = std::move(progress); }
  LocaleSettings CurrentLocale() const { return m_locale(); }

 private:
  template <class T>
  T* Control(std::string_view name);
  // The plotting half of the graph handler: the first layer in red into series 0, up to
  // nine intermediate layers in lime into series 1 to 9 (every one while there are no
  // more, else nine spread evenly), the last layer in yellow and the exact last layer in
  // green into series 10. Layer 0 to 10 with the form's 10 steps.
  void PlotLayers();

  LocaleProvider m_locale;
  SolverState m_solver;
  LayerProgress m_progress;
  bool m_reportKept = true;
};

// How many intermediate layers the chart has series for.
inline constexpr int kPlottedIntermediateLayers = 9;
// The most nodes of a layer plotted; a finer grid is plotted at every k-th node, its
// right end always included.
inline constexpr int kMaxPlottedNodes = 5000;
// The layer that series s (1 to 9) shows of a computation with steps steps.
int PlottedLayer(int series, int steps);

// Registers TForm1 and everything its description names.
void RegisterForm1Classes();

}  // namespace tarvela
