// The settings tabs' tables: which control is enabled when, what each shows,
// and the reactions of the form behind the tabs' buttons and options.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>

#include "app/AppMainForm.h"
#include "fakes/Fakes.h"
#include "settings/SettingsStore.h"
#include "ui/MainWindowLayout.h"

namespace kadrilo {
namespace {

using layout::ControlEnabled;
using layout::ControlId;
using layout::Row;
using enum layout::ControlId;

// The enable rules, row by row: {settings changed from the defaults}, then
// the controls greyed with them.
TEST(SettingsTabs, EnableRules) {
    using Settings = std::map<SettingId, int64_t>;
    struct Case {
        const char* what;
        Settings settings;
        layout::EnableContext context;
        std::vector<ControlId> on, off;
    };
    const layout::EnableContext admin{true, false}, user{false, false};
    const std::vector<ControlId> priority{RadioButton1, RadioButton2, Label104, ComboBox1};
    const std::vector<ControlId> soundChoices{RadioButton15, RadioButton16, RadioButton17, BitBtn7};
    const std::vector<ControlId> audioFile{Edit4, BitBtn6, Image4, Label17};
    const std::vector<ControlId> actions{RadioButton18, RadioButton19, RadioButton20};
    auto join = [](std::vector<ControlId> a, const std::vector<ControlId>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    const Case cases[] = {
        {"priority management off", {}, admin, {CheckBox5}, priority},
        {"priority management on", {{SettingId::PriorityChange, 1}}, admin, priority, {}},
        {"sound off", {{SettingId::SoundMode, 1}}, admin, {CheckBox7}, join(soundChoices, audioFile)},
        {"sound on, default sound", {{SettingId::SoundEvent, 1}, {SettingId::SoundMode, 0}}, admin, soundChoices,
         audioFile},
        {"sound on, speaker", {{SettingId::SoundEvent, 1}, {SettingId::SoundMode, 2}}, admin, soundChoices, audioFile},
        {"sound on, audio file", {{SettingId::SoundEvent, 1}, {SettingId::SoundMode, 1}}, admin,
         join(soundChoices, audioFile), {}},
        {"action off", {}, admin, {CheckBox8}, actions},
        {"action on", {{SettingId::ExecuteAfterSaving, 1}}, admin, actions, {}},
        {"automatic stop", {}, admin, {SpinEdit1, SpinEdit2, Label254}, {}},
        {"manual stop", {{SettingId::ManualSerial, 1}}, admin, {SpinEdit1, RadioButton22}, {SpinEdit2, Label254}},
        {"administrator, all users", {{SettingId::Autostart, 1}}, admin,
         {RadioGroup2_0, RadioGroup2_1, RadioGroup2_2}, {}},
        {"user, disabled", {}, user, {RadioGroup2_0, RadioGroup2_2}, {RadioGroup2_1}},
        {"user, current user", {{SettingId::Autostart, 2}}, user, {RadioGroup2_0, RadioGroup2_2}, {RadioGroup2_1}},
        {"user, all users", {{SettingId::Autostart, 1}}, user, {}, {RadioGroup2_0, RadioGroup2_1, RadioGroup2_2}},
        {"hotkey 3 user-defined", {{SettingId::HotKey3Mode, 1}}, admin, {HotKey3, RadioButton9}, {HotKey1, HotKey5}},
        {"hotkey 5 disabled", {{SettingId::HotKey5Mode, 2}}, admin, {RadioButton23}, {HotKey5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AppSettings s;
        for (const auto& [id, value] : c.settings) Field(id).SetNumber(s, value);
        for (ControlId id : c.on) EXPECT_TRUE(ControlEnabled(Row(id), s, c.context)) << Row(id).name;
        for (ControlId id : c.off) EXPECT_FALSE(ControlEnabled(Row(id), s, c.context)) << Row(id).name;
    }
}

// The spin fields: the range of their setting and their most digits.
TEST(SettingsTabs, SpinFieldRangesAndDigits) {
    struct Case {
        ControlId id;
        int64_t min, max;
        int digits;
    };
    for (const Case& c : {Case{SpinEdit1, 1, 9999, 4}, Case{SpinEdit2, 0, 9999, 4}, Case{SpinEdit3, 0, 99999, 5},
                          Case{SpinEdit4, 0, 99999, 5}}) {
        SCOPED_TRACE(Row(c.id).name);
        const layout::SpinLimits limits = layout::SpinLimitsOf(Row(c.id));
        EXPECT_EQ(limits.min, c.min);
        EXPECT_EQ(limits.max, c.max);
        EXPECT_EQ(limits.digits, c.digits);
        // The largest value has as many digits as the field holds.
        EXPECT_EQ(std::to_string(limits.max).size(), static_cast<size_t>(limits.digits));
    }
}

TEST(SettingsTabs, WhatTheNewControlsShow) {
    AppSettings s;  // the defaults
    EXPECT_EQ(layout::ControlPosition(Row(TrackBar1), s), 25);
    EXPECT_EQ(layout::ControlValueText(Row(Label1), s), "25 %");
    EXPECT_EQ(layout::ControlSelection(Row(ComboBox2), s), 2);
    EXPECT_EQ(layout::ControlSelection(Row(ComboBox3), s), 1);
    EXPECT_EQ(layout::ControlItems(Row(ComboBox6), English)[3], "TIFF Image File (*.tif)");
    EXPECT_EQ(layout::ControlItems(Row(ComboBox5), English),
              (std::vector<std::string>{"DD,MM,YY(CC-MM-SS)", "CC-MM-SS(DD,MM,YY)", "Text-Number"}));
    for (ControlId id : {RadioGroup1_0, RadioGroup2_0, RadioButton1, RadioButton22, RadioButton18, CheckBox6, CheckBox9})
        EXPECT_TRUE(layout::ControlChecked(Row(id), s)) << Row(id).name;
    // No sound choice is selected until one is chosen.
    for (ControlId id : {RadioButton15, RadioButton16, RadioButton17, RadioButton2, RadioButton21})
        EXPECT_FALSE(layout::ControlChecked(Row(id), s)) << Row(id).name;
    EXPECT_EQ(Row(Edit1).filter, layout::KeyFilter::Folder);
    EXPECT_EQ(Row(Edit5).filter, layout::KeyFilter::Folder);
    EXPECT_EQ(Row(Edit2).filter, layout::KeyFilter::FileName);
    EXPECT_EQ(Row(Edit6).filter, layout::KeyFilter::FileName);
    EXPECT_EQ(Row(Edit4).filter, layout::KeyFilter::None);
}

class SettingsTabsForm : public ::testing::Test {
protected:
    testing::FakePorts fake;
    std::unique_ptr<TAppMainForm> form;

    void Start(std::map<std::string, RegistryValue> stored = {}) {
        fake.registry.Set(RegistryRoot::CurrentUser, SettingsKey, "AppVersion", RegistryValue::Number(21));
        for (const auto& [name, value] : stored) fake.registry.Set(RegistryRoot::CurrentUser, SettingsKey, name, value);
        form = std::make_unique<TAppMainForm>(fake.ports, std::vector<std::string>{"C:\\Tools\\kadrilio.exe"});
        form->FormCreate();
    }
};

TEST_F(SettingsTabsForm, BrowseButtonsFillTheirFieldsUnlessCancelled) {
    Start();
    fake.form.browsedFolder = "D:\\Shots";
    form->BitBtn5Click();
    EXPECT_EQ(form->Settings.DirAutosave, "D:\\Shots");
    EXPECT_EQ(fake.form.browseTitle, "Select directory");
    fake.form.browsedFolder = "";  // cancelled
    form->BitBtn8Click();
    EXPECT_EQ(form->Settings.DirSaveSerial, "C:\\Screenshots\\Continuous");

    fake.form.openedFile = "C:\\Media\\ding.wav";
    form->BitBtn6Click();
    EXPECT_EQ(form->Settings.AudioFilePath, "C:\\Media\\ding.wav");
    fake.form.openedFile.reset();
    form->BitBtn6Click();
    EXPECT_EQ(form->Settings.AudioFilePath, "C:\\Media\\ding.wav");
    EXPECT_EQ(fake.form.openFilters,
              (std::vector<std::string>(2, "Audiofiles (WAVE/MP3/WMA)|*.wav;*.mp3;*.wma")));

    form->Settings.SoundEvent = true;
    form->Settings.SoundMode = 2;
    fake.sound.played.clear();
    form->BitBtn7Click();  // the test plays the notice as a save would
    EXPECT_EQ(fake.sound.played, (std::vector<std::string>{"600/45", "900/45", "1200/45", "1575/45"}));
}

// Slot 4 "Disabled" locks the tray option; "User-defined:" keeps the lock
// until a shortcut is typed; "Default" frees it.
TEST_F(SettingsTabsForm, TheSettingsHotkeyGovernsTheTrayOption) {
    Start();
    EXPECT_FALSE(form->TrayOptionLocked());
    form->HotKeyModeClick(4, 1);  // from Default, no key yet: stays free
    EXPECT_FALSE(form->TrayOptionLocked());
    form->HotKeyModeClick(4, 2);
    EXPECT_TRUE(form->TrayOptionLocked());
    form->HotKeyModeClick(4, 1);
    EXPECT_TRUE(form->TrayOptionLocked());
    form->TrayOptionClick(false);
    EXPECT_TRUE(form->Settings.TrayIconEnabled);
    form->HotKeyChange(4, Shortcut{Shortcut::Ctrl | Shortcut::Alt});  // modifiers only: no key
    EXPECT_TRUE(form->TrayOptionLocked());
    form->HotKeyChange(4, Shortcut{Shortcut::Ctrl | 0x53});
    EXPECT_FALSE(form->TrayOptionLocked());
    form->TrayOptionClick(false);
    EXPECT_FALSE(form->Settings.TrayIconEnabled);
    form->HotKeyModeClick(4, 2);
    form->HotKeyModeClick(4, 0);
    EXPECT_FALSE(form->TrayOptionLocked());
}

TEST_F(SettingsTabsForm, StoredChoicesTakeEffectAtStartUp) {
    Start({{"StayOnTop", RegistryValue::Number(1)}, {"HotKey4Mode", RegistryValue::Number(2)},
           {"TrayIconEnabled", RegistryValue::Number(0)}});
    EXPECT_NE(std::find(fake.form.calls.begin(), fake.form.calls.end(), "on top"), fake.form.calls.end());
    EXPECT_TRUE(form->TrayOptionLocked());
    EXPECT_TRUE(form->Settings.TrayIconEnabled);
}

TEST_F(SettingsTabsForm, ControlsChangeTheirSettingsClamped) {
    Start();
    struct Case {
        SettingId id;
        int64_t given, kept;
    };
    for (const Case& c : {Case{SettingId::QualityJPEG, 130, 100}, Case{SettingId::IntervalOfTime, 0, 1},
                          Case{SettingId::NumberAutosave, 123456, 99999}, Case{SettingId::PriorityClass, 2, 2},
                          Case{SettingId::Autostart, 7, 2}, Case{SettingId::SoundMode, 1, 1}}) {
        form->SettingChanged(c.id, c.given);
        EXPECT_EQ(SettingNumber(form->Settings, c.id), c.kept) << Field(c.id).name;
    }
    form->SettingChanged(SettingId::NameSerial, std::string("shot_"));
    EXPECT_EQ(form->Settings.NameSerial, "shot_");
}

}  // namespace
}  // namespace kadrilo
