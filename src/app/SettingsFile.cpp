// The settings file: export and import through the "Main" tab's two buttons.
#include <algorithm>

#include "app/AppMainForm.h"

namespace kadrilo {

void TAppMainForm::BitBtn3Click() {
    const std::optional<std::string> chosen = ports_.dialogs.SaveFileDialog(SettingsFileName, LoadStrEx(851));
    if (!chosen) return;
    const std::string path = ExportFileName(*chosen);
    AppSettings exported = Settings;
    const Rect window = ports_.windows.MainWindowRect();
    exported.Left = window.left;
    exported.Top = window.top;
    if (!settingsFile_.Export(path, exported)) SaveError(path);
}

void TAppMainForm::BitBtn4Click() {
    const std::optional<std::string> chosen = ports_.dialogs.OpenFileDialog(LoadStrEx(851));
    if (!chosen) return;
    ImportSettingsFile(*chosen);
    // Whatever the file held, an imported language shows at once.
    TranslateProgramInterface();
}

void TAppMainForm::ImportSettingsFile(const std::string& path) {
    if (!ports_.files.FileExists(path)) return;
    if (!settingsFile_.HoldsSettings(path)) {
        ShowMessage(LoadStrEx(831), MessageFlags::Ok | MessageFlags::IconStop);
        return;
    }
    if (const int32_t version = settingsFile_.Version(path); version != AppVersion) {
        const int question = version > AppVersion ? 832 : 833;
        if (ShowMessage(LoadStrEx(question), MessageFlags::YesNo | MessageFlags::IconExclamation) != MessageAnswer::Yes)
            return;
    }
    const AppSettings before = Settings;
    const std::vector<SettingId> applied = settingsFile_.Import(path, Settings, ports_.fonts.InstalledFontFamilies());
    // The imported values reach the registry when the settings window closes.
    SettingsSaved = false;
    ImportReactions(before, applied);
}

// What the user's own changes of the imported values would have set off.
void TAppMainForm::ImportReactions(const AppSettings& before, const std::vector<SettingId>& applied) {
    // A language the program does not have falls back to the system's, as at loading.
    ApplyStoredLanguage(Settings.Language);

    const auto wasApplied = [&](SettingId id) { return std::find(applied.begin(), applied.end(), id) != applied.end(); };
    if (wasApplied(SettingId::Left) || wasApplied(SettingId::Top)) {
        const Rect window = ports_.windows.MainWindowRect();
        ports_.windows.MoveMainWindow(wasApplied(SettingId::Left) ? Settings.Left : window.left,
                                      wasApplied(SettingId::Top) ? Settings.Top : window.top);
    }
    if (Settings.WorkMode != before.WorkMode) RadioGroup1Click();
    if (Settings.TrayIconEnabled != before.TrayIconEnabled) TrayOptionClick(Settings.TrayIconEnabled);
    ApplySlot4TrayRule();
    // Every hotkey is registered again, once: a change of the window's style does it itself.
    if (Settings.StayOnTop != before.StayOnTop) {
        CheckFormStyle();
    } else {
        RegHotKeys(false);
        RegHotKeys(true);
    }
}

}  // namespace kadrilo
