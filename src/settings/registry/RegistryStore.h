// The settings under the program's registry key: the version check, loading
// the stored values in their order, the full save and the short save of the
// three counters.
#pragma once

#include <optional>

#include "platform/Ports.h"
#include "settings/AppSettings.h"
#include "settings/ShortcutText.h"

namespace kadrilo {

// What the stored settings are, as loading at start-up sees them.
enum class StoredVersion {
    Current,
    Missing,  // the key has no AppVersion number: not this program's settings
    Older,
    Newer,
};

class RegistryStore {
public:
    RegistryStore(RegistryPort& registry, SystemKeyNames keyNames);

    bool KeyExists();
    // The stored number of a setting, when the value exists and holds a number.
    std::optional<int64_t> StoredNumber(SettingId id);
    StoredVersion CheckVersion();
    // Applies every stored value in the load order, each as its control takes it;
    // values that are missing or of the wrong type leave their field unchanged.
    void ApplyStoredValues(AppSettings& settings, FontPort& fonts);
    // Writes AppVersion and every value in the write order; false when the key
    // could not be opened.
    bool WriteAll(const AppSettings& settings);
    // The short save of a command-line run: WorkMode, NumberAutosave and
    // NumberSerial. A key made here gets every value, so that the next start
    // reads it as this version's settings and the numbering goes on.
    void SaveCounters(const AppSettings& settings);

private:
    void WriteValues(const AppSettings& settings);

    RegistryPort& registry_;
    SystemKeyNames keyNames_;
};

}  // namespace kadrilo
