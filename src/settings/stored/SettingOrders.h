// The orders in which the settings are stored and read back. Each order is
// one list of ids; the checks beside them make sure that none forgets a
// setting or names one twice.
#pragma once

#include <array>
#include <span>

#include "settings/AppSettings.h"

namespace kadrilo {

// Loading from the registry applies the stored values in this order (the
// language is read before everything else, the autostart choice comes from
// the Run entries).
std::span<const SettingId> RegistryLoadOrder();
// A full save writes the values in this order, after "AppVersion".
std::span<const SettingId> RegistryWriteOrder();
// An export writes the keys of the settings file in this order, after "AppVersion".
std::span<const SettingId> ExportOrder();
// An import applies the keys that are present in this order.
std::span<const SettingId> ImportOrder();

}  // namespace kadrilo
