// The stored form of a setting: what the registry and the settings file hold
// for it, and how a stored value is applied back. Both stores use this one pair.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "settings/AppSettings.h"
#include "settings/ShortcutText.h"

namespace kadrilo {

// A number (booleans as 0 and 1, list choices as 0-based indexes, colours as
// 0x00BBGGRR) or a text (texts as they are, shortcuts as their shortcut text).
using StoredValue = std::variant<int64_t, std::string>;

// What the field is stored as; nothing when it is not written at all: a
// shortcut that is empty (the stored text of an earlier one stays) or a
// three-way choice with none of its choices selected.
std::optional<StoredValue> ToStored(const SettingField& field, const AppSettings& settings,
                                    const SystemKeyNames& keyNames);

// What applying a stored value needs besides the value.
struct StoredContext {
    const SystemKeyNames& keyNames;
    // The installed font families, for the font rule.
    const std::vector<std::string>& fontFamilies;
};

// Applies a stored value as the field's control takes it: a spin field or the
// track bar clamps, a list shows no selection for an index it does not have, a
// three-way choice ignores a value it does not have, a check box takes any
// value but 0 as checked, a colour keeps its 24 bits, a font name goes through
// the font rule, a shortcut text is read back. A value of the wrong kind (a
// text for a number, or the reverse) is skipped: false.
bool FromStored(const SettingField& field, const StoredValue& stored, AppSettings& settings,
                const StoredContext& context);

}  // namespace kadrilo
