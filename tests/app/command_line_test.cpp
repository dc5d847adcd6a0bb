#include "app/app_test_support.h"
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QProcess>
#include <QXmlStreamReader>
#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <streambuf>
#include <string_view>
#include <unistd.h>

#include "tarvela/runtime/exceptions.h"
#include "tarvela/widgets/chart_file.h"
#include "tarvela/widgets/chart_picture.h"
#include "tarvela/widgets/chart_window.h"
#include "tarvela/widgets/output_file.h"

namespace tarvela {
namespace {

using app_test::RunResult;
using app_test::RunWith;
using app_test::TempPath;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(CommandLine, ReportToStandardOutputHasAllLayers) {
  const RunResult run = RunWith({"--sigma", "1", "--second", "0", "--report", "-"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  const auto lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 132u);
  EXPECT_EQ(lines[0], "layer  0");
  EXPECT_EQ(lines[121], " ");
  EXPECT_EQ(run.out.find('\r'), std::string::npos);
}

TEST(CommandLine, PointsListEverySeriesWithPointsInOrder) {
  const RunResult run = RunWith({"--sigma", "1", "--second", "0", "--points", "-"});
  EXPECT_EQ(run.status, 0);
  const auto lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 120u);
  std::istringstream first(lines[0]);
  int series = -1;
  double x = 0, y = 0;
  long long color = -1;
  first >> series >> x >> y >> color;
  EXPECT_EQ(series, 0);
  EXPECT_DOUBLE_EQ(x, 0.2 * (std::cbrt(2.0) + 1.0) - (std::cbrt(2.0) + 1.0));
  EXPECT_EQ(color, 255);
  EXPECT_EQ(lines[100].substr(0, 3), "10 ");
  EXPECT_NE(lines[101].find(" 32768"), std::string::npos);
  EXPECT_EQ(lines[119].substr(0, 3), "10 ");
}

TEST(CommandLine, FailuresPrintTheErrorBoxTextAndExitOne) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--sigma", "-2", "--second", "0"}, "Floating point division by zero.\n"},
      {{"--sigma", "0", "--second", "0"}, "Floating point division by zero.\n"},
      {{"--sigma", "-1", "--second", "0"}, "Invalid floating point operation.\n"},
      {{"--sigma", "1e400", "--second", "0"}, "Floating point overflow.\n"},
      {{"--sigma", "1", "--second", ""}, "'' is not a valid floating point value.\n"},
      {{"--sigma", "1"}, "'' is not a valid floating point value.\n"},
      {{"--sigma", "abc", "--second", "0"}, "'abc' is not a valid floating point value.\n"},
  };
  for (const auto& [args, message] : cases) {
    const RunResult run = RunWith(args);
    EXPECT_EQ(run.status, 1) << args[1];
    EXPECT_EQ(run.err, "tarvela: " + message) << args[1];
    EXPECT_EQ(run.out, "");
  }
  // Pictures alone press the buttons in their own forms: the same failure, and no file.
  const std::string png = TempPath("failed-press.png"), svg = TempPath("failed-press.svg");
  for (const auto& [args, message] : cases) {
    std::vector<std::string> pictures = args;
    pictures.insert(pictures.end(), {"--png", png, "--svg", svg});
    const RunResult run = RunWith(pictures);
    EXPECT_EQ(run.status, 1) << args[1];
    EXPECT_EQ(run.err, "tarvela: " + message) << args[1];
    EXPECT_FALSE(std::filesystem::exists(png)) << args[1];
    EXPECT_FALSE(std::filesystem::exists(svg)) << args[1];
  }
}

