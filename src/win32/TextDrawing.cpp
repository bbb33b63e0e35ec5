#include "win32/TextDrawing.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "capture/BitmapParts.h"
#include "win32/DibInfo.h"
#include "win32/Handles.h"

namespace kadrilo::win32 {
namespace {

UniqueFont CreateTextFont(HDC dc, const TextFont& font) {
    LOGFONTW description{};
    description.lfHeight = -MulDiv(font.points, GetDeviceCaps(dc, LOGPIXELSY), 72);
    description.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    description.lfItalic = font.italic;
    description.lfUnderline = font.underline;
    description.lfStrikeOut = font.strikeOut;
    description.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(description.lfFaceName, Wide(font.face).c_str(), LF_FACESIZE);
    UniqueFont created(CreateFontIndirectW(&description));
    if (!created) throw std::runtime_error("Could not create the inscription's font");
    return created;
}

SIZE Extent(HDC dc, const std::wstring& text) {
    SIZE size{};
    if (!GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size))
        throw std::runtime_error("Could not measure the inscription");
    return size;
}

}  // namespace

TextExtent TextDrawing::MeasureText(const std::string& text, const TextFont& font) {
    const UniqueScreenDc screen(GetDC(nullptr));
    const UniqueDc dc(CreateCompatibleDC(screen.get()));
    if (!dc) throw std::runtime_error("Could not create a context to measure in");
    const UniqueFont created = CreateTextFont(dc.get(), font);
    const ScopedSelectObject selected(dc.get(), created.get());
    const SIZE size = Extent(dc.get(), Wide(text));
    return {size.cx, size.cy};
}

void TextDrawing::PaintText(Bitmap& image, int32_t x, int32_t y, const std::string& text, const TextFont& font,
                           Color color, std::optional<Color> background) {
    const std::wstring wide = Wide(text);
    const UniqueScreenDc screen(GetDC(nullptr));
    const UniqueDc dc(CreateCompatibleDC(screen.get()));
    if (!dc) throw std::runtime_error("Could not create a context to draw in");
    const UniqueFont created = CreateTextFont(dc.get(), font);
    SIZE size{};
    {
        const ScopedSelectObject selected(dc.get(), created.get());
        size = Extent(dc.get(), wide);
    }
    // Only the part of the text's box that lies on the image is drawn.
    const Rect box{std::max(x, 0), std::max(y, 0), std::min(x + static_cast<int32_t>(size.cx), image.width),
                   std::min(y + static_cast<int32_t>(size.cy), image.height)};
    if (box.Width() <= 0 || box.Height() <= 0) return;
    Bitmap part = CropBitmap(image, box);
    const DibInfo info = DibInfoOf(part);
    void* bits = nullptr;
    const UniqueBitmap section(CreateDIBSection(dc.get(), info.get(), DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!section || !bits) throw std::runtime_error("Could not create the inscription's box");
    std::memcpy(bits, part.pixels.data(), part.pixels.size());
    {
        const ScopedSelectObject selectedBitmap(dc.get(), section.get());
        const ScopedSelectObject selectedFont(dc.get(), created.get());
        SetTextColor(dc.get(), color & 0xFFFFFF);
        SetBkMode(dc.get(), background ? OPAQUE : TRANSPARENT);
        if (background) SetBkColor(dc.get(), *background & 0xFFFFFF);
        TextOutW(dc.get(), x - box.left, y - box.top, wide.c_str(), static_cast<int>(wide.size()));
        GdiFlush();
    }
    std::memcpy(part.pixels.data(), bits, part.pixels.size());
    // The fourth byte of a 32-bit pixel stays unused, as in every screen copy.
    if (part.bitsPerPixel == 32)
        for (size_t i = 3; i < part.pixels.size(); i += 4) part.pixels[i] = 0;
    PasteBitmap(image, part, box.left, box.top);
}

}  // namespace kadrilo::win32
