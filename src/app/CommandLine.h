// The command line: the switches the program understands, and the text a second
// instance forwards to the first.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kadrilo {

struct CommandLineRequests {
    bool RemoveSettingsRequested = false;
    bool ShotFullScreen = false;
    bool ShotActiveWindow = false;
    bool ShotSelectedArea = false;
    bool OpenSettingsRequested = false;
    bool Mode1 = false;  // working mode 0, manual with preview
    bool Mode2 = false;  // working mode 1, autosave
    bool Mode3 = false;  // working mode 2, continuous
    bool Mode4 = false;  // working mode 3, clipboard only

    // The command line asked for a shot.
    bool AnyShot() const { return ShotFullScreen || ShotActiveWindow || ShotSelectedArea; }
    // The command line asked for anything that runs once the message loop runs.
    bool AnyDeferred() const {
        return AnyShot() || OpenSettingsRequested || Mode1 || Mode2 || Mode3 || Mode4;
    }
    friend bool operator==(const CommandLineRequests&, const CommandLineRequests&) = default;
};

// Reads the switches from the arguments (argument 0, the program, is skipped).
// Each argument is trimmed of surrounding blanks and compared without regard to
// case; arguments that match no switch are ignored.
CommandLineRequests Check_cmd_Params(const std::vector<std::string>& args);

// For every argument from index 0 on: a blank, then the argument in double
// quotes with each double quote inside it doubled.
std::string BuildQuotedCommandLine(const std::vector<std::string>& args);

}  // namespace kadrilo
