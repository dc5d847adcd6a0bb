#include "tarvela/chart/canvas/text_lines.h"

#include <algorithm>

namespace tarvela {

char LineBreakChar = '\r';

void SplitIntoLines(std::string& text, std::string_view separator) {
  if (separator.empty() || separator.front() == LineBreakChar) return;
  // Searched from the start each time: a separator holding LineBreakChar further on
  // can match again just before the replaced character. Every pass replaces a
  // character that is not a break, so the loop ends.
  for (std::size_t at = text.find(separator); at != std::string::npos; at = text.find(separator))
    text[at] = LineBreakChar;
}

int TextLineCount(std::string_view text) {
  const auto breaks = static_cast<int>(std::count(text.begin(), text.end(), LineBreakChar));
  const bool textAfterLast = !text.empty() && text.back() != LineBreakChar;
  return breaks + (textAfterLast ? 1 : 0);
}

}  // namespace tarvela
