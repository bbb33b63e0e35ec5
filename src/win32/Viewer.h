// The preview window: the held shot at full size, in a window or over the
// whole screen, with its context menu (Fullscreen / View normal / Close).
#pragma once

#include <windows.h>

#include <optional>

#include "app/AppMainForm.h"
#include "platform/Bitmap.h"

namespace kadrilo::win32 {

// Draws an image into a rectangle of a device context, scaled with halftoning.
void DrawBitmap(HDC dc, const Bitmap& image, const Rect& at);

class Viewer {
public:
    static constexpr wchar_t ClassName[] = L"TViewerForm";

    // Registers the window class and makes the (hidden) window.
    HWND Create(HINSTANCE instance, HWND owner, TAppMainForm& form);
    // Shows a copy of the image, sized and placed for it, in normal view.
    void Show(const Bitmap& image);
    void Close();
    bool Visible() const { return window_ && IsWindowVisible(window_); }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();
    void ToFullScreen();
    void ToNormalView();
    void ShowMenu(POINT at);
    void SetCaption();

    HWND window_ = nullptr;
    TAppMainForm* form_ = nullptr;
    std::optional<Bitmap> image_;
    bool fullScreen_ = false;
    RECT normalBounds_{};
};

}  // namespace kadrilo::win32
