// The exports against the window: the form driven as a user drives it (shown and
// painted before any button, then typed into and clicked through real Qt events), its
// chart read back from the screen, and the command line's pictures of the same inputs.
// Runs on the off-screen platform in every test run, and under an X server where the
// test environment has one (see CMakeLists.txt).
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <memory>
#include <sstream>
#include <string>

#include "app/app_test_support.h"
#include "app/command_line.h"
#include "app/form1.h"
#include "platform/qt/application.h"
#include "platform/qt/chart_window.h"

namespace tarvela {
namespace {

using app_test::CollectedErrors;
using app_test::Settle;

ChartWindow* ChartWindowOf(TForm1& form) { return dynamic_cast<ChartWindow*>(form.Chart1->Peer()); }

// The chart as the screen shows it.
QImage ChartOnScreen(TForm1& form) { return app_test::OnScreen(*ChartWindowOf(form)); }

// The picture that the command line writes for option (--png or --screenshot).
QImage Exported(std::vector<std::string> args, const std::string& option = "--png") {
  const std::string path = ::testing::TempDir() + "tarvela-window-export.png";
  args.insert(args.end(), {option, path});
  std::ostringstream out, err;
  EXPECT_EQ(RunCommandLine(args, out, err), 0) << err.str();
  return QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32);
}

// The chart's place in a screenshot of the form's client area.
QImage ChartInScreenshot(const QImage& screenshot, TForm1& form) {
  const TRect bounds = form.Chart1->BoundsRect();
  return screenshot.copy(bounds.left, bounds.top, bounds.Width(), bounds.Height());
}

int DifferingPixels(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return -1;
  int differ = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) differ += (a.pixel(x, y) & 0xFFFFFFu) != (b.pixel(x, y) & 0xFFFFFFu);
  return differ;
}

TEST(WindowExport, ChartAfterTypingAndBothButtonsIsThePngOfTheSameInputs) {
  if (QGuiApplication::primaryScreen() == nullptr) GTEST_SKIP() << "no screen";
  CollectedErrors errors;
  auto form = std::make_unique<TForm1>(nullptr);
  form->Show();
  QWidget* window = form->Widget();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
  Settle();
  ChartWindow* chart = ChartWindowOf(*form);
  ASSERT_NE(chart, nullptr);
  ASSERT_GE(chart->PaintCount(), 1) << "the chart paints as the window opens";

  // As it opens, the window shows what a picture without inputs shows.
  const QImage opened = ChartOnScreen(*form);
  EXPECT_EQ(DifferingPixels(opened, Exported({})), 0);
  EXPECT_EQ(DifferingPixels(opened, ChartInScreenshot(Exported({}, "--screenshot"), *form)), 0);

  QTest::keyClicks(form->Edit1->Widget(), "1.5");
  QTest::keyClicks(form->Edit2->Widget(), "0");
  QTest::mouseClick(form->Button1->Widget(), Qt::LeftButton);
  Settle();
  QTest::mouseClick(form->BitBtn1->Widget(), Qt::LeftButton);
  Settle();
  ASSERT_EQ(errors.texts, "");
  ASSERT_EQ(form->Chart1->SeriesAt(0)->PointCount(), 10) << "the graph button plotted the layers";

  const QImage shown = ChartOnScreen(*form);
  const QImage exported = Exported({"--sigma", "1.5", "--second", "0"});
  ASSERT_EQ(shown.size(), QSize(465, 337));
  EXPECT_EQ(DifferingPixels(shown, exported), 0);
  const QImage screenshot = Exported({"--sigma", "1.5", "--second", "0"}, "--screenshot");
  EXPECT_EQ(DifferingPixels(shown, ChartInScreenshot(screenshot, *form)), 0);
}

}  // namespace
}  // namespace tarvela
