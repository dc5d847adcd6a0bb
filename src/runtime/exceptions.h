#pragma once
/// The one exception hierarchy of the program. Every failure carries the text the
/// user sees; the message loop shows it (see ErrorBoxText) and goes on.
/// @file
#include <stdexcept>
#include <string>
#include <string_view>

namespace tarvela {

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  std::string Message() const { return what(); }
};

class EConvertError : public Exception { using Exception::Exception; };
class EListError : public Exception { using Exception::Exception; };
class EMathError : public Exception { using Exception::Exception; };
class EInvalidOp : public EMathError { using EMathError::EMathError; };
class EZeroDivide : public EMathError { using EMathError::EMathError; };
class EOverflow : public EMathError { using EMathError::EMathError; };

// The engine's own failures.
class ChartException : public Exception { using Exception::Exception; };
class AxisException : public Exception { using Exception::Exception; };
class LegendException : public Exception { using Exception::Exception; };
class BarException : public Exception { using Exception::Exception; };
class PieException : public Exception { using Exception::Exception; };

/// Runtime message texts, byte for byte as the user sees them.
namespace messages {
inline constexpr const char* kInvalidOp = "Invalid floating point operation";
inline constexpr const char* kZeroDivide = "Floating point division by zero";
inline constexpr const char* kOverflow = "Floating point overflow";
inline constexpr const char* kInvalidFloat = "'%s' is not a valid floating point value";
inline constexpr const char* kListIndex = "List index out of bounds (%d)";
inline constexpr const char* kFormatTooLong = "Format string too long";
inline constexpr const char* kInvalidDateEncode = "Invalid argument to date encode";
inline constexpr const char* kInvalidTimeEncode = "Invalid argument to time encode";
}  // namespace messages

/// Fills the single \%s or \%d of a message pattern.
std::string FormatMessage(std::string_view pattern, std::string_view text);
std::string FormatMessage(std::string_view pattern, long long number);

/// "List index out of bounds (%d)".
[[noreturn]] void ThrowListIndexError(long long index);

/// The text of the error box: the message, with "." appended when its last
/// character sorts after ".".
std::string ErrorBoxText(std::string_view message);

/// The caption of the error box: the program file's name without directory and
/// without anything from its first full stop, every letter after the first in
/// lower case.
std::string ApplicationTitleFromPath(std::string_view programPath);

}  // namespace tarvela
