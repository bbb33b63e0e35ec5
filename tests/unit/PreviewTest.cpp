#include <gtest/gtest.h>

#include "output/Preview.h"

namespace kadrilo {
namespace {

TEST(Preview, PlacementInThePreviewArea) {
    struct Case {
        int32_t width, height;
        Rect expected;
    };
    for (const Case& c : {Case{100, 50, {136, 103, 236, 153}},    // fits: own size, centred
                          Case{400, 100, {0, 81, 372, 174}},      // too wide: scaled down
                          Case{1024, 768, {15, 0, 356, 256}},     // the screen, height decides
                          Case{372, 10, {0, 123, 372, 133}},      // as wide as the area: scaled (to itself)
                          Case{5000, 1, {0, 127, 372, 128}},      // never thinner than a pixel
                          Case{0, 10, {}}}) {
        EXPECT_EQ(PreviewPlacement(c.width, c.height, 372, 256), c.expected) << c.width << "x" << c.height;
    }
}

TEST(Preview, WhereThePreviewWindowOpens) {
    const Rect workArea{0, 0, 1024, 738};  // a 30-pixel taskbar at the bottom
    struct Case {
        const char* name;
        int32_t width, height;
        Rect expected;
    };
    for (const Case& c : {Case{"small shot: client as large as the image", 200, 100, {404, 305, 620, 433}},
                          Case{"the whole screen: the work area, at its corner", 1024, 768, {0, 0, 1024, 738}},
                          Case{"taller than the work area", 300, 900, {354, 0, 670, 738}}}) {
        EXPECT_EQ(ViewerWindowRect(c.width, c.height, workArea, 1024, 768, 16, 28), c.expected) << c.name;
    }
}

}  // namespace
}  // namespace kadrilo
