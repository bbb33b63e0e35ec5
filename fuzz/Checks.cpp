#include "Checks.h"

namespace kadrilo::fuzz {

void RequireShowableSettings(const AppSettings& settings) {
    for (const SettingField& field : SettingFields()) {
        if (!field.IsNumber()) continue;
        const int64_t value = field.Number(settings);
        switch (field.control) {
            case Control::ComboBox:
            case Control::RadioGroup:
                Require(value == -1 || (value >= field.min && value <= field.max));
                break;
            case Control::SpinEdit:
            case Control::TrackBar:
            case Control::CheckBox:
            case Control::RadioPair:
            case Control::ColourSwatch:
            case Control::RadioChoice:
                Require(value >= field.min && value <= field.max);
                break;
            default:
                break;
        }
    }
}

std::string NoKeyName(uint8_t) { return {}; }

}  // namespace kadrilo::fuzz
