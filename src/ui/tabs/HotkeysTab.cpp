// The "Hotkeys" tab: five groups of the same shape, 64 px apart. Row 1:
// "Default (...)" and "Disabled"; row 2: "User-defined:" and the editor.
#include <array>

#include "ui/tabs/SettingsTabs.h"

namespace kadrilo::layout {
namespace {

using enum ControlId;
using K = ControlKind;

constexpr int32_t GroupTop(int slot) { return 4 + 64 * (slot - 1); }

constexpr ControlRow HotkeyGroup(ControlId id, std::string_view name, int slot) {
    const int32_t top = GroupTop(slot);
    return {.id = id, .name = name, .kind = K::GroupBox, .parent = TabSheet3, .rect = {4, top, 346, top + 60},
            .caption = 195 + 5 * slot};
}

// mode 0 "Default (...)", 1 "User-defined:", 2 "Disabled"
constexpr ControlRow HotkeyRadio(ControlId id, std::string_view name, int slot, int32_t mode) {
    constexpr Rect places[3] = {{12, 16, 250, 32}, {12, 37, 170, 53}, {254, 16, 340, 32}};
    const int32_t top = GroupTop(slot);
    const Rect r = places[mode];
    return {.id = id, .name = name, .kind = K::Radio, .parent = TabSheet3,
            .rect = {r.left, top + r.top, r.right, top + r.bottom}, .caption = 196 + 5 * slot + mode,
            .setting = HotKeyModeSetting(slot), .value = mode, .slot = slot};
}

constexpr ControlRow HotkeyEditor(ControlId id, std::string_view name, int slot) {
    const int32_t top = GroupTop(slot);
    return {.id = id, .name = name, .kind = K::HotKeyEditor, .parent = TabSheet3,
            .rect = {174, top + 35, 340, top + 55}, .setting = UserHotKeySetting(slot), .slot = slot,
            .enabled = {HotKeyModeSetting(slot), 1, true}};
}

constexpr std::array Controls{
    HotkeyGroup(GroupBox200, "GroupBox200", 1),
    HotkeyRadio(RadioButton3, "RadioButton3", 1, 0),
    HotkeyRadio(RadioButton4, "RadioButton4", 1, 1),
    HotkeyRadio(RadioButton5, "RadioButton5", 1, 2),
    HotkeyEditor(HotKey1, "HotKey1", 1),
    HotkeyGroup(GroupBox205, "GroupBox205", 2),
    HotkeyRadio(RadioButton6, "RadioButton6", 2, 0),
    HotkeyRadio(RadioButton7, "RadioButton7", 2, 1),
    HotkeyRadio(RadioButton8, "RadioButton8", 2, 2),
    HotkeyEditor(HotKey2, "HotKey2", 2),
    HotkeyGroup(GroupBox210, "GroupBox210", 3),
    HotkeyRadio(RadioButton9, "RadioButton9", 3, 0),
    HotkeyRadio(RadioButton10, "RadioButton10", 3, 1),
    HotkeyRadio(RadioButton11, "RadioButton11", 3, 2),
    HotkeyEditor(HotKey3, "HotKey3", 3),
    HotkeyGroup(GroupBox215, "GroupBox215", 4),
    HotkeyRadio(RadioButton12, "RadioButton12", 4, 0),
    HotkeyRadio(RadioButton13, "RadioButton13", 4, 1),
    HotkeyRadio(RadioButton14, "RadioButton14", 4, 2),
    HotkeyEditor(HotKey4, "HotKey4", 4),
    HotkeyGroup(GroupBox220, "GroupBox220", 5),
    HotkeyRadio(RadioButton23, "RadioButton23", 5, 0),
    HotkeyRadio(RadioButton24, "RadioButton24", 5, 1),
    HotkeyRadio(RadioButton25, "RadioButton25", 5, 2),
    HotkeyEditor(HotKey5, "HotKey5", 5),
};

}  // namespace

std::span<const ControlRow> HotkeysTabControls() { return Controls; }

}  // namespace kadrilo::layout
