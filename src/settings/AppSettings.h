// AppSettings: the one record of every user setting, described once.
//
// Each row of KADRILO_SETTINGS gives the field's type, its name (which is also
// its registry value name and its key in the settings file), its built-in
// default and its valid range. The record, its field table and everything that
// loops over the settings are generated from this list.
#pragma once

#include <climits>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "platform/Types.h"

namespace kadrilo {

// X(type, name, default, min, max, control); min and max apply to the number
// types; the control is the kind of control that shows the field, which also
// decides how a stored value is applied (a spin edit clamps, a list shows no
// selection for an index it does not have, a choice ignores it).
// SoundMode is -1 while none of its three choices is selected.
#define KADRILO_SETTINGS(X)                                                  \
    /* Main */                                                               \
    X(ListIndex, WorkMode, 0, 0, 3, RadioGroup)                              \
    X(ListIndex, Autostart, 0, 0, 2, RadioGroup)                             \
    X(ListIndex, Language, 1, 0, 1, ComboBox)                                \
    X(Boolean, Coordinates, false, 0, 1, CheckBox)                           \
    X(Integer, Left, 0, INT32_MIN, INT32_MAX, WindowPosition)                \
    X(Integer, Top, 0, INT32_MIN, INT32_MAX, WindowPosition)                 \
    X(Boolean, TrayIconEnabled, true, 0, 1, CheckBox)                        \
    X(Boolean, ConfirmationOnClose, true, 0, 1, CheckBox)                    \
    X(Boolean, StayOnTop, false, 0, 1, CheckBox)                             \
    X(Boolean, CopyImageToClipboard, false, 0, 1, CheckBox)                  \
    X(Boolean, IncludeCursor, false, 0, 1, CheckBox)                         \
    X(Integer, QualityJPEG, 75, 0, 100, TrackBar)                            \
    X(Boolean, PriorityChange, false, 0, 1, CheckBox)                        \
    X(Boolean, PriorityAutoChange, true, 0, 1, RadioPair)                    \
    X(ListIndex, PriorityClass, 0, 0, 2, ComboBox)                           \
    /* Autosave */                                                           \
    X(Text, DirAutosave, "C:\\Screenshots", 0, 0, Edit)                      \
    X(ListIndex, FNameFormatAutosave, 2, 0, 2, ComboBox)                     \
    X(Text, NameAutosave, "Screenshot-", 0, 0, Edit)                         \
    X(Integer, NumberAutosave, 0, 0, 99999, SpinEdit)                        \
    X(ListIndex, GraphFormatAutosave, 1, 0, 3, ComboBox)                     \
    X(Boolean, RenameAutosave, true, 0, 1, CheckBox)                         \
    /* Hotkeys: 0 the slot's default key, 1 user-defined, 2 disabled */      \
    X(ListIndex, HotKey1Mode, 0, 0, 2, RadioChoice)                          \
    X(ListIndex, HotKey2Mode, 0, 0, 2, RadioChoice)                          \
    X(ListIndex, HotKey3Mode, 0, 0, 2, RadioChoice)                          \
    X(ListIndex, HotKey4Mode, 0, 0, 2, RadioChoice)                          \
    X(ListIndex, HotKey5Mode, 0, 0, 2, RadioChoice)                          \
    X(Shortcut, UserHotKey1, {}, 0, 0, HotKeyEditor)                         \
    X(Shortcut, UserHotKey2, {}, 0, 0, HotKeyEditor)                         \
    X(Shortcut, UserHotKey3, {}, 0, 0, HotKeyEditor)                         \
    X(Shortcut, UserHotKey4, {}, 0, 0, HotKeyEditor)                         \
    X(Shortcut, UserHotKey5, {}, 0, 0, HotKeyEditor)                         \
    /* Inscription */                                                        \
    X(Boolean, InscriptionEnabled, false, 0, 1, CheckBox)                    \
    X(Boolean, EnableDateTime, false, 0, 1, CheckBox)                        \
    X(ListIndex, DateTimeFormat, 0, 0, 11, ComboBox)                         \
    X(Text, InscriptionText, "Text example", 0, 0, Edit)                     \
    X(Text, FontName, "Arial", 0, 0, FontList)                               \
    X(Integer, FontSize, 10, 4, 72, SpinEdit)                                \
    X(Colour, InscriptionFontColor, 0x000000, 0, 0xFFFFFF, ColourSwatch)     \
    X(Colour, InscriptionBackGroundColor, 0xFFFFFF, 0, 0xFFFFFF, ColourSwatch)\
    X(Boolean, InscriptionTransporent, false, 0, 1, CheckBox)                \
    X(Boolean, InscriptionStyleBold, false, 0, 1, CheckBox)                  \
    X(Boolean, InscriptionStyleItalic, false, 0, 1, CheckBox)                \
    X(Boolean, InscriptionStyleUnderline, false, 0, 1, CheckBox)             \
    X(Boolean, InscriptionStyleStrikeOut, false, 0, 1, CheckBox)             \
    X(ListIndex, InscriptionCoordinates, 3, 0, 6, PositionList)              \
    X(Integer, InsX, 15, 0, 100, SpinEdit)                                   \
    X(Integer, InsY, 15, 0, 100, SpinEdit)                                   \
    /* Events and notices */                                                 \
    X(Boolean, SoundEvent, false, 0, 1, CheckBox)                            \
    X(ListIndex, SoundMode, -1, -1, 2, RadioChoice)                          \
    X(Text, AudioFilePath, "", 0, 0, Edit)                                   \
    X(Boolean, ExecuteAfterSaving, false, 0, 1, CheckBox)                    \
    X(ListIndex, ExecuteMode, 0, 0, 2, RadioChoice)                          \
    /* Continuous shooting */                                                \
    X(Boolean, ManualSerial, false, 0, 1, RadioPair)                         \
    X(Integer, IntervalOfTime, 10, 1, 9999, SpinEdit)                        \
    X(Integer, QuantityOfScreenshots, 15, 0, 9999, SpinEdit)                 \
    X(Text, DirSaveSerial, "C:\\Screenshots\\Continuous", 0, 0, Edit)        \
    X(ListIndex, FNameFormatSerial, 2, 0, 2, ComboBox)                       \
    X(Text, NameSerial, "Screenshot-", 0, 0, Edit)                           \
    X(Integer, NumberSerial, 0, 0, 99999, SpinEdit)                          \
    X(ListIndex, GraphFormatSerial, 1, 0, 3, ComboBox)                       \
    X(Boolean, RenameSerial, true, 0, 1, CheckBox)                           \
    /* The manual save dialog's memory */                                    \
    X(Integer, LastSaveFormat, 1, 1, 4, SaveDialog)                          \
    X(Text, LastSavePath, "NoName", 0, 0, SaveDialog)

enum class FieldType { Integer, Boolean, Text, Colour, Shortcut, ListIndex };

enum class Control {
    RadioGroup,      // a list of choices; an index past the end selects the last, a negative one none
    ComboBox,        // a drop-down list; an index it does not have selects none (-1)
    PositionList,    // the inscription's position list: an index it does not have is clamped
                     // into its range, so that no shot fails on a stored value
    FontList,        // the font list, through the font rule
    CheckBox,
    RadioPair,       // two choice buttons: true the first, false the second
    RadioChoice,     // three choice buttons: 0, 1 or 2; any other value selects nothing new
    SpinEdit,        // clamped into the range
    TrackBar,        // the compression level, 100 - value
    Edit,
    HotKeyEditor,
    ColourSwatch,
    WindowPosition,  // the main window's own position
    SaveDialog,      // the manual save dialog's memory
};

namespace field_types {
using Integer = int32_t;
using ListIndex = int32_t;
using Boolean = bool;
using Colour = Color;
using Text = std::string;
using Shortcut = kadrilo::Shortcut;
}  // namespace field_types

struct AppSettings {
#define KADRILO_DECLARE_FIELD(type, name, def, lo, hi, control) field_types::type name = def;
    KADRILO_SETTINGS(KADRILO_DECLARE_FIELD)
#undef KADRILO_DECLARE_FIELD
};

// Every setting by its id: the order of the table above.
enum class SettingId : uint8_t {
#define KADRILO_SETTING_ID(type, name, def, lo, hi, control) name,
    KADRILO_SETTINGS(KADRILO_SETTING_ID)
#undef KADRILO_SETTING_ID
    Count
};
constexpr size_t SettingCount = static_cast<size_t>(SettingId::Count);

// The settings of the five hotkey slots lie next to each other.
static_assert(static_cast<int>(SettingId::HotKey5Mode) - static_cast<int>(SettingId::HotKey1Mode) == 4);
static_assert(static_cast<int>(SettingId::UserHotKey5) - static_cast<int>(SettingId::UserHotKey1) == 4);
constexpr SettingId HotKeyModeSetting(int slot) {
    return static_cast<SettingId>(static_cast<int>(SettingId::HotKey1Mode) + slot - 1);
}
constexpr SettingId UserHotKeySetting(int slot) {
    return static_cast<SettingId>(static_cast<int>(SettingId::UserHotKey1) + slot - 1);
}

// The version of the stored settings' layout, written beside the record.
constexpr int32_t AppVersion = 21;

// One row of the field table.
struct SettingField {
    using Member = std::variant<int32_t AppSettings::*, bool AppSettings::*, Color AppSettings::*,
                                std::string AppSettings::*, Shortcut AppSettings::*>;
    SettingId id;
    std::string_view name;
    FieldType type;
    Member member;
    int64_t min;
    int64_t max;
    Control control;

    bool IsNumber() const { return type != FieldType::Text && type != FieldType::Shortcut; }
    // The value of a number field (booleans as 0 and 1).
    int64_t Number(const AppSettings& s) const;
    void SetNumber(AppSettings& s, int64_t value) const;
    // The value clamped into [min, max].
    int64_t Clamp(int64_t value) const;
    // The fields of the other types.
    std::string& Text(AppSettings& s) const { return s.*std::get<std::string AppSettings::*>(member); }
    const std::string& Text(const AppSettings& s) const { return s.*std::get<std::string AppSettings::*>(member); }
    Shortcut& Key(AppSettings& s) const { return s.*std::get<Shortcut AppSettings::*>(member); }
    Shortcut Key(const AppSettings& s) const { return s.*std::get<Shortcut AppSettings::*>(member); }
};

std::span<const SettingField> SettingFields();
const SettingField& Field(SettingId id);
// The field of a stored name (a registry value or a settings-file key), or
// none; names compare exactly.
const SettingField* FindSettingField(std::string_view name);
// The number of a number field (booleans as 0 and 1).
int64_t SettingNumber(const AppSettings& s, SettingId id);

}  // namespace kadrilo
