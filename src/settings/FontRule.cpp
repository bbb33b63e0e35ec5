#include "settings/FontRule.h"

#include <algorithm>

namespace kadrilo {

std::string CheckFontExists(const std::vector<std::string>& installedFamilies,
                            const std::string& name) {
    for (const std::string& wanted : {name, std::string("Arial"), std::string("Times New Roman"),
                                      std::string("MS Sans Serif")}) {
        if (std::find(installedFamilies.begin(), installedFamilies.end(), wanted) !=
            installedFamilies.end())
            return wanted;
    }
    return installedFamilies.empty() ? std::string() : installedFamilies.front();
}

}  // namespace kadrilo
