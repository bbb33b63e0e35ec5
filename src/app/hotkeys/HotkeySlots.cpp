#include "app/hotkeys/HotkeySlots.h"

namespace kadrilo {
namespace {

constexpr uint32_t VirtualKeyPrintScreen = 0x2C;

// The modifier bits of RegisterHotKey.
constexpr ModifierBits HotkeyModifiers{.shift = 4, .ctrl = 2, .alt = 1};

struct DefaultHotkey {
    uint32_t modifiers;
    const char* text;  // as the failure report names it
};
constexpr DefaultHotkey DefaultHotkeys[HotkeySlotCount] = {
    {0, "PrintScreen"},
    {HotkeyModifiers.alt, "Alt + PrintScreen"},
    {HotkeyModifiers.ctrl, "Ctrl + PrintScreen"},
    {HotkeyModifiers.shift, "Shift + PrintScreen"},
    {HotkeyModifiers.ctrl | HotkeyModifiers.shift, "Ctrl + Shift + PrintScreen"},
};

}  // namespace

HotkeySlots::HotkeySlots(HotkeyPort& hotkeys)
    : hotkeys_(hotkeys), keyNames_([&hotkeys](uint8_t key) { return hotkeys.KeyName(key); }) {}

void HotkeySlots::Register(const AppSettings& settings, const std::function<void(const std::string&)>& refused) {
    for (int slot = 1; slot <= HotkeySlotCount; ++slot)
        ids_[static_cast<size_t>(slot - 1)] = hotkeys_.GlobalAtom("KadrilioHotkey" + std::to_string(slot));
    for (int slot = 1; slot <= HotkeySlotCount; ++slot) {
        const int64_t mode = SettingNumber(settings, HotKeyModeSetting(slot));
        if (mode == 1) {
            const Shortcut key = Field(UserHotKeySetting(slot)).Key(settings);
            const uint32_t modifiers = RemapModifiers(key.value, ShortcutModifiers, HotkeyModifiers);
            if (!hotkeys_.RegisterHotKey(Id(slot), modifiers, key.Key())) refused(ShortcutText(key, keyNames_));
        } else if (mode == 0) {
            const DefaultHotkey& key = DefaultHotkeys[slot - 1];
            if (!hotkeys_.RegisterHotKey(Id(slot), key.modifiers, VirtualKeyPrintScreen)) refused(key.text);
        }
    }
}

void HotkeySlots::Unregister() {
    for (int32_t id : ids_)
        if (id != 0) hotkeys_.UnregisterHotKey(id);
}

int HotkeySlots::SlotOf(int32_t id) const {
    for (int slot = 1; slot <= HotkeySlotCount; ++slot)
        if (id == Id(slot)) return slot;
    return 0;
}

}  // namespace kadrilo
