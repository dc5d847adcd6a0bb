#include "runtime/locale_settings.h"

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

}  // namespace tarvela
