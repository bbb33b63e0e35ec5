// The "Main" tab: the interface group and the group "Import/Export program settings".
#include <array>

#include "ui/tabs/SettingsTabs.h"

namespace kadrilo::layout {
namespace {

using enum ControlId;
using K = ControlKind;

constexpr ControlRow CheckRow(ControlId id, std::string_view name, int32_t top, int caption, SettingId setting,
                              EnableRule enabled = {}) {
    return {.id = id, .name = name, .kind = K::CheckBox, .parent = TabSheet1, .rect = {14, top, 338, top + 16},
            .caption = caption, .setting = setting, .enabled = enabled};
}

constexpr std::array Controls{
    ControlRow{.id = GroupBox70, .name = "GroupBox70", .kind = K::GroupBox, .parent = TabSheet1,
               .rect = {4, 4, 346, 132}, .caption = 70},
    ControlRow{.id = Label71, .name = "Label71", .kind = K::Label, .parent = TabSheet1, .rect = {14, 24, 114, 38},
               .caption = 71},
    ControlRow{.id = ComboBox4, .name = "ComboBox4", .kind = K::OwnerDrawnCombo, .parent = TabSheet1,
               .rect = {118, 20, 268, 42}, .setting = SettingId::Language},
    CheckRow(CheckBox1, "CheckBox1", 48, 80, SettingId::Coordinates),
    // While the hotkey that opens the settings is disabled the tray icon is the
    // way back to them, so the option cannot be changed then.
    CheckRow(CheckBox2, "CheckBox2", 68, 81, SettingId::TrayIconEnabled, {SettingId::HotKey4Mode, 2, false}),
    CheckRow(CheckBox3, "CheckBox3", 88, 82, SettingId::ConfirmationOnClose),
    CheckRow(CheckBox4, "CheckBox4", 108, 83, SettingId::StayOnTop),
    // The group "Import/Export program settings": the settings file.
    ControlRow{.id = GroupBox120, .name = "GroupBox120", .kind = K::GroupBox, .parent = TabSheet1,
               .rect = {4, 140, 346, 196}, .caption = 120},
    ControlRow{.id = BitBtn3, .name = "BitBtn3", .kind = K::Button, .parent = TabSheet1, .rect = {14, 160, 114, 185},
               .caption = 121},
    ControlRow{.id = BitBtn4, .name = "BitBtn4", .kind = K::Button, .parent = TabSheet1, .rect = {122, 160, 222, 185},
               .caption = 122},
};

}  // namespace

std::span<const ControlRow> MainTabControls() { return Controls; }

}  // namespace kadrilo::layout
