#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>

#include "capture/inscription/Inscription.h"
#include "settings/AppSettings.h"

namespace kadrilo {
namespace {

// 14:05:09 on 5 December 2026.
const LocalTime kAfternoon{2026, 12, 5, 14, 5, 9};
// 09:04:05 on 7 March 2008: day, month, year, hour, minute and second all differ.
const LocalTime kMarch{2008, 3, 7, 9, 4, 5};

// ---- Composition --------------------------------------------------------------------

struct ComposeCase {
    const char* name;
    std::string text;
    bool dateTime;
    int32_t row;
    LocalTime now;
    std::string separator;
    std::string expected;
};

void PrintTo(const ComposeCase& c, std::ostream* os) { *os << c.name; }

class InscriptionCompose : public ::testing::TestWithParam<ComposeCase> {};

TEST_P(InscriptionCompose, TextThenOneBlankThenTheDateTime) {
    const ComposeCase& c = GetParam();
    InscriptionSettings settings;
    settings.text = c.text;
    settings.dateTimeEnabled = c.dateTime;
    settings.dateTimeRow = c.row;
    EXPECT_EQ(ComposeInscription(settings, c.now, c.separator).text, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InscriptionCompose,
    ::testing::Values(
        ComposeCase{"TextAndTime", "Shot", true, 10, kAfternoon, ":", "Shot 14:05:09"},
        ComposeCase{"TimeAloneWithoutALeadingBlank", "", true, 10, kAfternoon, ":", "14:05:09"},
        ComposeCase{"DateTimeOff", "Shot", false, 10, kAfternoon, ":", "Shot"},
        ComposeCase{"NothingAtAll", "", false, 10, kAfternoon, ":", ""},
        ComposeCase{"DateFirstRow", "", true, 1, kMarch, ":", "07.03.08 (09:04)"},
        ComposeCase{"TimeFirstRow", "", true, 9, kMarch, ":", "09:04 (07.03)"},
        // The locale's separator stands for every colon, and for nothing else.
        ComposeCase{"LocaleSeparatorDot", "Shot", true, 0, kMarch, ".", "Shot 07.03.08 (09.04.05)"},
        ComposeCase{"LocaleSeparatorOfTwoCharacters", "", true, 6, kMarch, "h ",
                    "09h 04h 05 (07.03.08)"},
        ComposeCase{"TextInCyrillic", "Снимок", true, 11, kAfternoon, ":", "Снимок 14:05"},
        // The user's text is taken as it is, blanks included.
        ComposeCase{"TextWithItsOwnBlanks", " a  b ", true, 5, kMarch, ":", " a  b  07.03"},
        // A row outside the table gives no date/time, and so no blank either.
        ComposeCase{"RowPastTheTable", "Shot", true, 12, kMarch, ":", "Shot"},
        ComposeCase{"NoRowSelected", "Shot", true, -1, kMarch, ":", "Shot"},
        ComposeCase{"NoRowAndNoText", "", true, -1, kMarch, ":", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(InscriptionDateTime, EveryRowWithItsSpecifiers) {
    const char* expected[kDateTimeRows] = {
        "07.03.08 (09:04:05)", "07.03.08 (09:04)", "07.03 (09:04:05)", "07.03 (09:04)",
        "07.03.08",            "07.03",            "09:04:05 (07.03.08)", "09:04:05 (07.03)",
        "09:04 (07.03.08)",    "09:04 (07.03)",    "09:04:05",            "09:04",
    };
    for (int32_t row = 0; row < kDateTimeRows; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(FormatDateTimeRow(row, kMarch, ":"), expected[row]);
    }
}

TEST(InscriptionDateTime, TwoDigitsAtTheEndsOfTheirRanges) {
    EXPECT_EQ(FormatDateTimeRow(0, LocalTime{2000, 1, 1, 0, 0, 0}, ":"), "01.01.00 (00:00:00)");
    EXPECT_EQ(FormatDateTimeRow(0, LocalTime{2099, 12, 31, 23, 59, 59}, ":"), "31.12.99 (23:59:59)");
    EXPECT_EQ(FormatDateTimeRow(4, LocalTime{2109, 6, 15, 12, 30, 0}, ":"), "15.06.09");
}

TEST(InscriptionCompose, FontAndBackgroundFromTheSettings) {
    InscriptionSettings settings;
    settings.text = "Shot";
    settings.fontName = "Tahoma";
    settings.fontSize = 20;
    settings.fontColor = 0x123456;
    settings.backgroundColor = 0x00FF00;
    settings.bold = true;
    settings.strikeOut = true;

    const Inscription opaque = ComposeInscription(settings, kAfternoon, ":");
    EXPECT_EQ(opaque.font, (InscriptionFont{"Tahoma", 20, 0x123456, true, false, false, true}));
    EXPECT_EQ(opaque.background, Color{0x00FF00});

    settings.transparent = true;
    settings.italic = true;
    settings.underline = true;
    const Inscription transparent = ComposeInscription(settings, kAfternoon, ":");
    EXPECT_EQ(transparent.font, (InscriptionFont{"Tahoma", 20, 0x123456, true, true, true, true}));
    EXPECT_EQ(transparent.background, std::nullopt);
}

TEST(InscriptionCompose, ColoursKeepOnlyTheirColourBits) {
    InscriptionSettings settings;
    settings.fontColor = 0xFF0000FF;
    settings.backgroundColor = 0x01ABCDEF;
    const Inscription inscription = ComposeInscription(settings, kAfternoon, ":");
    EXPECT_EQ(inscription.font.color, Color{0x0000FF});
    EXPECT_EQ(inscription.background, Color{0xABCDEF});
}

TEST(InscriptionCompose, FromTheSettingsRecord) {
    AppSettings record;
    record.InscriptionText = "Shot";
    record.EnableDateTime = true;
    record.DateTimeFormat = 11;
    record.FontName = "Verdana";
    record.FontSize = 14;
    record.InscriptionFontColor = 0x0000FF;
    record.InscriptionBackGroundColor = 0x00FFFF;
    record.InscriptionTransporent = false;
    record.InscriptionStyleItalic = true;
    const Inscription inscription = ComposeInscription(record, kAfternoon, ":");
    EXPECT_EQ(inscription.text, "Shot 14:05");
    EXPECT_EQ(inscription.font, (InscriptionFont{"Verdana", 14, 0x0000FF, false, true, false, false}));
    EXPECT_EQ(inscription.background, Color{0x00FFFF});

    record.InscriptionCoordinates = 5;
    record.InsX = 7;
    record.InsY = 9;
    const InscriptionSettings taken = TakeInscriptionSettings(record);
    EXPECT_EQ(taken.position, 5);
    EXPECT_EQ(taken.offsetX, 7);
    EXPECT_EQ(taken.offsetY, 9);
}

TEST(InscriptionCompose, TheFontSizeIsClampedAndWrittenBack) {
    struct Row {
        int32_t stored, used;
    } rows[] = {
        {2, 4}, {3, 4}, {4, 4}, {10, 10}, {72, 72}, {73, 72}, {100, 72},
        {0, 4}, {-5, 4}, {10000, 72},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.stored);
        AppSettings record;
        record.InscriptionText = "Shot";
        record.FontSize = row.stored;
        EXPECT_EQ(ComposeInscription(record, kAfternoon, ":").font.sizePoints, row.used);
        EXPECT_EQ(record.FontSize, row.used);
    }
}

// ---- Position -----------------------------------------------------------------------

struct PositionCase {
    const char* name;
    int32_t position;
    InscriptionPlacement placement;
    TextOrigin expected;
};

void PrintTo(const PositionCase& c, std::ostream* os) { *os << c.name; }

class InscriptionPosition : public ::testing::TestWithParam<PositionCase> {};

TEST_P(InscriptionPosition, TopLeftCornerOfTheText) {
    const PositionCase& c = GetParam();
    EXPECT_EQ(InscriptionOrigin(c.position, c.placement), c.expected);
}

// An 800 x 600 shot, a text of 100 x 20, 15 pixels from the sides and 25 from
// the top and bottom.
constexpr InscriptionPlacement kShot{800, 600, 100, 20, 15, 25};
// Odd sizes: W div 2 - lw div 2 = 50 - 5 and H div 2 - lh div 2 = 25 - 6.
constexpr InscriptionPlacement kOdd{101, 51, 11, 13, 3, 4};
// A text three times as wide as the image.
constexpr InscriptionPlacement kWide{100, 60, 300, 20, 15, 10};

INSTANTIATE_TEST_SUITE_P(
    Table, InscriptionPosition,
    ::testing::Values(PositionCase{"LeftTop", 0, kShot, {15, 25}},
                      PositionCase{"RightTop", 1, kShot, {685, 25}},
                      PositionCase{"LeftBottom", 2, kShot, {15, 555}},
                      PositionCase{"RightBottom", 3, kShot, {685, 555}},
                      PositionCase{"TopCentre", 4, kShot, {350, 25}},
                      PositionCase{"BottomCentre", 5, kShot, {350, 555}},
                      PositionCase{"Centre", 6, kShot, {350, 290}},
                      PositionCase{"CentreTruncates", 6, kOdd, {45, 19}},
                      PositionCase{"TopCentreTruncates", 4, kOdd, {45, 4}},
                      // Each size is halved on its own: 50 - 5 and 25 - 6, not (100 - 11) div 2.
                      PositionCase{"CentreHalvesEachSize", 6, {100, 50, 11, 13, 0, 0}, {45, 19}},
                      // The start of the text lies left of the image and is lost.
                      PositionCase{"WiderThanTheImageAtTheRight", 1, kWide, {-215, 10}},
                      PositionCase{"WiderThanTheImageAtTheRightBottom", 3, kWide, {-215, 30}},
                      // The end of the text lies right of the image and is lost.
                      PositionCase{"WiderThanTheImageAtTheLeft", 0, kWide, {15, 10}},
                      PositionCase{"WiderThanTheImageCentred", 6, kWide, {-100, 20}},
                      PositionCase{"TallerThanTheImageAtTheBottom", 2, {100, 10, 20, 30, 0, 5}, {0, -25}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(InscriptionPosition, EachRowUsesOnlyItsOffsets) {
    const InscriptionPlacement noOffsets{800, 600, 100, 20, 0, 0};
    for (int32_t position = 0; position < kInscriptionPositions; ++position) {
        SCOPED_TRACE(position);
        const InscriptionOffsetsUsed used = OffsetsUsedBy(position);
        EXPECT_EQ(used.horizontal, position <= 3);
        EXPECT_EQ(used.vertical, position <= 5);

        InscriptionPlacement shifted = noOffsets;
        shifted.offsetX = 40;
        shifted.offsetY = 70;
        const TextOrigin plain = *InscriptionOrigin(position, noOffsets);
        const TextOrigin moved = *InscriptionOrigin(position, shifted);
        EXPECT_EQ(moved.x != plain.x, used.horizontal);
        EXPECT_EQ(moved.y != plain.y, used.vertical);
    }
}

TEST(InscriptionPosition, NoSelectedPositionGivesNoPlace) {
    for (int32_t position : {-1, 7, 100}) {
        SCOPED_TRACE(position);
        EXPECT_EQ(InscriptionOrigin(position, kShot), std::nullopt);
        // With nothing selected, the list leaves both offsets enabled.
        EXPECT_EQ(OffsetsUsedBy(position), (InscriptionOffsetsUsed{true, true}));
    }
}

TEST(InscriptionPosition, ExtremeSizesAndOffsetsDoNotOverflow) {
    const InscriptionPlacement extreme{INT32_MAX, 10, INT32_MAX, 10, INT32_MIN, 0};
    EXPECT_EQ(InscriptionOrigin(1, extreme)->x, INT32_MAX);
    EXPECT_EQ(InscriptionOrigin(0, {10, 10, 5, 5, INT32_MIN, 0})->x, INT32_MIN);
    EXPECT_EQ(InscriptionOrigin(3, {0, 0, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX})->y, INT32_MIN);
}

// ---- The preview's checkerboard -----------------------------------------------------------

TEST(InscriptionPreview, FortyTwoBySixSquaresSilverAtTheTopLeft) {
    const auto squares = PreviewCheckerSquares(kInscriptionPreviewWidth, kInscriptionPreviewHeight);
    ASSERT_EQ(squares.size(), 42u * 6u);
    EXPECT_EQ(squares.front(), (CheckerSquare{{0, 0, 8, 8}, kCheckerSilver}));
    EXPECT_EQ(squares[1], (CheckerSquare{{8, 0, 16, 8}, kCheckerWhite}));
    EXPECT_EQ(squares[42], (CheckerSquare{{0, 8, 8, 16}, kCheckerWhite}));
    EXPECT_EQ(squares[43], (CheckerSquare{{8, 8, 16, 16}, kCheckerSilver}));
    EXPECT_EQ(squares.back(), (CheckerSquare{{328, 40, 336, 48}, kCheckerSilver}));
}

TEST(InscriptionPreview, SquaresCoverEveryPixelOnceInThePixelsColour) {
    struct Size {
        int32_t width, height;
    } sizes[] = {{kInscriptionPreviewWidth, kInscriptionPreviewHeight}, {340, 50}, {5, 3}, {16, 9}};
    for (const Size& size : sizes) {
        SCOPED_TRACE(std::to_string(size.width) + " x " + std::to_string(size.height));
        std::multiset<std::pair<int32_t, int32_t>> covered;
        for (const CheckerSquare& square : PreviewCheckerSquares(size.width, size.height)) {
            for (int32_t y = square.rect.top; y < square.rect.bottom; ++y)
                for (int32_t x = square.rect.left; x < square.rect.right; ++x) {
                    covered.insert({x, y});
                    ASSERT_EQ(PreviewCheckerColor(x, y), square.color) << "at " << x << ", " << y;
                }
        }
        ASSERT_EQ(covered.size(), static_cast<size_t>(size.width * size.height));
        for (int32_t y = 0; y < size.height; ++y)
            for (int32_t x = 0; x < size.width; ++x) ASSERT_EQ(covered.count({x, y}), 1u);
    }
}

TEST(InscriptionPreview, SquaresAtTheRightAndBottomBorderAreCut) {
    const auto squares = PreviewCheckerSquares(340, 50);
    ASSERT_EQ(squares.size(), 43u * 7u);
    EXPECT_EQ(squares[42], (CheckerSquare{{336, 0, 340, 8}, kCheckerSilver}));
    EXPECT_EQ(squares[43 * 6], (CheckerSquare{{0, 48, 8, 50}, kCheckerSilver}));
    EXPECT_EQ(squares.back(), (CheckerSquare{{336, 48, 340, 50}, kCheckerSilver}));
}

TEST(InscriptionPreview, ColourAlternatesEveryEightPixels) {
    struct Row {
        int32_t x, y;
        Color colour;
    } rows[] = {
        {0, 0, kCheckerSilver}, {7, 7, kCheckerSilver}, {8, 0, kCheckerWhite},  {0, 8, kCheckerWhite},
        {8, 8, kCheckerSilver}, {15, 7, kCheckerWhite}, {335, 47, kCheckerSilver},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.x) + ", " + std::to_string(row.y));
        EXPECT_EQ(PreviewCheckerColor(row.x, row.y), row.colour);
    }
}

}  // namespace
}  // namespace kadrilo
