// Where an automatic save goes: the folder and the generated name, the
// existing-file rule and the numbered names that avoid an existing file.
#pragma once

#include <string>

#include "platform/Ports.h"

namespace kadrilo {

class SaveTarget {
public:
    static constexpr int LastNumberedName = 99999;

    // Where the automatic saves stand today.
    enum class Outcome {
        Write,      // write to `path`
        Skip,       // the file exists and renaming is off: nothing is written
        Exhausted,  // every numbered name up to LastNumberedName exists
    };
    struct Decision {
        Outcome outcome;
        std::string path;
    };

    SaveTarget(FileSystemPort& files, std::string programFolder)
        : files_(files), programFolder_(std::move(programFolder)) {}

    // The name of the next automatic save without its extension: the folder is
    // resolved (and written back: a folder that cannot be used becomes the
    // program's), the number advances for the text-and-number format.
    std::string AutomaticName(std::string& folder, int nameFormat, const std::string& text, int32_t& number,
                              const LocalTime& now);

    // The existing-file rule of automatic saves for a name with its extension:
    // the name itself while it does not exist; else, with renaming on, the first
    // numbered name "base(n).ext" that does not exist.
    Decision ForAutomaticSave(const std::string& candidate, int formatIndex, bool rename);

private:
    FileSystemPort& files_;
    std::string programFolder_;
};

}  // namespace kadrilo
