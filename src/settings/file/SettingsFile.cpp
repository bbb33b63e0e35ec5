#include "settings/file/SettingsFile.h"

#include <algorithm>
#include <array>
#include <utility>

#include "settings/stored/SettingOrders.h"
#include "settings/stored/StoredForm.h"

namespace kadrilo {
namespace {

using enum SettingId;

// What a number key reads as when its value is not a number; a boolean's
// fallback is 0 or 1.
constexpr std::pair<SettingId, int32_t> Fallbacks[] = {
    {WorkMode, 0},
    {QualityJPEG, 25},
    {IncludeCursor, 0},
    {CopyImageToClipboard, 0},
    {PriorityChange, 0},
    {Language, 0},
    {PriorityClass, 0},
    {PriorityAutoChange, 1},
    {Coordinates, 0},
    {Left, 0},
    {Top, 0},
    {ConfirmationOnClose, 1},
    {StayOnTop, 0},
    {TrayIconEnabled, 1},
    {FNameFormatAutosave, 2},
    {FNameFormatSerial, 2},
    {NumberAutosave, 0},
    {NumberSerial, 0},
    {GraphFormatAutosave, 1},
    {GraphFormatSerial, 1},
    {RenameAutosave, 1},
    {RenameSerial, 1},
    {ManualSerial, 0},
    {IntervalOfTime, 10},
    {QuantityOfScreenshots, 15},
    {HotKey1Mode, 0},
    {HotKey2Mode, 0},
    {HotKey3Mode, 0},
    {HotKey4Mode, 0},
    {HotKey5Mode, 0},
    {SoundEvent, 0},
    {LastSaveFormat, 0},
    {SoundMode, 0},
    {ExecuteAfterSaving, 0},
    {ExecuteMode, 0},
    {InscriptionEnabled, 0},
    {EnableDateTime, 0},
    {DateTimeFormat, 0},
    {FontSize, 12},
    {InscriptionFontColor, 0},
    {InscriptionBackGroundColor, 0},
    {InscriptionTransporent, 0},
    {InscriptionStyleBold, 0},
    {InscriptionStyleItalic, 0},
    {InscriptionStyleUnderline, 0},
    {InscriptionStyleStrikeOut, 0},
    {InscriptionCoordinates, 3},
    {InsX, 15},
    {InsY, 15},
};

// Every number setting of the file has its fallback, once.
constexpr std::array<FieldType, SettingCount> TypeOf{
#define KADRILO_SETTING_TYPE(type, name, def, lo, hi, control) FieldType::type,
    KADRILO_SETTINGS(KADRILO_SETTING_TYPE)
#undef KADRILO_SETTING_TYPE
};
constexpr bool EveryNumberHasOneFallback() {
    std::array<int, SettingCount> seen{};
    for (const auto& [id, value] : Fallbacks) ++seen[static_cast<size_t>(id)];
    for (size_t i = 0; i < SettingCount; ++i) {
        const bool number = TypeOf[i] != FieldType::Text && TypeOf[i] != FieldType::Shortcut &&
                            static_cast<SettingId>(i) != Autostart;
        if (seen[i] != (number ? 1 : 0)) return false;
    }
    return true;
}
static_assert(EveryNumberHasOneFallback());

constexpr bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

constexpr char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return Lower(x) == Lower(y);
           });
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string ExportFileName(const std::string& chosen) {
    // The extension starts at the last dot of the path's last part.
    const size_t separator = chosen.find_last_of("\\/:");
    const size_t dot = chosen.rfind('.');
    const bool inLastPart = dot != std::string::npos && (separator == std::string::npos || dot > separator);
    std::string name = chosen;
    if (inLastPart && SameName(std::string_view(chosen).substr(dot), ".ini")) name.erase(dot);
    return name + ".ini";
}

std::optional<int32_t> ParseFileNumber(std::string_view text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        uint64_t value = 0;
        for (char c : text.substr(2)) {
            const int digit = HexDigit(c);
            if (digit < 0) return std::nullopt;
            value = value * 16 + static_cast<uint64_t>(digit);
            if (value > UINT32_MAX) return std::nullopt;
        }
        return static_cast<int32_t>(static_cast<uint32_t>(value));
    }
    size_t at = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) at = 1;
    if (at == text.size()) return std::nullopt;
    int64_t value = 0;
    for (; at < text.size(); ++at) {
        if (text[at] < '0' || text[at] > '9') return std::nullopt;
        value = value * 10 + (text[at] - '0');
        if (value > int64_t{INT32_MAX} + 1) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(value);
}

std::string FileText(std::string_view text) {
    std::string value(text);
    std::replace_if(value.begin(), value.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    const bool blankAround = !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()));
    const bool enclosed =
        value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front();
    return blankAround || enclosed ? '"' + value + '"' : value;
}

int64_t FileFallback(SettingId id) {
    for (const auto& [setting, value] : Fallbacks)
        if (setting == id) return value;
    return 0;
}

SettingsFile::SettingsFile(ProfilePort& profile, SystemKeyNames keyNames)
    : profile_(profile), keyNames_(std::move(keyNames)) {}

bool SettingsFile::Export(const std::string& path, const AppSettings& settings) {
    if (!profile_.WriteString(path, SettingsFileSection, "AppVersion", std::to_string(AppVersion))) return false;
    for (SettingId id : ExportOrder()) {
        const SettingField& field = Field(id);
        const std::optional<StoredValue> value = ToStored(field, settings, keyNames_);
        if (!value) continue;
        const std::string text = std::holds_alternative<int64_t>(*value) ? std::to_string(std::get<int64_t>(*value))
                                                                         : FileText(std::get<std::string>(*value));
        if (!profile_.WriteString(path, SettingsFileSection, std::string(field.name), text)) return false;
    }
    return true;
}

bool SettingsFile::HoldsSettings(const std::string& path) {
    return !profile_.KeyNames(path, SettingsFileSection).empty();
}

int32_t SettingsFile::Version(const std::string& path) {
    return ParseFileNumber(profile_.ReadString(path, SettingsFileSection, "AppVersion", "")).value_or(AppVersion);
}

std::vector<SettingId> SettingsFile::Import(const std::string& path, AppSettings& settings,
                                            const std::vector<std::string>& fontFamilies) {
    const std::vector<std::string> keys = profile_.KeyNames(path, SettingsFileSection);
    const StoredContext context{keyNames_, fontFamilies};
    std::vector<SettingId> applied;
    for (SettingId id : ImportOrder()) {
        const SettingField& field = Field(id);
        if (std::none_of(keys.begin(), keys.end(), [&](const std::string& key) { return SameName(key, field.name); }))
            continue;
        // The window's position counts only while the position is to be restored.
        if ((id == Left || id == Top) && !settings.Coordinates) continue;
        const std::string text = profile_.ReadString(path, SettingsFileSection, std::string(field.name), "");
        const StoredValue stored = field.IsNumber() ? StoredValue{int64_t{ParseFileNumber(text).value_or(FileFallback(id))}}
                                                    : StoredValue{text};
        FromStored(field, stored, settings, context);
        applied.push_back(id);
    }
    return applied;
}

}  // namespace kadrilo
