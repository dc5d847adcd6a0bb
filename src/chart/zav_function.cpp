#include "chart/zav_function.h"

namespace tarvela {

TZavFunction::TZavFunction(TComponent* owner) : TComponent(owner) {}

TZavFunction::~TZavFunction() = default;

}  // namespace tarvela
