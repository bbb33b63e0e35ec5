// A part of an image, one to one.
#pragma once

#include "platform/Bitmap.h"
#include "platform/Types.h"

namespace kadrilo {

// The pixels of `image` that `part` covers (in the image's coordinates, top
// row 0), at the image's depth and with its colour table; what lies beyond the
// image is black (index 0 at palette depths), as a screen copy beyond the screen is.
Bitmap CropBitmap(const Bitmap& image, const Rect& part);

}  // namespace kadrilo
