// Subcommands of the driver for the screenshot tests: a window with a known
// picture in a known place, key presses through SendInput, the pointer.
// See Driver.h.
#include "Driver.h"

#include <cwctype>
#include <initializer_list>

namespace kadtest {
namespace {

// ---------------------------------------------------------------- GDI
//
// The driver links user32 only; the few GDI functions the pattern and the
// cursor need are taken from gdi32.dll at run time.

template <typename Function>
bool Take(HMODULE module, const char* name, Function& function) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return function != nullptr;
}

struct Gdi {
    decltype(&::SetDIBitsToDevice) SetDIBitsToDevice = nullptr;
    decltype(&::GetObjectW) GetObjectW = nullptr;
    decltype(&::GetDIBits) GetDIBits = nullptr;
    decltype(&::DeleteObject) DeleteObject = nullptr;

    // The functions, or nullptr when gdi32.dll lacks one of them.
    static const Gdi* Load() {
        static Gdi gdi;
        static const bool complete = [] {
            HMODULE module = LoadLibraryW(L"gdi32.dll");
            return module && Take(module, "SetDIBitsToDevice", gdi.SetDIBitsToDevice) &&
                   Take(module, "GetObjectW", gdi.GetObjectW) &&
                   Take(module, "GetDIBits", gdi.GetDIBits) &&
                   Take(module, "DeleteObject", gdi.DeleteObject);
        }();
        return complete ? &gdi : nullptr;
    }
};

bool ParseInt(const std::wstring& text, int& value, int base = 10) {
    wchar_t* end = nullptr;
    long parsed = std::wcstol(text.c_str(), &end, base);
    if (text.empty() || *end != L'\0') return false;
    value = static_cast<int>(parsed);
    return true;
}

std::string Numbers(std::initializer_list<long> values) {
    std::string out = "[";
    for (long value : values) {
        if (out.size() > 1) out += ", ";
        out += std::to_string(value);
    }
    return out + "]";
}

// ---------------------------------------------------------------- pattern window
//
// The picture is a function of the position inside the window, so that a test
// can compute every pixel (tests/e2e/shots.py has the same function):
//   red   = 24 + x * 208 / (width - 1)       a gradient from left to right
//   green = 24 + y * 208 / (height - 1)      a gradient from top to bottom
//   blue  = 200 and 56 on alternate 32 x 32 squares of a checkerboard
// No pixel is pure black or white, so that every pixel of a cursor drawn over
// it changes the picture.

struct Pattern {
    int width = 0;
    int height = 0;
    std::vector<DWORD> pixels;  // 0x00RRGGBB, top-down rows
};
Pattern g_pattern;

void MakePattern(int width, int height) {
    g_pattern.width = width;
    g_pattern.height = height;
    g_pattern.pixels.resize(static_cast<size_t>(width) * height);
    int wspan = width > 1 ? width - 1 : 1;
    int hspan = height > 1 ? height - 1 : 1;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            DWORD red = 24 + x * 208 / wspan;
            DWORD green = 24 + y * 208 / hspan;
            DWORD blue = ((x / 32 + y / 32) % 2) ? 200 : 56;
            g_pattern.pixels[static_cast<size_t>(y) * width + x] = (red << 16) | (green << 8) | blue;
        }
    }
}

void PaintPattern(HDC dc) {
    const Gdi* gdi = Gdi::Load();
    if (!gdi) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = g_pattern.width;
    info.bmiHeader.biHeight = -g_pattern.height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    gdi->SetDIBitsToDevice(dc, 0, 0, g_pattern.width, g_pattern.height, 0, 0, 0, g_pattern.height,
                           g_pattern.pixels.data(), &info, DIB_RGB_COLORS);
}

LRESULT CALLBACK PatternProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_ERASEBKGND:
            return TRUE;  // WM_PAINT covers every pixel
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            PaintPattern(dc);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

