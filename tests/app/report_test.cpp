#include "app/report.h"

#include <gtest/gtest.h>

#include "tarvela/runtime/number_text.h"

namespace tarvela {
namespace {

LocaleProvider Fixed(LocaleSettings settings) {
  return [settings] { return settings; };
}

TEST(Report, FullComputationGivesHeaderBlankAndOneRowPerGridPoint) {
  SolverState s;
  s.sigma = 1.0;
  ComputeLayers(s);
  const auto lines = ReportLines(s, Fixed(LocaleSettings::Dot()));
  ASSERT_EQ(lines.size(), 132u);
  EXPECT_EQ(lines.front(), "layer  0");
  EXPECT_EQ(lines[1], " ");
  EXPECT_EQ(lines[120], "layer  10");
  for (int n = 0; n <= 10; ++n) {
    const std::size_t base = static_cast<std::size_t>(n) * 12;
    EXPECT_EQ(lines[base], "layer  " + std::to_string(n));
    EXPECT_EQ(lines[base + 1], " ");
    for (int j = 1; j <= 10; ++j) {
      const std::string expected = "u[" + std::to_string(j) + "," + std::to_string(n) + "]= " +
                                   FloatToStrFixed(s.u[j][n], LocaleSettings::Dot()) + "   y[" + std::to_string(j) + "," +
                                   std::to_string(n) + "]= " + FloatToStrFixed(s.y[j][n], LocaleSettings::Dot());
      EXPECT_EQ(lines[base + 1 + j], expected);
    }
  }
  // The right end is reported, the left end is not; the boundary is held at 0.
  EXPECT_EQ(lines[12 * 5 + 11].substr(0, 16), "u[10,5]= 0.0000 ");
}

TEST(Report, ValuesUseTheLocaleSeparatorReadAtEachConversion) {
  SolverState s;
  s.M = 0;
  s.N = 2;
  s.u = {{0.0}, {1.0}, {-0.5}};
  s.y = {{0.0}, {0.00004}, {12345.678}};
  int reads = 0;
  const auto lines = ReportLines(s, [&reads] {
    ++reads;
    return LocaleSettings::Comma();
  });
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[2], "u[1,0]= 1,0000   y[1,0]= 0,0000");
  EXPECT_EQ(lines[3], "u[2,0]= -0,5000   y[2,0]= 1,235E0004");
  EXPECT_EQ(reads, 4);
}

TEST(Report, WithoutComputationOnlyTheFirstHeaderAndBlank) {
  const SolverState empty;
  const auto lines = ReportLines(empty, Fixed(LocaleSettings::Dot()));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "layer  0");
  EXPECT_EQ(lines[1], " ");
}

TEST(Report, ShortRowsOfAStoppedComputationReadAsZero) {
  SolverState s;
  s.M = 1;
  s.N = 1;
  s.u = {{0.0, 0.0}, {0.25}};  // the second layer was never reached
  const auto lines = ReportLines(s, Fixed(LocaleSettings::Dot()));
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[2], "u[1,0]= 0.2500   y[1,0]= 0.0000");
  EXPECT_EQ(lines[5], "u[1,1]= 0.0000   y[1,1]= 0.0000");
}

}  // namespace
}  // namespace tarvela
