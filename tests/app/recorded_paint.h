#pragma once
// A chart of the program as a window shows it once settled, painted through the
// recording surface, and the texts of that paint with the points they were written at.
#include <algorithm>
#include <string>
#include <vector>

#include "chart/paint_test_support.h"

namespace tarvela::app_test {

// The last of a few paints: the axis room follows the labels of the paint before, so the
// first paints of a chart still move its layout.
inline paint_test::Paint SettledPaint(paint_test::Recorder& recorder, TCustomZavPanel& chart) {
  paint_test::Paint paint;
  for (int i = 0; i < 4; ++i) paint = recorder(chart);
  return paint;
}

struct DrawnText {
  TPoint at;
  std::string text;
};

// Every TextOut of the paint, its quoted text unescaped (\" and \\ only; the charts
// read here write no control characters).
inline std::vector<DrawnText> TextsOf(const paint_test::Paint& paint) {
  std::vector<DrawnText> texts;
  for (const std::string& line : paint.Of("TextOut")) {
    DrawnText drawn;
    drawn.at = canvas_test::PointsOf(line).at(0);
    for (std::size_t i = line.find('"') + 1; i < line.size() && line[i] != '"'; ++i) {
      if (line[i] == '\\') ++i;
      drawn.text += line[i];
    }
    texts.push_back(drawn);
  }
  return texts;
}

inline std::vector<std::string> TextStrings(const std::vector<DrawnText>& texts) {
  std::vector<std::string> strings;
  for (const DrawnText& t : texts) strings.push_back(t.text);
  return strings;
}

inline bool HasText(const std::vector<DrawnText>& texts, const std::string& text) {
  return std::any_of(texts.begin(), texts.end(), [&](const DrawnText& t) { return t.text == text; });
}

}  // namespace tarvela::app_test
