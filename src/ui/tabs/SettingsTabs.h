// The layout table of each settings tab, one file per tab.
#pragma once

#include <span>

#include "ui/MainWindowLayout.h"

namespace kadrilo::layout {

std::span<const ControlRow> MainTabControls();
std::span<const ControlRow> AutosaveTabControls();
std::span<const ControlRow> HotkeysTabControls();
std::span<const ControlRow> EventsTabControls();
std::span<const ControlRow> InscriptionTabControls();
std::span<const ControlRow> SeriesTabControls();

// ---- The Inscription tab's colour swatches ------------------------------------

enum class Bevel : uint8_t { None, Raised, Lowered };
struct SwatchLook {
    Bevel outer;
    Bevel inner;
    int width;  // of each bevel, pixels
    friend bool operator==(const SwatchLook&, const SwatchLook&) = default;
};
// A swatch is raised; pressed (the mouse button down on it) it is sunk; a
// disabled one is raised with a lowered inner bevel, each one pixel wide.
SwatchLook ColourSwatchLook(bool enabled, bool pressed);

}  // namespace kadrilo::layout
