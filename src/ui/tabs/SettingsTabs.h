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

}  // namespace kadrilo::layout
