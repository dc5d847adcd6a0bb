// The chart widget as a program uses it: in a layout beside another widget, resized,
// driven by real Qt events, read back from the screen without asking it to paint, and
// held against the pictures the library writes of the same chart at the same size.
#include "tarvela/widgets/chart_widget.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QFileDialog>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "picture_test_support.h"
#include "tarvela/chart/series/line_series.h"
#include "tarvela/widgets/application.h"
#include "tarvela/widgets/chart_file.h"
#include "tarvela/widgets/chart_picture.h"

namespace tarvela {
namespace {

void Settle() {
  for (int i = 0; i < 5; ++i) {
    QApplication::processEvents();
    QApplication::sendPostedEvents();
    QTest::qWait(20);
  }
}

// What the screen shows of widget, taken from its top-level window.
QImage OnScreen(QWidget& widget) {
  QWidget* top = widget.window();
  const QPoint at = widget.mapTo(top, QPoint(0, 0));
  return top->screen()
      ->grabWindow(top->winId(), at.x(), at.y(), widget.width(), widget.height())
      .toImage()
      .convertToFormat(QImage::Format_RGB32);
}

int DifferingPixels(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return -1;
  int differ = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) differ += (a.pixel(x, y) & 0xFFFFFFu) != (b.pixel(x, y) & 0xFFFFFFu);
  return differ;
}

// The PNG the command line writes for `--chart path --size WxH`: a freshly read chart
// given the size, encoded, and decoded again.
QImage ChartFilePng(const std::string& path, QSize size) {
  TChartForm form(nullptr, ReadChartFileText(path), "reference");
  form.SetChartSize(size.width(), size.height());
  QBuffer bytes;
  bytes.open(QIODevice::WriteOnly);
  EXPECT_TRUE(WriteChartPng(form.Chart(), bytes, std::nullopt));
  return QImage::fromData(bytes.data(), "PNG").convertToFormat(QImage::Format_RGB32);
}

using picture_test::CollectedErrors;

// A window with a caption above the widget, as a program lays one out.
struct LaidOut {
  QWidget window;
  ChartWidget* chart;
  explicit LaidOut(std::unique_ptr<ChartWidget> widget) : chart(widget.release()) {
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel("Rainfall"));
    layout->addWidget(chart);  // the layout's window owns it now
  }
  bool Show() {
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return false;
    Settle();
    return true;
  }
};

const QSize kWindowSizes[] = {{520, 360}, {760, 540}, {430, 610}};

TEST(ChartWidget, InALayoutShowsThePngOfItsFileAtEverySizeTheLayoutGivesIt) {
  if (QGuiApplication::primaryScreen() == nullptr) GTEST_SKIP() << "no screen";
  for (const char* name : {"line-marks.chart", "bars.chart"}) {
    SCOPED_TRACE(name);
    const std::string path = std::string(TARVELA_EXAMPLES_DIR) + "/" + name;
    CollectedErrors errors;
    LaidOut laid(std::make_unique<ChartWidget>(ReadChartFile(path)));
    const TChart& chart = laid.chart->Chart();
    EXPECT_EQ(laid.chart->sizeHint(), QSize(chart.Width(), chart.Height()));
    ASSERT_TRUE(laid.Show());
    QSize previous;
    for (const QSize& size : kWindowSizes) {
      laid.window.resize(size);
      Settle();
      const QSize shown = laid.chart->size();
      ASSERT_NE(shown, previous) << "the layout gave the chart a new size";
      previous = shown;
      EXPECT_EQ(QSize(chart.Width(), chart.Height()), shown) << "the chart takes the widget's size";
      EXPECT_EQ(DifferingPixels(OnScreen(*laid.chart), ChartFilePng(path, shown)), 0)
          << shown.width() << "x" << shown.height();
    }
    EXPECT_EQ(errors.texts, "");
  }
}

// A line of three points, built through the engine's API as a program builds one.
void BuildRainfall(TChart& chart) {
  chart.Title().Text().SetLines({"Rainfall, mm"});
  auto* series = new TLineSeries(&chart);
  series->SetParentChart(&chart);
  series->SetSeriesColor(clRed);
  series->AddPointXY(1, 48.5, "Jan");
  series->AddPointXY(2, 41);
  series->AddPointXY(3, 52.25);
}

TEST(ChartWidget, AChartBuiltInCodePaintsItsSeriesAndFollowsAResize) {
  if (QGuiApplication::primaryScreen() == nullptr) GTEST_SKIP() << "no screen";
  CollectedErrors errors;
  LaidOut laid(std::make_unique<ChartWidget>());
  BuildRainfall(laid.chart->Chart());
  laid.chart->Chart().SetBounds(0, 0, 500, 300);
  EXPECT_EQ(laid.chart->sizeHint(), QSize(500, 300)) << "a size set in code is the widget's wish";
  ASSERT_TRUE(laid.Show());

  std::optional<QImage> before;
  for (const QSize& size : {QSize(560, 380), QSize(700, 460)}) {
    laid.window.resize(size);
    Settle();
    const QSize shown = laid.chart->size();
    // The same chart built apart from the widget, drawn by the library at that size.
    TChart reference(nullptr);
    BuildRainfall(reference);
    const QImage expected = RenderChartImage(reference, ChartImageSize{shown.width(), shown.height()});
    const QImage onScreen = OnScreen(*laid.chart);
    EXPECT_EQ(DifferingPixels(onScreen, expected), 0) << shown.width() << "x" << shown.height();
    int red = 0;
    for (int y = 0; y < onScreen.height(); ++y)
      for (int x = 0; x < onScreen.width(); ++x) red += (onScreen.pixel(x, y) & 0xFFFFFFu) == 0xFF0000u;
    EXPECT_GT(red, shown.width() / 4) << "the series' line is drawn";
    if (before) {
      EXPECT_NE(before->size(), onScreen.size());
    }
    before = onScreen;
  }

  // A chart handed over later takes the old one's place, which goes.
  laid.chart->SetChart(ReadChartFile(std::string(TARVELA_EXAMPLES_DIR) + "/bars.chart"));
  Settle();
  const QSize shown = laid.chart->size();
  EXPECT_EQ(DifferingPixels(OnScreen(*laid.chart),
                            ChartFilePng(std::string(TARVELA_EXAMPLES_DIR) + "/bars.chart", shown)),
            0);
  EXPECT_EQ(errors.texts, "");
}

