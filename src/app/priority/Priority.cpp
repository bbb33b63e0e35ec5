#include "app/priority/Priority.h"

#include <utility>

namespace kadrilo {
namespace {

// Priority pairs by priority class: process class, thread priority.
constexpr std::pair<uint32_t, int> PriorityPairs[3] = {{0x80, 2}, {0x20, 0}, {0x40, -15}};
constexpr std::pair<uint32_t, int> NormalPriority = PriorityPairs[1];
constexpr int32_t ContinuousWorkMode = 2;

}  // namespace

void Priority::PriorityChange(bool on) {
    if (!on) {
        system_.SetPriority(NormalPriority.first, NormalPriority.second);
        return;
    }
    if (settings_.PriorityClass < 0 || settings_.PriorityClass > 2) return;
    const auto& [processClass, threadPriority] = PriorityPairs[settings_.PriorityClass];
    system_.SetPriority(processClass, threadPriority);
}

bool Priority::Fixed() const { return settings_.PriorityChange && !settings_.PriorityAutoChange; }

bool Priority::Automatic() const {
    return settings_.PriorityChange && settings_.PriorityAutoChange && settings_.WorkMode != ContinuousWorkMode;
}

void Priority::ProgramStarted() {
    if (Fixed()) PriorityChange(true);
}

void Priority::ProgramClosing() {
    if (Fixed()) PriorityChange(false);
}

void Priority::ShotStarting() {
    if (Automatic()) PriorityChange(true);
}

void Priority::ShotHandlingEnded() {
    if (Automatic()) PriorityChange(false);
}

void Priority::AreaSelectionCancelled(bool shotWaiting) {
    if (!shotWaiting) ShotHandlingEnded();
}

void Priority::SeriesStarted() { PriorityChange(true); }

void Priority::SeriesEnded() { PriorityChange(false); }

}  // namespace kadrilo
