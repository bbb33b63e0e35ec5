#include "settings/registry/RegistryStore.h"

#include "settings/SettingsStore.h"
#include "settings/stored/SettingOrders.h"
#include "settings/stored/StoredForm.h"

namespace kadrilo {
namespace {

constexpr RegistryRoot User = RegistryRoot::CurrentUser;

std::optional<StoredValue> AsStored(const std::optional<RegistryValue>& value) {
    if (!value) return std::nullopt;
    switch (value->kind) {
        case RegistryValue::Kind::Dword: return StoredValue{int64_t{static_cast<int32_t>(value->dword)}};
        case RegistryValue::Kind::String: return StoredValue{value->text};
        default: return std::nullopt;
    }
}

RegistryValue AsRegistryValue(const StoredValue& value) {
    if (const int64_t* number = std::get_if<int64_t>(&value)) return RegistryValue::Number(static_cast<uint32_t>(*number));
    return RegistryValue::Text(std::get<std::string>(value));
}

std::string Name(SettingId id) { return std::string(Field(id).name); }

}  // namespace

RegistryStore::RegistryStore(RegistryPort& registry, SystemKeyNames keyNames)
    : registry_(registry), keyNames_(std::move(keyNames)) {}

bool RegistryStore::KeyExists() { return registry_.KeyExists(User, SettingsKey); }

std::optional<int64_t> RegistryStore::StoredNumber(SettingId id) {
    const std::optional<StoredValue> value = AsStored(registry_.ReadValue(User, SettingsKey, Name(id)));
    if (!value || !std::holds_alternative<int64_t>(*value)) return std::nullopt;
    return std::get<int64_t>(*value);
}

StoredVersion RegistryStore::CheckVersion() {
    const std::optional<StoredValue> version = AsStored(registry_.ReadValue(User, SettingsKey, "AppVersion"));
    if (!version || !std::holds_alternative<int64_t>(*version)) return StoredVersion::Missing;
    const int64_t number = std::get<int64_t>(*version);
    if (number == AppVersion) return StoredVersion::Current;
    return number < AppVersion ? StoredVersion::Older : StoredVersion::Newer;
}

void RegistryStore::ApplyStoredValues(AppSettings& settings, FontPort& fonts) {
    const std::vector<std::string> families = fonts.InstalledFontFamilies();
    const StoredContext context{keyNames_, families};
    for (SettingId id : RegistryLoadOrder()) {
        const std::optional<StoredValue> stored = AsStored(registry_.ReadValue(User, SettingsKey, Name(id)));
        if (stored) FromStored(Field(id), *stored, settings, context);
    }
}

bool RegistryStore::WriteAll(const AppSettings& settings) {
    if (!registry_.CreateKey(User, SettingsKey)) return false;
    WriteValues(settings);
    return true;
}

void RegistryStore::WriteValues(const AppSettings& settings) {
    registry_.WriteValue(User, SettingsKey, "AppVersion", RegistryValue::Number(AppVersion));
    for (SettingId id : RegistryWriteOrder())
        if (const std::optional<StoredValue> value = ToStored(Field(id), settings, keyNames_))
            registry_.WriteValue(User, SettingsKey, Name(id), AsRegistryValue(*value));
}

void RegistryStore::SaveCounters(const AppSettings& settings) {
    const bool existed = KeyExists();
    if (!registry_.CreateKey(User, SettingsKey)) return;
    if (!existed) {
        WriteValues(settings);
        return;
    }
    for (SettingId id : {SettingId::WorkMode, SettingId::NumberAutosave, SettingId::NumberSerial})
        registry_.WriteValue(User, SettingsKey, Name(id), AsRegistryValue(*ToStored(Field(id), settings, keyNames_)));
}

}  // namespace kadrilo
