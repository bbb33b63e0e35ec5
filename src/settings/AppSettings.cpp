#include "settings/AppSettings.h"

#include <algorithm>
#include <array>
#include <string>

namespace kadrilo {
namespace {

#define KADRILO_FIELD_ROW(type, name, def, lo, hi, control) \
    SettingField{SettingId::name, #name, FieldType::type, &AppSettings::name, lo, hi, Control::control},
constexpr std::array kFields{KADRILO_SETTINGS(KADRILO_FIELD_ROW)};
#undef KADRILO_FIELD_ROW
static_assert(kFields.size() == SettingCount);

template <class... F>
struct Overloaded : F... {
    using F::operator()...;
};
template <class... F>
Overloaded(F...) -> Overloaded<F...>;  // for compilers without deduction from aggregates

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

const SettingField& Field(SettingId id) { return kFields[static_cast<size_t>(id)]; }

int64_t SettingNumber(const AppSettings& s, SettingId id) { return Field(id).Number(s); }

}  // namespace kadrilo
