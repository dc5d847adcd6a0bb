#include "tarvela/runtime/locale_settings.h"

namespace tarvela {

void AppendUtf8(std::string& text, char32_t ch) {
  // A code point no UTF-8 text may hold (a surrogate half or beyond U+10FFFF)
  // is written as the replacement character, so the text stays well formed.
  if ((ch >= 0xD800 && ch <= 0xDFFF) || ch > 0x10FFFF) ch = 0xFFFD;
  if (ch < 0x80) {
    text += static_cast<char>(ch);
  } else if (ch < 0x800) {
    text += static_cast<char>(0xC0 | (ch >> 6));
    text += static_cast<char>(0x80 | (ch & 0x3F));
  } else if (ch < 0x10000) {
    text += static_cast<char>(0xE0 | (ch >> 12));
    text += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (ch & 0x3F));
  } else {
    text += static_cast<char>(0xF0 | (ch >> 18));
    text += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
    text += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (ch & 0x3F));
  }
}

std::string_view LeadingCharacters(std::string_view text, std::size_t count) {
  std::size_t characters = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if ((byte & 0xC0) == 0x80) continue;
    if (characters == count) return text.substr(0, i);
    ++characters;
  }
  return text;
}

}  // namespace tarvela
