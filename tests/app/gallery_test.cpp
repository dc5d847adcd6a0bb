// The gallery of chart types: a picture of every catalogue entry in 3D and in 2D, the
// page that shows them, the same bytes on every run.
#include "app/gallery.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QXmlStreamReader>
#include <filesystem>
#include <string>
#include <vector>

#include "app/app_test_support.h"
#include "chart/chart_registration.h"
#include "chart/data/chart_series.h"

namespace tarvela {
namespace {

using app_test::RunWith;

QByteArray Bytes(const std::filesystem::path& path) {
  QFile file(QString::fromStdString(path.string()));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(Gallery, EveryEntryIsDrawnInThreeAndTwoDimensionsAndListedOnThePage) {
  const std::filesystem::path first = std::filesystem::path(::testing::TempDir()) / "tarvela-gallery-1";
  const std::filesystem::path second = std::filesystem::path(::testing::TempDir()) / "tarvela-gallery-2";
  std::filesystem::remove_all(first);
  std::filesystem::remove_all(second);
  const app_test::RunResult run = RunWith({"--gallery", first.string()});
  ASSERT_EQ(run.status, 0) << run.err;
  ASSERT_EQ(RunWith({"--gallery", second.string()}).status, 0);

  RegisterChartClasses();
  const std::vector<TZavSeriesType>& entries = TZavSeriesTypes::Instance().Entries();
  ASSERT_EQ(entries.size(), 14u);
  std::vector<std::string> pictures;
  for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
    for (bool view3D : {true, false}) {
      const std::string name = GalleryFileName(i, entries[static_cast<std::size_t>(i)], view3D);
      pictures.push_back(name);
      const QImage image = QImage::fromData(Bytes(first / name), "PNG");
      EXPECT_EQ(image.size(), QSize(kGalleryWidth, kGalleryHeight)) << name;
      EXPECT_EQ(Bytes(first / name), Bytes(second / name)) << name << " differs between two runs";
    }
  }
  EXPECT_EQ(GalleryFileName(8, entries[8], true), "09-bar-3d.png");

  // The page, read as XML: the descriptions in catalogue order and every picture.
  QXmlStreamReader page(Bytes(first / "index.html"));
  std::vector<std::string> descriptions, images;
  while (!page.atEnd()) {
    page.readNext();
    if (!page.isStartElement()) continue;
    if (page.name() == QLatin1String("span") && page.attributes().value("class") == QLatin1String("description"))
      descriptions.push_back(page.readElementText().toStdString());
    if (page.name() == QLatin1String("img")) images.push_back(page.attributes().value("src").toString().toStdString());
  }
  EXPECT_FALSE(page.hasError()) << page.errorString().toStdString();
  std::vector<std::string> expected;
  for (const TZavSeriesType& entry : entries) expected.push_back(entry.Description);
  EXPECT_EQ(descriptions, expected);
  EXPECT_EQ(images, pictures);

  EXPECT_EQ(RunWith({"--gallery", first.string(), "--png", "x.png"}).status, 2);
}

// A function's picture shows what it computes from its sample series.
TEST(Gallery, AFunctionEntryComputesFromItsSampleSeries) {
  RegisterChartClasses();
  const TZavSeriesType* divide = TZavSeriesTypes::Instance().Find("", "TDivideZavFunction");
  ASSERT_NE(divide, nullptr);
  const std::unique_ptr<TChart> chart = GalleryChart(*divide, false);
  ASSERT_EQ(chart->SeriesTotal(), 3);
  const TChartSeries& a = *chart->SeriesAt(0);
  const TChartSeries& b = *chart->SeriesAt(1);
  const TChartSeries& quotient = *chart->SeriesAt(2);
  ASSERT_EQ(quotient.PointCount(), a.PointCount());
  for (int i = 0; i < a.PointCount(); ++i) EXPECT_DOUBLE_EQ(quotient.YValueAt(i), a.YValueAt(i) / b.YValueAt(i));
}

}  // namespace
}  // namespace tarvela
