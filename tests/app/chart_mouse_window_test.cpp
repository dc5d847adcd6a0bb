// The chart's mouse through the real window: Qt mouse and wheel events on the chart of
// the main form after a computation, the picture read back from the screen without
// asking the window to paint. Runs on the off-screen platform in every test run, and
// under an X server where the test environment has one (see CMakeLists.txt).
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>
#include <QClipboard>
#include <QHelpEvent>
#include <QToolTip>
#include <memory>
#include <optional>
#include <string>

#include "app/app_test_support.h"
#include "app/form1.h"
#include "tarvela/widgets/application.h"
#include "tarvela/widgets/chart_window.h"

namespace tarvela {
namespace {

using app_test::CollectedErrors;
using app_test::Settle;

// The form after sigma 1, second 0, compute and graph, its chart window shown.
struct PlottedForm {
  CollectedErrors errors;
  std::unique_ptr<TForm1> form = std::make_unique<TForm1>(nullptr);
  ChartWindow* chart = nullptr;
  // Paints that drew the chart body, as opposed to copies of the buffer.
  int chartPaints = 0;

  bool Open() {
    form->Show();
    if (!QTest::qWaitForWindowExposed(form->Widget())) return false;
    Settle();
    app_test::TypeAndPressBothButtons(*form, "1", "0");
    chart = dynamic_cast<ChartWindow*>(form->Chart1->Peer());
    form->Chart1->OnAfterDraw = [this](TComponent*) { ++chartPaints; };
    return chart != nullptr && errors.texts.empty() && form->Chart1->SeriesAt(0)->PointCount() == 10;
  }

  QImage OnScreen() const { return app_test::OnScreen(*chart); }

  // A drag in steps of a few pixels, settling after each event as a user's hand would.
  void Drag(Qt::MouseButton button, QPoint from, QPoint to, int steps = 6) {
    QTest::mousePress(chart, button, Qt::NoModifier, from);
    Settle();
    for (int i = 1; i <= steps; ++i) {
      QTest::mouseMove(chart, from + (to - from) * i / steps);
      Settle();
    }
    QTest::mouseRelease(chart, button, Qt::NoModifier, to);
    Settle();
  }
};

QRect PlotOf(const TChart& chart) {
  const TRect r = chart.PlotRect();
  return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
}

// Pixels that differ, and whether each lies on the outline of band (corners included).
struct Difference {
  int pixels = 0;
  int offBand = 0;
};

Difference Compare(const QImage& a, const QImage& b, const QRect& band) {
  Difference d;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      if ((a.pixel(x, y) & 0xFFFFFFu) == (b.pixel(x, y) & 0xFFFFFFu)) continue;
      ++d.pixels;
      const bool onEdge = ((x == band.left() || x == band.right()) && y >= band.top() && y <= band.bottom()) ||
                          ((y == band.top() || y == band.bottom()) && x >= band.left() && x <= band.right());
      if (!onEdge) ++d.offBand;
    }
  }
  return d;
}

TEST(ChartMouseWindow, LeftDragZoomsThroughABandOverTheBufferAndUpLeftDragGivesThePictureBack) {
  if (QGuiApplication::primaryScreen() == nullptr) GTEST_SKIP() << "no screen";
  PlottedForm plotted;
  ASSERT_TRUE(plotted.Open());
  TChart& chart = *plotted.form->Chart1;
  ChartWindow* window = plotted.chart;
  const QImage before = plotted.OnScreen();
  const QRect plot = PlotOf(chart);
  const QPoint from = plot.topLeft() + QPoint(plot.width() / 4, plot.height() / 4);
  const QPoint to = plot.topLeft() + QPoint(plot.width() * 3 / 4, plot.height() * 3 / 4);
  const double bottomMaximum = chart.BottomAxis().Maximum();

  QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, from);
  Settle();
  const int paintsBefore = window->PaintCount();
  const int chartPaintsBefore = plotted.chartPaints;
  for (int i = 1; i <= 5; ++i) {
    QTest::mouseMove(window, from + (to - from) * i / 5);
    Settle();
  }
  EXPECT_GE(window->PaintCount() - paintsBefore, 5) << "each move shows the band";
  EXPECT_EQ(plotted.chartPaints, chartPaintsBefore) << "no move draws the chart again";
  // Mid-drag the screen is the picture with the band's outline inverted over it.
  // A rectangle leaves out its right and bottom edges; not-xor changes every pixel
  // it touches, since the band's colour is never white.
  const QRect band(from, to - QPoint(1, 1));
  const Difference banded = Compare(before, plotted.OnScreen(), band);
  EXPECT_EQ(banded.pixels, 2 * (band.width() + band.height()) - 4);
  EXPECT_EQ(banded.offBand, 0);

  QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, to);
  Settle();
  EXPECT_TRUE(chart.ZoomApplied());
  EXPECT_FALSE(chart.BottomAxis().Automatic());
  EXPECT_LT(chart.BottomAxis().Maximum(), bottomMaximum);
  const Difference zoomed = Compare(before, plotted.OnScreen(), QRect());
  EXPECT_GT(zoomed.pixels, 1000) << "the layers are drawn larger";

  plotted.Drag(Qt::LeftButton, to, from);
  EXPECT_FALSE(chart.ZoomApplied());
  EXPECT_TRUE(chart.BottomAxis().Automatic());
  EXPECT_EQ(Compare(before, plotted.OnScreen(), QRect()).pixels, 0);
  EXPECT_EQ(plotted.errors.texts, "");
}

