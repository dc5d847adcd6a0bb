// Contents
//   [SECTION] Exact decimal digits
//   [SECTION] Number patterns
//   [SECTION] Date-time patterns

#include "tarvela/runtime/number_pattern.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "tarvela/runtime/exceptions.h"

namespace tarvela {

namespace {

// [SECTION] Exact decimal digits

// |v| = 0.d1d2... x 10^exponent; no leading or trailing zeros; empty for zero.
struct Decimal {
  std::string digits;
  int exponent = 0;
  bool IsZero() const { return digits.empty(); }
};

// The count of decimals the exact expansion of |v| needs: a double is an
// integer times 2^e, and 2^-k has exactly k decimals.
int ExactDecimalCount(double v) {
  int binaryExponent = 0;
  const double fraction = std::frexp(v, &binaryExponent);
  const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
  const int lowestBit = binaryExponent - 53 + std::countr_zero(mantissa);
  return lowestBit < 0 ? -lowestBit : 0;
}

// Every digit of |v| (v finite). glibc's printf writes the exact binary value
// and only rounds past the precision asked for, which here is never reached, so
// rounding is left to us and can go halves away from zero on the true digits.
Decimal ExactDigits(double v) {
  v = std::fabs(v);
  Decimal d;
  if (v == 0.0) return d;
  const int decimals = ExactDecimalCount(v);
  // Up to 309 integer digits, the point, the decimals and the terminator.
  std::vector<char> text(static_cast<std::size_t>(decimals) + 320);
  const int length = std::snprintf(text.data(), text.size(), "%.*f", decimals, v);
  const std::string_view written(text.data(), static_cast<std::size_t>(length));
  const std::size_t point = std::min(written.find('.'), written.size());
  std::string all;
  for (char c : written)
    if (c != '.') all += c;
  const std::size_t leadingZeros = all.find_first_not_of('0');
  d.digits = all.substr(leadingZeros);
  d.exponent = static_cast<int>(point) - static_cast<int>(leadingZeros);
  while (d.digits.back() == '0') d.digits.pop_back();
  return d;
}

// Keeps `keep` leading digits, rounding halves away from zero on the digit
// after them; keep <= 0 leaves at most a carry into a new leading digit.
void RoundDigits(Decimal& d, int keep) {
  if (d.IsZero() || keep >= static_cast<int>(d.digits.size())) return;
  if (keep < 0) {
    d.digits.clear();
    d.exponent = 0;
    return;
  }
  const bool roundUp = d.digits[keep] >= '5';
  d.digits.resize(keep);
  if (roundUp) {
    int at = keep - 1;
    while (at >= 0 && d.digits[at] == '9') d.digits[at--] = '0';
    if (at >= 0) {
      ++d.digits[at];
    } else {
      d.digits.insert(d.digits.begin(), '1');
      ++d.exponent;
    }
  }
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
  if (d.digits.empty()) d.exponent = 0;
}

// [SECTION] Number patterns

// Patterns of this many characters or more are refused.
constexpr std::size_t kPatternLimit = 225;
constexpr std::size_t kMaxSections = 3;
constexpr int kGeneralPrecision = 15;

std::size_t CodePointCount(std::string_view text) {
  std::size_t count = 0;
  for (char c : text)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  return count;
}

bool IsQuote(char c) { return c == '\'' || c == '"'; }

// The end of the quoted text starting at `open`: the index after the closing
// quote, or the end of the text when it is never closed.
std::size_t QuoteEnd(std::string_view text, std::size_t open) {
  const std::size_t close = text.find(text[open], open + 1);
  return close == std::string_view::npos ? text.size() : close + 1;
}

std::vector<std::string_view> SplitSections(std::string_view pattern) {
  std::vector<std::string_view> sections;
  std::size_t start = 0;
  std::size_t at = 0;
  while (at < pattern.size() && sections.size() < kMaxSections) {
    if (IsQuote(pattern[at])) {
      at = QuoteEnd(pattern, at);
    } else if (pattern[at] == ';') {
      sections.push_back(pattern.substr(start, at - start));
      start = ++at;
    } else {
      ++at;
    }
  }
  if (sections.size() < kMaxSections) sections.push_back(pattern.substr(start));
  return sections;
}

enum class TokenKind { IntegerPlace, DecimalPlace, Point, Exponent, Literal, Grouping };

struct Token {
  TokenKind kind = TokenKind::Literal;
  std::string_view text;  // literal text; for an exponent its letter and sign
  int index = 0;          // place number counted from the left
  int exponentDigits = 0;
};

// A section read once into what it asks for and what it writes.
struct Section {
  std::vector<Token> tokens;
  int integerPlaces = 0;
  int integerZeros = 0;  // places from the first "0" on: always written
  int decimalPlaces = 0;
  int decimalZeros = 0;  // places up to the last "0": always written
  bool grouping = false;
  bool scientific = false;
};

Section ReadSection(std::string_view text) {
  Section s;
  bool afterPoint = false;
  bool afterExponent = false;
  int firstZero = -1;
  std::size_t at = 0;
  while (at < text.size()) {
    const char c = text[at];
    Token token;
    if (IsQuote(c)) {
      const std::size_t end = QuoteEnd(text, at);
      const std::size_t closing = end > at + 1 && text[end - 1] == c ? 1 : 0;
      token.text = text.substr(at + 1, end - at - 1 - closing);
      at = end;
    } else if ((c == '0' || c == '#') && !afterExponent) {
      if (afterPoint) {
        token.kind = TokenKind::DecimalPlace;
        token.index = s.decimalPlaces++;
        if (c == '0') s.decimalZeros = s.decimalPlaces;
      } else {
        token.kind = TokenKind::IntegerPlace;
        token.index = s.integerPlaces++;
        if (c == '0' && firstZero < 0) firstZero = token.index;
      }
      ++at;
    } else if (c == '.' && !afterPoint && !afterExponent) {
      token.kind = TokenKind::Point;
      afterPoint = true;
      ++at;
    } else if (c == ',' && !afterPoint && !afterExponent) {
      token.kind = TokenKind::Grouping;  // decided once the places are known
      token.text = text.substr(at, 1);
      token.index = s.integerPlaces;
      ++at;
    } else if ((c == 'E' || c == 'e') && !afterExponent && at + 2 < text.size() &&
               (text[at + 1] == '+' || text[at + 1] == '-') && text[at + 2] == '0') {
      token.kind = TokenKind::Exponent;
      token.text = text.substr(at, 2);
      at += 2;
      while (at < text.size() && text[at] == '0') {
        ++token.exponentDigits;
        ++at;
      }
      afterExponent = true;
      s.scientific = true;
    } else {
      token.text = text.substr(at, 1);
      ++at;
    }
    s.tokens.push_back(token);
  }
  s.integerZeros = firstZero < 0 ? 0 : s.integerPlaces - firstZero;
  // A "," groups only when integer places lie on both sides of it.
  for (Token& token : s.tokens) {
    if (token.kind != TokenKind::Grouping) continue;
    if (token.index > 0 && token.index < s.integerPlaces) {
      s.grouping = true;
      token.text = {};
    } else {
      token.kind = TokenKind::Literal;
    }
  }
  return s;
}

// The digits a section writes for a value.
struct Digits {
  std::string integer;   // padded to the "0" places
  std::string decimals;  // trailing zeros beyond the "0" places dropped
  int exponent = 0;
  bool zero = true;
};

Digits Lay(const Section& s, double value) {
  Decimal d = ExactDigits(value);
  Digits out;
  int pointAt = 0;  // digits of d before the point of the written mantissa
  if (s.scientific) {
    // The leading digit takes the first integer place, so the mantissa has as
    // many integer digits as places (none: "0.dd"); a section without any
    // digit place still needs one digit to find the exponent.
    const int places = s.integerPlaces + s.decimalPlaces;
    const int leading = places == 0 ? 1 : s.integerPlaces;
    RoundDigits(d, std::max(places, 1));
    out.exponent = d.IsZero() ? 0 : d.exponent - leading;
    pointAt = leading;
  } else {
    RoundDigits(d, d.exponent + s.decimalPlaces);
    pointAt = d.exponent;
  }
  out.zero = d.IsZero();
  const int count = static_cast<int>(d.digits.size());
  auto digitAt = [&](int i) { return i >= 0 && i < count ? d.digits[i] : '0'; };
  if (!out.zero) {
    for (int i = 0; i < pointAt; ++i) out.integer += digitAt(i);
  }
  if (static_cast<int>(out.integer.size()) < s.integerZeros)
    out.integer.insert(0, s.integerZeros - out.integer.size(), '0');
  if (!out.zero) {
    for (int i = 0; i < s.decimalPlaces; ++i) out.decimals += digitAt(pointAt + i);
  }
  std::size_t kept = out.decimals.size();
  while (kept > static_cast<std::size_t>(s.decimalZeros) && out.decimals[kept - 1] == '0') --kept;
  out.decimals.resize(kept);
  if (out.decimals.size() < static_cast<std::size_t>(s.decimalZeros))
    out.decimals.append(s.decimalZeros - out.decimals.size(), '0');
  return out;
}

class SectionWriter {
 public:
  SectionWriter(const Section& section, const Digits& digits, const LocaleSettings& locale)
      : m_section(section), m_digits(digits), m_locale(locale) {}

