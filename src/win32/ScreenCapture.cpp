// <windows.h> first: the header names HWND.
#include <windows.h>

#include "win32/ScreenCapture.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <vector>

#include "win32/DibInfo.h"
#include "win32/Handles.h"

namespace kadrilo::win32 {
namespace {

constexpr DWORD CaptureBltRop = SRCCOPY | CAPTUREBLT;  // 0x40CC0020: layered windows included

// ---- The block copy -----------------------------------------------------------

// The whole desktop across all monitors, in screen coordinates.
RECT VirtualScreen() {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

// The rows of one band of the copy: about 256 KiB. Under Wine a block copy from
// the screen is one image request to the X server, through buffers of the C
// heap, and a bitmap compatible with the display keeps its pixels in that heap
// too, which holds on to them after the bitmap is gone. One request into one
// such bitmap for a whole 1080p screen made a shot from key to file about twice
// as slow as 256 KiB bands through one small DIB section (1 MiB bands: half
// again as slow), and left 8 MiB in that heap after every shot. In bands the
// whole copy is also over sooner, so a change on the screen has less time to
// fall between two of them.
constexpr int64_t BandBytes = 1 << 18;

int32_t BandRows(int32_t width, int32_t height) {
    const int64_t rowBytes = std::max<int64_t>(1, int64_t{width} * 4);
    return static_cast<int32_t>(std::clamp<int64_t>(BandBytes / rowBytes, 1, height));
}

// ---- The cursor ---------------------------------------------------------------

struct CursorSnapshot {
    HCURSOR cursor = nullptr;  // borrowed, never destroyed; none when no cursor was found
    POINT position{};
};

// The cursor shown for the window under the pointer, also when that window
// belongs to another thread or program.
CursorSnapshot GetCursorSnapshot() {
    CursorSnapshot snapshot;
    if (!GetCursorPos(&snapshot.position)) return {};
    const HWND window = WindowFromPoint(snapshot.position);
    if (!IsWindow(window)) return {};
    const DWORD owner = GetWindowThreadProcessId(window, nullptr);
    const DWORD own = GetCurrentThreadId();
    if (owner == own) {
        snapshot.cursor = GetCursor();
        return snapshot;
    }
    if (!AttachThreadInput(own, owner, TRUE)) return {};
    const ScopeExit detach([&] { AttachThreadInput(own, owner, FALSE); });
    snapshot.cursor = GetCursor();
    return snapshot;
}

// A cursor to paint: the handle, its hotspot and its height in pixels.
struct CursorShape {
    HCURSOR cursor = nullptr;
    POINT hotspot{};
    int32_t height = 0;
};

// The hotspot and height of a cursor; none when it cannot be read.
std::optional<CursorShape> ShapeOf(HCURSOR cursor) {
    ICONINFO info{};
    if (!cursor || !GetIconInfo(cursor, &info)) return std::nullopt;
    const UniqueBitmap mask(info.hbmMask);  // handed out by GetIconInfo: ours to delete
    const UniqueBitmap color(info.hbmColor);
    BITMAP bits{};
    if (!GetObjectW(mask.get(), sizeof bits, &bits)) return std::nullopt;
    // A monochrome cursor's mask holds the AND mask above the XOR mask.
    const int32_t height = color ? bits.bmHeight : bits.bmHeight / 2;
    return CursorShape{cursor, {static_cast<LONG>(info.xHotspot), static_cast<LONG>(info.yHotspot)}, height};
}

// Draws the cursor with its hotspot at `position` (screen coordinates) onto a
// context whose origin is the top-left corner of `rect`. False when the cursor
// cannot be drawn.
bool DrawCursorAt(HDC dc, const CursorShape& shape, POINT position, const Rect& rect) {
    const int x = position.x - rect.left - shape.hotspot.x;
    const int y = position.y - rect.top - shape.hotspot.y;
    // A monochrome cursor is rendered with these two colours.
    SetBkColor(dc, RGB(255, 255, 255));
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    return DrawIconEx(dc, x, y, shape.cursor, 0, 0, 0, nullptr, DI_NORMAL) != FALSE;
}

// The standard arrow: a cursor handle of another program cannot be read or
// drawn under Wine (error 1402), and the arrow stands in for it.
std::optional<CursorShape> StandardArrow() {
    return ShapeOf(LoadCursorW(nullptr, IDC_ARROW));  // shared, never destroyed
}

// ---- Reading the pixels -------------------------------------------------------

// The display's colour depth as a bitmap depth GetDIBits can deliver.
int DisplayDepth(HDC display) {
    const int depth = GetDeviceCaps(display, BITSPIXEL) * GetDeviceCaps(display, PLANES);
    if (depth <= 1) return 1;
    if (depth <= 4) return 4;
    if (depth <= 8) return 8;
    if (depth <= 16) return 16;  // 15 and 16 alike: GetDIBits gives 5-5-5
    if (depth <= 24) return 24;
    return 32;
}

// A logical palette holding the system palette's entries; none on displays
// without a palette.
UniquePalette CreateSystemPalette(HDC display) {
    const int count = std::min(GetDeviceCaps(display, SIZEPALETTE), 256);
    if (count <= 0) return {};
    std::vector<PALETTEENTRY> entries(static_cast<size_t>(count));
    GetSystemPaletteEntries(display, 0, static_cast<UINT>(count), entries.data());
    std::vector<uint32_t> colours;
    for (const PALETTEENTRY& e : entries) colours.push_back(uint32_t{e.peRed} << 16 | uint32_t{e.peGreen} << 8 | e.peBlue);
    return CreatePaletteOf(colours);
}

// Copies one row of pixels. At 32 bits the fourth byte of a pixel is unused,
// but the block copy and an alpha-blended cursor leave values there that
// readers of a 32-bit BMP take for transparency: it is zeroed on the way, so
// that every copy has the same layout. A pixel at a time (the rows of 32-bit
// pixels have no padding), which the compiler turns into vector instructions.
void CopyRow(uint8_t* to, const uint8_t* from, size_t bytes, bool clearFourthBytes) {
    if (!clearFourthBytes) {
        std::memcpy(to, from, bytes);
        return;
    }
    for (size_t i = 0; i + 4 <= bytes; i += 4) {
        uint32_t pixel;
        std::memcpy(&pixel, from + i, 4);
        pixel &= 0x00FFFFFFu;  // little-endian: the fourth byte is the top one
        std::memcpy(to + i, &pixel, 4);
    }
}

// Copies the screen into an image a band at a time through one band bitmap,
// and paints the cursor into the rows it covers. From 16 bits on the band is a
// DIB section in the image's own layout, whose rows are copied as they are; at
// 8 bits or less it is a bitmap of the display's format, read with the system
// palette selected, so that the colour table holds the palette's colours.
class BandCopy {
public:
    BandCopy(HDC display, const Rect& rect, int bitsPerPixel)
        : display_(display),
          rect_(rect),
          image_(Bitmap::Blank(rect.Width(), rect.Height(), bitsPerPixel)),
          bandRows_(BandRows(rect.Width(), rect.Height())),
          info_(DibInfoFor(rect.Width(), bandRows_, bitsPerPixel)),
          memory_(CreateCompatibleDC(display)) {
        if (!memory_) throw std::runtime_error("Could not create a memory context");
        if (bitsPerPixel <= 8) {
            band_.reset(CreateCompatibleBitmap(display, rect.Width(), bandRows_));
            palette_ = CreateSystemPalette(display);
        } else {
            // Top-down, as the screen's rows come: the band needs no second
            // buffer on its way in.
            DibInfo topDown = info_;
            topDown.header.biHeight = -bandRows_;
            band_.reset(CreateDIBSection(display, topDown.get(), DIB_RGB_COLORS, &bandBits_, nullptr, 0));
        }
        if (!band_ || (bitsPerPixel > 8 && !bandBits_)) throw std::runtime_error("Could not create the screen copy");
    }

    // Every band from the screen; what lies off the screen is black. A block
    // copy that reaches past the screen would come back all black under Wine;
    // Windows gives black there anyway.
    void CopyScreen(DWORD rop) {
        const RECT wanted{rect_.left, rect_.top, rect_.right, rect_.bottom};
        const RECT screen = VirtualScreen();
        RECT part{};
        if (!IntersectRect(&part, &wanted, &screen)) part = RECT{};  // wholly off the screen: all black
        // A DIB section stays selected throughout; a bitmap is read unselected.
        std::optional<ScopedSelectObject> throughout;
        if (bandBits_) throughout.emplace(memory_.get(), band_.get());
        for (int32_t top = 0; top < rect_.Height(); top += bandRows_) {
            const int32_t rows = std::min(bandRows_, rect_.Height() - top);
            const RECT bandRect{rect_.left, rect_.top + top, rect_.right, rect_.top + top + rows};
            RECT onScreen{};
            IntersectRect(&onScreen, &bandRect, &part);
            {
                std::optional<ScopedSelectObject> forTheBand;
                if (!throughout) forTheBand.emplace(memory_.get(), band_.get());
                if (!(throughout ? *throughout : *forTheBand))
                    throw std::runtime_error("Could not select the screen copy");
                if (!EqualRect(&onScreen, &bandRect) && !PatBlt(memory_.get(), 0, 0, rect_.Width(), rows, BLACKNESS))
                    throw std::runtime_error("Could not clear the screen copy");
                if (!IsRectEmpty(&onScreen) &&
                    !BitBlt(memory_.get(), onScreen.left - bandRect.left, onScreen.top - bandRect.top,
                            onScreen.right - onScreen.left, onScreen.bottom - onScreen.top, display_,
                            onScreen.left, onScreen.top, rop))
                    throw std::runtime_error("Could not copy the screen");
            }
            ReadRows(top, rows);
        }
    }

    // Paints the cursor where it is now into the rows it covers: they go back
    // into the band bitmap, get the cursor and are read again.
    void DrawCursor() {
        const CursorSnapshot snapshot = GetCursorSnapshot();
        if (!snapshot.cursor) return;  // no cursor: left out
        std::optional<CursorShape> shape = ShapeOf(snapshot.cursor);
        if (!shape) shape = StandardArrow();
        if (!shape) return;  // failure: the shot goes without
        const int32_t cursorTop = snapshot.position.y - rect_.top - shape->hotspot.y;
        const int32_t first = std::max(0, cursorTop);
        const int32_t end = std::min(rect_.Height(), cursorTop + shape->height);
        for (int32_t top = first; top < end; top += bandRows_) {
            const int32_t rows = std::min(bandRows_, end - top);
            WriteRows(top, rows);
            {
                const ScopedSelectObject selected(memory_.get(), band_.get());
                if (!selected) return;
                const Rect bandRect{rect_.left, rect_.top + top, rect_.right, rect_.top + top + rows};
                if (!DrawCursorAt(memory_.get(), *shape, snapshot.position, bandRect)) {
                    const std::optional<CursorShape> arrow = StandardArrow();
                    if (!arrow || !DrawCursorAt(memory_.get(), *arrow, snapshot.position, bandRect)) return;
                    shape = arrow;
                }
            }
            ReadRows(top, rows);
        }
    }

    Bitmap Finish() {
        if (image_.bitsPerPixel <= 8) {
            image_.palette.resize(size_t{1} << image_.bitsPerPixel);
            std::memcpy(image_.palette.data(), info_.colours, image_.palette.size() * sizeof(RGBQUAD));
        }
        return std::move(image_);
    }

private:
    // The image's rows `top` .. `top + rows` (from the top): the band bitmap's
    // first rows, which a bottom-up read delivers from its line bandRows_ - rows.
    uint8_t* RowsAt(int32_t top, int32_t rows) { return image_.Row(top + rows - 1); }

    // Copies the band section's first `rows` rows (top-down) to the image's
    // rows from `top` (bottom-up), or back.
    void CopyBandRows(int32_t top, int32_t rows, bool intoImage) {
        const size_t stride = static_cast<size_t>(image_.Stride());
        GdiFlush();  // the copy and the cursor are in the section's memory
        for (int32_t y = 0; y < rows; ++y) {
            uint8_t* band = static_cast<uint8_t*>(bandBits_) + static_cast<size_t>(y) * stride;
            uint8_t* row = image_.Row(top + y);
            if (intoImage)
                CopyRow(row, band, stride, image_.bitsPerPixel == 32);
            else
                std::memcpy(band, row, stride);
        }
    }

    // Reads the band bitmap (selected into no context) into those rows.
    void ReadRows(int32_t top, int32_t rows) {
        if (bandBits_) return CopyBandRows(top, rows, true);
        const auto read = [&] {
            return GetDIBits(display_, band_.get(), static_cast<UINT>(bandRows_ - rows), static_cast<UINT>(rows),
                             RowsAt(top, rows), info_.get(), DIB_RGB_COLORS);
        };
        int lines = 0;
        if (palette_) {
            const ScopedSelectPalette selected(display_, palette_.get());
            RealizePalette(display_);
            lines = read();
        } else {
            lines = read();
        }
        if (lines != rows) throw std::runtime_error("Could not read the screen copy");
    }

    // Puts those rows of the image back into the band bitmap.
    void WriteRows(int32_t top, int32_t rows) {
        if (bandBits_) return CopyBandRows(top, rows, false);
        SetDIBits(display_, band_.get(), static_cast<UINT>(bandRows_ - rows), static_cast<UINT>(rows),
                  RowsAt(top, rows), info_.get(), DIB_RGB_COLORS);
    }

    HDC display_;
    Rect rect_;
    Bitmap image_;
    int32_t bandRows_;
    DibInfo info_;  // the band bitmap's layout; the colour table of the last read
    UniqueDc memory_;
    UniqueBitmap band_;
    void* bandBits_ = nullptr;  // the DIB section's rows, from 16 bits on
    UniquePalette palette_;
};

// ---- The clipboard ------------------------------------------------------------

// Another program may hold the clipboard for a moment.
struct GlobalCloser {
    void operator()(HGLOBAL h) const { GlobalFree(h); }
};
using UniqueGlobal = UniqueHandle<HGLOBAL, GlobalCloser>;

bool OpenClipboardPatiently(HWND owner) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (OpenClipboard(owner)) return true;
        Sleep(20);
    }
    return false;
}

// A bitmap in the screen's format with the image's pixels.
UniqueBitmap CreateDeviceBitmap(const Bitmap& image) {
    const DibInfo info = DibInfoOf(image);
    const UniqueScreenDc screen(GetDC(nullptr));
    if (!screen) return {};
    return UniqueBitmap(CreateDIBitmap(screen.get(), &info.header, CBM_INIT, image.pixels.data(), info.get(),
                                       DIB_RGB_COLORS));
}

// Hands the handle to the open clipboard; the clipboard owns it from then on.
template <class Owner>
bool HandOver(UINT format, Owner& handle) {
    if (!SetClipboardData(format, handle.get())) return false;
    handle.release();
    return true;
}

}  // namespace

