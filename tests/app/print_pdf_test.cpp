// The chart on paper: the PDF documents the command line writes and the page the
// window's Ctrl+P prints, read back by a PDF reader of its own (poppler's tools).
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/app_test_support.h"
#include "app/form1.h"
#include "tarvela/widgets/chart_picture.h"
#include "tarvela/widgets/chart_window.h"
#include "widgets/picture_test_support.h"

namespace tarvela {
namespace {

using app_test::RunWith;
using app_test::Settle;
using app_test::TempPath;

// What a poppler tool prints for its arguments; empty when it did not run.
std::string Poppler(const QString& tool, const QStringList& arguments) {
  QProcess process;
  process.start(tool, arguments);
  if (!process.waitForFinished(30000) || process.exitCode() != 0) return {};
  return process.readAllStandardOutput().toStdString();
}

bool HavePoppler() { return QProcess::execute("pdfinfo", {"-v"}) == 0; }

std::set<std::string> Words(const std::string& text) {
  std::set<std::string> words;
  std::istringstream in(text);
  for (std::string word; in >> word;) words.insert(word);
  return words;
}

// The texts of the document that a PDF text extractor reads, word by word.
std::set<std::string> PdfWords(const std::string& path) {
  return Words(Poppler("pdftotext", {QString::fromStdString(path), "-"}));
}

// Every word the chart drew is among the document's.
void ExpectEveryTextIn(const std::vector<std::string>& drawn, const std::set<std::string>& words) {
  for (const std::string& text : drawn)
    for (const std::string& word : Words(text))
      EXPECT_EQ(words.count(word), 1u) << "'" << word << "' of '" << text << "'";
}

// "Page size: 600 x 450 pts" in points.
std::string PageSize(const std::string& path) {
  std::istringstream info(Poppler("pdfinfo", {QString::fromStdString(path)}));
  for (std::string line; std::getline(info, line);)
    if (line.rfind("Page size:", 0) == 0) return line.substr(line.find_first_not_of(' ', 10));
  return {};
}

// The texts the form's chart draws after the steps the command line takes: painted as
// the window opens, then both buttons pressed, then painted again.
std::vector<std::string> FormChartTexts() {
  auto form = std::make_unique<TForm1>(nullptr, [] { return LocaleSettings::Dot(); });
  if (RenderChartImage(*form->Chart1).isNull()) return {};
  form->Edit1->SetText("1");
  form->Edit2->SetText("0");
  form->Button1->Click();
  form->BitBtn1->Click();
  QImage image(form->Chart1->Width(), form->Chart1->Height(), QImage::Format_RGB32);
  // Straight onto the listing surface, not into the chart's bitmap.
  form->Chart1->SetBuffered(false);
  picture_test::TextListingSurface surface(image);
  form->Chart1->PaintChart(surface, form->Chart1->ClientRect());
  return surface.texts;
}

TEST(CommandLinePdf, HoldsEveryTextAsTextInEmbeddedFontsOnAPageOfTheChartsSize) {
  ASSERT_TRUE(HavePoppler()) << "poppler-utils (pdftotext, pdfinfo) are missing: tools/install-deps";
  const std::string path = TempPath("tarvela-form.pdf");
  const app_test::RunResult run = RunWith({"--sigma", "1", "--second", "0", "--pdf", path});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> drawn = FormChartTexts();
  ASSERT_GE(drawn.size(), 30u) << "the legend's titles and the labels of both axes";
  ExpectEveryTextIn(drawn, PdfWords(path));
  // 465 x 337 pixels at 96 per inch, in whole points.
  EXPECT_EQ(PageSize(path), "349 x 253 pts");

  // Every font is in the document: the columns end "emb sub uni object ID".
  std::istringstream fonts(Poppler("pdffonts", {QString::fromStdString(path)}));
  int embedded = 0;
  for (std::string line; std::getline(fonts, line);) {
    std::istringstream fields(line);
    std::vector<std::string> columns;
    for (std::string field; fields >> field;) columns.push_back(field);
    if (columns.size() < 6 || columns[0] == "name" || columns[0].rfind("---", 0) == 0) continue;
    EXPECT_EQ(columns[columns.size() - 5], "yes") << line;
    ++embedded;
  }
  EXPECT_GE(embedded, 1);

  // --size gives the page its size; a chart file's title and axis titles, and the chart
  // of the error norms, are text too; standard output takes a document whole.
  const std::string sized = TempPath("tarvela-sized.pdf");
  ASSERT_EQ(RunWith({"--sigma", "1", "--second", "0", "--size", "800x600", "--pdf", sized}).status, 0);
  EXPECT_EQ(PageSize(sized), "600 x 450 pts");
  const app_test::RunResult piped = RunWith({"--chart", TARVELA_EXAMPLES_DIR "/line-marks.chart", "--pdf", "-"});
  ASSERT_EQ(piped.status, 0) << piped.err;
  const std::string fromPipe = TempPath("tarvela-piped.pdf");
  {
    QFile file(QString::fromStdString(fromPipe));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(piped.out.data(), static_cast<qint64>(piped.out.size()));
  }
  EXPECT_EQ(PageSize(fromPipe), "450 x 285 pts");
  const std::set<std::string> chartWords = PdfWords(fromPipe);
  for (const char* word : {"Monthly", "rainfall,", "mm", "month", "North", "station"})
    EXPECT_EQ(chartWords.count(word), 1u) << word;
  const std::string errors = TempPath("tarvela-errors.pdf");
  ASSERT_EQ(RunWith({"--sigma", "1", "--second", "0", "--errors-pdf", errors}).status, 0);
  EXPECT_FALSE(PdfWords(errors).empty());

  // A folder that does not exist: status 1, a clear message, nothing written.
  const app_test::RunResult failed = RunWith({"--sigma", "1", "--second", "0", "--pdf", "/nonexistent/c.pdf"});
  EXPECT_EQ(failed.status, 1);
  EXPECT_NE(failed.err.find("cannot write to /nonexistent/c.pdf"), std::string::npos) << failed.err;
  // The chart of the norms belongs to the form, not to a chart file.
  EXPECT_EQ(RunWith({"--chart", "x.chart", "--errors-pdf", path}).status, 2);
}

// Finds the print dialog the window opened and answers it with a printer that writes a
// PDF file, as a user choosing "print to file" would.
void AnswerPrintDialogWith(const QString& file, bool* answered) {
  QTimer::singleShot(50, [file, answered] {
    auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) {
      AnswerPrintDialogWith(file, answered);
      return;
    }
    dialog->printer()->setOutputFormat(QPrinter::PdfFormat);
    dialog->printer()->setOutputFileName(file);
    *answered = true;
    dialog->done(QDialog::Accepted);
  });
}

TEST(ChartWindowPrint, CtrlPPrintsTheChartInsideTheMarginsAndTheWindowStaysAsItWas) {
  if (QGuiApplication::primaryScreen() == nullptr) GTEST_SKIP() << "no screen";
  ASSERT_TRUE(HavePoppler()) << "poppler-utils (pdftotext, pdftoppm) are missing: tools/install-deps";
  app_test::CollectedErrors errors;
  const auto form = app_test::GraphedForm();
  form->Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form->Widget()));
  Settle();
  auto* window = dynamic_cast<ChartWindow*>(form->Chart1->Peer());
  ASSERT_NE(window, nullptr);
  const QImage before = window->grab().toImage();

  const std::string path = TempPath("tarvela-printed.pdf");
  std::filesystem::remove(path);
  bool answered = false;
  AnswerPrintDialogWith(QString::fromStdString(path), &answered);
  QTest::keyClick(window, Qt::Key_P, Qt::ControlModifier);
  Settle();
  ASSERT_TRUE(answered);
  ASSERT_EQ(errors.texts, "");
  ASSERT_TRUE(std::filesystem::exists(path));

  EXPECT_EQ(window->grab().toImage(), before) << "the window shows the chart as before";
  ExpectEveryTextIn(FormChartTexts(), PdfWords(path));

  // The page at 30 pixels per inch: whatever is drawn lies inside 15% margins, and the
  // chart keeps its proportions, as wide as they allow.
  const std::string stem = TempPath("tarvela-printed-page");
  ASSERT_EQ(QProcess::execute("pdftoppm", {"-r", "30", "-png", "-singlefile", QString::fromStdString(path),
                                           QString::fromStdString(stem)}),
            0);
  const QImage page = QImage(QString::fromStdString(stem + ".png")).convertToFormat(QImage::Format_RGB32);
  ASSERT_FALSE(page.isNull());
  QRect drawn;
  for (int y = 0; y < page.height(); ++y)
    for (int x = 0; x < page.width(); ++x)
      if (qGray(page.pixel(x, y)) < 250) drawn |= QRect(x, y, 1, 1);
  const QRect margins(QPoint(page.width() * 15 / 100, page.height() * 15 / 100),
                      QPoint(page.width() * 85 / 100, page.height() * 85 / 100));
  ASSERT_FALSE(drawn.isEmpty());
  EXPECT_TRUE(margins.adjusted(-1, -1, 1, 1).contains(drawn)) << "drawn " << drawn.x() << ',' << drawn.y() << ' '
                                                              << drawn.width() << 'x' << drawn.height();
  EXPECT_GE(drawn.width(), margins.width() - 3);
  EXPECT_NEAR(double(drawn.width()) / drawn.height(), 465.0 / 337.0, 0.05);
}

}  // namespace
}  // namespace tarvela
