// The pictures the command line writes: of the main form's chart, as the window
// shows it after the same steps, and of chart files, drawn by the library's writers.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QXmlStreamReader>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/app_test_support.h"
#include "app/command_line.h"
#include "app/form1.h"
#include "tarvela/chart/chart.h"
#include "tarvela/chart/data/chart_series.h"
#include "tarvela/widgets/chart_file.h"
#include "tarvela/widgets/chart_picture.h"
#include "widgets/picture_test_support.h"

namespace tarvela {
namespace {

using app_test::RunResult;
using app_test::RunWith;
using app_test::TempPath;
using picture_test::ExampleCharts;
using picture_test::FileText;
using picture_test::HasPixelOf;
using picture_test::Strings;
using picture_test::SvgOf;
using picture_test::SvgText;
using picture_test::SvgTexts;

// [SECTION] The main form's chart

using app_test::GraphedForm;

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
TEST(CommandLinePictures, ScaleTwoDrawsTheSameChartAtTwiceThePixels) {
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

TEST(CommandLinePictures, SvgHoldsEveryTextOfTheMainChartAsTextElements) {
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

// [SECTION] Text in the raster pictures

// The legend's titles are really drawn into the PNG the user gets (the window and the
// screenshot show the same pixels; see the window test): dark pixels in every row of
// its text column.
TEST(CommandLinePictures, PngShowsEveryLegendTitle) {
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

// [SECTION] Chart files

std::string WriteTemp(const std::string& name, const std::string& text) {
  const std::string path = TempPath(name);
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

// Every <text> element's characters, and the root's view box.
struct SvgFacts {
  std::vector<std::string> texts;
  QString viewBox;
  bool wellFormed = false;
};

SvgFacts ReadSvg(const std::string& path) {
  QFile file(QString::fromStdString(path));
  SvgFacts facts;
  if (!file.open(QIODevice::ReadOnly)) return facts;
  QXmlStreamReader xml(&file);
  while (!xml.atEnd()) {
    if (!xml.readNext() || !xml.isStartElement()) continue;
    if (xml.name() == QLatin1String("svg")) {
      facts.viewBox = xml.attributes().value("viewBox").toString();
    } else if (xml.name() == QLatin1String("text")) {
      facts.texts.push_back(xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed().toStdString());
    }
  }
  facts.wellFormed = !xml.hasError();
  return facts;
}

// A program on the library that reads a chart file and writes its picture, as
// chart_picture.h shows, gets the very bytes the command line writes.
TEST(CommandLineChart, PicturesAreTheLibrarysByteForByte) {
  using Writer = std::function<bool(TChartForm&, QIODevice&)>;
  const auto library = [](const std::string& path, std::optional<ChartImageSize> size, const Writer& write) {
    TChartForm form(nullptr, ReadChartFileText(path), "library");
    if (size) form.SetChartSize(size->width, size->height);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(write(form, buffer));
    return bytes.toStdString();
  };
  const Writer png = [](TChartForm& f, QIODevice& device) { return WriteChartPng(f.Chart(), device, std::nullopt); };
  const Writer svg = [](TChartForm& f, QIODevice& device) { return WriteChartSvg(f.Chart(), device, std::nullopt); };
  int compared = 0;
  for (const std::string& example : ExampleCharts()) {
    if (example.find("million") != std::string::npos) continue;  // its time is spent elsewhere
    SCOPED_TRACE(example);
    const RunResult picture = RunWith({"--chart", example, "--png", "-"});
    ASSERT_EQ(picture.status, 0) << picture.err;
    EXPECT_EQ(picture.out, library(example, std::nullopt, png));
    const RunResult document = RunWith({"--chart", example, "--svg", "-"});
    ASSERT_EQ(document.status, 0) << document.err;
    EXPECT_EQ(document.out, library(example, std::nullopt, svg));
    ++compared;
  }
  EXPECT_GE(compared, 4);
  const std::string example = TARVELA_EXAMPLES_DIR "/bars.chart";
  const RunResult dense = RunWith({"--chart", example, "--size", "300x220", "--scale", "2", "--png", "-"});
  ASSERT_EQ(dense.status, 0) << dense.err;
  EXPECT_EQ(dense.out, library(example, ChartImageSize{300, 220}, [](TChartForm& f, QIODevice& device) {
              return WriteChartPng(f.Chart(), device, std::nullopt, 2);
            }));
}

TEST(CommandLineChart, EveryExampleRendersAsPngAndSvg) {
  const std::vector<std::string> examples = ExampleCharts();
  ASSERT_GE(examples.size(), 4u);
  for (const std::string& example : examples) {
    SCOPED_TRACE(example);
    const std::string png = TempPath("example.png");
    const std::string svg = TempPath("example.svg");
    std::filesystem::remove(png);
    std::filesystem::remove(svg);
    const RunResult run = RunWith({"--chart", example, "--png", png, "--svg", svg});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");

    TChartForm form(nullptr, FileText(example), "");
    const TChart& chart = form.Chart();
    const QImage image(QString::fromStdString(png));
    ASSERT_EQ(image.size(), QSize(chart.Width(), chart.Height()));
    ASSERT_GT(chart.SeriesTotal(), 0);
    EXPECT_TRUE(HasPixelOf(image, chart.SeriesAt(0)->SeriesColor()));

    const SvgFacts facts = ReadSvg(svg);
    EXPECT_TRUE(facts.wellFormed);
    EXPECT_EQ(facts.viewBox.toStdString(), "0 0 " + std::to_string(chart.Width()) + " " + std::to_string(chart.Height()));
    const std::string title = chart.Title().Text().Lines().front();
    EXPECT_NE(std::find(facts.texts.begin(), facts.texts.end(), title), facts.texts.end()) << title;
    // A series with visible marks shows each point's mark text.
    for (int s = 0; s < chart.SeriesTotal(); ++s) {
      TChartSeries& series = *chart.SeriesAt(s);
      if (!series.Marks().Visible()) continue;
      for (int i = 0; i < series.PointCount(); ++i) {
        const std::string mark = series.MarkText(i);
        EXPECT_NE(std::find(facts.texts.begin(), facts.texts.end(), mark), facts.texts.end()) << mark;
      }
    }
  }
}

TEST(CommandLineChart, PicturesAreTheSettledWindowsAtTheirSizeAndPointsAreListed) {
  const std::string example = TARVELA_EXAMPLES_DIR "/log-axis.chart";
  const std::string png = TempPath("settled.png");
  ASSERT_EQ(RunWith({"--chart", example, "--png", png}).status, 0);
  // What a window shows after it has been painted a good many times.
  TChartForm form(nullptr, FileText(example), "");
  QImage window;
  for (int i = 0; i < 8; ++i) window = RenderChartImage(form.Chart());
  EXPECT_EQ(QImage(QString::fromStdString(png)).convertToFormat(window.format()), window);

  const RunResult sized = RunWith({"--chart", example, "--size", "300x220", "--png", png, "--screenshot",
                                   TempPath("settled-window.png"), "--points", "-"});
  ASSERT_EQ(sized.status, 0) << sized.err;
  EXPECT_EQ(QImage(QString::fromStdString(png)).size(), QSize(300, 220));
  EXPECT_EQ(QImage(QString::fromStdString(TempPath("settled-window.png"))).size(), QSize(300, 220));
  std::istringstream lines(sized.out);
  std::vector<std::string> points;
  for (std::string line; std::getline(lines, line);) points.push_back(line);
  ASSERT_EQ(points.size(), 18u);
  EXPECT_EQ(points[0], "0 0 1000000 255");  // series 0, X, Y, its colour clRed
  EXPECT_EQ(points[17], "2 10 65536 16711680");
}

TEST(CommandLineChart, BadFilesFailWithTheFileAndLineAndWriteNothing) {
  const std::string png = TempPath("never.png");
  std::filesystem::remove(png);
  const std::pair<std::string, std::string> cases[] = {
      {"object Chart1: TChart\n  object Series1: TLineSeries\n    Points = ('1 2')\n  end\n",
       ":5: Missing 'end' of object Chart1 (line 1)"},
      {"object Chart1: TChart\n  Chart3DPercent = 12x\nend\n", ":2: Expected the end of the line after the value but found 'x'"},
      {"object Chart1: TChart\n  Chart3DPercent = 1.5\nend\n", ":2: Invalid value for property 'Chart3DPercent' of TChart: Expected an integer but found floating point number 1.5"},
      {"object Chart1: TChart\n  BottomAxis.Maximum = 1e999\nend\n", ":2: Invalid value for property 'BottomAxis.Maximum' of TChart: 1E+999 is out of the floating point range"},
      {"object Chart1: TChart\n  Title.Colour = clRed\nend\n", ":2: Unknown property 'Title.Colour' of TChart"},
      {"object Chart1: TChart\n  object Odd: TNoSuchSeries\n  end\nend\n", ":2: Class TNoSuchSeries not found"},
      {"object Chart1: TChart\n  object S: TLineSeries\n    Points = (\n      '1 2'\n      '2'\n      '3 4')\n  end\nend\n",
       ":5: Point 2 of Points '2': no Y value after 2"},
      {"object Chart1: TChart\n  object Series1: TLineSeries\n    Points = ('1 2')\n  edn\n  object Series2: TLineSeries\n"
       "  end\nend\n",
       ":4: Expected 'end' or a property but found 'edn'"},
      {"object Chart1: TChart\n  object Series1: TLineSeries\n  end\n  object Chart1: TBarSeries\n  end\nend\n",
       ":4: A component named Chart1 already exists"},
  };
  for (const auto& [text, message] : cases) {
    const std::string path = WriteTemp("bad.chart", text);
    const RunResult run = RunWith({"--chart", path, "--png", png});
    EXPECT_EQ(run.status, 1) << text;
    EXPECT_EQ(run.err, "tarvela: " + path + message + "\n");
    EXPECT_FALSE(std::filesystem::exists(png));
  }

  const std::string missing = TempPath("no-such.chart");
  RunResult run = RunWith({"--chart", missing, "--png", png});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "tarvela: " + missing + ": cannot be read (No such file or directory)\n");
  run = RunWith({"--chart", ::testing::TempDir(), "--svg", "-"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find(": cannot be read (it is a folder)"), std::string::npos);
  EXPECT_EQ(run.out, "");

  // Sparse: the size is refused before a byte is read.
  const std::string large = TempPath("large.chart");
  { std::ofstream(large) << "object Chart1: TChart\nend\n"; }
  std::filesystem::resize_file(large, kMaxChartFileBytes + 1);
  run = RunWith({"--chart", large, "--png", png});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "tarvela: " + large + ": larger than 16 MiB (16777216 bytes), refused\n");
  std::filesystem::remove(large);

  // The window path reports the same way, before any window exists.
  const std::string bad = WriteTemp("bad-window.chart", "object Chart1: TChart\n  Nope = 1\nend\n");
  std::ostringstream err;
  CommandLineOptions options;
  options.chart = bad;
  EXPECT_EQ(RunChartWindow(options, err), 1);
  EXPECT_EQ(err.str(), "tarvela: " + bad + ":2: Unknown property 'Nope' of TChart\n");
}

TEST(CommandLineChart, FormOptionsAreRefusedAndTheRestDecideWhetherAWindowOpens) {
  for (const char* option : {"--sigma", "--second", "--report", "--csv", "--json"}) {
    const RunResult run = RunWith({"--chart", "x.chart", option, "1"});
    EXPECT_EQ(run.status, 2) << option;
    EXPECT_NE(run.err.find(std::string("option ") + option + " belongs to the form"), std::string::npos);
  }
  EXPECT_EQ(RunWith({"--chart"}).status, 2);
  EXPECT_TRUE(ParseCommandLine({"--chart", "x"}).OpensChartWindow());
  EXPECT_TRUE(ParseCommandLine({"--chart", "x", "--size", "300x200"}).OpensChartWindow());
  EXPECT_FALSE(ParseCommandLine({"--chart", "x", "--svg", "-"}).OpensChartWindow());
  EXPECT_FALSE(ParseCommandLine({"--chart", "x", "--points", "-"}).OpensChartWindow());
  EXPECT_FALSE(ParseCommandLine({"--png", "-"}).OpensChartWindow());
  EXPECT_NE(RunWith({"--help"}).out.find("--chart FILE"), std::string::npos);
}

}  // namespace
}  // namespace tarvela
