// Fixed text: any value, as a double or as the extended product of two doubles (the
// report writes extended values), in both locales. The text is bounded and, for a
// finite value, reads back as a number.

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "fuzz_input.h"
#include "tarvela/runtime/number_text.h"

using namespace tarvela;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  const std::uint8_t which = input.Take<std::uint8_t>();
  const double a = input.Take<double>();
  const double b = input.Take<double>();
  const LocaleSettings locale = (which & 1) != 0 ? LocaleSettings::Comma() : LocaleSettings::Dot();
  const long double value = (which & 2) != 0 ? static_cast<long double>(a) * b : a;

  const std::string text = FloatToStrFixed(value, locale);
  // Extended values reach 1e4932: the scientific form keeps the text short.
  if (text.empty() || text.size() > 64) std::abort();
  if (std::isfinite(value)) {
    long double back = 0;
    if (!TryTextToFloat(text, back, locale)) std::abort();
  }
  return 0;
}
