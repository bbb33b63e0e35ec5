#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/AppMainForm.h"
#include "fakes/Fakes.h"
#include "settings/SettingsStore.h"

namespace kadrilo {
namespace {

using ::testing::ElementsAre;
using ::testing::StartsWith;
using testing::FakePorts;

std::vector<uint8_t> Head(const std::vector<uint8_t>& bytes, size_t n) {
    return {bytes.begin(), bytes.begin() + static_cast<long>(std::min(n, bytes.size()))};
}

class Saving : public ::testing::Test {
protected:
    std::unique_ptr<FakePorts> fakes = std::make_unique<FakePorts>();
    FakePorts& fake = *fakes;
    std::unique_ptr<TAppMainForm> form;

    void Start(std::vector<std::string> switches = {}, int32_t mode = AutosaveMode) {
        fake.registry.Set(RegistryRoot::CurrentUser, SettingsKey, "AppVersion", RegistryValue::Number(21));
        fake.registry.Set(RegistryRoot::CurrentUser, SettingsKey, "WorkMode", RegistryValue::Number(mode));
        fake.files.directories = {"C:\\Screenshots", "C:\\Tools"};
        switches.insert(switches.begin(), "C:\\Tools\\kadrilio.exe");
        form = std::make_unique<TAppMainForm>(fake.ports, switches);
        form->FormCreate();
    }
    std::vector<std::string> Written() {
        std::vector<std::string> names;
        for (const auto& [name, bytes] : fake.files.written) names.push_back(name);
        return names;
    }
};

TEST_F(Saving, AutosaveWritesTheNextNumberInTheChosenFormat) {
    struct Case {
        int32_t format;
        const char* file;
        std::vector<uint8_t> magic;
    };
    for (const Case& c : {Case{0, "C:\\Screenshots\\Screenshot-0.bmp", {'B', 'M'}},
                          Case{1, "C:\\Screenshots\\Screenshot-0.jpg", {0xFF, 0xD8}},
                          Case{2, "C:\\Screenshots\\Screenshot-0.png", {0x89, 'P', 'N', 'G'}},
                          Case{3, "C:\\Screenshots\\Screenshot-0.tif", {'I', 'I', 42, 0}}}) {
        SCOPED_TRACE(c.file);
        fake.files.written.clear();
        Start();
        form->Settings.GraphFormatAutosave = c.format;
        form->MainActions(1);
        ASSERT_THAT(Written(), ElementsAre(c.file));
        EXPECT_EQ(Head(fake.files.written[c.file], c.magic.size()), c.magic);
        EXPECT_EQ(form->Settings.NumberAutosave, 1);
        EXPECT_FALSE(form->HeldImage);
        EXPECT_FALSE(fake.windows.loopEnded);
    }
}

TEST_F(Saving, ExistingFilesGetNumberedNamesOrAreLeftAlone) {
    Start();
    form->Settings.GraphFormatAutosave = 2;
    fake.files.existing = {"C:\\Screenshots\\Screenshot-0.png", "C:\\Screenshots\\Screenshot-0(1).png"};
    form->MainActions(1);
    EXPECT_THAT(Written(), ElementsAre("C:\\Screenshots\\Screenshot-0(2).png"));

    form->Settings.RenameAutosave = false;
    form->Settings.NumberAutosave = 0;
    fake.files.written.clear();
    form->MainActions(1);
    EXPECT_TRUE(Written().empty());
    EXPECT_TRUE(fake.windows.messages.empty());
    EXPECT_FALSE(form->HeldImage);
}

TEST_F(Saving, AllNumberedNamesTaken) {
    Start();
    form->Settings.GraphFormatAutosave = 2;
    fake.files.existing.insert("C:\\Screenshots\\Screenshot-0.png");
    for (int n = 1; n <= 99999; ++n)
        fake.files.existing.insert("C:\\Screenshots\\Screenshot-0(" + std::to_string(n) + ").png");
    fake.windows.answers = {MessageAnswer::Ok};
    form->MainActions(1);
    EXPECT_TRUE(Written().empty());
    ASSERT_EQ(fake.windows.messages.size(), 1u);
    EXPECT_EQ(fake.windows.messages[0].text,
              "Files with filename C:\\Screenshots\\Screenshot-0.png\nalready more than 100000. Saving is impossible.");
    EXPECT_EQ(fake.windows.messages[0].flags, MessageFlags::Ok | MessageFlags::IconStop);
}

TEST_F(Saving, AFailedWriteIsReportedAndACommandLineRunQuits) {
    Start({"/screenshot_full"});
    form->Settings.GraphFormatAutosave = 0;
    fake.files.unwritable = {"C:\\Screenshots\\Screenshot-0.bmp"};
    fake.windows.answers = {MessageAnswer::Ok};
    form->Timer3Timer();
    EXPECT_TRUE(Written().empty());
    ASSERT_EQ(fake.windows.messages.size(), 1u);
    EXPECT_THAT(fake.windows.messages[0].text,
                StartsWith("Can't save file: \nC:\\Screenshots\\Screenshot-0.bmp\n\nProbable reasons:\n"));
    EXPECT_TRUE(fake.windows.loopEnded);
    // The number advanced even so, and is kept for the next run.
    EXPECT_EQ(fake.registry.ReadValue(RegistryRoot::CurrentUser, SettingsKey, "NumberAutosave"),
              RegistryValue::Number(1));
}

TEST_F(Saving, ClipboardModeWritesNoFile) {
    Start({"/screenshot_full", "/mode4"});
    form->Timer3Timer();
    EXPECT_EQ(fake.clipboard.images.size(), 1u);
    EXPECT_TRUE(Written().empty());
    EXPECT_FALSE(form->HeldImage);
    EXPECT_TRUE(fake.windows.loopEnded);
    EXPECT_EQ(fake.registry.ReadValue(RegistryRoot::CurrentUser, SettingsKey, "WorkMode"), RegistryValue::Number(3));
}

TEST_F(Saving, CopyToClipboardInEveryMode) {
    Start();
    form->Settings.CopyImageToClipboard = true;
    form->MainActions(1);
    EXPECT_EQ(fake.clipboard.images.size(), 1u);
    EXPECT_EQ(Written().size(), 1u);
}

TEST_F(Saving, ManualModeShowsTheShotAndKeepsIt) {
    Start({}, ManualMode);
    form->MainActions(1);
    EXPECT_TRUE(form->HeldImage);
    EXPECT_TRUE(fake.windows.mainVisible);
    EXPECT_EQ(form->CurrentMainPage, 0);
    EXPECT_TRUE(Written().empty());
}

TEST_F(Saving, AFailedCaptureBeepsAndEndsACommandLineRun) {
    Start({"/screenshot_actwin"});
    fake.screen.foreground.reset();
    form->Timer3Timer();
    EXPECT_THAT(fake.sound.played, ElementsAre("beep"));
    EXPECT_TRUE(Written().empty());
    EXPECT_TRUE(fake.windows.loopEnded);
}

TEST_F(Saving, ThePriorityIsRaisedAroundEachShot) {
    Start();
    form->Settings.PriorityChange = true;
    form->MainActions(1);
    EXPECT_THAT(fake.system.priorities, ElementsAre(std::pair<uint32_t, int>{0x80, 2}, std::pair<uint32_t, int>{0x20, 0}));
}

TEST_F(Saving, SeriesShotsGoToTheSeriesFolder) {
    Start({}, ContinuousMode);
    fake.files.creatable = {"C:\\Screenshots\\Continuous"};
    form->Settings.NameSerial = "";
    form->Settings.NumberSerial = 99999;
    form->AutosaveSerial(Bitmap::Blank(8, 8, 32));  // what a tick of the series does after its copy
    EXPECT_THAT(Written(), ElementsAre("C:\\Screenshots\\Continuous\\Screenshot-99999.jpg"));
    EXPECT_EQ(form->Settings.NumberSerial, 0);
    EXPECT_EQ(form->Settings.DirSaveSerial, "C:\\Screenshots\\Continuous");
}

TEST_F(Saving, AnUnusableFolderFallsBackToTheProgramFolder) {
    Start();
    form->Settings.DirAutosave = "D:\\missing\\deeper";
    form->MainActions(1);
    EXPECT_THAT(Written(), ElementsAre("C:\\Tools\\Screenshot-0.jpg"));
    EXPECT_EQ(form->Settings.DirAutosave, "C:\\Tools");
    EXPECT_TRUE(fake.windows.messages.empty());
}

TEST_F(Saving, ExtensionRule) {
    Start();
    for (auto [name, format, file] : {std::tuple{"C:\\x\\shot.PNG", 2, "C:\\x\\shot.jpg"},
                                      std::tuple{"C:\\x\\shot.gif", 3, "C:\\x\\shot.gif.png"}}) {
        form->SaveScreenshot(Bitmap::Blank(4, 4, 24), name, format);
        EXPECT_EQ(fake.files.written.count(file), 1u) << file;
    }
}

TEST_F(Saving, SaveCountersKeepsEverythingElse) {
    Start();
    fake.registry.Set(RegistryRoot::CurrentUser, SettingsKey, "FontSize", RegistryValue::Number(30));
    form->Settings.FontSize = 12;
    form->Settings.NumberAutosave = 7;
    form->SaveCounters();
    EXPECT_EQ(fake.registry.ReadValue(RegistryRoot::CurrentUser, SettingsKey, "NumberAutosave"),
              RegistryValue::Number(7));
    EXPECT_EQ(fake.registry.ReadValue(RegistryRoot::CurrentUser, SettingsKey, "FontSize"), RegistryValue::Number(30));
}

TEST_F(Saving, ACommandLineShotOnAFirstStartLeavesSettingsTheNextRunReads) {
    fake.files.directories = {"C:\\Screenshots"};
    TAppMainForm first(fake.ports, {"C:\\Tools\\kadrilio.exe", "/screenshot_full", "/mode2"});
    first.FormCreate();
    first.Timer3Timer();
    EXPECT_EQ(fake.registry.ReadValue(RegistryRoot::CurrentUser, SettingsKey, "AppVersion"), RegistryValue::Number(21));

    fake.windows.loopEnded = false;
    TAppMainForm second(fake.ports, {"C:\\Tools\\kadrilio.exe", "/screenshot_full"});
    second.FormCreate();
    second.Timer3Timer();
    EXPECT_THAT(Written(), ElementsAre("C:\\Screenshots\\Screenshot-0.jpg", "C:\\Screenshots\\Screenshot-1.jpg"));
    EXPECT_TRUE(fake.windows.messages.empty());
}

}  // namespace
}  // namespace kadrilo

