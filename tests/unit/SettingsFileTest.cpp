#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/AppMainForm.h"
#include "fakes/Fakes.h"
#include "settings/file/SettingsFile.h"
#include "text/Strings.h"

namespace kadrilo {
namespace {

using ::testing::ElementsAreArray;
using testing::FakePorts;

constexpr const char* Path = "C:\\Backup\\kadrilio.ini";

// The keys of the settings file in the order an export writes them.
const std::vector<std::string> ExportedKeys{
    "AppVersion", "WorkMode", "TrayIconEnabled", "QualityJPEG", "IncludeCursor", "CopyImageToClipboard",
    "PriorityChange", "PriorityClass", "PriorityAutoChange", "Language", "Coordinates", "Left", "Top",
    "ConfirmationOnClose", "StayOnTop", "FNameFormatAutosave", "FNameFormatSerial", "DirAutosave", "DirSaveSerial",
    "NameAutosave", "NameSerial", "NumberAutosave", "NumberSerial", "GraphFormatAutosave", "GraphFormatSerial",
    "RenameAutosave", "RenameSerial", "ManualSerial", "IntervalOfTime", "QuantityOfScreenshots", "HotKey1Mode",
    "HotKey2Mode", "HotKey3Mode", "HotKey4Mode", "HotKey5Mode", "UserHotKey1", "UserHotKey2", "UserHotKey3",
    "UserHotKey4", "UserHotKey5", "SoundEvent", "LastSaveFormat", "LastSavePath", "AudioFilePath", "SoundMode",
    "ExecuteAfterSaving", "ExecuteMode", "FontName", "InscriptionEnabled", "EnableDateTime", "DateTimeFormat",
    "InscriptionText", "FontSize", "InscriptionFontColor", "InscriptionBackGroundColor", "InscriptionTransporent",
    "InscriptionStyleBold", "InscriptionStyleItalic", "InscriptionStyleUnderline", "InscriptionStyleStrikeOut",
    "InscriptionCoordinates", "InsX", "InsY"};

// Every field as text, for comparing whole records.
std::map<std::string, std::string> Fields(const AppSettings& s) {
    std::map<std::string, std::string> fields;
    for (const SettingField& f : SettingFields())
        fields[std::string(f.name)] = f.type == FieldType::Text ? f.Text(s) : std::to_string(f.Number(s));
    return fields;
}

TEST(SettingsFileName, EndsInExactlyOneIni) {
    const std::pair<const char*, const char*> names[] = {
        {"C:\\Backup\\kadrilio", "C:\\Backup\\kadrilio.ini"},
        {"C:\\Backup\\kadrilio.ini", "C:\\Backup\\kadrilio.ini"},
        {"C:\\Backup\\KADRILIO.INI", "C:\\Backup\\KADRILIO.ini"},
        {"C:\\Backup\\kadrilio.iNi", "C:\\Backup\\kadrilio.ini"},
        {"C:\\Backup\\kadrilio.txt", "C:\\Backup\\kadrilio.txt.ini"},
        {"C:\\Backup\\kadrilio.ini.ini", "C:\\Backup\\kadrilio.ini.ini"},
        {"C:\\Old.ini\\settings", "C:\\Old.ini\\settings.ini"},
        {"C:\\Backup\\.ini", "C:\\Backup\\.ini"},
    };
    for (const auto& [chosen, expected] : names) EXPECT_EQ(ExportFileName(chosen), expected) << chosen;
}

TEST(SettingsFileNumbers, DecimalOrHexadecimalIn32Bits) {
    const std::pair<const char*, std::optional<int32_t>> numbers[] = {
        {"12", 12}, {"-5", -5}, {"+7", 7}, {"007", 7}, {"0x1F", 31}, {"0XfF", 255}, {"0xFFFFFFFF", -1},
        {"0x000000010", 16}, {"2147483647", INT32_MAX}, {"-2147483648", INT32_MIN},
        {"2147483648", std::nullopt}, {"-2147483649", std::nullopt}, {"0x100000000", std::nullopt},
        {"99999999999999999999999", std::nullopt}, {"", std::nullopt}, {"-", std::nullopt}, {"0x", std::nullopt},
        {"-0x5", std::nullopt}, {"0x1G", std::nullopt}, {"abc", std::nullopt}, {"1 2", std::nullopt},
        {"12a", std::nullopt}, {"1.5", std::nullopt},
    };
    for (const auto& [text, expected] : numbers) EXPECT_EQ(ParseFileNumber(text), expected) << '"' << text << '"';
}

TEST(SettingsFileTexts, ReadBackAsWritten) {
    // Through the fake, which reads as the profile functions do (see the contract cases).
    testing::FakeProfile profile;
    const char* texts[] = {"plain", "  leading", "trailing\t", "\"quoted\"", "'single'", "\"open", "a \"b\" c", "",
                           " ", "\"\""};
    for (const char* text : texts) {
        profile.WriteString(Path, SettingsFileSection, "Text", FileText(text));
        EXPECT_EQ(profile.ReadString(Path, SettingsFileSection, "Text", "?"), text) << text;
    }
    EXPECT_EQ(FileText("first\r\nSecondKey=1"), "first  SecondKey=1");
}

class SettingsFileTest : public ::testing::Test {
protected:
    FakePorts fake;
    TAppMainForm form{fake.ports, {"C:\\Tools\\kadrilio.exe"}};

