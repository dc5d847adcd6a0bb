#include "tarvela/runtime/number_text.h"

#include <algorithm>
#include <array>
#include <cfenv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "tarvela/runtime/exceptions.h"

namespace tarvela {

namespace {

// Four significant digits, four decimals.
constexpr int kPrecision = 4;
constexpr int kDecimals = 4;
constexpr int kSignificantDigits = 18;

// The exponent of the scientific form has at least this many digits.
constexpr int kExponentWidth = 4;

// Reading the exponent stops once its value reaches this.
constexpr std::int64_t kExponentStop = 500;

// Powers of ten that extended precision holds exactly (5^27 < 2^64).
constexpr int kExactPowers = 27;

// A power of ten whose reciprocal is still a normal extended value; dividing
// by it in steps keeps a very negative scale from overflowing the power itself.
constexpr int kBigStep = 4900;

struct Decimal {
  std::string digits;  // d1 d2 ..., no trailing zeros; empty for zero
  int exponent = 0;    // |v| = 0.d1d2... * 10^exponent
};

// The 18 correctly rounded significant digits of |v| (v finite, non-zero):
// glibc prints the exact binary value and rounds once.
Decimal SignificantDigits(long double v) {
  std::array<char, 64> text{};
  std::snprintf(text.data(), text.size(), "%.*Le", kSignificantDigits - 1, std::fabs(v));
  Decimal d;
  d.digits += text[0];
  d.digits.append(text.data() + 2, kSignificantDigits - 1);
  const char* exponent = text.data() + 2 + (kSignificantDigits - 1) + 1;  // after "e"
  d.exponent = std::atoi(exponent) + 1;
  return d;
}

// Cuts to the digits the fixed text shows, rounding half up on the first
// digit dropped.
void KeepDigits(Decimal& d) {
  const int kept = std::min(d.exponent + kDecimals, kPrecision);
  if (kept < 0) {
    d.digits.clear();
    d.exponent = 0;
    return;
  }
  const bool roundUp = d.digits[kept] >= '5';
  d.digits.resize(kept);
  if (roundUp) {
    int at = kept - 1;
    while (at >= 0 && d.digits[at] == '9') d.digits[at--] = '0';
    if (at >= 0) {
      ++d.digits[at];
    } else {
      d.digits.assign(1, '1');
      ++d.exponent;
    }
  }
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
}

long double PowerOfTen(std::int64_t n) {
  static constexpr auto kPowers = [] {
    std::array<long double, kExactPowers + 1> powers{};
    long double p = 1.0L;
    for (auto& power : powers) {
      power = p;
      p *= 10.0L;
    }
    return powers;
  }();
  if (n <= kExactPowers) return kPowers[n];
  return std::pow(10.0L, static_cast<long double>(n));
}

// mantissa * 10^power, mantissa a whole number read from the text.
long double Scale(long double mantissa, std::int64_t power) {
  if (mantissa == 0.0L) return 0.0L;
  if (power >= 0) return mantissa * PowerOfTen(power);
  std::int64_t divide = -power;
  static const long double kBigPower = PowerOfTen(kBigStep);
  while (divide > kBigStep && mantissa != 0.0L) {
    mantissa /= kBigPower;
    divide -= kBigStep;
  }
  return mantissa / PowerOfTen(divide);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reading raises inexact, underflow or overflow flags that are nobody's
// fault: a failed reading is reported by the result, so nothing of it may be
// left for the caller's next flag check to find.
class FloatFlagsKeeper {
 public:
  FloatFlagsKeeper() { std::fegetexceptflag(&m_saved, FE_ALL_EXCEPT); }
  ~FloatFlagsKeeper() { std::fesetexceptflag(&m_saved, FE_ALL_EXCEPT); }
  FloatFlagsKeeper(const FloatFlagsKeeper&) = delete;
  FloatFlagsKeeper& operator=(const FloatFlagsKeeper&) = delete;

 private:
  std::fexcept_t m_saved{};
};

}  // namespace

std::string IntToStr(std::int64_t v) { return std::to_string(v); }

std::string FloatToStrFixed(long double v, const LocaleSettings& locale) {
  if (std::isnan(v)) return "NAN";
  if (std::isinf(v)) return v < 0 ? "-INF" : "INF";

  Decimal d;
  if (v != 0.0L) {
    d = SignificantDigits(v);
    KeepDigits(d);
  }
  const bool negative = v < 0.0L && !d.digits.empty();
  const int count = static_cast<int>(d.digits.size());

  std::string text;
  if (negative) text += '-';
  if (d.exponent > kPrecision) {
    text += d.digits[0];
    if (count > 1) {
      AppendUtf8(text, locale.decimalSeparator);
      text.append(d.digits, 1);
    }
    std::string exponent = std::to_string(d.exponent - 1);
    text += 'E';
    if (static_cast<int>(exponent.size()) < kExponentWidth)
      text.append(kExponentWidth - exponent.size(), '0');
    text += exponent;
    return text;
  }

  if (d.exponent <= 0) {
    text += '0';
  } else {
    for (int i = 0; i < d.exponent; ++i) text += i < count ? d.digits[i] : '0';
  }
  AppendUtf8(text, locale.decimalSeparator);
  int written = 0;
  if (d.exponent < 0) {
    written = std::min(-d.exponent, kDecimals);
    text.append(written, '0');
  }
  for (int i = std::max(d.exponent, 0); i < count && written < kDecimals; ++i, ++written)
    text += d.digits[i];
  text.append(kDecimals - written, '0');
  return text;
}

bool TryTextToFloat(std::string_view text, long double& value, const LocaleSettings& locale) {
  FloatFlagsKeeper keeper;
  std::string separator;
  AppendUtf8(separator, locale.decimalSeparator);

  std::size_t at = 0;
  const std::size_t end = text.size();
  while (at < end && text[at] == ' ') ++at;

  bool negative = false;
  if (at < end && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';

  long double mantissa = 0.0L;
  bool consumed = false;
  while (at < end && IsDigit(text[at])) {
    mantissa = mantissa * 10.0L + (text[at++] - '0');
    consumed = true;
  }
  std::int64_t places = 0;
  if (text.substr(at).starts_with(separator)) {
    at += separator.size();
    consumed = true;
    while (at < end && IsDigit(text[at])) {
      mantissa = mantissa * 10.0L + (text[at++] - '0');
      ++places;
    }
  }
  if (!consumed) return false;

  std::int64_t exponent = 0;
  if (at < end && (text[at] == 'E' || text[at] == 'e')) {
    ++at;
    bool negativeExponent = false;
    if (at < end && (text[at] == '+' || text[at] == '-')) negativeExponent = text[at++] == '-';
    while (at < end && IsDigit(text[at]) && exponent < kExponentStop)
      exponent = exponent * 10 + (text[at++] - '0');
    if (negativeExponent) exponent = -exponent;
  }

  while (at < end && text[at] == ' ') ++at;
  if (at != end) return false;

  if (!std::isfinite(mantissa)) return false;
  const long double result = Scale(mantissa, exponent - places);
  if (!std::isfinite(result)) return false;
  value = negative ? -result : result;
  return true;
}

long double TextToFloat(std::string_view text, const LocaleSettings& locale) {
  long double value = 0.0L;
  if (!TryTextToFloat(text, value, locale))
    throw EConvertError(FormatMessage(messages::kInvalidFloat, text));
  return value;
}

}  // namespace tarvela
