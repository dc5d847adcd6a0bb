// Text to number: any text, read with a full stop and with a decimal comma (and with
// a separator of more than one byte). A text that reads must give a value that the
// reader gives again, the floating-point flags must be as they were, and the
// throwing form must agree with the trying one.

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "fuzz_input.h"
#include "tarvela/runtime/exceptions.h"
#include "tarvela/runtime/number_text.h"

using namespace tarvela;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  const std::uint8_t which = input.Take<std::uint8_t>();
  const std::string_view text = input.Rest();
  LocaleSettings locale = (which & 1) != 0 ? LocaleSettings::Comma() : LocaleSettings::Dot();
  if ((which & 2) != 0) locale.decimalSeparator = U'\u066B';

  std::feclearexcept(FE_ALL_EXCEPT);
  long double value = 12345;
  const bool read = TryTextToFloat(text, value, locale);
  if (std::fetestexcept(FE_ALL_EXCEPT & ~FE_INEXACT) != 0) std::abort();
  if (!read && value != 12345) std::abort();  // a failure leaves the value as it was
  if (read && !std::isfinite(value)) std::abort();

  bool threw = false;
  long double again = 0;
  try {
    again = TextToFloat(text, locale);
  } catch (const EConvertError&) {
    threw = true;
  }
  if (threw == read) std::abort();
  if (read && again != value) std::abort();
  return 0;
}