TEST(CommandLine, ReportFileIsWrittenAndBadOptionsAreRefused) {
  const std::string path = ::testing::TempDir() + "tarvela-report-test.txt";
  const RunResult run = RunWith({"--sigma", "2", "--second", "0", "--report", path});
  EXPECT_EQ(run.status, 0);
  std::ifstream file(path);
  std::stringstream content;
  content << file.rdbuf();
  EXPECT_EQ(Lines(content.str()).size(), 132u);

  EXPECT_EQ(RunWith({"--bogus"}).status, 2);
  EXPECT_EQ(RunWith({"--sigma"}).status, 2);
  const RunResult unwritable = RunWith({"--sigma", "1", "--second", "0", "--report", "/nonexistent-dir/r.txt"});
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_NE(unwritable.err.find("/nonexistent-dir/r.txt"), std::string::npos);
  const RunResult help = RunWith({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--report"), std::string::npos);
}

// Blue at full strength, no red, and green within [low, high].
bool IsBlueToAqua(const QImage& image, int x, int y, int low, int high) {
  const QColor c = image.pixelColor(x, y);
  return c.red() == 0 && c.blue() == 255 && c.green() >= low && c.green() <= high;
}

TEST(CommandLine, PngAloneWritesTheChartAsTheWindowShowsItWithoutPressing) {
  const std::string path = TempPath("tarvela-chart.png");
  const RunResult run = RunWith({"--png", path});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const QImage image(QString::fromStdString(path));
  ASSERT_EQ(image.size(), QSize(465, 337));
  // Inside the bevel and the ring: aqua-ish at the top, blue-ish at the bottom.
  EXPECT_TRUE(IsBlueToAqua(image, 232, 15, 230, 255));
  EXPECT_TRUE(IsBlueToAqua(image, 232, 321, 0, 25));
  EXPECT_EQ(QColor(image.pixel(232, 0)), QColor(255, 255, 255));
  EXPECT_EQ(QColor(image.pixel(232, 336)), QColor(160, 160, 160));
  EXPECT_EQ(QColor(image.pixel(232, 8)), QColor(240, 240, 240));
}

TEST(CommandLine, SizeDrawsTheChartLargerForPngAndSvg) {
  const std::string png = TempPath("tarvela-large.png");
  const std::string svg = TempPath("tarvela-large.svg");
  const RunResult run = RunWith({"--sigma", "1", "--second", "0", "--size", "930x674", "--png", png, "--svg", svg});
  EXPECT_EQ(run.status, 0) << run.err;
  const QImage image(QString::fromStdString(png));
  ASSERT_EQ(image.size(), QSize(930, 674));
  EXPECT_TRUE(IsBlueToAqua(image, 465, 15, 230, 255));
  EXPECT_TRUE(IsBlueToAqua(image, 465, 658, 0, 25));

  QFile file(QString::fromStdString(svg));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray document = file.readAll();
  EXPECT_TRUE(document.startsWith("<?xml"));
  EXPECT_TRUE(document.contains("<svg"));
  EXPECT_TRUE(document.contains("viewBox=\"0 0 930 674\""));
  // Drawn as shapes, not as one embedded picture.
  EXPECT_FALSE(document.contains("<image"));
}

TEST(CommandLine, ScreenshotHoldsTheWholeWindowWithTheChartInPlace) {
  const std::string path = TempPath("tarvela-window.png");
  const RunResult run = RunWith({"--screenshot", path});
  EXPECT_EQ(run.status, 0) << run.err;
  const QImage image(QString::fromStdString(path));
  // The client area of the 568 x 428 form; the chart at (8, 48).
  ASSERT_EQ(image.size(), QSize(560, 394));
  EXPECT_EQ(QColor(image.pixel(8 + 232, 48)), QColor(255, 255, 255));
  EXPECT_TRUE(IsBlueToAqua(image, 8 + 232, 48 + 321, 0, 25));
}

TEST(CommandLine, PictureOptionsAreCheckedLikeTheOthers) {
  EXPECT_EQ(RunWith({"--size", "930"}).status, 2);
  EXPECT_EQ(RunWith({"--size", "0x10"}).status, 2);
  EXPECT_EQ(RunWith({"--size", "-5x10"}).status, 2);
  EXPECT_EQ(RunWith({"--png"}).status, 2);
  const RunResult unwritable = RunWith({"--png", "/nonexistent-dir/c.png"});
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_EQ(unwritable.err, "tarvela: cannot write to /nonexistent-dir/c.png: No such file or directory\n");
  EXPECT_EQ(RunWith({"--svg", "/nonexistent-dir/c.svg"}).status, 1);
  // A failed press still ends the run before any picture is written.
  const std::string path = TempPath("tarvela-never.png");
  std::remove(path.c_str());
  const RunResult failed = RunWith({"--sigma", "abc", "--second", "0", "--png", path});
  EXPECT_EQ(failed.status, 1);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
  const RunResult help = RunWith({"--help"});
  for (const char* option : {"--png", "--svg", "--size", "--screenshot"})
    EXPECT_NE(help.out.find(option), std::string::npos) << option;
}

// [SECTION] Outputs that must be true

TEST(CommandLine, SizesWhosePixelBuffersCannotFitAreRefusedBeforeDrawing) {
  for (const char* size : {"65536x65536", "99999x99999", "16385x10", "10x16385", "8192x8193", "123456789x1"}) {
    const RunResult run = RunWith({"--size", size, "--png", TempPath("tarvela-huge.png")});
    EXPECT_EQ(run.status, 2) << size;
    EXPECT_EQ(run.err, "tarvela: option --size allows at most 16384 pixels a side and 67108864 pixels in all, not " +
                           std::string(size) + "\nTry 'tarvela --help' for more information.\n");
  }
  EXPECT_FALSE(QFile::exists(QString::fromStdString(TempPath("tarvela-huge.png"))));
  const CommandLineOptions largest = ParseCommandLine({"--size", "16384x4096", "--png", "-"});
  ASSERT_TRUE(largest.size);
  EXPECT_EQ(largest.size->width, 16384);
  EXPECT_NE(RunWith({"--help"}).out.find("at most 16384 pixels a side"), std::string::npos);

  // A scale multiplies the picture: refused when the product is too large, before drawing.
  const RunResult scaled = RunWith({"--size", "8192x4097", "--scale", "2", "--png", TempPath("tarvela-huge.png")});
  EXPECT_EQ(scaled.status, 2);
  EXPECT_NE(scaled.err.find("tarvela: option --scale 2 makes the 8192x4097 picture 16384x8194 pixels; at most 16384 a side"),
            std::string::npos)
      << scaled.err;
  for (const char* scale : {"0", "5", "1.5", "2x", ""})
    EXPECT_NE(RunWith({"--scale", scale, "--png", TempPath("tarvela-huge.png")})
                  .err.find("tarvela: option --scale needs a whole number from 1 to 4, not " + std::string(scale)),
              std::string::npos)
        << scale;
  EXPECT_FALSE(QFile::exists(QString::fromStdString(TempPath("tarvela-huge.png"))));
  EXPECT_EQ(ParseCommandLine({"--size", "2048x2048", "--scale", "4", "--png", "-"}).scale, 4);
}

// A stream whose every write fails, as standard output on a full disk does.
class FullStreamBuffer : public std::streambuf {
 protected:
  int_type overflow(int_type) override { return traits_type::eof(); }
  std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

TEST(CommandLine, FailedWritesAreReportedAndExitOne) {
  const std::string full = "/dev/full";
  ASSERT_TRUE(std::filesystem::is_character_file(full));
  for (const char* option : {"--report", "--points", "--png", "--svg", "--screenshot"}) {
    const RunResult run = RunWith({"--sigma", "1", "--second", "0", option, full});
    EXPECT_EQ(run.status, 1) << option;
    EXPECT_EQ(run.err, "tarvela: cannot write to /dev/full: No space left on device\n") << option;
  }
  // Written in place: a device is never renamed over.
  EXPECT_TRUE(std::filesystem::is_character_file(full));

  for (const char* option : {"--report", "--png"}) {
    FullStreamBuffer buffer;
    std::ostream out(&buffer);
    std::ostringstream err;
    EXPECT_EQ(RunCommandLine({"--sigma", "1", "--second", "0", option, "-"}, out, err), 1) << option;
    EXPECT_EQ(err.str(), "tarvela: cannot write to standard output: write error\n");
  }
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

TEST(CommandLine, FailedOutputLeavesTheOldFileAndNothingElse) {
  const std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) / "tarvela-whole-or-nothing";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  const std::filesystem::path target = folder / "chart.png";
  std::ofstream(target, std::ios::binary) << "the old picture";
  std::filesystem::permissions(target, std::filesystem::perms(0640));

  // A writer that fails half-way, as an encoder does when the disk fills up.
  std::ostringstream out;
  const bool written = WriteOutput(target.string(), out, [](QIODevice& device) {
    device.write(QByteArray(100000, 'x'));
    return false;
  });
  EXPECT_FALSE(written);
  EXPECT_EQ(ReadFile(target), "the old picture");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()), 1);

  // A complete one replaces it, keeping the file's permissions.
  EXPECT_TRUE(WriteOutput(target.string(), out, [](QIODevice& device) { return device.write("new", 3) == 3; }));
  EXPECT_EQ(ReadFile(target), "new");
  EXPECT_EQ(std::filesystem::status(target).permissions(), std::filesystem::perms(0640));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()), 1);
  EXPECT_EQ(out.str(), "");

  // A link keeps pointing at the file it names, which is the one written, even before
  // that file exists.
  const std::filesystem::path link = folder / "link.txt";
  std::filesystem::create_symlink("linked.txt", link);
  EXPECT_TRUE(WriteOutput(link.string(), out, BytesWriter("first")));
  EXPECT_TRUE(WriteOutput(link.string(), out, BytesWriter("second")));
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadFile(folder / "linked.txt"), "second");
  std::filesystem::remove(link);
  std::filesystem::remove(folder / "linked.txt");

  // The command line over an existing picture: replaced whole.
  const RunResult run = RunWith({"--png", target.string()});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(QImage(QString::fromStdString(target.string())).size(), QSize(465, 337));
}

