// The gallery of chart types: a picture of every catalogue entry in 3D and in 2D, the
// page that shows them, the same bytes on every run.
#include "app/gallery.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QXmlStreamReader>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/app_test_support.h"
#include "app/recorded_paint.h"
#include "tarvela/chart/axes/axis.h"
#include "tarvela/chart/chart_registration.h"
#include "tarvela/chart/data/chart_series.h"
#include "tarvela/chart/series/circled_series.h"
#include "tarvela/runtime/colors.h"

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

  // The second page shows the same charts drawn with smooth lines, pictures of their own.
  QXmlStreamReader smoothPage(Bytes(first / kGallerySmoothPage));
  std::vector<std::string> smoothImages, smoothPictures;
  while (!smoothPage.atEnd()) {
    smoothPage.readNext();
    if (smoothPage.isStartElement() && smoothPage.name() == QLatin1String("img"))
      smoothImages.push_back(smoothPage.attributes().value("src").toString().toStdString());
  }
  EXPECT_FALSE(smoothPage.hasError()) << smoothPage.errorString().toStdString();
  for (int i = 0; i < static_cast<int>(entries.size()); ++i)
    for (bool view3D : {true, false})
      smoothPictures.push_back(GalleryFileName(i, entries[static_cast<std::size_t>(i)], view3D, true));
  EXPECT_EQ(smoothImages, smoothPictures);
  EXPECT_EQ(smoothPictures[15], "08-line-2d-smooth.png");
  EXPECT_NE(Bytes(first / smoothPictures[15]), Bytes(first / pictures[15])) << "the 2D line drawn smooth";

  EXPECT_EQ(RunWith({"--gallery", first.string(), "--png", "x.png"}).status, 2);
}

