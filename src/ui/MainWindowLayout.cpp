#include "ui/MainWindowLayout.h"

#include <array>

namespace kadrilo::layout {
namespace {

using enum ControlId;
using K = ControlKind;

// ---- The frame ------------------------------------------------------------------
// Top strip 30 px; left strip 97 px with four 84 x 64 buttons; bottom strip 35 px
// with the link at the left and two 100 x 25 buttons at the right; the pages fill
// the rest (384 x 260).
constexpr Rect ContentArea{97, 30, ClientWidth, ClientHeight - 35};

constexpr Rect PageButtonRect(int index) { return {6, 32 + 64 * index, 90, 96 + 64 * index}; }

// ---- The hotkeys tab: five groups of the same shape, 64 px apart -------------------
// Row 1: "Default (...)" and "Disabled"; row 2: "User-defined:" and the editor.

constexpr std::string_view ModeSettings[5] = {"HotKey1Mode", "HotKey2Mode", "HotKey3Mode", "HotKey4Mode",
                                              "HotKey5Mode"};
constexpr std::string_view ShortcutSettings[5] = {"UserHotKey1", "UserHotKey2", "UserHotKey3", "UserHotKey4",
                                                  "UserHotKey5"};

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
            .setting = ModeSettings[slot - 1], .value = mode, .slot = slot};
}

constexpr ControlRow HotkeyEditor(ControlId id, std::string_view name, int slot) {
    const int32_t top = GroupTop(slot);
    return {.id = id, .name = name, .kind = K::HotKeyEditor, .parent = TabSheet3,
            .rect = {174, top + 35, 340, top + 55}, .setting = ShortcutSettings[slot - 1], .slot = slot,
            .enabled = {ModeSettings[slot - 1], 1, true}};
}

constexpr ControlRow TabRow(ControlId id, std::string_view name, int caption) {
    return {.id = id, .name = name, .kind = K::TabSheet, .parent = PageControl,
            .rect = {0, 0, TabPageWidth, TabPageHeight}, .caption = caption};
}

constexpr ControlRow CheckRow(ControlId id, std::string_view name, int32_t top, int caption,
                              std::string_view setting, EnableRule enabled = {}) {
    return {.id = id, .name = name, .kind = K::CheckBox, .parent = TabSheet1, .rect = {14, top, 338, top + 16},
            .caption = caption, .setting = setting, .enabled = enabled};
}

// Kept in the order of ControlId (the creation order).
constexpr std::array Controls{
    ControlRow{.id = TopPanel, .name = "TopPanel", .kind = K::Title, .parent = Window, .rect = {0, 0, ClientWidth, 30}},
    ControlRow{.id = SpeedButton1, .name = "SpeedButton1", .kind = K::PageButton, .parent = Window,
               .rect = PageButtonRect(0), .caption = 1, .startsEnabled = false},
    ControlRow{.id = SpeedButton2, .name = "SpeedButton2", .kind = K::PageButton, .parent = Window,
               .rect = PageButtonRect(1), .caption = 2},
    ControlRow{.id = SpeedButton3, .name = "SpeedButton3", .kind = K::PageButton, .parent = Window,
               .rect = PageButtonRect(2), .caption = 3},
    ControlRow{.id = SpeedButton4, .name = "SpeedButton4", .kind = K::PageButton, .parent = Window,
               .rect = PageButtonRect(3), .caption = 4},
    ControlRow{.id = LinkAbout, .name = "LinkAbout", .kind = K::LinkLabel, .parent = Window,
               .rect = {12, 300, 112, 316}, .caption = 550, .disabledOnPage = 2},
    ControlRow{.id = BitBtn2, .name = "BitBtn2", .kind = K::Button, .parent = Window, .rect = {269, 295, 369, 320},
               .caption = 5, .onlyOnPage = 0},
    ControlRow{.id = BitBtn1, .name = "BitBtn1", .kind = K::Button, .parent = Window, .rect = {373, 295, 473, 320},
               .caption = 6, .onlyOnPage = 0},
    ControlRow{.id = MainPanel0, .name = "MainPanel0", .kind = K::Panel, .parent = Window, .rect = ContentArea,
               .onlyOnPage = 0},
    ControlRow{.id = ScreenshotPreview, .name = "ScreenshotPreview", .kind = K::Image, .parent = MainPanel0,
               .rect = {6, 2, 378, 258}},
    ControlRow{.id = MainPanel1, .name = "MainPanel1", .kind = K::Panel, .parent = Window, .rect = ContentArea,
               .onlyOnPage = 1},
    ControlRow{.id = PageControl, .name = "PageControl", .kind = K::TabControl, .parent = MainPanel1,
               .rect = {2, 2, 382, 258}},
    TabRow(TabSheet1, "TabSheet1", 15),
    TabRow(TabSheet2, "TabSheet2", 16),
    TabRow(TabSheet3, "TabSheet3", 17),
    TabRow(TabSheet4, "TabSheet4", 18),
    TabRow(TabSheet5, "TabSheet5", 19),
    TabRow(TabSheet6, "TabSheet6", 20),
    ControlRow{.id = MainPanel2, .name = "MainPanel2", .kind = K::Panel, .parent = Window, .rect = ContentArea,
               .onlyOnPage = 2},

    ControlRow{.id = GroupBox70, .name = "GroupBox70", .kind = K::GroupBox, .parent = TabSheet1,
               .rect = {4, 4, 346, 132}, .caption = 70},
    ControlRow{.id = Label71, .name = "Label71", .kind = K::Label, .parent = TabSheet1, .rect = {14, 24, 114, 38},
               .caption = 71},
    ControlRow{.id = ComboBox4, .name = "ComboBox4", .kind = K::OwnerDrawnCombo, .parent = TabSheet1,
               .rect = {118, 20, 268, 42}, .setting = "Language"},
    CheckRow(CheckBox1, "CheckBox1", 48, 80, "Coordinates"),
    // While the hotkey that opens the settings is disabled the tray icon is the
    // way back to them, so the option cannot be changed then.
    CheckRow(CheckBox2, "CheckBox2", 68, 81, "TrayIconEnabled", {"HotKey4Mode", 2, false}),
    CheckRow(CheckBox3, "CheckBox3", 88, 82, "ConfirmationOnClose"),
    CheckRow(CheckBox4, "CheckBox4", 108, 83, "StayOnTop"),

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

static_assert(Controls.size() == static_cast<size_t>(Count) - 1, "one row per control");
constexpr bool InIdOrder() {
    for (size_t i = 0; i < Controls.size(); ++i)
        if (static_cast<size_t>(Controls[i].id) != i + 1) return false;
    return true;
}
static_assert(InIdOrder(), "the rows are kept in the order of ControlId");

constexpr std::array Shortcuts{
    WindowShortcut{{Shortcut::Ctrl | 'P'}, SpeedButton1},
    WindowShortcut{{0x1B}, SpeedButton3},  // Esc
    WindowShortcut{{Shortcut::Ctrl | 'Q'}, SpeedButton4},
    WindowShortcut{{0x70}, LinkAbout},     // F1
};

constexpr std::array Languages{
    LanguageItem{"Русский", Images::FlagRussia},
    LanguageItem{"English", Images::FlagUnitedKingdom},
};

constexpr std::array TrayItems{
    TrayMenuItem{TrayCommand::Settings, 580, Images::Settings, false},
    TrayMenuItem{TrayCommand::Mode, 581, Images::Mode, false},
    TrayMenuItem{TrayCommand::Preview, 590, -1, true},
    TrayMenuItem{TrayCommand::Autosave, 591, -1, true},
    TrayMenuItem{TrayCommand::Continuous, 592, -1, true},
    TrayMenuItem{TrayCommand::Clipboard, 593, -1, true},
    TrayMenuItem{TrayCommand::About, 582, Images::About, false},
    TrayMenuItem{TrayCommand::Separator, 0, -1, false},
    TrayMenuItem{TrayCommand::Quit, 583, Images::Quit, false},
};

// The keys that sit in the navigation block or elsewhere off the main block:
// PgUp to Down, Ins, Del, the numeric keypad's divide, Num Lock.
bool IsExtendedKey(uint8_t key) { return (key >= 0x21 && key <= 0x28) || key == 0x2D || key == 0x2E || key == 0x6F || key == 0x90; }

int64_t SettingNumber(std::string_view name, const AppSettings& settings) {
    const SettingField* field = FindSettingField(name);
    return field && field->IsNumber() ? field->Number(settings) : 0;
}

}  // namespace

