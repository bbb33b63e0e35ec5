#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/AppMainForm.h"
#include "fakes/Fakes.h"
#include "settings/SettingsStore.h"

namespace kadrilo {
namespace {

using ::testing::ElementsAre;
using testing::FakePorts;

// Records the actions that other parts of the program carry out.
class ActionForm : public TAppMainForm {
public:
    using TAppMainForm::TAppMainForm;
    std::vector<std::string> log;
    void ChooseScreenArea() override { log.push_back("choose area"); }
    void SelectMainPage(int page) override {
        log.push_back("page " + std::to_string(page));
        TAppMainForm::SelectMainPage(page);
    }
};

class Actions : public ::testing::Test {
protected:
    FakePorts fake;
    ActionForm form{fake.ports, {"C:\\Tools\\kadrilio.exe"}};

    void SetUp() override {
        fake.registry.Set(RegistryRoot::CurrentUser, SettingsKey, "AppVersion", RegistryValue::Number(21));
        form.FormCreate();
        fake.timers.calls.clear();
        fake.system.priorities.clear();
    }
};

TEST_F(Actions, ShotSlotsByModeWithoutSeries) {
    struct Case {
        int32_t mode;
        int slot;
        size_t captures;
        bool seriesStarts;
    };
    for (const Case& c : {Case{1, 1, 1, false}, Case{3, 2, 1, false}, Case{2, 1, 0, true}, Case{2, 2, 0, true}}) {
        FakePorts ports;
        ActionForm f(ports.ports, {"k.exe"});
        f.Settings.WorkMode = c.mode;
        f.MainActions(c.slot);
        EXPECT_EQ(ports.screen.captures.size(), c.captures);
        EXPECT_EQ(f.SeriesRunning(), c.seriesStarts);
        if (c.seriesStarts) {
            EXPECT_EQ(f.SeriesCounter(), 1);
            EXPECT_EQ(ports.timers.running[TimerId::Timer2], 1u);
            // A series raises the priority to the chosen class whether management is on or not.
            EXPECT_THAT(ports.system.priorities, ElementsAre(std::pair<uint32_t, int>{0x80, 2}));
        }
    }
}

TEST_F(Actions, ActiveWindowShotCopiesTheForegroundWindow) {
    form.Settings.WorkMode = ClipboardMode;
    form.Settings.IncludeCursor = true;
    form.MainActions(2);
    ASSERT_EQ(fake.screen.captures.size(), 1u);
    EXPECT_EQ(fake.screen.captures[0].rect, (Rect{10, 20, 310, 220}));
    EXPECT_TRUE(fake.screen.captures[0].includeCursor);
    EXPECT_TRUE(fake.screen.captures[0].useCaptureBlt);
    EXPECT_EQ(fake.clipboard.images.size(), 1u);
}

TEST_F(Actions, EveryActionStopsARunningSeriesFirst) {
    struct Case {
        int slot;
        std::vector<std::string> log;
        int32_t modeAfter;
    };
    for (const Case& c : {Case{1, {}, 2}, Case{2, {}, 2}, Case{3, {}, 2}, Case{4, {"page 1"}, 2}, Case{5, {}, 3}}) {
        SCOPED_TRACE(c.slot);
        FakePorts ports;
        ActionForm f(ports.ports, {"k.exe"});
        f.Settings.WorkMode = ContinuousMode;
        f.MainActions(1);  // starts a full-screen series
        ports.sound.played.clear();
        ports.system.priorities.clear();

        f.MainActions(c.slot);

        EXPECT_FALSE(f.SeriesRunning());
        EXPECT_EQ(ports.timers.running.count(TimerId::Timer2), 0u);
        EXPECT_EQ(ports.sound.played.front(), "beep");
        EXPECT_EQ(ports.system.priorities.front(), (std::pair<uint32_t, int>{0x20, 0}));
        EXPECT_TRUE(ports.screen.captures.empty());
        EXPECT_EQ(f.log, c.log);
        EXPECT_EQ(f.Settings.WorkMode, c.modeAfter);
    }
}

TEST_F(Actions, StoppingACommandLineSeriesQuits) {
    form.OneShotRun = true;
    form.Settings.WorkMode = ContinuousMode;
    form.MainActions(1);
    form.MainActions(1);
    EXPECT_TRUE(fake.windows.loopEnded);
    EXPECT_EQ(fake.registry.ReadValue(RegistryRoot::CurrentUser, SettingsKey, "WorkMode"), RegistryValue::Number(2));
}

TEST_F(Actions, ModeCycleWithItsTones) {
    std::vector<int32_t> modes;
    for (int i = 0; i < 4; ++i) {
        form.SettingsSaved = true;
        form.MainActions(5);
        modes.push_back(form.Settings.WorkMode);
        EXPECT_FALSE(form.SettingsSaved);
    }
    EXPECT_THAT(modes, ElementsAre(1, 2, 3, 0));
    EXPECT_THAT(fake.sound.played, ElementsAre("800/30", "1100/30", "1400/30", "500/30"));

    form.Settings.WorkMode = -1;  // an edited registry
    fake.sound.speakerWorks = false;
    form.MainActions(5);
    EXPECT_EQ(form.Settings.WorkMode, 0);
    EXPECT_EQ(fake.sound.played.back(), "beep");
}

TEST_F(Actions, HotkeyGates) {
    struct Case {
        const char* name;
        bool mainVisible, editorFocused, popupVisible;
        int32_t id;
        bool acts;
    };
    for (const Case& c : {Case{"plain", false, false, false, form.HotkeyId(1), true},
                          Case{"typing a shortcut", true, true, false, form.HotkeyId(1), false},
                          Case{"editor focus while hidden", false, true, false, form.HotkeyId(1), true},
                          Case{"preview or overlay open", false, false, true, form.HotkeyId(1), false},
                          Case{"unknown id", false, false, false, 12345, false}}) {
        SCOPED_TRACE(c.name);
        fake.screen.captures.clear();
        fake.windows.mainVisible = c.mainVisible;
        fake.windows.editorFocused = c.editorFocused;
        fake.windows.popupVisible = c.popupVisible;
        form.Settings.WorkMode = ClipboardMode;
        form.WMHotKey(c.id);
        EXPECT_EQ(fake.screen.captures.size(), c.acts ? 1u : 0u);
    }
}

TEST_F(Actions, RegistrationPasses) {
    FakePorts ports;
    ports.hotkeys.takenElsewhere = {{2, 0x2C}};  // Ctrl+PrintScreen belongs to another program
    TAppMainForm f(ports.ports, {"k.exe"});
    f.Settings.HotKey2Mode = 2;                          // disabled: nothing registered
    f.Settings.UserHotKey2 = Shortcut{0x41};
    f.Settings.HotKey4Mode = 1;                          // user-defined Ctrl+Alt+F5
    f.Settings.UserHotKey4 = Shortcut{Shortcut::Ctrl | Shortcut::Alt | 0x74};
    f.Settings.HotKey5Mode = 1;                          // the same shortcut again
    f.Settings.UserHotKey5 = f.Settings.UserHotKey4;
    ports.windows.answers = {MessageAnswer::Ok, MessageAnswer::Ok};

    f.RegHotKeys(true);

    using Combination = std::pair<uint32_t, uint32_t>;
    EXPECT_EQ(ports.hotkeys.registered.size(), 2u);
    EXPECT_EQ(ports.hotkeys.registered[f.HotkeyId(1)], (Combination{0, 0x2C}));
    EXPECT_EQ(ports.hotkeys.registered[f.HotkeyId(4)], (Combination{3, 0x74}));
    ASSERT_EQ(ports.windows.messages.size(), 2u);
    EXPECT_EQ(ports.windows.messages[0].text.substr(0, 41), "Can't register hotkey \"Ctrl + PrintScreen");
    EXPECT_EQ(ports.windows.messages[1].text.substr(0, 36), "Can't register hotkey \"Ctrl+Alt+F5\",");
    EXPECT_EQ(ports.windows.messages[1].flags, MessageFlags::Ok | MessageFlags::IconStop);
    EXPECT_TRUE(ports.windows.mainVisible);
    EXPECT_EQ(f.CurrentMainPage, 1);
    EXPECT_EQ(ports.form.settingsTab, SettingsTabHotkeys);

    f.RegHotKeys(false);
    EXPECT_TRUE(ports.hotkeys.registered.empty());
}

TEST_F(Actions, RegistrationFailuresAreSilentInACommandLineRun) {
    FakePorts ports;
    ports.hotkeys.takenElsewhere = {{0, 0x2C}};
    TAppMainForm f(ports.ports, {"k.exe", "/screenshot_full", "/mode2"});
    ports.registry.Set(RegistryRoot::CurrentUser, SettingsKey, "AppVersion", RegistryValue::Number(21));
    ports.registry.Set(RegistryRoot::CurrentUser, SettingsKey, "WorkMode", RegistryValue::Number(1));
    f.FormCreate();
    EXPECT_TRUE(ports.windows.messages.empty());
}

TEST_F(Actions, FixedPriorityAtStartUp) {
    struct Case {
        bool management, automatic;
        int32_t priorityClass;
        std::vector<std::pair<uint32_t, int>> applied;
    };
    for (const Case& c : {Case{true, false, 2, {{0x40, -15}}}, Case{true, true, 2, {}}, Case{false, false, 0, {}},
                          Case{true, false, 7, {}}}) {
        FakePorts ports;
        ports.registry.Set(RegistryRoot::CurrentUser, SettingsKey, "AppVersion", RegistryValue::Number(21));
        for (auto [name, value] : {std::pair{"PriorityChange", c.management ? 1 : 0},
                                   {"PriorityAutoChange", c.automatic ? 1 : 0},
                                   {"PriorityClass", c.priorityClass}})
            ports.registry.Set(RegistryRoot::CurrentUser, SettingsKey, name,
                               RegistryValue::Number(static_cast<uint32_t>(value)));
        TAppMainForm f(ports.ports, {"k.exe"});
        f.FormCreate();
        EXPECT_EQ(ports.system.priorities, c.applied);
    }
}

}  // namespace
}  // namespace kadrilo

