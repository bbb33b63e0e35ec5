// What the program relies on from the profile functions, as cases that run
// against any ProfilePort: the fake natively, the system's functions under
// Wine. Each case returns an empty string when it holds, else what went wrong.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/Ports.h"

namespace kadrilo::contract {

// Where a case works: a folder that holds nothing of another case, and a way
// to put a whole file there as a user or an earlier version wrote it (text in
// the system's code page, lines ended by CR LF).
struct ProfileFolder {
    std::string path;
    std::function<void(const std::string& name, const std::string& text)> writeFile;
};

struct ProfileCase {
    const char* name;
    std::function<std::string(ProfilePort&, const ProfileFolder&)> run;
};

std::vector<ProfileCase> ProfileCases();

}  // namespace kadrilo::contract
