#include "tarvela/runtime/identifiers.h"

namespace tarvela {

namespace {
// Locale-free on purpose: a description reads the same on every desktop.
bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
}  // namespace

bool IsValidIdent(std::string_view text) {
  if (text.empty() || IsAsciiDigit(text.front())) return false;
  for (char c : text)
    if (!IsAsciiLetter(c) && !IsAsciiDigit(c) && c != '_') return false;
  return true;
}

bool SameIdent(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
  return true;
}

std::string IdentKey(std::string_view text) {
  std::string key(text);
  for (char& c : key) c = UpperAscii(c);
  return key;
}

}  // namespace tarvela
