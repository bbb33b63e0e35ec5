// Small value types shared by the core and the Windows layer.
#pragma once

#include <cstdint>

namespace kadrilo {

// A rectangle in screen pixels; right and bottom are exclusive.
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// A colour laid out as 0x00BBGGRR (red in the low byte).
using Color = uint32_t;

// A hotkey shortcut: low byte the virtual-key code, 0x2000 Shift, 0x4000 Ctrl,
// 0x8000 Alt; 0 means no key.
struct Shortcut {
    uint16_t value = 0;

    static constexpr uint16_t Shift = 0x2000;
    static constexpr uint16_t Ctrl = 0x4000;
    static constexpr uint16_t Alt = 0x8000;

    bool Empty() const { return value == 0; }
    uint8_t Key() const { return static_cast<uint8_t>(value & 0xFF); }
    friend bool operator==(const Shortcut&, const Shortcut&) = default;
};

// An opaque reference to a window of another process (or of this one), as the
// single-instance check hands it around. 0 means none.
using WindowId = uintptr_t;

}  // namespace kadrilo
