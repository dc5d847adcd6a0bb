// The code sample on the main page of the API reference (docs/library.md shows the
// lines between the two markers below): a chart built in code and written as a PNG
// file. Compiled and run here, so that the sample a reader copies keeps building
// and keeps drawing what the page says it draws.

// [chart to png]
#include <QSaveFile>
#include <QString>

#include "tarvela/chart/chart.h"
#include "tarvela/chart/series/line_series.h"
#include "tarvela/widgets/chart_picture.h"

// A chart of y = x² for x = 0..10, 400 by 300 pixels, written whole as a PNG file
// or not at all. Returns false when the file could not be written.
bool WriteParabolaPng(const QString& path) {
  using namespace tarvela;
  TChart chart(nullptr);
  chart.SetBounds(0, 0, 400, 300);
  chart.Title().Text().Add("Parabola");

  auto* series = new TLineSeries(&chart);  // owned by the chart, freed with it
  series->SetParentChart(&chart);          // joins the chart's series list
  for (int x = 0; x <= 10; ++x) series->AddPointXY(x, x * x);

  QSaveFile file(path);
  return file.open(QIODevice::WriteOnly) && WriteChartPng(chart, file, std::nullopt) && file.commit();
}
// [chart to png]

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

namespace tarvela {
namespace {

TEST(ReferenceSample, WritesThePngOfTheChartWithItsLine) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath("parabola.png");
  ASSERT_TRUE(WriteParabolaPng(path));

  QImage image;
  ASSERT_TRUE(image.load(path, "PNG"));
  EXPECT_EQ(image.size(), QSize(400, 300));
  // The first series of a chart takes the palette's first colour, red: the line is
  // drawn in it, so a good many pixels are pure red.
  int red = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) red += image.pixelColor(x, y) == QColor(Qt::red) ? 1 : 0;
  }
  EXPECT_GE(red, 100);
}

TEST(ReferenceSample, LeavesNoFileWhereItCannotWrite) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath("missing-folder/parabola.png");
  EXPECT_FALSE(WriteParabolaPng(path));
  EXPECT_FALSE(QFileInfo::exists(path));
  EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot).isEmpty());
}

}  // namespace
}  // namespace tarvela
