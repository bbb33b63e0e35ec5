#include "settings/AppSettings.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>

namespace kadrilo {
namespace {

#define KADRILO_FIELD_ROW(type, name, def, lo, hi, control) \
    SettingField{#name, FieldType::type, &AppSettings::name, lo, hi, Control::control},
constexpr std::array kFields{KADRILO_SETTINGS(KADRILO_FIELD_ROW)};
#undef KADRILO_FIELD_ROW

template <class... F>
struct Overloaded : F... {
    using F::operator()...;
};

}  // namespace

int64_t SettingField::Number(const AppSettings& s) const {
    return std::visit(Overloaded{
                          [&](int32_t AppSettings::*m) -> int64_t { return s.*m; },
                          [&](bool AppSettings::*m) -> int64_t { return (s.*m) ? 1 : 0; },
                          [&](Color AppSettings::*m) -> int64_t { return s.*m; },
                          [&](std::string AppSettings::*) -> int64_t { return 0; },
                          [&](Shortcut AppSettings::*m) -> int64_t { return (s.*m).value; },
                      },
                      member);
}

void SettingField::SetNumber(AppSettings& s, int64_t value) const {
    std::visit(Overloaded{
                   [&](int32_t AppSettings::*m) { s.*m = static_cast<int32_t>(value); },
                   [&](bool AppSettings::*m) { s.*m = value != 0; },
                   [&](Color AppSettings::*m) { s.*m = static_cast<Color>(value); },
                   [&](std::string AppSettings::*) {},
                   [&](Shortcut AppSettings::*m) { (s.*m).value = static_cast<uint16_t>(value); },
               },
               member);
}

int64_t SettingField::Clamp(int64_t value) const { return std::clamp(value, min, max); }

std::span<const SettingField> SettingFields() { return kFields; }

const SettingField* FindSettingField(std::string_view name) {
    for (const SettingField& f : kFields)
        if (f.name == name) return &f;
    return nullptr;
}

const SettingField& Field(std::string_view name) {
    const SettingField* field = FindSettingField(name);
    if (!field) throw std::logic_error("no setting named " + std::string(name));
    return *field;
}

}  // namespace kadrilo
