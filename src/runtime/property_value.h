#pragma once
/// One value as a form description writes it, already parsed: a number, a string,
/// an identifier, a set of identifiers or a list of strings. It carries no
/// property type: the property that receives it decides whether the kind fits,
/// through the checked accessors.
/// @file
#include <cstdint>
#include <string>
#include <vector>

namespace tarvela {

struct PropertyValue {
  enum class Kind { Integer, Float, String, Identifier, Set, StringList };

  // state
  Kind kind = Kind::Integer;
  std::int64_t integer = 0;
  long double floating = 0;
  std::string text;                ///< String (UTF-8) or Identifier
  std::vector<std::string> items;  ///< Set members (identifiers) or StringList lines

  // operations: each throws EConvertError naming the expected and the found value
  // when the kind does not fit
  std::int64_t AsInteger() const;
  long double AsFloat() const;  ///< Integer or Float
  const std::string& AsString() const;
  const std::string& AsIdentifier() const;
  bool AsBool() const;  ///< the identifiers True and False, in any letter case
  const std::vector<std::string>& AsSet() const;
  const std::vector<std::string>& AsStringList() const;

  static PropertyValue Integer(std::int64_t value);
  static PropertyValue Float(long double value);
  static PropertyValue String(std::string value);
  static PropertyValue Identifier(std::string value);
  static PropertyValue Set(std::vector<std::string> members);
  static PropertyValue StringList(std::vector<std::string> lines);

  /// The value in description syntax: 12, 1.5, 'It''s'#13, clRed, [fsBold], ('a' 'b').
  std::string ToText() const;

  bool operator==(const PropertyValue& other) const;
};

/// "integer", "string", ... for messages.
const char* KindName(PropertyValue::Kind kind);

}  // namespace tarvela
