// Where the settings live in the registry, and the routines that touch the
// stored settings as a whole.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/Ports.h"
#include "settings/AppSettings.h"

namespace kadrilo {

inline constexpr const char* SettingsKey = "Software\\Kadrilo";
inline constexpr const char* SoftwareKey = "Software";
inline constexpr const char* SettingsKeyName = "Kadrilo";
inline constexpr const char* RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* RunValueName = "Kadrilo";

// Removes the settings key with everything below it and the autostart entries
// (the all-users one only for an administrator).
void DeleteOldSettings(RegistryPort& registry, bool isAdmin);

// Completes the built-in defaults on a first start and after the stored
// settings were deleted: the default sound file, the tray icon, the font.
void SetDefaultSettings(AppSettings& settings, SystemPort& system, FileSystemPort& files,
                        FontPort& fonts);


}  // namespace kadrilo
