#include "ui/MainWindowLayout.h"

#include <algorithm>
#include <array>
#include <climits>
#include <vector>

#include "settings/ShortcutText.h"
#include "text/Strings.h"
#include "ui/tabs/SettingsTabs.h"

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

constexpr ControlRow TabRow(ControlId id, std::string_view name, int caption) {
    return {.id = id, .name = name, .kind = K::TabSheet, .parent = PageControl,
            .rect = {0, 0, TabPageWidth, TabPageHeight}, .caption = caption};
}

// The about page's lines: a caption column and a value column, 20 pixels a line
// (a gap after the build date).
struct Column {
    int32_t left, right;
};
constexpr Column AboutCaptionColumn{36, 186};
constexpr Column AboutValueColumn{192, 356};
constexpr ControlRow AboutRow(ControlId id, std::string_view name, ControlKind kind, Column column, int line,
                              int caption = 0) {
    const int32_t top = 92 + 20 * line + (line >= 2 ? 8 : 0);
    return {.id = id, .name = name, .kind = kind, .parent = MainPanel2, .rect = {column.left, top, column.right, top + 16},
            .caption = caption};
}

// Kept in the order of ControlId (the creation order).
constexpr std::array Frame{
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
    TabRow(TabSheet4, "TabSheet4", 19),
    TabRow(TabSheet5, "TabSheet5", 18),
    TabRow(TabSheet6, "TabSheet6", 20),
    ControlRow{.id = MainPanel2, .name = "MainPanel2", .kind = K::Panel, .parent = Window, .rect = ContentArea,
               .onlyOnPage = 2},
    // The about page: the logo, then captions at the left and values at the right.
    ControlRow{.id = ImageLogo, .name = "ImageLogo", .kind = K::Logo, .parent = MainPanel2, .rect = {160, 8, 224, 72}},
    ControlRow{.id = GroupBoxAbout, .name = "GroupBoxAbout", .kind = K::GroupBox, .parent = MainPanel2,
               .rect = {16, 78, 368, 236}},
    AboutRow(Label551, "Label551", K::Label, AboutCaptionColumn, 0, 551),
    AboutRow(LabelVersion, "LabelVersion", K::Label, AboutValueColumn, 0),
    AboutRow(Label552, "Label552", K::Label, AboutCaptionColumn, 1, 552),
    AboutRow(LabelDate, "LabelDate", K::Label, AboutValueColumn, 1),
    AboutRow(LabelMaker, "LabelMaker", K::Label, AboutCaptionColumn, 2),
    AboutRow(LinkMail, "LinkMail", K::LinkLabel, AboutValueColumn, 2),
    AboutRow(Label553, "Label553", K::Label, AboutCaptionColumn, 3, 553),
    AboutRow(LinkForum, "LinkForum", K::LinkLabel, AboutValueColumn, 3),
    AboutRow(Label554, "Label554", K::Label, AboutCaptionColumn, 4, 554),
    AboutRow(LinkWebPage, "LinkWebPage", K::LinkLabel, AboutValueColumn, 4),
    ControlRow{.id = LinkUpdates, .name = "LinkUpdates", .kind = K::LinkLabel, .parent = MainPanel2,
               .rect = {AboutCaptionColumn.left, 206, AboutValueColumn.right, 222}, .caption = 557},

};

// The frame's rows come first in ControlId, the about page's in its own section.
constexpr bool InIdOrder() {
    for (size_t i = 0; i < Frame.size(); ++i)
        if (Frame[i].id <= (i == 0 ? Window : Frame[i - 1].id)) return false;
    return true;
}
static_assert(InIdOrder(), "the rows are kept in the order of ControlId");

// The "Inscription" tab (TabSheet5) comes before "Events and notices" (TabSheet4).
const std::array Tabs{
    SettingsTabLayout{TabSheet1, MainTabControls()},        SettingsTabLayout{TabSheet2, AutosaveTabControls()},
    SettingsTabLayout{TabSheet3, HotkeysTabControls()},     SettingsTabLayout{TabSheet5, InscriptionTabControls()},
    SettingsTabLayout{TabSheet4, EventsTabControls()},      SettingsTabLayout{TabSheet6, SeriesTabControls()},
};

// Every row by ControlId, made once.
struct AllRows {
    std::vector<ControlRow> rows;
    std::array<const ControlRow*, static_cast<size_t>(Count)> byId{};
    AllRows() {
        rows.assign(Frame.begin(), Frame.end());
        for (const SettingsTabLayout& tab : Tabs) rows.insert(rows.end(), tab.controls.begin(), tab.controls.end());
        for (const ControlRow& row : rows) byId[static_cast<size_t>(row.id)] = &row;
    }
};

const AllRows& Rows() {
    static const AllRows all;
    return all;
}

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

constexpr ModifierBits EditorModifiers{HotkeyEditorFlags::Shift, HotkeyEditorFlags::Control, HotkeyEditorFlags::Alt};

// The keys that sit in the navigation block or elsewhere off the main block:
// PgUp to Down, Ins, Del, the numeric keypad's divide, Num Lock.
bool IsExtendedKey(uint8_t key) { return (key >= 0x21 && key <= 0x28) || key == 0x2D || key == 0x2E || key == 0x6F || key == 0x90; }

int64_t NumberShown(SettingId id, const AppSettings& settings) {
    if (id == NoSetting) return 0;
    const SettingField& field = Field(id);
    return field.IsNumber() ? field.Number(settings) : 0;
}

}  // namespace

std::span<const ControlRow> FrameControls() { return Frame; }

