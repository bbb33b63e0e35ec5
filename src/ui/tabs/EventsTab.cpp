// The "Events and notices" tab. Its controls come with the settings they show.
#include "ui/tabs/SettingsTabs.h"

namespace kadrilo::layout {

std::span<const ControlRow> EventsTabControls() { return {}; }

}  // namespace kadrilo::layout
