// The "Main" tab: the saving mode, the interface, the start with Windows, the
// picture settings and priority management. The group "Import/Export program
// settings" follows at the bottom (from 638 on).
#include <array>

#include "ui/tabs/SettingsTabs.h"

namespace kadrilo::layout {
namespace {

using enum ControlId;
using K = ControlKind;

constexpr ControlRow Group(ControlId id, std::string_view name, int32_t top, int32_t bottom, int caption) {
    return {.id = id, .name = name, .kind = K::GroupBox, .parent = TabSheet1, .rect = {4, top, 348, bottom},
            .caption = caption};
}

constexpr ControlRow CheckRow(ControlId id, std::string_view name, int32_t top, int caption, SettingId setting,
                              EnableRule enabled = {}) {
    return {.id = id, .name = name, .kind = K::CheckBox, .parent = TabSheet1, .rect = {12, top, 345, top + 16},
            .caption = caption, .setting = setting, .enabled = enabled};
}

constexpr ControlRow Choice(ControlId id, std::string_view name, int32_t left, int32_t top, int caption,
                            SettingId setting, int32_t value, EnableRule enabled = {}) {
    return {.id = id, .name = name, .kind = K::Radio, .parent = TabSheet1, .rect = {left, top, 345, top + 16},
            .caption = caption, .setting = setting, .value = value, .enabled = enabled};
}

constexpr ControlRow Text(ControlId id, std::string_view name, Rect rect, int caption, ControlKind kind = K::Label,
                          EnableRule enabled = {}) {
    return {.id = id, .name = name, .kind = kind, .parent = TabSheet1, .rect = rect, .caption = caption,
            .enabled = enabled};
}

// The priority group's controls are greyed while management is off.
constexpr EnableRule WhilePriorityManaged{SettingId::PriorityChange, 1};
// A user who is not an administrator cannot choose "All users"; with "All
// users" already chosen he cannot leave it either.
constexpr EnableRule AdministratorOnly{.gate = Gate::Administrator};
constexpr EnableRule UnlessAllUsersForAUser{
    .setting = SettingId::Autostart, .value = 1, .whenEqual = false, .gate = Gate::AdministratorFree};

constexpr ControlRow PriorityNote() {
    ControlRow row = Text(Label115, "Label115", {30, 572, 346, 628}, 115, K::Note);
    row.lines = 3;
    return row;
}

constexpr ControlRow WarningLines() {
    ControlRow row = Text(Label93, "Label93", {12, 438, 346, 466}, 93, K::Note);
    row.lines = 2;
    return row;
}

constexpr ControlRow FollowsWarning() {
    ControlRow row = Text(Label3, "Label3", {60, 424, 346, 438}, 92);
    row.follows = Label2;
    return row;
}

constexpr std::array Controls{
    // Saving mode
    Group(RadioGroup1, "RadioGroup1", 4, 96, 50),
    Choice(RadioGroup1_0, "RadioGroup1_0", 12, 20, 51, SettingId::WorkMode, 0),
    Choice(RadioGroup1_1, "RadioGroup1_1", 12, 38, 52, SettingId::WorkMode, 1),
    Choice(RadioGroup1_2, "RadioGroup1_2", 12, 56, 53, SettingId::WorkMode, 2),
    Choice(RadioGroup1_3, "RadioGroup1_3", 12, 74, 54, SettingId::WorkMode, 3),
    // Interface
    Group(GroupBox70, "GroupBox70", 100, 228, 70),
    Text(Label71, "Label71", {14, 120, 114, 134}, 71),
    ControlRow{.id = ComboBox4, .name = "ComboBox4", .kind = K::OwnerDrawnCombo, .parent = TabSheet1,
               .rect = {118, 116, 268, 138}, .setting = SettingId::Language},
    CheckRow(CheckBox1, "CheckBox1", 144, 80, SettingId::Coordinates),
    // While the hotkey that opens the settings is disabled the tray icon is the
    // way back to them, so the option cannot be changed then.
    CheckRow(CheckBox2, "CheckBox2", 164, 81, SettingId::TrayIconEnabled, {.gate = Gate::TrayOptionFree}),
    CheckRow(CheckBox3, "CheckBox3", 184, 82, SettingId::ConfirmationOnClose),
    CheckRow(CheckBox4, "CheckBox4", 204, 83, SettingId::StayOnTop),
    // Launch at Windows startup
    Group(RadioGroup2, "RadioGroup2", 232, 304, 60),
    Choice(RadioGroup2_0, "RadioGroup2_0", 12, 248, 61, SettingId::Autostart, 0, UnlessAllUsersForAUser),
    Choice(RadioGroup2_1, "RadioGroup2_1", 12, 266, 62, SettingId::Autostart, 1, AdministratorOnly),
    Choice(RadioGroup2_2, "RadioGroup2_2", 12, 284, 63, SettingId::Autostart, 2, UnlessAllUsersForAUser),
    // Picture settings
    Group(GroupBox88, "GroupBox88", 308, 472, 88),
    CheckRow(CheckBox13, "CheckBox13", 324, 89, SettingId::IncludeCursor),
    CheckRow(CheckBox14, "CheckBox14", 344, 87, SettingId::CopyImageToClipboard),
    Text(Label90, "Label90", {12, 366, 345, 380}, 90),
    ControlRow{.id = TrackBar1, .name = "TrackBar1", .kind = K::TrackBar, .parent = TabSheet1,
               .rect = {10, 382, 290, 408}, .setting = SettingId::QualityJPEG, .inverted = true},
    ControlRow{.id = Label1, .name = "Label1", .kind = K::ValueLabel, .parent = TabSheet1, .rect = {294, 388, 338, 402},
               .setting = SettingId::QualityJPEG, .inverted = true, .suffix = " %"},
    Text(Label2, "Label2", {12, 424, 60, 438}, 91, K::WarningLabel),
    FollowsWarning(),
    WarningLines(),
    // Priority management
    Group(GroupBox100, "GroupBox100", 476, 634, 100),
    CheckRow(CheckBox5, "CheckBox5", 492, 101, SettingId::PriorityChange),
    Choice(RadioButton1, "RadioButton1", 28, 512, 102, SettingId::PriorityAutoChange, 1, WhilePriorityManaged),
    Choice(RadioButton2, "RadioButton2", 28, 530, 103, SettingId::PriorityAutoChange, 0, WhilePriorityManaged),
    Text(Label104, "Label104", {28, 552, 150, 566}, 104, K::Label, WhilePriorityManaged),
    ControlRow{.id = ComboBox1, .name = "ComboBox1", .kind = K::DropDownList, .parent = TabSheet1,
               .rect = {154, 548, 274, 569}, .setting = SettingId::PriorityClass, .enabled = WhilePriorityManaged,
               .items = {105, 3}},
    ControlRow{.id = Image3, .name = "Image3", .kind = K::InfoIcon, .parent = TabSheet1, .rect = {10, 574, 26, 590}},
    PriorityNote(),
};

}  // namespace

std::span<const ControlRow> MainTabControls() { return Controls; }

}  // namespace kadrilo::layout
