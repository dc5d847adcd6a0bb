#include "app/chart_export.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QSvgGenerator>
#include <QXmlStreamReader>
#include <algorithm>
#include <filesystem>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/app_test_support.h"
#include "app/chart_file.h"
#include "app/command_line.h"
#include "app/form1.h"
#include "chart/axes/axis.h"
#include "chart/chart.h"
#include "chart/series/line_series.h"
#include "widgets/qt_surface.h"

namespace tarvela {
namespace {

TEST(ChartExport, LargerRenderingPutsTheChartsSizeBackAndRedrawsItThere) {
  TChart chart(nullptr);
  chart.SetBounds(8, 48, 465, 337);
  chart.Gradient().SetVisible(true);
  int repaints = 0;
  chart.HostInvalidate = [&] { ++repaints; };

  const QImage large = RenderChartImage(chart, ChartImageSize{930, 674});
  EXPECT_EQ(large.size(), QSize(930, 674));
  EXPECT_EQ(chart.BoundsRect(), (TRect{8, 48, 473, 385}));
  // The buffer holds the large picture: the window must draw its own size again.
  EXPECT_TRUE(chart.Canvas().Dirty());
  EXPECT_GE(repaints, 2);

  const QImage own = RenderChartImage(chart);
  EXPECT_EQ(own.size(), QSize(465, 337));
  // Default gradient: white along the bottom, yellow along the top, inside the bevel.
  const QColor bottom = own.pixelColor(200, 335);
  const QColor top = own.pixelColor(200, 1);
  EXPECT_EQ(bottom.red() + bottom.green(), 510);
  EXPECT_GE(bottom.blue(), 250);
  EXPECT_EQ(top.red() + top.green(), 510);
  EXPECT_LE(top.blue(), 5);
}

// The export draws straight into its picture, the window into the chart's bitmap and
// then copies that: every example chart, in 3D and in 2D, in colour and monochrome, at
// one and two times the pixels, gives the same pixels both ways, as the chart's next
// paint after the window's.
TEST(ChartExport, PngIsThePictureTheWindowPaintsThroughItsBitmap) {
  int compared = 0;
  for (const auto& entry : std::filesystem::directory_iterator(TARVELA_EXAMPLES_DIR)) {
    const std::string path = entry.path().string();
    if (entry.path().extension() != ".chart" || path.find("million") != std::string::npos) continue;
    for (const int variant : {0, 1, 2, 3}) {
      SCOPED_TRACE(path + " variant " + std::to_string(variant));
      TChartForm form(nullptr, ReadChartFileText(path), "chart");
      TChart& chart = form.Chart();
      if (variant == 1) chart.SetView3D(!chart.View3D());
      if (variant == 3) chart.SetMonochrome(true);
      const int scale = variant == 2 ? 2 : 1;
      QImage window(chart.Width() * scale, chart.Height() * scale, QImage::Format_RGB32);
      window.setDevicePixelRatio(scale);
      for (int paint = 0; paint < 2; ++paint) {
        window.fill(Qt::black);
        QtSurface surface(window);
        chart.PaintChart(surface, chart.ClientRect());
      }
      ASSERT_TRUE(chart.Buffered());
      const QImage png = RenderChartImage(chart, std::nullopt, scale);
      EXPECT_TRUE(chart.Buffered());
      ASSERT_EQ(png.size(), window.size());
      EXPECT_EQ(png, window);
      ++compared;
    }
  }
  EXPECT_GE(compared, 40);
}

// [SECTION] Pictures at more pixels

QImage ReadPng(const std::string& path) {
  return QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32);
}

// Each pixel of the result the mean of the scale x scale block over it.
QImage BoxReduced(const QImage& image, int scale) {
  QImage reduced(image.width() / scale, image.height() / scale, QImage::Format_RGB32);
  for (int y = 0; y < reduced.height(); ++y) {
    for (int x = 0; x < reduced.width(); ++x) {
      int r = 0, g = 0, b = 0;
      for (int dy = 0; dy < scale; ++dy) {
        for (int dx = 0; dx < scale; ++dx) {
          const QRgb p = image.pixel(x * scale + dx, y * scale + dy);
          r += qRed(p), g += qGreen(p), b += qBlue(p);
        }
      }
      const int n = scale * scale;
      reduced.setPixel(x, y, qRgb((r + n / 2) / n, (g + n / 2) / n, (b + n / 2) / n));
    }
  }
  return reduced;
}

int GreyLevels(const QImage& image, const QRect& area) {
  std::set<int> levels;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) levels.insert(qGray(image.pixel(x, y)));
  return static_cast<int>(levels.size());
}

