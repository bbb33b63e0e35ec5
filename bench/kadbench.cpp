// kadbench.exe: times the steps of a full-screen shot, each on its own, and
// shows the bench's photo-like screen.
//
//   kadbench [repetitions] [folder]
//   kadbench photo
//
// Copies the whole primary screen (the rectangle and the copy a full-screen
// shot of kadrilio.exe uses, CAPTUREBLT included, without the cursor), then
// the same screen in the other ways a copy can be made (each compared with the
// first, pixel by pixel), encodes the first copy as BMP, as JPEG at quality 75
// and as PNG at zlib level 2 (the default compression, position 25), and
// writes each encoded file into the folder (default: the current one) the way
// an automatic save writes it. The first copies run untimed, as many as there
// are repetitions; every other step runs once untimed, then `repetitions`
// times (default 15).
//
// Prints one line a measurement, key=value pairs separated by spaces, the
// median first:
//   screen width=1920 height=1080 bits=32 runs=15
//   capture_ms=21.30 min_ms=20.85
//   capture_whole_compatible_ms=... min_ms=... differing=0
//   encode_bmp_ms=4.10 min_ms=3.95 bytes=8294454
//   write_bmp_ms=...
//
// `photo` opens a window over the whole screen with a picture of smooth colour
// and noise (the same every time) and keeps it until the process is ended.
// Exit codes: 0 done, 1 a step failed, 2 usage error.

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <cstdio>
#include <cwchar>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "output/Encoders.h"
#include "win32/DibInfo.h"
#include "win32/Handles.h"
#include "win32/ScreenCapture.h"
#include "win32/SystemPorts.h"

