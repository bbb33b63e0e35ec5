// What the program relies on from the registry, as cases that run against any
// RegistryPort: the fake natively, the real registry under Wine. Each case
// returns an empty string when it holds, else what went wrong.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/Ports.h"

namespace kadrilo::contract {

struct RegistryCase {
    const char* name;
    std::function<std::string(RegistryPort&)> run;
};

// The cases work below HKEY_CURRENT_USER\<root> and leave nothing behind.
std::vector<RegistryCase> RegistryCases(const std::string& root);

}  // namespace kadrilo::contract
