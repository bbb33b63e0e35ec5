#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>

#include "fakes/Fakes.h"
#include "output/FileNaming.h"

namespace kadrilo {
namespace {

using testing::FakeFiles;

// 14:07:09 on 5 December 2026.
const LocalTime kClock{2026, 12, 5, 14, 7, 9};

TEST(ProgramFolder, CutsAtTheLastBackslashKeepingADriveRoot) {
    struct Row {
        const char* executable;
        const char* folder;
    } rows[] = {
        {"C:\\Tools\\kadrilio.exe", "C:\\Tools"},
        {"C:\\Program Files\\Kadrilo\\kadrilio.exe", "C:\\Program Files\\Kadrilo"},
        {"C:\\kadrilio.exe", "C:\\"},
        {"\\\\server\\share\\kadrilio.exe", "\\\\server\\share"},
        {"kadrilio.exe", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.executable);
        EXPECT_EQ(ProgramFolder(row.executable), row.folder);
    }
}

// ---- Date and time ------------------------------------------------------------

TEST(FormatDateTime, TokensAtAFixedClock) {
    struct Row {
        const char* pattern;
        const char* expected;
    } rows[] = {
        {"dd,mm,yy(hh-mm-ss)", "05,12,26(14-07-09)"},
        {"hh-mm-ss(dd,mm,yy)", "14-07-09(05,12,26)"},
        // "mm" is the minute only right after "hh", separators between.
        {"hhmm", "1407"},
        {"hh :. mm", "14 :. 07"},
        {"mm-hh", "12-14"},
        {"hh x mm", "14 x 12"},   // a letter between: the month again
        {"hh-mm-mm", "14-07-12"},  // after the minute comes the month
        // Everything else is copied; a lone letter is no token.
        {"Shot d m y h s", "Shot d m y h s"},
        {"ddd", "05d"},
        {"", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pattern);
        EXPECT_EQ(FormatDateTime(row.pattern, kClock), row.expected);
    }
}

TEST(FormatDateTime, YearKeepsItsLastTwoDigits) {
    EXPECT_EQ(FormatDateTime("yy", LocalTime{2000, 1, 1, 0, 0, 0}), "00");
    EXPECT_EQ(FormatDateTime("yy", LocalTime{2109, 1, 1, 0, 0, 0}), "09");
}

// ---- The file part of an automatic save ------------------------------------------

TEST(AutosaveFilePart, DateFormatsLeaveTheNumberAlone) {
    int32_t number = 41;
    EXPECT_EQ(AutosaveFilePart(0, "shot_", number, kClock), "05,12,26(14-07-09)");
    EXPECT_EQ(AutosaveFilePart(1, "shot_", number, kClock), "14-07-09(05,12,26)");
    EXPECT_EQ(number, 41);
}

TEST(AutosaveFilePart, TextAndNumberThenTheNumberAdvances) {
    struct Row {
        int format;
        const char* text;
        int32_t number;
        const char* part;
        int32_t next;
    } rows[] = {
        {2, "", 0, "Screenshot-0", 1},
        {2, "", 99999, "Screenshot-99999", 0},
        {2, "shot_", 12, "shot_12", 13},
        {2, "shot_", 99998, "shot_99998", 99999},
        // A format value the settings window cannot give reads as text and number.
        {7, "shot_", 3, "shot_3", 4},
        {-1, "", 5, "Screenshot-5", 6},
        // A number outside 0..99999 (an edited registry) starts again at 0.
        {2, "n", 100000, "n100000", 0},
        {2, "n", INT32_MAX, "n2147483647", 0},
        {2, "n", -4, "n-4", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string("format ") + std::to_string(row.format) + " text '" + row.text +
                     "' number " + std::to_string(row.number));
        int32_t number = row.number;
        EXPECT_EQ(AutosaveFilePart(row.format, row.text, number, kClock), row.part);
        EXPECT_EQ(number, row.next);
    }
}

// ---- Folder resolution ------------------------------------------------------------

struct FolderCase {
    const char* name;
    std::string folder;
    std::vector<std::string> directories;  // existing before
    std::vector<std::string> creatable;
    std::string expected;
    std::vector<std::string> directoriesAfter;
};

void PrintTo(const FolderCase& c, std::ostream* os) { *os << c.name; }

const std::string kProgram = "C:\\Tools";

class FolderResolution : public ::testing::TestWithParam<FolderCase> {};

TEST_P(FolderResolution, GivesTheFolderAndCreatesOnlyWhatTheRuleSays) {
    FakeFiles files;
    files.directories = GetParam().directories;
    files.creatable = GetParam().creatable;
    EXPECT_EQ(CheckDirExists(GetParam().folder, kProgram, files), GetParam().expected);
    EXPECT_EQ(files.directories, GetParam().directoriesAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, FolderResolution,
    ::testing::Values(
        FolderCase{"EmptyTextIsTheProgramFolder", "", {}, {"", "C:\\Tools"}, kProgram, {}},
        FolderCase{"ExistingFolderUnchanged", "D:\\Shots", {"D:\\Shots"}, {}, "D:\\Shots", {"D:\\Shots"}},
        // An existing folder wins before the relative rule is tried.
        FolderCase{"ExistingRelativeFolderUnchanged", "Shots", {"Shots"}, {"C:\\ToolsShots"}, "Shots", {"Shots"}},
        FolderCase{"ShortTextCreatedAsItStands", "abc", {}, {"abc", "C:\\Toolsabc"}, "abc", {"abc"}},
        // A short text that cannot be made is not retried as a relative folder.
        FolderCase{"ShortTextNotCreatable", "Q:", {}, {"C:\\ToolsQ:"}, kProgram, {}},
        FolderCase{"DrivePathCreated", "D:\\Shots", {}, {"D:\\Shots"}, "D:\\Shots", {"D:\\Shots"}},
        FolderCase{"LowerCaseDriveLetter", "d:\\Shots", {}, {"d:\\Shots"}, "d:\\Shots", {"d:\\Shots"}},
        // D:\a is missing: it is not made, D:\a\b fails, and the relative rule is not tried.
        FolderCase{"DrivePathOneLevelOnly", "D:\\a\\b", {}, {"D:\\a", "C:\\ToolsD:\\a\\b"}, kProgram, {}},
        FolderCase{"RelativeJoinedWithoutSeparator", "Shots", {}, {"C:\\ToolsShots"}, "C:\\ToolsShots",
                   {"C:\\ToolsShots"}},
        FolderCase{"RelativeWithLeadingBackslash", "\\Shots", {}, {"C:\\Tools\\Shots"}, "C:\\Tools\\Shots",
                   {"C:\\Tools\\Shots"}},
        // Not a letter before ":\": relative.
        FolderCase{"DigitDriveIsRelative", "1:\\Shots", {}, {"1:\\Shots", "C:\\Tools1:\\Shots"},
                   "C:\\Tools1:\\Shots", {"C:\\Tools1:\\Shots"}},
        FolderCase{"RelativeNotCreatable", "Shots", {}, {}, kProgram, {}},
        FolderCase{"RelativeJoinedFolderExistsAlready", "Shots", {"C:\\ToolsShots"}, {"C:\\ToolsShots"}, kProgram,
                   {"C:\\ToolsShots"}}),
    [](const auto& info) { return std::string(info.param.name); });

class ThrowingFiles : public FakeFiles {
public:
    bool FolderExists(const std::string&) override { throw std::runtime_error("device not ready"); }
};

TEST(CheckDirExists, AFileSystemErrorGivesTheProgramFolder) {
    ThrowingFiles files;
    EXPECT_EQ(CheckDirExists("D:\\Shots", kProgram, files), kProgram);
}

// ---- Extensions and numbered names -------------------------------------------------

TEST(WithFormatExtension, ReplacesOnlyAKnownImageExtension) {
    struct Row {
        const char* name;
        int format;
        const char* expected;
    } rows[] = {
        {"C:\\S\\shot", 1, "C:\\S\\shot.bmp"},
        {"C:\\S\\shot.PNG", 2, "C:\\S\\shot.jpg"},
        {"shot.jpg", 2, "shot.jpg"},
        {"shot.jpeg", 4, "shot.tif"},
        {"shot.TiFf", 3, "shot.png"},
        {"shot.bmp", 4, "shot.tif"},
        {"shot.gif", 3, "shot.gif.png"},
        {"shot.pngx", 1, "shot.pngx.bmp"},
        {"shot.", 2, "shot..jpg"},
        {"shot.png.bmp", 3, "shot.png.png"},  // only the last extension goes
        // A dot before the last "\" or ":" starts no extension.
        {"C:\\my.png\\shot", 2, "C:\\my.png\\shot.jpg"},
        {"a.png:b", 2, "a.png:b.jpg"},
        {"C:\\S\\.png", 1, "C:\\S\\.bmp"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.name) + " as format " + std::to_string(row.format));
        EXPECT_EQ(WithFormatExtension(row.name, row.format), row.expected);
    }
}

TEST(WithFormatExtension, AnUnknownFormatLeavesTheNameAsItIs) {
    for (int format : {0, 5, -1}) {
        SCOPED_TRACE(format);
        EXPECT_EQ(WithFormatExtension("C:\\S\\shot.png", format), "C:\\S\\shot.png");
        EXPECT_STREQ(FormatExtension(format), "");
    }
}

TEST(NumberedName, NumberInParenthesesBeforeTheExtension) {
    EXPECT_EQ(NumberedName("C:\\S\\Screenshot-7", 1, 2), "C:\\S\\Screenshot-7(1).jpg");
    EXPECT_EQ(NumberedName("x", 99999, 4), "x(99999).tif");
    EXPECT_EQ(NumberedName("x", 2, 1), "x(2).bmp");
    EXPECT_EQ(NumberedName("x", 3, 3), "x(3).png");
}

// ---- Key filters --------------------------------------------------------------------

TEST(KeyFilters, RefuseExactlyTheCharactersNoPathMayHold) {
    const std::u32string refusedInFolder = U"/*|?\"<>";
    const std::u32string refusedInName = U"/\\*|?\"<>:";
    // Every printable ASCII character, editing keys and a few beyond ASCII.
    std::u32string typed = U"\b\t\x16 \u0436\u00e9\u20ac";
    for (char32_t c = 0x20; c < 0x7f; ++c) typed += c;
    for (char32_t c : typed) {
        SCOPED_TRACE(static_cast<uint32_t>(c));
        EXPECT_EQ(FolderKeyAccepted(c), refusedInFolder.find(c) == std::u32string::npos);
        EXPECT_EQ(NameKeyAccepted(c), refusedInName.find(c) == std::u32string::npos);
    }
}

}  // namespace
}  // namespace kadrilo
