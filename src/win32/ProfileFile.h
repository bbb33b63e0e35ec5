// The profile-file port: the system's profile functions, in their wide form.
#pragma once

#include "platform/Ports.h"

namespace kadrilo::win32 {

// A file the profile functions write anew is in the system's code page, as
// earlier versions wrote theirs; they read and update a file that begins with
// a UTF-16 byte-order mark as Unicode. So before a value that the code page
// cannot hold is written (a Cyrillic folder on an English system, a Chinese
// file name), the file is made a UTF-16 file keeping all it holds; files
// whose values all fit stay as they are.
class ProfileFile : public ProfilePort {
public:
    std::string ReadString(const std::string& path, const std::string& section, const std::string& key,
                           const std::string& fallback) override;
    bool WriteString(const std::string& path, const std::string& section, const std::string& key,
                     const std::string& value) override;
    std::vector<std::string> KeyNames(const std::string& path, const std::string& section) override;
};

}  // namespace kadrilo::win32
