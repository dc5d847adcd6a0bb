#pragma once
/// Line breaks inside chart texts (titles, axis labels, marks): the break character
/// and the two counting and splitting rules the layout relies on. Pure text work; the
/// width of the lines is measured by the panel (TCustomZavPanel::MultiLineWidth),
/// which needs a canvas.
/// @file
#include <string>
#include <string_view>

namespace tarvela {

/// The global line-break character of chart texts; carriage return unless a program
/// chooses another.
extern char LineBreakChar;

/// While separator occurs in text, the first character of its first occurrence becomes
/// LineBreakChar. A separator that is empty or starts with LineBreakChar changes nothing
/// (replacing would never end).
void SplitIntoLines(std::string& text, std::string_view separator);

/// The number of LineBreakChar characters, plus one when text follows the last: an
/// empty text has no lines and a final break does not open an empty one.
int TextLineCount(std::string_view text);

}  // namespace tarvela
