#include "tarvela/platform/surface_types.h"

#include "tarvela/runtime/rounding.h"

namespace tarvela {

int SurfaceFont::Size() const { return -MulDiv(height, 72, pixelsPerInch); }

void SurfaceFont::SetSize(int points) { height = -MulDiv(points, pixelsPerInch, 72); }

}  // namespace tarvela
