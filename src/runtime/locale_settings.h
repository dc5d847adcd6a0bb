#pragma once
/// The user's locale as the conversions need it. Every conversion takes these
/// settings as a value; the program reads them from the user's locale at each
/// conversion (widgets/system_locale.h), tests pass "." or "," directly.
/// @file
#include <string>
#include <string_view>

namespace tarvela {

struct LocaleSettings {
  char32_t decimalSeparator = U'.';
  char32_t thousandSeparator = U',';
  /// What "/" and ":" of a date-time pattern stand for.
  char32_t dateSeparator = U'/';
  char32_t timeSeparator = U':';
  std::string shortDateFormat = "dd/MM/yyyy";
  std::string shortTimeFormat = "HH:mm";

  static LocaleSettings Dot() { return {}; }
  static LocaleSettings Comma() {
    LocaleSettings s;
    s.decimalSeparator = U',';
    s.thousandSeparator = U'.';
    s.dateSeparator = U'.';
    s.shortDateFormat = "dd.MM.yyyy";
    return s;
  }
};

/// Appends one character to UTF-8 text.
void AppendUtf8(std::string& text, char32_t ch);
/// The first count characters of UTF-8 text, a multi-byte character never split.
std::string_view LeadingCharacters(std::string_view text, std::size_t count);

}  // namespace tarvela