TEST(CommandLine, DashIsStandardOutputForEveryFileOption) {
  const std::filesystem::path dash = std::filesystem::current_path() / "-";
  std::filesystem::remove(dash);
  const RunResult png = RunWith({"--png", "-"});
  EXPECT_EQ(png.status, 0) << png.err;
  EXPECT_EQ(QImage::fromData(QByteArray::fromStdString(png.out), "PNG").size(), QSize(465, 337));
  const RunResult screenshot = RunWith({"--screenshot", "-"});
  EXPECT_EQ(QImage::fromData(QByteArray::fromStdString(screenshot.out), "PNG").size(), QSize(560, 394));
  const RunResult svg = RunWith({"--svg", "-"});
  QXmlStreamReader reader(QByteArray::fromStdString(svg.out));
  while (!reader.atEnd()) reader.readNext();
  EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
  EXPECT_FALSE(std::filesystem::exists(dash));
  EXPECT_TRUE(QString::fromStdString(RunWith({"--help"}).out)
                  .simplified()
                  .contains("standard output for every output, standard input for --chart"));
}

// Sets the C library's numeric locale for the test and puts the old one back.
class NumericLocale {
 public:
  explicit NumericLocale(const char* name) : m_old(std::setlocale(LC_NUMERIC, nullptr)) {
    m_set = std::setlocale(LC_NUMERIC, name) != nullptr;
  }
  ~NumericLocale() { std::setlocale(LC_NUMERIC, m_old.c_str()); }
  bool Set() const { return m_set; }