    void SetUp() override {
        fake.form.savedFile = Path;
        fake.form.openedFile = Path;
        fake.files.existing.insert(Path);
    }
    std::string Key(const std::string& key) { return fake.profile.ReadString(Path, SettingsFileSection, key, "<none>"); }
    void Import(const std::string& text) {
        fake.profile.SetFile(Path, text);
        fake.form.calls.clear();
        form.BitBtn4Click();
    }
};

TEST_F(SettingsFileTest, ExportWritesEveryKeyInOrderWithItsEncoding) {
    form.Settings.QualityJPEG = 60;  // the track bar shows a compression of 40
    form.Settings.InscriptionBackGroundColor = 0x123456;
    form.Settings.InscriptionTransporent = true;
    form.Settings.SoundMode = 1;
    form.Settings.NumberSerial = 42;
    form.Settings.DirAutosave = "D:\\Снимки";
    form.Settings.InscriptionText = "  two blanks";
    form.Settings.UserHotKey1 = Shortcut{static_cast<uint16_t>(Shortcut::Ctrl | Shortcut::Alt | 'K')};
    form.Settings.UserHotKey2 = form.Settings.UserHotKey3 = form.Settings.UserHotKey4 = form.Settings.UserHotKey5 =
        form.Settings.UserHotKey1;
    form.Settings.LastSaveFormat = 3;
    form.Settings.LastSavePath = "C:\\Shots\\last";
    fake.windows.mainWindow = {120, -30, 607, 324};
    fake.form.savedFile = "C:\\Backup\\KADRILIO.INI";

    form.BitBtn3Click();

    ASSERT_EQ(fake.form.saveFileDialogs.size(), 1u);
    EXPECT_EQ(fake.form.saveFileDialogs[0], std::make_pair(std::string("kadrilio.ini"), std::string("Files INI|*.ini")));
    EXPECT_THAT(fake.profile.KeyNames("C:\\Backup\\KADRILIO.ini", SettingsFileSection), ElementsAreArray(ExportedKeys));
    const std::pair<const char*, const char*> values[] = {
        {"AppVersion", "21"}, {"WorkMode", "0"}, {"TrayIconEnabled", "1"}, {"QualityJPEG", "60"},
        {"Language", "1"}, {"Left", "120"}, {"Top", "-30"}, {"DirAutosave", "D:\\Снимки"},
        {"NumberSerial", "42"}, {"UserHotKey1", "Ctrl+Alt+K"}, {"LastSaveFormat", "3"},
        {"LastSavePath", "C:\\Shots\\last"}, {"SoundMode", "1"}, {"FontSize", "10"},
        {"InscriptionBackGroundColor", "1193046"}, {"InscriptionTransporent", "1"},
        {"InscriptionText", "  two blanks"}, {"InscriptionCoordinates", "3"}};
    for (const auto& [key, value] : values)
        EXPECT_EQ(fake.profile.ReadString("C:\\Backup\\KADRILIO.ini", SettingsFileSection, key, "?"), value) << key;
    EXPECT_TRUE(fake.windows.messages.empty());
}

TEST_F(SettingsFileTest, ExportLeavesKeysItDoesNotWriteAsTheFileHadThem) {
    fake.profile.SetFile(Path, "[Other]\nKeep=1\n[Kadrilo Settings]\nUserHotKey2=Ctrl+A\nSoundMode=2\nWorkMode=3\n");
    form.Settings.UserHotKey1 = Shortcut{static_cast<uint16_t>(Shortcut::Shift | 'Q')};
    form.Settings.SoundMode = -1;  // none of the three choices

    form.BitBtn3Click();

    EXPECT_EQ(Key("UserHotKey1"), "Shift+Q");
    EXPECT_EQ(Key("UserHotKey2"), "Ctrl+A");
    EXPECT_EQ(Key("UserHotKey3"), "<none>");
    EXPECT_EQ(Key("SoundMode"), "2");
    EXPECT_EQ(Key("WorkMode"), "0");
    EXPECT_EQ(fake.profile.ReadString(Path, "Other", "Keep", "?"), "1");
}

TEST_F(SettingsFileTest, ExportChangesNoSettingAndNothingInTheRegistry) {
    form.FormCreate();
    const auto before = Fields(form.Settings);
    const auto stored = fake.registry.ValueNames(RegistryRoot::CurrentUser, "Software\\Kadrilo");
    fake.windows.mainWindow = {300, 200, 787, 554};

    form.BitBtn3Click();

    EXPECT_EQ(Fields(form.Settings), before);
    EXPECT_EQ(fake.registry.ValueNames(RegistryRoot::CurrentUser, "Software\\Kadrilo"), stored);
    EXPECT_EQ(Key("Left"), "300");
}

TEST_F(SettingsFileTest, AFailedWriteShowsTheSaveErrorForTheFinalNameAndStops) {
    fake.form.savedFile = "C:\\Backup\\settings";
    fake.profile.failingWrite = 5;
    fake.windows.answers = {MessageAnswer::Ok};

    form.BitBtn3Click();

    EXPECT_EQ(fake.profile.writes.size(), 6u) << "nothing is written after the failure";
    ASSERT_EQ(fake.windows.messages.size(), 1u);
    EXPECT_EQ(fake.windows.messages[0].text,
              LoadStrEx(English, 840) + "C:\\Backup\\settings.ini" + LoadStrEx(English, 841));
    EXPECT_EQ(fake.windows.messages[0].flags, MessageFlags::Ok | MessageFlags::IconStop);
    EXPECT_EQ(fake.profile.KeyNames("C:\\Backup\\settings.ini", SettingsFileSection).size(), 5u)
        << "the keys written before stay";
}

TEST_F(SettingsFileTest, CancelledDialogsDoNothing) {
    fake.form.savedFile.reset();
    fake.form.openedFile.reset();
    form.BitBtn3Click();
    form.BitBtn4Click();
    EXPECT_TRUE(fake.profile.writes.empty());
    EXPECT_TRUE(fake.form.calls.empty()) << "no captions re-applied";
    EXPECT_EQ(fake.form.openFilters, std::vector<std::string>{"Files INI|*.ini"});
}

TEST_F(SettingsFileTest, FilesThatAreNotSettingsFiles) {
    struct Case {
        const char* name;
        std::optional<std::string> text;  // nothing: no such file
        bool message;
    };
    for (const Case& c : {Case{"missing", std::nullopt, false},
                          Case{"without the section", "[Other]\nWorkMode=3\n", true},
                          Case{"with an empty section", "[Kadrilo Settings]\n[Other]\nWorkMode=3\n", true}}) {
        FakePorts ports;
        TAppMainForm f{ports.ports, {"C:\\Tools\\kadrilio.exe"}};
        ports.form.openedFile = Path;
        if (c.text) {
            ports.files.existing.insert(Path);
            ports.profile.SetFile(Path, *c.text);
        }
        ports.windows.answers = {MessageAnswer::Ok};
        f.BitBtn4Click();
        ASSERT_EQ(ports.windows.messages.size(), c.message ? 1u : 0u) << c.name;
        if (c.message) {
            EXPECT_EQ(ports.windows.messages[0].text, LoadStrEx(English, 831)) << c.name;
            EXPECT_EQ(ports.windows.messages[0].flags, MessageFlags::Ok | MessageFlags::IconStop) << c.name;
        }
        EXPECT_EQ(f.Settings.WorkMode, 0) << c.name;
        EXPECT_THAT(ports.form.calls, ::testing::Contains("refresh")) << c.name << ": captions re-applied";
    }
}

TEST_F(SettingsFileTest, VersionQuestions) {
    struct Case {
        const char* version;  // nullptr: no AppVersion key
        int question;         // 0: none
        MessageAnswer answer;
        bool applied;
    };
    for (const Case& c : {Case{"22", 832, MessageAnswer::No, false}, Case{"22", 832, MessageAnswer::Yes, true},
                          Case{"20", 833, MessageAnswer::No, false}, Case{"0x15", 0, MessageAnswer::Ok, true},
                          Case{nullptr, 0, MessageAnswer::Ok, true}, Case{"new", 0, MessageAnswer::Ok, true}}) {
        FakePorts ports;
        TAppMainForm f{ports.ports, {"C:\\Tools\\kadrilio.exe"}};
        ports.form.openedFile = Path;
        ports.files.existing.insert(Path);
        ports.profile.SetFile(Path, std::string("[Kadrilo Settings]\n") + (c.version ? "AppVersion=" + std::string(c.version) + "\n" : "") +
                                        "WorkMode=2\nLanguage=0\n");
        if (c.question) ports.windows.answers = {c.answer};
        f.BitBtn4Click();
        const std::string label = c.version ? c.version : "none";
        ASSERT_EQ(ports.windows.messages.size(), c.question ? 1u : 0u) << label;
        if (c.question) {
            EXPECT_EQ(ports.windows.messages[0].text, LoadStrEx(English, c.question));
            EXPECT_EQ(ports.windows.messages[0].flags, MessageFlags::YesNo | MessageFlags::IconExclamation);
        }
        EXPECT_EQ(f.Settings.WorkMode, c.applied ? 2 : 0) << label;
        EXPECT_EQ(f.Settings.Language, c.applied ? Russian : English) << label;
        EXPECT_THAT(ports.form.calls, ::testing::Contains("refresh")) << label << ": captions re-applied";
    }
}

TEST_F(SettingsFileTest, ValuesAreAppliedAsLoadingAppliesThemWithTheFilesFallbacks) {
    struct Row {
        const char* key;
        const char* value;
        int64_t expected;
    };
    const Row rows[] = {
        {"FontSize", "abc", 12}, {"FontSize", "200", 72}, {"FontSize", "0x10", 16}, {"FontSize", "", 12},
        {"QualityJPEG", "x", 25}, {"QualityJPEG", "150", 100}, {"IntervalOfTime", "-3", 1},
        {"IntervalOfTime", "2147483648", 10}, {"WorkMode", "", 0}, {"WorkMode", "9", 3},
        {"TrayIconEnabled", "abc", 1}, {"TrayIconEnabled", "0", 0}, {"StayOnTop", "abc", 0}, {"StayOnTop", "2", 1},
        {"RenameSerial", "?", 1}, {"PriorityAutoChange", "no", 1}, {"ManualSerial", "no", 0},
        {"ConfirmationOnClose", "-", 1}, {"Language", "abc", Russian}, {"InscriptionCoordinates", "z", 3},
        {"InscriptionFontColor", "0xFF00", 0xFF00}, {"InscriptionFontColor", "-1", 0xFFFFFF},
        {"InscriptionBackGroundColor", "white", 0}, {"InsX", "q", 15}, {"FNameFormatSerial", "q", 2},
        {"GraphFormatAutosave", "q", 1}, {"QuantityOfScreenshots", "q", 15}, {"LastSaveFormat", "q", 0},
        {"SoundMode", "q", 0}, {"SoundMode", "3", -1}, {"HotKey3Mode", "q", 0}, {"HotKey3Mode", "7", 0},
        {"NumberAutosave", "  +12  ", 12},
    };
    for (const Row& r : rows) {
        FakePorts ports;
        TAppMainForm f{ports.ports, {"C:\\Tools\\kadrilio.exe"}};
        ports.form.openedFile = Path;
        ports.files.existing.insert(Path);
        ports.profile.SetFile(Path, std::string("[Kadrilo Settings]\n") + r.key + "=" + r.value + "\n");
        f.Settings.StayOnTop = !FileFallback(SettingId::StayOnTop);
        f.BitBtn4Click();
        EXPECT_EQ(FindSettingField(r.key)->Number(f.Settings), r.expected) << r.key << "=" << r.value;
    }
}

TEST_F(SettingsFileTest, TheWindowMovesOnlyWhileThePositionIsRestored) {
    Import("[Kadrilo Settings]\nLeft=50\nTop=60\n");
    Import("[Kadrilo Settings]\nCoordinates=0\nLeft=50\nTop=60\n");
    EXPECT_THAT(fake.windows.calls, ::testing::Not(::testing::Contains(::testing::StartsWith("move"))));
    EXPECT_EQ(form.Settings.Left, 0);

    fake.windows.mainWindow = {10, 20, 497, 374};
    Import("[Kadrilo Settings]\nLeft=50\nCoordinates=1\nTop=60\n");  // the file's order does not count
    Import("[Kadrilo Settings]\nLeft=70\n");
    EXPECT_THAT(fake.windows.calls, ::testing::ElementsAre("move 50,60", "move 70,60"));
}

TEST_F(SettingsFileTest, AnImportRunsTheReactionsOfTheUsersOwnChanges) {
    form.FormCreate();
    ASSERT_TRUE(fake.form.trayIcon);
    ASSERT_EQ(fake.hotkeys.registered.size(), 5u);
    fake.windows.calls.clear();

    Import("[Kadrilo Settings]\nTrayIconEnabled=0\nHotKey1Mode=2\nHotKey2Mode=1\nUserHotKey2=Ctrl+Alt+F9\n"
           "WorkMode=3\nStayOnTop=1\nLanguage=0\n");

    EXPECT_FALSE(fake.form.trayIcon);
    EXPECT_EQ(fake.form.markedMode, 3);
    EXPECT_THAT(fake.form.calls, ::testing::Contains("on top"));
    EXPECT_EQ(fake.hotkeys.registered.size(), 4u) << "slot 1 disabled";
    EXPECT_EQ(fake.hotkeys.registered[form.HotkeyId(2)], std::make_pair(uint32_t{3}, uint32_t{0x78}));
    EXPECT_EQ(form.Settings.Language, Russian);
    EXPECT_EQ(fake.form.calls.back(), "refresh") << "the captions come last, in the imported language";
    EXPECT_FALSE(form.SettingsSaved) << "written when the window closes";
    EXPECT_TRUE(fake.registry.ValueNames(RegistryRoot::CurrentUser, "Software\\Kadrilo").empty());

    // The settings hotkey disabled: the tray icon comes back, as the user's choice would bring it.
    Import("[Kadrilo Settings]\nHotKey4Mode=2\n");
    EXPECT_TRUE(fake.form.trayIcon);
    EXPECT_TRUE(form.Settings.TrayIconEnabled);
}

TEST_F(SettingsFileTest, HotkeysAreRegisteredAgainAfterEveryImport) {
    form.FormCreate();
    form.Settings.HotKey3Mode = 1;  // a user key that waits for its registration
    form.Settings.UserHotKey3 = Shortcut{static_cast<uint16_t>(Shortcut::Ctrl | 'M')};
    Import("[Kadrilo Settings]\nNameAutosave=Shot-\n");
    EXPECT_EQ(fake.hotkeys.registered[form.HotkeyId(3)], std::make_pair(uint32_t{2}, uint32_t{'M'}));
}

TEST_F(SettingsFileTest, AnUnknownLanguageFallsBackToTheSystems) {
    fake.system.languageName = "Russian";
    Import("[Kadrilo Settings]\nLanguage=7\n");
    EXPECT_EQ(form.Settings.Language, Russian);
}

TEST_F(SettingsFileTest, ExportThenImportReproducesEveryFieldButAutostart) {
    AppSettings& s = form.Settings;
    s.WorkMode = 2, s.Autostart = 2, s.Language = Russian, s.Coordinates = true, s.TrayIconEnabled = false;
    s.ConfirmationOnClose = false, s.StayOnTop = true, s.CopyImageToClipboard = true, s.IncludeCursor = true;
    s.QualityJPEG = 33, s.PriorityChange = true, s.PriorityAutoChange = false, s.PriorityClass = 2;
    s.DirAutosave = "D:\\Снимки экрана", s.FNameFormatAutosave = 0, s.NameAutosave = " 截图 ", s.NumberAutosave = 99999;
    s.GraphFormatAutosave = 3, s.RenameAutosave = false;
    s.HotKey1Mode = 1, s.HotKey2Mode = 2, s.HotKey3Mode = 1, s.HotKey4Mode = 0, s.HotKey5Mode = 1;
    for (int slot = 1; slot <= 5; ++slot)
        Field(UserHotKeySetting(slot)).Key(s) = Shortcut{static_cast<uint16_t>(Shortcut::Ctrl | Shortcut::Shift | ('0' + slot))};
    s.InscriptionEnabled = true, s.EnableDateTime = true, s.DateTimeFormat = 11, s.InscriptionText = "'quoted'";
    s.FontName = "Times New Roman", s.FontSize = 72, s.InscriptionFontColor = 0xABCDEF;
    s.InscriptionBackGroundColor = 0x010203, s.InscriptionTransporent = true, s.InscriptionStyleBold = true;
    s.InscriptionStyleItalic = true, s.InscriptionStyleUnderline = true, s.InscriptionStyleStrikeOut = true;
    s.InscriptionCoordinates = 6, s.InsX = 0, s.InsY = 100;
    s.SoundEvent = true, s.SoundMode = 2, s.AudioFilePath = "C:\\Sounds\\shot.wav", s.ExecuteAfterSaving = true;
    s.ExecuteMode = 1, s.ManualSerial = true, s.IntervalOfTime = 9999, s.QuantityOfScreenshots = 0;
    s.DirSaveSerial = "E:\\Series", s.FNameFormatSerial = 1, s.NameSerial = "Serie-", s.NumberSerial = 17;
    s.GraphFormatSerial = 0, s.RenameSerial = false, s.LastSaveFormat = 4, s.LastSavePath = "C:\\Last\\shot.tif";
    fake.windows.mainWindow = {-200, 33, 287, 387};
    s.Left = -200, s.Top = 33;
    const auto exported = Fields(s);

    form.BitBtn3Click();
    form.Settings = AppSettings{};
    fake.windows.mainWindow = {0, 0, 487, 354};
    form.BitBtn4Click();

    auto imported = Fields(form.Settings);
    auto expected = exported;
    expected["Autostart"] = imported["Autostart"] = "";
    EXPECT_EQ(imported, expected);
    EXPECT_EQ(form.Settings.Autostart, 0);
}

}  // namespace
}  // namespace kadrilo
