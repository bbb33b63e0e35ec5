#include "capture/selection/Crop.h"

#include <algorithm>
#include <cstring>

namespace kadrilo {
namespace {

// Pixel x of a row packed most significant bits first (1 and 4 bits per pixel).
unsigned PackedPixel(const uint8_t* row, int32_t x, int bits) {
    const int perByte = 8 / bits;
    const int shift = 8 - bits * (x % perByte + 1);
    return (row[x / perByte] >> shift) & ((1u << bits) - 1);
}

void SetPackedPixel(uint8_t* row, int32_t x, int bits, unsigned value) {
    const int perByte = 8 / bits;
    const int shift = 8 - bits * (x % perByte + 1);
    const auto mask = static_cast<uint8_t>(((1u << bits) - 1) << shift);
    row[x / perByte] = static_cast<uint8_t>((row[x / perByte] & ~mask) | ((value << shift) & mask));
}

}  // namespace

Bitmap CropBitmap(const Bitmap& image, const Rect& part) {
    Bitmap crop = Bitmap::Blank(std::max(part.Width(), 0), std::max(part.Height(), 0), image.bitsPerPixel);
    crop.palette = image.palette;
    const int32_t left = std::max(part.left, 0), right = std::min(part.right, image.width);
    const int32_t top = std::max(part.top, 0), bottom = std::min(part.bottom, image.height);
    if (left >= right || top >= bottom) return crop;
    const int bits = image.bitsPerPixel;
    for (int32_t y = top; y < bottom; ++y) {
        const uint8_t* from = image.Row(y);
        uint8_t* to = crop.Row(y - part.top);
        if (bits >= 8) {
            const size_t bytes = static_cast<size_t>(bits / 8);
            std::memcpy(to + static_cast<size_t>(left - part.left) * bytes, from + static_cast<size_t>(left) * bytes,
                        static_cast<size_t>(right - left) * bytes);
        } else {
            for (int32_t x = left; x < right; ++x) SetPackedPixel(to, x - part.left, bits, PackedPixel(from, x, bits));
        }
    }
    return crop;
}

}  // namespace kadrilo