namespace kadrilo {
namespace {

TEST_F(Saving, FolderBrowser) {
    Start();
    fake.form.browsedFolder = "E:\\Shots";
    form->BitBtn5Click();
    EXPECT_EQ(form->Settings.DirAutosave, "E:\\Shots");
    EXPECT_EQ(fake.form.browseTitle, "Select directory");
    fake.form.browsedFolder = "";  // cancelled: the field stays
    form->BitBtn8Click();
    EXPECT_EQ(form->Settings.DirSaveSerial, "C:\\Screenshots\\Continuous");
}

}  // namespace
}  // namespace kadrilo

namespace kadrilo {
namespace {

TEST_F(Saving, SoundNotice) {
    struct Case {
        const char* name;
        bool enabled;
        int32_t mode;
        std::string file;
        bool oneShot;
        std::vector<std::string> played;
    };
    const std::string wav = "C:\\Windows\\Media\\chimes.wav";
    for (const Case& c : {Case{"off", false, 0, "", false, {}},
                          Case{"default sound", true, 0, "", false, {"beep"}},
                          Case{"audio file", true, 1, wav, false, {"file " + wav}},
                          Case{"upper-case extension", true, 1, "C:\\A.WMA", false, {"file C:\\A.WMA"}},
                          Case{"missing file", true, 1, "C:\\none.wav", false, {"beep"}},
                          Case{"not a sound", true, 1, "C:\\Windows\\win.ini", false, {"beep"}},
                          Case{"command-line run", true, 1, wav, true, {"beep"}},
                          Case{"speaker", true, 2, "", false, {"600/45", "900/45", "1200/45", "1575/45"}},
                          Case{"no choice", true, -1, "", false, {}}}) {
        SCOPED_TRACE(c.name);
        Start();
        fake.files.existing = {wav, "C:\\A.WMA", "C:\\Windows\\win.ini"};
        fake.sound.played.clear();
        form->Settings.SoundEvent = c.enabled;
        form->Settings.SoundMode = c.mode;
        form->Settings.AudioFilePath = c.file;
        form->OneShotRun = c.oneShot;
        form->PlaySoundAfterSave();
        EXPECT_EQ(fake.sound.played, c.played);
    }
}

TEST_F(Saving, ActionAfterSaving) {
    Start();
    form->Settings.ExecuteAfterSaving = true;
    for (int32_t mode : {0, 1, 2, 7}) {
        form->Settings.ExecuteMode = mode;
        form->ExecuteAfterSave("C:\\Screenshots\\Screenshot-4.png");
    }
    EXPECT_THAT(fake.shell.executed,
                ElementsAre("|C:\\Screenshots\\||9", "|C:\\Screenshots\\Screenshot-4.png||9",
                            "open|rundll32.exe|shell32.dll,OpenAs_RunDLL C:\\Screenshots\\Screenshot-4.png|1"));
    form->Settings.ExecuteAfterSaving = false;
    form->ExecuteAfterSave("C:\\x.png");
    EXPECT_EQ(fake.shell.executed.size(), 3u);
}

TEST_F(Saving, InASeriesTheActionFollowsOnlyTheLastShot) {
    Start({}, ContinuousMode);
    fake.files.directories.push_back("C:\\Screenshots\\Continuous");
    form->Settings.ExecuteAfterSaving = true;
    form->Settings.SoundEvent = true;
    form->Settings.SoundMode = 0;
    form->Settings.QuantityOfScreenshots = 3;
    form->MainActions(1);
    for (int tick = 0; tick < 3; ++tick) form->Timer2Timer();
    EXPECT_EQ(fake.files.written.size(), 3u);
    EXPECT_THAT(fake.shell.executed, ElementsAre("|C:\\Screenshots\\Continuous\\||9"));
    EXPECT_EQ(std::count(fake.sound.played.begin(), fake.sound.played.end(), "beep"), 3);
}

}  // namespace
}  // namespace kadrilo