std::span<const SettingsTabLayout> SettingsTabLayouts() { return Tabs; }

std::span<const ControlRow> MainWindowControls() { return Rows().rows; }

const ControlRow& Row(ControlId id) { return *Rows().byId[static_cast<size_t>(id)]; }

bool ControlChecked(const ControlRow& row, const AppSettings& settings) {
    if (!row.ShowsSetting()) return false;
    const int64_t value = NumberShown(row.setting, settings);
    return row.kind == ControlKind::Radio ? value == row.value : (value != 0) != row.inverted;
}

bool ControlEnabled(const ControlRow& row, const AppSettings& settings, const EnableContext& context) {
    const EnableRule& rule = row.enabled;
    switch (rule.gate) {
        case Gate::Administrator:
            if (!context.isAdministrator) return false;
            break;
        case Gate::AdministratorFree:
            if (context.isAdministrator) return true;
            break;
        case Gate::TrayOptionFree:
            if (context.trayOptionLocked) return false;
            break;
        case Gate::None:
            break;
    }
    if (rule.setting != NoSetting) {
        const int64_t value = NumberShown(rule.setting, settings);
        if (rule.whenBelow ? value >= rule.value : (value == rule.value) != rule.whenEqual) return false;
    }
    return rule.andSetting == NoSetting || NumberShown(rule.andSetting, settings) == rule.andValue;
}

int32_t ControlPosition(const ControlRow& row, const AppSettings& settings) {
    if (!row.ShowsSetting()) return 0;
    const SettingField& field = Field(row.setting);
    const int64_t value = field.Clamp(NumberShown(row.setting, settings));
    return static_cast<int32_t>(row.inverted ? field.min + field.max - value : value);
}

int64_t SettingOfPosition(const ControlRow& row, int32_t position) {
    if (!row.ShowsSetting()) return 0;
    const SettingField& field = Field(row.setting);
    const int64_t value = field.Clamp(position);
    return row.inverted ? field.min + field.max - value : value;
}

std::string ControlValueText(const ControlRow& row, const AppSettings& settings) {
    return std::to_string(ControlPosition(row, settings)) + std::string(row.suffix);
}

std::string ControlCaption(const ControlRow& row, int language) {
    if (row.caption == 0) return {};
    std::string text;
    for (int line = 0; line < std::max<int>(row.lines, 1); ++line) {
        if (line > 0) text += "\r\n";
        text += LoadStrEx(language, row.caption + line);
    }
    return text;
}

std::vector<std::string> ControlItems(const ControlRow& row, int language) {
    std::vector<std::string> items;
    for (int i = 0; i < row.items.count; ++i) items.push_back(LoadStrEx(language, row.items.firstId + i));
    for (std::string_view text : row.items.texts) items.emplace_back(text);
    return items;
}

bool KeyAccepted(KeyFilter filter, char32_t character) {
    constexpr std::u32string_view everywhere = U"/*|?\"<>";
    switch (filter) {
        case KeyFilter::None: return true;
        case KeyFilter::Folder: return everywhere.find(character) == std::u32string_view::npos;
        case KeyFilter::FileName:
            return everywhere.find(character) == std::u32string_view::npos && character != U'\\' && character != U':';
    }
    return true;
}

SpinLimits SpinLimitsOf(const ControlRow& row) {
    const SettingField& field = Field(row.setting);
    return {field.min, field.max, row.length};
}

std::optional<int64_t> SpinValue(const ControlRow& row, std::string_view text, bool final) {
    if (!row.ShowsSetting() || text.empty()) return std::nullopt;
    const SpinLimits limits = SpinLimitsOf(row);
    if (limits.digits > 0 && text.size() > static_cast<size_t>(limits.digits)) return std::nullopt;
    int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > INT32_MAX) return std::nullopt;
    }
    if (final) return std::clamp(value, limits.min, limits.max);
    if (value < limits.min || value > limits.max) return std::nullopt;
    return value;
}

int32_t Scaled(int32_t value, int dpi) {
    const int64_t product = static_cast<int64_t>(value) * dpi;
    // Halves away from zero, as MulDiv rounds.
    return static_cast<int32_t>(product >= 0 ? (product + DesignDpi / 2) / DesignDpi
                                             : -((-product + DesignDpi / 2) / DesignDpi));
}

Rect Scaled(const Rect& rect, int dpi) {
    return {Scaled(rect.left, dpi), Scaled(rect.top, dpi), Scaled(rect.right, dpi), Scaled(rect.bottom, dpi)};
}

int32_t ControlSelection(const ControlRow& row, const AppSettings& settings) {
    return row.ShowsSetting() ? static_cast<int32_t>(NumberShown(row.setting, settings)) : -1;
}

Shortcut ControlShortcut(const ControlRow& row, const AppSettings& settings) {
    if (!row.ShowsSetting() || Field(row.setting).type != FieldType::Shortcut) return {};
    return Field(row.setting).Key(settings);
}

uint16_t HotkeyEditorValue(Shortcut shortcut) {
    const uint8_t key = shortcut.Key();
    uint32_t flags = RemapModifiers(shortcut.value, ShortcutModifiers, EditorModifiers);
    if (IsExtendedKey(key)) flags |= HotkeyEditorFlags::Extended;
    return static_cast<uint16_t>(flags << 8 | key);
}

Shortcut ShortcutFromHotkeyEditor(uint16_t value) {
    const uint32_t modifiers = RemapModifiers(value >> 8, EditorModifiers, ShortcutModifiers);
    return {static_cast<uint16_t>(modifiers | (value & 0xFF))};
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
