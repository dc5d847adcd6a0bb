#include "tarvela/runtime/persistent.h"

#include "tarvela/runtime/properties.h"

namespace tarvela {

TPersistent::~TPersistent() = default;

const PropertyTable& TPersistent::Properties() const {
  static const PropertyTable kNone(nullptr, {});
  return kNone;
}

}  // namespace tarvela