Bitmap Screen::CaptureScreenRect(const Rect& rect, bool useCaptureBlt, bool includeCursor) {
    const int32_t width = rect.Width();
    const int32_t height = rect.Height();
    if (width <= 0 || height <= 0) throw std::runtime_error("The rectangle to copy is empty");

    const UniqueDc display(CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
    if (!display) throw std::runtime_error("Could not open the display");
    BandCopy copy(display.get(), rect, DisplayDepth(display.get()));
    copy.CopyScreen(useCaptureBlt ? CaptureBltRop : SRCCOPY);
    if (includeCursor) copy.DrawCursor();
    return copy.Finish();
}

std::optional<Rect> Screen::ForegroundWindowRect() {
    const HWND window = GetForegroundWindow();
    if (!window) return std::nullopt;
    RECT r{};
    if (!GetWindowRect(window, &r)) return std::nullopt;
    return Rect{r.left, r.top, r.right, r.bottom};
}

bool Clipboard::PutBitmap(const Bitmap& image) {
    if (image.Empty() || image.pixels.size() < static_cast<size_t>(image.Stride()) * image.height) return false;
    UniqueBitmap bitmap = CreateDeviceBitmap(image);
    if (!bitmap) return false;
    UniquePalette palette = image.palette.empty() ? UniquePalette() : CreatePaletteOf(image.palette);
    if (!image.palette.empty() && !palette) return false;

    if (!OpenClipboardPatiently(owner_)) return false;
    const bool done = EmptyClipboard() && HandOver(CF_BITMAP, bitmap) && (!palette || HandOver(CF_PALETTE, palette));
    CloseClipboard();
    return done;  // what the clipboard did not take, the owners delete
}

bool Clipboard::PutText(const std::string& text) {
    const std::wstring wide = Wide(text);
    const size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory) return false;
    void* data = GlobalLock(memory.get());
    if (!data) return false;
    memcpy(data, wide.c_str(), bytes);
    GlobalUnlock(memory.get());
    if (!OpenClipboardPatiently(owner_)) return false;
    const bool done = EmptyClipboard() && HandOver(CF_UNICODETEXT, memory);
    CloseClipboard();
    return done;
}

}  // namespace kadrilo::win32
