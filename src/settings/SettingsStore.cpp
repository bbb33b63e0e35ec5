#include "settings/SettingsStore.h"

#include "capture/FontRule.h"

namespace kadrilo {
namespace {

constexpr std::string_view StoredValues[] = {
    "WorkMode", "TrayIconEnabled", "QualityJPEG", "IncludeCursor", "CopyImageToClipboard", "PriorityChange",
    "PriorityClass", "PriorityAutoChange", "Language", "Coordinates", "Left", "Top", "ConfirmationOnClose",
    "StayOnTop", "FNameFormatAutosave", "FNameFormatSerial", "DirAutosave", "DirSaveSerial", "NameAutosave",
    "NameSerial", "NumberAutosave", "NumberSerial", "GraphFormatAutosave", "GraphFormatSerial", "RenameAutosave",
    "RenameSerial", "ManualSerial", "IntervalOfTime", "QuantityOfScreenshots", "HotKey1Mode", "HotKey2Mode",
    "HotKey3Mode", "HotKey4Mode", "HotKey5Mode", "UserHotKey1", "UserHotKey2", "UserHotKey3", "UserHotKey4",
    "UserHotKey5", "SoundEvent", "LastSaveFormat", "LastSavePath", "AudioFilePath", "SoundMode",
    "ExecuteAfterSaving", "ExecuteMode", "FontName", "InscriptionEnabled", "EnableDateTime", "DateTimeFormat",
    "InscriptionText", "FontSize", "InscriptionFontColor", "InscriptionBackGroundColor", "InscriptionTransporent",
    "InscriptionStyleBold", "InscriptionStyleItalic", "InscriptionStyleUnderline", "InscriptionStyleStrikeOut",
    "InscriptionCoordinates", "InsX", "InsY"};

}  // namespace

std::span<const std::string_view> StoredValueNames() {
    return StoredValues;
}

void DeleteOldSettings(RegistryPort& registry, bool isAdmin) {
    const std::string settingsKey = std::string(SoftwareKey) + "\\" + SettingsKeyName;
    if (registry.KeyExists(RegistryRoot::CurrentUser, SoftwareKey) &&
        registry.KeyExists(RegistryRoot::CurrentUser, settingsKey))
        registry.DeleteKeyTree(RegistryRoot::CurrentUser, settingsKey);
    if (isAdmin && registry.KeyExists(RegistryRoot::LocalMachine, RunKey))
        registry.DeleteValue(RegistryRoot::LocalMachine, RunKey, RunValueName);
    if (registry.KeyExists(RegistryRoot::CurrentUser, RunKey))
        registry.DeleteValue(RegistryRoot::CurrentUser, RunKey, RunValueName);
}

void SetDefaultSettings(AppSettings& settings, SystemPort& system, FileSystemPort& files,
                        FontPort& fonts) {
    std::string soundFile;
    if (std::optional<std::string> windows = system.WindowsDirectory()) {
        std::string candidate = *windows;
        if (!candidate.empty() && candidate.back() == '\\') candidate.pop_back();
        candidate += "\\Media\\chimes.wav";
        if (files.FileExists(candidate)) soundFile = candidate;
    }
    settings.AudioFilePath = soundFile;
    if (!soundFile.empty()) {
        settings.SoundEvent = true;
        settings.SoundMode = 1;
    }
    settings.TrayIconEnabled = true;
    settings.FontName = CheckFontExists(fonts.InstalledFontFamilies(), "Arial");
}

std::optional<int64_t> ReadStoredNumber(RegistryPort& registry, const std::string& name) {
    std::optional<RegistryValue> value = registry.ReadValue(RegistryRoot::CurrentUser, SettingsKey, name);
    if (!value || value->kind != RegistryValue::Kind::Dword) return std::nullopt;
    return static_cast<int32_t>(value->dword);
}

}  // namespace kadrilo
