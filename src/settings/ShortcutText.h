// The text form of a hotkey shortcut: "Shift+", "Ctrl+", "Alt+" in this order,
// each when held, then the key's name ("A", "PgUp", "F5"). The empty text is
// no shortcut.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/Types.h"

namespace kadrilo {

// The system's name of a key that the program's own table does not name
// (empty when it has none).
using SystemKeyNames = std::function<std::string(uint8_t virtualKey)>;

// Where Shift, Ctrl and Alt sit in a set of modifier bits.
struct ModifierBits {
    uint32_t shift, ctrl, alt;
};
inline constexpr ModifierBits ShortcutModifiers{Shortcut::Shift, Shortcut::Ctrl, Shortcut::Alt};

// The modifiers held in `value` (laid out as `from`) laid out as `to`; other bits are dropped.
constexpr uint32_t RemapModifiers(uint32_t value, ModifierBits from, ModifierBits to) {
    return ((value & from.shift) ? to.shift : 0) | ((value & from.ctrl) ? to.ctrl : 0) |
           ((value & from.alt) ? to.alt : 0);
}

std::string ShortcutText(Shortcut shortcut, const SystemKeyNames& systemNames);

// Reads a text back: prefixes in any order and case ("^" for Ctrl), then the
// key name without regard to case; a text that names no key gives no shortcut.
Shortcut TextToShortcut(std::string_view text, const SystemKeyNames& systemNames);

}  // namespace kadrilo