std::vector<std::string> Names(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

// A gallery drawn over an old one is the new one alone: no picture of an entry the
// catalogue no longer has, no folder of the swap left beside it, the folder's
// permissions and a link to it kept.
TEST(Gallery, AnOldGalleryIsReplacedWholeAndNothingIsLeftBesideIt) {
  namespace fs = std::filesystem;
  const fs::path parent = fs::path(::testing::TempDir()) / "tarvela-gallery-swap";
  fs::remove_all(parent);
  fs::create_directories(parent / "g");
  std::ofstream(parent / "g" / "99-gone-3d.png") << "stale";
  std::ofstream(parent / "g" / "index.html") << "old";
  fs::permissions(parent / "g", fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
  fs::create_directory_symlink("g", parent / "link");

  // Through the link, and with a trailing slash, as a shell's completion writes it.
  for (const fs::path& name : {parent / "g/", parent / "link"}) {
    const app_test::RunResult run = RunWith({"--gallery", name.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Names(parent), (std::vector<std::string>{"g", "link"})) << name;
    EXPECT_TRUE(fs::is_symlink(parent / "link"));
    EXPECT_EQ(fs::read_symlink(parent / "link"), fs::path("g"));
    const std::vector<std::string> files = Names(parent / "g");
    EXPECT_EQ(files.size(), 58u) << name;  // 14 entries in 3D and 2D, plain and smooth, and two pages
    EXPECT_EQ(std::count(files.begin(), files.end(), "99-gone-3d.png"), 0) << name;
    EXPECT_EQ(fs::status(parent / "g").permissions() & fs::perms::all,
              fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
    QXmlStreamReader page(Bytes(parent / "g" / "index.html"));
    int images = 0;
    while (!page.atEnd())
      if (page.readNext() == QXmlStreamReader::StartElement && page.name() == QLatin1String("img")) ++images;
    EXPECT_FALSE(page.hasError()) << page.errorString().toStdString();
    EXPECT_EQ(images, 28);
    EXPECT_EQ(QImage::fromData(Bytes(parent / "g" / files.front()), "PNG").size(), QSize(kGalleryWidth, kGalleryHeight))
        << files.front();
  }

  // A file where the folder should be stays as it was.
  std::ofstream(parent / "file") << "mine";
  const app_test::RunResult file = RunWith({"--gallery", (parent / "file").string()});
  EXPECT_EQ(file.status, 1);
  EXPECT_EQ(file.err, "tarvela: cannot write to " + (parent / "file").string() + ": Not a directory\n");
  EXPECT_EQ(Bytes(parent / "file"), QByteArray("mine"));
  EXPECT_EQ(Names(parent), (std::vector<std::string>{"file", "g", "link"}));
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

// The recording's "#RRGGBB/solid" brush of a colour.
std::string SolidBrush(TColor color) {
  char text[16];
  std::snprintf(text, sizeof text, "#%02X%02X%02X/solid", static_cast<unsigned>(RedOf(color)),
                static_cast<unsigned>(GreenOf(color)), static_cast<unsigned>(BlueOf(color)));
  return text;
}

// Horizontal bars take the sample values as their lengths and stand at places 0, 1, 2, ...
TEST(Gallery, HorizontalBarsStandOneAboveTheOtherAtTheirPlaces) {
  RegisterChartClasses();
  const TZavSeriesType* bars = TZavSeriesTypes::Instance().Find("THorizBarSeries", "");
  ASSERT_NE(bars, nullptr);
  const std::unique_ptr<TChart> chart = GalleryChart(*bars, false);
  paint_test::Recorder recorder;
  const paint_test::Paint paint = app_test::SettledPaint(recorder, *chart);
  // Each series' bars in point order, as drawn.
  std::vector<std::vector<TRect>> drawn(static_cast<std::size_t>(chart->SeriesTotal()));
  for (int s = 0; s < chart->SeriesTotal(); ++s) {
    const TChartSeries& series = *chart->SeriesAt(s);
    for (const std::string& line : paint.Of("Rectangle"))
      if (canvas_test::FieldOf(line, "brush") == SolidBrush(series.SeriesColor()))
        drawn[static_cast<std::size_t>(s)].push_back(canvas_test::RectOf(line));
    ASSERT_EQ(drawn[static_cast<std::size_t>(s)].size(), 8u) << s;
    for (int i = 0; i < 8; ++i) {
      EXPECT_EQ(series.YValueAt(i), i);
      // As long as its value.
      EXPECT_NEAR(drawn[static_cast<std::size_t>(s)][static_cast<std::size_t>(i)].right,
                  chart->BottomAxis().ValueToPixel(series.XValueAt(i)), 1)
          << s << " " << i;
    }
  }
  // The bars of one place side by side, centred on it, clear of the next place's.
  int previousTop = chart->PlotRect().bottom + 1;
  for (std::size_t i = 0; i < 8; ++i) {
    int top = previousTop, bottom = 0;
    for (const std::vector<TRect>& series : drawn) {
      top = std::min(top, series[i].top);
      bottom = std::max(bottom, series[i].bottom);
    }
    EXPECT_NEAR((top + bottom) / 2, chart->LeftAxis().ValueToPixel(static_cast<double>(i)), 1) << i;
    EXPECT_LE(bottom, previousTop) << i;
    previousTop = top;
  }
}

// The plot of a gallery picture is wider than high; its pies are circles all the same.
TEST(Gallery, PiesAreRoundInTwoAndThreeDimensions) {
  RegisterChartClasses();
  const TZavSeriesType* pie = TZavSeriesTypes::Instance().Find("TPieSeries", "");
  ASSERT_NE(pie, nullptr);
  for (bool view3D : {false, true}) {
    const std::unique_ptr<TChart> chart = GalleryChart(*pie, view3D);
    paint_test::Recorder recorder;
    const paint_test::Paint paint = app_test::SettledPaint(recorder, *chart);
    const auto& series = dynamic_cast<const TCircledSeries&>(*chart->SeriesAt(0));
    EXPECT_EQ(series.RadiusX(), series.RadiusY()) << view3D;
    EXPECT_GT(series.RadiusX(), 40) << view3D;
    if (view3D) continue;
    // The slices are drawn in that circle.
    ASSERT_FALSE(paint.Of("Pie").empty());
    for (const std::string& slice : paint.Of("Pie")) {
      const TRect r = canvas_test::RectOf(slice);
      EXPECT_EQ(r.right - r.left, r.bottom - r.top) << slice;
    }
  }
}

}  // namespace
}  // namespace tarvela
