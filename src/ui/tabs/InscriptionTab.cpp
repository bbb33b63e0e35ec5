// The "Inscription" tab. Its controls come with the settings they show.
#include "ui/tabs/SettingsTabs.h"

namespace kadrilo::layout {

std::span<const ControlRow> InscriptionTabControls() { return {}; }

SwatchLook ColourSwatchLook(bool enabled, bool pressed) {
    if (!enabled) return {Bevel::Raised, Bevel::Lowered, 1};
    if (pressed) return {Bevel::None, Bevel::Lowered, 2};
    return {Bevel::Raised, Bevel::None, 2};
}

}  // namespace kadrilo::layout
