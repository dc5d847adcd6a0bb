#include "tarvela/widgets/chart_widget.h"

#include <QApplication>
#include <QMessageBox>
#include <QResizeEvent>
#include <exception>
#include <optional>
#include <stdexcept>
#include <string>

#include "tarvela/chart/series/circled_series.h"
#include "tarvela/widgets/application.h"
#include "tarvela/widgets/chart_picture.h"
#include "tarvela/widgets/screen_metrics.h"
#include "tarvela/widgets/system_locale.h"

namespace tarvela {

namespace {

// A program on the library may have no application object of ours: its failures still
// reach the user in an error box rather than leaving through Qt's event loop.
void RunShown(QWidget* parent, const std::function<void()>& handler) {
  if (TApplication::Instance() != nullptr) return RunHandler(handler);
  try {
    handler();
  } catch (...) {
    std::string text = ExceptionMessage(std::current_exception());
    if (!text.empty() && text.back() != '.') text += '.';
    QMessageBox::critical(parent, QApplication::applicationName(), QString::fromStdString(text));
  }
}

}  // namespace

ChartWidget::ChartWidget(QWidget* parent) : ChartWidget(std::make_unique<TChart>(nullptr), parent) {}

ChartWidget::ChartWidget(std::unique_ptr<TChart> chart, QWidget* parent)
    : OwnedChart{Checked(std::move(chart))}, ChartWindow(*ownedChart, parent, Placement::ByParent) {
  Adopt();
  m_hint = QSize(Chart().Width(), Chart().Height());
}

// The window stops hosting the chart (ChartWindow's destructor) before the chart goes.
ChartWidget::~ChartWidget() = default;

std::unique_ptr<TChart> ChartWidget::Checked(std::unique_ptr<TChart> chart) {
  if (chart == nullptr) throw std::invalid_argument("ChartWidget needs a chart");
  return chart;
}

void ChartWidget::Adopt() {
  TChart& chart = Chart();
  // The widget is the chart's one owner and its one host: an owner or a parent control
  // left in place would delete it or place it a second time.
  if (chart.Parent() != nullptr) chart.SetParent(nullptr);
  if (chart.Owner() != nullptr) chart.Owner()->RemoveComponent(&chart);
  chart.SetLocaleProvider(SystemLocaleSettings);
  TCircledSeries::SetScreenMetricsProvider(SystemScreenMetrics);
}

void ChartWidget::SetChart(std::unique_ptr<TChart> chart) {
  std::unique_ptr<TChart> old = std::exchange(ownedChart, Checked(std::move(chart)));
  Adopt();
  // Hosting the new chart detaches the old one, which then goes with its series.
  Host(*ownedChart);
}

QSize ChartWidget::sizeHint() const { return m_hint; }

void ChartWidget::BoundsChanged() {
  if (m_following) return;
  m_hint = QSize(Chart().Width(), Chart().Height());
  updateGeometry();
  ChartWindow::BoundsChanged();
}

void ChartWidget::resizeEvent(QResizeEvent* event) {
  m_following = true;
  ChartWindow::resizeEvent(event);
  m_following = false;
}

bool ChartWidget::SaveChart() {
  if (m_saveHandler) {
    RunShown(this, [&] { m_saveHandler(*this); });
    return true;
  }
  if (ChartWindow::SaveChart()) return true;
  SaveWithDialog();
  return true;
}

void ChartWidget::SaveWithDialog() {
  RunShown(this, [&] {
    if (const std::optional<std::string> path = AskChartPictureName(this)) SaveChartPicture(*this, *path);
  });
}

}  // namespace tarvela