TEST(ChartWidget, ALeftDragZoomsAndHomeGivesTheViewBack) {
  if (QGuiApplication::primaryScreen() == nullptr) GTEST_SKIP() << "no screen";
  CollectedErrors errors;
  LaidOut laid(std::make_unique<ChartWidget>(ReadChartFile(std::string(TARVELA_EXAMPLES_DIR) + "/line-marks.chart")));
  ASSERT_TRUE(laid.Show());
  ChartWidget* widget = laid.chart;
  TChart& chart = widget->Chart();
  const QImage before = OnScreen(*widget);
  const double minimum = chart.BottomAxis().Minimum();
  const double maximum = chart.BottomAxis().Maximum();
  const TRect plot = chart.PlotRect();
  const QPoint from(plot.left + plot.Width() / 4, plot.top + plot.Height() / 4);
  const QPoint to(plot.left + plot.Width() * 3 / 4, plot.top + plot.Height() * 3 / 4);

  QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, from);
  for (int i = 1; i <= 4; ++i) {
    QTest::mouseMove(widget, from + (to - from) * i / 4);
    Settle();
  }
  QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, to);
  Settle();
  EXPECT_GT(chart.BottomAxis().Minimum(), minimum);
  EXPECT_LT(chart.BottomAxis().Maximum(), maximum);
  EXPECT_GT(DifferingPixels(OnScreen(*widget), before), 0) << "the zoom is seen";

  widget->setFocus();
  QTest::keyClick(widget, Qt::Key_Home);
  Settle();
  EXPECT_EQ(chart.BottomAxis().Minimum(), minimum);
  EXPECT_EQ(chart.BottomAxis().Maximum(), maximum);
  EXPECT_EQ(DifferingPixels(OnScreen(*widget), before), 0) << "the view is the one before the zoom";
  EXPECT_EQ(errors.texts, "");
}

// Answers the save dialog that Ctrl+S opens with name, as a user types it.
void AnswerSaveDialog(const std::string& name, int tries = 200) {
  QTimer::singleShot(5, [name, tries] {
    if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
      dialog->selectFile(QString::fromStdString(name));
      QMetaObject::invokeMethod(dialog, "accept");
    } else if (tries > 0) {
      AnswerSaveDialog(name, tries - 1);
    }
  });
}

TEST(ChartWidget, CtrlSSavesThroughADialogWithoutTheProgramAndAHandlerReplacesIt) {
  if (QGuiApplication::primaryScreen() == nullptr) GTEST_SKIP() << "no screen";
  CollectedErrors errors;
  LaidOut laid(std::make_unique<ChartWidget>(ReadChartFile(std::string(TARVELA_EXAMPLES_DIR) + "/bars.chart")));
  ASSERT_TRUE(laid.Show());
  ChartWidget* widget = laid.chart;
  widget->setFocus();
  const QImage shown = OnScreen(*widget);

  // No type given: the dialog's type (PNG) names the file, and it holds what is shown.
  const std::string stem = ::testing::TempDir() + "tarvela-widget-saved";
  std::filesystem::remove(stem + ".png");
  AnswerSaveDialog(stem);
  QTest::keyClick(widget, Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(DifferingPixels(QImage(QString::fromStdString(stem + ".png")).convertToFormat(QImage::Format_RGB32), shown),
            0);
  std::filesystem::remove(stem + ".png");

  // A name that leads into a folder that is not there: the error box says why.
  const std::string nowhere = ::testing::TempDir() + "tarvela-widget-nowhere.png";
  std::filesystem::remove(nowhere);
  std::filesystem::create_symlink("/nonexistent-folder/chart.png", nowhere);
  AnswerSaveDialog(nowhere);
  QTest::keyClick(widget, Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(errors.texts, "Cannot write to " + nowhere + ": No such file or directory.");
  std::filesystem::remove(nowhere);
  errors.texts.clear();

  int handled = 0;
  widget->SetSaveHandler([&](ChartWidget& saved) {
    EXPECT_EQ(&saved, widget);
    ++handled;
  });
  QTest::keyClick(widget, Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(handled, 1);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(errors.texts, "");
}

TEST(ChartWidget, AChartFileThatCannotBeReadNamesTheFileAndLine) {
  const std::string path = ::testing::TempDir() + "tarvela-widget-bad.chart";
  std::ofstream(path) << "object Chart1: TChart\n  Width = 600\n  Colour = clRed\nend\n";
  try {
    ChartWidget widget(ReadChartFile(path));
    ADD_FAILURE() << "a bad file made a widget";
  } catch (const EChartFileError& error) {
    EXPECT_EQ(std::string(error.what()).rfind(path + ":3: ", 0), 0u) << error.what();
  }
  EXPECT_THROW(ChartWidget widget{std::unique_ptr<TChart>{}}, std::invalid_argument);
}

}  // namespace
}  // namespace tarvela