 private:
  std::string m_old;
  bool m_set = false;
};

TEST(CommandLine, PointsAreWrittenInTheCLocaleWhateverTheUsersLocale) {
  NumericLocale german("de_DE.UTF-8");
  if (!german.Set()) GTEST_SKIP() << "no de_DE.UTF-8 locale (Debian package locales-all)";
  char check[16];
  std::snprintf(check, sizeof check, "%.1f", 0.5);
  ASSERT_STREQ(check, "0,5");

  const RunResult run = RunWith({"--sigma", "1", "--second", "0", "--points", "-"});
  EXPECT_EQ(run.status, 0) << run.err;
  const auto lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 120u);
  for (const std::string& line : lines) {
    EXPECT_EQ(line.find(','), std::string::npos) << line;
    std::istringstream fields(line);
    fields.imbue(std::locale::classic());
    int series = -1;
    double x = 0, y = 0;
    long long color = 0;
    EXPECT_TRUE(static_cast<bool>(fields >> series >> x >> y >> color)) << line;
  }
  EXPECT_NE(lines[0].find('.'), std::string::npos);
}


// [SECTION] Messages, names and the help

std::string WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
  return path.string();
}

const char kSmallChart[] =
    "object Chart1: TChart\n  Width = 200\n  Height = 150\n"
    "  object Series1: TLineSeries\n    Points = ('1 2' '2 3' '3 1')\n  end\nend\n";

