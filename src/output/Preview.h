// Where the held image is drawn in the preview: at its own size when it fits
// both ways, else scaled down to fit with its proportions kept; centred.
#pragma once

#include "platform/Types.h"

namespace kadrilo {

Rect PreviewPlacement(int32_t imageWidth, int32_t imageHeight, int32_t areaWidth, int32_t areaHeight);

}  // namespace kadrilo
