// The form-description reader on any text, with the chart classes registered and no
// options: the tokenizer, the nesting, every property table of the engine and the
// fixups. A text either reads or fails with EReadError naming a line; whatever was
// created is freed with the root.

#include <cstdint>
#include <memory>
#include <string_view>

#include "tarvela/chart/chart_registration.h"
#include "tarvela/runtime/form_reader.h"

using namespace tarvela;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  RegisterChartClasses();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    const std::unique_ptr<TComponent> root = ReadRootComponent(text);
  } catch (const EReadError& e) {
    // A failure names its line, which lies within the text.
    if (e.Line() < 1) __builtin_trap();
  }
  return 0;
}