  std::string Write() {
    for (const Token& token : m_section.tokens) {
      switch (token.kind) {
        case TokenKind::IntegerPlace: WriteIntegerPlace(token.index); break;
        case TokenKind::DecimalPlace:
          if (token.index < static_cast<int>(m_digits.decimals.size())) m_text += m_digits.decimals[token.index];
          break;
        case TokenKind::Point:
          if (m_section.integerPlaces == 0) WriteIntegerDigits(0, static_cast<int>(m_digits.integer.size()));
          if (!m_digits.decimals.empty()) AppendUtf8(m_text, m_locale.decimalSeparator);
          break;
        case TokenKind::Exponent: WriteExponent(token); break;
        case TokenKind::Literal:
        case TokenKind::Grouping: m_text += token.text; break;
      }
    }
    return m_text;
  }

 private:
  // The integer digits sit right-aligned in the places; the first place also
  // takes every digit beyond the places.
  void WriteIntegerPlace(int place) {
    const int length = static_cast<int>(m_digits.integer.size());
    const int at = length - m_section.integerPlaces + place;
    if (place == 0) {
      WriteIntegerDigits(0, at + 1);
    } else if (at >= 0) {
      WriteIntegerDigits(at, at + 1);
    }
  }

  void WriteIntegerDigits(int from, int to) {
    const int length = static_cast<int>(m_digits.integer.size());
    for (int i = std::max(from, 0); i < to && i < length; ++i) {
      m_text += m_digits.integer[i];
      const int after = length - 1 - i;
      if (m_section.grouping && after > 0 && after % 3 == 0) AppendUtf8(m_text, m_locale.thousandSeparator);
    }
  }

