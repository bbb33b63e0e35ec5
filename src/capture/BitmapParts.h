// Parts of an image, one to one: taken out, and put back.
#pragma once

#include "platform/Bitmap.h"
#include "platform/Types.h"

namespace kadrilo {

// The pixels of `image` that `part` covers (in the image's coordinates, top
// row 0), at the image's depth and with its colour table; what lies beyond the
// image is black (index 0 at palette depths), as a screen copy beyond the screen is.
Bitmap CropBitmap(const Bitmap& image, const Rect& part);

// Puts `part` (of the image's depth) into `image` with its top-left corner at
// (x, y); what falls beyond the image is left out.
void PasteBitmap(Bitmap& image, const Bitmap& part, int32_t x, int32_t y);

}  // namespace kadrilo
