// The "Main" tab: the saving mode, the interface, the start with Windows, the
// picture settings, priority management and the settings file.
#include <array>

#include "ui/tabs/SettingsTabs.h"
#include "ui/tabs/TabRows.h"

namespace kadrilo::layout {
namespace {

using enum ControlId;
using namespace rows;
constexpr ControlId Tab = TabSheet1;

constexpr ControlRow Option(ControlId id, std::string_view name, int32_t left, int32_t top, int caption,
                            SettingId setting, int32_t value, EnableRule enabled = {}) {
    return Choice(id, name, Tab, {left, top, 345, top + 16}, caption, setting, value, enabled);
}

// The priority group's controls are greyed while management is off.
constexpr EnableRule WhilePriorityManaged{SettingId::PriorityChange, 1};
// A user who is not an administrator cannot choose "All users"; with "All
// users" already chosen he cannot leave it either.
constexpr EnableRule AdministratorOnly{.gate = Gate::Administrator};
constexpr EnableRule UnlessAllUsersForAUser{
    .setting = SettingId::Autostart, .value = 1, .whenEqual = false, .gate = Gate::AdministratorFree};

constexpr ControlRow Warning() {
    ControlRow row = Label(Label2, "Label2", Tab, {12, 424, 60, 438}, 91);
    row.kind = ControlKind::WarningLabel;
    return row;
}

constexpr ControlRow AfterWarning() {
    ControlRow row = Label(Label3, "Label3", Tab, {60, 424, 346, 438}, 92);
    row.follows = Label2;
    return row;
}

constexpr std::array Controls{
    // Saving mode
    Group(RadioGroup1, "RadioGroup1", Tab, 4, 96, 50),
    Option(RadioGroup1_0, "RadioGroup1_0", 12, 20, 51, SettingId::WorkMode, 0),
    Option(RadioGroup1_1, "RadioGroup1_1", 12, 38, 52, SettingId::WorkMode, 1),
    Option(RadioGroup1_2, "RadioGroup1_2", 12, 56, 53, SettingId::WorkMode, 2),
    Option(RadioGroup1_3, "RadioGroup1_3", 12, 74, 54, SettingId::WorkMode, 3),
    // Interface
    Group(GroupBox70, "GroupBox70", Tab, 100, 228, 70),
    Label(Label71, "Label71", Tab, {14, 120, 114, 134}, 71),
    ControlRow{.id = ComboBox4, .name = "ComboBox4", .kind = ControlKind::OwnerDrawnCombo, .parent = Tab,
               .rect = {118, 116, 268, 138}, .setting = SettingId::Language},
    Check(CheckBox1, "CheckBox1", Tab, 144, 80, SettingId::Coordinates),
    // While the hotkey that opens the settings is disabled the tray icon is the
    // way back to them, so the option cannot be changed then.
    Check(CheckBox2, "CheckBox2", Tab, 164, 81, SettingId::TrayIconEnabled, {.gate = Gate::TrayOptionFree}),
    Check(CheckBox3, "CheckBox3", Tab, 184, 82, SettingId::ConfirmationOnClose),
    Check(CheckBox4, "CheckBox4", Tab, 204, 83, SettingId::StayOnTop),
    // Launch at Windows startup
    Group(RadioGroup2, "RadioGroup2", Tab, 232, 304, 60),
    Option(RadioGroup2_0, "RadioGroup2_0", 12, 248, 61, SettingId::Autostart, 0, UnlessAllUsersForAUser),
    Option(RadioGroup2_1, "RadioGroup2_1", 12, 266, 62, SettingId::Autostart, 1, AdministratorOnly),
    Option(RadioGroup2_2, "RadioGroup2_2", 12, 284, 63, SettingId::Autostart, 2, UnlessAllUsersForAUser),
    // Picture settings
    Group(GroupBox88, "GroupBox88", Tab, 308, 472, 88),
    Check(CheckBox13, "CheckBox13", Tab, 324, 89, SettingId::IncludeCursor),
    Check(CheckBox14, "CheckBox14", Tab, 344, 87, SettingId::CopyImageToClipboard),
    Label(Label90, "Label90", Tab, {12, 366, 345, 380}, 90),
    ControlRow{.id = TrackBar1, .name = "TrackBar1", .kind = ControlKind::TrackBar, .parent = Tab,
               .rect = {10, 382, 290, 408}, .setting = SettingId::QualityJPEG, .inverted = true},
    ControlRow{.id = Label1, .name = "Label1", .kind = ControlKind::ValueLabel, .parent = Tab,
               .rect = {294, 388, 338, 402}, .setting = SettingId::QualityJPEG, .inverted = true, .suffix = " %"},
    Warning(),
    AfterWarning(),
    Note(Label93, "Label93", Tab, {12, 438, 346, 466}, 93, 2),
    // Priority management
    Group(GroupBox100, "GroupBox100", Tab, 476, 634, 100),
    Check(CheckBox5, "CheckBox5", Tab, 492, 101, SettingId::PriorityChange),
    Option(RadioButton1, "RadioButton1", 28, 512, 102, SettingId::PriorityAutoChange, 1, WhilePriorityManaged),
    Option(RadioButton2, "RadioButton2", 28, 530, 103, SettingId::PriorityAutoChange, 0, WhilePriorityManaged),
    Label(Label104, "Label104", Tab, {28, 552, 150, 566}, 104, WhilePriorityManaged),
    List(ComboBox1, "ComboBox1", Tab, {154, 548, 274, 569}, SettingId::PriorityClass, {105, 3}, WhilePriorityManaged),
    Info(Image3, "Image3", Tab, 10, 574),
    Note(Label115, "Label115", Tab, {30, 572, 346, 628}, 115, 3),
    // Import/Export program settings: the settings file
    Group(GroupBox120, "GroupBox120", Tab, 638, 694, 120),
    Button(BitBtn3, "BitBtn3", Tab, {12, 658, 112, 683}, 121),
    Button(BitBtn4, "BitBtn4", Tab, {120, 658, 220, 683}, 122),
};

}  // namespace

std::span<const ControlRow> MainTabControls() { return Controls; }

}  // namespace kadrilo::layout
