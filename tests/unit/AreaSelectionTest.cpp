#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "capture/selection/AreaSelection.h"

namespace kadrilo {
namespace {

using Zone = SelectionZone;
using Cursor = SelectionCursor;

constexpr int32_t kOverlayWidth = 800;
constexpr int32_t kOverlayHeight = 600;

// S at left 100, top 50, 40 x 30: right 140 and bottom 80 are exclusive.
constexpr Rect kS{100, 50, 140, 80};

// A selection whose S was dragged out from (r.left, r.top) to (r.right, r.bottom).
AreaSelection Drawn(const Rect& r) {
    AreaSelection selection(kOverlayWidth, kOverlayHeight);
    selection.MouseDown(r.left, r.top);
    selection.MouseMove(r.right, r.bottom);
    selection.MouseUp();
    return selection;
}

// The pointer comes to (x, y) and presses there.
void HoverAndPress(AreaSelection& selection, int32_t x, int32_t y) {
    selection.MouseMove(x, y);
    selection.MouseDown(x, y);
}

// ---- The hover test -------------------------------------------------------------

struct HitCase {
    const char* name;
    Rect bounds;
    int32_t x;
    int32_t y;
    Zone zone;
    Cursor shown;  // the cursor over a visible S with these bounds
};

void PrintTo(const HitCase& c, std::ostream* os) { *os << c.name; }

class AreaSelectionHitTest : public ::testing::TestWithParam<HitCase> {};

TEST_P(AreaSelectionHitTest, ZoneAndCursorAtThePointer) {
    const HitCase& c = GetParam();
    EXPECT_EQ(HitTestZone(c.bounds, c.x, c.y), c.zone);
    const AreaSelection selection = Drawn(c.bounds);
    ASSERT_EQ(selection.Frame(), c.bounds);
    EXPECT_EQ(selection.CursorAt(c.x, c.y), c.shown);
}

constexpr Cursor kWE = Cursor::SizeWestEast;
constexpr Cursor kNS = Cursor::SizeNorthSouth;
constexpr Cursor kNWSE = Cursor::SizeNorthWestSouthEast;
constexpr Cursor kNESW = Cursor::SizeNorthEastSouthWest;
constexpr Cursor kAll = Cursor::SizeAll;
constexpr Cursor kCross = Cursor::Crosshair;

// Around kS: the left band is x 99..102, the right band x 137 and on, the top
// band y 49..52, the bottom band y 77 and on; the inner zone x 103..136, y 53..76.
// Outside S's bounds a zone is found, but the crosshair shows.
INSTANTIATE_TEST_SUITE_P(
    AroundARectangle, AreaSelectionHitTest,
    ::testing::Values(
        // Left edge.
        HitCase{"LeftEdgeOnePixelOutside", kS, 99, 65, Zone::LeftEdge, kCross},
        HitCase{"LeftEdgeFirstColumn", kS, 100, 65, Zone::LeftEdge, kWE},
        HitCase{"LeftEdgeLastColumn", kS, 102, 65, Zone::LeftEdge, kWE},
        HitCase{"LeftEdgeTwoPixelsOutsideIsNoZone", kS, 98, 65, Zone::None, kCross},
        HitCase{"LeftEdgeTopmostRow", kS, 100, 53, Zone::LeftEdge, kWE},
        HitCase{"LeftEdgeBottommostRow", kS, 100, 76, Zone::LeftEdge, kWE},
        // Right edge, no outer bound.
        HitCase{"RightEdgeFirstColumn", kS, 137, 65, Zone::RightEdge, kWE},
        HitCase{"RightEdgeLastColumnOfS", kS, 139, 65, Zone::RightEdge, kWE},
        HitCase{"RightEdgeJustOutside", kS, 140, 65, Zone::RightEdge, kCross},
        HitCase{"RightEdgeFarOutside", kS, 700, 65, Zone::RightEdge, kCross},
        // Top edge.
        HitCase{"TopEdgeOnePixelAbove", kS, 120, 49, Zone::TopEdge, kCross},
        HitCase{"TopEdgeFirstRow", kS, 120, 50, Zone::TopEdge, kNS},
        HitCase{"TopEdgeLastRow", kS, 120, 52, Zone::TopEdge, kNS},
        HitCase{"TopEdgeTwoPixelsAboveIsNoZone", kS, 120, 48, Zone::None, kCross},
        HitCase{"TopEdgeLeftmostColumn", kS, 103, 50, Zone::TopEdge, kNS},
        HitCase{"TopEdgeRightmostColumn", kS, 136, 50, Zone::TopEdge, kNS},
        // Bottom edge, no outer bound.
        HitCase{"BottomEdgeFirstRow", kS, 120, 77, Zone::BottomEdge, kNS},
        HitCase{"BottomEdgeLastRowOfS", kS, 120, 79, Zone::BottomEdge, kNS},
        HitCase{"BottomEdgeJustBelow", kS, 120, 80, Zone::BottomEdge, kCross},
        HitCase{"BottomEdgeFarBelow", kS, 120, 590, Zone::BottomEdge, kCross},
        // Corners.
        HitCase{"TopLeftOuterPixel", kS, 99, 49, Zone::TopLeft, kCross},
        HitCase{"TopLeftFirstPixel", kS, 100, 50, Zone::TopLeft, kNWSE},
        HitCase{"TopLeftLastPixel", kS, 102, 52, Zone::TopLeft, kNWSE},
        HitCase{"TopLeftDiagonallyOutsideIsNoZone", kS, 98, 48, Zone::None, kCross},
        HitCase{"TopLeftBesideTheTopEdge", kS, 102, 50, Zone::TopLeft, kNWSE},
        HitCase{"TopRightFirstPixel", kS, 137, 50, Zone::TopRight, kNESW},
        HitCase{"TopRightLastPixel", kS, 139, 52, Zone::TopRight, kNESW},
        HitCase{"TopRightOnePixelAbove", kS, 139, 49, Zone::TopRight, kCross},
        HitCase{"TopRightTwoPixelsAboveIsNoZone", kS, 139, 48, Zone::None, kCross},
        HitCase{"BottomLeftFirstPixel", kS, 100, 77, Zone::BottomLeft, kNESW},
        HitCase{"BottomLeftLastPixel", kS, 102, 79, Zone::BottomLeft, kNESW},
        HitCase{"BottomLeftTwoPixelsLeftIsNoZone", kS, 98, 79, Zone::None, kCross},
        HitCase{"BottomRightFirstPixel", kS, 137, 77, Zone::BottomRight, kNWSE},
        HitCase{"BottomRightLastPixel", kS, 139, 79, Zone::BottomRight, kNWSE},
        HitCase{"BottomRightFarOutside", kS, 790, 590, Zone::BottomRight, kCross},
        // Inner zone.
        HitCase{"InnerFirstPixel", kS, 103, 53, Zone::Inner, kAll},
        HitCase{"InnerLastPixel", kS, 136, 76, Zone::Inner, kAll},
        HitCase{"FarAboveAndLeftIsNoZone", kS, 0, 0, Zone::None, kCross},
        // S four pixels wide: the right band covers three of its columns and,
        // tested later, wins over the left band where they overlap.
        HitCase{"NarrowLeftColumnIsTheLeftEdge", {100, 50, 104, 80}, 100, 65, Zone::LeftEdge, kWE},
        HitCase{"NarrowSecondColumnIsTheRightEdge", {100, 50, 104, 80}, 101, 65, Zone::RightEdge, kWE},
        HitCase{"NarrowTopLeftPixelIsTheTopLeft", {100, 50, 104, 80}, 100, 50, Zone::TopLeft, kNWSE},
        HitCase{"NarrowSecondTopPixelIsTheTopRight", {100, 50, 104, 80}, 101, 50, Zone::TopRight, kNESW},
        // S 2 x 2: every pixel is the bottom-right corner, the last test.
        HitCase{"TinyTopLeftPixel", {100, 50, 102, 52}, 100, 50, Zone::BottomRight, kNWSE}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AreaSelectionHitTestZone, EveryPixelWithinTheBoundsFallsIntoAZone) {
    const std::vector<Rect> shapes = {
        {10, 10, 12, 12}, {10, 10, 13, 13}, {10, 10, 14, 19}, {10, 10, 17, 15},
        {10, 10, 18, 18}, {-30, -20, 10, 10},
    };
    for (const Rect& r : shapes) {
        SCOPED_TRACE(std::to_string(r.Width()) + " x " + std::to_string(r.Height()));
        for (int32_t y = r.top; y < r.bottom; ++y)
            for (int32_t x = r.left; x < r.right; ++x)
                ASSERT_NE(HitTestZone(r, x, y), Zone::None) << "at " << x << ", " << y;
    }
}

TEST(AreaSelectionHover, AnEdgeIsGrabbableTheInnerZoneKeepsItAndNoZoneChangesNothing) {
    AreaSelection selection = Drawn(kS);

    selection.MouseMove(100, 65);
    EXPECT_EQ(selection.GrabbedZone(), Zone::LeftEdge);
    EXPECT_TRUE(selection.CursorOnEdge());
    EXPECT_FALSE(selection.CursorInside());

    selection.MouseMove(120, 65);
    EXPECT_EQ(selection.GrabbedZone(), Zone::LeftEdge);
    EXPECT_FALSE(selection.CursorOnEdge());
    EXPECT_TRUE(selection.CursorInside());

    selection.MouseMove(0, 0);
    EXPECT_EQ(selection.GrabbedZone(), Zone::LeftEdge);
    EXPECT_FALSE(selection.CursorOnEdge());
    EXPECT_TRUE(selection.CursorInside());

    selection.MouseMove(139, 79);
    EXPECT_EQ(selection.GrabbedZone(), Zone::BottomRight);
    EXPECT_TRUE(selection.CursorOnEdge());
    EXPECT_FALSE(selection.CursorInside());
    EXPECT_EQ(selection.Frame(), kS);
}

// ---- The press --------------------------------------------------------------------

TEST(AreaSelectionPress, InsideGrabsSForMovingAtTheDistanceFromItsLeftAndTop) {
    AreaSelection selection = Drawn(kS);
    HoverAndPress(selection, 110, 62);
    EXPECT_EQ(selection.DragMode(), SelectionDrag::Moving);
    EXPECT_EQ(selection.GrabDX(), 10);
    EXPECT_EQ(selection.GrabDY(), 12);
    EXPECT_EQ(selection.Frame(), kS);
    EXPECT_EQ(selection.CursorAt(110, 62), kAll);
}

struct GrabCase {
    const char* name;
    int32_t x, y;
    Zone zone;
    // The fixed opposite sides; -1 where the zone leaves the anchor alone.
    int32_t anchorX, anchorY;
};

void PrintTo(const GrabCase& c, std::ostream* os) { *os << c.name; }

class AreaSelectionPressOnAnEdge : public ::testing::TestWithParam<GrabCase> {};

TEST_P(AreaSelectionPressOnAnEdge, FixesTheOppositeSides) {
    const GrabCase& c = GetParam();
    // Drawn both ways, so that the anchors start at either corner of S.
    for (const Rect& stroke : {kS, Rect{kS.right, kS.bottom, kS.left, kS.top}}) {
        SCOPED_TRACE(::testing::Message() << "drawn from " << stroke.left << ", " << stroke.top);
        AreaSelection selection = Drawn(stroke);
        ASSERT_EQ(selection.Frame(), kS);
        const int32_t startX = selection.AnchorX(), startY = selection.AnchorY();

        HoverAndPress(selection, c.x, c.y);

        EXPECT_EQ(selection.DragMode(), SelectionDrag::Resizing);
        EXPECT_EQ(selection.GrabbedZone(), c.zone);
        EXPECT_EQ(selection.AnchorX(), c.anchorX == -1 ? startX : c.anchorX);
        EXPECT_EQ(selection.AnchorY(), c.anchorY == -1 ? startY : c.anchorY);
        EXPECT_EQ(selection.Frame(), kS);
    }
}

INSTANTIATE_TEST_SUITE_P(
    EachEdgeAndCorner, AreaSelectionPressOnAnEdge,
    ::testing::Values(GrabCase{"LeftEdge", 101, 65, Zone::LeftEdge, 140, -1},
                      GrabCase{"RightEdge", 138, 65, Zone::RightEdge, 100, -1},
                      GrabCase{"TopEdge", 120, 51, Zone::TopEdge, -1, 80},
                      GrabCase{"BottomEdge", 120, 78, Zone::BottomEdge, -1, 50},
                      GrabCase{"TopLeft", 100, 50, Zone::TopLeft, 140, 80},
                      GrabCase{"TopRight", 139, 50, Zone::TopRight, 100, 80},
                      GrabCase{"BottomLeft", 100, 79, Zone::BottomLeft, 140, 50},
                      GrabCase{"BottomRight", 139, 79, Zone::BottomRight, 100, 50}),
    [](const auto& info) { return std::string(info.param.name); });

void ExpectNewRectangleAt(const AreaSelection& selection, int32_t x, int32_t y) {
    EXPECT_EQ(selection.DragMode(), SelectionDrag::Drawing);
    EXPECT_EQ(selection.Frame(), (Rect{x, y, x, y}));
    EXPECT_TRUE(selection.ApplyEnabled());
    EXPECT_EQ(selection.AnchorX(), x);
    EXPECT_EQ(selection.AnchorY(), y);
    EXPECT_EQ(selection.UsableRectangle(), std::nullopt);
}

TEST(AreaSelectionPress, OutsideSStartsANewEmptyRectangleWithApplyEnabled) {
    struct Row {
        const char* name;
        int32_t x, y;
    } rows[] = {
        {"far away", 400, 300},
        // In a zone of S, but outside its bounds.
        {"one pixel left of S", 99, 65},
        {"just right of S", 140, 65},
        {"just below S", 120, 80},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AreaSelection selection = Drawn(kS);
        HoverAndPress(selection, row.x, row.y);
        ExpectNewRectangleAt(selection, row.x, row.y);
        EXPECT_EQ(selection.CursorAt(row.x, row.y), kCross);
    }
}

TEST(AreaSelectionPress, OnSBeforeAnyZoneWasFoundStartsANewRectangle) {
    AreaSelection selection = Drawn(kS);
    ASSERT_FALSE(selection.CursorOnEdge() || selection.CursorInside());
    selection.MouseDown(120, 65);
    ExpectNewRectangleAt(selection, 120, 65);
}

TEST(AreaSelectionPress, WhereAHiddenRectangleLiesStartsANewOne) {
    // 50 x 1: hidden at the release, its bounds kept.
    AreaSelection selection = Drawn({200, 100, 250, 101});
    ASSERT_EQ(selection.Frame(), std::nullopt);
    ASSERT_EQ(selection.Bounds(), (Rect{200, 100, 250, 101}));

    HoverAndPress(selection, 220, 100);
    ExpectNewRectangleAt(selection, 220, 100);
}

// ---- Drawing ----------------------------------------------------------------------

TEST(AreaSelectionDrawing, IsNormalisedWithThePressPointAsOneCorner) {
    struct Row {
        int32_t x, y;
        Rect expected;
    } rows[] = {
        {350, 260, {300, 200, 350, 260}},  // to the lower right
        {250, 150, {250, 150, 300, 200}},  // across the press point, upper left
        {320, 120, {300, 120, 320, 200}},  // upper right
        {300, 200, {300, 200, 300, 200}},  // back at the press point: 0 x 0
        {100, 60, {100, 60, 300, 200}},
    };
    AreaSelection selection(kOverlayWidth, kOverlayHeight);
    selection.MouseDown(300, 200);
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.x) + ", " + std::to_string(row.y));
        selection.MouseMove(row.x, row.y);
        EXPECT_EQ(selection.Frame(), row.expected);
        // Over the new rectangle too, the crosshair shows while drawing.
        EXPECT_EQ(selection.CursorAt(row.x, row.y), kCross);
    }
}

