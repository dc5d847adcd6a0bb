#pragma once
/// Identifiers as form descriptions and the component model use them: names of
/// components, classes, properties and enumeration values. Letter case never
/// matters, and only ASCII letters count as letters, whatever the locale.
/// @file
#include <string>
#include <string_view>

namespace tarvela {

/// Letters, digits and underscores, not starting with a digit; not empty.
bool IsValidIdent(std::string_view text);

/// Equal ignoring ASCII letter case.
bool SameIdent(std::string_view a, std::string_view b);

/// The ASCII upper-case form, a key under which SameIdent names compare equal.
std::string IdentKey(std::string_view text);

}  // namespace tarvela
