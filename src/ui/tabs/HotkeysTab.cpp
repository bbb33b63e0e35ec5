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

// The components of each slot's group: the group, its three choices (0, 1, 2) and its editor.
struct SlotNames {
    std::string_view group;
    std::string_view radios[3];
    std::string_view editor;
};
constexpr SlotNames Names[5] = {
    {"GroupBox200", {"RadioButton3", "RadioButton4", "RadioButton5"}, "HotKey1"},
    {"GroupBox205", {"RadioButton6", "RadioButton7", "RadioButton8"}, "HotKey2"},
    {"GroupBox210", {"RadioButton9", "RadioButton10", "RadioButton11"}, "HotKey3"},
    {"GroupBox215", {"RadioButton12", "RadioButton13", "RadioButton14"}, "HotKey4"},
    {"GroupBox220", {"RadioButton23", "RadioButton24", "RadioButton25"}, "HotKey5"},
};
constexpr int RowsPerSlot = 5;
// The ids of a slot's controls follow each other, slot after slot.
static_assert(static_cast<int>(GroupBox205) - static_cast<int>(GroupBox200) == RowsPerSlot);
static_assert(static_cast<int>(HotKey5) - static_cast<int>(GroupBox200) == 5 * RowsPerSlot - 1);

constexpr ControlId IdAt(int slot, int offset) {
    return static_cast<ControlId>(static_cast<int>(GroupBox200) + RowsPerSlot * (slot - 1) + offset);
}

constexpr auto Controls = [] {
    std::array<ControlRow, 5 * RowsPerSlot> rows{};
    size_t n = 0;
    for (int slot = 1; slot <= 5; ++slot) {
        const SlotNames& names = Names[slot - 1];
        rows[n++] = HotkeyGroup(IdAt(slot, 0), names.group, slot);
        for (int mode = 0; mode < 3; ++mode) rows[n++] = HotkeyRadio(IdAt(slot, 1 + mode), names.radios[mode], slot, mode);
        rows[n++] = HotkeyEditor(IdAt(slot, 4), names.editor, slot);
    }
    return rows;
}();

}  // namespace

std::span<const ControlRow> HotkeysTabControls() { return Controls; }

}  // namespace kadrilo::layout