  void WriteExponent(const Token& token) {
    m_text += token.text[0];
    if (m_digits.exponent < 0) {
      m_text += '-';
    } else if (token.text[1] == '+') {
      m_text += '+';
    }
    std::string digits = std::to_string(std::abs(m_digits.exponent));
    if (static_cast<int>(digits.size()) < token.exponentDigits)
      digits.insert(0, token.exponentDigits - digits.size(), '0');
    m_text += digits;
  }

  const Section& m_section;
  const Digits& m_digits;
  const LocaleSettings& m_locale;
  std::string m_text;
};

std::string GeneralText(double value, const LocaleSettings& locale) {
  if (value == 0.0) return "0";
  std::array<char, 40> buffer{};
  std::snprintf(buffer.data(), buffer.size(), "%.*G", kGeneralPrecision, value);
  std::string text;
  for (const char* c = buffer.data(); *c != '\0'; ++c) {
    if (*c == '.') {
      AppendUtf8(text, locale.decimalSeparator);
    } else {
      text += *c;
    }
  }
  return text;
}

}  // namespace

namespace {

std::string FormatFinite(std::string_view pattern, double value, const LocaleSettings& locale);

// The last texts written, for the axes that write the same labels on every paint: the
// exact digits cost far more than finding them again. The text depends on the pattern,
// the value and the two separators only.
class KeptTexts {
 public:
  std::string Format(std::string_view pattern, double value, const LocaleSettings& locale) {
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
    // The top bits of the product depend on every bit of the value: round values have
    // none set in their lower ones.
    const std::uint64_t hash = (bits ^ std::hash<std::string_view>{}(pattern)) * 0x9E3779B97F4A7C15ull;
    Entry& entry = m_entries[hash >> 56];
    if (!entry.used || entry.bits != bits || entry.decimal != locale.decimalSeparator ||
        entry.thousand != locale.thousandSeparator || entry.pattern != pattern) {
      entry.text = FormatFinite(pattern, value, locale);
      entry.used = true;
      entry.bits = bits;
      entry.decimal = locale.decimalSeparator;
      entry.thousand = locale.thousandSeparator;
      entry.pattern.assign(pattern);
    }
    return entry.text;
  }

