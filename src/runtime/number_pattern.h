#pragma once
/// Values written with patterns: the number pattern language of axis labels,
/// marks and value formats, and the two date-time pattern languages the chart
/// meets - the program's own (an axis' DateTimeFormat) and the locale's (the
/// short date and time patterns of LocaleSettings, in the user interface
/// toolkit's notation). All of them take the locale as a value.
/// @file
#include <string>
#include <string_view>

#include "tarvela/runtime/date_time.h"
#include "tarvela/runtime/locale_settings.h"

namespace tarvela {

/// Number pattern: up to three sections "positive;negative;zero"; "0" and "#"
/// digit places, the first "." the decimal point, "," among the integer places
/// for grouping, E+0 / e-00 exponents, '...' and "..." literals, anything else
/// copied. Rounds halves away from zero on the exact decimal value of the double.
///
/// Beyond the pattern rules:
/// - A value that rounds to zero is written as zero: with the zero section, or
///   the first one when that is absent, and never with a minus sign
///   (-0.0004 with "#,##0.###" gives "0").
/// - NaN, +infinity and -infinity give "NAN", "INF" and "-INF".
/// - An empty pattern, or an empty chosen section, writes the value in the
///   general format (15 significant digits, the shortest of fixed and
///   scientific, "1E+20"), with the locale's decimal separator.
/// - The minus sign of the first section leads the whole text ("-$1.50").
/// - With an exponent the leading digit takes the first integer place
///   ("00.0E+0": 1234.5 gives "12.3E+2"); "0", "#", "." and "," after the
///   exponent are plain text.
/// - A "," outside the span of the integer digit places, or a "." after the
///   first one, is copied like any other character.
/// Fails with EConvertError "Format string too long" for a pattern of 225
/// characters (code points) or more.
std::string FormatFloat(std::string_view pattern, double value, const LocaleSettings& locale);

/// The program's date-time pattern language; letters are case-insensitive: @code{.unparsed}
///   d dd        day 1..31 / 01..31        ddd dddd  day name, short / long
///   ddddd       the locale's short date   m mm      month 1..12 / 01..12, or
///   mmm mmmm    month name, short / long            minutes right after h, hh
///   yy yyyy     year, two / four digits   h hh      hour, 12-hour with am/pm
///   n nn        minute                    s ss      second
///   z zzz       millisecond, plain / three digits
///   am/pm a/p   the half of the day, letter case copied from the pattern
///   c           short date, then a blank and the short time unless midnight
///   t tt        the locale's short time
///   /  :        the locale's date / time separator
///   '...' "..." literal text; any other character is copied. @endcode
/// Names are English. A value outside the calendar (years 1..9999) gives "".
std::string FormatDateTime(std::string_view pattern, TDateTime value, const LocaleSettings& locale);

/// The locale's date-time pattern language, in which shortDateFormat and
/// shortTimeFormat are written ("dd/MM/yyyy", "HH:mm", "M/d/yy", "h:mm AP"); it
/// is case-sensitive: @code{.unparsed}
///   d dd ddd dddd   day, as above         M MM MMM MMMM  month, as above
///   yy yyyy         year                  H HH           hour 0..23
///   h hh            hour, 12-hour when the pattern has AP/ap
///   m mm  s ss      minute, second        zzz / z        millisecond, three
///   AP A / ap a     AM/PM, am/pm                          digits / as a fraction
///   t               time zone: nothing, the values carry none
///   '...'           literal text, '' a quote; anything else is copied. @endcode
/// "/" and ":" are plain characters here: the pattern already holds the
/// locale's separators. A value outside the calendar gives "".
std::string FormatLocaleDateTime(std::string_view pattern, TDateTime value);

}  // namespace tarvela
