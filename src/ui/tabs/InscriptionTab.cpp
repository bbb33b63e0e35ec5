// The "Inscription" tab: what the inscription says, how it looks (with a live
// preview) and where it goes.
#include <array>

#include "ui/tabs/SettingsTabs.h"
#include "ui/tabs/TabRows.h"

namespace kadrilo::layout {
namespace {

using enum ControlId;
using K = ControlKind;
constexpr ControlId Tab = TabSheet5;

// A check box narrower than the tab, beside other controls.
constexpr ControlRow CheckAt(ControlId id, std::string_view name, Rect rect, int caption, SettingId setting) {
    ControlRow row = rows::Check(id, name, Tab, rect.top, caption, setting);
    row.rect = rect;
    return row;
}

constexpr ControlRow Style(ControlId id, std::string_view name, int32_t left, int32_t right, int caption,
                           SettingId setting) {
    return CheckAt(id, name, {left, 162, right, 178}, caption, setting);
}

constexpr ControlRow Swatch(ControlId id, std::string_view name, int32_t left, SettingId setting,
                            EnableRule enabled = {}) {
    return {.id = id, .name = name, .kind = K::ColourSwatch, .parent = Tab, .rect = {left, 185, left + 44, 207},
            .setting = setting, .enabled = enabled};
}

// The date/time list while the date/time is on; the background swatch while
// the background is; the offsets while the position uses them.
constexpr EnableRule WithDateTime{SettingId::EnableDateTime, 1};
constexpr EnableRule WithBackground{SettingId::InscriptionTransporent, 0};
constexpr EnableRule HorizontalOffsetUsed{.setting = SettingId::InscriptionCoordinates, .value = 4, .whenBelow = true};
constexpr EnableRule VerticalOffsetUsed{SettingId::InscriptionCoordinates, 6, false};

constexpr ControlRow Background() {
    ControlRow row = CheckAt(CheckBox12, "CheckBox12", {176, 188, 266, 204}, 454, SettingId::InscriptionTransporent);
    row.inverted = true;  // ticked: a box behind the text
    return row;
}

constexpr ControlRow Preview() {
    // The preview's picture is 336 x 48 inside the control's one-pixel edge.
    return {.id = PreviewTextImage, .name = "PreviewTextImage", .kind = K::Image, .parent = Tab,
            .rect = {7, 234, 345, 284}};
}

constexpr std::array Controls{
    // What it says
    rows::Group(GroupBox400, "GroupBox400", Tab, 4, 100, 400),
    rows::Check(CheckBox10, "CheckBox10", Tab, 22, 401, SettingId::InscriptionEnabled),
    rows::Label(Label420, "Label420", Tab, {14, 48, 62, 62}, 420),
    rows::Edit(Edit3, "Edit3", Tab, {64, 44, 336, 65}, SettingId::InscriptionText, 0),
    CheckAt(CheckBox11, "CheckBox11", {12, 74, 160, 90}, 402, SettingId::EnableDateTime),
    rows::List(ComboBox7, "ComboBox7", Tab, {164, 71, 336, 93}, SettingId::DateTimeFormat, {403, 12}, WithDateTime),
    // How it looks
    rows::Group(GroupBox450, "GroupBox450", Tab, 106, 292, 450),
    rows::Label(Label451, "Label451", Tab, {14, 130, 62, 144}, 451),
    ControlRow{.id = ComboBox8, .name = "ComboBox8", .kind = K::FontList, .parent = Tab, .rect = {64, 126, 236, 148},
               .setting = SettingId::FontName},
    rows::Label(Label452, "Label452", Tab, {244, 130, 284, 144}, 452),
    rows::Spin(SpinEdit5, "SpinEdit5", Tab, {286, 126, 336, 147}, SettingId::FontSize, 3),
    Style(C00, "C00", 14, 90, 455, SettingId::InscriptionStyleBold),
    Style(C01, "C01", 92, 168, 456, SettingId::InscriptionStyleItalic),
    Style(C02, "C02", 170, 256, 457, SettingId::InscriptionStyleUnderline),
    Style(C03, "C03", 258, 338, 458, SettingId::InscriptionStyleStrikeOut),
    rows::Label(Label453, "Label453", Tab, {14, 190, 104, 204}, 453),
    Swatch(Panel6, "Panel6", 106, SettingId::InscriptionFontColor),
    Background(),
    Swatch(Panel7, "Panel7", 270, SettingId::InscriptionBackGroundColor, WithBackground),
    rows::Label(Label459, "Label459", Tab, {14, 216, 338, 230}, 459),
    Preview(),
    // Where it goes
    rows::Group(GroupBox470, "GroupBox470", Tab, 298, 392, 470),
    rows::Label(Label471, "Label471", Tab, {14, 320, 104, 334}, 471),
    rows::List(ComboBox9, "ComboBox9", Tab, {106, 316, 286, 338}, SettingId::InscriptionCoordinates, {472, 7}),
    rows::Label(Label490, "Label490", Tab, {14, 346, 284, 360}, 490, HorizontalOffsetUsed),
    rows::Spin(SpinEdit6, "SpinEdit6", Tab, {286, 342, 336, 363}, SettingId::InsX, 3, HorizontalOffsetUsed),
    rows::Label(Label491, "Label491", Tab, {14, 370, 284, 384}, 491, VerticalOffsetUsed),
    rows::Spin(SpinEdit7, "SpinEdit7", Tab, {286, 366, 336, 387}, SettingId::InsY, 3, VerticalOffsetUsed),
};

}  // namespace

std::span<const ControlRow> InscriptionTabControls() { return Controls; }

SwatchLook ColourSwatchLook(bool enabled, bool pressed) {
    if (!enabled) return {Bevel::Raised, Bevel::Lowered, 1};
    if (pressed) return {Bevel::None, Bevel::Lowered, 2};
    return {Bevel::Raised, Bevel::None, 2};
}

}  // namespace kadrilo::layout
