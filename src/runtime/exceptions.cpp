#include "tarvela/runtime/exceptions.h"

#include <cctype>

namespace tarvela {

namespace {
std::string Fill(std::string_view pattern, std::string_view marker, std::string_view text) {
  std::string out(pattern);
  if (auto at = out.find(marker); at != std::string::npos) out.replace(at, marker.size(), text);
  return out;
}
}  // namespace

std::string FormatMessage(std::string_view pattern, std::string_view text) {
  return Fill(pattern, "%s", text);
}

std::string FormatMessage(std::string_view pattern, long long number) {
  return Fill(pattern, "%d", std::to_string(number));
}

void ThrowListIndexError(long long index) {
  throw EListError(FormatMessage(messages::kListIndex, index));
}

std::string ErrorBoxText(std::string_view message) {
  std::string text(message);
  // Bytes of a multi-byte UTF-8 character all sort after ".", as the character does.
  if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.'))
    text += '.';
  return text;
}

std::string ApplicationTitleFromPath(std::string_view programPath) {
  std::string_view name = programPath;
  if (auto slash = name.find_last_of("/\\"); slash != std::string_view::npos)
    name = name.substr(slash + 1);
  if (auto dot = name.find('.'); dot != std::string_view::npos) name = name.substr(0, dot);
  std::string title(name);
  for (std::size_t i = 1; i < title.size(); ++i)
    title[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(title[i])));
  return title;
}

}  // namespace tarvela
