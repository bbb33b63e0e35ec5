#include "win32/Overlay.h"

#include <cstring>

#include "win32/DibInfo.h"

namespace kadrilo::win32 {
namespace {

enum MenuCommand : UINT { ApplyCommand = 1, CancelCommand };
constexpr UINT TakeForegroundMessage = WM_APP + 1;

HCURSOR SystemCursor(SelectionCursor cursor, HCURSOR rectCursor) {
    switch (cursor) {
        case SelectionCursor::SizeWestEast: return LoadCursorW(nullptr, IDC_SIZEWE);
        case SelectionCursor::SizeNorthSouth: return LoadCursorW(nullptr, IDC_SIZENS);
        case SelectionCursor::SizeNorthWestSouthEast: return LoadCursorW(nullptr, IDC_SIZENWSE);
        case SelectionCursor::SizeNorthEastSouthWest: return LoadCursorW(nullptr, IDC_SIZENESW);
        case SelectionCursor::SizeAll: return LoadCursorW(nullptr, IDC_SIZEALL);
        default: return rectCursor;
    }
}

// The frame's pixels: the rectangle's border, one pixel wide.
RECT FrameArea(const Rect& r) { return {r.left - 1, r.top - 1, r.right + 1, r.bottom + 1}; }

}  // namespace

HWND Overlay::Create(HINSTANCE instance, HWND owner, TAppMainForm& form) {
    form_ = &form;
    rectCursor_ = LoadCursorW(instance, L"RECT");
    if (!rectCursor_) rectCursor_ = LoadCursorW(nullptr, IDC_CROSS);
    const WindowClass cls{.name = ClassName,
                          .background = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)),
                          .icon = LoadIconW(instance, L"MAINICON"),
                          .cursor = rectCursor_};
    const RECT bounds{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return CreateOf(instance, cls, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, Wide(ProgramCaption).c_str(), WS_POPUP, bounds,
                    owner);
}

void Overlay::ShowOverlay() {
    const std::optional<Bitmap>& frozen = form_->FrozenScreen();
    if (!window_ || !frozen) return;
    ReleaseBuffers();
    const UniqueScreenDc screen(GetDC(nullptr));
    // The frozen screen as a section of its own, selected for the paints.
    const DibInfo info = DibInfoOf(*frozen);
    void* bits = nullptr;
    frozenBitmap_.reset(CreateDIBSection(screen.get(), info.get(), DIB_RGB_COLORS, &bits, nullptr, 0));
    frozenDc_.reset(CreateCompatibleDC(screen.get()));
    backBitmap_.reset(CreateCompatibleBitmap(screen.get(), frozen->width, frozen->height));
    backDc_.reset(CreateCompatibleDC(screen.get()));
    if (frozenBitmap_ && frozenDc_ && backBitmap_ && backDc_ && bits) {
        std::memcpy(bits, frozen->pixels.data(), frozen->pixels.size());
        frozenPrevious_ = SelectObject(frozenDc_.get(), frozenBitmap_.get());
        backPrevious_ = SelectObject(backDc_.get(), backBitmap_.get());
    } else {
        ReleaseBuffers();  // the paints draw the frozen screen straight from the core then
    }
    SetWindowPos(window_, HWND_TOPMOST, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                 SWP_SHOWWINDOW);
    UpdateWindow(window_);
    SetForegroundWindow(window_);
}

void Overlay::HideOverlay() {
    if (!window_) return;
    ShowWindow(window_, SW_HIDE);
    ReleaseBuffers();
}

void Overlay::ReleaseBuffers() {
    if (frozenDc_ && frozenPrevious_) SelectObject(frozenDc_.get(), frozenPrevious_);
    if (backDc_ && backPrevious_) SelectObject(backDc_.get(), backPrevious_);
    frozenPrevious_ = backPrevious_ = nullptr;
    frozenDc_.reset();
    frozenBitmap_.reset();
    backDc_.reset();
    backBitmap_.reset();
}

void Overlay::UpdateOverlay(const Rect& before, const Rect& after) {
    if (!OverlayVisible()) return;
    for (const Rect& r : {before, after}) {
        if (r.Width() < 0 || r.Height() < 0 || (r == Rect{})) continue;
        const RECT area = FrameArea(r);
        InvalidateRect(window_, &area, FALSE);
    }
    UpdateWindow(window_);
}

