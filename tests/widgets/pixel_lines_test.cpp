// PixelLines against the rule it follows, pixel by pixel: a segment steps along its
// longer axis from its start, its end left out, the shorter axis following the ideal
// line rounded half away from the start; the dash pattern runs on from one segment to
// the next, also over pixels outside the window, which are not lit. A solid line's runs
// handed over one by one are the same pixels.
#include "tarvela/widgets/pixel_lines.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <utility>
#include <vector>

namespace tarvela {
namespace {

using Pixels = std::set<std::pair<int, int>>;

Pixels PixelsOf(const std::vector<QRect>& runs) {
  Pixels pixels;
  for (const QRect& run : runs) {
    EXPECT_TRUE(run.width() == 1 || run.height() == 1);
    for (int y = run.top(); y <= run.bottom(); ++y)
      for (int x = run.left(); x <= run.right(); ++x) pixels.insert({x, y});
  }
  return pixels;
}

TEST(PixelLines, SegmentsLightTheRoundedIdealLineAndThePatternRunsOn) {
  const std::vector<QList<qreal>> patterns = {{}, {3, 3}, {9, 6, 3, 6}, {1, 1}, {18, 6}};
  std::mt19937 random(2026);
  const auto between = [&](int low, int high) { return low + static_cast<int>(random() % (high - low + 1)); };
  for (int trial = 0; trial < 4000; ++trial) {
    const QRect window(between(-5, 5), between(-5, 5), between(1, 60), between(1, 60));
    const QList<qreal>& dashes = patterns[static_cast<std::size_t>(trial) % patterns.size()];
    const bool keepGaps = trial % 3 == 0;
    std::vector<TPoint> path;
    for (int n = between(2, 5); n > 0; --n) {
      TPoint p{between(-40, 100), between(-40, 100)};
      if (!path.empty() && random() % 5 == 0) p.y = path.back().y;
      if (!path.empty() && random() % 5 == 0) p.x = path.back().x;
      path.push_back(p);
    }

    PixelLines lines(dashes, window, keepGaps);
    Pixels lit, gaps;
    std::vector<bool> inDash;
    for (qsizetype i = 0; i < dashes.size(); ++i) inDash.insert(inDash.end(), static_cast<int>(dashes[i]), i % 2 == 0);
    std::size_t position = 0;
    for (std::size_t s = 1; s < path.size(); ++s) {
      const TPoint a = path[s - 1], b = path[s];
      lines.Add(a, b);
      const long long dx = b.x - a.x, dy = b.y - a.y;
      const long long major = std::max(std::abs(dx), std::abs(dy)), minor = std::min(std::abs(dx), std::abs(dy));
      const bool alongX = std::abs(dx) >= std::abs(dy);
      for (long long i = 0; i < major; ++i) {
        const long long across = (2 * i * minor + major) / (2 * major);
        const int x = static_cast<int>(a.x + (alongX ? (dx < 0 ? -i : i) : (dx < 0 ? -across : across)));
        const int y = static_cast<int>(a.y + (alongX ? (dy < 0 ? -across : across) : (dy < 0 ? -i : i)));
        const bool dash = inDash.empty() || inDash[position];
        if (!inDash.empty()) position = (position + 1) % inDash.size();
        if (!window.contains(x, y)) continue;
        if (dash) {
          lit.insert({x, y});
        } else if (keepGaps) {
          gaps.insert({x, y});
        }
      }
    }
    ASSERT_EQ(PixelsOf(lines.Lit()), lit) << "trial " << trial;
    ASSERT_EQ(PixelsOf(lines.Gaps()), gaps) << "trial " << trial;
    if (!dashes.isEmpty()) continue;
    // A solid line's runs, handed over as they are found: the same pixels.
    std::vector<QRect> runs;
    for (std::size_t s = 1; s < path.size(); ++s) {
      ASSERT_TRUE(PixelLines::ForEachSolidRun(path[s - 1], path[s], window,
                                              [&](const QRect& run) { runs.push_back(run); }));
    }
    ASSERT_EQ(PixelsOf(runs), lit) << "trial " << trial;
  }
}

}  // namespace
}  // namespace tarvela
