#include "win32/DibInfo.h"

#include <algorithm>
#include <cstring>

namespace kadrilo::win32 {

DibInfo DibInfoFor(int32_t width, int32_t height, int bitsPerPixel) {
    DibInfo info;
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = height;  // positive: rows bottom-up
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(bitsPerPixel);
    info.header.biCompression = BI_RGB;
    return info;
}

DibInfo DibInfoOf(const Bitmap& image) {
    DibInfo info = DibInfoFor(image.width, image.height, image.bitsPerPixel);
    const size_t colours = std::min<size_t>(image.palette.size(), 256);
    info.header.biClrUsed = static_cast<DWORD>(colours);
    // The palette's 0x00RRGGBB entries are RGBQUADs as they lie in memory.
    if (colours) std::memcpy(info.colours, image.palette.data(), colours * sizeof(RGBQUAD));
    return info;
}

UniquePalette CreatePaletteOf(const std::vector<uint32_t>& colours) {
    const size_t count = std::min<size_t>(colours.size(), 256);
    std::vector<BYTE> block(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * count);
    auto* palette = reinterpret_cast<LOGPALETTE*>(block.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = static_cast<WORD>(count);
    for (size_t i = 0; i < count; ++i) {
        const uint32_t rgb = colours[i];
        palette->palPalEntry[i] = {static_cast<BYTE>(rgb >> 16), static_cast<BYTE>(rgb >> 8), static_cast<BYTE>(rgb), 0};
    }
    return UniquePalette(CreatePalette(palette));
}

}  // namespace kadrilo::win32
