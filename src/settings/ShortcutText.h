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

std::string ShortcutText(Shortcut shortcut, const SystemKeyNames& systemNames);

// Reads a text back: prefixes in any order and case ("^" for Ctrl), then the
// key name without regard to case; a text that names no key gives no shortcut.
Shortcut TextToShortcut(std::string_view text, const SystemKeyNames& systemNames);

}  // namespace kadrilo
