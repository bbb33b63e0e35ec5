// The inscription: one line of the user's text and/or the date and time, laid
// over a shot at one of seven places. Here it is composed and placed; measuring
// and drawing the text are the platform's.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Ports.h"
#include "platform/Types.h"

namespace kadrilo {

struct AppSettings;

// The settings the inscription is made from.
struct InscriptionSettings {
    std::string text;
    bool dateTimeEnabled = false;
    int32_t dateTimeRow = 0;  // a row of the date/time table, 0 to 11
    std::string fontName;
    int32_t fontSize = 10;    // points
    Color fontColor = 0x000000;
    Color backgroundColor = 0xFFFFFF;
    bool transparent = false;  // no background box
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int32_t position = 3;  // a row of the position table, 0 to 6
    int32_t offsetX = 15;  // distance from the image's edges, pixels
    int32_t offsetY = 15;
};

// Reads the inscription's settings from the record. The font size is clamped
// into 4 to 72 points first, and a changed value is written back to the record.
InscriptionSettings TakeInscriptionSettings(AppSettings& settings);

constexpr int32_t kInscriptionMinFontSize = 4;
constexpr int32_t kInscriptionMaxFontSize = 72;
int32_t ClampInscriptionFontSize(int32_t points);

struct InscriptionFont {
    std::string name;
    int32_t sizePoints = 10;
    Color color = 0x000000;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    friend bool operator==(const InscriptionFont&, const InscriptionFont&) = default;
};

// What is drawn: the text as one line in the font, over a box of the
// background colour behind its character cells, or with only the glyphs drawn.
struct Inscription {
    std::string text;  // UTF-8; empty: nothing is drawn
    InscriptionFont font;
    std::optional<Color> background;  // none: transparent
    friend bool operator==(const Inscription&, const Inscription&) = default;
};

// The inscription of the settings at the local time `now`: the user's text, one
// blank, then the date/time of the chosen row; the date/time alone when the
// text is empty; the text alone when the date/time is off. `timeSeparator` is
// the user's locale time separator, written for every colon of the row.
Inscription ComposeInscription(const InscriptionSettings& settings, const LocalTime& now,
                               std::string_view timeSeparator);
// The same from the record, clamping its font size as TakeInscriptionSettings does.
Inscription ComposeInscription(AppSettings& settings, const LocalTime& now, std::string_view timeSeparator);

// ---- The date/time table ------------------------------------------------------

constexpr int32_t kDateTimeRows = 12;

// The row's format: "dd" day, "mm" month (the minute when it comes right after
// the hour), "yy" two-digit year, "hh" hour 00 to 23, "ss" seconds; ":" is the
// time separator; full stops, blanks and parentheses are copied. Empty for a
// row outside 0 to 11.
std::string_view DateTimeRowFormat(int32_t row);
// `now` written in the row's format; empty for a row outside 0 to 11.
std::string FormatDateTimeRow(int32_t row, const LocalTime& now, std::string_view timeSeparator);

// ---- The position table ------------------------------------------------------------

constexpr int32_t kInscriptionPositions = 7;

// The sizes a position is computed from.
struct InscriptionPlacement {
    int32_t imageWidth = 0;
    int32_t imageHeight = 0;
    int32_t textWidth = 0;  // the extent of the text as one line in its font
    int32_t textHeight = 0;
    int32_t offsetX = 0;
    int32_t offsetY = 0;
};

struct TextOrigin {
    int32_t x = 0;  // the top-left corner of the text
    int32_t y = 0;
    friend bool operator==(const TextOrigin&, const TextOrigin&) = default;
};

// Where the text goes for a row of the position table: 0 left-top, 1 right-top,
// 2 left-bottom, 3 right-bottom, 4 top-centre, 5 bottom-centre, 6 centre. The
// centred axes use integer division that truncates towards zero and ignore the
// offset. A text larger than the image gets a negative coordinate at the right
// and bottom positions. Nothing when no position is selected (a row outside 0 to 6).
std::optional<TextOrigin> InscriptionOrigin(int32_t position, const InscriptionPlacement& placement);

// Which offsets a position uses (the others' controls are disabled). A row
// outside 0 to 6 leaves both enabled.
struct InscriptionOffsetsUsed {
    bool horizontal = true;
    bool vertical = true;
    friend bool operator==(const InscriptionOffsetsUsed&, const InscriptionOffsetsUsed&) = default;
};
InscriptionOffsetsUsed OffsetsUsedBy(int32_t position);

// ---- The preview ---------------------------------------------------------------------

constexpr int32_t kInscriptionPreviewWidth = 336;
constexpr int32_t kInscriptionPreviewHeight = 48;
constexpr int32_t kInscriptionPreviewPosition = 6;  // the preview always centres the text
constexpr int32_t kCheckerSquareSize = 8;
constexpr Color kCheckerSilver = 0xC0C0C0;
constexpr Color kCheckerWhite = 0xFFFFFF;

// The preview's checkerboard of 8 x 8 squares, silver at the top left: the
// colour of the pixel (x, y), x and y from 0.
Color PreviewCheckerColor(int32_t x, int32_t y);

struct CheckerSquare {
    Rect rect;
    Color color;
    friend bool operator==(const CheckerSquare&, const CheckerSquare&) = default;
};
// The squares of a checkerboard of the given size, row by row from the top
// left; those at the right and bottom border are cut at the edge.
std::vector<CheckerSquare> PreviewCheckerSquares(int32_t width, int32_t height);

}  // namespace kadrilo
