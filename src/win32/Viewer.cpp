#include "win32/Viewer.h"

#include <algorithm>

#include "output/Preview.h"
#include "win32/Handles.h"

namespace kadrilo::win32 {
namespace {

constexpr DWORD NormalStyle = WS_OVERLAPPEDWINDOW;
constexpr DWORD FullScreenStyle = WS_POPUP;
enum MenuCommand : UINT { FullScreenCommand = 1, NormalViewCommand, CloseCommand };

}  // namespace

void DrawBitmap(HDC dc, const Bitmap& image, const Rect& at) {
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    } info{};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = image.width;
    info.header.biHeight = image.height;
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(image.bitsPerPixel);
    info.header.biCompression = BI_RGB;
    info.header.biClrUsed = static_cast<DWORD>(std::min<size_t>(image.palette.size(), 256));
    for (size_t i = 0; i < info.header.biClrUsed; ++i) {
        const uint32_t c = image.palette[i];
        info.colours[i] = RGBQUAD{static_cast<BYTE>(c), static_cast<BYTE>(c >> 8), static_cast<BYTE>(c >> 16), 0};
    }
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchDIBits(dc, at.left, at.top, at.Width(), at.Height(), 0, 0, image.width, image.height,
                  image.pixels.data(), reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, SRCCOPY);
}

HWND Viewer::Create(HINSTANCE instance, HWND owner, TAppMainForm& form) {
    form_ = &form;
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof cls;
    cls.style = CS_DBLCLKS;
    cls.hInstance = instance;
    cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    cls.hIcon = LoadIconW(instance, L"MAINICON");
    cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    cls.lpfnWndProc = WindowProc;
    cls.lpszClassName = ClassName;
    RegisterClassExW(&cls);
    window_ = CreateWindowExW(0, ClassName, L"Kadrilo", NormalStyle, 0, 0, 1, 1, owner, nullptr, instance, this);
    return window_;
}

void Viewer::Show(const Bitmap& image) {
    if (!window_ || image.Empty()) return;
    image_ = image;
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, NormalStyle, FALSE, 0);
    const Rect at = ViewerWindowRect(image.width, image.height, {work.left, work.top, work.right, work.bottom},
                                     GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                     frame.right - frame.left, frame.bottom - frame.top);
    SetWindowLongPtrW(window_, GWL_STYLE, NormalStyle);
    fullScreen_ = false;
    SetWindowPos(window_, nullptr, at.left, at.top, at.Width(), at.Height(), SWP_NOZORDER | SWP_FRAMECHANGED);
    SetCaption();
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    GetWindowRect(window_, &normalBounds_);
}

void Viewer::Close() {
    if (!window_) return;
    ShowWindow(window_, SW_HIDE);
    SetWindowLongPtrW(window_, GWL_STYLE, FullScreenStyle);
    SetWindowPos(window_, nullptr, 0, 0, 1, 1, SWP_NOZORDER | SWP_NOMOVE | SWP_FRAMECHANGED | SWP_NOACTIVATE);
    fullScreen_ = false;
    image_.reset();
}

void Viewer::ToFullScreen() {
    if (fullScreen_) return;
    ShowWindow(window_, SW_HIDE);
    GetWindowRect(window_, &normalBounds_);
    fullScreen_ = true;
    SetWindowLongPtrW(window_, GWL_STYLE, FullScreenStyle);
    SetWindowPos(window_, HWND_TOP, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                 SWP_FRAMECHANGED);
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
}

void Viewer::ToNormalView() {
    if (!fullScreen_) return;
    ShowWindow(window_, SW_HIDE);
    SetWindowLongPtrW(window_, GWL_STYLE, NormalStyle);
    const RECT& r = normalBounds_;
    SetWindowPos(window_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_FRAMECHANGED);
    fullScreen_ = false;
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
}

void Viewer::SetCaption() {
    SetWindowTextW(window_, Wide(std::string(ProgramCaption) + " - " + form_->LoadStrEx(600)).c_str());
}

void Viewer::ShowMenu(POINT at) {
    UniqueHandle<HMENU, decltype([](HMENU m) { DestroyMenu(m); })> menu(CreatePopupMenu());
    if (!menu) return;
    // The item of the view that is not showing stands in the menu; Esc closes.
    if (fullScreen_)
        AppendMenuW(menu.get(), MF_STRING, NormalViewCommand, Wide(form_->LoadStrEx(611) + "\tAlt+Enter").c_str());
    else
        AppendMenuW(menu.get(), MF_STRING, FullScreenCommand, Wide(form_->LoadStrEx(610) + "\tAlt+Enter").c_str());
    AppendMenuW(menu.get(), MF_STRING, CloseCommand, Wide(form_->LoadStrEx(612) + "\tEsc").c_str());
    SetForegroundWindow(window_);
    const UINT command = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, window_, nullptr);
    PostMessageW(window_, WM_NULL, 0, 0);
    if (command == FullScreenCommand) ToFullScreen();
    if (command == NormalViewCommand) ToNormalView();
    if (command == CloseCommand) Close();
}

void Viewer::Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    RECT client;
    GetClientRect(window_, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    if (image_) DrawBitmap(dc, *image_, PreviewPlacement(image_->width, image_->height, client.right, client.bottom));
    EndPaint(window_, &paint);
}

LRESULT CALLBACK Viewer::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        reinterpret_cast<Viewer*>(create->lpCreateParams)->window_ = window;
    }
    auto* viewer = reinterpret_cast<Viewer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!viewer || !viewer->form_) return DefWindowProcW(window, message, wParam, lParam);
    return viewer->Handle(message, wParam, lParam);
}

LRESULT Viewer::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            Paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_SIZE:
            InvalidateRect(window_, nullptr, FALSE);
            if (!fullScreen_ && IsWindowVisible(window_)) GetWindowRect(window_, &normalBounds_);
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE) SetCaption();
            break;
        case WM_LBUTTONDBLCLK:
            fullScreen_ ? ToNormalView() : ToFullScreen();
            return 0;
        case WM_CONTEXTMENU: {
            POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            if (at.x == -1 && at.y == -1) GetCursorPos(&at);
            ShowMenu(at);
            return 0;
        }
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) Close();
            return 0;
        case WM_SYSKEYDOWN:
            if (wParam == VK_RETURN) {  // Alt+Enter
                fullScreen_ ? ToNormalView() : ToFullScreen();
                return 0;
            }
            break;
        case WM_CLOSE:
            Close();
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace kadrilo::win32
