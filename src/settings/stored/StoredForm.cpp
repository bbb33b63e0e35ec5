#include "settings/stored/StoredForm.h"

#include <algorithm>

#include "settings/FontRule.h"

namespace kadrilo {
namespace {

// The value a stored number gives the field, as its control takes it; nothing
// when the control keeps its current choice.
std::optional<int64_t> NumberAsShown(const SettingField& field, int64_t stored) {
    switch (field.control) {
        case Control::RadioGroup:
            return stored < 0 ? -1 : std::min(stored, field.max);
        case Control::ComboBox:
            return stored < field.min || stored > field.max ? -1 : stored;
        case Control::RadioChoice:
            if (stored < 0 || stored > 2) return std::nullopt;
            return stored;
        case Control::SpinEdit:
        case Control::TrackBar:
        case Control::PositionList:
            return field.Clamp(stored);
        case Control::CheckBox:
        case Control::RadioPair:
            return stored != 0 ? 1 : 0;
        case Control::ColourSwatch:
            return stored & 0xFFFFFF;
        default:
            return stored;
    }
}

}  // namespace

std::optional<StoredValue> ToStored(const SettingField& field, const AppSettings& settings,
                                    const SystemKeyNames& keyNames) {
    switch (field.type) {
        case FieldType::Text:
            return field.Text(settings);
        case FieldType::Shortcut: {
            std::string text = ShortcutText(field.Key(settings), keyNames);
            if (text.empty()) return std::nullopt;
            return text;
        }
        default:
            if (field.control == Control::RadioChoice && field.Number(settings) < 0) return std::nullopt;
            return field.Number(settings);
    }
}

bool FromStored(const SettingField& field, const StoredValue& stored, AppSettings& settings,
                const StoredContext& context) {
    if (field.type == FieldType::Text || field.type == FieldType::Shortcut) {
        const std::string* text = std::get_if<std::string>(&stored);
        if (!text) return false;
        if (field.type == FieldType::Shortcut)
            field.Key(settings) = TextToShortcut(*text, context.keyNames);
        else if (field.control == Control::FontList)
            field.Text(settings) = CheckFontExists(context.fontFamilies, *text);
        else
            field.Text(settings) = *text;
        return true;
    }
    const int64_t* number = std::get_if<int64_t>(&stored);
    if (!number) return false;
    if (std::optional<int64_t> value = NumberAsShown(field, *number)) field.SetNumber(settings, *value);
    return true;
}

}  // namespace kadrilo
