#include <gtest/gtest.h>

#include <set>

#include "fakes/Fakes.h"
#include "settings/AppSettings.h"
#include "settings/SettingsStore.h"

namespace kadrilo {
namespace {

using testing::FakePorts;

TEST(SettingsTable, NamesAreUniqueAndDefaultsLieInTheirRanges) {
    const AppSettings defaults;
    std::set<std::string_view> names;
    for (const SettingField& field : SettingFields()) {
        EXPECT_TRUE(names.insert(field.name).second) << field.name;
        if (!field.IsNumber()) continue;
        EXPECT_LE(field.min, field.max) << field.name;
        EXPECT_EQ(field.Clamp(field.Number(defaults)), field.Number(defaults)) << field.name;
    }
}

TEST(SettingsTable, RowsReachTheirFields) {
    AppSettings s;
    FindSettingField("FontSize")->SetNumber(s, 200);
    FindSettingField("IncludeCursor")->SetNumber(s, 5);
    FindSettingField("UserHotKey3")->SetNumber(s, 0x6074);
    EXPECT_EQ(s.FontSize, 200);
    EXPECT_TRUE(s.IncludeCursor);
    EXPECT_EQ(s.UserHotKey3.value, 0x6074);
    EXPECT_EQ(FindSettingField("FontSize")->Clamp(200), 72);
    EXPECT_EQ(FindSettingField("IntervalOfTime")->Clamp(0), 1);
    EXPECT_EQ(FindSettingField("NoSuchSetting"), nullptr);
    EXPECT_EQ(FindSettingField("DirAutosave")->type, FieldType::Text);
}

TEST(SettingsTable, BuiltInDefaults) {
    const AppSettings s;
    EXPECT_EQ(s.WorkMode, 0);
    EXPECT_EQ(s.Language, 1);
    EXPECT_EQ(s.QualityJPEG, 75);
    EXPECT_EQ(s.DirAutosave, "C:\\Screenshots");
    EXPECT_EQ(s.DirSaveSerial, "C:\\Screenshots\\Continuous");
    EXPECT_EQ(s.NameAutosave, "Screenshot-");
    EXPECT_EQ(s.GraphFormatAutosave, 1);
    EXPECT_EQ(s.InscriptionCoordinates, 3);
    EXPECT_EQ(s.InscriptionBackGroundColor, 0xFFFFFFu);
    EXPECT_EQ(s.SoundMode, -1);
    EXPECT_EQ(s.LastSavePath, "NoName");
    EXPECT_TRUE(s.UserHotKey1.Empty());
}

struct DefaultsCase {
    const char* name;
    std::optional<std::string> windowsDirectory;
    bool chimesPresent;
    std::vector<std::string> fonts;
    std::string audioFile;
    std::string font;
};

void PrintTo(const DefaultsCase& c, std::ostream* os) { *os << c.name; }

class SetDefaults : public ::testing::TestWithParam<DefaultsCase> {};

TEST_P(SetDefaults, SoundFileTrayAndFont) {
    const DefaultsCase& c = GetParam();
    FakePorts fake;
    fake.system.windowsDirectory = c.windowsDirectory;
    if (c.chimesPresent) fake.files.existing.insert("C:\\WINDOWS\\Media\\chimes.wav");
    fake.fonts.families = c.fonts;
    AppSettings s;
    s.TrayIconEnabled = false;

    SetDefaultSettings(s, fake.system, fake.files, fake.fonts);

    EXPECT_EQ(s.AudioFilePath, c.audioFile);
    EXPECT_EQ(s.SoundEvent, !c.audioFile.empty());
    EXPECT_EQ(s.SoundMode, c.audioFile.empty() ? -1 : 1);
    EXPECT_TRUE(s.TrayIconEnabled);
    EXPECT_EQ(s.FontName, c.font);
}

INSTANTIATE_TEST_SUITE_P(
    FirstStart, SetDefaults,
    ::testing::Values(
        DefaultsCase{"WithChimes", "C:\\WINDOWS", true, {"Tahoma", "Arial"},
                     "C:\\WINDOWS\\Media\\chimes.wav", "Arial"},
        DefaultsCase{"WithoutChimes", "C:\\WINDOWS", false, {"Tahoma", "Times New Roman"}, "",
                     "Times New Roman"},
        DefaultsCase{"NoWindowsFolder", std::nullopt, true, {"Tahoma", "MS Sans Serif"}, "",
                     "MS Sans Serif"},
        DefaultsCase{"OnlyOtherFonts", "C:\\WINDOWS", false, {"Tahoma", "Verdana"}, "", "Tahoma"},
        DefaultsCase{"NoFonts", "C:\\WINDOWS", false, {}, "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DeleteOldSettings, RemovesTheKeyTreeAndTheRunEntries) {
    for (bool admin : {true, false}) {
        SCOPED_TRACE(admin ? "administrator" : "user");
        testing::FakeRegistry reg;
        reg.Set(RegistryRoot::CurrentUser, "Software\\Kadrilo", "AppVersion", RegistryValue::Number(21));
        reg.Set(RegistryRoot::CurrentUser, "Software\\Kadrilo\\Below", "X", RegistryValue::Number(1));
        reg.Set(RegistryRoot::CurrentUser, "Software\\KadriloOther", "Y", RegistryValue::Number(1));
        for (RegistryRoot root : {RegistryRoot::CurrentUser, RegistryRoot::LocalMachine}) {
            reg.Set(root, RunKey, "Kadrilo", RegistryValue::Text("C:\\k.exe"));
            reg.Set(root, RunKey, "Other", RegistryValue::Text("C:\\o.exe"));
        }

        DeleteOldSettings(reg, admin);

        EXPECT_FALSE(reg.KeyExists(RegistryRoot::CurrentUser, "Software\\Kadrilo"));
        EXPECT_FALSE(reg.KeyExists(RegistryRoot::CurrentUser, "Software\\Kadrilo\\Below"));
        EXPECT_TRUE(reg.KeyExists(RegistryRoot::CurrentUser, "Software\\KadriloOther"));
        EXPECT_FALSE(reg.HasValue(RegistryRoot::CurrentUser, RunKey, "Kadrilo"));
        EXPECT_EQ(reg.HasValue(RegistryRoot::LocalMachine, RunKey, "Kadrilo"), !admin);
        EXPECT_TRUE(reg.HasValue(RegistryRoot::CurrentUser, RunKey, "Other"));
        EXPECT_TRUE(reg.HasValue(RegistryRoot::LocalMachine, RunKey, "Other"));
    }
}

TEST(DeleteOldSettings, NothingStoredIsFine) {
    testing::FakeRegistry reg;
    DeleteOldSettings(reg, true);
    EXPECT_FALSE(reg.KeyExists(RegistryRoot::CurrentUser, "Software\\Kadrilo"));
}

}  // namespace
}  // namespace kadrilo