TEST(CommandLine, ChartFromStandardInputIsReadOnceForEveryOutput) {
  const std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) / "tarvela-stdin";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  const std::string png = (folder / "c.png").string(), svg = (folder / "c.svg").string();
  {
    app_test::StandardInputFrom in(WriteBytes(folder / "small.chart", kSmallChart));
    ASSERT_TRUE(in.Set());
    // Each picture opens a form of its own: all of them see the one text.
    const RunResult run = RunWith({"--chart", "-", "--points", "-", "--png", png, "--svg", svg, "--screenshot",
                                   (folder / "w.png").string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Lines(run.out).size(), 3u);
    EXPECT_EQ(QImage(QString::fromStdString(png)).size(), QSize(200, 150));
    EXPECT_EQ(QImage(QString::fromStdString((folder / "w.png").string())).size(), QSize(200, 150));
    QFile file(QString::fromStdString(svg));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader reader(&file);
    while (!reader.atEnd()) reader.readNext();
    EXPECT_FALSE(reader.hasError());
  }
  // Errors name standard input, on the command line and for the window.
  {
    app_test::StandardInputFrom in(WriteBytes(folder / "bad.chart", "object Chart1: TChart\n  Nope = 1\nend\n"));
    const RunResult run = RunWith({"--chart", "-", "--png", png});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "tarvela: standard input:2: Unknown property 'Nope' of TChart\n");
  }
  {
    app_test::StandardInputFrom in(WriteBytes(folder / "bad.chart", "object Chart1: TChart\n  Nope = 1\nend\n"));
    const CommandLineOptions options = ParseCommandLine({"--chart", "-", "--size", "300x200"});
    EXPECT_TRUE(options.OpensChartWindow());
    std::ostringstream err;
    EXPECT_EQ(RunChartWindow(options, err), 1);
    EXPECT_EQ(err.str(), "tarvela: standard input:2: Unknown property 'Nope' of TChart\n");
  }
  // A failure found only while painting is the file's too: the user learns which file to
  // mend, and which of its settings. A pattern of 224 characters still draws; one more is
  // too long.
  const std::size_t formatAt = std::string_view(kSmallChart).find("  object");
  const std::string formatLine =
      std::to_string(std::count(kSmallChart, kSmallChart + formatAt, '\n') + 1) + ": LeftAxis.AxisValuesFormat: ";
  const auto withFormat = [&](std::size_t length) {
    std::string text = kSmallChart;
    text.insert(formatAt, "  LeftAxis.AxisValuesFormat = '" + std::string(length, '#') + "'\n");
    return WriteBytes(folder / ("format-" + std::to_string(length) + ".chart"), text);
  };
  const std::string fits = withFormat(224), tooLong = withFormat(225);
  EXPECT_EQ(RunWith({"--chart", fits, "--png", png}).status, 0);
  EXPECT_EQ(QImage(QString::fromStdString(png)).size(), QSize(200, 150));
  WriteBytes(folder / "old.png", "old picture");
  for (const char* option : {"--png", "--svg", "--screenshot"}) {
    const RunResult run = RunWith({"--chart", tooLong, option, (folder / "old.png").string()});
    EXPECT_EQ(run.status, 1) << option;
    EXPECT_EQ(run.err, "tarvela: " + tooLong + ":" + formatLine + "Format string too long.\n") << option;
    QFile file(QString::fromStdString((folder / "old.png").string()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("old picture")) << option;
  }
  {
    app_test::StandardInputFrom in(tooLong);
    ASSERT_TRUE(in.Set());
    const RunResult run = RunWith({"--chart", "-", "--svg", svg});
    EXPECT_EQ(run.err, "tarvela: standard input:" + formatLine + "Format string too long.\n");
  }
  // The form's own failures stay the error box's text alone: no file is to blame.
  EXPECT_EQ(RunWith({"--sigma", "1e400", "--second", "0", "--errors-png", png}).err,
            "tarvela: Floating point overflow.\n");
  // A stream with no size beforehand is still bounded.
  {
    app_test::StandardInputFrom in("/dev/zero");
    ASSERT_TRUE(in.Set());
    const RunResult run = RunWith({"--chart", "-", "--png", png});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "tarvela: standard input: larger than 16 MiB (16777216 bytes), refused\n");
  }
}

