// The settings file: a profile file with one section, "Kadrilo Settings", whose
// keys are the registry's value names. Export writes the current settings into
// it; import applies what it holds as loading from the registry applies the
// stored values.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Ports.h"
#include "settings/AppSettings.h"
#include "settings/ShortcutText.h"

namespace kadrilo {

inline constexpr const char* SettingsFileSection = "Kadrilo Settings";
inline constexpr const char* SettingsFileName = "kadrilio.ini";

// The file an export writes: the chosen name with exactly one ".ini" at its
// end (an extension ".ini" in any case becomes ".ini"; any other stays and
// ".ini" follows it).
std::string ExportFileName(const std::string& chosen);

// A number of the file: decimal with an optional sign, or hexadecimal after
// "0x" or "0X" (eight digits at most, as 32 bits); nothing when the text is
// not such a number or does not fit 32 bits.
std::optional<int32_t> ParseFileNumber(std::string_view text);

// What an export writes for a text so that it reads back as it is: the text
// itself, or the text in double quotes when the reading would take blanks
// around it or quotes that enclose it away. A line break, which the file
// cannot hold, is written as a blank.
std::string FileText(std::string_view text);

// What a number key reads as when its value is not a number.
int64_t FileFallback(SettingId id);

class SettingsFile {
public:
    SettingsFile(ProfilePort& profile, SystemKeyNames keyNames);

    // Writes AppVersion and then every key in the export order into the file,
    // creating it or updating it in place: keys not written this time (an empty
    // shortcut, a choice with nothing selected) keep what the file had. False at
    // the first write that fails; the keys written before it stay.
    bool Export(const std::string& path, const AppSettings& settings);

    // True when the file has the section and the section holds a key.
    bool HoldsSettings(const std::string& path);
    // The file's AppVersion, the current version when it has none or it is not a number.
    int32_t Version(const std::string& path);
    // Applies every key the file holds, in the import order, each as its
    // control takes it; `Left` and `Top` only while `Coordinates` is true at
    // that point. The settings applied, in that order.
    std::vector<SettingId> Import(const std::string& path, AppSettings& settings,
                                  const std::vector<std::string>& fontFamilies);

private:
    ProfilePort& profile_;
    SystemKeyNames keyNames_;
};

}  // namespace kadrilo
