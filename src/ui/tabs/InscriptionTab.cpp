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

// The four styles in two rows of two: their names are long in Russian.
constexpr ControlRow Style(ControlId id, std::string_view name, int index, int caption, SettingId setting) {
    const int32_t left = index % 2 == 0 ? 12 : 176;
    const int32_t top = 156 + 20 * (index / 2);
    return CheckAt(id, name, {left, top, left + 160, top + 16}, caption, setting);
}

constexpr ControlRow Swatch(ControlId id, std::string_view name, int32_t left, SettingId setting,
                            EnableRule enabled = {}) {
    return {.id = id, .name = name, .kind = K::ColourSwatch, .parent = Tab, .rect = {left, 207, left + 44, 229},
            .setting = setting, .enabled = enabled};
}

// The date/time list while the date/time is on; the background swatch while
// the background is; the offsets while the position uses them.
constexpr EnableRule WithDateTime{SettingId::EnableDateTime, 1};
constexpr EnableRule WithBackground{SettingId::InscriptionTransporent, 0};
constexpr EnableRule HorizontalOffsetUsed{.setting = SettingId::InscriptionCoordinates, .value = 4, .whenBelow = true};
constexpr EnableRule VerticalOffsetUsed{SettingId::InscriptionCoordinates, 6, false};

constexpr ControlRow Background() {
    ControlRow row = CheckAt(CheckBox12, "CheckBox12", {176, 210, 266, 226}, 454, SettingId::InscriptionTransporent);
    row.inverted = true;  // ticked: a box behind the text
    return row;
}

constexpr ControlRow Preview() {
    // The preview's picture is 336 x 48 inside the control's one-pixel edge.
    return {.id = PreviewTextImage, .name = "PreviewTextImage", .kind = K::Image, .parent = Tab,
            .rect = {7, 256, 345, 306}};
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
    rows::Group(GroupBox450, "GroupBox450", Tab, 106, 314, 450),
    rows::Label(Label451, "Label451", Tab, {14, 130, 62, 144}, 451),
    ControlRow{.id = ComboBox8, .name = "ComboBox8", .kind = K::FontList, .parent = Tab, .rect = {64, 126, 236, 148},
               .setting = SettingId::FontName},
    rows::Label(Label452, "Label452", Tab, {244, 130, 284, 144}, 452),
    rows::Spin(SpinEdit5, "SpinEdit5", Tab, {286, 126, 336, 147}, SettingId::FontSize, 3),
    Style(C00, "C00", 0, 455, SettingId::InscriptionStyleBold),
    Style(C01, "C01", 1, 456, SettingId::InscriptionStyleItalic),
    Style(C02, "C02", 2, 457, SettingId::InscriptionStyleUnderline),
    Style(C03, "C03", 3, 458, SettingId::InscriptionStyleStrikeOut),
    rows::Label(Label453, "Label453", Tab, {14, 212, 104, 226}, 453),
    Swatch(Panel6, "Panel6", 106, SettingId::InscriptionFontColor),
    Background(),
    Swatch(Panel7, "Panel7", 270, SettingId::InscriptionBackGroundColor, WithBackground),
    rows::Label(Label459, "Label459", Tab, {14, 238, 338, 252}, 459),
    Preview(),
    // Where it goes
    rows::Group(GroupBox470, "GroupBox470", Tab, 320, 414, 470),
    rows::Label(Label471, "Label471", Tab, {14, 342, 104, 356}, 471),
    rows::List(ComboBox9, "ComboBox9", Tab, {106, 338, 286, 360}, SettingId::InscriptionCoordinates, {472, 7}),
    rows::Label(Label490, "Label490", Tab, {14, 368, 284, 382}, 490, HorizontalOffsetUsed),
    rows::Spin(SpinEdit6, "SpinEdit6", Tab, {286, 364, 336, 385}, SettingId::InsX, 3, HorizontalOffsetUsed),
    rows::Label(Label491, "Label491", Tab, {14, 392, 284, 406}, 491, VerticalOffsetUsed),
    rows::Spin(SpinEdit7, "SpinEdit7", Tab, {286, 388, 336, 409}, SettingId::InsY, 3, VerticalOffsetUsed),
};

}  // namespace

std::span<const ControlRow> InscriptionTabControls() { return Controls; }

SwatchLook ColourSwatchLook(bool enabled, bool pressed) {
    if (!enabled) return {Bevel::Raised, Bevel::Lowered, 1};
    if (pressed) return {Bevel::None, Bevel::Lowered, 2};
    return {Bevel::Raised, Bevel::None, 2};
}

}  // namespace kadrilo::layout
