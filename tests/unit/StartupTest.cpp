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
using testing::ProcessExited;
namespace Flags = MessageFlags;

// Records the actions of the deferred command line, in order.
class RecordingForm : public TAppMainForm {
public:
    using TAppMainForm::TAppMainForm;
    std::vector<std::string> log;
    void MainActions(int slot) override {
        log.push_back("shot " + std::to_string(slot) + " mode " + std::to_string(Settings.WorkMode) +
                      (OneShotRun ? " oneshot" : ""));
    }
    void CheckMode() override { log.push_back("mode " + std::to_string(Settings.WorkMode)); }
    void OpenProgramSettings() override { log.push_back("settings"); }
};

class Startup : public ::testing::Test {
protected:
    FakePorts fake;

    std::unique_ptr<RecordingForm> Form(std::vector<std::string> switches) {
        switches.insert(switches.begin(), "C:\\Tools\\kadrilio.exe");
        return std::make_unique<RecordingForm>(fake.ports, switches);
    }
    void StoreSettings(int language = English) {
        fake.registry.Set(RegistryRoot::CurrentUser, SettingsKey, "AppVersion", RegistryValue::Number(21));
        fake.registry.Set(RegistryRoot::CurrentUser, SettingsKey, "Language", RegistryValue::Number(language));
        fake.registry.Set(RegistryRoot::CurrentUser, RunKey, "Kadrilo", RegistryValue::Text("C:\\Tools\\kadrilio.exe"));
    }
    std::vector<std::string> MessageTexts() {
        std::vector<std::string> texts;
        for (const auto& m : fake.windows.messages) texts.push_back(m.text);
        return texts;
    }
    int ExitCode(RecordingForm& form) {
        try {
            form.FormCreate();
        } catch (const ProcessExited& e) {
            return e.code;
        }
        return -1;
    }
};

TEST_F(Startup, FirstInstanceMarksItselfAndStaysQuiet) {
    auto form = Form({});
    form->FormCreate();
    EXPECT_TRUE(fake.instance.marked);
    EXPECT_TRUE(fake.windows.messages.empty());
    EXPECT_TRUE(form->SettingsSaved);
    EXPECT_TRUE(form->HideOnClose);
    EXPECT_FALSE(form->OneShotRun);
    // Only the tray refresh runs; the icon is there, the preview page selected.
    EXPECT_EQ(fake.timers.running, (std::map<TimerId, uint32_t>{{TimerId::Timer1, 60000}}));
    EXPECT_TRUE(fake.form.trayIcon);
    EXPECT_EQ(fake.form.title, "Kadrilo - Preview");
    // Centred: 1024 / 2 - 487 / 2, 768 / 2 - 354 / 2.
    EXPECT_THAT(fake.windows.calls, ElementsAre("move 269,207"));
}

TEST_F(Startup, StoredWindowPositionIsRestoredNotCentred) {
    StoreSettings();
    for (auto [name, value] : {std::pair{"Coordinates", 1}, {"Left", 100}, {"Top", -20}})
        fake.registry.Set(RegistryRoot::CurrentUser, SettingsKey, name, RegistryValue::Number(static_cast<uint32_t>(value)));
    auto form = Form({});
    form->FormCreate();
    EXPECT_THAT(fake.windows.calls, ElementsAre("move 100,-20"));
}

TEST_F(Startup, SystemFacts) {
    struct Case {
        SystemVersion version;
        bool admin, isNT, win2000, isAdmin;
        int adminChecks;
    };
    for (const Case& c : {Case{{2, 10, 0}, false, true, true, false, 1},
                          Case{{2, 4, 0}, true, true, false, true, 1},
                          Case{{1, 4, 10}, false, false, false, true, 0}}) {
        FakePorts ports;
        ports.system.version = c.version;
        ports.system.admin = c.admin;
        TAppMainForm form(ports.ports, {"k.exe"});
        form.FormCreate();
        EXPECT_EQ(form.IsNT, c.isNT);
        EXPECT_EQ(form.IsWin2000OrLater, c.win2000);
        EXPECT_EQ(form.IsAdmin, c.isAdmin);
        EXPECT_EQ(ports.system.adminChecks, c.adminChecks);
    }
}

