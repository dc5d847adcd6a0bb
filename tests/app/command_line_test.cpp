#include "app/command_line.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

namespace tarvela {
namespace {

struct RunResult {
  int status;
  std::string out;
  std::string err;
};

RunResult RunWith(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int status = RunCommandLine(args, out, err);
  return {status, out.str(), err.str()};
}

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
    EXPECT_EQ(run.err, message) << args[1];
    EXPECT_EQ(run.out, "");
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

}  // namespace
}  // namespace tarvela
