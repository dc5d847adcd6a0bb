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
#include <QFile>
#include <QXmlStreamReader>
#include <unistd.h>
#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/app_test_support.h"
#include "app/command_line.h"
#include "app/form1.h"
#include "app/window_pictures.h"
#include "tarvela/widgets/application.h"
#include "tarvela/widgets/chart_file.h"
#include "tarvela/widgets/chart_picture.h"
#include "tarvela/widgets/chart_window.h"

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

  app_test::TypeAndPressBothButtons(*form, "1.5", "0");
  ASSERT_EQ(errors.texts, "");
  ASSERT_EQ(form->Chart1->SeriesAt(0)->PointCount(), 10) << "the graph button plotted the layers";

  const QImage shown = ChartOnScreen(*form);
  const QImage exported = Exported({"--sigma", "1.5", "--second", "0"});
  ASSERT_EQ(shown.size(), QSize(465, 337));
  EXPECT_EQ(DifferingPixels(shown, exported), 0);
  const QImage screenshot = Exported({"--sigma", "1.5", "--second", "0"}, "--screenshot");
  EXPECT_EQ(DifferingPixels(shown, ChartInScreenshot(screenshot, *form)), 0);
}

// The form opened, typed into and clicked through as a user does; null when it failed.
std::unique_ptr<TForm1> FormAfterBothButtons(CollectedErrors& errors) {
  auto form = std::make_unique<TForm1>(nullptr);
  form->Show();
  if (!QTest::qWaitForWindowExposed(form->Widget())) return nullptr;
  Settle();
  app_test::TypeAndPressBothButtons(*form, "1.5", "0");
  EXPECT_EQ(errors.texts, "");
  return form;
}

// On a screen with more pixels than coordinates the window draws the chart at them, and
// shows what --scale writes. Run on a plain screen (the window drawn into a denser
// picture, as a move to a dense screen does) and on one that is dense itself
// (QT_SCALE_FACTOR=2, see CMakeLists.txt).
TEST(WindowExport, OnADenseScreenTheWindowShowsThePngAtThatScale) {
  if (QGuiApplication::primaryScreen() == nullptr) GTEST_SKIP() << "no screen";
  CollectedErrors errors;
  const std::unique_ptr<TForm1> form = FormAfterBothButtons(errors);
  ASSERT_NE(form, nullptr);
  ChartWindow* chart = ChartWindowOf(*form);
  const double ratio = chart->devicePixelRatioF();
  if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR")) {
    EXPECT_GT(ratio, 1.0) << "the screen is dense";
  }
  QImage shown;
  if (ratio > 1) {
    shown = chart->grab().toImage();
  } else {
    shown = QImage(chart->size() * 2, QImage::Format_RGB32);
    shown.setDevicePixelRatio(2);
    chart->render(&shown);
  }
  shown = shown.convertToFormat(QImage::Format_RGB32);
  const int scale = ratio > 1 ? static_cast<int>(ratio) : 2;
  ASSERT_EQ(shown.size(), QSize(465, 337) * scale);
  EXPECT_EQ(DifferingPixels(shown, Exported({"--sigma", "1.5", "--second", "0", "--scale", std::to_string(scale)})), 0);
}

