// A settings file's text through import: the section test, the version, every
// key's value as the file number rule and the stored form read it; and a text
// value written by an export reads back as it was.
#include <cstddef>
#include <cstdint>
#include <string>

#include "Checks.h"
#include "fakes/Fakes.h"
#include "settings/file/SettingsFile.h"

using namespace kadrilo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    constexpr const char* path = "C:\\fuzz.ini";

    testing::FakeProfile profile;
    profile.SetFile(path, text);
    SettingsFile file(profile, fuzz::NoKeyName);
    AppSettings settings;
    if (file.HoldsSettings(path)) {
        (void)file.Version(path);
        file.Import(path, settings, {"Arial", "Courier New"});
    }
    fuzz::RequireShowableSettings(settings);

    // The number rule: what it reads, it reads again from its decimal text.
    if (const std::optional<int32_t> number = ParseFileNumber(text))
        fuzz::Require(ParseFileNumber(std::to_string(*number)) == number);

    // A text without line breaks that fits comes back exactly.
    if (text.find_first_of("\r\n") == std::string::npos && text.size() <= ProfilePort::ValueLimit / 4) {
        profile.WriteString(path, SettingsFileSection, "InscriptionText", FileText(text));
        fuzz::Require(profile.ReadString(path, SettingsFileSection, "InscriptionText", "") == text);
    }
    return 0;
}