TEST(ChartMouseWindow, RightDragPansAndTheWheelScrollsTheVerticalAxes) {
  if (QGuiApplication::primaryScreen() == nullptr) GTEST_SKIP() << "no screen";
  PlottedForm plotted;
  ASSERT_TRUE(plotted.Open());
  TChart& chart = *plotted.form->Chart1;
  ChartWindow* window = plotted.chart;
  const QImage before = plotted.OnScreen();
  const QPoint centre = PlotOf(chart).center();
  const double bottomMinimum = chart.BottomAxis().Minimum();
  const double leftMinimum = chart.LeftAxis().Minimum();
  const double leftRange = chart.LeftAxis().Maximum() - leftMinimum;

  plotted.Drag(Qt::RightButton, centre, centre + QPoint(30, 0));
  EXPECT_LT(chart.BottomAxis().Minimum(), bottomMinimum) << "dragging right shows what lay to the left";
  EXPECT_TRUE(chart.LeftAxis().Automatic());
  const QImage panned = plotted.OnScreen();
  EXPECT_GT(Compare(before, panned, QRect()).pixels, 100);

  QWheelEvent wheel(QPointF(centre), QPointF(window->mapToGlobal(centre)), QPoint(), QPoint(0, -120), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(window, &wheel);
  Settle();
  EXPECT_TRUE(wheel.isAccepted());
  EXPECT_FALSE(chart.LeftAxis().Automatic());
  EXPECT_NEAR(chart.LeftAxis().Minimum(), leftMinimum + 0.03 * leftRange, 1e-9 * leftRange);
  EXPECT_GT(Compare(panned, plotted.OnScreen(), QRect()).pixels, 100);
  EXPECT_EQ(plotted.errors.texts, "");
}

// A point under the pointer, found the way a press finds it.
std::optional<QPoint> PointOnSeries(TChart& chart) {
  const QRect plot = PlotOf(chart);
  for (int y = plot.top(); y <= plot.bottom(); y += 2)
    for (int x = plot.left(); x <= plot.right(); x += 2)
      if (chart.ClickedPart(x, y).Kind == cpSeries) return QPoint(x, y);
  return std::nullopt;
}

TEST(ChartMouseWindow, RestingOnAPointReadsItOffAndHomeOrADoubleClickGiveTheViewBack) {
  if (QGuiApplication::primaryScreen() == nullptr) GTEST_SKIP() << "no screen";
  PlottedForm plotted;
  ASSERT_TRUE(plotted.Open());
  TChart& chart = *plotted.form->Chart1;
  ChartWindow* window = plotted.chart;
  const QImage before = plotted.OnScreen();

  const std::optional<QPoint> on = PointOnSeries(chart);
  ASSERT_TRUE(on.has_value());
  const TChartClickedPart part = chart.ClickedPart(on->x(), on->y());
  // The pointer comes to rest there: moved, then the window system's tooltip request.
  const auto rest = [&](QPoint at) {
    QTest::mouseMove(window, at);
    QHelpEvent help(QEvent::ToolTip, at, window->mapToGlobal(at));
    QApplication::sendEvent(window, &help);
    Settle();
  };
  rest(*on);
  // Written as the axes write their labels: at most three decimals, no exponent.
  const std::string expected = part.Series->Name() + ": x = " +
                               chart.BottomAxis().FormatLabel(part.Series->XValueAt(part.Index)) +
                               ", y = " + chart.LeftAxis().FormatLabel(part.Series->YValueAt(part.Index));
  EXPECT_EQ(QToolTip::text().toStdString(), expected);
  EXPECT_NE(expected.find(": x = "), std::string::npos);
  const QPoint empty = PlotOf(chart).topLeft() + QPoint(2, 2);
  ASSERT_NE(chart.ClickedPart(empty.x(), empty.y()).Kind, cpSeries);
  rest(empty);
  // The tip fades out rather than vanishing at once.
  for (int waited = 0; QToolTip::isVisible() && waited < 2000; waited += 50) QTest::qWait(50);
  EXPECT_FALSE(QToolTip::isVisible()) << "nothing to read off there";

  const QRect plot = PlotOf(chart);
  const QPoint from = plot.topLeft() + QPoint(plot.width() / 4, plot.height() / 4);
  const QPoint to = plot.topLeft() + QPoint(plot.width() * 3 / 4, plot.height() * 3 / 4);
  plotted.Drag(Qt::LeftButton, from, to);
  ASSERT_TRUE(chart.ZoomApplied());
  window->setFocus();
  QTest::keyClick(window, Qt::Key_Home);
  Settle();
  EXPECT_FALSE(chart.ZoomApplied());
  EXPECT_EQ(Compare(before, plotted.OnScreen(), QRect()).pixels, 0);

  plotted.Drag(Qt::LeftButton, from, to);
  ASSERT_TRUE(chart.ZoomApplied());
  QTest::mouseDClick(window, Qt::LeftButton, Qt::NoModifier, plot.center());
  Settle();
  EXPECT_FALSE(chart.ZoomApplied());
  EXPECT_EQ(Compare(before, plotted.OnScreen(), QRect()).pixels, 0);

  QTest::keyClick(window, Qt::Key_C, Qt::ControlModifier);
  Settle();
  const QImage copied = QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(Compare(before, copied, QRect()).pixels, 0);
  EXPECT_EQ(plotted.errors.texts, "");
}

}  // namespace
}  // namespace tarvela
