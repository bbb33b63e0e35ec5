#include "settings/stored/SettingOrders.h"

namespace kadrilo {
namespace {

using enum SettingId;

constexpr std::array WriteOrder{
    WorkMode, TrayIconEnabled, QualityJPEG, IncludeCursor, CopyImageToClipboard, PriorityChange, PriorityClass,
    PriorityAutoChange, Language, Coordinates, Left, Top, ConfirmationOnClose, StayOnTop, FNameFormatAutosave,
    FNameFormatSerial, DirAutosave, DirSaveSerial, NameAutosave, NameSerial, NumberAutosave, NumberSerial,
    GraphFormatAutosave, GraphFormatSerial, RenameAutosave, RenameSerial, ManualSerial, IntervalOfTime,
    QuantityOfScreenshots, HotKey1Mode, HotKey2Mode, HotKey3Mode, HotKey4Mode, HotKey5Mode, UserHotKey1,
    UserHotKey2, UserHotKey3, UserHotKey4, UserHotKey5, SoundEvent, LastSaveFormat, LastSavePath, AudioFilePath,
    SoundMode, ExecuteAfterSaving, ExecuteMode, FontName, InscriptionEnabled, EnableDateTime, DateTimeFormat,
    InscriptionText, FontSize, InscriptionFontColor, InscriptionBackGroundColor, InscriptionTransporent,
    InscriptionStyleBold, InscriptionStyleItalic, InscriptionStyleUnderline, InscriptionStyleStrikeOut,
    InscriptionCoordinates, InsX, InsY};

// The keys of the file are the registry's values, in the same order.
constexpr const auto& FileExportOrder = WriteOrder;

// An import reads the language with the other keys, after PriorityChange.
constexpr std::array FileImportOrder{
    WorkMode, QualityJPEG, IncludeCursor, CopyImageToClipboard, PriorityChange, Language, PriorityClass,
    PriorityAutoChange, Coordinates, Left, Top, ConfirmationOnClose, StayOnTop, TrayIconEnabled,
    FNameFormatAutosave, FNameFormatSerial, DirAutosave, DirSaveSerial, NameAutosave, NameSerial, NumberAutosave,
    NumberSerial, GraphFormatAutosave, GraphFormatSerial, RenameAutosave, RenameSerial, ManualSerial,
    IntervalOfTime, QuantityOfScreenshots, HotKey1Mode, HotKey2Mode, HotKey3Mode, HotKey4Mode, HotKey5Mode,
    UserHotKey1, UserHotKey2, UserHotKey3, UserHotKey4, UserHotKey5, SoundEvent, LastSaveFormat, LastSavePath,
    AudioFilePath, SoundMode, ExecuteAfterSaving, ExecuteMode, FontName, InscriptionEnabled, EnableDateTime,
    DateTimeFormat, InscriptionText, FontSize, InscriptionFontColor, InscriptionBackGroundColor,
    InscriptionTransporent, InscriptionStyleBold, InscriptionStyleItalic, InscriptionStyleUnderline,
    InscriptionStyleStrikeOut, InscriptionCoordinates, InsX, InsY};

// Loading from the registry applies the same order without the language, which
// it has read first.
constexpr auto LoadOrder = [] {
    std::array<SettingId, FileImportOrder.size() - 1> order{};
    size_t n = 0;
    for (SettingId id : FileImportOrder)
        if (id != Language) order[n++] = id;
    return order;
}();

// True when the order names every setting exactly once, but for the ones left out.
template <size_t N, size_t M>
constexpr bool NamesEveryOtherSettingOnce(const std::array<SettingId, N>& order,
                                          const std::array<SettingId, M>& leftOut) {
    std::array<int, SettingCount> seen{};
    for (SettingId id : order) ++seen[static_cast<size_t>(id)];
    for (SettingId id : leftOut) seen[static_cast<size_t>(id)] += 2;
    for (int count : seen)
        if (count != 1 && count != 2) return false;
    return N + M == SettingCount;
}

// The autostart choice lives in the Run entries only.
static_assert(NamesEveryOtherSettingOnce(WriteOrder, std::array{Autostart}));
static_assert(NamesEveryOtherSettingOnce(FileExportOrder, std::array{Autostart}));
static_assert(NamesEveryOtherSettingOnce(FileImportOrder, std::array{Autostart}));
static_assert(NamesEveryOtherSettingOnce(LoadOrder, std::array{Autostart, Language}));

}  // namespace

std::span<const SettingId> RegistryLoadOrder() { return LoadOrder; }
std::span<const SettingId> RegistryWriteOrder() { return WriteOrder; }
std::span<const SettingId> ExportOrder() { return FileExportOrder; }
std::span<const SettingId> ImportOrder() { return FileImportOrder; }

}  // namespace kadrilo
