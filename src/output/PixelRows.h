// Reading the rows of a Bitmap the way the image writers need them.
#pragma once

#include <cstdint>

#include "platform/Bitmap.h"

namespace kadrilo {

constexpr bool IsPaletteDepth(int bitsPerPixel) { return bitsPerPixel == 1 || bitsPerPixel == 4 || bitsPerPixel == 8; }

// The bytes of all rows with their padding, as the image's buffer must hold them.
inline uint64_t ImageBytes(const Bitmap& image) {
    return static_cast<uint64_t>(image.Stride()) * static_cast<uint64_t>(image.height);
}

// The palette index of pixel x of a 1, 4 or 8-bit row (packed MSB first).
inline unsigned PaletteIndex(const uint8_t* row, int32_t x, int depth) {
    switch (depth) {
        case 1: return (row[x / 8] >> (7 - x % 8)) & 0x01u;
        case 4: return (row[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0x0Fu;
        default: return row[x];
    }
}

// Row y (from the top) as 8-bit R, G, B triples: 24 and 32 bits with blue and
// red exchanged and the fourth byte dropped, 16 bits (5-5-5) expanded so that
// 0 stays 0 and 31 becomes 255, palette depths looked up (an index beyond the
// colour table reads as black). `rgb` holds 3 * width bytes. Does not throw.
void ConvertRowToRgb(const Bitmap& image, int32_t y, uint8_t* rgb);

}  // namespace kadrilo
