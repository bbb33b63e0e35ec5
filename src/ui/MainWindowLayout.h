// The main window's controls, described once: one row per control with its
// kind, its parent, its place, its caption and the setting it shows. The
// Windows layer creates, shows, captions and reads the controls by looping over
// this table; the rules that decide what a control shows are here too.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Types.h"
#include "settings/AppSettings.h"

namespace kadrilo::layout {

// The main window's client area, in pixels.
constexpr int32_t ClientWidth = 481;
constexpr int32_t ClientHeight = 325;
// The visible client of a settings tab (a vertical scroll box).
constexpr int32_t TabPageWidth = 366;
constexpr int32_t TabPageHeight = 231;
// A settings tab scrolls by this many pixels a line.
constexpr int32_t ScrollStep = 16;

enum class ControlId : uint16_t {
    Window,  // the main window itself: the parent of the top-level controls, not a row
    TopPanel,
    SpeedButton1,
    SpeedButton2,
    SpeedButton3,
    SpeedButton4,
    LinkAbout,
    BitBtn2,
    BitBtn1,
    MainPanel0,
    ScreenshotPreview,
    MainPanel1,
    PageControl,
    TabSheet1,
    TabSheet2,
    TabSheet3,
    TabSheet4,
    TabSheet5,
    TabSheet6,
    MainPanel2,
    // Tab "Main": the interface group
    GroupBox70,
    Label71,
    ComboBox4,
    CheckBox1,
    CheckBox2,
    CheckBox3,
    CheckBox4,
    // Tab "Main": the other groups
    RadioGroup1,
    RadioGroup1_0,
    RadioGroup1_1,
    RadioGroup1_2,
    RadioGroup1_3,
    RadioGroup2,
    RadioGroup2_0,
    RadioGroup2_1,
    RadioGroup2_2,
    GroupBox88,
    CheckBox13,
    CheckBox14,
    Label90,
    TrackBar1,
    Label1,
    Label2,
    Label3,
    Label93,
    GroupBox100,
    CheckBox5,
    RadioButton1,
    RadioButton2,
    Label104,
    ComboBox1,
    Image3,
    Label115,

    // Tab "Main": the group "Import/Export program settings"
    GroupBox120,
    BitBtn3,
    BitBtn4,

    // Tab "Autosave"
    GroupBox150,
    Label151,
    Edit1,
    BitBtn5,
    Label153,
    ComboBox2,
    Label165,
    Edit2,
    Label166,
    SpinEdit3,
    Label167,
    ComboBox3,
    CheckBox6,
    Label169,

    // Tab "Hotkeys": one group per hotkey slot
    GroupBox200,
    RadioButton3,
    RadioButton4,
    RadioButton5,
    HotKey1,
    GroupBox205,
    RadioButton6,
    RadioButton7,
    RadioButton8,
    HotKey2,
    GroupBox210,
    RadioButton9,
    RadioButton10,
    RadioButton11,
    HotKey3,
    GroupBox215,
    RadioButton12,
    RadioButton13,
    RadioButton14,
    HotKey4,
    GroupBox220,
    RadioButton23,
    RadioButton24,
    RadioButton25,
    HotKey5,
    // Tab "Events and notices"
    GroupBox350,
    CheckBox7,
    RadioButton15,
    RadioButton16,
    Edit4,
    BitBtn6,
    RadioButton17,
    BitBtn7,
    Image4,
    Label17,
    GroupBox370,
    CheckBox8,
    RadioButton18,
    RadioButton19,
    RadioButton20,

    // Tab "Inscription"
    GroupBox400,
    CheckBox10,
    Label420,
    Edit3,
    CheckBox11,
    ComboBox7,
    GroupBox450,
    Label451,
    ComboBox8,
    Label452,
    SpinEdit5,
    C00,
    C01,
    C02,
    C03,
    Label453,
    Panel6,
    CheckBox12,
    Panel7,
    Label459,
    PreviewTextImage,
    GroupBox470,
    Label471,
    ComboBox9,
    Label490,
    SpinEdit6,
    Label491,
    SpinEdit7,

    // Tab "Continuous shooting"
    GroupBox250,
    RadioButton22,
    RadioButton21,
    Label253,
    SpinEdit1,
    Label254,
    SpinEdit2,
    Image5,
    Label255,
    GroupBox270,
    Label271,
    Edit5,
    BitBtn8,
    Label273,
    ComboBox5,
    Label285,
    Edit6,
    Label286,
    SpinEdit4,
    Label287,
    ComboBox6,
    CheckBox9,
    Label289,

    // Page "About"
    ImageLogo,
    GroupBoxAbout,
    Label551,
    LabelVersion,
    Label552,
    LabelDate,
    LabelMaker,
    LinkMail,
    Label553,
    LinkForum,
    Label554,
    LinkWebPage,
    LinkUpdates,

