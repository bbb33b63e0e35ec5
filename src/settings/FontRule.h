#pragma once

#include <string>
#include <vector>

namespace kadrilo {

// The font rule: the installed family named exactly `name` (case-sensitive);
// else "Arial", "Times New Roman", "MS Sans Serif", in that order; else the
// first installed family; empty when none is installed.
std::string CheckFontExists(const std::vector<std::string>& installedFamilies,
                            const std::string& name);

}  // namespace kadrilo