// A topmost, active popup window (no frame: its window rectangle is exactly the
// one asked for) with the pattern. Prints "ready" once it is the foreground
// window with its rectangle, then stays until it is killed. Whether X shows the
// picture yet is for the test to see (tests/e2e/shots.py, show_pattern).
int PatternWindow(const Args& args, DWORD) {
    int x, y, width, height;
    if (!ParseInt(args[0], x) || !ParseInt(args[1], y) || !ParseInt(args[2], width) ||
        !ParseInt(args[3], height) || width <= 0 || height <= 0) {
        Complain(L"pattern-window: four integers, width and height above 0");
        return kExitUsage;
    }
    if (!Gdi::Load()) {
        Complain(L"pattern-window: gdi32 functions are missing");
        return kExitNotFound;
    }
    MakePattern(width, height);
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = PatternProc;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.lpszClassName = L"KadtestPattern";
    if (!RegisterClassExW(&window_class)) {
        Complain(L"cannot register the window class");
        return kExitNotFound;
    }
    HWND window = CreateWindowExW(WS_EX_TOPMOST, window_class.lpszClassName, L"Kadtest pattern",
                                  WS_POPUP, x, y, width, height, nullptr, nullptr,
                                  window_class.hInstance, nullptr);
    if (!window) {
        Complain(L"cannot create the pattern window");
        return kExitNotFound;
    }
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    UpdateWindow(window);
    bool active = PollFor(5000, [&] {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        return GetForegroundWindow() == window;
    });
    if (!active) {
        Complain(L"the pattern window did not become the foreground window");
        return kExitNotFound;
    }
    RECT rect{};
    GetWindowRect(window, &rect);
    if (rect.left != x || rect.top != y || rect.right != x + width || rect.bottom != y + height) {
        Complain(L"the pattern window did not get the rectangle asked for");
        return kExitNotFound;
    }
    PrintLine("ready");
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return kExitOk;
}

// ---------------------------------------------------------------- keys

struct KeyName {
    const wchar_t* name;
    WORD vk;
};

const KeyName kModifiers[] = {
    {L"ctrl", VK_CONTROL}, {L"control", VK_CONTROL}, {L"alt", VK_MENU},
    {L"shift", VK_SHIFT},  {L"win", VK_LWIN},
};

const KeyName kKeys[] = {
    {L"print", VK_SNAPSHOT}, {L"printscreen", VK_SNAPSHOT}, {L"snapshot", VK_SNAPSHOT},
    {L"enter", VK_RETURN},   {L"esc", VK_ESCAPE},           {L"escape", VK_ESCAPE},
    {L"space", VK_SPACE},    {L"tab", VK_TAB},
};

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

// "Print", "Alt+Print", "Ctrl+Shift+F5", "A", "0x2C": modifiers first, the key last.
bool ParseKeys(const std::wstring& keys, std::vector<WORD>& modifiers, WORD& key) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (;;) {
        size_t plus = keys.find(L'+', start);
        parts.push_back(Lower(keys.substr(start, plus == std::wstring::npos ? plus : plus - start)));
        if (plus == std::wstring::npos) break;
        start = plus + 1;
    }
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        WORD vk = 0;
        for (const KeyName& modifier : kModifiers)
            if (parts[i] == modifier.name) vk = modifier.vk;
        if (!vk) return false;
        modifiers.push_back(vk);
    }
    const std::wstring& last = parts.back();
    key = 0;
    for (const KeyName& name : kKeys)
        if (last == name.name) key = name.vk;
    if (!key && last.size() == 1 && std::iswalnum(last[0])) key = static_cast<WORD>(std::towupper(last[0]));
    if (!key && last.size() >= 2 && last[0] == L'f') {
        int number = 0;
        if (ParseInt(last.substr(1), number) && number >= 1 && number <= 24)
            key = static_cast<WORD>(VK_F1 + number - 1);
    }
    if (!key && last.starts_with(L"0x")) {
        int code = 0;
        if (ParseInt(last.substr(2), code, 16) && code > 0 && code < 256) key = static_cast<WORD>(code);
    }
    return key != 0;
}

INPUT KeyInput(WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    if (vk == VK_SNAPSHOT) input.ki.wScan = 0x37;  // E0 37 on a real keyboard
    bool extended = vk == VK_SNAPSHOT || (vk >= VK_PRIOR && vk <= VK_DOWN) || vk == VK_INSERT ||
                    vk == VK_DELETE || vk == VK_LWIN;
    input.ki.dwFlags = (extended ? KEYEVENTF_EXTENDEDKEY : 0) | (up ? KEYEVENTF_KEYUP : 0);
    return input;
}

// Presses the modifiers, presses and releases the key, releases the modifiers.
int SendKeys(const Args& args, DWORD) {
    std::vector<WORD> modifiers;
    WORD key = 0;
    if (!ParseKeys(args[0], modifiers, key)) {
        Complain(L"send-keys: unknown key in \"" + args[0] + L"\"");
        return kExitUsage;
    }
    std::vector<INPUT> inputs;
    for (WORD modifier : modifiers) inputs.push_back(KeyInput(modifier, false));
    inputs.push_back(KeyInput(key, false));
    inputs.push_back(KeyInput(key, true));
    for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) inputs.push_back(KeyInput(*it, true));
    UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    if (sent != inputs.size()) {
        Complain(L"SendInput took only part of the keys");
        return kExitNotFound;
    }
    return kExitOk;
}

// ---------------------------------------------------------------- pointer and windows

