#include "capture/inscription/Inscription.h"

#include <algorithm>
#include <limits>

#include "settings/AppSettings.h"
#include "text/DateTime.h"

namespace kadrilo {
namespace {

// The colour bits a colour can have; anything above them is dropped.
constexpr Color kColourBits = 0x00FFFFFF;

constexpr std::string_view kDateTimeFormats[kDateTimeRows] = {
    "dd.mm.yy (hh:mm:ss)",  // 0
    "dd.mm.yy (hh:mm)",     // 1
    "dd.mm (hh:mm:ss)",     // 2
    "dd.mm (hh:mm)",        // 3
    "dd.mm.yy",             // 4
    "dd.mm",                // 5
    "hh:mm:ss (dd.mm.yy)",  // 6
    "hh:mm:ss (dd.mm)",     // 7
    "hh:mm (dd.mm.yy)",     // 8
    "hh:mm (dd.mm)",        // 9
    "hh:mm:ss",             // 10
    "hh:mm",                // 11
};

// How one axis of the text is placed.
enum class Align {
    FromStart,  // the offset from the left or top edge
    FromEnd,    // the offset from the right or bottom edge
    Centre,     // centred; the offset is ignored
};

struct PositionRow {
    Align horizontal;
    Align vertical;
};

constexpr PositionRow kPositions[kInscriptionPositions] = {
    {Align::FromStart, Align::FromStart},  // 0 left-top corner
    {Align::FromEnd, Align::FromStart},    // 1 right-top corner
    {Align::FromStart, Align::FromEnd},    // 2 left-bottom corner
    {Align::FromEnd, Align::FromEnd},      // 3 right-bottom corner
    {Align::Centre, Align::FromStart},     // 4 top-centre
    {Align::Centre, Align::FromEnd},       // 5 bottom-centre
    {Align::Centre, Align::Centre},        // 6 centre
};

bool IsPosition(int32_t position) { return position >= 0 && position < kInscriptionPositions; }

// In 64 bits and held to the 32-bit range, so that no sizes handed in overflow.
int32_t Place(Align align, int32_t imageSize, int32_t textSize, int32_t offset) {
    const int64_t image = imageSize, text = textSize;
    int64_t at = 0;
    switch (align) {
        case Align::FromStart: at = offset; break;
        case Align::FromEnd: at = image - offset - text; break;
        case Align::Centre: at = image / 2 - text / 2; break;  // truncating towards zero
    }
    return static_cast<int32_t>(std::clamp<int64_t>(at, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

}  // namespace

// ---- Settings and composition ------------------------------------------------------

int32_t ClampInscriptionFontSize(int32_t points) {
    return std::clamp(points, kInscriptionMinFontSize, kInscriptionMaxFontSize);
}

InscriptionSettings TakeInscriptionSettings(AppSettings& s) {
    s.FontSize = ClampInscriptionFontSize(s.FontSize);
    return {
        .text = s.InscriptionText,
        .dateTimeEnabled = s.EnableDateTime,
        .dateTimeRow = s.DateTimeFormat,
        .fontName = s.FontName,
        .fontSize = s.FontSize,
        .fontColor = s.InscriptionFontColor,
        .backgroundColor = s.InscriptionBackGroundColor,
        .transparent = s.InscriptionTransporent,
        .bold = s.InscriptionStyleBold,
        .italic = s.InscriptionStyleItalic,
        .underline = s.InscriptionStyleUnderline,
        .strikeOut = s.InscriptionStyleStrikeOut,
        .position = s.InscriptionCoordinates,
        .offsetX = s.InsX,
        .offsetY = s.InsY,
    };
}

Inscription ComposeInscription(const InscriptionSettings& s, const LocalTime& now,
                               std::string_view timeSeparator) {
    Inscription inscription;
    inscription.font = {
        .name = s.fontName,
        .sizePoints = ClampInscriptionFontSize(s.fontSize),
        .color = s.fontColor & kColourBits,
        .bold = s.bold,
        .italic = s.italic,
        .underline = s.underline,
        .strikeOut = s.strikeOut,
    };
    if (!s.transparent) inscription.background = s.backgroundColor & kColourBits;

    inscription.text = s.text;
    if (s.dateTimeEnabled) {
        const std::string dateTime = FormatDateTimeRow(s.dateTimeRow, now, timeSeparator);
        // The blank only separates two parts: a row that gives nothing adds nothing.
        if (inscription.text.empty())
            inscription.text = dateTime;
        else if (!dateTime.empty())
            inscription.text += " " + dateTime;
    }
    return inscription;
}

Inscription ComposeInscription(AppSettings& settings, const LocalTime& now, std::string_view timeSeparator) {
    return ComposeInscription(TakeInscriptionSettings(settings), now, timeSeparator);
}

// ---- Date and time --------------------------------------------------------------------

std::string_view DateTimeRowFormat(int32_t row) {
    if (row < 0 || row >= kDateTimeRows) return {};
    return kDateTimeFormats[row];
}

std::string FormatDateTimeRow(int32_t row, const LocalTime& now, std::string_view timeSeparator) {
    return FormatDateTime(DateTimeRowFormat(row), now, timeSeparator);
}

// ---- Position ---------------------------------------------------------------------------

std::optional<TextOrigin> InscriptionOrigin(int32_t position, const InscriptionPlacement& p) {
    if (!IsPosition(position)) return std::nullopt;
    const PositionRow& row = kPositions[position];
    return TextOrigin{Place(row.horizontal, p.imageWidth, p.textWidth, p.offsetX),
                      Place(row.vertical, p.imageHeight, p.textHeight, p.offsetY)};
}

InscriptionOffsetsUsed OffsetsUsedBy(int32_t position) {
    if (!IsPosition(position)) return {};
    const PositionRow& row = kPositions[position];
    return {row.horizontal != Align::Centre, row.vertical != Align::Centre};
}

// ---- The preview's checkerboard ------------------------------------------------------------

Color PreviewCheckerColor(int32_t x, int32_t y) {
    return (x / kCheckerSquareSize + y / kCheckerSquareSize) % 2 == 0 ? kCheckerSilver : kCheckerWhite;
}

std::vector<CheckerSquare> PreviewCheckerSquares(int32_t width, int32_t height) {
    std::vector<CheckerSquare> squares;
    for (int32_t top = 0; top < height; top += kCheckerSquareSize) {
        for (int32_t left = 0; left < width; left += kCheckerSquareSize) {
            const Rect rect{left, top, std::min(left + kCheckerSquareSize, width),
                            std::min(top + kCheckerSquareSize, height)};
            squares.push_back({rect, PreviewCheckerColor(left, top)});
        }
    }
    return squares;
}

}  // namespace kadrilo
