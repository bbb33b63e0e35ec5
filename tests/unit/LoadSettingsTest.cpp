#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/AppMainForm.h"
#include "fakes/Fakes.h"
#include "settings/SettingsStore.h"
#include "text/Strings.h"

namespace kadrilo {
namespace {

using testing::FakePorts;
constexpr auto HKCU = RegistryRoot::CurrentUser;
constexpr auto HKLM = RegistryRoot::LocalMachine;

class LoadSettings : public ::testing::Test {
protected:
    FakePorts fake;
    TAppMainForm form{fake.ports, {"C:\\Tools\\kadrilio.exe"}};

    void Store(const std::string& name, RegistryValue value) { fake.registry.Set(HKCU, SettingsKey, name, value); }
    void Store(const std::string& name, int32_t value) { Store(name, RegistryValue::Number(static_cast<uint32_t>(value))); }
};

TEST_F(LoadSettings, ValuesAreAppliedAsTheirControlsTakeThem) {
    Store("AppVersion", 21);
    struct Row {
        const char* name;
        RegistryValue stored;
        int64_t expected;
    };
    const Row rows[] = {
        {"FontSize", RegistryValue::Number(200), 72},
        {"IntervalOfTime", RegistryValue::Number(0), 1},
        {"NumberAutosave", RegistryValue::Number(static_cast<uint32_t>(-5)), 0},
        {"QualityJPEG", RegistryValue::Number(150), 100},
        {"WorkMode", RegistryValue::Number(7), 3},
        {"GraphFormatSerial", RegistryValue::Number(9), -1},
        {"SoundMode", RegistryValue::Number(5), -1},             // no choice: stays unset
        {"ExecuteMode", RegistryValue::Number(2), 2},
        {"HotKey2Mode", RegistryValue::Number(3), 0},            // no choice: stays default
        {"IncludeCursor", RegistryValue::Number(5), 1},
        {"InsX", RegistryValue::Text("40"), 15},                 // wrong type: skipped
        {"InscriptionFontColor", RegistryValue::Number(0xFF0000FF), 0xFF},
        {"UserHotKey3", RegistryValue::Text("shift+ctrl+f5"), Shortcut::Shift | Shortcut::Ctrl | 0x74},
    };
    for (const Row& r : rows) fake.registry.Set(HKCU, SettingsKey, r.name, r.stored);
    Store("DirAutosave", RegistryValue::Text("D:\\Shots"));
    Store("NameSerial", RegistryValue::Number(3));  // wrong type: skipped
    Store("FontName", RegistryValue::Text("Gone Font"));

    form.FormCreate();

    for (const Row& r : rows) EXPECT_EQ(FindSettingField(r.name)->Number(form.Settings), r.expected) << r.name;
    EXPECT_EQ(form.Settings.DirAutosave, "D:\\Shots");
    EXPECT_EQ(form.Settings.NameSerial, "Screenshot-");
    EXPECT_EQ(form.Settings.FontName, "Arial");
    EXPECT_TRUE(fake.windows.messages.empty());
}

TEST_F(LoadSettings, ANegativeWorkModeSelectsNoMode) {
    Store("AppVersion", 21);
    Store("WorkMode", -4);
    form.FormCreate();
    EXPECT_EQ(form.Settings.WorkMode, -1);
}

TEST_F(LoadSettings, Versions) {
    struct Case {
        const char* name;
        std::optional<int32_t> version;
        std::optional<MessageAnswer> answer;
        int message;  // English id, 0 for none
        bool removed;
    };
    for (const Case& c : {Case{"current", 21, std::nullopt, 0, false},
                          Case{"older, remove", 20, MessageAnswer::Yes, 830, true},
                          Case{"older, keep", 20, MessageAnswer::No, 830, false},
                          Case{"newer, remove", 22, MessageAnswer::Yes, 829, true},
                          Case{"missing", std::nullopt, std::nullopt, 0, true}}) {
        SCOPED_TRACE(c.name);
        FakePorts ports;
        ports.system.languageName = "Russian";
        if (c.version) ports.registry.Set(HKCU, SettingsKey, "AppVersion", RegistryValue::Number(*c.version));
        ports.registry.Set(HKCU, SettingsKey, "Language", RegistryValue::Number(1));
        ports.registry.Set(HKCU, SettingsKey, "NumberAutosave", RegistryValue::Number(41));
        for (RegistryRoot root : {HKCU, HKLM}) ports.registry.Set(root, RunKey, "Kadrilo", RegistryValue::Text("C:\\k.exe"));
        if (c.answer) ports.windows.answers = {*c.answer};
        TAppMainForm f(ports.ports, {"k.exe"});

        f.FormCreate();

        if (c.message) {
            ASSERT_EQ(ports.windows.messages.size(), 1u);
            EXPECT_EQ(ports.windows.messages[0].text, StringText(1000 + c.message));
            EXPECT_EQ(ports.windows.messages[0].flags, MessageFlags::YesNo | MessageFlags::IconExclamation);
        } else {
            EXPECT_TRUE(ports.windows.messages.empty());
        }
        EXPECT_EQ(ports.registry.KeyExists(HKCU, SettingsKey), !c.removed);
        EXPECT_EQ(ports.registry.HasValue(HKLM, RunKey, "Kadrilo"), !c.removed);
        EXPECT_EQ(f.Settings.NumberAutosave, c.removed ? 0 : 41);
        EXPECT_EQ(f.Settings.Autostart, c.removed ? 0 : 1);
        EXPECT_EQ(f.Settings.Language, c.removed ? Russian : English);  // removal goes back to the system's
    }
}

TEST_F(LoadSettings, AutostartState) {
    struct Case {
        bool currentUser, allUsers;
        int32_t expected;
    };
    for (const Case& c : {Case{false, false, 0}, Case{true, false, 2}, Case{false, true, 1}, Case{true, true, 1}}) {
        FakePorts ports;
        ports.registry.Set(HKCU, SettingsKey, "AppVersion", RegistryValue::Number(21));
        if (c.currentUser) ports.registry.Set(HKCU, RunKey, "Kadrilo", RegistryValue::Text("x"));
        if (c.allUsers) ports.registry.Set(HKLM, RunKey, "Kadrilo", RegistryValue::Text("x"));
        TAppMainForm f(ports.ports, {"k.exe"});
        f.FormCreate();
        EXPECT_EQ(f.Settings.Autostart, c.expected);
    }
}

TEST_F(LoadSettings, StoredPositionOnlyWithCoordinates) {
    Store("AppVersion", 21);
    Store("Left", 300);
    Store("Top", 200);
    form.FormCreate();
    EXPECT_EQ(form.Settings.Left, 300);
    EXPECT_THAT(fake.windows.calls, ::testing::ElementsAre("move 269,207"));  // centred
}

}  // namespace
}  // namespace kadrilo