TEST(CommandLine, BadCommandLinesSayWhatIsWrongInOneLineAndPointAtHelp) {
  const std::string tryHelp = "Try 'tarvela --help' for more information.\n";
  const std::string chart = WriteBytes(std::filesystem::path(::testing::TempDir()) / "tarvela-opts.chart", kSmallChart);
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--foo"}, "unknown option --foo"},
      {{"--sigma"}, "option --sigma needs a value"},
      {{"chart.png"}, "unexpected argument 'chart.png'"},
      {{"--size", "930"}, "option --size needs WxH, for example 930x674, not 930"},
      // They only change outputs: alone they would do nothing.
      {{"--scale", "2"},
       "no output asked for: option --scale sets the resolution of --png, --errors-png and --screenshot"},
      {{"--size", "800x600"}, "no output asked for: option --size sets the size of --png, --svg and --pdf"},
      {{"--sigma", "1", "--second", "0", "--size", "800x600", "--report", "-"},
       "option --size sets the size of --png, --svg and --pdf, and none of them is asked for"},
      {{"--sigma", "1", "--second", "0", "--pdf", "-", "--antialias"},
       "option --antialias sets smooth lines for --png, --errors-png and --screenshot (documents are vector "
       "drawings), and none of them is asked for"},
      {{"--chart", chart, "--scale", "2"},
       "no output asked for: option --scale sets the resolution of --png and --screenshot (the window draws at "
       "its screen's own)"},
      {{"--chart", chart, "--size", "800x600", "--points", "-"},
       "option --size sets the chart's size for --png, --svg, --pdf, --screenshot and the window, and none of "
       "them is asked for"},
  };
  for (const auto& [args, problem] : cases) {
    const RunResult run = RunWith(args);
    EXPECT_EQ(run.status, 2) << args[0];
    EXPECT_EQ(run.err, "tarvela: " + problem + "\n" + tryHelp) << args[0];
    EXPECT_EQ(run.out, "");
  }
  // What they do change is still accepted, and --size alone opens a chart's window.
  EXPECT_TRUE(ParseCommandLine({"--chart", chart, "--size", "800x600"}).OpensChartWindow());
  EXPECT_EQ(ParseCommandLine({"--scale", "2", "--errors-png", "-"}).scale, 2);
  EXPECT_EQ(ParseCommandLine({"--chart", chart, "--scale", "3", "--screenshot", "-"}).scale, 3);
  EXPECT_TRUE(ParseCommandLine({"--size", "10x10", "--help"}).help);

  // A folder that cannot be made says why, as every output does.
  const RunResult gallery = RunWith({"--gallery", "/dev/null/gallery"});
  EXPECT_EQ(gallery.status, 1);
  EXPECT_EQ(gallery.err, "tarvela: cannot write to /dev/null/gallery: Not a directory\n");
  const RunResult folder = RunWith({"--report", ::testing::TempDir(), "--sigma", "1", "--second", "0"});
  EXPECT_EQ(folder.status, 1);
  EXPECT_EQ(folder.err, "tarvela: cannot write to " + ::testing::TempDir() + ": Is a directory\n");
}

// With two values the last would silently win: the first picture never written, the
// first size never used.
TEST(CommandLine, AnOptionGivenTwiceIsRefusedBeforeAnythingIsWritten) {
  const std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) / "tarvela-twice";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  const std::string a = (folder / "a.png").string(), b = (folder / "b.png").string();
  const std::string chart = WriteBytes(folder / "c.chart", kSmallChart);
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--png", a, "--png", b}, "--png"},
      {{"--size", "40x30", "--png", a, "--size", "50x40"}, "--size"},
      {{"--scale", "2", "--png", a, "--scale", "2"}, "--scale"},
      {{"--sigma", "1", "--second", "0", "--sigma", "2", "--report", a}, "--sigma"},
      {{"--chart", chart, "--svg", a, "--chart", chart}, "--chart"},
      {{"--sigma", "1", "--second", "0", "--report", a, "--errors-png", b, "--errors-png", b}, "--errors-png"},
      // -h is --help by another name.
      {{"-h", "--help"}, "--help"},
      {{"--version", "--version"}, "--version"},
  };
  for (const auto& [args, option] : cases) {
    const RunResult run = RunWith(args);
    EXPECT_EQ(run.status, 2) << option;
    EXPECT_EQ(run.err, "tarvela: option " + option + " given twice\nTry 'tarvela --help' for more information.\n");
    EXPECT_EQ(run.out, "");
  }
  EXPECT_FALSE(std::filesystem::exists(a));
  EXPECT_FALSE(std::filesystem::exists(b));
  // A value is no option, even when it reads like one: a file may be named so.
  const std::string dashes = (folder / "--png").string();
  EXPECT_EQ(ParseCommandLine({"--png", a, "--svg", "--png"}).svg, std::optional<std::string>("--png"));
  const RunResult named = RunWith({"--sigma", "1", "--second", "0", "--report", dashes});
  EXPECT_EQ(named.status, 0) << named.err;
  EXPECT_TRUE(std::filesystem::exists(dashes));
}