namespace {

constexpr int DefaultRepetitions = 15;
constexpr int DefaultCompressionPosition = 25;

double Milliseconds(LONGLONG ticks) {
    static const LONGLONG frequency = [] {
        LARGE_INTEGER f{};
        QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    return static_cast<double>(ticks) * 1000.0 / static_cast<double>(frequency);
}

LONGLONG Ticks() {
    LARGE_INTEGER t{};
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

struct Timing {
    double median = 0;
    double minimum = 0;
};

// Runs `step` once untimed, then `repetitions` times timed.
Timing Measure(int repetitions, const std::function<void()>& step) {
    step();
    std::vector<double> times;
    for (int i = 0; i < repetitions; ++i) {
        const LONGLONG start = Ticks();
        step();
        times.push_back(Milliseconds(Ticks() - start));
    }
    std::sort(times.begin(), times.end());
    const size_t middle = times.size() / 2;
    const double median = times.size() % 2 ? times[middle] : (times[middle - 1] + times[middle]) / 2;
    return {median, times.front()};
}

void Report(const char* name, const Timing& timing, size_t bytes = 0) {
    std::printf("%s_ms=%.2f min_ms=%.2f", name, timing.median, timing.minimum);
    if (bytes) std::printf(" bytes=%zu", bytes);
    std::printf("\n");
    std::fflush(stdout);
}

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr,
                        nullptr);
    return out;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (folder.back() == '\\' || folder.back() == '/') return folder + name;
    return folder + "\\" + name;
}

struct Format {
    const char* name;
    const char* extension;
    std::function<std::vector<uint8_t>(const kadrilo::Bitmap&)> encode;
};

// ---- The other ways to copy the screen ----------------------------------------

// A DIB section of the given layout (a negative height: rows top-down).
struct Section {
    kadrilo::win32::UniqueBitmap bitmap;
    void* bits = nullptr;
};

Section CreateSection(HDC dc, int32_t width, int32_t height, int bitsPerPixel) {
    kadrilo::win32::DibInfo info = kadrilo::win32::DibInfoFor(width, height, bitsPerPixel);
    Section section;
    section.bitmap.reset(CreateDIBSection(dc, info.get(), DIB_RGB_COLORS, &section.bits, nullptr, 0));
    if (!section.bitmap || !section.bits) throw std::runtime_error("could not create a DIB section");
    return section;
}

void Check(bool done, const char* what) {
    if (!done) throw std::runtime_error(what);
}

// One block copy of the whole screen into `target` (selected into `memory`), or
// one a band of `bandRows` at a time.
void CopyScreen(HDC display, HDC memory, int32_t width, int32_t height, DWORD rop, int32_t bandRows = 0) {
    if (bandRows <= 0) bandRows = height;
    for (int32_t top = 0; top < height; top += bandRows)
        Check(BitBlt(memory, 0, top, width, std::min(bandRows, height - top), display, 0, top, rop) != FALSE,
              "BitBlt failed");
    GdiFlush();
}

// The way a shot copied the screen before: a bitmap compatible with the
// display, one block copy, then GetDIBits.
kadrilo::Bitmap CopyWholeCompatible(int32_t width, int32_t height) {
    using namespace kadrilo::win32;
    const UniqueDc display(CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
    const UniqueDc memory(CreateCompatibleDC(display.get()));
    const UniqueBitmap bitmap(CreateCompatibleBitmap(display.get(), width, height));
    Check(display && memory && bitmap, "could not set up the copy");
    {
        const ScopedSelectObject selected(memory.get(), bitmap.get());
        CopyScreen(display.get(), memory.get(), width, height, SRCCOPY);
    }
    kadrilo::Bitmap image = kadrilo::Bitmap::Blank(width, height, 32);
    DibInfo info = DibInfoFor(width, height, 32);
    Check(GetDIBits(display.get(), bitmap.get(), 0, static_cast<UINT>(height), image.pixels.data(), info.get(),
                    DIB_RGB_COLORS) == height,
          "GetDIBits failed");
    return image;
}

// Straight into a DIB section, then its rows into the image (bottom-up).
kadrilo::Bitmap CopyIntoSection(int32_t width, int32_t height, int bitsPerPixel, bool topDown, DWORD rop,
                                int32_t bandRows) {
    using namespace kadrilo::win32;
    const UniqueDc display(CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
    const UniqueDc memory(CreateCompatibleDC(display.get()));
    Check(display && memory, "could not set up the copy");
    const Section section = CreateSection(display.get(), width, topDown ? -height : height, bitsPerPixel);
    {
        const ScopedSelectObject selected(memory.get(), section.bitmap.get());
        CopyScreen(display.get(), memory.get(), width, height, rop, bandRows);
    }
    kadrilo::Bitmap image = kadrilo::Bitmap::Blank(width, height, bitsPerPixel);
    const size_t stride = static_cast<size_t>(image.Stride());
    const auto* bits = static_cast<const uint8_t*>(section.bits);
    if (topDown) {
        for (int32_t y = 0; y < height; ++y) std::memcpy(image.Row(y), bits + y * stride, stride);
    } else {
        std::memcpy(image.pixels.data(), bits, image.pixels.size());
    }
    return image;
}

// Pixels whose colour differs (the fourth byte of 32-bit pixels left out);
// -1 when the layouts differ.
long long DifferingPixels(const kadrilo::Bitmap& a, const kadrilo::Bitmap& b) {
    if (a.width != b.width || a.height != b.height || a.bitsPerPixel != b.bitsPerPixel) return -1;
    const int bytes = a.bitsPerPixel / 8;
    if (bytes < 2) return a.pixels == b.pixels ? 0 : -1;
    const int compared = bytes == 4 ? 3 : bytes;
    long long count = 0;
    for (int32_t y = 0; y < a.height; ++y)
        for (int32_t x = 0; x < a.width; ++x)
            count += std::memcmp(a.Row(y) + x * bytes, b.Row(y) + x * bytes, static_cast<size_t>(compared)) != 0;
    return count;
}

// ---- The photo-like screen ------------------------------------------------------

// Smooth waves of colour with a little noise on every channel, as a photograph
// of a scene shows; rows top-down, B, G, R, unused.
std::vector<uint32_t> PhotoPixels(int32_t width, int32_t height) {
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
    uint32_t noise = 2463534242u;
    const auto next = [&] {
        noise ^= noise << 13, noise ^= noise >> 17, noise ^= noise << 5;
        return static_cast<int>(noise % 25) - 12;
    };
    const auto channel = [](double v) { return static_cast<uint32_t>(std::clamp(v, 0.0, 255.0)); };
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            const double u = static_cast<double>(x) / width, v = static_cast<double>(y) / height;
            const double r = 128 + 100 * std::sin(6.0 * u + 2.0 * v) + next();
            const double g = 120 + 90 * std::sin(4.0 * v - 3.0 * u + 1.0) + next();
            const double b = 110 + 80 * std::cos(5.0 * u * v + 3.0 * v) + next();
            pixels[static_cast<size_t>(y) * width + x] = channel(r) << 16 | channel(g) << 8 | channel(b);
        }
    return pixels;
}

struct PhotoWindow {
    kadrilo::win32::UniqueBitmap picture;
    HDC memory = nullptr;
};
PhotoWindow photo;

LRESULT CALLBACK PhotoProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint{};
            const HDC dc = BeginPaint(window, &paint);
            RECT client{};
            GetClientRect(window, &client);
            BitBlt(dc, 0, 0, client.right, client.bottom, photo.memory, 0, 0, SRCCOPY);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_ERASEBKGND: return 1;
        case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

int ShowPhoto() {
    const int32_t width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    const kadrilo::win32::UniqueScreenDc screen(GetDC(nullptr));
    Section section = CreateSection(screen.get(), width, -height, 32);
    const std::vector<uint32_t> pixels = PhotoPixels(width, height);
    std::memcpy(section.bits, pixels.data(), pixels.size() * sizeof(uint32_t));
    const kadrilo::win32::UniqueDc memory(CreateCompatibleDC(screen.get()));
    photo.picture = std::move(section.bitmap);
    photo.memory = memory.get();
    const kadrilo::win32::ScopedSelectObject selected(memory.get(), photo.picture.get());

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = PhotoProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = L"KadbenchPhoto";
    Check(RegisterClassExW(&windowClass) != 0, "could not register the photo window");
    const HWND window = CreateWindowExW(WS_EX_TOPMOST, L"KadbenchPhoto", L"kadbench photo", WS_POPUP | WS_VISIBLE, 0,
                                        0, width, height, nullptr, nullptr, windowClass.hInstance, nullptr);
    Check(window != nullptr, "could not open the photo window");
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return 0;
}

int Run(int repetitions, const std::string& folder) {
    using namespace kadrilo;
    win32::Screen screen;
    win32::FileSystem files;
    const Rect whole{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};

    Bitmap image;
    // The first copies of a process are slower than the later ones, which are
    // what a resident program's shots meet: a round of them goes untimed.
    for (int i = 0; i < repetitions; ++i) image = screen.CaptureScreenRect(whole, true, false);
    const Timing capture = Measure(repetitions, [&] { image = screen.CaptureScreenRect(whole, true, false); });
    std::printf("screen width=%d height=%d bits=%d runs=%d\n", image.width, image.height, image.bitsPerPixel,
                repetitions);
    Report("capture", capture);

    struct Variant {
        const char* name;
        std::function<Bitmap()> copy;
    };
    const int32_t width = whole.Width(), height = whole.Height();
    const int depth = image.bitsPerPixel;
    const Variant variants[] = {
        {"capture_without_captureblt", [&] { return screen.CaptureScreenRect(whole, false, false); }},
        {"capture_whole_compatible", [&] { return CopyWholeCompatible(width, height); }},
        {"capture_whole_dib32_topdown", [&] { return CopyIntoSection(width, height, 32, true, SRCCOPY, 0); }},
        {"capture_whole_dib_depth", [&] { return CopyIntoSection(width, height, depth, false, SRCCOPY, 0); }},
        {"capture_whole_dib_depth_captureblt",
         [&] { return CopyIntoSection(width, height, depth, false, SRCCOPY | CAPTUREBLT, 0); }},
        {"capture_bands_dib32", [&] { return CopyIntoSection(width, height, 32, false, SRCCOPY, 34); }},
    };
    for (const Variant& variant : variants) {
        Bitmap copy;
        const Timing timing = Measure(repetitions, [&] { copy = variant.copy(); });
        std::printf("%s_ms=%.2f min_ms=%.2f differing=%lld\n", variant.name, timing.median, timing.minimum,
                    DifferingPixels(image, copy));
        std::fflush(stdout);
    }

    const int quality = JpegQualityForPosition(DefaultCompressionPosition);
    const int level = PngLevelForPosition(DefaultCompressionPosition);
    std::printf("settings jpeg_quality=%d png_level=%d\n", quality, level);
    const Format formats[] = {
        {"bmp", "bmp", [](const Bitmap& b) { return EncodeBmp(b); }},
        {"jpeg", "jpg", [quality](const Bitmap& b) { return EncodeJpeg(b, quality); }},
        {"png", "png", [level](const Bitmap& b) { return EncodePng(b, level); }},
    };
    for (const Format& format : formats) {
        std::vector<uint8_t> bytes;
        const Timing encode = Measure(repetitions, [&] { bytes = format.encode(image); });
        Report((std::string("encode_") + format.name).c_str(), encode, bytes.size());
        const std::string path = JoinPath(folder, std::string("kadbench.") + format.extension);
        const Timing write = Measure(repetitions, [&] { files.WriteFile(path, bytes); });
        Report((std::string("write_") + format.name).c_str(), write, bytes.size());
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    int repetitions = DefaultRepetitions;
    std::string folder;
    const bool photoMode = argc == 2 && std::wstring(argv[1]) == L"photo";
    if (!photoMode && (argc > 3 || (argc > 1 && (repetitions = _wtoi(argv[1])) < 1))) {
        std::fprintf(stderr, "usage: kadbench [repetitions (1 or more)] [folder] | kadbench photo\n");
        return 2;
    }
    if (argc > 2) folder = Utf8(argv[2]);
    try {
        if (photoMode) return ShowPhoto();
        return Run(repetitions, folder);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kadbench: %s\n", error.what());
        return 1;
    }
}
