// The screen copy (with the cursor) and the clipboard.
#pragma once

#include <windows.h>

#include "platform/Ports.h"

namespace kadrilo::win32 {

class Screen : public ScreenPort {
public:
    Bitmap CaptureScreenRect(const Rect& rect, bool useCaptureBlt, bool includeCursor) override;
    std::optional<Rect> ForegroundWindowRect() override;
};

class Clipboard : public ClipboardPort {
public:
    // The clipboard's owner window.
    explicit Clipboard(const HWND& owner) : owner_(owner) {}
    bool PutBitmap(const Bitmap& image) override;
    bool PutText(const std::string& text) override;

private:
    const HWND& owner_;
};

}  // namespace kadrilo::win32
