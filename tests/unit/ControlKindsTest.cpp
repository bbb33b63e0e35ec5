// The rules of the generic control kinds: typed input, ranges, the track
// bar's inversion, enable rules with their gates, lists and scaling.
#include <gtest/gtest.h>

#include "text/Strings.h"
#include "ui/MainWindowLayout.h"

namespace kadrilo::layout {
namespace {

constexpr ControlRow Spin(SettingId setting, int16_t digits) {
    return {.id = ControlId::TopPanel, .name = "spin", .kind = ControlKind::SpinEdit, .parent = ControlId::Window,
            .rect = {0, 0, 10, 10}, .setting = setting, .length = digits};
}

TEST(ControlKinds, KeyFiltersOfFolderAndNameFields) {
    struct Case {
        char32_t c;
        bool folder, name;
    };
    for (const Case& k : {
             Case{U'/', false, false}, Case{U'*', false, false}, Case{U'|', false, false},
             Case{U'?', false, false}, Case{U'"', false, false}, Case{U'<', false, false},
             Case{U'>', false, false}, Case{U':', true, false}, Case{U'\\', true, false},
             Case{U'a', true, true}, Case{U'-', true, true}, Case{U'.', true, true}, Case{U'я', true, true},
             Case{U'\b', true, true},  // backspace still edits
         }) {
        SCOPED_TRACE(static_cast<uint32_t>(k.c));
        EXPECT_EQ(KeyAccepted(KeyFilter::Folder, k.c), k.folder);
        EXPECT_EQ(KeyAccepted(KeyFilter::FileName, k.c), k.name);
        EXPECT_TRUE(KeyAccepted(KeyFilter::None, k.c));
    }
}

TEST(ControlKinds, SpinFieldTakesOnlyWhatItsRangeAndDigitsAllow) {
    const ControlRow interval = Spin(SettingId::IntervalOfTime, 4);  // 1 to 9999
    const ControlRow size = Spin(SettingId::FontSize, 3);            // 4 to 72
    struct Case {
        const ControlRow* row;
        const char* text;
        std::optional<int64_t> typing, left;
    };
    for (const Case& c : {
             Case{&interval, "10", 10, 10},
             Case{&interval, "0", std::nullopt, 1},  // an interval of 0 cannot be entered
             Case{&interval, "9999", 9999, 9999},
             Case{&interval, "10000", std::nullopt, std::nullopt},  // more digits than the field holds
             Case{&interval, "", std::nullopt, std::nullopt},
             Case{&interval, "1a", std::nullopt, std::nullopt},
             Case{&interval, "-5", std::nullopt, std::nullopt},
             Case{&size, "1", std::nullopt, 4},  // the first digit of 12 is not taken yet
             Case{&size, "12", 12, 12},
             Case{&size, "999", std::nullopt, 72},
         }) {
        SCOPED_TRACE(std::string(Field(c.row->setting).name) + " " + c.text);
        EXPECT_EQ(SpinValue(*c.row, c.text, false), c.typing);
        EXPECT_EQ(SpinValue(*c.row, c.text, true), c.left);
    }
}

TEST(ControlKinds, TrackBarShowsTheStoredValueInverted) {
    const ControlRow bar{.id = ControlId::TopPanel, .name = "bar", .kind = ControlKind::TrackBar,
                         .parent = ControlId::Window, .rect = {0, 0, 10, 10}, .setting = SettingId::QualityJPEG,
                         .inverted = true};
    ControlRow label = bar;
    label.kind = ControlKind::ValueLabel;
    label.suffix = " %";
    AppSettings s;  // QualityJPEG 75
    EXPECT_EQ(ControlPosition(bar, s), 25);
    EXPECT_EQ(ControlValueText(label, s), "25 %");
    EXPECT_EQ(SettingOfPosition(bar, 0), 100);
    EXPECT_EQ(SettingOfPosition(bar, 100), 0);
    EXPECT_EQ(SettingOfPosition(bar, 130), 0);  // clamped first
    s.QualityJPEG = 250;                         // out of range: shown clamped
    EXPECT_EQ(ControlPosition(bar, s), 0);
    label.inverted = false;
    EXPECT_EQ(ControlValueText(label, s), "100 %");
}

TEST(ControlKinds, EnableRulesWithTwoConditionsAndGates) {
    const auto rowWith = [](EnableRule rule) {
        return ControlRow{.id = ControlId::TopPanel, .name = "r", .kind = ControlKind::Edit,
                          .parent = ControlId::Window, .rect = {0, 0, 1, 1}, .enabled = rule};
    };
    const ControlRow both = rowWith({SettingId::SoundEvent, 1, true, SettingId::SoundMode, 1});
    const ControlRow onlyAdmin = rowWith({.gate = Gate::Administrator});
    const ControlRow adminFree = rowWith({.setting = SettingId::Autostart, .value = 1, .whenEqual = false, .gate = Gate::AdministratorFree});
    const ControlRow tray = rowWith({.gate = Gate::TrayOptionFree});
    const EnableContext admin{true, false}, user{false, false}, locked{true, true};
    AppSettings s;
    s.SoundEvent = true;
    s.SoundMode = 1;
    EXPECT_TRUE(ControlEnabled(both, s));
    s.SoundMode = 2;
    EXPECT_FALSE(ControlEnabled(both, s));
    s.SoundMode = 1;
    s.SoundEvent = false;
    EXPECT_FALSE(ControlEnabled(both, s));

    EXPECT_TRUE(ControlEnabled(onlyAdmin, s, admin));
    EXPECT_FALSE(ControlEnabled(onlyAdmin, s, user));
    s.Autostart = 1;
    EXPECT_TRUE(ControlEnabled(adminFree, s, admin));
    EXPECT_FALSE(ControlEnabled(adminFree, s, user));
    s.Autostart = 2;
    EXPECT_TRUE(ControlEnabled(adminFree, s, user));
    EXPECT_TRUE(ControlEnabled(tray, s, admin));
    EXPECT_FALSE(ControlEnabled(tray, s, locked));
}

TEST(ControlKinds, ListItemsAndNoteLinesInTheLanguage) {
    static constexpr std::string_view fixed[] = {"One", "Two"};
    ControlRow list{.id = ControlId::TopPanel, .name = "l", .kind = ControlKind::DropDownList,
                    .parent = ControlId::Window, .rect = {0, 0, 1, 1}, .items = {105, 3}};
    EXPECT_EQ(ControlItems(list, English), (std::vector<std::string>{"High", "Normal", "Idle"}));
    EXPECT_EQ(ControlItems(list, Russian)[0], LoadStrEx(Russian, 105));
    list.items = {.texts = fixed};
    EXPECT_EQ(ControlItems(list, Russian), (std::vector<std::string>{"One", "Two"}));

    ControlRow note = list;
    note.kind = ControlKind::Note;
    note.caption = 115;
    note.lines = 3;
    EXPECT_EQ(ControlCaption(note, English),
              LoadStrEx(English, 115) + "\r\n" + LoadStrEx(English, 116) + "\r\n" + LoadStrEx(English, 117));
    note.lines = 1;
    EXPECT_EQ(ControlCaption(note, English), LoadStrEx(English, 115));
}

TEST(ControlKinds, PlacesScaleWithTheDisplay) {
    EXPECT_EQ(Scaled(Rect{4, 4, 346, 132}, 96), (Rect{4, 4, 346, 132}));
    EXPECT_EQ(Scaled(Rect{4, 4, 346, 132}, 144), (Rect{6, 6, 519, 198}));
    EXPECT_EQ(Scaled(Rect{1, 3, 5, 7}, 120), (Rect{1, 4, 6, 9}));  // halves away from zero: 1.25, 3.75, 6.25, 8.75
    EXPECT_EQ(Scaled(-11, 144), -17);                               // a font height: -16.5
    EXPECT_EQ(Scaled(ClientWidth, 144), 722);                       // 721.5
    // Neighbours stay neighbours: one's right edge is the next one's left.
    for (int dpi : {96, 120, 144, 168, 192})
        EXPECT_EQ(Scaled(Rect{0, 0, 97, 1}, dpi).right, Scaled(Rect{97, 0, 481, 1}, dpi).left);
}

}  // namespace
}  // namespace kadrilo::layout
