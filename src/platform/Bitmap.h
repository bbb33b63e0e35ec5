// A device-independent image: the layout GetDIBits delivers, so that writers
// are pure functions of it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kadrilo {

struct Bitmap {
    int32_t width = 0;
    int32_t height = 0;
    int bitsPerPixel = 32;  // 1, 4, 8, 16 (5-5-5), 24 (B, G, R) or 32 (B, G, R, unused)
    // Colour table entries as 0x00RRGGBB (the RGBQUAD layout), only for 1, 4 and
    // 8 bits per pixel.
    std::vector<uint32_t> palette;
    // Rows bottom-up, each padded to a multiple of 4 bytes.
    std::vector<uint8_t> pixels;

    static int32_t StrideFor(int32_t width, int bitsPerPixel) {
        return ((width * bitsPerPixel + 31) / 32) * 4;
    }
    int32_t Stride() const { return StrideFor(width, bitsPerPixel); }
    bool Empty() const { return width <= 0 || height <= 0; }

    // A bitmap of the given size and depth, all bytes zero (black).
    static Bitmap Blank(int32_t width, int32_t height, int bitsPerPixel) {
        Bitmap b;
        b.width = width;
        b.height = height;
        b.bitsPerPixel = bitsPerPixel;
        b.pixels.assign(static_cast<size_t>(StrideFor(width, bitsPerPixel)) * static_cast<size_t>(height), 0);
        return b;
    }
    // The row that is `y` pixels from the top.
    uint8_t* Row(int32_t y) { return pixels.data() + static_cast<size_t>(height - 1 - y) * Stride(); }
    const uint8_t* Row(int32_t y) const {
        return pixels.data() + static_cast<size_t>(height - 1 - y) * Stride();
    }
};

}  // namespace kadrilo
