// Move-only owners of Win32 handles, and the UTF-8/UTF-16 conversions at the
// boundary with the core.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <utility>

namespace kadrilo::win32 {

template <class Handle, class Closer>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle h) : handle_(h) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(std::exchange(other.handle_, Handle{}));
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Handle{}; }
    // For the out-parameter of an opening call; releases what was held.
    Handle* put() {
        reset();
        return &handle_;
    }
    void reset(Handle h = Handle{}) {
        if (handle_ != Handle{}) Closer{}(handle_);
        handle_ = h;
    }
    // Gives up ownership, e.g. once the system has taken the handle over.
    Handle release() { return std::exchange(handle_, Handle{}); }

private:
    Handle handle_{};
};

struct KeyCloser {
    void operator()(HKEY h) const { RegCloseKey(h); }
};
struct KernelCloser {
    void operator()(HANDLE h) const { CloseHandle(h); }
};
struct WindowDcCloser {
    void operator()(HDC h) const { ReleaseDC(nullptr, h); }
};
struct SidCloser {
    void operator()(PSID h) const { FreeSid(h); }
};
struct LocalCloser {
    void operator()(void* h) const { LocalFree(h); }
};
struct DcCloser {
    void operator()(HDC h) const { DeleteDC(h); }
};
struct GdiObjectCloser {
    void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
struct MenuCloser {
    void operator()(HMENU h) const { DestroyMenu(h); }
};

using UniqueKey = UniqueHandle<HKEY, KeyCloser>;
using UniqueKernelHandle = UniqueHandle<HANDLE, KernelCloser>;
using UniqueScreenDc = UniqueHandle<HDC, WindowDcCloser>;
using UniqueSid = UniqueHandle<PSID, SidCloser>;
using UniqueDc = UniqueHandle<HDC, DcCloser>;  // from CreateDC or CreateCompatibleDC
using UniqueBitmap = UniqueHandle<HBITMAP, GdiObjectCloser>;
using UniquePalette = UniqueHandle<HPALETTE, GdiObjectCloser>;
using UniqueFont = UniqueHandle<HFONT, GdiObjectCloser>;
using UniqueBrush = UniqueHandle<HBRUSH, GdiObjectCloser>;
using UniqueMenu = UniqueHandle<HMENU, MenuCloser>;

// BeginPaint and EndPaint of one WM_PAINT.
class PaintDc {
public:
    explicit PaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintDc() { EndPaint(window_, &paint_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// Runs a call when the scope ends: the second half of a paired call such as
// AttachThreadInput.
template <class Call>
class ScopeExit {
public:
    explicit ScopeExit(Call call) : call_(std::move(call)) {}
    ~ScopeExit() { call_(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    Call call_;
};

// Selects a GDI object into a device context for the lifetime of the scope and
// puts the previous one back at its end.
class ScopedSelectObject {
public:
    ScopedSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~ScopedSelectObject() {
        if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }
    ScopedSelectObject(const ScopedSelectObject&) = delete;
    ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;
    explicit operator bool() const { return previous_ && previous_ != HGDI_ERROR; }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// The same for a logical palette, which SelectObject does not take.
class ScopedSelectPalette {
public:
    ScopedSelectPalette(HDC dc, HPALETTE palette) : dc_(dc), previous_(SelectPalette(dc, palette, FALSE)) {}
    ~ScopedSelectPalette() {
        if (previous_) SelectPalette(dc_, previous_, FALSE);
    }
    ScopedSelectPalette(const ScopedSelectPalette&) = delete;
    ScopedSelectPalette& operator=(const ScopedSelectPalette&) = delete;

private:
    HDC dc_;
    HPALETTE previous_;
};

inline std::wstring Wide(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

inline std::string Utf8(std::wstring_view wide) {
    if (wide.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr,
                        nullptr);
    return out;
}

}  // namespace kadrilo::win32