// The picture for a report or a dense screen: twice the pixels, drawn at them (text with
// more shades along its edges), the same chart when looked at from twice as far (every
// straight line where it was; text and slopes differ by their finer edges only), and
// the window's chart at those pixels is the same picture.
TEST(ChartExport, ScaleTwoDrawsTheSameChartAtTwiceThePixels) {
  const std::vector<std::string> inputs = {"--sigma", "1", "--second", "0"};
  const auto run = [&](std::vector<std::string> extra) {
    std::vector<std::string> args = inputs;
    args.insert(args.end(), extra.begin(), extra.end());
    const app_test::RunResult result = app_test::RunWith(args);
    EXPECT_EQ(result.status, 0) << result.err;
  };
  const std::string one = app_test::TempPath("tarvela-scale1.png"), two = app_test::TempPath("tarvela-scale2.png");
  const std::string window = app_test::TempPath("tarvela-scale2-window.png");
  run({"--png", one});
  run({"--png", two, "--scale", "2", "--screenshot", window});
  const QImage plain = ReadPng(one), dense = ReadPng(two);
  ASSERT_EQ(plain.size(), QSize(465, 337));
  ASSERT_EQ(dense.size(), QSize(930, 674));
  EXPECT_EQ(QImage(QString::fromStdString(two)).dotsPerMeterX(), 7559);  // 192 dots per inch

  const QImage reduced = BoxReduced(dense, 2);
  long long total = 0;
  int near = 0;
  for (int y = 0; y < plain.height(); ++y) {
    for (int x = 0; x < plain.width(); ++x) {
      const QRgb a = plain.pixel(x, y), b = reduced.pixel(x, y);
      const int worst = std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
      total += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
      near += worst <= 64;
    }
  }
  const double pixels = double(plain.width()) * plain.height();
  EXPECT_LT(total / (3 * pixels), 5.0) << "mean difference per channel, of 255";
  EXPECT_GT(near / pixels, 0.95) << "share of pixels within a quarter of the range";
  // The first legend title.
  const QRect legend(390, 34, 56, 14);
  EXPECT_GT(GreyLevels(dense, QRect(legend.topLeft() * 2, legend.size() * 2)), GreyLevels(plain, legend) + 40);

  // The screenshot at scale 2 holds the same chart at the chart's place.
  const QImage screenshot = ReadPng(window);
  ASSERT_EQ(screenshot.size(), QSize(1120, 788));
  EXPECT_EQ(screenshot.copy(16, 96, 930, 674), dense);
}

// [SECTION] Text in the SVG document

// A text element of an SVG document, with the transforms of the groups around it.
struct SvgText {
  std::string text;
  std::vector<std::string> transforms;
};

// Read with an XML reader: what a viewer shows, not what the bytes happen to hold.
std::vector<SvgText> SvgTexts(const QByteArray& document) {
  std::vector<SvgText> texts;
  std::vector<std::string> transforms;
  QXmlStreamReader reader(document);
  while (!reader.atEnd()) {
    reader.readNext();
    if (reader.isStartElement() && reader.name() == QLatin1String("g")) {
      transforms.push_back(reader.attributes().value("transform").toString().toStdString());
    } else if (reader.isEndElement() && reader.name() == QLatin1String("g")) {
      transforms.pop_back();
    } else if (reader.isStartElement() && reader.name() == QLatin1String("text")) {
      SvgText text{{}, transforms};
      text.text = reader.readElementText(QXmlStreamReader::IncludeChildElements).toStdString();
      texts.push_back(std::move(text));
    }
  }
  EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
  return texts;
}

std::vector<std::string> Strings(const std::vector<SvgText>& texts) {
  std::vector<std::string> strings;
  for (const SvgText& text : texts) strings.push_back(text.text);
  return strings;
}

// The Qt surface, listing every text the chart asks it to draw.
class TextListingSurface : public QtSurface {
 public:
  using QtSurface::QtSurface;
  std::vector<std::string> texts;

 protected:
  void DoTextOut(TPoint point, std::string_view text) override {
    texts.emplace_back(text);
    QtSurface::DoTextOut(point, text);
  }
};

std::unique_ptr<TForm1> GraphedForm() {
  auto form = std::make_unique<TForm1>(nullptr, [] { return LocaleSettings::Dot(); });
  form->Edit1->SetText("1");
  form->Edit2->SetText("0");
  form->Button1->Click();
  form->BitBtn1->Click();
  return form;
}

