#include "tarvela/runtime/float_checks.h"

#include <cfenv>

#include "tarvela/runtime/exceptions.h"

namespace tarvela {

void ClearFloatFlags() { std::feclearexcept(FE_ALL_EXCEPT); }

void CheckFloatFlags() {
  const int raised = std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
  if (raised == 0) return;
  std::feclearexcept(raised);
  if (raised & FE_INVALID) throw EInvalidOp(messages::kInvalidOp);
  if (raised & FE_DIVBYZERO) throw EZeroDivide(messages::kZeroDivide);
  throw EOverflow(messages::kOverflow);
}

}  // namespace tarvela
