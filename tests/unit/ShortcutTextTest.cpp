#include <gtest/gtest.h>

#include "settings/ShortcutText.h"

namespace kadrilo {
namespace {

std::string SystemName(uint8_t key) { return key == 0xBA ? ";" : key == 0x2C ? "Prnt Scrn" : ""; }

constexpr uint16_t S = Shortcut::Shift, C = Shortcut::Ctrl, A = Shortcut::Alt;

TEST(ShortcutText, BothWays) {
    struct Case {
        uint16_t value;
        const char* text;
    };
    for (const Case& c : {Case{0x41, "A"}, Case{C | S | 0x74, "Shift+Ctrl+F5"}, Case{C | A | 0x74, "Ctrl+Alt+F5"},
                          Case{0x21, "PgUp"}, Case{A | 0x87, "Alt+F24"}, Case{0x08, "BkSp"}, Case{S | 0x2E, "Shift+Del"},
                          Case{0x39, "9"}, Case{C | 0xBA, "Ctrl+;"}, Case{0x2C, "Prnt Scrn"}}) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ShortcutText(Shortcut{c.value}, SystemName), c.text);
        EXPECT_EQ(TextToShortcut(c.text, SystemName).value, c.value);
    }
}

TEST(ShortcutText, NoNameMeansNoText) {
    EXPECT_EQ(ShortcutText(Shortcut{}, SystemName), "");
    EXPECT_EQ(ShortcutText(Shortcut{C | A}, SystemName), "");         // modifiers only
    EXPECT_EQ(ShortcutText(Shortcut{C | 0xFF}, SystemName), "");      // a key without a name
    EXPECT_EQ(ShortcutText(Shortcut{0x60}, SystemName), "0");         // keypad digit
}

TEST(ShortcutText, ReadingIsLenient) {
    struct Case {
        const char* text;
        uint16_t value;
    };
    for (const Case& c : {Case{"alt+ctrl+f5", C | A | 0x74}, Case{"^a", C | 0x41}, Case{"SHIFT+^pgdn", S | C | 0x22},
                          Case{"Ctrl+", 0}, Case{"", 0}, Case{"Ctrl+Nothing", 0}, Case{"Hyper+A", 0},
                          Case{"5", 0x35}}) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(TextToShortcut(c.text, SystemName).value, c.value);
    }
}

}  // namespace
}  // namespace kadrilo