// The chart drawn into an SVG document in memory, as the export draws it, listing what
// it drew as text.
QByteArray SvgOf(TCustomZavPanel& chart, std::vector<std::string>* drawn = nullptr) {
  QByteArray document;
  QBuffer buffer(&document);
  buffer.open(QIODevice::WriteOnly);
  chart.SetBuffered(false);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setSize(QSize(chart.Width(), chart.Height()));
  {
    TextListingSurface surface(generator);
    chart.PaintChart(surface, chart.ClientRect());
    if (drawn != nullptr) *drawn = surface.texts;
  }
  chart.SetBuffered(true);
  return document;
}

TEST(ChartExport, SvgHoldsEveryTextOfTheMainChartAsTextElements) {
  const auto form = GraphedForm();
  std::vector<std::string> drawn;
  const std::vector<SvgText> texts = SvgTexts(SvgOf(*form->Chart1, &drawn));
  EXPECT_GE(drawn.size(), 30u);
  EXPECT_EQ(Strings(texts), drawn);

  // And the command line's document, the way the user gets it: every legend title and
  // the labels of the bottom axis.
  std::ostringstream out, err;
  ASSERT_EQ(RunCommandLine({"--sigma", "1", "--second", "0", "--svg", "-"}, out, err), 0) << err.str();
  const std::vector<std::string> written = Strings(SvgTexts(QByteArray::fromStdString(out.str())));
  const auto holds = [&](const std::string& text) {
    return std::find(written.begin(), written.end(), text) != written.end();
  };
  const TChart& chart = *form->Chart1;
  int titles = 0;
  for (int row = 0; row < chart.Legend().RowCount(); ++row, ++titles)
    EXPECT_TRUE(holds(chart.LegendSeriesAt(row)->Name())) << chart.LegendSeriesAt(row)->Name();
  EXPECT_GE(titles, 11);
  for (const char* label : {"-1", "0", "1", "2"}) EXPECT_TRUE(holds(label)) << label;
}

TEST(ChartExport, SvgHoldsTheTitleAndATurnedAxisTitleAsText) {
  TChart chart(nullptr);
  chart.SetBounds(0, 0, 400, 300);
  chart.Title().Text().Add("Heat front");
  chart.LeftAxis().Title().SetCaption("Height u");
  chart.BottomAxis().Title().SetCaption("Position x");
  auto* series = new TLineSeries(&chart);
  series->SetParentChart(&chart);
  for (int i = 0; i <= 10; ++i) series->AddPointXY(i, i * i);

  std::vector<std::string> drawn;
  const std::vector<SvgText> texts = SvgTexts(SvgOf(chart, &drawn));
  EXPECT_EQ(Strings(texts), drawn);
  const auto find = [&](const std::string& text) {
    return std::find_if(texts.begin(), texts.end(), [&](const SvgText& t) { return t.text == text; });
  };
  ASSERT_NE(find("Heat front"), texts.end());
  ASSERT_NE(find("Position x"), texts.end());
  const auto turned = find("Height u");
  ASSERT_NE(turned, texts.end());
  // Turned a quarter counter-clockwise: the group around it maps x onto -y.
  const bool quarterTurn = std::any_of(turned->transforms.begin(), turned->transforms.end(), [](const std::string& t) {
    return t.rfind("matrix(0,-1,1,0,", 0) == 0;
  });
  EXPECT_TRUE(quarterTurn);
}

// [SECTION] Text in the raster pictures

// The legend's titles are really drawn into the PNG the user gets (the window and the
// screenshot show the same pixels; see the window test): dark pixels in every row of
// its text column.
TEST(ChartExport, PngShowsEveryLegendTitle) {
  const auto form = GraphedForm();
  RenderChartImage(*form->Chart1);
  const TChartLegend& legend = form->Chart1->Legend();
  const TRect bounds = legend.LegendBounds();
  const int rows = legend.RowCount();
  ASSERT_GE(rows, 11);

  std::ostringstream out, err;
  ASSERT_EQ(RunCommandLine({"--sigma", "1", "--second", "0", "--png", "-"}, out, err), 0) << err.str();
  const QImage png = QImage::fromData(QByteArray::fromStdString(out.str()), "PNG");
  ASSERT_EQ(png.size(), QSize(465, 337));
  const int rowHeight = (bounds.Height() - 2) / rows;
  const int textLeft = bounds.left + 4 + legend.ColorBoxWidth() + 2;
  for (int row = 0; row < rows; ++row) {
    int dark = 0;
    for (int y = bounds.top + 1 + row * rowHeight; y < bounds.top + 1 + (row + 1) * rowHeight; ++y)
      for (int x = textLeft; x < bounds.right - 1; ++x) {
        const QColor c = png.pixelColor(x, y);
        dark += c.red() < 96 && c.green() < 96 && c.blue() < 96;
      }
    EXPECT_GE(dark, 15) << "row " << row;
  }
}

}  // namespace
}  // namespace tarvela
