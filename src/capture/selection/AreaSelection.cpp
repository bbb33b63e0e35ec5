#include "capture/selection/AreaSelection.h"

#include <algorithm>

namespace kadrilo {
namespace {

// A band of one axis around S's edges `low` (left or top) and `high` (right or
// bottom, exclusive). The near band reaches one pixel outside the low edge; the
// far band has no outer bound.
enum class Band {
    Near,    // low - 1 .. low + 2
    Across,  // low + 3 .. high - 3: along an edge, between its two corners
    Far,     // high - 3 ..
    Inside,  // low + 3 .. high - 4: the inner zone
};

bool InBand(Band band, int32_t value, int32_t low, int32_t high) {
    // In 64 bits, so that no bounds handed in overflow.
    const int64_t v = value, lo = low, hi = high;
    switch (band) {
        case Band::Near: return lo - 1 <= v && v <= lo + 2;
        case Band::Across: return lo + 3 <= v && v <= hi - 3;
        case Band::Far: return hi - 3 <= v;
        case Band::Inside: return lo + 3 <= v && v <= hi - 4;
    }
    return false;
}

struct ZoneTest {
    SelectionZone zone;
    Band horizontal;
    Band vertical;
    SelectionCursor cursor;
};

// In the order the tests run; a later test that holds overrides an earlier one.
constexpr ZoneTest kZoneTests[] = {
    {SelectionZone::LeftEdge, Band::Near, Band::Across, SelectionCursor::SizeWestEast},
    {SelectionZone::RightEdge, Band::Far, Band::Across, SelectionCursor::SizeWestEast},
    {SelectionZone::TopEdge, Band::Across, Band::Near, SelectionCursor::SizeNorthSouth},
    {SelectionZone::BottomEdge, Band::Across, Band::Far, SelectionCursor::SizeNorthSouth},
    {SelectionZone::TopLeft, Band::Near, Band::Near, SelectionCursor::SizeNorthWestSouthEast},
    {SelectionZone::TopRight, Band::Far, Band::Near, SelectionCursor::SizeNorthEastSouthWest},
    {SelectionZone::BottomLeft, Band::Near, Band::Far, SelectionCursor::SizeNorthEastSouthWest},
    {SelectionZone::BottomRight, Band::Far, Band::Far, SelectionCursor::SizeNorthWestSouthEast},
    {SelectionZone::Inner, Band::Inside, Band::Inside, SelectionCursor::SizeAll},
};

bool IsOneOf(SelectionZone zone, std::initializer_list<SelectionZone> zones) {
    return std::find(zones.begin(), zones.end(), zone) != zones.end();
}

using enum SelectionZone;

bool OnLeftSide(SelectionZone z) { return IsOneOf(z, {LeftEdge, TopLeft, BottomLeft}); }
bool OnRightSide(SelectionZone z) { return IsOneOf(z, {RightEdge, TopRight, BottomRight}); }
bool OnTopSide(SelectionZone z) { return IsOneOf(z, {TopEdge, TopLeft, TopRight}); }
bool OnBottomSide(SelectionZone z) { return IsOneOf(z, {BottomEdge, BottomLeft, BottomRight}); }

// The zone on the other side when a grabbed edge crosses the fixed one.
SelectionZone MirrorLeftRight(SelectionZone z) {
    switch (z) {
        case LeftEdge: return RightEdge;
        case RightEdge: return LeftEdge;
        case TopLeft: return TopRight;
        case TopRight: return TopLeft;
        case BottomLeft: return BottomRight;
        case BottomRight: return BottomLeft;
        default: return z;
    }
}

SelectionZone MirrorTopBottom(SelectionZone z) {
    switch (z) {
        case TopEdge: return BottomEdge;
        case BottomEdge: return TopEdge;
        case TopLeft: return BottomLeft;
        case BottomLeft: return TopLeft;
        case TopRight: return BottomRight;
        case BottomRight: return TopRight;
        default: return z;
    }
}

// One axis of S spanned between a fixed coordinate and the pointer, whichever
// is first: start := the smaller, length := the distance.
void SpanBetween(int32_t fixed, int32_t pointer, int32_t& start, int32_t& length) {
    start = std::min(fixed, pointer);
    length = pointer >= fixed ? pointer - fixed : fixed - pointer;
}

}  // namespace

SelectionZone HitTestZone(const Rect& bounds, int32_t x, int32_t y) {
    SelectionZone found = SelectionZone::None;
    for (const ZoneTest& test : kZoneTests) {
        if (InBand(test.horizontal, x, bounds.left, bounds.right) &&
            InBand(test.vertical, y, bounds.top, bounds.bottom))
            found = test.zone;
    }
    return found;
}

SelectionCursor ZoneCursor(SelectionZone zone) {
    for (const ZoneTest& test : kZoneTests) {
        if (test.zone == zone) return test.cursor;
    }
    return SelectionCursor::Crosshair;
}

HeldKeyActions ActionsOfHeldKeys(bool overlayVisible, bool enterDown, bool escDown) {
    if (!overlayVisible) return {};
    return {enterDown, escDown};
}

AreaSelection::AreaSelection(int32_t overlayWidth, int32_t overlayHeight)
    : overlayWidth_(overlayWidth), overlayHeight_(overlayHeight) {}

void AreaSelection::SetOverlaySize(int32_t overlayWidth, int32_t overlayHeight) {
    overlayWidth_ = overlayWidth;
    overlayHeight_ = overlayHeight;
}

bool AreaSelection::Contains(int32_t x, int32_t y) const {
    const Rect b = Bounds();
    return b.left <= x && x < b.right && b.top <= y && y < b.bottom;
}

void AreaSelection::MouseMove(int32_t x, int32_t y) {
    switch (dragMode_) {
        case SelectionDrag::None: Hover(x, y); break;
        case SelectionDrag::Drawing: DrawTo(x, y); break;
        case SelectionDrag::Moving: MoveTo(x, y); break;
        case SelectionDrag::Resizing: ResizeTo(x, y); break;
    }
}

void AreaSelection::Hover(int32_t x, int32_t y) {
    const SelectionZone zone = HitTestZone(Bounds(), x, y);
    if (zone == SelectionZone::None) return;  // the flags stay as they were
    if (zone == SelectionZone::Inner) {
        cursorInside_ = true;
        cursorOnEdge_ = false;  // the grabbed zone stays
    } else {
        grabbedZone_ = zone;
        cursorOnEdge_ = true;
        cursorInside_ = false;
    }
}

void AreaSelection::MouseDown(int32_t x, int32_t y) {
    // A hidden S is no longer on the screen: a press on where it was starts a
    // new rectangle, rather than moving or resizing one the user cannot see.
    if (visible_ && Contains(x, y)) {
        if (cursorInside_) {
            grabDX_ = x - left_;
            grabDY_ = y - top_;
            dragMode_ = SelectionDrag::Moving;
            return;
        }
        if (cursorOnEdge_) {
            GrabEdge();
            return;
        }
    }
    StartRectangle(x, y);
}

void AreaSelection::GrabEdge() {
    // The side(s) opposite the grabbed zone stay fixed.
    if (OnLeftSide(grabbedZone_)) anchorX_ = left_ + width_;
    if (OnRightSide(grabbedZone_)) anchorX_ = left_;
    if (OnTopSide(grabbedZone_)) anchorY_ = top_ + height_;
    if (OnBottomSide(grabbedZone_)) anchorY_ = top_;
    dragMode_ = SelectionDrag::Resizing;
}

void AreaSelection::StartRectangle(int32_t x, int32_t y) {
    left_ = x;
    top_ = y;
    width_ = 0;
    height_ = 0;
    visible_ = true;
    applyEnabled_ = true;
    anchorX_ = x;
    anchorY_ = y;
    dragMode_ = SelectionDrag::Drawing;
}

void AreaSelection::MouseUp() {
    dragMode_ = SelectionDrag::None;
    if (width_ <= 1 || height_ <= 1) {
        visible_ = false;  // the bounds stay as they are
        applyEnabled_ = false;
    }
}

void AreaSelection::Close() {
    visible_ = false;
    left_ = 0;
    top_ = 0;
    width_ = 1;
    height_ = 1;
    // With no rectangle left, Apply has nothing to apply.
    applyEnabled_ = false;
}

void AreaSelection::DrawTo(int32_t x, int32_t y) {
    SpanBetween(anchorX_, x, left_, width_);
    SpanBetween(anchorY_, y, top_, height_);
}

void AreaSelection::MoveTo(int32_t x, int32_t y) {
    int32_t newLeft = x - grabDX_;
    int32_t newTop = y - grabDY_;
    if (newLeft <= 0) newLeft = 0;
    if (newLeft > overlayWidth_ - width_) newLeft = overlayWidth_ - width_;
    if (newTop > overlayHeight_ - height_) newTop = overlayHeight_ - height_;
    if (newTop <= 0) newTop = 0;
    anchorX_ = newLeft;
    anchorY_ = newTop;
    left_ = newLeft;
    top_ = newTop;
}

void AreaSelection::ResizeTo(int32_t x, int32_t y) {
    // Each grabbed side follows the pointer; one dragged across the fixed side
    // turns S over and goes on as the other side. Left before right and top
    // before bottom, so that a side switched over is followed at once.
    if (OnLeftSide(grabbedZone_)) {
        SpanBetween(anchorX_, x, left_, width_);
        if (x > anchorX_) grabbedZone_ = MirrorLeftRight(grabbedZone_);
    }
    if (OnRightSide(grabbedZone_)) {
        SpanBetween(anchorX_, x, left_, width_);
        if (x < anchorX_) grabbedZone_ = MirrorLeftRight(grabbedZone_);
    }
    if (OnTopSide(grabbedZone_)) {
        SpanBetween(anchorY_, y, top_, height_);
        if (y > anchorY_) grabbedZone_ = MirrorTopBottom(grabbedZone_);
    }
    if (OnBottomSide(grabbedZone_)) {
        SpanBetween(anchorY_, y, top_, height_);
        if (y < anchorY_) grabbedZone_ = MirrorTopBottom(grabbedZone_);
    }
}

std::optional<Rect> AreaSelection::Frame() const {
    if (!visible_) return std::nullopt;
    return Bounds();
}

std::optional<Rect> AreaSelection::UsableRectangle() const {
    if (!visible_ || width_ <= 0 || height_ <= 0) return std::nullopt;
    return Bounds();
}

SelectionCursor AreaSelection::CursorAt(int32_t x, int32_t y) const {
    switch (dragMode_) {
        case SelectionDrag::Drawing: return SelectionCursor::Crosshair;
        case SelectionDrag::Moving: return SelectionCursor::SizeAll;
        case SelectionDrag::Resizing: return ZoneCursor(grabbedZone_);
        case SelectionDrag::None: break;
    }
    // S's zone cursors show only over S; the rest of the overlay shows the crosshair.
    if (!visible_ || !Contains(x, y)) return SelectionCursor::Crosshair;
    return ZoneCursor(HitTestZone(Bounds(), x, y));
}

}  // namespace kadrilo
