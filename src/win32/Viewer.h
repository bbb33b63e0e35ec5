// The preview window: the held shot at full size, in a window or over the
// whole screen, with its context menu (Fullscreen / View normal / Close).
#pragma once

#include <windows.h>

#include <optional>

#include "app/AppMainForm.h"
#include "output/Preview.h"
#include "platform/Bitmap.h"
#include "win32/WindowBase.h"

namespace kadrilo::win32 {

// Draws an image into a rectangle of a device context, scaled with halftoning.
void DrawBitmap(HDC dc, const Bitmap& image, const Rect& at);

class Viewer : public WindowBase {
public:
    // Makes the (hidden) window.
    HWND Create(HINSTANCE instance, HWND owner, TAppMainForm& form);
    // Shows a copy of the image, sized and placed for it, in normal view.
    void Show(const Bitmap& image);
    void Close();
    bool Visible() const { return window_ && IsWindowVisible(window_); }

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint();
    void ToFullScreen();
    void ToNormalView();
    void ToggleView() { state_.FullScreen() ? ToNormalView() : ToFullScreen(); }
    void ShowMenu(POINT at);
    void SetCaption();

    TAppMainForm* form_ = nullptr;
    std::optional<Bitmap> image_;
    ViewerState state_;
    RECT normalBounds_{};
};

}  // namespace kadrilo::win32
