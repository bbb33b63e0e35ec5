#include "win32/WindowBase.h"

namespace kadrilo::win32 {

void RegisterWindowClass(HINSTANCE instance, const WindowClass& cls, WNDPROC procedure) {
    WNDCLASSEXW description{};
    description.cbSize = sizeof description;
    description.style = cls.style;
    description.hInstance = instance;
    description.lpfnWndProc = procedure;
    description.hCursor = cls.cursor ? cls.cursor : LoadCursorW(nullptr, IDC_ARROW);
    description.hIcon = cls.icon;
    description.hbrBackground = cls.background;
    description.lpszClassName = cls.name;
    RegisterClassExW(&description);  // a second registration fails harmlessly
}

HWND WindowBase::CreateOf(HINSTANCE instance, const WindowClass& cls, DWORD exStyle, const wchar_t* title, DWORD style,
                          RECT bounds, HWND owner) {
    RegisterWindowClass(instance, cls, Procedure);
    CreateWindowExW(exStyle, cls.name, title, style, bounds.left, bounds.top, bounds.right - bounds.left,
                    bounds.bottom - bounds.top, owner, nullptr, instance, this);
    return window_;  // set at WM_NCCREATE; none when the window could not be made
}

LRESULT WindowBase::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) { return Default(message, wParam, lParam); }

LRESULT CALLBACK WindowBase::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<WindowBase*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    const LRESULT result = self->OnMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
    }
    return result;
}

}  // namespace kadrilo::win32
