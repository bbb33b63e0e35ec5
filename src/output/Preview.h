// Where the held image is drawn in the preview: at its own size when it fits
// both ways, else scaled down to fit with its proportions kept; centred.
#pragma once

#include "platform/Types.h"

namespace kadrilo {

Rect PreviewPlacement(int32_t imageWidth, int32_t imageHeight, int32_t areaWidth, int32_t areaHeight);

// Where the preview window opens: its client area as large as the image, but
// no larger than the work area; centred in the work area's size; a shot of
// the whole screen starts at the work area's corner. frameWidth and
// frameHeight are what the window's border adds to its client area.
Rect ViewerWindowRect(int32_t imageWidth, int32_t imageHeight, const Rect& workArea, int32_t screenWidth,
                      int32_t screenHeight, int32_t frameWidth, int32_t frameHeight);

// The preview window's view: in a window or over the whole screen. Its menu
// offers the view that is not showing.
class ViewerState {
public:
    bool FullScreen() const { return fullScreen_; }
    // Every opening starts in the window.
    void Opened() { fullScreen_ = false; }
    void Toggle() { fullScreen_ = !fullScreen_; }
    void SetFullScreen(bool on) { fullScreen_ = on; }
    // The string id of the menu's view item: "View normal" or "Fullscreen".
    int ViewMenuCaption() const { return fullScreen_ ? 611 : 610; }

private:
    bool fullScreen_ = false;
};

}  // namespace kadrilo