std::span<const ControlRow> MainWindowControls() { return Controls; }

const ControlRow& Row(ControlId id) { return Controls[static_cast<size_t>(id) - 1]; }

bool ControlChecked(const ControlRow& row, const AppSettings& settings) {
    if (row.setting.empty()) return false;
    const int64_t value = SettingNumber(row.setting, settings);
    return row.kind == ControlKind::Radio ? value == row.value : value != 0;
}

bool ControlEnabled(const ControlRow& row, const AppSettings& settings) {
    if (row.enabled.setting.empty()) return true;
    return (SettingNumber(row.enabled.setting, settings) == row.enabled.value) == row.enabled.whenEqual;
}

int32_t ControlSelection(const ControlRow& row, const AppSettings& settings) {
    return row.setting.empty() ? -1 : static_cast<int32_t>(SettingNumber(row.setting, settings));
}

Shortcut ControlShortcut(const ControlRow& row, const AppSettings& settings) {
    const SettingField* field = FindSettingField(row.setting);
    if (!field || field->type != FieldType::Shortcut) return {};
    return settings.*std::get<Shortcut AppSettings::*>(field->member);
}

uint16_t HotkeyEditorValue(Shortcut shortcut) {
    const uint8_t key = shortcut.Key();
    uint16_t flags = 0;
    if (shortcut.value & Shortcut::Shift) flags |= HotkeyEditorFlags::Shift;
    if (shortcut.value & Shortcut::Ctrl) flags |= HotkeyEditorFlags::Control;
    if (shortcut.value & Shortcut::Alt) flags |= HotkeyEditorFlags::Alt;
    if (IsExtendedKey(key)) flags |= HotkeyEditorFlags::Extended;
    return static_cast<uint16_t>(flags << 8 | key);
}

Shortcut ShortcutFromHotkeyEditor(uint16_t value) {
    const uint16_t flags = value >> 8;
    uint16_t result = value & 0xFF;
    if (flags & HotkeyEditorFlags::Shift) result |= Shortcut::Shift;
    if (flags & HotkeyEditorFlags::Control) result |= Shortcut::Ctrl;
    if (flags & HotkeyEditorFlags::Alt) result |= Shortcut::Alt;
    return {result};
}

std::span<const WindowShortcut> WindowShortcuts() { return Shortcuts; }

std::span<const LanguageItem> LanguageItems() { return Languages; }

std::span<const TrayMenuItem> TrayMenuItems() { return TrayItems; }

int TrayCommandMode(TrayCommand command) {
    switch (command) {
        case TrayCommand::Preview: return 0;
        case TrayCommand::Autosave: return 1;
        case TrayCommand::Continuous: return 2;
        case TrayCommand::Clipboard: return 3;
        default: return -1;
    }
}

}  // namespace kadrilo::layout
