// The "Inscription" tab: what the inscription says, how it looks (with a live
// preview) and where it goes.
#include <array>

#include "ui/tabs/SettingsTabs.h"

namespace kadrilo::layout {
namespace {

using enum ControlId;
using K = ControlKind;

constexpr ControlRow Row(ControlId id, std::string_view name, ControlKind kind, Rect rect, int caption = 0,
                         SettingId setting = NoSetting, EnableRule enabled = {}) {
    return {.id = id, .name = name, .kind = kind, .parent = TabSheet5, .rect = rect, .caption = caption,
            .setting = setting, .enabled = enabled};
}

constexpr ControlRow Spin(ControlId id, std::string_view name, Rect rect, SettingId setting, EnableRule enabled = {}) {
    ControlRow row = Row(id, name, K::SpinEdit, rect, 0, setting, enabled);
    row.length = 3;
    return row;
}

constexpr ControlRow List(ControlId id, std::string_view name, Rect rect, SettingId setting, int firstItem, int items,
                          EnableRule enabled = {}) {
    ControlRow row = Row(id, name, K::DropDownList, rect, 0, setting, enabled);
    row.items = {firstItem, items};
    return row;
}

constexpr ControlRow Style(ControlId id, std::string_view name, int32_t left, int32_t right, int caption,
                           SettingId setting) {
    return Row(id, name, K::CheckBox, {left, 162, right, 178}, caption, setting);
}

// The date/time list while the date/time is on; the background swatch while
// the background is; the offsets while the position uses them.
constexpr EnableRule WithDateTime{SettingId::EnableDateTime, 1};
constexpr EnableRule WithBackground{SettingId::InscriptionTransporent, 0};
constexpr EnableRule HorizontalOffsetUsed{.setting = SettingId::InscriptionCoordinates, .value = 4, .whenBelow = true};
constexpr EnableRule VerticalOffsetUsed{SettingId::InscriptionCoordinates, 6, false};

constexpr ControlRow Background() {
    ControlRow row = Row(CheckBox12, "CheckBox12", K::CheckBox, {176, 188, 266, 204}, 454,
                         SettingId::InscriptionTransporent);
    row.inverted = true;  // ticked: a box behind the text
    return row;
}

constexpr std::array Controls{
    // What it says
    Row(GroupBox400, "GroupBox400", K::GroupBox, {4, 4, 346, 100}, 400),
    Row(CheckBox10, "CheckBox10", K::CheckBox, {14, 22, 338, 38}, 401, SettingId::InscriptionEnabled),
    Row(Label420, "Label420", K::Label, {14, 48, 62, 62}, 420),
    Row(Edit3, "Edit3", K::Edit, {64, 44, 336, 65}, 0, SettingId::InscriptionText),
    Row(CheckBox11, "CheckBox11", K::CheckBox, {14, 74, 160, 90}, 402, SettingId::EnableDateTime),
    List(ComboBox7, "ComboBox7", {164, 71, 336, 93}, SettingId::DateTimeFormat, 403, 12, WithDateTime),
    // How it looks
    Row(GroupBox450, "GroupBox450", K::GroupBox, {4, 106, 346, 292}, 450),
    Row(Label451, "Label451", K::Label, {14, 130, 62, 144}, 451),
    Row(ComboBox8, "ComboBox8", K::FontList, {64, 126, 236, 148}, 0, SettingId::FontName),
    Row(Label452, "Label452", K::Label, {244, 130, 284, 144}, 452),
    Spin(SpinEdit5, "SpinEdit5", {286, 126, 336, 147}, SettingId::FontSize),
    Style(C00, "C00", 14, 90, 455, SettingId::InscriptionStyleBold),
    Style(C01, "C01", 92, 168, 456, SettingId::InscriptionStyleItalic),
    Style(C02, "C02", 170, 256, 457, SettingId::InscriptionStyleUnderline),
    Style(C03, "C03", 258, 338, 458, SettingId::InscriptionStyleStrikeOut),
    Row(Label453, "Label453", K::Label, {14, 190, 104, 204}, 453),
    Row(Panel6, "Panel6", K::ColourSwatch, {106, 185, 150, 207}, 0, SettingId::InscriptionFontColor),
    Background(),
    Row(Panel7, "Panel7", K::ColourSwatch, {270, 185, 314, 207}, 0, SettingId::InscriptionBackGroundColor,
        WithBackground),
    Row(Label459, "Label459", K::Label, {14, 216, 338, 230}, 459),
    // The preview's picture is 336 x 48 inside the control's one-pixel edge.
    Row(PreviewTextImage, "PreviewTextImage", K::Image, {7, 234, 345, 284}),
    // Where it goes
    Row(GroupBox470, "GroupBox470", K::GroupBox, {4, 298, 346, 392}, 470),
    Row(Label471, "Label471", K::Label, {14, 320, 104, 334}, 471),
    List(ComboBox9, "ComboBox9", {106, 316, 286, 338}, SettingId::InscriptionCoordinates, 472, 7),
    Row(Label490, "Label490", K::Label, {14, 346, 284, 360}, 490, NoSetting, HorizontalOffsetUsed),
    Spin(SpinEdit6, "SpinEdit6", {286, 342, 336, 363}, SettingId::InsX, HorizontalOffsetUsed),
    Row(Label491, "Label491", K::Label, {14, 370, 284, 384}, 491, NoSetting, VerticalOffsetUsed),
    Spin(SpinEdit7, "SpinEdit7", {286, 366, 336, 387}, SettingId::InsY, VerticalOffsetUsed),
};

}  // namespace

std::span<const ControlRow> InscriptionTabControls() { return Controls; }

SwatchLook ColourSwatchLook(bool enabled, bool pressed) {
    if (!enabled) return {Bevel::Raised, Bevel::Lowered, 1};
    if (pressed) return {Bevel::None, Bevel::Lowered, 2};
    return {Bevel::Raised, Bevel::None, 2};
}

}  // namespace kadrilo::layout
