#include "settings/SettingsStore.h"

#include "settings/FontRule.h"

namespace kadrilo {
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

}  // namespace kadrilo