TEST(AreaSelectionDrawing, FromLowerRightToUpperLeftPutsTheLeftAndTopAtTheRelease) {
    AreaSelection selection(kOverlayWidth, kOverlayHeight);
    selection.MouseDown(300, 200);
    selection.MouseMove(250, 150);
    selection.MouseMove(100, 60);
    selection.MouseUp();
    EXPECT_EQ(selection.DragMode(), SelectionDrag::None);
    EXPECT_EQ(selection.Left(), 100);
    EXPECT_EQ(selection.Top(), 60);
    EXPECT_EQ(selection.Width(), 200);
    EXPECT_EQ(selection.Height(), 140);
    EXPECT_EQ(selection.UsableRectangle(), (Rect{100, 60, 300, 200}));
    EXPECT_TRUE(selection.ApplyEnabled());
}

// ---- Moving -----------------------------------------------------------------------

TEST(AreaSelectionMoving, StopsHardAgainstEachBorderWithTheSizeKept) {
    // S 100 x 50 at (200, 200), grabbed 50 pixels from its left and 20 from its top.
    struct Row {
        const char* name;
        int32_t x, y;
        int32_t left, top;
    } rows[] = {
        {"freely", 300, 320, 250, 300},
        {"left border", -500, 245, 0, 225},
        {"left border exactly", 50, 245, 0, 225},
        {"right border", 5000, 245, 700, 225},
        {"right border exactly", 750, 245, 700, 225},
        {"one pixel short of the right border", 749, 245, 699, 225},
        {"top border", 275, -500, 225, 0},
        {"bottom border", 275, 5000, 225, 550},
        {"bottom border exactly", 275, 570, 225, 550},
        {"upper right corner", 5000, -500, 700, 0},
        {"lower left corner", -500, 5000, 0, 550},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AreaSelection selection = Drawn({200, 200, 300, 250});
        HoverAndPress(selection, 250, 220);
        ASSERT_EQ(selection.DragMode(), SelectionDrag::Moving);
        selection.MouseMove(row.x, row.y);
        EXPECT_EQ(selection.Frame(), (Rect{row.left, row.top, row.left + 100, row.top + 50}));
        EXPECT_EQ(selection.CursorAt(row.x, row.y), kAll);
    }
}