    Count
};

enum class ControlKind {
    Title,            // the top strip's page title
    PageButton,       // a large flat button with its picture above its caption
    Button,
    LinkLabel,
    Panel,            // a page of the content area
    Image,            // a framed picture
    TabControl,
    TabSheet,         // one tab's page: a vertical scroll box
    GroupBox,
    Label,
    Radio,
    CheckBox,
    OwnerDrawnCombo,  // a drop-down list whose items are drawn with a picture
    HotKeyEditor,
    Edit,             // a line of text, with the key filter and the length of its row
    SpinEdit,         // a number: an edit with an up-down control, the range of its setting
    TrackBar,         // a slider over its setting's range, no tick marks
    DropDownList,     // a plain drop-down list: items from string ids or fixed texts
    ValueLabel,       // a label showing its setting's value (as a track bar shows it) and a suffix
    Note,             // lines of text, one string id a line
    WarningLabel,     // a label in red, underlined
    InfoIcon,         // the small information sign
    FontList,         // a drop-down list of the installed font families, showing a text setting
    ColourSwatch,     // a bevelled area of its colour setting's colour; a click chooses another
    Logo,             // the program's logo picture
};

// No setting: a control that shows none, a rule that always holds.
constexpr SettingId NoSetting = SettingId::Count;

// What else than the settings may decide whether a control is enabled.
enum class Gate : uint8_t {
    None,
    Administrator,      // greyed for a user who is not an administrator
    AdministratorFree,  // the conditions bind only a user who is not an administrator
    TrayOptionFree,     // greyed while the tray option is locked (the hotkey that opens the settings is off)
};

// What the enable rules read beside the settings.
struct EnableContext {
    bool isAdministrator = true;
    bool trayOptionLocked = false;
};

// A control is enabled while `setting` equals `value` (or differs from it,
// with `whenEqual` false) and `andSetting` equals `andValue`, and its gate is
// open. No setting means always.
struct EnableRule {
    SettingId setting = NoSetting;
    int32_t value = 0;
    bool whenEqual = true;
    SettingId andSetting = NoSetting;
    int32_t andValue = 0;
    Gate gate = Gate::None;
    bool whenBelow = false;  // enabled while `setting` is below `value` instead

    bool Any() const { return setting != NoSetting || andSetting != NoSetting || gate != Gate::None; }
};

// The characters a text field refuses as they are typed.
enum class KeyFilter : uint8_t {
    None,
    Folder,    // / * | ? " < >
    FileName,  // / \ * | ? " < > :
};

// The items of a drop-down list: `count` string ids from `firstId`, or fixed texts.
struct ItemList {
    int firstId = 0;
    int count = 0;
    std::span<const std::string_view> texts = {};
};

struct ControlRow {
    ControlId id;
    std::string_view name;   // the component's name
    ControlKind kind;
    ControlId parent;        // the window, a page, the tab control (for its tabs) or a tab
    Rect rect;               // in the parent's client area; a tab's children: in its scrolled content
    int caption = 0;         // string id, 0 for none
    SettingId setting = NoSetting;  // the setting it shows
    int32_t value = 0;       // a radio: the setting's value it stands for
    int slot = 0;            // a hotkey radio or editor: its hotkey slot, 1 to 5
    EnableRule enabled = {};
    bool startsEnabled = true;   // "View" waits for the first shot
    int8_t onlyOnPage = -1;      // shown only while this page is (0 preview, 1 settings, 2 about)
    int8_t disabledOnPage = -1;  // disabled while this page is shown
    int16_t length = 0;          // an edit: the most characters (0 any); a spin field: the most digits
    KeyFilter filter = KeyFilter::None;  // an edit's typed characters
    ItemList items = {};         // a drop-down list's items
    bool inverted = false;       // a track bar or value label: shows min + max - the setting's value; a check box: ticked while it is off
    std::string_view suffix = {};  // a value label: the text after the value
    int8_t lines = 1;            // a note: this many string ids from `caption` on, one a line
    ControlId follows = ControlId::Window;  // a label that starts where this label's text ends

