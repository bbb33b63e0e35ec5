#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/AppMainForm.h"
#include "fakes/Fakes.h"
#include "settings/SettingsStore.h"
#include "text/Strings.h"

namespace kadrilo {
namespace {

using ::testing::ElementsAre;
using testing::FakePorts;
constexpr auto HKCU = RegistryRoot::CurrentUser;
constexpr auto HKLM = RegistryRoot::LocalMachine;
constexpr const char* Exe = "C:\\Tools\\kadrilio.exe";

class MainWindow : public ::testing::Test {
protected:
    FakePorts fake;
    std::unique_ptr<TAppMainForm> form;

    void Start(std::vector<std::string> switches = {}) {
        fake.registry.Set(HKCU, SettingsKey, "AppVersion", RegistryValue::Number(21));
        switches.insert(switches.begin(), Exe);
        form = std::make_unique<TAppMainForm>(fake.ports, switches);
        form->FormCreate();
        fake.form.calls.clear();
        fake.windows.calls.clear();
    }
    std::optional<RegistryValue> Stored(const char* name) { return fake.registry.ReadValue(HKCU, SettingsKey, name); }
};

TEST_F(MainWindow, PagesAndTheirTitles) {
    Start();
    form->SelectMainPage(1);
    EXPECT_EQ(fake.form.title, "Kadrilo - Settings");
    EXPECT_EQ(form->CurrentMainPage, 1);
    EXPECT_FALSE(form->SettingsSaved);
    form->SettingsSaved = true;
    form->SelectMainPage(2);
    EXPECT_EQ(fake.form.title, "Kadrilo - About");
    EXPECT_EQ(form->CurrentMainPage, 0);
    EXPECT_TRUE(form->SettingsSaved);
    form->Settings.Language = Russian;
    form->SelectMainPage(0);
    EXPECT_EQ(fake.form.title, "Kadrilo - Предварительный просмотр");
}

TEST_F(MainWindow, ClosingOnlyHidesAndSavesWhatMayHaveChanged) {
    Start();
    form->OpenProgramSettings();
    EXPECT_TRUE(fake.windows.mainVisible);
    form->Settings.FontSize = 33;
    form->HeldImage = Bitmap::Blank(2, 2, 32);

    form->SpeedButton3Click();  // "Close", Esc or the close box

    EXPECT_FALSE(fake.windows.mainVisible);
    EXPECT_FALSE(fake.windows.loopEnded);
    EXPECT_FALSE(form->HeldImage);
    EXPECT_EQ(Stored("FontSize"), RegistryValue::Number(33));
    EXPECT_TRUE(form->SettingsSaved);
    EXPECT_TRUE(fake.form.trayIcon);
    // Not asked to restore the position: centred again.
    EXPECT_EQ(fake.windows.calls.back(), "move 269,207");
}

TEST_F(MainWindow, CloseIsRefusedWhilePreviewOrOverlayIsOpen) {
    Start();
    fake.windows.popupVisible = true;
    EXPECT_FALSE(form->FormCloseQuery());
    EXPECT_THAT(fake.form.calls, ElementsAre("close popups"));
}

TEST_F(MainWindow, QuitWithConfirmation) {
    Start();
    fake.windows.answers = {MessageAnswer::No};
    form->SpeedButton4Click();
    EXPECT_FALSE(fake.windows.loopEnded);
    EXPECT_TRUE(form->HideOnClose);
    ASSERT_EQ(fake.windows.messages.size(), 1u);
    EXPECT_EQ(fake.windows.messages[0].text, "Are you sure you want to quit?");
    EXPECT_EQ(fake.windows.messages[0].flags, MessageFlags::YesNo | 0x40u);

    fake.windows.answers = {MessageAnswer::Yes};
    form->SpeedButton4Click();
    EXPECT_TRUE(fake.windows.loopEnded);
    EXPECT_FALSE(fake.form.trayIcon);
    EXPECT_TRUE(fake.hotkeys.registered.empty());
    EXPECT_EQ(Stored("AppVersion"), RegistryValue::Number(21));
    EXPECT_EQ(Stored("WorkMode"), RegistryValue::Number(0));
    // Every value but the five empty shortcuts and the unset sound choice.
    EXPECT_EQ(fake.registry.ValueNames(HKCU, SettingsKey).size(), 57u);
}

TEST_F(MainWindow, EndOfSessionSavesWithoutAsking) {
    Start();
    form->Settings.StayOnTop = true;
    EXPECT_TRUE(form->WMQueryEndSession());
    EXPECT_TRUE(fake.windows.messages.empty());
    EXPECT_TRUE(fake.windows.loopEnded);
    EXPECT_EQ(Stored("StayOnTop"), RegistryValue::Number(1));
}

TEST_F(MainWindow, QuickQuitWritesOnlyTheCounters) {
    fake.files.directories = {"C:\\Screenshots"};
    Start({"/screenshot_full", "/mode2"});
    form->Settings.FontSize = 40;
    form->Settings.NumberSerial = 6;
    form->Timer3Timer();  // the shot is saved, then the program quits
    EXPECT_TRUE(fake.windows.loopEnded);
    EXPECT_EQ(fake.files.written.size(), 1u);
    EXPECT_FALSE(Stored("FontSize"));
    EXPECT_EQ(Stored("NumberAutosave"), RegistryValue::Number(1));
    EXPECT_EQ(Stored("NumberSerial"), RegistryValue::Number(6));
    EXPECT_EQ(Stored("WorkMode"), RegistryValue::Number(1));
}

TEST_F(MainWindow, TrayCallback) {
    Start();
    form->WMTrayIcon(0x204);  // right button: the menu, the window stays hidden
    EXPECT_THAT(fake.form.calls, ElementsAre("menu"));
    EXPECT_FALSE(fake.windows.mainVisible);

    form->WMTrayIcon(0x203);  // double-click while hidden: the settings page comes up
    EXPECT_TRUE(fake.windows.mainVisible);
    EXPECT_EQ(form->CurrentMainPage, 1);
    form->WMTrayIcon(0x203);  // and while shown: hidden
    EXPECT_FALSE(fake.windows.mainVisible);

    fake.form.calls.clear();
    form->WMTrayIcon(0x200);  // a mere move
    EXPECT_TRUE(fake.form.calls.empty());

    form->OpenProgramSettings();  // the Main tab is showing: the menu takes the focus off its controls
    fake.form.calls.clear();
    form->WMTrayIcon(0x204);
    EXPECT_THAT(fake.form.calls, ElementsAre("focus tabs", "menu"));
}

TEST_F(MainWindow, BringingUpTheWindowStopsASeries) {
    for (bool viaSettings : {true, false}) {
        FakePorts ports;
        TAppMainForm f(ports.ports, {Exe, "/screenshot_full", "/mode3"});
        f.FormCreate();
        f.Timer3Timer();  // starts a series
        ASSERT_TRUE(f.SeriesRunning());
        if (viaSettings)
            f.OpenProgramSettings();
        else
            f.N8Click();
        EXPECT_FALSE(f.SeriesRunning());
        EXPECT_EQ(ports.windows.loopEnded, viaSettings);  // only the settings command ends a command-line run
    }
}

TEST_F(MainWindow, ViewWithoutAShotOnlyBeeps) {
    Start();
    form->SelectMainPage(1);
    form->SpeedButton1Click();
    EXPECT_THAT(fake.sound.played, ElementsAre("beep"));
    EXPECT_EQ(form->CurrentMainPage, 1);
}

TEST_F(MainWindow, TrayOptionAndStayOnTop) {
    Start();
    form->TrayOptionClick(false);
    EXPECT_FALSE(fake.form.trayIcon);
    EXPECT_EQ(fake.timers.running.count(TimerId::Timer1), 0u);

    form->HotKeyModeClick(4, 2);  // the settings hotkey disabled: the icon is forced back
    EXPECT_TRUE(form->Settings.TrayIconEnabled);
    EXPECT_TRUE(fake.form.trayIcon);
    form->TrayOptionClick(false);
    EXPECT_TRUE(form->Settings.TrayIconEnabled);

    form->StayOnTopClick(true);
    EXPECT_TRUE(fake.form.trayIcon);
    EXPECT_EQ(fake.hotkeys.registered.size(), 4u);
    EXPECT_NE(std::find(fake.form.calls.begin(), fake.form.calls.end(), "on top"), fake.form.calls.end());
}

TEST_F(MainWindow, HotkeyChoices) {
    Start();
    form->HotKeyModeClick(1, 2);
    EXPECT_EQ(fake.hotkeys.registered.count(form->HotkeyId(1)), 0u);
    form->HotKeyModeClick(1, 1);  // user-defined without a shortcut: nothing changes yet
    EXPECT_EQ(fake.hotkeys.registered.count(form->HotkeyId(1)), 0u);
    form->HotKeyChange(1, Shortcut{Shortcut::Ctrl | Shortcut::Alt});  // modifiers only
    EXPECT_EQ(fake.hotkeys.registered.count(form->HotkeyId(1)), 0u);
    form->HotKeyChange(1, Shortcut{Shortcut::Ctrl | 0x41});
    EXPECT_EQ(fake.hotkeys.registered[form->HotkeyId(1)], (std::pair<uint32_t, uint32_t>{2, 0x41}));

    // A user-defined slot left empty is disabled when the window closes.
    form->HotKeyModeClick(3, 1);
    form->SelectMainPage(1);
    form->SpeedButton3Click();
    EXPECT_EQ(form->Settings.HotKey3Mode, 2);
    EXPECT_EQ(Stored("HotKey3Mode"), RegistryValue::Number(2));
    EXPECT_EQ(Stored("UserHotKey1"), RegistryValue::Text("Ctrl+A"));
    EXPECT_FALSE(Stored("UserHotKey3"));
}

TEST_F(MainWindow, LanguageChangeTranslatesAtOnce) {
    Start();
    form->LanguageSelect(Russian);
    EXPECT_EQ(form->Settings.Language, Russian);
    EXPECT_THAT(fake.form.calls, ElementsAre("refresh"));
    form->LanguageSelect(5);
    EXPECT_EQ(form->Settings.Language, Russian);
}

TEST_F(MainWindow, SettingsCheckBoxes) {
    Start();
    form->SettingChanged(SettingId::Coordinates, 1);
    EXPECT_TRUE(form->Settings.Coordinates);
    form->SettingChanged(SettingId::ConfirmationOnClose, 0);
    EXPECT_FALSE(form->Settings.ConfirmationOnClose);
    form->SettingChanged(SettingId::StayOnTop, 1);
    EXPECT_TRUE(form->Settings.StayOnTop);
    form->SettingChanged(SettingId::TrayIconEnabled, 0);
    EXPECT_FALSE(fake.form.trayIcon);
    EXPECT_THAT(fake.form.calls, ElementsAre("refresh", "refresh", "delete icon", "on top", "add icon", "refresh",
                                             "delete icon", "refresh"));
    form->SettingChanged(SettingId::WorkMode, 9);  // clamped into the setting's range
    EXPECT_EQ(form->Settings.WorkMode, 3);
}

TEST_F(MainWindow, TrayMenuShowsTheWorkMode) {
    form = std::make_unique<TAppMainForm>(fake.ports, std::vector<std::string>{Exe, "/mode4"});
    fake.registry.Set(HKCU, SettingsKey, "AppVersion", RegistryValue::Number(21));
    fake.registry.Set(HKCU, SettingsKey, "WorkMode", RegistryValue::Number(1));
    form->FormCreate();
    EXPECT_EQ(fake.form.markedMode, 1);
    form->Timer3Timer();
    EXPECT_EQ(fake.form.markedMode, 3);
    form->SetWorkModeFromMenu(0);
    EXPECT_EQ(fake.form.markedMode, 0);
}

// The autostart entries after a full save, for every choice, admin or not.
TEST_F(MainWindow, AutostartReconciliation) {
    struct Case {
        const char* name;
        int32_t choice;
        bool admin;
        std::optional<std::string> currentUserBefore, allUsersBefore;
        std::optional<std::string> currentUserAfter, allUsersAfter;
    };
    const std::string moved = "D:\\Old\\kadrilio.exe";
    for (const Case& c : {
             Case{"current user, nothing stored", 2, true, {}, {}, Exe, {}},
             Case{"current user, both stored", 2, true, Exe, Exe, Exe, {}},
             Case{"all users by an admin", 1, true, Exe, {}, {}, Exe},
             Case{"all users kept for a user", 1, false, {}, Exe, {}, Exe},
             Case{"disabled by a user leaves all users", 0, false, Exe, Exe, {}, Exe},
             Case{"disabled by an admin", 0, true, Exe, Exe, {}, {}},
             Case{"moved executable", 2, true, moved, {}, Exe, {}},
         }) {
        SCOPED_TRACE(c.name);
        FakePorts ports;
        ports.system.admin = c.admin;
        ports.registry.Set(HKCU, SettingsKey, "AppVersion", RegistryValue::Number(21));
        if (c.currentUserBefore) ports.registry.Set(HKCU, RunKey, "Kadrilo", RegistryValue::Text(*c.currentUserBefore));
        if (c.allUsersBefore) ports.registry.Set(HKLM, RunKey, "Kadrilo", RegistryValue::Text(*c.allUsersBefore));
        TAppMainForm f(ports.ports, {Exe});
        f.FormCreate();
        f.Settings.Autostart = c.choice;
        f.SettingsSaved = false;

        f.SaveSettings();

        auto text = [](const std::optional<RegistryValue>& v) {
            return v ? std::optional<std::string>(v->text) : std::nullopt;
        };
        EXPECT_EQ(text(ports.registry.ReadValue(HKCU, RunKey, "Kadrilo")), c.currentUserAfter);
        EXPECT_EQ(text(ports.registry.ReadValue(HKLM, RunKey, "Kadrilo")), c.allUsersAfter);
        EXPECT_FALSE(ports.registry.HasValue(HKCU, SettingsKey, "Autostart"));
    }
}

TEST_F(MainWindow, SaveAndLoadRoundTrip) {
    Start();
    form->Settings.WorkMode = 2;
    form->Settings.DirAutosave = "D:\\Снимки";
    form->Settings.UserHotKey2 = Shortcut{Shortcut::Shift | Shortcut::Ctrl | 0x74};
    form->Settings.HotKey2Mode = 1;
    form->Settings.InscriptionBackGroundColor = 0x123456;
    form->Settings.SoundMode = 2;
    form->SettingsSaved = false;
    form->SaveSettings();
    EXPECT_EQ(Stored("UserHotKey2"), RegistryValue::Text("Shift+Ctrl+F5"));

    TAppMainForm again(fake.ports, {Exe});
    fake.instance.runningInstance.reset();
    again.FormCreate();
    AppSettings expected = form->Settings;
    for (const SettingField& field : SettingFields()) {
        if (field.name == "Left" || field.name == "Top") continue;
        if (field.IsNumber()) {
            EXPECT_EQ(field.Number(again.Settings), field.Number(expected)) << field.name;
        } else if (field.type == FieldType::Text) {
            EXPECT_EQ(again.Settings.*std::get<std::string AppSettings::*>(field.member),
                      expected.*std::get<std::string AppSettings::*>(field.member))
                << field.name;
        }
    }
    EXPECT_EQ(again.Settings.UserHotKey2, expected.UserHotKey2);
}

}  // namespace
}  // namespace kadrilo