// Ctrl+S asks where (here the test answers) and saves the chart there as the window
// shows it: its pixels as PNG, or as an SVG document by the name's suffix; the window's
// picture stays as it was, a failed write says so, a cancelled question does nothing.
TEST(WindowExport, CtrlSSavesTheChartAsPngOrSvg) {
  if (QGuiApplication::primaryScreen() == nullptr) GTEST_SKIP() << "no screen";
  CollectedErrors errors;
  const std::unique_ptr<TForm1> form = FormAfterBothButtons(errors);
  ASSERT_NE(form, nullptr);
  ChartWindow* chart = ChartWindowOf(*form);
  std::optional<std::string> answer;
  int asked = 0;
  InstallChartSaving([&](ChartWindow&) {
    ++asked;
    return answer;
  });
  const QImage before = chart->grab().toImage().convertToFormat(QImage::Format_RGB32);

  answer = ::testing::TempDir() + "tarvela-saved.png";
  QTest::keyClick(chart, Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(DifferingPixels(QImage(QString::fromStdString(*answer)).convertToFormat(QImage::Format_RGB32), before), 0);

  answer = ::testing::TempDir() + "tarvela-saved.SVG";
  QTest::keyClick(chart, Qt::Key_S, Qt::ControlModifier);
  QFile svg(QString::fromStdString(*answer));
  ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
  QXmlStreamReader reader(&svg);
  std::vector<std::string> texts;
  while (!reader.atEnd()) {
    if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == QLatin1String("text"))
      texts.push_back(reader.readElementText(QXmlStreamReader::IncludeChildElements).trimmed().toStdString());
  }
  EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
  EXPECT_NE(std::find(texts.begin(), texts.end(), "Series1"), texts.end());
  Settle();
  EXPECT_EQ(DifferingPixels(app_test::OnScreen(*chart), before), 0) << "the window shows what it showed";

  answer = "/nonexistent-dir/chart.png";
  QTest::keyClick(chart, Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(errors.texts, "Cannot write to /nonexistent-dir/chart.png: No such file or directory.");
  errors.texts.clear();
  answer.reset();
  QTest::keyClick(chart, Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(errors.texts, "");
  EXPECT_EQ(asked, 4);
  SetChartSaver(nullptr);
}

// [SECTION] Chart files' windows

std::vector<std::string> ExampleFiles() {
  std::vector<std::string> paths;
  for (const auto& entry : std::filesystem::directory_iterator(TARVELA_EXAMPLES_DIR))
    if (entry.path().extension() == ".chart") paths.push_back(entry.path().string());
  std::sort(paths.begin(), paths.end());
  return paths;
}

// A picture of the command line, in a file of this test process alone: the examples'
// tests run side by side.
QImage ExportedOwn(std::vector<std::string> args, const std::string& option = "--png") {
  const std::string path = ::testing::TempDir() + "tarvela-example-" + std::to_string(getpid()) + ".png";
  args.insert(args.end(), {option, path});
  std::ostringstream out, err;
  EXPECT_EQ(RunCommandLine(args, out, err), 0) << err.str();
  QImage image = QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32);
  std::filesystem::remove(path);
  return image;
}

class ExampleWindow : public ::testing::TestWithParam<std::string> {};

// Shown as `tarvela --chart FILE` shows it, the window's first frame is what --png and
// --screenshot write for the file; resized by the window system, it draws the chart at
// the new size, as --size draws it.
TEST_P(ExampleWindow, ShowsThePicturesOfItsFileAtEverySize) {
  if (QGuiApplication::primaryScreen() == nullptr) GTEST_SKIP() << "no screen";
  const std::string path = GetParam();
  CollectedErrors errors;
  TChartForm form(nullptr, ReadChartFileText(path), "example - Tarvela");
  form.Show();
  QWidget* window = form.Widget();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
  Settle();
  auto* host = window->findChild<ChartWindow*>();
  ASSERT_NE(host, nullptr);
  const QImage opened = app_test::OnScreen(*host);
  EXPECT_EQ(DifferingPixels(opened, ExportedOwn({"--chart", path})), 0);
  // The screenshot is the window's client area, which the chart fills.
  EXPECT_EQ(DifferingPixels(opened, ExportedOwn({"--chart", path}, "--screenshot")), 0);

  window->resize(720, 500);
  Settle();
  ASSERT_EQ(host->size(), QSize(720, 500));
  EXPECT_EQ(form.Chart().BoundsRect(), (TRect{0, 0, 720, 500}));
  EXPECT_EQ(DifferingPixels(app_test::OnScreen(*host), ExportedOwn({"--chart", path, "--size", "720x500"})), 0);
  EXPECT_EQ(errors.texts, "");
}

INSTANTIATE_TEST_SUITE_P(WindowExport, ExampleWindow, ::testing::ValuesIn(ExampleFiles()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           std::string name = std::filesystem::path(info.param).stem().string();
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

// A chart file's window is a viewer: Ctrl+W, Ctrl+Q and Escape close it. The main form
// ends the program only through its Exit button or the window manager.
TEST(WindowExport, AChartWindowClosesOnAViewersKeysAndTheMainFormDoesNot) {
  if (QGuiApplication::primaryScreen() == nullptr) GTEST_SKIP() << "no screen";
  CollectedErrors errors;
  TChartForm form(nullptr, ReadChartFileText(ExampleFiles().front()), "example - Tarvela");
  const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {
      {Qt::Key_W, Qt::ControlModifier}, {Qt::Key_Q, Qt::ControlModifier}, {Qt::Key_Escape, Qt::NoModifier}};
  for (const auto& [key, modifiers] : keys) {
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.Widget()));
    auto* host = form.Widget()->findChild<ChartWindow*>();
    host->setFocus();
    QTest::keyClick(host, Qt::Key_A, modifiers);  // not a closing key
    EXPECT_FALSE(form.Closed());
    QTest::keyClick(host, key, modifiers);
    Settle();
    EXPECT_TRUE(form.Closed()) << QKeySequence(key | modifiers).toString().toStdString();
    EXPECT_FALSE(form.Widget()->isVisible());
  }

  TForm1 main(nullptr);
  main.Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(main.Widget()));
  for (const auto& [key, modifiers] : keys) QTest::keyClick(ChartWindowOf(main), key, modifiers);
  Settle();
  EXPECT_FALSE(main.Closed());
  EXPECT_TRUE(main.Widget()->isVisible());
  EXPECT_EQ(errors.texts, "");
}

}  // namespace
}  // namespace tarvela