 private:
  struct Entry {
    bool used = false;
    std::uint64_t bits = 0;
    char32_t decimal = 0, thousand = 0;
    std::string pattern, text;
  };
  std::array<Entry, 256> m_entries;
};

}  // namespace

std::string FormatFloat(std::string_view pattern, double value, const LocaleSettings& locale) {
  if (CodePointCount(pattern) >= kPatternLimit) throw EConvertError(messages::kFormatTooLong);
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  thread_local KeptTexts kept;
  return kept.Format(pattern, value, locale);
}

namespace {

std::string FormatFinite(std::string_view pattern, double value, const LocaleSettings& locale) {
  if (pattern.empty()) return GeneralText(value, locale);

  const std::vector<std::string_view> sections = SplitSections(pattern);
  // The section of an index, or the first one when it is absent or empty.
  auto sectionIndex = [&](std::size_t index) {
    return index < sections.size() && !sections[index].empty() ? index : 0;
  };

  std::size_t chosen = sectionIndex(value > 0 ? 0 : value < 0 ? 1 : 2);
  if (sections[chosen].empty()) return GeneralText(value, locale);
  Section section = ReadSection(sections[chosen]);
  Digits digits = Lay(section, value);

  if (digits.zero && value != 0) {
    const std::size_t zeroSection = sectionIndex(2);
    if (zeroSection != chosen) {
      chosen = zeroSection;
      section = ReadSection(sections[chosen]);
      digits = Lay(section, 0.0);
    }
  }

  std::string text;
  if (chosen == 0 && value < 0 && !digits.zero) text += '-';
  text += SectionWriter(section, digits, locale).Write();
  return text;
}

}  // namespace

namespace {

// [SECTION] Date-time patterns

constexpr std::array<const char*, 12> kMonthNames = {"January", "February", "March",     "April",   "May",      "June",
                                                     "July",    "August",   "September", "October", "November", "December"};
constexpr std::array<const char*, 7> kDayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                  "Thursday", "Friday", "Saturday"};

// The parts of a value that the patterns write.
struct DateTimeParts {
  int year = 0;
  int month = 0;
  int day = 0;
  int dayOfWeek = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

bool SplitValue(TDateTime value, DateTimeParts& parts) {
  DecodeDate(value, parts.year, parts.month, parts.day);
  if (parts.year == 0) return false;
  DecodeTime(value, parts.hour, parts.minute, parts.second, parts.millisecond);
  parts.dayOfWeek = DayOfWeek(value);
  return true;
}

void AppendNumber(std::string& text, int number, int width) {
  std::string digits = std::to_string(number);
  if (static_cast<int>(digits.size()) < width) text.append(width - digits.size(), '0');
  text += digits;
}

void AppendName(std::string& text, const char* name, bool abbreviated) {
  text += abbreviated ? std::string_view(name).substr(0, 3) : std::string_view(name);
}

int TwelveHour(int hour) { return hour % 12 == 0 ? 12 : hour % 12; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

int RunLength(std::string_view text, std::size_t at, bool ignoreCase) {
  std::size_t end = at + 1;
  while (end < text.size() && (ignoreCase ? Lower(text[end]) == Lower(text[at]) : text[end] == text[at])) ++end;
  return static_cast<int>(end - at);
}

// "am/pm" or "a/p" at `at`, any letter case: its length, 0 when there is none.
std::size_t HalfDayTokenLength(std::string_view text, std::size_t at) {
  auto matches = [&](std::string_view token) {
    if (text.size() - at < token.size()) return false;
    for (std::size_t i = 0; i < token.size(); ++i)
      if (Lower(text[at + i]) != token[i]) return false;
    return true;
  };
  if (matches("am/pm")) return 5;
  if (matches("a/p")) return 3;
  return 0;
}

bool HasHalfDayToken(std::string_view pattern) {
  for (std::size_t at = 0; at < pattern.size();) {
    if (IsQuote(pattern[at])) {
      at = QuoteEnd(pattern, at);
    } else if (HalfDayTokenLength(pattern, at) != 0) {
      return true;
    } else {
      ++at;
    }
  }
  return false;
}

bool HasLocaleHalfDay(std::string_view pattern) {
  for (std::size_t at = 0; at < pattern.size();) {
    if (pattern[at] == '\'') {
      at = QuoteEnd(pattern, at);
    } else if (pattern[at] == 'A' || pattern[at] == 'a') {
      return true;
    } else {
      ++at;
    }
  }
  return false;
}

std::string WriteLocaleDateTime(std::string_view pattern, const DateTimeParts& parts) {
  const bool twelveHour = HasLocaleHalfDay(pattern);
  std::string text;
  std::size_t at = 0;
  while (at < pattern.size()) {
    const char c = pattern[at];
    const int run = RunLength(pattern, at, false);
    std::size_t used = 1;
    switch (c) {
      case '\'':
        // '' anywhere is one quote; inside quotes everything else is literal.
        if (at + 1 < pattern.size() && pattern[at + 1] == '\'') {
          text += '\'';
          used = 2;
          break;
        }
        ++at;
        while (at < pattern.size()) {
          if (pattern[at] == '\'') {
            if (at + 1 < pattern.size() && pattern[at + 1] == '\'') {
              text += '\'';
              at += 2;
              continue;
            }
            break;
          }
          text += pattern[at++];
        }
        used = at < pattern.size() ? 1 : 0;  // the closing quote
        break;
      case 'd':
        used = std::min(run, 4);
        if (used >= 3) {
          AppendName(text, kDayNames[parts.dayOfWeek - 1], used == 3);
        } else {
          AppendNumber(text, parts.day, static_cast<int>(used));
        }
        break;
      case 'M':
        used = std::min(run, 4);
        if (used >= 3) {
          AppendName(text, kMonthNames[parts.month - 1], used == 3);
        } else {
          AppendNumber(text, parts.month, static_cast<int>(used));
        }
        break;
      case 'y':
        if (run >= 4) {
          used = 4;
          AppendNumber(text, parts.year, 4);
        } else if (run >= 2) {
          used = 2;
          AppendNumber(text, parts.year % 100, 2);
        } else {
          text += c;
        }
        break;
      case 'h':
      case 'H':
        used = std::min(run, 2);
        AppendNumber(text, c == 'h' && twelveHour ? TwelveHour(parts.hour) : parts.hour, static_cast<int>(used));
        break;
      case 'm':
        used = std::min(run, 2);
        AppendNumber(text, parts.minute, static_cast<int>(used));
        break;
      case 's':
        used = std::min(run, 2);
        AppendNumber(text, parts.second, static_cast<int>(used));
        break;
      case 'z':
        if (run >= 3) {
          used = 3;
          AppendNumber(text, parts.millisecond, 3);
        } else {
          // The fraction of the second as it goes after a decimal point.
          std::string digits;
          AppendNumber(digits, parts.millisecond, 3);
          while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
          text += digits;
        }
        break;
      case 'A':
      case 'a': {
        const bool pm = parts.hour >= 12;
        const bool upper = c == 'A';
        text += pm ? (upper ? "PM" : "pm") : (upper ? "AM" : "am");
        used = at + 1 < pattern.size() && Lower(pattern[at + 1]) == 'p' ? 2 : 1;
        break;
      }
      case 't': break;
      default: text += c; break;
    }
    at += used;
  }
  return text;
}

std::string WriteDateTime(std::string_view pattern, const DateTimeParts& parts, const LocaleSettings& locale) {
  const bool twelveHour = HasHalfDayToken(pattern);
  std::string text;
  bool afterHour = false;  // m and mm right after an hour are minutes
  std::size_t at = 0;
  while (at < pattern.size()) {
    const char c = pattern[at];
    const char letter = Lower(c);
    const int run = RunLength(pattern, at, true);
    bool isHour = false;
    if (IsQuote(c)) {
      const std::size_t end = QuoteEnd(pattern, at);
      const std::size_t closing = end > at + 1 && pattern[end - 1] == c ? 1 : 0;
      text += pattern.substr(at + 1, end - at - 1 - closing);
      at = end;
      continue;
    }
    if (c == '/' || c == ':') {
      AppendUtf8(text, c == '/' ? locale.dateSeparator : locale.timeSeparator);
      ++at;
      continue;
    }
    std::size_t used = 1;
    switch (letter) {
      case 'd':
        used = std::min(run, 5);
        if (used >= 5) {
          text += WriteLocaleDateTime(locale.shortDateFormat, parts);
        } else if (used >= 3) {
          AppendName(text, kDayNames[parts.dayOfWeek - 1], used == 3);
        } else {
          AppendNumber(text, parts.day, static_cast<int>(used));
        }
        break;
      case 'm':
        used = std::min(run, 4);
        if (used >= 3) {
          AppendName(text, kMonthNames[parts.month - 1], used == 3);
        } else {
          AppendNumber(text, afterHour ? parts.minute : parts.month, static_cast<int>(used));
        }
        break;
      case 'y':
        used = std::min(run, 4);
        if (used <= 2) {
          AppendNumber(text, parts.year % 100, 2);
        } else {
          AppendNumber(text, parts.year, 4);
        }
        break;
      case 'h':
        used = std::min(run, 2);
        AppendNumber(text, twelveHour ? TwelveHour(parts.hour) : parts.hour, static_cast<int>(used));
        isHour = true;
        break;
      case 'n':
        used = std::min(run, 2);
        AppendNumber(text, parts.minute, static_cast<int>(used));
        break;
      case 's':
        used = std::min(run, 2);
        AppendNumber(text, parts.second, static_cast<int>(used));
        break;
      case 'z':
        used = run >= 3 ? 3 : 1;
        AppendNumber(text, parts.millisecond, used == 3 ? 3 : 1);
        break;
      case 'c':
        text += WriteLocaleDateTime(locale.shortDateFormat, parts);
        if (parts.hour != 0 || parts.minute != 0 || parts.second != 0 || parts.millisecond != 0) {
          text += ' ';
          text += WriteLocaleDateTime(locale.shortTimeFormat, parts);
        }
        break;
      case 't':
        used = std::min(run, 2);
        text += WriteLocaleDateTime(locale.shortTimeFormat, parts);
        break;
      case 'a':
        if (const std::size_t length = HalfDayTokenLength(pattern, at); length != 0) {
          // The pattern's own letters, so "AM/PM", "am/pm" and "Am/Pm" each
          // write in their case.
          const bool pm = parts.hour >= 12;
          const std::size_t half = length == 5 ? 2 : 1;
          text += pattern.substr(pm ? at + half + 1 : at, half);
          used = length;
        } else {
          text += c;
          ++at;
          continue;  // a plain letter is no token
        }
        break;
      default:
        text += c;
        ++at;
        continue;  // copied characters leave the previous token in force
    }
    afterHour = isHour;
    at += used;
  }
  return text;
}

}  // namespace

std::string FormatDateTime(std::string_view pattern, TDateTime value, const LocaleSettings& locale) {
  DateTimeParts parts;
  if (!SplitValue(value, parts)) return {};
  return WriteDateTime(pattern, parts, locale);
}

std::string FormatLocaleDateTime(std::string_view pattern, TDateTime value) {
  DateTimeParts parts;
  if (!SplitValue(value, parts)) return {};
  return WriteLocaleDateTime(pattern, parts);
}

}  // namespace tarvela