// ---- Resizing ---------------------------------------------------------------------

struct ResizeCase {
    const char* name;
    int32_t pressX, pressY;  // on kS
    std::vector<std::pair<int32_t, int32_t>> moves;
    Rect expected;
    Zone zoneAfter;
};

void PrintTo(const ResizeCase& c, std::ostream* os) { *os << c.name; }

class AreaSelectionResizing : public ::testing::TestWithParam<ResizeCase> {};

TEST_P(AreaSelectionResizing, FollowsThePointerAndTurnsOverAcrossTheFixedSide) {
    const ResizeCase& c = GetParam();
    AreaSelection selection = Drawn(kS);
    HoverAndPress(selection, c.pressX, c.pressY);
    ASSERT_EQ(selection.DragMode(), SelectionDrag::Resizing);
    for (const auto& [x, y] : c.moves) selection.MouseMove(x, y);
    EXPECT_EQ(selection.Frame(), c.expected);
    EXPECT_EQ(selection.GrabbedZone(), c.zoneAfter);
    const auto& [x, y] = c.moves.back();
    EXPECT_EQ(selection.CursorAt(x, y), ZoneCursor(c.zoneAfter));
}

INSTANTIATE_TEST_SUITE_P(
    ByZone, AreaSelectionResizing,
    ::testing::Values(
        // An edge moves its own axis only, whatever the pointer does in the other.
        ResizeCase{"LeftEdgeInward", 100, 65, {{120, 10}}, {120, 50, 140, 80}, Zone::LeftEdge},
        ResizeCase{"LeftEdgeOntoTheRightEdge", 100, 65, {{140, 65}}, {140, 50, 140, 80}, Zone::LeftEdge},
        // The former right edge stays where it was and becomes the left edge.
        ResizeCase{"LeftEdgeAcrossTheRightEdge", 100, 65, {{200, 65}}, {140, 50, 200, 80}, Zone::RightEdge},
        ResizeCase{"LeftEdgeAcrossAndBack", 100, 65, {{200, 65}, {120, 65}}, {120, 50, 140, 80},
                   Zone::LeftEdge},
        ResizeCase{"RightEdgeOutward", 139, 65, {{300, 65}}, {100, 50, 300, 80}, Zone::RightEdge},
        ResizeCase{"RightEdgeAcrossTheLeftEdge", 139, 65, {{50, 65}}, {50, 50, 100, 80}, Zone::LeftEdge},
        ResizeCase{"TopEdgeAcrossTheBottomEdge", 120, 50, {{300, 100}}, {100, 80, 140, 100},
                   Zone::BottomEdge},
        ResizeCase{"BottomEdgeAcrossTheTopEdge", 120, 79, {{0, 10}}, {100, 10, 140, 50}, Zone::TopEdge},
        ResizeCase{"BottomEdgeAcrossAndBack", 120, 79, {{120, 10}, {120, 70}}, {100, 50, 140, 70},
                   Zone::BottomEdge},
        // A corner turns over in each axis on its own.
        ResizeCase{"TopLeftAcrossBoth", 100, 50, {{200, 120}}, {140, 80, 200, 120}, Zone::BottomRight},
        ResizeCase{"TopRightAcrossTheLeftOnly", 139, 50, {{60, 40}}, {60, 40, 100, 80}, Zone::TopLeft},
        ResizeCase{"BottomLeftAcrossTheTopOnly", 100, 79, {{90, 20}}, {90, 20, 140, 50}, Zone::TopLeft},
        ResizeCase{"BottomRightAcrossBothAndBackInOne", 139, 79, {{50, 10}, {160, 30}},
                   {100, 30, 160, 50}, Zone::TopRight},
        // Resizing is not held inside the overlay.
        ResizeCase{"BottomRightBeyondTheOverlay", 139, 79, {{1000, 900}}, {100, 50, 1000, 900},
                   Zone::BottomRight},
        ResizeCase{"TopLeftBeyondTheOverlay", 100, 50, {{-40, -30}}, {-40, -30, 140, 80}, Zone::TopLeft}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Release and closing ---------------------------------------------------------

TEST(AreaSelectionRelease, HidesARectangleOfWidthOrHeightAtMostOneAndDisablesApply) {
    struct Row {
        const char* name;
        Rect drawn;
        bool kept;
    } rows[] = {
        {"click without moving, 0 x 0", {300, 200, 300, 200}, false},
        {"one pixel high", {300, 200, 360, 201}, false},
        {"one pixel wide", {300, 200, 301, 260}, false},
        {"no height", {300, 200, 360, 200}, false},
        {"2 x 2", {300, 200, 302, 202}, true},
        {"wide and high", {300, 200, 360, 260}, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const AreaSelection selection = Drawn(row.drawn);
        EXPECT_EQ(selection.DragMode(), SelectionDrag::None);
        EXPECT_EQ(selection.Visible(), row.kept);
        EXPECT_EQ(selection.ApplyEnabled(), row.kept);
        EXPECT_EQ(selection.UsableRectangle().has_value(), row.kept);
        // Hidden or not, the bounds stay as they were.
        EXPECT_EQ(selection.Bounds(), row.drawn);
    }
}

TEST(AreaSelectionRelease, AfterResizingDownToOnePixelHidesS) {
    AreaSelection selection = Drawn(kS);
    HoverAndPress(selection, 139, 65);
    selection.MouseMove(101, 65);
    selection.MouseUp();
    EXPECT_EQ(selection.Frame(), std::nullopt);
    EXPECT_FALSE(selection.ApplyEnabled());
    EXPECT_EQ(selection.Bounds(), (Rect{100, 50, 101, 80}));
}

TEST(AreaSelectionClose, HidesAndResetsSAndKeepsTheDragState) {
    AreaSelection selection = Drawn(kS);
    HoverAndPress(selection, 139, 79);  // resizing by the bottom-right corner
    selection.MouseMove(160, 90);

    selection.Close();

    EXPECT_EQ(selection.Frame(), std::nullopt);
    EXPECT_EQ(selection.UsableRectangle(), std::nullopt);
    EXPECT_EQ(selection.Bounds(), (Rect{0, 0, 1, 1}));
    EXPECT_FALSE(selection.ApplyEnabled());
    EXPECT_EQ(selection.DragMode(), SelectionDrag::Resizing);
    EXPECT_EQ(selection.AnchorX(), 100);
    EXPECT_EQ(selection.AnchorY(), 50);
    EXPECT_EQ(selection.GrabbedZone(), Zone::BottomRight);
    EXPECT_TRUE(selection.CursorOnEdge());
    EXPECT_FALSE(selection.CursorInside());
}

TEST(AreaSelectionClose, TheNextOpeningShowsNoRectangleAndAPressAnywhereDrawsANewOne) {
    AreaSelection selection = Drawn(kS);
    selection.Close();
    // The hidden 1 x 1 at the origin: its bottom-right zone spreads over the
    // whole overlay, and the origin is within its bounds.
    for (const auto& [x, y] : {std::pair{0, 0}, std::pair{400, 300}}) {
        SCOPED_TRACE(std::to_string(x) + ", " + std::to_string(y));
        AreaSelection reopened = selection;
        reopened.MouseMove(x, y);
        EXPECT_EQ(reopened.CursorAt(x, y), kCross);
        reopened.MouseDown(x, y);
        ExpectNewRectangleAt(reopened, x, y);
    }
}

// ---- Keys held over the overlay ----------------------------------------------------

TEST(AreaSelectionHeldKeys, EnterAppliesEscCloses) {
    struct Row {
        bool visible, enter, esc;
        HeldKeyActions expected;
    } rows[] = {
        {true, false, false, {false, false}}, {true, true, false, {true, false}},
        {true, false, true, {false, true}},   {true, true, true, {true, true}},
        {false, true, true, {false, false}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << "visible " << row.visible << " enter " << row.enter
                                        << " esc " << row.esc);
        EXPECT_EQ(ActionsOfHeldKeys(row.visible, row.enter, row.esc), row.expected);
    }
}

}  // namespace
}  // namespace kadrilo