// Moves the pointer and waits until the system reports it there.
int CursorMove(const Args& args, DWORD timeout_ms) {
    int x, y;
    if (!ParseInt(args[0], x) || !ParseInt(args[1], y)) return kExitUsage;
    if (!SetCursorPos(x, y)) {
        Complain(L"SetCursorPos failed");
        return kExitNotFound;
    }
    POINT where{};
    bool there = PollFor(timeout_ms, [&] { return GetCursorPos(&where) && where.x == x && where.y == y; });
    PrintLine("{\"pos\": " + Numbers({where.x, where.y}) + "}");
    return there ? kExitOk : kExitNotFound;
}

// The standard arrow as this system draws it: its hotspot, its size and the
// bounding box of its visible pixels (left, top, right, bottom; right and
// bottom exclusive), all relative to its top-left corner.
int ArrowCursor(const Args&, DWORD) {
    const Gdi* gdi = Gdi::Load();
    HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    ICONINFO icon{};
    if (!gdi || !arrow || !GetIconInfo(arrow, &icon)) {
        Complain(L"cannot read the arrow cursor");
        return kExitNotFound;
    }
    BITMAP mask{};
    gdi->GetObjectW(icon.hbmMask, sizeof mask, &mask);
    int width = mask.bmWidth;
    int height = icon.hbmColor ? mask.bmHeight : mask.bmHeight / 2;  // AND over XOR when monochrome

    // Read the mask (and the colours) as 32-bit top-down rows.
    HDC screen = GetDC(nullptr);
    auto read = [&](HBITMAP bitmap, int rows) {
        std::vector<DWORD> pixels(static_cast<size_t>(width) * rows);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -rows;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        gdi->GetDIBits(screen, bitmap, 0, rows, pixels.data(), &info, DIB_RGB_COLORS);
        return pixels;
    };
    std::vector<DWORD> and_xor = read(icon.hbmMask, mask.bmHeight);
    std::vector<DWORD> colors = icon.hbmColor ? read(icon.hbmColor, height) : std::vector<DWORD>();
    ReleaseDC(nullptr, screen);
    bool has_alpha = false;
    for (DWORD pixel : colors) has_alpha = has_alpha || (pixel >> 24) != 0;

    long left = width, top = height, right = 0, bottom = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            size_t at = static_cast<size_t>(y) * width + x;
            bool transparent = (and_xor[at] & 0xFFFFFF) != 0;  // AND bit set
            bool visible;
            if (has_alpha) {
                visible = (colors[at] >> 24) != 0;
            } else if (icon.hbmColor) {
                visible = !transparent || (colors[at] & 0xFFFFFF) != 0;
            } else {
                bool inverts = (and_xor[static_cast<size_t>(y + height) * width + x] & 0xFFFFFF) != 0;
                visible = !transparent || inverts;
            }
            if (!visible) continue;
            left = std::min<long>(left, x);
            top = std::min<long>(top, y);
            right = std::max<long>(right, x + 1);
            bottom = std::max<long>(bottom, y + 1);
        }
    }
    gdi->DeleteObject(icon.hbmMask);
    if (icon.hbmColor) gdi->DeleteObject(icon.hbmColor);
    long hotspot_x = static_cast<long>(icon.xHotspot), hotspot_y = static_cast<long>(icon.yHotspot);
    PrintLine("{\"hotspot\": " + Numbers({hotspot_x, hotspot_y}) + ", \"size\": " +
              Numbers({width, height}) + ", \"visible\": " + Numbers({left, top, right, bottom}) +
              ", \"alpha\": " + Bool(has_alpha) + "}");
    return kExitOk;
}

// The foreground window: its handle, class and window rectangle.
int Foreground(const Args&, DWORD) {
    HWND window = GetForegroundWindow();
    if (!window) return kExitNotFound;
    RECT rect{};
    GetWindowRect(window, &rect);
    PrintLine("{\"hwnd\": " + Handle(window) + ", \"class\": " + JsonString(ClassOf(window)) +
              ", \"rect\": " + Numbers({rect.left, rect.top, rect.right, rect.bottom}) + "}");
    return kExitOk;
}

}  // namespace

std::vector<Command> ShotCommands() {
    return {
        {L"pattern-window", L"<x> <y> <width> <height>", 4, false, PatternWindow},
        {L"send-keys", L"<keys, e.g. Print or Alt+Print>", 1, false, SendKeys},
        {L"cursor-move", L"<x> <y> <timeout_ms>", 3, true, CursorMove},
        {L"arrow-cursor", L"", 0, false, ArrowCursor},
        {L"foreground", L"", 0, false, Foreground},
    };
}

}  // namespace kadtest
