// The process priority: the one routine that changes it, and the moments at
// which it changes, each a named event with its own condition.
#pragma once

#include "platform/Ports.h"
#include "settings/AppSettings.h"

namespace kadrilo {

class Priority {
public:
    Priority(SystemPort& system, const AppSettings& settings) : system_(system), settings_(settings) {}

    // The chosen class's pair (on), or the Normal pair (off); a class the list
    // does not have applies nothing.
    void PriorityChange(bool on);

    // Fixed management: raised for the whole run.
    void ProgramStarted();
    void ProgramClosing();
    // Automatic management, outside continuous mode: raised from just before a
    // capture (or the opening of the selection overlay) until the handling of
    // the shot ends, or the request fails.
    void ShotStarting();
    void ShotHandlingEnded();
    // The selection overlay closed without a shot: its request has ended, so
    // the priority raised for it goes back to Normal, unless an earlier shot
    // still waits on the preview page (its handling has not ended yet).
    void AreaSelectionCancelled(bool shotWaiting);
    // A series started by a hotkey runs raised, whether management is on or
    // not; every end of a series restores Normal.
    void SeriesStarted();
    void SeriesEnded();

private:
    bool Fixed() const;
    bool Automatic() const;

    SystemPort& system_;
    const AppSettings& settings_;
};

}  // namespace kadrilo
