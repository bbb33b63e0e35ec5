// Registry values of every type and size through loading: the input is a list
// of values (a setting's name, or AppVersion, a kind, then a number or a text
// of any length and bytes), seeded under the settings key and loaded.
#include <cstddef>
#include <cstdint>
#include <string>

#include "Checks.h"
#include "fakes/Fakes.h"
#include "settings/SettingsStore.h"
#include "settings/registry/RegistryStore.h"

using namespace kadrilo;

namespace {

class Input {
public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool Empty() const { return at_ >= size_; }
    uint8_t Byte() { return Empty() ? 0 : data_[at_++]; }
    uint32_t Number() {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i) value = value << 8 | Byte();
        return value;
    }
    std::string Text() {
        size_t length = Byte();
        if (length == 0xFF) length = size_t{Byte()} << 8 | Byte();  // long texts too
        std::string text;
        while (text.size() < length && !Empty()) text.push_back(static_cast<char>(Byte()));
        return text;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input input(data, size);
    testing::FakeRegistry registry;
    const auto fields = SettingFields();
    while (!input.Empty()) {
        const uint8_t which = input.Byte();
        const std::string name = which % (fields.size() + 1) == fields.size()
                                     ? std::string("AppVersion")
                                     : std::string(fields[which % (fields.size() + 1)].name);
        RegistryValue value;
        switch (input.Byte() % 3) {
            case 0: value = RegistryValue::Number(input.Number()); break;
            case 1: value = RegistryValue::Text(input.Text()); break;
            default: value.kind = RegistryValue::Kind::Other; break;
        }
        registry.Set(RegistryRoot::CurrentUser, SettingsKey, name, value);
    }

    RegistryStore store(registry, fuzz::NoKeyName);
    testing::FakeFonts fonts;
    AppSettings settings;
    (void)store.CheckVersion();
    (void)store.StoredNumber(SettingId::Language);
    store.ApplyStoredValues(settings, fonts);
    fuzz::RequireShowableSettings(settings);
    return 0;
}