    bool ShowsSetting() const { return setting != NoSetting; }
};

// The frame of the main window: the title, the page buttons, the bottom strip,
// the pages, the tab control and its tab sheets.
std::span<const ControlRow> FrameControls();

// A settings tab: its sheet and the controls on it, from its own table.
struct SettingsTabLayout {
    ControlId sheet;
    std::span<const ControlRow> controls;
};
// The six tabs in the tab control's order.
std::span<const SettingsTabLayout> SettingsTabLayouts();

// Every row: the frame's, then each tab's, in the order they are made.
std::span<const ControlRow> MainWindowControls();
// The row of a control; `id` must not be Window or Count.
const ControlRow& Row(ControlId id);

// True for the kinds that hold other controls as child windows.
constexpr bool HoldsChildren(ControlKind kind) {
    return kind == ControlKind::Panel || kind == ControlKind::TabSheet;
}

// ---- What a control shows, from the settings ----------------------------------

// A radio: its value is the setting's; a check box: its setting is true.
bool ControlChecked(const ControlRow& row, const AppSettings& settings);
bool ControlEnabled(const ControlRow& row, const AppSettings& settings, const EnableContext& context = {});
// A list: the selected index (the setting's value).
int32_t ControlSelection(const ControlRow& row, const AppSettings& settings);
// A hotkey editor: the shortcut it holds.
Shortcut ControlShortcut(const ControlRow& row, const AppSettings& settings);
// A track bar: its position; a value label: its text.
int32_t ControlPosition(const ControlRow& row, const AppSettings& settings);
int64_t SettingOfPosition(const ControlRow& row, int32_t position);
std::string ControlValueText(const ControlRow& row, const AppSettings& settings);
// A caption, a note's lines (joined by CR LF) or nothing, in the language.
std::string ControlCaption(const ControlRow& row, int language);
// A drop-down list's items in the language.
std::vector<std::string> ControlItems(const ControlRow& row, int language);

// ---- Typed input ------------------------------------------------------------------

// False for a character the filter refuses (the field beeps then).
bool KeyAccepted(KeyFilter filter, char32_t character);

// A spin field's range (its setting's) and its most digits.
struct SpinLimits {
    int64_t min;
    int64_t max;
    int digits;
};
SpinLimits SpinLimitsOf(const ControlRow& row);
// What a spin field's text asks its setting to become: while typing, only a
// number inside the range; when the field is left (`final`), any number
// clamped into it. Nothing for an empty text, other characters or more digits
// than the field holds.
std::optional<int64_t> SpinValue(const ControlRow& row, std::string_view text, bool final);

// ---- Scaling -----------------------------------------------------------------------

// The tables are in units of a 96 dots-an-inch display; a window at `dpi`
// scales them (each edge rounded on its own, so that neighbours stay neighbours).
constexpr int DesignDpi = 96;
int32_t Scaled(int32_t value, int dpi);
Rect Scaled(const Rect& rect, int dpi);

// A settings tab is scrolled back to its top whenever it is shown, but for the
// "Autosave" tab.
constexpr bool ScrollsToTopWhenShown(ControlId tab) { return tab != ControlId::TabSheet2; }

// ---- The hotkey editor's value ------------------------------------------------

// The standard hotkey editor holds the key in the low byte and its modifiers in
// the high byte: 1 Shift, 2 Ctrl, 4 Alt, 8 an extended key.
namespace HotkeyEditorFlags {
constexpr uint16_t Shift = 0x01;
constexpr uint16_t Control = 0x02;
constexpr uint16_t Alt = 0x04;
constexpr uint16_t Extended = 0x08;
}  // namespace HotkeyEditorFlags

// The editor's value of a shortcut; the keys of the navigation block carry the
// extended flag, so that the editor names them as on the main keyboard.
uint16_t HotkeyEditorValue(Shortcut shortcut);
Shortcut ShortcutFromHotkeyEditor(uint16_t value);

// ---- Window shortcuts ----------------------------------------------------------

// A key of the main window that does what clicking a control does.
struct WindowShortcut {
    Shortcut key;
    ControlId control;
};
std::span<const WindowShortcut> WindowShortcuts();

// ---- Pictures of the main image list --------------------------------------------

namespace Images {
constexpr int FlagRussia = 8;
constexpr int FlagUnitedKingdom = 9;
constexpr int Settings = 10;
constexpr int Mode = 11;
constexpr int Quit = 12;
constexpr int About = 13;  // the information sign, added after the strip
}  // namespace Images

// The picture of a mode item of the tray menu: each mode has one for "current"
// and one for "not current".
constexpr int ModeImage(int mode, bool current) { return mode * 2 + (current ? 0 : 1); }

// The language list's items, in the order of the Language values.
struct LanguageItem {
    std::string_view text;
    int image;
};
std::span<const LanguageItem> LanguageItems();

// ---- The tray menu ---------------------------------------------------------------

enum class TrayCommand { Settings, Mode, About, Separator, Quit, Preview, Autosave, Continuous, Clipboard };

struct TrayMenuItem {
    TrayCommand command;
    int caption;       // string id
    int image;         // in the main image list; -1 for none (the mode items take theirs from the mode)
    bool inModeMenu;   // an item of the "Mode" submenu
};
std::span<const TrayMenuItem> TrayMenuItems();
// The working mode a mode item sets, or -1 for the other items.
int TrayCommandMode(TrayCommand command);

}  // namespace kadrilo::layout