namespace kadrilo {
namespace {

using Choice = DialogPort::SaveChoice;

TEST_F(Saving, ManualSaveFromThePreviewPage) {
    Start({}, ManualMode);
    form->MainActions(1);
    ASSERT_TRUE(form->HeldImage);

    form->BitBtn1Click();  // cancelled: the shot stays
    EXPECT_TRUE(form->HeldImage);
    EXPECT_EQ(fake.form.saveDialogs.back(), (std::pair<std::string, int32_t>{"NoName", 1}));

    // The name typed with another extension gets the filter's; the dialog
    // remembers both for next time; the window closes after the save.
    fake.form.saveChoices = {Choice{"C:\\Shots\\mine.PNG", 2}};
    form->BitBtn1Click();
    EXPECT_EQ(fake.files.written.count("C:\\Shots\\mine.jpg"), 1u);
    EXPECT_FALSE(form->HeldImage);
    EXPECT_EQ(form->Settings.LastSavePath, "C:\\Shots\\mine.PNG");
    EXPECT_EQ(form->Settings.LastSaveFormat, 2);
    EXPECT_FALSE(fake.windows.mainVisible);
}

TEST_F(Saving, ManualSaveOverAnExistingFileAsksFirst) {
    Start({}, ManualMode);
    form->MainActions(1);
    fake.files.existing = {"C:\\a.png"};
    fake.form.saveChoices = {Choice{"C:\\a.png", 3}, Choice{"C:\\b.png", 3}};
    fake.windows.answers = {MessageAnswer::No};  // not over a.png: the dialog comes again
    form->BitBtn1Click();
    ASSERT_EQ(fake.windows.messages.size(), 1u);
    EXPECT_EQ(fake.windows.messages[0].text, "C:\\a.png exists.\nRewrite?");
    EXPECT_EQ(fake.files.written.count("C:\\a.png"), 0u);
    EXPECT_EQ(fake.files.written.count("C:\\b.png"), 1u);
    EXPECT_EQ(fake.form.saveDialogs.size(), 2u);
}

TEST_F(Saving, ManualSaveThatFailsOffersTheDialogAgain) {
    Start({}, ManualMode);
    form->MainActions(1);
    fake.files.unwritable = {"C:\\ro\\x.bmp"};
    fake.form.saveChoices = {Choice{"C:\\ro\\x.bmp", 1}};  // then cancelled
    fake.windows.answers = {MessageAnswer::Ok};
    form->BitBtn1Click();
    EXPECT_EQ(fake.form.saveDialogs.size(), 2u);
    EXPECT_TRUE(form->HeldImage);  // kept for another try
}

TEST_F(Saving, SaveWithoutAShotOnlyBeeps) {
    Start({}, ManualMode);
    form->BitBtn1Click();
    EXPECT_TRUE(fake.form.saveDialogs.empty());
    EXPECT_EQ(fake.sound.played.back(), "beep");
}

}  // namespace
}  // namespace kadrilo

namespace kadrilo {
namespace {

TEST_F(Saving, ViewFullOpensThePreviewWindowOnce) {
    Start({}, ManualMode);
    form->BitBtn2Click();  // nothing held yet
    EXPECT_EQ(fake.form.viewerShows, 0);
    form->MainActions(1);
    form->BitBtn2Click();
    form->BitBtn2Click();  // already open: no effect
    EXPECT_EQ(fake.form.viewerShows, 1);
}

}  // namespace
}  // namespace kadrilo