// A small file system of its own, filled to the last page; unmounted when done.
class FullDisk {
 public:
  FullDisk() : m_path(std::filesystem::path(::testing::TempDir()) / ("tarvela-full-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(m_path);
    m_mounted = std::system(("mount -t tmpfs -o size=64k tmpfs '" + m_path.string() + "' 2>/dev/null").c_str()) == 0;
  }
  ~FullDisk() {
    if (m_mounted && std::system(("umount '" + m_path.string() + "'").c_str()) != 0)
      ADD_FAILURE() << "cannot unmount " << m_path;
    std::filesystem::remove_all(m_path);
  }
  bool Mounted() const { return m_mounted; }
  const std::filesystem::path& Path() const { return m_path; }
  void Fill() {
    std::ofstream filler(m_path / "filler", std::ios::binary);
    const std::string block(4096, '\0');
    while (filler.write(block.data(), static_cast<std::streamsize>(block.size())) && filler.flush()) {
    }
  }

 private:
  std::filesystem::path m_path;
  bool m_mounted = false;
};

// Ctrl+S in a chart window goes through the same checked writer as the command line:
// a full disk keeps the old picture and says so in the error box.
TEST(ChartSaving, AFullDiskKeepsTheOldPictureAndLeavesNothingBehind) {
  FullDisk disk;
  if (!disk.Mounted()) GTEST_SKIP() << "cannot mount a tmpfs to fill (needs root)";
  TChartForm form(nullptr, kSmallChart, "c.chart - Tarvela");
  form.Show();
  auto* window = form.Widget()->findChild<ChartWindow*>();
  ASSERT_NE(window, nullptr);
  const std::string old = "old picture, three lines of it\n\n\n";
  for (const char* name : {"old.png", "old.svg"}) WriteBytes(disk.Path() / name, old);
  disk.Fill();
  for (const char* name : {"old.png", "old.svg", "new.png"}) {
    const std::string path = (disk.Path() / name).string();
    try {
      SaveChartPicture(*window, path);
      ADD_FAILURE() << name << " saved on a full disk";
    } catch (const Exception& e) {
      EXPECT_EQ(std::string(e.what()), "Cannot write to " + path + ": No space left on device") << name;
    }
  }
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(disk.Path())) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"filler", "old.png", "old.svg"}));
  for (const char* name : {"old.png", "old.svg"}) {
    std::ifstream in(disk.Path() / name, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), old) << name;
  }
}

