// <windows.h> first: the header names HWND.
#include <windows.h>

#include "win32/ScreenCapture.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
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

// The rows of one block copy: about 1 MiB of pixels at 32 bits. Under Wine a
// block copy from the screen becomes one image request to the X server; one
// request for a whole 1080p screen took three to four times as long as the same
// pixels in 1 MiB bands, and the X library's 8 MiB buffer for it stayed in the
// process's C heap after the shot. In bands the whole copy is over sooner, so a
// change on the screen has less time to fall between two of them.
constexpr int64_t BandBytes = 1 << 20;

int32_t BandRows(int32_t width) {
    const int64_t rowBytes = std::max<int64_t>(1, int64_t{width} * 4);
    return static_cast<int32_t>(std::max<int64_t>(1, BandBytes / rowBytes));
}

// Copies the part of `rect` that lies on the screen to the matching place of the
// memory context; what lies off the screen is black. A block copy that reaches
// past the screen would come back all black under Wine; Windows gives black
// there anyway.
void CopyScreenPart(HDC display, HDC memory, const Rect& rect, DWORD rop) {
    const RECT wanted{rect.left, rect.top, rect.right, rect.bottom};
    const RECT screen = VirtualScreen();
    RECT part{};
    const bool onScreen = IntersectRect(&part, &wanted, &screen) != FALSE;
    if (!onScreen || !EqualRect(&part, &wanted)) {
        if (!PatBlt(memory, 0, 0, rect.Width(), rect.Height(), BLACKNESS))
            throw std::runtime_error("Could not clear the screen copy");
        if (!onScreen) return;  // wholly off the screen: all black
    }
    const int32_t width = part.right - part.left;
    const int32_t band = BandRows(width);
    for (int32_t top = part.top; top < part.bottom; top += band) {
        const int32_t rows = std::min(band, static_cast<int32_t>(part.bottom - top));
        if (!BitBlt(memory, part.left - rect.left, top - rect.top, width, rows, display, part.left, top, rop))
            throw std::runtime_error("Could not copy the screen");
    }
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

// Draws the cursor with its hotspot at `position` (screen coordinates) onto a
// context whose origin is the top-left corner of `rect`. False when the cursor
// cannot be read or drawn.
bool DrawCursorAt(HDC dc, HCURSOR cursor, POINT position, const Rect& rect) {
    ICONINFO info{};
    if (!GetIconInfo(cursor, &info)) return false;
    const UniqueBitmap mask(info.hbmMask);  // handed out by GetIconInfo: ours to delete
    const UniqueBitmap color(info.hbmColor);
    const int x = position.x - rect.left - static_cast<int>(info.xHotspot);
    const int y = position.y - rect.top - static_cast<int>(info.yHotspot);
    // A monochrome cursor is rendered with these two colours.
    SetBkColor(dc, RGB(255, 255, 255));
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    return DrawIconEx(dc, x, y, cursor, 0, 0, 0, nullptr, DI_NORMAL) != FALSE;
}

// Paints the cursor into the copy of `rect`. A cursor handle of another program
// cannot be drawn under Wine (error 1402); the standard arrow stands in for it.
void DrawCursor(HDC dc, const Rect& rect) {
    const CursorSnapshot snapshot = GetCursorSnapshot();
    if (!snapshot.cursor) return;  // no cursor: left out
    if (DrawCursorAt(dc, snapshot.cursor, snapshot.position, rect)) return;
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);  // shared, never destroyed
    if (arrow) DrawCursorAt(dc, arrow, snapshot.position, rect);  // failure: the shot goes without
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

// At 32 bits the fourth byte of a pixel is unused, but the block copy and an
// alpha-blended cursor leave values there that readers of a 32-bit BMP take
// for transparency. Zero it, so that every copy has the same layout.
void ClearUnusedBytes(Bitmap& image) {
    // Whole pixels at a time (the rows of 32-bit pixels have no padding), which
    // the compiler turns into vector instructions.
    uint8_t* bytes = image.pixels.data();
    const size_t count = image.pixels.size() / 4;
    for (size_t i = 0; i < count; ++i) {
        uint32_t pixel;
        std::memcpy(&pixel, bytes + 4 * i, 4);
        pixel &= 0x00FFFFFFu;  // little-endian: the fourth byte is the top one
        std::memcpy(bytes + 4 * i, &pixel, 4);
    }
}

// Reads a bitmap that is selected into no context. At 8 bits or less the
// system palette is selected first, so that the colour table holds its colours.
Bitmap ReadPixels(HDC dc, HBITMAP bitmap, int32_t width, int32_t height, int bitsPerPixel) {
    Bitmap image = Bitmap::Blank(width, height, bitsPerPixel);
    DibInfo info = DibInfoFor(width, height, bitsPerPixel);
    const UniquePalette palette = bitsPerPixel <= 8 ? CreateSystemPalette(dc) : UniquePalette();
    const auto read = [&] {
        return GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), image.pixels.data(), info.get(), DIB_RGB_COLORS);
    };
    int lines = 0;
    if (palette) {
        const ScopedSelectPalette selected(dc, palette.get());
        RealizePalette(dc);
        lines = read();
    } else {
        lines = read();
    }
    if (lines != height) throw std::runtime_error("Could not read the screen copy");
    if (bitsPerPixel == 32) ClearUnusedBytes(image);
    if (bitsPerPixel <= 8) {
        image.palette.resize(size_t{1} << bitsPerPixel);
        std::memcpy(image.palette.data(), info.colours, image.palette.size() * sizeof(RGBQUAD));
    }
    return image;
}

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
    const UniqueDc memory(CreateCompatibleDC(display.get()));
    if (!memory) throw std::runtime_error("Could not create a memory context");
    const UniqueBitmap bitmap(CreateCompatibleBitmap(display.get(), width, height));
    if (!bitmap) throw std::runtime_error("Could not create the screen copy");
    {
        const ScopedSelectObject selected(memory.get(), bitmap.get());
        if (!selected) throw std::runtime_error("Could not select the screen copy");
        CopyScreenPart(display.get(), memory.get(), rect, useCaptureBlt ? CaptureBltRop : SRCCOPY);
        if (includeCursor) DrawCursor(memory.get(), rect);
    }
    return ReadPixels(display.get(), bitmap.get(), width, height, DisplayDepth(display.get()));
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
