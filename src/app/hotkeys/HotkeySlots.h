// The five global hotkeys: their atoms, their registration from the settings
// and the report of the ones the system refused.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "platform/Ports.h"
#include "settings/AppSettings.h"
#include "settings/ShortcutText.h"

namespace kadrilo {

// The hotkey slots: 1 full screen, 2 active window, 3 selected area, 4 open
// settings, 5 change mode. Their modes: 0 the slot's default key, 1 the
// user's shortcut, 2 disabled.
constexpr int HotkeySlotCount = 5;

class HotkeySlots {
public:
    explicit HotkeySlots(HotkeyPort& hotkeys);

    // The system's key names, for the shortcut texts.
    const SystemKeyNames& KeyNames() const { return keyNames_; }
    // True when the shortcut names a key (a text of it is not empty).
    bool HasKey(Shortcut shortcut) const { return !ShortcutText(shortcut, keyNames_).empty(); }

    // Registers the slots of the settings: each refused one is reported with
    // the text of its shortcut.
    void Register(const AppSettings& settings, const std::function<void(const std::string&)>& refused);
    void Unregister();
    // The hotkey id of a slot (1 to 5), 0 before the first registration.
    int32_t Id(int slot) const { return ids_[static_cast<size_t>(slot - 1)]; }
    // The slot of a hotkey id, 0 for none.
    int SlotOf(int32_t id) const;

private:
    HotkeyPort& hotkeys_;
    SystemKeyNames keyNames_;
    std::array<int32_t, HotkeySlotCount> ids_{};
};

}  // namespace kadrilo
