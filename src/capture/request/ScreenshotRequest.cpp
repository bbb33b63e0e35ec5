#include "capture/request/ScreenshotRequest.h"

#include <stdexcept>

namespace kadrilo {

Rect ScreenshotRequest::RectFor(int kind, const Rect& area) {
    switch (kind) {
        case ActiveWindowShot: {
            // Without a foreground window there is nothing to copy: the request
            // ends like any failed one.
            const std::optional<Rect> window = screen_.ForegroundWindowRect();
            if (!window) throw std::runtime_error("no foreground window");
            return *window;
        }
        case SelectedAreaShot:
            return area;
        default:
            return windows_.ScreenRect();
    }
}

Bitmap ScreenshotRequest::Capture(int kind, const Rect& area, bool useCaptureBlt, bool includeCursor) {
    return screen_.CaptureScreenRect(RectFor(kind, area), useCaptureBlt, includeCursor);
}

}  // namespace kadrilo
