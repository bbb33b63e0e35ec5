// The settings in the registry: loading at start-up with the version check,
// the full save with the autostart entries, and the short save of a
// command-line run.
#include <algorithm>

#include "app/AppMainForm.h"
#include "capture/FontRule.h"
#include "settings/SettingsStore.h"
#include "settings/ShortcutText.h"
#include "ui/Strings.h"

namespace kadrilo {
namespace {

// The order in which stored values are applied.
constexpr std::string_view LoadOrder[] = {
    "WorkMode", "QualityJPEG", "IncludeCursor", "CopyImageToClipboard", "PriorityChange", "PriorityClass",
    "PriorityAutoChange", "Coordinates", "Left", "Top", "ConfirmationOnClose", "StayOnTop", "TrayIconEnabled",
    "FNameFormatAutosave", "FNameFormatSerial", "DirAutosave", "DirSaveSerial", "NameAutosave", "NameSerial",
    "NumberAutosave", "NumberSerial", "GraphFormatAutosave", "GraphFormatSerial", "RenameAutosave",
    "RenameSerial", "ManualSerial", "IntervalOfTime", "QuantityOfScreenshots", "HotKey1Mode", "HotKey2Mode",
    "HotKey3Mode", "HotKey4Mode", "HotKey5Mode", "UserHotKey1", "UserHotKey2", "UserHotKey3", "UserHotKey4",
    "UserHotKey5", "SoundEvent", "LastSaveFormat", "LastSavePath", "AudioFilePath", "SoundMode",
    "ExecuteAfterSaving", "ExecuteMode", "FontName", "InscriptionEnabled", "EnableDateTime", "DateTimeFormat",
    "InscriptionText", "FontSize", "InscriptionFontColor", "InscriptionBackGroundColor", "InscriptionTransporent",
    "InscriptionStyleBold", "InscriptionStyleItalic", "InscriptionStyleUnderline", "InscriptionStyleStrikeOut",
    "InscriptionCoordinates", "InsX", "InsY"};

// The value a stored number gives the field, as its control takes it; nothing
// when the control keeps its current choice.
std::optional<int64_t> NumberAsShown(const SettingField& field, int64_t stored) {
    switch (field.control) {
        case Control::RadioGroup:
            return stored < 0 ? -1 : std::min(stored, field.max);
        case Control::ComboBox:
            return stored < field.min || stored > field.max ? -1 : stored;
        case Control::RadioChoice:
            if (stored < 0 || stored > 2) return std::nullopt;
            return stored;
        case Control::SpinEdit:
        case Control::TrackBar:
            return field.Clamp(stored);
        case Control::CheckBox:
        case Control::RadioPair:
            return stored != 0 ? 1 : 0;
        case Control::ColourSwatch:
            return stored & 0xFFFFFF;
        default:
            return stored;
    }
}

}  // namespace

void TAppMainForm::LoadSettings() {
    RegistryPort& registry = ports_.registry;
    if (!registry.KeyExists(RegistryRoot::CurrentUser, SettingsKey)) {
        CheckSystemLanguage();
        CheckRunning();
        RemoveSettings(false);
        SetDefaultSettings(Settings, ports_.system, ports_.files, ports_.fonts);
        ReadAutostartState();
        return;
    }

    if (std::optional<int64_t> language = ReadStoredNumber(registry, "Language"))
        ApplyStoredLanguage(*language);
    CheckRunning();

    if (RemoveSettings(true)) return;

    bool deleteStored = false;
    const std::optional<int64_t> version = ReadStoredNumber(registry, "AppVersion");
    if (!version) {
        deleteStored = true;
    } else if (*version != AppVersion) {
        const int message = *version < AppVersion ? 830 : 829;
        deleteStored = ShowMessage(LoadStrEx(message), MessageFlags::YesNo | MessageFlags::IconExclamation) ==
                       MessageAnswer::Yes;
    }

    if (!deleteStored) {
        ApplyStoredValues();
        ReadAutostartState();
        return;
    }
    DeleteOldSettings(registry, IsAdmin);
    CheckSystemLanguage();
    SetDefaultSettings(Settings, ports_.system, ports_.files, ports_.fonts);
}

void TAppMainForm::ApplyStoredLanguage(int64_t language) {
    // A language the program does not have (an edited registry) falls back to
    // the system's, so that every text can still be read.
    if (language == Russian || language == English)
        Settings.Language = static_cast<int32_t>(language);
    else
        CheckSystemLanguage();
}

void TAppMainForm::ApplyStoredValues() {
    const SystemKeyNames keyNames = [this](uint8_t key) { return ports_.hotkeys.KeyName(key); };
    auto apply = [&](std::string_view name) {
        const SettingField& field = Field(name);
        const std::optional<RegistryValue> stored =
            ports_.registry.ReadValue(RegistryRoot::CurrentUser, SettingsKey, std::string(name));
        if (!stored) return;
        // A value of the wrong type (a hand-edited registry) is skipped.
        if (field.type == FieldType::Text) {
            if (stored->kind != RegistryValue::Kind::String) return;
            std::string AppSettings::*member = std::get<std::string AppSettings::*>(field.member);
            Settings.*member = field.control == Control::FontList
                                   ? CheckFontExists(ports_.fonts.InstalledFontFamilies(), stored->text)
                                   : stored->text;
            return;
        }
        if (field.type == FieldType::Shortcut) {
            if (stored->kind != RegistryValue::Kind::String) return;
            const Shortcut shortcut = TextToShortcut(stored->text, keyNames);
            field.SetNumber(Settings, shortcut.value);
            return;
        }
        if (stored->kind != RegistryValue::Kind::Dword) return;
        if (std::optional<int64_t> value = NumberAsShown(field, static_cast<int32_t>(stored->dword)))
            field.SetNumber(Settings, *value);
    };
    for (std::string_view name : LoadOrder) apply(name);

    if (Settings.Coordinates) ports_.windows.MoveMainWindow(Settings.Left, Settings.Top);
}

void TAppMainForm::ReadAutostartState() {
    RegistryPort& registry = ports_.registry;
    if (registry.ReadValue(RegistryRoot::CurrentUser, RunKey, RunValueName)) Settings.Autostart = 2;
    if (registry.ReadValue(RegistryRoot::LocalMachine, RunKey, RunValueName)) Settings.Autostart = 1;
}

void TAppMainForm::SaveSettings() {
    if (SettingsSaved) return;
    ports_.form.SelectSettingsTab(SettingsTabMain);
    RegistryPort& registry = ports_.registry;
    if (registry.CreateKey(RegistryRoot::CurrentUser, SettingsKey)) {
        const Rect window = ports_.windows.MainWindowRect();
        Settings.Left = window.left;
        Settings.Top = window.top;
        WriteSettingsValues();
    }
    if (IsAdmin) ReconcileRunEntry(RegistryRoot::LocalMachine, 1);
    ReconcileRunEntry(RegistryRoot::CurrentUser, 2);
    SettingsSaved = true;
}

// Makes one Run key agree with the autostart choice: the entry exists, holding
// the executable's path, exactly when the choice is this key's.
void TAppMainForm::ReconcileRunEntry(RegistryRoot root, int32_t target) {
    RegistryPort& registry = ports_.registry;
    if (!registry.CreateKey(root, RunKey)) return;  // a Run key that can't be opened is skipped
    const std::string& executable = args_.at(0);
    const std::optional<RegistryValue> entry = registry.ReadValue(root, RunKey, RunValueName);
    if (entry) {
        if (Settings.Autostart != target) {
            registry.DeleteValue(root, RunKey, RunValueName);
            return;
        }
        if (entry->kind == RegistryValue::Kind::String && entry->text == executable) return;
        registry.DeleteValue(root, RunKey, RunValueName);
        registry.WriteValue(root, RunKey, RunValueName, RegistryValue::Text(executable));
    } else if (Settings.Autostart == target) {
        registry.WriteValue(root, RunKey, RunValueName, RegistryValue::Text(executable));
    }
}

void TAppMainForm::SaveCounters() {
    RegistryPort& registry = ports_.registry;
    const bool existed = registry.KeyExists(RegistryRoot::CurrentUser, SettingsKey);
    if (!registry.CreateKey(RegistryRoot::CurrentUser, SettingsKey)) return;
    // A key made here holds every value, so that the next start reads it as
    // this version's settings and the numbering goes on from here.
    if (!existed) {
        WriteSettingsValues();
        return;
    }
    for (std::string_view name : {"WorkMode", "NumberAutosave", "NumberSerial"})
        registry.WriteValue(RegistryRoot::CurrentUser, SettingsKey, std::string(name),
                            RegistryValue::Number(static_cast<uint32_t>(Field(name).Number(Settings))));
}

void TAppMainForm::WriteSettingsValues() {
    RegistryPort& registry = ports_.registry;
    const SystemKeyNames keyNames = [this](uint8_t key) { return ports_.hotkeys.KeyName(key); };
    auto write = [&](std::string_view name, const RegistryValue& value) {
        registry.WriteValue(RegistryRoot::CurrentUser, SettingsKey, std::string(name), value);
    };
    write("AppVersion", RegistryValue::Number(AppVersion));
    for (std::string_view name : StoredValueNames()) {
        const SettingField& field = Field(name);
        if (field.type == FieldType::Text) {
            write(name, RegistryValue::Text(Settings.*std::get<std::string AppSettings::*>(field.member)));
        } else if (field.type == FieldType::Shortcut) {
            // Written only when there is a shortcut: clearing one keeps the stored text.
            const std::string text = ShortcutText(Settings.*std::get<Shortcut AppSettings::*>(field.member), keyNames);
            if (!text.empty()) write(name, RegistryValue::Text(text));
        } else if (field.control == Control::RadioChoice && field.Number(Settings) < 0) {
            continue;  // none of the choices is selected
        } else {
            write(name, RegistryValue::Number(static_cast<uint32_t>(field.Number(Settings))));
        }
    }
}

}  // namespace kadrilo
