// What every fuzz target checks after the parsers ran: the settings hold only
// values their controls can show.
#pragma once

#include <cstdlib>
#include <string>

#include "settings/AppSettings.h"

namespace kadrilo::fuzz {

// Ends the run (a crash libFuzzer reports) when the condition fails.
inline void Require(bool condition) {
    if (!condition) std::abort();
}

void RequireShowableSettings(const AppSettings& settings);

// The system's key names of the fakes: none, as for keys the program's own table names.
std::string NoKeyName(uint8_t);

}  // namespace kadrilo::fuzz