namespace kadrilo {
namespace {

TEST(Series, AutomaticStopTakesTheQuantity) {
    struct Case {
        int32_t quantity;
        bool manual;
        int ticks;
        size_t shots;
        bool runningAfter;
    };
    for (const Case& c : {Case{3, false, 3, 3, false}, Case{0, false, 1, 1, false}, Case{3, true, 5, 5, true}}) {
        testing::FakePorts ports;
        ports.files.directories = {"C:\\Screenshots\\Continuous"};
        TAppMainForm f(ports.ports, {"C:\\Tools\\kadrilio.exe"});
        f.FormCreate();
        f.Settings.WorkMode = ContinuousMode;
        f.Settings.QuantityOfScreenshots = c.quantity;
        f.Settings.ManualSerial = c.manual;
        f.Settings.IntervalOfTime = 0;  // corrected at the first tick
        f.MainActions(1);
        for (int i = 0; i < c.ticks && f.SeriesRunning(); ++i) f.Timer2Timer();
        EXPECT_EQ(ports.files.written.size(), c.shots) << c.quantity;
        EXPECT_EQ(f.SeriesRunning(), c.runningAfter);
        EXPECT_EQ(f.Settings.IntervalOfTime, 1);
        if (c.runningAfter) {
            EXPECT_EQ(ports.timers.running[TimerId::Timer2], 100u);
        }
    }
}

TEST(Series, ACommandLineSeriesQuitsAfterItsLastShotAndKeepsItsNumber) {
    testing::FakePorts ports;
    ports.files.directories = {"C:\\Screenshots\\Continuous"};
    TAppMainForm f(ports.ports, {"C:\\Tools\\kadrilio.exe", "/screenshot_full", "/mode3"});
    f.FormCreate();
    f.Settings.QuantityOfScreenshots = 2;
    f.Timer3Timer();
    f.Timer2Timer();
    f.Timer2Timer();
    EXPECT_TRUE(ports.windows.loopEnded);
    EXPECT_EQ(ports.files.written.size(), 2u);
    f.FormDestroy();
    EXPECT_EQ(ports.registry.ReadValue(RegistryRoot::CurrentUser, SettingsKey, "NumberSerial"),
              RegistryValue::Number(2));
}

}  // namespace
}  // namespace kadrilo
