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

// X(type, name, default, min, max); min and max apply to the number types.
// SoundMode is -1 while none of its three choices is selected.
#define KADRILO_SETTINGS(X)                                                  \
    /* Main */                                                               \
    X(ListIndex, WorkMode, 0, 0, 3)                                          \
    X(ListIndex, Autostart, 0, 0, 2)                                         \
    X(ListIndex, Language, 1, 0, 1)                                          \
    X(Boolean, Coordinates, false, 0, 1)                                     \
    X(Integer, Left, 0, INT32_MIN, INT32_MAX)                                \
    X(Integer, Top, 0, INT32_MIN, INT32_MAX)                                 \
    X(Boolean, TrayIconEnabled, true, 0, 1)                                  \
    X(Boolean, ConfirmationOnClose, true, 0, 1)                              \
    X(Boolean, StayOnTop, false, 0, 1)                                       \
    X(Boolean, CopyImageToClipboard, false, 0, 1)                            \
    X(Boolean, IncludeCursor, false, 0, 1)                                   \
    X(Integer, QualityJPEG, 75, 0, 100)                                      \
    X(Boolean, PriorityChange, false, 0, 1)                                  \
    X(Boolean, PriorityAutoChange, true, 0, 1)                               \
    X(ListIndex, PriorityClass, 0, 0, 2)                                     \
    /* Autosave */                                                           \
    X(Text, DirAutosave, "C:\\Screenshots", 0, 0)                            \
    X(ListIndex, FNameFormatAutosave, 2, 0, 2)                               \
    X(Text, NameAutosave, "Screenshot-", 0, 0)                               \
    X(Integer, NumberAutosave, 0, 0, 99999)                                  \
    X(ListIndex, GraphFormatAutosave, 1, 0, 3)                               \
    X(Boolean, RenameAutosave, true, 0, 1)                                   \
    /* Hotkeys: 0 the slot's default key, 1 user-defined, 2 disabled */      \
    X(ListIndex, HotKey1Mode, 0, 0, 2)                                       \
    X(ListIndex, HotKey2Mode, 0, 0, 2)                                       \
    X(ListIndex, HotKey3Mode, 0, 0, 2)                                       \
    X(ListIndex, HotKey4Mode, 0, 0, 2)                                       \
    X(ListIndex, HotKey5Mode, 0, 0, 2)                                       \
    X(Shortcut, UserHotKey1, {}, 0, 0)                                       \
    X(Shortcut, UserHotKey2, {}, 0, 0)                                       \
    X(Shortcut, UserHotKey3, {}, 0, 0)                                       \
    X(Shortcut, UserHotKey4, {}, 0, 0)                                       \
    X(Shortcut, UserHotKey5, {}, 0, 0)                                       \
    /* Inscription */                                                        \
    X(Boolean, InscriptionEnabled, false, 0, 1)                              \
    X(Boolean, EnableDateTime, false, 0, 1)                                  \
    X(ListIndex, DateTimeFormat, 0, 0, 11)                                   \
    X(Text, InscriptionText, "Text example", 0, 0)                           \
    X(Text, FontName, "Arial", 0, 0)                                         \
    X(Integer, FontSize, 10, 4, 72)                                          \
    X(Colour, InscriptionFontColor, 0x000000, 0, 0xFFFFFF)                   \
    X(Colour, InscriptionBackGroundColor, 0xFFFFFF, 0, 0xFFFFFF)             \
    X(Boolean, InscriptionTransporent, false, 0, 1)                          \
    X(Boolean, InscriptionStyleBold, false, 0, 1)                            \
    X(Boolean, InscriptionStyleItalic, false, 0, 1)                          \
    X(Boolean, InscriptionStyleUnderline, false, 0, 1)                       \
    X(Boolean, InscriptionStyleStrikeOut, false, 0, 1)                       \
    X(ListIndex, InscriptionCoordinates, 3, 0, 6)                            \
    X(Integer, InsX, 15, 0, 100)                                             \
    X(Integer, InsY, 15, 0, 100)                                             \
    /* Events and notices */                                                 \
    X(Boolean, SoundEvent, false, 0, 1)                                      \
    X(ListIndex, SoundMode, -1, -1, 2)                                       \
    X(Text, AudioFilePath, "", 0, 0)                                         \
    X(Boolean, ExecuteAfterSaving, false, 0, 1)                              \
    X(ListIndex, ExecuteMode, 0, 0, 2)                                       \
    /* Continuous shooting */                                                \
    X(Boolean, ManualSerial, false, 0, 1)                                    \
    X(Integer, IntervalOfTime, 10, 1, 9999)                                  \
    X(Integer, QuantityOfScreenshots, 15, 0, 9999)                           \
    X(Text, DirSaveSerial, "C:\\Screenshots\\Continuous", 0, 0)              \
    X(ListIndex, FNameFormatSerial, 2, 0, 2)                                 \
    X(Text, NameSerial, "Screenshot-", 0, 0)                                 \
    X(Integer, NumberSerial, 0, 0, 99999)                                    \
    X(ListIndex, GraphFormatSerial, 1, 0, 3)                                 \
    X(Boolean, RenameSerial, true, 0, 1)                                     \
    /* The manual save dialog's memory */                                    \
    X(Integer, LastSaveFormat, 1, 1, 4)                                      \
    X(Text, LastSavePath, "NoName", 0, 0)

enum class FieldType { Integer, Boolean, Text, Colour, Shortcut, ListIndex };

namespace field_types {
using Integer = int32_t;
using ListIndex = int32_t;
using Boolean = bool;
using Colour = Color;
using Text = std::string;
using Shortcut = kadrilo::Shortcut;
}  // namespace field_types

struct AppSettings {
#define KADRILO_DECLARE_FIELD(type, name, def, lo, hi) field_types::type name = def;
    KADRILO_SETTINGS(KADRILO_DECLARE_FIELD)
#undef KADRILO_DECLARE_FIELD
};

// The version of the stored settings' layout, written beside the record.
constexpr int32_t AppVersion = 21;

// One row of the field table.
struct SettingField {
    using Member = std::variant<int32_t AppSettings::*, bool AppSettings::*, Color AppSettings::*,
                                std::string AppSettings::*, Shortcut AppSettings::*>;
    std::string_view name;
    FieldType type;
    Member member;
    int64_t min;
    int64_t max;

    bool IsNumber() const { return type != FieldType::Text && type != FieldType::Shortcut; }
    // The value of a number field (booleans as 0 and 1).
    int64_t Number(const AppSettings& s) const;
    void SetNumber(AppSettings& s, int64_t value) const;
    // The value clamped into [min, max].
    int64_t Clamp(int64_t value) const;
};

std::span<const SettingField> SettingFields();
const SettingField* FindSettingField(std::string_view name);

}  // namespace kadrilo
