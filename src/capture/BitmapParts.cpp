#include "capture/BitmapParts.h"

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

// Copies `count` pixels of a row from pixel `from` to pixel `to` of another row.
void CopyPixels(const uint8_t* source, int32_t from, uint8_t* target, int32_t to, int32_t count, int bits) {
    if (bits >= 8) {
        const size_t bytes = static_cast<size_t>(bits / 8);
        std::memcpy(target + static_cast<size_t>(to) * bytes, source + static_cast<size_t>(from) * bytes,
                    static_cast<size_t>(count) * bytes);
        return;
    }
    for (int32_t i = 0; i < count; ++i) SetPackedPixel(target, to + i, bits, PackedPixel(source, from + i, bits));
}

Bitmap CropBitmap(const Bitmap& image, const Rect& part) {
    Bitmap crop = Bitmap::Blank(std::max(part.Width(), 0), std::max(part.Height(), 0), image.bitsPerPixel);
    crop.palette = image.palette;
    const int32_t left = std::max(part.left, 0), right = std::min(part.right, image.width);
    const int32_t top = std::max(part.top, 0), bottom = std::min(part.bottom, image.height);
    if (left >= right || top >= bottom) return crop;
    for (int32_t y = top; y < bottom; ++y)
        CopyPixels(image.Row(y), left, crop.Row(y - part.top), left - part.left, right - left, image.bitsPerPixel);
    return crop;
}

void PasteBitmap(Bitmap& image, const Bitmap& part, int32_t x, int32_t y) {
    if (part.bitsPerPixel != image.bitsPerPixel) return;
    const int32_t left = std::max(x, 0), right = std::min(x + part.width, image.width);
    const int32_t top = std::max(y, 0), bottom = std::min(y + part.height, image.height);
    for (int32_t row = top; row < bottom; ++row)
        CopyPixels(part.Row(row - y), left - x, image.Row(row), left, right - left, image.bitsPerPixel);
}

}  // namespace kadrilo
