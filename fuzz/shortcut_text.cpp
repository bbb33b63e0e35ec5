// The shortcut text: whatever a text reads as, the text of that shortcut reads
// as the same shortcut again.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "Checks.h"
#include "settings/ShortcutText.h"

using namespace kadrilo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const SystemKeyNames names = [](uint8_t key) { return key == 0xDE ? std::string("'") : std::string(); };
    const Shortcut shortcut = TextToShortcut(text, names);
    if (shortcut.value == 0) return 0;
    const std::string written = ShortcutText(shortcut, names);
    fuzz::Require(!written.empty());
    fuzz::Require(TextToShortcut(written, names).value == shortcut.value);
    return 0;
}
