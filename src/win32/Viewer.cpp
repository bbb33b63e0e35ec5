#include "win32/Viewer.h"

#include <algorithm>

#include "win32/DibInfo.h"
#include "win32/Handles.h"

namespace kadrilo::win32 {
namespace {

constexpr DWORD NormalStyle = WS_OVERLAPPEDWINDOW;
constexpr DWORD FullScreenStyle = WS_POPUP;
enum MenuCommand : UINT { ViewCommand = 1, CloseCommand };

}  // namespace

void DrawBitmap(HDC dc, const Bitmap& image, const Rect& at) {
    const DibInfo info = DibInfoOf(image);
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchDIBits(dc, at.left, at.top, at.Width(), at.Height(), 0, 0, image.width, image.height,
                  image.pixels.data(), info.get(), DIB_RGB_COLORS, SRCCOPY);
}

HWND Viewer::Create(HINSTANCE instance, HWND owner, TAppMainForm& form) {
    form_ = &form;
    const WindowClass cls{.name = L"TViewerForm",
                          .style = CS_DBLCLKS,
                          .background = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)),
                          .icon = LoadIconW(instance, L"MAINICON")};
    return CreateOf(instance, cls, 0, L"Kadrilo", NormalStyle, {0, 0, 1, 1}, owner);
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
    state_.Opened();
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
    state_.Opened();
    image_.reset();
}

void Viewer::ToFullScreen() {
    if (state_.FullScreen()) return;
    ShowWindow(window_, SW_HIDE);
    GetWindowRect(window_, &normalBounds_);
    state_.SetFullScreen(true);
    SetWindowLongPtrW(window_, GWL_STYLE, FullScreenStyle);
    SetWindowPos(window_, HWND_TOP, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                 SWP_FRAMECHANGED);
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
}

void Viewer::ToNormalView() {
    if (!state_.FullScreen()) return;
    ShowWindow(window_, SW_HIDE);
    SetWindowLongPtrW(window_, GWL_STYLE, NormalStyle);
    const RECT& r = normalBounds_;
    SetWindowPos(window_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_FRAMECHANGED);
    state_.SetFullScreen(false);
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
}

void Viewer::SetCaption() {
    SetWindowTextW(window_, Wide(std::string(ProgramCaption) + " - " + form_->LoadStrEx(600)).c_str());
}

void Viewer::ShowMenu(POINT at) {
    UniqueMenu menu(CreatePopupMenu());
    if (!menu) return;
    // The item of the view that is not showing stands in the menu; Esc closes.
    AppendMenuW(menu.get(), MF_STRING, ViewCommand,
                Wide(form_->LoadStrEx(state_.ViewMenuCaption()) + "\tAlt+Enter").c_str());
    AppendMenuW(menu.get(), MF_STRING, CloseCommand, Wide(form_->LoadStrEx(612) + "\tEsc").c_str());
    SetForegroundWindow(window_);
    const UINT command = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, window_, nullptr);
    PostMessageW(window_, WM_NULL, 0, 0);
    if (command == ViewCommand) ToggleView();
    if (command == CloseCommand) Close();
}

void Viewer::Paint() {
    const PaintDc paint(window_);
    HDC dc = paint.get();
    RECT client;
    GetClientRect(window_, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    if (image_) DrawBitmap(dc, *image_, PreviewPlacement(image_->width, image_->height, client.right, client.bottom));
}

LRESULT Viewer::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!form_) return Default(message, wParam, lParam);
    switch (message) {
        case WM_PAINT:
            Paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_SIZE:
            InvalidateRect(window_, nullptr, FALSE);
            if (!state_.FullScreen() && IsWindowVisible(window_)) GetWindowRect(window_, &normalBounds_);
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE) SetCaption();
            break;
        case WM_LBUTTONDBLCLK:
            ToggleView();
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
                ToggleView();
                return 0;
            }
            break;
        case WM_CLOSE:
            Close();
            return 0;
        default:
            break;
    }
    return Default(message, wParam, lParam);
}

}  // namespace kadrilo::win32
