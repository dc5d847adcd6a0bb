#pragma once
/// Numbers as text: the program's own formatting and reading rules, which
/// neither the C library's nor the user interface toolkit's conversions follow.
/// @file
#include <cstdint>
#include <string>
#include <string_view>

#include "tarvela/runtime/locale_settings.h"

namespace tarvela {

/// Decimal digits with "-" in front of a negative number, no grouping.
std::string IntToStr(std::int64_t v);

/// Fixed text with four significant digits and four decimals: 1.23456 gives
/// "1.2350", 0.00004 gives "0.0000", -0.5 gives "-0.5000". A value with more than
/// four digits before the decimal point after rounding takes the scientific
/// form instead, 12345.678 giving "1.235E0004". An infinity is "INF" or "-INF",
/// not a number "NAN". The decimal separator is the locale's; no grouping.
std::string FloatToStrFixed(long double v, const LocaleSettings& locale);

/// Reads a real number: blanks, an optional sign, digits with an optional
/// locale decimal separator, an optional exponent, blanks. The result is in
/// extended precision; rounding it to a double is the caller's business.
/// Text that does not read, or a value that overflows, gives false and leaves
/// `value` as it was. The floating-point status flags are left as they were found.
bool TryTextToFloat(std::string_view text, long double& value, const LocaleSettings& locale);

/// As TryTextToFloat; failure throws EConvertError
/// "'<text>' is not a valid floating point value".
long double TextToFloat(std::string_view text, const LocaleSettings& locale);

}  // namespace tarvela
