#include "output/save/SaveTarget.h"

#include "output/FileNaming.h"

namespace kadrilo {
namespace {

// A folder and a file part joined with one backslash (a drive root such as
// "C:\" brings its own).
std::string JoinPath(const std::string& folder, const std::string& filePart) {
    if (!folder.empty() && folder.back() == '\\') return folder + filePart;
    return folder + "\\" + filePart;
}

}  // namespace

std::string SaveTarget::AutomaticName(std::string& folder, int nameFormat, const std::string& text, int32_t& number,
                                      const LocalTime& now) {
    folder = CheckDirExists(folder, programFolder_, files_);
    return JoinPath(folder, AutosaveFilePart(nameFormat, text, number, now));
}

SaveTarget::Decision SaveTarget::ForAutomaticSave(const std::string& candidate, int formatIndex, bool rename) {
    if (!files_.FileExists(candidate)) return {Outcome::Write, candidate};
    if (!rename) return {Outcome::Skip, {}};
    const std::string base = candidate.substr(0, candidate.size() - std::string(FormatExtension(formatIndex)).size());
    for (int n = 1; n <= LastNumberedName; ++n) {
        std::string numbered = NumberedName(base, n, formatIndex);
        if (!files_.FileExists(numbered)) return {Outcome::Write, std::move(numbered)};
    }
    return {Outcome::Exhausted, {}};
}

}  // namespace kadrilo
