#include "tarvela/runtime/property_value.h"

#include <charconv>
#include <cmath>

#include "tarvela/runtime/exceptions.h"
#include "tarvela/runtime/identifiers.h"

namespace tarvela {

namespace {

[[noreturn]] void ThrowKind(const PropertyValue& value, const char* expected) {
  throw EConvertError(std::string("Expected ") + expected + " but found " + KindName(value.kind) + " " +
                      value.ToText());
}

// A string literal: printable runs in quotes, control characters as #n so the
// text stays on one line.
std::string QuoteString(const std::string& text) {
  if (text.empty()) return "''";
  std::string out;
  bool inQuotes = false;
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    if (byte < 32) {
      if (inQuotes) out += '\'';
      inQuotes = false;
      out += '#' + std::to_string(byte);
      continue;
    }
    if (!inQuotes) out += '\'';
    inQuotes = true;
    out += c;
    if (c == '\'') out += '\'';
  }
  if (inQuotes) out += '\'';
  return out;
}

std::string FloatText(long double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  char buffer[64];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  std::string text(buffer, ec == std::errc() ? end : buffer);
  for (char& c : text)
    if (c == 'e') c = 'E';
  // Without a point or exponent it would read back as an integer.
  if (text.find_first_of(".E") == std::string::npos) text += ".0";
  return text;
}

}  // namespace

const char* KindName(PropertyValue::Kind kind) {
  switch (kind) {
    case PropertyValue::Kind::Integer: return "integer";
    case PropertyValue::Kind::Float: return "floating point number";
    case PropertyValue::Kind::String: return "string";
    case PropertyValue::Kind::Identifier: return "identifier";
    case PropertyValue::Kind::Set: return "set";
    case PropertyValue::Kind::StringList: return "string list";
  }
  return "value";
}

std::int64_t PropertyValue::AsInteger() const {
  if (kind != Kind::Integer) ThrowKind(*this, "an integer");
  return integer;
}

long double PropertyValue::AsFloat() const {
  if (kind == Kind::Integer) return static_cast<long double>(integer);
  if (kind != Kind::Float) ThrowKind(*this, "a number");
  return floating;
}

const std::string& PropertyValue::AsString() const {
  if (kind != Kind::String) ThrowKind(*this, "a string");
  return text;
}

const std::string& PropertyValue::AsIdentifier() const {
  if (kind != Kind::Identifier) ThrowKind(*this, "an identifier");
  return text;
}

bool PropertyValue::AsBool() const {
  if (kind == Kind::Identifier) {
    if (SameIdent(text, "True")) return true;
    if (SameIdent(text, "False")) return false;
  }
  ThrowKind(*this, "True or False");
}

const std::vector<std::string>& PropertyValue::AsSet() const {
  if (kind != Kind::Set) ThrowKind(*this, "a set");
  return items;
}

const std::vector<std::string>& PropertyValue::AsStringList() const {
  if (kind != Kind::StringList) ThrowKind(*this, "a string list");
  return items;
}

PropertyValue PropertyValue::Integer(std::int64_t value) {
  PropertyValue v;
  v.kind = Kind::Integer;
  v.integer = value;
  return v;
}

PropertyValue PropertyValue::Float(long double value) {
  PropertyValue v;
  v.kind = Kind::Float;
  v.floating = value;
  return v;
}

PropertyValue PropertyValue::String(std::string value) {
  PropertyValue v;
  v.kind = Kind::String;
  v.text = std::move(value);
  return v;
}

PropertyValue PropertyValue::Identifier(std::string value) {
  PropertyValue v;
  v.kind = Kind::Identifier;
  v.text = std::move(value);
  return v;
}

PropertyValue PropertyValue::Set(std::vector<std::string> members) {
  PropertyValue v;
  v.kind = Kind::Set;
  v.items = std::move(members);
  return v;
}

PropertyValue PropertyValue::StringList(std::vector<std::string> lines) {
  PropertyValue v;
  v.kind = Kind::StringList;
  v.items = std::move(lines);
  return v;
}

std::string PropertyValue::ToText() const {
  switch (kind) {
    case Kind::Integer: return std::to_string(integer);
    case Kind::Float: return FloatText(floating);
    case Kind::String: return QuoteString(text);
    case Kind::Identifier: return text;
    case Kind::Set: {
      std::string out = "[";
      for (std::size_t i = 0; i < items.size(); ++i) {
        if (i != 0) out += ", ";
        out += items[i];
      }
      return out + "]";
    }
    case Kind::StringList: {
      std::string out = "(";
      for (std::size_t i = 0; i < items.size(); ++i) {
        if (i != 0) out += ' ';
        out += QuoteString(items[i]);
      }
      return out + ")";
    }
  }
  return {};
}

bool PropertyValue::operator==(const PropertyValue& other) const {
  if (kind != other.kind) return false;
  switch (kind) {
    case Kind::Integer: return integer == other.integer;
    case Kind::Float: return floating == other.floating;
    case Kind::String: return text == other.text;
    case Kind::Identifier: return SameIdent(text, other.text);
    case Kind::Set: {
      if (items.size() != other.items.size()) return false;
      for (std::size_t i = 0; i < items.size(); ++i)
        if (!SameIdent(items[i], other.items[i])) return false;
      return true;
    }
    case Kind::StringList: return items == other.items;
  }
  return false;
}

}  // namespace tarvela
