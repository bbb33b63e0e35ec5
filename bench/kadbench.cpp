// kadbench.exe: times the steps of a full-screen shot, each on its own.
//
//   kadbench [repetitions] [folder]
//
// Copies the whole primary screen (the rectangle and the block copy a
// full-screen shot of kadrilio.exe uses, without the cursor), encodes that one
// copy as BMP, as JPEG at quality 75 and as PNG at zlib level 2 (the default
// compression, position 25), and writes each encoded file into the folder
// (default: the current one) the way an automatic save writes it. Every step
// runs once untimed, then `repetitions` times (default 15).
//
// Prints one line a measurement, key=value pairs separated by spaces, the
// median first:
//   screen width=1920 height=1080 bits=32 runs=15
//   capture_ms=21.30 min_ms=20.85
//   encode_bmp_ms=4.10 min_ms=3.95 bytes=8294454
//   write_bmp_ms=...
// Exit codes: 0 done, 1 a step failed, 2 usage error.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "output/Encoders.h"
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

int Run(int repetitions, const std::string& folder) {
    using namespace kadrilo;
    win32::Screen screen;
    win32::FileSystem files;
    const Rect whole{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};

    Bitmap image;
    const Timing capture = Measure(repetitions, [&] { image = screen.CaptureScreenRect(whole, true, false); });
    std::printf("screen width=%d height=%d bits=%d runs=%d\n", image.width, image.height, image.bitsPerPixel,
                repetitions);
    Report("capture", capture);

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
    if (argc > 3 || (argc > 1 && (repetitions = _wtoi(argv[1])) < 1)) {
        std::fprintf(stderr, "usage: kadbench [repetitions (1 or more)] [folder]\n");
        return 2;
    }
    if (argc > 2) folder = Utf8(argv[2]);
    try {
        return Run(repetitions, folder);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kadbench: %s\n", error.what());
        return 1;
    }
}
