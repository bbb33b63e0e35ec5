#include "output/PixelRows.h"

namespace kadrilo {
namespace {

uint8_t Expand5(unsigned value) { return static_cast<uint8_t>((value << 3) | (value >> 2)); }

}  // namespace

void ConvertRowToRgb(const Bitmap& image, int32_t y, uint8_t* rgb) {
    const uint8_t* row = image.Row(y);
    const int depth = image.bitsPerPixel;
    for (int32_t x = 0; x < image.width; ++x, rgb += 3) {
        uint32_t r, g, b;
        if (depth == 16) {
            const unsigned word = row[2 * x] | (row[2 * x + 1] << 8);
            r = Expand5((word >> 10) & 0x1F), g = Expand5((word >> 5) & 0x1F), b = Expand5(word & 0x1F);
        } else if (depth >= 24) {
            const uint8_t* pixel = row + static_cast<size_t>(x) * (depth / 8);
            b = pixel[0], g = pixel[1], r = pixel[2];
        } else {
            const unsigned index = PaletteIndex(row, x, depth);
            const uint32_t entry = index < image.palette.size() ? image.palette[index] : 0;
            r = (entry >> 16) & 0xFF, g = (entry >> 8) & 0xFF, b = entry & 0xFF;
        }
        rgb[0] = static_cast<uint8_t>(r), rgb[1] = static_cast<uint8_t>(g), rgb[2] = static_cast<uint8_t>(b);
    }
}

}  // namespace kadrilo