TEST(CommandLine, FileNamesReachTheFileSystemByteForByte) {
  const std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) / "tarvela-bytes";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  // Not UTF-8: a name as an older system or another encoding leaves it.
  const std::string odd = "name\xff\xfe";
  const std::string base = (folder / odd).string();
  const std::string chart = WriteBytes(base + ".chart", kSmallChart);

  RunResult run = RunWith({"--chart", chart, "--png", base + ".png", "--svg", base + ".svg", "--points",
                           base + ".points", "--screenshot", base + "-window.png"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(QImage::fromData(QByteArray::fromStdString(ReadFile(base + ".png")), "PNG").size(), QSize(200, 150));
  EXPECT_EQ(QImage::fromData(QByteArray::fromStdString(ReadFile(base + "-window.png")), "PNG").size(),
            QSize(200, 150));
  EXPECT_EQ(Lines(ReadFile(base + ".points")).size(), 3u);
  QXmlStreamReader svg(QByteArray::fromStdString(ReadFile(base + ".svg")));
  while (!svg.atEnd()) svg.readNext();
  EXPECT_FALSE(svg.hasError());

  run = RunWith({"--sigma", "1", "--second", "0", "--report", base + ".txt", "--csv", base + ".csv", "--json",
                 base + ".json", "--errors", base + ".errors", "--errors-png", base + "-errors.png"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Lines(ReadFile(base + ".txt")).size(), 132u);
  EXPECT_EQ(Lines(ReadFile(base + ".csv")).front().substr(0, 5), "x,u0,");
  QJsonParseError parsed;
  QJsonDocument::fromJson(QByteArray::fromStdString(ReadFile(base + ".json")), &parsed);
  EXPECT_EQ(parsed.error, QJsonParseError::NoError);
  EXPECT_EQ(Lines(ReadFile(base + ".errors")).front(), "layer,t,max_error,l2_error,front_u,front_y,iterations");
  EXPECT_FALSE(QImage::fromData(QByteArray::fromStdString(ReadFile(base + "-errors.png")), "PNG").isNull());

  // Every file is there under the very bytes given, and nothing else is.
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  const std::vector<std::string> expected = {odd + "-errors.png", odd + "-window.png", odd + ".chart",
                                             odd + ".csv",        odd + ".errors",      odd + ".json",
                                             odd + ".png",        odd + ".points",      odd + ".svg",
                                             odd + ".txt"};
  EXPECT_EQ(names, expected);

  // Messages give the name's bytes as given.
  run = RunWith({"--chart", base + "-missing.chart", "--png", "-"});
  EXPECT_EQ(run.err, "tarvela: " + base + "-missing.chart: cannot be read (No such file or directory)\n");
  run = RunWith({"--png", base + "/x.png"});
  EXPECT_EQ(run.err, "tarvela: cannot write to " + base + "/x.png: No such file or directory\n");

  // The gallery's folder too.
  run = RunWith({"--gallery", base + "-gallery"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::path(base + "-gallery") / "index.html"));
}

// Columns of a line of UTF-8 text: one per character.
std::size_t Columns(const std::string& line) { return static_cast<std::size_t>(QString::fromStdString(line).size()); }

TEST(CommandLine, HelpFitsEightyColumnsAndTheManualPageHasAnEntryForEachOfItsOptions) {
  const std::string help = RunWith({"--help"}).out;
  for (const std::string& line : Lines(help)) EXPECT_LE(Columns(line), 80u) << line;
  // Every option the help lists is an entry of the page, and the page has no other.
  std::vector<std::string> helpOptions, pageOptions;
  for (const std::string& line : Lines(help))
    if (line.rfind("  --", 0) == 0) helpOptions.push_back(line.substr(2, line.find(' ', 2) - 2));
  const std::vector<std::string> page = Lines(ManPage());
  for (std::size_t i = 0; i + 1 < page.size(); ++i) {
    if (page[i] != ".TP" || page[i + 1].rfind("\\fB\\-\\-", 0) != 0) continue;
    std::string name = page[i + 1].substr(3, page[i + 1].find("\\fR") - 3);
    for (std::size_t at; (at = name.find("\\-")) != std::string::npos;) name.erase(at, 1);
    pageOptions.push_back(name);
  }
  EXPECT_EQ(pageOptions, helpOptions);
  EXPECT_EQ(helpOptions.size(), 30u);
  EXPECT_EQ(RunWith({"--man"}).out, ManPage());
}

// The page as man shows it: groff from the Debian package groff-base.
TEST(CommandLine, ManualPageRendersWithItsSectionsWithinEightyColumns) {
  QProcess groff;
  groff.start("groff", {"-man", "-Tutf8", "-ww", "-rLL=80n", "-P-cbou"});
  ASSERT_TRUE(groff.waitForStarted()) << "groff is missing: install groff-base";
  groff.write(QByteArray::fromStdString(ManPage()));
  groff.closeWriteChannel();
  ASSERT_TRUE(groff.waitForFinished(30000));
  EXPECT_EQ(groff.exitCode(), 0);
  EXPECT_EQ(groff.readAllStandardError().toStdString(), "");  // no warning about the roff
  const std::string text = groff.readAllStandardOutput().toStdString();
  std::vector<std::string> headings;
  for (const std::string& line : Lines(text)) {
    EXPECT_LE(Columns(line), 80u) << line;
    // A heading stands at the margin in capitals; the page's header and footer hold more.
    if (!line.empty() && line.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ ") == std::string::npos)
      headings.push_back(line);
  }
  const std::vector<std::string> expected = {"NAME", "SYNOPSIS", "DESCRIPTION", "OPTIONS", "FILES", "EXIT STATUS",
                                             "EXAMPLES"};
  EXPECT_EQ(headings, expected);
  EXPECT_NE(text.find("       --chart FILE"), std::string::npos) << text;
}

}  // namespace
}  // namespace tarvela
