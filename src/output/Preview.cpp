#include "output/Preview.h"

#include <algorithm>

namespace kadrilo {

Rect PreviewPlacement(int32_t imageWidth, int32_t imageHeight, int32_t areaWidth, int32_t areaHeight) {
    if (imageWidth <= 0 || imageHeight <= 0 || areaWidth <= 0 || areaHeight <= 0) return {};
    int64_t width = imageWidth;
    int64_t height = imageHeight;
    if (!(imageWidth < areaWidth && imageHeight < areaHeight)) {
        // Scale by the tighter of the two ratios, in integers.
        if (int64_t{imageWidth} * areaHeight >= int64_t{imageHeight} * areaWidth) {
            width = areaWidth;
            height = std::max<int64_t>(1, int64_t{imageHeight} * areaWidth / imageWidth);
        } else {
            height = areaHeight;
            width = std::max<int64_t>(1, int64_t{imageWidth} * areaHeight / imageHeight);
        }
    }
    const auto left = static_cast<int32_t>((areaWidth - width) / 2);
    const auto top = static_cast<int32_t>((areaHeight - height) / 2);
    return {left, top, left + static_cast<int32_t>(width), top + static_cast<int32_t>(height)};
}

Rect ViewerWindowRect(int32_t imageWidth, int32_t imageHeight, const Rect& workArea, int32_t screenWidth,
                      int32_t screenHeight, int32_t frameWidth, int32_t frameHeight) {
    const int32_t height = imageHeight >= workArea.Height() ? workArea.Height() : imageHeight + frameHeight;
    const int32_t width = imageWidth >= workArea.Width() ? workArea.Width() : imageWidth + frameWidth;
    int32_t left = workArea.Width() / 2 - width / 2;
    int32_t top = workArea.Height() / 2 - height / 2;
    if (imageWidth == screenWidth && imageHeight == screenHeight) {
        left = workArea.left;
        top = workArea.top;
    }
    return {left, top, left + width, top + height};
}

}  // namespace kadrilo
