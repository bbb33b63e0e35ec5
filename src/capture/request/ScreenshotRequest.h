// The shot request: which rectangle of the screen each kind of shot copies,
// and the copy itself. The selection overlay's model and the inscription live
// beside it.
#pragma once

#include "platform/Ports.h"

namespace kadrilo {

// The kinds of shot: 0 the whole primary screen, 1 the foreground window,
// 2 a selected area.
enum CaptureKinds : int { FullScreenShot = 0, ActiveWindowShot = 1, SelectedAreaShot = 2 };

class ScreenshotRequest {
public:
    ScreenshotRequest(ScreenPort& screen, WindowPort& windows) : screen_(screen), windows_(windows) {}

    // The rectangle a kind copies; `area` is the selected area of kind 2.
    // Throws std::runtime_error when there is none (no foreground window).
    Rect RectFor(int kind, const Rect& area);
    // Copies the rectangle of the kind at the display's depth. Throws
    // std::runtime_error when there is nothing to copy or the copy fails.
    Bitmap Capture(int kind, const Rect& area, bool useCaptureBlt, bool includeCursor);

private:
    ScreenPort& screen_;
    WindowPort& windows_;
};

}  // namespace kadrilo