TEST_F(Startup, SecondInstanceForwardsItsCommandLineAndEnds) {
    fake.instance.runningInstance = 0x1234;
    auto form = Form({"/screenshot_full", "a \"b\""});
    fake.windows.answers = {MessageAnswer::Ok};

    EXPECT_EQ(ExitCode(*form), 0);

    EXPECT_FALSE(fake.instance.marked);
    ASSERT_EQ(fake.instance.sent.size(), 1u);
    EXPECT_EQ(fake.instance.sent[0].first, 0x1234u);
    EXPECT_EQ(fake.instance.sent[0].second, R"( "C:\Tools\kadrilio.exe" "/screenshot_full" "a ""b""")");
    EXPECT_THAT(fake.instance.activated, ElementsAre(0x1234u));
    ASSERT_EQ(fake.windows.messages.size(), 1u);
    EXPECT_EQ(fake.windows.messages[0].text, "Application Kadrilo is already running.");
    EXPECT_EQ(fake.windows.messages[0].caption, "Kadrilo");
    EXPECT_EQ(fake.windows.messages[0].flags, Flags::Ok | Flags::IconStop);
    EXPECT_THAT(fake.windows.calls, ElementsAre("foreground", "message"));
    EXPECT_TRUE(fake.timers.calls.empty());
}

TEST_F(Startup, SecondInstanceIsRefusedBeforeTheRemovalDialogueInTheStoredLanguage) {
    StoreSettings(Russian);
    fake.instance.runningInstance = 0x1234;
    auto form = Form({"/del_settings"});
    fake.windows.answers = {MessageAnswer::Ok};

    EXPECT_EQ(ExitCode(*form), 0);

    EXPECT_THAT(MessageTexts(), ElementsAre("Программа Kadrilo уже запущена."));
    EXPECT_TRUE(fake.registry.KeyExists(RegistryRoot::CurrentUser, SettingsKey));
}

TEST_F(Startup, LanguageChoice) {
    struct Case {
        const char* name;
        std::optional<RegistryValue> stored;  // nothing: no settings key
        const char* systemLanguage;
        int expected;
    };
    for (const Case& c : {Case{"first start, Russian system", std::nullopt, "Russian", Russian},
                          Case{"first start, other system", std::nullopt, "German", English},
                          Case{"stored Russian", RegistryValue::Number(0), "English", Russian},
                          Case{"stored English", RegistryValue::Number(1), "Russian", English},
                          Case{"stored 7 falls back", RegistryValue::Number(7), "Russian", Russian},
                          Case{"stored text is skipped", RegistryValue::Text("0"), "Russian", English},
                          Case{"key without Language", RegistryValue::Text(""), "Russian", English}}) {
        SCOPED_TRACE(c.name);
        FakePorts ports;
        ports.system.languageName = c.systemLanguage;
        if (c.stored) {
            ports.registry.Set(RegistryRoot::CurrentUser, SettingsKey, "AppVersion", RegistryValue::Number(21));
            if (c.stored->kind != RegistryValue::Kind::String || !c.stored->text.empty())
                ports.registry.Set(RegistryRoot::CurrentUser, SettingsKey, "Language", *c.stored);
        }
        TAppMainForm form(ports.ports, {"k.exe"});
        form.FormCreate();
        EXPECT_EQ(form.Settings.Language, c.expected);
    }
}

// The removal dialogue: every path, with what it shows, where it ends and what
// remains stored.
struct RemovalCase {
    const char* name;
    bool stored;
    std::vector<MessageAnswer> answers;
    std::vector<std::pair<int, unsigned>> messages;  // English id and flags, in order
    int exitCode;                                    // -1: start-up goes on
    bool keyRemains;
};

void PrintTo(const RemovalCase& c, std::ostream* os) { *os << c.name; }

class RemovalDialogue : public Startup, public ::testing::WithParamInterface<RemovalCase> {};

TEST_P(RemovalDialogue, AsksAndActs) {
    const RemovalCase& c = GetParam();
    if (c.stored) StoreSettings();
    fake.windows.answers.assign(c.answers.begin(), c.answers.end());
    auto form = Form({"/del_settings"});

    EXPECT_EQ(ExitCode(*form), c.exitCode);

    ASSERT_EQ(fake.windows.messages.size(), c.messages.size());
    for (size_t i = 0; i < c.messages.size(); ++i) {
        EXPECT_EQ(fake.windows.messages[i].text, StringText(1000 + c.messages[i].first));
        EXPECT_EQ(fake.windows.messages[i].flags, c.messages[i].second);
        EXPECT_EQ(fake.windows.messages[i].caption, "Kadrilo");
    }
    EXPECT_EQ(fake.registry.KeyExists(RegistryRoot::CurrentUser, SettingsKey), c.keyRemains);
    EXPECT_EQ(fake.registry.HasValue(RegistryRoot::CurrentUser, RunKey, "Kadrilo"), c.keyRemains);
    if (c.exitCode == -1 && !c.keyRemains) {
        EXPECT_EQ(form->Settings.FontName, "Arial");  // defaults were set
        EXPECT_TRUE(form->SettingsSaved);
    }
}

constexpr unsigned Question = Flags::YesNo | Flags::IconQuestion;
constexpr unsigned Warning = Flags::YesNo | Flags::IconExclamation;
using A = MessageAnswer;

INSTANTIATE_TEST_SUITE_P(
    Paths, RemovalDialogue,
    ::testing::Values(
        RemovalCase{"NothingStoredNoEnds", false, {A::No}, {{808, Question}}, 0, false},
        RemovalCase{"NothingStoredYesGoesOn", false, {A::Yes}, {{808, Question}}, -1, false},
        RemovalCase{"StoredNoKeepsThem", true, {A::No}, {{806, Warning}}, -1, true},
        RemovalCase{"StoredYesThenNoEnds", true, {A::Yes, A::No}, {{806, Warning}, {807, Question}}, 0, false},
        RemovalCase{"StoredYesThenYesGoesOn", true, {A::Yes, A::Yes}, {{806, Warning}, {807, Question}}, -1,
                    false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Startup, NoRemovalWithoutTheSwitch) {
    StoreSettings();
    auto form = Form({"/mode2"});
    form->FormCreate();
    EXPECT_TRUE(fake.windows.messages.empty());
    EXPECT_TRUE(fake.registry.KeyExists(RegistryRoot::CurrentUser, SettingsKey));
}

TEST_F(Startup, DeferredRequestsRunInTheirFixedOrder) {
    struct Case {
        const char* name;
        std::vector<std::string> switches;
        int storedMode;
        std::vector<std::string> log;
        int workMode;
        bool oneShot;
    };
    for (const Case& c :
         {Case{"all at once",
               {"/open_settings", "/screenshot_selected", "/mode4", "/screenshot_actwin", "/mode1",
                "/screenshot_full"},
               1,
               {"mode 0", "mode 3", "shot 1 mode 3 oneshot", "shot 2 mode 3 oneshot", "shot 3 mode 3 oneshot",
                "settings"},
               3,
               true},
          Case{"manual mode ends the one-shot run", {"/screenshot_full", "/mode1"}, 1, {"mode 0", "shot 1 mode 0"}, 0,
               false},
          Case{"stored manual mode", {"/screenshot_full"}, 0, {"shot 1 mode 0"}, 0, false},
          Case{"mode only", {"-MODE3"}, 0, {"mode 2"}, 2, false}}) {
        SCOPED_TRACE(c.name);
        FakePorts ports;
        RecordingForm form(ports.ports, [&] {
            std::vector<std::string> a{"k.exe"};
            a.insert(a.end(), c.switches.begin(), c.switches.end());
            return a;
        }());
        form.FormCreate();
        form.Settings.WorkMode = c.storedMode;
        form.log.clear();
        ASSERT_EQ(ports.timers.running.count(TimerId::Timer3), 1u);
        EXPECT_EQ(ports.timers.running[TimerId::Timer3], 1u);

        form.Timer3Timer();

        EXPECT_EQ(ports.timers.running.count(TimerId::Timer3), 0u);
        EXPECT_EQ(form.log, c.log);
        EXPECT_EQ(form.Settings.WorkMode, c.workMode);
        EXPECT_EQ(form.OneShotRun, c.oneShot);
        EXPECT_TRUE(form.SettingsSaved);
    }
}

}  // namespace
}  // namespace kadrilo
