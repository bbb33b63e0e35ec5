// The area selection: the rectangle S that the user draws on the frozen screen
// with the left mouse button, then moves or resizes by its edges and corners.
//
// The overlay window only turns its mouse messages into calls of this class
// (positions in overlay coordinates, which are the primary screen's), draws the
// frame that Frame() gives and shows the cursor that CursorAt() gives.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/Types.h"

namespace kadrilo {

// What a held left button is doing.
enum class SelectionDrag : int32_t { None = 0, Drawing = 1, Moving = 2, Resizing = 3 };

// The nine zones of the hover test. The eight edges and corners are numbered as
// GrabbedZone holds them; None is no zone (and GrabbedZone before the first edge
// or corner was found); Inner is the zone that moves S.
enum class SelectionZone : int32_t {
    None = 0,
    LeftEdge = 1,
    RightEdge = 2,
    TopEdge = 3,
    BottomEdge = 4,
    TopLeft = 5,
    TopRight = 6,
    BottomLeft = 7,
    BottomRight = 8,
    Inner = 9,
};

// The cursors of the overlay: the program's own "RECT" cursor (a crosshair with
// a small rectangle beside it) and the system's sizing cursors.
enum class SelectionCursor {
    Crosshair,               // the "RECT" cursor resource
    SizeWestEast,            // IDC_SIZEWE
    SizeNorthSouth,          // IDC_SIZENS
    SizeNorthWestSouthEast,  // IDC_SIZENWSE
    SizeNorthEastSouthWest,  // IDC_SIZENESW
    SizeAll,                 // IDC_SIZEALL
};

// The hover test at (x, y) against the bounds of S: the tests of the eight edges
// and corners and then of the inner zone run in that order, and the last one
// that holds wins. The zones on the right and bottom side have no outer bound.
// None when no test holds. Every pixel within the bounds falls into some zone.
SelectionZone HitTestZone(const Rect& bounds, int32_t x, int32_t y);

// The cursor S shows for a zone; the crosshair for None.
SelectionCursor ZoneCursor(SelectionZone zone);

// What the keys held at a key press or a mouse move over the overlay ask for.
struct HeldKeyActions {
    bool apply = false;  // Enter is down: take the selected-area shot
    bool close = false;  // Esc is down: close the overlay, after the shot; the
                         // caller skips it when the shot has closed it already
    friend bool operator==(const HeldKeyActions&, const HeldKeyActions&) = default;
};
HeldKeyActions ActionsOfHeldKeys(bool overlayVisible, bool enterDown, bool escDown);

class AreaSelection {
public:
    // The overlay's size, which bounds the moving of S.
    AreaSelection(int32_t overlayWidth, int32_t overlayHeight);
    void SetOverlaySize(int32_t overlayWidth, int32_t overlayHeight);

    // The mouse over the overlay (WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP).
    void MouseMove(int32_t x, int32_t y);
    void MouseDown(int32_t x, int32_t y);
    void MouseUp();
    // The overlay closes: S is hidden and back at (0, 0) with size 1 x 1; the
    // drag state, anchors, grabbed zone and hover flags are kept.
    void Close();

    // What to draw: S's frame while it is visible.
    std::optional<Rect> Frame() const;
    // The cursor to show with the pointer at (x, y).
    SelectionCursor CursorAt(int32_t x, int32_t y) const;
    // Whether the overlay menu's Apply command is enabled.
    bool ApplyEnabled() const { return applyEnabled_; }

    // S: left, top, width, height, and the bounds (right and bottom exclusive),
    // also while hidden.
    bool Visible() const { return visible_; }
    int32_t Left() const { return left_; }
    int32_t Top() const { return top_; }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    Rect Bounds() const { return {left_, top_, left_ + width_, top_ + height_}; }
    // The rectangle a selected-area shot crops: S while it is visible and
    // both its width and height are greater than 0.
    std::optional<Rect> UsableRectangle() const;

    SelectionDrag DragMode() const { return dragMode_; }
    int32_t AnchorX() const { return anchorX_; }
    int32_t AnchorY() const { return anchorY_; }
    int32_t GrabDX() const { return grabDX_; }
    int32_t GrabDY() const { return grabDY_; }
    SelectionZone GrabbedZone() const { return grabbedZone_; }
    bool CursorOnEdge() const { return cursorOnEdge_; }
    bool CursorInside() const { return cursorInside_; }

private:
    bool Contains(int32_t x, int32_t y) const;
    void Hover(int32_t x, int32_t y);
    void StartRectangle(int32_t x, int32_t y);
    void GrabEdge();
    void DrawTo(int32_t x, int32_t y);
    void MoveTo(int32_t x, int32_t y);
    void ResizeTo(int32_t x, int32_t y);

    int32_t overlayWidth_;
    int32_t overlayHeight_;

    int32_t left_ = 0;
    int32_t top_ = 0;
    int32_t width_ = 1;
    int32_t height_ = 1;
    bool visible_ = false;
    bool applyEnabled_ = false;

    SelectionDrag dragMode_ = SelectionDrag::None;
    int32_t anchorX_ = 0;
    int32_t anchorY_ = 0;
    int32_t grabDX_ = 0;
    int32_t grabDY_ = 0;
    SelectionZone grabbedZone_ = SelectionZone::None;
    bool cursorOnEdge_ = false;
    bool cursorInside_ = false;
};

}  // namespace kadrilo
