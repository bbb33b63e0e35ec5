// One shape for the program's windows: a class registered once, `this` stored
// at WM_NCCREATE, and a short message switch in the derived class that calls
// named handlers.
#pragma once

#include <windows.h>

namespace kadrilo::win32 {

struct WindowClass {
    const wchar_t* name;
    UINT style = 0;
    HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    HICON icon = nullptr;
    HCURSOR cursor = nullptr;  // the arrow when none
};

// Registers a class whose window procedure is `procedure`; a second
// registration of the same class fails harmlessly.
void RegisterWindowClass(HINSTANCE instance, const WindowClass& cls, WNDPROC procedure);

class WindowBase {
public:
    WindowBase() = default;
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;
    virtual ~WindowBase() = default;

    HWND Handle() const { return window_; }

protected:
    // Registers the class (with the shared procedure) and makes the window.
    HWND CreateOf(HINSTANCE instance, const WindowClass& cls, DWORD exStyle, const wchar_t* title, DWORD style,
                  RECT bounds, HWND owner);
    // A message of this window; what DefWindowProc gives unless handled.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) {
        return DefWindowProcW(window_, message, wParam, lParam);
    }

    HWND window_ = nullptr;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

}  // namespace kadrilo::win32
