#pragma once
/// @file
/// ChartWidget: a chart as an ordinary Qt widget, for programs that put charts into
/// their own windows and layouts.

#include <QSize>
#include <functional>
#include <memory>

#include "tarvela/chart/chart.h"
#include "tarvela/widgets/chart_window.h"

class QResizeEvent;

namespace tarvela {

namespace widget_detail {
/// Holds the widget's chart. A base class of ChartWidget ahead of ChartWindow, so that
/// the chart exists before the window that hosts it and outlives it.
struct OwnedChart {
  std::unique_ptr<TChart> ownedChart;
};
}  // namespace widget_detail

/// A widget that shows one chart and behaves like any widget in a layout.
///
/// The chart fills the widget: when a layout or the user resizes the widget, the chart
/// takes the new size and repaints at it, its first frame at a size settled as every
/// picture of the chart is (TCustomZavPanel::PaintSettled), so that the widget at W x H
/// shows the picture RenderChartImage draws at W x H. sizeHint() is the chart's Width
/// and Height as built or read; setting them in code asks the layout for that size.
///
/// The mouse and keys do what they do in the program's chart windows: a left drag
/// towards the lower right zooms into the band, towards the upper left undoes every
/// zoom; a right drag pans; the wheel scrolls; resting on a point shows its values;
/// Home or a double-click gives the view back; Ctrl+C copies the picture; Ctrl+S saves
/// it (SetSaveHandler).
///
/// The widget owns its chart. Chart() is valid until SetChart replaces it; the chart
/// must not be deleted by anyone else.
///
/// @code
///   auto* chart = new tarvela::ChartWidget(tarvela::ReadChartFile("sales.chart"));
///   layout->addWidget(chart);
/// @endcode
class ChartWidget : private widget_detail::OwnedChart, public ChartWindow {
 public:
  /// What Ctrl+S does instead of the default save.
  using SaveHandler = std::function<void(ChartWidget& widget)>;

  /// An empty chart of the engine's default size (400 x 250), to be built in code
  /// through Chart().
  explicit ChartWidget(QWidget* parent = nullptr);
  /// Shows chart, read from a description (ReadChart, ReadChartFile) or built by the
  /// caller; the widget owns it from now on. A null chart is std::invalid_argument.
  explicit ChartWidget(std::unique_ptr<TChart> chart, QWidget* parent = nullptr);
  ~ChartWidget() override;

  /// The chart, to add series and change settings; every change repaints the widget.
  TChart& Chart() const { return *ownedChart; }
  /// Shows chart in place of the current one, which is deleted, together with every
  /// reference into it (series, axes). A chart that another component owns is taken
  /// from that owner, and from the control it sat in. A null chart is
  /// std::invalid_argument and changes nothing.
  void SetChart(std::unique_ptr<TChart> chart);

  /// Replaces what Ctrl+S does; an empty handler brings the default back. Without a
  /// handler, Ctrl+S calls the program's chart saver (SetChartSaver) when it set one,
  /// else asks for a file name with a file dialog and saves the chart there as a PNG
  /// image of the widget's pixels or an SVG document (.svg), written whole or not at
  /// all; a failure is shown in an error box that says why.
  void SetSaveHandler(SaveHandler handler) { m_saveHandler = std::move(handler); }
  /// The default save: asks for the name, then saves (SaveChartPicture).
  void SaveWithDialog();

  /// The chart's Width and Height as built, read or set in code.
  QSize sizeHint() const override;

  // ControlPeer: a size set on the chart in code is the widget's new wish.
  void BoundsChanged() override;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool SaveChart() override;

 private:
  static std::unique_ptr<TChart> Checked(std::unique_ptr<TChart> chart);
  void Adopt();

  SaveHandler m_saveHandler;
  QSize m_hint;
  // A resize by the layout passes the widget's size to the chart: that is not a wish.
  bool m_following = false;
};

}  // namespace tarvela
