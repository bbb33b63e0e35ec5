// The shapes of the rows the settings tabs share: groups, labels, notes,
// fields, lists, buttons, check boxes and choices; and the fixed items of the
// graphics format lists of the two tabs that name saved files.
#pragma once

#include <string_view>

#include "ui/MainWindowLayout.h"

namespace kadrilo::layout::rows {

// English in both languages.
inline constexpr std::string_view GraphicsFormats[] = {
    "Windows Bitmap (*.bmp)", "JPEG Image File (*.jpg)", "PNG Image File (*.png)", "TIFF Image File (*.tif)"};

// The longest folder path a field takes, and the longest name text.
constexpr int16_t FolderLength = 259;
constexpr int16_t NameLength = 100;

constexpr ControlRow Label(ControlId id, std::string_view name, ControlId tab, Rect rect, int caption,
                           EnableRule enabled = {}) {
    return {.id = id, .name = name, .kind = ControlKind::Label, .parent = tab, .rect = rect, .caption = caption,
            .enabled = enabled};
}

constexpr ControlRow Note(ControlId id, std::string_view name, ControlId tab, Rect rect, int caption, int8_t lines,
                          EnableRule enabled = {}) {
    ControlRow row = Label(id, name, tab, rect, caption, enabled);
    row.kind = ControlKind::Note;
    row.lines = lines;
    return row;
}

constexpr ControlRow Edit(ControlId id, std::string_view name, ControlId tab, Rect rect, SettingId setting,
                          int16_t length, KeyFilter filter = KeyFilter::None, EnableRule enabled = {}) {
    return {.id = id, .name = name, .kind = ControlKind::Edit, .parent = tab, .rect = rect, .setting = setting,
            .enabled = enabled, .length = length, .filter = filter};
}

constexpr ControlRow Spin(ControlId id, std::string_view name, ControlId tab, Rect rect, SettingId setting,
                          int16_t digits, EnableRule enabled = {}) {
    return {.id = id, .name = name, .kind = ControlKind::SpinEdit, .parent = tab, .rect = rect, .setting = setting,
            .enabled = enabled, .length = digits};
}

constexpr ControlRow List(ControlId id, std::string_view name, ControlId tab, Rect rect, SettingId setting,
                          ItemList items, EnableRule enabled = {}) {
    return {.id = id, .name = name, .kind = ControlKind::DropDownList, .parent = tab, .rect = rect,
            .setting = setting, .enabled = enabled, .items = items};
}

constexpr ControlRow Button(ControlId id, std::string_view name, ControlId tab, Rect rect, int caption,
                            EnableRule enabled = {}) {
    return {.id = id, .name = name, .kind = ControlKind::Button, .parent = tab, .rect = rect, .caption = caption,
            .enabled = enabled};
}

constexpr ControlRow Group(ControlId id, std::string_view name, ControlId tab, int32_t top, int32_t bottom,
                           int caption) {
    return {.id = id, .name = name, .kind = ControlKind::GroupBox, .parent = tab, .rect = {4, top, 348, bottom},
            .caption = caption};
}

constexpr ControlRow Check(ControlId id, std::string_view name, ControlId tab, int32_t top, int caption,
                           SettingId setting, EnableRule enabled = {}) {
    return {.id = id, .name = name, .kind = ControlKind::CheckBox, .parent = tab, .rect = {12, top, 345, top + 16},
            .caption = caption, .setting = setting, .enabled = enabled};
}

constexpr ControlRow Choice(ControlId id, std::string_view name, ControlId tab, Rect rect, int caption,
                            SettingId setting, int32_t value, EnableRule enabled = {}) {
    return {.id = id, .name = name, .kind = ControlKind::Radio, .parent = tab, .rect = rect, .caption = caption,
            .setting = setting, .value = value, .enabled = enabled};
}

constexpr ControlRow Info(ControlId id, std::string_view name, ControlId tab, int32_t left, int32_t top,
                          EnableRule enabled = {}) {
    return {.id = id, .name = name, .kind = ControlKind::InfoIcon, .parent = tab,
            .rect = {left, top, left + 16, top + 16}, .enabled = enabled};
}

}  // namespace kadrilo::layout::rows
