// The one place that describes a Bitmap to GDI: its BITMAPINFO with the colour
// table, and logical palettes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "platform/Bitmap.h"
#include "win32/Handles.h"

namespace kadrilo::win32 {

// A BITMAPINFO with room for the largest colour table (8 bits per pixel).
struct DibInfo {
    BITMAPINFOHEADER header{};
    RGBQUAD colours[256]{};

    BITMAPINFO* get() { return reinterpret_cast<BITMAPINFO*>(this); }
    const BITMAPINFO* get() const { return reinterpret_cast<const BITMAPINFO*>(this); }
};

// Rows bottom-up, BI_RGB, at the given size and depth, no colour table.
DibInfo DibInfoFor(int32_t width, int32_t height, int bitsPerPixel);
// The image's header and colour table.
DibInfo DibInfoOf(const Bitmap& image);

// A logical palette of colours given as 0x00RRGGBB (at most 256).
UniquePalette CreatePaletteOf(const std::vector<uint32_t>& colours);

}  // namespace kadrilo::win32