void Overlay::Paint() {
    const PaintDc paint(window_);
    RECT area{};
    GetClipBox(paint.get(), &area);
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (!backDc_ || !frozenDc_) {
        const std::optional<Bitmap>& frozen = form_->FrozenScreen();
        if (!frozen) {
            FillRect(paint.get(), &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            return;
        }
        const DibInfo info = DibInfoOf(*frozen);
        SetDIBitsToDevice(paint.get(), 0, 0, static_cast<DWORD>(frozen->width), static_cast<DWORD>(frozen->height), 0,
                          0, 0, static_cast<UINT>(frozen->height), frozen->pixels.data(), info.get(), DIB_RGB_COLORS);
        return;
    }
    BitBlt(backDc_.get(), area.left, area.top, width, height, frozenDc_.get(), area.left, area.top, SRCCOPY);
    if (const std::optional<Rect> frame = form_->Selection().Frame()) {
        // A dotted pen in "not" mode: the frame inverts what lies under it.
        UniqueHandle<HPEN, GdiObjectCloser> pen(CreatePen(PS_DOT, 1, RGB(0, 0, 0)));
        const ScopedSelectObject selectedPen(backDc_.get(), pen.get());
        const ScopedSelectObject selectedBrush(backDc_.get(), GetStockObject(NULL_BRUSH));
        const int previousMode = SetROP2(backDc_.get(), R2_NOT);
        const int previousBackground = SetBkMode(backDc_.get(), TRANSPARENT);
        Rectangle(backDc_.get(), frame->left, frame->top, frame->right, frame->bottom);
        SetBkMode(backDc_.get(), previousBackground);
        SetROP2(backDc_.get(), previousMode);
    }
    BitBlt(paint.get(), area.left, area.top, width, height, backDc_.get(), area.left, area.top, SRCCOPY);
}

bool Overlay::OnSetCursor() {
    POINT at{};
    GetCursorPos(&at);
    SetCursor(SystemCursor(form_->Selection().CursorAt(at.x, at.y), rectCursor_));
    return true;
}

void Overlay::ShowOverlayMenu() {
    UniqueMenu menu(CreatePopupMenu());
    if (!menu) return;
    const UINT applyState = form_->Selection().ApplyEnabled() ? MF_ENABLED : MF_GRAYED;
    AppendMenuW(menu.get(), MF_STRING | applyState, ApplyCommand, Wide(form_->LoadStrEx(750) + "\tEnter").c_str());
    AppendMenuW(menu.get(), MF_STRING, CancelCommand, Wide(form_->LoadStrEx(751) + "\tEsc").c_str());
    POINT at{};
    GetCursorPos(&at);
    SetForegroundWindow(window_);
    const UINT command = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, window_, nullptr);
    PostMessageW(window_, WM_NULL, 0, 0);
    if (command == ApplyCommand) form_->AllocationFormN1Click();
    if (command == CancelCommand) form_->AllocationFormN2Click();
}

bool Overlay::BringWindowToForeground() {
    if (!window_ || !IsWindow(window_)) return false;
    DWORD lockTimeout = 0;
    SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &lockTimeout, 0);
    SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, 0);
    const ScopeExit restoreTimeout([&] {
        SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, reinterpret_cast<void*>(static_cast<uintptr_t>(lockTimeout)), 0);
    });
    SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    const HWND foreground = GetForegroundWindow();
    const DWORD own = GetCurrentThreadId();
    const DWORD other = foreground ? GetWindowThreadProcessId(foreground, nullptr) : own;
    const DWORD start = GetTickCount();
    bool taken = false;
    while (!(taken = GetForegroundWindow() == window_) && GetTickCount() - start < ForegroundAttemptsMs) {
        const bool attached = other != own && AttachThreadInput(own, other, TRUE);
        SetForegroundWindow(window_);
        if (attached) AttachThreadInput(own, other, FALSE);
        if (GetForegroundWindow() != window_) Sleep(10);
    }
    SetWindowPos(window_, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return taken;
}

void Overlay::AppMessage(const MSG& message) {
    if (!form_ || !OverlayVisible()) return;
    using Mouse = TAppMainForm::OverlayMouse;
    Mouse event;
    switch (message.message) {
        case WM_MOUSEMOVE: event = Mouse::Move; break;
        case WM_LBUTTONDOWN: event = Mouse::LeftDown; break;
        case WM_LBUTTONUP: event = Mouse::LeftUp; break;
        case WM_RBUTTONDOWN: event = Mouse::RightDown; break;
        default: return;
    }
    POINT at{};
    GetCursorPos(&at);
    form_->AppMessage(event, at.x, at.y);
}

LRESULT Overlay::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!form_) return Default(message, wParam, lParam);
    switch (message) {
        case WM_PAINT:
            Paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT) return OnSetCursor();
            break;
        case WM_KEYDOWN:
            if (wParam == VK_RETURN) {
                form_->Selection().ApplyEnabled() ? form_->AllocationFormN1Click() : form_->AllocationFormKeyPress();
                return 0;
            }
            if (wParam == VK_ESCAPE) {
                form_->AllocationFormN2Click();
                return 0;
            }
            break;
        case WM_ACTIVATE:
            // Another window took the foreground: the overlay takes it back once
            // the change of the active window is complete.
            if (LOWORD(wParam) == WA_INACTIVE && OverlayVisible()) PostMessageW(window_, TakeForegroundMessage, 0, 0);
            break;
        case TakeForegroundMessage:
            // Taken back, or closed when that fails.
            if (OverlayVisible() && !takingForeground_ && GetForegroundWindow() != window_) {
                takingForeground_ = true;
                const bool taken = BringWindowToForeground();
                takingForeground_ = false;
                if (!taken && OverlayVisible()) form_->AllocationFormOnCloseQuery();
            }
            return 0;
        case WM_CLOSE:
            form_->AllocationFormOnCloseQuery();
            return 0;
        default:
            break;
    }
    return Default(message, wParam, lParam);
}

}  // namespace kadrilo::win32
