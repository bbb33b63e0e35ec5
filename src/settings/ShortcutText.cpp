#include "settings/ShortcutText.h"

#include <algorithm>
#include <cctype>

namespace kadrilo {
namespace {

std::string KeyName(uint8_t key, const SystemKeyNames& systemNames) {
    static constexpr const char* Navigation[] = {"Space", "PgUp", "PgDn", "End", "Home",
                                                 "Left",  "Up",   "Right", "Down"};
    switch (key) {
        case 0x08: return "BkSp";
        case 0x09: return "Tab";
        case 0x0D: return "Enter";
        case 0x1B: return "Esc";
        case 0x2D: return "Ins";
        case 0x2E: return "Del";
        default: break;
    }
    if (key >= 0x20 && key <= 0x28) return Navigation[key - 0x20];
    if ((key >= 0x30 && key <= 0x39) || (key >= 0x41 && key <= 0x5A)) return std::string(1, static_cast<char>(key));
    if (key >= 0x60 && key <= 0x69) return std::string(1, static_cast<char>('0' + key - 0x60));
    if (key >= 0x70 && key <= 0x87) return "F" + std::to_string(key - 0x70 + 1);
    return systemNames ? systemNames(key) : std::string();
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

}  // namespace

std::string ShortcutText(Shortcut shortcut, const SystemKeyNames& systemNames) {
    const std::string name = KeyName(shortcut.Key(), systemNames);
    if (name.empty()) return {};
    std::string text;
    if (shortcut.value & Shortcut::Shift) text += "Shift+";
    if (shortcut.value & Shortcut::Ctrl) text += "Ctrl+";
    if (shortcut.value & Shortcut::Alt) text += "Alt+";
    return text + name;
}

Shortcut TextToShortcut(std::string_view text, const SystemKeyNames& systemNames) {
    static constexpr std::pair<std::string_view, uint16_t> Prefixes[] = {
        {"Shift+", Shortcut::Shift}, {"Ctrl+", Shortcut::Ctrl}, {"Alt+", Shortcut::Alt}, {"^", Shortcut::Ctrl}};
    uint16_t modifiers = 0;
    for (bool found = true; found;) {
        found = false;
        for (const auto& [prefix, bit] : Prefixes) {
            if (text.size() >= prefix.size() && EqualNoCase(text.substr(0, prefix.size()), prefix)) {
                modifiers |= bit;
                text.remove_prefix(prefix.size());
                found = true;
            }
        }
    }
    if (text.empty()) return {};
    for (int key = 8; key <= 255; ++key) {
        if (EqualNoCase(KeyName(static_cast<uint8_t>(key), systemNames), text))
            return Shortcut{static_cast<uint16_t>(modifiers | key)};
    }
    return {};
}

}  // namespace kadrilo
