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

}  // namespace kadrilo
