#include "app/CommandLine.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace kadrilo {
namespace {

struct Switch {
    std::string_view name;  // without its "/" or "-" prefix
    bool CommandLineRequests::*flag;
};

constexpr std::array kSwitches{
    Switch{"uninstall", &CommandLineRequests::RemoveSettingsRequested},
    Switch{"del_settings", &CommandLineRequests::RemoveSettingsRequested},
    Switch{"delete_settings", &CommandLineRequests::RemoveSettingsRequested},
    Switch{"screenshot_full", &CommandLineRequests::ShotFullScreen},
    Switch{"screenshot_actwin", &CommandLineRequests::ShotActiveWindow},
    Switch{"screenshot_selected", &CommandLineRequests::ShotSelectedArea},
    Switch{"open_settings", &CommandLineRequests::OpenSettingsRequested},
    Switch{"mode1", &CommandLineRequests::Mode1},
    Switch{"mode2", &CommandLineRequests::Mode2},
    Switch{"mode3", &CommandLineRequests::Mode3},
    Switch{"mode4", &CommandLineRequests::Mode4},
};

// Blanks and control characters, as a trim of surrounding white space sees them.
bool IsBlank(unsigned char c) { return c <= ' '; }

std::string TrimmedLower(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) {
        return static_cast<char>(c < 0x80 ? std::tolower(c) : c);
    });
    return out;
}

}  // namespace

CommandLineRequests Check_cmd_Params(const std::vector<std::string>& args) {
    CommandLineRequests requests;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string arg = TrimmedLower(args[i]);
        if (arg.size() < 2 || (arg[0] != '/' && arg[0] != '-')) continue;
        const std::string_view name = std::string_view(arg).substr(1);
        for (const Switch& s : kSwitches)
            if (s.name == name) requests.*s.flag = true;
    }
    return requests;
}

std::string BuildQuotedCommandLine(const std::vector<std::string>& args) {
    std::string text;
    for (const std::string& arg : args) {
        text += " \"";
        for (char c : arg) {
            if (c == '"') text += '"';
            text += c;
        }
        text += '"';
    }
    return text;
}

}  // namespace kadrilo
